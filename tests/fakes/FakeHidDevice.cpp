#include "fakes/FakeHidDevice.h"
#include "device/HidDevice.h"
#include <stddef.h>

namespace fake_hid {
namespace {

const NTSTATUS kHidpStatusSuccess = 0x00110000;
const NTSTATUS kHidpStatusInvalidPreparsedData = (NTSTATUS)0xC0110001;

struct Served {
    FakeInterface shape;
    std::string path;
    HANDLE server = INVALID_HANDLE_VALUE;
};

std::vector<Served> g_interfaces;
int g_pipeSerial;
int g_mostOpen;
int g_preparsedOut;
int g_setsOut;
size_t g_described = SIZE_MAX;
FakeInterface g_preparsed;
int g_setToken;

// Counts open clients at this moment, and remembers the highest count.
void CountOpen()
{
    int open = 0;
    for (size_t i = 0; i < g_interfaces.size(); ++i)
        if (IsOpen(i)) ++open;
    if (open > g_mostOpen) g_mostOpen = open;
}

HDEVINFO SetHandle() { return reinterpret_cast<HDEVINFO>(&g_setToken); }

}  // namespace

void Reset()
{
    for (Served& served : g_interfaces)
        if (served.server != INVALID_HANDLE_VALUE) CloseHandle(served.server);
    g_interfaces.clear();
    g_mostOpen = 0;
    g_preparsedOut = 0;
    g_setsOut = 0;
    g_described = SIZE_MAX;
}

void SetInterfaces(const std::vector<FakeInterface>& interfaces)
{
    Reset();
    for (const FakeInterface& shape : interfaces) {
        Served served;
        served.shape = shape;
        served.path = "\\\\.\\pipe\\mmk-fake-hid-" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(++g_pipeSerial);
        if (shape.present)
            served.server = CreateNamedPipeA(served.path.c_str(), PIPE_ACCESS_DUPLEX,
                                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1,
                                             4096, 4096, 0, NULL);
        g_interfaces.push_back(served);
    }
}

std::string DevicePath(size_t index) { return g_interfaces.at(index).path; }

bool SendReport(size_t index, const std::vector<BYTE>& report)
{
    DWORD written = 0;
    return WriteFile(g_interfaces.at(index).server, report.data(), (DWORD)report.size(), &written, NULL) &&
           written == report.size();
}

void Unplug(size_t index)
{
    Served& served = g_interfaces.at(index);
    if (served.server == INVALID_HANDLE_VALUE) return;
    CloseHandle(served.server);
    served.server = INVALID_HANDLE_VALUE;
}

bool IsOpen(size_t index)
{
    HANDLE server = g_interfaces.at(index).server;
    DWORD available = 0;
    return server != INVALID_HANDLE_VALUE && PeekNamedPipe(server, NULL, 0, NULL, &available, NULL);
}

bool WasOpened(size_t index)
{
    HANDLE server = g_interfaces.at(index).server;
    if (server == INVALID_HANDLE_VALUE) return false;
    DWORD available = 0;
    if (PeekNamedPipe(server, NULL, 0, NULL, &available, NULL)) return true;
    // A pipe still waiting for its first client answers "bad pipe"; one whose
    // client has gone answers "broken pipe".
    return GetLastError() == ERROR_BROKEN_PIPE;
}

int MostOpenAtOnce() { return g_mostOpen; }
int UnreleasedPreparsedData() { return g_preparsedOut; }
int UndestroyedSets() { return g_setsOut; }

}  // namespace fake_hid

using fake_hid::g_interfaces;

namespace HidDevice {

void GetHidGuid(GUID* classGuid)
{
    const GUID hid = { 0x4D1E55B2, 0xF16F, 0x11CF, { 0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30 } };
    *classGuid = hid;
}

HDEVINFO GetClassDevs(const GUID*, DWORD flags)
{
    fake_hid::CountOpen();
    if (flags != (DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)) return INVALID_HANDLE_VALUE;
    ++fake_hid::g_setsOut;
    return fake_hid::SetHandle();
}

BOOL EnumDeviceInterfaces(HDEVINFO set, const GUID* classGuid, DWORD memberIndex,
                          SP_DEVICE_INTERFACE_DATA* interfaceData)
{
    fake_hid::CountOpen();
    if (set != fake_hid::SetHandle() || interfaceData->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) return FALSE;
    if (memberIndex >= g_interfaces.size()) return FALSE;
    interfaceData->InterfaceClassGuid = *classGuid;
    interfaceData->Reserved = memberIndex;
    return TRUE;
}

BOOL GetDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* interfaceData,
                              SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD detailSize,
                              DWORD* requiredSize)
{
    fake_hid::CountOpen();
    if (set != fake_hid::SetHandle() || interfaceData->Reserved >= g_interfaces.size()) return FALSE;
    const std::string& path = g_interfaces[interfaceData->Reserved].path;
    const DWORD needed = (DWORD)(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + path.size() + 1);
    if (requiredSize) *requiredSize = needed;
    if (!detail || detailSize < needed || detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
        return FALSE;
    lstrcpyA(detail->DevicePath, path.c_str());
    fake_hid::g_described = interfaceData->Reserved;
    return TRUE;
}

BOOL DestroyDeviceInfoList(HDEVINFO set)
{
    if (set != fake_hid::SetHandle()) return FALSE;
    --fake_hid::g_setsOut;
    return TRUE;
}

// The handle belongs to the interface described last: discovery opens and
// checks one interface at a time.
BOOLEAN GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes)
{
    fake_hid::CountOpen();
    if (fake_hid::g_described >= g_interfaces.size()) return FALSE;
    DWORD mode = PIPE_READMODE_MESSAGE;  // one report per read, as from a keyboard
    SetNamedPipeHandleState(device, &mode, NULL, NULL);
    const fake_hid::FakeInterface& shape = g_interfaces[fake_hid::g_described].shape;
    attributes->VendorID = shape.vendorId;
    attributes->ProductID = shape.productId;
    return TRUE;
}

BOOLEAN GetPreparsedData(HANDLE, PHIDP_PREPARSED_DATA* preparsedData)
{
    fake_hid::CountOpen();
    if (fake_hid::g_described >= g_interfaces.size()) return FALSE;
    fake_hid::g_preparsed = g_interfaces[fake_hid::g_described].shape;
    ++fake_hid::g_preparsedOut;
    *preparsedData = reinterpret_cast<PHIDP_PREPARSED_DATA>(&fake_hid::g_preparsed);
    return TRUE;
}

BOOLEAN FreePreparsedData(PHIDP_PREPARSED_DATA preparsedData)
{
    if (preparsedData != reinterpret_cast<PHIDP_PREPARSED_DATA>(&fake_hid::g_preparsed)) return FALSE;
    --fake_hid::g_preparsedOut;
    return TRUE;
}

NTSTATUS GetCaps(PHIDP_PREPARSED_DATA preparsedData, HIDP_CAPS* capabilities)
{
    if (preparsedData != reinterpret_cast<PHIDP_PREPARSED_DATA>(&fake_hid::g_preparsed))
        return fake_hid::kHidpStatusInvalidPreparsedData;
    const fake_hid::FakeInterface& shape = fake_hid::g_preparsed;
    ZeroMemory(capabilities, sizeof *capabilities);
    capabilities->UsagePage = shape.usagePage;
    capabilities->Usage = shape.usage;
    capabilities->InputReportByteLength = shape.inputReportLength;
    capabilities->OutputReportByteLength = shape.outputReportLength;
    return fake_hid::kHidpStatusSuccess;
}

}  // namespace HidDevice
