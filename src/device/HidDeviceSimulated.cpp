// The simulated keyboard of MMKeyboard-sim.exe: the HID calls of discovery
// answered from the simulator's device list (device/Simulator.h) instead of
// the hardware. CreateFileA and ReadFile stay real, on the entry's pipe.
//
// The attribute and capability calls get a handle, but nothing maps a pipe
// handle back to its name on this platform. Discovery describes an interface,
// opens it and checks it before it describes the next, so the handle being
// checked is always that of the device described last: the module remembers
// that one.
//
// Preparsed data: each standard collection's stays held while it is read
// (its reports are decoded with it), up to eight of them, and discovery may
// look at one more interface meanwhile; a request beyond that fails, which
// shows a block that was never released.
//
// Button capabilities and usages follow the layout: an item list answers
// per item as Windows documents it (one capability per listed usage or per
// range, none for a value; usages only from the items of the report's ID).
#include "device/HidDevice.h"
#include <stddef.h>
#include "device/Simulator.h"

namespace {

const NTSTATUS kHidpStatusSuccess = HIDP_STATUS_SUCCESS;
const NTSTATUS kHidpStatusInvalidPreparsedData = HIDP_STATUS_INVALID_PREPARSED_DATA;
const DWORD kPreparsedBlocks = 9;

struct DeviceList {
    DWORD count;
    SimulatedInterface devices[kMaxSimulatedDevices];
};

DeviceList g_deviceSet;              // the one set discovery holds at a time
SimulatedInterface g_described;      // the device whose path was described last
bool g_hasDescribed;
bool g_setHeld;                      // from GetClassDevs to DestroyDeviceInfoList
SimulatedInterface g_preparsedData[kPreparsedBlocks];  // what GetPreparsedData hands out
bool g_preparsedHeld[kPreparsedBlocks];                // until FreePreparsedData; UI thread only

void LoadDevices(DeviceList* list)
{
    list->count = 0;
    while (list->count < kMaxSimulatedDevices && ReadSimulatedInterface(list->count, &list->devices[list->count]))
        ++list->count;
}

HDEVINFO SetHandle() { return reinterpret_cast<HDEVINFO>(&g_deviceSet); }

// The held block behind a preparsed-data pointer, or NULL.
const SimulatedInterface* HeldBlock(PHIDP_PREPARSED_DATA preparsedData)
{
    for (DWORD i = 0; i < kPreparsedBlocks; ++i)
        if (preparsedData == reinterpret_cast<PHIDP_PREPARSED_DATA>(&g_preparsedData[i]) && g_preparsedHeld[i])
            return &g_preparsedData[i];
    return NULL;
}

// The usage of an array slot's value, 0 for none.
USAGE ArrayUsage(const SimulatedInterface& layout, DWORD value)
{
    if (value == 0 || value < layout.logicalMinimum || value > layout.logicalMaximum) return 0;
    return static_cast<USAGE>(layout.usageMinimum + (value - layout.logicalMinimum));
}

// Every usage the report holds, in report order; returns how many.
ULONG DecodeUsages(const SimulatedInterface& layout, const BYTE* report, USAGE* found)
{
    ULONG count = 0;
    if (layout.layout == kUsageArray) {
        for (DWORD slot = 0; slot < layout.arraySlots && 2 + 2 * slot < layout.inputReportLength; ++slot) {
            const USAGE usage = ArrayUsage(layout, report[1 + 2 * slot] | DWORD(report[2 + 2 * slot]) << 8);
            if (usage && count < kMaxSimulatedUsages) found[count++] = usage;
        }
    } else if (layout.layout == kUsageBits) {
        for (DWORD bit = 0; bit < layout.usageCount && 1 + bit / 8 < layout.inputReportLength; ++bit)
            if (report[1 + bit / 8] & (1 << (bit % 8))) found[count++] = layout.usages[bit];
    }
    return count;
}

// The usage an item's field names, 0 for none: a set bit's own, or an array
// slot's value's.
SimulatedUsage ItemFieldUsage(const SimulatedItem& item, DWORD field, DWORD value)
{
    SimulatedUsage none = { 0, 0 };
    if (value == 0) return none;
    if (item.kind == kBitItem) return field < item.listed ? item.list[field] : none;
    if (item.kind != kArrayItem) return none;
    if (item.listed > 0) return value <= item.listed ? item.list[value - 1] : none;
    const SimulatedUsage ranged = { item.page, static_cast<USHORT>(item.usageMinimum + value - 1) };
    return item.usageMinimum + value - 1 <= item.usageMaximum ? ranged : none;
}

// Whether the item has buttons (bits or array entries) of the page.
bool ItemHasButtonsOf(const SimulatedItem& item, USAGE page)
{
    if (item.kind == kArrayItem) return item.page == page;
    if (item.kind != kBitItem) return false;
    for (DWORD i = 0; i < item.listed; ++i)
        if (item.list[i].page == page) return true;
    return false;
}

// The pressed usages of the page in a report of an item list, as
// HidP_GetUsages finds them: only the items of the report's ID count.
NTSTATUS DecodeItems(const SimulatedInterface& layout, USAGE page, const BYTE* report, USAGE* found, ULONG* count)
{
    bool pageFound = false, idFound = false;
    *count = 0;
    for (DWORD n = 0; n < layout.itemCount && n < kMaxSimulatedItems; ++n) {
        const SimulatedItem& item = layout.items[n];
        if (!ItemHasButtonsOf(item, page)) continue;
        pageFound = true;
        if (item.reportId != report[0]) continue;
        idFound = true;
        for (DWORD field = 0; field < item.fields; ++field) {
            const DWORD value = ReportField(report, layout.inputReportLength, item.firstBit + field * item.fieldBits,
                                            item.fieldBits);
            const SimulatedUsage usage = ItemFieldUsage(item, field, value);
            if (usage.page == page && usage.usage != 0 && *count < kMaxSimulatedUsages) found[(*count)++] = usage.usage;
        }
    }
    if (!pageFound) return HIDP_STATUS_USAGE_NOT_FOUND;
    return idFound ? kHidpStatusSuccess : HIDP_STATUS_INCOMPATIBLE_REPORT_ID;
}

// Appends one capability when there is room; counts it either way.
void AddButtonCaps(USAGE page, BYTE reportId, USAGE first, USAGE last, bool range, HIDP_BUTTON_CAPS* caps,
                   USHORT room, USHORT* count)
{
    if (*count < room) {
        HIDP_BUTTON_CAPS& c = caps[*count];
        ZeroMemory(&c, sizeof c);
        c.UsagePage = page;
        c.ReportID = reportId;
        c.IsRange = range;
        if (range) {
            c.Range.UsageMin = first;
            c.Range.UsageMax = last;
        } else {
            c.NotRange.Usage = first;
        }
    }
    ++*count;
}

// Every button capability of the page (0: of any page), as HidP_GetButtonCaps
// lists them; returns how many there are, filling no more than the room.
USHORT ListButtonCaps(const SimulatedInterface& layout, USAGE page, HIDP_BUTTON_CAPS* caps, USHORT room)
{
    USHORT count = 0;
    const bool anyPage = page == 0;
    if (layout.layout == kUsageArray && (anyPage || layout.itemPage == page))
        AddButtonCaps(static_cast<USAGE>(layout.itemPage), 0, static_cast<USAGE>(layout.usageMinimum),
                      static_cast<USAGE>(layout.usageMinimum + layout.logicalMaximum - layout.logicalMinimum), true,
                      caps, room, &count);
    if (layout.layout == kUsageBits && (anyPage || layout.itemPage == page))
        for (DWORD i = 0; i < layout.usageCount; ++i)
            AddButtonCaps(static_cast<USAGE>(layout.itemPage), 0, layout.usages[i], 0, false, caps, room, &count);
    if (layout.layout != kItemList) return count;
    for (DWORD n = 0; n < layout.itemCount && n < kMaxSimulatedItems; ++n) {
        const SimulatedItem& item = layout.items[n];
        if (item.kind == kArrayItem && item.listed == 0 && (anyPage || item.page == page))
            AddButtonCaps(item.page, item.reportId, item.usageMinimum, item.usageMaximum, true, caps, room, &count);
        if (item.kind == kValueItem || (item.kind == kArrayItem && item.listed == 0)) continue;
        for (DWORD i = 0; i < item.listed; ++i) {
            const USAGE itemPage = item.kind == kArrayItem ? item.page : item.list[i].page;
            if (itemPage != 0 && (anyPage || itemPage == page))
                AddButtonCaps(itemPage, item.reportId, item.list[i].usage, 0, false, caps, room, &count);
        }
    }
    return count;
}

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
    if (!g_hasDescribed) return FALSE;
    for (DWORD i = 0; i < kPreparsedBlocks; ++i) {
        if (g_preparsedHeld[i]) continue;
        g_preparsedData[i] = g_described;
        g_preparsedHeld[i] = true;
        *preparsedData = reinterpret_cast<PHIDP_PREPARSED_DATA>(&g_preparsedData[i]);
        return TRUE;
    }
    return FALSE;
}

