// The tray icon's answers to the notification area, the start-up's own hide
// against a Show asked for meanwhile, and the resources a user reads in each
// language: dialogs, menu, strings and the version strings.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "app/KeyboardDialog.h"
#include "app/KeyboardStartup.h"
#include "fw/ResourceLanguage.h"
#include "res/resource.h"
#include "support/SimulatedKeyboard.h"
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

// A double click on the icon sends the menu's default command, and nothing
// else sends any. A notification area that restarts has forgotten every
// icon and says so: the icon comes back, unless its program removed it.
TEST(TrayIcon, ADoubleClickSendsTheDefaultCommandAndARestartedNotificationAreaGetsTheIconBack)
{
    CommandTarget target;
    {
        CSystemTray tray(target);
        ASSERT_TRUE(tray.CreateTrayIcon(0, WM_TRAY_NOTIFY, "tip", LoadIcon(NULL, IDI_APPLICATION), IDR_TRAYMENU));
        auto notify = [&](WPARAM id, LPARAM mouse) { return tray.SendMessage(WM_TRAY_NOTIFY, id, mouse); };
        EXPECT_EQ(1, notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK));  // before any default: the first item
        EXPECT_EQ((UINT)ID_TRAY_HIDE, target.lastCommand);
        for (UINT item : { ID_TRAY_SHOW, ID_TRAY_HIDE }) {
            EXPECT_TRUE(tray.SetDefaultItem(item, FALSE));
            notify(IDR_TRAYMENU, WM_LBUTTONDBLCLK);
            EXPECT_EQ(item, target.lastCommand);
        }
        EXPECT_EQ(0, notify(IDR_TRAYMENU + 1, WM_LBUTTONDBLCLK));  // another icon
        for (UINT mouse : { WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN })
            EXPECT_EQ(1, notify(IDR_TRAYMENU, mouse));
        EXPECT_EQ(3, target.commands);

        // Sent while the icon is still there (any program may send it): the
        // icon stays recorded, so that it goes when its program removes it.
        BroadcastTaskbarCreated();
        ASSERT_TRUE(IconShown(tray.m_hWnd));
        tray.RemoveTrayIcon();
        EXPECT_FALSE(IconShown(tray.m_hWnd)) << "the icon outlives its program";
    }
    CSystemTray tray(target);
    ASSERT_TRUE(tray.CreateTrayIcon(0, WM_TRAY_NOTIFY, "tip", LoadIcon(NULL, IDI_APPLICATION), IDR_TRAYMENU));
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

// The real dialog's start-up, with a Show command posted as its
// initialisation begins: a second start made while this copy starts asks
// before the start-up's own hides are handled.
HWND g_startingDialog;
bool g_shownAfterStartUp;
LRESULT CALLBACK AskForTheWindow(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && !g_startingDialog) {
        g_startingDialog = call->hwnd;
        PostMessageA(call->hwnd, WM_COMMAND, ID_TRAY_SHOW, 0);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
// A thread timer comes only once no posted message is left: the Show
// command and the start-up's hides have all been handled.
void CALLBACK LookAfterStartUp(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    g_shownAfterStartUp = IsWindowVisible(g_startingDialog) != FALSE;
    EndDialog(g_startingDialog, 0);
}

TEST(StartUp, AShowAskedForWhileTheProgramStartsIsNotUndoneByItsStartUpHide)
{
    mmk_test::ClearSimulator();  // no keyboard, no sound card
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, AskForTheWindow, NULL, GetCurrentThreadId());
    ASSERT_TRUE(hook && SetTimer(NULL, 0, 0, LookAfterStartUp));
    {
        KeyboardDialog dialog;
        dialog.DoModal();
    }
    UnhookWindowsHookEx(hook);
    DisconnectKeyboard();
    ASSERT_TRUE(g_startingDialog) << "the dialog never started";
    EXPECT_TRUE(g_shownAfterStartUp);
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

// The string as the resource holds it: compared before any code page, which
// would turn the Chinese texts of both sides into the same question marks.
std::wstring LocalString(UINT id)
{
    int length;
    const WCHAR* text = FindLocalString(id, &length);
    return std::wstring(text ? text : L"", length);
}

// Whether Windows can show the text on a system of this ANSI code page:
// every character has its own there, none falls back to the default one.
bool FitsCodePage(const std::wstring& text, UINT codePage)
{
    char converted[256];
    BOOL defaulted = FALSE;
    return WideCharToMultiByte(codePage, 0, text.c_str(), -1, converted, sizeof converted, NULL, &defaulted) > 0 &&
           !defaulted;
}

TEST(Resources, ChineseOnlyForAChineseUserWhoseCodePageHasItsCharacters)
{
    const struct {
        LANGID user;
        UINT codePage;
        LANGID chosen;
    } cases[] = {
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 950, kChineseTaiwan },
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 950, kChineseTaiwan },
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 936, kChineseChina },
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 936, kChineseChina },
        // An English or German Windows set to Chinese in Regional Settings.
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 1252, kEnglishUS },
        { MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 932, kEnglishUS },
        { MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), 936, kEnglishUS },
        { MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 1252, kEnglishUS },
        { MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), 932, kEnglishUS },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.chosen, ResourceLanguageFor(c.user, c.codePage)) << std::hex << c.user << std::dec << " " << c.codePage;
}

