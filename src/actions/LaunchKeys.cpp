// Command lines are composed into a buffer large enough for every launch, so
// a long search text or a deep Windows directory still starts its program
// whole; a command line is never cut, since a cut one would run something
// other than what the key means.
#include "actions/LaunchKeys.h"
#include "fw/BoundedText.h"

namespace {

const char kBrowserPath[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

void StartComposed(const char* first, const char* second, const char* third = "")
{
    char commandLine[kCommandLineSize];
    if (JoinText(commandLine, sizeof commandLine, first, second, third)) WinExec(commandLine, SW_SHOWNORMAL);
}

}  // namespace

const char kMyComputerCommand[] = "\\explorer.exe /n, ::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
const char kCalculatorCommand[] = "\\calc.exe";

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

void LaunchFromWindowsDirectory(const char* windowsDirectory, const char* command)
{
    if (windowsDirectory && windowsDirectory[0]) StartComposed(windowsDirectory, command);
}

void LaunchHomePage() { WinExec(kBrowserPath, SW_SHOWNORMAL); }

void LaunchWebSearch(const char* searchText) { StartComposed(kBrowserPath, " ", searchText); }

void LaunchCommandLine(const char* commandLine) { WinExec(commandLine, SW_SHOWNORMAL); }
