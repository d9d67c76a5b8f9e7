// The keyboard in-process: discovery, the report reader and the connection,
// over the simulated keyboard module, whose interfaces are pipes this test
// serves, and the simulated sound card; the maker's models and a standard
// keyboard of another maker, whose reports hold consumer usages.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <memory>
#include <vector>
#include "keyboard/KeyboardConnection.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/ReaderThread.h"
#include "mixer/MixerControls.h"
#include "support/DialogRig.h"
#include "support/ProcessGauges.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"

using namespace mmk_test;

namespace {

SimulatedInterface Collection(DWORD vendor, DWORD product, DWORD page, DWORD usage, DWORD inLength, DWORD outLength)
{
    SimulatedInterface shape = SimulatedKeyboardInterface("");
    shape.vendorId = vendor;
    shape.productId = product;
    shape.usagePage = page;
    shape.usage = usage;
    shape.inputReportLength = inLength;
    shape.outputReportLength = outLength;
    return shape;
}

SimulatedInterface Keyboard(DWORD product = 0x0101, DWORD reportLength = 4)
{
    return Collection(KEYBOARD_VENDOR_ID, product, 0x000C, 0x0001, reportLength, 0);
}

// Another maker's keyboard with standard consumer keys.
SimulatedInterface Standard(SimulatedLayout layout = kUsageArray, DWORD slots = 2)
{
    return SimulatedStandardKeyboard("", layout, slots);
}

SimulatedInterface StandardOfLength(DWORD length)
{
    SimulatedInterface shape = Standard();
    shape.inputReportLength = length;
    return shape;
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSimulator();
        KeyboardDevice.handle.store(NULL);
        KeyboardDevice.open.store(false);
        KeyboardDevice.kind.store(KeyboardKind::kMaker);
        FillMemory(KeyboardDevice.reportBuffer, sizeof KeyboardDevice.reportBuffer, 0xAA);
        ReaderStopFlag.store(0);
    }
    void TearDown() override
    {
        pipes.clear();  // unplugged: a reader blocked in a read ends
        WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000);
        CloseKeyboard();
        ClearSimulator();
    }

    // Lists the interfaces in enumeration order, each served on a pipe of its
    // own; one that is not plugged in cannot be opened.
    void List(const std::vector<SimulatedInterface>& shapes, std::vector<bool> plugged = {})
    {
        pipes.clear();
        DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorDevicesKey);
        for (size_t i = 0; i < shapes.size(); ++i) {
            pipes.emplace_back(new SimulatedKeyboard("hid" + std::to_string(i)));
            ASSERT_TRUE(pipes[i]->Register(static_cast<DWORD>(i), shapes[i]));
            if (i >= plugged.size() || plugged[i]) ASSERT_TRUE(pipes[i]->PlugIn());
        }
    }
    // Found and kept open, or looked at and closed again, or never opened.
    bool Kept(size_t i) { return pipes[i]->Held(); }
    bool Skipped(size_t i) { return pipes[i]->WaitOpened(0) && !pipes[i]->Held(); }
    bool NeverOpened(size_t i) { return !pipes[i]->WaitOpened(0); }

    std::vector<std::unique_ptr<SimulatedKeyboard>> pipes;
};

// The reader with a window of this thread; it posts the message number the
// connection gives it, here not the program's own.
class ReaderTest : public KeyboardTest {
protected:
    const UINT kMessage = WM_APP + 7;

    void SetUp() override
    {
        KeyboardTest::SetUp();
        window = CreateWindowExA(0, "STATIC", "reader target", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    }
    void TearDown() override
    {
        KeyboardTest::TearDown();
        DestroyWindow(window);
    }
    void OpenKeyboardOfReports(DWORD length)
    {
        List({ Keyboard(0x0101, length) });
        KeyboardDevice.open.store(FindKeyboard());
        ASSERT_TRUE(KeyboardDevice.open.load());
        ASSERT_TRUE(StartReaderThread(window, kMessage));
    }
    // The KeyCodes posted within the time, in order.
    std::vector<DWORD> Posted(size_t expected, DWORD timeoutMs = 3000)
    {
        std::vector<DWORD> keyCodes;
        const DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, window, kMessage, kMessage, PM_REMOVE)) keyCodes.push_back((DWORD)msg.lParam);
            const DWORD elapsed = GetTickCount() - start;
            if (keyCodes.size() >= expected || elapsed >= timeoutMs) return keyCodes;
            MsgWaitForMultipleObjects(0, NULL, FALSE, timeoutMs - elapsed, QS_POSTMESSAGE);
        }
    }
    static bool ReaderEnds(DWORD timeoutMs)
    {
        HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, ReaderThreadId);
        if (!thread) return true;
        const bool ended = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
        CloseHandle(thread);
        return ended;
    }

    HWND window = NULL;
};

