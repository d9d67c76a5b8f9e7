// Player key with no player in the foreground: from the key message posted
// to MMKeyboard.exe's dialog until the WMPLAYER.EXE stub has received the
// whole Ctrl+P chord, with 0, 25 and 50 extra idle processes running (each
// a stub with one window). Every key press takes a fresh process snapshot
// and a module snapshot per process, so the time grows with the processes.
#include <windows.h>
#include <algorithm>
#include <memory>
#include <stdio.h>
#include <vector>
#include "unit/targeting_stub_helpers.h"

using namespace targeting_test;
using mmk_test::RunningProgram;

namespace {

const int kRuns = 20;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

// One key message, timed until the stub logged the chord's last event.
double TimeOneKey(HWND dialog, OtherWindow& other, const std::string& playerPath)
{
    other.TakeForeground();
    ForgetLog(playerPath);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    PostMessageA(dialog, WM_USER + 1, 0, 0x80000);
    for (;;) {
        QueryPerformanceCounter(&end);
        if (KeysOf(playerPath) == CtrlP) break;
        if (Milliseconds(start, end) > 20000) return -1;
        Sleep(1);
    }
    return Milliseconds(start, end);
}

}  // namespace

int main()
{
    RunningProgram keyboard, player;
    if (!keyboard.Start(mmk_test::BuildFile("MMKeyboard.exe"))) return 1;
    HWND dialog = NULL;
    mmk_test::WaitUntil([&] {
        dialog = mmk_test::FindProcessWindow(keyboard.ProcessId(), "#32770", "Multimedia Keyboard");
        return dialog != NULL && !IsWindowVisible(dialog);
    }, 15000);
    const std::string playerPath = StubPath("WMPLAYER.EXE");
    if (!dialog || !StartStub(player, playerPath)) {
        printf("could not start MMKeyboard.exe and the WMPLAYER.EXE stub\n");
        return 1;
    }
    OtherWindow other;

    std::vector<std::unique_ptr<RunningProgram>> idle;
    printf("player key, no player in the foreground: key message -> Ctrl+P at WMPLAYER.EXE\n");
    printf("extra processes   median ms   min ms   max ms   (%d runs each)\n", kRuns);
    for (int extra : { 0, 25, 50 }) {
        while ((int)idle.size() < extra) {
            idle.emplace_back(new RunningProgram);
            StartStub(*idle.back(), StubPath("mailstub.exe"));
        }
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            const double ms = TimeOneKey(dialog, other, playerPath);
            if (ms >= 0) times.push_back(ms);
        }
        if (times.empty()) {
            printf("%16d   no chord arrived\n", extra);
            continue;
        }
        std::sort(times.begin(), times.end());
        const double median = times.size() % 2 ? times[times.size() / 2]
                                               : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
        printf("%16d   %9.1f   %6.1f   %6.1f   (%u arrived)\n", extra, median, times.front(), times.back(),
               (unsigned)times.size());
        fflush(stdout);
    }
    return 0;
}
