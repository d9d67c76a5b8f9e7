// The keyboard chords that the browser and the players answer to, sent as
// synthesised key events to whatever window is in the foreground.
#pragma once
#include <windows.h>

struct KeyEvent {
    BYTE virtualKey;
    bool up;
};

struct KeyChord {  // (GDI already has a Chord)
    const KeyEvent* events;
    int count;
};

extern const KeyChord kBrowserBackChord;
extern const KeyChord kBrowserForwardChord;
extern const KeyChord kBrowserStopChord;
extern const KeyChord kBrowserRefreshChord;
extern const KeyChord kBrowserFavouritesChord;
extern const KeyChord kCdNextTrackChord;
extern const KeyChord kCdPreviousTrackChord;
extern const KeyChord kWmplayerNextTrackChord;
extern const KeyChord kWmplayerPreviousTrackChord;
extern const KeyChord kCdWmplayerStopChord;
extern const KeyChord kCdWmplayerPlayPauseChord;
extern const KeyChord kMplayer2StopChord;
extern const KeyChord kMplayer2PlayPauseChord;

// One keybd_event per event, in order, with scan code 0. A modifier (Ctrl,
// Alt, Shift) that the user holds is let go before a key the chord does not
// press it for, and pressed again after the chord.
void SendChord(const KeyChord& chord);
