#include "app/KeysDialog.h"
#include "actions/KeyDispatcher.h"
#include "app/ActionWords.h"
#include "fw/BoundedText.h"
#include "fw/FileDialog.h"
#include "fw/ResourceLanguage.h"
#include "res/resource.h"

const MessageMapEntry KeysDialog::messageEntries[] = {
    ON_COMMAND(IDC_KEYS_PROGRAM, &KeysDialog::OnProgramChange),
    ON_COMMAND(IDC_KEYS_ADD, &KeysDialog::OnAddProgram),
    ON_COMMAND(IDC_KEYS_REMOVE, &KeysDialog::OnRemoveProgram),
    ON_COMMAND(IDC_KEYS_LIST, &KeysDialog::OnKeyChange),
    ON_COMMAND(IDC_KEYS_ACTION, &KeysDialog::OnActionChange),
    ON_COMMAND(IDC_KEYS_BROWSE, &KeysDialog::OnBrowse),
    END_MESSAGE_MAP
};
IMPLEMENT_MESSAGE_MAP(KeysDialog, CDialog)

namespace {

// The key names' column of the list, in dialog units.
const int kActionColumn = 70;
// The longest argument every action word still fits beside.
const int kArgumentLimit = kAssignmentTextSize - 1 - 8;  // "command "

bool HasArgument(int kind)
{
    return kind == static_cast<int>(AssignmentKind::kStart) || kind == static_cast<int>(AssignmentKind::kKeys) ||
           kind == static_cast<int>(AssignmentKind::kCommand);
}

}  // namespace

KeysDialog::KeysDialog(CWnd* owner) : CDialog(IDD_KEYS, owner), m_setCount(0), m_set(0), m_row(0) {}

BOOL KeysDialog::OnInitDialog()
{
    m_setCount = 0;
    AddSet("");
    char program[kProgramNameSize];
    for (DWORD i = 0; m_setCount < kMaxKeySets && ProgramSetAt(i, program); ++i) AddSet(program);
    m_sets[0].create = false;
    for (int i = 1; i < m_setCount; ++i) m_sets[i].create = false;

    char text[128];
    for (int kind = 0; kind < kAssignmentKindCount; ++kind) {
        LoadLocalString(IDS_CHOICES + kind, text, sizeof text);
        SendDlgItemMessageA(m_hWnd, IDC_KEYS_ACTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    for (int set = 0; set < m_setCount; ++set) {
        if (set == 0) LoadLocalString(IDS_ALL_PROGRAMS, text, sizeof text);
        const LRESULT item = SendDlgItemMessageA(m_hWnd, IDC_KEYS_PROGRAM, CB_ADDSTRING, 0,
                                                 reinterpret_cast<LPARAM>(set == 0 ? text : m_sets[set].program));
        SendDlgItemMessageA(m_hWnd, IDC_KEYS_PROGRAM, CB_SETITEMDATA, item, set);
    }
    int column = kActionColumn;
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&column));
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_ARGUMENT, EM_LIMITTEXT, kArgumentLimit, 0);
    m_row = 0;
    ShowSet(0);
    return TRUE;
}

// A new set, shown in the program list and made on Save; -1 when full.
int KeysDialog::AddSet(const char* program)
{
    if (m_setCount == kMaxKeySets) return -1;
    KeySet& set = m_sets[m_setCount];
    ZeroMemory(&set, sizeof set);
    lstrcpynA(set.program, program, sizeof set.program);
    set.shown = true;
    set.create = true;
    return m_setCount++;
}

