#include "actions/ProcessLookup.h"
#include "actions/ToolhelpMatch.h"

// Thin walks over real snapshots; the rules live in ToolhelpMatch.h.
namespace {

struct ProcessSnapshotWalk {
    HANDLE snapshot;
    bool First(PROCESSENTRY32* entry) { return Process32First(snapshot, entry) != FALSE; }
    bool Next(PROCESSENTRY32* entry) { return Process32Next(snapshot, entry) != FALSE; }
};

struct ModuleSnapshotWalk {
    HANDLE snapshot;
    bool First(MODULEENTRY32* entry) { return Module32First(snapshot, entry) != FALSE; }
    bool Next(MODULEENTRY32* entry) { return Module32Next(snapshot, entry) != FALSE; }
};

}  // namespace

bool FindModuleEntry(DWORD processId, DWORD moduleId, MODULEENTRY32* found)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    ModuleSnapshotWalk walk = { snapshot };
    const bool matched = MatchExecutableModule(walk, moduleId, found);
    CloseHandle(snapshot);
    return matched;
}

DWORD FindProcessByModule(const char* moduleName)
{
    DWORD processId = 0;
    FindProcessesByModules(&moduleName, 1, &processId);
    return processId;
}

void FindProcessesByModules(const char* const* moduleNames, int count, DWORD* processIds)
{
    for (int i = 0; i < count; ++i) processIds[i] = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    ProcessSnapshotWalk walk = { snapshot };
    MatchModules(walk, FindModuleEntry, moduleNames, count, processIds);
    CloseHandle(snapshot);
}

// The module identifier in a process's own entry, the walk ending there.
static bool FindProcessModuleId(DWORD processId, DWORD* moduleId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry;
    ZeroMemory(&entry, sizeof entry);
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID != processId) continue;
        *moduleId = entry.th32ModuleID;
        found = true;
        break;
    }
    CloseHandle(snapshot);
    return found;
}

bool FindExecutableModule(DWORD processId, MODULEENTRY32* found)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    ModuleSnapshotWalk walk = { snapshot };
    const bool matched = MatchProcessExecutable(walk, FindProcessModuleId, processId, found);
    CloseHandle(snapshot);
    return matched;
}
