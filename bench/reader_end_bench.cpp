// How long the keyboard's readers take to end, in-process on the simulated
// keyboard: the close with a reader waiting for a report of a keyboard
// still plugged in (the close's and the exit's case); a standard keyboard
// given up for the maker's model through the arrival, whose whole handling
// is timed, once as it is and once with a copy of the keyboard's handle held
// open (no close can end a read then); and an unplug with a key held, from
// the keyboard going to the release reaching the window. Goal: well under
// 100 ms each. 20 runs of each.
#include <cstdio>
#include "BenchSupport.h"
#include "support/SimulatedKeyboard.h"
#include <dbt.h>
#include "keyboard/KeyCodes.h"
#include "app/KeyboardStartup.h"
#include "keyboard/KeyboardDevice.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const int kRuns = 20;
const DWORD kNothing = 0xFFFFFFFF;
HWND g_window;

DWORD g_posted = kNothing;  // the last KeyCode the window received

// The last KeyCode posted to the window since the last call, kNothing for
// none; MsUntil dispatches the window's messages meanwhile.
DWORD TakePosted()
{
    MSG msg;
    while (PeekMessageA(&msg, g_window, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    const DWORD last = g_posted;
    g_posted = kNothing;
    return last;
}

struct Keyboards {
    SimulatedKeyboard standard{ "bench-standard" }, maker{ "bench-maker" };
    Keyboards()
    {
        ClearSimulator();
        standard.Register(0, SimulatedStandardKeyboard("", kUsageArray));
        maker.Register(1);
    }
};

// Opens with the keyboard given plugged in and a key of it held and seen.
bool OpenWithKeyHeld(SimulatedKeyboard& keyboard)
{
    DisconnectKeyboard();
    TakePosted();
    if (!keyboard.PlugIn()) return false;
    ConnectKeyboard(g_window, KeyboardOpenReason::kStartUp);
    return keyboard.Send(kKeyVolumeUp) && MsUntil(NowMs(), [] { return TakePosted() == kKeyVolumeUp; }, 3000) >= 0;
}

void Print(const char* what, const std::vector<double>& times)
{
    std::printf("%s: %s\n", what, Describe(SpreadOf(times)).c_str());
}

void CloseAndUnplug(bool standard)
{
    Keyboards keyboards;
    SimulatedKeyboard& keyboard = standard ? keyboards.standard : keyboards.maker;
    std::vector<double> close, unplug;
    for (int run = 0; run < kRuns; ++run) {
        if (!OpenWithKeyHeld(keyboard)) continue;
        const double start = NowMs();
        DisconnectKeyboard();
        close.push_back(NowMs() - start);
        if (!OpenWithKeyHeld(keyboard)) continue;
        const double unplugged = NowMs();
        keyboard.Unplug();
        const double released = MsUntil(unplugged, [] { return TakePosted() == kKeysReleased; }, 3000);
        if (released >= 0) unplug.push_back(released);
    }
    DisconnectKeyboard();
    Print(standard ? "close, standard keyboard" : "close, maker's model", close);
    Print(standard ? "unplug to release, standard keyboard (runs released)" :
                     "unplug to release, maker's model (runs released)", unplug);
}

void Switch(bool copyHeld)
{
    Keyboards keyboards;
    std::vector<double> switches;
    for (int run = 0; run < kRuns; ++run) {
        keyboards.maker.Unplug();
        if (!OpenWithKeyHeld(keyboards.standard)) continue;
        std::vector<HANDLE> copies;
        if (copyHeld) copies = CopyClientPipeEnds();
        keyboards.maker.PlugIn();
        const double start = NowMs();
        SendMessageA(g_window, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
        const double took = NowMs() - start;
        if (KeyboardDevice.kind.load() == KeyboardKind::kMaker) switches.push_back(took);
        for (HANDLE copy : copies) CloseHandle(copy);
    }
    DisconnectKeyboard();
    Print(copyHeld ? "switch to the maker's model, a copy of the handle held" : "switch to the maker's model",
          switches);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE) HandleDeviceChange(window, wParam);
    if (message == WM_KEYBOARD_KEYS) g_posted = static_cast<DWORD>(lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.lpszClassName = "ReaderEndBench";
    RegisterClassA(&wc);
    g_window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    CloseAndUnplug(false);
    CloseAndUnplug(true);
    Switch(false);
    Switch(true);
    DestroyWindow(g_window);
    ClearSimulator();
    return 0;
}
