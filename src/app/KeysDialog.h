// KeysDialog: what each key does, for all programs and for each program that
// has a set of its own. Nothing is written until Save, and Save writes only
// the keys the user changed, so a value the dialog does not understand stays
// as it was unless the user chooses something for it. While the dialog is
// open, a key pressed on the keyboard selects its row instead of acting.
#pragma once
#include "fw/Dialog.h"
#include "settings/AssignmentStore.h"

class KeysDialog : public CDialog {
public:
    explicit KeysDialog(CWnd* owner);

    // A KeyCode from the keyboard: its key's row is selected; the release and
    // codes that name no key change nothing.
    void FindKey(DWORD keyCode);

    DECLARE_MESSAGE_MAP()

private:
    // What the user chose for one key of one set, not yet written.
    struct KeyEdit {
        bool changed;
        AssignmentKind kind;
        char argument[kAssignmentTextSize];
    };
    // A set the dialog shows: slot 0 is the set for all programs.
    struct KeySet {
        char program[kProgramNameSize];
        bool shown;     // in the program list
        bool create;    // added: its set is made on Save
        bool replace;   // removed: its set is deleted on Save, before any new one
        KeyEdit edits[kAssignableKeyCount];
    };
    // Programs with a set of their own are few; more than this are not shown.
    static const int kMaxKeySets = 16;

    // What a key does as shown: kind, or kNotUnderstood, and its argument.
    struct Shown {
        int kind;
        char argument[kAssignmentTextSize];
    };

    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT OnProgramChange(WPARAM, LPARAM);
    LRESULT OnAddProgram(WPARAM, LPARAM);
    LRESULT OnRemoveProgram(WPARAM, LPARAM);
    LRESULT OnKeyChange(WPARAM, LPARAM);
    LRESULT OnActionChange(WPARAM, LPARAM);
    LRESULT OnBrowse(WPARAM, LPARAM);

    void ShownAction(int set, AssignableKey key, Shown* shown) const;
    int AddSet(const char* program);
    void ShowSet(int set);
    void ShowRow(AssignableKey key);
    void LoadEditor();
    void KeepEditor();
    void EnableEditor(int kind);
    bool ComposeValue(const KeyEdit& edit, char* value, int size) const;
    bool RefuseBadArgument();
    int SelectedAction() const;

    KeySet m_sets[kMaxKeySets];
    int m_setCount;
    int m_set;  // the set shown
    int m_row;  // the key shown in the editor
};
