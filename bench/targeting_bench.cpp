// How long a player or browser key takes to reach its program: from the key
// message posted to MMKeyboard.exe's dialog until the program's stand-in has
// the chord's first key or the command,
//  - with the stand-in in the foreground, where the chord goes at once,
//  - with another window in front, where the program's process and window
//    are searched for and activated, and
//  - with a playing Winamp, Apollo or QCD behind another window, which takes
//    its command where it is (the CD player and the media players are not
//    running then, so that a program that knows only Winamp reaches it too),
// each among 0, 25 and 50 other idle processes (stand-ins with a window). A
// search walks every process, so its time must barely grow with them; the
// player in front is told from its own process, and a playing player behind
// by its window class, so their times must not.
// Keys assigned in the player's own key set, a chord sent to it in front and
// a command posted to Winamp, are timed the same way; and what key sets in
// the registry cost the player's own key, left as it is.
// Given another build folder (targeting_bench.sh BUILD), its MMKeyboard.exe
// runs beside this build's and takes every other key: the two are timed in
// one run, under the same load, with the same stand-ins.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include "BenchSupport.h"
#include "support/Program.h"
#include "support/StandIns.h"
#include <tlhelp32.h>
#include "keyboard/KeyCodes.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const int kRuns = 15;
const int kOthers[] = { 0, 25, 50 };
const int kColumns = sizeof kOthers / sizeof kOthers[0];
const DWORD kGiveUpMs = 3000;
const double kNoGoal = 0;

struct KeyCase {
    const char* name;
    DWORD keyCode;
    const char* standIn;
    const char* chord;  // null: a command
};
const KeyCase kPlayer = { "player (play/pause)", kKeyPlayPause, "WMPLAYER.EXE", kCtrlP };
const KeyCase kBrowser = { "browser (back)", kKeyBack, "IEXPLORE.EXE", kAltLeft };
const KeyCase kWinamp = { "Winamp (play/pause)", kKeyPlayPause, "winamp.exe", NULL };
const KeyCase kApollo = { "Apollo (play/pause)", kKeyPlayPause, "apollo.exe", NULL };
const KeyCase kQcd = { "QCD (play/pause)", kKeyPlayPause, "qcd.exe", NULL };
// An assigned chord's modifier comes up after its key.
const KeyCase kAssignedKeys = { "assigned keys (vol+)", kKeyVolumeUp, "WMPLAYER.EXE", "down 17,down 80,up 80,up 17" };
const KeyCase kAssignedCommand = { "assigned cmd (mail)", kKeyMail, "winamp.exe", NULL };

// The players that take commands, and how each is started and stopped, as
// they publish it. Before each key the one a row times plays and the others
// are stopped, or they would take the key (and a key to a program that
// misses it may start one).
struct CommandPlayer {
    const KeyCase* key;
    const char* windowClass;
    UINT message;
    WPARAM play, stop;
};
const CommandPlayer kCommandPlayers[] = {
    { &kWinamp, "Winamp v1.x", WM_COMMAND, 40045, 40047 },
    { &kApollo, "Apollo - Main Window", WM_USER + 3, 12, 11 },
    { &kQcd, "PlayerCanvas", WM_COMMAND, 40016, 40014 },
};

void PlayOnly(const KeyCase* playing)
{
    for (const CommandPlayer& player : kCommandPlayers) {
        HWND window = FindWindowA(player.windowClass, NULL);
        DWORD_PTR answer;
        const WPARAM command = player.key == playing ? player.play : player.stop;
        if (window) SendMessageTimeoutA(window, player.message, command, 0, SMTO_ABORTIFHUNG, 1000, &answer);
    }
}

