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

// The auto-repeat timer: identifier 1 of the dialog window, 100 ms.
const UINT_PTR REPEAT_TIMER_ID = 1;
const UINT REPEAT_PERIOD_MS = 100;

// Dispatcher rows. Each does nothing when its control is unavailable.
void StartRepeat(KeyboardDialog& dialog, int mode);
void StopRepeat(KeyboardDialog& dialog);
void ToggleMute();
void ToggleLoudness();

// One auto-repeat step of the mode's fader; nothing for mode 0 or a fader
// that cannot be read.
void StepRepeat(int mode);

// The fader arithmetic, unsigned 32-bit: one step towards the maximum or 0,
// never past it.
DWORD StepUp(DWORD current, DWORD maximum, DWORD step);
DWORD StepDown(DWORD current, DWORD step);
