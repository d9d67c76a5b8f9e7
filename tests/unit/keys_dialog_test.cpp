// The Keys dialog as the user drives it, opened by the settings page's Keys...
// button and run in its own modal loop: a helper thread plays the user,
// through messages to the real controls, while the test's thread runs the
// loop. The sets live in the test prefix's real registry.
#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>
#include <cstdlib>
#include <functional>
#include "actions/KeyDispatcher.h"
#include "mixer/MixerControls.h"
#include "settings/AssignmentStore.h"
#include "support/DialogRig.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"
#include "support/StandIns.h"

using namespace mmk_test;

namespace {

const std::string kKeys = std::string(kSettingsKey) + "\\Keys";
const std::string kPaint = std::string(kSettingsKey) + "\\Programs\\PAINT.EXE";
const std::string kCalc = std::string(kSettingsKey) + "\\Programs\\calc.exe";

std::string Stored(const std::string& set, const char* name) { return RegistryValue(HKEY_CURRENT_USER, set.c_str(), name); }
// The list's row of a key of the table, and its value's name.
int Row(DWORD keyCode)
{
    int row = 0;
    while (TableKey(row).keyCode != keyCode) ++row;
    return row;
}
const char* Name(DWORD keyCode) { return TableKey(Row(keyCode)).name; }

bool SetExists(const std::string& set)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, set.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Every value of every set, to prove that nothing was written.
std::string AllSets()
{
    std::string all;
    for (const std::string& set : { kKeys, kPaint, kCalc }) {
        all += SetExists(set) ? "set:" : "no set:";
        for (int key = 0; key < TableKeyCount(); ++key) all += Stored(set, TableKey(key).name) + "|";
    }
    return all;
}

// What the user does, from the helper thread: each step is a message the
// dialog's own thread handles, as a click would arrive.
struct User {
    HWND keys;
    void Notify(int id, int code) const
    {
        SendMessageA(keys, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(keys, id)));
    }
    void Program(const char* name) const
    {
        const LRESULT item = SendDlgItemMessageA(keys, IDC_KEYS_PROGRAM, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(name));
        SendDlgItemMessageA(keys, IDC_KEYS_PROGRAM, CB_SETCURSEL, item, 0);
        Notify(IDC_KEYS_PROGRAM, CBN_SELCHANGE);
    }
    void Select(int row) const
    {
        SendDlgItemMessageA(keys, IDC_KEYS_LIST, LB_SETCURSEL, row, 0);
        Notify(IDC_KEYS_LIST, LBN_SELCHANGE);
    }
    // The action of the kind, wherever the list shows it.
    void Choose(int row, AssignmentKind kind, const char* argument) const
    {
        Select(row);
        HWND actions = GetDlgItem(keys, IDC_KEYS_ACTION);
        for (LRESULT item = 0; item < SendMessageA(actions, CB_GETCOUNT, 0, 0); ++item)
            if (SendMessageA(actions, CB_GETITEMDATA, item, 0) == static_cast<LRESULT>(kind))
                SendMessageA(actions, CB_SETCURSEL, item, 0);
        Notify(IDC_KEYS_ACTION, CBN_SELCHANGE);
        SetDlgItemTextA(keys, IDC_KEYS_ARGUMENT, argument);
    }
    // What a row says the key does, or its name.
    std::string RowText(int row, bool name = false) const
    {
        char text[600] = "";
        SendDlgItemMessageA(keys, IDC_KEYS_LIST, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        const std::string whole = text;
        return name ? whole.substr(0, whole.find('\t')) : whole.substr(whole.find('\t') + 1);
    }
    int Rows() const { return static_cast<int>(SendDlgItemMessageA(keys, IDC_KEYS_LIST, LB_GETCOUNT, 0, 0)); }
    int SelectedRow() const { return static_cast<int>(SendDlgItemMessageA(keys, IDC_KEYS_LIST, LB_GETCURSEL, 0, 0)); }
    // A shown window the dialog owns: a message box, the file dialog.
    HWND OwnedWindow(DWORD timeoutMs = 10000) const
    {
        HWND found = NULL;
        WaitUntil([&] {
            for (HWND w = GetTopWindow(NULL); w && !found; w = GetWindow(w, GW_HWNDNEXT))
                if (GetWindow(w, GW_OWNER) == keys && IsWindowVisible(w)) found = w;
            return found != NULL;
        }, timeoutMs);
        return found;
    }
    // The dialog that a click brings up.
    HWND Open(int button) const
    {
        PostMessageA(keys, WM_COMMAND, button, 0);
        return OwnedWindow();
    }
    // Answers a message box; its text.
    std::wstring Answer(HWND box, int answer) const
    {
        const std::wstring text = box ? WindowTextW(GetDlgItem(box, 0xFFFF)) : L"(no message box)";
        if (box) PostMessageA(box, WM_COMMAND, answer, 0);
        WaitUntil([&] { return !IsWindow(box); });
        return text;
    }
    std::wstring Answer(int button, int answer) const { return Answer(Open(button), answer); }
    void PickFile(HWND files, const std::string& path) const
    {
        SetDlgItemTextA(files, cmb13, path.c_str());
        SetDlgItemTextA(files, edt1, path.c_str());
        PostMessageA(files, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !IsWindow(files); });
    }
    void Close(int button) const { PostMessageA(keys, WM_COMMAND, button, 0); }
};

class KeysDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceLanguage(kEnglishUS);
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    }
    void TearDown() override
    {
        EndProgramsStartedBy(GetCurrentProcessId());  // what the keys started
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
        CloseMixer();
        ClearSimulator();
    }
    // Opens the dialog through its button and plays the user until the
    // steps end it (with Cancel if they did not).
    void WithDialog(std::function<void(const User&)> steps)
    {
        struct Job {
            std::function<void(const User&)> steps;
            bool opened;
        } job = { steps, false };
        HANDLE helper = CreateThread(NULL, 0, [](LPVOID parameter) -> DWORD {
            Job* job = static_cast<Job*>(parameter);
            User user = { NULL };
            if (!WaitUntil([&] { return (user.keys = FindShownDialog(GetCurrentProcessId(), kDialogTitle)) != NULL; }))
                return 0;
            job->opened = true;
            job->steps(user);
            // Steps that did not end it, or whose Save was refused: what it
            // shows is cancelled first, then the dialog.
            if (!WaitUntil([&] { return !IsWindow(user.keys); }, 5000)) {
                if (HWND shown = user.OwnedWindow(0)) PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
                user.Close(IDCANCEL);
            }
            return 0;
        }, &job, 0, NULL);
        page.Command(IDC_KEYS);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(helper, 30000));
        CloseHandle(helper);
        EXPECT_TRUE(job.opened) << "no Keys dialog";
    }

    DialogRig page;
};

// The user's edits, in all programs and in a program's own set, and what
// Save leaves in the registry.
const struct Edit {
    const std::string* set;
    DWORD key;
    AssignmentKind kind;
    const char* argument;
    const char* row;     // the row afterwards
    const char* stored;  // the value afterwards, "(none)": no value
    int before = -1;     // an AssignmentKind chosen first, then changed back
} kEdits[] = {
    { &kKeys, kKeyWebSearch, AssignmentKind::kNothing, "", "Nothing", "nothing" },
    { &kKeys, kKeyBack, AssignmentKind::kKeys, "Alt+Left", "Keys: Alt+Left", "keys Alt+Left" },
    { &kKeys, kKeyRefresh, AssignmentKind::kCommand, "Winamp v1.x, 40048", "Command: Winamp v1.x, 40048",
      "command Winamp v1.x, 40048" },
    { &kKeys, kKeyFavourites, AssignmentKind::kStandard, "", "Standard", "(none)" },
    { &kPaint, kKeyVolumeDown, AssignmentKind::kKeys, "Ctrl+PageDown", "Keys: Ctrl+PageDown",
      "keys Ctrl+PageDown" },
    // Standard in a program's set overrides the set for all programs.
    { &kPaint, kKeyBack, AssignmentKind::kStandard, "", "Standard", "standard" },
    // Changed and changed back: no change, and Paint goes on following all
    // programs.
    { &kKeys, kKeyMail, AssignmentKind::kStart, "old.exe", "Start: old.exe", "start old.exe",
      static_cast<int>(AssignmentKind::kNothing) },
    { &kPaint, kKeyMail, AssignmentKind::kStart, "old.exe", "Start: old.exe", "(none)",
      static_cast<int>(AssignmentKind::kKeys) },
    { &kPaint, kKeyHomePage, AssignmentKind::kStart, "\"C:\\My Files\\a b.txt\"",
      "Start: \"C:\\My Files\\a b.txt\"", "start \"C:\\My Files\\a b.txt\"" },
};

