// The mixer controls against a fake sound card that checks record sizes and
// flags as a driver does.
#include <gtest/gtest.h>
#include "unit/MixerTestState.h"

using mmk_fake::AddFakeControl;
using mmk_fake::TheFakeMixer;

namespace {

class MixerControlsTest : public ::testing::Test {
protected:
    void SetUp() override { mmk_test::ResetMixerState(); }
    void TearDown() override { mmk_test::ResetMixerState(); }
    mmk_fake::FakeMixer& card = TheFakeMixer();
};

TEST_F(MixerControlsTest, WithoutMixerDeviceOpenSucceedsAndNoControlIsFound)
{
    card.deviceCount = 0;
    AddFakeControl(&card.volume, 1, 65535, 0);
    EXPECT_TRUE(OpenMixer(NULL));
    EXPECT_EQ(nullptr, MixerSession.mixer);
    EXPECT_EQ(0, card.opens);
    mmk_test::OpenAndLookUpControls();
    EXPECT_FALSE(VolumeAvailable || MuteAvailable || BassAvailable || TrebleAvailable ||
                 LoudnessAvailable);
}

TEST_F(MixerControlsTest, SpeakersWithOnlyVolumeAndMuteMakeOnlyThoseAvailable)
{
    AddFakeControl(&card.volume, 11, 65535, 1000);
    AddFakeControl(&card.mute, 12, 1, 1);
    mmk_test::OpenAndLookUpControls();
    EXPECT_TRUE(VolumeAvailable);
    EXPECT_TRUE(MuteAvailable);
    EXPECT_FALSE(BassAvailable);
    EXPECT_FALSE(TrebleAvailable);
    EXPECT_FALSE(LoudnessAvailable);

    DWORD volume = 0, mute = 0;
    EXPECT_TRUE(GetVolume(&volume));
    EXPECT_EQ(1000u, volume);
    EXPECT_TRUE(GetMute(&mute));
    EXPECT_EQ(1u, mute);
    EXPECT_TRUE(SetVolume(2000));
    EXPECT_EQ(2000u, card.volume.value);
}

TEST_F(MixerControlsTest, OpenAsksForWindowNotificationsFromDeviceZero)
{
    HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));
    EXPECT_TRUE(OpenMixer(window));
    EXPECT_NE(nullptr, MixerSession.mixer);
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(window), card.lastCallback);
    EXPECT_EQ((DWORD)CALLBACK_WINDOW, card.lastOpenFlags);
    EXPECT_STREQ("Fake Mixer", MixerSession.capabilities.szPname);
}

TEST_F(MixerControlsTest, FaderStepIsOneTwentiethOfItsMaximumRoundedDown)
{
    const struct { DWORD maximum, step; } cases[] = {
        { 65535, 3276 }, { 100, 5 }, { 39, 1 }, { 20, 1 }, { 19, 0 }, { 0, 0 }, { 0xFFFFFFFF, 214748364 },
    };
    for (const auto& c : cases) {
        mmk_test::ResetMixerState();
        AddFakeControl(&card.volume, 1, c.maximum, 0);
        AddFakeControl(&card.bass, 2, c.maximum, 0);
        AddFakeControl(&card.treble, 3, c.maximum, 0);
        mmk_test::OpenAndLookUpControls();
        for (const MixerControlInfo* fader : { &VolumeControl, &BassControl, &TrebleControl }) {
            EXPECT_EQ(c.maximum, fader->maximum);
            EXPECT_EQ(c.step, fader->step) << "maximum " << c.maximum;
        }
    }
}

TEST_F(MixerControlsTest, EachKeyReachesItsOwnControl)
{
    AddFakeControl(&card.volume, 21, 65535, 0);
    AddFakeControl(&card.mute, 22, 1, 0);
    AddFakeControl(&card.bass, 23, 255, 0);
    AddFakeControl(&card.treble, 24, 127, 0);
    AddFakeControl(&card.loudness, 25, 1, 0);
    mmk_test::OpenAndLookUpControls();
    EXPECT_EQ(21u, VolumeControl.controlId);
    EXPECT_EQ(22u, MuteControlId);
    EXPECT_EQ(23u, BassControl.controlId);
    EXPECT_EQ(24u, TrebleControl.controlId);
    EXPECT_EQ(25u, LoudnessControlId);

    EXPECT_TRUE(SetVolume(101));
    EXPECT_TRUE(SetMute(1));
    EXPECT_TRUE(SetBass(103));
    EXPECT_TRUE(SetTreble(104));
    EXPECT_TRUE(SetLoudness(1));
    const struct { bool (*get)(DWORD*); DWORD expected; } reads[] = {
        { GetVolume, 101 }, { GetMute, 1 }, { GetBass, 103 }, { GetTreble, 104 }, { GetLoudness, 1 },
    };
    for (const auto& r : reads) {
        DWORD value = 0;
        EXPECT_TRUE(r.get(&value));
        EXPECT_EQ(r.expected, value);
    }
}

