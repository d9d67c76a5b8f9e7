#include "mixer/SoundKeys.h"
#include "app/KeyboardDialog.h"

// Placeholder until the sound keys land.
void StartRepeat(KeyboardDialog&, int) {}
void StopRepeat(KeyboardDialog&) {}
void ToggleMute() {}
void ToggleLoudness() {}

LRESULT KeyboardDialog::OnTimer(WPARAM, LPARAM) { return 0; }
