// The launch rows of the key table, through the dialog's message map: the
// command line each key hands to WinExec (recorded here instead of run).
#include <gtest/gtest.h>
#include "support/WineTestSupport.h"
#include <algorithm>
#include <string>
#include <vector>
#include "actions/LaunchKeys.h"
#include "settings_test_support.h"

using namespace settings_test;

namespace {

struct Start {
    std::string commandLine;
    UINT showCommand;
};
std::vector<Start> g_starts;

UINT WINAPI RecordStart(LPCSTR commandLine, UINT showCommand)
{
    g_starts.push_back({ commandLine, showCommand });
    return 33;
}

const char kBrowser[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
const char kMyComputer[] = "\\explorer.exe /n, ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

class LaunchKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(page.Create());
        g_starts.clear();
        realStarter = StartProgram;
        StartProgram = RecordStart;
    }
    void TearDown() override { StartProgram = realStarter; }
    // The one command line the key started, or "(none)" / "(several)".
    std::string Launch(DWORD keyCode)
    {
        g_starts.clear();
        page.Key(keyCode);
        if (g_starts.empty()) return "(none)";
        if (g_starts.size() > 1) return "(several)";
        EXPECT_EQ((UINT)SW_SHOWNORMAL, g_starts[0].showCommand);
        return g_starts[0].commandLine;
    }
    PageDialog page;
    ProgramStarter realStarter = nullptr;
};

TEST_F(LaunchKeysTest, EachLaunchKeyStartsItsProgramWithItsCommandLine)
{
    page.SetText(IDC_MAIL, "C:\\Mail\\mail.exe /compose");
    page.SetText(IDC_MEDIA, "\"C:\\Media Tools\\player.exe\" /play");
    page.SetText(IDC_SEARCH, "http://search.example/?q=two words");
    const struct {
        DWORD keyCode;
        std::string commandLine;
    } rows[] = {
        { 0x1, mmk_test::WindowsDirectory() + kMyComputer },
        { 0x2, std::string(kBrowser) + " http://search.example/?q=two words" },
        { 0x4, kBrowser },
        { 0x4000, "C:\\Mail\\mail.exe /compose" },
        { 0x8000, mmk_test::WindowsDirectory() + "\\calc.exe" },
        { 0x800000, "\"C:\\Media Tools\\player.exe\" /play" },
    };
    for (const auto& row : rows) EXPECT_EQ(row.commandLine, Launch(row.keyCode)) << std::hex << row.keyCode;
}

TEST_F(LaunchKeysTest, KeysWithoutALaunchRowAndChordsStartNothing)
{
    page.SetText(IDC_MAIL, "mail.exe");
    page.SetText(IDC_MEDIA, "media.exe");
    const DWORD values[] = { 0x0, 0x8, 0x80, 0x100, 0x10000, 0x100000, 0x200000, 0x400000, 0x1000000,
                             0x80000000, 0x3, 0x4001, 0x8000 | 0x800000, 0xFFFFFFFF };
    for (DWORD value : values) EXPECT_EQ("(none)", Launch(value)) << std::hex << value;
}

TEST_F(LaunchKeysTest, LongSearchTextsStillSearchUpTo99Characters)
{
    // 51 characters filled the old 100-byte command line; longer ones must
    // not be cut or refused. The edit's text is read up to 99 characters.
    for (size_t length : { 0, 50, 51, 52, 98, 99, 100, 150 }) {
        page.SetText(IDC_SEARCH, Repeat('q', length));
        const std::string expected = std::string(kBrowser) + " " + Repeat('q', std::min<size_t>(length, 99));
        EXPECT_EQ(expected, Launch(0x2)) << length;
    }
}

TEST_F(LaunchKeysTest, MailAndMediaCommandLinesAreTheirFirst99Characters)
{
    for (size_t length : { 0, 1, 98, 99, 100, 160 }) {
        const std::string expected = Repeat('m', std::min<size_t>(length, 99));
        page.SetText(IDC_MAIL, Repeat('m', length));
        page.SetText(IDC_MEDIA, Repeat('m', length));
        EXPECT_EQ(expected, Launch(0x4000)) << length;
        EXPECT_EQ(expected, Launch(0x800000)) << length;
    }
}

TEST_F(LaunchKeysTest, DeepWindowsDirectoriesGiveWholeCommandLines)
{
    // 41 and 49 characters were the limits of the old 100- and 50-byte buffers.
    for (size_t length : { 3, 41, 42, 49, 50, 51, 120, MAX_PATH - 1 }) {
        const std::string directory = "C:\\" + Repeat('w', length - 3);
        g_starts.clear();
        LaunchMyComputer(directory.c_str());
        LaunchCalculator(directory.c_str());
        ASSERT_EQ(2u, g_starts.size()) << length;
        EXPECT_EQ(directory + kMyComputer, g_starts[0].commandLine) << length;
        EXPECT_EQ(directory + "\\calc.exe", g_starts[1].commandLine) << length;
    }
}

TEST_F(LaunchKeysTest, AnUnreadableWindowsDirectoryStartsNoShellOrCalculator)
{
    LaunchMyComputer("");
    LaunchCalculator("");
    LaunchMyComputer(NULL);
    LaunchCalculator(NULL);
    EXPECT_TRUE(g_starts.empty());
}

TEST_F(LaunchKeysTest, TheWindowsDirectoryIsReadOnlyWhenItFits)
{
    const std::string directory = mmk_test::WindowsDirectory();
    const UINT length = static_cast<UINT>(directory.size());
    char buffer[MAX_PATH];
    EXPECT_TRUE(ReadWindowsDirectory(buffer, length + 1));
    EXPECT_EQ(directory, buffer);
    lstrcpyA(buffer, "stale");
    EXPECT_FALSE(ReadWindowsDirectory(buffer, length));
    EXPECT_EQ("", std::string(buffer));
    EXPECT_FALSE(ReadWindowsDirectory(buffer, 1));
    EXPECT_EQ("", std::string(buffer));
}

}  // namespace
