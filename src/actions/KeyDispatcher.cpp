// Each row holds a key, the action it runs and that action's argument: the
// fader, the browser's chord, the player key, the program. One function
// serves every row of its kind. What the key's owner assigned it, in the
// program in front or in all programs, replaces the row's action.
#include "actions/KeyDispatcher.h"
#include "actions/AssignedActions.h"
#include "actions/BrowserPlayerKeys.h"
#include "actions/ForegroundProgram.h"
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
    constexpr KeyArgument(PlayerKey player) : player(player) {}

    const char* text;
    LiveSetting setting;
    RepeatMode fader;
    SoundToggle toggle;
    const BrowserCommand* browser;
    PlayerKey player;
};

struct KeyRow {
    DWORD keyCode;
    AssignableKey assignable;  // the name under which its owner may assign it another action
    RepeatTimer (*act)(const KeyContext& key, KeyArgument argument);
    KeyArgument argument;
};

// The release acts only on the repeat, as every key does.
RepeatTimer ReleaseKeys(const KeyContext&, KeyArgument)
{
    return kLeaveTimer;
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
    PressPlayerKey(argument.player);
    return kLeaveTimer;
}

const BrowserCommand kBack = { &kBrowserBackChord, false };
const BrowserCommand kForward = { &kBrowserForwardChord, false };
const BrowserCommand kBrowserStop = { &kBrowserStopChord, false };
const BrowserCommand kRefresh = { &kBrowserRefreshChord, false };
const BrowserCommand kFavourites = { &kBrowserFavouritesChord, true };

const KeyRow kKeyTable[] = {
    { kKeysReleased, AssignableKey::kNone, ReleaseKeys, {} },
    { kKeyMyComputer, AssignableKey::kMyComputer, StartFromWindowsDirectory, kMyComputerCommand },
    { kKeyWebSearch, AssignableKey::kWebSearch, StartWebSearch, LiveSetting::kSearch },
    { kKeyHomePage, AssignableKey::kHomePage, StartHomePage, {} },
    { kKeyBack, AssignableKey::kBack, SendToBrowser, &kBack },
    { kKeyForward, AssignableKey::kForward, SendToBrowser, &kForward },
    { kKeyBrowserStop, AssignableKey::kBrowserStop, SendToBrowser, &kBrowserStop },
    { kKeyRefresh, AssignableKey::kRefresh, SendToBrowser, &kRefresh },
    { kKeyFavourites, AssignableKey::kFavourites, SendToBrowser, &kFavourites },
    { kKeyVolumeUp, AssignableKey::kVolumeUp, HoldFader, RepeatMode::kVolumeUp },
    { kKeyVolumeDown, AssignableKey::kVolumeDown, HoldFader, RepeatMode::kVolumeDown },
    { kKeyBassUp, AssignableKey::kBassUp, HoldFader, RepeatMode::kBassUp },
    { kKeyBassDown, AssignableKey::kBassDown, HoldFader, RepeatMode::kBassDown },
    { kKeyTrebleUp, AssignableKey::kTrebleUp, HoldFader, RepeatMode::kTrebleUp },
    { kKeyTrebleDown, AssignableKey::kTrebleDown, HoldFader, RepeatMode::kTrebleDown },
    { kKeyMail, AssignableKey::kMail, StartSetting, LiveSetting::kMail },
    { kKeyCalculator, AssignableKey::kCalculator, StartFromWindowsDirectory, kCalculatorCommand },
    { kKeyNextTrack, AssignableKey::kNextTrack, SendToPlayer, PlayerKey::kNextTrack },
    { kKeyPreviousTrack, AssignableKey::kPreviousTrack, SendToPlayer, PlayerKey::kPreviousTrack },
    { kKeyMediaStop, AssignableKey::kMediaStop, SendToPlayer, PlayerKey::kStop },
    { kKeyPlayPause, AssignableKey::kPlayPause, SendToPlayer, PlayerKey::kPlayPause },
    { kKeyMute, AssignableKey::kMute, Toggle, SoundToggle::kMute },
    { kKeyLoudness, AssignableKey::kLoudness, Toggle, SoundToggle::kLoudness },
    { kKeyMediaPlayer, AssignableKey::kMediaPlayer, StartSetting, LiveSetting::kMedia },
};

const KeyRow* RowOf(DWORD keyCode)
{
    for (const KeyRow& row : kKeyTable)
        if (row.keyCode == keyCode) return &row;
    return 0;
}

}  // namespace

RepeatTimer DispatchKeys(const KeySource& source, DWORD keyCode)
{
    // Room for any Windows directory; one that cannot be read is left empty,
    // and the rows that need it then start nothing.
    char windowsDirectory[MAX_PATH];
    ReadWindowsDirectory(windowsDirectory, sizeof windowsDirectory);
    ClearTargetWindow();

    const KeyContext key = { source, windowsDirectory };
    const KeyRow* row = RowOf(keyCode);
    // Two keys held together, or a value of no key: nothing acts.
    if (!row) return EndRepeat(source.repeat);
    if (row->assignable != AssignableKey::kNone) {
        // Which program is in front matters only when some program has a
        // set of its own.
        char program[kProgramNameSize];
        const bool known = AnyProgramSet() && ForegroundProgramName(program);
        Assignment assignment;
        AssignmentInEffect(known ? program : NULL, row->assignable, &assignment);
        if (assignment.kind != AssignmentKind::kStandard) {
            RunAssignment(assignment);
            return EndRepeat(source.repeat);
        }
    }
    const RepeatTimer next = row->act(key, row->argument);
    // Only a fader key left as it is keeps a repeat going: its own.
    return row->act == HoldFader ? next : EndRepeat(source.repeat);
}

AssignableKey AssignableKeyOf(DWORD keyCode)
{
    const KeyRow* row = RowOf(keyCode);
    return row ? row->assignable : AssignableKey::kNone;
}
