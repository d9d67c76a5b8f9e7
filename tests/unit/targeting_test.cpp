// Window targeting and the browser and player keys: the lookup's rules over
// snapshots of both shapes, then the real thing with stand-ins for the
// browser and the players, keys sent through the real dialog's routing.
#include <gtest/gtest.h>
#include <vector>
#include "actions/ProcessLookup.h"
#include "actions/ToolhelpMatch.h"
#include "actions/PlayerTable.h"
#include "fw/WinApp.h"
#include "support/DialogRig.h"
#include "support/Program.h"
#include "support/StandIns.h"

using namespace mmk_test;

namespace {

// A snapshot as a table: Windows 98 names a process's executable by module
// identifier and gives its whole path in szExeFile; NT and Wine give every
// process entry identifier 0, every module 1, the executable first.
struct FakeProcess {
    DWORD processId, moduleId;
    const char* exeFile;
    std::vector<std::pair<DWORD, const char*>> modules;  // empty: no module snapshot
};

template <class Entry>
struct TableWalk {
    std::vector<Entry> entries;
    size_t next = 0;
    bool First(Entry* entry) { next = 0; return Next(entry); }
    bool Next(Entry* entry)
    {
        if (next >= entries.size()) return false;
        const DWORD size = entry->dwSize;
        *entry = entries[next++];
        entry->dwSize = size;
        return true;
    }
};

struct FakeSnapshot {
    std::vector<FakeProcess> processes;
    mutable int moduleSnapshots = 0, processLookups = 0;

