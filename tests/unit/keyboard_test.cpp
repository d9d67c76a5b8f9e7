// The keyboard in-process: discovery, the report reader and the connection,
// over the simulated keyboard module, whose interfaces are pipes this test
// serves, and the simulated sound card; the maker's models and a standard
// keyboard of another maker, whose reports hold consumer usages.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <memory>
#include <vector>
#include "device/HidDevice.h"
#include "actions/KeyDispatcher.h"
#include "app/KeyboardStartup.h"
#include "keyboard/KeyboardConnection.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/ReaderThread.h"
#include "keyboard/Readers.h"
#include "keyboard/ReportRead.h"
#include "keyboard/StandardReaders.h"
#include "mixer/MixerControls.h"
#include "support/DialogRig.h"
#include "support/ProcessGauges.h"
#include "support/Program.h"
#include "support/SimulatedKeyboard.h"

using namespace mmk_test;

namespace {

SimulatedInterface Collection(DWORD vendor, DWORD product, DWORD page, DWORD usage, DWORD inLength, DWORD outLength)
{
    SimulatedInterface shape = SimulatedKeyboardInterface("");
    shape.vendorId = vendor;
    shape.productId = product;
    shape.usagePage = page;
    shape.usage = usage;
    shape.inputReportLength = inLength;
    shape.outputReportLength = outLength;
    return shape;
}

SimulatedInterface Keyboard(DWORD product = 0x0101, DWORD reportLength = 4)
{
    return Collection(KEYBOARD_VENDOR_ID, product, 0x000C, 0x0001, reportLength, 0);
}

// Another maker's keyboard with standard consumer keys.
SimulatedInterface Standard(SimulatedLayout layout = kUsageArray, DWORD slots = 2)
{
    return SimulatedStandardKeyboard("", layout, slots);
}

SimulatedInterface StandardOfLength(DWORD length)
{
    SimulatedInterface shape = Standard();
    shape.inputReportLength = length;
    return shape;
}

// Item lists as real products' report descriptors declare them.
const USHORT kButtonPage = 0x0009;
const SimulatedUsage kPad = { 0, 0 };
SimulatedUsage Consumer(USHORT usage) { return { kConsumerPage, usage }; }
SimulatedUsage Button(USHORT number) { return { kButtonPage, number }; }

SimulatedItem Item(BYTE id, SimulatedItemKind kind, BYTE firstBit, BYTE fieldBits, BYTE fields,
                   std::vector<SimulatedUsage> list = {})
{
    SimulatedItem item = {};
    item.reportId = id;
    item.kind = kind;
    item.firstBit = firstBit;
    item.fieldBits = fieldBits;
    item.fields = fields;
    item.page = kConsumerPage;
    item.listed = static_cast<BYTE>(list.size());
    for (size_t i = 0; i < list.size(); ++i) item.list[i] = list[i];
    return item;
}
SimulatedItem Bits(BYTE id, BYTE firstBit, std::vector<SimulatedUsage> bits)
{
    return Item(id, kBitItem, firstBit, 1, static_cast<BYTE>(bits.size()), bits);
}
// Slots of 16 bits naming a Consumer usage from first to last.
SimulatedItem Slots(BYTE id, BYTE firstBit, BYTE slots, USHORT first, USHORT last)
{
    SimulatedItem item = Item(id, kArrayItem, firstBit, 16, slots);
    item.usageMinimum = first;
    item.usageMaximum = last;
    return item;
}
SimulatedItem Value(BYTE id, BYTE firstBit, BYTE bits, SimulatedUsage usage)
{
    SimulatedItem item = Item(id, kValueItem, firstBit, bits, 1, { usage });
    item.page = usage.page;
    return item;
}
SimulatedInterface Described(DWORD length, std::vector<SimulatedItem> items)
{
    SimulatedInterface shape = Standard();
    shape.layout = kItemList;
    shape.inputReportLength = length;
    shape.itemCount = static_cast<DWORD>(items.size());
    for (size_t i = 0; i < items.size(); ++i) shape.items[i] = items[i];
    return shape;
}

// A tilt-wheel mouse's Consumer Control collection: AC Pan, a value.
const SimulatedInterface kTiltWheel = Described(3, { Value(3, 0, 16, Consumer(0x0238)) });
// A battery level in a Consumer Control collection.
const SimulatedInterface kBattery = Described(2, { Value(4, 0, 8, { 0x0006, 0x0020 }) });
// A mouse whose side buttons are AC Back and AC Forward, beside its own
// Button-page buttons and padding.
const SimulatedInterface kSideButtons =
    Described(2, { Bits(2, 0, { Button(1), Button(2), Button(3), kPad, Consumer(0x0224), Consumer(0x0225), kPad, kPad }) });
// A wireless mouse's media keys: one slot naming the usages of a list.
const SimulatedInterface kMouseMediaKeys = Described(3, { Item(5, kArrayItem, 0, 16, 1,
    { Consumer(0x00CD), Consumer(0x00B5), Consumer(0x00E9), Consumer(0x00EA) }) });
// A keyboard's two Consumer Control collections: player and volume keys in
// slots, launch and browser keys as bits.
const SimulatedInterface kPlayerHalf = Described(5, { Slots(1, 0, 2, 0x0001, 0x03FF) });
const SimulatedInterface kLaunchHalf = Described(2, { Bits(1, 0, { Consumer(0x018A), Consumer(0x0192), Consumer(0x0194),
    Consumer(0x0221), Consumer(0x0223), Consumer(0x0224), Consumer(0x0225), Consumer(0x022A) }) });
// A keyboard that lists each of its many keys as a button of its own: 36
// Consumer buttons of no row, then Volume Up and Mute.
std::vector<SimulatedUsage> TwelveFrom(USHORT first)
{
    std::vector<SimulatedUsage> list;
    for (USHORT usage = first; usage < first + 12; ++usage) list.push_back(Consumer(usage));
    return list;
}
const SimulatedInterface kManyButtons = Described(6, { Bits(1, 0, TwelveFrom(0x0240)), Bits(1, 12, TwelveFrom(0x024C)),
    Bits(1, 24, TwelveFrom(0x0258)), Bits(1, 36, { Consumer(0x00E9), Consumer(0x00E2) }) });
// An office keyboard's second collection: only keys outside the KeyCode.
const SimulatedInterface kOfficeKeys =
    Described(2, { Bits(3, 0, { Consumer(0x0184), Consumer(0x0186), Consumer(0x022D), Consumer(0x022E), kPad }) });
// A receiver's one collection with two input reports that both carry keys.
const SimulatedInterface kTwoReports = Described(5, { Slots(1, 0, 2, 0x0001, 0x03FF),
    Bits(2, 0, { Consumer(0x018A), Consumer(0x0192), Button(1), kPad }) });

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSimulator();
        KeyboardDevice.handle.store(NULL);
        KeyboardDevice.open.store(false);
        KeyboardDevice.kind.store(KeyboardKind::kMaker);
        FillMemory(KeyboardDevice.reportBuffer, sizeof KeyboardDevice.reportBuffer, 0xAA);
        ReaderStopFlag.store(0);
    }
    void TearDown() override
    {
        pipes.clear();  // unplugged: a reader blocked in a read ends
        WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000);
        DisconnectKeyboard();
        ClearSimulator();
    }

    // Lists the interfaces in enumeration order, each served on a pipe of its
    // own; one that is not plugged in cannot be opened.
    void List(const std::vector<SimulatedInterface>& shapes, std::vector<bool> plugged = {})
    {
        pipes.clear();
        DeleteRegistryTree(HKEY_CURRENT_USER, kSimulatorDevicesKey);
        for (size_t i = 0; i < shapes.size(); ++i) {
            pipes.emplace_back(new SimulatedKeyboard("hid" + std::to_string(i)));
            ASSERT_TRUE(pipes[i]->Register(static_cast<DWORD>(i), shapes[i]));
            if (i >= plugged.size() || plugged[i]) ASSERT_TRUE(pipes[i]->PlugIn());
        }
    }
    // Found and kept open, or looked at and closed again, or never opened.
    bool Kept(size_t i) { return pipes[i]->Held(); }
    bool Skipped(size_t i) { return pipes[i]->WaitOpened(0) && !pipes[i]->Held(); }
    bool NeverOpened(size_t i) { return !pipes[i]->WaitOpened(0); }

    std::vector<std::unique_ptr<SimulatedKeyboard>> pipes;
};

