#include "BenchSupport.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include "support/TestSupport.h"

using mmk_test::Pump;

namespace mmk_bench {

double NowMs()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

double MsUntil(double sinceMs, const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (;;) {
        // Read after the condition: a slow one lengthens the figure rather
        // than shortening it.
        if (condition()) return NowMs() - sinceMs;
        if (NowMs() - sinceMs > timeoutMs) return -1;
        Pump(1);
    }
}

Spread SpreadOf(std::vector<double> values)
{
    if (values.empty()) return { HUGE_VAL, HUGE_VAL, HUGE_VAL, 0 };
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return { median, values.front(), values.back(), n };
}

std::string Describe(const Spread& spread)
{
    if (spread.count == 0) return "none arrived";
    char text[96];
    std::snprintf(text, sizeof text, "%.1f ms (%.1f-%.1f, %u runs)", spread.median, spread.min, spread.max,
                  unsigned(spread.count));
    return text;
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

}  // namespace mmk_bench