    TableWalk<PROCESSENTRY32> Processes() const
    {
        TableWalk<PROCESSENTRY32> walk;
        for (const FakeProcess& process : processes) {
            PROCESSENTRY32 entry = {};
            entry.th32ProcessID = process.processId;
            entry.th32ModuleID = process.moduleId;
            lstrcpynA(entry.szExeFile, process.exeFile, sizeof entry.szExeFile);
            walk.entries.push_back(entry);
        }
        return walk;
    }
    TableWalk<MODULEENTRY32> Modules(DWORD processId) const
    {
        TableWalk<MODULEENTRY32> walk;
        for (const FakeProcess& process : processes) {
            if (process.processId != processId) continue;
            for (const auto& module : process.modules) {
                MODULEENTRY32 entry = {};
                entry.th32ModuleID = module.first;
                entry.th32ProcessID = processId;
                lstrcpynA(entry.szModule, module.second, sizeof entry.szModule);
                walk.entries.push_back(entry);
            }
        }
        return walk;
    }
    bool FindModule(DWORD processId, DWORD moduleId, MODULEENTRY32* found) const
    {
        ++moduleSnapshots;
        TableWalk<MODULEENTRY32> walk = Modules(processId);
        return MatchExecutableModule(walk, moduleId, found);
    }
    // Each name's process.
    void Walk(const std::vector<const char*>& names, DWORD* processIds) const
    {
        TableWalk<PROCESSENTRY32> walk = Processes();
        MatchModules(walk, [this](DWORD p, DWORD m, MODULEENTRY32* f) { return FindModule(p, m, f); }, names.data(),
                     static_cast<int>(names.size()), processIds);
    }
    // The executable of one process from its own modules: its name, or "".
    std::string Executable(DWORD processId) const
    {
        TableWalk<MODULEENTRY32> modules = Modules(processId);
        auto moduleIdOf = [this](DWORD p, DWORD* id) {
            ++processLookups;
            for (const FakeProcess& process : processes)
                if (process.processId == p) return *id = process.moduleId, true;
            return false;
        };
        MODULEENTRY32 found;
        return MatchProcessExecutable(modules, moduleIdOf, processId, &found) ? found.szModule : "";
    }
};

const FakeSnapshot kWindows98 = { {
    { 0xFFF1, 0x21, "C:\\WINDOWS\\EXPLORER.EXE", { { 0x11, "KERNEL32.DLL" }, { 0x21, "EXPLORER.EXE" } } },
    { 0xFFF2, 0x35, "C:\\WINDOWS\\CDPLAYER.EXE", { { 0x11, "KERNEL32.DLL" }, { 0x35, "CDPLAYER.EXE" } } },
    { 0xFFF3, 0x36, "C:\\PROGRAM FILES\\WMPLAYER.EXE", { { 0x36, "wmplayer.exe" } } },
    { 0xFFF4, 0x37, "C:\\WINDOWS\\RUNDLL32.EXE", { { 0x11, "MPLAYER2.EXE" }, { 0x37, "RUNDLL32.EXE" } } },
    { 0xFFF5, 0x38, "C:\\PROGRAM FILES\\IEXPLORE.EXE", {} },
    { 0xFFF6, 0x39, "", { { 0x39, "MPLAYER2.EXE" } } },
    { 0xFFF7, 0x41, "C:\\WINDOWS\\CDPLAYER.EXE", { { 0x41, "CDPLAYER.EXE" } } },
} };
const FakeSnapshot kWine = { {
    { 0x20, 0, "explorer.exe", { { 1, "explorer.exe" }, { 1, "ntdll.dll" } } },
    { 0x24, 0, "CDPLAYER.EXE", { { 1, "CDPLAYER.EXE" }, { 1, "KERNEL32.dll" } } },
    { 0x28, 0, "wmplayer.exe", { { 1, "WMPLAYER.EXE" } } },
    { 0x2C, 0, "notepad.exe", { { 1, "MPLAYER2.EXE" } } },
    { 0x30, 0, "IEXPLORE.EXE", {} },
} };

TEST(ProcessLookupRules, ExecutablesAreMatchedByNameWithCaseAfterTheirFileNameWithout)
{
    const struct {
        const FakeSnapshot* snapshot;
        const char* module;
        DWORD found;
        int moduleSnapshots;
    } cases[] = {
        // The later of two copies wins; the module is found by identifier
        // wherever it stands; other files cost no module snapshot.
        { &kWindows98, "CDPLAYER.EXE", 0xFFF7, 3 },
        { &kWindows98, "EXPLORER.EXE", 0xFFF1, 2 },
        { &kWindows98, "WMPLAYER.EXE", 0, 2 },    // a module of lower case is no player
        { &kWindows98, "MPLAYER2.EXE", 0xFFF6, 1 },  // no file name: looked at closely
        { &kWindows98, "KERNEL32.DLL", 0, 1 },    // a module, not the executable
        { &kWindows98, "IEXPLORE.EXE", 0, 2 },    // no module snapshot: skipped
        { &kWine, "CDPLAYER.EXE", 0x24, 1 },
        { &kWine, "WMPLAYER.EXE", 0x28, 1 },      // the file name ignores case, the module not
        { &kWine, "MPLAYER2.EXE", 0, 0 },
        { &kWine, "IEXPLORE.EXE", 0, 1 },
    };
    for (const auto& c : cases) {
        c.snapshot->moduleSnapshots = 0;
        DWORD found = 0xDEAD;
        c.snapshot->Walk({ c.module }, &found);
        EXPECT_EQ(c.found, found) << c.module;
        EXPECT_EQ(c.moduleSnapshots, c.snapshot->moduleSnapshots) << c.module;
    }
    // The process in front is told from its own modules; only the Windows 98
    // shape looks up its process entry, Wine's costs no walk at all.
    const struct {
        const FakeSnapshot* snapshot;
        DWORD inFront;
        const char* executable;
        int processLookups;
    } fronts[] = {
        { &kWindows98, 0xFFF1, "EXPLORER.EXE", 1 }, { &kWindows98, 0xFFF4, "RUNDLL32.EXE", 1 },
        { &kWindows98, 0xFFF3, "wmplayer.exe", 0 }, { &kWindows98, 0xFFF5, "", 0 },
        { &kWine, 0x24, "CDPLAYER.EXE", 0 },       { &kWine, 0x2C, "MPLAYER2.EXE", 0 },
        { &kWine, 0x30, "", 0 },
    };
    for (const auto& f : fronts) {
        f.snapshot->processLookups = 0;
        EXPECT_EQ(f.executable, f.snapshot->Executable(f.inFront)) << std::hex << f.inFront;
        EXPECT_EQ(f.processLookups, f.snapshot->processLookups) << std::hex << f.inFront;
    }
}

// The message box a key showed, noted and answered at once from a hook of
// this thread, so that the key's own modal loop closes it; empty text when
// none showed.
struct BoxSeen {
    std::string text, caption;
    HWND owner = NULL;
};
BoxSeen g_box;
HHOOK g_boxHook;

LRESULT CALLBACK AnswerBox(int code, WPARAM wParam, LPARAM lParam)
{
    HWND box = reinterpret_cast<HWND>(wParam);
    char caption[64] = "", className[16] = "";
    if (code == HCBT_ACTIVATE && GetClassNameA(box, className, sizeof className) && !lstrcmpA(className, "#32770") &&
        GetWindowTextA(box, caption, sizeof caption) && lstrcmpA(caption, kDialogTitle) != 0) {
        g_box.caption = caption;
        g_box.text = MessageBoxText(box);
        g_box.owner = GetWindow(box, GW_OWNER);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_boxHook, code, wParam, lParam);
}

// The players that take commands where they are, as their stand-ins run.
struct CommandPlayer {
    const char* exe;
    const char* windowClass;
};
const CommandPlayer kWinamp = { "winamp.exe", "Winamp v1.x" };
const CommandPlayer kApollo = { "apollo.exe", "Apollo - Main Window" };
const CommandPlayer kQcd = { "qcd.exe", "PlayerCanvas" };

class TargetingTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (RunningProgram* program : { &cd, &wm, &mp, &browser, &winamp, &apollo, &qcd }) program->Stop();
    }
    // A key through the dialog, as the reader would deliver it.
    void Press(DWORD keyCode) { dialog.Keys(keyCode); }
    BoxSeen PressAnsweringTheBox(DWORD keyCode)
    {
        g_box = BoxSeen();
        g_boxHook = SetWindowsHookExA(WH_CBT, AnswerBox, NULL, GetCurrentThreadId());
        Press(keyCode);
        UnhookWindowsHookEx(g_boxHook);
        return g_box;
    }

    DialogRig dialog;
    OtherWindow other;
    // A player that takes commands where it is, started in a state (and
    // hung, when asked whether it plays); its main window, where
    // StartStandIn gives its playlist window.
    HWND StartPlayer(RunningProgram& program, const CommandPlayer& player, const char* state, const char* hung = NULL)
    {
        return StartStandIn(program, StandIn(player.exe), { { "MMK_STUB_STATE", state }, { "MMK_STUB_HUNG", hung } })
                   ? FindProcessWindow(program.ProcessId(), player.windowClass, NULL)
                   : NULL;
    }
    RunningProgram cd, wm, mp, browser, winamp, apollo, qcd;
    const std::string winampPath = StandIn("winamp.exe");
    const std::string cdPath = StandIn("CDPLAYER.EXE"), wmPath = StandIn("WMPLAYER.EXE");
    const std::string mpPath = StandIn("MPLAYER2.EXE"), browserPath = StandIn("IEXPLORE.EXE");
};