// The player's own key set, and a value for all programs that it overrides.
void WriteKeySets(bool present)
{
    const std::string all = std::string(kSettingsKey) + "\\Keys";
    const std::string player = std::string(kSettingsKey) + "\\Programs\\WMPLAYER.EXE";
    DeleteRegistryTree(HKEY_CURRENT_USER, all.c_str());
    DeleteRegistryTree(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\Programs").c_str());
    if (!present) return;
    SetRegistryText(HKEY_CURRENT_USER, all.c_str(), "VolumeUp", "nothing");
    SetRegistryText(HKEY_CURRENT_USER, player.c_str(), "VolumeUp", "keys Ctrl+P");
    SetRegistryText(HKEY_CURRENT_USER, player.c_str(), "Mail", "command Winamp v1.x, 40048");
}

// The goals: at most so many ms with no other processes and with the most,
// and at most so many times as long with the most as with none.
struct Goals {
    double noneMs, mostMs, growth;
};

enum class Placement { kFront, kSearch, kPlayingBehind, kKeySets };
const char* const kPlacementWords[] = { "in the foreground", "found by search", "playing behind",
                                        "in front, key sets" };

// The programs timed: this build's, and another's when given.
const int kAfter = 0, kBefore = 1;
const char* const kProgramWords[] = { "", "  before" };

struct Row {
    const KeyCase* key;
    Placement placement;
    Goals goals;
    HWND target;
    Spread columns[2][kColumns];  // by program
};

bool Arrived(const Row& row, const std::string& log)
{
    if (!row.key->chord) return !CommandsOf(log).empty();
    const std::string chord = row.key->chord;
    const std::string firstKey = chord.substr(0, chord.find(',')) + ",";
    return (KeysOf(log) + ",").compare(0, firstKey.size(), firstKey) == 0;
}

// One key: the time until it arrived, or negative.
double TimeOneKey(HWND dialog, const Row& row, OtherWindow& other)
{
    const std::string log = StandIn(row.key->standIn);
    PlayOnly(row.placement == Placement::kPlayingBehind ? row.key : NULL);
    const bool inFront = row.placement == Placement::kFront || row.placement == Placement::kKeySets;
    if (!(inFront ? BringToForeground(row.target) : other.TakeForeground())) return -1;
    ForgetLog(log);
    const double start = NowMs();
    PostMessageA(dialog, WM_KEYBOARD_KEYS, 0, row.key->keyCode);
    const double ms = MsUntil(start, [&] { return Arrived(row, log); }, kGiveUpMs);
    // The rest of the chord, uncounted, before the next key forgets the log.
    if (ms >= 0 && row.key->chord) MsUntil(start, [&] { return KeysOf(log) == row.key->chord; }, kGiveUpMs);
    return ms;
}

// The times of the runs whose chord or command arrived, for each program in
// turn; a program that misses the first key is not tried again in the row.
void TimeKey(const HWND* dialogs, int programs, Row& row, int column, OtherWindow& other)
{
    WriteKeySets(row.placement == Placement::kKeySets);
    std::vector<double> times[2];
    bool missed[2] = {};
    // Run 0 is not counted: the first key of a row pays for what the rows
    // before it left cold.
    for (int run = 0; run <= kRuns; ++run)
        for (int p = 0; p < programs; ++p) {
            const int program = (run + p) % programs;  // each goes first in every other run
            if (missed[program]) continue;
            const double ms = TimeOneKey(dialogs[program], row, other);
            if (ms >= 0 && run > 0) times[program].push_back(ms);
            missed[program] = ms < 0 && run == 0;
            if (ms < 0)
                std::printf("%s, %s%s, %d others, run %d: nothing arrived within %.0f s\n", row.key->name,
                            kPlacementWords[int(row.placement)], kProgramWords[program], kOthers[column], run,
                            kGiveUpMs / 1000.0);
        }
    for (int p = 0; p < programs; ++p) row.columns[p][column] = SpreadOf(times[p]);
}

// What key sets in the registry cost a key they leave as it is: the
// player's own key in front, runs with the sets and without taking turns,
// so that the machine's load weighs on both alike; the difference of the
// medians.
double TimeKeySetsCost(HWND dialog, HWND playerWindow, int others)
{
    const std::string log = StandIn(kPlayer.standIn);
    std::vector<double> times[2];
    for (int run = 0; run <= 2 * kRuns + 1; ++run) {
        const bool sets = run % 2 == 1;
        WriteKeySets(sets);
        if (!BringToForeground(playerWindow)) continue;
        ForgetLog(log);
        const double start = NowMs();
        PostMessageA(dialog, WM_KEYBOARD_KEYS, 0, kPlayer.keyCode);
        const double ms = MsUntil(start, [&] { return KeysOf(log) == kPlayer.chord; }, kGiveUpMs);
        if (ms >= 0 && run > 1) times[sets].push_back(ms);
        else if (ms < 0) std::printf("key sets, %d others, run %d: the chord did not arrive\n", others, run);
    }
    WriteKeySets(false);
    return SpreadOf(times[1]).median - SpreadOf(times[0]).median;
}

// One walk over every process, as a search makes it: under Wine each entry
// maps and unmaps the snapshot, where Windows 98 copies it from memory, so
// this is the share of a search that Windows 98 would not pay.
Spread TimeProcessWalk()
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const double start = NowMs();
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        }
        CloseHandle(snapshot);
        times.push_back(NowMs() - start);
    }
    return SpreadOf(times);
}

