// What the benchmarks share beyond the test support (tests/support/): times
// finer than its waits, medians, and another process's memory and processor
// time.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

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

// Committed private memory of another process, from a walk of its address
// space: Wine leaves the PrivateUsage of GetProcessMemoryInfo 0.
SIZE_T PrivateBytes(DWORD processId);
// User plus system seconds of the Unix process whose command line holds the
// Windows path of a program; negative when there is none. Wine answers
// GetProcessTimes for another process with its start-up times only.
double HostCpuSeconds(const std::string& windowsPath);

}  // namespace mmk_bench
