#include "BenchSupport.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include "device/Simulator.h"
#include "keyboard/KeyCodes.h"

using namespace mmk_test;

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

InstalledStandIn::InstalledStandIn(const std::string& standInName, const std::string& path) : path_(path)
{
    const size_t slash = path.rfind('\\');
    if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), NULL);
    movedAside_ = MoveFileA(path.c_str(), (path + ".wine").c_str()) != FALSE;
    installed_ = CopyFileOver(StandIn(standInName), path);
}

InstalledStandIn::~InstalledStandIn()
{
    // Wine keeps a running program's file, so every copy must have ended.
    DeleteFileA(path_.c_str());
    if (movedAside_ && !MoveFileA((path_ + ".wine").c_str(), path_.c_str()))
        std::printf("could not put %s back; it waits at %s.wine\n", path_.c_str(), path_.c_str());
    ForgetLog(path_);
}

void PutMiddleSoundCard()
{
    PutMixerValue(kMixerPresent, 1);
    for (const char* maximum : { kMixerVolumeMax, kMixerBassMax, kMixerTrebleMax }) PutMixerValue(maximum, kFaderMaximum);
    for (const char* fader : { kMixerVolume, kMixerBass, kMixerTreble }) PutMixerValue(fader, kFaderMaximum / 2);
    for (const char* toggle : { kMixerMute, kMixerLoudness }) PutMixerValue(toggle, 0);
}

SimulatedProgram::~SimulatedProgram()
{
    program.Stop();
    keyboard.Unplug();
    ClearSimulator();
}

bool SimulatedProgram::Start(Environment environment)
{
    ClearSimulator();
    PutMiddleSoundCard();
    if (!keyboard.Register() || !keyboard.PlugIn()) {
        std::printf("could not plug in the simulated keyboard\n");
        return false;
    }
    dialog = StartSettled(program, "MMKeyboard-sim.exe", environment).dialog;
    if (!dialog || !keyboard.WaitOpened(10000)) {
        std::printf("MMKeyboard-sim.exe did not settle with the simulated keyboard open\n");
        return false;
    }
    // The first report after an open can be slow under Wine; a mute pressed
    // twice takes that delay out of the figures.
    for (DWORD muted : { 1, 0 }) {
        DWORD value = 2;
        if (!Press(kKeyMute) || !WaitUntil([&] { return ReadMixerValue(kMixerMute, &value) && value == muted; })) {
            std::printf("MMKeyboard-sim.exe did not act on the simulated keyboard's mute key\n");
            return false;
        }
    }
    return true;
}

}  // namespace mmk_bench
