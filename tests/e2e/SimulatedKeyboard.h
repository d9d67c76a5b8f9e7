// The test's side of the simulated keyboard of MMKeyboard-sim.exe: a device
// entry under HKCU\Software\MMKeyboard Simulator\Devices and the named pipe
// that plays the keyboard, one input report per message.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "support/WineTestSupport.h"

namespace mmk_test {

const char kSimulatorKey[] = "Software\\MMKeyboard Simulator";
const char kSimulatorDevicesKey[] = "Software\\MMKeyboard Simulator\\Devices";

struct SimulatedDeviceEntry {
    DWORD vendorId = KEYBOARD_VENDOR_ID;
    DWORD productId = 0x0101;
    DWORD usagePage = 0x000C;
    DWORD usage = 0x0001;
    DWORD inputReportLength = 4;
    DWORD outputReportLength = 0;
    std::string devicePath;
};

// Removes every simulated device.
bool ClearSimulatedDevices();
// Writes the entry as subkey "<index>".
bool RegisterSimulatedDevice(int index, const SimulatedDeviceEntry& entry);

// A pipe server that plays one keyboard.
class SimulatedKeyboardPipe {
public:
    explicit SimulatedKeyboardPipe(const std::string& path) : path_(path) {}
    ~SimulatedKeyboardPipe() { Unplug(); }
    SimulatedKeyboardPipe(const SimulatedKeyboardPipe&) = delete;
    SimulatedKeyboardPipe& operator=(const SimulatedKeyboardPipe&) = delete;

    const std::string& Path() const { return path_; }
    // Creates the pipe and waits for a client in the background.
    bool PlugIn();
    // Closes the pipe: the keyboard is unplugged.
    void Unplug();
    // True once a client (the program's discovery) has opened the pipe.
    bool WaitForClient(DWORD timeoutMs);
    bool Send(const std::vector<BYTE>& report);

private:
    std::string path_;
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    HANDLE connected_ = NULL;
    OVERLAPPED connect_ = {};
    bool clientSeen_ = false;
};


}  // namespace mmk_test
