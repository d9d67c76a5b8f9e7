// KeyPad: a window with one button per key of the multimedia keyboard, which
// plays the keyboard for MMKeyboard-sim.exe. Holding a button sends the key's
// report, letting go sends the all-released report; "Unplug" / "Plug in"
// takes the keyboard away and brings it back. The keyboard is one of the
// maker's models or a standard one (its reports hold usages), as chosen below
// the buttons or with "/standard" on the command line; the volume knob taps
// volume up or down once per notch, as a knob's quick press and release do.
// Below the buttons it shows the simulated mixer and the last key sent. The
// keys are named as MMKeyboard names them, in the language it chooses.
#include <windows.h>
#include <dbt.h>
#include "KeyPadDevice.h"
#include "KeyPadKeys.h"
#include "KeyPadMixer.h"
#include "app/ActionWords.h"
#include "device/Simulator.h"
#include "fw/Wnd.h"
#include "keyboard/KeyCodes.h"

namespace {

const int kColumns = 4;
const int kButtonWidth = 120, kButtonHeight = 28, kGap = 6;
const int kFirstKeyId = 1000;
const int kPlugId = 900;
const int kStatusId = 901;
const int kLastKeyId = 902;
const int kMakerChoiceId = 903;
const int kStandardChoiceId = 904;
const int kKnobId = 905;
const int kKnobNotches = 40;
const char kStandardOption[] = "/standard";
const UINT_PTR kAnnounceTimerId = 2;  // 1 is the mixer view's
const UINT kAnnounceMs = 2000;

HWND g_window;
WNDPROC g_buttonProc;
int g_knobPosition = kKnobNotches / 2;

void ShowState()
{
    const char* text = "Unplugged";
    if (GetPadState() == PadState::kWaiting) text = "Plugged in, waiting for MMKeyboard";
    if (GetPadState() == PadState::kConnected) text = "Plugged in, MMKeyboard is listening";
    // Each open reads every report, as on a real keyboard: two copies would both act.
    if (PadClients() > 1) text = "Plugged in, more than one program is listening";
    SetDlgItemTextA(g_window, kStatusId, text);
    SetDlgItemTextA(g_window, kPlugId, GetPadState() == PadState::kUnplugged ? "Plug in" : "Unplug");
}

void SendKey(DWORD keyCode, WORD usage)
{
    SendPadKeys(keyCode, usage);
    ShowState();
}

// Tells every top-level window that a device has arrived, as the system does
// when a keyboard is plugged in. The record goes along: the notification
// carries one and some receivers read it.
void AnnounceArrival()
{
    DEV_BROADCAST_DEVICEINTERFACE_A arrival;
    ZeroMemory(&arrival, sizeof arrival);
    arrival.dbcc_size = sizeof arrival;
    arrival.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    DWORD_PTR result;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&arrival),
                        SMTO_ABORTIFHUNG, 2000, &result);
}

void PlugIn()
{
    PlugInPad();
    ShowState();
    AnnounceArrival();
}

// Only a standard keyboard has the keys outside the KeyCode.
void EnableOtherKeys()
{
    for (int i = 0; i < kKeyPadKeyCount; ++i)
        if (!kKeyPadKeys[i].keyCode) EnableWindow(GetDlgItem(g_window, kFirstKeyId + i), IsStandardPad());
}

// Another keyboard: the old one is unplugged and the new one plugged in.
void ChooseKeyboard(bool standard)
{
    CheckRadioButton(g_window, kMakerChoiceId, kStandardChoiceId, standard ? kStandardChoiceId : kMakerChoiceId);
    if (standard == IsStandardPad()) return;
    UnplugPad();
    RegisterKeyPadDevice(standard);
    EnableOtherKeys();
    PlugIn();
}

const KeyPadKey& PadKey(DWORD keyCode)
{
    int i = 0;
    while (i + 1 < kKeyPadKeyCount && kKeyPadKeys[i].keyCode != keyCode) ++i;
    return kKeyPadKeys[i];
}

