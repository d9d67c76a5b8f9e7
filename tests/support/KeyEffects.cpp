#include "support/KeyEffects.h"
#include <cstdio>
#include <cstring>
#include "keyboard/KeyCodes.h"

namespace mmk_test {

namespace {

const char* const kMixerValueNames[kMixerValueCount] = { kMixerVolume, kMixerBass, kMixerTreble, kMixerMute,
                                                         kMixerLoudness };
const char kLaunchedTitle[] = "launched by a key";
const char kBrowserPath[] = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

std::string WithChord(const std::string& keys, const char* chord) { return keys.empty() ? chord : keys + "," + chord; }

}  // namespace

Observed Expected(const TableKey& key, const Observed& before)
{
    Observed expected = before;
    if (key.log >= 0) {
        if (key.chord) expected.keys[key.log] = WithChord(before.keys[key.log], key.chord);
        else ++expected.starts[key.log];
    }
    if (key.mixer >= 0) {
        DWORD& value = expected.mixer[key.mixer];
        value = key.direction == 0 ? !value : key.direction > 0 ? value + kFaderStep : value - kFaderStep;
    }
    return expected;
}


const TableKey kTableKeys[] = {
    { kKeyMyComputer, kMyComputerLog, NULL, -1, 0 },   { kKeyWebSearch, kLaunchedBrowserLog, NULL, -1, 0 },
    { kKeyHomePage, kLaunchedBrowserLog, NULL, -1, 0 }, { kKeyBack, kBrowserLog, kAltLeft, -1, 0 },
    { kKeyForward, kBrowserLog, kAltRight, -1, 0 },     { kKeyBrowserStop, kBrowserLog, kEscape, -1, 0 },
    { kKeyRefresh, kBrowserLog, kF5, -1, 0 },           { kKeyFavourites, kBrowserLog, kCtrlI, -1, 0 },
    { kKeyVolumeUp, -1, NULL, kVolume, +1 },            { kKeyVolumeDown, -1, NULL, kVolume, -1 },
    { kKeyBassUp, -1, NULL, kBass, +1 },                { kKeyBassDown, -1, NULL, kBass, -1 },
    { kKeyTrebleUp, -1, NULL, kTreble, +1 },            { kKeyTrebleDown, -1, NULL, kTreble, -1 },
    { kKeyMail, kMailLog, NULL, -1, 0 },                { kKeyCalculator, kCalculatorLog, NULL, -1, 0 },
    { kKeyNextTrack, kPlayerLog, kCtrlF, -1, 0 },       { kKeyPreviousTrack, kPlayerLog, kCtrlB, -1, 0 },
    { kKeyMediaStop, kPlayerLog, kCtrlS, -1, 0 },       { kKeyPlayPause, kPlayerLog, kCtrlP, -1, 0 },
    { kKeyMute, -1, NULL, kMute, 0 },                   { kKeyLoudness, -1, NULL, kLoudness, 0 },
    { kKeyMediaPlayer, kMediaLog, NULL, -1, 0 },
};
const int kTableKeyCount = sizeof kTableKeys / sizeof kTableKeys[0];

const char* MixerValueName(int value) { return kMixerValueNames[value]; }

Observed Observe(const std::string logPaths[kLogCount])
{
    Observed now;
    for (int log = 0; log < kLogCount; ++log) {
        now.starts[log] = StartsOf(logPaths[log]);
        now.keys[log] = KeysOf(logPaths[log]);
    }
    for (int value = 0; value < kMixerValueCount; ++value) {
        now.mixer[value] = 0xFFFFFFFF;
        ReadMixerValue(kMixerValueNames[value], &now.mixer[value]);
    }
    return now;
}

bool operator==(const Observed& a, const Observed& b)
{
    for (int log = 0; log < kLogCount; ++log)
        if (a.starts[log] != b.starts[log] || a.keys[log] != b.keys[log]) return false;
    return memcmp(a.mixer, b.mixer, sizeof a.mixer) == 0;
}

bool HasActed(const TableKey& key, const Observed& before, const Observed& now)
{
    const Observed expected = Expected(key, before);
    if (key.log >= 0 && (now.starts[key.log] != expected.starts[key.log] || now.keys[key.log] != expected.keys[key.log]))
        return false;
    if (key.mixer < 0) return true;
    const DWORD from = before.mixer[key.mixer], to = now.mixer[key.mixer];
    return key.direction == 0 ? to == expected.mixer[key.mixer] : key.direction > 0 ? to > from : to < from;
}

KeyStage::KeyStage()
{
    // First: the program that is driven chooses the stand-ins, and a 32-bit
    // program sees only 32-bit browsers and players.
    DrivenProgram("MMKeyboard-sim.exe");
    const std::string windows = WindowsDirectory();
    m_myComputer.reset(new InstalledStandIn("calc.exe", windows + "\\explorer.exe"));
    m_calculator.reset(new InstalledStandIn("calc.exe", windows + "\\calc.exe"));
    m_browser.reset(new InstalledStandIn("IEXPLORE.EXE", kBrowserPath));
    const std::string paths[kLogCount] = { m_myComputer->Path(), m_browser->Path(),           StandIn("mailstub.exe"),
                                           m_calculator->Path(), StandIn("mediastub.exe"), StandIn("IEXPLORE.EXE"),
                                           StandIn("WMPLAYER.EXE") };
    for (int log = 0; log < kLogCount; ++log) ForgetLog(logs[log] = paths[log]);
    SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "Mail", logs[kMailLog]);
    SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "Media", logs[kMediaLog]);
    SetRegistryText(HKEY_CURRENT_USER, kSettingsKey, "WWWSearch", "http://search.example/?q=soak");
}

KeyStage::~KeyStage() { DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey); }

bool KeyStage::Start(SimulatedProgram& simulated)
{
    const bool ready = m_myComputer->Installed() && m_calculator->Installed() && m_browser->Installed() &&
                       (browserWindow = StartStandIn(m_browserTarget, logs[kBrowserLog])) &&
                       (playerWindow = StartStandIn(m_playerTarget, logs[kPlayerLog])) &&
                       simulated.Start({ { "MMK_STUB_TITLE", kLaunchedTitle }, { "MMK_STUB_UNACTIVATABLE", "1" } });
    if (!ready) std::printf("could not set up the stand-ins and MMKeyboard-sim.exe\n");
    return ready;
}

}  // namespace mmk_test
