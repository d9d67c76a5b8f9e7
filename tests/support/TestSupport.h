// What the tests share: paths into the build folder, waiting for conditions,
// one message pump, programs started and ended, their windows, the registry.
#pragma once
#include <windows.h>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace mmk_test {

// A file of this machine as Wine sees it.
std::string WinePath(const std::string& path);
// A file of the build folder ("MMKeyboard.exe", "stubs\\calc.exe"), as Wine
// sees it.
std::string BuildFile(const std::string& relative);
std::string WindowsDirectory();

// Polls, dispatching this thread's messages meanwhile, until the condition
// holds or the time is up; whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// Dispatches this thread's messages for the given time.
void Pump(DWORD milliseconds);

typedef std::initializer_list<std::pair<const char*, const char*>> Environment;

// A process started by a test, ended (if still running) when it goes.
class RunningProgram {
public:
    RunningProgram() { ZeroMemory(&m_info, sizeof m_info); }
    ~RunningProgram() { Stop(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The environment entries are set for the child alone.
    bool Start(const std::string& exePath, const std::string& arguments = "", Environment environment = {});
    // Ends it, and first the programs it started.
    void Stop();
    bool HasExited(DWORD waitMs = 0) const;
    // Waits until the program's window thread waits for input: done with
    // what its start-up asked of it.
    bool WaitIdle(DWORD timeoutMs = 10000) const;
    DWORD ProcessId() const { return m_info.dwProcessId; }

private:
    PROCESS_INFORMATION m_info;
};

// The running processes that the process started, by id and file name.
struct ChildProcess {
    DWORD id;
    std::string exeName;
};
std::vector<ChildProcess> ChildProcesses(DWORD processId);
void EndProcess(DWORD processId);
// The one way a test ends the programs that were started for it: those that
// the process started (the programs that its keys started), except Wine's
// own, which the first program to need them starts (the desktop's
// explorer.exe, whose name the My Computer stand-in has too).
void EndProgramsStartedBy(DWORD processId);

// The first top-level window of the process whose class and title (either
// may be NULL: any) match exactly; hidden windows count.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title);
// A visible dialog box of the process other than one titled `except`: a
// message box, the About box.
HWND FindShownDialog(DWORD processId, const char* except);
// The text of a message box.
std::string MessageBoxText(HWND box);

// Registry values as raw bytes: REG_SZ text is written without an added
// zero, so give it one ("text" + '\0') unless the test means otherwise.
bool SetRegistryValue(HKEY root, const char* key, const char* name, const std::string& bytes, DWORD type = REG_SZ);
bool SetRegistryText(HKEY root, const char* key, const char* name, const std::string& text);
// All bytes of a value, or "(none)" when it is absent.
std::string RegistryValue(HKEY root, const char* key, const char* name);
bool DeleteRegistryTree(HKEY root, const char* key);

std::string ReadFileText(const std::string& path);
bool CopyFileOver(const std::string& from, const std::string& to);

}  // namespace mmk_test
