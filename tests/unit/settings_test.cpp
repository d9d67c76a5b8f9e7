// The settings page against the test prefix's real registry, through the
// real dialog's commands: what a load shows, what Save stores, what Cancel
// brings back, and Browse with the platform's real file dialog, answered by
// a helper thread as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <dlgs.h>
#include <algorithm>
#include <vector>
#include "fw/FileDialog.h"
#include "app/KeyboardStartup.h"
#include "settings/SettingDefaults.h"
#include "settings/SettingsPage.h"
#include "support/DialogRig.h"
#include "support/Program.h"
#include "support/StandIns.h"

using namespace mmk_test;

namespace {

const char kOutlookKey[] = "SOFTWARE\\Microsoft\\Outlook Express";
const char kPlayerKey[] = "SOFTWARE\\Microsoft\\MediaPlayer";
const char kOutlookRoot[] = "C:\\Program Files\\Outlook Express";
const char kPlayerRoot[] = "C:\\Program Files\\Windows Media Player";

struct Setting {
    int editControlId;
    const char* valueName;
    std::string defaultText;
};
const Setting kSettings[] = {
    { IDC_MAIL, "Mail", std::string(kOutlookRoot) + "\\msimn.exe" },
    { IDC_MEDIA, "Media", std::string(kPlayerRoot) + "\\mplayer2.exe" },
    { IDC_SEARCH, "WWWSearch", kDefaultSearchAddress },
};

std::string Stored(const char* name) { return RegistryValue(HKEY_CURRENT_USER, kSettingsKey, name); }
// The type of a stored value; REG_NONE without one, 0xFFFF without the key.
DWORD StoredType(const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0xFFFF;
    DWORD type = REG_NONE;
    RegQueryValueExA(key, name, NULL, &type, NULL, NULL);
    RegCloseKey(key);
    return type;
}
bool SettingsKeyExists() { return StoredType("") != 0xFFFF; }
std::string Text(size_t length, char c = 'x') { return std::string(length, c); }

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { InstallRoots(kOutlookRoot, kPlayerRoot); }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey); }

    // No stored settings, and the install directories the defaults are made
    // of (empty: absent).
    static void InstallRoots(const std::string& outlook, const std::string& player)
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kOutlookKey);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kPlayerKey);
        if (!outlook.empty()) SetRegistryText(HKEY_LOCAL_MACHINE, kOutlookKey, "InstallRoot", outlook);
        if (!player.empty()) SetRegistryText(HKEY_LOCAL_MACHINE, kPlayerKey, "Installation Directory", player);
    }

    DialogRig page;
};

TEST_F(SettingsTest, WithNothingStoredThePageShowsTheDefaultsAndStoresNothing)
{
    const std::string outlook89 = "C:\\" + Text(86, 'o'), player86 = "C:\\" + Text(83, 'p');
    const struct {
        std::string outlook, player, mail, media;
    } cases[] = {
        { kOutlookRoot, kPlayerRoot, kSettings[0].defaultText, kSettings[1].defaultText },
        { "", "", "msimn.exe", "mplayer2.exe" },
        { outlook89, player86, outlook89 + "\\msimn.exe", player86 + "\\mplayer2.exe" },
        // One more character each: cut at 99, never beyond the buffer.
        { outlook89 + "o", player86 + "p", (outlook89 + "o\\msimn.exe").substr(0, 99),
          (player86 + "p\\mplayer2.exe").substr(0, 99) },
        { Text(100), Text(100), "msimn.exe", "mplayer2.exe" },  // unreadable: as if missing
    };
    for (const auto& c : cases) {
        InstallRoots(c.outlook, c.player);
        page.Command(IDC_REVERT);
        EXPECT_EQ(c.mail, page.Text(IDC_MAIL));
        EXPECT_EQ(c.media, page.Text(IDC_MEDIA));
        EXPECT_EQ(kDefaultSearchAddress, page.Text(IDC_SEARCH));
        EXPECT_FALSE(SettingsKeyExists()) << "something was stored";
    }
}

