// The mixer controls and the volume and mute keys on Wine's own WINMM mixer
// over a PulseAudio null sink: its speakers line has a volume control
// (maximum 65535) and a mute control, and no bass, treble or loudness. Wine
// keeps the volume per process, so it is read back here, in-process.
#include <gtest/gtest.h>
#include "mixer/MixerControls.h"
#include "mixer/SoundKeys.h"

namespace {

DWORD Volume()
{
    DWORD value = 0xDEAD;
    EXPECT_TRUE(GetVolume(&value));
    return value;
}

TEST(RealMixer, VolumeStepsToItsEndsMuteTogglesAndTheAbsentControlsStayUnavailable)
{
    OpenMixerAndControls(NULL);
    ASSERT_NE(nullptr, MixerSession.mixer) << "no mixer device: tools/test starts the PulseAudio daemon it needs";
    ASSERT_TRUE(VolumeAvailable && MuteAvailable);
    EXPECT_FALSE(BassAvailable || TrebleAvailable || LoudnessAvailable);

    ASSERT_TRUE(SetVolume(0));
    for (int step = 0; step < 20; ++step) StepRepeat(RepeatMode::kVolumeUp);
    EXPECT_EQ(65520u, Volume());
    StepRepeat(RepeatMode::kVolumeUp);
    StepRepeat(RepeatMode::kVolumeUp);
    EXPECT_EQ(65535u, Volume());
    for (int step = 0; step < 20; ++step) StepRepeat(RepeatMode::kVolumeDown);
    EXPECT_EQ(15u, Volume());
    StepRepeat(RepeatMode::kVolumeDown);
    EXPECT_EQ(0u, Volume());
    StepRepeat(RepeatMode::kBassUp);  // absent: nothing, and no harm

    DWORD before = 0, after = 0;
    ASSERT_TRUE(GetMute(&before));
    for (int press = 1; press <= 2; ++press) {
        ToggleMute();
        ASSERT_TRUE(GetMute(&after));
        EXPECT_EQ(press == 1, (after != 0) != (before != 0)) << "press " << press;
        EXPECT_EQ(after != 0, RememberedMute);
    }

    EXPECT_TRUE(CloseMixer());
    DWORD value = 7;
    EXPECT_FALSE(GetVolume(&value) || SetVolume(1) || SetMute(1));
    EXPECT_EQ(7u, value);
    EXPECT_TRUE(CloseMixer()) << "closing a closed mixer";
}

}  // namespace
