#include "support/SimulatedKeyboard.h"
#include <dbt.h>
#include "support/TestSupport.h"
#include "keyboard/KeyCodes.h"

namespace mmk_test {

const StandardKeyUsage kStandardKeyUsages[] = {
    { 0x0194, kKeyMyComputer }, { 0x0221, kKeyWebSearch },   { 0x0223, kKeyHomePage },      { 0x0224, kKeyBack },
    { 0x0225, kKeyForward },    { 0x0226, kKeyBrowserStop }, { 0x0227, kKeyRefresh },       { 0x022A, kKeyFavourites },
    { 0x00E9, kKeyVolumeUp },   { 0x00EA, kKeyVolumeDown },  { 0x0152, kKeyBassUp },        { 0x0153, kKeyBassDown },
    { 0x0154, kKeyTrebleUp },   { 0x0155, kKeyTrebleDown },  { 0x018A, kKeyMail },          { 0x0192, kKeyCalculator },
    { 0x00B5, kKeyNextTrack },  { 0x00B6, kKeyPreviousTrack }, { 0x00B7, kKeyMediaStop },   { 0x00CD, kKeyPlayPause },
    { 0x00E2, kKeyMute },       { 0x00E7, kKeyLoudness },    { 0x0183, kKeyMediaPlayer },
};
const int kStandardKeyUsageCount = sizeof kStandardKeyUsages / sizeof kStandardKeyUsages[0];

USHORT StandardUsageOf(DWORD keyCode)
{
    for (int i = 0; i < kStandardKeyUsageCount; ++i)
        if (kStandardKeyUsages[i].keyCode == keyCode) return kStandardKeyUsages[i].usage;
    return 0;
}

std::vector<HANDLE> CopyClientPipeEnds()
{
    std::vector<HANDLE> copies;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        const HANDLE handle = reinterpret_cast<HANDLE>(value);
        DWORD flags = 0;
        HANDLE copy = NULL;
        if (GetFileType(handle) == FILE_TYPE_PIPE && GetNamedPipeInfo(handle, &flags, NULL, NULL, NULL) &&
            !(flags & PIPE_SERVER_END) &&
            DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
            copies.push_back(copy);
    }
    return copies;
}

bool ClearSimulator() { return DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorRootKey); }

DWORD Mixer(const char* name)
{
    DWORD value = 0xDEAD;
    ReadMixerValue(name, &value);
    return value;
}

SimulatedKeyboard::SimulatedKeyboard(const std::string& name)
    : m_path("\\\\.\\pipe\\mmk-" + name + "-" + std::to_string(GetCurrentProcessId())),
      m_shape(SimulatedKeyboardInterface(""))
{
}

bool SimulatedKeyboard::Register(DWORD index) { return Register(index, m_shape); }

bool SimulatedKeyboard::Register(DWORD index, SimulatedInterface entry)
{
    lstrcpynA(entry.devicePath, m_path.c_str(), sizeof entry.devicePath);
    m_shape = entry;
    return WriteSimulatedInterface(index, entry);
}

bool SimulatedKeyboard::PlugIn()
{
    Unplug();
    for (Instance& instance : m_instances) {
        instance.pipe = CreateNamedPipeA(m_path.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, kSimulatedOpens, 4096,
                                         4096, 0, NULL);
        if (instance.pipe == INVALID_HANDLE_VALUE) return false;
        instance.connectEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        instance.connect = {};
        instance.connect.hEvent = instance.connectEvent;
        if (!ConnectNamedPipe(instance.pipe, &instance.connect)) {
            const DWORD error = GetLastError();
            if (error == ERROR_PIPE_CONNECTED) instance.opened = true;
            else if (error != ERROR_IO_PENDING) return false;
        }
    }
    return true;
}

void SimulatedKeyboard::Unplug()
{
    for (Instance& instance : m_instances) {
        if (instance.pipe != INVALID_HANDLE_VALUE) {
            CancelIo(instance.pipe);
            DisconnectNamedPipe(instance.pipe);
            CloseHandle(instance.pipe);
        }
        if (instance.connectEvent) CloseHandle(instance.connectEvent);
        instance = Instance();
    }
}

void SimulatedKeyboard::NoteOpens()
{
    for (Instance& instance : m_instances) {
        DWORD unused = 0;
        if (instance.pipe != INVALID_HANDLE_VALUE && !instance.opened &&
            WaitForSingleObject(instance.connectEvent, 0) == WAIT_OBJECT_0)
            instance.opened = GetOverlappedResult(instance.pipe, &instance.connect, &unused, FALSE) != FALSE;
    }
}

bool SimulatedKeyboard::WaitOpened(DWORD timeoutMs)
{
    NoteOpens();
    if (Opened() > 0) return true;
    HANDLE events[kSimulatedOpens];
    DWORD count = 0;
    for (const Instance& instance : m_instances)
        if (instance.connectEvent) events[count++] = instance.connectEvent;
    if (count == 0 || WaitForMultipleObjects(count, events, FALSE, timeoutMs) >= WAIT_OBJECT_0 + count) return false;
    NoteOpens();
    return Opened() > 0;
}

int SimulatedKeyboard::Opened()
{
    NoteOpens();
    int opened = 0;
    for (const Instance& instance : m_instances) opened += instance.opened ? 1 : 0;
    return opened;
}

bool SimulatedKeyboard::Held()
{
    NoteOpens();
    // Once the client has closed its end, peeking fails with a broken pipe.
    for (const Instance& instance : m_instances)
        if (instance.opened && PeekNamedPipe(instance.pipe, NULL, 0, NULL, NULL, NULL)) return true;
    return false;
}

bool SimulatedKeyboard::Send(DWORD keyCode, BYTE reportId)
{
    if (m_shape.layout == kMakerBitmap) {
        BYTE report[kSimulatedReportLength];
        BuildSimulatedReport(keyCode, report);
        return SendBytes(std::vector<BYTE>(report, report + sizeof report));
    }
    std::vector<USHORT> usages;
    for (int i = 0; i < kStandardKeyUsageCount; ++i)
        if (keyCode & kStandardKeyUsages[i].keyCode) usages.push_back(kStandardKeyUsages[i].usage);
    return SendUsages(usages, reportId);
}

bool SimulatedKeyboard::SendUsages(const std::vector<USHORT>& usages, BYTE reportId)
{
    std::vector<BYTE> report(m_shape.inputReportLength);
    BuildUsageReport(m_shape, usages.data(), static_cast<DWORD>(usages.size()), report.data(), reportId);
    return SendBytes(report);
}

bool SimulatedKeyboard::SendBytes(const std::vector<BYTE>& report)
{
    NoteOpens();
    bool taken = false;
    for (Instance& instance : m_instances) {
        if (!instance.opened) continue;
        OVERLAPPED write = {};
        write.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        DWORD written = 0;
        BOOL ok = WriteFile(instance.pipe, report.data(), static_cast<DWORD>(report.size()), &written, &write);
        if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(instance.pipe, &write, &written, TRUE);
        CloseHandle(write.hEvent);
        // An open already closed again refuses the write: it reads nothing more.
        taken = taken || (ok && written == report.size());
    }
    return taken;
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
