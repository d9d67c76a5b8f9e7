// The chords a stand-in received, in words: "Ctrl+P", "Alt+Left", "Esc".
// The modifiers held when a key goes down decorate it; parts that arrive
// together, as the two parts of the CD player's chord do, share a line:
// "Alt+K, Down". A user pressing keys by hand starts a new line each time.
#pragma once
#include <windows.h>

const int kChordLines = 32;  // the newest are kept
const int kChordLineSize = 64;
const DWORD kSameChordMs = 300;

struct ChordList {
    char lines[kChordLines][kChordLineSize];  // a ring: line n is lines[n % kChordLines]
    int count;                                // lines ever started
    DWORD lastPartTime;
    bool ctrl, alt, shift;
};

inline bool* HeldModifier(ChordList* list, BYTE virtualKey)
{
    switch (virtualKey) {
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: return &list->ctrl;
    case VK_MENU: case VK_LMENU: case VK_RMENU: return &list->alt;
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: return &list->shift;
    }
    return NULL;
}

inline void NameKey(BYTE virtualKey, char* name)
{
    const char* known = NULL;
    switch (virtualKey) {
    case VK_LEFT: known = "Left"; break;
    case VK_RIGHT: known = "Right"; break;
    case VK_UP: known = "Up"; break;
    case VK_DOWN: known = "Down"; break;
    case VK_ESCAPE: known = "Esc"; break;
    case VK_SPACE: known = "Space"; break;
    case VK_RETURN: known = "Enter"; break;
    case VK_TAB: known = "Tab"; break;
    case VK_OEM_PERIOD: known = "Full stop"; break;
    }
    if (known) lstrcpyA(name, known);
    else if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        wsprintfA(name, "%c", virtualKey);
    else if (virtualKey >= VK_F1 && virtualKey <= VK_F24) wsprintfA(name, "F%d", virtualKey - VK_F1 + 1);
    else wsprintfA(name, "key %d", virtualKey);
}

// A key went down at the message's time; true when a line changed.
inline bool NoteKeyDown(ChordList* list, BYTE virtualKey, bool repeated, DWORD time)
{
    if (repeated) return false;
    if (bool* held = HeldModifier(list, virtualKey)) {
        *held = true;
        return false;
    }
    char key[16], part[40];
    NameKey(virtualKey, key);
    wsprintfA(part, "%s%s%s%s", list->ctrl ? "Ctrl+" : "", list->alt ? "Alt+" : "", list->shift ? "Shift+" : "",
              key);
    char* line = list->lines[(list->count - 1 + kChordLines) % kChordLines];
    const bool together = list->count > 0 && time - list->lastPartTime <= kSameChordMs;
    if (together && lstrlenA(line) + 2 + lstrlenA(part) < kChordLineSize) {
        lstrcatA(line, ", ");
        lstrcatA(line, part);
    } else {
        lstrcpyA(list->lines[list->count % kChordLines], part);
        ++list->count;
    }
    list->lastPartTime = time;
    return true;
}

inline void NoteKeyUp(ChordList* list, BYTE virtualKey)
{
    if (bool* held = HeldModifier(list, virtualKey)) *held = false;
}

// A line of its own, in words: a command received other than as keys.
inline void NoteLine(ChordList* list, const char* words)
{
    lstrcpynA(list->lines[list->count % kChordLines], words, kChordLineSize);
    ++list->count;
    list->lastPartTime = 0;
}
