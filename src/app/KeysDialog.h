// KeysDialog: what each key does, for all programs and for each program that
// has a set of its own. Nothing is written until Save, and Save writes only
// the keys the user changed, so a value the dialog does not understand stays
// as it was unless the user chooses something for it. While the dialog is
// open, a key pressed on the keyboard selects its row instead of acting; a
// key outside the table gets a row of its own, where it can be given an
// action.
#pragma once
#include "fw/Dialog.h"
#include "app/KeyChoices.h"

class KeysDialog : public CDialog {
public:
    explicit KeysDialog(CWnd* owner);

    // A KeyCode from the keyboard: its key's row is selected; the release and
    // codes that name no key change nothing.
    void FindKey(DWORD keyCode);
    // A key outside the table pressed: its row is selected, added first when
    // the list has none (nothing when it is full).
    void FindOtherKey(USAGE usage);

    DECLARE_MESSAGE_MAP()

private:
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT OnProgramChange(WPARAM, LPARAM);
    LRESULT OnAddProgram(WPARAM, LPARAM);
    LRESULT OnRemoveProgram(WPARAM, LPARAM);
    LRESULT OnKeyChange(WPARAM, LPARAM);
    LRESULT OnActionChange(WPARAM, LPARAM);
    LRESULT OnArgumentChange(WPARAM, LPARAM);
    LRESULT OnBrowse(WPARAM, LPARAM);

    void ListProgram(int set);
    void ShowSet(int set);
    void ShowRow(int key);
    void SelectKey(int key);
    void LoadEditor();
    void KeepEditor();
    void EnableEditor();
    bool RefuseBadArgument();
    bool SelectedAction(AssignmentKind* kind) const;

    KeyChoices m_choices;
    int m_set;  // the set shown
    int m_row;  // the key shown in the editor
};
