// Why a reader per collection: a keyboard may put its player keys in one
// consumer collection and its browser keys in another, and a mouse beside it
// may carry Back and Forward in a third. Each is a HID interface of its own
// with its own reports; reading them all and merging what they hold makes
// every key work, whichever collection it comes from.
//
// What a collection holds is kept per report ID: a keyboard or receiver that
// sends its consumer keys in several reports says "nothing pressed" in one
// while a key of another is held. A report of one ID replaces only what that
// ID held.
//
// A key stays down across reports (a standard keyboard repeats its report
// while a key is held), and every post would restart the auto-repeat: so the
// union is posted only when it changes. The readers post under one lock, so
// that two readers' unions can never arrive in the wrong order. A reader
// whose collection is unplugged takes its keys out of the union, which posts
// their release, as if they were let go. Readers that are stopped post
// nothing: each would post the union of those still running, and with
// Volume Up held on one collection and Mute on another, "Mute" alone would
// toggle mute. Once all are stopped, one release is posted.
#include "keyboard/StandardReaders.h"
#include <atomic>
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/ReaderThread.h"
#include "keyboard/ReportRead.h"
#include "keyboard/UsageKeys.h"
#include "device/HidDevice.h"

namespace {

// More keys than any keyboard reports at once; a report holding more is dropped.
const ULONG kMaxUsagesPerReport = 64;
const int kReportIds = 256;
// No union is ever this: the first one after a start is always posted.
const DWORD kNothingPosted = 0xFFFFFFFF;

struct StandardReader {
    bool taken;                   // UI thread only, as are the fields up to the thread
    HANDLE device;
    PHIDP_PREPARSED_DATA preparsedData;
    USHORT reportLength;
    char path[MAX_PATH];
    HANDLE thread, stopEvent, readEvent;
    std::atomic<bool> unplugged;  // set by the reader when its read fails
    std::atomic<DWORD> keys;      // the union over its report IDs
    BYTE report[kStandardReportLimit];   // the reader's own from here on
    DWORD keysByReport[kReportIds];
};

StandardReader g_readers[kMaxStandardReaders];
CRITICAL_SECTION g_postLock;
bool g_postLockReady;                          // UI thread only
std::atomic<DWORD> g_posted(kNothingPosted);   // written under the lock
std::atomic<bool> g_stopping;                  // the readers are being stopped; written under the lock
std::atomic<int> g_reading;                    // readers whose keyboard is plugged in

void PostKeysHeld()
{
    EnterCriticalSection(&g_postLock);
    if (g_stopping.load()) {
        LeaveCriticalSection(&g_postLock);
        return;
    }
    DWORD keys = kKeysReleased;
    for (const StandardReader& reader : g_readers) keys |= reader.keys.load();
    if (keys != g_posted.load()) {
        PostKeyCode(keys);
        g_posted.store(keys);
    }
    LeaveCriticalSection(&g_postLock);
}

// Takes what a report holds: nothing for a report that says nothing about
// the table's keys (no Consumer buttons in it, a malformed report).
void TakeReport(StandardReader* reader)
{
    USAGE usages[kMaxUsagesPerReport];
    ULONG count = kMaxUsagesPerReport;
    if (HidDevice::GetUsages(kConsumerPage, usages, &count, reader->preparsedData, reader->report,
                             reader->reportLength) != HIDP_STATUS_SUCCESS)
        return;
    reader->keysByReport[reader->report[0]] = KeyCodeOfUsages(usages, count);
    DWORD keys = kKeysReleased;
    for (DWORD held : reader->keysByReport) keys |= held;
    reader->keys.store(keys);
    PostKeysHeld();
}

DWORD WINAPI StandardReaderProc(LPVOID param)
{
    StandardReader* reader = static_cast<StandardReader*>(param);
    while (ReaderStopFlag.load() == 0) {
        DWORD bytesRead = 0;
        const ReadResult result = ReadReport(reader->device, reader->stopEvent, reader->readEvent, reader->report,
                                             reader->reportLength, &bytesRead);
        if (result == ReadResult::kGone) {
            reader->unplugged.store(true);
            // The last keyboard gone: the next device arrival opens everything again.
            if (g_reading.fetch_sub(1) == 1) KeyboardDevice.open.store(false);
        }
        if (result != ReadResult::kReport) break;
        if (bytesRead == reader->reportLength) TakeReport(reader);
    }
    reader->keys.store(kKeysReleased);
    PostKeysHeld();
    return 0;
}

// Ends the reader, if it runs, and lets go of its collection.
void ReleaseReader(StandardReader* reader)
{
    if (reader->thread) {
        SetEvent(reader->stopEvent);
        WaitForSingleObject(reader->thread, INFINITE);  // it cancels its own read within milliseconds
        CloseHandle(reader->thread);
        if (!reader->unplugged.load()) g_reading.fetch_sub(1);
    }
    if (reader->stopEvent) CloseHandle(reader->stopEvent);
    if (reader->readEvent) CloseHandle(reader->readEvent);
    CloseHandle(reader->device);
    HidDevice::FreePreparsedData(reader->preparsedData);
    reader->thread = reader->stopEvent = reader->readEvent = reader->device = NULL;
    reader->preparsedData = NULL;
    reader->taken = false;
}

bool StartReader(StandardReader* reader)
{
    ZeroMemory(reader->keysByReport, sizeof reader->keysByReport);
    reader->keys.store(kKeysReleased);
    reader->unplugged.store(false);
    if (!reader->stopEvent) reader->stopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!reader->readEvent) reader->readEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!reader->stopEvent || !reader->readEvent) return false;  // tried again at the next start
    g_reading.fetch_add(1);
    reader->thread = CreateThread(NULL, 0, StandardReaderProc, reader, 0, NULL);
    if (!reader->thread) g_reading.fetch_sub(1);
    return reader->thread != NULL;
}

}  // namespace

