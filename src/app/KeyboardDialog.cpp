#include "app/KeyboardDialog.h"
#include "actions/KeyDispatcher.h"
#include "app/AboutDialog.h"
#include "app/KeyboardStartup.h"
#include "app/KeysDialog.h"
#include "fw/PaintDC.h"
#include "fw/ResourceLanguage.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"
#include "res/resource.h"
#include "settings/SettingsPage.h"

const MessageMapEntry KeyboardDialog::messageEntries[] = {
    ON_MESSAGE(WM_SYSCOMMAND, &KeyboardDialog::OnSysCommand),
    ON_MESSAGE(WM_PAINT, &KeyboardDialog::OnPaint),
    ON_MESSAGE(WM_QUERYDRAGICON, &KeyboardDialog::OnQueryDragIcon),
    ON_MESSAGE(WM_SHOWWINDOW, &KeyboardDialog::OnShowWindow),
    ON_MESSAGE(WM_WINDOWPOSCHANGING, &KeyboardDialog::OnWindowPosChanging),
    ON_MESSAGE(WM_TIMER, &KeyboardDialog::OnTimer),
    ON_MESSAGE(WM_DEVICECHANGE, &KeyboardDialog::OnDeviceChange),
    ON_MESSAGE(WM_KEYBOARD_KEYS, &KeyboardDialog::OnKeyboardKeys),
    ON_MESSAGE(WM_KEYBOARD_OTHER_KEY, &KeyboardDialog::OnOtherKey),
    ON_COMMAND(ID_TRAY_HIDE, &KeyboardDialog::OnTrayHide),
    ON_COMMAND(ID_TRAY_SHOW, &KeyboardDialog::OnTrayShow),
    ON_COMMAND(IDC_MAIL_BROWSE, &KeyboardDialog::OnMailBrowse),
    ON_COMMAND(IDC_MEDIA_BROWSE, &KeyboardDialog::OnMediaBrowse),
    ON_COMMAND(IDC_SAVE, &KeyboardDialog::OnSave),
    ON_COMMAND(IDC_REVERT, &KeyboardDialog::OnRevert),
    ON_COMMAND(IDC_KEYS, &KeyboardDialog::OnKeys),
    END_MESSAGE_MAP
};
IMPLEMENT_MESSAGE_MAP(KeyboardDialog, CDialog)

KeyboardDialog::KeyboardDialog()
    : CDialog(IDD_MAIN), m_trayIcon(*this), m_hIcon(NULL), m_repeat{ RepeatMode::kNone }, m_repeatTimer(0),
      m_repeatDelay(kStopTimer), m_keepHidden(false), m_showAsked(false), m_startUpHidesQueued(0),
      m_neverShow(false), m_keysDialog(0)
{
    m_hIcon = ::LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record Windows 98 takes, without the service-pack fields");

bool IsSupportedSystem()
{
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    return version.dwMajorVersion == 4 && version.dwMinorVersion == 10;
}

BOOL KeyboardDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The window's own system menu: not ours to destroy.
    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    char aboutText[100];
    if (systemMenu && LoadLocalString(IDS_ABOUTBOX, aboutText, sizeof aboutText) > 0) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, NULL);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    if (!IsSupportedSystem()) {
        DisconnectKeyboard();
        // Some dialog managers (Wine's) still show a WS_VISIBLE dialog that
        // ended during its initialisation; it is refused below.
        m_neverShow = true;
        CDialog::OnOK();  // the base's own end, not the hiding override
        return TRUE;
    }

    RegisterForDeviceNotifications(m_hWnd);
    ConnectKeyboard(m_hWnd, KeyboardOpenReason::kStartUp);

    m_trayIcon.CreateTrayIcon(0, WM_TRAY_NOTIFY, kProgramTitle, m_hIcon, IDR_TRAYMENU);

    // The platform shows the dialog (it is WS_VISIBLE) when this returns;
    // WM_CLOSE's default handling posts the Cancel command, so the hide runs
    // just after that first show and the program settles hidden in the tray.
    // A second start may have asked for the window already, from a loop
    // that ran above (adding the tray icon waits on the shell): it stays.
    if (m_showAsked) return TRUE;
    m_keepHidden = true;
    ++m_startUpHidesQueued;
    SendMessage(WM_CLOSE);
    return TRUE;
}

void KeyboardDialog::OnOK() { ShowWindow(SW_HIDE); }

void KeyboardDialog::OnCancel()
{
    if (m_startUpHidesQueued > 0) {
        --m_startUpHidesQueued;
        if (m_showAsked) return;
    }
    ShowWindow(SW_HIDE);
}

