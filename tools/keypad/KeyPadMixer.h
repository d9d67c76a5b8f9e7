// The simulated mixer's values, shown live in the key pad, so that holding a
// volume, bass or treble button or pressing mute or loudness shows its effect.
#pragma once
#include <windows.h>

// A line of text at the given place in the key pad, refreshed on a timer of
// the key pad's window. Lists a mixer with all five controls first when the
// simulator has none yet.
void CreateMixerView(HWND keyPad, int x, int y, int width, int height);
// Called on each WM_TIMER of the key pad's window.
void RefreshMixerView();
