// One window, made on the first show and kept for the program's life; its
// own timer hides it, so between key presses nothing of it runs.
#include "levels/LevelDisplay.h"
#include "fw/ResourceLanguage.h"
#include "res/resource.h"

namespace {

const char kClassName[] = "MMKeyboardLevels";
const int kWidth = 240, kHeight = 64;
const int kMargin = 10;          // around the texts and the bar
const int kBarHeight = 14;
const int kBottomGap = 48;       // from the work area's bottom edge
const UINT_PTR kHideTimerId = 1;
const UINT kShownMs = 1500;
const int kTextSize = 64;

struct NameTexts {
    LevelName name;
    UINT nameId;
};
const NameTexts kNames[] = {
    { LevelName::kVolume, IDS_LEVEL_VOLUME }, { LevelName::kBass, IDS_LEVEL_BASS },
    { LevelName::kTreble, IDS_LEVEL_TREBLE }, { LevelName::kMute, IDS_LEVEL_MUTE },
    { LevelName::kLoudness, IDS_LEVEL_LOUDNESS },
};

HWND g_window, g_owner;
HFONT g_font;  // the system's dialog face, larger and bold; NULL: that face itself
LevelReading g_shown;
char g_name[kTextSize], g_state[kTextSize];

bool IsFader(const LevelReading& reading) { return reading.maximum != 0; }

void ComposeTexts(const LevelReading& reading)
{
    g_name[0] = '\0';
    for (const NameTexts& n : kNames)
        if (n.name == reading.name) LoadLocalString(n.nameId, g_name, sizeof g_name);
    if (!IsFader(reading))
        LoadLocalString(reading.value ? IDS_LEVEL_ON : IDS_LEVEL_OFF, g_state, sizeof g_state);
    else if (reading.muted)
        LoadLocalString(IDS_LEVEL_MUTED, g_state, sizeof g_state);
    else
        wsprintfA(g_state, "%lu%%", LevelPercent(reading.value, reading.maximum));
}

HFONT MakeFont()
{
    LOGFONTA face;
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face)) return NULL;
    face.lfHeight = face.lfHeight < 0 ? face.lfHeight * 2 : -16;
    face.lfWidth = 0;
    face.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&face);
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));

    HGDIOBJ oldFont = SelectObject(dc, g_font ? static_cast<HGDIOBJ>(g_font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const bool fader = IsFader(g_shown);
    RECT text = { kMargin, kMargin, client.right - kMargin, fader ? client.bottom - 2 * kMargin - kBarHeight / 2
                                                                   : client.bottom - kMargin };
    const UINT row = DT_SINGLELINE | DT_NOPREFIX | (fader ? DT_TOP : DT_VCENTER);
    DrawTextA(dc, g_name, -1, &text, row | DT_LEFT);
    DrawTextA(dc, g_state, -1, &text, row | DT_RIGHT);
    SelectObject(dc, oldFont);

    if (fader) {
        RECT bar = { kMargin, client.bottom - kMargin - kBarHeight, client.right - kMargin, client.bottom - kMargin };
        FrameRect(dc, &bar, GetSysColorBrush(COLOR_WINDOWTEXT));
        InflateRect(&bar, -2, -2);
        const int percent = static_cast<int>(LevelPercent(g_shown.value, g_shown.maximum));
        bar.right = bar.left + (bar.right - bar.left) * percent / 100;
        FillRect(dc, &bar, GetSysColorBrush(g_shown.muted ? COLOR_GRAYTEXT : COLOR_HIGHLIGHT));
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK LevelDisplayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers all of it
    case WM_TIMER:
        HideLevelDisplay();
        return 0;
    // A click must not activate the display, or it would take the
    // foreground from the window the chords are meant for; it hides it.
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        HideLevelDisplay();
        return 0;
    case WM_DESTROY:
        if (g_font) DeleteObject(g_font);
        g_font = NULL;
        g_window = NULL;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool CreateDisplay()
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass;
    if (!GetClassInfoA(instance, kClassName, &windowClass)) {
        ZeroMemory(&windowClass, sizeof windowClass);
        windowClass.lpfnWndProc = LevelDisplayProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassA(&windowClass)) return false;
    }
    // A tool window gets no taskbar button on Windows 98, but Wine's taskbar
    // lists every unowned visible window: an owner that never shows keeps
    // the display off both. Both windows stay for the program's life.
    if (!g_owner) g_owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, instance, NULL);
    g_window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, kWidth, kHeight,
                               g_owner, NULL, instance, NULL);
    if (g_window && !g_font) g_font = MakeFont();
    return g_window != NULL;
}

}  // namespace

DWORD LevelPercent(DWORD value, DWORD maximum)
{
    if (maximum == 0) return 0;
    if (value >= maximum) return 100;
    // In 64 bits: a fader's maximum may use all 32.
    return static_cast<DWORD>((static_cast<unsigned long long>(value) * 100 + maximum / 2) / maximum);
}

void ShowLevel(const LevelReading& reading)
{
    if (!g_window && !CreateDisplay()) return;
    g_shown = reading;
    ComposeTexts(reading);
    char title[2 * kTextSize];
    wsprintfA(title, "%s %s", g_name, g_state);
    SetWindowTextA(g_window, title);

    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const int x = work.left + (work.right - work.left - kWidth) / 2;
    const int y = work.bottom - kHeight - kBottomGap;
    SetWindowPos(g_window, HWND_TOPMOST, x, y, kWidth, kHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Painted now, not when the queue next runs empty: a held key keeps it busy.
    InvalidateRect(g_window, NULL, FALSE);
    UpdateWindow(g_window);
    SetTimer(g_window, kHideTimerId, kShownMs, NULL);  // restarts the one timer
}

void HideLevelDisplay()
{
    if (!g_window) return;
    KillTimer(g_window, kHideTimerId);
    ShowWindow(g_window, SW_HIDE);
}

HWND LevelDisplayWindow() { return g_window; }
