#include "app/KeyboardDialog.h"

// Placeholder until the settings page lands.
void KeyboardDialog::LoadSettings() {}
void KeyboardDialog::SaveSettings() {}
void KeyboardDialog::BrowseForProgram(int) {}

LRESULT KeyboardDialog::OnMailBrowse(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDialog::OnMediaBrowse(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDialog::OnSave(WPARAM, LPARAM) { return 0; }
LRESULT KeyboardDialog::OnRevert(WPARAM, LPARAM) { return 0; }
