// The keyboard connection: opens the keyboard, its reader, the settings and
// the mixer at start-up, and again when a device arrives while it is closed.
// It works on the dialog it is given, whose window receives the keys.
#pragma once
#include <windows.h>

enum class KeyboardOpenReason { kStartUp, kDeviceArrival };

// Shows "error" when the registration fails, and carries on.
void RegisterForDeviceNotifications(HWND dialog);
void OpenKeyboard(HWND dialog, KeyboardOpenReason reason);
void CloseKeyboard();
// A WM_DEVICECHANGE of the dialog: an arrival while the keyboard is closed
// closes what is left and opens everything again.
void HandleDeviceChange(HWND dialog, WPARAM event);