// A key outside the KeyCode as ReaderTest::Posted lists it.
DWORD Down(USHORT usage) { return 0x80000000 | usage; }
DWORD Up(USHORT usage) { return 0xC0000000 | usage; }

// The reader with a window of this thread; it posts the message number the
// connection gives it, here not the program's own.
class ReaderTest : public KeyboardTest {
protected:
    const UINT kMessage = WM_APP + 7;

    void SetUp() override
    {
        KeyboardTest::SetUp();
        window = CreateWindowExA(0, "STATIC", "reader target", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    }
    void TearDown() override
    {
        KeyboardTest::TearDown();
        DestroyWindow(window);
    }
    void OpenKeyboardOfReports(DWORD length)
    {
        List({ Keyboard(0x0101, length) });
        KeyboardDevice.open.store(FindKeyboard());
        ASSERT_TRUE(KeyboardDevice.open.load());
        ASSERT_TRUE(StartReaderThread(window, kMessage));
    }
    // The KeyCodes posted within the time, and the keys outside the KeyCode
    // going Down and Up, in order.
    std::vector<DWORD> Posted(size_t expected, DWORD timeoutMs = 3000)
    {
        std::vector<DWORD> keyCodes;
        const DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, window, WM_KEYBOARD_OTHER_KEY, kMessage, PM_REMOVE)) {
                if (msg.message == kMessage) keyCodes.push_back(DWORD(msg.lParam));
                if (msg.message == WM_KEYBOARD_OTHER_KEY)
                    keyCodes.push_back((msg.lParam == kOtherKeyPressed ? Down : Up)(USHORT(msg.wParam)));
            }
            const DWORD elapsed = GetTickCount() - start;
            if (keyCodes.size() >= expected || elapsed >= timeoutMs) return keyCodes;
            MsgWaitForMultipleObjects(0, NULL, FALSE, timeoutMs - elapsed, QS_POSTMESSAGE);
        }
    }
    static bool ReaderEnds(DWORD timeoutMs)
    {
        HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, ReaderThreadId);
        if (!thread) return true;
        const bool ended = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
        CloseHandle(thread);
        return ended;
    }

    HWND window = NULL;
};

