// Telling a process's executable takes a module snapshot of that process,
// which can take milliseconds; the owner of the foreground window rarely
// changes between two keys, so the last answer is kept with a handle of its
// process. While that handle is open the process identifier cannot be given
// to another process, and a process that has ended is asked again.
#include "actions/ForegroundProgram.h"
#include "actions/ProcessLookup.h"
#include "actions/WindowTargeting.h"
#include "fw/FileNames.h"

namespace {

HANDLE g_process;          // the last process told, held open
DWORD g_processId;
char g_name[kProgramNameSize];
char g_module[MAX_MODULE_NAME32 + 1];

bool StillTheSame(DWORD processId)
{
    DWORD exitCode = 0;
    return g_process && processId == g_processId && GetExitCodeProcess(g_process, &exitCode) &&
           exitCode == STILL_ACTIVE;
}

// The file part of a path; a short name (a path as Windows 98 may report it)
// is made long first, as the file dialog shows it.
void LongFileNameOf(const char* path, char* name)
{
    char longPath[MAX_PATH];
    const DWORD length = GetLongPathNameA(path, longPath, sizeof longPath);
    lstrcpynA(name, FileNameOf(length > 0 && length < sizeof longPath ? longPath : path), kProgramNameSize);
}

// Tells the process that owns the foreground window, unless it is the one
// told last and still runs; false when it cannot be told.
bool TellForegroundProcess()
{
    // With no foreground window there is no process to own it; the module
    // snapshot of process 0 would be this program's own.
    const DWORD processId = ForegroundProcessId();
    if (!processId) return false;
    if (StillTheSame(processId)) return true;
    if (g_process) CloseHandle(g_process);
    g_process = NULL;
    g_processId = 0;
    MODULEENTRY32 module;
    if (!FindExecutableModule(processId, &module)) return false;
    LongFileNameOf(module.szExePath, g_name);
    lstrcpynA(g_module, module.szModule, sizeof g_module);
    g_process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (g_process) g_processId = processId;
    return true;
}

}  // namespace

bool ForegroundProgramName(char* name)
{
    const bool told = TellForegroundProcess();
    lstrcpynA(name, told ? g_name : "", kProgramNameSize);
    return told;
}

bool ForegroundProgramModule(char* module)
{
    const bool told = TellForegroundProcess();
    lstrcpynA(module, told ? g_module : "", MAX_MODULE_NAME32 + 1);
    return told;
}
