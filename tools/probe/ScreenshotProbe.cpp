// tools/screenshot's hands: drives a program of the build folder from
// outside, so that the pictures show it as a user sees it.
//   screenshot_probe show PROGRAM.exe SECONDS  - shows the dialog, then the
//                                                Keys dialog, then its Action
//                                                list dropped, then the About
//                                                box, printing where each is
//   screenshot_probe tryout DONE_FILE          - plays keys on the try-out
//                                                run's key pad, then creates
//                                                DONE_FILE
//   screenshot_probe levels DONE_FILE          - holds Volume Up on the key
//                                                pad until the level display
//                                                shows, creates DONE_FILE,
//                                                lets go
// PROGRAM.exe is taken by its file name from the build folder.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "support/Program.h"
#include "res/resource.h"

using namespace mmk_test;

namespace {

// Lets a window that has just shown finish painting before it is captured.
const DWORD kPaintMs = 500;
// The Mail key's row of the Keys dialog.
const int kMailRow = 14;

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "NAME x y width height title": the area on the screen, and the title of the
// window in front in UTF-8 whatever the program's language.
void PrintArea(const char* what, const RECT& r, HWND titled)
{
    char title[256] = "";
    WideCharToMultiByte(CP_UTF8, 0, WindowTextW(titled).c_str(), -1, title, sizeof title, NULL, NULL);
    std::printf("%s %ld %ld %ld %ld %s\n", what, r.left, r.top, r.right - r.left, r.bottom - r.top, title);
    std::fflush(stdout);
}

void PrintRect(const char* what, HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    PrintArea(what, r, window);
}

// A combo box's dropped list: a window of its own, "ComboLBox", on the desktop.
HWND FindShownList(DWORD processId)
{
    for (HWND list = FindWindowExA(NULL, NULL, "ComboLBox", NULL); list;
         list = FindWindowExA(NULL, list, "ComboLBox", NULL)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(list, &owner);
        if (owner == processId && IsWindowVisible(list)) return list;
    }
    return NULL;
}

// The Keys dialog's Action list dropped, as a click on its arrow drops it;
// prints "list" (the list alone) and "keyslist" (the list, the Keys dialog
// and the settings dialog it belongs to, wherever each is).
bool ShowActionList(DWORD processId, HWND dialog, HWND keys, DWORD seconds)
{
    HWND action = GetDlgItem(keys, IDC_KEYS_ACTION);
    SendMessageA(keys, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(action), TRUE);  // the click's focus
    SendMessageA(action, CB_SHOWDROPDOWN, TRUE, 0);
    HWND list = NULL;
    WaitUntil([&] { return (list = FindShownList(processId)) != NULL; }, 5000);
    Pump(kPaintMs);
    if (list) {
        RECT all, r;
        GetWindowRect(dialog, &all);
        GetWindowRect(keys, &r);
        UnionRect(&all, &all, &r);
        GetWindowRect(list, &r);
        UnionRect(&all, &all, &r);
        PrintRect("list", list);
        PrintArea("keyslist", all, keys);
        Pump(seconds * 1000);
    }
    SendMessageA(action, CB_SHOWDROPDOWN, FALSE, 0);
    return list != NULL;
}

int ShowWindows(const std::string& exeName, DWORD seconds)
{
    RunningProgram program;
    const SettledProgram settled = StartSettled(program, exeName.c_str());
    if (settled.dialog) ClickTrayIcon(settled.tray, WM_LBUTTONDBLCLK);
    const bool shown = settled.dialog && WaitUntil([&] { return IsWindowVisible(settled.dialog) != FALSE; }, 5000);
    Pump(kPaintMs);
    if (!shown) {
        std::printf("%s did not show its dialog\n", exeName.c_str());
        EndThroughItsLoop(program, settled.dialog);
        return 1;
    }
    PrintRect("dialog", settled.dialog);
    Pump(seconds * 1000);

    // The Keys dialog's loop runs inside the dialog's: ended before the next.
    PostMessageA(settled.dialog, WM_COMMAND, IDC_KEYS, 0);
    HWND keys = NULL;
    WaitUntil([&] { return (keys = FindShownDialog(program.ProcessId(), kDialogTitle)) != NULL; }, 5000);
    // The Mail key chosen, as a click on its row chooses it.
    HWND list = keys ? GetDlgItem(keys, IDC_KEYS_LIST) : NULL;
    SendMessageA(list, LB_SETCURSEL, kMailRow, 0);
    SendMessageA(keys, WM_COMMAND, MAKEWPARAM(IDC_KEYS_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Pump(kPaintMs);
    if (keys) PrintRect("keys", keys);
    Pump(seconds * 1000);
    const bool listShown = keys && ShowActionList(program.ProcessId(), settled.dialog, keys, seconds);
    if (keys) PostMessageA(keys, WM_COMMAND, IDCANCEL, 0);
    WaitUntil([&] { return !IsWindow(keys); }, 5000);

    PostMessageA(settled.dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = NULL;
    WaitUntil([&] {
        return (about = FindShownDialog(program.ProcessId(), kDialogTitle)) != NULL;
    }, 5000);
    Pump(kPaintMs);
    if (about) PrintRect("about", about);
    Pump(seconds * 1000);
    // The About box's own loop runs inside the dialog's; ending it first lets
    // the quit reach the outer loop, which removes the icon.
    if (about) PostMessageA(about, WM_COMMAND, IDOK, 0);
    EndThroughItsLoop(program, settled.dialog);
    return about && keys && listShown ? 0 : 1;
}

// A press and release of a key pad button, as the mouse makes them.
void ClickKeyPadButton(HWND keyPad, const char* name)
{
    HWND button = FindWindowExA(keyPad, NULL, "BUTTON", name);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Plays the try-out run for the README picture, from inside its desktop:
// Home Page starts the browser stand-in and Back reaches it; Media Player
// starts Windows Media Player and Play/Pause reaches it.
int PlayTryOut(const char* doneFile)
{
    const std::string browserLog = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE.log";
    const std::string playerLog = "C:\\Program Files\\Windows Media Player\\WMPLAYER.EXE.log";
    DeleteFileA(browserLog.c_str());
    DeleteFileA(playerLog.c_str());
    HWND keyPad = NULL;
    const bool listening = WaitUntil([&] {
        keyPad = FindWindowA("MMKeyboardKeyPad", NULL);
        char status[128] = "";
        GetWindowTextA(FindWindowExA(keyPad, NULL, "STATIC", NULL), status, sizeof status);
        HWND dialog = FindWindowA("#32770", kDialogTitle);
        return keyPad && Contains(status, "listening") && dialog && !IsWindowVisible(dialog);
    }, 30000);
    if (!listening) return 1;
    const struct Step {
        const char* button;
        const std::string& log;
        const char* seen;
    } steps[] = {
        { "Home Page", browserLog, "cmdline" },
        { "Back", browserLog, "down 37" },
        { "Media Player", playerLog, "cmdline" },
        { "Play/Pause", playerLog, "down 80" },
    };
    for (const Step& step : steps) {
        ClickKeyPadButton(keyPad, step.button);
        if (!WaitUntil([&] { return Contains(ReadFileText(step.log), step.seen); }, 20000)) {
            std::printf("%s: nothing seen\n", step.button);
            return 1;
        }
        Pump(kPaintMs);  // the stand-in paints what it logged
    }
    CloseHandle(CreateFileA(doneFile, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return 0;
}

// Holds a key pad button for the README's picture of the level display: the
// display stays while the key steps the volume, long enough to be captured.
int HoldForLevelDisplay(const char* doneFile)
{
    HWND keyPad = FindWindowA("MMKeyboardKeyPad", NULL);
    HWND button = FindWindowExA(keyPad, NULL, "BUTTON", "Volume Up");
    if (!button) return 1;
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    const bool shown = WaitUntil([] {
        HWND display = FindWindowA("MMKeyboardLevels", NULL);
        return display && IsWindowVisible(display);
    }, 10000);
    if (shown) {
        Pump(kPaintMs);
        CloseHandle(CreateFileA(doneFile, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
        Pump(1000);  // the picture is taken meanwhile
    }
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return shown ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc == 4 ? argv[1] : "";
    if (command == "show") return ShowWindows(FileNameOf(argv[2]), DWORD(std::atoi(argv[3])));
    if (argc == 3 && std::string(argv[1]) == "tryout") return PlayTryOut(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "levels") return HoldForLevelDisplay(argv[2]);
    std::fprintf(stderr, "usage: screenshot_probe show PROGRAM.exe SECONDS, or screenshot_probe tryout|levels DONE_FILE\n");
    return 2;
}
