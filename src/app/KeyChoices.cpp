#include "app/KeyChoices.h"
#include "fw/BoundedText.h"

bool HasArgument(int kind)
{
    return kind == static_cast<int>(AssignmentKind::kStart) || kind == static_cast<int>(AssignmentKind::kKeys) ||
           kind == static_cast<int>(AssignmentKind::kCommand);
}

KeyChoices::~KeyChoices()
{
    for (int set = 0; set < m_count; ++set) ForgetChoices(set);
    if (m_sets) LocalFree(m_sets);
}

bool KeyChoices::Load()
{
    if (!m_sets) m_sets = static_cast<KeySet*>(LocalAlloc(LPTR, (1 + kMaxPrograms) * sizeof(KeySet)));
    if (!m_sets) return false;
    for (int set = 0; set < m_count; ++set) ForgetChoices(set);
    m_count = 1;
    ZeroMemory(&m_sets[0], sizeof m_sets[0]);
    m_sets[0].listed = true;
    char program[kProgramNameSize];
    for (DWORD i = 0; m_count <= kMaxPrograms && ProgramSetAt(i, program); ++i) Add(program);
    for (int set = 0; set < m_count; ++set) m_sets[set].create = false;
    return true;
}

int KeyChoices::Add(const char* program)
{
    int set = 1;
    while (set < m_count && lstrcmpiA(m_sets[set].program, program) != 0) ++set;
    if (set == m_count) {
        if (m_count > kMaxPrograms) return -1;
        ++m_count;
        ZeroMemory(&m_sets[set], sizeof m_sets[set]);
        lstrcpynA(m_sets[set].program, program, sizeof m_sets[set].program);
    }
    if (!m_sets[set].listed) {
        // Removed and added again: a set of its own, empty.
        ForgetChoices(set);
        m_sets[set].listed = m_sets[set].create = true;
    }
    return set;
}

void KeyChoices::Remove(int set)
{
    ForgetChoices(set);
    m_sets[set].listed = m_sets[set].create = false;
    m_sets[set].replace = true;
}

void KeyChoices::ForgetChoices(int set)
{
    if (m_sets[set].choices) LocalFree(m_sets[set].choices);
    m_sets[set].choices = 0;
}

const KeyChoices::Choice* KeyChoices::ChoiceOf(int set, AssignableKey key) const
{
    const Choice* choices = m_sets[set].choices;
    return choices && choices[static_cast<int>(key)].chosen ? &choices[static_cast<int>(key)] : 0;
}

void KeyChoices::Show(int set, AssignableKey key, ShownAction* shown) const
{
    if (const Choice* choice = ChoiceOf(set, key)) {
        shown->kind = static_cast<int>(choice->kind);
        lstrcpynA(shown->argument, choice->argument, sizeof shown->argument);
        return;
    }
    ShowStored(set, key, shown);
}

// What the key shows without a choice of its own in this set.
void KeyChoices::ShowStored(int set, AssignableKey key, ShownAction* shown) const
{
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
    ShownAction stored;
    ShowStored(set, key, &stored);
    const bool unchanged = stored.kind == kind && (!HasArgument(kind) || lstrcmpA(stored.argument, argument) == 0);
    Choice* choices = m_sets[set].choices;
    if (unchanged) {
        if (choices) choices[static_cast<int>(key)].chosen = false;
        return;
    }
    if (!choices) choices = m_sets[set].choices =
                      static_cast<Choice*>(LocalAlloc(LPTR, kAssignableKeyCount * sizeof(Choice)));
    if (!choices) return;
    Choice& choice = choices[static_cast<int>(key)];
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
            const Choice* choice = ChoiceOf(s, static_cast<AssignableKey>(k));
            char value[kAssignmentTextSize];
            Assignment assignment;
            if (!choice || (ComposeValue(*choice, value, sizeof value) && ParseAssignment(value, &assignment)))
                continue;
            *set = s;
            *key = static_cast<AssignableKey>(k);
            *kind = choice->kind;
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
            const Choice* choice = ChoiceOf(s, static_cast<AssignableKey>(k));
            char value[kAssignmentTextSize];
            if (!choice) continue;
            if (s == 0 && choice->kind == AssignmentKind::kStandard)
                DeleteAssignment(NULL, static_cast<AssignableKey>(k));
            else if (ComposeValue(*choice, value, sizeof value))
                WriteAssignmentText(Program(s), static_cast<AssignableKey>(k), value);
        }
    }
}