// The user's choice when there is one; else the set's value; a program's set
// without a value shows what the set for all programs gives the key.
void KeysDialog::ShownAction(int set, AssignableKey key, Shown* shown) const
{
    const KeyEdit& edit = m_sets[set].edits[static_cast<int>(key)];
    if (edit.changed) {
        shown->kind = static_cast<int>(edit.kind);
        lstrcpynA(shown->argument, edit.argument, sizeof shown->argument);
        return;
    }
    Assignment assignment;
    char text[kAssignmentTextSize];
    const StoredAssignment stored = m_sets[set].replace
        ? StoredAssignment::kAbsent
        : ReadAssignment(set == 0 ? NULL : m_sets[set].program, key, &assignment, text);
    if (stored == StoredAssignment::kAbsent && set != 0) {
        ShownAction(0, key, shown);
        return;
    }
    if (stored == StoredAssignment::kNotUnderstood) {
        shown->kind = kNotUnderstood;
        lstrcpynA(shown->argument, text, sizeof shown->argument);
        return;
    }
    shown->kind = static_cast<int>(assignment.kind);
    lstrcpynA(shown->argument, assignment.argument, sizeof shown->argument);
}

void KeysDialog::ShowSet(int set)
{
    m_set = set;
    HWND programs = GetDlgItem(m_hWnd, IDC_KEYS_PROGRAM);
    const LRESULT count = ::SendMessageA(programs, CB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item)
        if (::SendMessageA(programs, CB_GETITEMDATA, item, 0) == set) ::SendMessageA(programs, CB_SETCURSEL, item, 0);
    EnableWindow(GetDlgItem(m_hWnd, IDC_KEYS_REMOVE), set != 0);

    SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_RESETCONTENT, 0, 0);
    for (int key = 0; key < kAssignableKeyCount; ++key) {
        SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
        ShowRow(static_cast<AssignableKey>(key));
    }
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_SETCURSEL, m_row, 0);
    LoadEditor();
}

// "Name<TAB>what it does" in the key's row.
void KeysDialog::ShowRow(AssignableKey key)
{
    char name[64];
    char words[kAssignmentTextSize + 64];
    char row[sizeof name + sizeof words];
    Shown shown;
    ShownAction(m_set, key, &shown);
    KeyDisplayName(key, name, sizeof name);
    DescribeAction(shown.kind, shown.argument, words, sizeof words);
    JoinText(row, sizeof row, name, "\t", words);
    HWND list = GetDlgItem(m_hWnd, IDC_KEYS_LIST);
    const LRESULT selected = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    const int index = static_cast<int>(key);
    ::SendMessageA(list, LB_DELETESTRING, index, 0);
    ::SendMessageA(list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(row));
    if (selected != LB_ERR) ::SendMessageA(list, LB_SETCURSEL, selected, 0);
}

void KeysDialog::LoadEditor()
{
    Shown shown;
    ShownAction(m_set, static_cast<AssignableKey>(m_row), &shown);
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_ACTION, CB_SETCURSEL, shown.kind, 0);
    SetDlgItemTextA(m_hWnd, IDC_KEYS_ARGUMENT, shown.argument);
    EnableEditor(shown.kind);
}

// A value not understood keeps its text in view, but nothing can be typed
// until the user chooses what the key does instead.
void KeysDialog::EnableEditor(int kind)
{
    EnableWindow(GetDlgItem(m_hWnd, IDC_KEYS_ARGUMENT), HasArgument(kind));
    EnableWindow(GetDlgItem(m_hWnd, IDC_KEYS_BROWSE), kind == static_cast<int>(AssignmentKind::kStart));
}

int KeysDialog::SelectedAction() const
{
    const LRESULT item = SendDlgItemMessageA(m_hWnd, IDC_KEYS_ACTION, CB_GETCURSEL, 0, 0);
    return item == CB_ERR ? kNotUnderstood : static_cast<int>(item);
}

// The editor's action, when it differs from what the row shows, becomes the
// user's choice for the key; an untouched row stays unchosen.
void KeysDialog::KeepEditor()
{
    const int kind = SelectedAction();
    if (kind == kNotUnderstood) return;
    char argument[kAssignmentTextSize] = "";
    if (HasArgument(kind)) GetDlgItemTextA(m_hWnd, IDC_KEYS_ARGUMENT, argument, sizeof argument);
    const AssignableKey key = static_cast<AssignableKey>(m_row);
    Shown shown;
    ShownAction(m_set, key, &shown);
    if (shown.kind == kind && (!HasArgument(kind) || lstrcmpA(shown.argument, argument) == 0)) return;
    KeyEdit& edit = m_sets[m_set].edits[m_row];
    edit.changed = true;
    edit.kind = static_cast<AssignmentKind>(kind);
    lstrcpynA(edit.argument, argument, sizeof edit.argument);
    ShowRow(key);
}