TEST_F(TargetingTest, ThePlayerInFrontIsToldByItsOwnExecutable)
{
    // A player's file in other letters runs no player.
    const std::string lower = BuildFile("stubs\\lower\\wmplayer.exe");
    CreateDirectoryA(BuildFile("stubs\\lower").c_str(), NULL);
    ASSERT_TRUE(CopyFileOver(wmPath, lower));
    const struct {
        std::string exe;
        PlayerKind kind;
    } cases[] = { { cdPath, PlayerKind::kCdPlayer }, { wmPath, PlayerKind::kWmplayer },
                  { mpPath, PlayerKind::kMplayer2 }, { browserPath, PlayerKind::kNone }, { lower, PlayerKind::kNone } };
    for (const auto& c : cases) {
        RunningProgram program;
        HWND window = StartStandIn(program, c.exe);
        ASSERT_TRUE(window && BringToForeground(window)) << c.exe;
        EXPECT_EQ(c.kind, IdentifyForegroundPlayer()) << c.exe;
        ASSERT_TRUE(other.TakeForeground());
        EXPECT_EQ(PlayerKind::kNone, IdentifyForegroundPlayer()) << c.exe << " behind another window";
    }
    // Found only by its name in capitals, and only while it runs.
    ASSERT_TRUE(StartStandIn(wm, wmPath));
    EXPECT_EQ(wm.ProcessId(), FindProcessByModule("WMPLAYER.EXE"));
    for (const char* name : { "wmplayer.exe", "WMPLAYER", "MPLAYER2.EXE" }) EXPECT_EQ(0u, FindProcessByModule(name));
    wm.Stop();
    EXPECT_EQ(0u, FindProcessByModule("WMPLAYER.EXE"));
}

