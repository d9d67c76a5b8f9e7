#include "device/MixerDevice.h"

namespace MixerDevice {

UINT GetNumDevs() { return mixerGetNumDevs(); }

MMRESULT Open(HMIXER* mixer, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    return mixerOpen(mixer, deviceId, callback, instance, flags);
}

MMRESULT GetDevCaps(UINT_PTR deviceId, MIXERCAPSA* capabilities, UINT size)
{
    return mixerGetDevCapsA(deviceId, capabilities, size);
}

MMRESULT Close(HMIXER mixer) { return mixerClose(mixer); }

MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags)
{
    return mixerGetLineInfoA(mixer, line, flags);
}

MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags)
{
    return mixerGetLineControlsA(mixer, controls, flags);
}

MMRESULT GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    return mixerGetControlDetailsA(mixer, details, flags);
}

MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    return mixerSetControlDetails(mixer, details, flags);
}

}  // namespace MixerDevice
