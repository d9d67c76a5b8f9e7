// CSystemTray: the program's icon in the notification area, its pop-up menu
// on a right click, and a double click turned into the menu's default command.
// Its commands go to the application's main window as WM_COMMAND.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include "fw/Wnd.h"

class CSystemTray : public CWnd {
public:
    CSystemTray();
    ~CSystemTray() override;

    static const CRuntimeClass classCSystemTray;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCSystemTray; }

    BOOL CreateTrayIcon(CWnd* parent, UINT callbackMessage, LPCSTR tip, HICON icon, UINT id);
    void RemoveTrayIcon();
    BOOL SetDefaultItem(UINT item, BOOL byPosition);

    virtual LRESULT OnIconNotify(WPARAM iconId, LPARAM mouseMessage);

    BOOL IsEnabled() const { return m_enabled; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL m_enabled;
    NOTIFYICONDATAA m_notifyData;
    UINT m_defaultItem;
    BOOL m_defaultByPosition;
    UINT m_taskbarCreatedMessage;
};
