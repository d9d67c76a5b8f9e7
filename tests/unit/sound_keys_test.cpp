// The sound keys through the dialog's own key and timer handling, with a fake
// sound card.
#include <gtest/gtest.h>
#include "mixer/SoundKeys.h"
#include "unit/DialogHarness.h"
#include "unit/MixerTestState.h"

using mmk_fake::AddFakeControl;
using mmk_fake::FakeMixerControl;
using mmk_fake::TheFakeMixer;

namespace {

const DWORD kVolumeUp = 0x100, kVolumeDown = 0x200, kMute = 0x100000, kLoudness = 0x400000;

class SoundKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mmk_test::ResetMixerState();
        ASSERT_NE(nullptr, harness.Window());
    }
    void TearDown() override { mmk_test::ResetMixerState(); }

    // A card with all five controls, faders at the given value and maximum.
    void FullCard(DWORD value, DWORD maximum)
    {
        mmk_fake::AddAllFakeControls(maximum, value);
        mmk_test::OpenAndLookUpControls();
    }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i) harness.Tick();
    }

    mmk_fake::FakeMixer& card = TheFakeMixer();
    mmk_test::DialogHarness harness;
};

TEST(FaderArithmetic, StepsStopAtTheEndsWithoutWrapping)
{
    const struct { DWORD current, maximum, step, up, down; } cases[] = {
        { 0, 65535, 3276, 3276, 0 },
        { 65520, 65535, 3276, 65535, 62244 },
        { 65535, 65535, 3276, 65535, 62259 },
        { 15, 65535, 3276, 3291, 0 },
        { 3276, 65535, 3276, 6552, 0 },
        { 5, 19, 0, 5, 5 },
        { 0xFFFFFFF0u, 0xFFFFFFFFu, 0x20, 0xFFFFFFFFu, 0xFFFFFFD0u },
        { 70000, 65535, 3276, 65535, 66724 },  // a driver reporting beyond its maximum
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.up, StepUp(c.current, c.maximum, c.step)) << c.current << "/" << c.maximum;
        EXPECT_EQ(c.down, StepDown(c.current, c.step)) << c.current << "/" << c.maximum;
    }
}

TEST_F(SoundKeysTest, HeldUpKeyCrossesTheWholeRangeInTwentyOneSteps)
{
    const struct { DWORD key; FakeMixerControl* fader; } keys[] = {
        { 0x100, &card.volume }, { 0x400, &card.bass }, { 0x1000, &card.treble },
    };
    for (const auto& k : keys) {
        mmk_test::ResetMixerState();
        FullCard(0, 65535);
        harness.Keys(k.key);
        Ticks(20);
        EXPECT_EQ(65520u, k.fader->value) << std::hex << k.key;
        harness.Tick();
        EXPECT_EQ(65535u, k.fader->value);
        harness.Tick();
        EXPECT_EQ(65535u, k.fader->value);
        harness.Keys(0);
    }
}

TEST_F(SoundKeysTest, HeldDownKeyReachesSilenceInTwentyOneSteps)
{
    const struct { DWORD key; FakeMixerControl* fader; } keys[] = {
        { 0x200, &card.volume }, { 0x800, &card.bass }, { 0x2000, &card.treble },
    };
    for (const auto& k : keys) {
        mmk_test::ResetMixerState();
        FullCard(65535, 65535);
        harness.Keys(k.key);
        Ticks(20);
        EXPECT_EQ(15u, k.fader->value) << std::hex << k.key;
        harness.Tick();
        EXPECT_EQ(0u, k.fader->value);
        harness.Keys(0);
    }
}

TEST_F(SoundKeysTest, HeldKeyStepsAboutTenTimesASecondUntilReleased)
{
    FullCard(0, 65535);
    harness.Keys(kVolumeUp);
    mmk_test::DialogHarness::Pump(1000);
    const int steps = card.volume.sets;
    EXPECT_GE(steps, 4);   // timing on a shared machine: a generous range around 10
    EXPECT_LE(steps, 12);
    harness.Keys(0);
    mmk_test::DialogHarness::Pump(300);
    EXPECT_EQ(steps, card.volume.sets);
}

TEST_F(SoundKeysTest, PressAndReleaseWithinATickChangesNothing)
{
    FullCard(1000, 65535);
    harness.Keys(kVolumeUp);
    harness.Keys(0);
    mmk_test::DialogHarness::Pump(350);
    EXPECT_EQ(1000u, card.volume.value);
    EXPECT_EQ(0, card.volume.gets);
}

