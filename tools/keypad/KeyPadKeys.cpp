#include "KeyPadKeys.h"
#include "keyboard/KeyCodes.h"

// Every key of the keyboard, in the order of its bits. What each does is
// what the try-out run shows (tools/run), with its stand-ins for the
// programs.
#define NOTHING_IF_NO_BROWSER "; nothing if the browser is not running"
#define NOTHING_IF_NO_PLAYER "; nothing if no player is running"
const KeyPadKey kKeyPadKeys[] = {
    { "My Computer", kKeyMyComputer,
      "an explorer window opens (under Wine: at the Desktop folder, the first time after some seconds)" },
    { "Web Search", kKeyWebSearch, "Internet Explorer opens at the settings' search address" },
    { "Home Page", kKeyHomePage, "Internet Explorer opens" },
    { "Back", kKeyBack, "Internet Explorer comes to the front and lists Alt+Left" NOTHING_IF_NO_BROWSER },
    { "Forward", kKeyForward, "Internet Explorer comes to the front and lists Alt+Right" NOTHING_IF_NO_BROWSER },
    { "Browser Stop", kKeyBrowserStop, "Internet Explorer comes to the front and lists Esc" NOTHING_IF_NO_BROWSER },
    { "Refresh", kKeyRefresh, "Internet Explorer comes to the front and lists F5" NOTHING_IF_NO_BROWSER },
    { "Favourites", kKeyFavourites, "Internet Explorer comes to the front and lists Ctrl+I" NOTHING_IF_NO_BROWSER },
    { "Volume Up", kKeyVolumeUp, "Volume rises in the mixer line while the button is held" },
    { "Volume Down", kKeyVolumeDown, "Volume falls in the mixer line while the button is held" },
    { "Bass Up", kKeyBassUp, "Bass rises in the mixer line while the button is held" },
    { "Bass Down", kKeyBassDown, "Bass falls in the mixer line while the button is held" },
    { "Treble Up", kKeyTrebleUp, "Treble rises in the mixer line while the button is held" },
    { "Treble Down", kKeyTrebleDown, "Treble falls in the mixer line while the button is held" },
    { "Mail", kKeyMail, "the settings' mail program opens" },
    { "Calculator", kKeyCalculator, "the Calculator opens" },
    { "Next Track", kKeyNextTrack,
      "the CD player lists Alt+K, Down, Windows Media Player Ctrl+F, Winamp, Apollo or QCD its next-track command"
      NOTHING_IF_NO_PLAYER },
    { "Previous Track", kKeyPreviousTrack,
      "the CD player lists Alt+K, Up, Windows Media Player Ctrl+B, Winamp, Apollo or QCD its previous-track command"
      NOTHING_IF_NO_PLAYER },
    { "Media Stop", kKeyMediaStop,
      "the player lists Ctrl+S (the movie player: Full stop; Winamp, Apollo, QCD: its stop command)"
      NOTHING_IF_NO_PLAYER },
    { "Play/Pause", kKeyPlayPause,
      "the player lists Ctrl+P (the movie player: Space; Winamp, Apollo, QCD: play or pause)"
      NOTHING_IF_NO_PLAYER },
    { "Mute", kKeyMute, "Mute turns on or off in the mixer line" },
    { "Loudness", kKeyLoudness, "Loudness turns on or off in the mixer line" },
    { "Media Player", kKeyMediaPlayer, "the settings' media player opens" },
};
const int kKeyPadKeyCount = sizeof kKeyPadKeys / sizeof kKeyPadKeys[0];
