#include "actions/BrowserPlayerKeys.h"
#include "actions/ProcessLookup.h"
#include "fw/WinApp.h"

namespace {

// The players a key searches for when none in the foreground can take it,
// in the order of PlayerKind: a running CD player is preferred. Winamp, which
// needs no window search, comes after them.
TitleRule PlayerTitleFilter(PlayerKind kind)
{
    return kind == PlayerKind::kCdPlayer ? TitleRule::kAnyTitle : TitleRule::kMediaPlayer;
}

const KeyChord* ChordFor(const PlayerCommand& command, PlayerKind kind)
{
    const int index = static_cast<int>(kind);
    return index >= 0 && index < kPlayerCount ? command.chords[index] : 0;
}

}  // namespace

void BrowserKey(HWND messageOwner, const BrowserCommand& command)
{
    if (!ForegroundTitleContains("Microsoft Internet Explorer")) {
        switch (AimAtProgram("IEXPLORE.EXE", TitleRule::kInternetExplorer)) {
        case AimOutcome::kActivated:
            break;
        case AimOutcome::kNoWindow:
            if (command.saysNotFound) MessageBoxA(messageOwner, "not found", AppName(), MB_OK);
            return;
        default:
            return;
        }
    }
    SendChord(*command.chord);
}

void PlayerKey(const PlayerCommand& command)
{
    // Winamp in front is asked first: one look at its window class, where
    // telling the other players costs a module snapshot. Any window of its
    // process may be in front; the command goes to its main window.
    if (HWND winamp = FindWinampWindowOf(ForegroundProcessId())) {
        SendWinampCommand(winamp, *command.winamp);
        return;
    }
    if (const KeyChord* chord = ChordFor(command, IdentifyForegroundPlayer())) {
        SendChord(*chord);
        return;
    }
    // One walk over the processes tells every player's process.
    DWORD playerProcesses[kPlayerCount];
    FindProcessesByModules(kPlayerModules, kPlayerCount, playerProcesses);
    for (int i = 0; i < kPlayerCount; ++i) {
        const PlayerKind kind = static_cast<PlayerKind>(i);
        const KeyChord* chord = command.chords[i];
        if (!chord) continue;  // MPLAYER2.EXE, which cannot skip tracks, is not looked for
        switch (AimAtProcess(playerProcesses[i], PlayerTitleFilter(kind))) {
        case AimOutcome::kNoProcess:
            continue;
        case AimOutcome::kActivated:
            SendChord(*chord);
            return;
        default:
            // No window, or one that would not come to the front: the later
            // players are not tried.
            return;
        }
    }
    // Last, so that users of the other players see no change; Winamp takes
    // its command where it is, nothing is restored or activated.
    if (HWND winamp = FindWinampWindow()) SendWinampCommand(winamp, *command.winamp);
}
