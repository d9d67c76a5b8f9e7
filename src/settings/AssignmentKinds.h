// The kinds of action an owner may give a key, one row each, in the order
// the Keys dialog offers them: the word a value starts with, whether an
// argument follows it, and the dialog's texts for it. The kind itself is
// only a name: neither a row's place nor a text is ever computed from it.
#pragma once
#include <windows.h>
#include "res/resource.h"

enum class AssignmentKind { kStandard, kNothing, kStart, kKeys, kCommand };

struct AssignmentKindRow {
    AssignmentKind kind;
    const char* word;    // in any case in a value
    bool takesArgument;  // the word is followed by one blank and its argument
    UINT shownText;      // the key's row in the Keys dialog: the words before the argument
    UINT choiceText;     // its entry in the Action list
    UINT hintText;       // what an argument that does not parse is told; 0 without one
};

constexpr AssignmentKindRow kAssignmentKinds[] = {
    { AssignmentKind::kStandard, "standard", false, IDS_WORDS_STANDARD, IDS_CHOICE_STANDARD, 0 },
    { AssignmentKind::kNothing, "nothing", false, IDS_WORDS_NOTHING, IDS_CHOICE_NOTHING, 0 },
    { AssignmentKind::kStart, "start", true, IDS_WORDS_START, IDS_CHOICE_START, IDS_HINT_START },
    { AssignmentKind::kKeys, "keys", true, IDS_WORDS_KEYS, IDS_CHOICE_KEYS, IDS_HINT_KEYS },
    { AssignmentKind::kCommand, "command", true, IDS_WORDS_COMMAND, IDS_CHOICE_COMMAND, IDS_HINT_COMMAND },
};
constexpr int kAssignmentKindCount = sizeof kAssignmentKinds / sizeof kAssignmentKinds[0];

constexpr const AssignmentKindRow& KindRow(AssignmentKind kind)
{
    int row = 0;
    while (row + 1 < kAssignmentKindCount && kAssignmentKinds[row].kind != kind) ++row;
    return kAssignmentKinds[row];
}

constexpr int TextLength(const char* text)
{
    int length = 0;
    while (text[length]) ++length;
    return length;
}

// The longest word that an argument follows, with its blank: what a value
// spends before its argument at most.
constexpr int LongestArgumentPrefix()
{
    int longest = 0;
    for (const AssignmentKindRow& row : kAssignmentKinds)
        if (row.takesArgument && TextLength(row.word) + 1 > longest) longest = TextLength(row.word) + 1;
    return longest;
}

// Every kind has exactly one row, its word no other's, and a hint exactly
// when it takes an argument.
constexpr bool KindsAreWhole()
{
    for (int a = 0; a < kAssignmentKindCount; ++a) {
        const int kind = static_cast<int>(kAssignmentKinds[a].kind);
        if (kind < 0 || kind >= kAssignmentKindCount) return false;
        if (kAssignmentKinds[a].takesArgument != (kAssignmentKinds[a].hintText != 0)) return false;
        for (int b = a + 1; b < kAssignmentKindCount; ++b) {
            if (kAssignmentKinds[b].kind == kAssignmentKinds[a].kind) return false;
            const char* x = kAssignmentKinds[a].word;
            const char* y = kAssignmentKinds[b].word;
            while (*x && *x == *y) ++x, ++y;
            if (*x == *y) return false;
        }
    }
    return true;
}
static_assert(KindsAreWhole(), "one row per kind, each with a word of its own, a hint exactly with an argument");
