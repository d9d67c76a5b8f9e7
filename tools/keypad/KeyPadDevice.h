// The key pad's simulated keyboard: its entry among the simulated devices and
// the named pipe it serves, one input report per message.
#pragma once
#include <windows.h>

const char kKeyPadPipePath[] = "\\\\.\\pipe\\MMKeyboard KeyPad";

// Lists the key pad's keyboard under the simulator's devices: its own entry
// again if it has one, otherwise the first free index.
bool RegisterKeyPadDevice();

enum class PadState { kUnplugged, kWaiting, kConnected };

// Creates the pipe and waits for MMKeyboard to open it.
bool PlugInPad();
// Closes the pipe: to MMKeyboard the keyboard is gone.
void UnplugPad();
PadState GetPadState();
// Signalled when a client opens the pipe or lets it go; then call OnPadEvent.
HANDLE PadEvent();
void OnPadEvent();
// Sends one report; false when no client holds the pipe (it then waits for
// the next one).
bool SendPadReport(const BYTE* report, DWORD length);
