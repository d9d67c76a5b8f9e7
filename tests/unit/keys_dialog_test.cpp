// The Keys dialog as the user drives it, opened by the settings page's Keys...
// button and run in its own modal loop: a helper thread plays the user,
// through messages to the real controls, while the test's thread runs the
// loop. The sets live in the test prefix's real registry.
#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>
#include <functional>
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
const char* Name(AssignableKey key) { return kAssignableKeyNames[static_cast<int>(key)]; }

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
        for (int key = 0; key < kAssignableKeyCount; ++key) all += Stored(set, kAssignableKeyNames[key]) + "|";
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
    void Row(AssignableKey key) const
    {
        SendDlgItemMessageA(keys, IDC_KEYS_LIST, LB_SETCURSEL, static_cast<int>(key), 0);
        Notify(IDC_KEYS_LIST, LBN_SELCHANGE);
    }
    void Choose(AssignableKey key, AssignmentKind kind, const char* argument) const
    {
        Row(key);
        SendDlgItemMessageA(keys, IDC_KEYS_ACTION, CB_SETCURSEL, static_cast<int>(kind), 0);
        Notify(IDC_KEYS_ACTION, CBN_SELCHANGE);
        SetDlgItemTextA(keys, IDC_KEYS_ARGUMENT, argument);
    }
    std::string RowText(AssignableKey key) const
    {
        char text[600] = "";
        SendDlgItemMessageA(keys, IDC_KEYS_LIST, LB_GETTEXT, static_cast<int>(key), reinterpret_cast<LPARAM>(text));
        const char* tab = strchr(text, '\t');
        return tab ? tab + 1 : text;
    }
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
    std::string Answer(HWND box, int answer) const
    {
        const std::string text = box ? MessageBoxText(box) : "(no message box)";
        if (box) PostMessageA(box, WM_COMMAND, answer, 0);
        WaitUntil([&] { return !IsWindow(box); });
        return text;
    }
    std::string Answer(int button, int answer) const { return Answer(Open(button), answer); }
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
    AssignableKey key;
    AssignmentKind kind;
    const char* argument;
    const char* row;     // the row afterwards
    const char* stored;  // the value afterwards, "(none)": no value
    int before = -1;     // an AssignmentKind chosen first, then changed back
} kEdits[] = {
    { &kKeys, AssignableKey::kWebSearch, AssignmentKind::kNothing, "", "Nothing", "nothing" },
    { &kKeys, AssignableKey::kBack, AssignmentKind::kKeys, "Alt+Left", "Keys: Alt+Left", "keys Alt+Left" },
    { &kKeys, AssignableKey::kRefresh, AssignmentKind::kCommand, "Winamp v1.x, 40048", "Command: Winamp v1.x, 40048",
      "command Winamp v1.x, 40048" },
    { &kKeys, AssignableKey::kFavourites, AssignmentKind::kStandard, "", "Standard", "(none)" },
    { &kPaint, AssignableKey::kVolumeDown, AssignmentKind::kKeys, "Ctrl+PageDown", "Keys: Ctrl+PageDown",
      "keys Ctrl+PageDown" },
    // Standard in a program's set overrides the set for all programs.
    { &kPaint, AssignableKey::kBack, AssignmentKind::kStandard, "", "Standard", "standard" },
    // Changed and changed back: no change, and Paint goes on following all
    // programs.
    { &kKeys, AssignableKey::kMail, AssignmentKind::kStart, "old.exe", "Start: old.exe", "start old.exe",
      static_cast<int>(AssignmentKind::kNothing) },
    { &kPaint, AssignableKey::kMail, AssignmentKind::kStart, "old.exe", "Start: old.exe", "(none)",
      static_cast<int>(AssignmentKind::kKeys) },
    { &kPaint, AssignableKey::kHomePage, AssignmentKind::kStart, "\"C:\\My Files\\a b.txt\"",
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
        AssignableKey key;
        const char* row;
    } shown[] = {
        { &kKeys, AssignableKey::kMail, "Start: old.exe" },
        { &kKeys, AssignableKey::kFavourites, "Nothing" },
        { &kKeys, AssignableKey::kMute, "Not understood: bogus words" },
        { &kKeys, AssignableKey::kCalculator, "Not understood" },
        { &kKeys, AssignableKey::kLoudness, "Not understood" },
        { &kKeys, AssignableKey::kVolumeUp, "Standard" },
        { &kPaint, AssignableKey::kVolumeUp, "Keys: Ctrl+PageUp" },
        { &kPaint, AssignableKey::kMail, "Start: old.exe" },  // from the set for all programs
    };
    for (int button : { IDCANCEL, IDOK }) {
        WithDialog([&](const User& user) {
            for (const std::string* set : { &kKeys, &kPaint }) {
                user.Program(set == &kKeys ? "All programs" : "PAINT.EXE");
                for (const auto& s : shown)
                    if (s.set == set) EXPECT_EQ(s.row, user.RowText(s.key)) << Name(s.key);
                for (const Edit& e : kEdits) {
                    if (e.set != set) continue;
                    if (e.before >= 0) {
                        user.Choose(e.key, static_cast<AssignmentKind>(e.before), e.argument);
                        user.Row(AssignableKey::kMyComputer);
                    }
                    user.Choose(e.key, e.kind, e.argument);
                    user.Row(AssignableKey::kMyComputer);  // leaving the row keeps the choice
                    EXPECT_EQ(e.row, user.RowText(e.key)) << Name(e.key);
                }
                // Looked at, not changed.
                user.Row(AssignableKey::kMute);
                user.Row(AssignableKey::kCalculator);
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
            EXPECT_EQ(e.row, user.RowText(e.key)) << Name(e.key);
        }
        user.Close(IDCANCEL);
    });
}

TEST_F(KeysDialogTest, AnArgumentThatDoesNotParseIsRefusedSayingWhyAndNothingIsWritten)
{
    const struct {
        AssignableKey key;
        AssignmentKind kind;
        const char* argument;
        const char* says;
    } cases[] = {
        { AssignableKey::kMail, AssignmentKind::kStart, "  ", "web address to start" },
        { AssignableKey::kBack, AssignmentKind::kKeys, "Hyper+X", "up to 8 chords" },
        { AssignableKey::kBack, AssignmentKind::kKeys, "A, B, C, D, E, F, G, H, I", "up to 8 chords" },
        { AssignableKey::kNextTrack, AssignmentKind::kCommand, "Winamp v1.x", "a number from 1 to 65535" },
    };
    for (const auto& c : cases) {
        WithDialog([&](const User& user) {
            user.Choose(AssignableKey::kCalculator, AssignmentKind::kNothing, "");  // fine, yet not written alone
            user.Choose(c.key, c.kind, c.argument);
            user.Row(AssignableKey::kMyComputer);
            const std::string text = user.Answer(IDOK, IDOK);
            EXPECT_NE(std::string::npos, text.find(c.says)) << text;
            EXPECT_EQ(static_cast<int>(c.key), user.SelectedRow());
            EXPECT_TRUE(IsWindow(user.keys)) << "Save ended the dialog";
            user.Close(IDCANCEL);
        });
        EXPECT_EQ("(none)", Stored(kKeys, "Calculator")) << c.argument;
        EXPECT_EQ("(none)", Stored(kKeys, Name(c.key))) << c.argument;
    }
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
            const std::string text = user.Answer(IDC_KEYS_REMOVE, c.answer);
            EXPECT_NE(std::string::npos, text.find("PAINT.EXE")) << text;
            const LRESULT item = SendDlgItemMessageA(user.keys, IDC_KEYS_PROGRAM, CB_FINDSTRINGEXACT, -1,
                                                     reinterpret_cast<LPARAM>("PAINT.EXE"));
            EXPECT_EQ(c.answer == IDYES, item == CB_ERR);
            user.Close(c.close);
        });
        EXPECT_EQ(c.remains, SetExists(kPaint)) << c.answer << " " << c.close;
    }
}

