// The simulated keyboard: the HID calls of discovery answered from the
// registry instead of the hardware, for MMKeyboard-sim.exe.
//
// The devices are listed under HKEY_CURRENT_USER\Software\MMKeyboard
// Simulator\Devices in subkeys "0", "1", ... (until one is missing), each with
// the DWORDs VendorID, ProductID, UsagePage, Usage, InputReportLength,
// OutputReportLength and the string DevicePath. The path is a named pipe whose
// server plays the keyboard and writes one input report per message; the
// program opens it with the real CreateFileA and reads it with the real
// ReadFile. A path whose pipe does not exist is an interface that cannot be
// opened, and the server closing its pipe is the keyboard being unplugged.
//
// The attribute and capability calls get a handle, but nothing maps a pipe
// handle back to its name on this platform. Discovery describes an interface,
// opens it and checks it before it describes the next, so the handle being
// checked is always that of the device described last: the module remembers
// that one.
#include "keyboard/device/hid.h"
#include <stddef.h>

namespace {

const char kDevicesKey[] = "Software\\MMKeyboard Simulator\\Devices";
const DWORD kMaxDevices = 32;
const NTSTATUS kHidpStatusSuccess = 0x00110000;
const NTSTATUS kHidpStatusInvalidPreparsedData = (NTSTATUS)0xC0110001;

struct SimulatedDevice {
    DWORD vendorId, productId, usagePage, usage, inputReportLength, outputReportLength;
    char devicePath[MAX_PATH];
};

struct DeviceList {
    DWORD count;
    SimulatedDevice devices[kMaxDevices];
};

DeviceList g_deviceSet;            // the one set discovery holds at a time
SimulatedDevice g_described;       // the device whose path was described last
bool g_hasDescribed;
SimulatedDevice g_preparsedData;   // what GetPreparsedData hands out

DWORD ReadDword(HKEY key, const char* name)
{
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return 0;
    return value;
}

void ReadPath(HKEY key, char* path, DWORD pathSize)
{
    DWORD type = 0, size = pathSize - 1;
    ZeroMemory(path, pathSize);
    if (RegQueryValueExA(key, "DevicePath", NULL, &type, reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        path[0] = '\0';
}

void LoadDevices(DeviceList* list)
{
    list->count = 0;
    HKEY devices;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDevicesKey, 0, KEY_READ, &devices) != ERROR_SUCCESS) return;
    while (list->count < kMaxDevices) {
        char name[16];
        wsprintfA(name, "%lu", list->count);
        HKEY entry;
        if (RegOpenKeyExA(devices, name, 0, KEY_READ, &entry) != ERROR_SUCCESS) break;
        SimulatedDevice& device = list->devices[list->count++];
        device.vendorId = ReadDword(entry, "VendorID");
        device.productId = ReadDword(entry, "ProductID");
        device.usagePage = ReadDword(entry, "UsagePage");
        device.usage = ReadDword(entry, "Usage");
        device.inputReportLength = ReadDword(entry, "InputReportLength");
        device.outputReportLength = ReadDword(entry, "OutputReportLength");
        ReadPath(entry, device.devicePath, sizeof device.devicePath);
        RegCloseKey(entry);
    }
    RegCloseKey(devices);
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
    LoadDevices(&g_deviceSet);
    return SetHandle();
}

BOOL EnumDeviceInterfaces(HDEVINFO set, const GUID* classGuid, DWORD memberIndex,
                          SP_DEVICE_INTERFACE_DATA* interfaceData)
{
    if (set != SetHandle() || !interfaceData || interfaceData->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) {
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
    if (set != SetHandle() || !interfaceData || interfaceData->Reserved >= g_deviceSet.count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const SimulatedDevice& device = g_deviceSet.devices[interfaceData->Reserved];
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

BOOL DestroyDeviceInfoList(HDEVINFO set) { return set == SetHandle(); }

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
    if (!g_hasDescribed) return FALSE;
    g_preparsedData = g_described;
    *preparsedData = reinterpret_cast<PHIDP_PREPARSED_DATA>(&g_preparsedData);
    return TRUE;
}

BOOLEAN FreePreparsedData(PHIDP_PREPARSED_DATA preparsedData)
{
    return preparsedData == reinterpret_cast<PHIDP_PREPARSED_DATA>(&g_preparsedData);
}

NTSTATUS GetCaps(PHIDP_PREPARSED_DATA preparsedData, HIDP_CAPS* capabilities)
{
    if (preparsedData != reinterpret_cast<PHIDP_PREPARSED_DATA>(&g_preparsedData))
        return kHidpStatusInvalidPreparsedData;
    ZeroMemory(capabilities, sizeof *capabilities);
    capabilities->UsagePage = static_cast<USAGE>(g_preparsedData.usagePage);
    capabilities->Usage = static_cast<USAGE>(g_preparsedData.usage);
    capabilities->InputReportByteLength = static_cast<USHORT>(g_preparsedData.inputReportLength);
    capabilities->OutputReportByteLength = static_cast<USHORT>(g_preparsedData.outputReportLength);
    return kHidpStatusSuccess;
}

}  // namespace HidDevice
