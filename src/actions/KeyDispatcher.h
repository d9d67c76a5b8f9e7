// The key dispatcher: the one place where keys are bound to actions.
#pragma once
#include <windows.h>
#include "mixer/SoundKeys.h"

// Runs the row whose KeyCode equals keyCode exactly, if any, for the dialog
// that holds the settings and owns the repeat state; two keys held together
// match nothing.
void DispatchKeys(HWND dialog, RepeatState& repeat, DWORD keyCode);
