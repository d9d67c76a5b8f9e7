// The parser is strict where a guess could do harm: a keys action with one
// unknown name sends nothing at all, rather than a chord the owner did not
// write, and a command's number must be a number.
#include "settings/AssignmentFormat.h"
#include "fw/BoundedText.h"

namespace {

// Inlined into ParseAssignment, the chords' and the command's parsers grow
// the program by a few hundred bytes more than they take on their own.
#define OUT_OF_LINE __attribute__((noinline))

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

// The part at fault, as written between begin and end, blanks trimmed.
bool Refuse(AssignmentProblem* problem, AssignmentFault fault, const char* begin = "", const char* end = 0)
{
    if (!end) end = begin + lstrlenA(begin);
    Trim(begin, end);
    problem->fault = fault;
    lstrcpynA(problem->part, begin, static_cast<int>(end - begin) + 1);
    return false;
}

// Zero or more modifiers, each followed by '+', then one key.
OUT_OF_LINE bool ParseChord(const char* begin, const char* end, AssignedChord* chord, AssignmentProblem* problem)
{
    const char* const chordBegin = begin;
    chord->modifiers = 0;
    for (;;) {
        const char* plus = begin;
        while (plus < end && *plus != '+') ++plus;
        const char* nameBegin = begin;
        const char* nameEnd = plus;
        Trim(nameBegin, nameEnd);
        const int length = static_cast<int>(nameEnd - nameBegin);
        if (length == 0) return Refuse(problem, AssignmentFault::kNoKey, chordBegin, end);
        if (plus == end)
            return ParseKey(nameBegin, length, &chord->virtualKey) ||
                   Refuse(problem, AssignmentFault::kNotAKey, nameBegin, nameEnd);
        bool modifier = false;
        for (const NamedKey& named : kModifiers) {
            if (SameText(nameBegin, length, named.name)) {
                chord->modifiers |= named.virtualKey;
                modifier = true;
            }
        }
        if (!modifier) return Refuse(problem, AssignmentFault::kNotAKey, nameBegin, nameEnd);
        begin = plus + 1;
    }
}

// A chord with nothing in it has no text of its own to show: the whole
// argument shows where it lacks.
OUT_OF_LINE bool ParseChords(const char* text, Assignment* assignment, AssignmentProblem* problem)
{
    const char* end = text + lstrlenA(text);
    for (const char* begin = text;;) {
        const char* comma = begin;
        while (comma < end && *comma != ',') ++comma;
        if (assignment->chordCount == kMaxAssignedChords) return Refuse(problem, AssignmentFault::kTooManyChords);
        const char* chordBegin = begin;
        const char* chordEnd = comma;
        Trim(chordBegin, chordEnd);
        if (chordBegin == chordEnd) return Refuse(problem, AssignmentFault::kNoKey, text, end);
        if (!ParseChord(begin, comma, &assignment->chords[assignment->chordCount++], problem)) return false;
        if (comma == end) return true;
        begin = comma + 1;
    }
}

bool AllDigits(const char* begin, const char* end)
{
    for (const char* c = begin; c < end; ++c)
        if (*c < '0' || *c > '9') return false;
    return begin < end;
}

// The class up to the last comma, then a number from 1 to 65535. Without a
// comma, a lone number lacks its class, anything else its number.
OUT_OF_LINE bool ParseCommand(const char* text, Assignment* assignment, AssignmentProblem* problem)
{
    const char* end = text + lstrlenA(text);
    const char* comma = end;
    while (comma > text && comma[-1] != ',') --comma;
    const char* classBegin = text;
    const char* classEnd = comma == text ? end : comma - 1;
    Trim(classBegin, classEnd);
    if (comma == text) {
        const bool number = AllDigits(classBegin, classEnd);
        return Refuse(problem, number ? AssignmentFault::kNoClass : AssignmentFault::kNoNumber);
    }
    const char* numberBegin = comma;
    const char* numberEnd = end;
    Trim(numberBegin, numberEnd);
    if (classBegin == classEnd) return Refuse(problem, AssignmentFault::kNoClass);
    if (numberBegin == numberEnd) return Refuse(problem, AssignmentFault::kNoNumber);
    DWORD number = 0;
    for (const char* c = numberBegin; c < numberEnd && number <= 0xFFFF; ++c) number = number * 10 + (*c - '0');
    if (!AllDigits(numberBegin, numberEnd) || number == 0 || number > 0xFFFF)
        return Refuse(problem, AssignmentFault::kBadNumber, numberBegin, numberEnd);
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

bool ChordKeyWords(char* text, int size, const char* separator)
{
    bool fits = JoinText(text, size, "", "");
    for (const NamedKey& key : kNamedKeys) {
        const int length = lstrlenA(text);
        fits = fits && JoinText(text + length, size - length, length ? separator : "", key.name);
    }
    return fits;
}

bool ParseAssignment(const char* text, Assignment* assignment, AssignmentProblem* problem)
{
    AssignmentProblem unused;
    if (!problem) problem = &unused;
    problem->fault = AssignmentFault::kNone;
    problem->part[0] = '\0';
    ZeroMemory(assignment, sizeof *assignment);
    assignment->kind = AssignmentKind::kStandard;
    if (!text) return Refuse(problem, AssignmentFault::kUnknownWord);
    const int length = lstrlenA(text);
    if (length >= kAssignmentTextSize) return Refuse(problem, AssignmentFault::kTooLong);

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
    bool understood = false;
    if (!kind) Refuse(problem, AssignmentFault::kUnknownWord, text, text + wordLength);
    else if (kind->takesArgument && empty) Refuse(problem, AssignmentFault::kNoArgument);
    else if (!kind->takesArgument && !empty) Refuse(problem, AssignmentFault::kExtraArgument, argument);
    else if (kind->kind == AssignmentKind::kKeys) understood = ParseChords(argument, assignment, problem);
    else if (kind->kind == AssignmentKind::kCommand) understood = ParseCommand(argument, assignment, problem);
    else understood = true;
    if (!understood) {
        ZeroMemory(assignment, sizeof *assignment);
        assignment->kind = AssignmentKind::kStandard;
        return false;
    }
    assignment->kind = kind->kind;
    return true;
}
