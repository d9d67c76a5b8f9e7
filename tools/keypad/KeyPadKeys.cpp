#include "KeyPadKeys.h"
#include "keyboard/KeyCodes.h"

// Every key of the keyboard, in the order of its bits, then keys that only
// a standard keyboard has, which do nothing until they are given an action.
// What each does is what the try-out run shows (tools/run), with its
// stand-ins for the programs.
#define NOTHING_IF_NO_BROWSER "; nothing if the browser is not running"
#define NOTHING_IF_NO_PLAYER "; nothing if no player is running"
#define OTHER_KEY "nothing until you give it an action: press it while the Keys dialog is open to find it there"
const KeyPadKey kKeyPadKeys[] = {
    { "My Computer", kKeyMyComputer, 0x0194,
      "an explorer window opens (under Wine: at the Desktop folder, the first time after some seconds)" },
    { "Web Search", kKeyWebSearch, 0x0221, "Internet Explorer opens at the settings' search address" },
    { "Home Page", kKeyHomePage, 0x0223, "Internet Explorer opens" },
    { "Back", kKeyBack, 0x0224, "Internet Explorer comes to the front and lists Alt+Left" NOTHING_IF_NO_BROWSER },
    { "Forward", kKeyForward, 0x0225, "Internet Explorer comes to the front and lists Alt+Right" NOTHING_IF_NO_BROWSER },
    { "Browser Stop", kKeyBrowserStop, 0x0226, "Internet Explorer comes to the front and lists Esc" NOTHING_IF_NO_BROWSER },
    { "Refresh", kKeyRefresh, 0x0227, "Internet Explorer comes to the front and lists F5" NOTHING_IF_NO_BROWSER },
    { "Favourites", kKeyFavourites, 0x022A, "Internet Explorer comes to the front and lists Ctrl+I" NOTHING_IF_NO_BROWSER },
    { "Volume Up", kKeyVolumeUp, 0x00E9, "Volume rises in the mixer line while the button is held" },
    { "Volume Down", kKeyVolumeDown, 0x00EA, "Volume falls in the mixer line while the button is held" },
    { "Bass Up", kKeyBassUp, 0x0152, "Bass rises in the mixer line while the button is held" },
    { "Bass Down", kKeyBassDown, 0x0153, "Bass falls in the mixer line while the button is held" },
    { "Treble Up", kKeyTrebleUp, 0x0154, "Treble rises in the mixer line while the button is held" },
    { "Treble Down", kKeyTrebleDown, 0x0155, "Treble falls in the mixer line while the button is held" },
    { "Mail", kKeyMail, 0x018A, "the settings' mail program opens" },
    { "Calculator", kKeyCalculator, 0x0192, "the Calculator opens" },
    { "Next Track", kKeyNextTrack, 0x00B5,
      "the CD player lists Alt+K, Down, Windows Media Player Ctrl+F, Winamp, Apollo or QCD its next-track command"
      NOTHING_IF_NO_PLAYER },
    { "Previous Track", kKeyPreviousTrack, 0x00B6,
      "the CD player lists Alt+K, Up, Windows Media Player Ctrl+B, Winamp, Apollo or QCD its previous-track command"
      NOTHING_IF_NO_PLAYER },
    { "Media Stop", kKeyMediaStop, 0x00B7, "the player lists Ctrl+S (the movie player: Full stop; Winamp, Apollo, QCD: its stop command)"
      NOTHING_IF_NO_PLAYER },
    { "Play/Pause", kKeyPlayPause, 0x00CD, "the player lists Ctrl+P (the movie player: Space; Winamp, Apollo, QCD: play or pause)"
      NOTHING_IF_NO_PLAYER },
    { "Mute", kKeyMute, 0x00E2, "Mute turns on or off in the mixer line" },
    { "Loudness", kKeyLoudness, 0x00E7, "Loudness turns on or off in the mixer line" },
    { "Media Player", kKeyMediaPlayer, 0x0183, "the settings' media player opens" },
    { "Eject", 0, 0x00B8, OTHER_KEY },
    { "Zoom In", 0, 0x022D, OTHER_KEY },
    { "Zoom Out", 0, 0x022E, OTHER_KEY },
    { "Undo", 0, 0x021A, OTHER_KEY },
    { "Copy", 0, 0x021B, OTHER_KEY },
    { "Paste", 0, 0x021D, OTHER_KEY },
    { "Unnamed 0x0300", 0, 0x0300, OTHER_KEY },
};
const int kKeyPadKeyCount = sizeof kKeyPadKeys / sizeof kKeyPadKeys[0];
