// The sound keys end to end: MMKeyboard-sim.exe under Wine reporting Windows
// 98, a simulated keyboard served by the test over a named pipe, and the
// simulated mixer whose values the test reads from the registry.
#include <gtest/gtest.h>
#include "e2e/SoundKeysRig.h"

using namespace mmk_test;

namespace {

const DWORD kVolumeUp = 0x100, kMute = 0x100000;
const DWORD kStep = 65535 / 20;

class SoundKeysEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorRootKey));
        ASSERT_TRUE(SetMixerValue("Present", 1));
        ASSERT_TRUE(SetMixerValue("Volume", 0));
        ASSERT_TRUE(SetMixerValue("VolumeMax", 65535));
        ASSERT_TRUE(SetMixerValue("Mute", 0));
        ASSERT_TRUE(keyboard.Register());
        ASSERT_TRUE(keyboard.PlugIn());
        ASSERT_TRUE(program.Start(BuildFile("MMKeyboard-sim.exe")));
        ASSERT_TRUE(keyboard.WaitOpened(20000)) << "the program never opened the simulated keyboard";
        ASSERT_TRUE(WaitUntil([&] { return (window = FindProcessWindow(program.ProcessId(), "#32770",
                                                                       "Multimedia Keyboard")) != NULL; },
                              10000));
        WarmUp();
    }

    // Under Wine one of the first reports after the keyboard is opened can
    // reach the program some 2 s late, later ones at once. Two mute presses,
    // each waited for, take that delay and prove the whole path is live.
    void WarmUp()
    {
        for (DWORD state : { 1u, 0u }) {
            ASSERT_TRUE(keyboard.Send(kMute));
            ASSERT_TRUE(keyboard.Send(0));
            ASSERT_TRUE(WaitUntil([&] { return MixerValue("Mute") == state; }, 8000));
        }
    }

    // The fader's value once it has stopped changing: a late report delays
    // the press and the release alike, so the steps between them still count.
    static DWORD SettledValue(const char* name)
    {
        DWORD value = MixerValue(name);
        for (int i = 0; i < 20; ++i) {
            Sleep(400);
            const DWORD now = MixerValue(name);
            if (now == value) break;
            value = now;
        }
        return value;
    }

    void TearDown() override
    {
        program.Stop();
        keyboard.Unplug();
        DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorRootKey);
    }

    // Holds a key for the given time, then releases every key.
    void Hold(DWORD keyCode, DWORD milliseconds)
    {
        ASSERT_TRUE(keyboard.Send(keyCode));
        Sleep(milliseconds);
        ASSERT_TRUE(keyboard.Send(0));
    }

    SoundKeyboard keyboard{ "mmk-e2e-sound-keys-" + std::to_string(GetCurrentProcessId()) };
    RunningProgram program;
    HWND window = NULL;
};

TEST_F(SoundKeysEndToEnd, HoldingVolumeUpForASecondRaisesItAboutTenStepsAndReleaseStopsIt)
{
    Hold(kVolumeUp, 1000);
    const DWORD volume = SettledValue("Volume");
    EXPECT_EQ(0u, volume % kStep) << volume;
    EXPECT_GE(volume / kStep, 5u) << volume;   // timing on a shared machine: generous around 10
    EXPECT_LE(volume / kStep, 13u) << volume;
    Sleep(500);
    EXPECT_EQ(volume, MixerValue("Volume")) << "the volume kept rising after the release";
}

TEST_F(SoundKeysEndToEnd, MuteKeyTogglesTheMixersMuteEvenWhenChangedElsewhere)
{
    Hold(kMute, 50);
    EXPECT_TRUE(WaitUntil([] { return MixerValue("Mute") == 1; }, 5000));
    Hold(kMute, 50);
    EXPECT_TRUE(WaitUntil([] { return MixerValue("Mute") == 0; }, 5000));

    // Muted in the system's own volume control: the next press unmutes.
    ASSERT_TRUE(SetMixerValue("Mute", 1));
    Hold(kMute, 50);
    EXPECT_TRUE(WaitUntil([] { return MixerValue("Mute") == 0; }, 5000));
}

TEST_F(SoundKeysEndToEnd, KeysWorkAgainAfterTheKeyboardIsUnpluggedAndPluggedIn)
{
    keyboard.Unplug();
    Sleep(300);
    ASSERT_TRUE(keyboard.Replug(window, 10000)) << "the arrival did not re-open the keyboard";
    WarmUp();
    Hold(kMute, 50);
    EXPECT_TRUE(WaitUntil([] { return MixerValue("Mute") == 1; }, 5000));
    Hold(kVolumeUp, 450);
    EXPECT_TRUE(WaitUntil([] { return MixerValue("Volume") >= kStep; }, 5000));
}

TEST_F(SoundKeysEndToEnd, WithoutAMixerDeviceTheSoundKeysDoNothing)
{
    // Restart with the mixer taken away.
    program.Stop();
    keyboard.Unplug();
    ASSERT_TRUE(SetMixerValue("Present", 0));
    ASSERT_TRUE(keyboard.PlugIn());
    ASSERT_TRUE(program.Start(BuildFile("MMKeyboard-sim.exe")));
    ASSERT_TRUE(keyboard.WaitOpened(20000));
    Hold(kVolumeUp, 500);
    Hold(kMute, 50);
    Sleep(3000);  // past a late report
    EXPECT_EQ(0u, MixerValue("Volume"));
    EXPECT_EQ(0u, MixerValue("Mute"));
    EXPECT_FALSE(program.HasExited());
}

}  // namespace
