#include "settings/SettingsStore.h"

const char kSettingsReadKey[] = "SOFTWARE\\Zerith\\Multimedia Keyboard";
const char kSettingsWriteKey[] = "Software\\Zerith\\Multimedia Keyboard";

const char kMailValue[] = "Mail";
const char kMediaValue[] = "Media";
const char kSearchValue[] = "WWWSearch";

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

bool WriteSettingText(const char* valueName, const char* text)
{
    HKEY key = NULL;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsWriteKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        NULL, &key, &disposition) != ERROR_SUCCESS)
        return false;
    const DWORD byteCount = static_cast<DWORD>(lstrlenA(text)) + 1;
    const LONG result = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), byteCount);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
