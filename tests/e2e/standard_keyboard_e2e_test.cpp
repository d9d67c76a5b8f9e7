// A standard keyboard end to end: MMKeyboard-sim.exe under Wine reporting
// Windows 98, on a simulated keyboard of another maker whose reports hold
// consumer usages, with stand-ins for every program a key starts or drives.
// Every usage of the key table acts as its key does on the maker's models,
// and every other usage as its owner assigned it.
#include <gtest/gtest.h>
#include "support/KeyEffects.h"
#include "keyboard/KeyCodes.h"
#include "support/Program.h"

using namespace mmk_test;

namespace {

class StandardKeyboardEndToEnd : public ::testing::Test {
protected:
    void Start(SimulatedLayout layout)
    {
        stage.reset();  // its stand-ins put back before the next ones take their places
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

    const TableKey& Key(DWORD keyCode) const
    {
        int k = 0;
        while (kTableKeys[k].keyCode != keyCode) ++k;
        return kTableKeys[k];
    }

    std::unique_ptr<KeyStage> stage;
    SimulatedProgram simulated{ "e2e-standard" };
};

TEST_F(StandardKeyboardEndToEnd, EveryUsageActsInTheArrayAndTheBitLayout)
{
    for (SimulatedLayout layout : { kUsageArray, kUsageBits }) {
        SCOPED_TRACE(layout);
        simulated.program.Stop();
        Start(layout);
        EveryKeyActs();
    }
}

// Keys outside the table do nothing until their owner assigns them; then
// such a key acts once at its press, however long it is held, beside a key
// of the table in the same report. The calculator key comes after each
// part: once it has acted, what came before it has been handled.
TEST_F(StandardKeyboardEndToEnd, OtherKeysDoNothingUntilAssignedThenActOnceBesideATableKey)
{
    Start(kUsageArray);
    const TableKey &calculator = Key(kKeyCalculator), &mute = Key(kKeyMute);
    Observed before = stage->Observe();
    for (USHORT usage : { 0x00B8, 0x022D, 0x0300 })
        ASSERT_TRUE(simulated.keyboard.SendUsages({ usage }) && simulated.keyboard.SendUsages({}));
    ASSERT_TRUE(simulated.Press(kKeyCalculator));
    ASSERT_TRUE(WaitUntil([&] { return HasActed(calculator, before, stage->Observe()); }));
    EXPECT_TRUE(Expected(calculator, before) == stage->Observe()) << "a key outside the table acted unassigned";

    SetRegistryText(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\Keys").c_str(), "0x00B8",
                    "start " + stage->logs[kMailLog]);
    before = stage->Observe();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 500) {  // Mute and Eject held, the report repeated as a keyboard does
        ASSERT_TRUE(simulated.keyboard.SendUsages({ 0x00E2, 0x00B8 }));
        Sleep(30);
    }
    ASSERT_TRUE(simulated.keyboard.SendUsages({}) && simulated.Press(kKeyCalculator));
    Observed expected = Expected(calculator, Expected(mute, before));
    ++expected.starts[kMailLog];
    ASSERT_TRUE(WaitUntil([&] {
        const Observed now = stage->Observe();
        return HasActed(calculator, before, now) && now.starts[kMailLog] > before.starts[kMailLog];
    })) << "Eject did not act";
    EXPECT_TRUE(expected == stage->Observe()) << "Eject or Mute acted more than once";
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
