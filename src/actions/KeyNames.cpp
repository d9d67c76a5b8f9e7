#include "actions/KeyNames.h"
#include "actions/KeyDispatcher.h"

void KeyValueName(USAGE usage, char name[kKeyNameSize])
{
    for (int key = 0; key < TableKeyCount(); ++key) {
        if (TableKey(key).usage == usage) {
            lstrcpynA(name, TableKey(key).name, kKeyNameSize);
            return;
        }
    }
    wsprintfA(name, "0x%04X", usage);
}

USAGE OtherKeyOfValueName(const char* name)
{
    if (name[0] != '0' || (name[1] != 'x' && name[1] != 'X')) return 0;
    unsigned usage = 0;
    for (int at = 2; at < 6; ++at) {
        const int digit = HexDigit(name[at]);
        if (digit < 0) return 0;
        usage = usage * 16 + digit;
    }
    return name[6] || KeyCodeOfUsage(static_cast<USAGE>(usage)) ? 0 : static_cast<USAGE>(usage);
}