// The connection through the real dialog's device-change routing, with the
// simulated sound card.
class ConnectionTest : public KeyboardTest {
protected:
    void SetUp() override
    {
        KeyboardTest::SetUp();
        ResetMixerRecords();
        for (const char* name : { kMixerVolumeMax, kMixerBassMax, kMixerTrebleMax }) PutMixerValue(name, 65535);
        for (const char* name : { kMixerVolume, kMixerBass, kMixerTreble, kMixerMute, kMixerLoudness })
            PutMixerValue(name, 0);
        PutMixerValue(kMixerPresent, 1);
    }
    void TearDown() override
    {
        KeyboardTest::TearDown();
        ResetMixerRecords();
    }
    static void ResetMixerRecords()
    {
        CloseMixer();
        VolumeAvailable = MuteAvailable = BassAvailable = TrebleAvailable = LoudnessAvailable = false;
        RememberedMute = RememberedLoudness = false;
    }
    void Arrival() { ASSERT_EQ(TRUE, dialog.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0)); }
    void Unplug()
    {
        pipes[0]->Unplug();
        ASSERT_TRUE(WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000));
    }
    void PlugIn()
    {
        ASSERT_TRUE(pipes[0]->PlugIn());
        Arrival();
        ASSERT_TRUE(KeyboardDevice.open.load());
    }
    // A key pressed and released on the keyboard, handled by the dialog.
    void Press(DWORD keyCode)
    {
        ASSERT_TRUE(pipes[0]->Send(keyCode));
        ASSERT_TRUE(pipes[0]->Send(kKeysReleased));
    }

    DialogRig dialog;
};


TEST_F(KeyboardTest, DiscoveryKeepsTheFirstKeyboardAndClosesEveryOtherInterface)
{
    const struct {
        const char* what;
        SimulatedInterface other;
    } others[] = {
        { "another maker", Collection(0x045E, 0x0101, 0x000C, 0x0001, 4, 0) },
        { "unknown model", Collection(KEYBOARD_VENDOR_ID, 0x0104, 0x000C, 0x0001, 4, 0) },
        { "ordinary keys", Collection(KEYBOARD_VENDOR_ID, 0x0101, 0x0001, 0x0006, 5, 1) },
        { "other consumer usage", Collection(KEYBOARD_VENDOR_ID, 0x0101, 0x000C, 0x0002, 4, 0) },
        { "report beyond the buffer", Collection(KEYBOARD_VENDOR_ID, 0x0101, 0x000C, 0x0001, 7, 0) },
        { "empty report", Collection(KEYBOARD_VENDOR_ID, 0x0101, 0x000C, 0x0001, 0, 0) },
    };
    for (const auto& o : others) {
        for (DWORD model : { 0x0101, 0x0102, 0x0103, 0x0202 }) {
            SCOPED_TRACE(testing::Message() << o.what << ", model " << std::hex << model);
            FillMemory(KeyboardDevice.reportBuffer, sizeof KeyboardDevice.reportBuffer, 0xAA);
            List({ o.other, Keyboard(model), Keyboard() });  // the second keyboard is never looked at
            ASSERT_TRUE(FindKeyboard());
            EXPECT_TRUE(WaitUntil([&] { return Skipped(0); }, 2000));
            EXPECT_TRUE(Kept(1));
            EXPECT_TRUE(NeverOpened(2));
            EXPECT_EQ(4, KeyboardDevice.inputReportLength.load());
            const BYTE cleared[] = { 0, 0, 0, 0, 0xAA, 0xAA };
            EXPECT_EQ(0, memcmp(cleared, KeyboardDevice.reportBuffer, sizeof cleared)) << "zeroed beyond one report";
            CloseHandle(KeyboardDevice.handle.exchange(NULL));
        }
    }
}

