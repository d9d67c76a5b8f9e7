// Helpers for tests that run real programs under Wine: paths into the build
// folder, starting and ending processes, finding their windows, waiting.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace mmk_test {

// A Linux path as Wine sees it (Z:\...).
std::string WinPath(const std::string& linuxPath);
// A file of the build folder (MMKeyboard.exe, stubs\IEXPLORE.EXE, ...).
std::string BuildFile(const std::string& relative);

// Polls until the condition holds or the time is up; true if it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);

// A process started by a test and ended (if still running) when it goes.
class RunningProgram {
public:
    RunningProgram() { ZeroMemory(&info_, sizeof info_); }
    ~RunningProgram() { Stop(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // commandLine may be empty; then the program gets its quoted path alone.
    bool Start(const std::string& exePath, const std::string& arguments = "");
    void Stop();
    bool HasExited(DWORD waitMs = 0) const;
    DWORD ExitCode() const;
    DWORD ProcessId() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_;
};

// The first top-level window of the process whose class (if given) and
// title (if given) match exactly; hidden windows count too.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title);
// Any visible top-level window of the process.
HWND FindVisibleProcessWindow(DWORD processId);

// Deletes a registry key and everything below it; true if it is gone.
bool DeleteRegistryTree(HKEY root, const char* subKey);

std::string ReadFileText(const std::string& path);

// Ends every process whose executable has this file name (e.g. "calc.exe").
void EndProcessesNamed(const char* exeName);
std::string WindowsDirectory();
bool CopyFileOver(const std::string& from, const std::string& to);

}  // namespace mmk_test
