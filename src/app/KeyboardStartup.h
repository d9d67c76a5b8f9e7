// What follows the keyboard connection at start-up and on each device
// arrival: the settings page reloaded, the mixer opened, and the arrivals
// watched. It works on the dialog, whose window receives the keys, holds
// the settings page and owns the mixer's notifications and message boxes.
#pragma once
#include <windows.h>

enum class KeyboardOpenReason { kStartUp, kDeviceArrival };

// Shows "error" when the registration fails, and carries on.
void RegisterForDeviceNotifications(HWND dialog);
void ConnectKeyboard(HWND dialog, KeyboardOpenReason reason);
// Closes the mixer and the keyboard.
void DisconnectKeyboard();
// A WM_DEVICECHANGE of the dialog: an arrival while the keyboard is closed
// closes what is left and opens everything again; an arrival while a
// standard keyboard is read may bring the maker's model, which takes over.
void HandleDeviceChange(HWND dialog, WPARAM event);
