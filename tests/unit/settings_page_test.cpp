// The settings page against the real registry of the test prefix: what the
// page shows after a load, what Save stores, what Cancel brings back.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "settings/SettingDefaults.h"
#include "settings_test_support.h"

using namespace settings_test;

namespace {

const char kOutlookRoot[] = "C:\\Program Files\\Outlook Express";
const char kMediaPlayerRoot[] = "C:\\Program Files\\Windows Media Player";
const std::string kMailDefaultText = std::string(kOutlookRoot) + "\\msimn.exe";
const std::string kMediaDefaultText = std::string(kMediaPlayerRoot) + "\\mplayer2.exe";

struct SettingCase {
    int editControlId;
    const char* valueName;
    std::string defaultText;
};

const SettingCase kSettings[] = {
    { IDC_MAIL, "Mail", kMailDefaultText },
    { IDC_MEDIA, "Media", kMediaDefaultText },
    { IDC_SEARCH, "WWWSearch", kDefaultSearchAddress },
};

class SettingsPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRegistry(kOutlookRoot, kMediaPlayerRoot);
        ASSERT_TRUE(page.Create());
    }
    PageDialog page;
};

TEST_F(SettingsPageTest, WithNothingStoredThePageShowsTheDefaultsAndWritesNothing)
{
    page.LoadSettings();
    EXPECT_EQ(kMailDefaultText, page.Text(IDC_MAIL));
    EXPECT_EQ(kMediaDefaultText, page.Text(IDC_MEDIA));
    EXPECT_EQ(std::string(kDefaultSearchAddress), page.Text(IDC_SEARCH));
    EXPECT_EQ(0u, page.Text(IDC_SEARCH).find("http://"));
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsPageTest, WithoutTheInstallDirectoriesTheBareProgramNamesShow)
{
    ResetRegistry(NULL, NULL);
    page.LoadSettings();
    EXPECT_EQ("msimn.exe", page.Text(IDC_MAIL));
    EXPECT_EQ("mplayer2.exe", page.Text(IDC_MEDIA));
}

TEST_F(SettingsPageTest, DefaultsFromLongInstallDirectoriesNeverExceed99Characters)
{
    const std::string outlook89 = "C:\\" + Repeat('o', 86), outlook90 = "C:\\" + Repeat('o', 87);
    const std::string player86 = "C:\\" + Repeat('p', 83), player87 = "C:\\" + Repeat('p', 84);
    const struct {
        std::string outlookRoot, playerRoot, mail, media;
    } cases[] = {
        { outlook89, player86, outlook89 + "\\msimn.exe", player86 + "\\mplayer2.exe" },
        { outlook90, player87, (outlook90 + "\\msimn.exe").substr(0, 99), (player87 + "\\mplayer2.exe").substr(0, 99) },
        // Too long to be read at all: as if missing.
        { Repeat('x', 100), Repeat('y', 100), "msimn.exe", "mplayer2.exe" },
    };
    for (const auto& c : cases) {
        ResetRegistry(c.outlookRoot.c_str(), c.playerRoot.c_str());
        page.LoadSettings();
        EXPECT_EQ(c.mail, page.Text(IDC_MAIL)) << c.outlookRoot.size();
        EXPECT_EQ(c.media, page.Text(IDC_MEDIA)) << c.playerRoot.size();
    }
}

TEST_F(SettingsPageTest, StoredValuesUpTo99CharactersLoadWholeLongerOnesGiveTheDefault)
{
    // bytes as stored (other software may leave out the terminating zero).
    const struct {
        std::string bytes;
        bool loads;
    } cases[] = {
        { std::string("", 1), true },
        { std::string("a", 2), true },
        { Repeat('n', 99) + '\0', true },
        { Repeat('n', 100) + '\0', false },
        { Repeat('n', 300) + '\0', false },
        { "short", true },           // no zero: ended where the data ends
        { Repeat('n', 99), true },   // no zero, 99 bytes
        { Repeat('n', 100), false }, // no zero, fills the whole buffer
    };
    for (const SettingCase& setting : kSettings) {
        for (const auto& c : cases) {
            ResetRegistry(kOutlookRoot, kMediaPlayerRoot);
            SetRegistryBytes(HKEY_CURRENT_USER, kSettingsKey, setting.valueName, c.bytes, REG_SZ);
            page.LoadSettings();
            const std::string expected = c.loads ? std::string(c.bytes.c_str()) : setting.defaultText;
            EXPECT_EQ(expected, page.Text(setting.editControlId))
                << setting.valueName << " stored as " << c.bytes.size() << " bytes";
        }
    }
}

