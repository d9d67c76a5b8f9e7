#include "actions/BrowserPlayerKeys.h"
#include "actions/Chords.h"
#include "actions/WindowTargeting.h"
#include "fw/WinApp.h"

namespace {

const DWORD kFavouritesKey = 0x80;

const KeyChord* BrowserChord(DWORD keyCode)
{
    switch (keyCode) {
    case 0x08: return &BrowserBackChord;
    case 0x10: return &BrowserForwardChord;
    case 0x20: return &BrowserStopChord;
    case 0x40: return &BrowserRefreshChord;
    case 0x80: return &BrowserFavouritesChord;
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

const PlayerChords kPlayerChords[PlayerCount] = {
    { &CdNextTrackChord, &CdPreviousTrackChord, &CdWmplayerStopChord, &CdWmplayerPlayPauseChord },
    { &WmplayerNextTrackChord, &WmplayerPreviousTrackChord, &CdWmplayerStopChord, &CdWmplayerPlayPauseChord },
    { 0, 0, &Mplayer2StopChord, &Mplayer2PlayPauseChord },
};

const KeyChord* PlayerChord(int kind, DWORD keyCode)
{
    if (kind < 0 || kind >= PlayerCount) return 0;
    switch (keyCode) {
    case 0x10000: return kPlayerChords[kind].nextTrack;
    case 0x20000: return kPlayerChords[kind].previousTrack;
    case 0x40000: return kPlayerChords[kind].stop;
    case 0x80000: return kPlayerChords[kind].playPause;
    default: return 0;
    }
}

// The players a key searches for when none in the foreground can take it,
// in order: a running CD player is preferred. Track keys skip MPLAYER2.EXE.
const PlayerKind kSearchListA[] = { PlayerCd, PlayerWmplayer };
const PlayerKind kSearchListB[] = { PlayerCd, PlayerWmplayer, PlayerMplayer2 };

LONG PlayerTitleFilter(PlayerKind kind)
{
    return kind == PlayerCd ? TitleAny : TitleMediaPlayer;
}

void ShowNotFound(HWND dialog)
{
    CWinApp* app = GetApp();
    MessageBoxA(dialog, "not found", app ? app->AppName() : "", MB_OK);
}

}  // namespace

void BrowserKey(HWND dialog, DWORD keyCode)
{
    const KeyChord* chord = BrowserChord(keyCode);
    if (!chord) return;
    if (!ForegroundTitleContains("Microsoft Internet Explorer")) {
        switch (AimAtProgram("IEXPLORE.EXE", TitleInternetExplorer)) {
        case AimActivated:
            break;
        case AimNoWindow:
            if (keyCode == kFavouritesKey) ShowNotFound(dialog);
            return;
        default:
            return;
        }
    }
    SendChord(*chord);
}

void PlayerKey(DWORD keyCode)
{
    if (!PlayerChord(PlayerCd, keyCode)) return;  // not a player key
    const KeyChord* chord = PlayerChord(IdentifyForegroundPlayer(), keyCode);
    if (chord) {
        SendChord(*chord);
        return;
    }
    const bool trackKey = keyCode == 0x10000 || keyCode == 0x20000;
    const PlayerKind* list = trackKey ? kSearchListA : kSearchListB;
    const int count = trackKey ? 2 : 3;
    for (int i = 0; i < count; ++i) {
        switch (AimAtProgram(PlayerModules[list[i]], PlayerTitleFilter(list[i]))) {
        case AimNoProcess:
            continue;
        case AimActivated:
            chord = PlayerChord(list[i], keyCode);
            if (chord) SendChord(*chord);
            return;
        default:
            // No window, or one that would not come to the front: the later
            // players are not tried.
            return;
        }
    }
}
