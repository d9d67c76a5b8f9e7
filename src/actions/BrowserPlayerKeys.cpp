#include "actions/BrowserPlayerKeys.h"
#include "actions/Chords.h"
#include "actions/ProcessLookup.h"
#include "actions/WinampCommands.h"
#include "actions/WindowTargeting.h"
#include "fw/WinApp.h"
#include "keyboard/KeyCodes.h"

namespace {

const KeyChord* BrowserChord(DWORD keyCode)
{
    switch (keyCode) {
    case kKeyBack: return &kBrowserBackChord;
    case kKeyForward: return &kBrowserForwardChord;
    case kKeyBrowserStop: return &kBrowserStopChord;
    case kKeyRefresh: return &kBrowserRefreshChord;
    case kKeyFavourites: return &kBrowserFavouritesChord;
    default: return 0;
    }
}

// Each player's chord for the four player keys, by PlayerKind; null where
// the player has none (MPLAYER2.EXE cannot skip tracks).
struct PlayerChords {
    const KeyChord* nextTrack;
    const KeyChord* previousTrack;
    const KeyChord* stop;
    const KeyChord* playPause;
};

const PlayerChords kPlayerChords[kPlayerCount] = {
    { &kCdNextTrackChord, &kCdPreviousTrackChord, &kCdWmplayerStopChord, &kCdWmplayerPlayPauseChord },
    { &kWmplayerNextTrackChord, &kWmplayerPreviousTrackChord, &kCdWmplayerStopChord, &kCdWmplayerPlayPauseChord },
    { 0, 0, &kMplayer2StopChord, &kMplayer2PlayPauseChord },
};

bool IsPlayerKey(DWORD keyCode)
{
    return keyCode == kKeyNextTrack || keyCode == kKeyPreviousTrack || keyCode == kKeyMediaStop ||
           keyCode == kKeyPlayPause;
}

const KeyChord* PlayerChord(PlayerKind kind, DWORD keyCode)
{
    const int index = static_cast<int>(kind);
    if (index < 0 || index >= kPlayerCount) return 0;
    const PlayerChords& chords = kPlayerChords[index];
    switch (keyCode) {
    case kKeyNextTrack: return chords.nextTrack;
    case kKeyPreviousTrack: return chords.previousTrack;
    case kKeyMediaStop: return chords.stop;
    case kKeyPlayPause: return chords.playPause;
    default: return 0;
    }
}

// The players a key searches for when none in the foreground can take it,
// in order: a running CD player is preferred. Track keys skip MPLAYER2.EXE.
// Winamp, which needs no window search, comes after either list.
const PlayerKind kSearchListA[] = { PlayerKind::kCdPlayer, PlayerKind::kWmplayer };
const PlayerKind kSearchListB[] = { PlayerKind::kCdPlayer, PlayerKind::kWmplayer, PlayerKind::kMplayer2 };

TitleRule PlayerTitleFilter(PlayerKind kind)
{
    return kind == PlayerKind::kCdPlayer ? TitleRule::kAnyTitle : TitleRule::kMediaPlayer;
}

}  // namespace

void BrowserKey(HWND dialog, DWORD keyCode)
{
    const KeyChord* chord = BrowserChord(keyCode);
    if (!chord) return;
    if (!ForegroundTitleContains("Microsoft Internet Explorer")) {
        switch (AimAtProgram("IEXPLORE.EXE", TitleRule::kInternetExplorer)) {
        case AimOutcome::kActivated:
            break;
        case AimOutcome::kNoWindow:
            if (keyCode == kKeyFavourites) MessageBoxA(dialog, "not found", AppName(), MB_OK);
            return;
        default:
            return;
        }
    }
    SendChord(*chord);
}

void PlayerKey(DWORD keyCode)
{
    if (!IsPlayerKey(keyCode)) return;
    // Winamp in front is asked first: one look at its window class, where
    // telling the other players costs a module snapshot. Any window of its
    // process may be in front; the command goes to its main window.
    if (HWND winamp = FindWinampWindowOf(ForegroundProcessId())) {
        SendWinampCommand(winamp, keyCode);
        return;
    }
    const KeyChord* chord = PlayerChord(IdentifyForegroundPlayer(), keyCode);
    if (chord) {
        SendChord(*chord);
        return;
    }
    // One walk over the processes tells every player's process.
    DWORD playerProcesses[kPlayerCount];
    FindProcessesByModules(kPlayerModules, kPlayerCount, playerProcesses);
    const bool trackKey = keyCode == kKeyNextTrack || keyCode == kKeyPreviousTrack;
    const PlayerKind* list = trackKey ? kSearchListA : kSearchListB;
    const int count = trackKey ? sizeof kSearchListA / sizeof *kSearchListA : sizeof kSearchListB / sizeof *kSearchListB;
    for (int i = 0; i < count; ++i) {
        switch (AimAtProcess(playerProcesses[static_cast<int>(list[i])], PlayerTitleFilter(list[i]))) {
        case AimOutcome::kNoProcess:
            continue;
        case AimOutcome::kActivated:
            chord = PlayerChord(list[i], keyCode);
            if (chord) SendChord(*chord);
            return;
        default:
            // No window, or one that would not come to the front: the later
            // players are not tried.
            return;
        }
    }
    // Last in both lists, so that users of the other players see no change;
    // Winamp takes its command where it is, nothing is restored or activated.
    if (HWND winamp = FindWinampWindow()) SendWinampCommand(winamp, keyCode);
}
