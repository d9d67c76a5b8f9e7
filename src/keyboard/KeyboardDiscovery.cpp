#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/KeyboardDevice.h"

KeyboardDeviceRecord KeyboardDevice;

// Placeholder until discovery lands: no keyboard is ever found.
bool FindKeyboard()
{
    KeyboardDevice.handle.store(NULL);
    return false;
}
