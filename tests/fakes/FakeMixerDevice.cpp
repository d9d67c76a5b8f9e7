#include "fakes/FakeMixerDevice.h"
#include "device/MixerDevice.h"

namespace mmk_fake {

namespace {

FakeMixer g_mixer;
// The handle the fake hands out: any non-NULL value the program never reads.
const HMIXER kFakeHandle = reinterpret_cast<HMIXER>(static_cast<UINT_PTR>(0x4D58));

bool IsOpenHandle(HMIXEROBJ mixer)
{
    return g_mixer.openHandles > 0 && reinterpret_cast<HMIXER>(mixer) == kFakeHandle;
}

FakeMixerControl* ControlByType(DWORD controlType)
{
    switch (controlType) {
    case MIXERCONTROL_CONTROLTYPE_VOLUME: return &g_mixer.volume;
    case MIXERCONTROL_CONTROLTYPE_MUTE: return &g_mixer.mute;
    case MIXERCONTROL_CONTROLTYPE_BASS: return &g_mixer.bass;
    case MIXERCONTROL_CONTROLTYPE_TREBLE: return &g_mixer.treble;
    case MIXERCONTROL_CONTROLTYPE_LOUDNESS: return &g_mixer.loudness;
    }
    return 0;
}

FakeMixerControl* ControlById(DWORD controlId)
{
    FakeMixerControl* all[] = { &g_mixer.volume, &g_mixer.mute, &g_mixer.bass, &g_mixer.treble,
                                &g_mixer.loudness };
    for (FakeMixerControl* control : all)
        if (control->present && control->controlId == controlId) return control;
    return 0;
}

// The one-value record the program fills for a get or a set.
FakeMixerControl* CheckDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags,
                               MMRESULT* error)
{
    *error = MMSYSERR_NOERROR;
    if (!IsOpenHandle(mixer)) *error = MMSYSERR_INVALHANDLE;
    else if (flags != (MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE)) *error = MMSYSERR_INVALFLAG;
    else if (details->cbStruct != sizeof(MIXERCONTROLDETAILS) || details->cChannels != 1 ||
             details->cMultipleItems != 0 || details->cbDetails != 4 || !details->paDetails)
        *error = MMSYSERR_INVALPARAM;
    if (*error) return 0;
    FakeMixerControl* control = ControlById(details->dwControlID);
    if (!control) *error = MIXERR_INVALCONTROL;
    return control;
}

}  // namespace

FakeMixer& TheFakeMixer() { return g_mixer; }

void ResetFakeMixer()
{
    ZeroMemory(&g_mixer, sizeof g_mixer);
    g_mixer.deviceCount = 1;
    g_mixer.speakersLine = true;
}

void AddFakeControl(FakeMixerControl* control, DWORD controlId, DWORD maximum, DWORD value)
{
    ZeroMemory(control, sizeof *control);
    control->present = true;
    control->controlId = controlId;
    control->maximum = maximum;
    control->value = value;
}

void AddAllFakeControls(DWORD faderMaximum, DWORD faderValue)
{
    FakeMixer& card = TheFakeMixer();
    AddFakeControl(&card.volume, 1, faderMaximum, faderValue);
    AddFakeControl(&card.mute, 2, 1, 0);
    AddFakeControl(&card.bass, 3, faderMaximum, faderValue);
    AddFakeControl(&card.treble, 4, faderMaximum, faderValue);
    AddFakeControl(&card.loudness, 5, 1, 0);
}

}  // namespace mmk_fake

using mmk_fake::g_mixer;

