// The browser and player keys in the running program: key messages posted
// to MMKeyboard.exe's dialog, and a play/pause report of a simulated
// keyboard read by MMKeyboard-sim.exe, reaching the stubs as chords.
#include <gtest/gtest.h>
#include <vector>
#include "e2e/SimulatedKeyboard.h"
#include "unit/targeting_stub_helpers.h"

using namespace targeting_test;
using mmk_test::RunningProgram;

namespace {

const UINT kKeyboardKeys = WM_USER + 1;

HWND StartKeyboardProgram(RunningProgram& program, const char* exeName)
{
    if (!program.Start(mmk_test::BuildFile(exeName))) return NULL;
    HWND dialog = NULL;
    mmk_test::WaitUntil([&] {
        dialog = mmk_test::FindProcessWindow(program.ProcessId(), "#32770", "Multimedia Keyboard");
        return dialog != NULL && !IsWindowVisible(dialog);  // settled in the tray
    }, 15000);
    return dialog;
}

struct BoxSeen {
    HWND box = NULL;
    DWORD processId = 0;
};

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM param)
{
    BoxSeen* seen = reinterpret_cast<BoxSeen*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char className[64];
    GetClassNameA(hwnd, className, sizeof className);
    if (pid != seen->processId || lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    char title[64];
    GetWindowTextA(hwnd, title, sizeof title);
    if (lstrcmpA(title, "Multimedia Keyboard") == 0) return TRUE;
    seen->box = hwnd;
    return FALSE;
}

class KeyMessagesTest : public ::testing::Test {
protected:
    RunningProgram keyboard;
    OtherWindow other;
};

TEST_F(KeyMessagesTest, PlayPauseAndBackReachTheirProgramsBehindAnotherWindow)
{
    HWND dialog = StartKeyboardProgram(keyboard, "MMKeyboard.exe");
    ASSERT_TRUE(dialog);
    RunningProgram player, browser;
    const std::string playerPath = StubPath("WMPLAYER.EXE"), browserPath = StubPath("IEXPLORE.EXE");
    ASSERT_TRUE(StartStub(player, playerPath));
    ASSERT_TRUE(StartStub(browser, browserPath));

    ASSERT_TRUE(other.TakeForeground());
    PostMessageA(dialog, kKeyboardKeys, 0, 0x80000);
    EXPECT_EQ(CtrlP, WaitForKeys(playerPath, CtrlP));

    ASSERT_TRUE(other.TakeForeground());
    PostMessageA(dialog, kKeyboardKeys, 0, 0x8);
    EXPECT_EQ(AltLeft, WaitForKeys(browserPath, AltLeft));
    EXPECT_EQ(CtrlP, KeysOf(playerPath));
    EXPECT_EQ(0, other.KeysReceived());
}

TEST_F(KeyMessagesTest, FavouritesShowsNotFoundCaptionedWithTheProgramName)
{
    HWND dialog = StartKeyboardProgram(keyboard, "MMKeyboard.exe");
    ASSERT_TRUE(dialog);
    RunningProgram browser;
    ASSERT_TRUE(StartStub(browser, StubPath("IEXPLORE.EXE"), { { "MMK_STUB_TITLE", "about:blank" } }));
    ASSERT_TRUE(other.TakeForeground());
    PostMessageA(dialog, kKeyboardKeys, 0, 0x80);

    BoxSeen seen;
    seen.processId = keyboard.ProcessId();
    ASSERT_TRUE(mmk_test::WaitUntil([&] {
        EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&seen));
        return seen.box != NULL;
    }, 10000));
    char text[64];
    GetWindowTextA(seen.box, text, sizeof text);
    EXPECT_STREQ("MMKeyboard", text);
    GetDlgItemTextA(seen.box, 0xFFFF, text, sizeof text);
    EXPECT_STREQ("not found", text);
    EXPECT_EQ(dialog, GetWindow(seen.box, GW_OWNER));
    PostMessageA(seen.box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(mmk_test::WaitUntil([&] { return !IsWindow(seen.box); }, 5000));
    EXPECT_EQ("", KeysOf(StubPath("IEXPLORE.EXE")));
}

TEST(TargetingThroughSimulatedKeyboard, PlayPauseReportReachesTheMediaPlayerAsCtrlP)
{
    mmk_test::SimulatedDeviceEntry device;
    device.devicePath = "\\\\.\\pipe\\mmk_targeting_keyboard";
    ASSERT_TRUE(mmk_test::ClearSimulatedDevices());
    ASSERT_TRUE(mmk_test::RegisterSimulatedDevice(0, device));
    mmk_test::SimulatedKeyboardPipe keyboard(device.devicePath);
    ASSERT_TRUE(keyboard.PlugIn());
    RunningProgram player, program;
    const std::string playerPath = StubPath("WMPLAYER.EXE");
    ASSERT_TRUE(StartStub(player, playerPath));
    ASSERT_TRUE(StartKeyboardProgram(program, "MMKeyboard-sim.exe"));
    ASSERT_TRUE(keyboard.WaitForClient(20000)) << "the program never opened the simulated keyboard";
    OtherWindow other;
    ASSERT_TRUE(other.TakeForeground());

    ASSERT_TRUE(keyboard.Send({ 0x00, 0x08, 0x00, 0x00 }));  // play/pause down
    ASSERT_TRUE(keyboard.Send({ 0x00, 0x00, 0x00, 0x00 }));  // released
    EXPECT_EQ(CtrlP, WaitForKeys(playerPath, CtrlP));
    program.Stop();
    mmk_test::ClearSimulatedDevices();
}

}  // namespace
