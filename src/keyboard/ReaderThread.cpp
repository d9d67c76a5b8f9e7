// The report reader thread of the maker's models.
//
// Why the reader waits when there is no keyboard: a reader exists after
// every open of the keyboard, found or not. A reader that merely looped
// while the keyboard was closed would burn a whole processor for as long as
// no keyboard is attached. So a reader started while the keyboard is closed
// waits on its stop event and does nothing until it is stopped; a later open
// that finds the keyboard stops it and starts a fresh reader, which then
// reads. Stopping waits for the reader to end before anything starts, closes
// or reuses what it reads: at most one thread ever reads the device into the
// report buffer.
//
// A reader that ends posts a release, whatever ended it: a sound key held as
// the keyboard goes would otherwise go on repeating until another key came.
#include "keyboard/ReaderThread.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/ReportRead.h"

ReaderTargetRecord ReaderTarget;
std::atomic<LONG> ReaderStopFlag;
DWORD ReaderThreadId;

namespace {

HANDLE g_readerThread;  // UI thread only
HANDLE g_stopEvent;     // manual reset; set while a reader is being stopped
HANDLE g_readEvent;     // the reader's own read's; one reader at a time uses it

}  // namespace

DWORD PackKeyCode(const BYTE* report, USHORT length)
{
    DWORD keyCode = 0;
    for (USHORT i = 1; i < length; ++i) keyCode = (keyCode << 8) + report[i];
    return keyCode;
}

void PostKeyCode(DWORD keyCode)
{
    PostMessageA(ReaderTarget.window.load(), ReaderTarget.message.load(), 0, static_cast<LPARAM>(keyCode));
}

DWORD WINAPI ReaderThreadProc(LPVOID)
{
    if (ReaderStopFlag.load() != 0) return 0;
    if (!KeyboardDevice.open.load()) {
        WaitForSingleObject(g_stopEvent, INFINITE);
        return 0;
    }
    for (;;) {
        USHORT length = KeyboardDevice.inputReportLength.load();
        if (length > kReportBufferSize) length = kReportBufferSize;
        DWORD bytesRead = 0;
        const ReadResult result = ReadReport(KeyboardDevice.handle.load(), g_stopEvent, g_readEvent,
                                             KeyboardDevice.reportBuffer, length, &bytesRead);
        // The keyboard is gone; the next device arrival opens it again.
        if (result == ReadResult::kGone) KeyboardDevice.open.store(false);
        if (result != ReadResult::kReport) break;
        if (bytesRead == length) PostKeyCode(PackKeyCode(KeyboardDevice.reportBuffer, length));
        if (ReaderStopFlag.load() != 0) break;
    }
    PostKeyCode(kKeysReleased);
    return 0;
}

void StopReaderThread()
{
    if (!g_readerThread) return;
    SetEvent(g_stopEvent);
    // Not bounded: the reader cancels its own read and ends within
    // milliseconds, and the record must not change under a reader still there.
    WaitForSingleObject(g_readerThread, INFINITE);
    CloseHandle(g_readerThread);
    g_readerThread = NULL;
    ResetEvent(g_stopEvent);
}

bool StartReaderThread(HWND window, UINT message)
{
    StopReaderThread();
    if (!g_stopEvent) g_stopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!g_readEvent) g_readEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!g_stopEvent || !g_readEvent) return false;

    ReaderTarget.window.store(window);
    ReaderTarget.message.store(message);
    g_readerThread = CreateThread(NULL, 0, ReaderThreadProc, &ReaderTarget, 0, &ReaderThreadId);
    return g_readerThread != NULL;
}