// The connection through the real dialog's device-change routing, with the
// simulated sound card.
class ConnectionTest : public KeyboardTest {
protected:
    void SetUp() override
    {
        KeyboardTest::SetUp();
        ResetMixerRecords();
        for (const char* name : { kMixerVolumeMax, kMixerBassMax, kMixerTrebleMax }) PutMixerValue(name, 65535);
        for (const char* name : { kMixerVolume, kMixerBass, kMixerTreble, kMixerMute, kMixerLoudness })
            PutMixerValue(name, 0);
        PutMixerValue(kMixerPresent, 1);
    }
    void TearDown() override
    {
        KeyboardTest::TearDown();
        ResetMixerRecords();
    }
    static void ResetMixerRecords()
    {
        CloseMixer();
        VolumeAvailable = MuteAvailable = BassAvailable = TrebleAvailable = LoudnessAvailable = false;
        RememberedMute = RememberedLoudness = false;
    }
    void Arrival() { ASSERT_EQ(TRUE, dialog.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0)); }
    void Unplug()
    {
        pipes[0]->Unplug();
        ASSERT_TRUE(WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000));
    }
    void PlugIn()
    {
        ASSERT_TRUE(pipes[0]->PlugIn());
        Arrival();
        ASSERT_TRUE(KeyboardDevice.open.load());
    }
    // A key pressed and released on the keyboard, handled by the dialog.
    void Press(DWORD keyCode)
    {
        ASSERT_TRUE(pipes[0]->Send(keyCode));
        ASSERT_TRUE(pipes[0]->Send(kKeysReleased));
    }

    DialogRig dialog;
};


// What a search for the maker's model leaves, interface by interface: 'K'
// kept, 's' looked at and let go, '-' never opened (nothing behind it, or the
// search had ended); the lengths of the last report read; the report buffer
// zeroed for one report and no further. Each model is found behind another
// kind of interface.
TEST_F(KeyboardTest, DiscoveryKeepsTheFirstKeyboardClosesEveryOtherInterfaceAndKeepsTheLengthsRead)
{
    const WORD vendor = KEYBOARD_VENDOR_ID;
    const struct {
        const char* what;
        std::vector<SimulatedInterface> shapes;
        std::vector<bool> plugged;
        const char* read;
        USHORT inLength, outLength;
        BYTE zeroed;
    } cases[] = {
        { "another maker", { Collection(0x045E, 0x0101, 0x0C, 1, 4, 0), Keyboard(0x0101), Keyboard() }, {}, "sK-", 4, 0, 4 },
        { "unknown model", { Collection(vendor, 0x0104, 0x0C, 1, 4, 0), Keyboard(0x0102), Keyboard() }, {}, "sK-", 4, 0, 4 },
        { "ordinary keys", { Collection(vendor, 0x0101, 1, 6, 5, 1), Keyboard(0x0103), Keyboard() }, {}, "sK-", 4, 0, 4 },
        { "other consumer usage", { Collection(vendor, 0x0101, 0x0C, 2, 4, 0), Keyboard(0x0202), Keyboard() }, {}, "sK-", 4, 0, 4 },
        { "report beyond the buffer", { Collection(vendor, 0x0101, 0x0C, 1, 7, 0), Keyboard(0x0103), Keyboard() }, {}, "sK-", 4, 0, 4 },
        { "empty report", { Collection(vendor, 0x0101, 0x0C, 1, 0, 0), Keyboard(0x0101), Keyboard() }, {}, "sK-", 4, 0, 4 },
        { "no interface", {}, {}, "", 0, 0, 0 },
        { "no consumer control", { Collection(vendor, 0x0101, 1, 6, 5, 2), Collection(vendor, 0x0104, 0x0C, 2, 3, 3) }, {}, "ss", 5, 2, 5 },
        { "a report longer than the buffer", { Collection(vendor, 0x0101, 0x0C, 1, 64, 7) }, {}, "s", 64, 7, 6 },
        { "collections without Consumer buttons", { kTiltWheel, kBattery }, {}, "ss", 0, 0, 0 },
        { "unopenable alone", { Keyboard() }, { false }, "-", 0, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool found = strchr(c.read, 'K') != NULL;
        FillMemory(KeyboardDevice.reportBuffer, sizeof KeyboardDevice.reportBuffer, 0xAA);
        KeyboardDevice.handle.store(reinterpret_cast<HANDLE>(0x1234));
        List(c.shapes, c.plugged);
        EXPECT_EQ(found, FindKeyboard());
        EXPECT_EQ(found, KeyboardDevice.handle.load() != NULL);
        EXPECT_EQ(c.inLength, KeyboardDevice.inputReportLength.load());
        EXPECT_EQ(c.outLength, KeyboardDevice.outputReportLength);
        for (size_t i = 0; i < sizeof KeyboardDevice.reportBuffer; ++i)
            EXPECT_EQ(i < c.zeroed ? 0 : 0xAA, KeyboardDevice.reportBuffer[i]) << i;
        for (size_t i = 0; i < c.shapes.size(); ++i) {
            if (c.read[i] == 'K') EXPECT_TRUE(Kept(i)) << i;
            if (c.read[i] == 's') EXPECT_TRUE(WaitUntil([&] { return Skipped(i); }, 2000)) << i;
            if (c.read[i] == '-') EXPECT_TRUE(NeverOpened(i)) << i;
        }
        if (found) CloseHandle(KeyboardDevice.handle.exchange(NULL));
    }
}

TEST(KeyCodePacking, EachKeyIsItsBitOfTheReportAndTheReportIdNeverCounts)
{
    // The keyboard's report: data bytes 1 to 3, each key one bit, lowest first.
    const DWORD layout[3][8] = {
        { kKeyNextTrack, kKeyPreviousTrack, kKeyMediaStop, kKeyPlayPause, kKeyMute, 0, kKeyLoudness, kKeyMediaPlayer },
        { kKeyVolumeUp, kKeyVolumeDown, kKeyBassUp, kKeyBassDown, kKeyTrebleUp, kKeyTrebleDown, kKeyMail, kKeyCalculator },
        { kKeyMyComputer, kKeyWebSearch, kKeyHomePage, kKeyBack, kKeyForward, kKeyBrowserStop, kKeyRefresh,
          kKeyFavourites },
    };
    for (int byte = 0; byte < 3; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            BYTE report[4] = { 0xFF, 0, 0, 0 };
            report[1 + byte] = static_cast<BYTE>(1 << bit);
            if (layout[byte][bit]) EXPECT_EQ(layout[byte][bit], PackKeyCode(report, 4)) << byte << "." << bit;
        }
    }
    const BYTE idAlone[] = { 0x01 }, six[] = { 0x01, 0x11, 0x22, 0x33, 0x44, 0x55 };
    EXPECT_EQ(kKeysReleased, PackKeyCode(idAlone, 1));
    EXPECT_EQ(0x22334455u, PackKeyCode(six, 6));  // byte 1 shifted out of the 32 bits
}

