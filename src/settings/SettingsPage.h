// The settings page: the main dialog's three edit controls are the live
// settings (the launch keys read them as they stand), Save copies them to
// the registry and Cancel copies the registry back. Each operation takes the
// dialog that holds the controls.
#pragma once
#include <windows.h>

// Fills the three edit controls from the store, or with each setting's
// default; the controls then count as unedited.
void LoadSettings(HWND dialog);
// Stores the three controls' texts (at most 99 characters each), then loads
// them back, so the page shows what the store now holds.
void SaveSettings(HWND dialog);
// Lets the user choose a program; its full path replaces the control's text.
void BrowseForProgram(HWND dialog, int editControlId);

// True when the user has edited a setting since the settings were last
// loaded, so that reloading them would throw the edit away.
bool HasUnsavedSettingEdits(HWND dialog);
