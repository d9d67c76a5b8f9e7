#include "KeyPadKeys.h"
#include "keyboard/KeyCodes.h"

// Every key of the keyboard, in the order of its bits.
const KeyPadKey kKeyPadKeys[] = {
    { "My Computer", kKeyMyComputer },   { "Web Search", kKeyWebSearch },       { "Home Page", kKeyHomePage },
    { "Back", kKeyBack },                { "Forward", kKeyForward },            { "Browser Stop", kKeyBrowserStop },
    { "Refresh", kKeyRefresh },          { "Favourites", kKeyFavourites },      { "Volume Up", kKeyVolumeUp },
    { "Volume Down", kKeyVolumeDown },   { "Bass Up", kKeyBassUp },             { "Bass Down", kKeyBassDown },
    { "Treble Up", kKeyTrebleUp },       { "Treble Down", kKeyTrebleDown },     { "Mail", kKeyMail },
    { "Calculator", kKeyCalculator },    { "Next Track", kKeyNextTrack },       { "Previous Track", kKeyPreviousTrack },
    { "Media Stop", kKeyMediaStop },     { "Play/Pause", kKeyPlayPause },       { "Mute", kKeyMute },
    { "Loudness", kKeyLoudness },        { "Media Player", kKeyMediaPlayer },
};
const int kKeyPadKeyCount = sizeof kKeyPadKeys / sizeof kKeyPadKeys[0];
