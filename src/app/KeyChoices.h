// The Keys dialog's sets and the user's choices in them, held until Save:
// what each key shows meanwhile and what Save writes. Only a key the user
// chose something for is ever written, so a value nobody touched, understood
// or not, stays as it was.
#pragma once
#include "app/ActionWords.h"
#include "settings/AssignmentStore.h"

// What a key does as the dialog shows it: an AssignmentKind or
// kNotUnderstood, and the argument (a value not understood: its text).
struct ShownAction {
    int kind;
    char argument[kAssignmentTextSize];
};

bool HasArgument(int kind);

class KeyChoices {
public:
    // Far more programs with a set of their own than a person keeps; Add
    // refuses one more. Each set costs its name while the dialog is open,
    // and the room for choices only once the user chooses something in it.
    static const int kMaxPrograms = 256;

    KeyChoices() : m_sets(0), m_count(0) {}
    ~KeyChoices();
    KeyChoices(const KeyChoices&) = delete;
    KeyChoices& operator=(const KeyChoices&) = delete;

    // Set 0 is the set for all programs; then every program that has a set.
    // False when there is no memory for them.
    bool Load();
    int Count() const { return m_count; }
    // NULL for the set for all programs.
    const char* Program(int set) const { return set == 0 ? 0 : m_sets[set].program; }
    // A program the user adds: its set (new, or listed again when it was
    // removed), made on Save; -1 when kMaxPrograms sets are in the dialog.
    int Add(const char* program);
    // Off the list; its set is deleted on Save.
    void Remove(int set);

    // The user's choice when there is one, else the set's value; a program's
    // set without a value shows what the set for all programs gives the key.
    void Show(int set, AssignableKey key, ShownAction* shown) const;
    // Kept as the user's choice unless it is what the key shows without one:
    // a choice changed and changed back is no change.
    void Choose(int set, AssignableKey key, int kind, const char* argument);
    // The first choice whose value would not be understood; false if none.
    bool FindBadChoice(int* set, AssignableKey* key, AssignmentKind* kind) const;
    void Save() const;

private:
    struct Choice {
        bool chosen;
        AssignmentKind kind;
        char argument[kAssignmentTextSize];
    };
    struct KeySet {
        char program[kProgramNameSize];
        bool listed;   // in the program list
        bool create;   // added: its set is made on Save
        bool replace;  // removed: its set is deleted on Save, before any new one
        Choice* choices;  // kAssignableKeyCount of them; NULL until the first choice
    };

    void ShowStored(int set, AssignableKey key, ShownAction* shown) const;
    const Choice* ChoiceOf(int set, AssignableKey key) const;
    void ForgetChoices(int set);
    static bool ComposeValue(const Choice& choice, char* value, int size);

    KeySet* m_sets;  // 1 + kMaxPrograms of them
    int m_count;
};
