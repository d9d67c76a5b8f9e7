// A standard keyboard's keys: the consumer-control usages that stand for the
// keys of the KeyCode. Any keyboard whose extra keys follow the USB standard
// reports them as usages of the Consumer page; they become the same key bits
// as the maker's models give, so the dispatcher serves both alike.
#pragma once
#include <windows.h>

// The key bits of the usages pressed: each usage of the table adds its key,
// every other usage is ignored. None pressed is kKeysReleased; two table keys
// give a value of two bits, which names no key.
DWORD KeyCodeOfUsages(const WORD* usages, ULONG count);
// The key bits of the table's usages from first to last.
DWORD KeysOfUsageRange(WORD first, WORD last);
// The usage that stands for a key bit, 0 when none does.
WORD UsageOfKey(DWORD keyCode);