BOOLEAN FreePreparsedData(PHIDP_PREPARSED_DATA preparsedData)
{
    if (!HeldBlock(preparsedData)) return FALSE;
    g_preparsedHeld[reinterpret_cast<SimulatedInterface*>(preparsedData) - g_preparsedData] = false;
    return TRUE;
}

NTSTATUS GetCaps(PHIDP_PREPARSED_DATA preparsedData, HIDP_CAPS* capabilities)
{
    const SimulatedInterface* block = HeldBlock(preparsedData);
    if (!block) return kHidpStatusInvalidPreparsedData;
    ZeroMemory(capabilities, sizeof *capabilities);
    capabilities->UsagePage = static_cast<USAGE>(block->usagePage);
    capabilities->Usage = static_cast<USAGE>(block->usage);
    capabilities->InputReportByteLength = static_cast<USHORT>(block->inputReportLength);
    capabilities->OutputReportByteLength = static_cast<USHORT>(block->outputReportLength);
    capabilities->NumberInputButtonCaps = ListButtonCaps(*block, 0, NULL, 0);
    for (DWORD n = 0; n < block->itemCount && n < kMaxSimulatedItems; ++n)
        if (block->layout == kItemList && block->items[n].kind == kValueItem) ++capabilities->NumberInputValueCaps;
    return kHidpStatusSuccess;
}

