// The keyboard in-process: discovery, the report reader and the connection,
// over the simulated keyboard module, whose interfaces are pipes this test
// serves, and the simulated sound card.
#include "unit/KeyboardFixtures.h"
#include "support/ProcessCounts.h"
#include "support/Program.h"

using namespace mmk_test;

namespace {

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

}  // namespace
