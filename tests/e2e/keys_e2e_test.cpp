// The keys end to end: MMKeyboard-sim.exe under Wine reporting Windows 98,
// on a simulated keyboard (the maker's model, or another maker's whose
// reports hold consumer usages), with stand-ins for every program a key
// starts or drives (support/KeyEffects.h). Every key of the table acts,
// assigned keys by the set of the program in front; a held fader steps ten
// times a second; a second start reads no keys. What each key does in
// detail the in-process tests show.
#include <gtest/gtest.h>
#include "support/KeyEffects.h"
#include "keyboard/KeyCodes.h"
#include "support/Program.h"

using namespace mmk_test;

namespace {

const struct Keyboard {
    const char* what;
    SimulatedInterface shape;
    bool standard;
} kMakersModel = { "the maker's model", SimulatedKeyboardInterface(""), false },
  kStandardArray = { "a standard keyboard, usage array", SimulatedStandardKeyboard("", kUsageArray), true },
  kStandardBits = { "a standard keyboard, usage bits", SimulatedStandardKeyboard("", kUsageBits), true };

const TableKey& Key(DWORD keyCode)
{
    int k = 0;
    while (kTableKeys[k].keyCode != keyCode) ++k;
    return kTableKeys[k];
}

class KeysEndToEnd : public ::testing::Test {
protected:
    bool Start(const Keyboard& keyboard)
    {
        simulated.program.Stop();
        stage.reset();  // its stand-ins put back before the next ones take their places
        stage.reset(new KeyStage);
        return simulated.keyboard.Register(0, keyboard.shape) && stage->Start(simulated);
    }
    void TearDown() override
    {
        simulated.program.Stop();
        stage.reset();
    }
    // Waits until the key has acted since `before`.
    bool Acted(DWORD keyCode, const Observed& before)
    {
        return WaitUntil([&] { return HasActed(Key(keyCode), before, stage->Observe()); });
    }

    std::unique_ptr<KeyStage> stage;
    SimulatedProgram simulated{ "e2e-keyboard" };
};

// Each key pressed and let go at once, as a quick tap or a knob would: a
// fader makes its one step.
TEST_F(KeysEndToEnd, EveryKeyActsOnAStandardKeyboardOfEitherLayout)
{
    for (const Keyboard& keyboard : { kStandardArray, kStandardBits }) {
        SCOPED_TRACE(keyboard.what);
        ASSERT_TRUE(Start(keyboard)) << "MMKeyboard-sim.exe did not come up";
        for (int k = 0; k < kTableKeyCount; ++k) {
            const TableKey& key = kTableKeys[k];
            SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << key.keyCode);
            PutMiddleSoundCard();
            const Observed before = stage->Observe();
            ASSERT_TRUE(simulated.Press(key.keyCode));
            EXPECT_TRUE(Acted(key.keyCode, before));
            if (key.mixer >= 0 && key.direction != 0) {
                Pump(300);  // no tick comes after the release
                EXPECT_EQ(kFaderMaximum / 2 + key.direction * int(kFaderStep), stage->Observe().mixer[key.mixer]);
            }
        }
    }
}

// Held for a second, volume up steps ten times a second, on the maker's
// model from the first tick, on a standard keyboard after its pause, which
// sends its report again every 30 ms as a keyboard does (that restarts
// nothing); the release adds no step of its own.
TEST_F(KeysEndToEnd, AHeldFaderStepsTenTimesASecondUntilItIsLetGo)
{
    for (const Keyboard& keyboard : { kMakersModel, kStandardArray }) {
        SCOPED_TRACE(keyboard.what);
        ASSERT_TRUE(Start(keyboard)) << "MMKeyboard-sim.exe did not come up";
        PutMixerValue(kMixerVolume, 0);
        ASSERT_TRUE(simulated.keyboard.Send(kKeyVolumeUp));
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 1000) {
            Sleep(30);
            if (keyboard.standard) ASSERT_TRUE(simulated.keyboard.Send(kKeyVolumeUp));
        }
        ASSERT_TRUE(simulated.keyboard.Send(kKeysReleased));
        ASSERT_TRUE(simulated.Press(kKeyMute));  // the sentinel: once mute is on, the release was handled
        ASSERT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 1; }));
        const DWORD volume = Mixer(kMixerVolume);
        EXPECT_EQ(0u, volume % kFaderStep) << volume;
        EXPECT_TRUE(volume / kFaderStep >= 6 && volume / kFaderStep <= 13) << volume / kFaderStep << " steps in a second";
        Pump(300);
        EXPECT_EQ(volume, Mixer(kMixerVolume)) << "the volume kept rising after the release";
    }
}

