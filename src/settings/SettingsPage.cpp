#include "settings/SettingsPage.h"
#include <initializer_list>
#include "fw/FileDialog.h"
#include "res/resource.h"
#include "settings/SettingDefaults.h"
#include "settings/SettingsStore.h"

namespace {

struct Setting {
    int editControlId;
    const char* valueName;
    const ProgramDefault* programDefault;  // NULL: the default search address
};

const Setting kMail = { IDC_MAIL, kMailValue, &kMailDefault };
const Setting kMedia = { IDC_MEDIA, kMediaValue, &kMediaDefault };
const Setting kSearch = { IDC_SEARCH, kSearchValue, 0 };

void LoadSetting(HWND dialog, const Setting& setting)
{
    char text[kSettingTextSize];
    if (ReadRegistryText(HKEY_CURRENT_USER, kSettingsReadKey, setting.valueName, text, sizeof text)) {
        SetDlgItemTextA(dialog, setting.editControlId, text);
        return;
    }
    if (!setting.programDefault) {
        SetDlgItemTextA(dialog, setting.editControlId, kDefaultSearchAddress);
        return;
    }
    char defaultText[kSettingTextSize];
    ComposeProgramDefault(*setting.programDefault, defaultText, sizeof defaultText);
    SetDlgItemTextA(dialog, setting.editControlId, defaultText);
}

void SaveSetting(HWND dialog, const Setting& setting)
{
    char text[kSettingTextSize];
    text[0] = '\0';
    GetDlgItemTextA(dialog, setting.editControlId, text, sizeof text);
    WriteSettingText(setting.valueName, text);
}

// Levels show unless the user turned them off: a key without the value,
// from before the display existed, means on.
const bool kShowLevelsByDefault = true;

bool StoredShowLevels() { return ReadSettingFlag(kShowLevelsValue, kShowLevelsByDefault); }

}  // namespace

void LoadSettings(HWND dialog)
{
    LoadSetting(dialog, kMail);
    LoadSetting(dialog, kMedia);
    LoadSetting(dialog, kSearch);
    CheckDlgButton(dialog, IDC_SHOW_LEVELS, StoredShowLevels() ? BST_CHECKED : BST_UNCHECKED);
}

void SaveSettings(HWND dialog)
{
    // A value that cannot be written is left as it was; the reload below
    // then shows what the store really holds.
    SaveSetting(dialog, kMedia);
    SaveSetting(dialog, kMail);
    SaveSetting(dialog, kSearch);
    WriteSettingFlag(kShowLevelsValue, LevelsShownOnScreen(dialog));
    LoadSettings(dialog);
}

void BrowseForProgram(HWND dialog, int editControlId)
{
    CFileDialog fileDialog(NULL, NULL, OFN_FILEMUSTEXIST | OFN_LONGNAMES,
                           "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||", dialog);
    fileDialog.m_ofn.lpstrTitle = "New Application";
    // The chosen path replaces the whole command line, arguments included;
    // nothing is stored until Save. Setting the text clears the control's
    // modified flag, yet the path is an unsaved edit like a typed one, and
    // must survive a device arrival's reload until it is saved.
    if (fileDialog.DoModal() != IDOK) return;
    SetDlgItemTextA(dialog, editControlId, fileDialog.GetPathName());
    SendDlgItemMessageA(dialog, editControlId, EM_SETMODIFY, TRUE, 0);
}

bool HasUnsavedSettingEdits(HWND dialog)
{
    for (int id : { IDC_MAIL, IDC_MEDIA, IDC_SEARCH }) {
        HWND edit = GetDlgItem(dialog, id);
        if (edit && SendMessageA(edit, EM_GETMODIFY, 0, 0)) return true;
    }
    return GetDlgItem(dialog, IDC_SHOW_LEVELS) && LevelsShownOnScreen(dialog) != StoredShowLevels();
}

bool LevelsShownOnScreen(HWND dialog) { return IsDlgButtonChecked(dialog, IDC_SHOW_LEVELS) == BST_CHECKED; }
