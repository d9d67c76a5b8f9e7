// Drives MMKeyboard.exe from outside for the benchmark and the screenshots.
//   shell_probe startup PROGRAM.exe RUNS  - start-up time to the tray icon
//   shell_probe show PROGRAM.exe SECONDS  - shows the dialog, then the About
//                                           box, printing where each is
//   shell_probe tryout DONE_FILE          - plays keys on the try-out run's
//                                           key pad, then creates DONE_FILE
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

// A press and release of a key pad button, as the mouse makes them.
void ClickKeyPadButton(HWND keyPad, const char* name)
{
    HWND button = FindWindowExA(keyPad, NULL, "BUTTON", name);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Plays the try-out run for the README picture, from inside its desktop:
// Home Page starts the browser stand-in and Back reaches it; Media Player
// starts Windows Media Player and Play/Pause reaches it.
int PlayTryOut(const char* doneFile)
{
    const std::string browserLog = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE.log";
    const std::string playerLog = "C:\\Program Files\\Windows Media Player\\WMPLAYER.EXE.log";
    DeleteFileA(browserLog.c_str());
    DeleteFileA(playerLog.c_str());
    HWND keyPad = NULL;
    const bool listening = WaitFor([&] {
        keyPad = FindWindowA("MMKeyboardKeyPad", NULL);
        char status[128] = "";
        GetWindowTextA(FindWindowExA(keyPad, NULL, "STATIC", NULL), status, sizeof status);
        HWND dialog = FindWindowA("#32770", kDialogTitle);
        return keyPad && Contains(status, "listening") && dialog && !IsWindowVisible(dialog);
    }, 30000);
    if (!listening) return 1;
    const struct Step {
        const char* button;
        const std::string& log;
        const char* seen;
    } steps[] = {
        { "Home Page", browserLog, "cmdline" },
        { "Back", browserLog, "down 37" },
        { "Media Player", playerLog, "cmdline" },
        { "Play/Pause", playerLog, "down 80" },
    };
    for (const Step& step : steps) {
        ClickKeyPadButton(keyPad, step.button);
        if (!WaitFor([&] { return Contains(ReadFileText(step.log), step.seen); }, 20000)) {
            std::printf("%s: nothing seen\n", step.button);
            return 1;
        }
        Sleep(500);  // the stand-in paints what it logged
    }
    CloseHandle(CreateFileA(doneFile, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "startup") return MeasureStartUp(argv[2], std::atoi(argv[3]));
    if (argc == 4 && std::string(argv[1]) == "show") return ShowWindows(argv[2], std::atoi(argv[3]));
    if (argc == 3 && std::string(argv[1]) == "tryout") return PlayTryOut(argv[2]);
    std::fprintf(stderr, "usage: shell_probe startup|show PROGRAM.exe N, or shell_probe tryout DONE_FILE\n");
    return 2;
}