namespace MixerDevice {

UINT GetNumDevs()
{
    ++g_mixer.calls;
    return g_mixer.deviceCount;
}

MMRESULT Open(HMIXER* mixer, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    ++g_mixer.calls;
    ++g_mixer.opens;
    g_mixer.lastCallback = callback;
    g_mixer.lastOpenFlags = flags;
    if (deviceId >= g_mixer.deviceCount) return MMSYSERR_BADDEVICEID;
    if (g_mixer.openResult != MMSYSERR_NOERROR) return g_mixer.openResult;
    *mixer = mmk_fake::kFakeHandle;
    ++g_mixer.openHandles;
    return MMSYSERR_NOERROR;
}

MMRESULT GetDevCaps(UINT_PTR deviceId, MIXERCAPSA* capabilities, UINT size)
{
    ++g_mixer.calls;
    if (size != sizeof(MIXERCAPSA)) return MMSYSERR_INVALPARAM;
    if (g_mixer.capsResult != MMSYSERR_NOERROR) return g_mixer.capsResult;
    ZeroMemory(capabilities, sizeof *capabilities);
    lstrcpynA(capabilities->szPname, "Fake Mixer", sizeof capabilities->szPname);
    capabilities->cDestinations = 1;
    return MMSYSERR_NOERROR;
}

MMRESULT Close(HMIXER mixer)
{
    ++g_mixer.calls;
    ++g_mixer.closes;
    if (!mmk_fake::IsOpenHandle(reinterpret_cast<HMIXEROBJ>(mixer))) return MMSYSERR_INVALHANDLE;
    --g_mixer.openHandles;
    return g_mixer.closeResult;
}

MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags)
{
    ++g_mixer.calls;
    if (!mmk_fake::IsOpenHandle(mixer)) return MMSYSERR_INVALHANDLE;
    if (flags != (MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE)) return MMSYSERR_INVALFLAG;
    if (line->cbStruct != sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
    if (line->dwComponentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS || !g_mixer.speakersLine)
        return MIXERR_INVALLINE;
    line->dwLineID = 0xFFFF0000;
    line->dwDestination = 0;
    lstrcpynA(line->szName, "Speakers", sizeof line->szName);
    return MMSYSERR_NOERROR;
}

MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags)
{
    ++g_mixer.calls;
    if (!mmk_fake::IsOpenHandle(mixer)) return MMSYSERR_INVALHANDLE;
    if (flags != (MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE)) return MMSYSERR_INVALFLAG;
    if (controls->cbStruct != sizeof(MIXERLINECONTROLSA) || controls->cControls != 1 ||
        controls->cbmxctrl != sizeof(MIXERCONTROLA) || !controls->pamxctrl)
        return MMSYSERR_INVALPARAM;
    if (controls->dwLineID != 0xFFFF0000) return MIXERR_INVALLINE;
    mmk_fake::FakeMixerControl* control = mmk_fake::ControlByType(controls->dwControlType);
    if (!control || !control->present) return MIXERR_INVALCONTROL;
    MIXERCONTROLA* out = controls->pamxctrl;
    ZeroMemory(out, sizeof *out);
    out->cbStruct = sizeof *out;
    out->dwControlID = control->controlId;
    out->dwControlType = controls->dwControlType;
    out->Bounds.dwMinimum = 0;
    out->Bounds.dwMaximum = control->maximum;
    return MMSYSERR_NOERROR;
}

MMRESULT GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    ++g_mixer.calls;
    MMRESULT error;
    mmk_fake::FakeMixerControl* control = mmk_fake::CheckDetails(mixer, details, flags, &error);
    if (!control) return error;
    ++control->gets;
    if (control->getResult != MMSYSERR_NOERROR) return control->getResult;
    *static_cast<DWORD*>(details->paDetails) = control->value;
    return MMSYSERR_NOERROR;
}

MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    ++g_mixer.calls;
    MMRESULT error;
    mmk_fake::FakeMixerControl* control = mmk_fake::CheckDetails(mixer, details, flags, &error);
    if (!control) return error;
    ++control->sets;
    g_mixer.lastDetailsValue = *static_cast<DWORD*>(details->paDetails);
    if (control->setResult != MMSYSERR_NOERROR) return control->setResult;
    control->value = g_mixer.lastDetailsValue;
    return MMSYSERR_NOERROR;
}

}  // namespace MixerDevice
