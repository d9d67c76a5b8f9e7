#include "tray/SystemTray.h"

// The extended record with a 128-byte tip, without the later fields that
// older shells would refuse.
static const DWORD kNotifyDataSize = NOTIFYICONDATAA_V2_SIZE;
#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the record Windows 98's shell is given");
#endif

const MessageMap* CSystemTray::GetMessageMap() const { return &CWnd::messageMap; }

CSystemTray::CSystemTray(const CWnd& commandTarget)
    : m_commandTarget(commandTarget), m_enabled(FALSE), m_wanted(false), m_defaultItem(0), m_defaultByPosition(TRUE), m_taskbarCreatedMessage(0)
{
    ZeroMemory(&m_notifyData, sizeof m_notifyData);
}

CSystemTray::~CSystemTray()
{
    RemoveTrayIcon();
    DestroyWindow();
}

BOOL CSystemTray::CreateTrayIcon(CWnd* parent, UINT callbackMessage, LPCSTR tip, HICON icon, UINT id)
{
    if (LOBYTE(LOWORD(GetVersion())) < 4) {
        m_enabled = FALSE;
        return FALSE;
    }
    CreateEx(0, RegisterWndClass(), "", WS_POPUP, 0, 0, 10, 10, NULL, NULL);

    // The shell broadcasts this when the notification area is (re)started;
    // the icon must then be added again or the hidden program is unreachable.
    m_taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

    m_notifyData.cbSize = kNotifyDataSize;
    m_notifyData.hWnd = parent && parent->m_hWnd ? parent->m_hWnd : m_hWnd;
    m_notifyData.uID = id;
    m_notifyData.hIcon = icon;
    m_notifyData.uCallbackMessage = callbackMessage;
    m_notifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    lstrcpynA(m_notifyData.szTip, tip, sizeof m_notifyData.szTip);

    m_wanted = true;
    m_enabled = Shell_NotifyIconA(NIM_ADD, &m_notifyData);
    return m_enabled;
}

void CSystemTray::RemoveTrayIcon()
{
    m_wanted = false;
    if (!m_enabled) return;
    m_notifyData.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &m_notifyData);
    m_enabled = FALSE;
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_notifyData.uCallbackMessage && message == m_notifyData.uCallbackMessage)
        return OnIconNotify(wParam, lParam);
    if (m_taskbarCreatedMessage && message == m_taskbarCreatedMessage) {
        // Added again unless it was removed on purpose. The broadcast can
        // come while the icon is still there (another program may send it),
        // and then the add fails: the icon counts as present as long as the
        // notification area still knows it, or it would never be removed.
        if (m_wanted)
            m_enabled = Shell_NotifyIconA(NIM_ADD, &m_notifyData) || Shell_NotifyIconA(NIM_MODIFY, &m_notifyData);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

HMENU CSystemTray::LoadTrayPopup(CMenu& menu) const
{
    if (!menu.LoadMenu(m_notifyData.uID)) return NULL;
    return menu.GetSubMenu(0);
}

BOOL CSystemTray::SetDefaultItem(UINT item, BOOL byPosition)
{
    if (item == m_defaultItem && byPosition == m_defaultByPosition) return TRUE;
    m_defaultItem = item;
    m_defaultByPosition = byPosition;

    // Only checks that the menu exists: the default shows on the copy that
    // each right click loads.
    CMenu menu;
    HMENU popup = LoadTrayPopup(menu);
    if (!popup) return FALSE;
    SetMenuDefaultItem(popup, m_defaultItem, m_defaultByPosition);
    return TRUE;
}

LRESULT CSystemTray::OnIconNotify(WPARAM iconId, LPARAM mouseMessage)
{
    if (iconId != m_notifyData.uID) return 0;
    HWND target = m_commandTarget.m_hWnd;

    switch (LOWORD(mouseMessage)) {
    case WM_RBUTTONUP: {
        CMenu menu;
        HMENU popup = LoadTrayPopup(menu);
        if (!popup) return 0;
        SetMenuDefaultItem(popup, m_defaultItem, m_defaultByPosition);
        POINT cursor;
        GetCursorPos(&cursor);
        // The owner must be the foreground window, or the menu does not go
        // away when the user clicks elsewhere.
        SetForegroundWindow(target);
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, target, NULL);
        // A message to the owner after the menu, so that a second right
        // click opens the menu again instead of closing it at once.
        PostMessageA(target, WM_NULL, 0, 0);
        return 1;
    }
    case WM_LBUTTONDBLCLK: {
        SetForegroundWindow(target);
        UINT command = m_defaultItem;
        if (m_defaultByPosition) {
            CMenu menu;
            HMENU popup = LoadTrayPopup(menu);
            if (!popup) return 0;
            command = GetMenuItemID(popup, m_defaultItem);
        }
        ::SendMessageA(target, WM_COMMAND, command, 0);
        return 1;
    }
    default:
        return 1;
    }
}
