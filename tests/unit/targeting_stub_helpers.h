// Helpers for the window-targeting tests: starting the player and browser
// stubs with options, reading the keys they received, and a window of the
// test's own that stands in for "some other program in the foreground".
#pragma once
#include <windows.h>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>
#include <tlhelp32.h>
#include "support/WineTestSupport.h"

namespace targeting_test {

inline std::string StubPath(const std::string& exeName)
{
    return mmk_test::BuildFile("stubs\\" + exeName);
}

inline std::string LogOf(const std::string& exePath) { return exePath + ".log"; }

inline void ForgetLog(const std::string& exePath) { DeleteFileA(LogOf(exePath).c_str()); }

// The log lines that start with one of the prefixes, joined with commas:
// "down 18,down 37,up 18,up 37".
inline std::string LoggedLines(const std::string& exePath, std::initializer_list<const char*> prefixes)
{
    const std::string text = mmk_test::ReadFileText(LogOf(exePath));
    std::string joined;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (const char* prefix : prefixes) {
            if (line.compare(0, strlen(prefix), prefix) == 0) {
                if (!joined.empty()) joined += ",";
                joined += line;
                break;
            }
        }
        start = end + 1;
    }
    return joined;
}

inline std::string KeysOf(const std::string& exePath) { return LoggedLines(exePath, { "down ", "up " }); }
inline std::string SizesOf(const std::string& exePath) { return LoggedLines(exePath, { "size " }); }

// Waits until the stub has logged exactly the expected keys (or the time is
// up) and gives what it logged.
inline std::string WaitForKeys(const std::string& exePath, const std::string& expected, DWORD timeoutMs = 5000)
{
    mmk_test::WaitUntil([&] { return KeysOf(exePath) == expected; }, timeoutMs);
    return KeysOf(exePath);
}

struct StubOption {
    const char* name;
    const char* value;
};

// Starts a stub with the given environment options and an empty log, and
// gives its window once it exists (NULL if it never appears).
inline HWND StartStub(mmk_test::RunningProgram& program, const std::string& exePath,
                      std::initializer_list<StubOption> options = {})
{
    ForgetLog(exePath);
    for (const StubOption& option : options) SetEnvironmentVariableA(option.name, option.value);
    const bool started = program.Start(exePath);
    for (const StubOption& option : options) SetEnvironmentVariableA(option.name, NULL);
    if (!started) return NULL;
    HWND window = NULL;
    mmk_test::WaitUntil([&] {
        window = mmk_test::FindProcessWindow(program.ProcessId(), "MMKeyboardStub", NULL);
        return window != NULL && mmk_test::ReadFileText(LogOf(exePath)).find("cmdline") != std::string::npos;
    }, 10000);
    // A stub that logs its sizes has settled once the size of its first
    // show is logged.
    const char* settled = NULL;
    const char* shown = "size 0";
    for (const StubOption& option : options) {
        if (!strcmp(option.name, "MMK_STUB_LOG_SIZES")) settled = "yes";
        if (!strcmp(option.name, "MMK_STUB_SHOW") && !strcmp(option.value, "minimized")) shown = "size 1";
        if (!strcmp(option.name, "MMK_STUB_SHOW") && !strcmp(option.value, "maximized")) shown = "size 2";
    }
    if (settled) {
        mmk_test::WaitUntil([&] {
            const std::string sizes = SizesOf(exePath);
            return sizes.size() >= 6 && sizes.compare(sizes.size() - 6, 6, shown) == 0;
        }, 5000);
        Sleep(200);
    }
    return window;
}

inline void PumpMessages(DWORD forMs)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < forMs);
}

inline bool BringToForeground(HWND window)
{
    return mmk_test::WaitUntil([&] {
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        PumpMessages(0);
        return GetForegroundWindow() == window;
    }, 5000);
}

// A titled window of the test process that takes the foreground away from
// the stubs and counts the key messages that reach it.
class OtherWindow {
public:
    explicit OtherWindow(const char* title = "Some other program")
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "TargetingOtherWindow";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200,
                                  100, NULL, NULL, wc.hInstance, NULL);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~OtherWindow() { DestroyWindow(window_); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    HWND Handle() const { return window_; }
    bool TakeForeground() { return BringToForeground(window_); }
    int KeysReceived() { PumpMessages(100); return keys_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        OtherWindow* self = reinterpret_cast<OtherWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP ||
                     message == WM_SYSKEYUP)) {
            ++self->keys_;
            return 0;
        }
        if (message == WM_SYSCHAR || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)) return 0;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    HWND window_ = NULL;
    int keys_ = 0;
};

// The order in which the process snapshot lists two processes.
inline bool ComesFirstInSnapshot(DWORD first, DWORD second)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int firstAt = -1, secondAt = -1;
    int position = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry), ++position) {
        if (entry.th32ProcessID == first) firstAt = position;
        if (entry.th32ProcessID == second) secondAt = position;
    }
    CloseHandle(snapshot);
    return firstAt >= 0 && secondAt >= 0 && firstAt < secondAt;
}

// The chords as the stubs log them.
const char* const AltLeft = "down 18,down 37,up 18,up 37";
const char* const CtrlP = "down 17,down 80,up 17,up 80";
const char* const Space = "down 32,up 32";
const char* const AltKDown = "down 18,down 75,up 18,up 75,down 40,up 40";

}  // namespace targeting_test