TEST_F(KeysDialogTest, AKeyPressedWhileItIsOpenSelectsItsRowAndDoesNotAct)
{
    for (const char* control : { kMixerVolume, kMixerVolumeMax }) PutMixerValue(control, control == kMixerVolume ? 0 : 65535);
    PutMixerValue(kMixerMute, 0);
    PutMixerValue(kMixerPresent, 1);
    OpenMixerAndControls(NULL);
    // The keys act before the dialog opens: Mute toggles, Volume Up steps
    // and, held, keeps stepping.
    page.Keys(kKeyMute);
    page.Keys(kKeysReleased);
    ASSERT_EQ(1u, Mixer(kMixerMute));
    page.Keys(kKeyVolumeUp);
    page.Tick();
    const DWORD volume = Mixer(kMixerVolume);
    ASSERT_GT(volume, 0u);

    WithDialog([&](const User& user) {
        user.Choose(AssignableKey::kMail, AssignmentKind::kStart, "typed.exe");  // and not yet left
        const struct {
            DWORD keyCode;
            AssignableKey selected;
        } presses[] = {
            { kKeyMute, AssignableKey::kMute },
            { kKeysReleased, AssignableKey::kMute },
            { kKeyVolumeUp, AssignableKey::kVolumeUp },
            { kKeyMute | kKeyMail, AssignableKey::kVolumeUp },  // two keys: none
            { kKeyVolumeDown, AssignableKey::kVolumeDown },
            { kKeyMute, AssignableKey::kMute },
        };
        for (const auto& p : presses) {
            SendMessageA(page.Window(), WM_KEYBOARD_KEYS, 0, p.keyCode);
            SendMessageA(page.Window(), WM_TIMER, kRepeatTimerId, 0);
            EXPECT_EQ(static_cast<int>(p.selected), user.SelectedRow()) << std::hex << p.keyCode;
        }
        EXPECT_EQ("Start: typed.exe", user.RowText(AssignableKey::kMail)) << "the row's edit was lost";
        EXPECT_EQ(1u, Mixer(kMixerMute));
        EXPECT_EQ(volume, Mixer(kMixerVolume)) << "the held key kept stepping, or a press stepped";
        user.Close(IDCANCEL);
    });
    // Closed, the keys act again.
    page.Keys(kKeyMute);
    EXPECT_EQ(0u, Mixer(kMixerMute));
}

