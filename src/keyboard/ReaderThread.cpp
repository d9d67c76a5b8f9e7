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
// A reader blocked in a read of a keyboard still plugged in (a standard
// keyboard given up for the maker's model) wakes when the retire closes the
// handle it reads; should it not, the retire waits a moment and then leaves
// that reader to end after its read completes.
//
// A standard keyboard repeats its report while a key is held, and every post
// would restart the auto-repeat, so its reader posts a KeyCode only when it
// differs from the last one posted. The maker's models report each change
// once, and every report of theirs is posted.
#include "keyboard/ReaderThread.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/UsageKeys.h"
#include "device/HidDevice.h"

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

// No report decodes to it: the first report of a reader is always posted, so
// a release seen after a replug still ends an auto-repeat.
const DWORD kNothingPosted = 0xFFFFFFFF;
// More keys than any keyboard reports at once; a report holding more is dropped.
const ULONG kMaxUsagesPerReport = 64;

bool IsRetired(LONG generation) { return g_generation.load() != generation; }

// The KeyCode of a standard keyboard's report, or false for a report that
// says nothing about its consumer keys (another report ID, another page, a
// malformed report).
bool DecodeStandardReport(const BYTE* report, USHORT length, DWORD* keyCode)
{
    USAGE usages[kMaxUsagesPerReport];
    ULONG count = kMaxUsagesPerReport;
    const NTSTATUS status = HidDevice::GetUsages(kConsumerPage, usages, &count, KeyboardDevice.preparsedData.load(),
                                                 const_cast<BYTE*>(report), length);
    if (status != HIDP_STATUS_SUCCESS) return false;
    *keyCode = KeyCodeOfUsages(usages, count);
    return true;
}

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

void PostKeys(ReaderTargetRecord* target, DWORD keyCode)
{
    PostMessageA(target->window.load(), target->message.load(), 0, static_cast<LPARAM>(keyCode));
}

// Posts the KeyCode of the report in the buffer: every report of the maker's
// models, a standard keyboard's only when its keys have changed.
void PostReport(ReaderTargetRecord* target, USHORT length, DWORD* lastPosted)
{
    if (KeyboardDevice.kind.load() != KeyboardKind::kStandard)
        return PostKeys(target, PackKeyCode(KeyboardDevice.reportBuffer, length));
    DWORD keyCode = kKeysReleased;
    if (!DecodeStandardReport(KeyboardDevice.reportBuffer, length, &keyCode) || keyCode == *lastPosted) return;
    PostKeys(target, keyCode);
    *lastPosted = keyCode;
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

    DWORD lastPosted = kNothingPosted;
    for (;;) {
        if (KeyboardDevice.open.load()) {
            USHORT length = KeyboardDevice.inputReportLength.load();
            if (length > kReportBufferSize) length = kReportBufferSize;
            DWORD bytesRead = 0;
            if (!ReadReport(KeyboardDevice.handle.load(), length, &bytesRead)) {
                // The keyboard is gone; the next device arrival opens it
                // again. A retired reader's handle was closed under it: the
                // flag is the next keyboard's.
                if (!IsRetired(generation)) KeyboardDevice.open.store(false);
                ExitThread(0);
            }
            // A retired reader's report has nobody listening any more.
            if (bytesRead == length && !IsRetired(generation)) PostReport(target, length, &lastPosted);
        } else {
            WaitForSingleObject(g_retireEvent, INFINITE);
        }
        if (ReaderStopFlag.load() != 0 || IsRetired(generation)) ExitThread(0);
    }
}

bool RetireReaderThread(HANDLE device)
{
    if (!g_readerThread) {
        if (device) CloseHandle(device);
        return true;
    }
    g_generation.fetch_add(1);
    SetEvent(g_retireEvent);
    // Closed only once the reader is marked retired: a read it then starts
    // on the closed handle fails and ends it, and nothing new is opened that
    // could take the handle's value before the reader is gone.
    if (device) CloseHandle(device);
    const bool ended = WaitForSingleObject(g_readerThread, kRetireWaitMs) == WAIT_OBJECT_0;
    CloseHandle(g_readerThread);
    g_readerThread = NULL;
    ResetEvent(g_retireEvent);
    return ended;
}

bool StartReaderThread(HWND window, UINT message)
{
    RetireReaderThread(NULL);
    if (!g_retireEvent) g_retireEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!g_retireEvent) return false;

    ReaderTarget.window.store(window);
    ReaderTarget.message.store(message);
    g_startGeneration.store(g_generation.load());
    g_readerThread = CreateThread(NULL, 0, ReaderThreadProc, &ReaderTarget, 0, &ReaderThreadId);
    return g_readerThread != NULL;
}
