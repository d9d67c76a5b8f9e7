// The level display through the real dialog's key and timer routing, on the
// simulated sound card: what it shows after each kind of sound key and when
// it stays away, that it hides again, and that neither showing it nor
// clicking it takes the foreground.
#include <gtest/gtest.h>
#include "fw/ResourceLanguage.h"
#include "levels/LevelDisplay.h"
#include "mixer/MixerControls.h"
#include "support/DialogRig.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"
#include "support/StandIns.h"

using namespace mmk_test;

namespace {

const DWORD kMiddle = 32768;

// Whether this thread activated the display at any time, however briefly:
// noted as the platform is about to activate a window.
bool g_displayActivated;
LRESULT CALLBACK NoteActivation(int code, WPARAM window, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(window) == LevelDisplayWindow()) g_displayActivated = true;
    return CallNextHookEx(NULL, code, window, lParam);
}

class LevelDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceLanguage(kEnglishUS);
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
        dialog.Command(IDC_REVERT);  // nothing stored: the box is ticked
        Card();
    }
    void TearDown() override
    {
        CloseMixer();
        ClearSimulator();
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    }
    // Every control at the middle or off; without the one named.
    void Card(const char* without = "")
    {
        CloseMixer();
        ClearSimulator();
        const char* values[][2] = { { kMixerVolume, kMixerVolumeMax }, { kMixerBass, kMixerBassMax },
                                    { kMixerTreble, kMixerTrebleMax }, { kMixerMute, NULL },
                                    { kMixerLoudness, NULL } };
        for (auto v : values) {
            if (lstrcmpA(without, v[0]) == 0) continue;
            if (v[1]) PutMixerValue(v[1], 65535);
            PutMixerValue(v[0], v[1] ? kMiddle : 0);
        }
        PutMixerValue(kMixerPresent, 1);
        OpenMixerAndControls(NULL);
        HideLevelDisplay();
    }
    // A key as the keyboard sends it; a fader key held for the ticks given.
    void Key(DWORD keyCode, int ticks)
    {
        dialog.Keys(keyCode);
        for (int i = 0; i < ticks; ++i) dialog.Tick();
        dialog.Keys(kKeysReleased);
    }
    // What the display shows, "" while it is hidden.
    static std::string Shown()
    {
        HWND window = LevelDisplayWindow();
        char text[128] = "";
        if (window && IsWindowVisible(window)) GetWindowTextA(window, text, sizeof text);
        return text;
    }

    DialogRig dialog;
};

