// A programmable stand-in for the HID device module in unit tests. Each
// interface the test lists is a real named pipe served by the fake (an
// interface marked absent names a pipe that does not exist), so discovery's
// real CreateFileA opens it and the reader's real ReadFile reads it. At every
// call into the module the fake counts the interfaces a client holds open.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace fake_hid {

struct FakeInterface {
    USHORT vendorId;
    USHORT productId;
    USHORT usagePage;
    USHORT usage;
    USHORT inputReportLength;
    USHORT outputReportLength;
    bool present = true;  // false: its path cannot be opened
};

// Replaces the listed interfaces (closing the pipes of the earlier ones).
void SetInterfaces(const std::vector<FakeInterface>& interfaces);
// Closes every pipe and forgets the interfaces and the counts.
void Reset();

std::string DevicePath(size_t index);
// Writes one report as one message, as the keyboard sends it.
bool SendReport(size_t index, const std::vector<BYTE>& report);
// Closes the interface's pipe: the keyboard is unplugged.
void Unplug(size_t index);

// Whether a client has the interface open now, and whether one ever had.
bool IsOpen(size_t index);
bool WasOpened(size_t index);
// The most interfaces held open at once, seen at any call into the module.
int MostOpenAtOnce();
// Preparsed data handed out and not released, device sets not destroyed.
int UnreleasedPreparsedData();
int UndestroyedSets();

}  // namespace fake_hid
