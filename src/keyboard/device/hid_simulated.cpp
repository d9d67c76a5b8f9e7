#include "keyboard/device/hid.h"

// Placeholder until the simulated keyboard lands: no HID interface at all.
namespace HidDevice {

void GetHidGuid(GUID* classGuid) { ZeroMemory(classGuid, sizeof *classGuid); }
HDEVINFO GetClassDevs(const GUID*, DWORD) { return INVALID_HANDLE_VALUE; }
BOOL EnumDeviceInterfaces(HDEVINFO, const GUID*, DWORD, SP_DEVICE_INTERFACE_DATA*) { return FALSE; }
BOOL GetDeviceInterfaceDetail(HDEVINFO, SP_DEVICE_INTERFACE_DATA*, SP_DEVICE_INTERFACE_DETAIL_DATA_A*,
                              DWORD, DWORD*) { return FALSE; }
BOOL DestroyDeviceInfoList(HDEVINFO) { return TRUE; }
BOOLEAN GetAttributes(HANDLE, HIDD_ATTRIBUTES*) { return FALSE; }
BOOLEAN GetPreparsedData(HANDLE, PHIDP_PREPARSED_DATA*) { return FALSE; }
BOOLEAN FreePreparsedData(PHIDP_PREPARSED_DATA) { return TRUE; }
NTSTATUS GetCaps(PHIDP_PREPARSED_DATA, HIDP_CAPS*) { return 0; }

}  // namespace HidDevice
