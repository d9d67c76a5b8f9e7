// The sound keys through the real dialog's key and timer routing, on the
// simulated sound card: everything the real mixer of the test machine does
// not offer (bass, treble, loudness) and every refusal.
#include <gtest/gtest.h>
#include "mixer/MixerControls.h"
#include "mixer/SoundKeys.h"
#include "support/DialogRig.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"

using namespace mmk_test;

namespace {

class SoundKeysTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        CloseMixer();
        ClearSimulator();
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
        KeyboardDevice.kind.store(KeyboardKind::kMaker);
    }
    // A card whose faders (all three, or the one named) stand at the value.
    void Card(DWORD value, DWORD maximum = 65535, const char* onlyFader = NULL)
    {
        CloseMixer();
        ClearSimulator();
        const char* faders[][2] = { { kMixerVolume, kMixerVolumeMax }, { kMixerBass, kMixerBassMax },
                                    { kMixerTreble, kMixerTrebleMax } };
        for (auto fader : faders) {
            if (onlyFader && lstrcmpA(onlyFader, fader[0]) != 0) continue;
            PutMixerValue(fader[1], maximum);
            PutMixerValue(fader[0], value);
        }
        if (!onlyFader)
            for (const char* toggle : { kMixerMute, kMixerLoudness }) PutMixerValue(toggle, 0);
        PutMixerValue(kMixerPresent, 1);
        OpenMixerAndControls(NULL);
    }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i) dialog.Tick();
    }

    DialogRig dialog;
};

TEST(FaderArithmetic, StepsStopAtTheEndsWithoutWrapping)
{
    const struct { DWORD current, maximum, step, up, down; } cases[] = {
        { 0, 65535, 3276, 3276, 0 },
        { 65520, 65535, 3276, 65535, 62244 },
        { 15, 65535, 3276, 3291, 0 },
        { 5, 19, 0, 5, 5 },
        { 0xFFFFFFF0u, 0xFFFFFFFFu, 0x20, 0xFFFFFFFFu, 0xFFFFFFD0u },
        { 70000, 65535, 3276, 65535, 66724 },  // a driver reporting beyond its maximum
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.up, StepUp(c.current, c.maximum, c.step)) << c.current << "/" << c.maximum;
        EXPECT_EQ(c.down, StepDown(c.current, c.step)) << c.current << "/" << c.maximum;
    }
}

TEST_F(SoundKeysTest, AHeldKeyCrossesItsFadersRangeInTwentyOneSteps)
{
    const struct {
        DWORD key;
        const char* fader;
        DWORD from, afterTwenty, end;
    } keys[] = {
        { kKeyVolumeUp, kMixerVolume, 0, 65520, 65535 },     { kKeyVolumeDown, kMixerVolume, 65535, 15, 0 },
        { kKeyBassUp, kMixerBass, 0, 65520, 65535 },         { kKeyBassDown, kMixerBass, 65535, 15, 0 },
        { kKeyTrebleUp, kMixerTreble, 0, 65520, 65535 },     { kKeyTrebleDown, kMixerTreble, 65535, 15, 0 },
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.fader);
        Card(k.from);
        dialog.Keys(k.key);
        EXPECT_EQ(k.from, Mixer(k.fader)) << "no step before the first tick";
        Ticks(20);
        EXPECT_EQ(k.afterTwenty, Mixer(k.fader));
        Ticks(2);
        EXPECT_EQ(k.end, Mixer(k.fader));
        for (const char* other : { kMixerVolume, kMixerBass, kMixerTreble })
            if (lstrcmpA(other, k.fader) != 0) EXPECT_EQ(k.from, Mixer(other)) << other;
        dialog.Keys(kKeysReleased);
    }
    Card(0, 19);  // a step of 0: such a fader never moves
    dialog.Keys(kKeyVolumeUp);
    Ticks(3);
    EXPECT_EQ(0u, Mixer(kMixerVolume));
}

