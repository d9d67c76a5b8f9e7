// The settings page: the main dialog's three edit controls and its "Show
// levels on screen" check box are the live settings (the keys read them as
// they stand), Save copies them to the registry and Cancel copies the
// registry back. Each operation takes the dialog that holds the controls.
#pragma once
#include <windows.h>

// Fills the three edit controls and the check box from the store, or with
// each setting's default; the controls then count as unedited.
void LoadSettings(HWND dialog);
// Stores the three controls' texts (at most 99 characters each) and the
// check box, then loads them back, so the page shows what the store now holds.
void SaveSettings(HWND dialog);
// Lets the user choose a program; its full path replaces the control's text.
void BrowseForProgram(HWND dialog, int editControlId);

// True when the user has edited a setting since the settings were last
// loaded, so that reloading them would throw the edit away.
bool HasUnsavedSettingEdits(HWND dialog);

// Whether the sound keys show the level display: the check box as it stands.
bool LevelsShownOnScreen(HWND dialog);
