// The real main dialog for in-process tests: made from its template with its
// message map attached, but without its start-up (no version gate, tray icon
// or keyboard), so that a test sends it key, timer, device and command
// messages through the program's own routing.
#pragma once
#include <windows.h>
#include <string>
#include "app/KeyboardDialog.h"
#include "fw/ResourceLanguage.h"
#include "keyboard/KeyCodes.h"
#include "levels/LevelDisplay.h"
#include "res/resource.h"

namespace mmk_test {

class DialogRig : public KeyboardDialog {
public:
    DialogRig()
    {
        SubclassWindow(CreateDialogIndirectParamA(GetModuleHandleA(NULL),
            static_cast<LPCDLGTEMPLATEA>(FindLocalResource(RT_DIALOG, IDD_MAIN)), NULL, NoStartUp, 0));
    }
    // The level display goes with the dialog the keys were sent to.
    ~DialogRig() override
    {
        KillTimer(m_hWnd, 1);
        DestroyWindow();
        HideLevelDisplay();
    }

    HWND Window() const { return m_hWnd; }
    LRESULT Keys(DWORD keyCode) { return SendMessage(WM_KEYBOARD_KEYS, 0, keyCode); }
    LRESULT Tick() { return SendMessage(WM_TIMER, 1, 0); }
    LRESULT Command(int id) { return SendMessage(WM_COMMAND, id, 0); }

    std::string Text(int editControlId) const
    {
        char text[512] = "";
        GetDlgItemTextA(m_hWnd, editControlId, text, sizeof text);
        return text;
    }
    void SetText(int editControlId, const std::string& text) { SetDlgItemTextA(m_hWnd, editControlId, text.c_str()); }

private:
    static INT_PTR CALLBACK NoStartUp(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
};

}  // namespace mmk_test
