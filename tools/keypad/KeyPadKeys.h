// The keys of the multimedia keyboard as the key pad offers them.
#pragma once
#include <windows.h>

struct KeyPadKey {
    const char* name;
    DWORD keyCode;       // the key's bit in the KeyCode
    const char* effect;  // what the user should see happen
};

extern const KeyPadKey kKeyPadKeys[];
extern const int kKeyPadKeyCount;
