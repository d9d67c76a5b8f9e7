// The players the player keys reach, one row each: how the player is told
// (by its executable module, or by the class of its main window), how it is
// asked whether it plays, and what each of the four keys sends it. A player
// told by module takes a chord, which needs its window in front; a player
// told by window class takes a message where it is, nothing restored or
// activated. Adding a player is adding a row.
#pragma once
#include <windows.h>
#include "actions/Chords.h"
#include "actions/WindowTargeting.h"

// The four player keys, in the order of a row's sends.
enum class PlayerKey : int { kNextTrack, kPreviousTrack, kStop, kPlayPause };
const int kPlayerKeyCount = 4;

// What a player says it is doing; kUnknown when it has no way to say, or did
// not answer within kPlayerAnswerLimitMs.
enum class PlayerState : int { kUnknown, kStopped, kPlaying, kPaused };

// How long a player may take to answer before the key gives up on it: a
// hung player must not hang the keys.
const UINT kPlayerAnswerLimitMs = 200;

// What one key sends one player: its chord, or the wParam of the message
// posted to it by what the player is doing (the same three for a key that
// does not care); 0 for nothing.
struct PlayerSend {
    const KeyChord* chord;
    WPARAM whileStopped, whilePlaying, whilePaused;
};

// The question a player answers with what it is doing: sent with these
// parameters, its answer read by stateOf.
struct PlayerQuestion {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    PlayerState (*stateOf)(LRESULT answer);
};

struct PlayerRow {
    const char* module;              // told by its executable module, searched for by it; or null
    TitleRule titleRule;             // which of its windows the search brings to the front
    const char* windowClass;         // told by its main window's class; or null
    UINT message;                    // what its commands are posted as
    const PlayerQuestion* question;  // null: it cannot say
    PlayerSend sends[kPlayerKeyCount];
};

// The players told by module come first, in the order of PlayerKind, which
// is the order of the search; then those told by window class, in the order
// in which they are asked and tried.
const int kPlayerRowCount = 6;
extern const PlayerRow kPlayers[kPlayerRowCount];

// Which of the players told by module owns the foreground window; the value
// is its row. Told from that process alone.
enum class PlayerKind : int {
    kCdPlayer = 0,   // "CDPLAYER.EXE"
    kWmplayer = 1,   // "WMPLAYER.EXE"
    kMplayer2 = 2,   // "MPLAYER2.EXE"
    kNone = 255,
};
PlayerKind IdentifyForegroundPlayer();

// The row of the player that owns the foreground window, or null; for a
// player told by window class, *window is its main window (any window of
// its process may be in front).
const PlayerRow* PlayerInFront(HWND* window);
// The first main window of a player told by window class, or NULL.
HWND FindPlayerWindow(const PlayerRow& player);
// What the player says it is doing, asked with a time limit.
PlayerState AskPlayerState(const PlayerRow& player, HWND window);
// Whether what the key sends the player depends on what it is doing.
bool NeedsState(const PlayerRow& player, PlayerKey key);
// Sends the key's chord to the window in front, or posts its command to
// the player's window; false when there is nothing to send, as for a
// command that depends on a state that is unknown: a guess could start what
// the user meant to pause.
bool SendKeyToPlayer(const PlayerRow& player, HWND window, PlayerKey key, PlayerState state);
