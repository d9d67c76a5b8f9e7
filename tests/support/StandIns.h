// The stand-ins for the programs the keys start and drive. Each logs to
// "<its exe path>.log": "cmdline <its command line>", then "down <vk>",
// "up <vk>" for every key event its window receives and "size <type>" when
// its window's show state changes.
#pragma once
#include <windows.h>
#include <string>
#include "support/TestSupport.h"

namespace mmk_test {

// A stand-in under the name it runs as, of the same bitness as the programs
// under test: this process, or those that DrivenProgram (Program.h) chose.
std::string StandIn(const std::string& exeName);
void UseStandInFolder(const char* folder);
std::string LogOf(const std::string& exePath);
void ForgetLog(const std::string& exePath);

// The command line the stand-in was started with, once it has logged it
// (waiting up to the time given); "" when it never did.
std::string CommandLineOf(const std::string& exePath, DWORD timeoutMs = 10000);
// How many times it was started since its log was forgotten.
int StartsOf(const std::string& exePath);
// The key events it received, "down 18,down 37,up 18,up 37".
std::string KeysOf(const std::string& exePath);
// Waits until exactly these keys were received; gives what was.
std::string WaitForKeys(const std::string& exePath, const std::string& expected, DWORD timeoutMs = 5000);
// The Winamp commands it took, "Play,Next track".
std::string CommandsOf(const std::string& exePath);
// Its show states, "size 1,size 0".
std::string SizesOf(const std::string& exePath);

// Starts a stand-in with an empty log and environment options
// (MMK_STUB_TITLE, MMK_STUB_SHOW, MMK_STUB_UNACTIVATABLE); its window once it
// has shown, else NULL.
HWND StartStandIn(RunningProgram& program, const std::string& exePath, Environment options = {});

// A stand-in put at a path where a key starts a program; whatever was there
// (Wine's own program) goes aside and comes back when this goes, once no
// copy of the stand-in runs any more.
class InstalledStandIn {
public:
    InstalledStandIn(const std::string& standInName, const std::string& path);
    ~InstalledStandIn();
    InstalledStandIn(const InstalledStandIn&) = delete;
    InstalledStandIn& operator=(const InstalledStandIn&) = delete;

    bool Installed() const { return m_installed; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_movedAside, m_installed;
};

// Until the X server and every process involved are done with a window's
// coming to the front; whether the window's thread answered.
bool Settle(HWND window);
bool BringToForeground(HWND window);

// A titled window of the test process that takes the foreground away from
// the stand-ins and counts the key events that reach it.
class OtherWindow {
public:
    explicit OtherWindow(const char* title = "Some other program");
    ~OtherWindow() { DestroyWindow(m_window); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    HWND Handle() const { return m_window; }
    bool TakeForeground() { return BringToForeground(m_window); }
    int KeysReceived();

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window;
    int m_keys = 0;
};

// The chords as the stand-ins log them.
const char kAltLeft[] = "down 18,down 37,up 18,up 37";
const char kAltRight[] = "down 18,down 39,up 18,up 39";
const char kEscape[] = "down 27,up 27";
const char kF5[] = "down 116,up 116";
const char kCtrlI[] = "down 17,down 73,up 17,up 73";
const char kCtrlP[] = "down 17,down 80,up 17,up 80";
const char kCtrlS[] = "down 17,down 83,up 17,up 83";
const char kCtrlF[] = "down 17,down 70,up 17,up 70";
const char kCtrlB[] = "down 17,down 66,up 17,up 66";
const char kSpace[] = "down 32,up 32";
const char kFullStop[] = "down 190,up 190";
const char kAltKDown[] = "down 18,down 75,up 18,up 75,down 40,up 40";
const char kAltKUp[] = "down 18,down 75,up 18,up 75,down 38,up 38";

}  // namespace mmk_test
