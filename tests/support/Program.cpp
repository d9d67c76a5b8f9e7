#include "support/Program.h"
#include "app/KeyboardDialog.h"
#include "res/resource.h"

namespace mmk_test {

SettledProgram StartSettled(RunningProgram& program, const char* exeName, Environment environment)
{
    SettledProgram found = { NULL, NULL };
    if (!program.Start(BuildFile(exeName), "", environment)) return found;
    HWND dialog = NULL, tray = NULL;
    const bool settled = WaitUntil([&] {
        dialog = FindProcessWindow(program.ProcessId(), "#32770", kDialogTitle);
        tray = FindTrayWindow(program.ProcessId());
        // Another process's edit text is asked for, not read from the window.
        return dialog && tray && !IsWindowVisible(dialog) && SendDlgItemMessageA(dialog, IDC_SEARCH, WM_GETTEXTLENGTH, 0, 0) > 0;
    }, 20000);
    if (settled) found = { dialog, tray };
    return found;
}

HWND FindTrayWindow(DWORD processId)
{
    HWND window = FindProcessWindow(processId, "MMKeyboardWnd", "");
    // Top-level windows always clip their siblings; nothing else may be set.
    if (window && (GetWindowLongA(window, GWL_STYLE) & ~WS_CLIPSIBLINGS) != WS_POPUP) return NULL;
    return window;
}

void ClickTrayIcon(HWND trayWindow, UINT mouseMessage)
{
    SendMessageA(trayWindow, WM_TRAY_NOTIFY, IDR_TRAYMENU, mouseMessage);
}

int CountTrayIcons()
{
    int count = 0;
    HWND tray = NULL;
    while ((tray = FindWindowExA(NULL, tray, "__winex11_standalone_tray", NULL)) != NULL) {
        HWND icon = NULL;
        while ((icon = FindWindowExA(tray, icon, "__winex11_tray_icon", NULL)) != NULL) ++count;
    }
    return count;
}

void EndThroughItsLoop(RunningProgram& program, HWND dialog)
{
    if (dialog) PostMessageA(dialog, WM_QUIT, 0, 0);
    program.HasExited(3000);
    program.Stop();
}

}  // namespace mmk_test
