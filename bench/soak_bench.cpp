// Soak and fuzz of MMKeyboard-sim.exe: 10,000 input reports through the
// simulated keyboard in 101 bursts, the keyboard unplugged and plugged in
// again between each two, with stand-ins in the place of every program a key
// starts or drives. A burst opens with one key of the key table, pressed and
// let go (every key in turn, in a seeded shuffle), whose effect is awaited.
// Then come random reports of 0 to 64 random bytes, a quarter of them
// starting like a key's report, none a whole report of a table value; then
// mute, the sentinel: once it has flipped, every report before it has been
// handled.
//
// Each of these checks fails the run: the program keeps running and answers
// a message after every burst; every key and sentinel acts, and a released
// fader steps no more; after every burst the logs and the sound card show
// nothing that its key and sentinel do not explain, and no window or message
// box has shown; the processes the program started are the keys' starts; its
// handle and thread counts end where they started, give or take 2.
#include <algorithm>
#include <cstdio>
#include <random>
#include "BenchSupport.h"
#include "KeyEffects.h"
#include "ProcessGauges.h"
#include "keyboard/KeyCodes.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const unsigned kSeed = 20261207;
const int kReports = 10000;
const int kBursts = 101;
const int kTableReportsPerBurst = 4;  // the key, its release, the sentinel, its release
const int kMaxRandomLength = 64;
// Steps a fader may make between the one awaited and its release's turn.
const int kMaxSteps = 3;
// Three repeat periods without a step after a fader's release.
const DWORD kQuietMs = 300;
const int kCountSlack = 2;
// Private memory grows once, by a few MiB, at the first replug; from this
// burst on any growth is a leak.
const int kSettledBursts = 10;
const char kLaunchedTitle[] = "launched by a key";
const char kBrowserPath[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
const char kSettingsKey[] = "Software\\Zerith\\Multimedia Keyboard";
const char* const kStartedNames[] = { "explorer.exe", "iexplore.exe", "mailstub.exe", "calc.exe", "mediastub.exe" };

std::vector<BYTE> RandomReport(std::mt19937& random)
{
    for (;;) {
        std::vector<BYTE> report(random() % (kMaxRandomLength + 1));
        for (BYTE& byte : report) byte = BYTE(random());
        if (random() % 4 == 0) {
            BYTE key[kSimulatedReportLength];
            BuildSimulatedReport(kTableKeys[random() % kTableKeyCount].keyCode, key);
            std::copy(key, key + std::min(report.size(), sizeof key), report.begin());
        }
        if (report.size() != kSimulatedReportLength ||
            !IsTableValue(DWORD(report[1]) << 16 | DWORD(report[2]) << 8 | report[3]))
            return report;
    }
}

struct Gauges {
    int handles, events, threads;
    SIZE_T privateBytes;
};
Gauges Measure(DWORD processId)
{
    return { HandleCount(processId), HandleCount(processId, EventObjectType()), ThreadCount(processId),
             PrivateBytes(processId) };
}
bool Near(int a, int b) { return a >= 0 && b >= 0 && a - b <= kCountSlack && b - a <= kCountSlack; }
// Wine's WinExec waits for the program it started with WaitForInputIdle,
// which leaves the caller a handle to that program's idle event, never
// closed: one event handle more for every start, which Windows does not
// leave. Every other handle, and the threads, must come back.
bool CameBack(const Gauges& start, const Gauges& end, int starts)
{
    return Near(end.handles - end.events, start.handles - start.events) && Near(end.events, start.events + starts) &&
           Near(end.threads, start.threads);
}

bool IsStandInName(const std::string& exeName)
{
    for (const char* name : kStartedNames)
        if (lstrcmpiA(exeName.c_str(), name) == 0) return true;
    return false;
}

struct Tally {
    int failures = 0, keys = 0, sentinels = 0, faders = 0, releases = 0, starts = 0, unexplained = 0;
    int randomReports = 0, timedReports = 0;
    double timedMs = 0;
    void Fail(int burst, const std::string& what)
    {
        ++failures;
        std::printf("burst %d: %s\n", burst + 1, what.c_str());
    }
};

}  // namespace

