// MMKeyboard.exe as a user meets it, under Wine reporting Windows 98: it
// settles hidden behind its tray icon, every way of closing the window only
// hides it, the system menu leads to the About box, the settings commands
// reach the registry; and on any other Windows it ends unseen.
#include <gtest/gtest.h>
#include "keyboard/KeyCodes.h"
#include "res/resource.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"

using namespace mmk_test;

namespace {


void Type(std::initializer_list<BYTE> keys, bool withAlt = false)
{
    if (withAlt) keybd_event(VK_MENU, 0, 0, 0);
    for (BYTE key : keys) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
    if (withAlt) keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
}

class ShellEndToEnd : public ::testing::Test {
protected:
    void TearDown() override
    {
        EndThroughItsLoop(program, settled.dialog);
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    }
    bool Visible() const { return IsWindowVisible(settled.dialog) != FALSE; }
    bool ShowByTray()
    {
        ClickTrayIcon(settled.tray, WM_LBUTTONDBLCLK);
        return WaitUntil([&] { return Visible() && GetForegroundWindow() == settled.dialog; }, 3000);
    }
    // Hidden, and still hidden and running a moment later.
    bool StaysHidden()
    {
        return WaitUntil([&] { return !Visible(); }, 3000) && !program.HasExited(300) && !Visible();
    }
    void ExpectAboutBoxOpensAndCloses()
    {
        HWND about = NULL;
        ASSERT_TRUE(WaitUntil([&] {
            return (about = FindProcessWindow(program.ProcessId(), "#32770", "About Varden Multimedia Keyboard")) &&
                   IsWindowVisible(about);
        }, 3000)) << "no About box";
        PostMessageA(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 3000));
    }

    RunningProgram program;
    SettledProgram settled = { NULL, NULL };
};

TEST_F(ShellEndToEnd, TheWindowOnlyEverHidesAndTheMenusAndCommandsWork)
{
    const int iconsBefore = CountTrayIcons();
    settled = StartSettled(program, "MMKeyboard.exe");
    ASSERT_TRUE(settled.dialog) << "did not settle hidden";
    EXPECT_TRUE(WaitUntil([&] { return CountTrayIcons() == iconsBefore + 1; }, 3000)) << "no tray icon";
    ASSERT_TRUE(StaysHidden());

    const struct {
        const char* way;
        void (*hide)(HWND dialog, HWND tray);
    } ways[] = {
        { "tray double click", [](HWND, HWND tray) { ClickTrayIcon(tray, WM_LBUTTONDBLCLK); } },
        { "Escape", [](HWND, HWND) { Type({ VK_ESCAPE }); } },
        { "Enter in an edit box", [](HWND dialog, HWND) {
              GUITHREADINFO gui = {};
              gui.cbSize = sizeof gui;
              EXPECT_TRUE(WaitUntil([&] {
                  return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, NULL), &gui) &&
                         gui.hwndFocus == GetDlgItem(dialog, IDC_MAIL);
              }, 2000)) << "the first edit box has no focus";
              Type({ VK_RETURN });
          } },
        { "close box", [](HWND dialog, HWND) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); } },
        { "the Hide command", [](HWND dialog, HWND) { PostMessageA(dialog, WM_COMMAND, ID_TRAY_HIDE, 0); } },
    };
    for (const auto& w : ways) {
        ASSERT_TRUE(ShowByTray()) << w.way;
        w.hide(settled.dialog, settled.tray);
        EXPECT_TRUE(StaysHidden()) << w.way;
    }

    PostMessageA(settled.dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);  // even while hidden
    ExpectAboutBoxOpensAndCloses();
    EXPECT_FALSE(Visible());
    // Alt+Space opens the system menu; up from nothing is its last item.
    ASSERT_TRUE(ShowByTray());
    Type({ VK_SPACE }, true);
    ASSERT_TRUE(WaitUntil([] { HWND menu = FindWindowA("#32768", NULL); return menu && IsWindowVisible(menu); }, 3000));
    Type({ VK_UP, VK_RETURN });
    ExpectAboutBoxOpensAndCloses();

    // Save stores what the boxes hold; Cancel brings the stored text back.
    SetDlgItemTextA(settled.dialog, IDC_SEARCH, "http://saved.example/");
    PostMessageA(settled.dialog, WM_COMMAND, IDC_SAVE, 0);
    EXPECT_TRUE(WaitUntil([] {
        return RegistryValue(HKEY_CURRENT_USER, kSettingsKey, "WWWSearch") == std::string("http://saved.example/", 22);
    }));
    SetDlgItemTextA(settled.dialog, IDC_SEARCH, "not saved");
    PostMessageA(settled.dialog, WM_COMMAND, IDC_REVERT, 0);
    EXPECT_TRUE(WaitUntil([&] {
        char text[64] = "";
        GetDlgItemTextA(settled.dialog, IDC_SEARCH, text, sizeof text);
        return std::string(text) == "http://saved.example/";
    }));

    EndThroughItsLoop(program, settled.dialog);
    EXPECT_TRUE(WaitUntil([&] { return CountTrayIcons() == iconsBefore; }, 3000)) << "the icon outlived the program";
}