TEST_F(ReaderTest, EveryWholeReportIsPostedAndOthersAreDropped)
{
    const struct {
        DWORD length;
        std::vector<std::vector<BYTE>> reports;
        std::vector<DWORD> posted;
    } cases[] = {
        { 4, { { 0x01, 0x00, 0x80, 0x00 }, { 0x01, 0x00, 0x00, 0x00 } }, { kKeyCalculator, kKeysReleased } },
        { 1, { { 0x07 } }, { kKeysReleased } },
        { 6, { { 0x01, 0xAB, 0x12, 0x34, 0x56, 0x78 } }, { 0x12345678 } },
        // Short, then longer than the read (its tail must not pass for a
        // report of its own), then a whole one, the sentinel.
        { 4, { { 0x01, 0x00 }, { 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x04 }, { 0x01, 0x00, 0x01, 0x00 } },
          { kKeyVolumeUp } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        OpenKeyboardOfReports(c.length);
        for (const auto& report : c.reports) ASSERT_TRUE(pipes[0]->SendBytes(report));
        EXPECT_EQ(c.posted, Posted(c.posted.size()));
        EXPECT_TRUE(Posted(1, 300).empty()) << "more than the whole reports";
        EXPECT_TRUE(KeyboardDevice.open.load());
        pipes.clear();
        ASSERT_TRUE(ReaderEnds(3000)) << "an unplug must end the reader";
        EXPECT_FALSE(KeyboardDevice.open.load());
        EXPECT_EQ(std::vector<DWORD>{ kKeysReleased }, Posted(1)) << "a key held as the keyboard goes is released";
        DisconnectKeyboard();
    }
}

// Windows' HID class driver keeps an input buffer for every open handle: a
// second open of the interface, such as a second copy of the program has,
// reads every report too. The simulated keyboard must do the same, or no
// test could show a second copy acting twice.
TEST_F(KeyboardTest, EveryOpenOfAnInterfaceReadsEveryReport)
{
    List({ Keyboard() });
    GUID hid;
    HidDevice::GetHidGuid(&hid);
    const HANDLE opens[2] = { OpenHidInterface(&hid, 0), OpenHidInterface(&hid, 0) };
    ASSERT_TRUE(opens[0] && opens[1]);
    ASSERT_TRUE(pipes[0]->Send(kKeyMute) && pipes[0]->Send(kKeyCalculator));
    for (HANDLE open : opens) {
        DWORD queued = 0;
        EXPECT_TRUE(WaitUntil([&] { return PeekNamedPipe(open, NULL, 0, NULL, &queued, NULL) && queued == 8; }, 3000))
            << queued << " bytes of the two reports";
        CloseHandle(open);
    }
}

TEST_F(ReaderTest, AReaderWithoutKeyboardWaitsIdleAndGivesWayToTheNextOne)
{
    ASSERT_TRUE(StartReaderThread(window, kMessage));  // no keyboard at start
    HANDLE idle = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, ReaderThreadId);
    ASSERT_NE(nullptr, idle);
    FILETIME created, exited, kernel, user;
    Sleep(1000);
    ASSERT_TRUE(GetThreadTimes(idle, &created, &exited, &kernel, &user));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(idle, 0)) << "a reader must exist after every open";
    const ULONGLONG busy100ns = (ULONGLONG(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
                                (ULONGLONG(user.dwHighDateTime) << 32 | user.dwLowDateTime);
    EXPECT_LT(busy100ns, 500000u) << "more than 50 ms of processor time in a second of waiting";

    OpenKeyboardOfReports(4);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(idle, 3000)) << "two readers on one device";
    CloseHandle(idle);
    ASSERT_TRUE(pipes[0]->Send(kKeyLoudness));
    EXPECT_EQ(std::vector<DWORD>{ kKeyLoudness }, Posted(1));
}

