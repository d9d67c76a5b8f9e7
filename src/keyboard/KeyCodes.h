// The KeyCode: the key bits of one input report, data byte 1 most
// significant, the report-ID byte left out. One bit per key; 0 means every
// key is released, and a value with two bits set (two keys held) names no
// key at all.
#pragma once
#include <windows.h>

// Posted by the report reader to the dialog: WPARAM 0, LPARAM the KeyCode.
// On a dialog WM_USER + 1 is also DM_SETDEFID. That is safe here: only an
// application that wants to move the default button sends DM_SETDEFID (the
// dialog manager moves it internally and asks with DM_GETDEFID, WM_USER + 0),
// this program never does and its dialog has no default button, and the
// dialog's message map takes the message before the dialog manager's own
// processing could read a KeyCode as a button id.
const UINT WM_KEYBOARD_KEYS = WM_USER + 1;

// Posted by a standard keyboard's readers for a key outside the KeyCode, any
// Consumer usage no bit stands for: WPARAM the usage, LPARAM kOtherKeyPressed
// or kOtherKeyReleased, once each time the key goes down or up. From the
// application's own range: WM_USER + 0 to + 2 are the dialog manager's
// DM_GETDEFID, DM_SETDEFID and DM_REPOSITION, which it handles itself.
const UINT WM_KEYBOARD_OTHER_KEY = WM_APP + 1;
const LPARAM kOtherKeyReleased = 0;
const LPARAM kOtherKeyPressed = 1;

const DWORD kKeysReleased = 0;

const DWORD kKeyMyComputer = 0x000001;
const DWORD kKeyWebSearch = 0x000002;
const DWORD kKeyHomePage = 0x000004;
const DWORD kKeyBack = 0x000008;
const DWORD kKeyForward = 0x000010;
const DWORD kKeyBrowserStop = 0x000020;
const DWORD kKeyRefresh = 0x000040;
const DWORD kKeyFavourites = 0x000080;
const DWORD kKeyVolumeUp = 0x000100;
const DWORD kKeyVolumeDown = 0x000200;
const DWORD kKeyBassUp = 0x000400;
const DWORD kKeyBassDown = 0x000800;
const DWORD kKeyTrebleUp = 0x001000;
const DWORD kKeyTrebleDown = 0x002000;
const DWORD kKeyMail = 0x004000;
const DWORD kKeyCalculator = 0x008000;
const DWORD kKeyNextTrack = 0x010000;
const DWORD kKeyPreviousTrack = 0x020000;
const DWORD kKeyMediaStop = 0x040000;
const DWORD kKeyPlayPause = 0x080000;
const DWORD kKeyMute = 0x100000;
// Bit 21 belongs to no key.
const DWORD kKeyLoudness = 0x400000;
const DWORD kKeyMediaPlayer = 0x800000;
