// Processor time of MMKeyboard-sim.exe while nothing happens, over 10 s:
// with no keyboard, and with the keyboard and the sound card open and no key
// held. The goal is none at all: a resident program must not poll.
#include <cstdio>
#include "BenchSupport.h"
#include "support/SimulatedProgram.h"
#include "support/StandIns.h"
#include "support/ProcessGauges.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const DWORD kIdleMs = 10000;

bool PrintIdle(const char* what)
{
    // The copy that runs: the shipped one where this machine starts it.
    const std::string program = DrivenProgram("MMKeyboard-sim.exe");
    const double before = HostCpuSeconds(program);
    Sleep(kIdleMs);
    const double after = HostCpuSeconds(program);
    if (before < 0 || after < 0) {
        std::printf("idle CPU, %s: the program's host process was not found\n", what);
        return false;
    }
    const double used = after - before;
    std::printf("idle CPU, %s, %.0f s: %.2f s (%.1f %% of a core)\n", what, kIdleMs / 1000.0, used,
                100.0 * used / (kIdleMs / 1000.0));
    return true;
}

}  // namespace

int main()
{
    {
        ClearSimulator();
        RunningProgram program;
        if (!StartSettled(program, "MMKeyboard-sim.exe").dialog) {
            std::printf("MMKeyboard-sim.exe did not settle\n");
            return 1;
        }
        if (!PrintIdle("no keyboard")) return 1;
    }
    SimulatedProgram simulated("bench-idle");
    return simulated.Start() && PrintIdle("keyboard and sound card open, no key held") ? 0 : 1;
}
