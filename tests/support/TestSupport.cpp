#include "support/TestSupport.h"
#include <tlhelp32.h>
#include <vector>

namespace mmk_test {

std::string WinePath(const std::string& path)
{
    std::string winePath = "Z:" + path;
    for (char& c : winePath)
        if (c == '/') c = '\\';
    return winePath;
}

std::string BuildFile(const std::string& relative) { return WinePath(MMK_BUILD_DIR "/" + relative); }

std::string WindowsDirectory()
{
    char directory[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory, length < sizeof directory ? length : 0);
}

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return condition();
        Pump(10);
    }
    return true;
}

bool RunningProgram::Start(const std::string& exePath, const std::string& arguments, Environment environment)
{
    Stop();
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    for (const auto& entry : environment) SetEnvironmentVariableA(entry.first, entry.second);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    const bool started =
        CreateProcessA(exePath.c_str(), buffer.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &m_info) != FALSE;
    for (const auto& entry : environment) SetEnvironmentVariableA(entry.first, NULL);
    return started;
}

void RunningProgram::Stop()
{
    if (!m_info.hProcess) return;
    EndProgramsStartedBy(m_info.dwProcessId);
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_info.hProcess, 1);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
    CloseHandle(m_info.hProcess);
    CloseHandle(m_info.hThread);
    ZeroMemory(&m_info, sizeof m_info);
}

bool RunningProgram::HasExited(DWORD waitMs) const
{
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, waitMs) == WAIT_OBJECT_0;
}

bool RunningProgram::WaitIdle(DWORD timeoutMs) const
{
    return m_info.hProcess && WaitForInputIdle(m_info.hProcess, timeoutMs) == 0;
}

namespace {

// Calls visit for every process entry of a fresh snapshot.
template <class Visit>
void ForEachProcess(Visit visit)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) visit(entry);
    CloseHandle(snapshot);
}

// Wine's own programs run from the system folder; the desktop's process
// owns the desktop window. The image's path is asked of the server: a
// module snapshot of a process of the other bitness would walk its memory
// by the wrong layout.
bool IsWinesOwn(DWORD processId)
{
    DWORD desktopOwner = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &desktopOwner);
    if (processId == desktopOwner) return true;
    typedef BOOL(WINAPI * ImageNameQuery)(HANDLE, DWORD, LPSTR, PDWORD);
    static const ImageNameQuery query = reinterpret_cast<ImageNameQuery>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    const DWORD kLimitedQuery = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
    HANDLE process = query ? OpenProcess(kLimitedQuery, FALSE, processId) : NULL;
    if (!process) return false;
    char image[MAX_PATH] = "";
    DWORD length = sizeof image;
    const bool named = query(process, 0, image, &length) != FALSE;
    CloseHandle(process);
    char system[MAX_PATH];
    const UINT systemLength = GetSystemDirectoryA(system, sizeof system);
    return named && systemLength > 0 && systemLength < length && image[systemLength] == '\\' &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, image, int(systemLength), system, int(systemLength)) ==
               CSTR_EQUAL;
}

}  // namespace

std::vector<ChildProcess> ChildProcesses(DWORD processId)
{
    std::vector<ChildProcess> children;
    ForEachProcess([&](const PROCESSENTRY32& entry) {
        if (entry.th32ParentProcessID == processId) children.push_back({ entry.th32ProcessID, entry.szExeFile });
    });
    return children;
}

void EndProcess(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

void EndProgramsStartedBy(DWORD processId)
{
    for (const ChildProcess& child : ChildProcesses(processId))
        if (!IsWinesOwn(child.id)) EndProcess(child.id);
}

namespace {

struct WindowQuery {
    DWORD processId;
    std::function<bool(HWND)> matches;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != query->processId || !query->matches(window)) return TRUE;
    query->found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD processId, std::function<bool(HWND)> matches)
{
    WindowQuery query = { processId, std::move(matches), NULL };
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TitleOf(HWND window)
{
    char title[512] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className, const char* title)
{
    return FindWindowOf(processId, [&](HWND window) {
        return (!className || ClassOf(window) == className) && (!title || TitleOf(window) == title);
    });
}

HWND FindShownDialog(DWORD processId, const char* except)
{
    return FindWindowOf(processId, [&](HWND window) {
        return IsWindowVisible(window) && ClassOf(window) == "#32770" && TitleOf(window) != except;
    });
}

std::string MessageBoxText(HWND box)
{
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message's static control
    return text;
}

bool SetRegistryValue(HKEY root, const char* key, const char* name, const std::string& bytes, DWORD type)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key, 0, NULL, 0, KEY_SET_VALUE, NULL, &handle, NULL) != ERROR_SUCCESS) return false;
    const bool written = RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                        static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return written;
}

bool SetRegistryText(HKEY root, const char* key, const char* name, const std::string& text)
{
    return SetRegistryValue(root, key, name, text + '\0');
}

std::string RegistryValue(HKEY root, const char* key, const char* name)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return "(none)";
    DWORD size = 0;
    std::string bytes = "(none)";
    if (RegQueryValueExA(handle, name, NULL, NULL, NULL, &size) == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        if (RegQueryValueExA(handle, name, NULL, NULL, reinterpret_cast<BYTE*>(&bytes[0]), &size) != ERROR_SUCCESS)
            bytes = "(none)";
    }
    RegCloseKey(handle);
    return bytes;
}

bool DeleteRegistryTree(HKEY root, const char* key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key, 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return true;
    char child[256];
    DWORD length = sizeof child;
    while (RegEnumKeyExA(handle, 0, child, &length, NULL, NULL, NULL, NULL) == ERROR_SUCCESS &&
           DeleteRegistryTree(root, (std::string(key) + "\\" + child).c_str()))
        length = sizeof child;
    RegCloseKey(handle);
    return RegDeleteKeyA(root, key) == ERROR_SUCCESS;
}

std::string ReadFileText(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

bool CopyFileOver(const std::string& from, const std::string& to)
{
    SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

}  // namespace mmk_test
