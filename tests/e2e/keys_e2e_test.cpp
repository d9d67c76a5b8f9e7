// Every kind of key end to end, in one start of MMKeyboard-sim.exe under Wine
// reporting Windows 98: reports written to its simulated keyboard start the
// stand-ins, reach the browser and player stand-ins as chords, step and
// toggle the simulated sound card, and work again after a replug.
#include <gtest/gtest.h>
#include <memory>
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"
#include "support/StandIns.h"
#include "keyboard/KeyCodes.h"
#include "res/resource.h"

using namespace mmk_test;

namespace {

const char kBrowser[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

class KeysEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        DrivenProgram("MMKeyboard-sim.exe");  // first: it chooses the stand-ins
        mail = StandIn("mailstub.exe");
        media = StandIn("mediastub.exe");
        ClearSimulator();
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
        for (const char* name : { kMixerVolume, kMixerMute }) PutMixerValue(name, 0);
        PutMixerValue(kMixerVolumeMax, 65535);
        PutMixerValue(kMixerPresent, 1);
        SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "Mail", mail + " --stored");
        SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "Media", media + " /play C:\\music\\song.mp3");
        SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "WWWSearch", search);
        browserStandIn.reset(new InstalledStandIn("IEXPLORE.EXE", kBrowser));
        calculatorStandIn.reset(new InstalledStandIn("calc.exe", calculator));
        ASSERT_TRUE(browserStandIn->Installed() && calculatorStandIn->Installed());

        ASSERT_TRUE(keyboard.Register() && keyboard.PlugIn());
        dialog = StartSettled(program, "MMKeyboard-sim.exe").dialog;
        ASSERT_TRUE(dialog) << "MMKeyboard-sim.exe did not settle";
        ASSERT_TRUE(keyboard.WaitOpened(10000)) << "the program never opened the simulated keyboard";
    }
    void TearDown() override
    {
        program.Stop();
        browserStandIn.reset();
        calculatorStandIn.reset();
        ClearSimulator();
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    }

    // A key pressed and let go.
    void Press(DWORD keyCode)
    {
        ASSERT_TRUE(keyboard.Send(keyCode));
        ASSERT_TRUE(keyboard.Send(kKeysReleased));
    }
    std::string Launch(DWORD keyCode, const std::string& program)
    {
        ForgetLog(program);
        Press(keyCode);
        return CommandLineOf(program);
    }

    SimulatedKeyboard keyboard{ "e2e-keyboard" };
    RunningProgram program;
    HWND dialog = NULL;
    const std::string calculator = WindowsDirectory() + "\\calc.exe";
    std::unique_ptr<InstalledStandIn> browserStandIn, calculatorStandIn;
    std::string mail, media;
    // 90 characters: the browser's command line is longer than 100 bytes.
    const std::string search = "http://search.example/find?q=two words&lang=en&" + std::string(43, 'x');
};

