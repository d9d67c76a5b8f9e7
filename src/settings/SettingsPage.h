// The settings page: the main dialog's three edit controls and its "Show
// levels on screen" check box are the live settings (the keys read them as
// they stand), Save copies them to the registry and Cancel copies the
// registry back. Each operation takes the page: the window that holds the
// controls.
#pragma once
#include <windows.h>
#include "settings/SettingsStore.h"

// Fills the three edit controls and the check box from the store, or with
// each setting's default; the controls then count as unedited.
void LoadSettings(HWND page);
// Stores the three controls' texts (at most 99 characters each) and the
// check box, then loads them back, so the page shows what the store now holds.
void SaveSettings(HWND page);
// Lets the user choose a program; its full path replaces the control's text.
void BrowseForProgram(HWND page, int editControlId);

// True when the user has edited a setting since the settings were last
// loaded, so that reloading them would throw the edit away.
bool HasUnsavedSettingEdits(HWND page);

// Whether the sound keys show the level display: the check box as it stands.
bool LevelsShownOnScreen(HWND page);

// The settings the keys use.
enum class LiveSetting { kMail, kMedia, kSearch };
// The setting as the page holds it now, saved or not, into text, which holds
// kSettingTextSize bytes: at most 99 characters.
void ReadLiveSetting(HWND page, LiveSetting setting, char* text);
