// A stand-in for a program that the keys start or drive (browser, players,
// mail, calculator). It appends to "<its own path>.log":
//   cmdline <its command line, as received>
//   down <vk> / up <vk>   for every key event its window receives, in order
// and shows one top-level window whose title depends on its name, unless the
// environment variable MMK_STUB_TITLE is set (an empty value: untitled).
// Further environment variables, for the window-targeting tests:
//   MMK_STUB_SHOW=minimized|maximized  start minimised or maximised
//   MMK_STUB_LOG_SIZES=1               also log "size <WM_SIZE type>" each
//                                      time the type changes
//   MMK_STUB_UNACTIVATABLE=1           the window is a child of the desktop,
//                                      which never becomes the foreground
#include <windows.h>
#include <stdio.h>
#include <string.h>

static char g_logPath[MAX_PATH + 8];
static bool g_logSizes;
static WPARAM g_lastSizeType = (WPARAM)-1;

static void AppendLog(const char* line)
{
    HANDLE file = CreateFileA(g_logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

static const char* DefaultTitle(const char* exeName)
{
    if (!_stricmp(exeName, "IEXPLORE.EXE")) return "Start Page - Microsoft Internet Explorer";
    if (!_stricmp(exeName, "WMPLAYER.EXE")) return "Windows Media Player";
    if (!_stricmp(exeName, "MPLAYER2.EXE")) return "Movie - Windows Media Player";
    if (!_stricmp(exeName, "CDPLAYER.EXE")) return "CD Player";
    return exeName;
}

static LRESULT CALLBACK StubWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    char line[64];
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        snprintf(line, sizeof line, "down %u", (unsigned)wParam);
        AppendLog(line);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        snprintf(line, sizeof line, "up %u", (unsigned)wParam);
        AppendLog(line);
        return 0;
    case WM_SIZE:
        if (g_logSizes && wParam != g_lastSizeType) {
            g_lastSizeType = wParam;
            snprintf(line, sizeof line, "size %u", (unsigned)wParam);
            AppendLog(line);
        }
        break;
    case WM_SYSCHAR:
    case WM_SYSCOMMAND:
        // Alt chords must not open the system menu and steal later keys.
        if (message == WM_SYSCHAR || (wParam & 0xFFF0) == SC_KEYMENU) return 0;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    char exePath[MAX_PATH];
    GetModuleFileNameA(NULL, exePath, sizeof exePath);
    snprintf(g_logPath, sizeof g_logPath, "%s.log", exePath);
    const char* exeName = strrchr(exePath, '\\') ? strrchr(exePath, '\\') + 1 : exePath;

    char line[1100];
    snprintf(line, sizeof line, "cmdline %s", GetCommandLineA());
    AppendLog(line);

    char title[512];
    DWORD titleLength = GetEnvironmentVariableA("MMK_STUB_TITLE", title, sizeof title);
    if (titleLength == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        lstrcpynA(title, DefaultTitle(exeName), sizeof title);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = StubWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "MMKeyboardStub";
    RegisterClassA(&wc);
    char option[32];
    g_logSizes = GetEnvironmentVariableA("MMK_STUB_LOG_SIZES", option, sizeof option) > 0;
    if (GetEnvironmentVariableA("MMK_STUB_SHOW", option, sizeof option) > 0) {
        if (!_stricmp(option, "minimized")) showCommand = SW_SHOWMINIMIZED;
        if (!_stricmp(option, "maximized")) showCommand = SW_SHOWMAXIMIZED;
    }
    DWORD style = WS_OVERLAPPEDWINDOW;
    HWND parent = NULL;
    if (GetEnvironmentVariableA("MMK_STUB_UNACTIVATABLE", option, sizeof option) > 0) {
        style = WS_CHILD | WS_CAPTION;
        parent = GetDesktopWindow();
    }
    HWND window = CreateWindowExA(0, wc.lpszClassName, title, style, 100, 100, 320, 200,
                                  parent, NULL, instance, NULL);
    ShowWindow(window, showCommand);

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
