// The language the program's resources are taken in, chosen once at start-up
// and then used for every dialog, menu and string. The platform's own lookup
// picks a language by a fallback that differs between Windows 98 and Wine,
// and would mix languages where a resource exists in only one of them; here
// every lookup names the chosen language.
#pragma once
#include <windows.h>

// The three languages the resources exist in.
const LANGID kChineseTaiwan = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);
const LANGID kChineseChina = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
const LANGID kEnglishUS = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The ANSI code pages that hold each script's characters.
const UINT kCodePageTraditional = 950;
const UINT kCodePageSimplified = 936;

// Chinese for a Chinese user whose ANSI code page has the script's
// characters (Traditional in 950, Simplified in 936); English for any other.
LANGID ResourceLanguageFor(LANGID userLanguage, UINT ansiCodePage);
// Chooses from the user's language and the system's code page; what start-up
// calls.
void ChooseResourceLanguage();
void SetResourceLanguage(LANGID language);
// The chosen language; chosen from the system if nobody chose yet.
LANGID ResourceLanguage();

// A resource of the program in the chosen language, or NULL when it has none.
const void* FindLocalResource(LPCSTR type, UINT id);
// A string of the string table as the resource holds it, in UTF-16 without a
// terminating zero; NULL (and a length of 0) when there is no such string.
const WCHAR* FindLocalString(UINT id, int* length);
// A string of the string table in the system's ANSI code page; its length,
// 0 when there is no such string.
int LoadLocalString(UINT id, char* text, int size);
// A menu to be destroyed by the caller, or NULL.
HMENU LoadLocalMenu(UINT id);