TEST_F(ConnectionTest, AnArrivalOpensTheKeyboardAndMixerOrReloadsTheSettingsUnlessTheUserTypedInOne)
{
    List({ Keyboard() }, { false });
    ConnectKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
    EXPECT_FALSE(KeyboardDevice.open.load());
    EXPECT_EQ(nullptr, MixerSession.mixer);
    EXPECT_FALSE(VolumeAvailable || MuteAvailable || BassAvailable || TrebleAvailable || LoudnessAvailable);
    EXPECT_NE("", dialog.Text(IDC_SEARCH)) << "the settings are loaded with or without a keyboard";

    // An arrival of any device (no keyboard behind it) reloads the settings,
    // unless the user typed in one of them.
    const std::string stored = dialog.Text(IDC_MAIL);
    for (int edited : { IDC_MAIL, IDC_MEDIA, IDC_SEARCH }) {
        SCOPED_TRACE(edited);
        dialog.SetText(IDC_MAIL, "shown, not typed");
        Arrival();
        EXPECT_EQ(stored, dialog.Text(IDC_MAIL));
        SendDlgItemMessageA(dialog.Window(), edited, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
        Arrival();
        EXPECT_NE(std::string::npos, dialog.Text(edited).find("typed"));
        dialog.Command(IDC_REVERT);
    }
    for (WPARAM other : { DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEQUERYREMOVE, DBT_DEVNODES_CHANGED, DBT_CONFIGCHANGED }) {
        ASSERT_TRUE(pipes[0]->PlugIn());
        EXPECT_EQ(TRUE, dialog.SendMessage(WM_DEVICECHANGE, other, 0));
        EXPECT_TRUE(NeverOpened(0)) << std::hex << other;
    }
    PutMixerValue(kMixerMute, 1);
    PutMixerValue(kMixerLoudness, 1);
    Arrival();
    EXPECT_TRUE(KeyboardDevice.open.load());
    EXPECT_TRUE(VolumeAvailable && MuteAvailable && BassAvailable && TrebleAvailable && LoudnessAvailable);
    EXPECT_TRUE(RememberedMute && RememberedLoudness);
    Press(kKeyMute);  // the reader posts to the dialog, which toggles mute
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 0; }));

    // Arriving again while open: nothing is closed, re-read or reloaded.
    const HANDLE device = KeyboardDevice.handle.load();
    const DWORD reader = ReaderThreadId;
    dialog.SetText(IDC_MAIL, "shown, not stored");
    PutMixerValue(kMixerLoudness, 0);
    Arrival();
    EXPECT_EQ(device, KeyboardDevice.handle.load());
    EXPECT_EQ(reader, ReaderThreadId);
    EXPECT_EQ("shown, not stored", dialog.Text(IDC_MAIL));
    EXPECT_TRUE(RememberedLoudness);
}

// How the keyboard read goes: unplugged, or a standard keyboard given up for
// the maker's model (and taken again when the model goes).
const struct KeyboardGoing {
    const char* what;
    bool standard, switches;
} kGoings[] = {
    { "the maker's model unplugged", false, false },
    { "a standard keyboard unplugged", true, false },
    { "a standard keyboard switched to the maker's model", true, true },
};

// A hundred cycles of each way to go, then a key held as it goes.
TEST_F(ConnectionTest, HundredUnplugsAndSwitchesLeaveNoHandlesOrThreadsAndAKeyHeldStopsWithItsKeyboard)
{
    for (const KeyboardGoing& c : kGoings) {
        SCOPED_TRACE(c.what);
        List({ c.standard ? Standard() : Keyboard(), Keyboard() }, { true, false });
        ConnectKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
        ASSERT_TRUE(KeyboardDevice.open.load());
        int threads = 0, handles = 0;
        for (int cycle = 0; cycle < 110; ++cycle) {
            SCOPED_TRACE(cycle);
            if (c.switches) {
                ASSERT_TRUE(pipes[1]->PlugIn());
                Arrival();
                ASSERT_EQ(KeyboardKind::kMaker, KeyboardDevice.kind.load());
                ASSERT_TRUE(pipes[0]->PlugIn());  // let go by the switch: ready for the next open
                pipes[1]->Unplug();
                ASSERT_TRUE(WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000));
                Arrival();
                ASSERT_EQ(KeyboardKind::kStandard, KeyboardDevice.kind.load());
            } else {
                Unplug();
                // Preparsed data left held shows here: the simulated
                // keyboard hands out no more than it could ever need.
                PlugIn();
            }
            // The simulated card takes one open at a time: a mixer left open
            // by the last cycle would leave every control unavailable.
            ASSERT_TRUE(VolumeAvailable);
            if (cycle == 9) {  // by now whatever the system makes once is there
                threads = ThreadCount(GetCurrentProcessId());
                handles = HandleCount(GetCurrentProcessId());
                ASSERT_GT(threads, 0);
                ASSERT_GT(handles, 0);
            }
        }
        EXPECT_TRUE(WaitUntil([&] { return ThreadCount(GetCurrentProcessId()) == threads; }, 3000)) << ThreadCount(GetCurrentProcessId());
        EXPECT_LE(HandleCount(GetCurrentProcessId()), handles + 2);  // a pipe or event in flight, not one a cycle

        PutMixerValue(kMixerMute, 1);  // muted elsewhere meanwhile: re-read at the next plug-in
        Unplug();
        PlugIn();
        EXPECT_TRUE(RememberedMute);

        // Volume up held as the keyboard goes, or gives way to the maker's
        // model, stops stepping with it: a tick then finds no repeat.
        ASSERT_TRUE(pipes[0]->Send(kKeyVolumeUp));
        ASSERT_TRUE(WaitUntil([] { return Mixer(kMixerVolume) >= 3 * (65535 / 20); })) << "the held key repeats";
        if (c.switches) {
            ASSERT_TRUE(pipes[1]->PlugIn());
            Arrival();
            ASSERT_EQ(KeyboardKind::kMaker, KeyboardDevice.kind.load());
        } else {
            Unplug();
        }
        EXPECT_TRUE(WaitUntil([&] {
            PutMixerValue(kMixerVolume, 0);
            dialog.Tick();
            return Mixer(kMixerVolume) == 0;
        }, 3000)) << "the volume goes on climbing";
        pipes.clear();
        WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000);
        DisconnectKeyboard();
    }
}

