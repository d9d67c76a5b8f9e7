// The matching rules of the process lookup, kept apart from the toolhelp
// calls so that they run the same over a real snapshot and over a table of
// records. A "walk" is anything with First(entry) and Next(entry) that fill
// the entry and return false at the end, as Process32First/Next and
// Module32First/Next do.
//
// Two shapes of snapshot exist. Windows 98 names each process's executable
// module by PROCESSENTRY32.th32ModuleID, and that module carries the same
// identifier in the process's module snapshot. Windows NT, and Wine even when
// it reports Windows 98, leave th32ModuleID 0 in every process entry and 1 in
// every module entry, so that match never succeeds. There the executable is
// the first module of the process's own snapshot; a process entry with
// identifier 0 therefore takes the first module.
#pragma once
#include <windows.h>
#include <tlhelp32.h>
#include <string.h>
#include "fw/FileNames.h"

#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "single-byte PROCESSENTRY32 of 32-bit Windows");
static_assert(sizeof(MODULEENTRY32) == 548, "single-byte MODULEENTRY32 of 32-bit Windows");
#endif

// Finds the module that names a process in that process's module walk and
// copies it whole to *found.
template <class ModuleWalk>
bool MatchExecutableModule(ModuleWalk& modules, DWORD processModuleId, MODULEENTRY32* found)
{
    MODULEENTRY32 entry;
    ZeroMemory(&entry, sizeof entry);
    entry.dwSize = sizeof entry;
    DWORD position = 0;
    for (bool more = modules.First(&entry); more; more = modules.Next(&entry), ++position) {
        const bool named = entry.th32ModuleID == processModuleId || (processModuleId == 0 && position == 0);
        if (named) {
            CopyMemory(found, &entry, sizeof entry);
            return true;
        }
    }
    return false;
}

// The file name of a process entry's executable: Windows 98 gives its whole
// path in szExeFile, NT and Wine the name alone.
inline const char* ExeFileName(const PROCESSENTRY32& entry) { return FileNameOf(entry.szExeFile); }

// Whether the process may run moduleName, judged from its process entry
// alone: its executable module is its own file, so a file of another name
// rules it out without the cost of a module snapshot. File names ignore
// case; the module name is then compared with case. An entry without a file
// name proves nothing and is looked at closely.
inline bool MayRunModule(const PROCESSENTRY32& entry, const char* moduleName)
{
    const char* fileName = ExeFileName(entry);
    return !fileName[0] || lstrcmpiA(fileName, moduleName) == 0;
}

// One walk over the processes for several module names at once: into
// processIds, the process whose executable module has each name, compared
// byte for byte with case (0 for none); the walk goes on after a match, so
// of several copies the one that comes last in the snapshot wins. Walking a
// snapshot costs time that grows with the processes (Wine asks its server
// for every entry), so a key that looks for several programs walks once.
// findModule(processId, moduleId, MODULEENTRY32*) gives the naming module.
template <class ProcessWalk, class ModuleFinder>
void MatchModules(ProcessWalk& processes, ModuleFinder findModule, const char* const* names, int count,
                  DWORD* processIds)
{
    for (int i = 0; i < count; ++i) processIds[i] = 0;
    PROCESSENTRY32 entry;
    ZeroMemory(&entry, sizeof entry);
    entry.dwSize = sizeof entry;
    for (bool more = processes.First(&entry); more; more = processes.Next(&entry)) {
        bool mayRunOne = false;
        for (int i = 0; i < count; ++i) mayRunOne = mayRunOne || MayRunModule(entry, names[i]);
        MODULEENTRY32 module;
        if (!mayRunOne || !findModule(entry.th32ProcessID, entry.th32ModuleID, &module)) continue;
        for (int i = 0; i < count; ++i)
            if (strcmp(module.szModule, names[i]) == 0) processIds[i] = entry.th32ProcessID;
    }
}

// The executable module of one known process, from that process's own
// module walk, so that its cost does not grow with the other processes. In
// the NT and Wine shape every module carries the same identifier, and the
// executable is the first. Only the Windows 98 shape, where identifiers
// differ, needs the identifier from the process's own entry, which
// processModuleId(processId, DWORD*) looks up; Windows 98 walks a snapshot
// held in memory, with no server to ask for every entry.
template <class ModuleWalk, class ProcessModuleIdFinder>
bool MatchProcessExecutable(ModuleWalk& modules, ProcessModuleIdFinder processModuleId, DWORD processId,
                            MODULEENTRY32* found)
{
    MODULEENTRY32 entry;
    ZeroMemory(&entry, sizeof entry);
    entry.dwSize = sizeof entry;
    if (!modules.First(&entry)) return false;
    const DWORD firstId = entry.th32ModuleID;
    bool sharedId = true;
    while (sharedId && modules.Next(&entry)) sharedId = entry.th32ModuleID == firstId;
    DWORD executableId = 0;  // 0 takes the first module
    if (!sharedId && !processModuleId(processId, &executableId)) return false;
    return MatchExecutableModule(modules, executableId, found);
}
