// Window targeting: which process runs a module, and the finding, restoring
// and activating of its window; what is in the foreground.
// Plain functions over process-wide state; the user-interface thread alone
// comes here, so the state needs no lock.
#pragma once
#include <windows.h>

// Which windows of the found process qualify in a window search; any other
// value lets none qualify.
enum class TitleRule : LONG {
    kAnyTitle = 0,          // any window whose title is not empty
    kMediaPlayer = 1,       // title contains "Windows Media Player"
    kInternetExplorer = 2,  // title contains "Microsoft Internet Explorer"
};

// How the target window was shown when it was found.
enum class ShowState : int { kNormal = 0, kMinimised = 1, kMaximised = 2 };

struct TargetWindowRecord {
    HWND handle;
    ShowState showState;
};

extern DWORD FoundProcessId;            // process of the last AimAtProgram lookup
extern TitleRule TitleFilter;           // filter of the last window search
extern TargetWindowRecord TargetWindow; // window of the last search, or null

// How long activation keeps trying before the key gives up on its chord.
const DWORD kActivationLimitMs = 1000;

enum class AimOutcome { kNoProcess, kNoWindow, kNotActivated, kActivated };

// Forgets the window found by an earlier key.
void ClearTargetWindow();

bool ForegroundTitleContains(const char* text);
// The process of the foreground window; 0 when there is no such window.
DWORD ForegroundProcessId();

// EnumWindows over EnumTargetWindowProc: sets TargetWindow to the first
// window of FoundProcessId that passes TitleFilter.
void FindTargetWindow();
BOOL CALLBACK EnumTargetWindowProc(HWND window, LPARAM unused);

// Restores TargetWindow and brings it to the foreground; false when it is
// still not the foreground window after kActivationLimitMs.
bool ActivateTargetWindow();

// Finds the process running moduleName, its window by titleFilter, and
// activates that window; AimAtProcess for a process already found (0: none).
AimOutcome AimAtProgram(const char* moduleName, TitleRule titleFilter);
AimOutcome AimAtProcess(DWORD processId, TitleRule titleFilter);