TEST(Resources, EachLanguageHasItsOwnTextsInEveryResourceInACodePageThatShowsThem)
{
    const struct {
        LANGID language;
        UINT codePage;
        const wchar_t *face, *ok, *browse, *save, *showLevels, *show, *aboutItem, *volume, *on, *muted;
        const wchar_t *keysButton, *keysSave, *allPrograms, *mail, *start, *choiceKeys;
    } languages[] = {
        { kChineseTaiwan, 950, L"新細明體", L"確定", L"Browse", L"Save", L"在螢幕上顯示音效狀態", L"Show",
          L"關於 Talvix(&A)...", L"音量", L"開", L"已靜音", L"按鍵...", L"儲存", L"所有程式", L"電子郵件", L"啟動: ",
          L"傳送按鍵給前景視窗" },
        { kChineseChina, 936, L"宋体", L"确定", L"浏览...", L"保存", L"在屏幕上显示音量状态", L"显示",
          L"关于 Talvix(&A)...", L"音量", L"开", L"已静音", L"按键...", L"保存", L"所有程序", L"电子邮件", L"启动: ",
          L"向前台窗口发送按键" },
        { kEnglishUS, 1252, L"MS Sans Serif", L"OK", L"Browse", L"Save", L"Show levels on screen", L"Show",
          L"&About Talvix...", L"Volume", L"On", L"Muted", L"Keys...", L"Save", L"All programs", L"Mail", L"Start: ",
          L"Send keys to the window in front" },
    };
    for (const auto& l : languages) {
        SCOPED_TRACE(l.ok);
        SetResourceLanguage(l.language);
        // Made as Unicode windows, whose texts pass no code page.
        HWND main = CreateDialogIndirectParamW(GetModuleHandleA(NULL),
            static_cast<LPCDLGTEMPLATEW>(FindLocalResource(RT_DIALOG, IDD_MAIN)), NULL, NoHandling, 0);
        HWND about = CreateDialogIndirectParamW(GetModuleHandleA(NULL),
            static_cast<LPCDLGTEMPLATEW>(FindLocalResource(RT_DIALOG, IDD_ABOUTBOX)), NULL, NoHandling, 0);
        HWND keys = CreateDialogIndirectParamW(GetModuleHandleA(NULL),
            static_cast<LPCDLGTEMPLATEW>(FindLocalResource(RT_DIALOG, IDD_KEYS)), NULL, NoHandling, 0);
        ASSERT_TRUE(main && about && keys);
        HMENU menu = LoadLocalMenu(IDR_TRAYMENU);
        wchar_t show[32] = L"";
        GetMenuStringW(GetSubMenu(menu, 0), 1, show, 32, MF_BYPOSITION);
        DestroyMenu(menu);

        const std::pair<std::wstring, const wchar_t*> texts[] = {
            { FontFace(main), l.face },
            { FontFace(about), l.face },
            { ItemText(about, IDOK), l.ok },
            { ItemText(main, IDC_MEDIA_BROWSE), l.browse },
            { ItemText(main, IDC_SAVE), l.save },
            { ItemText(main, IDC_SHOW_LEVELS), l.showLevels },
            { show, l.show },
            { LocalString(IDS_ABOUTBOX), l.aboutItem },
            { LocalString(IDS_LEVEL_VOLUME), l.volume },
            { LocalString(IDS_LEVEL_ON), l.on },
            { LocalString(IDS_LEVEL_MUTED), l.muted },
            { FontFace(keys), l.face },
            { ItemText(main, IDC_KEYS), l.keysButton },
            { ItemText(keys, IDOK), l.keysSave },
            { LocalString(IDS_ALL_PROGRAMS), l.allPrograms },
            { LocalString(IDS_KEY_NAMES + 0x018A), l.mail },
            { LocalString(IDS_WORDS_START), l.start },
            { LocalString(IDS_CHOICE_KEYS), l.choiceKeys },
        };
        for (const auto& t : texts) {
            EXPECT_EQ(t.second, t.first);
            EXPECT_TRUE(FitsCodePage(t.first, l.codePage)) << "not in code page " << l.codePage;
        }
        DestroyWindow(main);
        DestroyWindow(about);
        DestroyWindow(keys);
    }
    SetResourceLanguage(0);
}

TEST(Resources, TheVersionStringsAreFoundThroughEveryTranslation)
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string block(GetFileVersionInfoSizeA(path, NULL), '\0');
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, (DWORD)block.size(), &block[0]));
    WORD* translation = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\VarFileInfo\\Translation", (void**)&translation, &length));
    const WORD expected[] = { 0x0404, 950, 0x0804, 936, 0x0409, 1252 };
    ASSERT_EQ(sizeof expected, length);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[i], translation[i]) << i;
    for (int i = 0; i < 6; i += 2) {
        char name[64];
        snprintf(name, sizeof name, "\\StringFileInfo\\%04x%04x\\FileDescription", translation[i], translation[i + 1]);
        char* description = NULL;
        ASSERT_TRUE(VerQueryValueA(&block[0], name, (void**)&description, &length)) << name;
        EXPECT_STREQ("Multimedia Keyboard", description);
    }
}

}  // namespace
