// The simulated sound card of MMKeyboard-sim.exe: one mixer device whose
// speakers line has the controls the simulator's registry values describe
// (device/Simulator.h), each read and written there on every call.
#include "device/MixerDevice.h"
#include "device/Simulator.h"

namespace {

const DWORD kSpeakersLineId = 0xFFFF0000;
// The one device's handle; the program never looks inside it.
const HMIXER kSimulatedMixer = reinterpret_cast<HMIXER>(static_cast<UINT_PTR>(0x51A0));
int g_openCount;

struct SimulatedControl {
    DWORD type;
    DWORD id;
    const char* valueName;
    const char* maximumName;  // NULL for a toggle
};

const SimulatedControl kControls[] = {
    { MIXERCONTROL_CONTROLTYPE_VOLUME, 1, kMixerVolume, kMixerVolumeMax },
    { MIXERCONTROL_CONTROLTYPE_MUTE, 2, kMixerMute, 0 },
    { MIXERCONTROL_CONTROLTYPE_BASS, 3, kMixerBass, kMixerBassMax },
    { MIXERCONTROL_CONTROLTYPE_TREBLE, 4, kMixerTreble, kMixerTrebleMax },
    { MIXERCONTROL_CONTROLTYPE_LOUDNESS, 5, kMixerLoudness, 0 },
};

bool IsPresent()
{
    DWORD present = 0;
    return ReadMixerValue(kMixerPresent, &present) && present != 0;
}

// A control that exists now, with its maximum (1 for a toggle).
bool ExistingControl(const SimulatedControl& control, DWORD* maximum)
{
    if (!IsPresent()) return false;
    if (!control.maximumName) {
        DWORD state = 0;
        *maximum = 1;
        return ReadMixerValue(control.valueName, &state);
    }
    return ReadMixerValue(control.maximumName, maximum);
}

const SimulatedControl* ControlByType(DWORD type)
{
    for (const SimulatedControl& control : kControls)
        if (control.type == type) return &control;
    return 0;
}

const SimulatedControl* ControlById(DWORD id)
{
    for (const SimulatedControl& control : kControls)
        if (control.id == id) return &control;
    return 0;
}

bool Refuses(DWORD call)
{
    DWORD refused = 0;
    return ReadMixerValue(kMixerRefuse, &refused) && (refused & call) != 0;
}

bool IsOpen(HMIXEROBJ mixer)
{
    return g_openCount > 0 && reinterpret_cast<HMIXER>(mixer) == kSimulatedMixer;
}

MMRESULT CheckDetails(HMIXEROBJ mixer, const MIXERCONTROLDETAILS* details, DWORD flags, DWORD call)
{
    if (!IsOpen(mixer)) return MMSYSERR_INVALHANDLE;
    if (Refuses(call)) return MMSYSERR_ERROR;
    if ((flags & MIXER_GETCONTROLDETAILSF_QUERYMASK) != MIXER_GETCONTROLDETAILSF_VALUE)
        return MMSYSERR_NOTSUPPORTED;
    if (!details || details->cbStruct < sizeof *details || details->cChannels == 0 ||
        details->cbDetails < sizeof(DWORD) || !details->paDetails)
        return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

}  // namespace

namespace MixerDevice {

UINT GetNumDevs() { return IsPresent() ? 1 : 0; }

MMRESULT Open(HMIXER* mixer, UINT deviceId, DWORD_PTR, DWORD_PTR, DWORD)
{
    if (!mixer) return MMSYSERR_INVALPARAM;
    if (deviceId != 0 || !IsPresent()) return MMSYSERR_BADDEVICEID;
    if (g_openCount > 0) return MMSYSERR_ALLOCATED;
    if (Refuses(kRefuseOpen)) return MMSYSERR_ERROR;
    *mixer = kSimulatedMixer;
    ++g_openCount;
    return MMSYSERR_NOERROR;
}

MMRESULT GetDevCaps(UINT_PTR deviceId, MIXERCAPSA* capabilities, UINT size)
{
    // Like the real call: a device number or an open handle.
    const bool known =
        deviceId == 0 || (g_openCount > 0 && deviceId == reinterpret_cast<UINT_PTR>(kSimulatedMixer));
    if (!known || !IsPresent()) return MMSYSERR_BADDEVICEID;
    if (Refuses(kRefuseCapabilities)) return MMSYSERR_ERROR;
    if (!capabilities) return MMSYSERR_INVALPARAM;
    MIXERCAPSA caps;
    ZeroMemory(&caps, sizeof caps);
    caps.vDriverVersion = 0x0100;
    lstrcpynA(caps.szPname, "Simulated Mixer", sizeof caps.szPname);
    caps.cDestinations = 1;
    CopyMemory(capabilities, &caps, size < sizeof caps ? size : sizeof caps);
    return MMSYSERR_NOERROR;
}

MMRESULT Close(HMIXER mixer)
{
    if (!IsOpen(reinterpret_cast<HMIXEROBJ>(mixer))) return MMSYSERR_INVALHANDLE;
    --g_openCount;
    return MMSYSERR_NOERROR;
}

MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags)
{
    if (!IsOpen(mixer)) return MMSYSERR_INVALHANDLE;
    if ((flags & MIXER_GETLINEINFOF_QUERYMASK) != MIXER_GETLINEINFOF_COMPONENTTYPE)
        return MMSYSERR_NOTSUPPORTED;
    if (!line || line->cbStruct < sizeof *line) return MMSYSERR_INVALPARAM;
    if (line->dwComponentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS || !IsPresent() || Refuses(kRefuseLine))
        return MIXERR_INVALLINE;

    DWORD controls = 0, maximum = 0;
    for (const SimulatedControl& control : kControls)
        if (ExistingControl(control, &maximum)) ++controls;
    const DWORD size = line->cbStruct;
    ZeroMemory(line, sizeof *line);
    line->cbStruct = size;
    line->dwDestination = 0;
    line->dwLineID = kSpeakersLineId;
    line->fdwLine = MIXERLINE_LINEF_ACTIVE;
    line->dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    line->cChannels = 2;
    line->cControls = controls;
    lstrcpynA(line->szShortName, "Speakers", sizeof line->szShortName);
    lstrcpynA(line->szName, "Speakers", sizeof line->szName);
    line->Target.dwType = MIXERLINE_TARGETTYPE_WAVEOUT;
    lstrcpynA(line->Target.szPname, "Simulated Mixer", sizeof line->Target.szPname);
    return MMSYSERR_NOERROR;
}

MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags)
{
    if (!IsOpen(mixer)) return MMSYSERR_INVALHANDLE;
    if ((flags & MIXER_GETLINECONTROLSF_QUERYMASK) != MIXER_GETLINECONTROLSF_ONEBYTYPE)
        return MMSYSERR_NOTSUPPORTED;
    if (!controls || controls->cbStruct < sizeof *controls || controls->cControls < 1 ||
        controls->cbmxctrl < sizeof(MIXERCONTROLA) || !controls->pamxctrl)
        return MMSYSERR_INVALPARAM;
    if (controls->dwLineID != kSpeakersLineId) return MIXERR_INVALLINE;

    const SimulatedControl* control = ControlByType(controls->dwControlType);
    DWORD maximum = 0;
    if (!control || !ExistingControl(*control, &maximum)) return MIXERR_INVALCONTROL;
    MIXERCONTROLA* out = controls->pamxctrl;
    ZeroMemory(out, sizeof *out);
    out->cbStruct = sizeof *out;
    out->dwControlID = control->id;
    out->dwControlType = control->type;
    out->fdwControl = MIXERCONTROL_CONTROLF_UNIFORM;
    lstrcpynA(out->szShortName, control->valueName, sizeof out->szShortName);
    lstrcpynA(out->szName, control->valueName, sizeof out->szName);
    out->Bounds.dwMinimum = 0;
    out->Bounds.dwMaximum = maximum;
    out->Metrics.cSteps = control->maximumName ? maximum : 0;
    return MMSYSERR_NOERROR;
}

