#include "device/HidDevice.h"

namespace HidDevice {

void GetHidGuid(GUID* classGuid) { HidD_GetHidGuid(classGuid); }

HDEVINFO GetClassDevs(const GUID* classGuid, DWORD flags)
{
    return SetupDiGetClassDevsA(classGuid, NULL, NULL, flags);
}

BOOL EnumDeviceInterfaces(HDEVINFO set, const GUID* classGuid, DWORD memberIndex,
                          SP_DEVICE_INTERFACE_DATA* interfaceData)
{
    return SetupDiEnumDeviceInterfaces(set, NULL, classGuid, memberIndex, interfaceData);
}

BOOL GetDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* interfaceData,
                              SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                              DWORD* requiredSize)
{
    return SetupDiGetDeviceInterfaceDetailA(set, interfaceData, detail, detailSize, requiredSize, NULL);
}

BOOL DestroyDeviceInfoList(HDEVINFO set) { return SetupDiDestroyDeviceInfoList(set); }

BOOLEAN GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes)
{
    return HidD_GetAttributes(device, attributes);
}

BOOLEAN GetPreparsedData(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData)
{
    return HidD_GetPreparsedData(device, preparsedData);
}

BOOLEAN FreePreparsedData(PHIDP_PREPARSED_DATA preparsedData)
{
    return HidD_FreePreparsedData(preparsedData);
}

NTSTATUS GetCaps(PHIDP_PREPARSED_DATA preparsedData, HIDP_CAPS* capabilities)
{
    return HidP_GetCaps(preparsedData, capabilities);
}

NTSTATUS GetSpecificButtonCaps(USAGE usagePage, HIDP_BUTTON_CAPS* caps, USHORT* count,
                               PHIDP_PREPARSED_DATA preparsedData)
{
    // HidP_GetButtonCaps is this call with no page: Windows 98's HID.DLL
    // exports both, this one since the first.
    return HidP_GetSpecificButtonCaps(HidP_Input, usagePage, 0, 0, caps, count, preparsedData);
}

NTSTATUS GetUsages(USAGE usagePage, USAGE* usages, ULONG* count, PHIDP_PREPARSED_DATA preparsedData,
                   BYTE* report, ULONG reportLength)
{
    // Link collection 0: the usages of every collection of the interface.
    return HidP_GetUsages(HidP_Input, usagePage, 0, usages, count, preparsedData, reinterpret_cast<PCHAR>(report),
                          reportLength);
}

}  // namespace HidDevice
