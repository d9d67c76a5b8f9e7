// Drives a program of the build folder from outside, for the start-up figure
// and for tools/screenshot:
//   shell_probe startup PROGRAM.exe RUNS  - time from start to its tray icon
//   shell_probe show PROGRAM.exe SECONDS  - shows the dialog, then the About
//                                           box, printing where each is
// PROGRAM.exe is taken by its file name from the build folder.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "res/resource.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const char kAboutTitle[] = "About Varden Multimedia Keyboard";
// Lets a window that has just shown finish painting before it is captured.
const DWORD kPaintMs = 500;

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int MeasureStartUp(const std::string& exeName, int runs)
{
    std::vector<double> times;
    for (int run = 1; run <= runs; ++run) {
        const int iconsBefore = CountTrayIcons();
        RunningProgram program;
        const double start = NowMs();
        const double ms = program.Start(BuildFile(exeName))
                              ? MsUntil(start, [&] { return CountTrayIcons() > iconsBefore; })
                              : -1;
        EndThroughItsLoop(program, FindProcessWindow(program.ProcessId(), "#32770", kDialogTitle));
        if (ms < 0) {
            std::printf("run %d: no tray icon within 20 s\n", run);
            return 1;
        }
        times.push_back(ms);
        std::printf("run %d: %.0f ms\n", run, ms);
        // The next run counts from the icons without this one.
        WaitUntil([&] { return CountTrayIcons() <= iconsBefore; }, 3000);
    }
    std::printf("median start-up to tray icon: %s\n", Describe(SpreadOf(times)).c_str());
    return 0;
}

void PrintRect(const char* what, HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    std::printf("%s %ld %ld %ld %ld\n", what, r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
}

int ShowWindows(const std::string& exeName, DWORD seconds)
{
    RunningProgram program;
    const SettledProgram settled = StartSettled(program, exeName.c_str());
    // A click that comes while the program still hides itself at start-up
    // is undone at once, so it clicks again until the dialog stays shown.
    const bool shown = settled.dialog && WaitUntil([&] {
        if (!IsWindowVisible(settled.dialog)) ClickTrayIcon(settled.tray, WM_LBUTTONDBLCLK);
        Pump(kPaintMs);
        return IsWindowVisible(settled.dialog) != FALSE;
    }, 5000);
    if (!shown) {
        std::printf("%s did not show its dialog\n", exeName.c_str());
        EndThroughItsLoop(program, settled.dialog);
        return 1;
    }
    PrintRect("dialog", settled.dialog);
    Pump(seconds * 1000);

    PostMessageA(settled.dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = NULL;
    WaitUntil([&] {
        about = FindProcessWindow(program.ProcessId(), "#32770", kAboutTitle);
        return about && IsWindowVisible(about);
    }, 5000);
    Pump(kPaintMs);
    if (about) PrintRect("about", about);
    Pump(seconds * 1000);
    // The About box's own loop runs inside the dialog's; ending it first lets
    // the quit reach the outer loop, which removes the icon.
    if (about) PostMessageA(about, WM_COMMAND, IDOK, 0);
    EndThroughItsLoop(program, settled.dialog);
    return about ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc == 4 ? argv[1] : "";
    if (command == "startup") return MeasureStartUp(FileNameOf(argv[2]), std::atoi(argv[3]));
    if (command == "show") return ShowWindows(FileNameOf(argv[2]), DWORD(std::atoi(argv[3])));
    std::fprintf(stderr, "usage: shell_probe startup|show PROGRAM.exe N\n");
    return 2;
}