// A window of a thread of our own, made the foreground and destroyed: the
// foreground then belongs to that thread's input, which has no window.
DWORD WINAPI ForegroundThenGone(LPVOID)
{
    HWND window = CreateWindowExA(0, "STATIC", "Windows Media Player - Microsoft Internet Explorer",
                                  WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    SetForegroundWindow(window);
    DestroyWindow(window);
    return 0;
}

TEST_F(TargetingTest, TheForegroundTitleIsSearchedWithCaseInItsFirst499Characters)
{
    const struct {
        std::string title;
        bool contains;
    } cases[] = {
        { "Start Page - Microsoft Internet Explorer", true },
        { "Mail - microsoft internet explorer", false },
        { "Microsoft Internet", false },
        { std::string(472, 'x') + "Microsoft Internet Explorer", true },
        { std::string(473, 'x') + "Microsoft Internet Explorer", false },
    };
    ASSERT_TRUE(other.TakeForeground());
    for (const auto& c : cases) {
        SetWindowTextA(other.Handle(), c.title.c_str());
        EXPECT_EQ(c.contains, ForegroundTitleContains("Microsoft Internet Explorer")) << c.title.size();
    }
}

// Without a window of the test's own in the way, which the platform would
// bring to the front in its place.
TEST(ForegroundWindow, WithNoneThereIsNoPlayerAndNoTitle)
{
    HANDLE thread = CreateThread(NULL, 0, ForegroundThenGone, NULL, 0, NULL);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    ASSERT_EQ(NULL, GetForegroundWindow());
    EXPECT_EQ(PlayerKind::kNone, IdentifyForegroundPlayer());
    EXPECT_FALSE(ForegroundTitleContains(""));
}

TEST_F(TargetingTest, BrowserKeysReachTheBrowserInFrontOrBehindAndOnlyFavouritesComplains)
{
    const struct {
        DWORD key;
        const char* chord;
    } keys[] = { { kKeyBack, kAltLeft }, { kKeyForward, kAltRight }, { kKeyBrowserStop, kEscape },
                 { kKeyRefresh, kF5 }, { kKeyFavourites, kCtrlI } };
    HWND window = StartStandIn(browser, browserPath);
    ASSERT_TRUE(window);
    for (const auto& k : keys) {
        for (bool inFront : { true, false }) {
            SCOPED_TRACE(testing::Message() << k.chord << (inFront ? " in front" : " behind"));
            ASSERT_TRUE(inFront ? BringToForeground(window) : other.TakeForeground());
            ForgetLog(browserPath);
            Press(k.key);
            EXPECT_EQ(k.chord, WaitForKeys(browserPath, k.chord));
            EXPECT_EQ(window, GetForegroundWindow());
            EXPECT_EQ(inFront ? "" : "size 1,size 0", SizesOf(browserPath));  // minimised, then restored
        }
    }
    EXPECT_EQ(0, other.KeysReceived());

    // Any window in front whose title says it is the browser takes the chord.
    OtherWindow lookalike("Help - Microsoft Internet Explorer");
    ASSERT_TRUE(lookalike.TakeForeground());
    Press(kKeyRefresh);
    EXPECT_EQ(2, lookalike.KeysReceived());

    // A browser without a window of its title: favourites says so, owned by
    // the dialog and captioned with the program's name; the others are silent.
    browser.Stop();
    ASSERT_TRUE(StartStandIn(browser, browserPath, { { "MMK_STUB_TITLE", "Blank page" } }));
    for (const auto& k : keys) {
        ASSERT_TRUE(other.TakeForeground());
        const BoxSeen seen = PressAnsweringTheBox(k.key);
        EXPECT_EQ(k.key == kKeyFavourites ? "not found" : "", seen.text) << k.chord;
        if (k.key == kKeyFavourites) {
            EXPECT_EQ(AppName(), seen.caption);
            EXPECT_EQ(dialog.Window(), seen.owner);
        }
    }
    browser.Stop();  // and not running at all: every key is silent
    EXPECT_EQ("", PressAnsweringTheBox(kKeyFavourites).text);
    EXPECT_EQ("", KeysOf(browserPath));
    EXPECT_EQ(0, other.KeysReceived());
}

TEST_F(TargetingTest, PlayerKeysGoToThePlayerInFrontOrTheFirstRunningOneInSearchOrder)
{
    // Winamp runs behind throughout: it takes only what no other player can.
    HWND mpWindow = StartStandIn(mp, mpPath);
    ASSERT_TRUE(StartPlayer(winamp, kWinamp, "stopped") && mpWindow && BringToForeground(mpWindow));
    Press(kKeyNextTrack);  // MPLAYER2.EXE cannot skip, and no other player runs: Winamp
    Press(kKeyPreviousTrack);
    Press(kKeyPlayPause);
    Press(kKeyMediaStop);
    EXPECT_EQ(std::string(kSpace) + "," + kFullStop, WaitForKeys(mpPath, std::string(kSpace) + "," + kFullStop));
    EXPECT_EQ(mpWindow, GetForegroundWindow());
    EXPECT_TRUE(WaitUntil([&] { return CommandsOf(winampPath) == "Next track,Previous track"; }, 3000));

    HWND cdWindow = StartStandIn(cd, cdPath);
    ASSERT_TRUE(StartStandIn(wm, wmPath));
    ASSERT_TRUE(cdWindow && BringToForeground(mpWindow));
    Press(kKeyNextTrack);  // MPLAYER2.EXE in front: the CD player, first in the search
    EXPECT_EQ(kAltKDown, WaitForKeys(cdPath, kAltKDown));
    EXPECT_EQ(cdWindow, GetForegroundWindow());

    // In front, each player gets its own chord; behind another window, the
    // CD player is preferred to WMPLAYER.EXE.
    const struct {
        DWORD key;
        const char *cdChord, *wmChord;
    } keys[] = { { kKeyNextTrack, kAltKDown, kCtrlF }, { kKeyPreviousTrack, kAltKUp, kCtrlB },
                 { kKeyMediaStop, kCtrlS, kCtrlS }, { kKeyPlayPause, kCtrlP, kCtrlP } };
    HWND wmWindow = FindProcessWindow(wm.ProcessId(), "MMKeyboardStub", NULL);
    for (const auto& k : keys) {
        for (HWND front : { cdWindow, wmWindow, other.Handle() }) {
            const bool wmInFront = front == wmWindow;
            const std::string& path = wmInFront ? wmPath : cdPath;
            ASSERT_TRUE(BringToForeground(front));
            ForgetLog(path);
            Press(k.key);
            const char* chord = wmInFront ? k.wmChord : k.cdChord;
            EXPECT_EQ(chord, WaitForKeys(path, chord)) << chord;
        }
    }
    EXPECT_EQ(0, other.KeysReceived());

    // The CD player with only untitled windows ends the search: nothing.
    cd.Stop();
    ASSERT_TRUE(StartStandIn(cd, cdPath, { { "MMK_STUB_TITLE", "" } }));
    ASSERT_TRUE(other.TakeForeground());
    ForgetLog(wmPath);
    for (const auto& k : keys) Press(k.key);
    ForgetLog(mpPath);
    cd.Stop();
    wm.Stop();
    Press(kKeyPlayPause);  // the sentinel: only MPLAYER2.EXE is left, behind
    EXPECT_EQ(kSpace, WaitForKeys(mpPath, kSpace));
    EXPECT_EQ(mpWindow, GetForegroundWindow());
    EXPECT_EQ("", KeysOf(wmPath) + KeysOf(cdPath));
    EXPECT_EQ("Next track,Previous track", CommandsOf(winampPath));
    EXPECT_EQ(0, other.KeysReceived());
}

TEST_F(TargetingTest, TheTargetIsRestoredAsItWasShownAndOneThatNeverComesToFrontGetsNothing)
{
    const struct {
        const char* show;
        const char* sizes;  // the show states the restore passes through
        UINT placement;
    } cases[] = {
        { "normal", "size 1,size 0", SW_SHOWNORMAL },
        { "minimized", "size 0", SW_SHOWNORMAL },
        { "maximized", "size 0,size 2", SW_SHOWMAXIMIZED },
    };
    for (const auto& c : cases) {
        HWND window = StartStandIn(wm, wmPath, { { "MMK_STUB_SHOW", c.show } });
        ASSERT_TRUE(window && other.TakeForeground()) << c.show;
        ForgetLog(wmPath);
        Press(kKeyPlayPause);
        EXPECT_TRUE(WaitUntil([&] { return SizesOf(wmPath) == c.sizes; }, 5000)) << c.show << ": " << SizesOf(wmPath);
        // Wine without a window manager sometimes hands the foreground of a
        // window it has just maximised to its desktop, chord and all.
        if (lstrcmpA(c.show, "maximized") != 0) EXPECT_EQ(kCtrlP, WaitForKeys(wmPath, kCtrlP)) << c.show;
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        ASSERT_TRUE(GetWindowPlacement(window, &placement));
        EXPECT_EQ(c.placement, placement.showCmd) << c.show;
    }
    wm.Stop();
    ASSERT_TRUE(StartStandIn(cd, cdPath, { { "MMK_STUB_UNACTIVATABLE", "1" } }));
    ASSERT_TRUE(other.TakeForeground());
    const DWORD start = GetTickCount();
    Press(kKeyPlayPause);
    EXPECT_LT(GetTickCount() - start, 3000u) << "activation must give up";
    EXPECT_EQ("", KeysOf(cdPath));
    EXPECT_EQ(0, other.KeysReceived());
}

// A player that takes commands gets one per key wherever it is, and
// play/pause asks it first what it is doing: each stand-in starts in a
// state, and the commands move it on as the player would.
TEST_F(TargetingTest, PlayersThatTakeCommandsTakeEachKeyInFrontOrBehindWithoutAChord)
{
    const DWORD keys[] = { kKeyPlayPause, kKeyPlayPause, kKeyNextTrack, kKeyPreviousTrack, kKeyMediaStop, kKeyPlayPause };
    const char kPlayFirst[] = "Play,Pause,Next track,Previous track,Stop,Play";
    const char kPauseFirst[] = "Pause,Pause,Next track,Previous track,Stop,Play";  // the second pause resumes
    enum Front { kMainWindow, kPlaylist, kOther };
    const struct {
        const CommandPlayer* player;
        Front front;
        const char* state;
        const char* commands;  // one per key, in words
    } cases[] = {
        { &kWinamp, kMainWindow, "stopped", kPlayFirst },
        { &kWinamp, kPlaylist, "playing", kPauseFirst },
        { &kWinamp, kOther, "paused", kPauseFirst },
        { &kWinamp, kOther, "stopped", kPlayFirst },
        { &kApollo, kMainWindow, "paused", kPlayFirst },  // Apollo resumes with play
        { &kApollo, kPlaylist, "stopped", kPlayFirst },
        { &kApollo, kOther, "playing", "Pause,Play,Next track,Previous track,Stop,Play" },
        { &kApollo, kOther, "stopped", kPlayFirst },
        { &kQcd, kMainWindow, "0", kPlayFirst },  // QCD's elapsed time
        { &kQcd, kPlaylist, "61000", kPauseFirst },
        { &kQcd, kOther, "paused", kPauseFirst },
        { &kQcd, kOther, "0", kPlayFirst },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.player->exe << " " << c.state << ", in front: " << c.front);
        const std::string path = StandIn(c.player->exe);
        RunningProgram player;
        HWND main = StartPlayer(player, *c.player, c.state);
        HWND playlist = FindProcessWindow(player.ProcessId(), "MMKeyboardStub", NULL);
        ASSERT_TRUE(main && playlist);
        HWND front = c.front == kMainWindow ? main : c.front == kPlaylist ? playlist : other.Handle();
        // Any window of the player in front takes the key before a search
        // could find the CD player.
        if (c.front == kPlaylist) ASSERT_TRUE(StartStandIn(cd, cdPath));
        ASSERT_TRUE(BringToForeground(front));
        ForgetLog(path);
        ForgetLog(cdPath);
        for (DWORD key : keys) {  // each command arrives before the next key asks for the state
            const size_t before = CommandsOf(path).size();
            Press(key);
            WaitUntil([&] { return CommandsOf(path).size() > before; }, 3000);
        }
        EXPECT_EQ(c.commands, CommandsOf(path));
        // Nothing restored, activated or typed.
        EXPECT_EQ(front, GetForegroundWindow());
        EXPECT_EQ("", KeysOf(path) + SizesOf(path) + KeysOf(cdPath));
        player.Stop();
        cd.Stop();
    }
    EXPECT_EQ(0, other.KeysReceived());
}

