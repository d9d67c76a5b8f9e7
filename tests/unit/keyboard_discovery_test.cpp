// Finding the keyboard among the HID interfaces, against the fake device
// module: each interface is a real pipe, so opening and closing are real.
#include <gtest/gtest.h>
#include "fakes/FakeHidDevice.h"
#include "keyboard/KeyboardDevice.h"
#include "keyboard/KeyboardDiscovery.h"

namespace {

using fake_hid::FakeInterface;

const USHORT kVendor = KEYBOARD_VENDOR_ID;

FakeInterface Keyboard(USHORT product = 0x0101) { return { kVendor, product, 0x000C, 0x0001, 4, 0 }; }
FakeInterface Collection(USHORT product, USHORT page, USHORT usage, USHORT in, USHORT out)
{
    return { kVendor, product, page, usage, in, out };
}

class KeyboardDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KeyboardDevice.handle.store(NULL);
        FillMemory(KeyboardDevice.reportBuffer, sizeof KeyboardDevice.reportBuffer, 0xAA);
    }
    void TearDown() override
    {
        // Nothing the search took may be left behind, whatever it found.
        EXPECT_EQ(0, fake_hid::UnreleasedPreparsedData());
        EXPECT_EQ(0, fake_hid::UndestroyedSets());
        if (KeyboardDevice.handle.load()) CloseHandle(KeyboardDevice.handle.load());
        KeyboardDevice.handle.store(NULL);
        fake_hid::Reset();
    }
};

TEST_F(KeyboardDiscoveryTest, NoInterfaceMeansNoKeyboardAndNothingZeroed)
{
    fake_hid::SetInterfaces({});
    KeyboardDevice.handle.store(reinterpret_cast<HANDLE>(0x1234));
    EXPECT_FALSE(FindKeyboard());
    EXPECT_EQ(NULL, KeyboardDevice.handle.load());
    EXPECT_EQ(0, KeyboardDevice.inputReportLength.load());
    EXPECT_EQ(0xAA, KeyboardDevice.reportBuffer[0]);
}

TEST_F(KeyboardDiscoveryTest, EveryKnownModelIsFoundAndLeftOpen)
{
    for (USHORT product : { 0x0101, 0x0102, 0x0103, 0x0202 }) {
        fake_hid::SetInterfaces({ { kVendor, product, 0x000C, 0x0001, 4, 2 } });
        ASSERT_TRUE(FindKeyboard()) << std::hex << product;
        EXPECT_NE(nullptr, KeyboardDevice.handle.load());
        EXPECT_TRUE(fake_hid::IsOpen(0));
        EXPECT_EQ(4, KeyboardDevice.inputReportLength.load());
        EXPECT_EQ(2, KeyboardDevice.outputReportLength);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(0, KeyboardDevice.reportBuffer[i]) << i;
        EXPECT_EQ(0xAA, KeyboardDevice.reportBuffer[4]) << "zeroed past the report length";
        CloseHandle(KeyboardDevice.handle.load());
        KeyboardDevice.handle.store(NULL);
    }
}

// Interfaces that are not the keyboard are opened, closed again and skipped;
// the keyboard behind them is still found.
TEST_F(KeyboardDiscoveryTest, OtherInterfacesAreClosedAndSkipped)
{
    struct Case {
        const char* what;
        FakeInterface other;
    } cases[] = {
        { "another maker", { 0x045E, 0x0101, 0x000C, 0x0001, 4, 0 } },
        { "unknown model", Collection(0x0104, 0x000C, 0x0001, 4, 0) },
        { "ordinary key collection", Collection(0x0101, 0x0001, 0x0006, 9, 1) },
        { "consumer page, other usage", Collection(0x0101, 0x000C, 0x0002, 4, 0) },
        { "report longer than the buffer", Collection(0x0101, 0x000C, 0x0001, 7, 0) },
        { "empty report", Collection(0x0101, 0x000C, 0x0001, 0, 0) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake_hid::SetInterfaces({ c.other, Keyboard() });
        ASSERT_TRUE(FindKeyboard());
        EXPECT_TRUE(fake_hid::WasOpened(0));
        EXPECT_FALSE(fake_hid::IsOpen(0));
        EXPECT_TRUE(fake_hid::IsOpen(1));
        EXPECT_EQ(4, KeyboardDevice.inputReportLength.load());
        CloseHandle(KeyboardDevice.handle.load());
        KeyboardDevice.handle.store(NULL);
    }
}

TEST_F(KeyboardDiscoveryTest, FailedSearchKeepsTheLengthsOfTheLastCollectionRead)
{
    fake_hid::SetInterfaces({ Collection(0x0101, 0x0001, 0x0006, 5, 2), Collection(0x0104, 0x000C, 0x0001, 3, 3) });
    EXPECT_FALSE(FindKeyboard());
    EXPECT_EQ(NULL, KeyboardDevice.handle.load());
    EXPECT_EQ(5, KeyboardDevice.inputReportLength.load());
    EXPECT_EQ(2, KeyboardDevice.outputReportLength);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(0, KeyboardDevice.reportBuffer[i]) << i;
    EXPECT_EQ(0xAA, KeyboardDevice.reportBuffer[5]);
    EXPECT_FALSE(fake_hid::IsOpen(0));
}

TEST_F(KeyboardDiscoveryTest, LongReportIsRefusedWithoutZeroingPastTheBuffer)
{
    fake_hid::SetInterfaces({ Collection(0x0101, 0x000C, 0x0001, 64, 7) });
    EXPECT_FALSE(FindKeyboard());
    EXPECT_EQ(64, KeyboardDevice.inputReportLength.load());
    // The field right after the buffer would be the first casualty.
    EXPECT_EQ(7, KeyboardDevice.outputReportLength);
    for (BYTE b : KeyboardDevice.reportBuffer) EXPECT_EQ(0, b);
}

TEST_F(KeyboardDiscoveryTest, InterfaceThatCannotBeOpenedEndsTheSearch)
{
    FakeInterface gone = Keyboard();
    gone.present = false;
    fake_hid::SetInterfaces({ gone, Keyboard() });
    EXPECT_FALSE(FindKeyboard());
    EXPECT_EQ(NULL, KeyboardDevice.handle.load());
    EXPECT_FALSE(fake_hid::WasOpened(1));
}

TEST_F(KeyboardDiscoveryTest, FirstOfTwoKeyboardsIsUsedAndTheSecondNeverOpened)
{
    fake_hid::SetInterfaces({ Keyboard(0x0202), Keyboard(0x0101) });
    EXPECT_TRUE(FindKeyboard());
    EXPECT_TRUE(fake_hid::IsOpen(0));
    EXPECT_FALSE(fake_hid::WasOpened(1));
}

TEST_F(KeyboardDiscoveryTest, AtMostOneInterfaceIsOpenDuringTheSearch)
{
    fake_hid::SetInterfaces({ Collection(0x0101, 0x0001, 0x0006, 9, 1), Collection(0x0102, 0x0001, 0x0002, 5, 0),
                              { 0x045E, 0x0101, 0x000C, 0x0001, 4, 0 }, Collection(0x0103, 0x000C, 0x0002, 3, 0),
                              Keyboard() });
    EXPECT_TRUE(FindKeyboard());
    EXPECT_EQ(1, fake_hid::MostOpenAtOnce());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(fake_hid::WasOpened(i)) << i;
        EXPECT_FALSE(fake_hid::IsOpen(i)) << i;
    }
}

}  // namespace