TEST_F(KeysDialogTest, SaveWritesWhatTheUserChangedCancelNothingAndUntouchedValuesStayAsTheyWere)
{
    SetRegistryText(HKEY_CURRENT_USER, kKeys.c_str(), "Mail", "start old.exe");
    SetRegistryText(HKEY_CURRENT_USER, kKeys.c_str(), "Favourites", "NOTHING");
    SetRegistryText(HKEY_CURRENT_USER, kKeys.c_str(), "Mute", "bogus words");
    SetRegistryValue(HKEY_CURRENT_USER, kKeys.c_str(), "Calculator", std::string(4, '\1'), REG_DWORD);
    SetRegistryText(HKEY_CURRENT_USER, kKeys.c_str(), "Loudness", "start " + std::string(260, 'x'));
    SetRegistryText(HKEY_CURRENT_USER, kPaint.c_str(), "VolumeUp", "keys Ctrl+PageUp");
    const std::string before = AllSets();
    const struct {
        const std::string* set;
        DWORD key;
        const char* row;
    } shown[] = {
        { &kKeys, kKeyMail, "Start: old.exe" },
        { &kKeys, kKeyFavourites, "Nothing" },
        { &kKeys, kKeyMute, "Not understood: bogus words" },
        { &kKeys, kKeyCalculator, "Not understood" },
        { &kKeys, kKeyLoudness, "Not understood" },
        { &kKeys, kKeyVolumeUp, "Standard" },
        { &kPaint, kKeyVolumeUp, "Keys: Ctrl+PageUp" },
        { &kPaint, kKeyMail, "Start: old.exe" },  // from the set for all programs
    };
    for (int button : { IDCANCEL, IDOK }) {
        WithDialog([&](const User& user) {
            for (const std::string* set : { &kKeys, &kPaint }) {
                user.Program(set == &kKeys ? "All programs" : "PAINT.EXE");
                for (const auto& s : shown)
                    if (s.set == set) EXPECT_EQ(s.row, user.RowText(Row(s.key))) << Name(s.key);
                for (const Edit& e : kEdits) {
                    if (e.set != set) continue;
                    if (e.before >= 0) {
                        user.Choose(Row(e.key), static_cast<AssignmentKind>(e.before), e.argument);
                        user.Select(Row(kKeyMyComputer));
                    }
                    user.Choose(Row(e.key), e.kind, e.argument);
                    EXPECT_EQ(e.row, user.RowText(Row(e.key))) << Name(e.key) << ", as typed";
                    user.Select(Row(kKeyMyComputer));  // leaving the row keeps the choice
                    EXPECT_EQ(e.row, user.RowText(Row(e.key))) << Name(e.key);
                }
                // Looked at, not changed.
                user.Select(Row(kKeyMute));
                user.Select(Row(kKeyCalculator));
            }
            user.Close(button);
        });
        if (button == IDCANCEL) EXPECT_EQ(before, AllSets()) << "Cancel wrote";
    }
    for (const Edit& e : kEdits)
        EXPECT_EQ(e.stored == std::string("(none)") ? e.stored : e.stored + std::string(1, '\0'), Stored(*e.set, Name(e.key)))
            << Name(e.key);
    EXPECT_EQ(std::string("bogus words\0", 12), Stored(kKeys, "Mute"));
    EXPECT_EQ(std::string(4, '\1'), Stored(kKeys, "Calculator"));
    EXPECT_EQ("start " + std::string(260, 'x') + '\0', Stored(kKeys, "Loudness"));
    EXPECT_EQ(std::string("keys Ctrl+PageUp\0", 17), Stored(kPaint, "VolumeUp"));
    EXPECT_EQ("(none)", Stored(kKeys, "MyComputer"));
    EXPECT_EQ("(none)", Stored(kPaint, "MyComputer")) << "a row only looked at was written";

    // Opened again, it shows what was saved.
    WithDialog([&](const User& user) {
        for (const Edit& e : kEdits) {
            user.Program(e.set == &kKeys ? "All programs" : "PAINT.EXE");
            EXPECT_EQ(e.row, user.RowText(Row(e.key))) << Name(e.key);
        }
        user.Close(IDCANCEL);
    });
}