TEST_F(MixerControlsTest, FailedReadLeavesTheCallersValueAlone)
{
    AddFakeControl(&card.volume, 1, 65535, 500);
    mmk_test::OpenAndLookUpControls();
    card.volume.getResult = MMSYSERR_ERROR;
    card.volume.setResult = MMSYSERR_ERROR;
    DWORD value = 77;
    EXPECT_FALSE(GetVolume(&value));
    EXPECT_EQ(77u, value);
    EXPECT_FALSE(SetVolume(9));
    EXPECT_EQ(500u, card.volume.value);
}

TEST_F(MixerControlsTest, FailedLookupKeepsWhatTheLastOneFound)
{
    AddFakeControl(&card.volume, 7, 65535, 0);
    mmk_test::OpenAndLookUpControls();
    card.speakersLine = false;
    EXPECT_FALSE(FindVolumeControl());
    card.speakersLine = true;
    card.volume.present = false;
    EXPECT_FALSE(FindVolumeControl());
    EXPECT_EQ(7u, VolumeControl.controlId);
    EXPECT_EQ(65535u, VolumeControl.maximum);
    EXPECT_EQ(3276u, VolumeControl.step);
}

TEST_F(MixerControlsTest, RefusedOpenLeavesTheMixerClosed)
{
    AddFakeControl(&card.volume, 1, 65535, 0);
    card.openResult = MMSYSERR_ALLOCATED;
    EXPECT_FALSE(OpenMixer(NULL));
    EXPECT_EQ(nullptr, MixerSession.mixer);
    EXPECT_FALSE(FindVolumeControl());
}

TEST_F(MixerControlsTest, FailedCapabilitiesQueryStillLeavesControlsUsable)
{
    AddFakeControl(&card.volume, 1, 65535, 0);
    card.capsResult = MMSYSERR_ERROR;
    EXPECT_FALSE(OpenMixer(NULL));
    EXPECT_NE(nullptr, MixerSession.mixer);
    EXPECT_TRUE(FindVolumeControl());
    EXPECT_TRUE(CloseMixer());
    EXPECT_EQ(0, card.openHandles);
}

TEST_F(MixerControlsTest, ClosingAClosedMixerCallsNothing)
{
    EXPECT_TRUE(CloseMixer());
    EXPECT_EQ(0, card.calls);
}

TEST_F(MixerControlsTest, AfterCloseEveryGetAndSetFailsWithoutTouchingTheCard)
{
    mmk_fake::AddAllFakeControls(65535, 0);
    mmk_test::OpenAndLookUpControls();
    EXPECT_TRUE(CloseMixer());
    EXPECT_EQ(0, card.openHandles);
    EXPECT_EQ(nullptr, MixerSession.mixer);

    const int callsAfterClose = card.calls;
    bool (*gets[])(DWORD*) = { GetVolume, GetMute, GetBass, GetTreble, GetLoudness };
    bool (*sets[])(DWORD) = { SetVolume, SetMute, SetBass, SetTreble, SetLoudness };
    for (auto get : gets) {
        DWORD value = 5;
        EXPECT_FALSE(get(&value));
        EXPECT_EQ(5u, value);
    }
    for (auto set : sets) EXPECT_FALSE(set(1));
    EXPECT_FALSE(FindVolumeControl());
    EXPECT_EQ(callsAfterClose, card.calls);
}

TEST_F(MixerControlsTest, ReopeningDoesNotLeaveTheEarlierHandleOpen)
{
    EXPECT_TRUE(OpenMixer(NULL));
    EXPECT_TRUE(OpenMixer(NULL));
    EXPECT_EQ(1, card.openHandles);
    EXPECT_TRUE(CloseMixer());
    EXPECT_EQ(0, card.openHandles);
}

}  // namespace
