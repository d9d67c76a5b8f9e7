#include "actions/WindowTargeting.h"
#include "actions/ProcessLookup.h"
#include <string.h>

const char* const kPlayerModules[kPlayerCount] = { "CDPLAYER.EXE", "WMPLAYER.EXE", "MPLAYER2.EXE" };

DWORD FoundProcessId;
TitleRule TitleFilter;
TargetWindowRecord TargetWindow;

void ClearTargetWindow()
{
    TargetWindow.handle = NULL;
}

bool ForegroundTitleContains(const char* text)
{
    // With no foreground window GetWindowTextA would read nothing anyway, but
    // an empty text would then still "occur" in the empty title.
    HWND foreground = GetForegroundWindow();
    if (!foreground) return false;
    char title[500];
    if (GetWindowTextA(foreground, title, sizeof title) <= 0) title[0] = '\0';
    return strstr(title, text) != NULL;
}

PlayerKind IdentifyForegroundPlayer()
{
    // The foreground process's own executable module decides: one module
    // snapshot, not a search of every process for each player.
    HWND foreground = GetForegroundWindow();
    if (!foreground) return PlayerKind::kNone;
    DWORD foregroundProcess = 0;
    GetWindowThreadProcessId(foreground, &foregroundProcess);
    MODULEENTRY32 executable;
    if (foregroundProcess == 0 || !FindExecutableModule(foregroundProcess, &executable)) return PlayerKind::kNone;
    for (int kind = 0; kind < kPlayerCount; ++kind) {
        if (strcmp(executable.szModule, kPlayerModules[kind]) == 0) return static_cast<PlayerKind>(kind);
    }
    return PlayerKind::kNone;
}

AimOutcome AimAtProgram(const char* moduleName, TitleRule titleFilter)
{
    FoundProcessId = FindProcessByModule(moduleName);
    if (FoundProcessId == 0) return AimOutcome::kNoProcess;
    TitleFilter = titleFilter;
    FindTargetWindow();
    if (!TargetWindow.handle) return AimOutcome::kNoWindow;
    return ActivateTargetWindow() ? AimOutcome::kActivated : AimOutcome::kNotActivated;
}
