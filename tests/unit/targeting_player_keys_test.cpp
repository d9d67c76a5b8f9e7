// The player keys with the CDPLAYER.EXE, WMPLAYER.EXE and MPLAYER2.EXE
// stubs: foreground chords, search order, restoring the target window and
// giving up on one that never comes to the front.
#include <gtest/gtest.h>
#include "actions/BrowserPlayerKeys.h"
#include "actions/WindowTargeting.h"
#include "unit/targeting_stub_helpers.h"

using namespace targeting_test;
using mmk_test::RunningProgram;

namespace {

const DWORD kNext = 0x10000, kPrevious = 0x20000, kStop = 0x40000, kPlay = 0x80000;

class PlayerKeysTest : public ::testing::Test {
protected:
    void SetUp() override { ClearTargetWindow(); }
    void Press(DWORD key)
    {
        ClearTargetWindow();
        PlayerKey(key);
    }
    OtherWindow other;
    RunningProgram cd, wm, mp;
    const std::string cdPath = StubPath("CDPLAYER.EXE");
    const std::string wmPath = StubPath("WMPLAYER.EXE");
    const std::string mpPath = StubPath("MPLAYER2.EXE");
};

TEST_F(PlayerKeysTest, PlayPauseGoesStraightToMplayer2InTheForegroundAsSpace)
{
    HWND window = StartStub(mp, mpPath);
    ASSERT_TRUE(window);
    ASSERT_TRUE(BringToForeground(window));
    Press(kPlay);
    EXPECT_EQ(Space, WaitForKeys(mpPath, Space));
    Press(kStop);
    EXPECT_EQ("down 32,up 32,down 190,up 190", WaitForKeys(mpPath, "down 32,up 32,down 190,up 190"));
    EXPECT_EQ(NULL, TargetWindow.handle);
}

TEST_F(PlayerKeysTest, NextTrackWithMplayer2InFrontGoesToTheRunningCdPlayer)
{
    HWND cdWindow = StartStub(cd, cdPath);
    HWND mpWindow = StartStub(mp, mpPath);
    ASSERT_TRUE(cdWindow && mpWindow);
    ASSERT_TRUE(BringToForeground(mpWindow));
    Press(kNext);
    EXPECT_EQ(cdWindow, GetForegroundWindow());
    EXPECT_EQ(AltKDown, WaitForKeys(cdPath, AltKDown));
    EXPECT_EQ("", KeysOf(mpPath));
}

TEST_F(PlayerKeysTest, WithMplayer2InFrontAndNoOtherPlayerTrackKeysDoNothing)
{
    HWND window = StartStub(mp, mpPath);
    ASSERT_TRUE(window);
    ASSERT_TRUE(BringToForeground(window));
    Press(kNext);
    Press(kPrevious);
    Press(kPlay);  // a key that does reach it, so its log shows the order
    EXPECT_EQ(Space, WaitForKeys(mpPath, Space));
}

TEST_F(PlayerKeysTest, EveryKeyGoesToTheCdPlayerWhenItAndWmplayerRunBehindAnotherWindow)
{
    struct Case {
        DWORD key;
        const char* chord;
    };
    const Case cases[] = {
        { kNext, AltKDown },
        { kPrevious, "down 18,down 75,up 18,up 75,down 38,up 38" },
        { kStop, "down 17,down 83,up 17,up 83" },
        { kPlay, CtrlP },
    };
    ASSERT_TRUE(StartStub(wm, wmPath));
    HWND cdWindow = StartStub(cd, cdPath);
    ASSERT_TRUE(cdWindow);
    for (const Case& c : cases) {
        ASSERT_TRUE(other.TakeForeground());
        ForgetLog(cdPath);
        Press(c.key);
        EXPECT_EQ(cdWindow, TargetWindow.handle) << c.key;
        EXPECT_EQ(c.chord, WaitForKeys(cdPath, c.chord)) << c.key;
    }
    EXPECT_EQ("", KeysOf(wmPath));
    EXPECT_EQ(0, other.KeysReceived());
}

TEST_F(PlayerKeysTest, WithoutPlayerInFrontOnlyMplayer2RunningItIsActivatedAndGetsSpace)
{
    HWND window = StartStub(mp, mpPath);
    ASSERT_TRUE(window);
    ASSERT_TRUE(other.TakeForeground());
    Press(kPlay);
    EXPECT_EQ(window, GetForegroundWindow());
    EXPECT_EQ(Space, WaitForKeys(mpPath, Space));
}

TEST_F(PlayerKeysTest, ACdPlayerWithOnlyUntitledWindowsStopsTheSearch)
{
    ASSERT_TRUE(StartStub(cd, cdPath, { { "MMK_STUB_TITLE", "" } }));
    ASSERT_TRUE(StartStub(wm, wmPath));
    ASSERT_TRUE(other.TakeForeground());
    for (DWORD key : { kNext, kPrevious, kStop, kPlay }) {
        Press(key);
        EXPECT_EQ(NULL, TargetWindow.handle) << key;
        EXPECT_EQ(other.Handle(), GetForegroundWindow()) << key;
    }
    EXPECT_EQ(0, other.KeysReceived());
    EXPECT_EQ("", KeysOf(cdPath));
    EXPECT_EQ("", KeysOf(wmPath));
}

TEST_F(PlayerKeysTest, TheTargetIsRestoredToHowItWasShown)
{
    struct Case {
        const char* show;
        const char* sizes;  // WM_SIZE types the restore causes, in order
        UINT placement;
        bool zoomed;
    };
    const Case cases[] = {
        { "normal", "size 1,size 0", SW_SHOWNORMAL, false },      // minimised, then restored
        { "minimized", "size 0", SW_SHOWNORMAL, false },          // restored
        { "maximized", "size 0,size 2", SW_SHOWMAXIMIZED, true }, // restored, maximised again
    };
    for (const Case& c : cases) {
        RunningProgram player;
        HWND window = StartStub(player, wmPath, { { "MMK_STUB_SHOW", c.show }, { "MMK_STUB_LOG_SIZES", "1" } });
        ASSERT_TRUE(window) << c.show;
        ASSERT_TRUE(other.TakeForeground()) << c.show;
        ForgetLog(wmPath);
        Press(kPlay);
        EXPECT_EQ(CtrlP, WaitForKeys(wmPath, CtrlP)) << c.show;
        EXPECT_EQ(c.sizes, SizesOf(wmPath)) << c.show;
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        ASSERT_TRUE(GetWindowPlacement(window, &placement));
        EXPECT_EQ(c.placement, placement.showCmd) << c.show;
        EXPECT_FALSE(IsIconic(window)) << c.show;
        EXPECT_EQ(c.zoomed, IsZoomed(window) != FALSE) << c.show;
        EXPECT_EQ(window, GetForegroundWindow()) << c.show;
    }
}

TEST_F(PlayerKeysTest, ATargetAlreadyInFrontIsNotShownAgain)
{
    HWND window = StartStub(wm, wmPath, { { "MMK_STUB_LOG_SIZES", "1" } });
    ASSERT_TRUE(window);
    ASSERT_TRUE(BringToForeground(window));
    ForgetLog(wmPath);
    FoundProcessId = wm.ProcessId();
    TitleFilter = TitleRule::kMediaPlayer;
    ClearTargetWindow();
    FindTargetWindow();
    ASSERT_EQ(window, TargetWindow.handle);
    EXPECT_TRUE(ActivateTargetWindow());
    Sleep(200);
    EXPECT_EQ("", SizesOf(wmPath));
}

TEST_F(PlayerKeysTest, ATargetThatNeverComesToTheFrontGetsNoChordAndTheNextKeyWorks)
{
    ASSERT_TRUE(StartStub(cd, cdPath, { { "MMK_STUB_UNACTIVATABLE", "1" } }));
    ASSERT_TRUE(other.TakeForeground());

    const DWORD start = GetTickCount();
    Press(kPlay);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_TRUE(TargetWindow.handle != NULL);  // it was found, only not activated
    EXPECT_LT(elapsed, 3000u);
    EXPECT_EQ(0, other.KeysReceived());
    EXPECT_EQ("", KeysOf(cdPath));

    cd.Stop();
    HWND wmWindow = StartStub(wm, wmPath);
    ASSERT_TRUE(wmWindow);
    ASSERT_TRUE(other.TakeForeground());
    Press(kPlay);
    EXPECT_EQ(CtrlP, WaitForKeys(wmPath, CtrlP));
}

TEST_F(PlayerKeysTest, ASearchActivatesTheLaterOfTwoCopies)
{
    const std::string copyDir = mmk_test::BuildFile("stubs\\second");
    CreateDirectoryA(copyDir.c_str(), NULL);
    const std::string copyPath = copyDir + "\\WMPLAYER.EXE";
    ASSERT_TRUE(mmk_test::CopyFileOver(wmPath, copyPath));
    RunningProgram copy;
    ASSERT_TRUE(StartStub(wm, wmPath));
    ASSERT_TRUE(StartStub(copy, copyPath));
    const DWORD later = ComesFirstInSnapshot(wm.ProcessId(), copy.ProcessId()) ? copy.ProcessId() : wm.ProcessId();
    ASSERT_TRUE(other.TakeForeground());
    Press(kPlay);
    const std::string& laterPath = later == wm.ProcessId() ? wmPath : copyPath;
    const std::string& earlierPath = later == wm.ProcessId() ? copyPath : wmPath;
    EXPECT_EQ(CtrlP, WaitForKeys(laterPath, CtrlP));
    EXPECT_EQ("", KeysOf(earlierPath));
}

}  // namespace
