// How long the calculator key takes to start its program, with a stand-in in
// the calculator's place: from the key message posted to MMKeyboard-sim.exe's
// dialog until the stand-in's process exists and until it has recorded its
// command line, and from the key's report written to the simulated keyboard
// until that record. The process is looked for in process snapshots, which
// take 10 to 25 ms each under Wine: its figure may be that much too long.
#include <cstdio>
#include "BenchSupport.h"
#include "support/SimulatedProgram.h"
#include "support/StandIns.h"
#include "support/ProcessGauges.h"
#include "keyboard/KeyCodes.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const int kRuns = 20;

struct Figure {
    const char* what;
    std::vector<double> ms;
};

}  // namespace

int main()
{
    SimulatedProgram simulated("bench-launch");
    InstalledStandIn calculator("calc.exe", WindowsDirectory() + "\\calc.exe");
    if (!calculator.Installed() || !simulated.Start()) return 1;
    const DWORD programId = simulated.program.ProcessId();
    auto started = [&] { return !ChildProcesses(programId).empty(); };
    auto recorded = [&] { return !ReadFileText(LogOf(calculator.Path())).empty(); };

    Figure toProcess = { "key message -> stand-in process started" };
    Figure toRecord = { "key message -> stand-in recorded its command line" };
    Figure reportToRecord = { "keyboard report -> stand-in recorded its command line" };
    for (int run = 0; run < kRuns; ++run) {
        for (bool byReport : { false, true }) {
            ForgetLog(calculator.Path());
            const double start = NowMs();
            if (byReport) simulated.Press(kKeyCalculator);
            else PostMessageA(simulated.dialog, WM_KEYBOARD_KEYS, 0, kKeyCalculator);
            const double process = byReport ? 0 : MsUntil(start, started);
            const double record = MsUntil(start, recorded);
            if (process < 0 || record < 0) {
                std::printf("the calculator key started no stand-in within 20 s\n");
                return 1;
            }
            if (!byReport) toProcess.ms.push_back(process);
            (byReport ? reportToRecord : toRecord).ms.push_back(record);
            EndProgramsStartedBy(programId);
        }
    }
    std::printf("calculator key, median of %d:\n", kRuns);
    for (const Figure* figure : { &toProcess, &toRecord, &reportToRecord })
        std::printf("  %-54s %s\n", figure->what, Describe(SpreadOf(figure->ms)).c_str());
    return 0;
}
