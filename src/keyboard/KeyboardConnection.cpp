// The keyboard connection. Removal is not watched: the reader's read fails
// and clears the open flag (the last standard reader's does), and the next device arrival, whatever the device,
// closes what is left and opens everything again. The notification filter has
// no class, so every arrival of any device reaches the dialog.
#include "keyboard/KeyboardConnection.h"
#include <dbt.h>
#include "fw/WinApp.h"
#include "keyboard/KeyCodes.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/Readers.h"
#include "keyboard/StandardReaders.h"
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

// What follows the search for the keyboard, whose result is in the open flag.
void StartKeyboard(HWND dialog, KeyboardOpenReason reason)
{
    // A reader after every open, found or not: it reads the keyboard found
    // by a later open too.
    StartReaders(dialog, WM_KEYBOARD_KEYS);

    // Any device's arrival comes here (a mouse, a memory stick), so it must
    // not replace what the user typed and has not saved. Loading replaces the
    // text and clears the edits' modified state.
    if (reason == KeyboardOpenReason::kStartUp || !HasUnsavedSettingEdits(dialog)) LoadSettings(dialog);

    if (!KeyboardDevice.open.load()) return;  // the available flags keep their values
    OpenMixerAndControls(dialog);
}

// A standard keyboard gives way to the maker's model as soon as that
// arrives. The model is found before the standard keyboards are let go, and
// kept open from there: a device need not allow its interface opened twice.
// Without the model, the arrival may be a standard collection come back or
// new: it is read beside the others.
void SwitchToMakerKeyboard(HWND dialog)
{
    ReleaseUnpluggedStandardCollections();
    USHORT inputLength = 0, outputLength = 0;
    HANDLE maker = SearchWhileStandardRead(&inputLength, &outputLength);
    if (!maker) {
        StartReaders(dialog, WM_KEYBOARD_KEYS);
        return;
    }
    CloseKeyboard();
    UseMakerKeyboard(maker, inputLength, outputLength);
    KeyboardDevice.open.store(true);
    StartKeyboard(dialog, KeyboardOpenReason::kDeviceArrival);
}

}  // namespace

void OpenKeyboard(HWND dialog, KeyboardOpenReason reason)
{
    KeyboardDevice.open.store(FindKeyboard());
    StartKeyboard(dialog, reason);
}

void CloseKeyboard()
{
    CloseMixer();
    StopReaders();
}

void HandleDeviceChange(HWND dialog, WPARAM event)
{
    if (event != DBT_DEVICEARRIVAL) return;
    if (KeyboardDevice.open.load()) {
        if (KeyboardDevice.kind.load() == KeyboardKind::kStandard) SwitchToMakerKeyboard(dialog);
        return;
    }
    CloseKeyboard();
    OpenKeyboard(dialog, KeyboardOpenReason::kDeviceArrival);
}
