// MMKeyboard.exe as a user meets it, under Wine reporting Windows 98: it
// settles hidden behind its tray icon, every way of closing the window only
// hides it, the system menu leads to the About box; and on any other Windows
// it ends unseen.
#include <gtest/gtest.h>
#include <algorithm>
#include "keyboard/KeyCodes.h"
#include "res/resource.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"
#include "support/StandIns.h"

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

    EndThroughItsLoop(program, settled.dialog);
    EXPECT_TRUE(WaitUntil([&] { return CountTrayIcons() == iconsBefore; }, 3000)) << "the icon outlived the program";
}

// A second start, as a user makes who does not see the program behind its
// tray icon, brings the running copy's window to the front and ends, having
// added no icon; so does a start of the other build.
TEST_F(ShellEndToEnd, ASecondStartShowsTheRunningCopysWindowAndEnds)
{
    const int iconsBefore = CountTrayIcons();
    settled = StartSettled(program, "MMKeyboard.exe");
    ASSERT_TRUE(settled.dialog) << "did not settle hidden";
    ASSERT_TRUE(WaitUntil([&] { return CountTrayIcons() == iconsBefore + 1; }, 3000)) << "no tray icon";
    OtherWindow other;
    for (const char* exeName : { "MMKeyboard.exe", "MMKeyboard-sim.exe" }) {
        SCOPED_TRACE(exeName);
        PostMessageA(settled.dialog, WM_COMMAND, ID_TRAY_HIDE, 0);
        ASSERT_TRUE(WaitUntil([&] { return !Visible(); }, 3000));
        ASSERT_TRUE(other.TakeForeground());
        RunningProgram second;
        ASSERT_TRUE(second.Start(DrivenProgram(exeName)));
        EXPECT_TRUE(second.HasExited(10000)) << "it runs beside the first";
        EXPECT_TRUE(WaitUntil([&] { return Visible() && GetForegroundWindow() == settled.dialog; }, 3000))
            << "the running copy's window is not in front";
        EXPECT_EQ(iconsBefore + 1, CountTrayIcons());
    }
    // The Keys dialog open over the window comes to the front in its place.
    PostMessageA(settled.dialog, WM_COMMAND, IDC_KEYS, 0);
    HWND keys = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (keys = FindShownDialog(program.ProcessId(), kDialogTitle)) != NULL; }));
    ASSERT_TRUE(other.TakeForeground());
    RunningProgram second;
    ASSERT_TRUE(second.Start(DrivenProgram("MMKeyboard.exe")));
    EXPECT_TRUE(second.HasExited(10000));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == keys; }, 3000)) << "the Keys dialog is not in front";
    PostMessageA(keys, WM_COMMAND, IDCANCEL, 0);
}

// A copy that holds the mutex has no window while it starts: a start
// meanwhile waits for that window rather than run beside it, and ends when
// none ever comes. The test plays a copy stuck in its start.
TEST_F(ShellEndToEnd, AStartNeverRunsBesideACopyStillStarting)
{
    HANDLE starting = CreateMutexA(NULL, TRUE, kRunningCopyMutex);
    ASSERT_TRUE(starting && GetLastError() != ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(program.Start(DrivenProgram("MMKeyboard.exe")));
    bool ran = false;
    EXPECT_TRUE(WaitUntil([&] {
        ran = ran || FindProcessWindow(program.ProcessId(), NULL, NULL) != NULL;
        return program.HasExited();
    }, 20000)) << "still there after 20 s";
    EXPECT_FALSE(ran) << "it ran beside the copy still starting";
    CloseHandle(starting);
}

// Wine takes a program's locale from LANG and its ANSI code page from
// LC_CTYPE on the Unix side, which a Windows parent cannot change for its
// child: tests/CMakeLists.txt runs this test once for each row, named by
// MMK_LANGUAGE_RUN, under that row's locale. The row's locale is checked
// first, so that a run that got another one fails instead of proving
// nothing.
TEST(Languages, TheTextsAUserReadsFollowTheLocaleAndWhatItsCodePageShows)
{
    const struct Texts {
        const wchar_t *showLevels, *browse, *ok, *mute;
    } traditional = { L"在螢幕上顯示音效狀態", L"Browse", L"確定", L"靜音 開" },
      simplified = { L"在屏幕上显示音量状态", L"浏览...", L"确定", L"静音 开" },
      english = { L"Show levels on screen", L"Browse", L"OK", L"Mute On" };
    const struct {
        const char* name;
        LANGID user;
        UINT codePage;
        const Texts& expected;
    } runs[] = {
        { "zh_TW-950", 0x0404, 950, traditional },
        { "zh_CN-936", 0x0804, 936, simplified },
        { "zh_HK-950", 0x0C04, 950, traditional },  // Chinese of Hong Kong and Singapore too
        { "zh_SG-936", 0x1004, 936, simplified },
        { "zh_TW-1252", 0x0404, 1252, english },  // an English Windows set to Chinese
        { "en_US", 0x0409, 1252, english },
        { "de_DE", 0x0407, 1252, english },
    };
    const char* name = getenv("MMK_LANGUAGE_RUN");
    const auto* run = std::find_if(std::begin(runs), std::end(runs),
                                   [&](const auto& r) { return name && strcmp(name, r.name) == 0; });
    ASSERT_NE(std::end(runs), run) << "MMK_LANGUAGE_RUN names no run: " << (name ? name : "(unset)");
    ASSERT_EQ(run->user, GetUserDefaultLangID()) << "the run got another locale";
    ASSERT_EQ(run->codePage, GetACP()) << "the run got another code page";

    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    ClearSimulator();
    PutMixerValue(kMixerMute, 0);
    PutMixerValue(kMixerPresent, 1);
    SimulatedKeyboard keyboard("language-keyboard");
    ASSERT_TRUE(keyboard.Register() && keyboard.PlugIn());
    RunningProgram program;
    const SettledProgram settled = StartSettled(program, "MMKeyboard-sim.exe");
    ASSERT_TRUE(settled.dialog && keyboard.WaitOpened(10000)) << "did not settle";
    EXPECT_EQ(run->expected.showLevels, WindowTextW(GetDlgItem(settled.dialog, IDC_SHOW_LEVELS)));
    EXPECT_EQ(run->expected.browse, WindowTextW(GetDlgItem(settled.dialog, IDC_MAIL_BROWSE)));

    ASSERT_TRUE(keyboard.Send(kKeyMute) && keyboard.Send(kKeysReleased));
    HWND display = NULL;
    EXPECT_TRUE(WaitUntil([&] {
        display = FindLevelDisplay(program.ProcessId());
        return display && IsWindowVisible(display);
    }));
    EXPECT_EQ(run->expected.mute, WindowTextW(display));

    PostMessageA(settled.dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = NULL;
    EXPECT_TRUE(WaitUntil([&] { return (about = FindShownDialog(program.ProcessId(), kDialogTitle)) != NULL; }));
    EXPECT_EQ(run->expected.ok, WindowTextW(GetDlgItem(about, IDOK)));
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
