// The key pad's simulated keyboard: its entry among the simulated devices and
// the named pipe it serves, one input report per message.
#pragma once
#include <windows.h>

const char kKeyPadPipePath[] = "\\\\.\\pipe\\MMKeyboard KeyPad";

// Lists the key pad's keyboard under the simulator's devices: its own entry
// again if it has one, otherwise the first free index. The keyboard is one of
// the maker's models, or a standard one whose reports hold usages (array
// layout).
bool RegisterKeyPadDevice(bool standard);
bool IsStandardPad();

enum class PadState { kUnplugged, kWaiting, kConnected };

// Creates the pipe and waits for MMKeyboard to open it.
bool PlugInPad();
// Closes the pipe: to MMKeyboard the keyboard is gone.
void UnplugPad();
PadState GetPadState();
// Signalled when a client opens the pipe or lets it go; then call OnPadEvent.
HANDLE PadEvent();
void OnPadEvent();
// Sends the report of the keys, in the keyboard's layout; false when no
// client holds the pipe (it then waits for the next one).
bool SendPadKeys(DWORD keyCode);
