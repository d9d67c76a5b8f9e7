// The browser keys (back, forward, stop, refresh, favourites) and the player
// keys (next, previous, stop, play/pause): each aims a command at its
// program. A program that is not running is never started: its key does
// nothing.
#pragma once
#include <windows.h>
#include "actions/Chords.h"
#include "actions/WinampCommands.h"
#include "actions/WindowTargeting.h"

// What a browser key sends, and whether a browser that has no window is
// said out loud (only Favourites does).
struct BrowserCommand {
    const KeyChord* chord;
    bool saysNotFound;
};

// What a player key sends: each player's chord by PlayerKind (null where
// the player has none, and is then not searched for) and Winamp's command.
struct PlayerCommand {
    const KeyChord* chords[kPlayerCount];
    const WinampCommand* winamp;
};

// messageOwner owns the "not found" box.
void BrowserKey(HWND messageOwner, const BrowserCommand& command);
void PlayerKey(const PlayerCommand& command);