TEST_F(SettingsTest, StoredValuesUpTo99CharactersLoadAsStoredLongerOnesGiveTheDefault)
{
    const struct {
        std::string bytes;  // as stored; other software may leave out the zero
        bool loads;
    } cases[] = {
        { std::string(1, '\0'), true },
        { Text(99) + '\0', true },
        { Text(100) + '\0', false },
        { Text(300) + '\0', false },
        { "short", true },
        { Text(99), true },
        { Text(100), false },
    };
    for (const Setting& setting : kSettings) {
        for (const auto& c : cases) {
            DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
            SetRegistryValue(HKEY_CURRENT_USER, kSettingsKey, setting.valueName, c.bytes);
            page.Command(IDC_REVERT);
            EXPECT_EQ(c.loads ? std::string(c.bytes.c_str()) : setting.defaultText, page.Text(setting.editControlId))
                << setting.valueName << " stored as " << c.bytes.size() << " bytes";
        }
    }
    // Lengths in any order: a short value does not limit those read after it.
    std::vector<size_t> lengths = { 1, 50, 99 };
    do {
        for (size_t i = 0; i < 3; ++i)
            SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, kSettings[i].valueName, Text(lengths[i], 'a' + i));
        page.Command(IDC_REVERT);
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Text(lengths[i], 'a' + i), page.Text(kSettings[i].editControlId));
    } while (std::next_permutation(lengths.begin(), lengths.end()));
}

TEST_F(SettingsTest, SaveStoresAllThreeAsTheirFirst99CharactersAndCancelBringsThemBack)
{
    for (size_t length : { 0, 1, 99, 100, 250 }) {
        for (const Setting& setting : kSettings) page.SetText(setting.editControlId, Text(length));
        page.Command(IDC_SAVE);
        for (const Setting& setting : kSettings) page.SetText(setting.editControlId, "edited, not saved");
        page.Command(IDC_REVERT);
        const std::string kept = Text(std::min<size_t>(length, 99));
        for (const Setting& setting : kSettings) {
            EXPECT_EQ(kept + '\0', Stored(setting.valueName)) << setting.valueName << " " << length;
            EXPECT_EQ(kept, page.Text(setting.editControlId)) << setting.valueName << " " << length;
        }
    }
    for (const Setting& setting : kSettings) EXPECT_EQ(DWORD(REG_SZ), StoredType(setting.valueName)) << setting.valueName;
}

TEST_F(SettingsTest, TheShowLevelsBoxIsStoredAsADwordAndAKeyWithoutItMeansOn)
{
    const std::string kOn("\1\0\0\0", 4), kOff(4, '\0');
    const struct {
        const char* stored;
        std::string bytes;
        DWORD type;
        bool ticked;
    } loads[] = {
        { "no key", "", 0, true },
        { "an older key", "", REG_NONE, true },
        { "off", kOff, REG_DWORD, false },
        { "on", kOn, REG_DWORD, true },
        { "another type", kOff, REG_BINARY, true },
    };
    for (const auto& l : loads) {
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
        if (l.type != 0) SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "Mail", "older mail");
        if (l.type != 0 && l.type != REG_NONE) SetRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "ShowLevels", l.bytes, l.type);
        page.Command(IDC_REVERT);
        EXPECT_EQ(l.ticked, LevelsShownOnScreen(page.Window())) << l.stored;
        if (l.type != 0) EXPECT_EQ("older mail", page.Text(IDC_MAIL)) << l.stored;
    }

    // Save stores the box as it stands, Cancel brings the stored state back,
    // and an unsaved change counts as an edit a device arrival must keep.
    for (bool ticked : { false, true }) {
        CheckDlgButton(page.Window(), IDC_SHOW_LEVELS, ticked ? BST_CHECKED : BST_UNCHECKED);
        page.Command(IDC_SAVE);
        EXPECT_EQ(ticked ? kOn : kOff, Stored("ShowLevels"));
        EXPECT_FALSE(HasUnsavedSettingEdits(page.Window()));
        CheckDlgButton(page.Window(), IDC_SHOW_LEVELS, ticked ? BST_UNCHECKED : BST_CHECKED);
        EXPECT_TRUE(HasUnsavedSettingEdits(page.Window()));
        page.Command(IDC_REVERT);
        EXPECT_EQ(ticked, LevelsShownOnScreen(page.Window()));
    }
    EXPECT_EQ(DWORD(REG_DWORD), StoredType("ShowLevels"));
}

