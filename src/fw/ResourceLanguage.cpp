#include "fw/ResourceLanguage.h"

static LANGID g_resourceLanguage;  // 0 until chosen; user-interface thread only

LANGID ResourceLanguageFor(LANGID userLanguage)
{
    return PRIMARYLANGID(userLanguage) == LANG_CHINESE ? kChineseTaiwan : kEnglishUS;
}

// Windows 98 has no user interface language of its own (that came with
// Windows 2000): the user's locale stands for it. Wine derives it from LANG.
void ChooseResourceLanguage() { SetResourceLanguage(ResourceLanguageFor(GetUserDefaultLangID())); }

void SetResourceLanguage(LANGID language) { g_resourceLanguage = language; }

LANGID ResourceLanguage()
{
    if (!g_resourceLanguage) ChooseResourceLanguage();
    return g_resourceLanguage;
}

const void* FindLocalResource(LPCSTR type, UINT id)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), ResourceLanguage());
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    return loaded ? LockResource(loaded) : NULL;
}

int LoadLocalString(UINT id, char* text, int size)
{
    if (!text || size <= 0) return 0;
    text[0] = '\0';
    // Strings are kept sixteen to a block, each as a length and that many
    // UTF-16 units, without a terminating zero.
    const WCHAR* entry = static_cast<const WCHAR*>(FindLocalResource(RT_STRING, (id >> 4) + 1));
    if (!entry) return 0;
    for (UINT skip = id & 15; skip > 0; --skip) entry += 1 + *entry;
    const int length = *entry;
    if (length == 0) return 0;
    const int written = WideCharToMultiByte(CP_ACP, 0, entry + 1, length, text, size - 1, NULL, NULL);
    text[written > 0 ? written : 0] = '\0';
    return written > 0 ? written : 0;
}

HMENU LoadLocalMenu(UINT id)
{
    const void* menu = FindLocalResource(RT_MENU, id);
    return menu ? LoadMenuIndirectA(menu) : NULL;
}
