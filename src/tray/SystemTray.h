// CSystemTray: the program's icon in the notification area, its pop-up menu
// on a right click, and a double click turned into the menu's default command.
// Its commands go as WM_COMMAND to the window it is told at construction.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include "fw/Menu.h"
#include "fw/Wnd.h"

class CSystemTray : public CWnd {
public:
    // The commands go to commandTarget's window, as it is when they are sent.
    explicit CSystemTray(const CWnd& commandTarget);
    ~CSystemTray() override;

    BOOL CreateTrayIcon(CWnd* parent, UINT callbackMessage, LPCSTR tip, HICON icon, UINT id);
    void RemoveTrayIcon();
    BOOL SetDefaultItem(UINT item, BOOL byPosition);

    virtual LRESULT OnIconNotify(WPARAM iconId, LPARAM mouseMessage);

    BOOL IsEnabled() const { return m_enabled; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Loads the tray menu (its resource id is the icon's); a popup of it, or
    // NULL when it is missing.
    HMENU LoadTrayPopup(CMenu& menu) const;

    const CWnd& m_commandTarget;
    BOOL m_enabled;  // the notification area shows the icon
    bool m_wanted;   // from CreateTrayIcon until RemoveTrayIcon
    NOTIFYICONDATAA m_notifyData;
    UINT m_defaultItem;
    BOOL m_defaultByPosition;
    UINT m_taskbarCreatedMessage;
};
