#include "KeyPadKeys.h"

// Every key of the keyboard; bit 21 has no key. What each does is what the
// try-out run shows (tools/run), with its stand-ins for the programs.
#define NOTHING_IF_NO_BROWSER "; nothing if the browser is not running"
#define NOTHING_IF_NO_PLAYER "; nothing if no player is running"
const KeyPadKey kKeyPadKeys[] = {
    { "My Computer", 0x000001,
      "an explorer window opens (under Wine: at the Desktop folder, the first time after some seconds)" },
    { "Web Search", 0x000002, "Internet Explorer opens at the settings' search address" },
    { "Home Page", 0x000004, "Internet Explorer opens" },
    { "Back", 0x000008, "Internet Explorer comes to the front and lists Alt+Left" NOTHING_IF_NO_BROWSER },
    { "Forward", 0x000010, "Internet Explorer comes to the front and lists Alt+Right" NOTHING_IF_NO_BROWSER },
    { "Browser Stop", 0x000020, "Internet Explorer comes to the front and lists Esc" NOTHING_IF_NO_BROWSER },
    { "Refresh", 0x000040, "Internet Explorer comes to the front and lists F5" NOTHING_IF_NO_BROWSER },
    { "Favourites", 0x000080, "Internet Explorer comes to the front and lists Ctrl+I" NOTHING_IF_NO_BROWSER },
    { "Volume Up", 0x000100, "Volume rises in the mixer line while the button is held" },
    { "Volume Down", 0x000200, "Volume falls in the mixer line while the button is held" },
    { "Bass Up", 0x000400, "Bass rises in the mixer line while the button is held" },
    { "Bass Down", 0x000800, "Bass falls in the mixer line while the button is held" },
    { "Treble Up", 0x001000, "Treble rises in the mixer line while the button is held" },
    { "Treble Down", 0x002000, "Treble falls in the mixer line while the button is held" },
    { "Mail", 0x004000, "the settings' mail program opens" },
    { "Calculator", 0x008000, "the Calculator opens" },
    { "Next Track", 0x010000,
      "the CD player lists Alt+K, Down, or Windows Media Player Ctrl+F" NOTHING_IF_NO_PLAYER },
    { "Previous Track", 0x020000,
      "the CD player lists Alt+K, Up, or Windows Media Player Ctrl+B" NOTHING_IF_NO_PLAYER },
    { "Media Stop", 0x040000, "the player lists Ctrl+S (the movie player: Full stop)" NOTHING_IF_NO_PLAYER },
    { "Play/Pause", 0x080000, "the player lists Ctrl+P (the movie player: Space)" NOTHING_IF_NO_PLAYER },
    { "Mute", 0x100000, "Mute turns on or off in the mixer line" },
    { "Loudness", 0x400000, "Loudness turns on or off in the mixer line" },
    { "Media Player", 0x800000, "the settings' media player opens" },
};
const int kKeyPadKeyCount = sizeof kKeyPadKeys / sizeof kKeyPadKeys[0];

void BuildKeyReport(DWORD keyCode, BYTE report[KEYPAD_REPORT_LENGTH])
{
    report[0] = 0x01;  // report ID of the consumer-control collection
    report[1] = static_cast<BYTE>(keyCode >> 16);
    report[2] = static_cast<BYTE>(keyCode >> 8);
    report[3] = static_cast<BYTE>(keyCode);
}
