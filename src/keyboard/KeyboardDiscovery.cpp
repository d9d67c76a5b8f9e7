// Finding the keyboard: every HID interface present is opened in enumeration
// order and checked; the first consumer-control collection of the maker's
// models is kept open, every other one is closed before the next is opened.
// The first consumer-control collection of any other keyboard is held aside
// meanwhile and kept only when the search ends without the maker's model:
// that model always wins. So at most two interfaces are open at a time.
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/UsageKeys.h"
#include "device/HidDevice.h"

KeyboardDeviceRecord KeyboardDevice;

namespace {

const USHORT kAcceptedProducts[] = { 0x0101, 0x0102, 0x0103, 0x0202 };
const NTSTATUS kHidpStatusSuccess = HIDP_STATUS_SUCCESS;
const DWORD kPresentInterfaces = DIGCF_PRESENT | DIGCF_DEVICEINTERFACE;  // 0x12

// Where an interface was looked for: whether there is one at the index, and
// its device path.
struct InterfacePlace {
    bool listed;
    char path[MAX_PATH];
};

// The device path of the standard keyboard being read, "" for none. The
// search for the maker's model never opens it a second time: opening and
// closing a device's interface can look like a new user of it to the device.
char g_standardPath[MAX_PATH];

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

bool IsMakerModel(const HIDD_ATTRIBUTES& attributes)
{
    return attributes.VendorID == KEYBOARD_VENDOR_ID && IsAcceptedProduct(attributes.ProductID);
}

// A standard keyboard's consumer-control collection, whose reports can be
// read: another maker's, or the maker's of a model other than the four. On
// success its preparsed data is left held in *preparsedData.
bool CheckStandardKeyboard(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData, HIDP_CAPS* caps)
{
    HIDD_ATTRIBUTES attributes;
    ZeroMemory(&attributes, sizeof attributes);
    attributes.Size = sizeof attributes;
    if (!HidDevice::GetAttributes(device, &attributes) || IsMakerModel(attributes)) return false;
    if (!HidDevice::GetPreparsedData(device, preparsedData)) return false;
    ZeroMemory(caps, sizeof *caps);
    const bool accepted = HidDevice::GetCaps(*preparsedData, caps) == kHidpStatusSuccess &&
                          caps->UsagePage == kConsumerPage && caps->Usage == kConsumerControl &&
                          caps->InputReportByteLength >= 1 && caps->InputReportByteLength <= kStandardReportLimit;
    if (!accepted) HidDevice::FreePreparsedData(*preparsedData);
    return accepted;
}

// Keeps the standard keyboard held aside as the keyboard found.
void TakeStandardKeyboard(HANDLE device, PHIDP_PREPARSED_DATA preparsedData, const HIDP_CAPS& caps)
{
    KeyboardDevice.inputReportLength.store(caps.InputReportByteLength);
    KeyboardDevice.outputReportLength = caps.OutputReportByteLength;
    KeyboardDevice.preparsedData.store(preparsedData);
    KeyboardDevice.kind.store(KeyboardKind::kStandard);
    KeyboardDevice.handle.store(device);
}

// The interface's device path, or NULL; the caller frees it with LocalFree.
SP_DEVICE_INTERFACE_DETAIL_DATA_A* DescribeInterface(HDEVINFO set, const GUID* classGuid, DWORD index,
                                                     bool* listed)
{
    SP_DEVICE_INTERFACE_DATA interfaceData;
    ZeroMemory(&interfaceData, sizeof interfaceData);
    interfaceData.cbSize = sizeof interfaceData;
    *listed = HidDevice::EnumDeviceInterfaces(set, classGuid, index, &interfaceData) != FALSE;
    if (!*listed) return NULL;

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

// The interface at that index, opened, or NULL; the place tells whether
// there is one at that index at all, and its path. An interface at skipPath
// is not opened.
HANDLE OpenListedInterface(const GUID* classGuid, DWORD index, InterfacePlace* place, const char* skipPath)
{
    place->listed = false;
    place->path[0] = '\0';
    HDEVINFO set = HidDevice::GetClassDevs(classGuid, kPresentInterfaces);
    if (set == INVALID_HANDLE_VALUE) return NULL;

    HANDLE device = NULL;
    SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail = DescribeInterface(set, classGuid, index, &place->listed);
    if (detail) lstrcpynA(place->path, detail->DevicePath, sizeof place->path);
    if (detail && lstrcmpiA(place->path, skipPath) != 0) {
        device = CreateFileA(detail->DevicePath, GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, NULL);
        if (device == INVALID_HANDLE_VALUE) device = NULL;
    }
    if (detail) LocalFree(detail);
    HidDevice::DestroyDeviceInfoList(set);
    return device;
}

}  // namespace

HANDLE OpenHidInterface(const GUID* classGuid, DWORD index)
{
    InterfacePlace place;
    return OpenListedInterface(classGuid, index, &place, "");
}

bool CheckKeyboardIdentity(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData,
                           USHORT* inputReportLength, USHORT* outputReportLength)
{
    HIDD_ATTRIBUTES attributes;
    ZeroMemory(&attributes, sizeof attributes);
    attributes.Size = sizeof attributes;
    if (!HidDevice::GetAttributes(device, &attributes)) return false;
    if (!IsMakerModel(attributes)) return false;
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
                          caps.InputReportByteLength <= kMakerReportLimit;
    return caps.UsagePage == kConsumerPage && caps.Usage == kConsumerControl && readable;
}

bool FindKeyboard()
{
    USHORT inputLength = 0;
    USHORT outputLength = 0;
    KeyboardDevice.inputReportLength.store(0);
    KeyboardDevice.outputReportLength = 0;

    KeyboardDevice.kind.store(KeyboardKind::kMaker);
    KeyboardDevice.preparsedData.store(NULL);

    GUID hidGuid;
    HidDevice::GetHidGuid(&hidGuid);

    bool found = false;
    HANDLE standard = NULL;  // the first standard keyboard, held aside
    PHIDP_PREPARSED_DATA standardData = NULL;
    HIDP_CAPS standardCaps;
    char standardPath[MAX_PATH] = "";
    for (DWORD index = 0;; ++index) {
        InterfacePlace place;
        HANDLE device = OpenListedInterface(&hidGuid, index, &place, "");
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
        if (!standard && CheckStandardKeyboard(device, &standardData, &standardCaps)) {
            standard = device;
            lstrcpyA(standardPath, place.path);
        } else {
            CloseHandle(device);
        }
    }
    lstrcpyA(g_standardPath, found ? "" : standardPath);
    if (standard && found) {
        HidDevice::FreePreparsedData(standardData);
        CloseHandle(standard);
    } else if (standard) {
        TakeStandardKeyboard(standard, standardData, standardCaps);
        found = true;
    }

    // The lengths may be those of a refused interface: never zero past the buffer.
    const USHORT limit =
        KeyboardDevice.kind.load() == KeyboardKind::kStandard ? kStandardReportLimit : kMakerReportLimit;
    USHORT clear = KeyboardDevice.inputReportLength.load();
    if (clear > limit) clear = limit;
    ZeroMemory(KeyboardDevice.reportBuffer, clear);
    return found;
}

HANDLE FindMakerKeyboard(USHORT* inputReportLength, USHORT* outputReportLength)
{
    GUID hidGuid;
    HidDevice::GetHidGuid(&hidGuid);
    InterfacePlace place = { true, "" };
    for (DWORD index = 0; place.listed; ++index) {
        // An interface that cannot be opened is passed over, and so is the
        // standard keyboard being read.
        HANDLE device = OpenListedInterface(&hidGuid, index, &place, g_standardPath);
        if (!device) continue;
        PHIDP_PREPARSED_DATA preparsedData = NULL;
        if (CheckKeyboardIdentity(device, &preparsedData, inputReportLength, outputReportLength)) return device;
        CloseHandle(device);
    }
    return NULL;
}

void UseMakerKeyboard(HANDLE device, USHORT inputReportLength, USHORT outputReportLength)
{
    g_standardPath[0] = '\0';
    KeyboardDevice.kind.store(KeyboardKind::kMaker);
    KeyboardDevice.preparsedData.store(NULL);
    KeyboardDevice.inputReportLength.store(inputReportLength);
    KeyboardDevice.outputReportLength = outputReportLength;
    ZeroMemory(KeyboardDevice.reportBuffer, inputReportLength);
    KeyboardDevice.handle.store(device);
}

void ReleaseKeyboardDecoding()
{
    PHIDP_PREPARSED_DATA preparsedData = KeyboardDevice.preparsedData.exchange(NULL);
    if (preparsedData) HidDevice::FreePreparsedData(preparsedData);
}
