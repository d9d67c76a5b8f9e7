// The settings page: the three edit controls of the main dialog are the live
// settings (the launch keys read them as they stand), Save copies them to
// the registry and Cancel copies the registry back.
#include "app/KeyboardDialog.h"
#include "settings/ProgramFileDialog.h"
#include "settings/SettingDefaults.h"
#include "settings/SettingsStore.h"

INT_PTR RunFileDialogModally(CFileDialog& dialog) { return dialog.DoModal(); }
FileDialogRunner RunProgramFileDialog = RunFileDialogModally;

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

}  // namespace

void KeyboardDialog::LoadSettings()
{
    LoadSetting(m_hWnd, kMail);
    LoadSetting(m_hWnd, kMedia);
    LoadSetting(m_hWnd, kSearch);
}

void KeyboardDialog::SaveSettings()
{
    // A value that cannot be written is left as it was; the reload below
    // then shows what the store really holds.
    SaveSetting(m_hWnd, kMedia);
    SaveSetting(m_hWnd, kMail);
    SaveSetting(m_hWnd, kSearch);
    LoadSettings();
}

void KeyboardDialog::BrowseForProgram(int editControlId)
{
    CFileDialog dialog(TRUE, NULL, NULL, OFN_FILEMUSTEXIST | OFN_LONGNAMES,
                       "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||", this);
    dialog.m_ofn.lpstrTitle = "New Application";
    // The chosen path replaces the whole command line, arguments included;
    // nothing is stored until Save.
    if (RunProgramFileDialog(dialog) == IDOK) SetDlgItemTextA(m_hWnd, editControlId, dialog.GetPathName());
}

LRESULT KeyboardDialog::OnMailBrowse(WPARAM, LPARAM)
{
    BrowseForProgram(IDC_MAIL);
    return 0;
}

LRESULT KeyboardDialog::OnMediaBrowse(WPARAM, LPARAM)
{
    BrowseForProgram(IDC_MEDIA);
    return 0;
}

LRESULT KeyboardDialog::OnSave(WPARAM, LPARAM)
{
    SaveSettings();
    return 0;
}

LRESULT KeyboardDialog::OnRevert(WPARAM, LPARAM)
{
    LoadSettings();
    return 0;
}
