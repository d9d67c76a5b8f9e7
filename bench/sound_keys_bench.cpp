// The sound keys in MMKeyboard-sim.exe: the regularity of a held key, volume
// up held for 2 s on the simulated keyboard five times (a step every 100 ms
// makes 20), with the level display shown and turned off; and how soon the
// display shows after the key message or the step that caused it.
#include <cstdio>
#include <vector>
#include "BenchSupport.h"
#include "support/SimulatedProgram.h"
#include "support/StandIns.h"
#include "keyboard/KeyCodes.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const DWORD kHoldMs = 2000;
const int kExpectedSteps = 20;
// Room after the release for a step that was already on its way.
const DWORD kAfterMs = 300;
const int kShowRuns = 20;

// Waits for the simulated card's next write.
class MixerWrites {
public:
    MixerWrites() : m_changed(CreateEventA(NULL, FALSE, FALSE, NULL)), m_mixer(NULL)
    {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSimulatorMixerKey, 0, KEY_NOTIFY, &m_mixer) == ERROR_SUCCESS) Arm();
    }
    ~MixerWrites()
    {
        CloseHandle(m_changed);
        if (m_mixer) RegCloseKey(m_mixer);
    }
    bool Ready() const { return m_mixer != NULL; }
    bool Wait(DWORD timeoutMs)
    {
        if (WaitForSingleObject(m_changed, timeoutMs) != WAIT_OBJECT_0) return false;
        Arm();
        return true;
    }

private:
    void Arm() { RegNotifyChangeKeyValue(m_mixer, FALSE, REG_NOTIFY_CHANGE_LAST_SET, m_changed, TRUE); }
    HANDLE m_changed;
    HKEY m_mixer;
};

// The simulated card's writes while the key is held and just after: every
// step writes, even one that stays at the maximum.
int CountStepsWhileHeld(SimulatedKeyboard& keyboard, DWORD keyCode)
{
    MixerWrites writes;
    if (!writes.Ready()) return -1;
    int steps = 0;
    keyboard.Send(keyCode);
    const DWORD start = GetTickCount();
    bool released = false;
    for (DWORD elapsed; (elapsed = GetTickCount() - start) < kHoldMs + kAfterMs;) {
        if (!released && elapsed >= kHoldMs) {
            keyboard.Send(kKeysReleased);
            released = true;
        }
        if (writes.Wait(released ? kHoldMs + kAfterMs - elapsed : kHoldMs - elapsed)) ++steps;
    }
    return steps;
}

void PrintHeldSteps(const char* display)
{
    SimulatedProgram simulated("bench-sound-keys");
    if (!simulated.Start()) return;
    for (int run = 1; run <= 5; ++run) {
        PutMixerValue(kMixerVolume, 0);
        const int steps = CountStepsWhileHeld(simulated.keyboard, kKeyVolumeUp);
        DWORD volume = 0;
        ReadMixerValue(kMixerVolume, &volume);
        std::printf("volume up held %.0f s, level display %s, run %d: %d steps (%d expected), volume %lu of %lu\n",
                    kHoldMs / 1000.0, display, run, steps, kExpectedSteps, static_cast<unsigned long>(volume),
                    static_cast<unsigned long>(kFaderMaximum));
    }
}

bool DisplayShown(DWORD processId)
{
    HWND display = FindLevelDisplay(processId);
    return display && IsWindowVisible(display);
}

// A click hides the display at once, so each run starts from hidden.
bool HideDisplay(DWORD processId)
{
    HWND display = FindLevelDisplay(processId);
    if (display) PostMessageA(display, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    return WaitUntil([&] { return !DisplayShown(processId); }, 5000);
}

void PrintTimesToDisplay()
{
    SimulatedProgram simulated("bench-level-display");
    if (!simulated.Start()) return;
    const DWORD id = simulated.program.ProcessId();
    std::vector<double> byMessage, byStep;
    for (int run = 0; run < kShowRuns; ++run) {
        if (!HideDisplay(id)) break;
        const double start = NowMs();
        PostMessageA(simulated.dialog, WM_KEYBOARD_KEYS, 0, kKeyMute);
        byMessage.push_back(MsUntil(start, [&] { return DisplayShown(id); }));

        // The first step of a held key comes with the timer's first tick;
        // the card's write is the step.
        if (!HideDisplay(id)) break;
        MixerWrites writes;
        PutMixerValue(kMixerVolume, 0);
        writes.Wait(1000);  // the reset's own write
        PostMessageA(simulated.dialog, WM_KEYBOARD_KEYS, 0, kKeyVolumeUp);
        const bool stepped = writes.Wait(2000);
        const double step = NowMs();
        if (stepped) byStep.push_back(MsUntil(step, [&] { return DisplayShown(id); }));
        PostMessageA(simulated.dialog, WM_KEYBOARD_KEYS, 0, kKeysReleased);
    }
    std::printf("mute key message to level display visible: %s\n", Describe(SpreadOf(byMessage)).c_str());
    std::printf("volume step written to level display visible: %s\n", Describe(SpreadOf(byStep)).c_str());
}

// A standard keyboard's volume key, held: from its report leaving the
// keyboard to the card's first write.
void PrintReportToFirstStep()
{
    SimulatedProgram simulated("bench-report-step");
    if (!simulated.keyboard.Register(0, SimulatedStandardKeyboard("", kUsageArray)) || !simulated.Start()) return;
    std::vector<double> times, repeats;
    for (int run = 0; run < kShowRuns; ++run) {
        MixerWrites writes;
        PutMixerValue(kMixerVolume, 0);
        writes.Wait(1000);  // the reset's own write
        const double start = NowMs();
        simulated.keyboard.Send(kKeyVolumeUp);
        if (writes.Wait(2000)) times.push_back(NowMs() - start);
        const double first = NowMs();
        if (writes.Wait(2000)) repeats.push_back(NowMs() - first);
        simulated.keyboard.Send(kKeysReleased);
        while (writes.Wait(kAfterMs)) {}  // a step still on its way
    }
    const Spread spread = SpreadOf(times);
    std::printf("standard keyboard, volume up held: report to the mixer's first change: median %.1f ms, largest "
                "%.1f ms (%d runs)\n", spread.median, spread.max, static_cast<int>(spread.count));
    std::printf("standard keyboard, volume up held: first change to the second: %s\n",
                Describe(SpreadOf(repeats)).c_str());
}

}  // namespace

int main()
{
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);  // the display shows unless turned off
    PrintReportToFirstStep();
    PrintTimesToDisplay();
    PrintHeldSteps("shown");
    DWORD off = 0;
    SetRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "ShowLevels", std::string(reinterpret_cast<char*>(&off), 4),
                     REG_DWORD);
    PrintHeldSteps("off");
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    return 0;
}