// What a dialog opened from the Keys dialog returns belongs to the row it
// was opened for: meanwhile a key from the keyboard moves no row.
TEST_F(KeysDialogTest, WhileADialogItOpenedIsOpenAKeyMovesNoRow)
{
    SetRegistryText(HKEY_CURRENT_USER, kKeys.c_str(), "Back", "start old.exe");
    SetRegistryText(HKEY_CURRENT_USER, kPaint.c_str(), "VolumeUp", "keys Ctrl+PageUp");
    const std::string calc = StandIn("calc.exe");
    WithDialog([&](const User& user) {
        user.Choose(AssignableKey::kMail, AssignmentKind::kStart, "before.exe");
        HWND files = user.Open(IDC_KEYS_BROWSE);
        SendMessageA(page.Window(), WM_KEYBOARD_KEYS, 0, kKeyBack);
        EXPECT_EQ(static_cast<int>(AssignableKey::kMail), user.SelectedRow()) << "moved under the file dialog";
        user.PickFile(files, calc);

        user.Program("PAINT.EXE");
        user.Row(AssignableKey::kVolumeUp);
        HWND box = user.Open(IDC_KEYS_REMOVE);
        SendMessageA(page.Window(), WM_KEYBOARD_KEYS, 0, kKeyBack);
        EXPECT_EQ(static_cast<int>(AssignableKey::kVolumeUp), user.SelectedRow()) << "moved under the message box";
        user.Answer(box, IDNO);
        user.Close(IDOK);
    });
    EXPECT_EQ("start " + calc + '\0', Stored(kKeys, "Mail"));
    EXPECT_EQ(std::string("start old.exe\0", 14), Stored(kKeys, "Back"));
}

// Every program's set is listed, however many a person keeps; when no more
// fit, Add says so.
TEST_F(KeysDialogTest, EveryProgramSetIsListedAndAddSaysWhenNoMoreFit)
{
    const std::string programs = std::string(kSettingsKey) + "\\Programs\\";
    char name[16];
    for (int i = 1; i <= 256; ++i) {
        wsprintfA(name, "P%03d.EXE", i);
        SetRegistryText(HKEY_CURRENT_USER, (programs + name).c_str(), "Mail", "nothing");
    }
    WithDialog([&](const User& user) {
        EXPECT_EQ(257, SendDlgItemMessageA(user.keys, IDC_KEYS_PROGRAM, CB_GETCOUNT, 0, 0));
        user.Program("P256.EXE");
        EXPECT_EQ("Nothing", user.RowText(AssignableKey::kMail));
        user.PickFile(user.Open(IDC_KEYS_ADD), StandIn("calc.exe"));
        const std::string text = user.Answer(user.OwnedWindow(), IDOK);
        EXPECT_NE(std::string::npos, text.find("at most 256 programs")) << text;
        user.Answer(IDC_KEYS_REMOVE, IDYES);
        user.Close(IDOK);
    });
    EXPECT_FALSE(SetExists(programs + "P256.EXE"));
    EXPECT_TRUE(SetExists(programs + "P255.EXE"));
    EXPECT_FALSE(SetExists(kCalc));
}

}  // namespace
