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

void SendChord(const KeyChord& chord)
{
    for (int i = 0; i < chord.count; ++i)
        keybd_event(chord.events[i].virtualKey, 0, chord.events[i].up ? KEYEVENTF_KEYUP : 0, 0);
}