TEST_F(KeysEndToEnd, EveryKindOfKeyActsAndActsAgainAfterAReplug)
{
    // Launch keys. Wine quotes the browser's path, which has blanks, when it
    // passes the command line on; the rest arrives byte for byte.
    EXPECT_EQ(calculator, Launch(kKeyCalculator, calculator));
    EXPECT_EQ("\"" + std::string(kBrowser) + "\" " + search, Launch(kKeyWebSearch, kBrowser));
    SetDlgItemTextA(dialog, IDC_MAIL, (mail + " --unsaved edit").c_str());
    EXPECT_EQ(mail + " --unsaved edit", Launch(kKeyMail, mail));

    // Chords for the browser and a player behind another window; favourites
    // with a browser that has no window of its title says "not found".
    EndProgramsStartedBy(program.ProcessId());  // the launch keys' browsers among them
    RunningProgram browser, player;
    OtherWindow other;
    ASSERT_TRUE(StartStandIn(browser, StandIn("IEXPLORE.EXE")) && StartStandIn(player, StandIn("WMPLAYER.EXE")));
    ASSERT_TRUE(other.TakeForeground());
    Press(kKeyBack);
    EXPECT_EQ(kAltLeft, WaitForKeys(StandIn("IEXPLORE.EXE"), kAltLeft));
    ASSERT_TRUE(other.TakeForeground());
    Press(kKeyPlayPause);
    EXPECT_EQ(kCtrlP, WaitForKeys(StandIn("WMPLAYER.EXE"), kCtrlP));

    // A volume step shows its level without taking the foreground from the
    // player, so the player's chord, sent right after, still reaches it.
    HWND front = GetForegroundWindow();
    ForgetLog(StandIn("WMPLAYER.EXE"));
    ASSERT_TRUE(keyboard.Send(kKeyVolumeUp));
    EXPECT_TRUE(WaitUntil([&] {
        HWND display = FindLevelDisplay(program.ProcessId());
        return display && IsWindowVisible(display);
    }, 3000)) << "no level display";
    ASSERT_TRUE(keyboard.Send(kKeysReleased));
    EXPECT_EQ(front, GetForegroundWindow());
    Press(kKeyPlayPause);
    EXPECT_EQ(kCtrlP, WaitForKeys(StandIn("WMPLAYER.EXE"), kCtrlP));
    EXPECT_EQ(front, GetForegroundWindow());
    PutMixerValue(kMixerVolume, 0);

    // With no other player left, Winamp behind takes its command where it is.
    player.Stop();
    RunningProgram winamp;
    ASSERT_TRUE(StartStandIn(winamp, StandIn("winamp.exe")) && other.TakeForeground());
    Press(kKeyNextTrack);
    EXPECT_TRUE(WaitUntil([&] { return CommandsOf(StandIn("winamp.exe")) == "Next track"; }));
    EXPECT_EQ(other.Handle(), GetForegroundWindow());
    ASSERT_TRUE(StartStandIn(browser, StandIn("IEXPLORE.EXE"), { { "MMK_STUB_TITLE", "about:blank" } }));
    Press(kKeyFavourites);
    HWND box = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindShownDialog(program.ProcessId(), kDialogTitle)) != NULL; }));
    char caption[64] = "";
    GetWindowTextA(box, caption, sizeof caption);
    EXPECT_STREQ("MMKeyboard-sim", caption);
    EXPECT_EQ("not found", MessageBoxText(box));
    EXPECT_EQ(dialog, GetWindow(box, GW_OWNER));
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    // Holding volume up steps it ten times a second until it is let go, with
    // the level display shown all along.
    ASSERT_TRUE(keyboard.Send(kKeyVolumeUp));
    Sleep(1000);
    ASSERT_TRUE(keyboard.Send(kKeysReleased));
    Press(kKeyMute);  // the sentinel: once mute is on, the release was handled
    ASSERT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 1; }));
    const DWORD volume = Mixer(kMixerVolume);
    EXPECT_EQ(0u, volume % 3276) << volume;
    EXPECT_TRUE(volume / 3276 >= 6 && volume / 3276 <= 13) << volume / 3276 << " steps in a second";
    PutMixerValue(kMixerMute, 0);  // unmuted elsewhere: the next press mutes
    Press(kKeyMute);
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 1; }));
    EXPECT_EQ(volume, Mixer(kMixerVolume)) << "the volume kept rising after the release";

    // Unplugged and plugged in again: the keys work, the toggles are read
    // afresh; without a sound card then, the sound keys do nothing.
    for (DWORD present : { 1, 0 }) {
        SCOPED_TRACE(present);
        keyboard.Unplug();
        PutMixerValue(kMixerPresent, present);
        ASSERT_TRUE(keyboard.Replug(dialog)) << "the arrival did not open the keyboard again";
        Press(kKeyMute);  // muted: unmutes, with a card
        ASSERT_TRUE(keyboard.Send(kKeyVolumeDown));
        Sleep(300);
        ASSERT_TRUE(keyboard.Send(kKeysReleased));
        EXPECT_EQ(calculator, Launch(kKeyCalculator, calculator)) << "after the replug";
        EXPECT_EQ(present ? 0u : 1u, Mixer(kMixerMute));
        if (present) EXPECT_LT(Mixer(kMixerVolume), volume);
        else EXPECT_EQ(volume, Mixer(kMixerVolume));
        PutMixerValue(kMixerMute, 1);
        PutMixerValue(kMixerVolume, volume);
    }
    EXPECT_FALSE(program.HasExited());
}

