// The Keys dialog's words for a key and for what it does, in the program's
// language.
#pragma once
#include <windows.h>
#include "actions/KeyDispatcher.h"
#include "settings/AssignmentFormat.h"

// What a key does as the dialog shows it: an understood value's kind and
// argument, or a value not understood and its text.
struct ShownAction {
    bool understood;
    AssignmentKind kind;
    char argument[kAssignmentTextSize];
};

// The key's name as the user reads it: its usage's name, or "Key 0x022D"
// for a usage the program has no name for.
void KeyDisplayName(USAGE usage, char* text, int size);
// "Standard", "Nothing", "Start: <argument>" and so on; a value not
// understood is "Not understood: <argument>", or the bare words when there
// is no text to show (not REG_SZ, too long).
void DescribeAction(const ShownAction& shown, char* text, int size);
// Why Save refuses a key's action: what is wrong, naming the part at fault,
// then what the action takes (for keys, every key's name).
void DescribeRefusal(AssignmentKind kind, const AssignmentProblem& problem, char* text, int size);
