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
// union is posted only when it changes. A key outside the KeyCode is posted
// as it goes down and up, once however many collections hold it, so that it
// acts once however long it is held. The readers post under one lock, so
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
#include "device/HidDevice.h"

namespace {

// More keys than any keyboard reports at once; a report holding more is dropped.
const ULONG kMaxUsagesPerReport = 64;
const int kReportIds = 256;
// No union is ever this: the first one after a start is always posted.
const DWORD kNothingPosted = 0xFFFFFFFF;
// More keys outside the KeyCode than a keyboard holds down at once; any more
// held on one collection are not seen.
const int kMaxOtherKeysHeld = 16;
const int kAllReports = -1;

// A key outside the KeyCode held on a collection, in the reports of that ID.
struct OtherKeyHeld {
    BYTE reportId;
    USAGE usage;
};

struct StandardReader {
    bool taken;                   // UI thread only, as are the fields up to the thread
    HANDLE device;
    PHIDP_PREPARSED_DATA preparsedData;
    USHORT reportLength;
    char path[MAX_PATH];
    HANDLE thread, stopEvent, readEvent;
    std::atomic<bool> unplugged;  // set by the reader when its read fails
    std::atomic<DWORD> keys;      // the union over its report IDs
    OtherKeyHeld others[kMaxOtherKeysHeld];  // written and read under the post lock
    int otherCount;
    BYTE report[kStandardReportLimit];   // the reader's own from here on
    DWORD keysByReport[kReportIds];
};

StandardReader g_readers[kMaxStandardReaders];
CRITICAL_SECTION g_postLock;
bool g_postLockReady;                          // UI thread only
std::atomic<DWORD> g_posted(kNothingPosted);   // written under the lock
std::atomic<bool> g_stopping;                  // the readers are being stopped; written under the lock
std::atomic<int> g_reading;                    // readers whose keyboard is plugged in
std::atomic<UsageKeyLookup> g_keyOfUsage;
USAGE g_postedOthers[kMaxStandardReaders * kMaxOtherKeysHeld];  // under the lock
int g_postedOtherCount;

bool Holds(const USAGE* usages, int count, USAGE usage)
{
    for (int i = 0; i < count; ++i)
        if (usages[i] == usage) return true;
    return false;
}

void PostOtherKey(USAGE usage, LPARAM state)
{
    PostMessageA(ReaderTarget.window.load(), WM_KEYBOARD_OTHER_KEY, usage, state);
}

// Under the lock: the keys outside the KeyCode that some collection holds,
// each once, posted where they differ from what was posted.
void PostOtherKeysHeld()
{
    USAGE held[kMaxStandardReaders * kMaxOtherKeysHeld];
    int count = 0;
    for (const StandardReader& reader : g_readers)
        for (int i = 0; i < reader.otherCount; ++i)
            if (!Holds(held, count, reader.others[i].usage)) held[count++] = reader.others[i].usage;
    for (int i = 0; i < g_postedOtherCount; ++i)
        if (!Holds(held, count, g_postedOthers[i])) PostOtherKey(g_postedOthers[i], kOtherKeyReleased);
    for (int i = 0; i < count; ++i)
        if (!Holds(g_postedOthers, g_postedOtherCount, held[i])) PostOtherKey(held[i], kOtherKeyPressed);
    for (int i = 0; i < count; ++i) g_postedOthers[i] = held[i];
    g_postedOtherCount = count;
}

// What the reader holds of one report ID (of every one: kAllReports) is
// replaced by the keys outside the KeyCode given; then whatever the
// collections hold together is posted where it changed.
void PostKeysHeld(StandardReader* reader, int reportId, const USAGE* others, int otherCount)
{
    EnterCriticalSection(&g_postLock);
    int kept = 0;
    for (int i = 0; i < reader->otherCount; ++i)
        if (reportId != kAllReports && reader->others[i].reportId != reportId)
            reader->others[kept++] = reader->others[i];
    for (int i = 0; i < otherCount && kept < kMaxOtherKeysHeld; ++i)
        reader->others[kept++] = { static_cast<BYTE>(reportId), others[i] };
    reader->otherCount = kept;
    if (!g_stopping.load()) {
        PostOtherKeysHeld();
        DWORD keys = kKeysReleased;
        for (const StandardReader& each : g_readers) keys |= each.keys.load();
        if (keys != g_posted.load()) {
            PostKeyCode(keys);
            g_posted.store(keys);
        }
    }
    LeaveCriticalSection(&g_postLock);
}

// Takes what a report holds: nothing for a report that says nothing about
// Consumer keys (no Consumer buttons in it, a malformed report).
void TakeReport(StandardReader* reader)
{
    USAGE usages[kMaxUsagesPerReport];
    ULONG count = kMaxUsagesPerReport;
    if (HidDevice::GetUsages(kConsumerPage, usages, &count, reader->preparsedData, reader->report,
                             reader->reportLength) != HIDP_STATUS_SUCCESS)
        return;
    const UsageKeyLookup keyOfUsage = g_keyOfUsage.load();
    DWORD reportKeys = kKeysReleased;
    USAGE others[kMaxOtherKeysHeld];
    int otherCount = 0;
    for (ULONG i = 0; i < count; ++i) {
        const DWORD key = keyOfUsage(usages[i]);
        reportKeys |= key;
        if (!key && usages[i] && otherCount < kMaxOtherKeysHeld && !Holds(others, otherCount, usages[i]))
            others[otherCount++] = usages[i];
    }
    reader->keysByReport[reader->report[0]] = reportKeys;
    DWORD keys = kKeysReleased;
    for (DWORD held : reader->keysByReport) keys |= held;
    reader->keys.store(keys);
    PostKeysHeld(reader, reader->report[0], others, otherCount);
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
    PostKeysHeld(reader, kAllReports, NULL, 0);
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

bool StartStandardReaders(HWND window, UINT message, UsageKeyLookup keyOfUsage)
{
    if (!g_postLockReady) InitializeCriticalSection(&g_postLock);
    g_postLockReady = true;
    ReaderTarget.window.store(window);
    ReaderTarget.message.store(message);
    g_keyOfUsage.store(keyOfUsage);
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
    for (int i = 0; i < g_postedOtherCount; ++i) PostOtherKey(g_postedOthers[i], kOtherKeyReleased);
    g_postedOtherCount = 0;
    const DWORD held = g_posted.exchange(kNothingPosted);
    if (held != kNothingPosted && held != kKeysReleased) PostKeyCode(kKeysReleased);
    g_stopping.store(false);
}
