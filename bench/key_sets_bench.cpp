// What key sets cost a key they leave as it is, in-process with the
// dispatcher's own look-up: whether any program has a set, which program is
// in front, and the key's value in its set and the set for all programs.
// Timed over many look-ups with a stand-in in front, with key sets in the
// registry and without; and the first look-up after another program came to
// the front, which takes a module snapshot of that program's process.
#include <cstdio>
#include "BenchSupport.h"
#include "support/Program.h"
#include "support/StandIns.h"
#include "actions/ForegroundProgram.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const int kLookUps = 2000;
const int kSwitches = 20;

void WriteKeySets(bool present)
{
    DeleteRegistryTree(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\Keys").c_str());
    DeleteRegistryTree(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\Programs").c_str());
    if (!present) return;
    SetRegistryText(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\Keys").c_str(), "Mail", "nothing");
    SetRegistryText(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\Programs\\WMPLAYER.EXE").c_str(), "Mail",
                    "keys Ctrl+N");
}

// The dispatcher's look-up for a key that neither set names.
void LookUp()
{
    char program[kProgramNameSize];
    const bool known = AnyProgramSet() && ForegroundProgramName(program);
    Assignment assignment;
    AssignmentInEffect(known ? program : NULL, "PlayPause", &assignment);
}

double MicrosecondsPerLookUp()
{
    const double start = NowMs();
    for (int i = 0; i < kLookUps; ++i) LookUp();
    return (NowMs() - start) * 1000 / kLookUps;
}

}  // namespace

int main()
{
    RunningProgram player, browser;
    const HWND playerWindow = StartStandIn(player, StandIn("WMPLAYER.EXE"));
    const HWND browserWindow = StartStandIn(browser, StandIn("IEXPLORE.EXE"));
    if (!playerWindow || !browserWindow || !BringToForeground(playerWindow)) {
        std::printf("could not start the stand-ins\n");
        return 1;
    }
    WriteKeySets(false);
    const double without = MicrosecondsPerLookUp();
    WriteKeySets(true);
    const double with = MicrosecondsPerLookUp();
    std::vector<double> firsts;
    for (int i = 0; i < kSwitches; ++i) {
        if (!BringToForeground(i % 2 ? playerWindow : browserWindow)) continue;
        const double start = NowMs();
        LookUp();
        firsts.push_back(NowMs() - start);
    }
    WriteKeySets(false);
    std::printf("a key's look-up, no key sets: %.1f us; key sets, the same program in front: %.1f us; "
                "cost %.3f ms (goal: at most 1 ms)\n", without, with, (with - without) / 1000);
    std::printf("the first look-up after another program came to the front: %s\n",
                Describe(SpreadOf(firsts)).c_str());
    return 0;
}
