// The simulated keyboard of MMKeyboard-sim.exe: the HID calls of discovery
// answered from the simulator's device list (device/Simulator.h) instead of
// the hardware. CreateFileA and ReadFile stay real, on the entry's pipe.
//
// The attribute and capability calls get a handle, but nothing maps a pipe
// handle back to its name on this platform. Discovery describes an interface,
// opens it and checks it before it describes the next, so the handle being
// checked is always that of the device described last: the module remembers
// that one.
#include "device/HidDevice.h"
#include <stddef.h>
#include "device/Simulator.h"

namespace {

const NTSTATUS kHidpStatusSuccess = 0x00110000;
const NTSTATUS kHidpStatusInvalidPreparsedData = (NTSTATUS)0xC0110001;

struct DeviceList {
    DWORD count;
    SimulatedInterface devices[kMaxSimulatedDevices];
};

DeviceList g_deviceSet;              // the one set discovery holds at a time
SimulatedInterface g_described;      // the device whose path was described last
bool g_hasDescribed;
bool g_setHeld;                      // from GetClassDevs to DestroyDeviceInfoList
SimulatedInterface g_preparsedData;  // what GetPreparsedData hands out
bool g_preparsedHeld;                // until FreePreparsedData

void LoadDevices(DeviceList* list)
{
    list->count = 0;
    while (list->count < kMaxSimulatedDevices && ReadSimulatedInterface(list->count, &list->devices[list->count]))
        ++list->count;
}

HDEVINFO SetHandle() { return reinterpret_cast<HDEVINFO>(&g_deviceSet); }

}  // namespace

namespace HidDevice {

void GetHidGuid(GUID* classGuid)
{
    // The HID interface class {4D1E55B2-F16F-11CF-88CB-001111000030}.
    const GUID hid = { 0x4D1E55B2, 0xF16F, 0x11CF, { 0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30 } };
    *classGuid = hid;
}

HDEVINFO GetClassDevs(const GUID*, DWORD)
{
    if (g_setHeld) return INVALID_HANDLE_VALUE;
    g_setHeld = true;
    LoadDevices(&g_deviceSet);
    return SetHandle();
}

BOOL EnumDeviceInterfaces(HDEVINFO set, const GUID* classGuid, DWORD memberIndex,
                          SP_DEVICE_INTERFACE_DATA* interfaceData)
{
    if (set != SetHandle() || !g_setHeld || !interfaceData ||
        interfaceData->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (memberIndex >= g_deviceSet.count) {
        SetLastError(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    interfaceData->InterfaceClassGuid = *classGuid;
    interfaceData->Flags = SPINT_ACTIVE;
    interfaceData->Reserved = memberIndex;
    return TRUE;
}

BOOL GetDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* interfaceData,
                              SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                              DWORD* requiredSize)
{
    if (set != SetHandle() || !g_setHeld || !interfaceData || interfaceData->Reserved >= g_deviceSet.count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const SimulatedInterface& device = g_deviceSet.devices[interfaceData->Reserved];
    const DWORD needed = static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) +
                                            lstrlenA(device.devicePath) + 1);
    if (requiredSize) *requiredSize = needed;
    if (!detail || detailSize < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    lstrcpyA(detail->DevicePath, device.devicePath);
    g_described = device;
    g_hasDescribed = true;
    return TRUE;
}

BOOL DestroyDeviceInfoList(HDEVINFO set)
{
    if (set != SetHandle() || !g_setHeld) return FALSE;
    g_setHeld = false;
    return TRUE;
}

BOOLEAN GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes)
{
    if (!g_hasDescribed) return FALSE;
    // A keyboard delivers one whole report per read; a pipe does that only in
    // message-read mode, which a client handle does not start in.
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(device, &mode, NULL, NULL);
    attributes->VendorID = static_cast<USHORT>(g_described.vendorId);
    attributes->ProductID = static_cast<USHORT>(g_described.productId);
    attributes->VersionNumber = 0x0100;
    return TRUE;
}

BOOLEAN GetPreparsedData(HANDLE, PHIDP_PREPARSED_DATA* preparsedData)
{
    if (!g_hasDescribed || g_preparsedHeld) return FALSE;
    g_preparsedData = g_described;
    g_preparsedHeld = true;
    *preparsedData = reinterpret_cast<PHIDP_PREPARSED_DATA>(&g_preparsedData);
    return TRUE;
}

BOOLEAN FreePreparsedData(PHIDP_PREPARSED_DATA preparsedData)
{
    if (preparsedData != reinterpret_cast<PHIDP_PREPARSED_DATA>(&g_preparsedData) || !g_preparsedHeld) return FALSE;
    g_preparsedHeld = false;
    return TRUE;
}

NTSTATUS GetCaps(PHIDP_PREPARSED_DATA preparsedData, HIDP_CAPS* capabilities)
{
    if (preparsedData != reinterpret_cast<PHIDP_PREPARSED_DATA>(&g_preparsedData) || !g_preparsedHeld)
        return kHidpStatusInvalidPreparsedData;
    ZeroMemory(capabilities, sizeof *capabilities);
    capabilities->UsagePage = static_cast<USAGE>(g_preparsedData.usagePage);
    capabilities->Usage = static_cast<USAGE>(g_preparsedData.usage);
    capabilities->InputReportByteLength = static_cast<USHORT>(g_preparsedData.inputReportLength);
    capabilities->OutputReportByteLength = static_cast<USHORT>(g_preparsedData.outputReportLength);
    return kHidpStatusSuccess;
}

}  // namespace HidDevice
