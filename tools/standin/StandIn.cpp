// A stand-in for a program that the keys start or drive: the browser, the
// media players, the mail program, the calculator. Copies of it run
// under those programs' file names, and the name tells it which window to
// show. The window says that it is a stand-in and lists, in words, its
// command line and every chord it received ("Alt+Left", "Alt+K, Down").
//
// It also appends to "<its own path>.log", which the tests read:
//   cmdline <its command line, as received>
//   down <vk> / up <vk>   for every key event its window receives, in order
//   size <WM_SIZE type>   each time the type changes, when MMK_STUB_LOG_SIZES
//                         is set
// Environment options, for the tests:
//   MMK_STUB_TITLE=...                 this title instead (empty: untitled)
//   MMK_STUB_SHOW=minimized|maximized  start minimised or maximised
//   MMK_STUB_UNACTIVATABLE=1           the window is a child of the desktop,
//                                      which never becomes the foreground
// Sent the registered message "MMKeyboardStubSettle", it answers once the X
// server has done what it asked of it (the focus of a window just shown or
// activated) and it has handled the focus events that came of it, so that
// none arrives late and takes the foreground from a window the test brought
// to the front since.
//
// Run as winamp.exe, apollo.exe or qcd.exe it plays that player as other
// programs see it (RemotePlayers.h): a main window of the player's class
// that takes its commands and answers what it is doing, and a playlist
// window beside it. It lists every command in words ("Play", "Next track")
// and logs "command <words>". Options:
//   MMK_STUB_STATE=playing|paused|stopped|<ms>  what it is doing at first
//                                  (stopped when not given; a number is the
//                                  elapsed time, playing when above 0); the
//                                  same word after the program on its
//                                  command line does it too
//   MMK_STUB_HUNG=1                asked what it is doing, it hangs for a
//                                  second before it answers, then takes
//                                  whatever was posted meanwhile
//
// The window has no child controls and paints its text itself: a control
// would take the keyboard focus, and the chords must reach this window.
#include <windows.h>
#include "ChordWords.h"
#include "RemotePlayers.h"
#include "fw/FileNames.h"