MMRESULT GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    const MMRESULT checked = CheckDetails(mixer, details, flags, kRefuseGet);
    if (checked != MMSYSERR_NOERROR) return checked;
    const SimulatedControl* control = ControlById(details->dwControlID);
    DWORD maximum = 0, value = 0;
    if (!control || !ExistingControl(*control, &maximum)) return MIXERR_INVALCONTROL;
    if (!ReadMixerValue(control->valueName, &value)) return MMSYSERR_ERROR;
    if (!control->maximumName) value = value != 0;
    // Every channel of a uniform control holds the same value.
    BYTE* channel = static_cast<BYTE*>(details->paDetails);
    for (DWORD i = 0; i < details->cChannels; ++i, channel += details->cbDetails)
        *reinterpret_cast<DWORD*>(channel) = value;
    return MMSYSERR_NOERROR;
}

MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    const MMRESULT checked = CheckDetails(mixer, details, flags, kRefuseSet);
    if (checked != MMSYSERR_NOERROR) return checked;
    const SimulatedControl* control = ControlById(details->dwControlID);
    DWORD maximum = 0;
    if (!control || !ExistingControl(*control, &maximum)) return MIXERR_INVALCONTROL;
    DWORD value = *static_cast<const DWORD*>(details->paDetails);
    value = control->maximumName ? (value > maximum ? maximum : value) : (value != 0);
    return WriteMixerValue(control->valueName, value) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

}  // namespace MixerDevice
