// The process lookup and foreground identification against Wine's real
// toolhelp snapshots, with the player stubs running.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>
#include "actions/ProcessLookup.h"
#include "actions/WindowTargeting.h"
#include "unit/targeting_stub_helpers.h"

using namespace targeting_test;
using mmk_test::RunningProgram;

namespace {

TEST(ProcessLookup, WineReportsTheNtShapeAndTheExecutableInCapitalsAsNamed)
{
    RunningProgram player;
    ASSERT_TRUE(StartStub(player, StubPath("CDPLAYER.EXE")));

    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, snapshot);
    PROCESSENTRY32 process = {};
    process.dwSize = sizeof process;
    bool seen = false;
    for (BOOL more = Process32First(snapshot, &process); more; more = Process32Next(snapshot, &process)) {
        if (process.th32ProcessID != player.ProcessId()) continue;
        seen = true;
        EXPECT_EQ(0u, process.th32ModuleID);
    }
    CloseHandle(snapshot);
    EXPECT_TRUE(seen);

    MODULEENTRY32 module = {};
    ASSERT_TRUE(FindModuleEntry(player.ProcessId(), 0, &module));
    EXPECT_STREQ("CDPLAYER.EXE", module.szModule);
    EXPECT_EQ(1u, module.th32ModuleID);
}

TEST(ProcessLookup, FindsARunningPlayerOnlyByItsNameInCapitals)
{
    RunningProgram player;
    ASSERT_TRUE(StartStub(player, StubPath("WMPLAYER.EXE")));
    EXPECT_EQ(player.ProcessId(), FindProcessByModule("WMPLAYER.EXE"));
    EXPECT_EQ(0u, FindProcessByModule("wmplayer.exe"));
    EXPECT_EQ(0u, FindProcessByModule("WMPLAYER"));
    EXPECT_EQ(0u, FindProcessByModule("MPLAYER2.EXE"));
    player.Stop();
    EXPECT_EQ(0u, FindProcessByModule("WMPLAYER.EXE"));
}

TEST(ProcessLookup, TheForegroundPlayerIsRecognisedByItsExecutable)
{
    struct Case {
        const char* exe;
        PlayerKind kind;
    };
    const Case cases[] = { { "CDPLAYER.EXE", PlayerKind::kCdPlayer }, { "WMPLAYER.EXE", PlayerKind::kWmplayer },
                           { "MPLAYER2.EXE", PlayerKind::kMplayer2 }, { "IEXPLORE.EXE", PlayerKind::kNone } };
    for (const Case& c : cases) {
        RunningProgram program;
        HWND window = StartStub(program, StubPath(c.exe));
        ASSERT_TRUE(window) << c.exe;
        ASSERT_TRUE(BringToForeground(window)) << c.exe;
        EXPECT_EQ(c.kind, IdentifyForegroundPlayer()) << c.exe;
        OtherWindow other;
        ASSERT_TRUE(other.TakeForeground());
        EXPECT_EQ(PlayerKind::kNone, IdentifyForegroundPlayer()) << c.exe << " behind another window";
    }
}

TEST(ProcessLookup, TheSearchFindsTheLaterOfTwoCopiesButEitherInFrontIsAPlayer)
{
    const std::string copyDir = mmk_test::BuildFile("stubs\\second");
    CreateDirectoryA(copyDir.c_str(), NULL);
    const std::string copyPath = copyDir + "\\CDPLAYER.EXE";
    ASSERT_TRUE(mmk_test::CopyFileOver(StubPath("CDPLAYER.EXE"), copyPath));
    RunningProgram one, two;
    HWND windowOne = StartStub(one, StubPath("CDPLAYER.EXE"));
    HWND windowTwo = StartStub(two, copyPath);
    ASSERT_TRUE(windowOne && windowTwo);
    const bool oneFirst = ComesFirstInSnapshot(one.ProcessId(), two.ProcessId());
    HWND earlier = oneFirst ? windowOne : windowTwo;
    HWND later = oneFirst ? windowTwo : windowOne;
    const DWORD laterProcess = oneFirst ? two.ProcessId() : one.ProcessId();

    EXPECT_EQ(laterProcess, FindProcessByModule("CDPLAYER.EXE"));
    ASSERT_TRUE(BringToForeground(later));
    EXPECT_EQ(PlayerKind::kCdPlayer, IdentifyForegroundPlayer());
    ASSERT_TRUE(BringToForeground(earlier));
    EXPECT_EQ(PlayerKind::kCdPlayer, IdentifyForegroundPlayer());
}

// A window of a thread of our own, made the foreground and then destroyed:
// the foreground then belongs to that thread's input, which has no window.
DWORD WINAPI ForegroundThenGone(LPVOID)
{
    HWND window = CreateWindowExA(0, "STATIC", "Windows Media Player - Microsoft Internet Explorer",
                                  WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    SetForegroundWindow(window);
    DestroyWindow(window);
    return 0;
}

TEST(ForegroundWindow, WithNoForegroundWindowNoPlayerAndNoTitleIsRecognised)
{
    HANDLE thread = CreateThread(NULL, 0, ForegroundThenGone, NULL, 0, NULL);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    ASSERT_EQ(NULL, GetForegroundWindow());
    // No player runs: a lookup gives 0, the same as the missing window's process.
    EXPECT_EQ(PlayerKind::kNone, IdentifyForegroundPlayer());
    EXPECT_FALSE(ForegroundTitleContains("Microsoft Internet Explorer"));
    EXPECT_FALSE(ForegroundTitleContains(""));
}

TEST(ForegroundWindow, TitleIsSearchedWithCaseInItsFirst499Characters)
{
    std::string longTitle(495, 'x');
    longTitle += "Microsoft Internet Explorer";
    struct Case {
        std::string title;
        bool contains;
    };
    const Case cases[] = {
        { "Start Page - Microsoft Internet Explorer", true },
        { "Microsoft Internet Explorer", true },
        { "Mail - microsoft internet explorer", false },
        { "Microsoft Internet", false },
        { longTitle, false },
    };
    // One window, retitled: taking the foreground away from a window costs
    // Wine two seconds.
    OtherWindow window;
    ASSERT_TRUE(window.TakeForeground());
    for (const Case& c : cases) {
        ASSERT_TRUE(SetWindowTextA(window.Handle(), c.title.c_str())) << c.title;
        EXPECT_EQ(c.contains, ForegroundTitleContains("Microsoft Internet Explorer")) << c.title;
    }
}

}  // namespace