TEST_F(KeyboardTest, FailedDiscoveryLeavesNoHandleAndTheLastLengthsRead)
{
    const struct {
        const char* what;
        std::vector<SimulatedInterface> shapes;
        std::vector<bool> plugged;
        USHORT inLength, outLength;
        BYTE lastZeroed;  // bytes of the report buffer zeroed
    } cases[] = {
        { "no interface", {}, {}, 0, 0, 0 },
        { "no consumer control", { Collection(KEYBOARD_VENDOR_ID, 0x0101, 1, 6, 5, 2), Collection(KEYBOARD_VENDOR_ID, 0x0104, 0x0C, 2, 3, 3) }, {}, 5, 2, 5 },
        { "a report longer than the buffer", { Collection(KEYBOARD_VENDOR_ID, 0x0101, 0x0C, 1, 64, 7) }, {}, 64, 7, 6 },
        // An interface that cannot be opened ends the search, keyboard or not.
        { "unopenable ahead of the keyboard", { Keyboard(), Keyboard() }, { false, true }, 0, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FillMemory(KeyboardDevice.reportBuffer, sizeof KeyboardDevice.reportBuffer, 0xAA);
        KeyboardDevice.handle.store(reinterpret_cast<HANDLE>(0x1234));
        List(c.shapes, c.plugged);
        EXPECT_FALSE(FindKeyboard());
        EXPECT_EQ(nullptr, KeyboardDevice.handle.load());
        EXPECT_EQ(c.inLength, KeyboardDevice.inputReportLength.load());
        EXPECT_EQ(c.outLength, KeyboardDevice.outputReportLength);
        for (size_t i = 0; i < sizeof KeyboardDevice.reportBuffer; ++i)
            EXPECT_EQ(i < c.lastZeroed ? 0 : 0xAA, KeyboardDevice.reportBuffer[i]) << i;
        for (size_t i = 0; i < pipes.size(); ++i) EXPECT_FALSE(Kept(i)) << i;
        if (c.plugged.size() > 1) EXPECT_TRUE(NeverOpened(1));
    }
}

TEST(KeyCodePacking, EachKeyIsItsBitOfTheReportAndTheReportIdNeverCounts)
{
    // The keyboard's report: data bytes 1 to 3, each key one bit, lowest first.
    const DWORD layout[3][8] = {
        { kKeyNextTrack, kKeyPreviousTrack, kKeyMediaStop, kKeyPlayPause, kKeyMute, 0, kKeyLoudness, kKeyMediaPlayer },
        { kKeyVolumeUp, kKeyVolumeDown, kKeyBassUp, kKeyBassDown, kKeyTrebleUp, kKeyTrebleDown, kKeyMail, kKeyCalculator },
        { kKeyMyComputer, kKeyWebSearch, kKeyHomePage, kKeyBack, kKeyForward, kKeyBrowserStop, kKeyRefresh,
          kKeyFavourites },
    };
    for (int byte = 0; byte < 3; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            BYTE report[4] = { 0xFF, 0, 0, 0 };
            report[1 + byte] = static_cast<BYTE>(1 << bit);
            if (layout[byte][bit]) EXPECT_EQ(layout[byte][bit], PackKeyCode(report, 4)) << byte << "." << bit;
        }
    }
    const BYTE idAlone[] = { 0x01 }, six[] = { 0x01, 0x11, 0x22, 0x33, 0x44, 0x55 };
    EXPECT_EQ(kKeysReleased, PackKeyCode(idAlone, 1));
    EXPECT_EQ(0x22334455u, PackKeyCode(six, 6));  // byte 1 shifted out of the 32 bits
}

