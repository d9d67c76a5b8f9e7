// Window targeting: which player owns the foreground window, which process
// runs a module, and the finding, restoring and activating of its window.
// Plain functions over process-wide state; the user-interface thread alone
// comes here, so the state needs no lock.
#pragma once
#include <windows.h>

// Which of the three players owns the foreground window; the value is the
// player's position in the player table.
enum PlayerKind {
    PlayerCd = 0,         // "CDPLAYER.EXE"
    PlayerWmplayer = 1,   // "WMPLAYER.EXE"
    PlayerMplayer2 = 2,   // "MPLAYER2.EXE"
    PlayerNone = 255,
};

const int PlayerCount = 3;
// The player table: executable module names by PlayerKind.
extern const char* const PlayerModules[PlayerCount];

// Which windows of the found process qualify in a window search.
enum {
    TitleAny = 0,             // any window whose title is not empty
    TitleMediaPlayer = 1,     // title contains "Windows Media Player"
    TitleInternetExplorer = 2 // title contains "Microsoft Internet Explorer"
};

// How the target window was shown when it was found.
enum { ShowNormal = 0, ShowMinimised = 1, ShowMaximised = 2 };

struct TargetWindowRecord {
    HWND handle;
    int showState;
};

extern DWORD FoundProcessId;            // process of the last AimAtProgram lookup
extern LONG TitleFilter;                // filter of the last window search
extern TargetWindowRecord TargetWindow; // window of the last search, or null

// How long activation keeps trying before the key gives up on its chord.
const DWORD ActivationLimitMs = 1000;

enum AimOutcome { AimNoProcess, AimNoWindow, AimNotActivated, AimActivated };

// Forgets the window found by an earlier key.
void ClearTargetWindow();

bool ForegroundTitleContains(const char* text);
PlayerKind IdentifyForegroundPlayer();

// EnumWindows over EnumTargetWindowProc: sets TargetWindow to the first
// window of FoundProcessId that passes TitleFilter.
void FindTargetWindow();
BOOL CALLBACK EnumTargetWindowProc(HWND window, LPARAM unused);

// Restores TargetWindow and brings it to the foreground; false when it is
// still not the foreground window after ActivationLimitMs.
bool ActivateTargetWindow();

// Finds the process running moduleName, its window by titleFilter, and
// activates that window.
AimOutcome AimAtProgram(const char* moduleName, LONG titleFilter);