int main()
{
    const std::string windows = WindowsDirectory();
    InstalledStandIn myComputer("calc.exe", windows + "\\explorer.exe"), calculator("calc.exe", windows + "\\calc.exe"),
        browser("IEXPLORE.EXE", kBrowserPath);
    const std::string logs[kLogCount] = { myComputer.Path(),         browser.Path(),         StandIn("mailstub.exe"),
                                          calculator.Path(),         StandIn("mediastub.exe"), StandIn("IEXPLORE.EXE"),
                                          StandIn("WMPLAYER.EXE") };
    for (const std::string& log : logs) ForgetLog(log);
    SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "Mail", logs[kMailLog]);
    SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "Media", logs[kMediaLog]);
    SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "WWWSearch", "http://search.example/?q=soak");
    RunningProgram browserTarget, playerTarget;
    SimulatedProgram simulated("bench-soak");
    // What the program starts never takes the foreground or passes for the
    // browser or a player, so the chords go where the bench expects them.
    if (!myComputer.Installed() || !calculator.Installed() || !browser.Installed() ||
        !StartStandIn(browserTarget, logs[kBrowserLog]) || !StartStandIn(playerTarget, logs[kPlayerLog]) ||
        !simulated.Start({ { "MMK_STUB_TITLE", kLaunchedTitle }, { "MMK_STUB_UNACTIVATABLE", "1" } })) {
        std::printf("could not set up the stand-ins and MMKeyboard-sim.exe\n");
        return 1;
    }
    const DWORD programId = simulated.program.ProcessId();
    const Gauges start = Measure(programId);

    std::mt19937 random(kSeed);
    std::vector<const TableKey*> order;
    Tally tally;
    SIZE_T settledPrivateBytes = 0;
    const int randomReports = kReports - kBursts * kTableReportsPerBurst;
    const double soakStart = NowMs();
    for (int burst = 0; burst < kBursts; ++burst) {
        if (order.empty()) {
            for (int k = 0; k < kTableKeyCount; ++k) order.push_back(&kTableKeys[k]);
            std::shuffle(order.begin(), order.end(), random);
        }
        const TableKey& key = *order.back();
        order.pop_back();
        for (int fader : { kVolume, kBass, kTreble }) PutMixerValue(MixerValueName(fader), kFaderMaximum / 2);
        const Observed before = Observe(logs);

        // The key; a fader is held until it has stepped.
        const bool fader = key.mixer >= 0 && key.direction != 0;
        simulated.keyboard.Send(key.keyCode);
        if (!fader) simulated.keyboard.Send(kKeysReleased);
        if (WaitUntil([&] { return HasActed(key, before, Observe(logs)); })) ++tally.keys;
        else tally.Fail(burst, "key " + std::to_string(key.keyCode) + " did not act");
        if (fader) simulated.keyboard.Send(kKeysReleased);
        if (key.log >= 0 && !key.chord) ++tally.starts;

        // Random reports and the sentinel, timed until the sentinel acts.
        const int count = randomReports / kBursts + (burst < randomReports % kBursts ? 1 : 0);
        const DWORD muteAfter = !before.mixer[kMute] ^ (key.keyCode == kKeyMute);
        const double sent = NowMs();
        for (int i = 0; i < count; ++i)
            if (!simulated.keyboard.SendBytes(RandomReport(random))) tally.Fail(burst, "a report could not be written");
        simulated.Press(kKeyMute);
        const double ms = MsUntil(sent, [&] {
            DWORD mute = 2;
            return ReadMixerValue(kMixerMute, &mute) && mute == muteAfter;
        }, 10000);
        tally.randomReports += count;
        if (ms >= 0) {
            ++tally.sentinels;
            tally.timedMs += ms;
            tally.timedReports += count + 2;
        } else {
            tally.Fail(burst, "the mute sentinel did not act");
        }

        Observed after = Observe(logs);
        if (fader) {
            ++tally.faders;
            Pump(kQuietMs);
            const Observed quiet = Observe(logs);
            if (quiet.mixer[key.mixer] == after.mixer[key.mixer]) ++tally.releases;
            else tally.Fail(burst, "a fader kept stepping after its release");
            after = quiet;
        }
        const std::string unexplained = Unexplained(key, 1, kMaxSteps, before, after);
        if (!unexplained.empty()) {
            ++tally.unexplained;
            tally.Fail(burst, "unexplained:" + unexplained);
        }
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(simulated.dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
            tally.Fail(burst, "the program did not answer a message within 5 s");
        if (IsWindowVisible(simulated.dialog) || FindShownDialog(programId, kDialogTitle))
            tally.Fail(burst, "a window of the program showed");
        if (simulated.program.HasExited()) {
            tally.Fail(burst, "the program ended");
            break;
        }
        if (burst + 1 == kSettledBursts) settledPrivateBytes = PrivateBytes(programId);
        if (burst + 1 == kBursts) break;
        simulated.keyboard.Unplug();
        if (!simulated.keyboard.Replug(simulated.dialog)) tally.Fail(burst, "the keyboard was not opened again");
    }
    const double soakMs = NowMs() - soakStart;

    const std::vector<ChildProcess> children = ChildProcesses(programId);
    for (const ChildProcess& child : children) {
        if (!IsStandInName(child.exeName)) tally.Fail(kBursts - 1, "the program started " + child.exeName);
        EndProcess(child.id);
    }
    if (int(children.size()) != tally.starts)
        tally.Fail(kBursts - 1, std::to_string(children.size()) + " processes started, the keys made " +
                                    std::to_string(tally.starts) + " starts");
    Gauges end = {};
    // Threads and handles of the last replug may take a moment to go.
    WaitUntil([&] { return CameBack(start, end = Measure(programId), tally.starts); }, 5000);
    if (!CameBack(start, end, tally.starts))
        tally.Fail(kBursts - 1, "handles or threads did not come back to where they started");
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);

    std::printf("soak: %d reports (%d random) in %d bursts with %d unplug/plug-in cycles, seed %u, %.0f s\n", kReports,
                tally.randomReports, kBursts, kBursts - 1, kSeed, soakMs / 1000);
    std::printf("reports handled per second: %.0f (random reports and sentinels, from their first write to the "
                "sentinel's effect)\n",
                tally.timedReports / (tally.timedMs / 1000));
    std::printf("handles: %d before, %d after; of them events %d before, %d after, with %d programs started\n",
                start.handles, end.handles, start.events, end.events, tally.starts);
    std::printf("threads: %d before, %d after\n", start.threads, end.threads);
    std::printf("private bytes: %lu KiB before, %lu KiB after %d bursts, %lu KiB after\n",
                (unsigned long)(start.privateBytes / 1024), (unsigned long)(settledPrivateBytes / 1024), kSettledBursts,
                (unsigned long)(end.privateBytes / 1024));
    std::printf("reports that acted: %d (keys %d of %d, mute sentinels %d of %d, releases of a held fader %d of %d); "
                "bursts with an effect no table report explains: %d\n",
                tally.keys + tally.sentinels + tally.releases, tally.keys, kBursts, tally.sentinels, kBursts,
                tally.releases, tally.faders, tally.unexplained);
    std::printf("%s\n", tally.failures ? "CHECKS FAILED" : "all checks passed");
    return tally.failures ? 1 : 0;
}