// What the pad sent last: what it does is up to MMKeyboard and the owner's
// key sets.
void ShowSent(const KeyPadKey& key, int times)
{
    char name[64], text[128];
    KeyDisplayName(key.usage, name, sizeof name);
    if (times == 1) wsprintfA(text, "Sent: %s", name);
    else wsprintfA(text, "Sent: %s, %d times (the volume knob)", name, times);
    SetDlgItemTextA(g_window, kLastKeyId, text);
}

// One notch of the knob: a press and release at once.
void TurnKnob(int notches)
{
    const KeyPadKey& key = PadKey(notches > 0 ? kKeyVolumeUp : kKeyVolumeDown);
    for (int i = 0; i < (notches > 0 ? notches : -notches); ++i) {
        SendKey(key.keyCode, key.usage);
        SendKey(0, 0);
    }
    ShowSent(key, notches > 0 ? notches : -notches);
}

void OnKnob(WPARAM request)
{
    HWND knob = GetDlgItem(g_window, kKnobId);
    int position = g_knobPosition;
    switch (LOWORD(request)) {
    case SB_LINELEFT: --position; break;
    case SB_LINERIGHT: ++position; break;
    case SB_PAGELEFT: position -= 5; break;
    case SB_PAGERIGHT: position += 5; break;
    case SB_THUMBTRACK: position = HIWORD(request); break;
    default: return;
    }
    if (position < 0) position = 0;
    if (position > kKnobNotches) position = kKnobNotches;
    SetScrollPos(knob, SB_CTL, position, TRUE);
    TurnKnob(position - g_knobPosition);
    g_knobPosition = position;
}

// Buttons report only clicks; the key's press and release need the mouse.
// The button's own handling is left out: it would take the focus, and with
// it the foreground, from the program the key is meant for; a keyboard's
// key never does.
LRESULT CALLBACK KeyButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int key = GetDlgCtrlID(button) - kFirstKeyId;
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        SetCapture(button);
        SendMessageA(button, BM_SETSTATE, TRUE, 0);
        SendKey(kKeyPadKeys[key].keyCode, kKeyPadKeys[key].usage);
        ShowSent(kKeyPadKeys[key], 1);
        return 0;
    }
    if (message == WM_LBUTTONUP) {
        if (GetCapture() == button) {
            ReleaseCapture();
            SendMessageA(button, BM_SETSTATE, FALSE, 0);
            SendKey(0, 0);
        }
        return 0;
    }
    return CallWindowProcA(g_buttonProc, button, message, wParam, lParam);
}

HWND AddButton(HWND parent, const char* text, int id, int x, int y, int width)
{
    return CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, width, kButtonHeight,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), NULL, NULL);
}

void CreateControls(HWND window)
{
    for (int i = 0; i < kKeyPadKeyCount; ++i) {
        const int x = kGap + (i % kColumns) * (kButtonWidth + kGap);
        const int y = kGap + (i / kColumns) * (kButtonHeight + kGap);
        char name[64];
        KeyDisplayName(kKeyPadKeys[i].usage, name, sizeof name);
        HWND button = AddButton(window, name, kFirstKeyId + i, x, y, kButtonWidth);
        g_buttonProc = ReplaceWindowProc(button, KeyButtonProc);
    }
    const int rows = (kKeyPadKeyCount + kColumns - 1) / kColumns;
    const int y = kGap + rows * (kButtonHeight + kGap) + kGap;
    AddButton(window, "Unplug", kPlugId, kGap, y, kButtonWidth);
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 2 * kGap + kButtonWidth, y + 6,
                    3 * (kButtonWidth + kGap) - kGap, kButtonHeight, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)), NULL, NULL);
    // Two lines for the mixer: its five controls do not fit in one at this
    // width.
    const int width = kColumns * (kButtonWidth + kGap) - kGap;
    const int choiceY = y + kButtonHeight + kGap;
    CreateWindowExA(0, "BUTTON", "Maker's model", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP, kGap,
                    choiceY, kButtonWidth, kButtonHeight, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMakerChoiceId)), NULL, NULL);
    CreateWindowExA(0, "BUTTON", "Standard keyboard", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 2 * kGap + kButtonWidth,
                    choiceY, kButtonWidth + 20, kButtonHeight, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStandardChoiceId)), NULL, NULL);
    CreateWindowExA(0, "STATIC", "Volume knob:", WS_CHILD | WS_VISIBLE | SS_RIGHT, 2 * (kButtonWidth + kGap) + 20,
                    choiceY + 6, kButtonWidth - 30, kButtonHeight, window, NULL, NULL, NULL);
    HWND knob = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 3 * (kButtonWidth + kGap) - 4,
                                choiceY + 4, kButtonWidth, kButtonHeight - 8, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kKnobId)), NULL, NULL);
    SetScrollRange(knob, SB_CTL, 0, kKnobNotches, FALSE);
    SetScrollPos(knob, SB_CTL, g_knobPosition, TRUE);
    const int mixerY = choiceY + kButtonHeight + kGap;
    CreateMixerView(window, kGap, mixerY, width, 2 * kButtonHeight);
    CreateWindowExA(0, "STATIC", "Sent: nothing yet.",
                    WS_CHILD | WS_VISIBLE | SS_LEFT, kGap, mixerY + 2 * kButtonHeight + kGap, width, kButtonHeight,
                    window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLastKeyId)), NULL, NULL);
}

