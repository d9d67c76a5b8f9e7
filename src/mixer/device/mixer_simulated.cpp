#include "mixer/device/mixer.h"

// Placeholder until the simulated mixer lands: no mixer device.
namespace MixerDevice {

UINT GetNumDevs() { return 0; }
MMRESULT Open(HMIXER*, UINT, DWORD_PTR, DWORD_PTR, DWORD) { return MMSYSERR_NODRIVER; }
MMRESULT GetDevCaps(UINT_PTR, MIXERCAPSA*, UINT) { return MMSYSERR_NODRIVER; }
MMRESULT Close(HMIXER) { return MMSYSERR_NOERROR; }
MMRESULT GetLineInfo(HMIXEROBJ, MIXERLINEA*, DWORD) { return MMSYSERR_NODRIVER; }
MMRESULT GetLineControls(HMIXEROBJ, MIXERLINECONTROLSA*, DWORD) { return MMSYSERR_NODRIVER; }
MMRESULT GetControlDetails(HMIXEROBJ, MIXERCONTROLDETAILS*, DWORD) { return MMSYSERR_NODRIVER; }
MMRESULT SetControlDetails(HMIXEROBJ, MIXERCONTROLDETAILS*, DWORD) { return MMSYSERR_NODRIVER; }

}  // namespace MixerDevice
