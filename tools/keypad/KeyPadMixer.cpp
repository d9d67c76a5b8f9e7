// The simulated mixer's state is the registry values that MMKeyboard-sim.exe
// reads and writes on every step (HKCU\Software\MMKeyboard Simulator\Mixer);
// the view reads them ten times a second and redraws only on a change.
#include "KeyPadMixer.h"

namespace {

const char kMixerKey[] = "Software\\MMKeyboard Simulator\\Mixer";
const UINT_PTR kRefreshTimerId = 1;
const UINT kRefreshMs = 100;

HWND g_view;

bool ReadValue(HKEY key, const char* name, DWORD* value)
{
    DWORD type = 0, size = sizeof *value;
    return RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
           type == REG_DWORD;
}

// A newcomer's first run: a mixer at half volume, unmuted.
void ListMixerIfNone()
{
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kMixerKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, &disposition) !=
        ERROR_SUCCESS)
        return;
    if (disposition == REG_CREATED_NEW_KEY) {
        const struct { const char* name; DWORD value; } values[] = {
            { "Present", 1 }, { "VolumeMax", 65535 }, { "Volume", 32767 }, { "BassMax", 65535 },
            { "Bass", 32767 }, { "TrebleMax", 65535 }, { "Treble", 32767 }, { "Mute", 0 }, { "Loudness", 0 },
        };
        for (const auto& v : values)
            RegSetValueExA(key, v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.value), sizeof v.value);
    }
    RegCloseKey(key);
}

// Appends "Name value/maximum" for a fader, "Name on/off" for a toggle, or
// nothing when the control does not exist.
void AppendControl(HKEY key, const char* name, const char* maximumName, char* text)
{
    DWORD value = 0, maximum = 0;
    char part[64];
    if (maximumName) {
        if (!ReadValue(key, maximumName, &maximum)) return;
        if (!ReadValue(key, name, &value)) value = 0;
        wsprintfA(part, "   %s %lu/%lu", name, value, maximum);
    } else {
        if (!ReadValue(key, name, &value)) return;
        wsprintfA(part, "   %s %s", name, value ? "on" : "off");
    }
    lstrcatA(text, part);
}

void ComposeMixerText(char* text)
{
    HKEY key;
    DWORD present = 0;
    lstrcpyA(text, "Mixer: none");
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMixerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    if (ReadValue(key, "Present", &present) && present) {
        lstrcpyA(text, "Mixer:");
        AppendControl(key, "Volume", "VolumeMax", text);
        AppendControl(key, "Bass", "BassMax", text);
        AppendControl(key, "Treble", "TrebleMax", text);
        AppendControl(key, "Mute", NULL, text);
        AppendControl(key, "Loudness", NULL, text);
    }
    RegCloseKey(key);
}

}  // namespace

void CreateMixerView(HWND keyPad, int x, int y, int width, int height)
{
    ListMixerIfNone();
    g_view = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, x, y, width, height,
                             keyPad, NULL, NULL, NULL);
    RefreshMixerView();
    SetTimer(keyPad, kRefreshTimerId, kRefreshMs, NULL);
}

void RefreshMixerView()
{
    if (!g_view) return;
    char text[256], shown[256];
    ComposeMixerText(text);
    GetWindowTextA(g_view, shown, sizeof shown);
    if (lstrcmpA(text, shown) != 0) SetWindowTextA(g_view, text);
}
