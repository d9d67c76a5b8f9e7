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
    // Programs with a set of their own are few; more than this are not shown.
    static const int kMaxSets = 16;

    // Set 0 is the set for all programs; then every program that has a set.
    void Load();
    int Count() const { return m_count; }
    // NULL for the set for all programs.
    const char* Program(int set) const { return set == 0 ? 0 : m_sets[set].program; }
    // A program the user adds: its set (new, or listed again when it was
    // removed), made on Save; -1 when there is no room.
    int Add(const char* program);
    // Off the list; its set is deleted on Save.
    void Remove(int set);

    // The user's choice when there is one, else the set's value; a program's
    // set without a value shows what the set for all programs gives the key.
    void Show(int set, AssignableKey key, ShownAction* shown) const;
    // Kept as the user's choice unless it is what the key shows already.
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
        Choice choices[kAssignableKeyCount];
    };

    static bool ComposeValue(const Choice& choice, char* value, int size);

    KeySet m_sets[kMaxSets];
    int m_count;
};
