#include "actions/WindowTargeting.h"
#include "actions/ProcessLookup.h"
#include <string.h>

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

DWORD ForegroundProcessId()
{
    HWND foreground = GetForegroundWindow();
    DWORD processId = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &processId);
    return processId;
}

AimOutcome AimAtProgram(const char* moduleName, TitleRule titleFilter)
{
    return AimAtProcess(FindProcessByModule(moduleName), titleFilter);
}

AimOutcome AimAtProcess(DWORD processId, TitleRule titleFilter)
{
    FoundProcessId = processId;
    if (FoundProcessId == 0) return AimOutcome::kNoProcess;
    TitleFilter = titleFilter;
    FindTargetWindow();
    if (!TargetWindow.handle) return AimOutcome::kNoWindow;
    return ActivateTargetWindow() ? AimOutcome::kActivated : AimOutcome::kNotActivated;
}
