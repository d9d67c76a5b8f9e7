#include "mixer/MixerControls.h"

MixerSessionRecord MixerSession;
MixerControlInfo VolumeControl, BassControl, TrebleControl;
DWORD MuteControlId, LoudnessControlId;
bool VolumeAvailable, MuteAvailable, BassAvailable, TrebleAvailable, LoudnessAvailable;
bool RememberedMute, RememberedLoudness;

// Placeholder until the mixer lands: there is no mixer.
bool OpenMixer(HWND) { return true; }
bool CloseMixer() { return true; }
bool FindVolumeControl() { return false; }
bool FindMuteControl() { return false; }
bool FindBassControl() { return false; }
bool FindTrebleControl() { return false; }
bool FindLoudnessControl() { return false; }
bool GetVolume(DWORD*) { return false; }
bool GetMute(DWORD*) { return false; }
bool GetBass(DWORD*) { return false; }
bool GetTreble(DWORD*) { return false; }
bool GetLoudness(DWORD*) { return false; }
bool SetVolume(DWORD) { return false; }
bool SetMute(DWORD) { return false; }
bool SetBass(DWORD) { return false; }
bool SetTreble(DWORD) { return false; }
bool SetLoudness(DWORD) { return false; }
