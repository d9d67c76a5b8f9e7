#include "device/Simulator.h"
#include "device/HidDevice.h"

namespace {

const char kVendorId[] = "VendorID";
const char kProductId[] = "ProductID";
const char kUsagePage[] = "UsagePage";
const char kUsage[] = "Usage";
const char kInputReportLength[] = "InputReportLength";
const char kOutputReportLength[] = "OutputReportLength";
const char kDevicePath[] = "DevicePath";
const char kLayout[] = "Layout";
const char kItemPage[] = "ItemPage";
const char kArraySlots[] = "ArraySlots";
const char kUsageMinimum[] = "UsageMinimum";
const char kLogicalMinimum[] = "LogicalMinimum";
const char kLogicalMaximum[] = "LogicalMaximum";
const char kUsageList[] = "Usages";
const char kItems[] = "Items";

struct DwordField {
    const char* name;
    DWORD SimulatedInterface::*field;
};
const DwordField kDwordFields[] = {
    { kVendorId, &SimulatedInterface::vendorId },
    { kProductId, &SimulatedInterface::productId },
    { kUsagePage, &SimulatedInterface::usagePage },
    { kUsage, &SimulatedInterface::usage },
    { kInputReportLength, &SimulatedInterface::inputReportLength },
    { kOutputReportLength, &SimulatedInterface::outputReportLength },
    { kLayout, &SimulatedInterface::layout },
    { kItemPage, &SimulatedInterface::itemPage },
    { kArraySlots, &SimulatedInterface::arraySlots },
    { kUsageMinimum, &SimulatedInterface::usageMinimum },
    { kLogicalMinimum, &SimulatedInterface::logicalMinimum },
    { kLogicalMaximum, &SimulatedInterface::logicalMaximum },
};

bool QueryDword(HKEY key, const char* name, DWORD* value)
{
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    *value = data;
    return true;
}

bool SetDword(HKEY key, const char* name, DWORD value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

void InterfaceKeyName(DWORD index, char* name)
{
    wsprintfA(name, "%s\\%lu", kSimulatorDevicesKey, index);
}

bool WriteMixer(const char* name, DWORD value, bool create)
{
    HKEY key;
    const LONG opened = create ? RegCreateKeyExA(HKEY_CURRENT_USER, kSimulatorMixerKey, 0, NULL, 0, KEY_SET_VALUE,
                                                 NULL, &key, NULL)
                               : RegOpenKeyExA(HKEY_CURRENT_USER, kSimulatorMixerKey, 0, KEY_SET_VALUE, &key);
    if (opened != ERROR_SUCCESS) return false;
    const bool written = SetDword(key, name, value);
    RegCloseKey(key);
    return written;
}

}  // namespace

void BuildSimulatedReport(DWORD keyCode, BYTE report[kSimulatedReportLength])
{
    report[0] = 0x01;  // report ID of the consumer-control collection
    report[1] = static_cast<BYTE>(keyCode >> 16);
    report[2] = static_cast<BYTE>(keyCode >> 8);
    report[3] = static_cast<BYTE>(keyCode);
}

SimulatedInterface SimulatedKeyboardInterface(const char* pipePath)
{
    SimulatedInterface keyboard;
    ZeroMemory(&keyboard, sizeof keyboard);
    keyboard.vendorId = KEYBOARD_VENDOR_ID;
    keyboard.productId = 0x0101;
    keyboard.usagePage = kConsumerPage;
    keyboard.usage = kConsumerControl;
    keyboard.inputReportLength = kSimulatedReportLength;
    lstrcpynA(keyboard.devicePath, pipePath, sizeof keyboard.devicePath);
    return keyboard;
}

// The keys of the simulated standard keyboard in the bit layout: the keys of
// a common multimedia keyboard, Eject, Internet Browser and Screen Saver among
// them.
const USHORT kStandardBitUsages[] = {
    0x00B5, 0x00B6, 0x00B7, 0x00CD, 0x00E2, 0x00E9, 0x00EA, 0x00E7, 0x0152, 0x0153, 0x0154, 0x0155,
    0x0183, 0x018A, 0x0192, 0x0194, 0x0221, 0x0223, 0x0224, 0x0225, 0x0226, 0x0227, 0x022A,
    0x00B8, 0x0196, 0x01B1,
};
const DWORD kStandardBitUsageCount = sizeof kStandardBitUsages / sizeof kStandardBitUsages[0];
static_assert(sizeof kStandardBitUsages / sizeof kStandardBitUsages[0] <= kMaxSimulatedUsages, "fits the record");

SimulatedInterface SimulatedStandardKeyboard(const char* pipePath, SimulatedLayout layout, DWORD slots)
{
    SimulatedInterface keyboard = SimulatedKeyboardInterface(pipePath);
    keyboard.vendorId = kStandardVendorId;
    keyboard.productId = 0x0001;
    keyboard.layout = layout;
    keyboard.itemPage = kConsumerPage;
    if (layout == kUsageArray) {
        keyboard.arraySlots = slots;
        keyboard.usageMinimum = 1;
        keyboard.logicalMinimum = 1;
        keyboard.logicalMaximum = 0x029C;
        keyboard.inputReportLength = 1 + 2 * slots;
    } else {
        keyboard.usageCount = kStandardBitUsageCount;
        for (DWORD i = 0; i < kStandardBitUsageCount; ++i) keyboard.usages[i] = kStandardBitUsages[i];
        keyboard.inputReportLength = 1 + (kStandardBitUsageCount + 7) / 8;
    }
    return keyboard;
}

namespace {

void PutReportField(BYTE* report, DWORD length, DWORD firstBit, DWORD bits, DWORD value)
{
    for (DWORD bit = 0; bit < bits; ++bit) {
        const DWORD at = firstBit + bit;
        if (1 + at / 8 < length && (value >> bit & 1)) report[1 + at / 8] |= static_cast<BYTE>(1 << (at % 8));
    }
}

// The value that names the usage in an array item's slot, 0 for none.
DWORD ArrayValueOf(const SimulatedItem& item, USHORT usage)
{
    if (item.page != kConsumerPage) return 0;
    if (item.listed == 0)
        return usage >= item.usageMinimum && usage <= item.usageMaximum ? usage - item.usageMinimum + 1u : 0;
    for (DWORD i = 0; i < item.listed; ++i)
        if (item.list[i].usage == usage) return i + 1;
    return 0;
}

void BuildItemReport(const SimulatedInterface& device, const USHORT* usages, DWORD count, BYTE* report, BYTE id)
{
    const DWORD length = device.inputReportLength;
    if (id == 0 && device.itemCount > 0) id = device.items[0].reportId;
    if (length > 0) report[0] = id;
    for (DWORD n = 0; n < device.itemCount && n < kMaxSimulatedItems; ++n) {
        const SimulatedItem& item = device.items[n];
        if (item.reportId != id) continue;
        DWORD slot = 0;
        for (DWORD i = 0; i < count; ++i) {
            if (item.kind == kBitItem) {
                for (DWORD bit = 0; bit < item.listed; ++bit)
                    if (item.list[bit].page == kConsumerPage && item.list[bit].usage == usages[i])
                        PutReportField(report, length, item.firstBit + bit, 1, 1);
            } else if (item.kind == kArrayItem && slot < item.fields && ArrayValueOf(item, usages[i])) {
                PutReportField(report, length, item.firstBit + slot++ * item.fieldBits, item.fieldBits,
                               ArrayValueOf(item, usages[i]));
            }
        }
    }
}

}  // namespace

DWORD ReportField(const BYTE* report, DWORD length, DWORD firstBit, DWORD bits)
{
    DWORD value = 0;
    for (DWORD bit = 0; bit < bits; ++bit) {
        const DWORD at = firstBit + bit;
        if (1 + at / 8 < length) value |= DWORD(report[1 + at / 8] >> (at % 8) & 1) << bit;
    }
    return value;
}

void BuildUsageReport(const SimulatedInterface& keyboard, const USHORT* usages, DWORD count, BYTE* report,
                      BYTE reportId)
{
    ZeroMemory(report, keyboard.inputReportLength);
    if (keyboard.layout == kItemList) return BuildItemReport(keyboard, usages, count, report, reportId);
    report[0] = 0x01;
    if (keyboard.layout == kUsageArray) {
        DWORD slot = 0;
        for (DWORD i = 0; i < count && slot < keyboard.arraySlots; ++i) {
            if (usages[i] < keyboard.usageMinimum) continue;
            const DWORD value = usages[i] - keyboard.usageMinimum + keyboard.logicalMinimum;
            if (value > keyboard.logicalMaximum || 2 + 2 * slot >= keyboard.inputReportLength) continue;
            report[1 + 2 * slot] = static_cast<BYTE>(value);
            report[2 + 2 * slot] = static_cast<BYTE>(value >> 8);
            ++slot;
        }
        return;
    }
    for (DWORD i = 0; i < count; ++i)
        for (DWORD bit = 0; bit < keyboard.usageCount; ++bit)
            if (keyboard.usages[bit] == usages[i] && 1 + bit / 8 < keyboard.inputReportLength)
                report[1 + bit / 8] |= static_cast<BYTE>(1 << (bit % 8));
}

bool ReadSimulatedInterface(DWORD index, SimulatedInterface* entry)
{
    char name[sizeof kSimulatorDevicesKey + 16];
    InterfaceKeyName(index, name);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, name, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    ZeroMemory(entry, sizeof *entry);
    // A missing number reads as 0, which no check accepts.
    for (const DwordField& f : kDwordFields) QueryDword(key, f.name, &(entry->*f.field));
    DWORD usagesType = 0, usagesSize = sizeof entry->usages;
    if (RegQueryValueExA(key, kUsageList, NULL, &usagesType, reinterpret_cast<BYTE*>(entry->usages), &usagesSize) ==
            ERROR_SUCCESS &&
        usagesType == REG_BINARY)
        entry->usageCount = usagesSize / sizeof entry->usages[0];
    DWORD itemsType = 0, itemsSize = sizeof entry->items;
    if (RegQueryValueExA(key, kItems, NULL, &itemsType, reinterpret_cast<BYTE*>(entry->items), &itemsSize) ==
            ERROR_SUCCESS &&
        itemsType == REG_BINARY)
        entry->itemCount = itemsSize / sizeof entry->items[0];
    DWORD type = 0, size = sizeof entry->devicePath - 1;
    if (RegQueryValueExA(key, kDevicePath, NULL, &type, reinterpret_cast<BYTE*>(entry->devicePath), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        entry->devicePath[0] = '\0';
    RegCloseKey(key);
    return true;
}

bool WriteSimulatedInterface(DWORD index, const SimulatedInterface& entry)
{
    char name[sizeof kSimulatorDevicesKey + 16];
    InterfaceKeyName(index, name);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, name, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    bool written = true;
    for (const DwordField& f : kDwordFields) written = written && SetDword(key, f.name, entry.*f.field);
    const DWORD usageCount = entry.usageCount < kMaxSimulatedUsages ? entry.usageCount : kMaxSimulatedUsages;
    written = written && RegSetValueExA(key, kUsageList, 0, REG_BINARY, reinterpret_cast<const BYTE*>(entry.usages),
                                        usageCount * sizeof entry.usages[0]) == ERROR_SUCCESS;
    const DWORD itemCount = entry.itemCount < kMaxSimulatedItems ? entry.itemCount : kMaxSimulatedItems;
    written = written && RegSetValueExA(key, kItems, 0, REG_BINARY, reinterpret_cast<const BYTE*>(entry.items),
                                        itemCount * sizeof entry.items[0]) == ERROR_SUCCESS;
    written = written && RegSetValueExA(key, kDevicePath, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.devicePath),
                                        lstrlenA(entry.devicePath) + 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

bool ReadMixerValue(const char* name, DWORD* value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSimulatorMixerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const bool read = QueryDword(key, name, value);
    RegCloseKey(key);
    return read;
}

bool WriteMixerValue(const char* name, DWORD value) { return WriteMixer(name, value, false); }
bool PutMixerValue(const char* name, DWORD value) { return WriteMixer(name, value, true); }
