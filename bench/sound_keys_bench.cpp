// The regularity of a held sound key in MMKeyboard-sim.exe: volume up held
// for 2 s on the simulated keyboard, five times; a step every 100 ms makes 20.
#include <cstdio>
#include "BenchSupport.h"
#include "keyboard/KeyCodes.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const DWORD kHoldMs = 2000;
const int kExpectedSteps = 20;
// Room after the release for a step that was already on its way.
const DWORD kAfterMs = 300;

// The simulated card's writes while the key is held and just after: every
// step writes, even one that stays at the maximum.
int CountStepsWhileHeld(SimulatedKeyboard& keyboard, DWORD keyCode)
{
    HKEY mixer;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSimulatorMixerKey, 0, KEY_NOTIFY, &mixer) != ERROR_SUCCESS) return -1;
    HANDLE changed = CreateEventA(NULL, FALSE, FALSE, NULL);
    RegNotifyChangeKeyValue(mixer, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
    int writes = 0;
    keyboard.Send(keyCode);
    const DWORD start = GetTickCount();
    bool released = false;
    for (DWORD elapsed; (elapsed = GetTickCount() - start) < kHoldMs + kAfterMs;) {
        if (!released && elapsed >= kHoldMs) {
            keyboard.Send(kKeysReleased);
            released = true;
        }
        const DWORD wait = released ? kHoldMs + kAfterMs - elapsed : kHoldMs - elapsed;
        if (WaitForSingleObject(changed, wait) == WAIT_OBJECT_0) {
            ++writes;
            RegNotifyChangeKeyValue(mixer, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
        }
    }
    CloseHandle(changed);
    RegCloseKey(mixer);
    return writes;
}

}  // namespace

int main()
{
    SimulatedProgram simulated("bench-sound-keys");
    if (!simulated.Start()) return 1;
    for (int run = 1; run <= 5; ++run) {
        PutMixerValue(kMixerVolume, 0);
        const int steps = CountStepsWhileHeld(simulated.keyboard, kKeyVolumeUp);
        DWORD volume = 0;
        ReadMixerValue(kMixerVolume, &volume);
        std::printf("volume up held %.0f s, run %d: %d steps (%d expected), volume %lu of %lu\n", kHoldMs / 1000.0,
                    run, steps, kExpectedSteps, static_cast<unsigned long>(volume),
                    static_cast<unsigned long>(kFaderMaximum));
    }
    return 0;
}
