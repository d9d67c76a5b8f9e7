// The WINMM mixer calls, in one module so that the simulated sound card
// (MixerDeviceSimulated.cpp) can stand in for the hardware;
// MixerDeviceWindows.cpp forwards to WINMM.DLL.
#pragma once
#include <windows.h>
#include <mmsystem.h>

namespace MixerDevice {

UINT GetNumDevs();
MMRESULT Open(HMIXER* mixer, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
MMRESULT GetDevCaps(UINT_PTR deviceId, MIXERCAPSA* capabilities, UINT size);
MMRESULT Close(HMIXER mixer);
MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags);
MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags);
MMRESULT GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags);
MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags);

}  // namespace MixerDevice
