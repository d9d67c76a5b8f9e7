#include "fw/BoundedText.h"
#include <windows.h>

bool JoinText(char* out, int size, const char* first, const char* second, const char* third)
{
    if (!out || size <= 0) return false;
    out[0] = '\0';
    const char* parts[] = { first, second, third };
    int length = 0;
    for (const char* part : parts) {
        if (!part) continue;
        const int partLength = lstrlenA(part);
        // lstrcpynA copies at most count - 1 characters and always ends with a zero.
        lstrcpynA(out + length, part, size - length);
        if (length + partLength >= size) return false;
        length += partLength;
    }
    return true;
}

bool FormatText(char* out, int size, const char* format, const char* text)
{
    const char* place = format;
    while (*place && !(place[0] == '%' && place[1] == 's')) ++place;
    if (!*place) return JoinText(out, size, format, "");
    const int before = static_cast<int>(place - format) + 1;
    if (before > size) return JoinText(out, size, format, "");
    lstrcpynA(out, format, before);
    return JoinText(out + before - 1, size - before + 1, text, place + 2);
}
