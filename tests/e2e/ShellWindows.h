// Finding MMKeyboard's windows from outside, as the tray and the user see
// them: the dialog, the tray's hidden window and the icons of Wine's
// notification area.
#pragma once
#include <windows.h>
#include "support/WineTestSupport.h"

namespace mmk_test {

const UINT kTrayNotify = WM_USER + 10;  // the icon's callback message
const UINT kTrayIconId = 130;
const char kDialogTitle[] = "Multimedia Keyboard";

inline HWND FindShellDialog(DWORD processId)
{
    return FindProcessWindow(processId, "#32770", kDialogTitle);
}

// The tray's hidden window: the framework's class, no title, a bare popup.
inline HWND FindTrayWindow(DWORD processId)
{
    HWND window = FindProcessWindow(processId, "MMKeyboardWnd", "");
    // Top-level windows always clip their siblings; nothing else may be set.
    if (window && (GetWindowLongA(window, GWL_STYLE) & ~WS_CLIPSIBLINGS) != WS_POPUP) return NULL;
    return window;
}

// A double click on the icon, as the notification area reports it.
inline void DoubleClickTrayIcon(HWND trayWindow)
{
    SendMessageA(trayWindow, kTrayNotify, kTrayIconId, WM_LBUTTONDBLCLK);
}

// Icons in Wine's notification area (its stand-alone window under Xvfb).
inline int CountWineTrayIcons()
{
    int count = 0;
    HWND tray = NULL;
    while ((tray = FindWindowExA(NULL, tray, "__winex11_standalone_tray", NULL)) != NULL) {
        HWND icon = NULL;
        while ((icon = FindWindowExA(tray, icon, "__winex11_tray_icon", NULL)) != NULL) ++count;
    }
    return count;
}

}  // namespace mmk_test
