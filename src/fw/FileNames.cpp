#include "fw/FileNames.h"
#include <windows.h>

const char* FileNameOf(const char* path)
{
    const char* name = path;
    for (const char* c = path; *c; c = CharNextA(c))
        if (*c == '\\' || *c == '/' || *c == ':') name = c + 1;
    return name;
}

const char* ExtensionOf(const char* fileName)
{
    const char* dot = NULL;
    const char* c = fileName;
    for (; *c; c = CharNextA(c))
        if (*c == '.') dot = c;
    return dot ? dot : c;
}
