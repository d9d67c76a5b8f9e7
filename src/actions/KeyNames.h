// A key's name in the key sets: a key of the table goes by its own name
// ("Mail"), every other key by its Consumer usage, "0x" and four
// hexadecimal digits ("0x022D"), so that any key a keyboard has can be given
// a value without a list of them.
#pragma once
#include <windows.h>
extern "C" {
#include <hidsdi.h>
}

const int kKeyNameSize = 16;

void KeyValueName(USAGE usage, char name[kKeyNameSize]);
// The key outside the table that a value's name stands for, in either case
// of its letters; 0 when it stands for none (a table key's name or usage, a
// usage of 0, any other text).
USAGE OtherKeyOfValueName(const char* name);
