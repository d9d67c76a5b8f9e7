// The parser is strict where a guess could do harm: a keys action with one
// unknown name sends nothing at all, rather than a chord the owner did not
// write, and a command's number must be a number.
#include "settings/AssignmentFormat.h"

namespace {

struct NamedKey {
    const char* name;
    BYTE virtualKey;
};

const NamedKey kNamedKeys[] = {
    { "Enter", VK_RETURN },   { "Esc", VK_ESCAPE },   { "Tab", VK_TAB },         { "Space", VK_SPACE },
    { "Backspace", VK_BACK }, { "Delete", VK_DELETE }, { "Insert", VK_INSERT },   { "Home", VK_HOME },
    { "End", VK_END },        { "PageUp", VK_PRIOR },  { "PageDown", VK_NEXT },   { "Left", VK_LEFT },
    { "Right", VK_RIGHT },    { "Up", VK_UP },         { "Down", VK_DOWN },
};

const NamedKey kModifiers[] = { { "Ctrl", kChordCtrl }, { "Alt", kChordAlt }, { "Shift", kChordShift } };

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The names are ASCII: compared without regard to case, whatever the
// system's code page.
bool SameText(const char* text, int length, const char* name)
{
    int i = 0;
    for (; i < length && name[i]; ++i)
        if (Upper(text[i]) != Upper(name[i])) return false;
    return i == length && !name[i];
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text between begin and end without the blanks around it.
void Trim(const char*& begin, const char*& end)
{
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
}

// One key's name: A-Z, 0-9, F1-F24, a named key, or 0xNN.
bool ParseKey(const char* name, int length, BYTE* virtualKey)
{
    if (length == 1) {
        const char c = Upper(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            *virtualKey = static_cast<BYTE>(c);
            return true;
        }
        return false;
    }
    if ((name[0] == 'F' || name[0] == 'f') && length <= 3) {
        int number = 0;
        for (int i = 1; i < length; ++i) {
            if (name[i] < '0' || name[i] > '9') return false;
            number = number * 10 + (name[i] - '0');
        }
        if (name[1] == '0' || number < 1 || number > 24) return false;
        *virtualKey = static_cast<BYTE>(VK_F1 + number - 1);
        return true;
    }
    if (length >= 3 && length <= 4 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        int value = 0;
        for (int i = 2; i < length; ++i) {
            const int digit = HexDigit(name[i]);
            if (digit < 0) return false;
            value = value * 16 + digit;
        }
        // 0 and 0xFF are no keys.
        if (value == 0 || value == 0xFF) return false;
        *virtualKey = static_cast<BYTE>(value);
        return true;
    }
    for (const NamedKey& key : kNamedKeys) {
        if (SameText(name, length, key.name)) {
            *virtualKey = key.virtualKey;
            return true;
        }
    }
    return false;
}

// Zero or more modifiers, each followed by '+', then one key.
bool ParseChord(const char* begin, const char* end, AssignedChord* chord)
{
    chord->modifiers = 0;
    for (;;) {
        const char* plus = begin;
        while (plus < end && *plus != '+') ++plus;
        const char* nameBegin = begin;
        const char* nameEnd = plus;
        Trim(nameBegin, nameEnd);
        const int length = static_cast<int>(nameEnd - nameBegin);
        if (length == 0) return false;
        if (plus == end) return ParseKey(nameBegin, length, &chord->virtualKey);
        bool modifier = false;
        for (const NamedKey& named : kModifiers) {
            if (SameText(nameBegin, length, named.name)) {
                chord->modifiers |= named.virtualKey;
                modifier = true;
            }
        }
        if (!modifier) return false;
        begin = plus + 1;
    }
}

bool ParseChords(const char* text, Assignment* assignment)
{
    const char* end = text + lstrlenA(text);
    for (const char* begin = text;;) {
        const char* comma = begin;
        while (comma < end && *comma != ',') ++comma;
        if (assignment->chordCount == kMaxAssignedChords) return false;
        if (!ParseChord(begin, comma, &assignment->chords[assignment->chordCount++])) return false;
        if (comma == end) return true;
        begin = comma + 1;
    }
}

// The class up to the last comma, then a number from 1 to 65535.
bool ParseCommand(const char* text, Assignment* assignment)
{
    const char* end = text + lstrlenA(text);
    const char* comma = end;
    while (comma > text && comma[-1] != ',') --comma;
    if (comma == text) return false;
    const char* classBegin = text;
    const char* classEnd = comma - 1;
    Trim(classBegin, classEnd);
    const char* numberBegin = comma;
    const char* numberEnd = end;
    Trim(numberBegin, numberEnd);
    if (classBegin == classEnd || numberBegin == numberEnd || numberEnd - numberBegin > 5) return false;
    DWORD number = 0;
    for (const char* c = numberBegin; c < numberEnd; ++c) {
        if (*c < '0' || *c > '9') return false;
        number = number * 10 + (*c - '0');
    }
    if (number == 0 || number > 0xFFFF) return false;
    lstrcpynA(assignment->windowClass, classBegin, static_cast<int>(classEnd - classBegin) + 1);
    assignment->command = number;
    return true;
}

}  // namespace

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseAssignment(const char* text, Assignment* assignment)
{
    ZeroMemory(assignment, sizeof *assignment);
    assignment->kind = AssignmentKind::kStandard;
    if (!text) return false;
    const int length = lstrlenA(text);
    if (length >= kAssignmentTextSize) return false;

    int wordLength = 0;
    while (wordLength < length && !IsBlank(text[wordLength])) ++wordLength;
    const char* argument = text + wordLength;
    if (*argument) ++argument;  // the one blank
    lstrcpynA(assignment->argument, argument, kAssignmentTextSize);
    const char* argumentEnd = argument + lstrlenA(argument);
    const char* trimmed = argument;
    Trim(trimmed, argumentEnd);
    const bool empty = trimmed == argumentEnd;

    const AssignmentKindRow* kind = 0;
    for (const AssignmentKindRow& row : kAssignmentKinds)
        if (SameText(text, wordLength, row.word)) kind = &row;
    bool understood = kind && kind->takesArgument != empty;  // an unknown word is never understood
    if (understood && kind->kind == AssignmentKind::kKeys) understood = ParseChords(argument, assignment);
    if (understood && kind->kind == AssignmentKind::kCommand) understood = ParseCommand(argument, assignment);
    if (!understood) {
        ZeroMemory(assignment, sizeof *assignment);
        assignment->kind = AssignmentKind::kStandard;
        return false;
    }
    assignment->kind = kind->kind;
    return true;
}