TEST_F(SoundKeysTest, AnyOtherKeyOrASecondKeyEndsTheStepsOnEitherKeyboard)
{
    const std::string keys = std::string(kSettingsKey) + "\\Keys";
    SetRegistryText(HKEY_CURRENT_USER, keys.c_str(), "Mail", "nothing");
    SetRegistryText(HKEY_CURRENT_USER, keys.c_str(), "Back", "command No such window, 1");
    SetRegistryText(HKEY_CURRENT_USER, keys.c_str(), "TrebleUp", "nothing");
    // Volume down is held, then the keys change twice; bass up, once alone,
    // steps afresh.
    const struct {
        const char* what;
        DWORD next, then;
        bool volumeOnly = false;  // a card without bass and treble
    } cases[] = {
        { "a second fader held with it, then alone", kKeyVolumeDown | kKeyBassUp, kKeyBassUp },
        { "a key assigned nothing held with it, then alone", kKeyVolumeDown | kKeyMail, kKeyMail },
        { "rolled onto a key assigned a command", kKeyBack, kKeysReleased },
        { "rolled onto a fader assigned nothing", kKeyTrebleUp, kKeysReleased },
        { "rolled onto loudness", kKeyLoudness, kKeysReleased },
        { "rolled onto a bit of no key", 0x200000, kKeysReleased },
        { "rolled onto a fader the card lacks", kKeyBassUp, kKeysReleased, true },
    };
    for (KeyboardKind kind : { KeyboardKind::kMaker, KeyboardKind::kStandard }) {
        KeyboardDevice.kind.store(kind);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << (kind == KeyboardKind::kStandard ? ", standard" : ", maker's"));
            Card(30000, 65535, c.volumeOnly ? kMixerVolume : NULL);
            dialog.Keys(kKeyVolumeDown);
            dialog.Tick();
            const DWORD volume = Mixer(kMixerVolume);
            ASSERT_LT(volume, 30000u);
            dialog.Keys(c.next);
            Ticks(3);
            dialog.Keys(c.then);
            Ticks(3);
            EXPECT_EQ(volume, Mixer(kMixerVolume));
            const int bassSteps = c.then != kKeyBassUp ? 0 : kind == KeyboardKind::kStandard ? 4 : 3;
            if (!c.volumeOnly) EXPECT_EQ(30000u + bassSteps * 3276, Mixer(kMixerBass));
            dialog.Keys(kKeysReleased);
        }
    }
}

TEST_F(SoundKeysTest, KeysOfMissingOrRefusingControlsChangeNothingElse)
{
    Card(100, 65535, kMixerVolume);  // volume only
    for (DWORD key : { kKeyBassUp, kKeyBassDown, kKeyTrebleUp, kKeyTrebleDown, kKeyMute, kKeyLoudness }) {
        dialog.Keys(key);
        Ticks(2);
        dialog.Keys(kKeysReleased);
    }
    EXPECT_EQ(100u, Mixer(kMixerVolume));
    EXPECT_EQ(0xDEADu, Mixer(kMixerMute)) << "a missing toggle was written";

    // An unreadable fader skips its steps but the repeat goes on.
    dialog.Keys(kKeyVolumeUp);
    PutMixerValue(kMixerRefuse, kRefuseGet);
    Ticks(2);
    PutMixerValue(kMixerRefuse, 0);
    dialog.Tick();
    EXPECT_EQ(100u + 3276, Mixer(kMixerVolume));
    dialog.Keys(kKeysReleased);
}

TEST_F(SoundKeysTest, ToggleKeysFlipTheCardsOwnStateOrElseTheRememberedOne)
{
    // The card's state, changed elsewhere, wins over the remembered one;
    // only a card that cannot be read leaves the remembered state to flip.
    const struct {
        bool remembered;
        DWORD onCard;
        DWORD refused;
        DWORD written;
        bool rememberedAfter;
    } cases[] = {
        { false, 0, 0, 1, true },
        { true, 1, 0, 0, false },
        { false, 1, 0, 0, false },  // set elsewhere: the key clears it at once
        { true, 0, 0, 1, true },
        { false, 0, kRefuseGet, 1, true },
        { true, 1, kRefuseGet, 0, false },
        { true, 0, kRefuseGet | kRefuseSet, 0, false },  // refused: remembered flips all the same
    };
    const struct {
        DWORD key;
        const char* toggle;
        bool* remembered;
    } toggles[] = { { kKeyMute, kMixerMute, &RememberedMute }, { kKeyLoudness, kMixerLoudness, &RememberedLoudness } };
    for (const auto& t : toggles) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << t.toggle << " case " << &c - cases);
            Card(0);
            *t.remembered = c.remembered;
            PutMixerValue(t.toggle, c.onCard);
            PutMixerValue(kMixerRefuse, c.refused);
            dialog.Keys(t.key);
            PutMixerValue(kMixerRefuse, 0);
            EXPECT_EQ(c.refused & kRefuseSet ? c.onCard : c.written, Mixer(t.toggle));
            EXPECT_EQ(c.rememberedAfter, *t.remembered);
        }
    }
}

}  // namespace
