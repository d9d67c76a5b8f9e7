// The keys of the multimedia keyboard as the key pad offers them. Their
// names are the program's own (the string table, in the program's language).
#pragma once
#include <windows.h>

struct KeyPadKey {
    DWORD keyCode;  // the key's bit in the KeyCode; 0: a standard keyboard's key alone
    WORD usage;     // the Consumer usage a standard keyboard sends for it
};

extern const KeyPadKey kKeyPadKeys[];
extern const int kKeyPadKeyCount;
