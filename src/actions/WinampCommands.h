// Winamp takes the player keys as commands to its main window, so a key
// reaches it without a chord and without bringing it to the front: the
// user's window stays where it is.
#pragma once
#include <windows.h>

// How long Winamp may take to say whether it plays before the key gives up;
// a hung Winamp must not hang the keys.
const UINT kWinampAnswerLimitMs = 200;

// The WM_COMMAND identifier a player key posts, by what Winamp is doing when
// the key comes; one identifier for both when the key does not care.
struct WinampCommand {
    WPARAM whileStopped;
    WPARAM whilePlayingOrPaused;
};

extern const WinampCommand kWinampNextTrack;
extern const WinampCommand kWinampPreviousTrack;
extern const WinampCommand kWinampStop;
extern const WinampCommand kWinampPlayPause;  // play when stopped, else pause (which also resumes)

// Winamp's main window in the given process (any of its windows may be in
// front: the playlist, the equaliser); NULL when the process has none.
HWND FindWinampWindowOf(DWORD processId);
// The first Winamp main window found, whichever process owns it; or NULL.
HWND FindWinampWindow();

// Posts the command to Winamp's main window; false when play/pause needed
// Winamp's state and it did not answer within kWinampAnswerLimitMs: a
// guessed command could start what the user meant to pause.
bool SendWinampCommand(HWND winamp, const WinampCommand& command);
