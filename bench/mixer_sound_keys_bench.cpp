// Figures for the mixer and the sound keys, with MMKeyboard-sim.exe, a
// simulated keyboard and the simulated mixer:
//  - idle CPU over 10 s with the keyboard and the mixer open and no key held
//    (goal 0.0 % of a core);
//  - volume up held for 2 s: the steps made against the 20 expected.
#include <cstdio>
#include "e2e/SoundKeysRig.h"

using namespace mmk_test;

namespace {

double CpuSeconds(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (k.QuadPart + u.QuadPart) / 1e7;
}

// Counts the simulated mixer's writes while `keyCode` is held for `holdMs`
// (and a little after): every step writes, even one that stays at the end.
int CountWritesWhileHeld(SoundKeyboard& keyboard, DWORD keyCode, DWORD holdMs)
{
    HKEY mixer;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSimulatedMixerKey, 0, KEY_NOTIFY, &mixer) != ERROR_SUCCESS) return -1;
    HANDLE changed = CreateEventA(NULL, FALSE, FALSE, NULL);
    int writes = 0;
    RegNotifyChangeKeyValue(mixer, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
    keyboard.Send(keyCode);
    const DWORD start = GetTickCount();
    bool released = false;
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (!released && elapsed >= holdMs) {
            keyboard.Send(0);
            released = true;
        }
        if (elapsed >= holdMs + 300) break;
        const DWORD wait = released ? holdMs + 300 - elapsed : holdMs - elapsed;
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
    DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorRootKey);
    SetMixerValue("Present", 1);
    SetMixerValue("VolumeMax", 65535);
    SetMixerValue("Volume", 0);
    SetMixerValue("Mute", 0);

    SoundKeyboard keyboard("mmk-bench-sound-keys");
    RunningProgram program;
    if (!keyboard.Register() || !keyboard.PlugIn() || !program.Start(BuildFile("MMKeyboard-sim.exe")) ||
        !keyboard.WaitOpened(20000)) {
        std::printf("could not start MMKeyboard-sim.exe with a simulated keyboard\n");
        return 1;
    }
    // Let start-up settle; under Wine the first report after the open
    // arrives late, so a key without an action takes that delay.
    keyboard.Send(0x200000);
    keyboard.Send(0);
    Sleep(2000);

    const double idleStart = CpuSeconds(program.Process());
    Sleep(10000);
    const double idle = CpuSeconds(program.Process()) - idleStart;
    std::printf("idle CPU, keyboard and mixer open, no key held, 10 s: %.3f s (%.2f %% of a core)\n", idle,
                idle / 10.0 * 100.0);

    for (int run = 1; run <= 5; ++run) {
        SetMixerValue("Volume", 0);
        Sleep(300);
        const int steps = CountWritesWhileHeld(keyboard, 0x100, 2000);
        std::printf("volume up held 2 s, run %d: %d steps (20 expected), volume %lu of 65535\n", run, steps,
                    static_cast<unsigned long>(MixerValue("Volume")));
    }

    program.Stop();
    keyboard.Unplug();
    DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorRootKey);
    return 0;
}
