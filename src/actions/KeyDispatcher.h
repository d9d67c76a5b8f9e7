// The key dispatcher: the one place where keys are bound to actions, and the
// key table, the one home of everything the program knows of each key of the
// KeyCode.
#pragma once
#include <windows.h>
#include "actions/KeyRepeat.h"
#include "keyboard/KeyboardDevice.h"
#include "settings/AssignmentStore.h"

// What the keys act with: the settings page, whose controls hold the live
// settings and whose window owns the message boxes; the auto-repeat; and
// the kind of keyboard the key came from.
struct KeySource {
    HWND settingsPage;
    RepeatState& repeat;
    KeyboardKind keyboard;
};

// Runs the row whose KeyCode equals keyCode exactly, if any; two keys held
// together match nothing. What its owner assigned the key, in the program in
// front or in all programs, runs instead of the row's own action. Returns
// what the auto-repeat's timer does next: every KeyCode but a fader key's
// own ends a running repeat (KeyRepeat.h).
RepeatTimer DispatchKeys(const KeySource& source, DWORD keyCode);
// A key outside the KeyCode pressed: what its owner assigned it runs, from
// the program in front's set or else the set for all programs. It does
// nothing by default (standard is nothing) and never touches the repeat.
void DispatchOtherKey(USAGE usage);

// A key of the table as its owner knows it: its KeyCode bit, its Consumer
// usage on a standard keyboard, and its value's name in a key set. Its name
// as the user reads it is the string IDS_KEY_NAMES + its usage.
struct KeyIdentity {
    DWORD keyCode;
    USAGE usage;
    const char* name;
};
// The keys of the table in its order, the release left out.
int TableKeyCount();
const KeyIdentity& TableKey(int index);
// The usage of the table key a KeyCode names; 0 for the release and for a
// KeyCode that names no key.
USAGE UsageOfKeyCode(DWORD keyCode);
// The key bit of a table key's usage, 0 for every other usage: how a
// standard keyboard's readers tell the KeyCode's keys from the others.
DWORD KeyCodeOfUsage(USAGE usage);
// A key's name in the key sets: a table key's own name, else its usage's.
void KeyValueName(USAGE usage, char name[kKeyNameSize]);
// The key outside the table that a value's name stands for; 0 when it
// stands for none (a table key's name or usage, a usage of 0, other text).
USAGE OtherKeyOfValueName(const char* name);
