// The sound keys' test rig for MMKeyboard-sim.exe. A simulated keyboard,
// played by a test or a benchmark without further sources: it lists
// itself under HKCU\Software\MMKeyboard Simulator\Devices\<index> and serves
// the named pipe given there, writing one input report (report-ID byte
// first, three data bytes) per message. Closing the pipe is unplugging it.
// Also the simulated mixer's registry values, which the program reads and
// writes on every step.
#pragma once
#include <windows.h>
#include <dbt.h>
#include <string>
#include "support/WineTestSupport.h"

namespace mmk_test {

const char kSimulatorRootKey[] = "Software\\MMKeyboard Simulator";
const char kSimulatedMixerKey[] = "Software\\MMKeyboard Simulator\\Mixer";

inline bool WriteSimulatorDword(const char* subKey, const char* name, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return false;
    const bool written = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                        sizeof value) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

// The value, or `missing` when it is absent.
inline DWORD ReadSimulatorDword(const char* subKey, const char* name, DWORD missing = 0xDEADBEEF)
{
    DWORD value = missing, type = 0, size = sizeof value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return missing;
    if (RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        value = missing;
    RegCloseKey(key);
    return value;
}

inline bool SetMixerValue(const char* name, DWORD value)
{
    return WriteSimulatorDword(kSimulatedMixerKey, name, value);
}
inline DWORD MixerValue(const char* name) { return ReadSimulatorDword(kSimulatedMixerKey, name); }

class SoundKeyboard {
public:
    explicit SoundKeyboard(const std::string& pipeName) : path_("\\\\.\\pipe\\" + pipeName)
    {
        ZeroMemory(&connect_, sizeof connect_);
        connect_.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    }
    ~SoundKeyboard()
    {
        Unplug();
        CloseHandle(connect_.hEvent);
    }
    SoundKeyboard(const SoundKeyboard&) = delete;
    SoundKeyboard& operator=(const SoundKeyboard&) = delete;

    // Lists the keyboard's consumer-control interface as device `index`.
    bool Register(int index = 0) const
    {
        const std::string key = std::string(kSimulatorRootKey) + "\\Devices\\" + std::to_string(index);
        HKEY device;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &device, NULL) !=
            ERROR_SUCCESS)
            return false;
        RegSetValueExA(device, "DevicePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path_.c_str()),
                       static_cast<DWORD>(path_.size() + 1));
        RegCloseKey(device);
        const struct { const char* name; DWORD value; } values[] = {
            { "VendorID", KEYBOARD_VENDOR_ID }, { "ProductID", 0x0101 }, { "UsagePage", 0x000C },
            { "Usage", 0x0001 }, { "InputReportLength", 4 }, { "OutputReportLength", 0 },
        };
        for (const auto& v : values)
            if (!WriteSimulatorDword(key.c_str(), v.name, v.value)) return false;
        return true;
    }

    // Creates the pipe and waits, in the background, for the program to open it.
    bool PlugIn()
    {
        Unplug();
        pipe_ = CreateNamedPipeA(path_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                 PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 64, 64, 0, NULL);
        if (pipe_ == INVALID_HANDLE_VALUE) {
            pipe_ = NULL;
            return false;
        }
        ResetEvent(connect_.hEvent);
        connected_ = false;
        if (!ConnectNamedPipe(pipe_, &connect_)) {
            const DWORD error = GetLastError();
            if (error == ERROR_PIPE_CONNECTED) connected_ = true;
            else if (error != ERROR_IO_PENDING) return false;
        }
        return true;
    }

    // True once the program has opened the pipe.
    bool WaitOpened(DWORD timeoutMs)
    {
        if (!pipe_) return false;
        if (!connected_ && WaitForSingleObject(connect_.hEvent, timeoutMs) == WAIT_OBJECT_0) {
            DWORD ignored;
            connected_ = GetOverlappedResult(pipe_, &connect_, &ignored, FALSE) != FALSE;
        }
        return connected_;
    }

    // The server closing the pipe: the program's read fails.
    void Unplug()
    {
        if (!pipe_) return;
        if (!connected_) CancelIo(pipe_);
        DisconnectNamedPipe(pipe_);
        CloseHandle(pipe_);
        pipe_ = NULL;
        connected_ = false;
    }

    // One report with the key bits of `keyCode`, data byte 1 most significant.
    bool Send(DWORD keyCode)
    {
        const BYTE report[4] = { 0x01, static_cast<BYTE>(keyCode >> 16), static_cast<BYTE>(keyCode >> 8),
                                 static_cast<BYTE>(keyCode) };
        if (!connected_) return false;
        OVERLAPPED write;
        ZeroMemory(&write, sizeof write);
        write.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        DWORD written = 0;
        BOOL ok = WriteFile(pipe_, report, sizeof report, &written, &write);
        if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(pipe_, &write, &written, TRUE);
        CloseHandle(write.hEvent);
        return ok && written == sizeof report;
    }

    // Plugs the keyboard in again as the system would announce it: the pipe
    // comes back and the program's window hears of a device arrival. The
    // arrival is repeated until the program opens the pipe, since the program
    // acts on it only once its reader has noticed the unplug.
    bool Replug(HWND programWindow, DWORD timeoutMs)
    {
        if (!PlugIn()) return false;
        const DWORD start = GetTickCount();
        do {
            // Sent, as the system does: Wine refuses to post an arrival,
            // whose LPARAM would be a pointer.
            DWORD_PTR result = 0;
            SendMessageTimeoutA(programWindow, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0, SMTO_NORMAL, 2000, &result);
            if (WaitOpened(300)) return true;
        } while (GetTickCount() - start < timeoutMs);
        return false;
    }

private:
    std::string path_;
    HANDLE pipe_ = NULL;
    OVERLAPPED connect_;
    bool connected_ = false;
};

}  // namespace mmk_test
