#include "actions/SoundKeyActions.h"
#include "levels/LevelDisplay.h"
#include "mixer/MixerControls.h"
#include "settings/SettingsPage.h"

namespace {

LevelName FaderName(RepeatMode mode)
{
    switch (mode) {
    case RepeatMode::kBassUp:
    case RepeatMode::kBassDown:
        return LevelName::kBass;
    case RepeatMode::kTrebleUp:
    case RepeatMode::kTrebleDown:
        return LevelName::kTreble;
    default:
        return LevelName::kVolume;
    }
}

// The mute as the card has it now; a mute that cannot be read counts as off.
bool MutedNow()
{
    DWORD mute = 0;
    return MuteAvailable && GetMute(&mute) && mute != 0;
}

void Show(HWND settingsPage, LevelName name, const SoundKeyOutcome& outcome)
{
    if (!outcome.acted || !LevelsShownOnScreen(settingsPage)) return;
    const LevelReading reading = { name, outcome.value, outcome.maximum,
                                   name == LevelName::kVolume && MutedNow() };
    ShowLevel(reading);
}

}  // namespace

void StepFaderAndShow(HWND settingsPage, RepeatMode mode) { Show(settingsPage, FaderName(mode), StepRepeat(mode)); }
void ToggleMuteAndShow(HWND settingsPage) { Show(settingsPage, LevelName::kMute, ToggleMute()); }
void ToggleLoudnessAndShow(HWND settingsPage) { Show(settingsPage, LevelName::kLoudness, ToggleLoudness()); }
