// Each row holds a key, who it is and the action it runs with that action's
// argument: the fader, the browser's chord, the player key, the program. One
// function serves every row of its kind. What the key's owner assigned it,
// in the program in front or in all programs, replaces the row's action.
// Every list of keys elsewhere comes from this table: the standard
// keyboards' usages, the key sets' value names, the Keys dialog's rows.
#include "actions/KeyDispatcher.h"
#include "actions/AssignedActions.h"
#include "actions/BrowserPlayerKeys.h"
#include "actions/ForegroundProgram.h"
#include "actions/LaunchKeys.h"
#include "actions/SoundKeyActions.h"
#include "keyboard/KeyCodes.h"
#include "res/resource.h"
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
    KeyIdentity key;  // the release's has no usage and no name: no one assigns it
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

// In the order of the KeyCode's bits. The README names each usage as the
// USB standard does.
constexpr KeyRow kKeyTable[] = {
    { { kKeysReleased, 0, NULL }, ReleaseKeys, {} },
    { { kKeyMyComputer, 0x0194, "MyComputer" }, StartFromWindowsDirectory, kMyComputerCommand },
    { { kKeyWebSearch, 0x0221, "WebSearch" }, StartWebSearch, LiveSetting::kSearch },
    { { kKeyHomePage, 0x0223, "HomePage" }, StartHomePage, {} },
    { { kKeyBack, 0x0224, "Back" }, SendToBrowser, &kBack },
    { { kKeyForward, 0x0225, "Forward" }, SendToBrowser, &kForward },
    { { kKeyBrowserStop, 0x0226, "BrowserStop" }, SendToBrowser, &kBrowserStop },
    { { kKeyRefresh, 0x0227, "Refresh" }, SendToBrowser, &kRefresh },
    { { kKeyFavourites, 0x022A, "Favourites" }, SendToBrowser, &kFavourites },
    { { kKeyVolumeUp, 0x00E9, "VolumeUp" }, HoldFader, RepeatMode::kVolumeUp },
    { { kKeyVolumeDown, 0x00EA, "VolumeDown" }, HoldFader, RepeatMode::kVolumeDown },
    { { kKeyBassUp, 0x0152, "BassUp" }, HoldFader, RepeatMode::kBassUp },
    { { kKeyBassDown, 0x0153, "BassDown" }, HoldFader, RepeatMode::kBassDown },
    { { kKeyTrebleUp, 0x0154, "TrebleUp" }, HoldFader, RepeatMode::kTrebleUp },
    { { kKeyTrebleDown, 0x0155, "TrebleDown" }, HoldFader, RepeatMode::kTrebleDown },
    { { kKeyMail, 0x018A, "Mail" }, StartSetting, LiveSetting::kMail },
    { { kKeyCalculator, 0x0192, "Calculator" }, StartFromWindowsDirectory, kCalculatorCommand },
    { { kKeyNextTrack, 0x00B5, "NextTrack" }, SendToPlayer, PlayerKey::kNextTrack },
    { { kKeyPreviousTrack, 0x00B6, "PreviousTrack" }, SendToPlayer, PlayerKey::kPreviousTrack },
    { { kKeyMediaStop, 0x00B7, "MediaStop" }, SendToPlayer, PlayerKey::kStop },
    { { kKeyPlayPause, 0x00CD, "PlayPause" }, SendToPlayer, PlayerKey::kPlayPause },
    { { kKeyMute, 0x00E2, "Mute" }, Toggle, SoundToggle::kMute },
    { { kKeyLoudness, 0x00E7, "Loudness" }, Toggle, SoundToggle::kLoudness },
    { { kKeyMediaPlayer, 0x0183, "MediaPlayer" }, StartSetting, LiveSetting::kMedia },
};
constexpr int kRowCount = sizeof kKeyTable / sizeof kKeyTable[0];

