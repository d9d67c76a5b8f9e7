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
    // The foreground process's own executable decides: one process snapshot
    // and at most one module snapshot, not a search of every process for
    // each player.
    HWND foreground = GetForegroundWindow();
    if (!foreground) return PlayerKind::kNone;
    DWORD foregroundProcess = 0;
    GetWindowThreadProcessId(foreground, &foregroundProcess);
    const int kind = foregroundProcess ? FindRunningModule(foregroundProcess, kPlayerModules, kPlayerCount) : -1;
    return kind < 0 ? PlayerKind::kNone : static_cast<PlayerKind>(kind);
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