// What a search reads, interface by interface: 'K' kept and read, 's'
// looked at and let go, '-' never opened (nothing behind it, or the search
// had ended).
TEST_F(KeyboardTest, TheMakersModelAloneIsReadOrElseEveryStandardCollectionWithConsumerButtons)
{
    SimulatedInterface otherPage = Standard(), noUsages = Standard(kUsageBits);
    otherPage.itemPage = 0x0007;  // the ordinary keys' page
    noUsages.usageCount = 0;
    const std::vector<SimulatedInterface> eight(8, Standard());
    std::vector<SimulatedInterface> nine = eight, eightAndMaker = eight;
    nine.push_back(Standard());
    eightAndMaker.push_back(Keyboard());
    const struct {
        const char* what;
        std::vector<SimulatedInterface> shapes;
        std::vector<bool> plugged;
        const char* read;
        KeyboardKind kind;
    } cases[] = {
        { "standard alone", { Standard() }, {}, "K", KeyboardKind::kStandard },
        { "the maker's model after it", { Standard(), Keyboard() }, {}, "sK", KeyboardKind::kMaker },
        { "the maker's model before it", { Keyboard(), Standard() }, {}, "K-", KeyboardKind::kMaker },
        { "two standard keyboards", { Collection(0xFFF0, 1, 1, 6, 9, 1), Standard(kUsageArray, 3), Standard(kUsageBits) },
          {}, "sKK", KeyboardKind::kStandard },
        { "64-byte reports", { StandardOfLength(64) }, {}, "K", KeyboardKind::kStandard },
        { "the maker's model with 7-byte reports", { Keyboard(0x0101, 7), Standard() }, {}, "sK", KeyboardKind::kStandard },
        { "65-byte reports", { StandardOfLength(65), Standard() }, {}, "sK", KeyboardKind::kStandard },
        { "no report", { StandardOfLength(0), Standard(kUsageBits) }, {}, "sK", KeyboardKind::kStandard },
        { "usages of another page", { otherPage, Standard() }, {}, "sK", KeyboardKind::kStandard },
        { "no usages declared", { noUsages, Standard() }, {}, "sK", KeyboardKind::kStandard },
        { "unopenable ahead of the maker's model", { Keyboard(), Keyboard() }, { false, true }, "-K", KeyboardKind::kMaker },
        { "unopenable ahead of a standard one", { Standard(), Standard() }, { false, true }, "-K", KeyboardKind::kStandard },
        { "a tilt wheel and a battery ahead", { kTiltWheel, kBattery, Standard() }, {}, "ssK", KeyboardKind::kStandard },
        { "side buttons beside a keyboard", { kSideButtons, Standard() }, {}, "KK", KeyboardKind::kStandard },
        { "a mouse's media keys", { kMouseMediaKeys }, {}, "K", KeyboardKind::kStandard },
        { "a keyboard's two collections", { kPlayerHalf, kLaunchHalf }, {}, "KK", KeyboardKind::kStandard },
        { "only keys outside the KeyCode, a tilt wheel ahead", { kTiltWheel, kOfficeKeys }, {}, "sK",
          KeyboardKind::kStandard },
        { "nine collections", nine, {}, "KKKKKKKKs", KeyboardKind::kStandard },
        { "the maker's model after eight", eightAndMaker, {}, "ssssssssK", KeyboardKind::kMaker },
    };
    // Twice: preparsed data or an interface not released would show in the
    // second round as an interface that can no longer be checked.
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", round " << round);
            List(c.shapes, c.plugged);
            ASSERT_TRUE(FindKeyboard());
            EXPECT_EQ(c.kind, KeyboardDevice.kind.load());
            EXPECT_EQ(c.kind == KeyboardKind::kMaker, KeyboardDevice.handle.load() != NULL);
            for (size_t i = 0; i < c.shapes.size(); ++i) {
                if (c.read[i] == 'K') EXPECT_TRUE(Kept(i)) << i;
                if (c.read[i] == 's') EXPECT_TRUE(WaitUntil([&] { return Skipped(i); }, 2000)) << i;
                if (c.read[i] == '-') EXPECT_TRUE(NeverOpened(i)) << i;
            }
            DisconnectKeyboard();
        }
    }
}

