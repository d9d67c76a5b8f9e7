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

}  // namespace

bool ForegroundProgramName(char* name)
{
    name[0] = '\0';
    const DWORD processId = ForegroundProcessId();
    if (!processId) return false;
    if (!StillTheSame(processId)) {
        if (g_process) CloseHandle(g_process);
        g_process = NULL;
        g_processId = 0;
        MODULEENTRY32 module;
        if (!FindExecutableModule(processId, &module)) return false;
        LongFileNameOf(module.szExePath, g_name);
        g_process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
        if (g_process) g_processId = processId;
        lstrcpynA(name, g_name, kProgramNameSize);
        return true;
    }
    lstrcpynA(name, g_name, kProgramNameSize);
    return true;
}
