// The notification filter has no class, so every arrival of any device
// reaches the dialog.
#include "app/KeyboardStartup.h"
#include <dbt.h>
#include "actions/KeyDispatcher.h"
#include "fw/WinApp.h"
#include "keyboard/KeyboardConnection.h"
#include "keyboard/KeyboardDevice.h"
#include "mixer/MixerControls.h"
#include "settings/SettingsPage.h"

static HDEVNOTIFY g_deviceNotification;  // never unregistered: it lives as long as the dialog

static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32, "the filter record is 32 bytes");

void RegisterForDeviceNotifications(HWND dialog)
{
    DEV_BROADCAST_DEVICEINTERFACE_A filter;
    ZeroMemory(&filter, sizeof filter);
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    g_deviceNotification = RegisterDeviceNotificationA(dialog, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!g_deviceNotification) MessageBoxA(dialog, "error", AppName(), MB_OK);
}

namespace {

// What follows the search for the keyboard.
void AfterKeyboardSearch(HWND dialog, KeyboardOpenReason reason, bool found)
{
    // Any device's arrival comes here (a mouse, a memory stick), so it must
    // not replace what the user typed and has not saved. Loading replaces the
    // text and clears the edits' modified state.
    if (reason == KeyboardOpenReason::kStartUp || !HasUnsavedSettingEdits(dialog)) LoadSettings(dialog);
    if (found) OpenMixerAndControls(dialog);  // else the available flags keep their values
}

}  // namespace

void ConnectKeyboard(HWND dialog, KeyboardOpenReason reason)
{
    AfterKeyboardSearch(dialog, reason, OpenKeyboard(dialog, KeyCodeOfUsage));
}

void DisconnectKeyboard()
{
    CloseMixer();
    CloseKeyboard();
}

void HandleDeviceChange(HWND dialog, WPARAM event)
{
    if (event != DBT_DEVICEARRIVAL) return;
    if (KeyboardDevice.open.load()) {
        if (SwitchToMakerKeyboard(dialog, KeyCodeOfUsage)) {
            CloseMixer();
            AfterKeyboardSearch(dialog, KeyboardOpenReason::kDeviceArrival, true);
        }
        return;
    }
    DisconnectKeyboard();
    ConnectKeyboard(dialog, KeyboardOpenReason::kDeviceArrival);
}
