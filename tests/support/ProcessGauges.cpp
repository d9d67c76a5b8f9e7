#include "support/ProcessGauges.h"
#include <winternl.h>
#include <tlhelp32.h>
#include <vector>

namespace mmk_test {

namespace {

const SYSTEM_INFORMATION_CLASS kSystemHandleInformation = SYSTEM_INFORMATION_CLASS(16);
const NTSTATUS kStatusInfoLengthMismatch = NTSTATUS(0xC0000004);

struct HandleEntry {
    ULONG processId;
    BYTE objectType, flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};

// The system's handle table, every process's handles; empty when it cannot
// be read.
std::vector<BYTE> HandleTableBytes()
{
    std::vector<BYTE> buffer(1 << 16);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()),
                                              &needed)) == kStatusInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) buffer.clear();
    return buffer;
}

}  // namespace

int HandleCount(DWORD processId, int objectType)
{
    const std::vector<BYTE> buffer = HandleTableBytes();
    if (buffer.empty()) return -1;
    const HandleTable* table = reinterpret_cast<const HandleTable*>(buffer.data());
    int count = 0;
    for (ULONG i = 0; i < table->count; ++i) {
        const HandleEntry& entry = table->entries[i];
        if (entry.processId == processId && (objectType == kAnyObjectType || entry.objectType == objectType)) ++count;
    }
    return count;
}

int EventObjectType()
{
    HANDLE event = CreateEventA(NULL, TRUE, FALSE, NULL);
    const std::vector<BYTE> buffer = HandleTableBytes();
    int type = -1;
    const HandleTable* table = reinterpret_cast<const HandleTable*>(buffer.data());
    for (ULONG i = 0; !buffer.empty() && i < table->count; ++i) {
        const HandleEntry& entry = table->entries[i];
        if (entry.processId == GetCurrentProcessId() && entry.handle == USHORT(ULONG_PTR(event)))
            type = entry.objectType;
    }
    CloseHandle(event);
    return type;
}

int ThreadCount(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int threads = -1;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == processId) threads = int(entry.cntThreads);
    CloseHandle(snapshot);
    return threads;
}

}  // namespace mmk_test
