// Finding the keyboard: every HID interface present is opened in enumeration
// order and checked; one that cannot be opened (another program holds it
// without sharing) is passed over. The first consumer-control collection of
// the maker's models is kept open and ends the search, and every other
// interface is closed before the next is opened. A standard consumer
// collection with Consumer buttons is handed to the standard readers
// meanwhile, up to their number, and let go again when the search ends at
// the maker's model: that model always wins.
//
// Every interface is opened for overlapped reads: a reader must be able to
// end its read while the keyboard stays plugged in (keyboard/ReportRead.cpp).
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/StandardReaders.h"
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

// Whether the collection declares Consumer buttons, whichever usages: each
// is a key its owner may assign, a key of the KeyCode or any other. A tilt
// wheel's AC Pan or a battery level is a value, no button: such a
// collection has none.
bool HasConsumerButtons(PHIDP_PREPARSED_DATA preparsedData, const HIDP_CAPS& caps)
{
    USHORT count = caps.NumberInputButtonCaps;
    if (count == 0) return false;
    HIDP_BUTTON_CAPS* buttons = static_cast<HIDP_BUTTON_CAPS*>(LocalAlloc(LPTR, count * sizeof(HIDP_BUTTON_CAPS)));
    if (!buttons) return false;
    const USHORT room = count;
    bool found = false;
    const NTSTATUS status = HidDevice::GetSpecificButtonCaps(kConsumerPage, buttons, &count, preparsedData);
    if (status == kHidpStatusSuccess || status == HIDP_STATUS_BUFFER_TOO_SMALL)
        for (USHORT i = 0; i < count && i < room; ++i) found = found || buttons[i].UsagePage == kConsumerPage;
    LocalFree(buttons);
    return found;
}

// A standard keyboard's consumer-control collection, whose reports can be
// read and hold Consumer keys: another maker's, or the maker's of a
// model other than the four. On success its preparsed data is left held in
// *preparsedData.
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
                          caps->InputReportByteLength >= 1 && caps->InputReportByteLength <= kStandardReportLimit &&
                          HasConsumerButtons(*preparsedData, *caps);
    if (!accepted) HidDevice::FreePreparsedData(*preparsedData);
    return accepted;
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
// there is one at that index at all, and its path. A standard collection
// being read is not opened again: opening and closing a device's interface
// can look like a new user of it to the device.
HANDLE OpenListedInterface(const GUID* classGuid, DWORD index, InterfacePlace* place)
{
    place->listed = false;
    place->path[0] = '\0';
    HDEVINFO set = HidDevice::GetClassDevs(classGuid, kPresentInterfaces);
    if (set == INVALID_HANDLE_VALUE) return NULL;

    HANDLE device = NULL;
    SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail = DescribeInterface(set, classGuid, index, &place->listed);
    if (detail) lstrcpynA(place->path, detail->DevicePath, sizeof place->path);
    if (detail && !IsStandardCollectionTaken(place->path)) {
        device = CreateFileA(detail->DevicePath, GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, NULL);
        if (device == INVALID_HANDLE_VALUE) device = NULL;
    }
    if (detail) LocalFree(detail);
    HidDevice::DestroyDeviceInfoList(set);
    return device;
}

// One pass over the interfaces: the maker's model's opened, or NULL, the
// standard collections met meanwhile handed to the standard readers. The
// lengths are those of the last interface whose capabilities were read.
HANDLE SearchInterfaces(USHORT* inputLength, USHORT* outputLength)
{
    GUID hidGuid;
    HidDevice::GetHidGuid(&hidGuid);
    InterfacePlace place = { true, "" };
    for (DWORD index = 0; place.listed; ++index) {
        HANDLE device = OpenListedInterface(&hidGuid, index, &place);
        if (!device) continue;
        PHIDP_PREPARSED_DATA preparsedData = NULL;
        if (CheckKeyboardIdentity(device, &preparsedData, inputLength, outputLength)) return device;
        HIDP_CAPS caps;
        if (StandardCollectionCount() < kMaxStandardReaders && CheckStandardKeyboard(device, &preparsedData, &caps)) {
            AdoptStandardCollection(device, preparsedData, caps.InputReportByteLength, place.path);
            continue;
        }
        CloseHandle(device);
    }
    return NULL;
}

}  // namespace

HANDLE OpenHidInterface(const GUID* classGuid, DWORD index)
{
    InterfacePlace place;
    return OpenListedInterface(classGuid, index, &place);
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
    KeyboardDevice.handle.store(NULL);
    KeyboardDevice.kind.store(KeyboardKind::kMaker);
    HANDLE maker = SearchInterfaces(&inputLength, &outputLength);
    KeyboardDevice.inputReportLength.store(inputLength);
    KeyboardDevice.outputReportLength = outputLength;
    KeyboardDevice.handle.store(maker);
    if (maker) StopStandardReaders();  // none runs yet: this lets go of what the search took
    else if (StandardCollectionCount() > 0) KeyboardDevice.kind.store(KeyboardKind::kStandard);

    // The lengths may be those of a refused interface: never zero past the buffer.
    USHORT clear = inputLength;
    if (clear > kMakerReportLimit) clear = kMakerReportLimit;
    ZeroMemory(KeyboardDevice.reportBuffer, clear);
    return maker || KeyboardDevice.kind.load() == KeyboardKind::kStandard;
}

HANDLE SearchWhileStandardRead(USHORT* inputReportLength, USHORT* outputReportLength)
{
    return SearchInterfaces(inputReportLength, outputReportLength);
}

void UseMakerKeyboard(HANDLE device, USHORT inputReportLength, USHORT outputReportLength)
{
    KeyboardDevice.kind.store(KeyboardKind::kMaker);
    KeyboardDevice.inputReportLength.store(inputReportLength);
    KeyboardDevice.outputReportLength = outputReportLength;
    ZeroMemory(KeyboardDevice.reportBuffer, inputReportLength);
    KeyboardDevice.handle.store(device);
}
