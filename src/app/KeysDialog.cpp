#include "app/KeysDialog.h"
#include "actions/KeyDispatcher.h"
#include "fw/BoundedText.h"
#include "fw/FileDialog.h"
#include "fw/FileNames.h"
#include "fw/ResourceLanguage.h"
#include "res/resource.h"

const MessageMapEntry KeysDialog::messageEntries[] = {
    ON_COMMAND(IDC_KEYS_PROGRAM, &KeysDialog::OnProgramChange),
    ON_COMMAND(IDC_KEYS_ADD, &KeysDialog::OnAddProgram),
    ON_COMMAND(IDC_KEYS_REMOVE, &KeysDialog::OnRemoveProgram),
    ON_COMMAND(IDC_KEYS_LIST, &KeysDialog::OnKeyChange),
    ON_COMMAND(IDC_KEYS_ACTION, &KeysDialog::OnActionChange),
    ON_CONTROL(EN_CHANGE, IDC_KEYS_ARGUMENT, &KeysDialog::OnArgumentChange),
    ON_COMMAND(IDC_KEYS_BROWSE, &KeysDialog::OnBrowse),
    END_MESSAGE_MAP
};
IMPLEMENT_MESSAGE_MAP(KeysDialog, CDialog)

namespace {

// The key names' column of the list, in dialog units.
const int kActionColumn = 70;
// The longest argument every action word still fits beside.
const int kArgumentLimit = kAssignmentTextSize - 1 - LongestArgumentPrefix();

}  // namespace

KeysDialog::KeysDialog(CWnd* owner) : CDialog(IDD_KEYS, owner), m_set(0), m_row(0) {}

BOOL KeysDialog::OnInitDialog()
{
    if (!m_choices.Load()) {
        MessageBeep(MB_ICONEXCLAMATION);
        EndDialog(IDCANCEL);
        return TRUE;
    }
    char text[128];
    for (const AssignmentKindRow& kind : kAssignmentKinds) {
        LoadLocalString(kind.choiceText, text, sizeof text);
        const LRESULT item =
            SendDlgItemMessageA(m_hWnd, IDC_KEYS_ACTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessageA(m_hWnd, IDC_KEYS_ACTION, CB_SETITEMDATA, item, static_cast<LPARAM>(kind.kind));
    }
    for (int set = 0; set < m_choices.Count(); ++set) ListProgram(set);
    int column = kActionColumn;
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&column));
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_ARGUMENT, EM_LIMITTEXT, kArgumentLimit, 0);
    m_row = 0;
    ShowSet(0);
    CenterWindow(m_parent ? m_parent->m_hWnd : NULL);
    return TRUE;
}

// The set's entry in the program list, which holds the set as its data.
void KeysDialog::ListProgram(int set)
{
    char allPrograms[128];
    const char* name = m_choices.Program(set);
    if (!name) {
        LoadLocalString(IDS_ALL_PROGRAMS, allPrograms, sizeof allPrograms);
        name = allPrograms;
    }
    const LRESULT item = SendDlgItemMessageA(m_hWnd, IDC_KEYS_PROGRAM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_PROGRAM, CB_SETITEMDATA, item, set);
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
    for (int key = 0; key < m_choices.KeyCount(); ++key) {
        SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
        ShowRow(key);
    }
    SendDlgItemMessageA(m_hWnd, IDC_KEYS_LIST, LB_SETCURSEL, m_row, 0);
    LoadEditor();
}

// "Name<TAB>what it does" in the key's row.
void KeysDialog::ShowRow(int key)
{
    char name[64];
    char words[kAssignmentTextSize + 64];
    char row[sizeof name + sizeof words];
    ShownAction shown;
    m_choices.Show(m_set, key, &shown);
    KeyDisplayName(m_choices.Key(key), name, sizeof name);
    DescribeAction(shown, words, sizeof words);
    JoinText(row, sizeof row, name, "\t", words);
    HWND list = GetDlgItem(m_hWnd, IDC_KEYS_LIST);
    const LRESULT selected = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    ::SendMessageA(list, LB_DELETESTRING, key, 0);
    ::SendMessageA(list, LB_INSERTSTRING, key, reinterpret_cast<LPARAM>(row));
    if (selected != LB_ERR) ::SendMessageA(list, LB_SETCURSEL, selected, 0);
}

