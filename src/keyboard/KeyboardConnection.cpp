// The keyboard connection. Removal is not watched: the reader's read fails
// and clears the open flag, and the next device arrival, whatever the device,
// closes what is left and opens everything again. The notification filter has
// no class, so every arrival of any device reaches the dialog.
#include "keyboard/KeyboardConnection.h"
#include <dbt.h>
#include "fw/WinApp.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/ReaderThread.h"
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

void OpenKeyboard(HWND dialog, KeyboardOpenReason reason)
{
    KeyboardDevice.open.store(FindKeyboard());
    // A reader after every open, found or not: it reads the keyboard found
    // by a later open too.
    StartReaderThread(dialog, WM_KEYBOARD_KEYS);

    // Any device's arrival comes here (a mouse, a memory stick), so it must
    // not replace what the user typed and has not saved. Loading replaces the
    // text and clears the edits' modified state.
    if (reason == KeyboardOpenReason::kStartUp || !HasUnsavedSettingEdits(dialog)) LoadSettings(dialog);

    if (!KeyboardDevice.open.load()) return;  // the available flags keep their values
    OpenMixerAndControls(dialog);
}

void CloseKeyboard()
{
    CloseMixer();
    // The reader goes before the handle it reads: a handle value closed under
    // a reader could be reused for another object.
    RetireReaderThread();
    HANDLE device = KeyboardDevice.handle.exchange(NULL);
    if (device) CloseHandle(device);
}

void HandleDeviceChange(HWND dialog, WPARAM event)
{
    if (event != DBT_DEVICEARRIVAL || KeyboardDevice.open.load()) return;
    CloseKeyboard();
    OpenKeyboard(dialog, KeyboardOpenReason::kDeviceArrival);
}
