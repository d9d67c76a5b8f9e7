// The contract of MMKeyboard-sim.exe's simulated keyboard and sound card,
// shared by the simulated device modules, the key pad and the tests. Both
// live in the registry under HKEY_CURRENT_USER, so that another process can
// plug a keyboard in, play it and watch the mixer.
//
// Keyboards: subkeys "0", "1", ... of kSimulatorDevicesKey (enumeration
// stops at the first missing index), one HID interface each. DevicePath
// names a pipe whose server plays the keyboard:
// - the program opens it with the real CreateFileA and reads it with the
//   real ReadFile, in message-read mode, one input report per message; the
//   reads are overlapped, and a reader may cancel its own pending read with
//   CancelIo (named pipes do both, on Windows as under Wine);
// - several opens are served at once, as Windows' HID class driver keeps an
//   input buffer for each open handle: the server offers kSimulatedOpens
//   instances of its pipe, and writes every report to each instance open
//   at that moment, so every handle reads every report;
// - a path with no pipe behind it, or whose instances are all taken, is an
//   interface that cannot be opened;
// - the server closing every instance of its pipe is the keyboard being
//   unplugged.
//
// Sound card: DWORD values of kSimulatorMixerKey, read on every get and
// written on every set, nothing cached, so that a watcher sees each step
// and can change a value as the system's volume control would. "Present"
// 0 or absent: no mixer device. A fader exists while its maximum value
// exists, a toggle while its state value exists.
//
// Both are stricter than hardware where a slip of the program would go
// unseen there: the keyboard refuses a second device set or preparsed-data
// block while one is still held, and the card a second open while it is
// open, so whatever is not released shows up as a device that stops
// working.
#pragma once
#include <windows.h>

#define MMK_SIMULATOR_KEY "Software\\MMKeyboard Simulator"
const char kSimulatorRootKey[] = MMK_SIMULATOR_KEY;
const char kSimulatorDevicesKey[] = MMK_SIMULATOR_KEY "\\Devices";
const char kSimulatorMixerKey[] = MMK_SIMULATOR_KEY "\\Mixer";
#undef MMK_SIMULATOR_KEY

const DWORD kMaxSimulatedDevices = 32;
// The opens of one interface a server serves at the same time: two copies
// of the program, and discovery looking at the interface meanwhile.
const DWORD kSimulatedOpens = 4;

// How an interface's input report carries its keys, after the report-ID
// byte. A standard keyboard's usages are read back with HidP_GetUsages, which
// the simulated module answers as Windows documents it for the layout.
enum SimulatedLayout : DWORD {
    kMakerBitmap = 0,  // the maker's models: one bit per key, as the KeyCode
    kUsageArray = 1,   // slots of 16 bits, little-endian; a slot's value v is the usage
                       // usageMinimum + (v - logicalMinimum), 0 or outside the logical range none
    kUsageBits = 2,    // one bit per usage of the usage list, lowest bit of data byte 1 first
    kItemList = 3,     // the main items of `items`, as a report descriptor declares them
};
const DWORD kMaxSimulatedUsages = 32;

// One main item of an input report, for devices laid out as real products
// are: several report IDs in one collection, bits of several pages mixed
// with padding, values beside buttons. HidP_GetUsages returns the usages of
// the bits and arrays of the asked page in the reports of the report's ID;
// a value is never a usage it returns, and no button capability.
enum SimulatedItemKind : BYTE {
    kBitItem = 0,    // one bit per entry of `list`; an entry of page 0 is a padding bit
    kArrayItem = 1,  // `fields` slots of `fieldBits`; a slot's value v (0: none) names
                     // list[v - 1], or with an empty list usageMinimum + v - 1 up to usageMaximum
    kValueItem = 2,  // `fields` values of `fieldBits`, of the usage list[0]
};
const DWORD kMaxItemUsages = 12;
const DWORD kMaxSimulatedItems = 6;
struct SimulatedUsage {
    USHORT page, usage;
};
struct SimulatedItem {
    BYTE reportId;   // the first byte of the reports that carry it
    BYTE kind;       // a SimulatedItemKind
    BYTE firstBit;   // counted from the lowest bit of the byte after the report ID
    BYTE fieldBits;  // 1 for a bit list
    BYTE fields;
    BYTE listed;     // entries of `list` in use
    USHORT page;     // an array's or a value's page; a bit list's entries name their own
    USHORT usageMinimum, usageMaximum;
    SimulatedUsage list[kMaxItemUsages];
};

