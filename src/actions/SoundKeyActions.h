// The sound keys as the user meets them: the mixer's step or toggle, then
// the level display with what the control holds afterwards, when the
// settings page's "Show levels on screen" is ticked. Nothing shows for a
// missing control or a change the mixer refused.
#pragma once
#include <windows.h>
#include "mixer/SoundKeys.h"

// One auto-repeat step of the mode's fader: what each timer tick runs.
void StepFaderAndShow(HWND settingsPage, RepeatMode mode);
void ToggleMuteAndShow(HWND settingsPage);
void ToggleLoudnessAndShow(HWND settingsPage);