namespace {

struct KnownProgram {
    const char* exeName;
    const char* title;  // as the real program titles its window
    int x, y;
};

// Below MMKeyboard's dialog and the key pad, which take the top of the
// try-out run's desktop; the players that take commands, which a user
// starts by hand, over the dialog's place, clear of the key pad.
const KnownProgram kKnownPrograms[] = {
    { "IEXPLORE.EXE", "Start Page - Microsoft Internet Explorer", 0, 230 },
    { "WMPLAYER.EXE", "Windows Media Player", 0, 455 },
    { "MPLAYER2.EXE", "Movie - Windows Media Player", 12, 443 },
    { "CDPLAYER.EXE", "CD Player", 24, 431 },
    { "calc.exe", "Calculator", 524, 430 },
    { "msimn.exe", "Inbox - Outlook Express", 512, 445 },
    { "winamp.exe", "Winamp", 0, 0 },
    { "apollo.exe", "Apollo", 24, 24 },
    { "qcd.exe", "QCD Player", 48, 48 },
};
const int kWidth = 500, kHeight = 220;
const int kMargin = 8;
const DWORD kHungMs = 1000;
const COLORREF kNoticeColour = RGB(255, 236, 140);

char g_logPath[MAX_PATH + 8];
bool g_logSizes;
WPARAM g_lastSizeType = static_cast<WPARAM>(-1);
char g_notice[160];
char g_commandLine[1100];
ChordList g_chords;

const RemotePlayer* g_player;  // the player it plays, if any
bool g_playerHung;
RemotePlayerState g_playerState;
HWND g_mainWindow;
UINT g_settleMessage;

void AppendLog(const char* line)
{
    HANDLE file = CreateFileA(g_logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, lstrlenA(line), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

void LogNumber(const char* what, WPARAM number)
{
    char line[32];
    wsprintfA(line, "%s %u", what, static_cast<unsigned>(number));
    AppendLog(line);
}

const KnownProgram* FindKnownProgram(const char* exeName)
{
    for (const KnownProgram& program : kKnownPrograms)
        if (lstrcmpiA(program.exeName, exeName) == 0) return &program;
    return NULL;
}

// A message to the player's main window: its question answered, its
// commands taken, listed and logged. False for any other message.
bool TakePlayerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer)
{
    if (!g_player || window != g_mainWindow) return false;
    if (IsQuestion(*g_player, message, wParam, lParam)) {
        // A hang that ends: a command posted while it lasted is then taken
        // and logged, where one that never ended would hide it.
        if (g_playerHung) Sleep(kHungMs);
        *answer = Answer(*g_player, g_playerState);
        return true;
    }
    const char* words = TakeCommand(*g_player, &g_playerState, message, wParam);
    if (!words) return false;
    char line[48];
    wsprintfA(line, "command %s", words);
    AppendLog(line);
    NoteLine(&g_chords, words);
    InvalidateRect(window, NULL, TRUE);
    *answer = 0;
    return true;
}

bool HasOption(const char* name, char* value, DWORD size)
{
    return GetEnvironmentVariableA(name, value, size) > 0;
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT client;
    GetClientRect(window, &client);
    SetBkMode(dc, TRANSPARENT);

    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    RECT notice = { 0, 0, client.right, lineHeight * 2 + kMargin };
    HBRUSH noticeBrush = CreateSolidBrush(kNoticeColour);
    FillRect(dc, &notice, noticeBrush);
    DeleteObject(noticeBrush);
    InflateRect(&notice, -kMargin, -kMargin / 2);
    DrawTextA(dc, g_notice, -1, &notice, DT_WORDBREAK | DT_NOPREFIX);

    RECT text = { kMargin, lineHeight * 2 + kMargin * 2, client.right - kMargin, client.bottom - kMargin };
    char line[sizeof g_commandLine + 16] = "Command line: ";
    lstrcatA(line, g_commandLine);
    text.top += DrawTextA(dc, line, -1, &text, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX) + kMargin;
    char heading[96];
    lstrcpyA(heading, g_chords.count ? "Keys received:" : "Keys received: none yet");
    if (g_player)
        wsprintfA(heading, "%s. %s", kStateWords[g_playerState.state],
                  g_chords.count ? "Commands and keys received:" : "Commands received: none yet");
    if (window != g_mainWindow) lstrcpyA(heading, "Its playlist window: keys and commands go to the main window.");
    DrawTextA(dc, heading, -1, &text, DT_SINGLELINE);
    text.top += lineHeight;
    // The newest chords at the bottom, as many as fit.
    int fit = (text.bottom - text.top) / lineHeight;
    if (fit > kChordLines) fit = kChordLines;
    if (window != g_mainWindow) fit = 0;
    for (int i = g_chords.count > fit ? g_chords.count - fit : 0; i < g_chords.count; ++i) {
        RECT row = { text.left + kMargin * 2, text.top, text.right, text.top + lineHeight };
        DrawTextA(dc, g_chords.lines[i % kChordLines], -1, &row, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        text.top += lineHeight;
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_settleMessage && message) {
        // Wine asks the X server where the pointer is (a round trip: all
        // asked before is done, its events are here), and a wait for input
        // handles those events at once.
        POINT pointer;
        GetCursorPos(&pointer);
        MsgWaitForMultipleObjects(0, NULL, FALSE, 0, QS_ALLINPUT);
        return 1;
    }
    LRESULT answer;
    if (TakePlayerMessage(window, message, wParam, lParam, &answer)) return answer;
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        LogNumber("down", wParam);
        if (NoteKeyDown(&g_chords, static_cast<BYTE>(wParam), (lParam & (1 << 30)) != 0, GetMessageTime()))
            InvalidateRect(window, NULL, TRUE);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        LogNumber("up", wParam);
        NoteKeyUp(&g_chords, static_cast<BYTE>(wParam));
        return 0;
    case WM_SYSCHAR:
        return 0;
    case WM_SYSCOMMAND:
        // Alt chords must not open the system menu and steal later keys.
        if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
        break;
    case WM_SIZE:
        if (g_logSizes && wParam != g_lastSizeType) {
            g_lastSizeType = wParam;
            LogNumber("size", wParam);
        }
        InvalidateRect(window, NULL, TRUE);
        break;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    char exePath[MAX_PATH];
    GetModuleFileNameA(NULL, exePath, sizeof exePath);
    wsprintfA(g_logPath, "%s.log", exePath);
    const char* exeName = FileNameOf(exePath);

    lstrcpynA(g_commandLine, GetCommandLineA(), sizeof g_commandLine);
    // wsprintfA would stop at 1024 characters; the log keeps them all.
    char line[sizeof g_commandLine + 8] = "cmdline ";
    lstrcatA(line, g_commandLine);
    AppendLog(line);

    const KnownProgram* known = FindKnownProgram(exeName);
    char title[512];
    DWORD titleLength = GetEnvironmentVariableA("MMK_STUB_TITLE", title, sizeof title);
    if (titleLength == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        lstrcpynA(title, known ? known->title : exeName, sizeof title);
    wsprintfA(g_notice, "Stand-in for trying MMKeyboard: this is %.60s, not the real program. "
                        "It shows what it was given.", exeName);

    g_settleMessage = RegisterWindowMessageA("MMKeyboardStubSettle");
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "MMKeyboardStub";
    RegisterClassA(&wc);

    char option[32];
    g_player = FindRemotePlayer(exeName);
    if (g_player) {
        g_playerHung = HasOption("MMK_STUB_HUNG", option, sizeof option);
        g_playerState = StartingState(g_commandLine);
        wc.lpszClassName = g_player->windowClass;
        RegisterClassA(&wc);
    }
    g_logSizes = HasOption("MMK_STUB_LOG_SIZES", option, sizeof option);
    if (HasOption("MMK_STUB_SHOW", option, sizeof option)) {
        if (!lstrcmpiA(option, "minimized")) showCommand = SW_SHOWMINIMIZED;
        if (!lstrcmpiA(option, "maximized")) showCommand = SW_SHOWMAXIMIZED;
    }
    DWORD style = WS_OVERLAPPEDWINDOW;
    HWND parent = NULL;
    if (HasOption("MMK_STUB_UNACTIVATABLE", option, sizeof option)) {
        style = WS_CHILD | WS_CAPTION;
        parent = GetDesktopWindow();
    }
    HWND window = CreateWindowExA(0, wc.lpszClassName, title, style, known ? known->x : 100, known ? known->y : 100,
                                  kWidth, kHeight, parent, NULL, instance, NULL);
    if (!window) return 1;
    g_mainWindow = window;
    ShowWindow(window, showCommand);
    if (g_player) {
        // The player's other windows are of other classes; this one is a
        // plain stand-in window, which the tests find as they find any
        // stand-in.
        HWND playlist = CreateWindowExA(0, "MMKeyboardStub", g_player->playlistTitle, WS_OVERLAPPEDWINDOW,
                                        known->x, known->y + kHeight, kWidth, kHeight / 2, NULL, NULL, instance, NULL);
        ShowWindow(playlist, showCommand);
    }

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