LRESULT KeyboardDialog::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDialog about(this);
        about.DoModal();
        return 0;
    }
    return Default(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT KeyboardDialog::OnPaint(WPARAM wParam, LPARAM lParam)
{
    if (!IsIconic(m_hWnd)) return Default(WM_PAINT, wParam, lParam);
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.m_hDC, x, y, m_hIcon);
    return 0;
}

LRESULT KeyboardDialog::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_hIcon);
}

LRESULT KeyboardDialog::OnShowWindow(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = Default(WM_SHOWWINDOW, wParam, lParam);
    m_trayIcon.SetDefaultItem(wParam ? ID_TRAY_HIDE : ID_TRAY_SHOW, FALSE);
    // Some modal loops (Wine's) show the dialog once more when their queue
    // first runs empty, after the start-up hide: hide it again the same way.
    if (wParam && m_keepHidden) {
        ++m_startUpHidesQueued;
        PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
    }
    return result;
}

LRESULT KeyboardDialog::OnWindowPosChanging(WPARAM wParam, LPARAM lParam)
{
    if (m_neverShow) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
    return Default(WM_WINDOWPOSCHANGING, wParam, lParam);
}

LRESULT KeyboardDialog::OnTrayHide(WPARAM, LPARAM)
{
    ShowWindow(SW_HIDE);
    return 0;
}

LRESULT KeyboardDialog::OnTrayShow(WPARAM, LPARAM)
{
    m_showAsked = true;
    m_keepHidden = false;
    ShowWindow(SW_SHOW);
    return 0;
}

// The auto-repeat says when it wants its next tick; the dialog only arms its
// timer. Every tick is a step of the current mode, whichever timer sent it.
void KeyboardDialog::ArmRepeatTimer(RepeatTimer next, bool restart)
{
    if (next == kLeaveTimer || (next == m_repeatDelay && !restart)) return;
    m_repeatDelay = next;
    if (next == kStopTimer) {
        KillTimer(m_hWnd, m_repeatTimer);
        return;
    }
    // The same identifier restarts the one timer when it already runs.
    m_repeatTimer = SetTimer(m_hWnd, kRepeatTimerId, static_cast<UINT>(next), NULL);
}

LRESULT KeyboardDialog::OnTimer(WPARAM, LPARAM)
{
    ArmRepeatTimer(TickRepeat(m_repeat, m_hWnd), false);
    return 0;
}

LRESULT KeyboardDialog::OnDeviceChange(WPARAM event, LPARAM)
{
    HandleDeviceChange(m_hWnd, event);
    return TRUE;
}

LRESULT KeyboardDialog::OnKeyboardKeys(WPARAM, LPARAM keyCode)
{
    if (m_keysDialog) {
        m_keysDialog->FindKey(static_cast<DWORD>(keyCode));
        return 0;
    }
    const KeySource source = { m_hWnd, m_repeat, KeyboardDevice.kind.load() };
    // A key's delay restarts the timer's period even when it is the same: a new
    // fader key waits its whole period before its first tick.
    ArmRepeatTimer(DispatchKeys(source, static_cast<DWORD>(keyCode)), true);
    return 0;
}

// Acts at the press alone: held, the key acts once.
LRESULT KeyboardDialog::OnOtherKey(WPARAM usage, LPARAM state)
{
    if (state != kOtherKeyPressed) return 0;
    if (m_keysDialog) m_keysDialog->FindOtherKey(static_cast<USAGE>(usage));
    else DispatchOtherKey(static_cast<USAGE>(usage));
    return 0;
}

LRESULT KeyboardDialog::OnMailBrowse(WPARAM, LPARAM)
{
    BrowseForProgram(m_hWnd, IDC_MAIL);
    return 0;
}

LRESULT KeyboardDialog::OnMediaBrowse(WPARAM, LPARAM)
{
    BrowseForProgram(m_hWnd, IDC_MEDIA);
    return 0;
}

LRESULT KeyboardDialog::OnSave(WPARAM, LPARAM)
{
    SaveSettings(m_hWnd);
    return 0;
}

LRESULT KeyboardDialog::OnRevert(WPARAM, LPARAM)
{
    LoadSettings(m_hWnd);
    return 0;
}

// While the owner looks for a key, keys select rows and do nothing else. A
// fader key still held stops now: its release will go to the Keys dialog.
LRESULT KeyboardDialog::OnKeys(WPARAM, LPARAM)
{
    ArmRepeatTimer(EndRepeat(m_repeat), false);
    KeysDialog keys(this);
    m_keysDialog = &keys;
    keys.DoModal();
    m_keysDialog = 0;
    return 0;
}
