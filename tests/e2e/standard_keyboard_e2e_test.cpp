// A standard keyboard end to end: MMKeyboard-sim.exe under Wine reporting
// Windows 98, on a simulated keyboard of another maker whose reports hold
// consumer usages, with stand-ins for every program a key starts or drives.
// Every usage of the key table acts as its key does on the maker's models.
#include <gtest/gtest.h>
#include "support/KeyEffects.h"
#include "keyboard/KeyCodes.h"

using namespace mmk_test;

namespace {

class StandardKeyboardEndToEnd : public ::testing::Test {
protected:
    void Start(SimulatedLayout layout)
    {
        stage.reset(new KeyStage);
        ASSERT_TRUE(simulated.keyboard.Register(0, SimulatedStandardKeyboard("", layout)));
        ASSERT_TRUE(stage->Start(simulated)) << "MMKeyboard-sim.exe did not come up on the standard keyboard";
    }
    void TearDown() override
    {
        simulated.program.Stop();
        stage.reset();
    }

    // Each key of the table pressed and let go at once, as a quick tap or a
    // knob would: a fader makes its one step.
    void EveryKeyActs()
    {
        for (int k = 0; k < kTableKeyCount; ++k) {
            const TableKey& key = kTableKeys[k];
            SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << key.keyCode);
            PutMiddleSoundCard();
            const Observed before = stage->Observe();
            ASSERT_TRUE(simulated.Press(key.keyCode));
            EXPECT_TRUE(WaitUntil([&] { return HasActed(key, before, stage->Observe()); }));
            if (key.mixer >= 0 && key.direction != 0) {
                Pump(300);  // no tick comes after the release
                EXPECT_EQ(kFaderMaximum / 2 + key.direction * int(kFaderStep), stage->Observe().mixer[key.mixer]);
            }
        }
    }

    std::unique_ptr<KeyStage> stage;
    SimulatedProgram simulated{ "e2e-standard" };
};

TEST_F(StandardKeyboardEndToEnd, EveryUsageActsInTheArrayLayout)
{
    Start(kUsageArray);
    EveryKeyActs();
}

TEST_F(StandardKeyboardEndToEnd, EveryUsageActsInTheBitLayout)
{
    Start(kUsageBits);
    EveryKeyActs();
}

// A keyboard that sends its report again every 30 ms while the key is held:
// the repeat is not restarted, the fader steps ten times a second, and the
// release adds no step of its own.
TEST_F(StandardKeyboardEndToEnd, AHeldKeyStepsTenTimesASecondWhileItsReportRepeats)
{
    Start(kUsageArray);
    PutMixerValue(kMixerVolume, 0);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 1000) {
        ASSERT_TRUE(simulated.keyboard.Send(kKeyVolumeUp));
        Sleep(30);
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

}  // namespace
