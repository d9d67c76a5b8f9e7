// The real main dialog for in-process tests of its settings page and key
// table: made from its own template, with its message map attached, but
// without its start-up (no version gate, tray icon or keyboard). Plus the
// registry states those tests start from.
#pragma once
#include <windows.h>
#include <string>
#include "app/KeyboardDialog.h"
#include "keyboard/KeyCodes.h"
#include "res/resource.h"
#include "settings/SettingsPage.h"

namespace settings_test {

class PageDialog : public KeyboardDialog {
public:
    ~PageDialog() override;
    bool Create();
    std::string Text(int editControlId) const;
    void SetText(int editControlId, const std::string& text);
    // Runs a command or message through the dialog's message map.
    LRESULT Command(int commandId) { return SendMessage(WM_COMMAND, commandId, 0); }
    LRESULT Key(DWORD keyCode) { return SendMessage(WM_KEYBOARD_KEYS, 0, keyCode); }
    void LoadSettings() { ::LoadSettings(m_hWnd); }
    void SaveSettings() { ::SaveSettings(m_hWnd); }
};

// A stored value as the registry holds it.
struct StoredValue {
    bool exists = false;
    DWORD type = 0;
    std::string bytes;  // all of its bytes, terminating zero included
};

const char kSettingsKey[] = "Software\\Zerith\\Multimedia Keyboard";
const char kOutlookKey[] = "SOFTWARE\\Microsoft\\Outlook Express";
const char kMediaPlayerKey[] = "SOFTWARE\\Microsoft\\MediaPlayer";

// No settings key, and the two install directories the defaults read set
// (or deleted when the text is NULL).
void ResetRegistry(const char* outlookRoot, const char* mediaPlayerRoot);
void SetRegistryText(HKEY root, const char* subKey, const char* name, const std::string& text);
// Writes bytes as they are, with no terminating zero added.
void SetRegistryBytes(HKEY root, const char* subKey, const char* name, const std::string& bytes, DWORD type);
StoredValue ReadStored(const char* name);
bool SettingsKeyExists();

std::string Repeat(char c, size_t count);

}  // namespace settings_test
