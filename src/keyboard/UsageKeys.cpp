#include "keyboard/UsageKeys.h"
#include "keyboard/KeyCodes.h"

namespace {

struct UsageKey {
    WORD usage;
    DWORD key;
};

// One row per usage, named as the HID usage tables name it.
const UsageKey kUsageKeys[] = {
    { 0x0194, kKeyMyComputer },     // AL Local Machine Browser
    { 0x0221, kKeyWebSearch },      // AC Search
    { 0x0223, kKeyHomePage },       // AC Home
    { 0x0224, kKeyBack },           // AC Back
    { 0x0225, kKeyForward },        // AC Forward
    { 0x0226, kKeyBrowserStop },    // AC Stop
    { 0x0227, kKeyRefresh },        // AC Refresh
    { 0x022A, kKeyFavourites },     // AC Bookmarks
    { 0x00E9, kKeyVolumeUp },       // Volume Increment
    { 0x00EA, kKeyVolumeDown },     // Volume Decrement
    { 0x0152, kKeyBassUp },         // Bass Increment
    { 0x0153, kKeyBassDown },       // Bass Decrement
    { 0x0154, kKeyTrebleUp },       // Treble Increment
    { 0x0155, kKeyTrebleDown },     // Treble Decrement
    { 0x018A, kKeyMail },           // AL Email Reader
    { 0x0192, kKeyCalculator },     // AL Calculator
    { 0x00B5, kKeyNextTrack },      // Scan Next Track
    { 0x00B6, kKeyPreviousTrack },  // Scan Previous Track
    { 0x00B7, kKeyMediaStop },      // Stop
    { 0x00CD, kKeyPlayPause },      // Play/Pause
    { 0x00E2, kKeyMute },           // Mute
    { 0x00E7, kKeyLoudness },       // Loudness
    { 0x0183, kKeyMediaPlayer },    // AL Consumer Control Configuration
};

}  // namespace

DWORD KeyCodeOfUsages(const WORD* usages, ULONG count)
{
    DWORD keyCode = kKeysReleased;
    for (ULONG i = 0; i < count; ++i)
        for (const UsageKey& row : kUsageKeys)
            if (row.usage == usages[i]) keyCode |= row.key;
    return keyCode;
}

DWORD KeysOfUsageRange(WORD first, WORD last)
{
    DWORD keyCode = kKeysReleased;
    for (const UsageKey& row : kUsageKeys)
        if (row.usage >= first && row.usage <= last) keyCode |= row.key;
    return keyCode;
}

WORD UsageOfKey(DWORD keyCode)
{
    for (const UsageKey& row : kUsageKeys)
        if (row.key == keyCode) return row.usage;
    return 0;
}
