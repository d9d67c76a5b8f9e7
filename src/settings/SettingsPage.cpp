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

// By LiveSetting.
const Setting* const kLiveSettings[] = { &kMail, &kMedia, &kSearch };

void LoadSetting(HWND page, const Setting& setting)
{
    char text[kSettingTextSize];
    if (ReadRegistryText(HKEY_CURRENT_USER, kSettingsReadKey, setting.valueName, text, sizeof text)) {
        SetDlgItemTextA(page, setting.editControlId, text);
        return;
    }
    if (!setting.programDefault) {
        SetDlgItemTextA(page, setting.editControlId, kDefaultSearchAddress);
        return;
    }
    char defaultText[kSettingTextSize];
    ComposeProgramDefault(*setting.programDefault, defaultText, sizeof defaultText);
    SetDlgItemTextA(page, setting.editControlId, defaultText);
}

void SaveSetting(HWND page, const Setting& setting)
{
    char text[kSettingTextSize];
    text[0] = '\0';
    GetDlgItemTextA(page, setting.editControlId, text, sizeof text);
    WriteSettingText(setting.valueName, text);
}

// Levels show unless the user turned them off: a key without the value,
// from before the display existed, means on.
const bool kShowLevelsByDefault = true;

bool StoredShowLevels() { return ReadSettingFlag(kShowLevelsValue, kShowLevelsByDefault); }

}  // namespace

void LoadSettings(HWND page)
{
    LoadSetting(page, kMail);
    LoadSetting(page, kMedia);
    LoadSetting(page, kSearch);
    CheckDlgButton(page, IDC_SHOW_LEVELS, StoredShowLevels() ? BST_CHECKED : BST_UNCHECKED);
}

void SaveSettings(HWND page)
{
    // A value that cannot be written is left as it was; the reload below
    // then shows what the store really holds.
    SaveSetting(page, kMedia);
    SaveSetting(page, kMail);
    SaveSetting(page, kSearch);
    WriteSettingFlag(kShowLevelsValue, LevelsShownOnScreen(page));
    LoadSettings(page);
}

void BrowseForProgram(HWND page, int editControlId)
{
    CFileDialog fileDialog(NULL, NULL, OFN_FILEMUSTEXIST | OFN_LONGNAMES,
                           "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||", page);
    fileDialog.m_ofn.lpstrTitle = "New Application";
    // The chosen path replaces the whole command line, arguments included;
    // nothing is stored until Save. Setting the text clears the control's
    // modified flag, yet the path is an unsaved edit like a typed one, and
    // must survive a device arrival's reload until it is saved.
    if (fileDialog.DoModal() != IDOK) return;
    SetDlgItemTextA(page, editControlId, fileDialog.GetPathName());
    SendDlgItemMessageA(page, editControlId, EM_SETMODIFY, TRUE, 0);
}

bool HasUnsavedSettingEdits(HWND page)
{
    for (int id : { IDC_MAIL, IDC_MEDIA, IDC_SEARCH }) {
        HWND edit = GetDlgItem(page, id);
        if (edit && SendMessageA(edit, EM_GETMODIFY, 0, 0)) return true;
    }
    return GetDlgItem(page, IDC_SHOW_LEVELS) && LevelsShownOnScreen(page) != StoredShowLevels();
}

bool LevelsShownOnScreen(HWND page) { return IsDlgButtonChecked(page, IDC_SHOW_LEVELS) == BST_CHECKED; }

void ReadLiveSetting(HWND page, LiveSetting setting, char* text)
{
    text[0] = '\0';
    GetDlgItemTextA(page, kLiveSettings[static_cast<int>(setting)]->editControlId, text, kSettingTextSize);
}
