#include "support/Program.h"
#include <stdio.h>
#include "app/KeyboardDialog.h"
#include "res/resource.h"
#include "support/StandIns.h"

namespace mmk_test {

namespace {

// Whether Wine here starts a 32-bit program at all: created suspended and
// ended at once.
bool StartsShippedPrograms(const std::string& program)
{
    PROCESS_INFORMATION info = {};
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), &commandLine[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, NULL, &startup,
                        &info))
        return false;
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

}  // namespace

std::string DrivenProgram(const char* exeName)
{
    static const bool shipped = [] {
        const bool runs = MMK_PRODUCT_DIR[0] && StartsShippedPrograms(WinePath(MMK_PRODUCT_DIR "/MMKeyboard.exe"));
        printf("[ driving  ] %s\n", runs ? "the shipped 32-bit programs of build/: 32-bit Wine runs them here"
                                          : "the x86-64 test build: Wine here cannot start the shipped 32-bit programs");
        return runs;
    }();
    if (shipped) UseStandInFolder("stubs32");
    return shipped ? WinePath(MMK_PRODUCT_DIR "/" + std::string(exeName)) : BuildFile(exeName);
}

SettledProgram StartSettled(RunningProgram& program, const char* exeName, Environment environment)
{
    SettledProgram found = { NULL, NULL };
    // A whole path starts with its drive; a file name's own bytes may hold a
    // '\' as the second byte of a Chinese character.
    const bool wholePath = exeName[0] && exeName[1] == ':';
    if (!program.Start(wholePath ? exeName : DrivenProgram(exeName), "", environment)) return found;
    HWND dialog = NULL, tray = NULL;
    const bool settled = WaitUntil([&] {
        dialog = FindProcessWindow(program.ProcessId(), "#32770", kDialogTitle);
        tray = FindTrayWindow(program.ProcessId());
        // Another process's edit text is asked for, not read from the window.
        return dialog && tray && !IsWindowVisible(dialog) && SendDlgItemMessageA(dialog, IDC_SEARCH, WM_GETTEXTLENGTH, 0, 0) > 0;
    }, 20000);
    // All of that holds already during the dialog's initialisation, before
    // the platform's first show of the dialog and the program's hide (and
    // Wine's modal loop shows it once more when its queue first runs empty,
    // which the program hides again). Settled is hidden for a while on end,
    // or a first click could come in the middle of that and be undone.
    DWORD hiddenSince = GetTickCount();
    const bool stays = settled && WaitUntil([&] {
        if (IsWindowVisible(dialog)) hiddenSince = GetTickCount();
        return GetTickCount() - hiddenSince >= 300;
    });
    if (stays) found = { dialog, tray };
    return found;
}

HWND FindTrayWindow(DWORD processId)
{
    HWND window = FindProcessWindow(processId, "MMKeyboardWnd", "");
    // Top-level windows always clip their siblings; nothing else may be set.
    if (window && (GetWindowLongA(window, GWL_STYLE) & ~WS_CLIPSIBLINGS) != WS_POPUP) return NULL;
    return window;
}

HWND FindLevelDisplay(DWORD processId) { return FindProcessWindow(processId, "MMKeyboardLevels", NULL); }

std::wstring WindowTextW(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
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
