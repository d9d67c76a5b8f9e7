#include "actions/PlayerTable.h"
#include <string.h>
#include "actions/ForegroundProgram.h"

namespace {

constexpr PlayerSend Chord(const KeyChord& chord) { return { &chord, 0, 0, 0 }; }
constexpr PlayerSend Command(WPARAM id) { return { 0, id, id, id }; }
constexpr PlayerSend ByState(WPARAM whileStopped, WPARAM whilePlaying, WPARAM whilePaused)
{
    return { 0, whileStopped, whilePlaying, whilePaused };
}
constexpr PlayerSend kNothing = { 0, 0, 0, 0 };

// Winamp: WM_USER with lParam 104 answers 0 stopped, 1 playing, 3 paused.
PlayerState WinampState(LRESULT answer)
{
    return answer == 0 ? PlayerState::kStopped
         : answer == 1 ? PlayerState::kPlaying
         : answer == 3 ? PlayerState::kPaused : PlayerState::kUnknown;
}
const PlayerQuestion kWinampIsPlaying = { WM_USER, 0, 104, WinampState };

// Apollo takes everything as one message, the command in wParam's low
// word; command 1 answers 0 stopped, 1 playing, 2 paused.
const UINT kApolloMessage = WM_USER + 3;
PlayerState ApolloState(LRESULT answer)
{
    return answer == 0 ? PlayerState::kStopped
         : answer == 1 ? PlayerState::kPlaying
         : answer == 2 ? PlayerState::kPaused : PlayerState::kUnknown;
}
const PlayerQuestion kApolloStatus = { kApolloMessage, 1, 0, ApolloState };

// QCD has no status message; the current track's (lParam -1) elapsed time
// in milliseconds is above 0 while it plays or is paused. It cannot tell
// one from the other, and needs not: its pause command serves both.
PlayerState QcdState(LRESULT answer)
{
    const LONG elapsedMs = static_cast<LONG>(answer);
    return elapsedMs == 0 ? PlayerState::kStopped : elapsedMs > 0 ? PlayerState::kPlaying : PlayerState::kUnknown;
}
const PlayerQuestion kQcdElapsed = { WM_USER + 1065, 0, -1, QcdState };

bool RunsIn(HWND window, DWORD processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

}  // namespace

// Sends in the order of PlayerKey: next track, previous track, stop,
// play/pause.
const PlayerRow kPlayers[kPlayerRowCount] = {
    { "CDPLAYER.EXE", TitleRule::kAnyTitle, NULL, 0, NULL,
      { Chord(kCdNextTrackChord), Chord(kCdPreviousTrackChord), Chord(kCdWmplayerStopChord),
        Chord(kCdWmplayerPlayPauseChord) } },
    { "WMPLAYER.EXE", TitleRule::kMediaPlayer, NULL, 0, NULL,
      { Chord(kWmplayerNextTrackChord), Chord(kWmplayerPreviousTrackChord), Chord(kCdWmplayerStopChord),
        Chord(kCdWmplayerPlayPauseChord) } },
    // It cannot skip tracks: with it in front, those keys look elsewhere.
    { "MPLAYER2.EXE", TitleRule::kMediaPlayer, NULL, 0, NULL,
      { kNothing, kNothing, Chord(kMplayer2StopChord), Chord(kMplayer2PlayPauseChord) } },
    // Winamp's pause also resumes.
    { NULL, TitleRule::kAnyTitle, "Winamp v1.x", WM_COMMAND, &kWinampIsPlaying,
      { Command(40048), Command(40044), Command(40047), ByState(40045, 40046, 40046) } },
    { NULL, TitleRule::kAnyTitle, "Apollo - Main Window", kApolloMessage, &kApolloStatus,
      { Command(14), Command(10), Command(11), ByState(12, 13, 12) } },
    { NULL, TitleRule::kAnyTitle, "PlayerCanvas", WM_COMMAND, &kQcdElapsed,
      { Command(40013), Command(40012), Command(40014), ByState(40016, 40015, 40015) } },
};

PlayerKind IdentifyForegroundPlayer()
{
    // The module's name as the process lookup compares it: exactly, with
    // case. The program in front is told once while its process lives.
    char module[MAX_MODULE_NAME32 + 1];
    if (!ForegroundProgramModule(module)) return PlayerKind::kNone;
    for (int row = 0; row < kPlayerRowCount && kPlayers[row].module; ++row)
        if (strcmp(module, kPlayers[row].module) == 0) return static_cast<PlayerKind>(row);
    return PlayerKind::kNone;
}

const PlayerRow* PlayerInFront(HWND* window)
{
    // The window classes first: a look at them costs nothing, where a
    // program that has just come to the front is told by a module snapshot.
    const DWORD processId = ForegroundProcessId();
    for (const PlayerRow& player : kPlayers) {
        if (!player.windowClass || !processId) continue;
        for (HWND main = FindWindowExA(NULL, NULL, player.windowClass, NULL); main;
             main = FindWindowExA(NULL, main, player.windowClass, NULL))
            if (RunsIn(main, processId)) return *window = main, &player;
    }
    *window = NULL;
    const PlayerKind kind = IdentifyForegroundPlayer();
    return kind == PlayerKind::kNone ? NULL : &kPlayers[static_cast<int>(kind)];
}

HWND FindPlayerWindow(const PlayerRow& player)
{
    return player.windowClass ? FindWindowA(player.windowClass, NULL) : NULL;
}

PlayerState AskPlayerState(const PlayerRow& player, HWND window)
{
    if (!player.question) return PlayerState::kUnknown;
    // Sent, not posted: the answer is needed. The time limit keeps a hung
    // player from hanging the user-interface thread with it.
    const PlayerQuestion& question = *player.question;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, question.message, question.wParam, question.lParam, SMTO_ABORTIFHUNG,
                             kPlayerAnswerLimitMs, &answer))
        return PlayerState::kUnknown;
    return question.stateOf(static_cast<LRESULT>(answer));
}

bool NeedsState(const PlayerRow& player, PlayerKey key)
{
    const PlayerSend& send = player.sends[static_cast<int>(key)];
    return send.whileStopped != send.whilePlaying || send.whilePlaying != send.whilePaused;
}

bool SendKeyToPlayer(const PlayerRow& player, HWND window, PlayerKey key, PlayerState state)
{
    const PlayerSend& send = player.sends[static_cast<int>(key)];
    if (send.chord) {
        SendChord(*send.chord);
        return true;
    }
    WPARAM id = send.whileStopped;
    if (NeedsState(player, key)) {
        switch (state) {
        case PlayerState::kStopped: id = send.whileStopped; break;
        case PlayerState::kPlaying: id = send.whilePlaying; break;
        case PlayerState::kPaused: id = send.whilePaused; break;
        default: return false;
        }
    }
    // Posted, never sent: the player takes it when it can, and the keys go on.
    return id && PostMessageA(window, player.message, id, 0) != FALSE;
}
