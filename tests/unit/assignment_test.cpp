// What an owner may write for a key, read as the dispatcher reads it: the
// value's text, then the value as the registry holds it.
#include <gtest/gtest.h>
#include <string>
#include "settings/AssignmentStore.h"
#include "support/DialogRig.h"
#include "support/Program.h"
#include "support/StandIns.h"

using namespace mmk_test;

namespace {

// "Ctrl+Shift+78,88": each chord's modifiers and virtual key.
std::string ChordsOf(const Assignment& a)
{
    std::string words;
    for (int i = 0; i < a.chordCount; ++i) {
        if (i) words += ",";
        if (a.chords[i].modifiers & kChordCtrl) words += "Ctrl+";
        if (a.chords[i].modifiers & kChordAlt) words += "Alt+";
        if (a.chords[i].modifiers & kChordShift) words += "Shift+";
        words += std::to_string(a.chords[i].virtualKey);
    }
    return words;
}

// What the parse found, in words; for a refusal, its fault and the part named.
std::string Parsed(const std::string& text)
{
    const char* const faults[] = { "none",   "too long", "unknown word", "no argument", "extra argument", "not a key",
                                   "no key", "too many", "no class",     "no number",   "bad number" };
    Assignment a;
    AssignmentProblem p;
    if (!ParseAssignment(text.c_str(), &a, &p))
        return a.kind == AssignmentKind::kStandard ? faults[static_cast<int>(p.fault)] + (" [" + std::string(p.part) + "]")
                                                   : "?";
    switch (a.kind) {
    case AssignmentKind::kStandard: return "standard";
    case AssignmentKind::kNothing: return "nothing";
    case AssignmentKind::kStart: return "start [" + std::string(a.argument) + "]";
    case AssignmentKind::kKeys: return "keys " + ChordsOf(a);
    case AssignmentKind::kCommand: return "command [" + std::string(a.windowClass) + "] " + std::to_string(a.command);
    }
    return "?";
}

TEST(AssignmentFormat, EveryWordItsArgumentAndEveryKindOfBadData)
{
    const std::string start259 = "start " + std::string(253, 'x');
    const struct {
        std::string text;
        std::string parsed;
    } cases[] = {
        { "standard", "standard" },
        { "NOTHING", "nothing" },
        { "nothing at all", "extra argument [at all]" },
        { "start \"C:\\Program Files\\Outlook Express\\msimn.exe\" /mailurl:mailto:",
          "start [\"C:\\Program Files\\Outlook Express\\msimn.exe\" /mailurl:mailto:]" },
        { "Start http://www.example.com/", "start [http://www.example.com/]" },
        { "start", "no argument []" },
        { "start    ", "no argument []" },
        { start259, "start [" + std::string(253, 'x') + "]" },
        { start259 + "x", "too long []" },  // 260 characters
        { "keys Ctrl+Shift+N", "keys Ctrl+Shift+78" },
        { "keys alt+f, x", "keys Alt+70,88" },
        { "keys F1, F24, 0x5B, 7, PageUp, esc, Enter, Backspace", "keys 112,135,91,55,33,27,13,8" },
        { "keys A,B,C,D,E,F,G,H,I", "too many []" },  // nine chords
        { "keys", "no argument []" },
        { "keys F25", "not a key [F25]" },
        { "keys F01", "not a key [F01]" },
        { "keys Ctrl", "not a key [Ctrl]" },
        { "keys Ctrl+", "no key [Ctrl+]" },
        { "keys Alt+F, Ctrl++A", "no key [Ctrl++A]" },
        { "keys Hyper+A", "not a key [Hyper]" },
        { "keys Alt+F, ctrl+Banana", "not a key [Banana]" },
        { "keys A, ,B", "no key [A, ,B]" },
        { "keys 0x00", "not a key [0x00]" },
        { "keys 0x1G", "not a key [0x1G]" },
        { "keys AB", "not a key [AB]" },
        { "command Winamp v1.x, 40048", "command [Winamp v1.x] 40048" },
        { "command a,b , 7", "command [a,b] 7" },
        { "command Winamp v1.x", "no number []" },
        { "command Winamp v1.x, ", "no number []" },
        { "command 40048", "no class []" },
        { "command , 5", "no class []" },
        { "command X, 0", "bad number [0]" },
        { "command X, 65536", "bad number [65536]" },
        { "command X, 4294967297", "bad number [4294967297]" },
        { "command X, 12a", "bad number [12a]" },
        { "launch calc.exe", "unknown word [launch]" },
        { "", "unknown word []" },
    };
    for (const auto& c : cases) EXPECT_EQ(c.parsed, Parsed(c.text)) << c.text;
}

// The registry's side: the program's own set before all programs', a value
// it holds of another type or too long for the format counts as not
// understood, which leaves the key as it is by default. (What the Keys
// dialog shows of such values: keys_dialog_test.)
TEST(AssignmentStore, AProgramsSetWinsThenAllProgramsAndBadValuesAreStandard)
{
    const std::string keys = std::string(kSettingsKey) + "\\Keys";
    const std::string paint = std::string(kSettingsKey) + "\\Programs\\MSPAINT.EXE";
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    EXPECT_FALSE(AnyProgramSet());
    SetRegistryText(HKEY_CURRENT_USER, keys.c_str(), "VolumeUp", "keys Ctrl+A");
    SetRegistryText(HKEY_CURRENT_USER, keys.c_str(), "Mail", "nothing");
    SetRegistryText(HKEY_CURRENT_USER, paint.c_str(), "VolumeUp", "keys Ctrl+Add");  // not understood
    SetRegistryText(HKEY_CURRENT_USER, paint.c_str(), "VolumeDown", "keys Ctrl+B");
    SetRegistryValue(HKEY_CURRENT_USER, paint.c_str(), "Mute", std::string("\1\0\0\0", 4), REG_DWORD);
    SetRegistryText(HKEY_CURRENT_USER, paint.c_str(), "Loudness", "start " + std::string(260, 'x'));
    SetRegistryValue(HKEY_CURRENT_USER, paint.c_str(), "Back", "keys Esc", REG_BINARY);  // no zero, not text
    EXPECT_TRUE(AnyProgramSet());

    const struct {
        const char* program;
        const char* key;
        AssignmentKind inEffect;
    } cases[] = {
        { "mspaint.exe", "VolumeDown", AssignmentKind::kKeys },   // any case of the name
        { "MSPAINT.EXE", "VolumeUp", AssignmentKind::kStandard },  // its own bad value wins
        { "MSPAINT.EXE", "Mail", AssignmentKind::kNothing },       // none of its own
        { "NOTEPAD.EXE", "VolumeUp", AssignmentKind::kKeys },
        { NULL, "VolumeDown", AssignmentKind::kStandard },
        { "MSPAINT.EXE", "Mute", AssignmentKind::kStandard },
        { "MSPAINT.EXE", "Loudness", AssignmentKind::kStandard },
        { "MSPAINT.EXE", "Back", AssignmentKind::kStandard },
    };
    for (const auto& c : cases) {
        Assignment a;
        AssignmentInEffect(c.program, c.key, &a);
        EXPECT_EQ(c.inEffect, a.kind) << (c.program ? c.program : "(none)") << " " << c.key;
    }
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
}

// Assigned keys through the real dialog's routing, with a stand-in browser
// in front that logs every key event it receives.
class AssignedKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
        ASSERT_TRUE(BringToForeground(browserWindow = StartStandIn(browser, browserPath)));
    }
    void TearDown() override
    {
        EndProgramsStartedBy(GetCurrentProcessId());  // what the keys started
        DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    }
    void Assign(const char* key, const std::string& text) { SetRegistryText(HKEY_CURRENT_USER, keys.c_str(), key, text); }
    void Press(DWORD keyCode)
    {
        dialog.Keys(keyCode);
        dialog.Keys(kKeysReleased);
    }
    // A key outside the table, as a standard keyboard's readers post it.
    void PressOther(USHORT usage)
    {
        dialog.SendMessage(WM_KEYBOARD_OTHER_KEY, usage, kOtherKeyPressed);
        dialog.SendMessage(WM_KEYBOARD_OTHER_KEY, usage, kOtherKeyReleased);
    }

    const std::string keys = std::string(kSettingsKey) + "\\Keys";
    const std::string browserPath = StandIn("IEXPLORE.EXE");
    RunningProgram browser;
    HWND browserWindow = NULL;
    DialogRig dialog;
};