// Nothing shows while the box is unticked, for a control the card lacks, or
// when the card refuses; then the same rig shows what each key did.
TEST_F(LevelDisplayTest, ASoundKeyShowsItsControlAndWhatTheCardHoldsUnlessTurnedOffMissingOrRefused)
{
    const struct {
        DWORD key;
        int ticks;
        const char* shown;
        const char* setElsewhere;  // changed on the card before the key
        DWORD to;
        const char* without;  // the control the card lacks
        DWORD refuse;
        bool boxTicked;
    } cases[] = {
        { kKeyVolumeUp, 2, "", NULL, 0, "", 0, false },
        { kKeyMute, 0, "", NULL, 0, "", 0, false },
        { kKeyBassUp, 2, "", NULL, 0, kMixerBass, 0, true },
        { kKeyLoudness, 0, "", NULL, 0, kMixerLoudness, 0, true },
        { kKeyVolumeDown, 2, "", NULL, 0, "", kRefuseSet, true },
        { kKeyMute, 0, "", NULL, 0, "", kRefuseSet, true },
        { kKeyTrebleUp, 2, "", NULL, 0, "", kRefuseGet, true },  // unreadable
        { kKeyVolumeUp, 1, "Volume 55%", NULL, 0, "", 0, true },  // 36044 of 65535
        { kKeyVolumeUp, 3, "Volume 65%", NULL, 0, "", 0, true },
        { kKeyBassDown, 1, "Bass 45%", NULL, 0, "", 0, true },
        { kKeyTrebleUp, 2, "Treble 100%", kMixerTreble, 65000, "", 0, true },  // at the top, still shown
        { kKeyVolumeDown, 1, "Volume 5%", kMixerVolume, 6553, "", 0, true },   // set elsewhere: followed
        { kKeyVolumeUp, 1, "Volume Muted", kMixerMute, 1, "", 0, true },
        { kKeyMute, 0, "Mute On", NULL, 0, "", 0, true },
        { kKeyMute, 0, "Mute Off", kMixerMute, 1, "", 0, true },
        { kKeyLoudness, 0, "Loudness On", NULL, 0, "", 0, true },
        { kKeyLoudness, 0, "Loudness Off", kMixerLoudness, 1, "", 0, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        Card(c.without);
        CheckDlgButton(dialog.Window(), IDC_SHOW_LEVELS, c.boxTicked ? BST_CHECKED : BST_UNCHECKED);
        if (c.setElsewhere) PutMixerValue(c.setElsewhere, c.to);
        PutMixerValue(kMixerRefuse, c.refuse);
        Key(c.key, c.ticks);
        PutMixerValue(kMixerRefuse, 0);
        EXPECT_EQ(c.shown, Shown());
    }
    EXPECT_EQ(37u, LevelPercent(23986, 65535));  // 36.6: rounded to the nearest
    EXPECT_EQ(50u, LevelPercent(0x80000000u, 0xFFFFFFFFu));
}

// The bar, found by its colour rather than by the layout: the highlight
// starts inside its frame, and the bar ends at the last pixel of its row that
// is not the window's colour before the display's own frame.
TEST_F(LevelDisplayTest, TheBarIsFilledUpToTheLevel)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), window = GetSysColor(COLOR_WINDOW);
    ASSERT_NE(highlight, window);
    Key(kKeyVolumeUp, 1);
    ASSERT_EQ("Volume 55%", Shown());
    HWND display = LevelDisplayWindow();
    RECT client;
    GetClientRect(display, &client);
    HDC dc = GetDC(display);  // the display's own pixels, as it painted them
    int row = -1, left = -1;
    for (int y = client.bottom - 1; y >= 0 && left < 0; --y)
        for (int x = 0; x < client.right && left < 0; ++x)
            if (GetPixel(dc, x, y) == highlight) row = y, left = x;
    int right = client.right - 2;  // inside the display's frame
    while (right > left && GetPixel(dc, right, row) == window) --right;
    const int inner = right - 1 - left;  // the bar's frame, then a pixel of space
    const COLORREF atHalf = GetPixel(dc, left + inner * 50 / 100, row), at60 = GetPixel(dc, left + inner * 60 / 100, row);
    ReleaseDC(display, dc);
    ASSERT_GE(row, 0) << "no highlight anywhere in the display";
    ASSERT_GT(inner, 50);
    EXPECT_EQ(highlight, atHalf) << "at 50 %";
    EXPECT_EQ(window, at60) << "at 60 %";
}

TEST_F(LevelDisplayTest, ItHidesOneAndAHalfSecondsAfterTheLastChange)
{
    Key(kKeyMute, 0);
    ASSERT_EQ("Mute On", Shown());
    Pump(700);
    Key(kKeyLoudness, 0);  // a new change starts the time again
    const DWORD changed = GetTickCount();
    ASSERT_TRUE(WaitUntil([] { return Shown().empty(); }, 4000)) << "still shown";
    const DWORD shownMs = GetTickCount() - changed;
    EXPECT_GE(shownMs, 1400u);
    EXPECT_LE(shownMs, 2500u);
}

TEST_F(LevelDisplayTest, NeitherItsShowNorAClickOnItTakesTheForeground)
{
    OtherWindow other;
    ASSERT_TRUE(other.TakeForeground());
    SetFocus(other.Handle());
    g_displayActivated = false;
    HHOOK hook = SetWindowsHookExA(WH_CBT, NoteActivation, NULL, GetCurrentThreadId());
    Key(kKeyVolumeUp, 1);
    HWND display = LevelDisplayWindow();
    ASSERT_EQ("Volume 55%", Shown());
    EXPECT_TRUE(GetWindowLongA(display, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(other.Handle(), GetForegroundWindow());
    EXPECT_EQ(other.Handle(), GetFocus());

    // A click, as the mouse makes it: the display goes, the foreground stays.
    RECT r;
    GetWindowRect(display, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    EXPECT_TRUE(WaitUntil([] { return Shown().empty(); }, 1000)) << "the click did not hide it";
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(g_displayActivated);
    EXPECT_EQ(other.Handle(), GetForegroundWindow());
    EXPECT_EQ(other.Handle(), GetFocus());
}

}  // namespace
