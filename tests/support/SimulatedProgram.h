// MMKeyboard-sim.exe started on its simulated keyboard and sound card, as
// the end-to-end tests and the benchmarks drive it.
#pragma once
#include <windows.h>
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"

namespace mmk_test {

// A sound card with every fader at its middle and both toggles off.
const DWORD kFaderMaximum = 65535;
void PutMiddleSoundCard();

// MMKeyboard-sim.exe settled, with a simulated keyboard that it has opened
// and a sound card; Start gives false, and says why, when it did not come up.
class SimulatedProgram {
public:
    explicit SimulatedProgram(const char* pipeName) : keyboard(pipeName) {}
    ~SimulatedProgram();
    bool Start(Environment environment = {});
    bool Press(DWORD keyCode) { return keyboard.Send(keyCode) && keyboard.Send(0); }

    SimulatedKeyboard keyboard;
    RunningProgram program;
    HWND dialog = NULL;
};

}  // namespace mmk_test
