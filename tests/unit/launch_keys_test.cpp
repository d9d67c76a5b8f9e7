// The launch keys through the real dialog's key routing and the real
// WinExec: each starts a stand-in, which logs the command line it was given.
#include <gtest/gtest.h>
#include <algorithm>
#include "actions/LaunchKeys.h"
#include "support/DialogRig.h"
#include "support/Program.h"
#include "support/StandIns.h"

using namespace mmk_test;

namespace {

const char kBrowser[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
const char kMyComputer[] = " /n, ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

// The command line a started program sees. Wine, unlike Windows, puts quotes
// around an unquoted program path with blanks when it finds the program from
// the command line; the rest arrives byte for byte.
std::string AsStartedUnderWine(const std::string& commandLine, const std::string& program)
{
    if (program.find(' ') == std::string::npos || commandLine.compare(0, program.size(), program) != 0)
        return commandLine;
    return "\"" + program + "\"" + commandLine.substr(program.size());
}

class LaunchKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(browserStandIn.Installed() && calculatorStandIn.Installed());
    }
    void TearDown() override
    {
        EndProgramsStartedBy(GetCurrentProcessId());  // the keys start them from this process
    }

    // The command line a key gave the program, which logs it.
    std::string Launch(DWORD keyCode, const std::string& program)
    {
        ForgetLog(program);
        dialog.Keys(keyCode);
        return CommandLineOf(program);
    }

    DialogRig dialog;
    const std::string calculator = WindowsDirectory() + "\\calc.exe";
    // Wine's own programs go aside while stand-ins take their places.
    InstalledStandIn browserStandIn{ "IEXPLORE.EXE", kBrowser }, calculatorStandIn{ "calc.exe", calculator };
    const std::string mail = StandIn("mailstub.exe");
    const std::string media = StandIn("mediastub.exe");
};

TEST_F(LaunchKeysTest, EachKeyStartsItsProgramWithItsWholeCommandLine)
{
    EXPECT_EQ(calculator, Launch(kKeyCalculator, calculator));
    EXPECT_EQ(AsStartedUnderWine(kBrowser, kBrowser), Launch(kKeyHomePage, kBrowser));

    // The search text is read up to 99 characters and never cut after that:
    // 51 filled the 100 bytes of the old command line.
    for (size_t length : { 0, 51, 52, 99, 150 }) {
        dialog.SetText(IDC_SEARCH, std::string(length, 'q'));
        const std::string search = std::string(kBrowser) + " " + std::string(std::min<size_t>(length, 99), 'q');
        EXPECT_EQ(AsStartedUnderWine(search, kBrowser), Launch(kKeyWebSearch, kBrowser)) << length;
    }
    // Mail and media run the text standing in the box, saved or not, up to
    // 99 characters.
    for (size_t length : { 60, 99, 100, 160 }) {
        for (const auto& key : { std::make_pair(kKeyMail, IDC_MAIL), std::make_pair(kKeyMediaPlayer, IDC_MEDIA) }) {
            const std::string& program = key.second == IDC_MAIL ? mail : media;
            ASSERT_LT(program.size() + 2, length) << program;
            const std::string text = program + " /" + std::string(length - program.size() - 2, 'a');
            dialog.SetText(key.second, text);
            EXPECT_EQ(text.substr(0, 99), Launch(key.first, program)) << length;
        }
    }
}

TEST_F(LaunchKeysTest, DeepWindowsDirectoriesGiveWholeCommandLines)
{
    // 41 and 49 characters were the limits of the old 100- and 50-byte buffers.
    for (size_t length : { 41, 42, 49, 50, 120 }) {
        const std::string directory = "C:\\" + std::string(length - 3, 'w');
        CreateDirectoryA(directory.c_str(), NULL);
        ASSERT_TRUE(CopyFileOver(StandIn("calc.exe"), directory + "\\calc.exe"));
        ASSERT_TRUE(CopyFileOver(StandIn("calc.exe"), directory + "\\explorer.exe"));
        ForgetLog(directory + "\\calc.exe");
        ForgetLog(directory + "\\explorer.exe");
        LaunchFromWindowsDirectory(directory.c_str(), kMyComputerCommand);
        LaunchFromWindowsDirectory(directory.c_str(), kCalculatorCommand);
        EXPECT_EQ(directory + "\\explorer.exe" + kMyComputer, CommandLineOf(directory + "\\explorer.exe")) << length;
        EXPECT_EQ(directory + "\\calc.exe", CommandLineOf(directory + "\\calc.exe")) << length;
    }
}

TEST_F(LaunchKeysTest, OtherKeysChordsAndAnUnreadableWindowsDirectoryStartNothing)
{
    dialog.SetText(IDC_MAIL, mail);
    dialog.SetText(IDC_MEDIA, media);
    ForgetLog(calculator);
    ForgetLog(kBrowser);
    ForgetLog(mail);
    ForgetLog(media);
    LaunchFromWindowsDirectory("", kCalculatorCommand);
    LaunchFromWindowsDirectory(NULL, kMyComputerCommand);
    const DWORD values[] = { kKeysReleased, kKeyBack, kKeyVolumeUp, kKeyMute, 0x200000, 0x1000000, 0x80000000,
                             kKeyCalculator | kKeyHomePage, kKeyMail | kKeyWebSearch, kKeyMail | kKeyMediaPlayer };
    for (DWORD value : values) dialog.Keys(value);
    EXPECT_EQ(media, Launch(kKeyMediaPlayer, media)) << "the sentinel";
    for (const std::string& program : { calculator, std::string(kBrowser), mail })
        EXPECT_EQ("", ReadFileText(LogOf(program))) << program;
}

// An assigned start splits its line as Start, Run does: a quoted program
// and its argument, a path with blanks without quotes, a folder.
TEST_F(LaunchKeysTest, AssignedStartOpensAProgramQuotedOrNotAndAFolderWithBlanks)
{
    const std::string keys = std::string(kSettingsKey) + "\\Keys";
    const std::string msimn = "C:\\Program Files\\Outlook Express\\msimn.exe";
    InstalledStandIn mailProgram{ "mailstub.exe", msimn };
    ASSERT_TRUE(mailProgram.Installed());
    for (const std::string& line : { "\"" + msimn + "\" /mailurl:mailto:", msimn + " /mailurl:mailto:" }) {
        SetRegistryText(HKEY_CURRENT_USER, keys.c_str(), "Mail", "start " + line);
        EXPECT_EQ("\"" + msimn + "\" /mailurl:mailto:", Launch(kKeyMail, msimn)) << line;
    }

    const char folder[] = "C:\\My Documents";
    CreateDirectoryA(folder, NULL);
    SetRegistryText(HKEY_CURRENT_USER, keys.c_str(), "Mail", std::string("start ") + folder);
    dialog.Keys(kKeyMail);
    HWND window = NULL;
    EXPECT_TRUE(WaitUntil([&] { return (window = FindWindowA("ExplorerWClass", "My Documents")) != NULL; }))
        << "the folder's window did not open";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
    RemoveDirectoryA(folder);
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
}

}  // namespace
