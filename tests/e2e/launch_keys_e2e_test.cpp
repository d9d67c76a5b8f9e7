// The launch keys of the real program: a key message posted to its window
// starts a stand-in program, which records the command line it was given.
// Wine's own explorer.exe hosts its desktop and stays in place; the My
// Computer command line is checked in-process instead.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "support/WineTestSupport.h"

using namespace mmk_test;

namespace {

const UINT kKeyboardKeys = WM_USER + 1;
const int kMail = 1008, kMedia = 1010, kSave = 1012, kRevert = 1013, kSearch = 1024;
const char kSettingsKey[] = "Software\\Zerith\\Multimedia Keyboard";
const char kBrowserDirectory[] = "C:\\Program Files\\Internet Explorer";
const char kBrowser[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
const char* const kStubNames[] = { "calc.exe", "iexplore.exe", "mailstub.exe", "mediastub.exe" };

// The command line a started program sees. Wine, unlike Windows, puts
// quotes around an unquoted program path with blanks when it resolves the
// program from the command line; the rest arrives byte for byte.
std::string AsStartedUnderWine(const std::string& commandLine, const std::string& programPath)
{
    if (programPath.find(' ') == std::string::npos || commandLine.compare(0, programPath.size(), programPath) != 0)
        return commandLine;
    return "\"" + programPath + "\"" + commandLine.substr(programPath.size());
}

std::string CalculatorPath() { return mmk_test::WindowsDirectory() + "\\calc.exe"; }
std::string MailStub() { return BuildFile("stubs\\mailstub.exe"); }
std::string MediaStub() { return BuildFile("stubs\\mediastub.exe"); }

void StoreSetting(const char* name, const std::string& text)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, NULL, 0, KEY_SET_VALUE, NULL,
                                             &key, NULL));
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

std::string StoredSetting(const char* name)
{
    char text[512] = "";
    DWORD size = sizeof text;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "(no key)";
    const LONG result = RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? text : "(no value)";
}

// Ends the stand-ins a key started; they are not children of the test.
void EndStubs()
{
    for (const char* name : kStubNames) mmk_test::EndProcessesNamed(name);
}

class LaunchKeysEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndStubs();
        DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Zerith");
        ASSERT_TRUE(CopyFileOver(BuildFile("stubs\\calc.exe"), CalculatorPath()));
        // Wine's own browser goes aside while the stand-in takes its place.
        const std::string backup = std::string(kBrowser) + ".mmk-original";
        CreateDirectoryA("C:\\Program Files", NULL);
        CreateDirectoryA(kBrowserDirectory, NULL);
        if (GetFileAttributesA(backup.c_str()) == INVALID_FILE_ATTRIBUTES &&
            GetFileAttributesA(kBrowser) != INVALID_FILE_ATTRIBUTES)
            ASSERT_TRUE(CopyFileOver(kBrowser, backup));
        ASSERT_TRUE(CopyFileOver(BuildFile("stubs\\IEXPLORE.EXE"), kBrowser));
        for (const std::string& log : Logs()) DeleteFileA(log.c_str());
    }

    void TearDown() override
    {
        program.Stop();
        EndStubs();
        const std::string backup = std::string(kBrowser) + ".mmk-original";
        if (GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES) {
            CopyFileOver(backup, kBrowser);
            DeleteFileA(backup.c_str());
        }
    }

    static std::vector<std::string> Logs()
    {
        return { CalculatorPath() + ".log", std::string(kBrowser) + ".log", MailStub() + ".log",
                 MediaStub() + ".log" };
    }

    // Starts the program and waits until its settings are loaded.
    void StartProgram()
    {
        ASSERT_TRUE(program.Start(BuildFile("MMKeyboard.exe")));
        ASSERT_TRUE(WaitUntil([&] {
            dialog = FindProcessWindow(program.ProcessId(), "#32770", "Multimedia Keyboard");
            return dialog && !Text(kSearch).empty() && !IsWindowVisible(dialog);
        }, 20000)) << "the program's dialog did not settle";
    }

    std::string Text(int editControlId) const
    {
        char text[512] = "";
        GetDlgItemTextA(dialog, editControlId, text, sizeof text);
        return text;
    }

    void PostKey(DWORD keyCode) { ASSERT_TRUE(PostMessageA(dialog, kKeyboardKeys, 0, keyCode)); }

    // The log of a stand-in once it has recorded its command line.
    static std::string LogOf(const std::string& exePath, DWORD timeoutMs = 20000)
    {
        const std::string log = exePath + ".log";
        WaitUntil([&] { return ReadFileText(log).find('\n') != std::string::npos; }, timeoutMs);
        return ReadFileText(log);
    }

    RunningProgram program;
    HWND dialog = NULL;
};

