// On any Windows but 98 the program ends by itself: no window, no tray icon.
// Wine reports another version to one program through its per-program
// settings, so a copy of MMKeyboard.exe under its own name gets one.
#include <gtest/gtest.h>
#include "e2e/ShellWindows.h"

namespace mmk_test {
namespace {

const char kCopyName[] = "MMKeyboard-version.exe";
const char kWineAppDefaults[] = "Software\\Wine\\AppDefaults\\MMKeyboard-version.exe";

bool ReportVersionToCopy(const char* wineVersion)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kWineAppDefaults, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(wineVersion),
                                 lstrlenA(wineVersion) + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

class VersionGateTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileOver(BuildFile("MMKeyboard.exe"), BuildFile(kCopyName)));
        DeleteRegistryTree(HKEY_CURRENT_USER, kWineAppDefaults);
    }
    void TearDown() override
    {
        program.Stop();
        DeleteRegistryTree(HKEY_CURRENT_USER, kWineAppDefaults);
    }

    RunningProgram program;
};

TEST_P(VersionGateTest, OtherWindowsVersionEndsTheProgramUnseen)
{
    ASSERT_TRUE(ReportVersionToCopy(GetParam()));
    int iconsBefore = CountWineTrayIcons();
    ASSERT_TRUE(program.Start(BuildFile(kCopyName)));

    bool windowSeen = false, trayWindowSeen = false;
    DWORD start = GetTickCount();
    while (!program.HasExited(5) && GetTickCount() - start < 3000) {
        windowSeen = windowSeen || FindVisibleProcessWindow(program.ProcessId()) != NULL;
        trayWindowSeen = trayWindowSeen || FindTrayWindow(program.ProcessId()) != NULL;
    }
    EXPECT_TRUE(program.HasExited()) << "still running 3 s after its start";
    EXPECT_FALSE(windowSeen) << "a window showed";
    EXPECT_FALSE(trayWindowSeen) << "the tray icon's window was made";
    EXPECT_EQ(iconsBefore, CountWineTrayIcons());
}

INSTANTIATE_TEST_SUITE_P(Reported, VersionGateTest, ::testing::Values("win95", "winme", "winxp"));

// The same copy without the setting is a Windows 98 program like any other:
// what ends it above is the version alone.
TEST_F(VersionGateTest, SameCopyRunsWhenWindows98IsReported)
{
    ASSERT_TRUE(program.Start(BuildFile(kCopyName)));
    EXPECT_TRUE(WaitUntil([&] { return FindTrayWindow(program.ProcessId()) != NULL; }, 15000));
    EXPECT_FALSE(program.HasExited());
}

}  // namespace
}  // namespace mmk_test
