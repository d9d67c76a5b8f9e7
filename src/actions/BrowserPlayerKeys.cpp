#include "actions/BrowserPlayerKeys.h"
#include "actions/ProcessLookup.h"
#include "fw/WinApp.h"

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

// The order of a player key. The player in front is the one the user looks
// at. Else music that plays wins: people run two players, or leave the CD
// player open, and a key that woke up a silent player while another played
// on would be the wrong one. Only players that can say so are asked, each by
// its window class alone, so no walk over the processes delays them. With
// nothing playing, the search keeps its order (a running CD player first),
// and only then does a player that takes commands where it is get the key,
// so that users of the searched players see no change.
namespace {

// The search over the players told by module, in their order; each
// player looked for only if it has something to send for the key (the movie
// player cannot skip tracks). True when it found a player's process: then
// the key ends there, sent or not, as the later players are not tried.
bool SearchPlayers(PlayerKey key)
{
    const char* modules[kPlayerRowCount];
    int count = 0;
    while (count < kPlayerRowCount && kPlayers[count].module) {
        modules[count] = kPlayers[count].module;
        ++count;
    }
    // One walk over the processes tells every player's process.
    DWORD processes[kPlayerRowCount];
    FindProcessesByModules(modules, count, processes);
    for (int i = 0; i < count; ++i) {
        const PlayerRow& player = kPlayers[i];
        if (!player.sends[static_cast<int>(key)].chord) continue;
        switch (AimAtProcess(processes[i], player.titleRule)) {
        case AimOutcome::kNoProcess:
            continue;
        case AimOutcome::kActivated:
            SendKeyToPlayer(player, NULL, key, PlayerState::kUnknown);
            return true;
        default:
            // No window, or one that would not come to the front.
            return true;
        }
    }
    return false;
}

}  // namespace

void PressPlayerKey(PlayerKey key)
{
    HWND window = NULL;
    if (const PlayerRow* player = PlayerInFront(&window)) {
        const PlayerState state = NeedsState(*player, key) ? AskPlayerState(*player, window) : PlayerState::kUnknown;
        // A player in front with nothing for this key leaves it to the others;
        // one that did not say what it does takes nothing, and no other does.
        if (SendKeyToPlayer(*player, window, key, state) || player->windowClass) return;
    }
    // What each player told by window class said, for the last step.
    HWND windows[kPlayerRowCount] = {};
    PlayerState states[kPlayerRowCount] = {};
    for (int i = 0; i < kPlayerRowCount; ++i) {
        const PlayerRow& player = kPlayers[i];
        if (!(windows[i] = FindPlayerWindow(player))) continue;
        states[i] = AskPlayerState(player, windows[i]);
        if (states[i] == PlayerState::kPlaying || states[i] == PlayerState::kPaused) {
            SendKeyToPlayer(player, windows[i], key, states[i]);
            return;
        }
    }
    if (SearchPlayers(key)) return;
    for (int i = 0; i < kPlayerRowCount; ++i)
        if (windows[i]) {
            SendKeyToPlayer(kPlayers[i], windows[i], key, states[i]);
            return;
        }
}
