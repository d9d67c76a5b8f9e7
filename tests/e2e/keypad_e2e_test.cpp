// KeyPad.exe as MMKeyboard-sim.exe sees it: a registered simulated keyboard
// whose buttons send key reports, and which can be unplugged and plugged in.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include "e2e/SimulatedKeyboard.h"
#include "support/WineTestSupport.h"

namespace {

using namespace mmk_test;

const char kPadPipe[] = "\\\\.\\pipe\\MMKeyboard KeyPad";

DWORD ReadDword(HKEY key, const char* name)
{
    DWORD value = 0, size = sizeof value;
    RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(&value), &size);
    return value;
}

// Opens the pad's pipe as MMKeyboard does; INVALID_HANDLE_VALUE if it cannot.
HANDLE OpenPad()
{
    HANDLE pad = CreateFileA(kPadPipe, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (pad == INVALID_HANDLE_VALUE) return pad;
    DWORD mode = PIPE_READMODE_MESSAGE;
    SetNamedPipeHandleState(pad, &mode, NULL, NULL);
    return pad;
}

// The next report from the pad, or an empty one when none came in time.
std::vector<BYTE> NextReport(HANDLE pad, DWORD timeoutMs = 5000)
{
    DWORD available = 0;
    if (!WaitUntil([&] { return PeekNamedPipe(pad, NULL, 0, NULL, &available, NULL) && available > 0; }, timeoutMs))
        return {};
    std::vector<BYTE> report(64);
    DWORD got = 0;
    if (!ReadFile(pad, report.data(), (DWORD)report.size(), &got, NULL)) return {};
    report.resize(got);
    return report;
}

std::string WindowText(HWND window)
{
    char text[128] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        NULL);
    return text;
}

class KeyPadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ClearSimulatedDevices());
        // Now and then under Wine, right after an earlier test's pad ended,
        // the first connection is not seen by the new pad; a fresh start is
        // what a user would do, and what these tests do.
        bool listening = false;
        for (int attempt = 0; attempt < 3 && !listening; ++attempt) {
            if (attempt > 0) {
                CloseHandle(pad);
                pad = INVALID_HANDLE_VALUE;
                keyPad.Stop();
            }
            ASSERT_TRUE(keyPad.Start(BuildFile("KeyPad.exe")));
            ASSERT_TRUE(WaitUntil([&] {
                return (window = FindProcessWindow(keyPad.ProcessId(), "MMKeyboardKeyPad", NULL)) != NULL;
            }, 15000));
            ASSERT_TRUE(WaitUntil([&] { return (pad = OpenPad()) != INVALID_HANDLE_VALUE; }, 10000));
            status = FindWindowExA(window, NULL, "STATIC", NULL);
            listening = WaitUntil([&] { return WindowText(status).find("listening") != std::string::npos; }, 5000);
        }
        ASSERT_TRUE(listening);
    }
    void TearDown() override
    {
        if (pad != INVALID_HANDLE_VALUE) CloseHandle(pad);
        keyPad.Stop();
        ClearSimulatedDevices();
    }

    std::string LastKeyLine()
    {
        for (HWND line = FindWindowExA(window, NULL, "STATIC", NULL); line;
             line = FindWindowExA(window, line, "STATIC", NULL))
            if (WindowText(line).rfind("Last key:", 0) == 0) return WindowText(line);
        return "";
    }

    RunningProgram keyPad;
    HWND window = NULL;
    HWND status = NULL;
    HANDLE pad = INVALID_HANDLE_VALUE;
};

TEST_F(KeyPadTest, RegistersOneConsumerControlKeyboardOnItsPipe)
{
    HKEY entry;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kSimulatorDevicesKey) + "\\0").c_str(), 0, KEY_READ, &entry));
    EXPECT_EQ((DWORD)KEYBOARD_VENDOR_ID, ReadDword(entry, "VendorID"));
    EXPECT_EQ(0x0101u, ReadDword(entry, "ProductID"));
    EXPECT_EQ(0x000Cu, ReadDword(entry, "UsagePage"));
    EXPECT_EQ(0x0001u, ReadDword(entry, "Usage"));
    EXPECT_EQ(4u, ReadDword(entry, "InputReportLength"));
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    RegQueryValueExA(entry, "DevicePath", NULL, NULL, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(entry);
    EXPECT_STREQ(kPadPipe, path);
}

