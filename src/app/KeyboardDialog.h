// KeyboardDialog: the program's one window, "Multimedia Keyboard". Its modal
// loop is the program's main loop; it holds the settings page, the tray icon
// and the auto-repeat, and routes each message to the subsystem that
// handles it.
#pragma once
#include "fw/Dialog.h"
#include "actions/KeyRepeat.h"
#include "tray/SystemTray.h"

// The dialog's title, in every language's template alike, and the tray
// icon's tip: how a second start finds the running copy.
const char kProgramTitle[] = "Multimedia Keyboard";
// The tray icon's callback message.
const UINT WM_TRAY_NOTIFY = WM_USER + 10;

// The version gate: true on Windows 98 (4.10) alone.
bool IsSupportedSystem();
// The auto-repeat's timer: identifier 1 of the dialog window.
const UINT_PTR kRepeatTimerId = 1;

class KeysDialog;

class KeyboardDialog : public CDialog {
public:
    KeyboardDialog();

    DECLARE_MESSAGE_MAP()

private:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    void ArmRepeatTimer(RepeatTimer next, bool restart);
    LRESULT OnDeviceChange(WPARAM, LPARAM);
    LRESULT OnKeyboardKeys(WPARAM, LPARAM);
    LRESULT OnOtherKey(WPARAM, LPARAM);
    LRESULT OnTrayHide(WPARAM, LPARAM);
    LRESULT OnTrayShow(WPARAM, LPARAM);
    LRESULT OnMailBrowse(WPARAM, LPARAM);
    LRESULT OnMediaBrowse(WPARAM, LPARAM);
    LRESULT OnSave(WPARAM, LPARAM);
    LRESULT OnRevert(WPARAM, LPARAM);
    LRESULT OnKeys(WPARAM, LPARAM);

    CSystemTray m_trayIcon;
    HICON m_hIcon;
    RepeatState m_repeat;
    UINT_PTR m_repeatTimer;     // what SetTimer returned
    RepeatTimer m_repeatDelay;  // the period it runs at, or kStopTimer
    // From start-up until the user first asks for the window: any show that
    // the platform makes on its own is undone.
    bool m_keepHidden;
    // The window was asked for (the Show command), and the start-up's own
    // hides still queued: a second start during this copy's start-up asks
    // before they are handled, and its request must win.
    bool m_showAsked;
    int m_startUpHidesQueued;
    // Unsupported system: the dialog ends during its initialisation and must
    // never be seen.
    bool m_neverShow;
    // The Keys dialog while its modal loop runs: the keyboard's keys go to it.
    KeysDialog* m_keysDialog;
};
