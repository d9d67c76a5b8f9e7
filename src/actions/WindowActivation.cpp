#include "actions/WindowTargeting.h"

// Brings the target window to the foreground, where the synthesised chord
// will land. Restoring first matters: a minimised window can be made the
// foreground window and still not show or take keys usefully, and a normal
// window behind others is minimised and restored to lift it to the top.
//
// The platform may refuse the foreground for good (the window was destroyed
// after the search, or it can never be activated); retrying without end
// would freeze the user interface, so activation gives up after about a
// second and the key then sends nothing: a chord typed into whatever window
// happens to be in front is worse than no chord.

static void RestoreTargetWindow()
{
    switch (TargetWindow.showState) {
    case ShowState::kNormal:
        ShowWindow(TargetWindow.handle, SW_MINIMIZE);
        ShowWindow(TargetWindow.handle, SW_SHOWNORMAL);
        break;
    case ShowState::kMinimised:
        ShowWindow(TargetWindow.handle, SW_SHOWNORMAL);
        break;
    case ShowState::kMaximised:
        ShowWindow(TargetWindow.handle, SW_SHOWNORMAL);
        ShowWindow(TargetWindow.handle, SW_SHOWMAXIMIZED);
        break;
    default:
        break;
    }
}

bool ActivateTargetWindow()
{
    HWND target = TargetWindow.handle;
    if (GetForegroundWindow() == target) return true;
    RestoreTargetWindow();

    const DWORD start = GetTickCount();
    while (GetForegroundWindow() != target) {
        if (!IsWindow(target) || GetTickCount() - start >= kActivationLimitMs) return false;
        SetForegroundWindow(target);
        if (GetForegroundWindow() == target) break;
        // The owner of the window may need a moment to take the activation.
        Sleep(10);
    }
    return true;
}