TEST_F(KeyPadTest, HoldingAKeyButtonSendsItsReportAndLettingGoTheRelease)
{
    struct Case {
        const char* button;
        std::vector<BYTE> report;
    } cases[] = {
        { "Calculator", { 0x01, 0x00, 0x80, 0x00 } },
        { "My Computer", { 0x01, 0x00, 0x00, 0x01 } },
        { "Media Player", { 0x01, 0x80, 0x00, 0x00 } },
        { "Volume Up", { 0x01, 0x00, 0x01, 0x00 } },
    };
    int buttons = 0;
    for (HWND b = FindWindowExA(window, NULL, "BUTTON", NULL); b; b = FindWindowExA(window, b, "BUTTON", NULL))
        ++buttons;
    EXPECT_EQ(23 + 1, buttons) << "one button per key, and the plug";

    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        HWND button = FindWindowExA(window, NULL, "BUTTON", c.button);
        ASSERT_NE(nullptr, button);
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(c.report, NextReport(pad));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(std::vector<BYTE>({ 0x01, 0x00, 0x00, 0x00 }), NextReport(pad));
        EXPECT_TRUE(WaitUntil([&] { return LastKeyLine().find(std::string("Last key: ") + c.button + " - ") == 0; },
                              5000)) << LastKeyLine();
    }
}

TEST_F(KeyPadTest, RestartedProgramFindsTheKeyPadAgain)
{
    CloseHandle(pad);  // MMKeyboard ends
    ASSERT_TRUE(WaitUntil([&] { return (pad = OpenPad()) != INVALID_HANDLE_VALUE; }, 5000));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(status).find("listening") != std::string::npos; }, 5000));
    HWND button = FindWindowExA(window, NULL, "BUTTON", "Mute");
    ASSERT_NE(nullptr, button);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(std::vector<BYTE>({ 0x01, 0x10, 0x00, 0x00 }), NextReport(pad));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// Records the device arrivals broadcast to top-level windows.
LRESULT CALLBACK ArrivalRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE && wParam == DBT_DEVICEARRIVAL)
        SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(KeyPadTest, UnplugTakesTheKeyboardAwayAndPlugInBringsItBackWithAnArrival)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ArrivalRecorder;
    wc.lpszClassName = "MMKeyboardArrivalRecorder";
    RegisterClassA(&wc);
    HWND recorder = CreateWindowExA(0, wc.lpszClassName, "arrivals", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, recorder);
    auto pump = [] {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    };

    HWND plug = FindWindowExA(window, NULL, "BUTTON", "Unplug");
    ASSERT_NE(nullptr, plug);
    PostMessageA(plug, BM_CLICK, 0, 0);
    DWORD available = 0;
    EXPECT_TRUE(WaitUntil([&] { return !PeekNamedPipe(pad, NULL, 0, NULL, &available, NULL); }, 5000))
        << "the keyboard's reader would not notice the unplug";
    EXPECT_TRUE(WaitUntil([&] { return WindowText(plug) == "Plug in"; }, 5000));
    CloseHandle(pad);
    pad = OpenPad();
    EXPECT_EQ(INVALID_HANDLE_VALUE, pad) << "an unplugged keyboard cannot be opened";

    PostMessageA(plug, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { pump(); return GetWindowLongPtrA(recorder, GWLP_USERDATA) > 0; }, 5000))
        << "no DBT_DEVICEARRIVAL on plug-in";
    EXPECT_TRUE(WaitUntil([&] { return (pad = OpenPad()) != INVALID_HANDLE_VALUE; }, 5000));
    DestroyWindow(recorder);
}

}  // namespace