TEST(FileDialog, TheFilterBecomesZeroSeparatedAndTheRecordIsWhatWindows98Takes)
{
    CFileDialog dialog(NULL, NULL, OFN_FILEMUSTEXIST, "Programs (*.exe)|*.exe|All (*.*)|*.*||", NULL);
    EXPECT_EQ((DWORD)OPENFILENAME_SIZE_VERSION_400A, dialog.m_ofn.lStructSize);
    EXPECT_EQ(std::string("Programs (*.exe)\0*.exe\0All (*.*)\0*.*\0\0", 37),
              std::string(dialog.m_ofn.lpstrFilter, 37));
    EXPECT_EQ((DWORD)OFN_FILEMUSTEXIST, dialog.m_ofn.Flags & OFN_FILEMUSTEXIST);
}

// Answers the file dialog the way a user would: notes its title and file
// types, then types a file name and presses Open, or presses Cancel.
struct Answer {
    std::string fileName;  // empty: Cancel
    std::string title, firstType;
};

DWORD WINAPI AnswerFileDialog(LPVOID parameter)
{
    Answer* answer = static_cast<Answer*>(parameter);
    HWND dialog = NULL;
    if (!WaitUntil([&] { return (dialog = FindShownDialog(GetCurrentProcessId(), kDialogTitle)) != NULL; }, 20000))
        return 0;
    char text[256] = "";
    GetWindowTextA(dialog, text, sizeof text);
    answer->title = text;
    if (SendDlgItemMessageA(dialog, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text)) > 0) answer->firstType = text;
    if (answer->fileName.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    // The file name box is a combo box in the explorer-style dialog.
    SetDlgItemTextA(dialog, cmb13, answer->fileName.c_str());
    SetDlgItemTextA(dialog, edt1, answer->fileName.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return 0;
}

TEST_F(SettingsTest, BrowseReplacesTheCommandLineWithTheChosenProgramUntilSaved)
{
    const std::string program = StandIn("mediastub.exe");
    const struct {
        int button, edit, other;
    } buttons[] = { { IDC_MAIL_BROWSE, IDC_MAIL, IDC_MEDIA }, { IDC_MEDIA_BROWSE, IDC_MEDIA, IDC_MAIL } };
    for (const auto& b : buttons) {
        for (const std::string& chosen : { std::string(), program }) {
            SCOPED_TRACE(testing::Message() << b.button << " " << chosen);
            page.Command(IDC_REVERT);
            page.SetText(b.edit, "C:\\old\\program.exe /with arguments");
            page.SetText(b.other, "untouched");
            Answer answer = { chosen };
            HANDLE helper = CreateThread(NULL, 0, AnswerFileDialog, &answer, 0, NULL);
            page.Command(b.button);
            WaitForSingleObject(helper, 30000);
            CloseHandle(helper);
            EXPECT_EQ("New Application", answer.title);
            EXPECT_EQ("Executable Files (*.exe)", answer.firstType);
            const std::string expected = chosen.empty() ? "C:\\old\\program.exe /with arguments" : chosen;
            EXPECT_EQ(0, lstrcmpiA(expected.c_str(), page.Text(b.edit).c_str())) << page.Text(b.edit);
            EXPECT_EQ("untouched", page.Text(b.other));
            EXPECT_FALSE(SettingsKeyExists()) << "Browse stored something";
            // A device arrival reloads the settings, but not over an unsaved choice.
            if (!chosen.empty()) {
                page.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
                DisconnectKeyboard();
                EXPECT_EQ(0, lstrcmpiA(chosen.c_str(), page.Text(b.edit).c_str())) << page.Text(b.edit);
            }
        }
    }
}

}  // namespace
