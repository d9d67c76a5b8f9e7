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

}  // namespace mmk_bench