std::string Chord(char letter) { return "down " + std::to_string(letter) + ",up " + std::to_string(letter); }

// Each key its own letter, under the value name the README gives it: a key
// that obeys another's value sends the wrong letter.
TEST_F(AssignedKeysTest, EachOfTheTwentyThreeKeysObeysItsOwnValue)
{
    const struct {
        DWORD keyCode;
        const char* name;
    } named[] = {
        { kKeyMyComputer, "MyComputer" }, { kKeyWebSearch, "WebSearch" },     { kKeyHomePage, "HomePage" },
        { kKeyBack, "Back" },             { kKeyForward, "Forward" },         { kKeyBrowserStop, "BrowserStop" },
        { kKeyRefresh, "Refresh" },       { kKeyFavourites, "Favourites" },   { kKeyVolumeUp, "VolumeUp" },
        { kKeyVolumeDown, "VolumeDown" }, { kKeyBassUp, "BassUp" },           { kKeyBassDown, "BassDown" },
        { kKeyTrebleUp, "TrebleUp" },     { kKeyTrebleDown, "TrebleDown" },   { kKeyMail, "Mail" },
        { kKeyCalculator, "Calculator" }, { kKeyNextTrack, "NextTrack" },     { kKeyPreviousTrack, "PreviousTrack" },
        { kKeyMediaStop, "MediaStop" },   { kKeyPlayPause, "PlayPause" },     { kKeyMute, "Mute" },
        { kKeyLoudness, "Loudness" },     { kKeyMediaPlayer, "MediaPlayer" },
    };
    std::string expected;
    for (const auto& key : named) {
        const char letter = static_cast<char>('A' + (&key - named));
        Assign(key.name, std::string("keys ") + letter);
        expected += (expected.empty() ? "" : ",") + Chord(letter);
    }
    for (const auto& key : named) Press(key.keyCode);
    EXPECT_EQ(expected, WaitForKeys(browserPath, expected));
}