void KeysDialog::FindKey(DWORD keyCode)
{
    const AssignableKey key = AssignableKeyOf(keyCode);
    if (!m_hWnd || key == AssignableKey::kNone) return;
    KeepEditor();
    m_row = static_cast<int>(key);
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_SETCURSEL, m_row, 0);
    LoadEditor();
}

LRESULT KeysDialog::OnProgramChange(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != CBN_SELCHANGE) return 0;
    KeepEditor();
    HWND programs = GetDlgItem(m_hWnd, IDC_KEYS_PROGRAM);
    const LRESULT item = ::SendMessageA(programs, CB_GETCURSEL, 0, 0);
    ShowSet(item == CB_ERR ? 0 : static_cast<int>(::SendMessageA(programs, CB_GETITEMDATA, item, 0)));
    return 0;
}

LRESULT KeysDialog::OnKeyChange(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != LBN_SELCHANGE) return 0;
    KeepEditor();
    const LRESULT row = SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_GETCURSEL, 0, 0);
    if (row != LB_ERR) m_row = static_cast<int>(row);
    LoadEditor();
    return 0;
}

LRESULT KeysDialog::OnActionChange(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) != CBN_SELCHANGE) return 0;
    const int kind = SelectedAction();
    if (!HasArgument(kind)) SetDlgItemTextA(m_hWnd, IDC_KEYS_ARGUMENT, "");
    EnableEditor(kind);
    KeepEditor();
    return 0;
}

// Start's argument is a command line: a path with blanks is quoted, as Start,
// Run wants it.
LRESULT KeysDialog::OnBrowse(WPARAM, LPARAM)
{
    CFileDialog fileDialog(NULL, NULL, OFN_FILEMUSTEXIST | OFN_LONGNAMES | OFN_HIDEREADONLY,
                           "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||", m_hWnd);
    if (fileDialog.DoModal() != IDOK) return 0;
    const char* path = fileDialog.GetPathName();
    bool blank = false;
    for (const char* c = path; *c; ++c) blank = blank || *c == ' ';
    char argument[kAssignmentTextSize];
    JoinText(argument, sizeof argument, blank ? "\"" : "", path, blank ? "\"" : "");
    SetDlgItemTextA(m_hWnd, IDC_KEYS_ARGUMENT, argument);
    KeepEditor();
    return 0;
}

LRESULT KeysDialog::OnAddProgram(WPARAM, LPARAM)
{
    KeepEditor();
    CFileDialog fileDialog(NULL, NULL, OFN_FILEMUSTEXIST | OFN_LONGNAMES | OFN_HIDEREADONLY,
                           "Executable Files (*.exe)|*.exe||", m_hWnd);
    if (fileDialog.DoModal() != IDOK) return 0;
    const char* program = fileDialog.GetPathName() + fileDialog.m_ofn.nFileOffset;
    int set = 1;
    while (set < m_setCount && lstrcmpiA(m_sets[set].program, program) != 0) ++set;
    if (set < m_setCount && m_sets[set].shown) {
        ShowSet(set);
        return 0;
    }
    if (set < m_setCount) {
        // Removed and added again: a set of its own, empty, made on Save.
        ZeroMemory(m_sets[set].edits, sizeof m_sets[set].edits);
        m_sets[set].shown = m_sets[set].create = true;
    } else if ((set = AddSet(program)) < 0) {
        MessageBeep(MB_ICONEXCLAMATION);
        return 0;
    }
    const LRESULT item = SendDlgItemMessageA(m_hWnd, IDC_KEYS_PROGRAM, CB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(m_sets[set].program));
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_PROGRAM, CB_SETITEMDATA, item, set);
    ShowSet(set);
    return 0;
}