TEST_F(LaunchKeysEndToEnd, CalculatorKeyStartsCalcFromTheWindowsDirectory)
{
    StartProgram();
    PostKey(0x8000);
    EXPECT_EQ("cmdline " + CalculatorPath() + "\n", LogOf(CalculatorPath()));
}

TEST_F(LaunchKeysEndToEnd, HomePageKeyStartsTheBrowserWithoutArguments)
{
    StartProgram();
    PostKey(0x4);
    EXPECT_EQ("cmdline " + AsStartedUnderWine(kBrowser, kBrowser) + "\n", LogOf(kBrowser));
}

TEST_F(LaunchKeysEndToEnd, WebSearchKeyHandsTheWholeSearchAddressToTheBrowser)
{
    // 90 characters: the command line is longer than 100 bytes and still whole.
    const std::string address = "http://search.example/find?q=two words&lang=en&" + std::string(43, 'x');
    ASSERT_EQ(90u, address.size());
    StoreSetting("WWWSearch", address);
    StartProgram();
    PostKey(0x2);
    EXPECT_EQ("cmdline " + AsStartedUnderWine(std::string(kBrowser) + " " + address, kBrowser) + "\n",
              LogOf(kBrowser));
}

TEST_F(LaunchKeysEndToEnd, MailKeyStartsTheEditedMailCommandEvenUnsaved)
{
    StoreSetting("Mail", MailStub() + " --stored");
    StartProgram();
    ASSERT_EQ(MailStub() + " --stored", Text(kMail));
    SetDlgItemTextA(dialog, kMail, (MailStub() + " --unsaved edit").c_str());
    PostKey(0x4000);
    EXPECT_EQ("cmdline " + MailStub() + " --unsaved edit\n", LogOf(MailStub()));
    EXPECT_EQ(MailStub() + " --stored", StoredSetting("Mail"));
}

TEST_F(LaunchKeysEndToEnd, MediaPlayerKeyStartsTheStoredMediaCommand)
{
    StoreSetting("Media", MediaStub() + " /play C:\\music\\song.mp3");
    StartProgram();
    PostKey(0x800000);
    EXPECT_EQ("cmdline " + MediaStub() + " /play C:\\music\\song.mp3\n", LogOf(MediaStub()));
}

TEST_F(LaunchKeysEndToEnd, UnboundValuesAndKeysHeldTogetherStartNothing)
{
    StoreSetting("Mail", MailStub());
    StoreSetting("Media", MediaStub());
    StartProgram();
    for (DWORD value : { 0x200000u, 0x1000000u, 0x4000u | 0x800000u, 0x8000u | 0x4u, 0x4000u | 0x2u })
        PostKey(value);
    Sleep(3000);
    for (const std::string& log : Logs()) EXPECT_EQ("", ReadFileText(log)) << log;
    // The program was listening all along: a lone key still starts its program.
    PostKey(0x8000);
    EXPECT_EQ("cmdline " + CalculatorPath() + "\n", LogOf(CalculatorPath()));
}

TEST_F(LaunchKeysEndToEnd, SaveStoresTheEditsAndCancelBringsThemBack)
{
    StartProgram();
    SetDlgItemTextA(dialog, kMedia, "C:\\Players\\saved.exe");
    PostMessageA(dialog, WM_COMMAND, kSave, 0);
    EXPECT_TRUE(WaitUntil([] { return StoredSetting("Media") == "C:\\Players\\saved.exe"; }, 10000))
        << StoredSetting("Media");
    EXPECT_EQ(Text(kSearch), StoredSetting("WWWSearch"));

    SetDlgItemTextA(dialog, kMedia, "C:\\Players\\not saved.exe");
    PostMessageA(dialog, WM_COMMAND, kRevert, 0);
    EXPECT_TRUE(WaitUntil([&] { return Text(kMedia) == "C:\\Players\\saved.exe"; }, 10000)) << Text(kMedia);
}

}  // namespace