// Behind another window: music that plays takes the key where it is, Winamp
// first; with none playing, the search's player; then a player that takes
// commands, Winamp, Apollo, QCD in that order. A player that does not answer
// costs no more than the time limit.
TEST_F(TargetingTest, MusicThatPlaysTakesThePlayerKeyThenTheSearchsPlayerThenAnyOther)
{
    const struct {
        const char *winamp, *apollo, *qcd;  // the state each starts in; null: not running
        bool cdPlayer, winampHung;
        const char* receiver;  // the one that gets next track; null: none
    } cases[] = {
        { "playing", NULL, NULL, true, false, "winamp.exe" },
        { "stopped", NULL, NULL, true, false, "CDPLAYER.EXE" },
        { "stopped", "playing", NULL, false, false, "apollo.exe" },
        { "paused", "playing", "61000", true, false, "winamp.exe" },
        { NULL, "stopped", "61000", true, false, "qcd.exe" },
        { NULL, "stopped", "0", false, false, "apollo.exe" },
        { NULL, NULL, "0", false, false, "qcd.exe" },
        { "playing", "playing", NULL, true, true, "apollo.exe" },
        { NULL, NULL, NULL, false, false, NULL },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.receiver ? c.receiver : "nothing") << " gets the key");
        const struct {
            RunningProgram& program;
            const CommandPlayer& player;
            const char* state;
        } players[] = { { winamp, kWinamp, c.winamp }, { apollo, kApollo, c.apollo }, { qcd, kQcd, c.qcd } };
        for (const auto& p : players) {
            const char* hung = &p == players && c.winampHung ? "1" : NULL;
            if (p.state) ASSERT_TRUE(StartPlayer(p.program, p.player, p.state, hung));
            ForgetLog(StandIn(p.player.exe));
        }
        if (c.cdPlayer) ASSERT_TRUE(StartStandIn(cd, cdPath));
        ForgetLog(cdPath);
        ASSERT_TRUE(other.TakeForeground());
        const DWORD start = GetTickCount();
        Press(kKeyNextTrack);
        if (c.winampHung) EXPECT_LE(GetTickCount() - start, kPlayerAnswerLimitMs + 150u);
        if (!c.receiver) {  // the sentinel: a player started afterwards gets the next one
            ASSERT_TRUE(StartPlayer(winamp, kWinamp, "stopped") && other.TakeForeground());
            Press(kKeyNextTrack);
        }
        const std::string receiver = StandIn(c.receiver ? c.receiver : "winamp.exe");
        if (receiver == cdPath) EXPECT_EQ(kAltKDown, WaitForKeys(cdPath, kAltKDown));
        else EXPECT_TRUE(WaitUntil([&] { return CommandsOf(receiver) == "Next track"; }, 3000)) << CommandsOf(receiver);
        // Where it is: nothing restored or activated; and no one else.
        if (receiver != cdPath) EXPECT_EQ(other.Handle(), GetForegroundWindow());
        for (const auto& p : players)
            if (StandIn(p.player.exe) != receiver) EXPECT_EQ("", CommandsOf(StandIn(p.player.exe))) << p.player.exe;
        if (receiver != cdPath) EXPECT_EQ("", KeysOf(cdPath));
        for (RunningProgram* program : { &winamp, &apollo, &qcd, &cd }) program->Stop();
    }
    EXPECT_EQ(0, other.KeysReceived());
}

