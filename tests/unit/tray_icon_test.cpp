// The tray icon's reaction to the notification area's callback messages.
#include <gtest/gtest.h>
#include "res/resource.h"
#include "tray/SystemTray.h"

namespace {

const UINT kCallback = WM_USER + 10;

// A main window that records the commands the tray sends it.
class CommandRecorder : public CWnd {
public:
    UINT lastCommand = 0;
    int commands = 0;

    bool Create()
    {
        return CreateEx(0, RegisterWndClass(), "recorder", WS_POPUP, 0, 0, 10, 10, NULL, NULL) != FALSE;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND) {
            lastCommand = LOWORD(wParam);
            ++commands;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(recorder.Create());
        tray.CreateTrayIcon(0, kCallback, "Multimedia Keyboard", LoadIcon(NULL, IDI_APPLICATION),
                            IDR_TRAYMENU);
    }
    void TearDown() override { recorder.DestroyWindow(); }
    LRESULT Notify(WPARAM id, LPARAM mouse) { return tray.SendMessage(kCallback, id, mouse); }

    CommandRecorder recorder;
    CSystemTray tray{ recorder };
};

TEST_F(TrayIconTest, DoubleClickBeforeAnyDefaultHidesByMenuPosition)
{
    EXPECT_EQ(1, Notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK));
    EXPECT_EQ(1, recorder.commands);
    EXPECT_EQ((UINT)ID_TRAY_HIDE, recorder.lastCommand);
}

TEST_F(TrayIconTest, DoubleClickSendsTheRecordedDefaultCommand)
{
    tray.SetDefaultItem(ID_TRAY_SHOW, FALSE);
    Notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    EXPECT_EQ((UINT)ID_TRAY_SHOW, recorder.lastCommand);
    tray.SetDefaultItem(ID_TRAY_HIDE, FALSE);
    Notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    EXPECT_EQ((UINT)ID_TRAY_HIDE, recorder.lastCommand);
}

TEST_F(TrayIconTest, IgnoresOtherIconsAndOtherMouseMessages)
{
    EXPECT_EQ(0, Notify(131, WM_LBUTTONDBLCLK));
    const UINT ignored[] = { WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN };
    for (UINT mouse : ignored) EXPECT_EQ(1, Notify(IDR_TRAYMENU, mouse)) << mouse;
    EXPECT_EQ(0, recorder.commands);
}

// Whether the notification area holds the icon: modifying nothing succeeds
// only for an icon it knows.
bool IconIsShown(HWND window, UINT id)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
    probe.hWnd = window;
    probe.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

TEST_F(TrayIconTest, RestartedNotificationAreaGetsTheIconBack)
{
    ASSERT_TRUE(tray.IsEnabled());
    ASSERT_TRUE(IconIsShown(tray.m_hWnd, IDR_TRAYMENU));
    // The restarted notification area has forgotten the icon...
    NOTIFYICONDATAA gone = {};
    gone.cbSize = NOTIFYICONDATAA_V2_SIZE;
    gone.hWnd = tray.m_hWnd;
    gone.uID = IDR_TRAYMENU;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    ASSERT_FALSE(IconIsShown(tray.m_hWnd, IDR_TRAYMENU));

    // ...and tells every top-level window that it is back.
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                        SMTO_ABORTIFHUNG, 5000, NULL);
    EXPECT_TRUE(IconIsShown(tray.m_hWnd, IDR_TRAYMENU));
    EXPECT_TRUE(tray.IsEnabled());
}

TEST_F(TrayIconTest, RemovedIconStaysRemovedWhenTheNotificationAreaRestarts)
{
    tray.RemoveTrayIcon();
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                        SMTO_ABORTIFHUNG, 5000, NULL);
    EXPECT_FALSE(IconIsShown(tray.m_hWnd, IDR_TRAYMENU));
    EXPECT_FALSE(tray.IsEnabled());
}

// An icon whose id names no menu resource: the menu can never be loaded.
TEST(TrayIconWithoutMenu, SameDefaultTwiceSucceedsWithoutTheMenuAndIsKept)
{
    CommandRecorder recorder;
    ASSERT_TRUE(recorder.Create());
    {
        const UINT kNoMenuId = 131;
        CSystemTray tray(recorder);
        tray.CreateTrayIcon(0, kCallback, "Multimedia Keyboard", LoadIcon(NULL, IDI_APPLICATION),
                            kNoMenuId);
        EXPECT_FALSE(tray.SetDefaultItem(ID_TRAY_SHOW, FALSE));  // had to load the menu
        EXPECT_TRUE(tray.SetDefaultItem(ID_TRAY_SHOW, FALSE));   // nothing changed
        EXPECT_FALSE(tray.SetDefaultItem(ID_TRAY_HIDE, FALSE));  // changed again

        // The failed call still recorded its default: a double click sends it
        // without needing the menu.
        EXPECT_EQ(1, tray.SendMessage(kCallback, kNoMenuId, WM_LBUTTONDBLCLK));
        EXPECT_EQ((UINT)ID_TRAY_HIDE, recorder.lastCommand);
    }
    recorder.DestroyWindow();
}

}  // namespace