// What ties the table to the rest of the program, checked as it compiles.
constexpr bool SameName(const char* a, const char* b)  // as the registry compares them
{
    while (*a && (*a | 0x20) == (*b | 0x20)) ++a, ++b;
    return *a == *b;
}
constexpr bool EachKeyOneBitInOrder()  // the release first, then the KeyCode's 24 bits upwards
{
    for (int row = 1; row < kRowCount; ++row) {
        const DWORD bit = kKeyTable[row].key.keyCode;
        if (!bit || (bit & (bit - 1)) || (bit >> 24) || bit <= kKeyTable[row - 1].key.keyCode) return false;
    }
    return kKeyTable[0].key.keyCode == kKeysReleased && !kKeyTable[0].key.usage && !kKeyTable[0].key.name;
}
constexpr bool EachKeyAUsageAndANameOfItsOwn()
{
    for (int a = 1; a < kRowCount; ++a) {
        const KeyIdentity& key = kKeyTable[a].key;
        if (!key.usage || IDS_KEY_NAMES + key.usage >= IDS_KEY_NAMES_END || !key.name || !key.name[0]) return false;
        if (key.name[0] == '0' && (key.name[1] | 0x20) == 'x') return false;  // the other keys' kind of name
        for (int b = a + 1; b < kRowCount; ++b)
            if (kKeyTable[b].key.usage == key.usage || SameName(kKeyTable[b].key.name, key.name)) return false;
    }
    return true;
}
static_assert(EachKeyOneBitInOrder(), "the release, then one row per key in the order of its bit of the KeyCode");
static_assert(EachKeyAUsageAndANameOfItsOwn(),
              "each key a usage with a text id and a value name of its own, never one of an other key's");

const KeyRow* RowOf(DWORD keyCode)
{
    for (const KeyRow& row : kKeyTable)
        if (row.key.keyCode == keyCode) return &row;
    return 0;
}

// What the owner assigned a key: in the program in front's set, else in the
// set for all programs. Which program is in front matters only when some
// program has a set of its own.
void AssignmentInFront(const char* name, Assignment* assignment)
{
    char program[kProgramNameSize];
    const bool known = AnyProgramSet() && ForegroundProgramName(program);
    AssignmentInEffect(known ? program : NULL, name, assignment);
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
    if (row->key.name) {
        Assignment assignment;
        AssignmentInFront(row->key.name, &assignment);
        if (assignment.kind != AssignmentKind::kStandard) {
            RunAssignment(assignment);
            return EndRepeat(source.repeat);
        }
    }
    const RepeatTimer next = row->act(key, row->argument);
    // Only a fader key left as it is keeps a repeat going: its own.
    return row->act == HoldFader ? next : EndRepeat(source.repeat);
}

void DispatchOtherKey(USAGE usage)
{
    char name[kKeyNameSize];
    OtherKeyValueName(usage, name);
    Assignment assignment;
    AssignmentInFront(name, &assignment);
    RunAssignment(assignment);
}

int TableKeyCount() { return kRowCount - 1; }

const KeyIdentity& TableKey(int index) { return kKeyTable[1 + index].key; }

USAGE UsageOfKeyCode(DWORD keyCode)
{
    const KeyRow* row = RowOf(keyCode);
    return row ? row->key.usage : 0;
}

DWORD KeyCodeOfUsage(USAGE usage)
{
    for (const KeyRow& row : kKeyTable)
        if (usage && row.key.usage == usage) return row.key.keyCode;
    return kKeysReleased;
}

void KeyValueName(USAGE usage, char name[kKeyNameSize])
{
    for (const KeyRow& row : kKeyTable) {
        if (usage && row.key.usage == usage) {
            lstrcpynA(name, row.key.name, kKeyNameSize);
            return;
        }
    }
    OtherKeyValueName(usage, name);
}

USAGE OtherKeyOfValueName(const char* name)
{
    const USAGE usage = UsageOfOtherKeyName(name);
    return KeyCodeOfUsage(usage) ? 0 : usage;
}