TEST_F(ReaderTest, EveryWholeReportIsPostedAndOthersAreDropped)
{
    const struct {
        DWORD length;
        std::vector<std::vector<BYTE>> reports;
        std::vector<DWORD> posted;
    } cases[] = {
        { 4, { { 0x01, 0x00, 0x80, 0x00 }, { 0x01, 0x00, 0x00, 0x00 } }, { kKeyCalculator, kKeysReleased } },
        { 1, { { 0x07 } }, { kKeysReleased } },
        { 6, { { 0x01, 0xAB, 0x12, 0x34, 0x56, 0x78 } }, { 0x12345678 } },
        // Short, then longer than the read (its tail must not pass for a
        // report of its own), then a whole one, the sentinel.
        { 4, { { 0x01, 0x00 }, { 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x04 }, { 0x01, 0x00, 0x01, 0x00 } },
          { kKeyVolumeUp } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        OpenKeyboardOfReports(c.length);
        for (const auto& report : c.reports) ASSERT_TRUE(pipes[0]->SendBytes(report));
        EXPECT_EQ(c.posted, Posted(c.posted.size()));
        EXPECT_TRUE(Posted(1, 300).empty()) << "more than the whole reports";
        EXPECT_TRUE(KeyboardDevice.open.load());
        pipes.clear();
        ASSERT_TRUE(ReaderEnds(3000)) << "an unplug must end the reader";
        EXPECT_FALSE(KeyboardDevice.open.load());
        CloseKeyboard();
    }
}

TEST_F(ReaderTest, StopFlagAtStartEndsTheReaderBeforeItReads)
{
    ReaderStopFlag.store(1);
    OpenKeyboardOfReports(4);
    ASSERT_TRUE(pipes[0]->Send(kKeyCalculator));
    EXPECT_TRUE(ReaderEnds(3000));
    BYTE report[4] = {};
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(KeyboardDevice.handle.load(), report, sizeof report, &got, NULL)) << "the report was read";
    EXPECT_EQ(0x80, report[2]);
}

TEST_F(ReaderTest, AReaderWithoutKeyboardWaitsIdleAndGivesWayToTheNextOne)
{
    ASSERT_TRUE(StartReaderThread(window, kMessage));  // no keyboard at start
    HANDLE idle = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, ReaderThreadId);
    ASSERT_NE(nullptr, idle);
    FILETIME created, exited, kernel, user;
    Sleep(1000);
    ASSERT_TRUE(GetThreadTimes(idle, &created, &exited, &kernel, &user));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(idle, 0)) << "a reader must exist after every open";
    const ULONGLONG busy100ns = (ULONGLONG(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
                                (ULONGLONG(user.dwHighDateTime) << 32 | user.dwLowDateTime);
    EXPECT_LT(busy100ns, 500000u) << "more than 50 ms of processor time in a second of waiting";

    OpenKeyboardOfReports(4);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(idle, 3000)) << "two readers on one device";
    CloseHandle(idle);
    ASSERT_TRUE(pipes[0]->Send(kKeyLoudness));
    EXPECT_EQ(std::vector<DWORD>{ kKeyLoudness }, Posted(1));
}

TEST_F(ConnectionTest, KeyboardArrivingLaterOpensKeyboardReaderAndMixer)
{
    List({ Keyboard() }, { false });
    OpenKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
    EXPECT_FALSE(KeyboardDevice.open.load());
    EXPECT_EQ(nullptr, MixerSession.mixer);
    EXPECT_FALSE(VolumeAvailable || MuteAvailable || BassAvailable || TrebleAvailable || LoudnessAvailable);
    EXPECT_NE("", dialog.Text(IDC_SEARCH)) << "the settings are loaded with or without a keyboard";

    for (WPARAM other : { DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEQUERYREMOVE, DBT_DEVNODES_CHANGED, DBT_CONFIGCHANGED }) {
        ASSERT_TRUE(pipes[0]->PlugIn());
        EXPECT_EQ(TRUE, dialog.SendMessage(WM_DEVICECHANGE, other, 0));
        EXPECT_TRUE(NeverOpened(0)) << std::hex << other;
    }
    PutMixerValue(kMixerMute, 1);
    PutMixerValue(kMixerLoudness, 1);
    Arrival();
    EXPECT_TRUE(KeyboardDevice.open.load());
    EXPECT_TRUE(VolumeAvailable && MuteAvailable && BassAvailable && TrebleAvailable && LoudnessAvailable);
    EXPECT_TRUE(RememberedMute && RememberedLoudness);
    Press(kKeyMute);  // the reader posts to the dialog, which toggles mute
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 0; }));

    // Arriving again while open: nothing is closed, re-read or reloaded.
    const HANDLE device = KeyboardDevice.handle.load();
    const DWORD reader = ReaderThreadId;
    dialog.SetText(IDC_MAIL, "shown, not stored");
    PutMixerValue(kMixerLoudness, 0);
    Arrival();
    EXPECT_EQ(device, KeyboardDevice.handle.load());
    EXPECT_EQ(reader, ReaderThreadId);
    EXPECT_EQ("shown, not stored", dialog.Text(IDC_MAIL));
    EXPECT_TRUE(RememberedLoudness);
}

