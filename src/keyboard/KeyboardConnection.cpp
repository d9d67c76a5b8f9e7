#include "keyboard/KeyboardConnection.h"
#include "app/KeyboardDialog.h"

// Placeholder until the connection lands: the settings load, nothing else.
void RegisterForDeviceNotifications(HWND) {}
void OpenKeyboard(KeyboardDialog& dialog, KeyboardOpenReason) { dialog.LoadSettings(); }
void CloseKeyboard() {}

LRESULT KeyboardDialog::OnDeviceChange(WPARAM, LPARAM) { return TRUE; }
