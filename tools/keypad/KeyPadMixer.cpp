// The simulated mixer's state is the registry values that MMKeyboard-sim.exe
// reads and writes on every step; the view reads them ten times a second and
// redraws only on a change.
#include "KeyPadMixer.h"
#include "device/Simulator.h"

namespace {

const UINT_PTR kRefreshTimerId = 1;
const UINT kRefreshMs = 100;

HWND g_view;

// A newcomer's first run: a mixer with all five controls at half volume,
// unmuted.
void ListMixerIfNone()
{
    DWORD present = 0;
    if (ReadMixerValue(kMixerPresent, &present)) return;
    const struct { const char* name; DWORD value; } values[] = {
        { kMixerVolumeMax, 65535 }, { kMixerVolume, 32767 }, { kMixerBassMax, 65535 }, { kMixerBass, 32767 },
        { kMixerTrebleMax, 65535 }, { kMixerTreble, 32767 }, { kMixerMute, 0 },        { kMixerLoudness, 0 },
        { kMixerPresent, 1 },
    };
    for (const auto& v : values) PutMixerValue(v.name, v.value);
}

// Appends "Name value/maximum" for a fader, "Name on/off" for a toggle, or
// nothing when the control does not exist.
void AppendControl(const char* name, const char* maximumName, char* text)
{
    DWORD value = 0, maximum = 0;
    char part[64];
    if (maximumName) {
        if (!ReadMixerValue(maximumName, &maximum)) return;
        if (!ReadMixerValue(name, &value)) value = 0;
        wsprintfA(part, "   %s %lu/%lu", name, value, maximum);
    } else {
        if (!ReadMixerValue(name, &value)) return;
        wsprintfA(part, "   %s %s", name, value ? "on" : "off");
    }
    lstrcatA(text, part);
}

void ComposeMixerText(char* text)
{
    DWORD present = 0;
    if (!ReadMixerValue(kMixerPresent, &present) || !present) {
        lstrcpyA(text, "Mixer: none");
        return;
    }
    lstrcpyA(text, "Mixer:");
    AppendControl(kMixerVolume, kMixerVolumeMax, text);
    AppendControl(kMixerBass, kMixerBassMax, text);
    AppendControl(kMixerTreble, kMixerTrebleMax, text);
    AppendControl(kMixerMute, NULL, text);
    AppendControl(kMixerLoudness, NULL, text);
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
