// What the benchmarks share beyond the test support: times finer than its
// waits, medians, stand-ins put where the keys look for programs, and
// MMKeyboard-sim.exe started on its simulated keyboard and sound card.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"
#include "support/StandIns.h"

namespace mmk_bench {

// Milliseconds from the performance counter.
double NowMs();
// Milliseconds from sinceMs until the condition holds, polled every
// millisecond while this thread's messages are dispatched; negative when
// timeoutMs passed first. WaitUntil's 10 ms steps would swamp a 30 ms figure.
double MsUntil(double sinceMs, const std::function<bool()>& condition, DWORD timeoutMs = 20000);

struct Spread {
    double median, min, max;
    size_t count;
};
// Of no values: everything infinite, count 0.
Spread SpreadOf(std::vector<double> values);
// "12.3 ms (10.1-15.0, 20 runs)"
std::string Describe(const Spread& spread);

// A stand-in put at a path where a key starts a program; whatever was there
// (Wine's own program) goes aside and comes back when this goes, once no
// copy of the stand-in runs any more.
class InstalledStandIn {
public:
    InstalledStandIn(const std::string& standInName, const std::string& path);
    ~InstalledStandIn();
    InstalledStandIn(const InstalledStandIn&) = delete;
    InstalledStandIn& operator=(const InstalledStandIn&) = delete;

    bool Installed() const { return installed_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool movedAside_, installed_;
};

// A sound card with every fader at its middle and both toggles off.
const DWORD kFaderMaximum = 65535;
void PutMiddleSoundCard();

// MMKeyboard-sim.exe settled, with a simulated keyboard that it has opened
// and a sound card; Start gives false, and says why, when it did not come up.
class SimulatedProgram {
public:
    explicit SimulatedProgram(const char* pipeName) : keyboard(pipeName) {}
    ~SimulatedProgram();
    bool Start(mmk_test::Environment environment = {});
    bool Press(DWORD keyCode) { return keyboard.Send(keyCode) && keyboard.Send(0); }

    mmk_test::SimulatedKeyboard keyboard;
    mmk_test::RunningProgram program;
    HWND dialog = NULL;
};

}  // namespace mmk_bench
