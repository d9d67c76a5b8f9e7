// The launch rows of the key table: each starts a program with WinExec.
#pragma once
#include <windows.h>

void LaunchMyComputer(const char* windowsDirectory);
void LaunchWebSearch(HWND dialog);
void LaunchHomePage();
void LaunchMail(HWND dialog);
void LaunchCalculator(const char* windowsDirectory);
void LaunchMediaPlayer(HWND dialog);
