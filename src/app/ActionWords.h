// The Keys dialog's words for a key and for what it does, in the program's
// language.
#pragma once
#include <windows.h>
#include "settings/AssignmentFormat.h"
#include "settings/AssignmentStore.h"

// A value that is not understood, in place of an AssignmentKind.
const int kNotUnderstood = -1;

// The key's name as the user reads it.
void KeyDisplayName(AssignableKey key, char* text, int size);
// "Standard", "Nothing", "Start: <argument>" and so on; a value not
// understood is "Not understood: <argument>", or the bare words when there
// is no text to show (not REG_SZ, too long).
void DescribeAction(int kind, const char* argument, char* text, int size);