// A key outside the table, named by its usage in either case, does what the
// set of the program in front says, else what the set for all programs
// says, else nothing: standard is nothing for it. Each way of assigning it,
// in either set.
TEST_F(AssignedKeysTest, AKeyOutsideTheTableFollowsItsProgramsSetThenAllProgramsElseDoesNothing)
{
    const std::string own = std::string(kSettingsKey) + "\\Programs\\IEXPLORE.EXE";
    const std::string mail = StandIn("mailstub.exe");
    RunningProgram winamp;
    ForgetLog(mail);
    ASSERT_TRUE(StartStandIn(winamp, StandIn("winamp.exe")) && BringToForeground(browserWindow));
    const struct {
        USHORT usage;
        std::string all, own;
    } cases[] = {
        { 0x00B8, "keys E", "" },
        { 0x022D, "keys Z", "keys I" },
        { 0x022E, "keys Z", "nothing" },
        { 0x021A, "keys Z", "standard" },
        { 0x021B, "", "" },
        { 0x021C, "command Winamp v1.x, 40048", "" },
        { 0x021D, "", "start " + mail + " --paste" },
        { 0x0279, "keys R", "" },  // the last: once its R is there, every key before it was handled
    };
    char name[16];
    for (const auto& c : cases) {
        wsprintfA(name, c.usage == 0x022D ? "0x%04x" : "0x%04X", c.usage);
        if (!c.all.empty()) Assign(name, c.all);
        if (!c.own.empty()) SetRegistryText(HKEY_CURRENT_USER, own.c_str(), name, c.own);
    }
    for (const auto& c : cases) PressOther(c.usage);
    const std::string expected = Chord('E') + "," + Chord('I') + "," + Chord('R');
    EXPECT_EQ(expected, WaitForKeys(browserPath, expected));
    EXPECT_TRUE(WaitUntil([] { return CommandsOf(StandIn("winamp.exe")) == "Next track"; }));
    EXPECT_NE(std::string::npos, CommandLineOf(mail).find("--paste"));
}

// The user holds a modifier while pressing the key: the window in front
// still gets the chord as written, then the modifier held again.
TEST_F(AssignedKeysTest, AChordIsSentAsWrittenWhateverModifierTheUserHolds)
{
    Assign("Mail", "keys Ctrl+S");
    Assign("Calculator", "keys F2, Alt+F");
    const struct {
        BYTE held;
        DWORD key;
        const char* sent;
    } cases[] = {
        { 0, kKeyMail, "down 17,down 83,up 83,up 17" },
        { VK_SHIFT, kKeyMail, "down 17,up 16,down 83,up 83,up 17,down 16" },
        { VK_CONTROL, kKeyMail, "down 17,down 83,up 83,up 17,down 17" },
        // Alt let go alone would open the menu: a key of no key comes first.
        { VK_MENU, kKeyCalculator, "down 232,up 232,up 18,down 113,up 113,down 18,down 70,up 70,up 18,down 18" },
        { VK_CONTROL, kKeyBack, "down 18,up 17,down 37,up 18,up 37,down 17" },  // the browser's own chord
    };
    for (const auto& c : cases) {
        ForgetLog(browserPath);
        const std::string held = std::to_string(c.held);
        if (c.held) keybd_event(c.held, 0, 0, 0);
        Press(c.key);
        if (c.held) keybd_event(c.held, 0, KEYEVENTF_KEYUP, 0);
        const std::string expected = c.held ? "down " + held + "," + c.sent + ",up " + held : c.sent;
        EXPECT_EQ(expected, WaitForKeys(browserPath, expected)) << held;
        EXPECT_FALSE(GetAsyncKeyState(VK_CONTROL) < 0 || GetAsyncKeyState(VK_MENU) < 0 || GetAsyncKeyState(VK_SHIFT) < 0);
    }
}

}  // namespace
