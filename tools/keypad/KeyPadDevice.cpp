#include "KeyPadDevice.h"
#include "KeyPadKeys.h"

namespace {

const char kDevicesKey[] = "Software\\MMKeyboard Simulator\\Devices";
const DWORD kMaxDevices = 32;

HANDLE g_pipe = INVALID_HANDLE_VALUE;
HANDLE g_connectEvent;
OVERLAPPED g_connect;
PadState g_state = PadState::Unplugged;

bool IsOwnEntry(HKEY entry)
{
    char path[MAX_PATH] = "";
    DWORD type = 0, size = sizeof path - 1;
    return RegQueryValueExA(entry, "DevicePath", NULL, &type, reinterpret_cast<BYTE*>(path), &size) ==
               ERROR_SUCCESS &&
           type == REG_SZ && lstrcmpiA(path, KEYPAD_PIPE_PATH) == 0;
}

bool SetDword(HKEY key, const char* name, DWORD value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

// Starts waiting for the next client on the pipe.
void Listen()
{
    ResetEvent(g_connectEvent);
    ZeroMemory(&g_connect, sizeof g_connect);
    g_connect.hEvent = g_connectEvent;
    g_state = PadState::Waiting;
    if (ConnectNamedPipe(g_pipe, &g_connect)) return;
    if (GetLastError() == ERROR_PIPE_CONNECTED) {
        g_state = PadState::Connected;
        SetEvent(g_connectEvent);
    }
}

}  // namespace

bool RegisterKeyPadDevice()
{
    HKEY devices;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDevicesKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &devices, NULL) !=
        ERROR_SUCCESS)
        return false;
    // Enumeration stops at the first missing index: take our old entry or
    // the first gap, never leave one.
    HKEY entry = NULL;
    for (DWORD index = 0; index < kMaxDevices && !entry; ++index) {
        char name[16];
        wsprintfA(name, "%lu", index);
        HKEY existing;
        if (RegOpenKeyExA(devices, name, 0, KEY_ALL_ACCESS, &existing) == ERROR_SUCCESS) {
            if (IsOwnEntry(existing)) entry = existing;
            else RegCloseKey(existing);
        } else if (RegCreateKeyExA(devices, name, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &entry, NULL) != ERROR_SUCCESS) {
            entry = NULL;
            break;
        }
    }
    RegCloseKey(devices);
    if (!entry) return false;

    bool ok = SetDword(entry, "VendorID", KEYBOARD_VENDOR_ID) && SetDword(entry, "ProductID", 0x0101) &&
              SetDword(entry, "UsagePage", 0x000C) && SetDword(entry, "Usage", 0x0001) &&
              SetDword(entry, "InputReportLength", KEYPAD_REPORT_LENGTH) && SetDword(entry, "OutputReportLength", 0);
    ok = ok && RegSetValueExA(entry, "DevicePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(KEYPAD_PIPE_PATH),
                              sizeof KEYPAD_PIPE_PATH) == ERROR_SUCCESS;
    RegCloseKey(entry);
    return ok;
}

bool PlugInPad()
{
    UnplugPad();
    if (!g_connectEvent) g_connectEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    g_pipe = CreateNamedPipeA(KEYPAD_PIPE_PATH, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    if (g_pipe == INVALID_HANDLE_VALUE || !g_connectEvent) return false;
    Listen();
    return true;
}

void UnplugPad()
{
    if (g_pipe != INVALID_HANDLE_VALUE) {
        CancelIo(g_pipe);
        CloseHandle(g_pipe);
        g_pipe = INVALID_HANDLE_VALUE;
    }
    if (g_connectEvent) ResetEvent(g_connectEvent);
    g_state = PadState::Unplugged;
}

PadState GetPadState() { return g_state; }
HANDLE PadConnectEvent() { return g_connectEvent; }

void OnPadClientArrived()
{
    ResetEvent(g_connectEvent);
    if (g_state != PadState::Waiting) return;
    DWORD unused = 0;
    if (GetOverlappedResult(g_pipe, &g_connect, &unused, FALSE)) g_state = PadState::Connected;
}

bool SendPadReport(const BYTE* report, DWORD length)
{
    if (g_state != PadState::Connected) return false;
    OVERLAPPED write;
    ZeroMemory(&write, sizeof write);
    write.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD written = 0;
    BOOL ok = WriteFile(g_pipe, report, length, &written, &write);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        // The client reads one report at a time; give it a moment.
        if (WaitForSingleObject(write.hEvent, 1000) == WAIT_OBJECT_0)
            ok = GetOverlappedResult(g_pipe, &write, &written, FALSE);
        else {
            CancelIo(g_pipe);
            GetOverlappedResult(g_pipe, &write, &written, TRUE);  // the write must be over before it leaves scope
            ok = FALSE;
        }
    }
    CloseHandle(write.hEvent);
    if (ok && written == length) return true;
    // The client has gone (MMKeyboard ended or dropped the keyboard): wait for the next.
    DisconnectNamedPipe(g_pipe);
    Listen();
    return false;
}
