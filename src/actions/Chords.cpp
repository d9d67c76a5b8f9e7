#include "actions/Chords.h"

// In the two-key chords the modifier is released before the other key, the
// order the programs are known to accept.
namespace {

const KeyEvent kBack[] = { { VK_MENU, false }, { VK_LEFT, false }, { VK_MENU, true }, { VK_LEFT, true } };
const KeyEvent kForward[] = { { VK_MENU, false }, { VK_RIGHT, false }, { VK_MENU, true }, { VK_RIGHT, true } };
const KeyEvent kEscape[] = { { VK_ESCAPE, false }, { VK_ESCAPE, true } };
const KeyEvent kRefresh[] = { { VK_F5, false }, { VK_F5, true } };
const KeyEvent kFavourites[] = { { VK_CONTROL, false }, { 'I', false }, { VK_CONTROL, true }, { 'I', true } };
const KeyEvent kCdNext[] = { { VK_MENU, false }, { 'K', false }, { VK_MENU, true }, { 'K', true },
                             { VK_DOWN, false }, { VK_DOWN, true } };
const KeyEvent kCdPrevious[] = { { VK_MENU, false }, { 'K', false }, { VK_MENU, true }, { 'K', true },
                                 { VK_UP, false }, { VK_UP, true } };
const KeyEvent kWmNext[] = { { VK_CONTROL, false }, { 'F', false }, { VK_CONTROL, true }, { 'F', true } };
const KeyEvent kWmPrevious[] = { { VK_CONTROL, false }, { 'B', false }, { VK_CONTROL, true }, { 'B', true } };
const KeyEvent kStop[] = { { VK_CONTROL, false }, { 'S', false }, { VK_CONTROL, true }, { 'S', true } };
const KeyEvent kPlay[] = { { VK_CONTROL, false }, { 'P', false }, { VK_CONTROL, true }, { 'P', true } };
const KeyEvent kFullStop[] = { { VK_OEM_PERIOD, false }, { VK_OEM_PERIOD, true } };
const KeyEvent kSpace[] = { { VK_SPACE, false }, { VK_SPACE, true } };

}  // namespace

#define CHORD(events) { events, sizeof events / sizeof events[0] }

const KeyChord kBrowserBackChord = CHORD(kBack);
const KeyChord kBrowserForwardChord = CHORD(kForward);
const KeyChord kBrowserStopChord = CHORD(kEscape);
const KeyChord kBrowserRefreshChord = CHORD(kRefresh);
const KeyChord kBrowserFavouritesChord = CHORD(kFavourites);
const KeyChord kCdNextTrackChord = CHORD(kCdNext);
const KeyChord kCdPreviousTrackChord = CHORD(kCdPrevious);
const KeyChord kWmplayerNextTrackChord = CHORD(kWmNext);
const KeyChord kWmplayerPreviousTrackChord = CHORD(kWmPrevious);
const KeyChord kCdWmplayerStopChord = CHORD(kStop);
const KeyChord kCdWmplayerPlayPauseChord = CHORD(kPlay);
const KeyChord kMplayer2StopChord = CHORD(kFullStop);
const KeyChord kMplayer2PlayPauseChord = CHORD(kSpace);

namespace {

const BYTE kModifierKeys[] = { VK_CONTROL, VK_MENU, VK_SHIFT };
const int kModifierCount = sizeof kModifierKeys;
// A virtual key that no key has: pressed before our Alt goes up, it keeps
// the window in front from taking the user's Alt for one pressed alone,
// which opens its menu and would eat the chord.
const BYTE kMenuMaskKey = 0xE8;

void SendKey(BYTE virtualKey, bool up)
{
    keybd_event(virtualKey, 0, up ? KEYEVENTF_KEYUP : 0, 0);
}

int ModifierOf(BYTE virtualKey)
{
    for (int m = 0; m < kModifierCount; ++m)
        if (kModifierKeys[m] == virtualKey) return m;
    return -1;
}

}  // namespace

// The window in front reads the modifiers from the keyboard's state, which
// the user's hands share with the chord. So each key of the chord goes down
// with only the chord's own modifiers: one the user holds is let go first
// (else a held Shift turns Ctrl+S into Ctrl+Shift+S). After the chord, what
// the user holds is pressed again, since the chord's own key-up or ours
// left it up. With nothing held, the events go as they are.
void SendChord(const KeyChord& chord)
{
    bool held[kModifierCount], down[kModifierCount], ours[kModifierCount];
    for (int m = 0; m < kModifierCount; ++m) {
        held[m] = down[m] = (GetAsyncKeyState(kModifierKeys[m]) & 0x8000) != 0;
        ours[m] = false;
    }
    for (int i = 0; i < chord.count; ++i) {
        const KeyEvent& event = chord.events[i];
        const int modifier = ModifierOf(event.virtualKey);
        if (modifier >= 0) {
            down[modifier] = ours[modifier] = !event.up;
        } else if (!event.up) {
            for (int m = 0; m < kModifierCount; ++m) {
                if (!down[m] || ours[m]) continue;
                if (kModifierKeys[m] == VK_MENU) {
                    SendKey(kMenuMaskKey, false);
                    SendKey(kMenuMaskKey, true);
                }
                SendKey(kModifierKeys[m], true);
                down[m] = false;
            }
        }
        SendKey(event.virtualKey, event.up);
    }
    for (int m = 0; m < kModifierCount; ++m)
        if (held[m] && !down[m]) SendKey(kModifierKeys[m], false);
}