// Wine takes a program's language from LANG on the Unix side, which a
// Windows parent cannot change for its child: this test expects what its own
// LANG asks for, and tests/CMakeLists.txt runs it under several.
TEST(Languages, TheTextsAUserReadsFollowLang)
{
    const struct {
        const wchar_t *showLevels, *ok, *mute;
    } chinese = { L"在螢幕上顯示音效狀態", L"確定", L"靜音 開" },
      english = { L"Show levels on screen", L"OK", L"Mute On" };
    const char* lang = getenv("LANG");
    const auto& expected = lang && strncmp(lang, "zh", 2) == 0 ? chinese : english;
    printf("[ LANG     ] %s\n", lang ? lang : "(unset)");

    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    ClearSimulator();
    PutMixerValue(kMixerMute, 0);
    PutMixerValue(kMixerPresent, 1);
    SimulatedKeyboard keyboard("language-keyboard");
    ASSERT_TRUE(keyboard.Register() && keyboard.PlugIn());
    RunningProgram program;
    const SettledProgram settled = StartSettled(program, "MMKeyboard-sim.exe");
    ASSERT_TRUE(settled.dialog && keyboard.WaitOpened(10000)) << "did not settle";
    EXPECT_EQ(expected.showLevels, WindowTextW(GetDlgItem(settled.dialog, IDC_SHOW_LEVELS)));

    ASSERT_TRUE(keyboard.Send(kKeyMute) && keyboard.Send(kKeysReleased));
    HWND display = NULL;
    EXPECT_TRUE(WaitUntil([&] {
        display = FindLevelDisplay(program.ProcessId());
        return display && IsWindowVisible(display);
    }));
    EXPECT_EQ(expected.mute, WindowTextW(display));

    PostMessageA(settled.dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = NULL;
    EXPECT_TRUE(WaitUntil([&] { return (about = FindShownDialog(program.ProcessId(), kDialogTitle)) != NULL; }));
    EXPECT_EQ(expected.ok, WindowTextW(GetDlgItem(about, IDOK)));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(about); }, 3000);
    EndThroughItsLoop(program, settled.dialog);
    ClearSimulator();
}

// Wine reports another version to one program through its per-program
// settings, so a copy of MMKeyboard.exe under its own name gets one.
TEST(VersionGate, OnAnyWindowsButWindows98TheProgramEndsUnseen)
{
    const char kCopy[] = "MMKeyboard-version.exe";
    const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\MMKeyboard-version.exe";
    ASSERT_TRUE(CopyFileOver(DrivenProgram("MMKeyboard.exe"), BuildFile(kCopy)));
    for (const char* version : { "win95", "winme", "winxp", "win98" }) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(SetRegistryText(HKEY_CURRENT_USER, kAppDefaults, "Version", version));
        const int iconsBefore = CountTrayIcons();
        RunningProgram program;
        ASSERT_TRUE(program.Start(BuildFile(kCopy)));
        bool windowSeen = false, trayMade = false;
        const DWORD start = GetTickCount();
        while (!program.HasExited(5) && GetTickCount() - start < 3000) {
            HWND dialog = FindProcessWindow(program.ProcessId(), "#32770", NULL);
            windowSeen = windowSeen || (dialog && IsWindowVisible(dialog));
            trayMade = trayMade || FindTrayWindow(program.ProcessId()) != NULL;
        }
        const bool supported = lstrcmpA(version, "win98") == 0;
        EXPECT_EQ(!supported, program.HasExited()) << "running 3 s after its start";
        EXPECT_EQ(supported, trayMade);
        if (!supported) {
            EXPECT_FALSE(windowSeen) << "a window showed";
            EXPECT_EQ(iconsBefore, CountTrayIcons());
        }
        EndThroughItsLoop(program, FindProcessWindow(program.ProcessId(), "#32770", kDialogTitle));
    }
    DeleteRegistryTree(HKEY_CURRENT_USER, kAppDefaults);
}

}  // namespace
