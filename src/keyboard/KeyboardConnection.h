// The keyboard connection: opens the keyboard, its reader, the settings and
// the mixer at start-up, and again when a device arrives while it is closed.
#pragma once
#include <windows.h>

class KeyboardDialog;

enum class KeyboardOpenReason { StartUp, DeviceArrival };

// Shows "error" when the registration fails, and carries on.
void RegisterForDeviceNotifications(HWND dialog);
void OpenKeyboard(KeyboardDialog& dialog, KeyboardOpenReason reason);
void CloseKeyboard();

// True when the user has typed into a setting's edit control since the
// settings were last loaded, so reloading them would throw the edit away.
bool HasUnsavedSettingEdits(HWND dialog);