void PrintGoal(const Row& row, const char* figure, double value, double goal, const char* unit)
{
    if (goal == kNoGoal) return;
    std::printf("  %-19s %-18s %-20s %7.1f %-2s  goal <= %4.1f %-2s %s\n", row.key->name,
                kPlacementWords[int(row.placement)], figure, value, unit, goal, unit, value <= goal ? "met" : "MISSED");
}

// The other build's MMKeyboard.exe, the same kind of program as this one's.
std::string OtherBuildsProgram(const char* buildFolder)
{
    const bool shipped = DrivenProgram("MMKeyboard.exe") != BuildFile("MMKeyboard.exe");
    return WinePath(std::string(buildFolder) + (shipped ? "/MMKeyboard.exe" : "/test64/MMKeyboard.exe"));
}

}  // namespace

int main()
{
    RunningProgram programs[2];
    HWND dialogs[2] = { StartSettled(programs[kAfter], "MMKeyboard.exe").dialog, NULL };
    const char* beforeFolder = std::getenv("MMK_BENCH_BEFORE");
    const int programCount = beforeFolder && *beforeFolder ? 2 : 1;
    if (programCount == 2) {
        const std::string before = OtherBuildsProgram(beforeFolder);
        dialogs[kBefore] = StartSettled(programs[kBefore], before.c_str()).dialog;
        std::printf("before: %s\n", before.c_str());
    }
    // The stand-ins, by KeyCase; the media player's stops while the players
    // behind are timed, or the search would end at it.
    RunningProgram player, browser;
    RunningProgram commandPlayers[3];
    HWND playerWindow = StartStandIn(player, StandIn(kPlayer.standIn));
    const HWND browserWindow = StartStandIn(browser, StandIn(kBrowser.standIn));
    HWND playlists[3];  // what StartStandIn finds of each
    bool started = dialogs[0] && (programCount == 1 || dialogs[1]) && playerWindow && browserWindow;
    for (int i = 0; i < 3; ++i) {
        playlists[i] = StartStandIn(commandPlayers[i], StandIn(kCommandPlayers[i].key->standIn),
                                    { { "MMK_STUB_STATE", "playing" } });
        started = started && playlists[i];
    }
    if (!started) {
        std::printf("could not start MMKeyboard.exe and the stand-ins\n");
        return 1;
    }
    const Goals kFlat = { 8, 8, 1.2 };
    std::vector<Row> rows = {
        { &kPlayer, Placement::kFront, kFlat, playerWindow, {} },
        { &kWinamp, Placement::kFront, kFlat, playlists[0], {} },
        { &kAssignedKeys, Placement::kKeySets, { kNoGoal, 10, 1.2 }, playerWindow, {} },
        { &kAssignedCommand, Placement::kKeySets, { kNoGoal, 10, 1.2 }, playerWindow, {} },
        { &kPlayer, Placement::kSearch, { kNoGoal, 100, 2 }, playerWindow, {} },
        { &kBrowser, Placement::kFront, { 30, kNoGoal, kNoGoal }, browserWindow, {} },
        { &kBrowser, Placement::kSearch, { kNoGoal, 100, 2 }, browserWindow, {} },
        { &kWinamp, Placement::kPlayingBehind, kFlat, NULL, {} },
        { &kApollo, Placement::kPlayingBehind, kFlat, NULL, {} },
        { &kQcd, Placement::kPlayingBehind, kFlat, NULL, {} },
    };
    OtherWindow other;
    Spread walks[kColumns];
    double setsCost[kColumns] = {};
    std::vector<std::unique_ptr<RunningProgram>> idle;
    for (int column = 0; column < kColumns; ++column) {
        while (int(idle.size()) < kOthers[column]) {
            idle.emplace_back(new RunningProgram);
            StartStandIn(*idle.back(), StandIn("mailstub.exe"));
        }
        for (Row& row : rows) {
            if (row.placement == Placement::kPlayingBehind) player.Stop();
            TimeKey(dialogs, programCount, row, column, other);
        }
        walks[column] = TimeProcessWalk();
        // The player's window is new: the rows that aim at it learn of it.
        const HWND again = StartStandIn(player, StandIn(kPlayer.standIn));
        for (Row& row : rows)
            if (row.target == playerWindow) row.target = again;
        playerWindow = again;
        PlayOnly(NULL);
        setsCost[column] = TimeKeySetsCost(dialogs[kAfter], playerWindow, kOthers[column]);
    }

    bool allArrived = true;
    for (const Row& row : rows)
        for (const Spread& s : row.columns[kAfter]) allArrived = allArrived && s.count == kRuns;
    std::printf("key message -> chord's first key or command at the stand-in, ms: median (min-max) of %d runs\n",
                kRuns);
    std::printf("%-46s", "");
    for (int others : kOthers) std::printf("  %2d other processes    ", others);
    std::printf("%d vs %d\n", kOthers[kColumns - 1], kOthers[0]);
    for (const Row& row : rows)
        for (int p = 0; p < programCount; ++p) {
            std::printf("%-19s %-18s%-8s", row.key->name, kPlacementWords[int(row.placement)], kProgramWords[p]);
            for (const Spread& s : row.columns[p])
                if (s.count) std::printf("  %7.1f (%6.1f-%6.1f)", s.median, s.min, s.max);
                else std::printf("  %-22s", "    not reached");
            std::printf("  %5.1fx\n", row.columns[p][kColumns - 1].median / row.columns[p][0].median);
        }
    std::printf("%-46s", "one walk over the processes");
    for (const Spread& s : walks) std::printf("  %7.1f (%6.1f-%6.1f)", s.median, s.min, s.max);
    std::printf("  %5.1fx\n", walks[kColumns - 1].median / walks[0].median);
    char figure[32];
    for (const Row& row : rows) {
        const Spread& none = row.columns[kAfter][0];
        const Spread& most = row.columns[kAfter][kColumns - 1];
        PrintGoal(row, "no other processes", none.median, row.goals.noneMs, "ms");
        std::snprintf(figure, sizeof figure, "%d other processes", kOthers[kColumns - 1]);
        PrintGoal(row, figure, most.median, row.goals.mostMs, "ms");
        std::snprintf(figure, sizeof figure, "%d vs %d", kOthers[kColumns - 1], kOthers[0]);
        PrintGoal(row, figure, most.median / none.median, row.goals.growth, "x");
    }
    for (int column = 0; column < kColumns; ++column) {
        std::snprintf(figure, sizeof figure, "%d others, key sets", kOthers[column]);
        PrintGoal(rows[0], figure, setsCost[column], 1, "ms");
    }
    WriteKeySets(false);
    return allArrived ? 0 : 1;
}