TEST_F(SoundKeysTest, SecondKeyHeldTogetherKeepsTheFirstGoingUntilOneIsReleased)
{
    FullCard(10000, 65535);
    harness.Keys(kVolumeUp);
    Ticks(2);
    harness.Keys(kVolumeUp | kVolumeDown);  // two bits match no row
    Ticks(2);
    EXPECT_EQ(10000u + 4 * 3276, card.volume.value);
    harness.Keys(kVolumeDown);  // volume up released: down alone remains
    Ticks(3);
    EXPECT_EQ(10000u + 1 * 3276, card.volume.value);
    harness.Keys(0);
    Ticks(1);
    EXPECT_EQ(10000u + 1 * 3276, card.volume.value);
}

TEST_F(SoundKeysTest, KeyOfAMissingControlAndItsReleaseDoNothing)
{
    AddFakeControl(&card.volume, 1, 65535, 0);
    mmk_test::OpenAndLookUpControls();  // volume only
    const DWORD missing[] = { 0x400, 0x800, 0x1000, 0x2000, kMute, kLoudness };
    for (DWORD key : missing) {
        const int calls = card.calls;
        harness.Keys(key);
        harness.Keys(0);
        mmk_test::DialogHarness::Pump(250);
        EXPECT_EQ(calls, card.calls) << std::hex << key;
    }
}

TEST_F(SoundKeysTest, TickQueuedBeforeTheReleaseDoesNothing)
{
    FullCard(5000, 65535);
    harness.Keys(kVolumeUp);
    harness.Tick();
    EXPECT_EQ(5000u + 3276, card.volume.value);
    PostMessageA(harness.Window(), WM_TIMER, 1, 0);  // already queued when the release comes
    harness.Keys(0);
    const int gets = card.volume.gets;
    mmk_test::DialogHarness::Pump(300);
    EXPECT_EQ(5000u + 3276, card.volume.value);
    EXPECT_EQ(gets, card.volume.gets);
}

TEST_F(SoundKeysTest, UnreadableFaderSkipsTheStepButKeepsRepeating)
{
    FullCard(100, 65535);
    harness.Keys(kVolumeUp);
    card.volume.getResult = MMSYSERR_ERROR;
    Ticks(2);
    EXPECT_EQ(0, card.volume.sets);
    card.volume.getResult = MMSYSERR_NOERROR;
    harness.Tick();
    EXPECT_EQ(100u + 3276, card.volume.value);
    harness.Keys(0);
}

TEST_F(SoundKeysTest, ToggleKeysFlipTheCardsCurrentState)
{
    // The card's state changed elsewhere must win over what the program
    // remembered; only an unreadable card falls back to the remembered state.
    const struct {
        bool remembered;
        DWORD onCard;
        bool readable;
        DWORD written;
    } cases[] = {
        { false, 0, true, 1 }, { true, 1, true, 0 },
        { false, 1, true, 0 },  // muted elsewhere: the key unmutes at once
        { true, 0, true, 1 },   // unmuted elsewhere: the key mutes at once
        { false, 1, false, 1 }, { true, 0, false, 0 },
    };
    const struct { DWORD key; FakeMixerControl* control; bool* remembered; } toggles[] = {
        { kMute, &card.mute, &RememberedMute }, { kLoudness, &card.loudness, &RememberedLoudness },
    };
    for (const auto& t : toggles) {
        for (const auto& c : cases) {
            mmk_test::ResetMixerState();
            FullCard(0, 65535);
            *t.remembered = c.remembered;
            t.control->value = c.onCard;
            if (!c.readable) t.control->getResult = MMSYSERR_ERROR;
            harness.Keys(t.key);
            EXPECT_EQ(c.written, card.lastDetailsValue) << std::hex << t.key << " case " << &c - cases;
            EXPECT_EQ(c.written, t.control->value);
            EXPECT_EQ(c.written != 0, *t.remembered);
        }
    }
}

TEST_F(SoundKeysTest, MutePressedTwiceRestoresTheCard)
{
    FullCard(0, 65535);
    card.mute.value = 1;
    harness.Keys(kMute);
    harness.Keys(0);
    harness.Keys(kMute);
    EXPECT_EQ(1u, card.mute.value);
    EXPECT_TRUE(RememberedMute);
    EXPECT_EQ(2, card.mute.sets);
}

TEST_F(SoundKeysTest, RefusedToggleStillFlipsTheRememberedState)
{
    FullCard(0, 65535);
    card.mute.getResult = MMSYSERR_ERROR;
    card.mute.setResult = MMSYSERR_ERROR;
    harness.Keys(kMute);
    EXPECT_TRUE(RememberedMute);
    harness.Keys(kMute);
    EXPECT_FALSE(RememberedMute);
}

}  // namespace
