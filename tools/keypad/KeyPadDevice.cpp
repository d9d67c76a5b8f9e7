#include "KeyPadDevice.h"

namespace {

// One instance of the pipe: one open of the keyboard. Each waits for its
// client, then watches it until it lets go, then waits for the next one.
struct PadInstance {
    HANDLE pipe;
    HANDLE event;      // the pending connect, or the pending read that notices the client leave
    OVERLAPPED io;
    bool connected;
    BYTE ignored[16];
};

PadInstance g_instances[kSimulatedOpens];
bool g_plugged;
SimulatedInterface g_shape;  // the keyboard the pad plays

void StartIo(PadInstance& instance)
{
    ResetEvent(instance.event);
    ZeroMemory(&instance.io, sizeof instance.io);
    instance.io.hEvent = instance.event;
}

// Starts waiting for the next client on the instance.
void Listen(PadInstance& instance)
{
    instance.connected = false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        StartIo(instance);
        if (ConnectNamedPipe(instance.pipe, &instance.io)) return;
        const DWORD error = GetLastError();
        if (error == ERROR_PIPE_CONNECTED) SetEvent(instance.event);
        // A client that came and went before we listened: clear it and listen again.
        if (error != ERROR_NO_DATA) return;
        DisconnectNamedPipe(instance.pipe);
    }
}

// The client never writes: a read stays pending until the client lets the
// pipe go, so a restarted MMKeyboard finds the pad listening again.
void WatchClient(PadInstance& instance)
{
    StartIo(instance);
    DWORD got = 0;
    if (ReadFile(instance.pipe, instance.ignored, sizeof instance.ignored, &got, &instance.io) ||
        GetLastError() != ERROR_IO_PENDING)
        SetEvent(instance.event);
}

void OnInstanceEvent(PadInstance& instance)
{
    DWORD got = 0;
    const BOOL ok = GetOverlappedResult(instance.pipe, &instance.io, &got, FALSE);
    if (!instance.connected && (ok || GetLastError() == ERROR_PIPE_CONNECTED)) {
        instance.connected = true;
        WatchClient(instance);
    } else if (instance.connected && ok) {
        WatchClient(instance);  // the client wrote something; nothing reads it
    } else {
        DisconnectNamedPipe(instance.pipe);
        Listen(instance);
    }
}

// One report as a message of the instance's pipe.
bool SendToInstance(PadInstance& instance, const BYTE* report, DWORD length)
{
    OVERLAPPED write;
    ZeroMemory(&write, sizeof write);
    write.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    DWORD written = 0;
    BOOL ok = WriteFile(instance.pipe, report, length, &written, &write);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        // The client reads one report at a time; give it a moment.
        if (WaitForSingleObject(write.hEvent, 1000) == WAIT_OBJECT_0)
            ok = GetOverlappedResult(instance.pipe, &write, &written, FALSE);
        else {
            CancelIo(instance.pipe);  // cancels the watching read too: its event tells the loop
            GetOverlappedResult(instance.pipe, &write, &written, TRUE);  // over before it leaves scope
            ok = FALSE;
        }
    }
    CloseHandle(write.hEvent);
    return ok && written == length;  // else the client has gone; the watching read tells the loop
}

bool SendPadReport(const BYTE* report, DWORD length)
{
    bool taken = false;
    for (PadInstance& instance : g_instances)
        if (g_plugged && instance.connected && SendToInstance(instance, report, length)) taken = true;
    return taken;
}

}  // namespace

bool RegisterKeyPadDevice(bool standard)
{
    g_shape = standard ? SimulatedStandardKeyboard(kKeyPadPipePath, kUsageArray)
                       : SimulatedKeyboardInterface(kKeyPadPipePath);
    // Room in its slots for the unlabelled keys beyond the usual last usage.
    if (standard) g_shape.logicalMaximum = 0x03FF;
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
    g_plugged = true;
    for (PadInstance& instance : g_instances) {
        if (!instance.event) instance.event = CreateEventA(NULL, TRUE, FALSE, NULL);
        instance.pipe = CreateNamedPipeA(kKeyPadPipePath, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, kSimulatedOpens,
                                         4096, 4096, 0, NULL);
        if (instance.pipe == INVALID_HANDLE_VALUE || !instance.event) {
            UnplugPad();
            return false;
        }
        Listen(instance);
    }
    return true;
}

void UnplugPad()
{
    for (PadInstance& instance : g_instances) {
        if (instance.pipe && instance.pipe != INVALID_HANDLE_VALUE) {
            CancelIo(instance.pipe);
            CloseHandle(instance.pipe);
        }
        instance.pipe = INVALID_HANDLE_VALUE;
        instance.connected = false;
        if (instance.event) ResetEvent(instance.event);
    }
    g_plugged = false;
}

bool IsStandardPad() { return g_shape.layout != kMakerBitmap; }

int PadClients()
{
    int clients = 0;
    for (const PadInstance& instance : g_instances) clients += g_plugged && instance.connected ? 1 : 0;
    return clients;
}

PadState GetPadState()
{
    if (!g_plugged) return PadState::kUnplugged;
    return PadClients() > 0 ? PadState::kConnected : PadState::kWaiting;
}

DWORD PadEvents(HANDLE events[kSimulatedOpens])
{
    DWORD count = 0;
    for (const PadInstance& instance : g_instances)
        if (g_plugged && instance.event) events[count++] = instance.event;
    return count;
}

void OnPadEvent()
{
    for (PadInstance& instance : g_instances) {
        if (!instance.event || WaitForSingleObject(instance.event, 0) != WAIT_OBJECT_0) continue;
        if (g_plugged) OnInstanceEvent(instance);
        else ResetEvent(instance.event);
    }
}

bool SendPadKeys(DWORD keyCode, WORD usage)
{
    if (!IsStandardPad()) {
        BYTE report[kSimulatedReportLength];
        BuildSimulatedReport(keyCode, report);
        return SendPadReport(report, sizeof report);
    }
    BYTE report[kMaxSimulatedUsages * 2 + 1];
    BuildUsageReport(g_shape, &usage, usage ? 1 : 0, report);
    return SendPadReport(report, g_shape.inputReportLength);
}
