// The HID class and device-installation calls that keyboard discovery makes.
// They sit in one module so that the simulated keyboard
// (HidDeviceSimulated.cpp) can stand in for the hardware;
// HidDeviceWindows.cpp forwards to HID.DLL and SETUPAPI.DLL. CreateFileA,
// ReadFile and CloseHandle are not here: they stay real, so a simulated
// device is a real handle (a pipe).
#pragma once
#include <windows.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

// The top-level collection of a keyboard's extra keys, Consumer / Consumer
// Control, and the page its key usages come from.
const USAGE kConsumerPage = 0x000C;
const USAGE kConsumerControl = 0x0001;

namespace HidDevice {

void GetHidGuid(GUID* classGuid);
HDEVINFO GetClassDevs(const GUID* classGuid, DWORD flags);
BOOL EnumDeviceInterfaces(HDEVINFO set, const GUID* classGuid, DWORD memberIndex,
                          SP_DEVICE_INTERFACE_DATA* interfaceData);
BOOL GetDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* interfaceData,
                              SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                              DWORD* requiredSize);
BOOL DestroyDeviceInfoList(HDEVINFO set);
BOOLEAN GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes);
BOOLEAN GetPreparsedData(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData);
BOOLEAN FreePreparsedData(PHIDP_PREPARSED_DATA preparsedData);
NTSTATUS GetCaps(PHIDP_PREPARSED_DATA preparsedData, HIDP_CAPS* capabilities);
// The button capabilities of the page in the collection's input reports;
// *count holds the list's room and receives how many there are.
NTSTATUS GetSpecificButtonCaps(USAGE usagePage, HIDP_BUTTON_CAPS* caps, USHORT* count,
                               PHIDP_PREPARSED_DATA preparsedData);
// The usages of the page that are pressed in one input report, the report-ID
// byte first; *count holds the list's room and receives how many there are.
// The reader thread calls it while the UI thread may query other interfaces.
NTSTATUS GetUsages(USAGE usagePage, USAGE* usages, ULONG* count, PHIDP_PREPARSED_DATA preparsedData,
                   BYTE* report, ULONG reportLength);

}  // namespace HidDevice
