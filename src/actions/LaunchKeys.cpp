// Command lines are composed into a buffer large enough for every row, so a
// long search text or a deep Windows directory still starts its program
// whole; a command line is never cut, since a cut one would run something
// other than what the row means.
#include "actions/LaunchKeys.h"
#include "res/resource.h"
#include "settings/BoundedText.h"
#include "settings/SettingsStore.h"

namespace {

const char kBrowserPath[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
const char kMyComputerArguments[] = "\\explorer.exe /n, ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
const char kCalculatorName[] = "\\calc.exe";

void StartComposed(const char* first, const char* second, const char* third = "")
{
    char commandLine[kCommandLineSize];
    if (JoinText(commandLine, sizeof commandLine, first, second, third)) WinExec(commandLine, SW_SHOWNORMAL);
}

// A setting's edit control as it stands, saved or not: at most 99 characters.
void ReadSetting(HWND dialog, int editControlId, char* text)
{
    text[0] = '\0';
    GetDlgItemTextA(dialog, editControlId, text, kSettingTextSize);
}

}  // namespace

bool ReadWindowsDirectory(char* directory, UINT size)
{
    if (!directory || size == 0) return false;
    // The result is the length copied, or the size needed when it does not fit.
    const UINT length = GetWindowsDirectoryA(directory, size);
    if (length == 0 || length >= size) {
        directory[0] = '\0';
        return false;
    }
    return true;
}

void LaunchMyComputer(const char* windowsDirectory)
{
    if (windowsDirectory && windowsDirectory[0]) StartComposed(windowsDirectory, kMyComputerArguments);
}

void LaunchWebSearch(HWND dialog)
{
    char searchText[kSettingTextSize];
    ReadSetting(dialog, IDC_SEARCH, searchText);
    StartComposed(kBrowserPath, " ", searchText);
}

void LaunchHomePage() { WinExec(kBrowserPath, SW_SHOWNORMAL); }

void LaunchMail(HWND dialog)
{
    char commandLine[kSettingTextSize];
    ReadSetting(dialog, IDC_MAIL, commandLine);
    WinExec(commandLine, SW_SHOWNORMAL);
}

void LaunchCalculator(const char* windowsDirectory)
{
    if (windowsDirectory && windowsDirectory[0]) StartComposed(windowsDirectory, kCalculatorName);
}

void LaunchMediaPlayer(HWND dialog)
{
    char commandLine[kSettingTextSize];
    ReadSetting(dialog, IDC_MEDIA, commandLine);
    WinExec(commandLine, SW_SHOWNORMAL);
}
