// How long a player or browser key takes to reach its program: from the key
// message posted to MMKeyboard.exe's dialog until the program's stand-in has
// received the whole chord,
//  - with the stand-in in the foreground, where the chord goes at once, and
//  - with another window in front, where the program's process and window
//    are searched for and activated,
// each among 0, 25 and 50 other idle processes (stand-ins with a window). A
// search walks every process, so its time must barely grow with them; the
// player in front is told from its own process, so its time must not.
// Winamp takes a command instead of a chord, in front or behind: timed
// until its stand-in has logged the command, with no other player running.
// Keys assigned in the player's own key set, a chord sent to it in front and
// a command posted to Winamp, are timed the same way; and what key sets in
// the registry cost the player's own key, left as it is.
#include <cstdio>
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
const DWORD kGiveUpMs = 10000;
const double kNoGoal = 0;

struct KeyCase {
    const char* name;
    DWORD keyCode;
    const char* standIn;
    const char* chord;  // null: a Winamp command
};
const KeyCase kPlayer = { "player (play/pause)", kKeyPlayPause, "WMPLAYER.EXE", kCtrlP };
const KeyCase kBrowser = { "browser (back)", kKeyBack, "IEXPLORE.EXE", kAltLeft };
const KeyCase kWinamp = { "Winamp (play/pause)", kKeyPlayPause, "winamp.exe", NULL };
// An assigned chord's modifier comes up after its key.
const KeyCase kAssignedKeys = { "assigned keys (vol+)", kKeyVolumeUp, "WMPLAYER.EXE", "down 17,down 80,up 80,up 17" };
const KeyCase kAssignedCommand = { "assigned cmd (mail)", kKeyMail, "winamp.exe", NULL };

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

struct Row {
    const KeyCase* key;
    bool foreground;
    Goals goals;
    HWND target;
    Spread columns[kColumns];
    bool keySets;  // the key sets are in the registry while the row runs
};

const char* Placement(const Row& row)
{
    if (row.keySets) return "in front, key sets";
    return row.foreground ? "in the foreground" : "found by search";
}

bool Arrived(const Row& row, const std::string& log)
{
    return row.key->chord ? KeysOf(log) == row.key->chord : !CommandsOf(log).empty();
}

// The times of the runs whose chord or command arrived whole; a run without
// says so.
Spread TimeKey(HWND dialog, const Row& row, int others, OtherWindow& other)
{
    const std::string log = StandIn(row.key->standIn);
    WriteKeySets(row.keySets);
    std::vector<double> times;
    // Run 0 is not counted: the first key of a row pays for what the rows
    // before it left cold.
    for (int run = 0; run <= kRuns; ++run) {
        if (!(row.foreground ? BringToForeground(row.target) : other.TakeForeground())) {
            std::printf("%s, %s, %d others, run %d: the foreground could not be set\n", row.key->name,
                        Placement(row), others, run);
            continue;
        }
        ForgetLog(log);
        const double start = NowMs();
        PostMessageA(dialog, WM_KEYBOARD_KEYS, 0, row.key->keyCode);
        const double ms = MsUntil(start, [&] { return Arrived(row, log); }, kGiveUpMs);
        if (ms >= 0) {
            if (run > 0) times.push_back(ms);
        } else std::printf("%s, %s, %d others, run %d: the stand-in had \"%s\" after %.0f s\n", row.key->name,
                         Placement(row), others, run, KeysOf(log).c_str(), kGiveUpMs / 1000.0);
    }
    return SpreadOf(times);
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
    std::printf("  %-19s %-18s %-20s %7.1f %-2s  goal <= %4.1f %-2s %s\n", row.key->name, Placement(row), figure,
                value, unit, goal, unit, value <= goal ? "met" : "MISSED");
}

}  // namespace

int main()
{
    RunningProgram program;
    const HWND dialog = StartSettled(program, "MMKeyboard.exe").dialog;
    // The stand-ins, by KeyCase; the player's stops while Winamp is timed, or
    // the search would end at it.
    RunningProgram player, browser, winamp;
    HWND playerWindow = StartStandIn(player, StandIn(kPlayer.standIn));
    const HWND browserWindow = StartStandIn(browser, StandIn(kBrowser.standIn));
    const HWND winampWindow = StartStandIn(winamp, StandIn(kWinamp.standIn));  // its playlist
    if (!dialog || !playerWindow || !browserWindow || !winampWindow) {
        std::printf("could not start MMKeyboard.exe and the stand-ins\n");
        return 1;
    }
    std::vector<Row> rows = {
        { &kPlayer, true, { kNoGoal, 15, 1.2 }, playerWindow, {}, false },
        { &kAssignedKeys, true, { kNoGoal, 10, 1.2 }, playerWindow, {}, true },
        { &kAssignedCommand, true, { kNoGoal, 10, 1.2 }, playerWindow, {}, true },
        { &kPlayer, false, { kNoGoal, 100, 2 }, playerWindow, {}, false },
        { &kBrowser, true, { 30, kNoGoal, kNoGoal }, browserWindow, {}, false },
        { &kBrowser, false, { kNoGoal, 100, 2 }, browserWindow, {}, false },
        { &kWinamp, true, { kNoGoal, 10, kNoGoal }, winampWindow, {}, false },
        { &kWinamp, false, { kNoGoal, 10, kNoGoal }, winampWindow, {}, false },
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
            if (row.key == &kWinamp) player.Stop();
            row.columns[column] = TimeKey(dialog, row, kOthers[column], other);
        }
        walks[column] = TimeProcessWalk();
        // The player's window is new: the rows that aim at it learn of it.
        const HWND again = StartStandIn(player, StandIn(kPlayer.standIn));
        for (Row& row : rows)
            if (row.target == playerWindow) row.target = again;
        playerWindow = again;
        setsCost[column] = TimeKeySetsCost(dialog, playerWindow, kOthers[column]);
    }

    bool allArrived = true;
    for (const Row& row : rows)
        for (const Spread& s : row.columns) allArrived = allArrived && s.count == kRuns;
    std::printf("key message -> whole chord or command at the stand-in, ms: median (min-max) of %d runs\n", kRuns);
    std::printf("%-38s", "");
    for (int others : kOthers) std::printf("  %2d other processes    ", others);
    std::printf("%d vs %d\n", kOthers[kColumns - 1], kOthers[0]);
    for (const Row& row : rows) {
        std::printf("%-19s %-18s", row.key->name, Placement(row));
        for (const Spread& s : row.columns) std::printf("  %7.1f (%6.1f-%6.1f)", s.median, s.min, s.max);
        std::printf("  %5.1fx\n", row.columns[kColumns - 1].median / row.columns[0].median);
    }
    std::printf("%-38s", "one walk over the processes");
    for (const Spread& s : walks) std::printf("  %7.1f (%6.1f-%6.1f)", s.median, s.min, s.max);
    std::printf("  %5.1fx\n", walks[kColumns - 1].median / walks[0].median);
    char figure[32];
    for (const Row& row : rows) {
        const Spread& none = row.columns[0];
        const Spread& most = row.columns[kColumns - 1];
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
    // What is left of Winamp behind once Wine's share of its walk is taken
    // out: the rest of its way, which Windows 98 pays too.
    const Row& winampBehind = rows.back();
    std::snprintf(figure, sizeof figure, "%d, less one walk", kOthers[kColumns - 1]);
    PrintGoal(winampBehind, figure, winampBehind.columns[kColumns - 1].median - walks[kColumns - 1].median,
              winampBehind.goals.mostMs, "ms");
    WriteKeySets(false);
    return allArrived ? 0 : 1;
}
