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
#include "support/KeyEffects.h"
#include "support/ProcessGauges.h"
#include "keyboard/KeyCodes.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const unsigned kSeed = 20261207;
const int kReports = 10000;
const int kBursts = 101;
const int kTableReportsPerBurst = 4;  // the key, its release, the sentinel, its release
const int kRandomReports = kReports - kBursts * kTableReportsPerBurst;
const int kMaxRandomLength = 64;
// Steps a fader may make between the one awaited and its release's turn.
const int kMaxSteps = 3;
// Three repeat periods without a step after a fader's release.
const DWORD kQuietMs = 300;
const int kCountSlack = 2;
// Private memory grows once, by a few MiB, at the first replug; from this
// burst on any growth is a leak.
const int kSettledBursts = 10;
const char* const kStartedNames[] = { "explorer.exe", "iexplore.exe", "mailstub.exe", "calc.exe", "mediastub.exe" };

// Whether a whole report of a standard keyboard in the array layout holds
// the usage of a key.
bool HoldsKeyUsage(const SimulatedInterface& shape, const std::vector<BYTE>& report)
{
    for (DWORD slot = 0; 2 + 2 * slot < report.size(); ++slot) {
        const DWORD value = report[1 + 2 * slot] | DWORD(report[2 + 2 * slot]) << 8;
        if (value < shape.logicalMinimum || value > shape.logicalMaximum) continue;
        for (int i = 0; i < kStandardKeyUsageCount; ++i)
            if (kStandardKeyUsages[i].usage == value - shape.logicalMinimum + shape.usageMinimum) return true;
    }
    return false;
}

const char* const kLogNames[kLogCount] = { "My Computer", "launched browser", "mail", "calculator", "media player",
                                           "browser", "player" };

bool IsTableValue(DWORD keyCode)
{
    if (keyCode == kKeysReleased) return true;
    for (int k = 0; k < kTableKeyCount; ++k)
        if (kTableKeys[k].keyCode == keyCode) return true;
    return false;
}

// What `now` holds that neither the key (a fader moved by up to maxSteps)
// nor the given number of mute toggles explain since `before`; "" when
// nothing.
std::string Unexplained(const TableKey& key, int muteToggles, int maxSteps, const Observed& before,
                        const Observed& now)
{
    Observed expected = Expected(key, before);
    if (muteToggles % 2) expected.mixer[kMute] = !expected.mixer[kMute];
    if (key.mixer >= 0 && key.direction != 0) {
        const long moved = key.direction * (long(now.mixer[key.mixer]) - long(before.mixer[key.mixer]));
        if (moved > 0 && moved % kFaderStep == 0 && moved / kFaderStep <= maxSteps)
            expected.mixer[key.mixer] = now.mixer[key.mixer];
    }
    std::string found;
    for (int log = 0; log < kLogCount; ++log) {
        if (now.starts[log] != expected.starts[log])
            found += std::string(" ") + kLogNames[log] + ": " + std::to_string(now.starts[log]) + " starts, expected " +
                     std::to_string(expected.starts[log]) + ";";
        if (now.keys[log] != expected.keys[log])
            found += std::string(" ") + kLogNames[log] + ": keys \"" + now.keys[log] + "\", expected \"" +
                     expected.keys[log] + "\";";
    }
    for (int value = 0; value < kMixerValueCount; ++value)
        if (now.mixer[value] != expected.mixer[value])
            found += std::string(" ") + MixerValueName(value) + " " + std::to_string(now.mixer[value]) +
                     ", expected " + std::to_string(expected.mixer[value]) + ";";
    return found;
}