TEST_F(ConnectionTest, HundredUnplugsLeaveNoHandlesOrThreadsAndKeysStillWork)
{
    for (const SimulatedInterface& shape : { Keyboard(), Standard() }) {
        SCOPED_TRACE(shape.vendorId);
        List({ shape });
        OpenKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
        ASSERT_TRUE(KeyboardDevice.open.load());
        int threads = 0, handles = 0;
        for (int cycle = 0; cycle < 110; ++cycle) {
            SCOPED_TRACE(cycle);
            Unplug();
            // A standard keyboard's preparsed data left held shows here: the
            // simulated keyboard hands out no more than two.
            PlugIn();
            // The simulated card takes one open at a time: a mixer left open
            // by the last cycle would leave every control unavailable.
            ASSERT_TRUE(VolumeAvailable);
            if (cycle == 9) {  // by now whatever the system makes once is there
                threads = ThreadCount(GetCurrentProcessId());
                handles = HandleCount(GetCurrentProcessId());
                ASSERT_GT(threads, 0);
                ASSERT_GT(handles, 0);
            }
        }
        EXPECT_TRUE(WaitUntil([&] { return ThreadCount(GetCurrentProcessId()) == threads; }, 3000)) << ThreadCount(GetCurrentProcessId());
        EXPECT_LE(HandleCount(GetCurrentProcessId()), handles + 2);  // a pipe or event in flight, not one a cycle

        PutMixerValue(kMixerMute, 1);  // muted elsewhere meanwhile: re-read at the next plug-in
        Unplug();
        PlugIn();
        EXPECT_TRUE(RememberedMute);
        ASSERT_TRUE(pipes[0]->Send(kKeyVolumeUp));
        EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerVolume) > 0; }));
        ASSERT_TRUE(pipes[0]->Send(kKeysReleased));
        Unplug();
        CloseKeyboard();
        PutMixerValue(kMixerVolume, 0);
    }
}

TEST_F(ConnectionTest, AnArrivalReloadsTheSettingsUnlessTheUserTypedInOne)
{
    List({ Keyboard() }, { false });
    OpenKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
    const std::string stored = dialog.Text(IDC_MAIL);
    for (int edited : { IDC_MAIL, IDC_MEDIA, IDC_SEARCH }) {
        SCOPED_TRACE(edited);
        dialog.SetText(IDC_MAIL, "shown, not typed");
        Arrival();  // of any device: no keyboard behind it
        EXPECT_EQ(stored, dialog.Text(IDC_MAIL));
        SendDlgItemMessageA(dialog.Window(), edited, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
        Arrival();
        EXPECT_NE(std::string::npos, dialog.Text(edited).find("typed"));
        dialog.Command(IDC_REVERT);
    }
}

TEST_F(KeyboardTest, AStandardKeyboardIsTakenOnlyWhenNoneOfTheMakersModelsIsThere)
{
    const struct {
        const char* what;
        std::vector<SimulatedInterface> shapes;
        size_t kept;
        KeyboardKind kind;
        USHORT length;
    } cases[] = {
        { "standard alone", { Standard() }, 0, KeyboardKind::kStandard, 5 },
        { "the maker's model after it", { Standard(), Keyboard() }, 1, KeyboardKind::kMaker, 4 },
        { "the maker's model before it", { Keyboard(), Standard() }, 0, KeyboardKind::kMaker, 4 },
        { "the first of two", { Collection(0xFFF0, 1, 1, 6, 9, 1), Standard(kUsageArray, 3), Standard() }, 1,
          KeyboardKind::kStandard, 7 },
        { "64-byte reports", { StandardOfLength(64) }, 0, KeyboardKind::kStandard, 64 },
        { "the maker's model with 7-byte reports", { Keyboard(0x0101, 7), Standard() }, 1, KeyboardKind::kStandard, 5 },
        { "65-byte reports", { StandardOfLength(65), Standard() }, 1, KeyboardKind::kStandard, 5 },
        { "no report", { StandardOfLength(0), Standard(kUsageBits) }, 1, KeyboardKind::kStandard, 5 },
    };
    // Twice: preparsed data or an interface not released would show in the
    // second round as an interface that can no longer be checked.
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", round " << round);
            List(c.shapes);
            ASSERT_TRUE(FindKeyboard());
            EXPECT_EQ(c.kind, KeyboardDevice.kind.load());
            EXPECT_EQ(c.length, KeyboardDevice.inputReportLength.load());
            EXPECT_EQ(c.kind == KeyboardKind::kStandard, KeyboardDevice.preparsedData.load() != NULL);
            for (size_t i = 0; i < c.shapes.size(); ++i)
                EXPECT_TRUE(i == c.kept ? Kept(i) : WaitUntil([&] { return !Kept(i); }, 2000)) << i;
            CloseKeyboard();
        }
    }
}