bool AdoptStandardCollection(HANDLE device, PHIDP_PREPARSED_DATA preparsedData, USHORT reportLength,
                             const char* path)
{
    for (StandardReader& reader : g_readers) {
        if (reader.taken) continue;
        reader.taken = true;
        reader.device = device;
        reader.preparsedData = preparsedData;
        reader.reportLength = reportLength;
        lstrcpynA(reader.path, path, sizeof reader.path);
        return true;
    }
    return false;
}

bool IsStandardCollectionTaken(const char* path)
{
    for (const StandardReader& reader : g_readers)
        if (reader.taken && !reader.unplugged.load() && lstrcmpiA(reader.path, path) == 0) return true;
    return false;
}

int StandardCollectionCount()
{
    int count = 0;
    for (const StandardReader& reader : g_readers) count += reader.taken ? 1 : 0;
    return count;
}

bool StartStandardReaders(HWND window, UINT message)
{
    if (!g_postLockReady) InitializeCriticalSection(&g_postLock);
    g_postLockReady = true;
    ReaderTarget.window.store(window);
    ReaderTarget.message.store(message);
    bool started = true;
    for (StandardReader& reader : g_readers)
        if (reader.taken && !reader.thread && !StartReader(&reader)) started = false;
    return started;
}

void ReleaseUnpluggedStandardCollections()
{
    for (StandardReader& reader : g_readers)
        if (reader.taken && reader.unplugged.load()) ReleaseReader(&reader);
}

void StopStandardReaders()
{
    // From here no reader posts, whatever it is doing.
    if (g_postLockReady) EnterCriticalSection(&g_postLock);
    g_stopping.store(true);
    if (g_postLockReady) LeaveCriticalSection(&g_postLock);
    for (StandardReader& reader : g_readers)
        if (reader.thread) SetEvent(reader.stopEvent);
    for (StandardReader& reader : g_readers)
        if (reader.taken) ReleaseReader(&reader);
    const DWORD held = g_posted.exchange(kNothingPosted);
    if (held != kNothingPosted && held != kKeysReleased) PostKeyCode(kKeysReleased);
    g_stopping.store(false);
}
