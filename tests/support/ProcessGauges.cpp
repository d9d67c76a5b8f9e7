#include "support/ProcessGauges.h"
#include <winternl.h>
#include <tlhelp32.h>
#include <cstdio>
#include <vector>
#include "support/TestSupport.h"

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

SIZE_T PrivateBytes(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) return 0;
    SIZE_T bytes = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = NULL; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at) break;
        at = next;
    }
    CloseHandle(process);
    return bytes;
}

double HostCpuSeconds(const std::string& windowsPath)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    std::string stat;
    do {
        if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
        const std::string directory = std::string("Z:\\proc\\") + found.cFileName;
        if (mmk_test::ReadFileText(directory + "\\cmdline").find(windowsPath) != std::string::npos)
            stat = mmk_test::ReadFileText(directory + "\\stat");
    } while (stat.empty() && FindNextFileA(search, &found));
    FindClose(search);
    // After the command's name in parentheses: state (field 3), ... utime
    // (14) and stime (15), in clock ticks of 1/100 s.
    const size_t name = stat.rfind(')');
    unsigned long long user = 0, system = 0;
    if (name == std::string::npos ||
        std::sscanf(stat.c_str() + name + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                    &system) != 2)
        return -1;
    return double(user + system) / 100.0;
}

}  // namespace mmk_test
