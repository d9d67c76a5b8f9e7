#include "actions/WinampCommands.h"
#include "keyboard/KeyCodes.h"

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

// The command per player key, by what Winamp is doing when it comes.
struct WinampCommand {
    DWORD keyCode;
    WPARAM whileStopped;
    WPARAM whilePlayingOrPaused;
};

const WinampCommand kWinampCommands[] = {
    { kKeyNextTrack, kNextTrack, kNextTrack },
    { kKeyPreviousTrack, kPreviousTrack, kPreviousTrack },
    { kKeyMediaStop, kStop, kStop },
    { kKeyPlayPause, kPlay, kPause },
};

}  // namespace

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

bool SendWinampCommand(HWND winamp, DWORD keyCode)
{
    for (const WinampCommand& command : kWinampCommands) {
        if (command.keyCode != keyCode) continue;
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
    return false;
}
