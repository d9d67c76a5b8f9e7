// The key dispatcher: the one place where keys are bound to actions.
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
// The assignable key of a KeyCode; kNone for the release and for a KeyCode
// that names no key.
AssignableKey AssignableKeyOf(DWORD keyCode);
