// The sound keys: volume, bass and treble step their fader every 100 ms while
// held (timer 1 of the dialog); mute and loudness toggle.
#pragma once
#include <windows.h>

enum class RepeatMode : int {
    kNone = 0,
    kVolumeUp = 1,
    kVolumeDown = 2,
    kBassUp = 3,
    kBassDown = 4,
    kTrebleUp = 5,
    kTrebleDown = 6,
};

// The auto-repeat of the dialog that owns it: the running mode, what
// SetTimer returned when it was started, and whether its timer has ticked
// since (set where the tick is handled).
struct RepeatState {
    RepeatMode mode;
    UINT_PTR timer;
    bool ticked = false;
};

// The auto-repeat timer: identifier 1 of the dialog window, 100 ms.
const UINT_PTR kRepeatTimerId = 1;
const UINT kRepeatPeriodMs = 100;

// What a sound key did: acted when the mixer took the new value and the
// value it holds afterwards is known (read back; for a toggle that cannot be
// read back, what was written), with a fader's maximum (0 for a toggle).
struct SoundKeyOutcome {
    bool acted;
    DWORD value;
    DWORD maximum;
};

// Key rows. Each does nothing when its control is unavailable.
void StartRepeat(HWND dialog, RepeatState& repeat, RepeatMode mode);
void StopRepeat(HWND dialog, RepeatState& repeat);
SoundKeyOutcome ToggleMute();
SoundKeyOutcome ToggleLoudness();

// One auto-repeat step of the mode's fader, on each tick of the timer;
// nothing for kNone or a fader that cannot be read.
SoundKeyOutcome StepRepeat(RepeatMode mode);

// The fader arithmetic, unsigned 32-bit: one step towards the maximum or 0,
// never past it.
DWORD StepUp(DWORD current, DWORD maximum, DWORD step);
DWORD StepDown(DWORD current, DWORD step);
