#include "actions/AssignedActions.h"
#include <shellapi.h>
#include "actions/Chords.h"

namespace {

bool Exists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// As Start, Run does: a quoted program; or the whole line when it names a
// file or a folder; or else the shortest start of the line, up to a blank,
// that names a file (a path may hold blanks without quotes), or else the
// first word. What follows is the program's argument. A folder opens in its
// window, a web address or a document in the program the system has for it.
void Start(const char* commandLine)
{
    char file[kAssignmentTextSize];
    const char* arguments = 0;
    const char* text = commandLine;
    while (*text == ' ') ++text;
    if (*text == '"') {
        const char* close = text + 1;
        while (*close && *close != '"') ++close;
        lstrcpynA(file, text + 1, static_cast<int>(close - text));
        arguments = *close ? close + 1 : close;
    } else {
        lstrcpynA(file, text, kAssignmentTextSize);
        if (!Exists(file)) {
            const char* blank = 0;
            for (const char* c = text; *c; ++c) {
                if (*c != ' ') continue;
                lstrcpynA(file, text, static_cast<int>(c - text) + 1);
                if (IsFile(file)) {
                    blank = c;
                    break;
                }
                if (!blank) blank = c;
            }
            if (blank) {
                lstrcpynA(file, text, static_cast<int>(blank - text) + 1);
                arguments = blank + 1;
            } else {
                lstrcpynA(file, text, kAssignmentTextSize);
            }
        }
    }
    while (arguments && *arguments == ' ') ++arguments;
    ShellExecuteA(NULL, NULL, file, arguments && *arguments ? arguments : NULL, NULL, SW_SHOWNORMAL);
}

// Each chord: its modifiers down, the key down and up, the modifiers up in
// the reverse order. All chords go as one: a modifier the user holds is
// pressed again once, after the last.
void SendChords(const Assignment& assignment)
{
    const BYTE modifierKeys[] = { VK_CONTROL, VK_MENU, VK_SHIFT };
    const BYTE modifierBits[] = { kChordCtrl, kChordAlt, kChordShift };
    KeyEvent events[kMaxAssignedChords * 8];
    int count = 0;
    for (int c = 0; c < assignment.chordCount; ++c) {
        const AssignedChord& chord = assignment.chords[c];
        for (int m = 0; m < 3; ++m)
            if (chord.modifiers & modifierBits[m]) events[count++] = { modifierKeys[m], false };
        events[count++] = { chord.virtualKey, false };
        events[count++] = { chord.virtualKey, true };
        for (int m = 2; m >= 0; --m)
            if (chord.modifiers & modifierBits[m]) events[count++] = { modifierKeys[m], true };
    }
    SendChord(KeyChord{ events, count });
}

// Posted, never sent: a hung program must not hang the keys, and nothing is
// restored or activated.
void PostCommand(const Assignment& assignment)
{
    if (HWND window = FindWindowA(assignment.windowClass, NULL))
        PostMessageA(window, WM_COMMAND, assignment.command, 0);
}

}  // namespace

void RunAssignment(const Assignment& assignment)
{
    switch (assignment.kind) {
    case AssignmentKind::kStart: Start(assignment.argument); break;
    case AssignmentKind::kKeys: SendChords(assignment); break;
    case AssignmentKind::kCommand: PostCommand(assignment); break;
    default: break;
    }
}
