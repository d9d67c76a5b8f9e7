// Finding the keyboard: every HID interface present is opened in enumeration
// order and checked; the first consumer-control collection of the keyboard is
// kept open, every other one is closed before the next is opened.
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/KeyboardDevice.h"
#include "device/HidDevice.h"

KeyboardDeviceRecord KeyboardDevice;

namespace {

const USHORT kAcceptedProducts[] = { 0x0101, 0x0102, 0x0103, 0x0202 };
const USAGE kConsumerPage = 0x000C;
const USAGE kConsumerControl = 0x0001;
const NTSTATUS kHidpStatusSuccess = 0x00110000;
const DWORD kPresentInterfaces = DIGCF_PRESENT | DIGCF_DEVICEINTERFACE;  // 0x12

#ifndef _WIN64
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == 28, "interface data record of the 32-bit platform");
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 5, "fixed part of the detail record");
#endif
static_assert(sizeof(HIDD_ATTRIBUTES) == 12, "the attributes record HID.DLL checks by its Size");
static_assert(sizeof(HIDP_CAPS) == 64, "the capabilities record HidP_GetCaps fills whole");

bool IsAcceptedProduct(USHORT productId)
{
    for (USHORT accepted : kAcceptedProducts)
        if (accepted == productId) return true;
    return false;
}

// The interface's device path, or NULL; the caller frees it with LocalFree.
SP_DEVICE_INTERFACE_DETAIL_DATA_A* DescribeInterface(HDEVINFO set, const GUID* classGuid, DWORD index)
{
    SP_DEVICE_INTERFACE_DATA interfaceData;
    ZeroMemory(&interfaceData, sizeof interfaceData);
    interfaceData.cbSize = sizeof interfaceData;
    if (!HidDevice::EnumDeviceInterfaces(set, classGuid, index, &interfaceData)) return NULL;

    DWORD requiredSize = 0;
    HidDevice::GetDeviceInterfaceDetail(set, &interfaceData, NULL, 0, &requiredSize);
    // A size that cannot even hold the record's fixed part means the query
    // failed; writing cbSize into such a buffer would overrun it.
    if (requiredSize <= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) return NULL;

    SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail =
        static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(LocalAlloc(LPTR, requiredSize));
    if (!detail) return NULL;
    // cbSize is the size of the fixed part, not of the buffer.
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!HidDevice::GetDeviceInterfaceDetail(set, &interfaceData, detail, requiredSize, NULL)) {
        LocalFree(detail);
        return NULL;
    }
    return detail;
}

}  // namespace

HANDLE OpenHidInterface(const GUID* classGuid, DWORD index)
{
    HDEVINFO set = HidDevice::GetClassDevs(classGuid, kPresentInterfaces);
    if (set == INVALID_HANDLE_VALUE) return NULL;

    HANDLE device = NULL;
    SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail = DescribeInterface(set, classGuid, index);
    if (detail) {
        device = CreateFileA(detail->DevicePath, GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, NULL);
        if (device == INVALID_HANDLE_VALUE) device = NULL;
        LocalFree(detail);
    }
    HidDevice::DestroyDeviceInfoList(set);
    return device;
}

bool CheckKeyboardIdentity(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData,
                           USHORT* inputReportLength, USHORT* outputReportLength)
{
    HIDD_ATTRIBUTES attributes;
    ZeroMemory(&attributes, sizeof attributes);
    attributes.Size = sizeof attributes;
    if (!HidDevice::GetAttributes(device, &attributes)) return false;
    if (attributes.VendorID != KEYBOARD_VENDOR_ID) return false;
    if (!IsAcceptedProduct(attributes.ProductID)) return false;
    if (!HidDevice::GetPreparsedData(device, preparsedData)) return false;

    HIDP_CAPS caps;
    ZeroMemory(&caps, sizeof caps);
    const NTSTATUS status = HidDevice::GetCaps(*preparsedData, &caps);
    HidDevice::FreePreparsedData(*preparsedData);
    if (status != kHidpStatusSuccess) return false;

    *inputReportLength = caps.InputReportByteLength;
    *outputReportLength = caps.OutputReportByteLength;
    // A report must hold at least its ID byte and fit the report buffer:
    // anything else could not be read without overrunning it.
    const bool readable = caps.InputReportByteLength >= 1 &&
                          caps.InputReportByteLength <= kReportBufferSize;
    return caps.UsagePage == kConsumerPage && caps.Usage == kConsumerControl && readable;
}

bool FindKeyboard()
{
    USHORT inputLength = 0;
    USHORT outputLength = 0;
    KeyboardDevice.inputReportLength.store(0);
    KeyboardDevice.outputReportLength = 0;

    GUID hidGuid;
    HidDevice::GetHidGuid(&hidGuid);

    bool found = false;
    for (DWORD index = 0;; ++index) {
        HANDLE device = OpenHidInterface(&hidGuid, index);
        KeyboardDevice.handle.store(device);
        if (!device) break;
        PHIDP_PREPARSED_DATA preparsedData = NULL;
        const bool accepted = CheckKeyboardIdentity(device, &preparsedData, &inputLength, &outputLength);
        KeyboardDevice.inputReportLength.store(inputLength);
        KeyboardDevice.outputReportLength = outputLength;
        if (accepted) {
            found = true;
            break;
        }
        CloseHandle(device);
    }

    // The lengths may be those of a refused interface: never zero past the buffer.
    USHORT clear = KeyboardDevice.inputReportLength.load();
    if (clear > kReportBufferSize) clear = kReportBufferSize;
    ZeroMemory(KeyboardDevice.reportBuffer, clear);
    return found;
}
