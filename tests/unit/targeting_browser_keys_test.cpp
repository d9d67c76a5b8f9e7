// The browser keys with the IEXPLORE.EXE stub: chords, activation and the
// favourites key's "not found".
#include <gtest/gtest.h>
#include <atomic>
#include <thread>
#include "actions/BrowserPlayerKeys.h"
#include "actions/WindowTargeting.h"
#include "unit/targeting_stub_helpers.h"

using namespace targeting_test;
using mmk_test::RunningProgram;

namespace {

const DWORD kBack = 0x08, kForward = 0x10, kStop = 0x20, kRefresh = 0x40, kFavourites = 0x80;

// Watches for a message box of this process while a key runs, notes its
// text, caption and owner, and closes it.
class MessageBoxWatcher {
public:
    MessageBoxWatcher() : thread_([this] { Watch(); }) {}
    ~MessageBoxWatcher() { Finish(); }
    void Finish()
    {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    bool seen = false;
    std::string text, caption;
    HWND owner = NULL;

private:
    static BOOL CALLBACK FindBox(HWND hwnd, LPARAM param)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        char className[64];
        GetClassNameA(hwnd, className, sizeof className);
        if (pid != GetCurrentProcessId() || lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(hwnd))
            return TRUE;
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    void Watch()
    {
        while (!stop_) {
            HWND box = NULL;
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                char buffer[256];
                GetWindowTextA(box, buffer, sizeof buffer);
                caption = buffer;
                GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
                text = buffer;
                owner = GetWindow(box, GW_OWNER);
                seen = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    }
    std::atomic<bool> stop_{ false };
    std::thread thread_;
};

class BrowserKeysTest : public ::testing::Test {
protected:
    void SetUp() override { ClearTargetWindow(); }
    OtherWindow dialog{ "Multimedia Keyboard" };
    RunningProgram browser;
    const std::string browserPath = StubPath("IEXPLORE.EXE");
};

TEST_F(BrowserKeysTest, EachKeyGoesStraightToABrowserInTheForeground)
{
    struct Case {
        DWORD key;
        const char* chord;
    };
    const Case cases[] = {
        { kBack, AltLeft },
        { kForward, "down 18,down 39,up 18,up 39" },
        { kStop, "down 27,up 27" },
        { kRefresh, "down 116,up 116" },
        { kFavourites, "down 17,down 73,up 17,up 73" },
    };
    HWND window = StartStub(browser, browserPath, { { "MMK_STUB_LOG_SIZES", "1" } });
    ASSERT_TRUE(window);
    for (const Case& c : cases) {
        ASSERT_TRUE(BringToForeground(window));
        ForgetLog(browserPath);
        ClearTargetWindow();
        BrowserKey(dialog.Handle(), c.key);
        EXPECT_EQ(c.chord, WaitForKeys(browserPath, c.chord)) << c.key;
        // Already in front: no search, so no ShowWindow either.
        EXPECT_EQ("", SizesOf(browserPath)) << c.key;
        EXPECT_EQ(NULL, TargetWindow.handle) << c.key;
    }
}

TEST_F(BrowserKeysTest, BackRestoresABrowserBehindAnotherWindowAndThenGoesBack)
{
    HWND window = StartStub(browser, browserPath, { { "MMK_STUB_LOG_SIZES", "1" } });
    ASSERT_TRUE(window);
    ASSERT_TRUE(dialog.TakeForeground());
    ForgetLog(browserPath);

    BrowserKey(dialog.Handle(), kBack);
    EXPECT_EQ(window, GetForegroundWindow());
    EXPECT_EQ(window, TargetWindow.handle);
    EXPECT_EQ(AltLeft, WaitForKeys(browserPath, AltLeft));
    EXPECT_EQ("size 1,size 0", SizesOf(browserPath));  // minimised, then restored
    EXPECT_EQ(0, dialog.KeysReceived());
}

TEST_F(BrowserKeysTest, AnyForegroundWindowTitledLikeTheBrowserGetsTheChordDirectly)
{
    OtherWindow lookalike("Help - Microsoft Internet Explorer");
    ASSERT_TRUE(lookalike.TakeForeground());
    BrowserKey(dialog.Handle(), kRefresh);
    EXPECT_EQ(2, lookalike.KeysReceived());
    EXPECT_EQ(NULL, TargetWindow.handle);
}

TEST_F(BrowserKeysTest, KeysDoNothingWhileTheBrowserIsNotRunning)
{
    ASSERT_TRUE(dialog.TakeForeground());
    for (DWORD key : { kBack, kForward, kStop, kRefresh, kFavourites }) {
        MessageBoxWatcher watcher;
        BrowserKey(dialog.Handle(), key);
        EXPECT_EQ(0, dialog.KeysReceived()) << key;
        watcher.Finish();
        EXPECT_FALSE(watcher.seen) << key;
    }
}

TEST_F(BrowserKeysTest, FavouritesSaysNotFoundWhenNoBrowserWindowHasTheBrowserTitle)
{
    ASSERT_TRUE(StartStub(browser, browserPath, { { "MMK_STUB_TITLE", "Blank page" } }));
    ASSERT_TRUE(dialog.TakeForeground());
    {
        MessageBoxWatcher watcher;
        BrowserKey(dialog.Handle(), kFavourites);
        watcher.Finish();
        EXPECT_TRUE(watcher.seen);
        EXPECT_EQ("not found", watcher.text);
        EXPECT_EQ("mmk_unit_tests", watcher.caption);
        EXPECT_EQ(dialog.Handle(), watcher.owner);
    }
    // The other browser keys end silently.
    for (DWORD key : { kBack, kForward, kStop, kRefresh }) {
        MessageBoxWatcher watcher;
        BrowserKey(dialog.Handle(), key);
        watcher.Finish();
        EXPECT_FALSE(watcher.seen) << key;
    }
    EXPECT_EQ("", KeysOf(browserPath));
    EXPECT_EQ(0, dialog.KeysReceived());
}

}  // namespace