// Reports as the collections write them: the report-ID byte, then two
// 16-bit slots of usages (array layout), one bit per usage (bit layout) or
// the items described. What all collections hold together is posted at each
// change, and released when the keyboards go.
TEST_F(ReaderTest, StandardCollectionsPostEachChangeOfTheKeysTheyHoldTogether)
{
    SimulatedInterface fromZero = Standard();
    fromZero.logicalMinimum = 0;  // a slot's value v is the usage 1 + v
    const SimulatedInterface valueBesideKeys =
        Described(4, { Value(1, 0, 16, Consumer(0x00E0)), Bits(1, 16, { Consumer(0x00E2), kPad }) });
    const std::vector<BYTE> up = { 1, 0xE9, 0, 0, 0 }, released = { 1, 0, 0, 0, 0 }, calculator = { 1, 0x92, 1, 0, 0 };
    const struct {
        const char* what;
        std::vector<SimulatedInterface> shapes;
        std::vector<std::vector<BYTE>> reports;
        std::vector<size_t> from;  // the collection of each report; none: the first
        std::vector<DWORD> posted;
        std::vector<size_t> counts;  // with `from`, what each report posts; none: one each
    } cases[] = {
        // Held, held again, a second key, the two the other way round,
        // released, released again, Eject (outside the KeyCode) with
        // calculator, again, released.
        { "array", { Standard() }, { up, up, { 1, 0xE9, 0, 0xEA, 0 }, { 1, 0xEA, 0, 0xE9, 0 }, released, released,
                                     { 1, 0xB8, 0, 0x92, 1 }, { 1, 0x92, 1, 0xB8, 0 }, released }, {},
          { kKeyVolumeUp, kKeyVolumeUp | kKeyVolumeDown, kKeysReleased, Down(0xB8), kKeyCalculator, Up(0xB8),
            kKeysReleased } },
        // Next track, again, with Eject, released.
        { "bits", { Standard(kUsageBits) }, { { 1, 1, 0, 0, 0 }, { 1, 1, 0, 0, 0 }, { 1, 1, 0, 0x80, 0 }, released }, {},
          { kKeyNextTrack, Down(0xB8), Up(0xB8), kKeysReleased } },
        { "Logical Minimum 0", { fromZero }, { { 1, 0x91, 0x01, 0, 0 } }, {}, { kKeyCalculator } },
        { "slots out of range", { Standard() }, { { 1, 0xFF, 0xFF, 0x9D, 0x02 }, calculator }, {},
          { kKeysReleased, kKeyCalculator } },
        // Short, empty and long reports are dropped; the sentinel is whole.
        { "reports of the wrong length", { Standard() }, { { 1, 0xE9 }, {}, { 1, 0xE9, 0, 0, 0, 0, 0 }, calculator },
          {}, { kKeyCalculator } },
        { "the report-ID byte alone", { StandardOfLength(1) }, { { 1 }, { 1 } }, {}, { kKeysReleased } },
        // Volume Up and Eject in report 1, nothing in report 2, Mail in
        // report 2, report 1 released, Mail released with Button 1 pressed.
        { "two input reports", { kTwoReports },
          { { 1, 0xE9, 0, 0xB8, 0 }, { 2, 0, 0, 0, 0 }, { 2, 1, 0, 0, 0 }, released, { 2, 4, 0, 0, 0 } }, {},
          { Down(0xB8), kKeyVolumeUp, kKeyVolumeUp | kKeyMail, Up(0xB8), kKeyMail, kKeysReleased } },
        { "Button-page bits and padding", { kSideButtons }, { { 2, 0xFF }, { 2, 0xCF } }, {},
          { kKeyBack | kKeyForward, kKeysReleased } },
        { "a value beside a key", { valueBesideKeys }, { { 1, 0xFF, 0xFF, 0 }, { 1, 0xFF, 0xFF, 1 } }, {},
          { kKeysReleased, kKeyMute } },
        { "a usage list", { kMouseMediaKeys }, { { 5, 3, 0 }, { 5, 9, 0 }, { 5, 1, 0 } }, {},
          { kKeyVolumeUp, kKeysReleased, kKeyPlayPause } },
        // Back on the mouse, Volume Up on the keyboard, then each let go.
        { "side buttons beside a keyboard", { kSideButtons, Standard() }, { { 2, 0x10 }, up, { 2, 0 }, released },
          { 0, 1, 0, 1 }, { kKeyBack, kKeyBack | kKeyVolumeUp, kKeyVolumeUp, kKeysReleased } },
        { "a keyboard's two collections", { kPlayerHalf, kLaunchHalf }, { { 1, 0xCD, 0, 0, 0 }, { 1, 2 }, { 1, 0 } },
          { 0, 1, 1 }, { kKeyPlayPause, kKeyPlayPause | kKeyCalculator, kKeyPlayPause } },
        { "a tilt wheel ahead", { kTiltWheel, Standard() }, { up }, { 1 }, { kKeyVolumeUp } },
        // Eject down on one, Eject and Volume Up on the other, the first
        // lets Eject go for Volume Down, the second lets go, the first.
        { "Eject held on two collections", { Standard(), kPlayerHalf },
          { { 1, 0xB8, 0, 0, 0 }, { 1, 0xB8, 0, 0xE9, 0 }, { 1, 0xEA, 0, 0, 0 }, released, released }, { 0, 1, 0, 1, 0 },
          { Down(0xB8), kKeysReleased, kKeyVolumeUp, kKeyVolumeUp | kKeyVolumeDown, Up(0xB8), kKeyVolumeDown,
            kKeysReleased }, { 2, 1, 1, 2, 1 } },
        // Volume Up and Mute, then Mute with button 0x0240, then nothing.
        { "the keys after 36 other buttons", { kManyButtons },
          { { 1, 0, 0, 0, 0, 0x10 }, { 1, 0x01, 0, 0, 0, 0x20 }, { 1, 0, 0, 0, 0, 0 } }, {},
          { kKeyVolumeUp, Down(0x0240), kKeyMute, Up(0x0240), kKeysReleased } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        List(c.shapes);
        KeyboardDevice.open.store(FindKeyboard());
        ASSERT_TRUE(KeyboardDevice.open.load());
        StartReaders(window, kMessage, KeyCodeOfUsage);
        std::vector<DWORD> posted;
        for (size_t i = 0; i < c.reports.size(); ++i) {
            ASSERT_TRUE(pipes[c.from.empty() ? 0 : c.from[i]]->SendBytes(c.reports[i]));
            // Two collections are read by two threads: each report's change
            // is awaited before the next collection's report is sent.
            if (c.from.empty()) continue;
            const std::vector<DWORD> changed = Posted(c.counts.empty() ? 1 : c.counts[i]);
            posted.insert(posted.end(), changed.begin(), changed.end());
        }
        if (c.from.empty()) posted = Posted(c.posted.size());
        EXPECT_EQ(c.posted, posted);
        EXPECT_TRUE(Posted(1, 300).empty()) << "a repeated or a bad report was posted";
        EXPECT_TRUE(KeyboardDevice.open.load()) << "a reader gave up on its keyboard";
        pipes.clear();
        const bool held = c.posted.back() != kKeysReleased;
        EXPECT_EQ(held ? std::vector<DWORD>{ kKeysReleased } : std::vector<DWORD>{}, Posted(held ? 1 : 2, 1000))
            << "what was held is released once when the keyboards go";
        EXPECT_TRUE(WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000));
        DisconnectKeyboard();
    }
}

