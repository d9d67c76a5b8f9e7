#include "KeyPadDevice.h"
#include "device/Simulator.h"
#include "keyboard/UsageKeys.h"

namespace {

HANDLE g_pipe = INVALID_HANDLE_VALUE;
HANDLE g_event;     // the pending connect, or the pending read that notices the client leave
OVERLAPPED g_io;
BYTE g_ignored[16];
PadState g_state = PadState::kUnplugged;
SimulatedInterface g_shape;  // the keyboard the pad plays

void StartIo()
{
    ResetEvent(g_event);
    ZeroMemory(&g_io, sizeof g_io);
    g_io.hEvent = g_event;
}

// Starts waiting for the next client on the pipe.
void Listen()
{
    g_state = PadState::kWaiting;
    for (int attempt = 0; attempt < 3; ++attempt) {
        StartIo();
        if (ConnectNamedPipe(g_pipe, &g_io)) return;
        const DWORD error = GetLastError();
        if (error == ERROR_PIPE_CONNECTED) SetEvent(g_event);
        // A client that came and went before we listened: clear it and listen again.
        if (error != ERROR_NO_DATA) return;
        DisconnectNamedPipe(g_pipe);
    }
}

// The client never writes: a read stays pending until the client lets the
// pipe go, so a restarted MMKeyboard finds the pad listening again.
void WatchClient()
{
    StartIo();
    DWORD got = 0;
    if (ReadFile(g_pipe, g_ignored, sizeof g_ignored, &got, &g_io) || GetLastError() != ERROR_IO_PENDING)
        SetEvent(g_event);
}

}  // namespace

bool RegisterKeyPadDevice(bool standard)
{
    g_shape = standard ? SimulatedStandardKeyboard(kKeyPadPipePath, kUsageArray)
                       : SimulatedKeyboardInterface(kKeyPadPipePath);
    const SimulatedInterface& pad = g_shape;
    // Enumeration stops at the first missing index: take our old entry or
    // the first gap, never leave one.
    for (DWORD index = 0; index < kMaxSimulatedDevices; ++index) {
        SimulatedInterface existing;
        if (!ReadSimulatedInterface(index, &existing) || lstrcmpiA(existing.devicePath, kKeyPadPipePath) == 0)
            return WriteSimulatedInterface(index, pad);
    }
    return false;
}

bool PlugInPad()
{
    UnplugPad();
    if (!g_event) g_event = CreateEventA(NULL, TRUE, FALSE, NULL);
    g_pipe = CreateNamedPipeA(kKeyPadPipePath, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0, NULL);
    if (g_pipe == INVALID_HANDLE_VALUE || !g_event) return false;
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
    if (g_event) ResetEvent(g_event);
    g_state = PadState::kUnplugged;
}

bool IsStandardPad() { return g_shape.layout != kMakerBitmap; }

PadState GetPadState() { return g_state; }
HANDLE PadEvent() { return g_event; }

void OnPadEvent()
{
    if (g_state == PadState::kUnplugged) {
        ResetEvent(g_event);
        return;
    }
    DWORD got = 0;
    const BOOL ok = GetOverlappedResult(g_pipe, &g_io, &got, FALSE);
    if (g_state == PadState::kWaiting && (ok || GetLastError() == ERROR_PIPE_CONNECTED)) {
        g_state = PadState::kConnected;
        WatchClient();
    } else if (g_state == PadState::kConnected && ok) {
        WatchClient();  // the client wrote something; nothing reads it
    } else {
        DisconnectNamedPipe(g_pipe);
        Listen();
    }
}

// One report as a message of the pipe.
static bool SendPadReport(const BYTE* report, DWORD length)
{
    if (g_state != PadState::kConnected) return false;
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
    return false;  // the client has gone; the watching read tells the loop
}

bool SendPadKeys(DWORD keyCode)
{
    if (!IsStandardPad()) {
        BYTE report[kSimulatedReportLength];
        BuildSimulatedReport(keyCode, report);
        return SendPadReport(report, sizeof report);
    }
    BYTE report[kMaxSimulatedUsages * 2 + 1];
    const WORD usage = UsageOfKey(keyCode);
    BuildUsageReport(g_shape, &usage, usage ? 1 : 0, report);
    return SendPadReport(report, g_shape.inputReportLength);
}