NTSTATUS GetSpecificButtonCaps(USAGE usagePage, HIDP_BUTTON_CAPS* caps, USHORT* count,
                               PHIDP_PREPARSED_DATA preparsedData)
{
    const SimulatedInterface* block = HeldBlock(preparsedData);
    if (!block) return kHidpStatusInvalidPreparsedData;
    const USHORT room = *count;
    *count = ListButtonCaps(*block, usagePage, caps, room);
    if (*count == 0) return HIDP_STATUS_USAGE_NOT_FOUND;
    if (*count > room) {
        *count = room;
        return HIDP_STATUS_BUFFER_TOO_SMALL;
    }
    return kHidpStatusSuccess;
}

NTSTATUS GetUsages(USAGE usagePage, USAGE* usages, ULONG* count, PHIDP_PREPARSED_DATA preparsedData,
                   BYTE* report, ULONG reportLength)
{
    const SimulatedInterface* block = HeldBlock(preparsedData);
    if (!block) return kHidpStatusInvalidPreparsedData;
    if (reportLength != block->inputReportLength) return HIDP_STATUS_INVALID_REPORT_LENGTH;
    USAGE found[kMaxSimulatedUsages];
    ULONG pressed = 0;
    if (block->layout == kItemList) {
        const NTSTATUS status = DecodeItems(*block, usagePage, report, found, &pressed);
        if (status != kHidpStatusSuccess) return status;
    } else {
        if (block->layout == kMakerBitmap || usagePage != block->itemPage) return HIDP_STATUS_USAGE_NOT_FOUND;
        pressed = DecodeUsages(*block, report, found);
    }
    const ULONG room = *count;
    *count = pressed;
    if (pressed > room) return HIDP_STATUS_BUFFER_TOO_SMALL;
    for (ULONG i = 0; i < pressed; ++i) usages[i] = found[i];
    return kHidpStatusSuccess;
}

}  // namespace HidDevice
