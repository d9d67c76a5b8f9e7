// The report reader thread.
//
// Why the reader blocks: a reader exists after every open of the keyboard,
// found or not. A reader that merely looped while the keyboard was closed would
// burn a whole processor for as long as no keyboard is attached. So a reader
// started while the keyboard is closed waits on an event and does nothing
// until it is retired; a later open that finds the keyboard retires it and
// starts a fresh reader, which then reads. While the keyboard is open the
// reader blocks in a synchronous ReadFile. Retiring before every start also
// means that at most one thread ever reads the device into the report buffer.
// A reader blocked in a read of an open keyboard cannot be woken from here; the
// connection retires only while the keyboard is closed, and should it happen
// otherwise, the retire waits a moment and then leaves that reader to end
// after its read completes.
#include "keyboard/ReaderThread.h"
#include "keyboard/KeyboardDevice.h"

ReaderTargetRecord ReaderTarget;
std::atomic<LONG> ReaderStopFlag;
DWORD ReaderThreadId;

namespace {

// How long a retire waits for a reader that is still blocked in a read.
const DWORD kRetireWaitMs = 1000;

HANDLE g_readerThread;           // UI thread only
HANDLE g_retireEvent;            // manual reset; set while a retire is under way
std::atomic<LONG> g_generation;  // a reader ends once this differs from its own
std::atomic<LONG> g_startGeneration;  // the generation the newest reader was started in

bool IsRetired(LONG generation) { return g_generation.load() != generation; }

// Reads one report into the report buffer. A message longer than the read
// size (a simulated keyboard's pipe reports it as ERROR_MORE_DATA) is drained
// and dropped whole, so its tail is never taken for a report of its own.
bool ReadReport(HANDLE device, USHORT length, DWORD* bytesRead)
{
    if (ReadFile(device, KeyboardDevice.reportBuffer, length, bytesRead, NULL)) return true;
    if (GetLastError() != ERROR_MORE_DATA) return false;
    for (;;) {
        BYTE rest[kReportBufferSize];
        DWORD got = 0;
        if (ReadFile(device, rest, sizeof rest, &got, NULL)) break;
        if (GetLastError() != ERROR_MORE_DATA) return false;
    }
    *bytesRead = 0;  // not a report
    return true;
}

}  // namespace

DWORD PackKeyCode(const BYTE* report, USHORT length)
{
    DWORD keyCode = 0;
    for (USHORT i = 1; i < length; ++i) keyCode = (keyCode << 8) + report[i];
    return keyCode;
}

DWORD WINAPI ReaderThreadProc(LPVOID param)
{
    ReaderTargetRecord* target = static_cast<ReaderTargetRecord*>(param);
    // Taken from the start, not from the current value: a retire may already
    // have happened before this thread first runs.
    const LONG generation = g_startGeneration.load();
    if (ReaderStopFlag.load() != 0) ExitThread(0);

    for (;;) {
        if (KeyboardDevice.open.load()) {
            USHORT length = KeyboardDevice.inputReportLength.load();
            if (length > kReportBufferSize) length = kReportBufferSize;
            DWORD bytesRead = 0;
            if (!ReadReport(KeyboardDevice.handle.load(), length, &bytesRead)) {
                // The keyboard is gone; the next device arrival opens it again.
                KeyboardDevice.open.store(false);
                ExitThread(0);
            }
            if (bytesRead == length)
                PostMessageA(target->window.load(), target->message.load(), 0,
                             static_cast<LPARAM>(PackKeyCode(KeyboardDevice.reportBuffer, length)));
        } else {
            WaitForSingleObject(g_retireEvent, INFINITE);
        }
        if (ReaderStopFlag.load() != 0 || IsRetired(generation)) ExitThread(0);
    }
}

void RetireReaderThread()
{
    if (!g_readerThread) return;
    g_generation.fetch_add(1);
    SetEvent(g_retireEvent);
    WaitForSingleObject(g_readerThread, kRetireWaitMs);
    CloseHandle(g_readerThread);
    g_readerThread = NULL;
    ResetEvent(g_retireEvent);
}

bool StartReaderThread(HWND window, UINT message)
{
    RetireReaderThread();
    if (!g_retireEvent) g_retireEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!g_retireEvent) return false;

    ReaderTarget.window.store(window);
    ReaderTarget.message.store(message);
    g_startGeneration.store(g_generation.load());
    g_readerThread = CreateThread(NULL, 0, ReaderThreadProc, &ReaderTarget, 0, &ReaderThreadId);
    return g_readerThread != NULL;
}