// A second start while this copy runs ends at once, without opening the
// keyboard, whose every open would read every report: each key acts once.
TEST_F(KeysEndToEnd, ASecondStartEndsAtOnceSoEachKeyActsOnce)
{
    RunningProgram second;
    ASSERT_TRUE(second.Start(DrivenProgram("MMKeyboard-sim.exe")));
    EXPECT_TRUE(second.HasExited(10000)) << "a second copy runs";
    ForgetLog(calculator);
    Press(kKeyMute);
    // The sentinel: once the calculator is up, the mute before it was handled.
    EXPECT_EQ(calculator, Launch(kKeyCalculator, calculator));
    EXPECT_EQ(1u, Mixer(kMixerMute)) << "mute toggled and toggled back";
    EXPECT_EQ(1, StartsOf(calculator));
    EXPECT_EQ(1, keyboard.Opened()) << "the second start opened the keyboard";
}

// Keys do what their owner assigned, the program in front's set first, read
// afresh at each press; a value not understood acts as today.
TEST_F(KeysEndToEnd, AssignedKeysActInTheirProgramOrInAllAndBadValuesAsToday)
{
    const std::string all = std::string(kSettingsKey) + "\\Keys";
    const std::string browserSet = std::string(kSettingsKey) + "\\Programs\\IEXPLORE.EXE";
    const char kCtrlShiftNAltF[] = "down 17,down 16,down 78,up 78,up 16,up 17,down 18,down 70,up 70,up 18";
    const char kF2[] = "down 113,up 113";
    SetRegistryText(HKEY_CURRENT_USER, all.c_str(), "VolumeUp", "keys F2");
    SetRegistryValue(HKEY_CURRENT_USER, all.c_str(), "MediaPlayer", std::string("\1\0\0\0", 4), REG_DWORD);
    SetRegistryText(HKEY_CURRENT_USER, browserSet.c_str(), "VolumeUp", "keys Ctrl+Shift+N, Alt+F");
    EXPECT_EQ(media + " /play C:\\music\\song.mp3", Launch(kKeyMediaPlayer, media)) << "a DWORD value";

    // The browser's own set beats all programs'; a held key acts once.
    RunningProgram browser, player;
    const HWND browserWindow = StartStandIn(browser, StandIn("IEXPLORE.EXE"));
    const HWND playerWindow = StartStandIn(player, StandIn("WMPLAYER.EXE"));
    ASSERT_TRUE(browserWindow && playerWindow && BringToForeground(browserWindow));
    ASSERT_TRUE(keyboard.Send(kKeyVolumeUp));
    Sleep(350);
    ASSERT_TRUE(keyboard.Send(kKeysReleased));
    ASSERT_TRUE(BringToForeground(playerWindow));
    Press(kKeyVolumeUp);
    EXPECT_EQ(kF2, WaitForKeys(StandIn("WMPLAYER.EXE"), kF2));
    EXPECT_EQ(kCtrlShiftNAltF, KeysOf(StandIn("IEXPLORE.EXE")));
    EXPECT_EQ(0u, Mixer(kMixerVolume));

    // Changed while the program runs: the next press steps the volume.
    SetRegistryText(HKEY_CURRENT_USER, all.c_str(), "VolumeUp", "standard");
    ASSERT_TRUE(keyboard.Send(kKeyVolumeUp));
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerVolume) > 0; }));
    ASSERT_TRUE(keyboard.Send(kKeysReleased));
    EXPECT_EQ(kF2, KeysOf(StandIn("WMPLAYER.EXE")));
}

}  // namespace
