// The browser and player keys in the running program: key messages posted
// to MMKeyboard.exe's dialog, and a play/pause report of a simulated
// keyboard read by MMKeyboard-sim.exe, reaching the stubs as chords.
#include <gtest/gtest.h>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>
#include "unit/targeting_stub_helpers.h"

using namespace targeting_test;
using mmk_test::RunningProgram;

namespace {

const UINT kKeyboardKeys = WM_USER + 1;

HWND StartKeyboardProgram(RunningProgram& program, const char* exeName)
{
    if (!program.Start(mmk_test::BuildFile(exeName))) return NULL;
    HWND dialog = NULL;
    mmk_test::WaitUntil([&] {
        dialog = mmk_test::FindProcessWindow(program.ProcessId(), "#32770", "Multimedia Keyboard");
        return dialog != NULL && !IsWindowVisible(dialog);  // settled in the tray
    }, 15000);
    return dialog;
}

struct BoxSeen {
    HWND box = NULL;
    DWORD processId = 0;
};

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM param)
{
    BoxSeen* seen = reinterpret_cast<BoxSeen*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char className[64];
    GetClassNameA(hwnd, className, sizeof className);
    if (pid != seen->processId || lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    char title[64];
    GetWindowTextA(hwnd, title, sizeof title);
    if (lstrcmpA(title, "Multimedia Keyboard") == 0) return TRUE;
    seen->box = hwnd;
    return FALSE;
}

class KeyMessagesTest : public ::testing::Test {
protected:
    RunningProgram keyboard;
    OtherWindow other;
};

TEST_F(KeyMessagesTest, PlayPauseAndBackReachTheirProgramsBehindAnotherWindow)
{
    HWND dialog = StartKeyboardProgram(keyboard, "MMKeyboard.exe");
    ASSERT_TRUE(dialog);
    RunningProgram player, browser;
    const std::string playerPath = StubPath("WMPLAYER.EXE"), browserPath = StubPath("IEXPLORE.EXE");
    ASSERT_TRUE(StartStub(player, playerPath));
    ASSERT_TRUE(StartStub(browser, browserPath));

    ASSERT_TRUE(other.TakeForeground());
    PostMessageA(dialog, kKeyboardKeys, 0, 0x80000);
    EXPECT_EQ(CtrlP, WaitForKeys(playerPath, CtrlP));

    ASSERT_TRUE(other.TakeForeground());
    PostMessageA(dialog, kKeyboardKeys, 0, 0x8);
    EXPECT_EQ(AltLeft, WaitForKeys(browserPath, AltLeft));
    EXPECT_EQ(CtrlP, KeysOf(playerPath));
    EXPECT_EQ(0, other.KeysReceived());
}

TEST_F(KeyMessagesTest, FavouritesShowsNotFoundCaptionedWithTheProgramName)
{
    HWND dialog = StartKeyboardProgram(keyboard, "MMKeyboard.exe");
    ASSERT_TRUE(dialog);
    RunningProgram browser;
    ASSERT_TRUE(StartStub(browser, StubPath("IEXPLORE.EXE"), { { "MMK_STUB_TITLE", "about:blank" } }));
    ASSERT_TRUE(other.TakeForeground());
    PostMessageA(dialog, kKeyboardKeys, 0, 0x80);

    BoxSeen seen;
    seen.processId = keyboard.ProcessId();
    ASSERT_TRUE(mmk_test::WaitUntil([&] {
        EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&seen));
        return seen.box != NULL;
    }, 10000));
    char text[64];
    GetWindowTextA(seen.box, text, sizeof text);
    EXPECT_STREQ("MMKeyboard", text);
    GetDlgItemTextA(seen.box, 0xFFFF, text, sizeof text);
    EXPECT_STREQ("not found", text);
    EXPECT_EQ(dialog, GetWindow(seen.box, GW_OWNER));
    PostMessageA(seen.box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(mmk_test::WaitUntil([&] { return !IsWindow(seen.box); }, 5000));
    EXPECT_EQ("", KeysOf(StubPath("IEXPLORE.EXE")));
}

