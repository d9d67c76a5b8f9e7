// MMKeyboard.exe or MMKeyboard-sim.exe started as a user would start it,
// and what a test finds of it from outside.
#pragma once
#include <windows.h>
#include "support/TestSupport.h"

namespace mmk_test {

const char kDialogTitle[] = "Multimedia Keyboard";
// Where the settings are stored: what other programs and earlier versions
// rely on, so spelt out here rather than taken from the program.
const char kSettingsKey[] = "Software\\Zerith\\Multimedia Keyboard";
// The named mutex the running copy holds, as another program may look for it.
const char kRunningCopyMutex[] = "Zerith Multimedia Keyboard";

// The program the end-to-end tests drive: the shipped 32-bit build where this
// machine's Wine runs 32-bit programs, else this test build. Decided once,
// by trying, and said on the output; the stand-ins then match it.
std::string DrivenProgram(const char* exeName);

// Starts the program (of the driven build, or at a whole path) and waits
// until it has settled: its dialog made, holding the loaded settings, the
// tray's hidden window made, and the dialog hidden for good after its
// start-up.
// The dialog and that window, or NULL for both when it did not settle.
struct SettledProgram {
    HWND dialog;
    HWND tray;
};
SettledProgram StartSettled(RunningProgram& program, const char* exeName, Environment environment = {});

// The tray's hidden window: the framework's class, no title, a bare popup.
HWND FindTrayWindow(DWORD processId);
// The program's level display window, shown or not; NULL before its first show.
HWND FindLevelDisplay(DWORD processId);
// A window's text as Unicode: another process's is asked for by message.
std::wstring WindowTextW(HWND window);

// A click on the tray icon as the notification area reports it.
void ClickTrayIcon(HWND trayWindow, UINT mouseMessage);
// Icons in Wine's notification area (its stand-alone window under Xvfb).
int CountTrayIcons();
// Ends the program through its modal loop, so that it removes its icon:
// Wine keeps the icons of killed programs.
void EndThroughItsLoop(RunningProgram& program, HWND dialog);

}  // namespace mmk_test
