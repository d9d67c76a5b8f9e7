#include "app/KeyChoices.h"
#include "actions/KeyDispatcher.h"
#include "fw/BoundedText.h"

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
    m_otherCount = 0;
    for (int set = 0; set < m_count; ++set) {
        m_sets[set].create = false;
        ListOtherKeys(Program(set));
    }
    // By usage, as a keyboard's keys are numbered.
    for (int i = 1; i < m_otherCount; ++i)
        for (int j = i; j > 0 && m_others[j - 1] > m_others[j]; --j) {
            const USAGE moved = m_others[j];
            m_others[j] = m_others[j - 1];
            m_others[j - 1] = moved;
        }
    return true;
}

// Every key outside the table that has a value in the set, once.
void KeyChoices::ListOtherKeys(const char* program)
{
    char name[kKeyNameSize];
    for (DWORD i = 0; AssignmentNameAt(program, i, name, sizeof name); ++i) {
        const USAGE usage = OtherKeyOfValueName(name);
        if (usage) FindKey(usage);
    }
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

int KeyChoices::KeyCount() const { return TableKeyCount() + m_otherCount; }

USAGE KeyChoices::Key(int key) const
{
    return key < TableKeyCount() ? TableKey(key).usage : m_others[key - TableKeyCount()];
}

int KeyChoices::FindKey(USAGE usage)
{
    for (int key = 0; key < KeyCount(); ++key)
        if (Key(key) == usage) return key;
    if (!usage || KeyCodeOfUsage(usage) || m_otherCount == kMaxOtherKeys) return -1;
    m_others[m_otherCount++] = usage;
    return KeyCount() - 1;
}

void KeyChoices::ForgetChoices(int set)
{
    if (m_sets[set].choices) LocalFree(m_sets[set].choices);
    m_sets[set].choices = 0;
}

const KeyChoices::Choice* KeyChoices::ChoiceOf(int set, int key) const
{
    const Choice* choices = m_sets[set].choices;
    return choices && choices[key].chosen ? &choices[key] : 0;
}

void KeyChoices::Show(int set, int key, ShownAction* shown) const
{
    if (const Choice* choice = ChoiceOf(set, key)) {
        shown->understood = true;
        shown->kind = choice->kind;
        lstrcpynA(shown->argument, choice->argument, sizeof shown->argument);
        return;
    }
    ShowStored(set, key, shown);
}

// What the key shows without a choice of its own in this set.
void KeyChoices::ShowStored(int set, int key, ShownAction* shown) const
{
    char name[kKeyNameSize];
    KeyValueName(Key(key), name);
    Assignment assignment;
    char text[kAssignmentTextSize];
    const StoredAssignment stored =
        m_sets[set].replace ? StoredAssignment::kAbsent : ReadAssignment(Program(set), name, &assignment, text);
    if (stored == StoredAssignment::kAbsent && set != 0) {
        Show(0, key, shown);
        return;
    }
    shown->understood = stored != StoredAssignment::kNotUnderstood;
    shown->kind = assignment.kind;
    lstrcpynA(shown->argument, shown->understood ? assignment.argument : text, sizeof shown->argument);
}

void KeyChoices::Choose(int set, int key, AssignmentKind kind, const char* argument)
{
    const bool takesArgument = KindRow(kind).takesArgument;
    if (!takesArgument) argument = "";
    ShownAction stored;
    ShowStored(set, key, &stored);
    const bool unchanged = stored.understood && stored.kind == kind &&
                           (!takesArgument || lstrcmpA(stored.argument, argument) == 0);
    Choice* choices = m_sets[set].choices;
    if (unchanged) {
        if (choices) choices[key].chosen = false;
        return;
    }
    if (!choices) choices = m_sets[set].choices =
                      static_cast<Choice*>(LocalAlloc(LPTR, (TableKeyCount() + kMaxOtherKeys) * sizeof(Choice)));
    if (!choices) return;
    Choice& choice = choices[key];
    choice.chosen = true;
    choice.kind = kind;
    lstrcpynA(choice.argument, argument, sizeof choice.argument);
}

// The value Save writes: the word, and its argument after one blank.
bool KeyChoices::ComposeValue(const Choice& choice, char* value, int size)
{
    const AssignmentKindRow& kind = KindRow(choice.kind);
    if (!kind.takesArgument) return JoinText(value, size, kind.word, "");
    return JoinText(value, size, kind.word, " ", choice.argument);
}

bool KeyChoices::FindBadChoice(int* set, int* key, AssignmentKind* kind, AssignmentProblem* problem) const
{
    for (int s = 0; s < m_count; ++s) {
        for (int k = 0; m_sets[s].listed && k < KeyCount(); ++k) {
            const Choice* choice = ChoiceOf(s, k);
            char value[kAssignmentTextSize];
            Assignment assignment;
            if (!choice) continue;
            if (!ComposeValue(*choice, value, sizeof value)) {
                problem->fault = AssignmentFault::kTooLong;
                problem->part[0] = '\0';
            } else if (ParseAssignment(value, &assignment, problem)) {
                continue;
            }
            *set = s;
            *key = k;
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
        for (int k = 0; k < KeyCount(); ++k) {
            const Choice* choice = ChoiceOf(s, k);
            char name[kKeyNameSize], value[kAssignmentTextSize];
            if (!choice) continue;
            KeyValueName(Key(k), name);
            if (s == 0 && choice->kind == AssignmentKind::kStandard) DeleteAssignment(NULL, name);
            else if (ComposeValue(*choice, value, sizeof value)) WriteAssignmentText(Program(s), name, value);
        }
    }
}