TEST_F(SettingsPageTest, ValuesOfDifferentLengthsLoadAsStoredWhateverTheirOrder)
{
    std::vector<size_t> lengths = { 1, 50, 99 };
    do {
        ResetRegistry(kOutlookRoot, kMediaPlayerRoot);
        for (size_t i = 0; i < 3; ++i)
            SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, kSettings[i].valueName, Repeat('a' + i, lengths[i]));
        page.LoadSettings();
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(Repeat('a' + i, lengths[i]), page.Text(kSettings[i].editControlId))
                << kSettings[i].valueName << " after lengths " << lengths[0] << "," << lengths[1] << ","
                << lengths[2];
    } while (std::next_permutation(lengths.begin(), lengths.end()));
}

TEST_F(SettingsPageTest, SaveCreatesTheKeyAndStoresAllThreeAsText)
{
    page.LoadSettings();
    page.SetText(IDC_MAIL, "C:\\Mail\\mail.exe /check");
    page.Command(IDC_SAVE);
    ASSERT_TRUE(SettingsKeyExists());
    const std::string expected[] = { "C:\\Mail\\mail.exe /check", kMediaDefaultText, kDefaultSearchAddress };
    for (size_t i = 0; i < 3; ++i) {
        const StoredValue value = ReadStored(kSettings[i].valueName);
        EXPECT_TRUE(value.exists) << kSettings[i].valueName;
        EXPECT_EQ((DWORD)REG_SZ, value.type) << kSettings[i].valueName;
        EXPECT_EQ(expected[i] + '\0', value.bytes) << kSettings[i].valueName;
    }
}

// Records, whenever Save reads an edit control, which values the store
// already holds: the values must be written media, mail, search.
std::vector<std::string> g_reads;

LRESULT CALLBACK RecordingEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETTEXT) {
        std::string entry = std::to_string(GetDlgCtrlID(edit)) + ":";
        for (const char* name : { "Media", "Mail", "WWWSearch" })
            if (ReadStored(name).exists) entry += std::string(" ") + name;
        g_reads.push_back(entry);
    }
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(edit, "original"));
    return CallWindowProcA(original, edit, message, wParam, lParam);
}

TEST_F(SettingsPageTest, SaveStoresMediaThenMailThenSearch)
{
    for (int id : { IDC_MAIL, IDC_MEDIA, IDC_SEARCH }) {
        HWND edit = GetDlgItem(page.m_hWnd, id);
        SetPropA(edit, "original", reinterpret_cast<HANDLE>(GetWindowLongPtrA(edit, GWLP_WNDPROC)));
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingEditProc));
    }
    g_reads.clear();
    page.SaveSettings();
    const std::vector<std::string> expected = { "1010:", "1008: Media", "1024: Media Mail" };
    EXPECT_EQ(expected, g_reads);
    for (int id : { IDC_MAIL, IDC_MEDIA, IDC_SEARCH }) {
        HWND edit = GetDlgItem(page.m_hWnd, id);
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(edit, "original")));
        RemovePropA(edit, "original");
    }
}

TEST_F(SettingsPageTest, TextOf100OrMoreCharactersIsSavedAndShownAsItsFirst99)
{
    for (size_t length : { 98, 99, 100, 101, 250 }) {
        for (const SettingCase& setting : kSettings) page.SetText(setting.editControlId, Repeat('t', length));
        page.Command(IDC_SAVE);
        const std::string kept = Repeat('t', std::min<size_t>(length, 99));
        for (const SettingCase& setting : kSettings) {
            EXPECT_EQ(kept + '\0', ReadStored(setting.valueName).bytes) << setting.valueName << " " << length;
            EXPECT_EQ(kept, page.Text(setting.editControlId)) << setting.valueName << " " << length;
        }
    }
}

TEST_F(SettingsPageTest, AnEmptySettingIsSavedEmptyAndStaysEmptyNotDefault)
{
    for (const SettingCase& setting : kSettings) page.SetText(setting.editControlId, "");
    page.Command(IDC_SAVE);
    page.Command(IDC_REVERT);
    for (const SettingCase& setting : kSettings) {
        EXPECT_EQ(std::string(1, '\0'), ReadStored(setting.valueName).bytes) << setting.valueName;
        EXPECT_EQ("", page.Text(setting.editControlId)) << setting.valueName;
    }
}

TEST_F(SettingsPageTest, CancelBringsBackTheStoredTextOrTheDefault)
{
    SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "Mail", "C:\\Mail\\stored.exe");
    page.LoadSettings();
    for (const SettingCase& setting : kSettings) page.SetText(setting.editControlId, "edited, not saved");
    page.Command(IDC_REVERT);
    EXPECT_EQ("C:\\Mail\\stored.exe", page.Text(IDC_MAIL));
    EXPECT_EQ(kMediaDefaultText, page.Text(IDC_MEDIA));
    EXPECT_EQ(std::string(kDefaultSearchAddress), page.Text(IDC_SEARCH));
    EXPECT_FALSE(ReadStored("Media").exists);
}

}  // namespace
