// The keyboard connection through the dialog's own device-change handling,
// with a fake keyboard served over real pipes and a fake sound card.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <tlhelp32.h>
#include "fakes/FakeHidDevice.h"
#include "keyboard/KeyboardConnection.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/ReaderThread.h"
#include "res/resource.h"
#include "settings/SettingsPage.h"
#include "support/WineTestSupport.h"
#include "unit/DialogHarness.h"
#include "unit/MixerTestState.h"

using mmk_fake::AddFakeControl;
using mmk_fake::TheFakeMixer;

namespace {

const fake_hid::FakeInterface kKeyboard = { KEYBOARD_VENDOR_ID, 0x0101, 0x000C, 0x0001, 4, 0 };

// A report of three data bytes with the key bits of `keyCode`.
std::vector<BYTE> Report(DWORD keyCode)
{
    return { 0x01, static_cast<BYTE>(keyCode >> 16), static_cast<BYTE>(keyCode >> 8), static_cast<BYTE>(keyCode) };
}

int ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

// Every handle the process holds, from the system's handle list: Wine
// answers GetProcessHandleCount with 0.
int HandlesOfThisProcess()
{
    struct HandleEntry {
        ULONG ownerPid;
        BYTE objectType, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    struct HandleList {
        ULONG count;
        HandleEntry entries[1];
    };
    typedef LONG(WINAPI * QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);
    const QuerySystemInformation query = reinterpret_cast<QuerySystemInformation>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation"));
    if (!query) return -1;
    std::vector<BYTE> buffer(1 << 16);
    ULONG needed = 0;
    LONG status;
    while ((status = query(16 /* SystemHandleInformation */, buffer.data(), (ULONG)buffer.size(), &needed)) ==
           (LONG)0xC0000004 /* length mismatch */)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return -1;
    const HandleList* list = reinterpret_cast<const HandleList*>(buffer.data());
    int count = 0;
    for (ULONG i = 0; i < list->count; ++i)
        if (list->entries[i].ownerPid == GetCurrentProcessId()) ++count;
    return count;
}

class KeyboardConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, harness.Window());
        mmk_test::ResetMixerState();
        mmk_fake::AddAllFakeControls(65535, 0);
        fake_hid::Reset();
        KeyboardDevice.open.store(false);
        ReaderStopFlag.store(0);
    }
    void TearDown() override
    {
        fake_hid::Reset();  // unplugs: a reader blocked in a read ends
        WaitUntilUnplugNoticed();
        CloseKeyboard();
        KeyboardDevice.open.store(false);
        mmk_test::ResetMixerState();
    }

    LRESULT DeviceChange(WPARAM event) { return harness.dialog.SendMessage(WM_DEVICECHANGE, event, 0); }
    LRESULT Arrival() { return DeviceChange(DBT_DEVICEARRIVAL); }

    static bool WaitUntilUnplugNoticed()
    {
        return mmk_test::WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000);
    }

    // A key pressed and released on the fake keyboard, handled by the dialog.
    void PressAndRelease(DWORD keyCode)
    {
        ASSERT_TRUE(fake_hid::SendReport(0, Report(keyCode)));
        ASSERT_TRUE(fake_hid::SendReport(0, Report(0)));
        mmk_test::DialogHarness::Pump(150);
    }

    mmk_fake::FakeMixer& card = TheFakeMixer();
    mmk_test::DialogHarness harness;
};

TEST_F(KeyboardConnectionTest, WithoutKeyboardAtStartTheMixerStaysClosed)
{
    OpenKeyboard(harness.Window(), KeyboardOpenReason::kStartUp);
    EXPECT_FALSE(KeyboardDevice.open.load());
    EXPECT_EQ(nullptr, KeyboardDevice.handle.load());
    EXPECT_EQ(0, card.opens);
    EXPECT_EQ(nullptr, MixerSession.mixer);
    EXPECT_FALSE(VolumeAvailable || MuteAvailable || BassAvailable || TrebleAvailable || LoudnessAvailable);
}

TEST_F(KeyboardConnectionTest, KeyboardArrivingLaterOpensKeyboardReaderAndMixer)
{
    OpenKeyboard(harness.Window(), KeyboardOpenReason::kStartUp);
    fake_hid::SetInterfaces({ kKeyboard });
    card.mute.value = 1;
    card.loudness.value = 1;
    EXPECT_EQ(TRUE, Arrival());

    EXPECT_TRUE(KeyboardDevice.open.load());
    EXPECT_TRUE(fake_hid::IsOpen(0));
    EXPECT_EQ(1, card.openHandles);
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(harness.Window()), card.lastCallback);
    EXPECT_TRUE(VolumeAvailable && MuteAvailable && BassAvailable && TrebleAvailable && LoudnessAvailable);
    EXPECT_TRUE(RememberedMute);
    EXPECT_TRUE(RememberedLoudness);

    PressAndRelease(0x100000);  // the reader posts to the dialog: mute toggles
    EXPECT_TRUE(mmk_test::WaitUntil([&] { mmk_test::DialogHarness::Pump(10); return card.mute.value == 0; }, 3000));
}

TEST_F(KeyboardConnectionTest, ArrivalWhileTheKeyboardIsOpenChangesNothing)
{
    fake_hid::SetInterfaces({ kKeyboard });
    OpenKeyboard(harness.Window(), KeyboardOpenReason::kStartUp);
    ASSERT_TRUE(KeyboardDevice.open.load());
    const HANDLE device = KeyboardDevice.handle.load();
    const DWORD reader = ReaderThreadId;
    const int calls = card.calls;

    EXPECT_EQ(TRUE, Arrival());
    EXPECT_EQ(device, KeyboardDevice.handle.load());
    EXPECT_EQ(reader, ReaderThreadId);
    EXPECT_EQ(calls, card.calls);
}