// A report in the keyboard's layout: the maker's bitmap or a standard
// keyboard's usage array.
std::vector<BYTE> RandomReport(std::mt19937& random, const SimulatedInterface& shape)
{
    const bool standard = shape.layout != kMakerBitmap;
    for (;;) {
        std::vector<BYTE> report(random() % (kMaxRandomLength + 1));
        for (BYTE& byte : report) byte = BYTE(random());
        if (random() % 4 == 0) {
            std::vector<BYTE> key(standard ? shape.inputReportLength : kSimulatedReportLength);
            const DWORD keyCode = kTableKeys[random() % kTableKeyCount].keyCode;
            const USHORT usage = StandardUsageOf(keyCode);
            if (standard) BuildUsageReport(shape, &usage, 1, key.data());
            else BuildSimulatedReport(keyCode, key.data());
            std::copy(key.begin(), key.begin() + std::min(report.size(), key.size()), report.begin());
        }
        if (report.size() != shape.inputReportLength) return report;
        if (standard ? !HoldsKeyUsage(shape, report)
                     : !IsTableValue(DWORD(report[1]) << 16 | DWORD(report[2]) << 8 | report[3]))
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

class Soak {
public:
    Soak(SimulatedProgram& simulated, const std::string (&logs)[kLogCount], const SimulatedInterface& shape)
        : m_simulated(simulated), m_logs(logs), m_shape(shape)
    {
    }
    void RunBurst(int burst, const TableKey& key);
    // Ends what the program started, which must be the keys' starts.
    void EndStarted();
    void Fail(const std::string& what);

    int burst = 0, failures = 0, keys = 0, sentinels = 0, faders = 0, releases = 0, starts = 0, unexplained = 0;
    int timedReports = 0;
    double timedMs = 0;
    std::mt19937 random{ kSeed };

private:
    void PressKey(const TableKey& key, const Observed& before);
    void SendRandomAndSentinel(int count, DWORD muteAfter);
    void CheckAfterwards(const TableKey& key, const Observed& before);

    SimulatedProgram& m_simulated;
    const std::string (&m_logs)[kLogCount];
    const SimulatedInterface m_shape;
};

void Soak::Fail(const std::string& what)
{
    ++failures;
    std::printf("burst %d: %s\n", burst + 1, what.c_str());
}

void Soak::RunBurst(int index, const TableKey& key)
{
    burst = index;
    for (int fader : { kVolume, kBass, kTreble }) PutMixerValue(MixerValueName(fader), kFaderMaximum / 2);
    const Observed before = Observe(m_logs);
    PressKey(key, before);
    const int count = kRandomReports / kBursts + (burst < kRandomReports % kBursts ? 1 : 0);
    SendRandomAndSentinel(count, !before.mixer[kMute] ^ (key.keyCode == kKeyMute));
    CheckAfterwards(key, before);
}

// The key, let go at once, or for a fader once it has stepped.
void Soak::PressKey(const TableKey& key, const Observed& before)
{
    const bool fader = key.mixer >= 0 && key.direction != 0;
    m_simulated.keyboard.Send(key.keyCode);
    if (!fader) m_simulated.keyboard.Send(kKeysReleased);
    if (WaitUntil([&] { return HasActed(key, before, Observe(m_logs)); })) {
        ++keys;
        if (key.log >= 0 && !key.chord) ++starts;
    } else {
        Fail("key " + std::to_string(key.keyCode) + " did not act");
    }
    if (fader) m_simulated.keyboard.Send(kKeysReleased);
}

// Timed from the first write until the sentinel has acted.
void Soak::SendRandomAndSentinel(int count, DWORD muteAfter)
{
    const double start = NowMs();
    for (int i = 0; i < count; ++i)
        if (!m_simulated.keyboard.SendBytes(RandomReport(random, m_shape))) Fail("a report could not be written");
    m_simulated.Press(kKeyMute);
    const double ms = MsUntil(start, [&] {
        DWORD mute = 2;
        return ReadMixerValue(kMixerMute, &mute) && mute == muteAfter;
    }, 10000);
    if (ms < 0) return Fail("the mute sentinel did not act");
    ++sentinels;
    timedMs += ms;
    timedReports += count + 2;
}

void Soak::CheckAfterwards(const TableKey& key, const Observed& before)
{
    Observed after = Observe(m_logs);
    if (key.mixer >= 0 && key.direction != 0) {
        ++faders;
        Pump(kQuietMs);
        const Observed quiet = Observe(m_logs);
        if (quiet.mixer[key.mixer] == after.mixer[key.mixer]) ++releases;
        else Fail("a fader kept stepping after its release");
        after = quiet;
    }
    const std::string found = Unexplained(key, 1, kMaxSteps, before, after);
    if (!found.empty()) {
        ++unexplained;
        Fail("unexplained:" + found);
    }
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(m_simulated.dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
        Fail("the program did not answer a message within 5 s");
    if (IsWindowVisible(m_simulated.dialog) || FindShownDialog(m_simulated.program.ProcessId(), kDialogTitle))
        Fail("a window of the program showed");
}

void Soak::EndStarted()
{
    const std::vector<ChildProcess> children = ChildProcesses(m_simulated.program.ProcessId());
    for (const ChildProcess& child : children)
        if (!IsStandInName(child.exeName)) Fail("the program started " + child.exeName);
    EndProgramsStartedBy(m_simulated.program.ProcessId());
    if (int(children.size()) != starts)
        Fail(std::to_string(children.size()) + " processes started, the keys made " + std::to_string(starts));
}

}  // namespace

// With "standard": the keyboard is another maker's, with standard consumer
// keys in the usage-array layout; otherwise one of the maker's models.
int main(int argc, char** argv)
{
    const bool standard = argc > 1 && lstrcmpA(argv[1], "standard") == 0;
    KeyStage stage;
    const std::string (&logs)[kLogCount] = stage.logs;
    SimulatedProgram simulated("bench-soak");
    const SimulatedInterface shape =
        standard ? SimulatedStandardKeyboard("", kUsageArray) : SimulatedKeyboardInterface("");
    if (!simulated.keyboard.Register(0, shape) || !stage.Start(simulated)) return 1;
    const DWORD programId = simulated.program.ProcessId();
    const Gauges start = Measure(programId);

    Soak soak(simulated, logs, shape);
    std::vector<const TableKey*> order;
    SIZE_T settledPrivateBytes = 0;
    const double soakStart = NowMs();
    for (int burst = 0; burst < kBursts; ++burst) {
        if (order.empty()) {
            for (int k = 0; k < kTableKeyCount; ++k) order.push_back(&kTableKeys[k]);
            std::shuffle(order.begin(), order.end(), soak.random);
        }
        soak.RunBurst(burst, *order.back());
        order.pop_back();
        if (simulated.program.HasExited()) {
            soak.Fail("the program ended");
            break;
        }
        if (burst + 1 == kSettledBursts) settledPrivateBytes = PrivateBytes(programId);
        if (burst + 1 == kBursts) break;
        simulated.keyboard.Unplug();
        if (!simulated.keyboard.Replug(simulated.dialog)) soak.Fail("the keyboard was not opened again");
    }
    const double soakMs = NowMs() - soakStart;
    soak.EndStarted();
    Gauges end = {};
    // Threads and handles of the last replug may take a moment to go.
    WaitUntil([&] { return CameBack(start, end = Measure(programId), soak.starts); }, 5000);
    if (!CameBack(start, end, soak.starts)) soak.Fail("handles or threads did not come back to where they started");
    // Every plug-in loads the settings again, so they stay until now.
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    // A program still busy with reports may have started more meanwhile.
    simulated.program.Stop();
    EndProgramsStartedBy(programId);

    std::printf("keyboard: %s\n", standard ? "standard, usage array of 2 slots" : "the maker's model");
    std::printf("soak: %d reports (%d random) in %d bursts with %d unplug/plug-in cycles, seed %u, %.0f s\n", kReports,
                kRandomReports, kBursts, kBursts - 1, kSeed, soakMs / 1000);
    std::printf("reports handled per second: %.0f (random reports and sentinels, from their first write to the "
                "sentinel's effect)\n",
                soak.timedReports / (soak.timedMs / 1000));
    std::printf("handles: %d before, %d after; of them events %d before, %d after, with %d programs started\n",
                start.handles, end.handles, start.events, end.events, soak.starts);
    std::printf("threads: %d before, %d after\n", start.threads, end.threads);
    std::printf("private bytes: %lu KiB before, %lu KiB after %d bursts, %lu KiB after\n",
                (unsigned long)(start.privateBytes / 1024), (unsigned long)(settledPrivateBytes / 1024), kSettledBursts,
                (unsigned long)(end.privateBytes / 1024));
    std::printf("reports that acted: %d (keys %d of %d, mute sentinels %d of %d, releases of a held fader %d of %d); "
                "bursts with an effect no table report explains: %d\n",
                soak.keys + soak.sentinels + soak.releases, soak.keys, kBursts, soak.sentinels, kBursts, soak.releases,
                soak.faders, soak.unexplained);
    std::printf("%s\n", soak.failures ? "CHECKS FAILED" : "all checks passed");
    return soak.failures ? 1 : 0;
}
