// The registry store of the settings: one REG_SZ value for each of the three
// texts and the DWORD ShowLevels under HKEY_CURRENT_USER, and the
// HKEY_LOCAL_MACHINE values the defaults of the mail program and the media
// player are made from.
#pragma once
#include <windows.h>

// Every setting passes through a buffer of this size: at most 99 characters.
const int kSettingTextSize = 100;

// The same key, named as it is opened for reading and as it is created for
// writing; registry names ignore case.
extern const char kSettingsReadKey[];
extern const char kSettingsWriteKey[];

extern const char kMailValue[];
extern const char kMediaValue[];
extern const char kSearchValue[];
// DWORD: whether the level display shows; absent (an older key) means on.
extern const char kShowLevelsValue[];

// Reads a text value into text (size bytes). False when the key or value is
// missing or the value and its terminating zero do not fit; text then holds
// an empty string.
bool ReadRegistryText(HKEY root, const char* subKey, const char* valueName, char* text, DWORD size);

// Creates the settings key when it is missing and writes text as valueName.
// False when the key could not be created or the value not written.
bool WriteSettingText(const char* valueName, const char* text);

// Reads a DWORD value of the settings key as a flag: non-zero is true. A
// missing key or value, or one of another type, gives whenAbsent.
bool ReadSettingFlag(const char* valueName, bool whenAbsent);
// Creates the settings key when it is missing and writes the flag as 1 or 0.
bool WriteSettingFlag(const char* valueName, bool flag);
