#include "settings_test_support.h"
#include <vector>
#include "support/WineTestSupport.h"

namespace settings_test {

namespace {
INT_PTR CALLBACK NoInitialisation(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void SetOrDelete(const char* subKey, const char* name, const char* text)
{
    if (text) {
        SetRegistryText(HKEY_LOCAL_MACHINE, subKey, name, text);
        return;
    }
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}
}  // namespace

PageDialog::~PageDialog()
{
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

bool PageDialog::Create()
{
    HWND hwnd = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_MAIN), NULL,
                                   NoInitialisation, 0);
    if (!hwnd) return false;
    SubclassWindow(hwnd);
    return true;
}

std::string PageDialog::Text(int editControlId) const
{
    HWND edit = GetDlgItem(m_hWnd, editControlId);
    std::vector<char> text(GetWindowTextLengthA(edit) + 1);
    GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void PageDialog::SetText(int editControlId, const std::string& text)
{
    SetDlgItemTextA(m_hWnd, editControlId, text.c_str());
}

void ResetRegistry(const char* outlookRoot, const char* mediaPlayerRoot)
{
    mmk_test::DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Zerith");
    SetOrDelete(kOutlookKey, "InstallRoot", outlookRoot);
    SetOrDelete(kMediaPlayerKey, "Installation Directory", mediaPlayerRoot);
}

void SetRegistryText(HKEY root, const char* subKey, const char* name, const std::string& text)
{
    SetRegistryBytes(root, subKey, name, std::string(text.c_str(), text.size() + 1), REG_SZ);
}

void SetRegistryBytes(HKEY root, const char* subKey, const char* name, const std::string& bytes, DWORD type)
{
    HKEY key;
    if (RegCreateKeyExA(root, subKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

StoredValue ReadStored(const char* name)
{
    StoredValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, NULL, &value.type, NULL, &size) == ERROR_SUCCESS) {
        std::vector<char> bytes(size + 1);
        if (RegQueryValueExA(key, name, NULL, &value.type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
            ERROR_SUCCESS) {
            value.exists = true;
            value.bytes.assign(bytes.data(), size);
        }
    }
    RegCloseKey(key);
    return value;
}

bool SettingsKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Zerith", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string Repeat(char c, size_t count) { return std::string(count, c); }

}  // namespace settings_test
