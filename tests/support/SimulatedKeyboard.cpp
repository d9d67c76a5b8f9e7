#include "support/SimulatedKeyboard.h"
#include <dbt.h>
#include "support/TestSupport.h"

namespace mmk_test {

bool ClearSimulator() { return DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorRootKey); }

DWORD Mixer(const char* name)
{
    DWORD value = 0xDEAD;
    ReadMixerValue(name, &value);
    return value;
}

SimulatedKeyboard::SimulatedKeyboard(const std::string& name)
    : path_("\\\\.\\pipe\\mmk-" + name + "-" + std::to_string(GetCurrentProcessId()))
{
}

bool SimulatedKeyboard::Register(DWORD index) const { return Register(index, SimulatedKeyboardInterface(path_.c_str())); }

bool SimulatedKeyboard::Register(DWORD index, SimulatedInterface entry) const
{
    lstrcpynA(entry.devicePath, path_.c_str(), sizeof entry.devicePath);
    return WriteSimulatedInterface(index, entry);
}

bool SimulatedKeyboard::PlugIn()
{
    Unplug();
    pipe_ = CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    if (pipe_ == INVALID_HANDLE_VALUE) return false;
    connectEvent_ = CreateEventA(NULL, TRUE, FALSE, NULL);
    ZeroMemory(&connect_, sizeof connect_);
    connect_.hEvent = connectEvent_;
    opened_ = false;
    if (!ConnectNamedPipe(pipe_, &connect_)) {
        const DWORD error = GetLastError();
        if (error == ERROR_PIPE_CONNECTED) opened_ = true;
        else if (error != ERROR_IO_PENDING) return false;
    }
    return true;
}

void SimulatedKeyboard::Unplug()
{
    if (pipe_ != INVALID_HANDLE_VALUE) {
        CancelIo(pipe_);
        DisconnectNamedPipe(pipe_);
        CloseHandle(pipe_);
        pipe_ = INVALID_HANDLE_VALUE;
    }
    if (connectEvent_) CloseHandle(connectEvent_);
    connectEvent_ = NULL;
    opened_ = false;
}

bool SimulatedKeyboard::WaitOpened(DWORD timeoutMs)
{
    if (pipe_ == INVALID_HANDLE_VALUE) return false;
    if (!opened_ && WaitForSingleObject(connectEvent_, timeoutMs) == WAIT_OBJECT_0) {
        DWORD unused = 0;
        opened_ = GetOverlappedResult(pipe_, &connect_, &unused, FALSE) != FALSE;
    }
    return opened_;
}

bool SimulatedKeyboard::Held()
{
    // Once the client has closed its end, peeking fails with a broken pipe.
    return WaitOpened(0) && PeekNamedPipe(pipe_, NULL, 0, NULL, NULL, NULL);
}

bool SimulatedKeyboard::Send(DWORD keyCode)
{
    BYTE report[kSimulatedReportLength];
    BuildSimulatedReport(keyCode, report);
    return SendBytes(std::vector<BYTE>(report, report + sizeof report));
}

bool SimulatedKeyboard::SendBytes(const std::vector<BYTE>& report)
{
    if (!WaitOpened(0)) return false;
    OVERLAPPED write = {};
    write.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD written = 0;
    BOOL ok = WriteFile(pipe_, report.data(), static_cast<DWORD>(report.size()), &written, &write);
    if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(pipe_, &write, &written, TRUE);
    CloseHandle(write.hEvent);
    return ok && written == report.size();
}

bool SimulatedKeyboard::Replug(HWND programWindow, DWORD timeoutMs)
{
    if (!PlugIn()) return false;
    return WaitUntil([&] {
        // Sent, as the system does: Wine refuses to post an arrival, whose
        // LPARAM would be a pointer.
        DWORD_PTR result = 0;
        SendMessageTimeoutA(programWindow, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0, SMTO_NORMAL, 2000, &result);
        return WaitOpened(200);
    }, timeoutMs);
}

}  // namespace mmk_test