// One simulated HID interface.
struct SimulatedInterface {
    DWORD vendorId, productId, usagePage, usage, inputReportLength, outputReportLength;
    char devicePath[MAX_PATH];
    DWORD layout;     // a SimulatedLayout
    DWORD itemPage;   // the usage page of the report's keys (a standard keyboard's: Consumer)
    DWORD arraySlots, usageMinimum, logicalMinimum, logicalMaximum;  // kUsageArray
    DWORD usageCount;                                                 // kUsageBits
    USHORT usages[kMaxSimulatedUsages];
    DWORD itemCount;                                                  // kItemList
    SimulatedItem items[kMaxSimulatedItems];
};

// A simulated keyboard's input report: the report-ID byte, then the three
// data bytes of the KeyCode, most significant first.
const DWORD kSimulatedReportLength = 4;
void BuildSimulatedReport(DWORD keyCode, BYTE report[kSimulatedReportLength]);

// The keyboard's consumer-control interface as the keyboard describes it,
// its reports served on the given pipe.
SimulatedInterface SimulatedKeyboardInterface(const char* pipePath);

// Another maker's keyboard with a standard consumer-control interface. The
// array layout is the common one: Usage Minimum 1, Logical Minimum 1,
// Logical Maximum 0x029C, `slots` 16-bit slots. The bit layout has one bit
// for each of the keyboard's own keys (kStandardBitUsages), some of which no
// table of the program knows.
const DWORD kStandardVendorId = 0xFFF0;
extern const USHORT kStandardBitUsages[];
extern const DWORD kStandardBitUsageCount;
SimulatedInterface SimulatedStandardKeyboard(const char* pipePath, SimulatedLayout layout, DWORD slots = 2);
// A standard keyboard's report holding the given Consumer usages: the
// report-ID byte, then the slots or bits of its layout (of an item list:
// the items of that report ID, 0 for the first item's). Usages the report
// cannot carry are left out. The size is the interface's input report length.
void BuildUsageReport(const SimulatedInterface& keyboard, const USHORT* usages, DWORD count, BYTE* report,
                      BYTE reportId = 0);
// The field of `bits` bits at a bit position after the report-ID byte; bits
// beyond the report's length read as 0.
DWORD ReportField(const BYTE* report, DWORD length, DWORD firstBit, DWORD bits);

// False when there is no entry at that index.
bool ReadSimulatedInterface(DWORD index, SimulatedInterface* entry);
// Creates or replaces the entry at that index.
bool WriteSimulatedInterface(DWORD index, const SimulatedInterface& entry);

// The mixer's value names. kMixerRefuse holds kRefuse... bits: the calls
// the card answers with an error, as a failing driver would.
const char kMixerPresent[] = "Present";
const char kMixerVolume[] = "Volume";
const char kMixerVolumeMax[] = "VolumeMax";
const char kMixerBass[] = "Bass";
const char kMixerBassMax[] = "BassMax";
const char kMixerTreble[] = "Treble";
const char kMixerTrebleMax[] = "TrebleMax";
const char kMixerMute[] = "Mute";
const char kMixerLoudness[] = "Loudness";
const char kMixerRefuse[] = "Refuse";
const DWORD kRefuseOpen = 0x01;
const DWORD kRefuseCapabilities = 0x02;
const DWORD kRefuseLine = 0x04;
const DWORD kRefuseGet = 0x08;
const DWORD kRefuseSet = 0x10;

// False when the value (or the key) is absent or not a DWORD.
bool ReadMixerValue(const char* name, DWORD* value);
// Writes into the existing key only: a card taken away stays away.
bool WriteMixerValue(const char* name, DWORD value);
// Creates the key when it is missing, then writes.
bool PutMixerValue(const char* name, DWORD value);
