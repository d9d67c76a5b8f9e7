// The sound keys: volume, bass and treble step their fader every 100 ms while
// held (timer 1 of the dialog); mute and loudness toggle.
#pragma once
#include <windows.h>

class KeyboardDialog;

enum RepeatModes {
    RepeatNone = 0,
    RepeatVolumeUp, RepeatVolumeDown,
    RepeatBassUp, RepeatBassDown,
    RepeatTrebleUp, RepeatTrebleDown,
};

// Dispatcher rows. Each does nothing when its control is unavailable.
void StartRepeat(KeyboardDialog& dialog, int mode);
void StopRepeat(KeyboardDialog& dialog);
void ToggleMute();
void ToggleLoudness();
