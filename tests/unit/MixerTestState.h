// Puts the program's mixer records and the fake sound card back to a known
// state: the program zero as at start, the card with one device and no
// controls on its speakers line.
#pragma once
#include "fakes/FakeMixerDevice.h"
#include "mixer/MixerControls.h"

namespace mmk_test {

inline void ResetMixerState()
{
    CloseMixer();
    ZeroMemory(&MixerSession, sizeof MixerSession);
    ZeroMemory(&VolumeControl, sizeof VolumeControl);
    ZeroMemory(&BassControl, sizeof BassControl);
    ZeroMemory(&TrebleControl, sizeof TrebleControl);
    MuteControlId = LoudnessControlId = 0;
    VolumeAvailable = MuteAvailable = BassAvailable = TrebleAvailable = LoudnessAvailable = false;
    RememberedMute = RememberedLoudness = false;
    mmk_fake::ResetFakeMixer();
}

// Opens the fake mixer and looks every control up, as the keyboard
// connection does.
inline void OpenAndLookUpControls()
{
    OpenMixer(NULL);
    VolumeAvailable = FindVolumeControl();
    MuteAvailable = FindMuteControl();
    BassAvailable = FindBassControl();
    TrebleAvailable = FindTrebleControl();
    LoudnessAvailable = FindLoudnessControl();
}

}  // namespace mmk_test
