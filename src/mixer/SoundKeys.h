// The sound keys' mixer side: volume, bass and treble step their fader, one
// step per call of the auto-repeat; mute and loudness toggle.
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

// What a sound key did: acted when the mixer took the new value and the
// value it holds afterwards is known (read back; for a toggle that cannot be
// read back, what was written), with a fader's maximum (0 for a toggle).
struct SoundKeyOutcome {
    bool acted;
    DWORD value;
    DWORD maximum;
};

// Whether the mode's fader was found on the card (false for kNone).
bool FaderAvailable(RepeatMode mode);

// The toggles; each does nothing when its control is unavailable.
SoundKeyOutcome ToggleMute();
SoundKeyOutcome ToggleLoudness();

// One auto-repeat step of the mode's fader, on each tick of the timer;
// nothing for kNone or a fader that cannot be read.
SoundKeyOutcome StepRepeat(RepeatMode mode);

// The fader arithmetic, unsigned 32-bit: one step towards the maximum or 0,
// never past it.
DWORD StepUp(DWORD current, DWORD maximum, DWORD step);
DWORD StepDown(DWORD current, DWORD step);
