#include "service/DeviceEvents.h"
#include "service/KeySequences.h"
#include <gtest/gtest.h>

// Every bit of both button states: the code the dispatcher gets and the button it names.
// Standard bits 3 and 4 are crosswise (bit 3 is BUTTON_8, bit 4 is BUTTON_7).
TEST(DeviceEvents, EveryButtonBitGivesItsCodeAndButton)
{
    struct Case { bool extended; int bit; int code; int buttonIndex; } cases[] = {
        {false, 0, 1, 0},       {false, 1, 2, 1},       {false, 2, 4, 2},
        {false, 3, 8, 7},       {false, 4, 0x10, 6},    {false, 5, 0x20, -1},
        {true, 0, 0x21, 5},     {true, 14, 0x4020, 3},  {true, 15, 0x8020, 4},
        {true, 11, 0x820, 8},   {true, 10, 0x420, 9},   {true, 12, 0x1020, 10},
        {true, 1, 0x22, -1},    {true, 2, 0x24, -1},    {true, 3, 0x28, -1},
        {true, 4, 0x30, -1},    {true, 5, 0x40, -1},    {true, 6, 0x60, -1},
        {true, 7, 0xA0, -1},    {true, 8, 0x120, -1},   {true, 9, 0x220, -1},
        {true, 13, 0x2020, -1},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.extended ? "extended" : "standard") << " bit " << c.bit);
        auto press = ButtonChanges(0, 1 << c.bit, c.extended);
        ASSERT_EQ(press.size(), 1u);
        EXPECT_EQ(press[0], (ButtonChange{c.code, true}));
        auto release = ButtonChanges(1 << c.bit, 0, c.extended);
        ASSERT_EQ(release.size(), 1u);
        EXPECT_EQ(release[0], (ButtonChange{c.code, false}));
        EXPECT_EQ(ButtonIndexFromEventCode(c.code), c.buttonIndex);
    }
}

TEST(DeviceEvents, ChangesComeInBitOrderAndOnlyForChangedBits)
{
    // Extended bits 0 and 14 at once: BUTTON_6 first, then BUTTON_4.
    auto both = ButtonChanges(0, 0x4001, true);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0], (ButtonChange{0x21, true}));
    EXPECT_EQ(both[1], (ButtonChange{0x4020, true}));

    auto mixed = ButtonChanges(0x09, 0x12, false);  // 1 and 8 released, 2 and 0x10 pressed
    std::vector<ButtonChange> want = {{1, false}, {2, true}, {8, false}, {0x10, true}};
    EXPECT_EQ(mixed, want);

    EXPECT_TRUE(ButtonChanges(0x3F, 0x3F, false).empty());
    // Only bits 0..5 of a standard state and 0..15 of an extended state count.
    EXPECT_TRUE(ButtonChanges(0, 0x40, false).empty());
    EXPECT_TRUE(ButtonChanges(0, 0x10000, true).empty());
}

TEST(DeviceEvents, EventWordsAreClassified)
{
    struct Case { WPARAM event; LPARAM kind; DeviceEventKind want; } cases[] = {
        {0x4001, 1, DeviceEventKind::ExtendedState},
        {0, 1, DeviceEventKind::ExtendedState},
        {0, 0, DeviceEventKind::StandardState},
        {8, 0, DeviceEventKind::StandardState},
        {0x1F, 0, DeviceEventKind::StandardState},
        {0x20, 0, DeviceEventKind::Ignored},        // 32 and more: no standard state
        {0x40, 0, DeviceEventKind::Ignored},
        {0xFF, 0, DeviceEventKind::Ignored},
        {0x400, 0, DeviceEventKind::Arrival},
        {0x800, 0, DeviceEventKind::Removal},
        {0xC00, 0, DeviceEventKind::Ignored},       // notice 12
        {0x100, 0, DeviceEventKind::Ignored},
        {0x401, 0, DeviceEventKind::Arrival},       // the notice decides, not the low bits
        {0x20000000, 0, DeviceEventKind::Ignored},
    };
    for (auto& c : cases) EXPECT_EQ(ClassifyDeviceEvent(c.event, c.kind), c.want) << std::hex << c.event;
}
