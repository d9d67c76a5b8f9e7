// The keyboard's in-process fixtures: interfaces listed in the simulated
// keyboard module and served on pipes of this test, a reader posting to a
// window of this thread, and the real dialog for the connection.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <memory>
#include <vector>
#include "keyboard/KeyboardConnection.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"
#include "keyboard/ReaderThread.h"
#include "mixer/MixerControls.h"
#include "support/DialogRig.h"
#include "support/SimulatedKeyboard.h"
#include "support/TestSupport.h"

namespace mmk_test {

inline SimulatedInterface Collection(DWORD vendor, DWORD product, DWORD page, DWORD usage, DWORD inLength, DWORD outLength)
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

inline SimulatedInterface Keyboard(DWORD product = 0x0101, DWORD reportLength = 4)
{
    return Collection(KEYBOARD_VENDOR_ID, product, 0x000C, 0x0001, reportLength, 0);
}

// Another maker's keyboard with standard consumer keys.
inline SimulatedInterface Standard(SimulatedLayout layout = kUsageArray, DWORD slots = 2)
{
    return SimulatedStandardKeyboard("", layout, slots);
}

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
        CloseKeyboard();
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
    // The KeyCodes posted within the time, in order.
    std::vector<DWORD> Posted(size_t expected, DWORD timeoutMs = 3000)
    {
        std::vector<DWORD> keyCodes;
        const DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, window, kMessage, kMessage, PM_REMOVE)) keyCodes.push_back((DWORD)msg.lParam);
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

}  // namespace mmk_test
