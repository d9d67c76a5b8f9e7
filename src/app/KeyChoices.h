// The Keys dialog's sets and the user's choices in them, held until Save:
// what each key shows meanwhile and what Save writes. Only a key the user
// chose something for is ever written, so a value nobody touched, understood
// or not, stays as it was, and a key found by pressing it and left as it is
// never gets one.
#pragma once
#include "app/ActionWords.h"
#include "settings/AssignmentStore.h"

class KeyChoices {
public:
    // Far more programs with a set of their own than a person keeps; Add
    // refuses one more. Each set costs its name while the dialog is open,
    // and the room for choices only once the user chooses something in it.
    static const int kMaxPrograms = 256;
    // Keys outside the table that the list holds, more than a keyboard has.
    static const int kMaxOtherKeys = 64;

    KeyChoices() : m_sets(0), m_count(0), m_otherCount(0) {}
    ~KeyChoices();
    KeyChoices(const KeyChoices&) = delete;
    KeyChoices& operator=(const KeyChoices&) = delete;

    // Set 0 is the set for all programs; then every program that has a set.
    // The keys: the table's, then every other key that has a value in some
    // set, by usage. False when there is no memory for them.
    bool Load();
    int Count() const { return m_count; }
    // NULL for the set for all programs.
    const char* Program(int set) const { return set == 0 ? 0 : m_sets[set].program; }
    // A program the user adds: its set (new, or listed again when it was
    // removed), made on Save; -1 when kMaxPrograms sets are in the dialog.
    int Add(const char* program);
    // Off the list; its set is deleted on Save.
    void Remove(int set);

    int KeyCount() const;
    USAGE Key(int key) const;
    // The key's place in the list; a key outside the table that is not
    // listed yet is added at its end. -1 for none, or when the list is full.
    int FindKey(USAGE usage);

    // The user's choice when there is one, else the set's value; a program's
    // set without a value shows what the set for all programs gives the key.
    void Show(int set, int key, ShownAction* shown) const;
    // Kept as the user's choice unless it is what the key shows without one:
    // a choice changed and changed back is no change.
    void Choose(int set, int key, AssignmentKind kind, const char* argument);
    // The first choice whose value would not be understood, and what is
    // wrong with it; false if none.
    bool FindBadChoice(int* set, int* key, AssignmentKind* kind, AssignmentProblem* problem) const;
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
        Choice* choices;  // one per key the list can hold; NULL until the first choice
    };

    void ListOtherKeys(const char* program);
    void ShowStored(int set, int key, ShownAction* shown) const;
    const Choice* ChoiceOf(int set, int key) const;
    void ForgetChoices(int set);
    static bool ComposeValue(const Choice& choice, char* value, int size);

    KeySet* m_sets;  // 1 + kMaxPrograms of them
    int m_count;
    USAGE m_others[kMaxOtherKeys];
    int m_otherCount;
};
