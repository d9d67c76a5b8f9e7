// The start-up figure: the time from starting a program of the build folder
// to its icon in the notification area, the median of RUNS starts.
//   startup_bench PROGRAM.exe RUNS
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "BenchSupport.h"
#include "support/Program.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: startup_bench PROGRAM.exe RUNS\n");
        return 2;
    }
    std::string exeName = argv[1];
    const size_t slash = exeName.find_last_of("\\/");
    if (slash != std::string::npos) exeName = exeName.substr(slash + 1);
    return MeasureStartUp(exeName, std::atoi(argv[2]));
}