// A second start while this copy runs ends at once, without opening the
// keyboard, whose every open would read every report: each key acts once.
TEST_F(KeysEndToEnd, ASecondStartEndsAtOnceSoEachKeyActsOnce)
{
    ASSERT_TRUE(Start(kMakersModel));
    RunningProgram second;
    ASSERT_TRUE(second.Start(DrivenProgram("MMKeyboard-sim.exe")));
    EXPECT_TRUE(second.HasExited(10000)) << "a second copy runs";
    const Observed before = stage->Observe();
    ASSERT_TRUE(simulated.Press(kKeyMute) && simulated.Press(kKeyCalculator));
    // The sentinel: once the calculator is up, the mute before it was handled.
    ASSERT_TRUE(Acted(kKeyCalculator, before));
    EXPECT_TRUE(Expected(Key(kKeyCalculator), Expected(Key(kKeyMute), before)) == stage->Observe())
        << "mute toggled back or the calculator started twice";
    EXPECT_EQ(1, simulated.keyboard.Opened()) << "the second start opened the keyboard";
}

// Keys do what their owner assigned, the program in front's set first, read
// afresh at each press; a value not understood acts as today.
TEST_F(KeysEndToEnd, AssignedKeysActInTheirProgramOrInAllAndBadValuesAsToday)
{
    ASSERT_TRUE(Start(kMakersModel));
    const std::string all = std::string(kSettingsKey) + "\\Keys";
    const std::string browserSet = std::string(kSettingsKey) + "\\Programs\\IEXPLORE.EXE";
    const std::string &browser = stage->logs[kBrowserLog], &player = stage->logs[kPlayerLog];
    const char kCtrlShiftNAltF[] = "down 17,down 16,down 78,up 78,up 16,up 17,down 18,down 70,up 70,up 18";
    const char kF2[] = "down 113,up 113";
    SetRegistryText(HKEY_CURRENT_USER, all.c_str(), "VolumeUp", "keys F2");
    SetRegistryValue(HKEY_CURRENT_USER, all.c_str(), "MediaPlayer", std::string("\1\0\0\0", 4), REG_DWORD);
    SetRegistryText(HKEY_CURRENT_USER, browserSet.c_str(), "VolumeUp", "keys Ctrl+Shift+N, Alt+F");
    const Observed before = stage->Observe();
    ASSERT_TRUE(simulated.Press(kKeyMediaPlayer));
    EXPECT_TRUE(Acted(kKeyMediaPlayer, before)) << "a DWORD value";

    // The browser's own set beats all programs'; a held key acts once.
    ASSERT_TRUE(BringToForeground(stage->browserWindow));
    ASSERT_TRUE(simulated.keyboard.Send(kKeyVolumeUp));
    Sleep(350);
    ASSERT_TRUE(simulated.keyboard.Send(kKeysReleased));
    ASSERT_TRUE(BringToForeground(stage->playerWindow));
    ASSERT_TRUE(simulated.Press(kKeyVolumeUp));
    EXPECT_EQ(kF2, WaitForKeys(player, kF2));
    EXPECT_EQ(kCtrlShiftNAltF, KeysOf(browser));
    EXPECT_EQ(kFaderMaximum / 2, Mixer(kMixerVolume));

    // Changed while the program runs: the next press steps the volume.
    SetRegistryText(HKEY_CURRENT_USER, all.c_str(), "VolumeUp", "standard");
    ASSERT_TRUE(simulated.keyboard.Send(kKeyVolumeUp));
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerVolume) > kFaderMaximum / 2; }));
    ASSERT_TRUE(simulated.keyboard.Send(kKeysReleased));
    EXPECT_EQ(kF2, KeysOf(player));
}

}  // namespace
