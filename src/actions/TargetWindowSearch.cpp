#include "actions/WindowTargeting.h"
#include <string.h>

// The window search: the first top-level window of FoundProcessId whose
// title passes TitleFilter. EnumWindows hands its callback no context of
// ours (the value is 0), so the callback works on the process-wide state.
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
    case TitleAny: return true;
    case TitleMediaPlayer: return strstr(title, "Windows Media Player") != NULL;
    case TitleInternetExplorer: return strstr(title, "Microsoft Internet Explorer") != NULL;
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
    TargetWindow.showState = ShowNormal;
    if (IsIconic(window)) TargetWindow.showState = ShowMinimised;
    if (IsZoomed(window)) TargetWindow.showState = ShowMaximised;
    return FALSE;
}
