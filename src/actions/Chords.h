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

extern const KeyChord BrowserBackChord;
extern const KeyChord BrowserForwardChord;
extern const KeyChord BrowserStopChord;
extern const KeyChord BrowserRefreshChord;
extern const KeyChord BrowserFavouritesChord;
extern const KeyChord CdNextTrackChord;
extern const KeyChord CdPreviousTrackChord;
extern const KeyChord WmplayerNextTrackChord;
extern const KeyChord WmplayerPreviousTrackChord;
extern const KeyChord CdWmplayerStopChord;
extern const KeyChord CdWmplayerPlayPauseChord;
extern const KeyChord Mplayer2StopChord;
extern const KeyChord Mplayer2PlayPauseChord;

// One keybd_event per event, in order, with scan code 0.
void SendChord(const KeyChord& chord);
