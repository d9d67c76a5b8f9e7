#include "fw/ResourceLanguage.h"

static LANGID g_resourceLanguage;  // 0 until chosen; user-interface thread only

LANGID ResourceLanguageFor(LANGID userLanguage, UINT ansiCodePage)
{
    if (PRIMARYLANGID(userLanguage) != LANG_CHINESE) return kEnglishUS;
    if (ansiCodePage == kCodePageTraditional) return kChineseTaiwan;
    if (ansiCodePage == kCodePageSimplified) return kChineseChina;
    return kEnglishUS;
}

// Windows 98 has no user interface language of its own (that came with
// Windows 2000): the user's locale stands for it. But the locale is only a
// Regional Settings choice; what the dialogs can show is the ANSI code page
// of the installed Windows, into which every text is converted. An English
// Windows set to Chinese (Taiwan) has code page 1252 and would show Chinese
// as question marks. Wine derives the locale from LANG (LC_MESSAGES) and the
// code page from LC_CTYPE.
void ChooseResourceLanguage() { SetResourceLanguage(ResourceLanguageFor(GetUserDefaultLangID(), GetACP())); }

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

const WCHAR* FindLocalString(UINT id, int* length)
{
    *length = 0;
    // Strings are kept sixteen to a block, each as a length and that many
    // UTF-16 units, without a terminating zero.
    const WCHAR* entry = static_cast<const WCHAR*>(FindLocalResource(RT_STRING, (id >> 4) + 1));
    if (!entry) return NULL;
    for (UINT skip = id & 15; skip > 0; --skip) entry += 1 + *entry;
    *length = *entry;
    return *length ? entry + 1 : NULL;
}

int LoadLocalString(UINT id, char* text, int size)
{
    if (!text || size <= 0) return 0;
    text[0] = '\0';
    int length;
    const WCHAR* string = FindLocalString(id, &length);
    if (!string) return 0;
    const int written = WideCharToMultiByte(CP_ACP, 0, string, length, text, size - 1, NULL, NULL);
    text[written > 0 ? written : 0] = '\0';
    return written > 0 ? written : 0;
}

HMENU LoadLocalMenu(UINT id)
{
    const void* menu = FindLocalResource(RT_MENU, id);
    return menu ? LoadMenuIndirectA(menu) : NULL;
}
