// The sound keys' mixer side. Each step reads the fader and writes it one
// step on, so a change made elsewhere meanwhile is followed rather than
// overwritten with a stale value.
#include "mixer/SoundKeys.h"
#include "mixer/MixerControls.h"

namespace {

struct RepeatFader {
    const bool* available;
    const MixerControlInfo* control;
    bool (*get)(DWORD* value);
    bool (*set)(DWORD value);
    bool up;
};

// Indexed by RepeatMode - 1.
const RepeatFader kRepeatFaders[] = {
    { &VolumeAvailable, &VolumeControl, GetVolume, SetVolume, true },
    { &VolumeAvailable, &VolumeControl, GetVolume, SetVolume, false },
    { &BassAvailable, &BassControl, GetBass, SetBass, true },
    { &BassAvailable, &BassControl, GetBass, SetBass, false },
    { &TrebleAvailable, &TrebleControl, GetTreble, SetTreble, true },
    { &TrebleAvailable, &TrebleControl, GetTreble, SetTreble, false },
};
const int kRepeatModeCount = sizeof kRepeatFaders / sizeof kRepeatFaders[0];

const RepeatFader* FaderOf(RepeatMode mode)
{
    const int index = static_cast<int>(mode) - 1;
    return index >= 0 && index < kRepeatModeCount ? &kRepeatFaders[index] : 0;
}

// Flips a toggle. The control's own state wins over the remembered one, which
// goes stale when the state is changed elsewhere (the system's volume
// control); without a readable state the remembered one is all there is.
SoundKeyOutcome Toggle(bool available, bool* remembered, bool (*get)(DWORD*), bool (*set)(DWORD))
{
    SoundKeyOutcome outcome = { false, 0, 0 };
    if (!available) return outcome;
    DWORD current = 0;
    if (get(&current)) *remembered = current != 0;
    *remembered = !*remembered;
    // A refusal leaves the remembered state flipped; the next press reads again.
    outcome.value = *remembered ? 1 : 0;
    outcome.acted = set(outcome.value);
    if (outcome.acted && get(&current)) outcome.value = current != 0;
    return outcome;
}

}  // namespace

DWORD StepUp(DWORD current, DWORD maximum, DWORD step)
{
    // A driver reporting a value above its maximum must not be pushed further.
    if (current >= maximum) return maximum;
    return maximum - current >= step ? current + step : maximum;
}

DWORD StepDown(DWORD current, DWORD step)
{
    return current >= step ? current - step : 0;
}

bool FaderAvailable(RepeatMode mode)
{
    const RepeatFader* fader = FaderOf(mode);
    return fader && *fader->available;
}

SoundKeyOutcome StepRepeat(RepeatMode mode)
{
    SoundKeyOutcome outcome = { false, 0, 0 };
    const RepeatFader* fader = FaderOf(mode);
    DWORD current = 0;
    if (!fader || !fader->get(&current)) return outcome;
    const MixerControlInfo& control = *fader->control;
    // A refused write is not retried: the timer's next tick tries again.
    // What the card holds afterwards is read back, since a driver may round.
    outcome.acted = fader->set(fader->up ? StepUp(current, control.maximum, control.step)
                                           : StepDown(current, control.step)) &&
                      fader->get(&outcome.value);
    outcome.maximum = control.maximum;
    return outcome;
}

SoundKeyOutcome ToggleMute() { return Toggle(MuteAvailable, &RememberedMute, GetMute, SetMute); }
SoundKeyOutcome ToggleLoudness() { return Toggle(LoudnessAvailable, &RememberedLoudness, GetLoudness, SetLoudness); }
