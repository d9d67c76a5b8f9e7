// The report reader against a real named pipe: what each report posts, and
// how the reader ends, waits and is replaced.
#include <gtest/gtest.h>
#include "keyboard/KeyCodes.h"
#include "fakes/FakeHidDevice.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/ReaderThread.h"

namespace {

using fake_hid::FakeInterface;

FakeInterface KeyboardWithReports(USHORT length) { return { KEYBOARD_VENDOR_ID, 0x0101, 0x000C, 0x0001, length, 0 }; }

// A window of the test thread that the reader posts to.
class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateWindowExA(0, "STATIC", "reader target", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_NE(nullptr, window);
        ReaderStopFlag.store(0);
        KeyboardDevice.open.store(false);
    }
    void TearDown() override
    {
        fake_hid::Reset();  // unplugs: a reader blocked in a read ends
        RetireReaderThread();
        if (KeyboardDevice.handle.load()) CloseHandle(KeyboardDevice.handle.load());
        KeyboardDevice.handle.store(NULL);
        KeyboardDevice.open.store(false);
        ReaderStopFlag.store(0);
        DestroyWindow(window);
    }

    // Plugs in one keyboard and opens it the way the connection does.
    void OpenKeyboard(USHORT reportLength)
    {
        fake_hid::SetInterfaces({ KeyboardWithReports(reportLength) });
        KeyboardDevice.open.store(FindKeyboard());
        ASSERT_TRUE(KeyboardDevice.open.load());
        ASSERT_TRUE(StartReaderThread(window, WM_KEYBOARD_KEYS));
    }

    // The next KeyCode posted to the window, or false when none came in time.
    bool NextKeyCode(DWORD* keyCode, DWORD timeoutMs = 3000)
    {
        const DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            if (PeekMessageA(&msg, window, WM_KEYBOARD_KEYS, WM_KEYBOARD_KEYS, PM_REMOVE)) {
                EXPECT_EQ(0u, msg.wParam);
                *keyCode = static_cast<DWORD>(msg.lParam);
                return true;
            }
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, NULL, FALSE, timeoutMs - elapsed, QS_POSTMESSAGE);
        }
    }

    // Whether the current reader thread has ended within the time.
    static bool ReaderEnds(DWORD timeoutMs)
    {
        HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, ReaderThreadId);
        if (!thread) return true;  // long gone
        const bool ended = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
        CloseHandle(thread);
        return ended;
    }

    HWND window = NULL;
};

TEST(KeyCodePacking, DataBytesAfterTheReportIdFormTheKeyCode)
{
    struct Case {
        std::vector<BYTE> report;
        DWORD keyCode;
    } cases[] = {
        { { 0x01 }, 0 },
        { { 0x01, 0x00, 0x80, 0x00 }, 0x8000 },          // calculator
        { { 0x01, 0x01, 0x00, 0x00 }, 0x10000 },         // next track
        { { 0x01, 0x00, 0x00, 0x01 }, 0x1 },             // My Computer
        { { 0xFF, 0x80, 0x00, 0x00 }, 0x800000 },        // the ID byte never counts
        { { 0x01, 0x11, 0x22, 0x33, 0x44, 0x55 }, 0x22334455 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.keyCode, PackKeyCode(c.report.data(), (USHORT)c.report.size())) << c.report.size();
}

TEST_F(ReaderTest, KeyPressAndReleasePostTheKeyThenZero)
{
    OpenKeyboard(4);
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x01, 0x00, 0x80, 0x00 }));
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x01, 0x00, 0x00, 0x00 }));
    DWORD keyCode = 1;
    ASSERT_TRUE(NextKeyCode(&keyCode));
    EXPECT_EQ(0x8000u, keyCode);
    ASSERT_TRUE(NextKeyCode(&keyCode));
    EXPECT_EQ(0u, keyCode);
}

TEST_F(ReaderTest, ReportOfTheIdByteAloneIsAllReleased)
{
    OpenKeyboard(1);
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x07 }));
    DWORD keyCode = 1;
    ASSERT_TRUE(NextKeyCode(&keyCode));
    EXPECT_EQ(0u, keyCode);
}

TEST_F(ReaderTest, SixByteReportKeepsBytesTwoToFive)
{
    OpenKeyboard(6);
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x01, 0xAB, 0x12, 0x34, 0x56, 0x78 }));
    DWORD keyCode = 0;
    ASSERT_TRUE(NextKeyCode(&keyCode));
    EXPECT_EQ(0x12345678u, keyCode);
}

TEST_F(ReaderTest, ReportsOfTheWrongLengthAreDroppedAndReadingGoesOn)
{
    OpenKeyboard(4);
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x01, 0x00 }));
    // Longer than the read: its tail must not pass for a report of its own.
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x04 }));
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x01, 0x00, 0x01, 0x00 }));
    DWORD keyCode = 0;
    ASSERT_TRUE(NextKeyCode(&keyCode));
    EXPECT_EQ(0x100u, keyCode);
    EXPECT_FALSE(NextKeyCode(&keyCode, 300)) << "unexpected KeyCode " << keyCode;
    EXPECT_TRUE(KeyboardDevice.open.load());
}

TEST_F(ReaderTest, UnpluggingClearsTheOpenFlagAndEndsTheReader)
{
    OpenKeyboard(4);
    fake_hid::Unplug(0);
    EXPECT_TRUE(ReaderEnds(3000));
    EXPECT_FALSE(KeyboardDevice.open.load());
}

TEST_F(ReaderTest, StopFlagAtStartEndsTheReaderBeforeAnyRead)
{
    ReaderStopFlag.store(1);
    OpenKeyboard(4);
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x01, 0x00, 0x80, 0x00 }));
    EXPECT_TRUE(ReaderEnds(3000));
    DWORD keyCode = 0;
    EXPECT_FALSE(NextKeyCode(&keyCode, 200));
    // The report is still in the pipe, unread.
    BYTE report[4] = {};
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(KeyboardDevice.handle.load(), report, sizeof report, &got, NULL));
    EXPECT_EQ(4u, got);
    EXPECT_EQ(0x80, report[2]);
}

TEST_F(ReaderTest, KeyboardFoundAfterAReaderWithoutOneIsRead)
{
    ASSERT_TRUE(StartReaderThread(window, WM_KEYBOARD_KEYS));  // no keyboard at start
    HANDLE idle = OpenThread(SYNCHRONIZE, FALSE, ReaderThreadId);
    ASSERT_NE(nullptr, idle);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(idle, 200)) << "a reader must exist after every open";

    OpenKeyboard(4);  // retires the idle reader, starts one that reads
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(idle, 3000)) << "two readers on one device";
    CloseHandle(idle);
    ASSERT_TRUE(fake_hid::SendReport(0, { 0x01, 0x40, 0x00, 0x00 }));
    DWORD keyCode = 0;
    ASSERT_TRUE(NextKeyCode(&keyCode));
    EXPECT_EQ(0x400000u, keyCode);
}

TEST_F(ReaderTest, ReaderWithoutKeyboardUsesNoProcessorTime)
{
    ASSERT_TRUE(StartReaderThread(window, WM_KEYBOARD_KEYS));
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelBefore, &userBefore));
    Sleep(5000);
    ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelAfter, &userAfter));
    EXPECT_FALSE(ReaderEnds(0)) << "the reader must wait, not end";

    auto ticks = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    const double seconds =
        double(ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore)) / 1e7;
    EXPECT_LT(seconds, 0.25);
}

}  // namespace
