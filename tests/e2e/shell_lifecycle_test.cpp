// The real MMKeyboard.exe under Wine reporting Windows 98: it settles hidden
// behind its tray icon, the icon shows and hides it, every way of closing the
// window only hides it, and the system menu leads to the About box.
#include <gtest/gtest.h>
#include "e2e/ShellWindows.h"

namespace mmk_test {
namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        iconsBefore = CountWineTrayIcons();
        // A Traditional Chinese system (ANSI code page 950), as the program's
        // texts expect; Wine takes it from the Unix locale the child inherits.
        char saved[64] = "";
        bool hadLocale = GetEnvironmentVariableA("LC_ALL", saved, sizeof saved) > 0;
        SetEnvironmentVariableA("LC_ALL", "zh_TW.UTF-8");
        bool started = program.Start(BuildFile("MMKeyboard.exe"));
        SetEnvironmentVariableA("LC_ALL", hadLocale ? saved : NULL);
        ASSERT_TRUE(started);
        // Wine's own start-up varies with the machine's load; the settling
        // is timed from the tray's window, made near the end of the dialog's
        // initialisation.
        ASSERT_TRUE(WaitUntil([&] { return (tray = FindTrayWindow(program.ProcessId())) != NULL; }, 15000))
            << "no hidden tray window";
        dialog = FindShellDialog(program.ProcessId());
        ASSERT_TRUE(dialog != NULL);
        EXPECT_TRUE(WaitUntil([&] { return CountWineTrayIcons() == iconsBefore + 1; }, 2000))
            << "no icon in the notification area";
        ASSERT_TRUE(StaysHiddenAndRunning()) << "the window still shows 2 s after start-up";
    }
    void TearDown() override
    {
        // Ended the way its modal loop allows, so that it removes its icon:
        // Wine keeps the icons of killed programs.
        if (dialog) PostMessageA(dialog, WM_QUIT, 0, 0);
        program.HasExited(3000);
    }

    bool Visible() const { return IsWindowVisible(dialog) != FALSE; }
    // Shown by a double click on the icon, brought to the front with the
    // first edit box focused, as a user finds it.
    void ShowByTray()
    {
        DoubleClickTrayIcon(tray);
        ASSERT_TRUE(WaitUntil([&] { return Visible(); }, 2000));
    }
    // Hidden within 2 s, and still hidden and running a moment later.
    bool StaysHiddenAndRunning()
    {
        return WaitUntil([&] { return !Visible(); }, 2000) && !program.HasExited(500) && !Visible();
    }

    RunningProgram program;
    HWND dialog = NULL;
    HWND tray = NULL;
    int iconsBefore = 0;
};

TEST_F(ShellTest, StartsHiddenWithItsIconInTheNotificationArea)
{
    // Settled: nothing shows the window again by itself.
    Sleep(1000);
    EXPECT_FALSE(Visible());
    EXPECT_FALSE(program.HasExited());
    EXPECT_EQ(iconsBefore + 1, CountWineTrayIcons());
}

TEST_F(ShellTest, DoubleClickOnTheIconShowsThenHidesTheWindow)
{
    ShowByTray();
    DoubleClickTrayIcon(tray);
    EXPECT_TRUE(StaysHiddenAndRunning());
    ShowByTray();
}

TEST_F(ShellTest, EscapeHidesTheWindowAndTheProgramGoesOn)
{
    ShowByTray();
    SetForegroundWindow(dialog);
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(StaysHiddenAndRunning());
}

TEST_F(ShellTest, EnterInAnEditBoxHidesTheWindowAndTheProgramGoesOn)
{
    ShowByTray();
    HWND mailEdit = GetDlgItem(dialog, 1008);
    ASSERT_TRUE(mailEdit != NULL);
    SetForegroundWindow(dialog);
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(WaitUntil([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, NULL), &gui) && gui.hwndFocus == mailEdit;
    }, 2000)) << "the first edit box does not have the focus";
    keybd_event(VK_RETURN, 0, 0, 0);
    keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(StaysHiddenAndRunning());
}

TEST_F(ShellTest, CloseBoxHidesTheWindowAndTheProgramGoesOn)
{
    ShowByTray();
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(StaysHiddenAndRunning());
    // And once more: closing twice does not end it either.
    ShowByTray();
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(StaysHiddenAndRunning());
}

// The About box is up (and returned): closing it with its 確定 button leaves
// the program running and hidden as before.
void ExpectAboutBoxOpensAndCloses(RunningProgram& program, HWND dialog)
{
    HWND about = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        about = FindProcessWindow(program.ProcessId(), "#32770", "About Varden Multimedia Keyboard");
        return about && IsWindowVisible(about);
    }, 3000)) << "no About box";
    EXPECT_TRUE(GetDlgItem(about, IDOK) != NULL);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 3000));
    EXPECT_FALSE(program.HasExited(300));
}

TEST_F(ShellTest, AboutCommandOpensTheAboutBoxEvenWhileHidden)
{
    PostMessageA(dialog, WM_SYSCOMMAND, 0x0010, 0);
    ExpectAboutBoxOpensAndCloses(program, dialog);
    EXPECT_FALSE(Visible());
}

// Alt+Space opens the system menu; its last item is About. (Its letter A is
// shared under Wine, whose system menus carry an "About Wine" item.)
TEST_F(ShellTest, SystemMenuEndsWithTheAboutItem)
{
    ShowByTray();
    SetForegroundWindow(dialog);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 2000));
    keybd_event(VK_MENU, 0, 0, 0);
    keybd_event(VK_SPACE, 0, 0, 0);
    keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindWindowA("#32768", NULL) && IsWindowVisible(FindWindowA("#32768", NULL)); },
                          3000)) << "no system menu";
    Sleep(300);  // the menu's own loop takes over the keyboard
    const BYTE keys[] = { VK_UP, VK_RETURN };  // up from nothing: the last item
    for (BYTE key : keys) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
    ExpectAboutBoxOpensAndCloses(program, dialog);
}

}  // namespace
}  // namespace mmk_test
