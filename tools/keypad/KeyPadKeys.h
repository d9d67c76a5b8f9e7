// The keys of the multimedia keyboard as the key pad offers them.
#pragma once
#include <windows.h>

struct KeyPadKey {
    const char* name;
    DWORD keyCode;  // the key's bit in the KeyCode
};

extern const KeyPadKey kKeyPadKeys[];
extern const int kKeyPadKeyCount;