void KeysDialog::LoadEditor()
{
    ShownAction shown;
    m_choices.Show(m_set, m_row, &shown);
    HWND actions = GetDlgItem(m_hWnd, IDC_KEYS_ACTION);
    const LRESULT count = ::SendMessageA(actions, CB_GETCOUNT, 0, 0);
    ::SendMessageA(actions, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    for (LRESULT item = 0; shown.understood && item < count; ++item)
        if (::SendMessageA(actions, CB_GETITEMDATA, item, 0) == static_cast<LRESULT>(shown.kind))
            ::SendMessageA(actions, CB_SETCURSEL, item, 0);
    SetDlgItemTextA(m_hWnd, IDC_KEYS_ARGUMENT, shown.argument);
    EnableEditor();
}

// A value not understood keeps its text in view, but nothing can be typed
// until the user chooses what the key does instead.
void KeysDialog::EnableEditor()
{
    AssignmentKind kind;
    const bool chosen = SelectedAction(&kind);
    EnableWindow(GetDlgItem(m_hWnd, IDC_KEYS_ARGUMENT), chosen && KindRow(kind).takesArgument);
    EnableWindow(GetDlgItem(m_hWnd, IDC_KEYS_BROWSE), chosen && kind == AssignmentKind::kStart);
}

// False while no action is chosen: the row shows a value not understood.
bool KeysDialog::SelectedAction(AssignmentKind* kind) const
{
    const LRESULT item = SendDlgItemMessageA(m_hWnd, IDC_KEYS_ACTION, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR) return false;
    *kind = static_cast<AssignmentKind>(SendDlgItemMessageA(m_hWnd, IDC_KEYS_ACTION, CB_GETITEMDATA, item, 0));
    return true;
}

// What the editor holds becomes the user's choice for its key, when it
// differs from what the row shows.
void KeysDialog::KeepEditor()
{
    char argument[kAssignmentTextSize] = "";
    GetDlgItemTextA(m_hWnd, IDC_KEYS_ARGUMENT, argument, sizeof argument);
    AssignmentKind kind;
    if (SelectedAction(&kind)) m_choices.Choose(m_set, m_row, kind, argument);
    ShowRow(m_row);
}

void KeysDialog::SelectKey(int key)
{
    KeepEditor();
    HWND list = GetDlgItem(m_hWnd, IDC_KEYS_LIST);
    if (key >= ::SendMessageA(list, LB_GETCOUNT, 0, 0)) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
        ShowRow(key);
    }
    m_row = key;
    ::SendMessageA(list, LB_SETCURSEL, m_row, 0);
    LoadEditor();
}

// A dialog opened from this one (the file dialog, a message box) disables
// it while it runs, and what it returns belongs to the row it was opened
// for: meanwhile a key moves nothing.
void KeysDialog::FindKey(DWORD keyCode)
{
    const USAGE usage = UsageOfKeyCode(keyCode);
    if (m_hWnd && IsWindowEnabled(m_hWnd) && usage) SelectKey(m_choices.FindKey(usage));
}

void KeysDialog::FindOtherKey(USAGE usage)
{
    if (!m_hWnd || !IsWindowEnabled(m_hWnd)) return;
    const int key = m_choices.FindKey(usage);
    if (key >= 0) SelectKey(key);
    else MessageBeep(MB_ICONEXCLAMATION);
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
    AssignmentKind kind;
    if (SelectedAction(&kind) && !KindRow(kind).takesArgument) SetDlgItemTextA(m_hWnd, IDC_KEYS_ARGUMENT, "");
    EnableEditor();
    KeepEditor();
    return 0;
}

// The row follows each keystroke. Loading the editor changes the text too,
// to what the row already shows: kept, that changes nothing.
LRESULT KeysDialog::OnArgumentChange(WPARAM, LPARAM)
{
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
    const int set = m_choices.Add(FileNameOf(fileDialog.GetPathName()));
    if (set < 0) {
        char format[256], message[sizeof format + 16], caption[64];
        LoadLocalString(IDS_TOO_MANY_PROGRAMS, format, sizeof format);
        wsprintfA(message, format, KeyChoices::kMaxPrograms);
        GetWindowTextA(m_hWnd, caption, sizeof caption);
        MessageBoxA(m_hWnd, message, caption, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    HWND programs = GetDlgItem(m_hWnd, IDC_KEYS_PROGRAM);
    bool inList = false;
    const LRESULT count = ::SendMessageA(programs, CB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item) inList = inList || ::SendMessageA(programs, CB_GETITEMDATA, item, 0) == set;
    if (!inList) ListProgram(set);
    ShowSet(set);
    return 0;
}

// Off the list at once; deleted from the registry on Save.
LRESULT KeysDialog::OnRemoveProgram(WPARAM, LPARAM)
{
    if (m_set == 0) return 0;
    char question[128], message[sizeof question + kProgramNameSize], caption[64];
    LoadLocalString(IDS_REMOVE_PROGRAM, question, sizeof question);
    JoinText(message, sizeof message, question, "\n\n", m_choices.Program(m_set));
    GetWindowTextA(m_hWnd, caption, sizeof caption);
    if (MessageBoxA(m_hWnd, message, caption, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
    m_choices.Remove(m_set);
    HWND programs = GetDlgItem(m_hWnd, IDC_KEYS_PROGRAM);
    const LRESULT count = ::SendMessageA(programs, CB_GETCOUNT, 0, 0);
    for (LRESULT item = count - 1; item >= 0; --item)
        if (::SendMessageA(programs, CB_GETITEMDATA, item, 0) == m_set) ::SendMessageA(programs, CB_DELETESTRING, item, 0);
    ShowSet(0);
    return 0;
}

// The first choice that would not be understood is shown, and the user told
// what is wrong with it and what its action takes; true when there is one.
bool KeysDialog::RefuseBadArgument()
{
    int set, key;
    AssignmentKind kind;
    AssignmentProblem problem;
    if (!m_choices.FindBadChoice(&set, &key, &kind, &problem)) return false;
    m_row = key;
    ShowSet(set);
    char name[64], refusal[1024], message[sizeof name + sizeof refusal], caption[64];
    KeyDisplayName(m_choices.Key(key), name, sizeof name);
    DescribeRefusal(kind, problem, refusal, sizeof refusal);
    JoinText(message, sizeof message, name, "\n\n", refusal);
    GetWindowTextA(m_hWnd, caption, sizeof caption);
    MessageBoxA(m_hWnd, message, caption, MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(GetDlgItem(m_hWnd, IDC_KEYS_ARGUMENT));
    return true;
}

void KeysDialog::OnOK()
{
    KeepEditor();
    if (RefuseBadArgument()) return;
    m_choices.Save();
    EndDialog(IDOK);
}
