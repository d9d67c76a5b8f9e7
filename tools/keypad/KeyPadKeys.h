// The keys of the multimedia keyboard as the key pad offers them, and the
// input report the keyboard sends for each.
#pragma once
#include <windows.h>

struct KeyPadKey {
    const char* name;
    DWORD keyCode;       // the key's bit in the KeyCode
    const char* effect;  // what the user should see happen
};

extern const KeyPadKey kKeyPadKeys[];
extern const int kKeyPadKeyCount;

// Report ID byte, then the three data bytes, most significant first.
const DWORD KEYPAD_REPORT_LENGTH = 4;
void BuildKeyReport(DWORD keyCode, BYTE report[KEYPAD_REPORT_LENGTH]);