// In each language, centred on the settings dialog, moved only as far as
// keeps it whole on the screen; its list shows whole rows.
TEST_F(KeysDialogTest, ItOpensCentredOnTheSettingsDialogWholeOnTheScreenWithWholeRows)
{
    RECT work, owner;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (LANGID language : { kEnglishUS, kChineseTaiwan, kChineseChina }) {
        SetResourceLanguage(language);
        // The settings dialog in the middle, at the top left, at the bottom right.
        for (int place : { 0, 1, 2 }) {
            GetWindowRect(page.Window(), &owner);
            const int width = owner.right - owner.left, height = owner.bottom - owner.top;
            const int x[] = { (work.left + work.right - width) / 2, work.left, work.right - width };
            const int y[] = { (work.top + work.bottom - height) / 2, work.top, work.bottom - height };
            SetWindowPos(page.Window(), NULL, x[place], y[place], 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            GetWindowRect(page.Window(), &owner);
            WithDialog([&](const User& user) {
                RECT keys, list;
                GetWindowRect(user.keys, &keys);
                const int top[] = { (owner.top + owner.bottom - (keys.bottom - keys.top)) / 2, work.top,
                                    work.bottom - (keys.bottom - keys.top) };
                EXPECT_NEAR((owner.left + owner.right) / 2, (keys.left + keys.right) / 2, 1) << language << " " << place;
                EXPECT_NEAR(top[place], keys.top, 1) << language << " " << place;
                GetClientRect(GetDlgItem(user.keys, IDC_KEYS_LIST), &list);
                EXPECT_EQ(0, list.bottom % SendDlgItemMessageA(user.keys, IDC_KEYS_LIST, LB_GETITEMHEIGHT, 0, 0));
                user.Close(IDCANCEL);
            });
        }
    }
}

// Save refuses the first choice that would not be understood: its row is
// shown, the message names the part at fault in the program's language, and
// nothing is written. In English here; tests/CMakeLists.txt runs it again
// under each Chinese locale and its code page.
TEST_F(KeysDialogTest, ARefusalNamesWhatIsWrongAndNothingIsWritten)
{
    const bool languageRun = getenv("MMK_LANGUAGE_RUN") != NULL;
    SetResourceLanguage(languageRun ? ResourceLanguageFor(GetUserDefaultLangID(), GetACP()) : kEnglishUS);
    const int language = ResourceLanguage() == kChineseTaiwan ? 1 : ResourceLanguage() == kChineseChina ? 2 : 0;
    ASSERT_TRUE(language || !languageRun) << "the run got no Chinese locale and code page";
    const struct {
        AssignmentKind kind;
        const char* argument;
        const wchar_t* says[3];  // English, Traditional, Simplified
    } cases[] = {
        { AssignmentKind::kStart, "  ", { L"a folder or a web address", L"資料夾或網址", L"文件夹或网址" } },
        { AssignmentKind::kKeys, "Alt+F, Ctrl+Banana",
          { L"\"Banana\" is not a key", L"「Banana」不是按鍵", L"“Banana”不是按键" } },
        { AssignmentKind::kKeys, "Alt+F, Ctrl+",
          { L"A key is missing in \"Ctrl+\"", L"「Ctrl+」缺少按鍵", L"“Ctrl+”缺少按键" } },
        { AssignmentKind::kKeys, "A, B, C, D, E, F, G, H, I",
          { L"More than 8 chords", L"超過 8 個按鍵組合", L"超过 8 个按键组合" } },
        { AssignmentKind::kCommand, "Winamp v1.x", { L"The number is missing", L"缺少數字", L"缺少数字" } },
        { AssignmentKind::kCommand, ", 40048", { L"The window class is missing", L"缺少視窗類別", L"缺少窗口类名" } },
        { AssignmentKind::kCommand, "Winamp v1.x, 70000",
          { L"\"70000\" is not a number from 1 to 65535", L"「70000」不是 1 到 65535 的數字",
            L"“70000”不是 1 到 65535 之间的数字" } },
    };
    WithDialog([&](const User& user) {
        user.Choose(Row(kKeyCalculator), AssignmentKind::kNothing, "");  // fine, yet not written alone
        for (const auto& c : cases) {
            user.Choose(Row(kKeyBack), c.kind, c.argument);
            user.Select(Row(kKeyMyComputer));
            const std::wstring text = user.Answer(IDOK, IDOK);
            EXPECT_NE(std::wstring::npos, text.find(c.says[language])) << text;
            // The keys' names, where a chord is refused.
            EXPECT_EQ(c.kind == AssignmentKind::kKeys, text.find(L"PageDown, Left") != std::wstring::npos) << text;
            EXPECT_EQ(Row(kKeyBack), user.SelectedRow());
            EXPECT_EQ("(none)", Stored(kKeys, "Calculator")) << c.argument;
            ASSERT_TRUE(IsWindow(user.keys)) << "Save ended the dialog";
        }
        user.Close(IDCANCEL);
    });
    EXPECT_EQ("(none)", Stored(kKeys, "Back"));
}

TEST_F(KeysDialogTest, AProgramIsAddedByItsFileNameAndRemovedAfterAYesBothOnlyOnSave)
{
    const std::string calc = StandIn("calc.exe");
    for (int close : { IDCANCEL, IDOK }) {
        WithDialog([&](const User& user) {
            user.PickFile(user.Open(IDC_KEYS_ADD), calc);
            EXPECT_TRUE(WaitUntil([&] {
                char shown[MAX_PATH] = "";
                GetDlgItemTextA(user.keys, IDC_KEYS_PROGRAM, shown, sizeof shown);
                return lstrcmpiA(shown, "calc.exe") == 0;
            })) << "the added program is not the one shown";
            user.Close(close);
        });
        EXPECT_EQ(close == IDOK, SetExists(kCalc));
    }

    SetRegistryText(HKEY_CURRENT_USER, kPaint.c_str(), "VolumeUp", "keys Ctrl+PageUp");
    const struct {
        int answer, close;
        bool remains;
    } cases[] = { { IDNO, IDOK, true }, { IDYES, IDCANCEL, true }, { IDYES, IDOK, false } };
    for (const auto& c : cases) {
        WithDialog([&](const User& user) {
            user.Program("PAINT.EXE");
            const std::wstring text = user.Answer(IDC_KEYS_REMOVE, c.answer);
            EXPECT_NE(std::wstring::npos, text.find(L"PAINT.EXE")) << text;
            const LRESULT item = SendDlgItemMessageA(user.keys, IDC_KEYS_PROGRAM, CB_FINDSTRINGEXACT, -1,
                                                     reinterpret_cast<LPARAM>("PAINT.EXE"));
            EXPECT_EQ(c.answer == IDYES, item == CB_ERR);
            user.Close(c.close);
        });
        EXPECT_EQ(c.remains, SetExists(kPaint)) << c.answer << " " << c.close;
    }
}

// A key outside the table gets a row of its own, named, after those that
// have a value: kept only when it is given an action and saved.
TEST_F(KeysDialogTest, AKeyPressedWhileItIsOpenSelectsItsRowOrAddsOneAndDoesNotAct)
{
    for (const char* control : { kMixerVolume, kMixerVolumeMax }) PutMixerValue(control, control == kMixerVolume ? 0 : 65535);
    PutMixerValue(kMixerMute, 0);
    PutMixerValue(kMixerPresent, 1);
    OpenMixerAndControls(NULL);
    const std::string calc = StandIn("calc.exe");
    ForgetLog(calc);
    SetRegistryText(HKEY_CURRENT_USER, kKeys.c_str(), "0x022D", "start " + calc);  // Zoom In
    // The keys act before the dialog opens: Mute toggles, Volume Up steps
    // and, held, keeps stepping.
    page.Keys(kKeyMute);
    page.Keys(kKeysReleased);
    ASSERT_EQ(1u, Mixer(kMixerMute));
    page.Keys(kKeyVolumeUp);
    page.Tick();
    const DWORD volume = Mixer(kMixerVolume);
    ASSERT_GT(volume, 0u);

    const int zoomIn = TableKeyCount(), eject = zoomIn + 1, unnamed = zoomIn + 2;
    WithDialog([&](const User& user) {
        user.Choose(Row(kKeyMail), AssignmentKind::kStart, "typed.exe");  // and not yet left
        const struct {
            UINT message;
            WPARAM usage;
            LPARAM key;
            int selected;
        } presses[] = {
            { WM_KEYBOARD_KEYS, 0, kKeyMute, Row(kKeyMute) },
            { WM_KEYBOARD_KEYS, 0, kKeysReleased, Row(kKeyMute) },
            { WM_KEYBOARD_KEYS, 0, kKeyVolumeUp, Row(kKeyVolumeUp) },
            { WM_KEYBOARD_KEYS, 0, kKeyMute | kKeyMail, Row(kKeyVolumeUp) },  // two keys: none
            { WM_KEYBOARD_OTHER_KEY, 0x00B8, kOtherKeyPressed, eject },
            { WM_KEYBOARD_OTHER_KEY, 0x0300, kOtherKeyPressed, unnamed },
            { WM_KEYBOARD_OTHER_KEY, 0x022D, kOtherKeyReleased, unnamed },
            { WM_KEYBOARD_OTHER_KEY, 0x022D, kOtherKeyPressed, zoomIn },
            { WM_KEYBOARD_OTHER_KEY, 0x00B8, kOtherKeyPressed, eject },
            { WM_KEYBOARD_KEYS, 0, kKeyVolumeDown, Row(kKeyVolumeDown) },
            { WM_KEYBOARD_KEYS, 0, kKeyMute, Row(kKeyMute) },
        };
        for (const auto& p : presses) {
            SendMessageA(page.Window(), p.message, p.usage, p.key);
            SendMessageA(page.Window(), WM_TIMER, kRepeatTimerId, 0);
            EXPECT_EQ(p.selected, user.SelectedRow()) << std::hex << p.usage << " " << p.key;
        }
        EXPECT_EQ(unnamed + 1, user.Rows());
        EXPECT_EQ("Zoom In|Eject|Key 0x0300",
                  user.RowText(zoomIn, true) + "|" + user.RowText(eject, true) + "|" + user.RowText(unnamed, true));
        EXPECT_EQ("Start: typed.exe", user.RowText(Row(kKeyMail))) << "the row's edit was lost";
        EXPECT_EQ(1u, Mixer(kMixerMute));
        EXPECT_EQ(volume, Mixer(kMixerVolume)) << "the held key kept stepping, or a press stepped";
        user.Choose(eject, AssignmentKind::kStart, "cdplayer.exe");
        user.Close(IDOK);
    });
    EXPECT_EQ(std::string("start cdplayer.exe\0", 19), Stored(kKeys, "0x00B8"));
    EXPECT_EQ("(none)", Stored(kKeys, "0x0300")) << "a key found and left as it is was written";
    // Closed, the keys act again: once Zoom In starts another program, the
    // one it started before would have shown, had it started meanwhile.
    page.Keys(kKeyMute);
    EXPECT_EQ(0u, Mixer(kMixerMute));
    const std::string mail = StandIn("mailstub.exe");
    ForgetLog(mail);
    SetRegistryText(HKEY_CURRENT_USER, kKeys.c_str(), "0x022D", "start " + mail);
    page.SendMessage(WM_KEYBOARD_OTHER_KEY, 0x022D, kOtherKeyPressed);
    EXPECT_NE("", CommandLineOf(mail));
    EXPECT_EQ(0, StartsOf(calc)) << "Zoom In acted while the dialog was open";
}

// What a dialog opened from the Keys dialog returns belongs to the row it
// was opened for: meanwhile a key from the keyboard moves no row.
TEST_F(KeysDialogTest, WhileADialogItOpenedIsOpenAKeyMovesNoRow)
{
    SetRegistryText(HKEY_CURRENT_USER, kKeys.c_str(), "Back", "start old.exe");
    SetRegistryText(HKEY_CURRENT_USER, kPaint.c_str(), "VolumeUp", "keys Ctrl+PageUp");
    const std::string calc = StandIn("calc.exe");
    WithDialog([&](const User& user) {
        user.Choose(Row(kKeyMail), AssignmentKind::kStart, "before.exe");
        HWND files = user.Open(IDC_KEYS_BROWSE);
        SendMessageA(page.Window(), WM_KEYBOARD_KEYS, 0, kKeyBack);
        EXPECT_EQ(Row(kKeyMail), user.SelectedRow()) << "moved under the file dialog";
        user.PickFile(files, calc);

        user.Program("PAINT.EXE");
        user.Select(Row(kKeyVolumeUp));
        HWND box = user.Open(IDC_KEYS_REMOVE);
        SendMessageA(page.Window(), WM_KEYBOARD_KEYS, 0, kKeyBack);
        EXPECT_EQ(Row(kKeyVolumeUp), user.SelectedRow()) << "moved under the message box";
        user.Answer(box, IDNO);
        user.Close(IDOK);
    });
    EXPECT_EQ("start " + calc + '\0', Stored(kKeys, "Mail"));
    EXPECT_EQ(std::string("start old.exe\0", 14), Stored(kKeys, "Back"));
}

// Every program's set is listed, however many a person keeps, and 64 keys
// outside the table that have values in them, by usage; when no more fit,
// Add says so, and a key pressed finds no row.
TEST_F(KeysDialogTest, EveryProgramSetAndOtherKeyIsListedAndAddSaysWhenNoMoreFit)
{
    const std::string programs = std::string(kSettingsKey) + "\\Programs\\";
    char name[16], other[16];
    for (int i = 1; i <= 256; ++i) {
        wsprintfA(name, "P%03d.EXE", i);
        wsprintfA(other, "0x%04X", 0x0440 - i);
        SetRegistryText(HKEY_CURRENT_USER, (programs + name).c_str(), i <= 64 ? other : "Mail", "nothing");
    }
    WithDialog([&](const User& user) {
        EXPECT_EQ(257, SendDlgItemMessageA(user.keys, IDC_KEYS_PROGRAM, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(TableKeyCount() + 64, user.Rows());
        EXPECT_EQ("Key 0x0400", user.RowText(TableKeyCount(), true));
        EXPECT_EQ("Key 0x043F", user.RowText(user.Rows() - 1, true));
        SendMessageA(page.Window(), WM_KEYBOARD_OTHER_KEY, 0x0300, kOtherKeyPressed);
        EXPECT_EQ(TableKeyCount() + 64, user.Rows());
        user.Program("P256.EXE");
        EXPECT_EQ("Nothing", user.RowText(Row(kKeyMail)));
        user.PickFile(user.Open(IDC_KEYS_ADD), StandIn("calc.exe"));
        const std::wstring text = user.Answer(user.OwnedWindow(), IDOK);
        EXPECT_NE(std::wstring::npos, text.find(L"at most 256 programs")) << text;
        user.Answer(IDC_KEYS_REMOVE, IDYES);
        user.Close(IDOK);
    });
    EXPECT_FALSE(SetExists(programs + "P256.EXE"));
    EXPECT_TRUE(SetExists(programs + "P255.EXE"));
    EXPECT_EQ("(none)", Stored(kKeys, "0x0300"));
    EXPECT_FALSE(SetExists(kCalc));
}

}  // namespace