// Removed from the list at once, deleted from the registry on Save.
LRESULT KeysDialog::OnRemoveProgram(WPARAM, LPARAM)
{
    if (m_set == 0) return 0;
    KeySet& set = m_sets[m_set];
    char question[128], message[sizeof question + kProgramNameSize], caption[64];
    LoadLocalString(IDS_REMOVE_PROGRAM, question, sizeof question);
    JoinText(message, sizeof message, question, "\n\n", set.program);
    GetWindowTextA(m_hWnd, caption, sizeof caption);
    if (MessageBoxA(m_hWnd, message, caption, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
    ZeroMemory(set.edits, sizeof set.edits);
    set.shown = set.create = false;
    set.replace = true;
    HWND programs = GetDlgItem(m_hWnd, IDC_KEYS_PROGRAM);
    const LRESULT count = ::SendMessageA(programs, CB_GETCOUNT, 0, 0);
    for (LRESULT item = count - 1; item >= 0; --item)
        if (::SendMessageA(programs, CB_GETITEMDATA, item, 0) == m_set) ::SendMessageA(programs, CB_DELETESTRING, item, 0);
    ShowSet(0);
    return 0;
}

// The value Save writes: the word, and its argument after one blank.
bool KeysDialog::ComposeValue(const KeyEdit& edit, char* value, int size) const
{
    const char* word = kAssignmentWords[static_cast<int>(edit.kind)];
    if (!HasArgument(static_cast<int>(edit.kind))) return JoinText(value, size, word, "");
    return JoinText(value, size, word, " ", edit.argument);
}

// The first choice whose argument does not parse is shown, and the user told
// what it takes; true when there is one.
bool KeysDialog::RefuseBadArgument()
{
    for (int set = 0; set < m_setCount; ++set) {
        if (!m_sets[set].shown) continue;
        for (int key = 0; key < kAssignableKeyCount; ++key) {
            const KeyEdit& edit = m_sets[set].edits[key];
            char value[kAssignmentTextSize];
            Assignment assignment;
            if (!edit.changed || (ComposeValue(edit, value, sizeof value) && ParseAssignment(value, &assignment)))
                continue;
            m_row = key;
            ShowSet(set);
            char name[64], hint[256], message[sizeof name + sizeof hint], caption[64];
            KeyDisplayName(static_cast<AssignableKey>(key), name, sizeof name);
            LoadLocalString(IDS_BAD_ARGUMENT + static_cast<int>(edit.kind), hint, sizeof hint);
            JoinText(message, sizeof message, name, "\n\n", hint);
            GetWindowTextA(m_hWnd, caption, sizeof caption);
            MessageBoxA(m_hWnd, message, caption, MB_OK | MB_ICONEXCLAMATION);
            ::SetFocus(GetDlgItem(m_hWnd, IDC_KEYS_ARGUMENT));
            return true;
        }
    }
    return false;
}

// In a program's set, Standard is written as a value: it overrides the set
// for all programs. In that set, Standard is no value at all.
void KeysDialog::OnOK()
{
    KeepEditor();
    if (RefuseBadArgument()) return;
    for (int index = 0; index < m_setCount; ++index) {
        const KeySet& set = m_sets[index];
        const char* program = index == 0 ? NULL : set.program;
        if (set.replace) DeleteProgramSet(program);
        if (!set.shown) continue;
        if (set.create) CreateProgramSet(program);
        for (int key = 0; key < kAssignableKeyCount; ++key) {
            const KeyEdit& edit = set.edits[key];
            if (!edit.changed) continue;
            char value[kAssignmentTextSize];
            if (index == 0 && edit.kind == AssignmentKind::kStandard)
                DeleteAssignment(NULL, static_cast<AssignableKey>(key));
            else if (ComposeValue(edit, value, sizeof value))
                WriteAssignmentText(program, static_cast<AssignableKey>(key), value);
        }
    }
    EndDialog(IDOK);
}
