// What key sets cost a key they leave as it is, in-process with the
// dispatcher's own look-up: whether any program has a set, which program is
// in front, and the key's value in its set and the set for all programs.
// Timed over many look-ups with a stand-in in front, with key sets in the
// registry and without; and the first look-up after another program came to
// the front, which takes a module snapshot of that program's process. Then
// an assigned key from its report on a standard keyboard, read in-process,
// to its command at a window: Eject, outside the table (goal: within 10 ms),
// and the calculator key of the table beside it.
#include <cstdio>
#include "BenchSupport.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"
#include "support/StandIns.h"
#include "actions/ForegroundProgram.h"
#include "actions/KeyDispatcher.h"
#include "app/KeyboardStartup.h"
#include "keyboard/KeyCodes.h"

using namespace mmk_test;
using namespace mmk_bench;

namespace {

const int kLookUps = 2000;
const int kSwitches = 20;
const int kPresses = 20;
const char kCommandTarget[] = "MMKeyboardBenchTarget";
double g_commandAt[3];  // when each command last reached the target

LRESULT CALLBACK CommandTargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && wParam < 3) g_commandAt[wParam] = NowMs();
    return DefWindowProcA(window, message, wParam, lParam);
}

// The keys window: what the keyboard's readers post goes to the dispatcher,
// as the dialog routes it.
LRESULT CALLBACK KeysProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static RepeatState repeat = { RepeatMode::kNone };
    if (message == WM_KEYBOARD_OTHER_KEY && lParam == kOtherKeyPressed) DispatchOtherKey(static_cast<USAGE>(wParam));
    if (message == WM_KEYBOARD_KEYS) DispatchKeys({ window, repeat, KeyboardKind::kStandard }, DWORD(lParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND Window(const char* className, WNDPROC proc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
}

// From the report of the key (its usage) to its command at the target, each
// key pressed and let go kPresses times.
std::vector<double> ReportToCommand(SimulatedKeyboard& keyboard, USHORT usage, WPARAM command)
{
    std::vector<double> times;
    for (int press = 0; press < kPresses; ++press) {
        g_commandAt[command] = 0;
        const double start = NowMs();
        if (!keyboard.SendUsages({ usage })) break;
        const double took = MsUntil(start, [&] { return g_commandAt[command] != 0; }, 3000);
        if (took >= 0) times.push_back(took);
        keyboard.SendUsages({});
        Pump(20);  // the release handled before the next press
    }
    return times;
}

// With the player in front, whose own set assigns both keys a command.
void AssignedKeys()
{
    const std::string player = std::string(kSettingsKey) + "\\Programs\\WMPLAYER.EXE";
    SetRegistryText(HKEY_CURRENT_USER, player.c_str(), "0x00B8", std::string("command ") + kCommandTarget + ", 1");
    SetRegistryText(HKEY_CURRENT_USER, player.c_str(), "Calculator", std::string("command ") + kCommandTarget + ", 2");
    HWND target = Window(kCommandTarget, CommandTargetProc);
    HWND keys = Window("MMKeyboardBenchKeys", KeysProc);
    ClearSimulator();
    SimulatedKeyboard keyboard("bench-key-sets");
    keyboard.Register(0, SimulatedStandardKeyboard("", kUsageArray));
    keyboard.PlugIn();
    ConnectKeyboard(keys, KeyboardOpenReason::kStartUp);
    ReportToCommand(keyboard, 0x00B8, 1);  // the first report after an open can be slow under Wine
    std::printf("Eject assigned a command in the player's own set, report to command: %s (goal: within 10 ms)\n",
                Describe(SpreadOf(ReportToCommand(keyboard, 0x00B8, 1))).c_str());
    std::printf("the calculator key assigned the same: %s\n",
                Describe(SpreadOf(ReportToCommand(keyboard, StandardUsageOf(kKeyCalculator), 2))).c_str());
    DisconnectKeyboard();
    ClearSimulator();
    DestroyWindow(keys);
    DestroyWindow(target);
}

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
    if (BringToForeground(playerWindow)) {
        WriteKeySets(true);
        AssignedKeys();
        WriteKeySets(false);
    }
    return 0;
}
