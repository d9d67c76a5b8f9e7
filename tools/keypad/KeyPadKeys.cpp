#include "KeyPadKeys.h"

// Every key of the keyboard; bit 21 has no key.
const KeyPadKey kKeyPadKeys[] = {
    { "My Computer", 0x000001 },    { "Web Search", 0x000002 },     { "Home Page", 0x000004 },
    { "Back", 0x000008 },           { "Forward", 0x000010 },        { "Browser Stop", 0x000020 },
    { "Refresh", 0x000040 },        { "Favourites", 0x000080 },     { "Volume Up", 0x000100 },
    { "Volume Down", 0x000200 },    { "Bass Up", 0x000400 },        { "Bass Down", 0x000800 },
    { "Treble Up", 0x001000 },      { "Treble Down", 0x002000 },    { "Mail", 0x004000 },
    { "Calculator", 0x008000 },     { "Next Track", 0x010000 },     { "Previous Track", 0x020000 },
    { "Media Stop", 0x040000 },     { "Play/Pause", 0x080000 },     { "Mute", 0x100000 },
    { "Loudness", 0x400000 },       { "Media Player", 0x800000 },
};
const int kKeyPadKeyCount = sizeof kKeyPadKeys / sizeof kKeyPadKeys[0];

void BuildKeyReport(DWORD keyCode, BYTE report[KEYPAD_REPORT_LENGTH])
{
    report[0] = 0x01;  // report ID of the consumer-control collection
    report[1] = static_cast<BYTE>(keyCode >> 16);
    report[2] = static_cast<BYTE>(keyCode >> 8);
    report[3] = static_cast<BYTE>(keyCode);
}
