// Removal is not watched: the reader's read fails and clears the open flag
// (for standard keyboards, the last reader's does), and the next device
// arrival, whatever the device, closes what is left and opens everything
// again.
#include "keyboard/KeyboardConnection.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/Readers.h"
#include "keyboard/StandardReaders.h"

bool OpenKeyboard(HWND keysWindow, UsageKeyLookup keyOfUsage)
{
    KeyboardDevice.open.store(FindKeyboard());
    StartReaders(keysWindow, WM_KEYBOARD_KEYS, keyOfUsage);
    return KeyboardDevice.open.load();
}

void CloseKeyboard() { StopReaders(); }

// The model is found before the standard keyboards are let go, and kept open
// from there: a device need not allow its interface opened twice. Without
// the model, the arrival may be a standard collection come back or new: it
// is read beside the others.
bool SwitchToMakerKeyboard(HWND keysWindow, UsageKeyLookup keyOfUsage)
{
    if (KeyboardDevice.kind.load() != KeyboardKind::kStandard) return false;
    ReleaseUnpluggedStandardCollections();
    USHORT inputLength = 0, outputLength = 0;
    HANDLE maker = SearchWhileStandardRead(&inputLength, &outputLength);
    if (!maker) {
        StartReaders(keysWindow, WM_KEYBOARD_KEYS, keyOfUsage);
        return false;
    }
    CloseKeyboard();
    UseMakerKeyboard(maker, inputLength, outputLength);
    KeyboardDevice.open.store(true);
    StartReaders(keysWindow, WM_KEYBOARD_KEYS, keyOfUsage);
    return true;
}
