// The browser keys (back, forward, stop, refresh, favourites) and the player
// keys (next, previous, stop, play/pause): each aims a command at its
// program. A program that is not running is never started: its key does
// nothing.
#pragma once
#include <windows.h>
#include "actions/Chords.h"
#include "actions/PlayerTable.h"

// What a browser key sends, and whether a browser that has no window is
// said out loud (only Favourites does).
struct BrowserCommand {
    const KeyChord* chord;
    bool saysNotFound;
};

// messageOwner owns the "not found" box.
void BrowserKey(HWND messageOwner, const BrowserCommand& command);
// The player key goes to the first of: the player in front; a player that
// says it plays or is paused, where it is; the player the search finds and
// brings to the front; any other player that takes commands where it is.
void PressPlayerKey(PlayerKey key);
