// File names on Chinese Windows. In its double-byte code pages the second
// byte of many characters is 0x5C, the byte of '\': 功 is A5 5C in code page
// 950, 誠 is D5 5C in 936. tests/CMakeLists.txt runs this test under both.
// A program so named, in a folder so named, gets its own key set through
// the Keys dialog's Add, and that set acts while the program is in front;
// MMKeyboard itself, run under such a name, captions its message boxes with
// the whole name.
#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>
#include "keyboard/KeyCodes.h"
#include "res/resource.h"
#include "settings/AssignmentFormat.h"
#include "settings/AssignmentStore.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"
#include "support/StandIns.h"

using namespace mmk_test;

namespace {

std::string Ansi(const std::wstring& text)
{
    char bytes[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes, NULL, NULL);
    return bytes;
}

// A shown window that the dialog owns: the file dialog.
HWND OwnedWindow(HWND owner)
{
    for (HWND w = GetTopWindow(NULL); w; w = GetWindow(w, GW_HWNDNEXT))
        if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w)) return w;
    return NULL;
}

// The program whose set the Keys dialog shows; the text of a drop-down
// list is asked of its list, as another process's.
std::wstring ChosenProgram(HWND dialog)
{
    wchar_t text[MAX_PATH] = L"";
    const LRESULT item = SendDlgItemMessageW(dialog, IDC_KEYS_PROGRAM, CB_GETCURSEL, 0, 0);
    if (item >= 0) SendDlgItemMessageW(dialog, IDC_KEYS_PROGRAM, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
    return text;
}

// A choice in one of the Keys dialog's lists, as a click makes it.
void Choose(HWND dialog, int list, UINT select, int item, WORD notification)
{
    SendDlgItemMessageA(dialog, list, select, item, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, notification), reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}

TEST(ProgramNames, AChineseNamedProgramGetsItsSetByTheKeysDialogAndItActsInFront)
{
    const std::wstring folder = L"C:\\功誠", standInName = L"功誠.exe", programName = L"鍵盤功誠";
    const std::string standIn = Ansi(folder + L"\\" + standInName), program = Ansi(programName + L".exe");
    ASSERT_NE(std::string::npos, Ansi(standInName).find('\\')) << "no 0x5C second byte in code page " << GetACP();
    const std::string copy = DrivenProgram(program.c_str());  // first: it chooses the stand-ins
    ASSERT_TRUE(CopyFileOver(DrivenProgram("MMKeyboard-sim.exe"), copy));
    CreateDirectoryW(folder.c_str(), NULL);
    ASSERT_TRUE(CopyFileOver(StandIn("mailstub.exe"), standIn));
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    ClearSimulator();
    for (const char* name : { kMixerVolume, kMixerMute }) PutMixerValue(name, 0);
    PutMixerValue(kMixerVolumeMax, 65535);
    PutMixerValue(kMixerPresent, 1);
    SimulatedKeyboard keyboard("names-keyboard");
    ASSERT_TRUE(keyboard.Register() && keyboard.PlugIn());
    RunningProgram mmk, target, browser;
    const SettledProgram settled = StartSettled(mmk, program.c_str());
    ASSERT_TRUE(settled.dialog && keyboard.WaitOpened(10000)) << "did not settle";

    // Add, then Volume Up sends F2 in the added program's set.
    PostMessageA(settled.dialog, WM_COMMAND, IDC_KEYS, 0);
    HWND keys = NULL, files = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (keys = FindShownDialog(mmk.ProcessId(), kDialogTitle)) != NULL; }));
    PostMessageA(keys, WM_COMMAND, IDC_KEYS_ADD, 0);
    ASSERT_TRUE(WaitUntil([&] { return (files = OwnedWindow(keys)) != NULL; })) << "no file dialog";
    SetDlgItemTextA(files, cmb13, standIn.c_str());  // the file name box of the explorer-style dialog
    SetDlgItemTextA(files, edt1, standIn.c_str());
    PostMessageA(files, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return ChosenProgram(keys) == standInName; })) << "Add shows another name";
    Choose(keys, IDC_KEYS_LIST, LB_SETCURSEL, 8, LBN_SELCHANGE);  // Volume Up: the rows follow the keys' bits
    Choose(keys, IDC_KEYS_ACTION, CB_SETCURSEL, static_cast<int>(AssignmentKind::kKeys), CBN_SELCHANGE);
    SetDlgItemTextA(keys, IDC_KEYS_ARGUMENT, "F2");
    PostMessageA(keys, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(keys); })) << "Save did not end the Keys dialog";
    const std::string set = std::string(kSettingsKey) + "\\Programs\\" + Ansi(standInName);
    EXPECT_EQ(std::string("keys F2", 8), RegistryValue(HKEY_CURRENT_USER, set.c_str(), "VolumeUp"))
        << "the set is not named by the whole file name";

    const HWND window = StartStandIn(target, standIn);
    ASSERT_TRUE(window && BringToForeground(window));
    ASSERT_TRUE(keyboard.Send(kKeyVolumeUp) && keyboard.Send(kKeysReleased));
    EXPECT_EQ("down 113,up 113", WaitForKeys(standIn, "down 113,up 113")) << "its set did not act in front";
    EXPECT_EQ(0u, Mixer(kMixerVolume));

    // Favourites with no browser window says so, captioned with the program's name.
    ASSERT_TRUE(StartStandIn(browser, StandIn("IEXPLORE.EXE"), { { "MMK_STUB_TITLE", "about:blank" } }));
    ASSERT_TRUE(keyboard.Send(kKeyFavourites) && keyboard.Send(kKeysReleased));
    HWND box = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindShownDialog(mmk.ProcessId(), kDialogTitle)) != NULL; }));
    EXPECT_EQ(programName, WindowTextW(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    EndThroughItsLoop(mmk, settled.dialog);
    target.Stop();
    browser.Stop();
    ClearSimulator();
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    DeleteFileA(copy.c_str());
    DeleteFileA(standIn.c_str());
    ForgetLog(standIn);
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
