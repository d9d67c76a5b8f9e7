// The on-screen level display: after a sound key acted, a small window at the
// bottom centre of the work area names the control and shows its level (a
// bar) or its state (On / Off) for 1.5 s.
//
// It never takes the foreground or the keyboard focus: the player and
// browser keys send their chords to whatever window is in front, and a
// display that activated would swallow them. It is shown without activation,
// answers a click by hiding rather than activating, stays on top and has no
// taskbar button. Plain GDI: Windows 98 has no layered windows.
#pragma once
#include <windows.h>

enum class LevelName { kVolume, kBass, kTreble, kMute, kLoudness };

// What a sound key left its control at, as read back from the mixer.
struct LevelReading {
    LevelName name;
    DWORD value;    // a fader's level; a toggle's state, 0 off
    DWORD maximum;  // a fader's maximum; 0 for a toggle
    bool muted;     // the volume's: mute is on
};

// Shows the reading, or shows it instead of the one shown, and restarts the
// 1.5 s until it hides.
void ShowLevel(const LevelReading& reading);
void HideLevelDisplay();

// The display's window once it has been shown, else NULL; its text is what
// it shows, "Volume 55%", "Mute On".
HWND LevelDisplayWindow();
// The share of the range a fader stands at, 0 to 100, rounded to the nearest.
DWORD LevelPercent(DWORD value, DWORD maximum);
