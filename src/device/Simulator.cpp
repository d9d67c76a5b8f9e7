#include "device/Simulator.h"

namespace {

const char kVendorId[] = "VendorID";
const char kProductId[] = "ProductID";
const char kUsagePage[] = "UsagePage";
const char kUsage[] = "Usage";
const char kInputReportLength[] = "InputReportLength";
const char kOutputReportLength[] = "OutputReportLength";
const char kDevicePath[] = "DevicePath";

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
    keyboard.usagePage = 0x000C;  // consumer
    keyboard.usage = 0x0001;      // consumer control
    keyboard.inputReportLength = kSimulatedReportLength;
    lstrcpynA(keyboard.devicePath, pipePath, sizeof keyboard.devicePath);
    return keyboard;
}

bool ReadSimulatedInterface(DWORD index, SimulatedInterface* entry)
{
    char name[sizeof kSimulatorDevicesKey + 16];
    InterfaceKeyName(index, name);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, name, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    ZeroMemory(entry, sizeof *entry);
    // A missing number reads as 0, which no check accepts.
    QueryDword(key, kVendorId, &entry->vendorId);
    QueryDword(key, kProductId, &entry->productId);
    QueryDword(key, kUsagePage, &entry->usagePage);
    QueryDword(key, kUsage, &entry->usage);
    QueryDword(key, kInputReportLength, &entry->inputReportLength);
    QueryDword(key, kOutputReportLength, &entry->outputReportLength);
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
    bool written = SetDword(key, kVendorId, entry.vendorId) && SetDword(key, kProductId, entry.productId) &&
                   SetDword(key, kUsagePage, entry.usagePage) && SetDword(key, kUsage, entry.usage) &&
                   SetDword(key, kInputReportLength, entry.inputReportLength) &&
                   SetDword(key, kOutputReportLength, entry.outputReportLength);
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