TEST_F(KeyboardConnectionTest, DeviceEventsOtherThanArrivalDoNothing)
{
    OpenKeyboard(harness.Window(), KeyboardOpenReason::kStartUp);
    fake_hid::SetInterfaces({ kKeyboard });
    const WPARAM events[] = { DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEQUERYREMOVE, DBT_DEVNODES_CHANGED,
                              DBT_CONFIGCHANGED };
    for (WPARAM event : events) {
        EXPECT_EQ(TRUE, DeviceChange(event)) << std::hex << event;
        EXPECT_FALSE(fake_hid::WasOpened(0)) << std::hex << event;
    }
    EXPECT_EQ(0, card.opens);
}

TEST_F(KeyboardConnectionTest, UnplugAndPlugInAgainRereadsTogglesAndKeysWork)
{
    fake_hid::SetInterfaces({ kKeyboard });
    OpenKeyboard(harness.Window(), KeyboardOpenReason::kStartUp);
    ASSERT_TRUE(KeyboardDevice.open.load());
    EXPECT_FALSE(RememberedMute);

    fake_hid::Unplug(0);
    ASSERT_TRUE(WaitUntilUnplugNoticed());
    card.mute.value = 1;  // changed in the system's volume control meanwhile
    card.loudness.value = 1;
    fake_hid::SetInterfaces({ kKeyboard });
    Arrival();
    ASSERT_TRUE(KeyboardDevice.open.load());
    EXPECT_TRUE(RememberedMute);
    EXPECT_TRUE(RememberedLoudness);
    EXPECT_EQ(1, card.openHandles);

    ASSERT_TRUE(fake_hid::SendReport(0, Report(0x100)));
    EXPECT_TRUE(mmk_test::WaitUntil([&] { mmk_test::DialogHarness::Pump(10); return card.volume.value > 0; }, 3000));
    ASSERT_TRUE(fake_hid::SendReport(0, Report(0)));
    mmk_test::DialogHarness::Pump(150);
}

TEST_F(KeyboardConnectionTest, HundredUnplugsLeaveNoHandlesOrThreadsBehind)
{
    fake_hid::SetInterfaces({ kKeyboard });
    OpenKeyboard(harness.Window(), KeyboardOpenReason::kStartUp);
    ASSERT_TRUE(KeyboardDevice.open.load());
    // One cycle first, so that whatever the system creates once is there.
    fake_hid::Unplug(0);
    ASSERT_TRUE(WaitUntilUnplugNoticed());
    fake_hid::SetInterfaces({ kKeyboard });
    Arrival();
    const int threads = ThreadsOfThisProcess();
    const int handles = HandlesOfThisProcess();

    for (int cycle = 0; cycle < 100; ++cycle) {
        fake_hid::Unplug(0);
        ASSERT_TRUE(WaitUntilUnplugNoticed()) << "cycle " << cycle;
        fake_hid::SetInterfaces({ kKeyboard });
        Arrival();
        ASSERT_TRUE(KeyboardDevice.open.load()) << "cycle " << cycle;
        ASSERT_EQ(1, card.openHandles) << "cycle " << cycle;
    }
    EXPECT_EQ(1, fake_hid::MostOpenAtOnce());
    EXPECT_EQ(0, fake_hid::UnreleasedPreparsedData());
    EXPECT_EQ(0, fake_hid::UndestroyedSets());
    EXPECT_EQ(threads, ThreadsOfThisProcess());
    EXPECT_LE(HandlesOfThisProcess(), handles + 2);  // a pipe or event in flight, not one per cycle
    EXPECT_EQ(card.opens - 1, card.closes);  // every mixer opened was closed but the current one

    PressAndRelease(0x100000);
    EXPECT_TRUE(mmk_test::WaitUntil([&] { mmk_test::DialogHarness::Pump(10); return card.mute.value == 1; }, 3000));
}

TEST_F(KeyboardConnectionTest, ArrivalKeepsSettingsTheUserHasNotSaved)
{
    HWND mail = harness.AddEdit(IDC_MAIL, "stored.exe");
    harness.AddEdit(IDC_MEDIA, "player.exe");
    harness.AddEdit(IDC_SEARCH, "http://search/");
    OpenKeyboard(harness.Window(), KeyboardOpenReason::kStartUp);
    EXPECT_FALSE(HasUnsavedSettingEdits(harness.Window()));

    SetWindowTextA(mail, "typed.exe");
    SendMessageA(mail, EM_SETMODIFY, TRUE, 0);
    fake_hid::SetInterfaces({ kKeyboard });
    Arrival();
    ASSERT_TRUE(KeyboardDevice.open.load());
    char text[100];
    GetWindowTextA(mail, text, sizeof text);
    EXPECT_STREQ("typed.exe", text);
    EXPECT_TRUE(HasUnsavedSettingEdits(harness.Window()));
}

TEST_F(KeyboardConnectionTest, AnyEditedSettingCountsAsUnsaved)
{
    const int ids[] = { IDC_MAIL, IDC_MEDIA, IDC_SEARCH };
    HWND edits[3];
    for (int i = 0; i < 3; ++i) edits[i] = harness.AddEdit(ids[i], "");
    EXPECT_FALSE(HasUnsavedSettingEdits(harness.Window()));
    for (int i = 0; i < 3; ++i) {
        SendMessageA(edits[i], EM_SETMODIFY, TRUE, 0);
        EXPECT_TRUE(HasUnsavedSettingEdits(harness.Window())) << ids[i];
        SetWindowTextA(edits[i], "reloaded");  // loading clears the modified state
        EXPECT_FALSE(HasUnsavedSettingEdits(harness.Window())) << ids[i];
    }
}

}  // namespace