// Reports as the keyboard writes them: the report-ID byte, then two 16-bit
// slots of usages (array layout) or one bit per usage (bit layout).
TEST_F(ReaderTest, AStandardKeyboardPostsEachChangeOfItsKeysAndNothingForBadReports)
{
    SimulatedInterface fromZero = Standard(), otherPage = Standard(), noUsages = Standard(kUsageBits);
    fromZero.logicalMinimum = 0;  // a slot's value v is the usage 1 + v
    otherPage.itemPage = 0x0007;  // the ordinary keys' page
    noUsages.usageCount = 0;
    const std::vector<BYTE> up = { 1, 0xE9, 0, 0, 0 }, released = { 1, 0, 0, 0, 0 }, calculator = { 1, 0x92, 1, 0, 0 };
    const struct {
        const char* what;
        SimulatedInterface shape;
        std::vector<std::vector<BYTE>> reports;
        std::vector<DWORD> posted;
    } cases[] = {
        // Held, held again, a second key, the two the other way round,
        // released, released again, a key of no row, calculator.
        { "array", Standard(), { up, up, { 1, 0xE9, 0, 0xEA, 0 }, { 1, 0xEA, 0, 0xE9, 0 }, released, released,
                                 { 1, 0xB8, 0, 0, 0 }, calculator },
          { kKeyVolumeUp, kKeyVolumeUp | kKeyVolumeDown, kKeysReleased, kKeyCalculator } },
        // Next track, again, with Eject, released.
        { "bits", Standard(kUsageBits), { { 1, 1, 0, 0, 0 }, { 1, 1, 0, 0, 0 }, { 1, 1, 0, 0x80, 0 }, released },
          { kKeyNextTrack, kKeysReleased } },
        { "Logical Minimum 0", fromZero, { { 1, 0x91, 0x01, 0, 0 } }, { kKeyCalculator } },
        { "slots out of range", Standard(), { { 1, 0xFF, 0xFF, 0x9D, 0x02 }, calculator },
          { kKeysReleased, kKeyCalculator } },
        // Short, empty and long reports are dropped; the sentinel is whole.
        { "reports of the wrong length", Standard(), { { 1, 0xE9 }, {}, { 1, 0xE9, 0, 0, 0, 0, 0 }, calculator },
          { kKeyCalculator } },
        { "usages of another page", otherPage, { up, calculator }, {} },
        { "no usages declared", noUsages, { { 1, 0xFF, 0xFF, 0xFF, 0xFF }, released }, { kKeysReleased } },
        { "the report-ID byte alone", StandardOfLength(1), { { 1 }, { 1 } }, { kKeysReleased } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        List({ c.shape });
        KeyboardDevice.open.store(FindKeyboard());
        ASSERT_TRUE(KeyboardDevice.open.load());
        ASSERT_TRUE(StartReaderThread(window, kMessage));
        for (const auto& report : c.reports) ASSERT_TRUE(pipes[0]->SendBytes(report));
        EXPECT_EQ(c.posted, Posted(c.posted.size()));
        EXPECT_TRUE(Posted(1, 300).empty()) << "a repeated or a bad report was posted";
        EXPECT_FALSE(ReaderEnds(0)) << "the reader gave up on the keyboard";
        pipes.clear();
        ASSERT_TRUE(ReaderEnds(3000));
        CloseKeyboard();
    }
}

TEST_F(ConnectionTest, TheMakersModelWinsAndTakesOverFromAStandardKeyboard)
{
    List({ Standard(), Keyboard() }, { true, false });
    OpenKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
    ASSERT_TRUE(KeyboardDevice.open.load());
    EXPECT_EQ(KeyboardKind::kStandard, KeyboardDevice.kind.load());
    Press(kKeyMute);
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 1; })) << "the standard keyboard's mute";

    DWORD reader = ReaderThreadId;
    Arrival();  // another device: the standard keyboard stays
    EXPECT_EQ(reader, ReaderThreadId);
    EXPECT_TRUE(Kept(0));
    // Replugged, and the arrival handled before the reader saw the unplug:
    // the keyboard is left alone until the next arrival opens it.
    Unplug();
    ASSERT_TRUE(pipes[0]->PlugIn());
    KeyboardDevice.open.store(true);
    Arrival();
    EXPECT_TRUE(NeverOpened(0)) << "the search for the maker's model opened the keyboard being read";
    KeyboardDevice.open.store(false);
    Arrival();
    EXPECT_TRUE(Kept(0));

    ASSERT_TRUE(pipes[1]->PlugIn());
    Arrival();
    EXPECT_TRUE(KeyboardDevice.open.load());
    EXPECT_EQ(KeyboardKind::kMaker, KeyboardDevice.kind.load());
    EXPECT_TRUE(WaitUntil([&] { return Skipped(0); }, 3000)) << "the standard keyboard was not let go";
    EXPECT_TRUE(Kept(1));
    ASSERT_TRUE(pipes[1]->Send(kKeyMute) && pipes[1]->Send(kKeysReleased));
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 0; })) << "the maker's model's mute";

    reader = ReaderThreadId;
    ASSERT_TRUE(pipes[0]->PlugIn());
    Arrival();  // the standard keyboard again: the maker's model stays
    EXPECT_EQ(reader, ReaderThreadId);
    EXPECT_TRUE(NeverOpened(0));
}

