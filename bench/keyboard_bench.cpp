// Keyboard figures for MMKeyboard-sim.exe under Wine:
//  - processor time while idle for 10 s, with no keyboard and with a keyboard
//    attached but no key pressed (the goal is none at all);
//  - time from a calculator key report written to the keyboard's pipe to the
//    calculator stub's first log line, median of 20.
#include <algorithm>
#include <cstdio>
#include <vector>
#include "e2e/SimulatedKeyboard.h"
#include "support/WineTestSupport.h"

using namespace mmk_test;

namespace {

const char kPipe[] = "\\\\.\\pipe\\mmk-bench-keyboard";
const DWORD kIdleMs = 10000;

// Wine answers GetProcessTimes for another process with its start-up times
// only, so the figure comes from the host: the Unix process running
// MMKeyboard-sim.exe of this build, found by its command line under /proc.
std::string HostStatOfProgram()
{
    // Wine shows the program's Windows path there.
    const std::string wanted = BuildFile("MMKeyboard-sim.exe");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return "";
    std::string stat;
    do {
        if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
        const std::string dir = std::string("Z:\\proc\\") + found.cFileName;
        const std::string commandLine = ReadFileText(dir + "\\cmdline");
        if (commandLine.find(wanted) != std::string::npos) stat = ReadFileText(dir + "\\stat");
    } while (stat.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return stat;
}

// User plus system time of the program, in seconds; negative if not found.
double CpuSeconds()
{
    const std::string stat = HostStatOfProgram();
    const size_t name = stat.rfind(')');
    if (name == std::string::npos) return -1;
    // After the name: state (field 3) ... utime (14), stime (15), in clock ticks.
    unsigned long long utime = 0, stime = 0;
    if (std::sscanf(stat.c_str() + name + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime,
                    &stime) != 2)
        return -1;
    return double(utime + stime) / 100.0;  // USER_HZ
}

bool StartProgram(RunningProgram& program)
{
    if (!program.Start(BuildFile("MMKeyboard-sim.exe"))) return false;
    const bool up = WaitUntil([&] { return FindProcessWindow(program.ProcessId(), NULL, "Multimedia Keyboard"); },
                              20000);
    Sleep(2000);  // let start-up settle
    return up;
}

void PrintIdle(const char* what)
{
    const double before = CpuSeconds();
    Sleep(kIdleMs);
    const double after = CpuSeconds();
    if (before < 0 || after < 0) {
        std::printf("idle CPU of MMKeyboard-sim.exe, %s: its host process was not found\n", what);
        return;
    }
    const double used = after - before;
    std::printf("idle CPU of MMKeyboard-sim.exe, %s: %.3f s over %.0f s (%.2f %% of a core)\n", what, used,
                kIdleMs / 1000.0, 100.0 * used / (kIdleMs / 1000.0));
}

size_t CountStarts(const std::string& log)
{
    const std::string text = ReadFileText(log);
    size_t count = 0;
    for (size_t at = text.find("cmdline "); at != std::string::npos; at = text.find("cmdline ", at + 1)) ++count;
    return count;
}

void PrintReportToStart(SimulatedKeyboardPipe& keyboard)
{
    const std::string calculator = WindowsDirectory() + "\\calc.exe";
    CopyFileOver(BuildFile("stubs\\calc.exe"), calculator);
    const std::string log = calculator + ".log";
    DeleteFileA(log.c_str());

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
        const size_t before = CountStarts(log);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        keyboard.Send({ 0x01, 0x00, 0x80, 0x00 });
        const bool started = WaitUntil([&] { return CountStarts(log) > before; }, 10000, 1);
        QueryPerformanceCounter(&end);
        keyboard.Send({ 0x01, 0x00, 0x00, 0x00 });
        EndProcessesNamed("calc.exe");
        if (!started) {
            std::printf("report -> calculator stub started: no start within 10 s (launch rows or connection missing?)\n");
            return;
        }
        ms.push_back(1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("report -> calculator stub started: median %.1f ms of 20 (min %.1f, max %.1f)\n",
                (ms[9] + ms[10]) / 2, ms.front(), ms.back());
}

}  // namespace

int main()
{
    EndProcessesNamed("calc.exe");
    ClearSimulatedDevices();
    {
        RunningProgram program;
        if (!StartProgram(program)) {
            std::printf("MMKeyboard-sim.exe did not start\n");
            return 1;
        }
        PrintIdle("no keyboard");
    }

    SimulatedDeviceEntry entry;
    entry.devicePath = kPipe;
    RegisterSimulatedDevice(0, entry);
    SimulatedKeyboardPipe keyboard(kPipe);
    keyboard.PlugIn();
    RunningProgram program;
    if (!StartProgram(program)) return 1;
    if (!keyboard.WaitForClient(10000)) {
        std::printf("the simulated keyboard was not opened (keyboard connection missing?)\n");
    } else {
        PrintIdle("keyboard attached, no key pressed");
        PrintReportToStart(keyboard);
    }
    program.Stop();
    EndProcessesNamed("calc.exe");
    ClearSimulatedDevices();
    return 0;
}
