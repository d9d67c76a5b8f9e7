// Removal is not watched: the reader's read fails and clears the open flag,
// and the next device arrival, whatever the device, closes what is left and
// opens everything again.
#include "keyboard/KeyboardConnection.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/ReaderThread.h"

bool OpenKeyboard(HWND keysWindow)
{
    KeyboardDevice.open.store(FindKeyboard());
    StartReaderThread(keysWindow, WM_KEYBOARD_KEYS);
    return KeyboardDevice.open.load();
}

void CloseKeyboard()
{
    // The reader goes with the handle it reads, and only then the preparsed
    // data it decodes with. A reader that outlives the retire might still
    // decode a report: its block is then left to it rather than freed under it.
    if (RetireReaderThread(KeyboardDevice.handle.exchange(NULL))) ReleaseKeyboardDecoding();
}

// The model is found before the standard keyboard is let go, and kept open
// from there: a device need not allow its interface opened twice.
bool SwitchToMakerKeyboard(HWND keysWindow)
{
    if (KeyboardDevice.kind.load() != KeyboardKind::kStandard) return false;
    USHORT inputLength = 0, outputLength = 0;
    HANDLE maker = FindMakerKeyboard(&inputLength, &outputLength);
    if (!maker) return false;
    CloseKeyboard();
    UseMakerKeyboard(maker, inputLength, outputLength);
    KeyboardDevice.open.store(true);
    StartReaderThread(keysWindow, WM_KEYBOARD_KEYS);
    return true;
}
