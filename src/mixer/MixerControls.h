// The first mixer device's speakers-line controls: master volume, mute, bass,
// treble and loudness. Plain functions over process-wide records; all on the
// user-interface thread.
#pragma once
#include <windows.h>
#include <mmsystem.h>

struct MixerSessionRecord {
    HMIXER mixer;       // NULL when none is open
    UINT deviceCount;   // mixerGetNumDevs at the last open
    MIXERCAPSA capabilities;
};
extern MixerSessionRecord MixerSession;

struct MixerControlInfo {
    DWORD controlId;
    DWORD maximum;
    DWORD step;  // maximum / 20
};
extern MixerControlInfo VolumeControl, BassControl, TrebleControl;
extern DWORD MuteControlId, LoudnessControlId;

// Set from the lookups by the keyboard connection; the keys test them.
extern bool VolumeAvailable, MuteAvailable, BassAvailable, TrebleAvailable, LoudnessAvailable;
// What the program believes the toggles are set to.
extern bool RememberedMute, RememberedLoudness;

bool OpenMixer(HWND notifyWindow);
bool CloseMixer();

// Opens the mixer, looks up the five controls, sets their available flags
// and reads the toggles' current states into the remembered ones.
void OpenMixerAndControls(HWND notifyWindow);

bool FindVolumeControl();
bool FindMuteControl();
bool FindBassControl();
bool FindTrebleControl();
bool FindLoudnessControl();

bool GetVolume(DWORD* value);
bool GetMute(DWORD* value);
bool GetBass(DWORD* value);
bool GetTreble(DWORD* value);
bool GetLoudness(DWORD* value);

bool SetVolume(DWORD value);
bool SetMute(DWORD value);
bool SetBass(DWORD value);
bool SetTreble(DWORD value);
bool SetLoudness(DWORD value);
