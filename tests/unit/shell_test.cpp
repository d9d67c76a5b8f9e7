// The tray icon's answers to the notification area, and the resources a user
// reads: the About item's Chinese text and the file's version strings.
#include <gtest/gtest.h>
#include <stdio.h>
#include "app/KeyboardDialog.h"
#include "res/resource.h"
#include "tray/SystemTray.h"

namespace {

// The window the tray's commands go to; it notes the last one.
class CommandTarget : public CWnd {
public:
    CommandTarget() { CreateEx(0, RegisterWndClass(), "target", WS_POPUP, 0, 0, 10, 10, NULL, NULL); }
    ~CommandTarget() override { DestroyWindow(); }
    UINT lastCommand = 0;
    int commands = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_COMMAND) return CWnd::WindowProc(message, wParam, lParam);
        lastCommand = LOWORD(wParam);
        ++commands;
        return 0;
    }
};

// Whether the notification area holds the icon: modifying nothing succeeds
// only for an icon it knows.
bool IconShown(HWND window)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
    probe.hWnd = window;
    probe.uID = IDR_TRAYMENU;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

void BroadcastTaskbarCreated()
{
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000, NULL);
}

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tray.CreateTrayIcon(0, WM_TRAY_NOTIFY, "Multimedia Keyboard", LoadIcon(NULL, IDI_APPLICATION),
                                        IDR_TRAYMENU));
    }
    LRESULT Notify(WPARAM id, LPARAM mouse) { return tray.SendMessage(WM_TRAY_NOTIFY, id, mouse); }

    CommandTarget target;
    CSystemTray tray{ target };
};

TEST_F(TrayTest, ADoubleClickSendsTheDefaultCommandAndNothingElseDoes)
{
    EXPECT_EQ(1, Notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK));  // before any default: the first item
    EXPECT_EQ((UINT)ID_TRAY_HIDE, target.lastCommand);
    for (UINT item : { ID_TRAY_SHOW, ID_TRAY_HIDE }) {
        EXPECT_TRUE(tray.SetDefaultItem(item, FALSE));
        Notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK);
        EXPECT_EQ(item, target.lastCommand);
    }
    EXPECT_EQ(0, Notify(IDR_TRAYMENU + 1, WM_LBUTTONDBLCLK));  // another icon
    for (UINT mouse : { WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN }) EXPECT_EQ(1, Notify(IDR_TRAYMENU, mouse));
    EXPECT_EQ(3, target.commands);
}

TEST(TrayIcon, ARestartedNotificationAreaGetsTheIconBackUnlessItWasRemoved)
{
    CommandTarget target;
    {
        CSystemTray tray(target);
        ASSERT_TRUE(tray.CreateTrayIcon(0, WM_TRAY_NOTIFY, "tip", LoadIcon(NULL, IDI_APPLICATION), IDR_TRAYMENU));
        // Sent while the icon is still there (any program may send it): the
        // icon stays recorded, so that it goes when its program removes it.
        BroadcastTaskbarCreated();
        ASSERT_TRUE(IconShown(tray.m_hWnd));
        tray.RemoveTrayIcon();
        EXPECT_FALSE(IconShown(tray.m_hWnd)) << "the icon outlives its program";
    }
    CSystemTray tray(target);
    ASSERT_TRUE(tray.CreateTrayIcon(0, WM_TRAY_NOTIFY, "tip", LoadIcon(NULL, IDI_APPLICATION), IDR_TRAYMENU));
    // A restarted notification area has forgotten every icon and says so.
    NOTIFYICONDATAA gone = {};
    gone.cbSize = NOTIFYICONDATAA_V2_SIZE;
    gone.hWnd = tray.m_hWnd;
    gone.uID = IDR_TRAYMENU;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &gone));
    BroadcastTaskbarCreated();
    EXPECT_TRUE(IconShown(tray.m_hWnd));

    tray.RemoveTrayIcon();
    BroadcastTaskbarCreated();
    EXPECT_FALSE(IconShown(tray.m_hWnd));
}

TEST(Resources, TheAboutItemIsChineseAndTheVersionStringsAreFoundThroughTheTranslation)
{
    wchar_t text[64] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleA(NULL), IDS_ABOUTBOX, text, 64), 0);
    EXPECT_STREQ(L"\x95dc\x65bc Talvix(&A)...", text);  // 關於 Talvix(&A)...

    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string block(GetFileVersionInfoSizeA(path, NULL), '\0');
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, (DWORD)block.size(), &block[0]));
    WORD* translation = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\VarFileInfo\\Translation", (void**)&translation, &length));
    EXPECT_EQ(0x0404, translation[0]);
    EXPECT_EQ(950, translation[1]);
    char name[64];
    snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\FileDescription", translation[0], translation[1]);
    char* description = NULL;
    ASSERT_TRUE(VerQueryValueA(&block[0], name, (void**)&description, &length)) << name;
    EXPECT_STREQ("Multimedia Keyboard", description);
}

}  // namespace
