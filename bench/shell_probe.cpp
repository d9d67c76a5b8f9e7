// Drives MMKeyboard.exe from outside for the benchmark and the screenshots.
//   shell_probe startup PROGRAM.exe RUNS  - start-up time to the tray icon
//   shell_probe show PROGRAM.exe SECONDS  - shows the dialog, then the About
//                                           box, printing where each is
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "e2e/ShellWindows.h"

using namespace mmk_test;

namespace {

bool Start(const char* program, PROCESS_INFORMATION* info)
{
    std::string commandLine = std::string("\"") + program + "\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(program, buffer.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, info) != FALSE;
}

// Ends the program through its modal loop, so that it removes its icon
// (Wine keeps the icons of killed programs); kills it if that fails.
void End(PROCESS_INFORMATION* info)
{
    HWND dialog = FindShellDialog(info->dwProcessId);
    if (dialog) PostMessageA(dialog, WM_QUIT, 0, 0);
    if (WaitForSingleObject(info->hProcess, 3000) != WAIT_OBJECT_0) TerminateProcess(info->hProcess, 0);
    WaitForSingleObject(info->hProcess, 5000);
    CloseHandle(info->hProcess);
    CloseHandle(info->hThread);
}

template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

int MeasureStartUp(const char* program, int runs)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        int iconsBefore = CountWineTrayIcons();
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        PROCESS_INFORMATION info;
        if (!Start(program, &info)) return 1;
        bool added = WaitFor([&] { return CountWineTrayIcons() > iconsBefore; }, 20000);
        QueryPerformanceCounter(&end);
        End(&info);
        if (!added) {
            std::printf("run %d: no tray icon within 20 s\n", run + 1);
            return 1;
        }
        double ms = 1000.0 * (end.QuadPart - begin.QuadPart) / frequency.QuadPart;
        times.push_back(ms);
        std::printf("run %d: %.0f ms\n", run + 1, ms);
        // Let the notification area drop the icon of the ended process.
        WaitFor([&] { return CountWineTrayIcons() <= iconsBefore; }, 3000);
    }
    std::sort(times.begin(), times.end());
    std::printf("median start-up to tray icon: %.0f ms\n", times[times.size() / 2]);
    return 0;
}

void PrintRect(const char* what, HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    std::printf("%s %ld %ld %ld %ld\n", what, r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
}

int ShowWindows(const char* program, int seconds)
{
    PROCESS_INFORMATION info;
    if (!Start(program, &info)) return 1;
    HWND dialog = NULL, tray = NULL;
    bool settled = WaitFor([&] {
        dialog = FindShellDialog(info.dwProcessId);
        tray = FindTrayWindow(info.dwProcessId);
        return dialog && tray && !IsWindowVisible(dialog);
    }, 20000);
    if (settled) {
        Sleep(500);
        DoubleClickTrayIcon(tray);
        WaitFor([&] { return IsWindowVisible(dialog) != FALSE; }, 5000);
        Sleep(500);
        PrintRect("dialog", dialog);
        Sleep(seconds * 1000);
        PostMessageA(dialog, WM_SYSCOMMAND, 0x0010, 0);
        HWND about = NULL;
        WaitFor([&] {
            about = FindProcessWindow(info.dwProcessId, "#32770", "About Varden Multimedia Keyboard");
            return about && IsWindowVisible(about);
        }, 5000);
        Sleep(500);
        if (about) PrintRect("about", about);
        Sleep(seconds * 1000);
    }
    End(&info);
    return settled ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "startup") return MeasureStartUp(argv[2], std::atoi(argv[3]));
    if (argc == 4 && std::string(argv[1]) == "show") return ShowWindows(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: shell_probe startup|show PROGRAM.exe N\n");
    return 2;
}
