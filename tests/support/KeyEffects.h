// What each key of the key table does that can be seen from outside
// MMKeyboard-sim.exe, with stand-ins in the place of every program a key
// starts or drives: a stand-in's log records a start or a chord, the
// simulated sound card a step or a toggle. The end-to-end key tests and
// the soak benchmark prove with these that a key acted, and that nothing
// else did.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "support/SimulatedProgram.h"
#include "support/StandIns.h"

namespace mmk_test {

// The stand-ins' logs: the programs the launch keys start, then the browser
// and the player that the chords go to.
enum StandInLog { kMyComputerLog, kLaunchedBrowserLog, kMailLog, kCalculatorLog, kMediaLog, kBrowserLog, kPlayerLog,
                  kLogCount };
// The simulated sound card's values that the keys change.
enum MixerValue { kVolume, kBass, kTreble, kMute, kLoudness, kMixerValueCount };

struct TableKey {
    DWORD keyCode;
    int log;            // the log that records it, or -1
    const char* chord;  // what the log receives; NULL: a start
    int mixer;          // the value it changes, or -1
    int direction;      // a fader's: +1 up, -1 down; 0 a toggle
};
extern const TableKey kTableKeys[];
// Every key of the table but the release, which acts only on a held fader.
extern const int kTableKeyCount;
const char* MixerValueName(int value);
// One step of a fader key.
const DWORD kFaderStep = kFaderMaximum / 20;

// What can be seen of the keys' effects at one moment.
struct Observed {
    int starts[kLogCount];
    std::string keys[kLogCount];
    DWORD mixer[kMixerValueCount];
};
// logPaths: the stand-ins' paths, in StandInLog order.
Observed Observe(const std::string logPaths[kLogCount]);
bool operator==(const Observed& a, const Observed& b);

// The state the key leaves behind, its fader moved by one step.
Observed Expected(const TableKey& key, const Observed& before);
// The effect of the key seen since `before`: its start, its chord, its
// toggle or at least one step of its fader.
bool HasActed(const TableKey& key, const Observed& before, const Observed& now);

// Every program a key starts or drives, as stand-ins: My Computer, the
// calculator and the browser where the keys start them, the settings' mail
// program and media player, and a browser and a player running to take the
// chords. What the keys start never takes the foreground or passes for the
// browser or a player, so the chords go where they are expected.
class KeyStage {
public:
    KeyStage();
    ~KeyStage();
    KeyStage(const KeyStage&) = delete;
    KeyStage& operator=(const KeyStage&) = delete;

    // Starts the browser and the player, then the program on its keyboard;
    // false, having said why, when something did not come up.
    bool Start(SimulatedProgram& simulated);
    Observed Observe() const { return mmk_test::Observe(logs); }

    std::string logs[kLogCount];
    // The running browser's and player's windows, once started.
    HWND browserWindow = NULL, playerWindow = NULL;

private:
    std::unique_ptr<InstalledStandIn> m_myComputer, m_calculator, m_browser;
    mmk_test::RunningProgram m_browserTarget, m_playerTarget;
};

}  // namespace mmk_test
