#include "support/SimulatedProgram.h"
#include <cstdio>
#include "device/Simulator.h"
#include "keyboard/KeyCodes.h"

namespace mmk_test {

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

}  // namespace mmk_test
