// A standard keyboard in-process: its usages turned into keys, its discovery
// beside the maker's models, its reader, the switch to the maker's model and
// the tap rule, over the simulated keyboard module and sound card.
#include "unit/KeyboardFixtures.h"
#include "keyboard/UsageKeys.h"

using namespace mmk_test;

namespace {

const DWORD kStep = 65535 / 20;

SimulatedInterface StandardOfLength(DWORD length)
{
    SimulatedInterface shape = Standard();
    shape.inputReportLength = length;
    return shape;
}

TEST(UsageKeys, EachUsageOfTheTableIsItsKeyAndEveryOtherUsageNone)
{
    // 0x92, 0x01, 0x24, 0x02: the halves of 0x0192 and 0x0224 that a parser
    // misreading the array layout would hand over.
    const WORD others[] = { 0x0000, 0x0001, 0x0092, 0x0024, 0x0002, 0x00B8, 0x0196, 0x01B1, 0xFFFF };
    for (int i = 0; i < kStandardKeyUsageCount; ++i) {
        const StandardKeyUsage& row = kStandardKeyUsages[i];
        SCOPED_TRACE(testing::Message() << std::hex << row.usage);
        EXPECT_EQ(row.keyCode, KeyCodeOfUsages(&row.usage, 1));
        EXPECT_EQ(row.usage, UsageOfKey(row.keyCode));
        for (WORD other : others) {
            const WORD pair[] = { other, row.usage };
            EXPECT_EQ(row.keyCode, KeyCodeOfUsages(pair, 2)) << other;
        }
    }
    for (WORD other : others) EXPECT_EQ(kKeysReleased, KeyCodeOfUsages(&other, 1)) << other;
    EXPECT_EQ(kKeysReleased, KeyCodeOfUsages(NULL, 0));
    const WORD two[] = { 0x00E9, 0x0192 };
    EXPECT_EQ(kKeyVolumeUp | kKeyCalculator, KeyCodeOfUsages(two, 2)) << "two keys name no key";
    EXPECT_EQ(0, UsageOfKey(0x200000));
}

TEST_F(KeyboardTest, AStandardKeyboardIsTakenOnlyWhenNoneOfTheMakersModelsIsThere)
{
    const struct {
        const char* what;
        std::vector<SimulatedInterface> shapes;
        size_t kept;
        KeyboardKind kind;
        USHORT length;
    } cases[] = {
        { "standard alone", { Standard() }, 0, KeyboardKind::kStandard, 5 },
        { "the maker's model after it", { Standard(), Keyboard() }, 1, KeyboardKind::kMaker, 4 },
        { "the maker's model before it", { Keyboard(), Standard() }, 0, KeyboardKind::kMaker, 4 },
        { "the first of two", { Collection(0xFFF0, 1, 1, 6, 9, 1), Standard(kUsageArray, 3), Standard() }, 1,
          KeyboardKind::kStandard, 7 },
        { "64-byte reports", { StandardOfLength(64) }, 0, KeyboardKind::kStandard, 64 },
        { "the maker's model with 7-byte reports", { Keyboard(0x0101, 7), Standard() }, 1, KeyboardKind::kStandard, 5 },
        { "65-byte reports", { StandardOfLength(65), Standard() }, 1, KeyboardKind::kStandard, 5 },
        { "no report", { StandardOfLength(0), Standard(kUsageBits) }, 1, KeyboardKind::kStandard, 5 },
    };
    // Twice: preparsed data or an interface not released would show in the
    // second round as an interface that can no longer be checked.
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", round " << round);
            List(c.shapes);
            ASSERT_TRUE(FindKeyboard());
            EXPECT_EQ(c.kind, KeyboardDevice.kind.load());
            EXPECT_EQ(c.length, KeyboardDevice.inputReportLength.load());
            EXPECT_EQ(c.kind == KeyboardKind::kStandard, KeyboardDevice.preparsedData.load() != NULL);
            for (size_t i = 0; i < c.shapes.size(); ++i)
                EXPECT_TRUE(i == c.kept ? Kept(i) : WaitUntil([&] { return !Kept(i); }, 2000)) << i;
            CloseKeyboard();
        }
    }
}