// Driven through the dialog's own routing, tick by tick.
TEST_F(ConnectionTest, ATapStepsOnceOnAStandardKeyboardOnlyAndAHoldStepsOncePerTick)
{
    const DWORD middle = 32760;
    const struct {
        const char* what;
        DWORD key;
        int ticks;
        const char* fader;
        int standardSteps, makerSteps;
    } cases[] = {
        { "volume up tapped", kKeyVolumeUp, 0, kMixerVolume, 1, 0 },
        { "treble down tapped", kKeyTrebleDown, 0, kMixerTreble, -1, 0 },
        { "bass up held for two ticks", kKeyBassUp, 2, kMixerBass, 2, 2 },
        { "volume down held for one tick", kKeyVolumeDown, 1, kMixerVolume, -1, -1 },
    };
    for (bool standard : { false, true }) {
        List({ standard ? Standard() : Keyboard() });
        OpenKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
        ASSERT_TRUE(KeyboardDevice.open.load());
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << (standard ? " on a standard keyboard" : " on the maker's"));
            for (const char* fader : { kMixerVolume, kMixerBass, kMixerTreble }) PutMixerValue(fader, middle);
            dialog.Keys(c.key);
            for (int tick = 0; tick < c.ticks; ++tick) dialog.Tick();
            dialog.Keys(kKeysReleased);
            dialog.Tick();  // late: the release has stopped the repeat
            EXPECT_EQ(middle + (standard ? c.standardSteps : c.makerSteps) * (65535 / 20), Mixer(c.fader));
        }
        pipes.clear();
        ASSERT_TRUE(WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000));
        CloseKeyboard();
    }
}

}  // namespace
