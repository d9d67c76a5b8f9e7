// KeyboardDialog: the program's one window, "Multimedia Keyboard". Its modal
// loop is the program's main loop; it holds the settings page and the tray
// icon, and routes every message to the subsystem that handles it.
#pragma once
#include "fw/Dialog.h"
#include "tray/SystemTray.h"
#include "res/resource.h"

// Posted by the report reader: WPARAM 0, LPARAM the KeyCode.
const UINT WM_KEYBOARD_KEYS = WM_USER + 1;
// The tray icon's callback message.
const UINT WM_TRAY_NOTIFY = WM_USER + 10;

class KeyboardDialog : public CDialog {
public:
    explicit KeyboardDialog(CWnd* parent = 0);

    // Settings page (settings/).
    void LoadSettings();
    void SaveSettings();
    void BrowseForProgram(int editControlId);

    CSystemTray m_trayIcon;
    HICON m_hIcon;
    int RepeatMode;          // 0 none, 1..6: see mixer/SoundKeys.h
    UINT_PTR m_repeatTimer;  // what SetTimer returned for the current mode
    // From start-up until the user first asks for the window: any show that
    // the platform makes on its own is undone.
    bool m_keepHidden;
    // Unsupported system: the dialog ends during its initialisation and must
    // never be seen.
    bool m_neverShow;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);           // mixer/SoundKeys.cpp
    LRESULT OnDeviceChange(WPARAM, LPARAM);    // keyboard/KeyboardConnection.cpp
    LRESULT OnKeyboardKeys(WPARAM, LPARAM);    // actions/KeyDispatcher.cpp
    LRESULT OnTrayHide(WPARAM, LPARAM);
    LRESULT OnTrayShow(WPARAM, LPARAM);
    LRESULT OnMailBrowse(WPARAM, LPARAM);      // settings/SettingsPage.cpp
    LRESULT OnMediaBrowse(WPARAM, LPARAM);
    LRESULT OnSave(WPARAM, LPARAM);
    LRESULT OnRevert(WPARAM, LPARAM);
};
