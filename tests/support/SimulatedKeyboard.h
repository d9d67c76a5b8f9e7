// The test's side of the simulated keyboard (device/Simulator.h): an entry
// in the simulator's device list and the named pipe server that plays the
// keyboard, one input report per message to every open of it.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "device/Simulator.h"

namespace mmk_test {

// The standard keyboard's keys as the USB usage tables name them: the
// consumer usage that stands for each key bit of the KeyCode.
struct StandardKeyUsage {
    USHORT usage;
    DWORD keyCode;
};
extern const StandardKeyUsage kStandardKeyUsages[];
extern const int kStandardKeyUsageCount;
// The usage of one key bit, 0 for none.
USHORT StandardUsageOf(DWORD keyCode);

// Copies of the client ends of the pipes this process holds (the simulated
// keyboards' as the program opened them): while a copy is open, closing the
// program's handle cannot end a read on it. The caller closes them.
std::vector<HANDLE> CopyClientPipeEnds();
// Forgets every simulated device and the simulated sound card.
bool ClearSimulator();
// A value of the simulated sound card, 0xDEAD when it is absent.
DWORD Mixer(const char* name);

class SimulatedKeyboard {
public:
    // The pipe's name is made unique to this test process.
    explicit SimulatedKeyboard(const std::string& name);
    ~SimulatedKeyboard() { Unplug(); }
    SimulatedKeyboard(const SimulatedKeyboard&) = delete;
    SimulatedKeyboard& operator=(const SimulatedKeyboard&) = delete;

    // Lists this pipe as simulated device `index`: by default the keyboard's
    // consumer-control interface, or any other interface's description, which
    // Send then follows.
    bool Register(DWORD index = 0);
    bool Register(DWORD index, SimulatedInterface entry);
    const std::string& Path() const { return m_path; }

    // Creates the pipe's instances; the program may open it from now on,
    // each instance once.
    bool PlugIn();
    // Closes every instance: each open's read fails as on an unplug.
    void Unplug();
    // Whether a client has opened the pipe since it was plugged in (waiting
    // up to the time given), how many have, and whether one holds it open now.
    bool WaitOpened(DWORD timeoutMs);
    int Opened();
    bool Held();

    // One report with the key bits of keyCode, in the registered layout (a
    // standard keyboard's: each key's usage; of an item list, in the report
    // of that ID, 0 for the first item's); or any bytes as one report. It
    // goes to every open that holds the pipe; false when none took it.
    bool Send(DWORD keyCode, BYTE reportId = 0);
    // A standard keyboard's report holding these usages, any of them.
    bool SendUsages(const std::vector<USHORT>& usages, BYTE reportId = 0);
    bool SendBytes(const std::vector<BYTE>& report);
    // Plugs in again and announces a device arrival to the program's window
    // until the program opens the pipe: it acts on an arrival only once its
    // reader has noticed the unplug.
    bool Replug(HWND programWindow, DWORD timeoutMs = 10000);

private:
    // One instance of the pipe: one open of the interface.
    struct Instance {
        HANDLE pipe = INVALID_HANDLE_VALUE;
        HANDLE connectEvent = NULL;
        OVERLAPPED connect = {};
        bool opened = false;
    };
    // Notes the instances opened since the last look.
    void NoteOpens();

    std::string m_path;
    SimulatedInterface m_shape;
    Instance m_instances[kSimulatedOpens];
};

}  // namespace mmk_test