// Given up for the maker's model, the standard collections are all stopped
// before their keys are released, once: with Volume Up held on one and Mute
// on another, "Mute" alone posted on the way would toggle mute.
TEST_F(ReaderTest, StandardCollectionsGivenUpForTheMakersModelReleaseTheirKeysOnce)
{
    List({ Standard(), Standard(), Keyboard() }, { true, true, false });
    KeyboardDevice.open.store(FindKeyboard());
    StartReaders(window, kMessage, KeyCodeOfUsage);
    ASSERT_TRUE(pipes[0]->Send(kKeyVolumeUp));
    ASSERT_EQ(std::vector<DWORD>{ kKeyVolumeUp }, Posted(1));
    ASSERT_TRUE(pipes[1]->SendBytes({ 1, 0xE2, 0, 0xB8, 0 }));  // Mute and Eject
    ASSERT_EQ((std::vector<DWORD>{ Down(0xB8), kKeyVolumeUp | kKeyMute }), Posted(2));
    ASSERT_TRUE(pipes[2]->PlugIn());
    ASSERT_TRUE(SwitchToMakerKeyboard(window, KeyCodeOfUsage));
    // The switch returns once every standard reader has ended: all they posted is queued.
    EXPECT_EQ((std::vector<DWORD>{ Up(0xB8), kKeysReleased }), Posted(4, 0));
}

TEST_F(ConnectionTest, TheMakersModelWinsAndTakesOverFromAStandardKeyboard)
{
    List({ Standard(), Keyboard() }, { true, false });
    ConnectKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
    ASSERT_TRUE(KeyboardDevice.open.load());
    EXPECT_EQ(KeyboardKind::kStandard, KeyboardDevice.kind.load());
    Press(kKeyMute);
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 1; })) << "the standard keyboard's mute";

    const int threads = ThreadCount(GetCurrentProcessId());
    Arrival();  // another device: the standard keyboard stays, and is not opened again
    EXPECT_EQ(threads, ThreadCount(GetCurrentProcessId()));
    EXPECT_TRUE(Kept(0));
    Unplug();
    PlugIn();
    EXPECT_TRUE(Kept(0));

    // Copies of the standard keyboard's handle held open: no close can end its read.
    const std::vector<HANDLE> copies = CopyClientPipeEnds();
    ASSERT_FALSE(copies.empty());
    ASSERT_TRUE(pipes[1]->PlugIn());
    Arrival();
    EXPECT_TRUE(KeyboardDevice.open.load());
    EXPECT_EQ(KeyboardKind::kMaker, KeyboardDevice.kind.load());
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount(GetCurrentProcessId()) == threads; }, 3000))
        << "the standard keyboard's reader is still there beside the maker's model's";
    for (HANDLE copy : copies) CloseHandle(copy);
    EXPECT_TRUE(WaitUntil([&] { return Skipped(0); }, 3000)) << "the standard keyboard was not let go";
    EXPECT_TRUE(Kept(1));
    ASSERT_TRUE(pipes[1]->Send(kKeyMute) && pipes[1]->Send(kKeysReleased));
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 0; })) << "the maker's model's mute";

    const DWORD reader = ReaderThreadId;
    ASSERT_TRUE(pipes[0]->PlugIn());
    Arrival();  // the standard keyboard again: the maker's model stays
    EXPECT_EQ(reader, ReaderThreadId);
    EXPECT_TRUE(NeverOpened(0));
}

// Unplugged and plugged in again while another collection stays read, a
// collection takes a place afresh each time, more times than there are places.
TEST_F(ConnectionTest, ACollectionPluggedInAgainBesideAnotherIsReadEachTime)
{
    List({ Standard(), Standard() });
    ConnectKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
    for (int replug = 1; replug <= kMaxStandardReaders + 1; ++replug) {
        SCOPED_TRACE(replug);
        pipes[1]->Unplug();
        ASSERT_TRUE(pipes[1]->Replug(dialog.Window()) && pipes[1]->Held()) << "not taken again";
        ASSERT_TRUE(pipes[1]->Send(kKeyMute) && pipes[1]->Send(kKeysReleased));
        ASSERT_TRUE(WaitUntil([&] { return Mixer(kMixerMute) == DWORD(replug % 2); })) << "not read";
    }
    EXPECT_TRUE(Kept(0)) << "the collection beside was let go";
}

bool g_sentinelFired;
void CALLBACK FireSentinel(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    g_sentinelFired = true;
}

// A standard keyboard's fader key held pauses 0.4 s before it repeats, as a
// keyboard's own keys do, on the dialog's own timer. A timer of the test,
// due 0.3 s after the press, fires after any repeat a shorter pause would
// have made: the timers come in the order they are due.
TEST_F(ConnectionTest, AStandardKeyHeldPausesBeforeItRepeats)
{
    List({ Standard() });
    ConnectKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
    const DWORD step = 65535 / 20;
    g_sentinelFired = false;
    ASSERT_TRUE(SetTimer(NULL, 0, 300, FireSentinel));
    dialog.Keys(kKeyVolumeUp);
    EXPECT_EQ(step, Mixer(kMixerVolume)) << "the step at the press";
    ASSERT_TRUE(WaitUntil([] { return g_sentinelFired; }));
    EXPECT_EQ(step, Mixer(kMixerVolume)) << "repeated within 0.3 s";
    EXPECT_TRUE(WaitUntil([&] { return Mixer(kMixerVolume) == 2 * step; }, 3000)) << "no repeat after the pause";
    dialog.Keys(kKeysReleased);
}

}  // namespace