LRESULT CALLBACK KeyPadProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HSCROLL:
        OnKnob(wParam);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kMakerChoiceId || LOWORD(wParam) == kStandardChoiceId)
            ChooseKeyboard(LOWORD(wParam) == kStandardChoiceId);
        if (LOWORD(wParam) == kPlugId) {
            if (GetPadState() == PadState::kUnplugged) PlugIn();
            else {
                UnplugPad();
                ShowState();
            }
        }
        return 0;
    case WM_TIMER:
        // MMKeyboard may have missed the arrival: started after it, or
        // before it listened for devices, as when both start together.
        if (wParam == kAnnounceTimerId) {
            if (GetPadState() == PadState::kWaiting) AnnounceArrival();
        } else {
            RefreshMixerView();
        }
        return 0;
    case WM_MOUSEACTIVATE:
        // A click on a key leaves the foreground window in front, as a
        // keyboard's key does: the player or browser there gets its chord.
        // The caption still activates, so the pad can be moved.
        if (LOWORD(lParam) == HTCLIENT) return MA_NOACTIVATE;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = KeyPadProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "MMKeyboardKeyPad";
    if (!RegisterClassA(&wc)) return 1;

    // Keys, plug and status, keyboard and knob, mixer (2), last key.
    const int rows = (kKeyPadKeyCount + kColumns - 1) / kColumns + 5;
    RECT frame = { 0, 0, kGap + kColumns * (kButtonWidth + kGap), 2 * kGap + rows * (kButtonHeight + kGap) + kGap };
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    // Top right: MMKeyboard's dialog opens at the top left of the run's
    // desktop, and the stand-ins open below it.
    RECT workArea = { 0, 0, 0, 0 };
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const int width = frame.right - frame.left;
    const int left = workArea.right - width > workArea.left ? workArea.right - width : workArea.left;
    g_window = CreateWindowExA(0, wc.lpszClassName, "MMKeyboard Key Pad", style, left, workArea.top, width,
                               frame.bottom - frame.top, NULL, NULL, instance, NULL);
    if (!g_window) return 1;
    CreateControls(g_window);
    const bool standard = lstrcmpiA(commandLine, kStandardOption) == 0;
    CheckRadioButton(g_window, kMakerChoiceId, kStandardChoiceId, standard ? kStandardChoiceId : kMakerChoiceId);
    RegisterKeyPadDevice(standard);
    EnableOtherKeys();
    ShowWindow(g_window, showCommand);
    PlugIn();
    SetTimer(g_window, kAnnounceTimerId, kAnnounceMs, NULL);

    // Wait for messages and for MMKeyboard opening or leaving the pipe at once.
    for (;;) {
        HANDLE pad[kSimulatedOpens];
        const DWORD opens = PadEvents(pad);
        const DWORD woke = MsgWaitForMultipleObjects(opens, pad, FALSE, INFINITE, QS_ALLINPUT);
        if (woke < WAIT_OBJECT_0 + opens) {
            OnPadEvent();
            ShowState();
            continue;
        }
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                UnplugPad();
                return static_cast<int>(msg.wParam);
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
