#include "KeyPadKeys.h"
#include "keyboard/KeyCodes.h"

// Every key of the keyboard, in the order of its bits, then keys that only
// a standard keyboard has, which do nothing until they are given an action.
// What a key does is the owner's choice (the Keys dialog): the pad says only
// what it sent.
const KeyPadKey kKeyPadKeys[] = {
    { kKeyMyComputer, 0x0194 }, { kKeyWebSearch, 0x0221 },    { kKeyHomePage, 0x0223 },      { kKeyBack, 0x0224 },
    { kKeyForward, 0x0225 },    { kKeyBrowserStop, 0x0226 },  { kKeyRefresh, 0x0227 },       { kKeyFavourites, 0x022A },
    { kKeyVolumeUp, 0x00E9 },   { kKeyVolumeDown, 0x00EA },   { kKeyBassUp, 0x0152 },        { kKeyBassDown, 0x0153 },
    { kKeyTrebleUp, 0x0154 },   { kKeyTrebleDown, 0x0155 },   { kKeyMail, 0x018A },          { kKeyCalculator, 0x0192 },
    { kKeyNextTrack, 0x00B5 },  { kKeyPreviousTrack, 0x00B6 }, { kKeyMediaStop, 0x00B7 },    { kKeyPlayPause, 0x00CD },
    { kKeyMute, 0x00E2 },       { kKeyLoudness, 0x00E7 },     { kKeyMediaPlayer, 0x0183 },   { 0, 0x00B8 },
    { 0, 0x022D },              { 0, 0x022E },                { 0, 0x021A },                 { 0, 0x021B },
    { 0, 0x021D },              { 0, 0x0300 },
};
const int kKeyPadKeyCount = sizeof kKeyPadKeys / sizeof kKeyPadKeys[0];
