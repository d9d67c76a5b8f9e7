// Which running process executes a given module, through toolhelp snapshots.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

// The process whose executable module is called moduleName (exactly, with
// case), the last one in the snapshot when several are; 0 when none.
DWORD FindProcessByModule(const char* moduleName);

// The same for several names in one process snapshot, each name's process
// into processIds.
void FindProcessesByModules(const char* const* moduleNames, int count, DWORD* processIds);

// The executable module of one process, found without walking the others
// where the platform allows; false when it cannot be read.
bool FindExecutableModule(DWORD processId, MODULEENTRY32* found);

// The module of a process that carries the module identifier (or, for the
// identifier 0, the process's executable); false when there is none.
bool FindModuleEntry(DWORD processId, DWORD moduleId, MODULEENTRY32* found);
