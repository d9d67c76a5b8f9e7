// How long a launch key takes under Wine: from the key message posted to the
// running program until the program it starts exists as a process, and until
// that program has run far enough to record its command line. The calculator
// key is used; a stand-in takes the calculator's place.
#include <windows.h>
#include <tlhelp32.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "support/WineTestSupport.h"

using namespace mmk_test;

namespace {

const int kRuns = 20;

std::string CalculatorPath()
{
    char directory[MAX_PATH];
    GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory) + "\\calc.exe";
}

DWORD FindCalculatorProcess()
{
    DWORD found = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "calc.exe") == 0) found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

void EndProcess(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main()
{
    const std::string calculator = CalculatorPath();
    const std::string log = calculator + ".log";
    while (DWORD stale = FindCalculatorProcess()) EndProcess(stale);
    if (!CopyFileOver(BuildFile("stubs\\calc.exe"), calculator)) {
        std::printf("cannot install the calculator stand-in at %s\n", calculator.c_str());
        return 1;
    }

    RunningProgram program;
    HWND dialog = NULL;
    if (!program.Start(BuildFile("MMKeyboard.exe")) ||
        !WaitUntil([&] {
            dialog = FindProcessWindow(program.ProcessId(), "#32770", "Multimedia Keyboard");
            return dialog && !IsWindowVisible(dialog);
        }, 30000)) {
        std::printf("MMKeyboard.exe did not start\n");
        return 1;
    }

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> toProcess, toCommandLine;
    for (int run = 0; run < kRuns; ++run) {
        DeleteFileA(log.c_str());
        LARGE_INTEGER posted, started, recorded;
        QueryPerformanceCounter(&posted);
        PostMessageA(dialog, WM_USER + 1, 0, 0x8000);
        DWORD processId = 0;
        const DWORD deadline = GetTickCount() + 20000;
        while (!(processId = FindCalculatorProcess()) && GetTickCount() < deadline) Sleep(1);
        QueryPerformanceCounter(&started);
        while (ReadFileText(log).find('\n') == std::string::npos && GetTickCount() < deadline) Sleep(1);
        QueryPerformanceCounter(&recorded);
        if (!processId) {
            std::printf("run %d: no calculator started within 20 s\n", run + 1);
            return 1;
        }
        toProcess.push_back(Milliseconds(posted, started, frequency));
        toCommandLine.push_back(Milliseconds(posted, recorded, frequency));
        EndProcess(processId);
    }
    program.Stop();

    std::printf("launch key (calculator) under Wine, %d runs:\n", kRuns);
    std::printf("  key message posted -> stand-in process started:             median %.1f ms (min %.1f, max %.1f)\n",
                Median(toProcess), *std::min_element(toProcess.begin(), toProcess.end()),
                *std::max_element(toProcess.begin(), toProcess.end()));
    std::printf("  key message posted -> stand-in recorded its command line: median %.1f ms (min %.1f, max %.1f)\n",
                Median(toCommandLine), *std::min_element(toCommandLine.begin(), toCommandLine.end()),
                *std::max_element(toCommandLine.begin(), toCommandLine.end()));
    return 0;
}
