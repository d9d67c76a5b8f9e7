// The launch actions: each starts a program with WinExec.
#pragma once
#include <windows.h>

// Room for the longest command line a launch composes: a Windows directory
// of up to MAX_PATH - 1 characters with the My Computer arguments, or the
// browser's path with a 99-character search text.
const int kCommandLineSize = MAX_PATH + 100;

// What follows the Windows directory in the command lines started from it.
extern const char kMyComputerCommand[];
extern const char kCalculatorCommand[];

// Reads the Windows directory into directory (size bytes). False, with an
// empty text, when it cannot be read or does not fit.
bool ReadWindowsDirectory(char* directory, UINT size);

// Starts the Windows directory followed by command; nothing when the
// directory is empty or NULL.
void LaunchFromWindowsDirectory(const char* windowsDirectory, const char* command);
// Starts the browser alone, at its home page.
void LaunchHomePage();
// Starts the browser with the search text as its argument.
void LaunchWebSearch(const char* searchText);
// Starts a command line as it stands (the mail and media player settings).
void LaunchCommandLine(const char* commandLine);
