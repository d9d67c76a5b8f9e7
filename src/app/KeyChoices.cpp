#include "app/KeyChoices.h"
#include "fw/BoundedText.h"

bool HasArgument(int kind)
{
    return kind == static_cast<int>(AssignmentKind::kStart) || kind == static_cast<int>(AssignmentKind::kKeys) ||
           kind == static_cast<int>(AssignmentKind::kCommand);
}

void KeyChoices::Load()
{
    m_count = 1;
    ZeroMemory(&m_sets[0], sizeof m_sets[0]);
    m_sets[0].listed = true;
    char program[kProgramNameSize];
    for (DWORD i = 0; m_count < kMaxSets && ProgramSetAt(i, program); ++i) Add(program);
    for (int set = 0; set < m_count; ++set) m_sets[set].create = false;
}

int KeyChoices::Add(const char* program)
{
    int set = 1;
    while (set < m_count && lstrcmpiA(m_sets[set].program, program) != 0) ++set;
    if (set == m_count) {
        if (m_count == kMaxSets) return -1;
        ++m_count;
        ZeroMemory(&m_sets[set], sizeof m_sets[set]);
        lstrcpynA(m_sets[set].program, program, sizeof m_sets[set].program);
    }
    if (!m_sets[set].listed) {
        // Removed and added again: a set of its own, empty.
        ZeroMemory(m_sets[set].choices, sizeof m_sets[set].choices);
        m_sets[set].listed = m_sets[set].create = true;
    }
    return set;
}

void KeyChoices::Remove(int set)
{
    ZeroMemory(m_sets[set].choices, sizeof m_sets[set].choices);
    m_sets[set].listed = m_sets[set].create = false;
    m_sets[set].replace = true;
}

void KeyChoices::Show(int set, AssignableKey key, ShownAction* shown) const
{
    const Choice& choice = m_sets[set].choices[static_cast<int>(key)];
    if (choice.chosen) {
        shown->kind = static_cast<int>(choice.kind);
        lstrcpynA(shown->argument, choice.argument, sizeof shown->argument);
        return;
    }
    Assignment assignment;
    char text[kAssignmentTextSize];
    const StoredAssignment stored =
        m_sets[set].replace ? StoredAssignment::kAbsent : ReadAssignment(Program(set), key, &assignment, text);
    if (stored == StoredAssignment::kAbsent && set != 0) {
        Show(0, key, shown);
        return;
    }
    shown->kind = stored == StoredAssignment::kNotUnderstood ? kNotUnderstood : static_cast<int>(assignment.kind);
    lstrcpynA(shown->argument, stored == StoredAssignment::kNotUnderstood ? text : assignment.argument,
              sizeof shown->argument);
}

void KeyChoices::Choose(int set, AssignableKey key, int kind, const char* argument)
{
    if (kind == kNotUnderstood) return;
    if (!HasArgument(kind)) argument = "";
    ShownAction shown;
    Show(set, key, &shown);
    if (shown.kind == kind && (!HasArgument(kind) || lstrcmpA(shown.argument, argument) == 0)) return;
    Choice& choice = m_sets[set].choices[static_cast<int>(key)];
    choice.chosen = true;
    choice.kind = static_cast<AssignmentKind>(kind);
    lstrcpynA(choice.argument, argument, sizeof choice.argument);
}

// The value Save writes: the word, and its argument after one blank.
bool KeyChoices::ComposeValue(const Choice& choice, char* value, int size)
{
    const char* word = kAssignmentWords[static_cast<int>(choice.kind)];
    if (!HasArgument(static_cast<int>(choice.kind))) return JoinText(value, size, word, "");
    return JoinText(value, size, word, " ", choice.argument);
}

bool KeyChoices::FindBadChoice(int* set, AssignableKey* key, AssignmentKind* kind) const
{
    for (int s = 0; s < m_count; ++s) {
        for (int k = 0; m_sets[s].listed && k < kAssignableKeyCount; ++k) {
            const Choice& choice = m_sets[s].choices[k];
            char value[kAssignmentTextSize];
            Assignment assignment;
            if (!choice.chosen || (ComposeValue(choice, value, sizeof value) && ParseAssignment(value, &assignment)))
                continue;
            *set = s;
            *key = static_cast<AssignableKey>(k);
            *kind = choice.kind;
            return true;
        }
    }
    return false;
}

// In a program's set, Standard is written as a value: it overrides the set
// for all programs. In that set, Standard is no value at all.
void KeyChoices::Save() const
{
    for (int s = 0; s < m_count; ++s) {
        const KeySet& set = m_sets[s];
        if (set.replace) DeleteProgramSet(Program(s));
        if (!set.listed) continue;
        if (set.create) CreateProgramSet(Program(s));
        for (int k = 0; k < kAssignableKeyCount; ++k) {
            const Choice& choice = set.choices[k];
            char value[kAssignmentTextSize];
            if (!choice.chosen) continue;
            if (s == 0 && choice.kind == AssignmentKind::kStandard)
                DeleteAssignment(NULL, static_cast<AssignableKey>(k));
            else if (ComposeValue(choice, value, sizeof value))
                WriteAssignmentText(Program(s), static_cast<AssignableKey>(k), value);
        }
    }
}
