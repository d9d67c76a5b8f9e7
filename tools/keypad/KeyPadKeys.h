// The keys of the multimedia keyboard as the key pad offers them.
#pragma once
#include <windows.h>

struct KeyPadKey {
    const char* name;
    DWORD keyCode;       // the key's bit in the KeyCode; 0: a standard keyboard's key alone
    WORD usage;          // the Consumer usage a standard keyboard sends for it
    const char* effect;  // what the user should see happen
};

extern const KeyPadKey kKeyPadKeys[];
extern const int kKeyPadKeyCount;