// Plays the keyboard: the server end of the simulated device's pipe, which
// writes each report as one message to every connection the program made.
class SimulatedKeyboard {
public:
    explicit SimulatedKeyboard(const char* pipeName) : name_(pipeName), thread_([this] { Serve(); }) {}
    ~SimulatedKeyboard()
    {
        stop_ = true;
        HANDLE unblock = CreateFileA(name_.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (unblock != INVALID_HANDLE_VALUE) CloseHandle(unblock);
        thread_.join();
        for (HANDLE pipe : connected_) CloseHandle(pipe);
    }
    int Send(const std::vector<BYTE>& report)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        int delivered = 0;
        for (HANDLE pipe : connected_) {
            DWORD written = 0;
            if (WriteFile(pipe, report.data(), (DWORD)report.size(), &written, NULL)) ++delivered;
        }
        return delivered;
    }
    size_t Connections()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return connected_.size();
    }

private:
    void Serve()
    {
        while (!stop_) {
            HANDLE pipe = CreateNamedPipeA(name_.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_MESSAGE | PIPE_WAIT,
                                           PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, NULL);
            if (pipe == INVALID_HANDLE_VALUE) return;
            const bool ok = ConnectNamedPipe(pipe, NULL) || GetLastError() == ERROR_PIPE_CONNECTED;
            if (!ok || stop_) {
                CloseHandle(pipe);
                continue;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            connected_.push_back(pipe);
        }
    }
    std::string name_;
    std::atomic<bool> stop_{ false };
    std::mutex mutex_;
    std::vector<HANDLE> connected_;
    std::thread thread_;
};

bool ListSimulatedKeyboard(const char* pipeName)
{
    const char* devices = "Software\\MMKeyboard Simulator\\Devices";
    mmk_test::DeleteRegistryTree(HKEY_CURRENT_USER, devices);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\MMKeyboard Simulator\\Devices\\0", 0, NULL, 0,
                        KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    const struct {
        const char* name;
        DWORD value;
    } values[] = { { "VendorID", KEYBOARD_VENDOR_ID }, { "ProductID", 0x0101 }, { "UsagePage", 0x000C },
                   { "Usage", 0x0001 }, { "InputReportLength", 4 }, { "OutputReportLength", 0 } };
    bool ok = true;
    for (const auto& v : values)
        ok &= RegSetValueExA(key, v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.value), sizeof v.value) ==
              ERROR_SUCCESS;
    ok &= RegSetValueExA(key, "DevicePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(pipeName),
                         (DWORD)strlen(pipeName) + 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

// Needs the simulated keyboard and the keyboard connection in the program.
TEST(TargetingThroughSimulatedKeyboard, PlayPauseReportReachesTheMediaPlayerAsCtrlP)
{
    const char* pipeName = "\\\\.\\pipe\\mmk_targeting_keyboard";
    ASSERT_TRUE(ListSimulatedKeyboard(pipeName));
    SimulatedKeyboard keyboard(pipeName);
    RunningProgram player, program;
    const std::string playerPath = StubPath("WMPLAYER.EXE");
    ASSERT_TRUE(StartStub(player, playerPath));
    ASSERT_TRUE(StartKeyboardProgram(program, "MMKeyboard-sim.exe"));
    ASSERT_TRUE(mmk_test::WaitUntil([&] { return keyboard.Connections() > 0; }, 10000));
    OtherWindow other;
    ASSERT_TRUE(other.TakeForeground());

    EXPECT_GT(keyboard.Send({ 0x00, 0x08, 0x00, 0x00 }), 0);  // play/pause down
    EXPECT_GT(keyboard.Send({ 0x00, 0x00, 0x00, 0x00 }), 0);  // released
    EXPECT_EQ(CtrlP, WaitForKeys(playerPath, CtrlP));
    program.Stop();
    mmk_test::DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\MMKeyboard Simulator");
}

}  // namespace
