#include "e2e/SimulatedKeyboard.h"
#include "support/WineTestSupport.h"

namespace mmk_test {

bool ClearSimulatedDevices() { return DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorKey); }

bool RegisterSimulatedDevice(int index, const SimulatedDeviceEntry& entry)
{
    const std::string subKey = std::string(kSimulatorDevicesKey) + "\\" + std::to_string(index);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return false;
    const struct {
        const char* name;
        DWORD value;
    } values[] = { { "VendorID", entry.vendorId },   { "ProductID", entry.productId },
                   { "UsagePage", entry.usagePage }, { "Usage", entry.usage },
                   { "InputReportLength", entry.inputReportLength },
                   { "OutputReportLength", entry.outputReportLength } };
    bool ok = true;
    for (const auto& v : values)
        ok &= RegSetValueExA(key, v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.value), sizeof v.value) ==
              ERROR_SUCCESS;
    ok &= RegSetValueExA(key, "DevicePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.devicePath.c_str()),
                         (DWORD)entry.devicePath.size() + 1) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool SimulatedKeyboardPipe::PlugIn()
{
    Unplug();
    pipe_ = CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    if (pipe_ == INVALID_HANDLE_VALUE) return false;
    connected_ = CreateEventA(NULL, TRUE, FALSE, NULL);
    ZeroMemory(&connect_, sizeof connect_);
    connect_.hEvent = connected_;
    clientSeen_ = false;
    if (!ConnectNamedPipe(pipe_, &connect_)) {
        const DWORD error = GetLastError();
        if (error == ERROR_PIPE_CONNECTED) clientSeen_ = true;
        else if (error != ERROR_IO_PENDING) return false;
    }
    return true;
}

void SimulatedKeyboardPipe::Unplug()
{
    if (pipe_ != INVALID_HANDLE_VALUE) {
        CancelIo(pipe_);
        CloseHandle(pipe_);
        pipe_ = INVALID_HANDLE_VALUE;
    }
    if (connected_) CloseHandle(connected_);
    connected_ = NULL;
    clientSeen_ = false;
}

bool SimulatedKeyboardPipe::WaitForClient(DWORD timeoutMs)
{
    if (clientSeen_) return true;
    if (pipe_ == INVALID_HANDLE_VALUE) return false;
    if (WaitForSingleObject(connected_, timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD unused = 0;
    clientSeen_ = GetOverlappedResult(pipe_, &connect_, &unused, FALSE) != FALSE;
    return clientSeen_;
}

bool SimulatedKeyboardPipe::Send(const std::vector<BYTE>& report)
{
    if (!WaitForClient(0)) return false;
    OVERLAPPED write = {};
    write.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD written = 0;
    BOOL ok = WriteFile(pipe_, report.data(), (DWORD)report.size(), &written, &write);
    if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(pipe_, &write, &written, TRUE);
    CloseHandle(write.hEvent);
    return ok && written == report.size();
}

}  // namespace mmk_test