TEST_F(TargetingTest, APlayerThatAnswersTooLateIsSentNoGuessAndCostsNoMoreThanTheTimeLimit)
{
    ASSERT_TRUE(StartPlayer(winamp, kWinamp, "playing", "1"));
    for (HWND front : { FindProcessWindow(winamp.ProcessId(), "MMKeyboardStub", NULL), other.Handle() }) {
        ASSERT_TRUE(BringToForeground(front));
        const DWORD start = GetTickCount();
        Press(kKeyPlayPause);  // asks whether it plays; the hung stand-in says so only after a second
        EXPECT_LE(GetTickCount() - start, kPlayerAnswerLimitMs + 150u);
    }
    // Unanswered, play/pause sends nothing: once the stand-in recovers, the
    // next track key (which needs no answer) is the only command it took.
    ASSERT_TRUE(other.TakeForeground());
    Press(kKeyNextTrack);
    WaitUntil([&] { return CommandsOf(winampPath).find("Next track") != std::string::npos; }, 5000);
    EXPECT_EQ("Next track", CommandsOf(winampPath));
    // The keys go on: with the CD player running, the search reaches it.
    ASSERT_TRUE(StartStandIn(cd, cdPath) && other.TakeForeground());
    Press(kKeyNextTrack);
    EXPECT_EQ(kAltKDown, WaitForKeys(cdPath, kAltKDown));
}

}  // namespace
