#include "actions/LaunchKeys.h"

// Placeholder until the launch rows land.
void LaunchMyComputer(const char*) {}
void LaunchWebSearch(HWND) {}
void LaunchHomePage() {}
void LaunchMail(HWND) {}
void LaunchCalculator(const char*) {}
void LaunchMediaPlayer(HWND) {}
