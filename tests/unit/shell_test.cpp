// The tray icon's answers to the notification area, and the resources a user
// reads in each language: dialogs, menu, strings and the version strings.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "app/KeyboardDialog.h"
#include "fw/ResourceLanguage.h"
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

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[128] = L"";
    GetDlgItemTextW(dialog, id, text, 128);
    return text;
}

std::wstring FontFace(HWND dialog)
{
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfFaceName;
}

// A string of the chosen language as the string table holds it, in UTF-16:
// the system's ANSI code page may lack its characters, and would turn
// another language's into the same question marks.
std::wstring LocalStringW(UINT id)
{
    const WCHAR* entry = static_cast<const WCHAR*>(FindLocalResource(RT_STRING, (id >> 4) + 1));
    if (!entry) return L"(no block)";
    for (UINT skip = id & 15; skip > 0; --skip) entry += 1 + *entry;
    return std::wstring(entry + 1, *entry);
}

TEST(Resources, AChineseUserGetsChineseAndEveryOtherUserEnglish)
{
    const struct { LANGID user, chosen; } cases[] = {
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), kChineseTaiwan },
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_HONGKONG), kChineseTaiwan },
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), kChineseTaiwan },
        { MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), kEnglishUS },
        { MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), kEnglishUS },
        { MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), kEnglishUS },
        { MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), kEnglishUS },
    };
    for (const auto& c : cases) EXPECT_EQ(c.chosen, ResourceLanguageFor(c.user)) << std::hex << c.user;
}

TEST(Resources, EachLanguageHasItsOwnTextsInEveryResource)
{
    const struct {
        LANGID language;
        const wchar_t *face, *ok, *showLevels, *aboutItem, *volume, *on, *muted;
    } languages[] = {
        { kChineseTaiwan, L"新細明體", L"確定", L"在螢幕上顯示音效狀態", L"關於 Talvix(&A)...", L"音量", L"開",
          L"已靜音" },
        { kEnglishUS, L"MS Sans Serif", L"OK", L"Show levels on screen", L"&About Talvix...", L"Volume", L"On",
          L"Muted" },
    };
    for (const auto& l : languages) {
        SCOPED_TRACE(l.ok);
        SetResourceLanguage(l.language);
        // Made as Unicode windows, whose texts pass no code page.
        HWND main = CreateDialogIndirectParamW(GetModuleHandleA(NULL),
            static_cast<LPCDLGTEMPLATEW>(FindLocalResource(RT_DIALOG, IDD_MAIN)), NULL, NoHandling, 0);
        HWND about = CreateDialogIndirectParamW(GetModuleHandleA(NULL),
            static_cast<LPCDLGTEMPLATEW>(FindLocalResource(RT_DIALOG, IDD_ABOUTBOX)), NULL, NoHandling, 0);
        ASSERT_TRUE(main && about);
        EXPECT_EQ(l.showLevels, ItemText(main, IDC_SHOW_LEVELS));
        EXPECT_EQ(L"Browse", ItemText(main, IDC_MAIL_BROWSE));
        EXPECT_EQ(l.face, FontFace(main));
        EXPECT_EQ(l.ok, ItemText(about, IDOK));
        EXPECT_EQ(l.face, FontFace(about));
        DestroyWindow(main);
        DestroyWindow(about);

        HMENU menu = LoadLocalMenu(IDR_TRAYMENU);
        wchar_t item[32] = L"";
        GetMenuStringW(GetSubMenu(menu, 0), 1, item, 32, MF_BYPOSITION);
        EXPECT_STREQ(L"Show", item);
        DestroyMenu(menu);

        EXPECT_EQ(l.aboutItem, LocalStringW(IDS_ABOUTBOX));
        EXPECT_EQ(l.volume, LocalStringW(IDS_LEVEL_VOLUME));
        EXPECT_EQ(l.on, LocalStringW(IDS_LEVEL_ON));
        EXPECT_EQ(l.muted, LocalStringW(IDS_LEVEL_MUTED));
    }
    SetResourceLanguage(0);
}

TEST(Resources, TheVersionStringsAreFoundThroughBothTranslations)
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string block(GetFileVersionInfoSizeA(path, NULL), '\0');
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, (DWORD)block.size(), &block[0]));
    WORD* translation = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\VarFileInfo\\Translation", (void**)&translation, &length));
    ASSERT_EQ(8u, length);
    const WORD expected[] = { 0x0404, 950, 0x0409, 1252 };
    for (int i = 0; i < 4; ++i) EXPECT_EQ(expected[i], translation[i]) << i;
    for (int i = 0; i < 4; i += 2) {
        char name[64];
        snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\FileDescription", translation[i], translation[i + 1]);
        char* description = NULL;
        ASSERT_TRUE(VerQueryValueA(&block[0], name, (void**)&description, &length)) << name;
        EXPECT_STREQ("Multimedia Keyboard", description);
    }
}

}  // namespace
