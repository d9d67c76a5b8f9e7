// Each row holds a key, the action it runs and that action's argument: the
// fader, the chord or player command, the program. One function serves every
// row of its kind.
#include "actions/KeyDispatcher.h"
#include "actions/BrowserPlayerKeys.h"
#include "actions/LaunchKeys.h"
#include "actions/SoundKeyActions.h"
#include "keyboard/KeyCodes.h"
#include "settings/SettingsPage.h"

namespace {

struct KeyContext {
    const KeySource& source;
    const char* windowsDirectory;
};

enum class SoundToggle { kMute, kLoudness };

union KeyArgument {
    constexpr KeyArgument() : text(0) {}
    constexpr KeyArgument(const char* command) : text(command) {}
    constexpr KeyArgument(LiveSetting setting) : setting(setting) {}
    constexpr KeyArgument(RepeatMode fader) : fader(fader) {}
    constexpr KeyArgument(SoundToggle toggle) : toggle(toggle) {}
    constexpr KeyArgument(const BrowserCommand* browser) : browser(browser) {}
    constexpr KeyArgument(const PlayerCommand* player) : player(player) {}

    const char* text;
    LiveSetting setting;
    RepeatMode fader;
    SoundToggle toggle;
    const BrowserCommand* browser;
    const PlayerCommand* player;
};

struct KeyRow {
    DWORD keyCode;
    RepeatTimer (*act)(const KeyContext& key, KeyArgument argument);
    KeyArgument argument;
};

RepeatTimer ReleaseKeys(const KeyContext& key, KeyArgument)
{
    return ReleaseFaders(key.source.repeat);
}

RepeatTimer HoldFader(const KeyContext& key, KeyArgument argument)
{
    return PressFader(key.source.repeat, argument.fader, key.source.keyboard, key.source.settingsPage);
}

RepeatTimer Toggle(const KeyContext& key, KeyArgument argument)
{
    if (argument.toggle == SoundToggle::kMute) ToggleMuteAndShow(key.source.settingsPage);
    else ToggleLoudnessAndShow(key.source.settingsPage);
    return kLeaveTimer;
}

RepeatTimer StartFromWindowsDirectory(const KeyContext& key, KeyArgument argument)
{
    LaunchFromWindowsDirectory(key.windowsDirectory, argument.text);
    return kLeaveTimer;
}

RepeatTimer StartHomePage(const KeyContext&, KeyArgument)
{
    LaunchHomePage();
    return kLeaveTimer;
}

RepeatTimer StartWebSearch(const KeyContext& key, KeyArgument argument)
{
    char searchText[kSettingTextSize];
    ReadLiveSetting(key.source.settingsPage, argument.setting, searchText);
    LaunchWebSearch(searchText);
    return kLeaveTimer;
}

RepeatTimer StartSetting(const KeyContext& key, KeyArgument argument)
{
    char commandLine[kSettingTextSize];
    ReadLiveSetting(key.source.settingsPage, argument.setting, commandLine);
    LaunchCommandLine(commandLine);
    return kLeaveTimer;
}

RepeatTimer SendToBrowser(const KeyContext& key, KeyArgument argument)
{
    BrowserKey(key.source.settingsPage, *argument.browser);
    return kLeaveTimer;
}

RepeatTimer SendToPlayer(const KeyContext&, KeyArgument argument)
{
    PlayerKey(*argument.player);
    return kLeaveTimer;
}

const BrowserCommand kBack = { &kBrowserBackChord, false };
const BrowserCommand kForward = { &kBrowserForwardChord, false };
const BrowserCommand kBrowserStop = { &kBrowserStopChord, false };
const BrowserCommand kRefresh = { &kBrowserRefreshChord, false };
const BrowserCommand kFavourites = { &kBrowserFavouritesChord, true };

// The player table: per key, the chords of the CD player, WMPLAYER.EXE and
// MPLAYER2.EXE (which cannot skip tracks), then Winamp's command.
const PlayerCommand kNextTrack = { { &kCdNextTrackChord, &kWmplayerNextTrackChord, 0 }, &kWinampNextTrack };
const PlayerCommand kPreviousTrack = { { &kCdPreviousTrackChord, &kWmplayerPreviousTrackChord, 0 },
                                       &kWinampPreviousTrack };
const PlayerCommand kMediaStop = { { &kCdWmplayerStopChord, &kCdWmplayerStopChord, &kMplayer2StopChord },
                                   &kWinampStop };
const PlayerCommand kPlayPause = { { &kCdWmplayerPlayPauseChord, &kCdWmplayerPlayPauseChord,
                                     &kMplayer2PlayPauseChord },
                                   &kWinampPlayPause };

const KeyRow kKeyTable[] = {
    { kKeysReleased, ReleaseKeys, {} },
    { kKeyMyComputer, StartFromWindowsDirectory, kMyComputerCommand },
    { kKeyWebSearch, StartWebSearch, LiveSetting::kSearch },
    { kKeyHomePage, StartHomePage, {} },
    { kKeyBack, SendToBrowser, &kBack },
    { kKeyForward, SendToBrowser, &kForward },
    { kKeyBrowserStop, SendToBrowser, &kBrowserStop },
    { kKeyRefresh, SendToBrowser, &kRefresh },
    { kKeyFavourites, SendToBrowser, &kFavourites },
    { kKeyVolumeUp, HoldFader, RepeatMode::kVolumeUp },
    { kKeyVolumeDown, HoldFader, RepeatMode::kVolumeDown },
    { kKeyBassUp, HoldFader, RepeatMode::kBassUp },
    { kKeyBassDown, HoldFader, RepeatMode::kBassDown },
    { kKeyTrebleUp, HoldFader, RepeatMode::kTrebleUp },
    { kKeyTrebleDown, HoldFader, RepeatMode::kTrebleDown },
    { kKeyMail, StartSetting, LiveSetting::kMail },
    { kKeyCalculator, StartFromWindowsDirectory, kCalculatorCommand },
    { kKeyNextTrack, SendToPlayer, &kNextTrack },
    { kKeyPreviousTrack, SendToPlayer, &kPreviousTrack },
    { kKeyMediaStop, SendToPlayer, &kMediaStop },
    { kKeyPlayPause, SendToPlayer, &kPlayPause },
    { kKeyMute, Toggle, SoundToggle::kMute },
    { kKeyLoudness, Toggle, SoundToggle::kLoudness },
    { kKeyMediaPlayer, StartSetting, LiveSetting::kMedia },
};

}  // namespace

RepeatTimer DispatchKeys(const KeySource& source, DWORD keyCode)
{
    // Room for any Windows directory; one that cannot be read is left empty,
    // and the rows that need it then start nothing.
    char windowsDirectory[MAX_PATH];
    ReadWindowsDirectory(windowsDirectory, sizeof windowsDirectory);
    ClearTargetWindow();

    const KeyContext key = { source, windowsDirectory };
    for (const KeyRow& row : kKeyTable)
        if (row.keyCode == keyCode) return row.act(key, row.argument);
    return kLeaveTimer;
}
