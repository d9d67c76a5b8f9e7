#include "actions/WinampCommands.h"

namespace {

const char kWinampWindowClass[] = "Winamp v1.x";

// The WM_COMMAND identifiers Winamp's main window answers to.
const WPARAM kPreviousTrack = 40044;
const WPARAM kPlay = 40045;
const WPARAM kPause = 40046;  // also resumes when paused
const WPARAM kStop = 40047;
const WPARAM kNextTrack = 40048;

// WM_USER with this LPARAM asks whether Winamp plays; it answers 0 when
// stopped, 1 when playing and 3 when paused.
const LPARAM kIsPlaying = 104;
const LRESULT kStopped = 0;

}  // namespace

const WinampCommand kWinampNextTrack = { kNextTrack, kNextTrack };
const WinampCommand kWinampPreviousTrack = { kPreviousTrack, kPreviousTrack };
const WinampCommand kWinampStop = { kStop, kStop };
const WinampCommand kWinampPlayPause = { kPlay, kPause };

HWND FindWinampWindowOf(DWORD processId)
{
    if (!processId) return NULL;
    for (HWND window = FindWindowExA(NULL, NULL, kWinampWindowClass, NULL); window;
         window = FindWindowExA(NULL, window, kWinampWindowClass, NULL)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return NULL;
}

HWND FindWinampWindow()
{
    return FindWindowA(kWinampWindowClass, NULL);
}

bool SendWinampCommand(HWND winamp, const WinampCommand& command)
{
    WPARAM id = command.whileStopped;
    if (command.whilePlayingOrPaused != command.whileStopped) {
        // Sent, not posted: the answer is needed. The time limit keeps a
        // hung Winamp from hanging the user-interface thread with it.
        DWORD_PTR state = 0;
        if (!SendMessageTimeoutA(winamp, WM_USER, 0, kIsPlaying, SMTO_ABORTIFHUNG, kWinampAnswerLimitMs, &state))
            return false;
        if (static_cast<LRESULT>(state) != kStopped) id = command.whilePlayingOrPaused;
    }
    return PostMessageA(winamp, WM_COMMAND, id, 0) != FALSE;
}
