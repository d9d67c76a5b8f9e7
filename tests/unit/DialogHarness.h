// The real KeyboardDialog, its message map and handlers, on a plain hidden
// window instead of the dialog template: its timer, key and device messages
// go through the program's own routing without a modal loop or the start-up
// sequence. Edit controls with the settings' identifiers can be added.
#pragma once
#include <windows.h>
#include "app/KeyboardDialog.h"
#include "keyboard/KeyCodes.h"

namespace mmk_test {

class DialogHarness {
public:
    DialogHarness()
    {
        dialog.CreateEx(0, CWnd::RegisterWndClass(), "Multimedia Keyboard", WS_POPUP, 0, 0, 300,
                        200, NULL, NULL);
    }
    ~DialogHarness()
    {
        if (dialog.m_hWnd) KillTimer(dialog.m_hWnd, 1);
        dialog.DestroyWindow();
        Pump(0);  // drop what is still queued for the window
    }
    DialogHarness(const DialogHarness&) = delete;
    DialogHarness& operator=(const DialogHarness&) = delete;

    HWND Window() const { return dialog.m_hWnd; }

    // A key report as the reader delivers it, handled at once.
    void Keys(DWORD keyCode) { dialog.SendMessage(WM_KEYBOARD_KEYS, 0, keyCode); }
    // One tick of the auto-repeat timer, handled at once.
    void Tick() { dialog.SendMessage(WM_TIMER, 1, 0); }

    // An edit control with a settings identifier, as on the settings page.
    HWND AddEdit(int id, const char* text)
    {
        HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 200, 20,
                                    dialog.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                    GetModuleHandleA(NULL), NULL);
        // Set as the settings are loaded, which leaves it unmodified (Wine
        // marks text given at creation as modified).
        SetWindowTextA(edit, text);
        return edit;
    }

    // Dispatches this thread's messages for the given time.
    static void Pump(DWORD milliseconds)
    {
        const DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= milliseconds) break;
            MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        }
    }

    KeyboardDialog dialog;
};

}  // namespace mmk_test
