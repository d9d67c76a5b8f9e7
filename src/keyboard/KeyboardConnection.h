// The keyboard connection: the search for the keyboard and the reader that
// reads it, opened at start-up and again when a device arrives. The reader
// posts WM_KEYBOARD_KEYS to the keys window it is given, and a standard
// keyboard's readers WM_KEYBOARD_OTHER_KEY too, with the key bits that
// keyOfUsage gives its usages.
#pragma once
#include <windows.h>
#include "keyboard/StandardReaders.h"

// Searches for the keyboard, then starts a reader, found or not: it reads
// the keyboard found by a later open too. True when a keyboard was found.
bool OpenKeyboard(HWND keysWindow, UsageKeyLookup keyOfUsage);
// Ends the reader, then closes the keyboard it read.
void CloseKeyboard();
// A standard keyboard gives way to the maker's model as soon as that
// arrives; true when it did. Without the model, a standard collection that
// came back or is new is read beside the others.
bool SwitchToMakerKeyboard(HWND keysWindow, UsageKeyLookup keyOfUsage);
