#include "settings/SettingsStore.h"

const char kSettingsReadKey[] = "SOFTWARE\\Zerith\\Multimedia Keyboard";
const char kSettingsWriteKey[] = "Software\\Zerith\\Multimedia Keyboard";

const char kMailValue[] = "Mail";
const char kMediaValue[] = "Media";
const char kSearchValue[] = "WWWSearch";
const char kShowLevelsValue[] = "ShowLevels";

bool ReadRegistryText(HKEY root, const char* subKey, const char* valueName, char* text, DWORD size)
{
    if (!text || size == 0) return false;
    text[0] = '\0';
    HKEY key = NULL;
    if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD byteCount = size;
    const LONG result = RegQueryValueExA(key, valueName, NULL, NULL, reinterpret_cast<BYTE*>(text), &byteCount);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || byteCount > size) {
        text[0] = '\0';
        return false;
    }
    // Other software may store text without its terminating zero; such a
    // value is ended here, or counts as too long when it fills the buffer.
    if (byteCount == 0 || text[byteCount - 1] != '\0') {
        if (byteCount == size) {
            text[0] = '\0';
            return false;
        }
        text[byteCount] = '\0';
    }
    return true;
}

// Creates the settings key when it is missing and writes one value to it.
static bool WriteSettingValue(const char* valueName, DWORD type, const BYTE* data, DWORD byteCount)
{
    HKEY key = NULL;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsWriteKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        NULL, &key, &disposition) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, valueName, 0, type, data, byteCount);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool WriteSettingText(const char* valueName, const char* text)
{
    return WriteSettingValue(valueName, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>(lstrlenA(text)) + 1);
}

bool ReadSettingFlag(const char* valueName, bool whenAbsent)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsReadKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return whenAbsent;
    DWORD type = 0, value = 0, byteCount = sizeof value;
    const LONG result = RegQueryValueExA(key, valueName, NULL, &type, reinterpret_cast<BYTE*>(&value), &byteCount);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || byteCount != sizeof value) return whenAbsent;
    return value != 0;
}

bool WriteSettingFlag(const char* valueName, bool flag)
{
    const DWORD value = flag ? 1 : 0;
    return WriteSettingValue(valueName, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}
