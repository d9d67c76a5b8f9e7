#include "actions/WindowTargeting.h"
#include <string.h>

// The window search: the first top-level window of FoundProcessId whose
// title passes TitleFilter. EnumWindows could hand the callback a context
// of ours; it is given 0 instead, and the callback reads the process-wide
// state that AimAtProgram set just before the search and writes its find
// into TargetWindow, where the activation and the caller look for it.
//
// Every thread with windows on a Far East system (and on Wine) also owns a
// hidden top-level "Default IME" window of the system's IME class. It has a
// title, but it is not the program's window: aimed at, it would be shown and
// take the chord. It is passed over, so that a program whose own windows
// are all untitled still yields no window.

void FindTargetWindow()
{
    EnumWindows(EnumTargetWindowProc, 0);
}

static bool IsImeWindow(HWND window)
{
    char className[8];
    return GetClassNameA(window, className, sizeof className) > 0 && lstrcmpiA(className, "IME") == 0;
}

static bool TitleQualifies(const char* title)
{
    switch (TitleFilter) {
    case TitleRule::kAnyTitle: return true;
    case TitleRule::kMediaPlayer: return strstr(title, "Windows Media Player") != NULL;
    case TitleRule::kInternetExplorer: return strstr(title, "Microsoft Internet Explorer") != NULL;
    default: return false;
    }
}

BOOL CALLBACK EnumTargetWindowProc(HWND window, LPARAM)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != FoundProcessId) return TRUE;

    char title[500];
    if (GetWindowTextA(window, title, sizeof title) <= 0) return TRUE;
    if (!TitleQualifies(title) || IsImeWindow(window)) return TRUE;

    TargetWindow.handle = window;
    TargetWindow.showState = ShowState::kNormal;
    if (IsIconic(window)) TargetWindow.showState = ShowState::kMinimised;
    if (IsZoomed(window)) TargetWindow.showState = ShowState::kMaximised;
    return FALSE;
}
