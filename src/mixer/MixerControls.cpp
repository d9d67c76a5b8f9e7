// The speakers line of the first mixer device. Each lookup asks for the line
// anew and keeps only the control's identifier (and a fader's maximum and
// step); the gets and sets then address the control by that identifier with
// a one-channel record, which the driver applies to every channel alike.
#include "mixer/MixerControls.h"
#include "device/MixerDevice.h"

MixerSessionRecord MixerSession;
MixerControlInfo VolumeControl, BassControl, TrebleControl;
DWORD MuteControlId, LoudnessControlId;
bool VolumeAvailable, MuteAvailable, BassAvailable, TrebleAvailable, LoudnessAvailable;
bool RememberedMute, RememberedLoudness;

// The sizes the mixer driver of the 32-bit system checks in cbStruct.
#ifndef _WIN64
static_assert(sizeof(MIXERCAPSA) == 48, "MIXERCAPS is 48 bytes");
static_assert(sizeof(MIXERLINEA) == 168, "MIXERLINE is 168 bytes");
static_assert(sizeof(MIXERLINECONTROLSA) == 24, "MIXERLINECONTROLS is 24 bytes");
static_assert(sizeof(MIXERCONTROLA) == 148, "MIXERCONTROL is 148 bytes");
static_assert(sizeof(MIXERCONTROLDETAILS) == 24, "MIXERCONTROLDETAILS is 24 bytes");
#endif
static_assert(sizeof(MIXERCONTROLDETAILS_UNSIGNED) == 4 && sizeof(MIXERCONTROLDETAILS_BOOLEAN) == 4,
              "one detail value is 32 bits");

namespace {

HMIXEROBJ MixerObject() { return reinterpret_cast<HMIXEROBJ>(MixerSession.mixer); }

// The control of the given type on the speakers line.
bool FindSpeakersControl(DWORD controlType, MIXERCONTROLA* control)
{
    if (!MixerSession.mixer) return false;

    MIXERLINEA line;
    ZeroMemory(&line, sizeof line);
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (MixerDevice::GetLineInfo(MixerObject(), &line,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR)
        return false;

    MIXERLINECONTROLSA controls;
    ZeroMemory(&controls, sizeof controls);
    ZeroMemory(control, sizeof *control);
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = controlType;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof *control;
    controls.pamxctrl = control;
    return MixerDevice::GetLineControls(MixerObject(), &controls,
                                        MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
           MMSYSERR_NOERROR;
}

// On failure the fader keeps what the last successful lookup found.
bool FindFader(DWORD controlType, MixerControlInfo* fader)
{
    MIXERCONTROLA control;
    if (!FindSpeakersControl(controlType, &control)) return false;
    fader->controlId = control.dwControlID;
    fader->maximum = control.Bounds.dwMaximum;
    fader->step = fader->maximum / 20;
    return true;
}

bool FindToggle(DWORD controlType, DWORD* controlId)
{
    MIXERCONTROLA control;
    if (!FindSpeakersControl(controlType, &control)) return false;
    *controlId = control.dwControlID;
    return true;
}

void FillDetails(MIXERCONTROLDETAILS* details, DWORD controlId, DWORD* value)
{
    ZeroMemory(details, sizeof *details);
    details->cbStruct = sizeof *details;
    details->dwControlID = controlId;
    details->cChannels = 1;
    details->cMultipleItems = 0;
    details->cbDetails = sizeof *value;
    details->paDetails = value;
}

// The value is written only when the driver answered.
bool GetControlValue(DWORD controlId, DWORD* value)
{
    if (!MixerSession.mixer) return false;
    DWORD read = 0;
    MIXERCONTROLDETAILS details;
    FillDetails(&details, controlId, &read);
    if (MixerDevice::GetControlDetails(MixerObject(), &details,
                                       MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        return false;
    *value = read;
    return true;
}

bool SetControlValue(DWORD controlId, DWORD value)
{
    if (!MixerSession.mixer) return false;
    MIXERCONTROLDETAILS details;
    FillDetails(&details, controlId, &value);
    return MixerDevice::SetControlDetails(MixerObject(), &details,
                                          MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}

}  // namespace

bool OpenMixer(HWND notifyWindow)
{
    // A mixer still open would lose its handle below; the connection closes
    // before it opens, so this only guards a careless caller.
    CloseMixer();

    MixerSession.deviceCount = MixerDevice::GetNumDevs();
    ZeroMemory(&MixerSession.capabilities, sizeof MixerSession.capabilities);
    MixerSession.mixer = NULL;
    if (MixerSession.deviceCount == 0) return true;  // nothing to open; every lookup fails

    HMIXER mixer = NULL;
    if (MixerDevice::Open(&mixer, 0, reinterpret_cast<DWORD_PTR>(notifyWindow), 0,
                          CALLBACK_WINDOW) != MMSYSERR_NOERROR)
        return false;
    MixerSession.mixer = mixer;

    // The lookups need only the open handle: a card whose capabilities
    // cannot be read still serves its controls, and only the result says so.
    return MixerDevice::GetDevCaps(reinterpret_cast<UINT_PTR>(mixer), &MixerSession.capabilities,
                                   sizeof MixerSession.capabilities) == MMSYSERR_NOERROR;
}

bool CloseMixer()
{
    if (!MixerSession.mixer) return true;
    HMIXER mixer = MixerSession.mixer;
    MixerSession.mixer = NULL;
    return MixerDevice::Close(mixer) == MMSYSERR_NOERROR;
}

void OpenMixerAndControls(HWND notifyWindow)
{
    OpenMixer(notifyWindow);
    VolumeAvailable = FindVolumeControl();
    MuteAvailable = FindMuteControl();
    BassAvailable = FindBassControl();
    TrebleAvailable = FindTrebleControl();
    LoudnessAvailable = FindLoudnessControl();

    DWORD state = 0;
    if (MuteAvailable && GetMute(&state)) RememberedMute = state != 0;
    if (LoudnessAvailable && GetLoudness(&state)) RememberedLoudness = state != 0;
}

bool FindVolumeControl() { return FindFader(MIXERCONTROL_CONTROLTYPE_VOLUME, &VolumeControl); }
bool FindBassControl() { return FindFader(MIXERCONTROL_CONTROLTYPE_BASS, &BassControl); }
bool FindTrebleControl() { return FindFader(MIXERCONTROL_CONTROLTYPE_TREBLE, &TrebleControl); }
bool FindMuteControl() { return FindToggle(MIXERCONTROL_CONTROLTYPE_MUTE, &MuteControlId); }
bool FindLoudnessControl() { return FindToggle(MIXERCONTROL_CONTROLTYPE_LOUDNESS, &LoudnessControlId); }

bool GetVolume(DWORD* value) { return GetControlValue(VolumeControl.controlId, value); }
bool GetMute(DWORD* value) { return GetControlValue(MuteControlId, value); }
bool GetBass(DWORD* value) { return GetControlValue(BassControl.controlId, value); }
bool GetTreble(DWORD* value) { return GetControlValue(TrebleControl.controlId, value); }
bool GetLoudness(DWORD* value) { return GetControlValue(LoudnessControlId, value); }

bool SetVolume(DWORD value) { return SetControlValue(VolumeControl.controlId, value); }
bool SetMute(DWORD value) { return SetControlValue(MuteControlId, value); }
bool SetBass(DWORD value) { return SetControlValue(BassControl.controlId, value); }
bool SetTreble(DWORD value) { return SetControlValue(TrebleControl.controlId, value); }
bool SetLoudness(DWORD value) { return SetControlValue(LoudnessControlId, value); }
