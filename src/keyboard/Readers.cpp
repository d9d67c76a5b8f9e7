#include "keyboard/Readers.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/ReaderThread.h"
#include "keyboard/StandardReaders.h"

void StartReaders(HWND window, UINT message, UsageKeyLookup keyOfUsage)
{
    if (KeyboardDevice.kind.load() == KeyboardKind::kStandard) StartStandardReaders(window, message, keyOfUsage);
    else StartReaderThread(window, message);
}

void StopReaders()
{
    StopReaderThread();
    HANDLE device = KeyboardDevice.handle.exchange(NULL);
    if (device) CloseHandle(device);
    StopStandardReaders();
}
