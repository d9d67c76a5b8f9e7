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
    FindProcessesByModules(&moduleName, 1, &processId, 0);
    return processId;
}

int FindProcessesByModules(const char* const* moduleNames, int count, DWORD* processIds, DWORD ofProcess)
{
    for (int i = 0; i < count; ++i) processIds[i] = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    ProcessSnapshotWalk walk = { snapshot };
    const int ofIndex = MatchModules(walk, FindModuleEntry, moduleNames, count, processIds, ofProcess);
    CloseHandle(snapshot);
    return ofIndex;
}
