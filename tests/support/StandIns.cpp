#include "support/StandIns.h"
#include <stdio.h>
#include <string.h>
#include <vector>

namespace mmk_test {

namespace {

// The log lines that start with one of the prefixes, in order.
std::vector<std::string> Logged(const std::string& exePath, std::initializer_list<const char*> prefixes)
{
    const std::string text = ReadFileText(LogOf(exePath));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (const char* prefix : prefixes)
            if (line.compare(0, strlen(prefix), prefix) == 0) {
                lines.push_back(line);
                break;
            }
        start = end + 1;
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string joined;
    for (const std::string& line : lines) joined += (joined.empty() ? "" : ",") + line;
    return joined;
}

}  // namespace

static const char* g_standInFolder = "stubs";

// A stand-in runs from a folder of the prefix's C: drive, not from the build
// folder: a setting that names it holds at most 99 characters, and the build
// folder's path is as long as the clone's. The copy is refreshed when the
// build's stand-in is newer; a running one keeps its file.
std::string StandIn(const std::string& exeName)
{
    const std::string folder = std::string("C:\\") + g_standInFolder;
    const std::string built = BuildFile(std::string(g_standInFolder) + "\\" + exeName);
    const std::string path = folder + "\\" + exeName;
    CreateDirectoryA(folder.c_str(), NULL);
    WIN32_FILE_ATTRIBUTE_DATA source, copy;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &copy) ||
        (GetFileAttributesExA(built.c_str(), GetFileExInfoStandard, &source) &&
         CompareFileTime(&source.ftLastWriteTime, &copy.ftLastWriteTime) > 0))
        CopyFileA(built.c_str(), path.c_str(), FALSE);
    return path;
}
void UseStandInFolder(const char* folder) { g_standInFolder = folder; }
std::string LogOf(const std::string& exePath) { return exePath + ".log"; }
void ForgetLog(const std::string& exePath) { DeleteFileA(LogOf(exePath).c_str()); }

std::string CommandLineOf(const std::string& exePath, DWORD timeoutMs)
{
    std::vector<std::string> lines;
    WaitUntil([&] { return !(lines = Logged(exePath, { "cmdline " })).empty(); }, timeoutMs);
    return lines.empty() ? "" : lines.front().substr(8);
}

int StartsOf(const std::string& exePath) { return static_cast<int>(Logged(exePath, { "cmdline " }).size()); }

std::string KeysOf(const std::string& exePath) { return Joined(Logged(exePath, { "down ", "up " })); }

std::string WaitForKeys(const std::string& exePath, const std::string& expected, DWORD timeoutMs)
{
    WaitUntil([&] { return KeysOf(exePath) == expected; }, timeoutMs);
    return KeysOf(exePath);
}

std::string CommandsOf(const std::string& exePath)
{
    std::string commands;
    for (const std::string& line : Logged(exePath, { "command " })) commands += (commands.empty() ? "" : ",") + line.substr(8);
    return commands;
}

std::string SizesOf(const std::string& exePath) { return Joined(Logged(exePath, { "size " })); }

HWND StartStandIn(RunningProgram& program, const std::string& exePath, Environment options)
{
    ForgetLog(exePath);
    SetEnvironmentVariableA("MMK_STUB_LOG_SIZES", "1");
    const bool started = program.Start(exePath, "", options);
    SetEnvironmentVariableA("MMK_STUB_LOG_SIZES", NULL);
    HWND window = NULL;
    // Shown and idle: a log forgotten after that holds only what the test
    // causes.
    const bool shown = started && program.WaitIdle() && WaitUntil([&] {
        window = FindProcessWindow(program.ProcessId(), "MMKeyboardStub", NULL);
        return window && !SizesOf(exePath).empty();
    }) && Settle(window);
    return shown ? window : NULL;
}

InstalledStandIn::InstalledStandIn(const std::string& standInName, const std::string& path) : m_path(path)
{
    const size_t slash = path.rfind('\\');
    if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), NULL);
    m_movedAside = MoveFileA(path.c_str(), (path + ".wine").c_str()) != FALSE;
    m_installed = CopyFileOver(StandIn(standInName), path);
}

InstalledStandIn::~InstalledStandIn()
{
    // Wine keeps a running program's file, so every copy must have ended.
    DeleteFileA(m_path.c_str());
    if (m_movedAside && !MoveFileA((m_path + ".wine").c_str(), m_path.c_str()))
        printf("could not put %s back; it waits at %s.wine\n", m_path.c_str(), m_path.c_str());
    ForgetLog(m_path);
}

// Wine hands the X input focus over asynchronously, and a process that
// reads the news late acts on it late: a window that lost the focus, brought
// to the front again before it read so, puts the desktop in front; a window
// that took it and reads so after another came to the front takes the front
// back. So a window that came to the front has the X server do its focus and
// handles what came of it before the test goes on: a stand-in does so when
// asked (tools/standin/StandIn.cpp), a window of this thread here; any other
// window's thread merely answers.
bool Settle(HWND window)
{
    DWORD_PTR answer = 0;
    if (GetWindowThreadProcessId(window, NULL) != GetCurrentThreadId()) {
        static const UINT settle = RegisterWindowMessageA("MMKeyboardStubSettle");
        return SendMessageTimeoutA(window, settle, 0, 0, SMTO_NORMAL, 1000, &answer) != 0;
    }
    POINT pointer;
    GetCursorPos(&pointer);
    MsgWaitForMultipleObjects(0, NULL, FALSE, 0, QS_ALLINPUT);
    Pump(0);
    return true;
}

// The window in front settles first: late news of its own could take the
// front back. The window brought to the front counts once it is still there
// after it settled; a late loss of its own has put the desktop in front.
bool BringToForeground(HWND window)
{
    return WaitUntil([&] {
        if (GetForegroundWindow() != window) {
            Settle(GetForegroundWindow());
            SetForegroundWindow(window);
        }
        Settle(window);
        return GetForegroundWindow() == window;
    }, 5000);
}

OtherWindow::OtherWindow(const char* title)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "MMKeyboardTestOtherWindow";
    RegisterClassA(&wc);
    m_window = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100, NULL,
                              NULL, wc.hInstance, NULL);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

int OtherWindow::KeysReceived()
{
    Pump(100);
    return m_keys;
}

LRESULT CALLBACK OtherWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OtherWindow* self = reinterpret_cast<OtherWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (self) ++self->m_keys;
        return 0;
    case WM_SYSCHAR:
        return 0;  // an Alt chord must not open the system menu and take later keys
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace mmk_test
