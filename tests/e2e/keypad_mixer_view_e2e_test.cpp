// The key pad shows the simulated mixer's values as they change.
#include <gtest/gtest.h>
#include "e2e/SoundKeysRig.h"

using namespace mmk_test;

namespace {

BOOL CALLBACK FindMixerLine(HWND child, LPARAM found)
{
    char text[256];
    GetWindowTextA(child, text, sizeof text);
    if (std::string(text).rfind("Mixer:", 0) == 0) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

std::string MixerLine(HWND keyPad)
{
    HWND line = NULL;
    EnumChildWindows(keyPad, FindMixerLine, reinterpret_cast<LPARAM>(&line));
    char text[256] = "";
    if (line) GetWindowTextA(line, text, sizeof text);
    return text;
}

TEST(KeyPadMixerView, ShowsTheSimulatedMixersValuesLive)
{
    ASSERT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorRootKey));
    ASSERT_TRUE(SetMixerValue("Present", 1));
    ASSERT_TRUE(SetMixerValue("VolumeMax", 65535));
    ASSERT_TRUE(SetMixerValue("Volume", 1000));
    ASSERT_TRUE(SetMixerValue("Mute", 0));
    RunningProgram keyPad;
    ASSERT_TRUE(keyPad.Start(BuildFile("KeyPad.exe")));
    HWND window = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (window = FindProcessWindow(keyPad.ProcessId(), "MMKeyboardKeyPad", NULL)) != NULL; },
                          10000));
    EXPECT_TRUE(WaitUntil([&] { return MixerLine(window) == "Mixer:   Volume 1000/65535   Mute off"; }, 5000))
        << MixerLine(window);

    ASSERT_TRUE(SetMixerValue("Volume", 4276));
    ASSERT_TRUE(SetMixerValue("Mute", 1));
    EXPECT_TRUE(WaitUntil([&] { return MixerLine(window) == "Mixer:   Volume 4276/65535   Mute on"; }, 5000))
        << MixerLine(window);

    ASSERT_TRUE(SetMixerValue("Present", 0));
    EXPECT_TRUE(WaitUntil([&] { return MixerLine(window) == "Mixer: none"; }, 5000)) << MixerLine(window);
    keyPad.Stop();
    DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorRootKey);
}

}  // namespace