// Reports as the keyboard writes them: the report-ID byte, then two 16-bit
// slots of usages (array layout) or one bit per usage (bit layout).
TEST_F(ReaderTest, AStandardKeyboardPostsEachChangeOfItsKeysAndNothingForBadReports)
{
    SimulatedInterface fromZero = Standard(), otherPage = Standard(), noUsages = Standard(kUsageBits);
    fromZero.logicalMinimum = 0;  // a slot's value v is the usage 1 + v
    otherPage.itemPage = 0x0007;  // the ordinary keys' page
    noUsages.usageCount = 0;
    const std::vector<BYTE> up = { 1, 0xE9, 0, 0, 0 }, released = { 1, 0, 0, 0, 0 }, calculator = { 1, 0x92, 1, 0, 0 };
    const struct {
        const char* what;
        SimulatedInterface shape;
        std::vector<std::vector<BYTE>> reports;
        std::vector<DWORD> posted;
    } cases[] = {
        // Held, held again, a second key, the two the other way round,
        // released, released again, a key of no row, calculator.
        { "array", Standard(), { up, up, { 1, 0xE9, 0, 0xEA, 0 }, { 1, 0xEA, 0, 0xE9, 0 }, released, released,
                                 { 1, 0xB8, 0, 0, 0 }, calculator },
          { kKeyVolumeUp, kKeyVolumeUp | kKeyVolumeDown, kKeysReleased, kKeyCalculator } },
        // Next track, again, with Eject, released.
        { "bits", Standard(kUsageBits), { { 1, 1, 0, 0, 0 }, { 1, 1, 0, 0, 0 }, { 1, 1, 0, 0x80, 0 }, released },
          { kKeyNextTrack, kKeysReleased } },
        { "Logical Minimum 0", fromZero, { { 1, 0x91, 0x01, 0, 0 } }, { kKeyCalculator } },
        { "slots out of range", Standard(), { { 1, 0xFF, 0xFF, 0x9D, 0x02 }, calculator },
          { kKeysReleased, kKeyCalculator } },
        // Short, empty and long reports are dropped; the sentinel is whole.
        { "reports of the wrong length", Standard(), { { 1, 0xE9 }, {}, { 1, 0xE9, 0, 0, 0, 0, 0 }, calculator },
          { kKeyCalculator } },
        { "usages of another page", otherPage, { up, calculator }, {} },
        { "no usages declared", noUsages, { { 1, 0xFF, 0xFF, 0xFF, 0xFF }, released }, { kKeysReleased } },
        { "the report-ID byte alone", StandardOfLength(1), { { 1 }, { 1 } }, { kKeysReleased } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        List({ c.shape });
        KeyboardDevice.open.store(FindKeyboard());
        ASSERT_TRUE(KeyboardDevice.open.load());
        ASSERT_TRUE(StartReaderThread(window, kMessage));
        for (const auto& report : c.reports) ASSERT_TRUE(pipes[0]->SendBytes(report));
        EXPECT_EQ(c.posted, Posted(c.posted.size()));
        EXPECT_TRUE(Posted(1, 300).empty()) << "a repeated or a bad report was posted";
        EXPECT_FALSE(ReaderEnds(0)) << "the reader gave up on the keyboard";
        pipes.clear();
        ASSERT_TRUE(ReaderEnds(3000));
        CloseKeyboard();
    }
}

TEST_F(ConnectionTest, TheMakersModelWinsAndTakesOverFromAStandardKeyboard)
{
    List({ Standard(), Keyboard() }, { true, false });
    OpenKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
    ASSERT_TRUE(KeyboardDevice.open.load());
    EXPECT_EQ(KeyboardKind::kStandard, KeyboardDevice.kind.load());
    Press(kKeyMute);
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 1; })) << "the standard keyboard's mute";

    DWORD reader = ReaderThreadId;
    Arrival();  // another device: the standard keyboard stays
    EXPECT_EQ(reader, ReaderThreadId);
    EXPECT_TRUE(Kept(0));

    ASSERT_TRUE(pipes[1]->PlugIn());
    Arrival();
    EXPECT_TRUE(KeyboardDevice.open.load());
    EXPECT_EQ(KeyboardKind::kMaker, KeyboardDevice.kind.load());
    EXPECT_TRUE(WaitUntil([&] { return Skipped(0); }, 3000)) << "the standard keyboard was not let go";
    EXPECT_TRUE(Kept(1));
    ASSERT_TRUE(pipes[1]->Send(kKeyMute) && pipes[1]->Send(kKeysReleased));
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerMute) == 0; })) << "the maker's model's mute";

    reader = ReaderThreadId;
    ASSERT_TRUE(pipes[0]->PlugIn());
    Arrival();  // the standard keyboard again: the maker's model stays
    EXPECT_EQ(reader, ReaderThreadId);
    EXPECT_TRUE(NeverOpened(0));

    pipes[1]->Unplug();  // the maker's model gone: the standard keyboard serves again
    ASSERT_TRUE(WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000));
    Arrival();
    EXPECT_EQ(KeyboardKind::kStandard, KeyboardDevice.kind.load());
    Press(kKeyLoudness);
    EXPECT_TRUE(WaitUntil([] { return Mixer(kMixerLoudness) == 1; }));
}

// Driven through the dialog's own routing, tick by tick.
TEST_F(ConnectionTest, ATapStepsOnceOnAStandardKeyboardOnlyAndAHoldStepsOncePerTick)
{
    const DWORD middle = 32760;
    const struct {
        const char* what;
        DWORD key;
        int ticks;
        const char* fader;
        int standardSteps, makerSteps;
    } cases[] = {
        { "volume up tapped", kKeyVolumeUp, 0, kMixerVolume, 1, 0 },
        { "treble down tapped", kKeyTrebleDown, 0, kMixerTreble, -1, 0 },
        { "bass up held for two ticks", kKeyBassUp, 2, kMixerBass, 2, 2 },
        { "volume down held for one tick", kKeyVolumeDown, 1, kMixerVolume, -1, -1 },
        { "mute tapped", kKeyMute, 0, kMixerVolume, 0, 0 },
    };
    for (bool standard : { false, true }) {
        List({ standard ? Standard() : Keyboard() });
        OpenKeyboard(dialog.Window(), KeyboardOpenReason::kStartUp);
        ASSERT_TRUE(KeyboardDevice.open.load());
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << (standard ? " on a standard keyboard" : " on the maker's"));
            for (const char* fader : { kMixerVolume, kMixerBass, kMixerTreble }) PutMixerValue(fader, middle);
            dialog.Keys(c.key);
            for (int tick = 0; tick < c.ticks; ++tick) dialog.Tick();
            dialog.Keys(kKeysReleased);
            dialog.Tick();  // late: the release has stopped the repeat
            EXPECT_EQ(middle + (standard ? c.standardSteps : c.makerSteps) * int(kStep), Mixer(c.fader));
        }
        pipes.clear();
        ASSERT_TRUE(WaitUntil([] { return !KeyboardDevice.open.load(); }, 3000));
        CloseKeyboard();
    }
}

}  // namespace
