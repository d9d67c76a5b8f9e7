// The key pad's simulated keyboard: its entry among the simulated devices and
// the named pipe it serves, one input report per message to every open of it.
#pragma once
#include <windows.h>
#include "device/Simulator.h"

const char kKeyPadPipePath[] = "\\\\.\\pipe\\MMKeyboard KeyPad";

// Lists the key pad's keyboard under the simulator's devices: its own entry
// again if it has one, otherwise the first free index. The keyboard is one of
// the maker's models, or a standard one whose reports hold usages (array
// layout).
bool RegisterKeyPadDevice(bool standard);
bool IsStandardPad();

enum class PadState { kUnplugged, kWaiting, kConnected };

// Creates the pipe's instances and waits for MMKeyboard to open them.
bool PlugInPad();
// Closes every instance: to MMKeyboard the keyboard is gone.
void UnplugPad();
// kConnected while at least one client holds the pipe; how many do.
PadState GetPadState();
int PadClients();
// The events signalled when a client opens an instance or lets it go; then
// call OnPadEvent. Returns how many there are (none while unplugged).
DWORD PadEvents(HANDLE events[kSimulatedOpens]);
void OnPadEvent();
// Sends the report of a key, or of none (0, 0), in the keyboard's layout to
// every client: the maker's model sends the key bits, a standard keyboard
// the usage. False when none holds the pipe.
bool SendPadKeys(DWORD keyCode, WORD usage);
