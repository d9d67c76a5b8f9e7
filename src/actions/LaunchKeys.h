// The launch rows of the key table: each starts a program with WinExec.
#pragma once
#include <windows.h>

// Room for the longest command line a launch row composes: a Windows
// directory of up to MAX_PATH - 1 characters with the My Computer arguments,
// or the browser's path with a 99-character search text.
const int kCommandLineSize = MAX_PATH + 100;

// Reads the Windows directory into directory (size bytes). False, with an
// empty text, when it cannot be read or does not fit.
bool ReadWindowsDirectory(char* directory, UINT size);

// The rows that need the Windows directory start nothing when it is empty.
void LaunchMyComputer(const char* windowsDirectory);
void LaunchWebSearch(HWND dialog);
void LaunchHomePage();
void LaunchMail(HWND dialog);
void LaunchCalculator(const char* windowsDirectory);
void LaunchMediaPlayer(HWND dialog);
