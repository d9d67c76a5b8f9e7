#include "actions/KeyDispatcher.h"
#include "actions/BrowserPlayerKeys.h"
#include "actions/LaunchKeys.h"
#include "actions/SoundKeyActions.h"
#include "actions/WindowTargeting.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"

namespace {

struct KeyContext {
    HWND dialog;
    RepeatState& repeat;
    DWORD keyCode;
    const char* windowsDirectory;
};

struct KeyRow {
    DWORD keyCode;
    void (*run)(const KeyContext& key);
};

// A volume knob, or a quick tap, on a standard keyboard presses and releases
// a fader key within milliseconds, before the first tick: such a release
// makes the one step the tick would have made. The maker's models keep the
// rule that a press shorter than a tick changes nothing.
void AllReleased(const KeyContext& key)
{
    const bool tapped = key.repeat.mode != RepeatMode::kNone && !key.repeat.ticked;
    if (tapped && KeyboardDevice.kind.load() == KeyboardKind::kStandard)
        StepFaderAndShow(key.dialog, key.repeat.mode);
    StopRepeat(key.dialog, key.repeat);
}
void MyComputer(const KeyContext& key) { LaunchMyComputer(key.windowsDirectory); }
void WebSearch(const KeyContext& key) { LaunchWebSearch(key.dialog); }
void HomePage(const KeyContext&) { LaunchHomePage(); }
void Browser(const KeyContext& key) { BrowserKey(key.dialog, key.keyCode); }
void VolumeUp(const KeyContext& key) { StartRepeat(key.dialog, key.repeat, RepeatMode::kVolumeUp); }
void VolumeDown(const KeyContext& key) { StartRepeat(key.dialog, key.repeat, RepeatMode::kVolumeDown); }
void BassUp(const KeyContext& key) { StartRepeat(key.dialog, key.repeat, RepeatMode::kBassUp); }
void BassDown(const KeyContext& key) { StartRepeat(key.dialog, key.repeat, RepeatMode::kBassDown); }
void TrebleUp(const KeyContext& key) { StartRepeat(key.dialog, key.repeat, RepeatMode::kTrebleUp); }
void TrebleDown(const KeyContext& key) { StartRepeat(key.dialog, key.repeat, RepeatMode::kTrebleDown); }
void Mail(const KeyContext& key) { LaunchMail(key.dialog); }
void Calculator(const KeyContext& key) { LaunchCalculator(key.windowsDirectory); }
void Player(const KeyContext& key) { PlayerKey(key.keyCode); }
void Mute(const KeyContext& key) { ToggleMuteAndShow(key.dialog); }
void Loudness(const KeyContext& key) { ToggleLoudnessAndShow(key.dialog); }
void MediaPlayer(const KeyContext& key) { LaunchMediaPlayer(key.dialog); }

const KeyRow kKeyTable[] = {
    { kKeysReleased, AllReleased },
    { kKeyMyComputer, MyComputer },
    { kKeyWebSearch, WebSearch },
    { kKeyHomePage, HomePage },
    { kKeyBack, Browser },
    { kKeyForward, Browser },
    { kKeyBrowserStop, Browser },
    { kKeyRefresh, Browser },
    { kKeyFavourites, Browser },
    { kKeyVolumeUp, VolumeUp },
    { kKeyVolumeDown, VolumeDown },
    { kKeyBassUp, BassUp },
    { kKeyBassDown, BassDown },
    { kKeyTrebleUp, TrebleUp },
    { kKeyTrebleDown, TrebleDown },
    { kKeyMail, Mail },
    { kKeyCalculator, Calculator },
    { kKeyNextTrack, Player },
    { kKeyPreviousTrack, Player },
    { kKeyMediaStop, Player },
    { kKeyPlayPause, Player },
    { kKeyMute, Mute },
    { kKeyLoudness, Loudness },
    { kKeyMediaPlayer, MediaPlayer },
};

}  // namespace

void DispatchKeys(HWND dialog, RepeatState& repeat, DWORD keyCode)
{
    // Room for any Windows directory; one that cannot be read is left empty,
    // and the rows that need it then start nothing.
    char windowsDirectory[MAX_PATH];
    ReadWindowsDirectory(windowsDirectory, sizeof windowsDirectory);
    ClearTargetWindow();

    const KeyContext key = { dialog, repeat, keyCode, windowsDirectory };
    for (const KeyRow& row : kKeyTable) {
        if (row.keyCode == keyCode) {
            row.run(key);
            return;
        }
    }
}
