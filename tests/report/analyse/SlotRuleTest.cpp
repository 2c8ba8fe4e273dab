// The slot (colour) of each stroke: kovrin's own rule, FindSlotIn, applied to
// the log. The first case is the one kovrin's FindContactSlot is tested with.
#include "ReportTestSupport.h"
#include "touch/ContactSlots.h"

#include <gtest/gtest.h>

using namespace report;
using namespace reporttest;

TEST(SlotRuleTest, HeldSlotWinsOverLowerFreeOnesElseLowestFree) {
    int slots[SLOT_COUNT];
    std::fill(std::begin(slots), std::end(slots), FREE_SLOT);
    slots[3] = 42;
    EXPECT_EQ(FindSlotIn(slots, 42), 3);
    EXPECT_EQ(FindSlotIn(slots, 7), 0);
    slots[0] = 5;
    slots[1] = 6;
    EXPECT_EQ(FindSlotIn(slots, 7), 2);
    for (int j = 0; j < SLOT_COUNT; j++)
        slots[j] = 100 + j;
    EXPECT_EQ(FindSlotIn(slots, 114), 14);
    EXPECT_EQ(FindSlotIn(slots, 7), -1);
}

TEST(SlotRuleTest, StrokesTakeTheSlotKovrinGaveTheirDown) {
    std::string log;
    for (std::uint32_t id = 10; id < 14; id++) // slots 0..3
        log += Count(1) + Down(id, 0, 0);
    log += Count(1) + Up(11, 0, 0);   // frees slot 1
    log += Count(1) + Up(10, 0, 0);   // frees slot 0
    log += Count(1) + Down(13, 5, 5); // again down: keeps slot 3 above the free 0 and 1
    log += Count(1) + Down(20, 0, 0); // the lowest free slot: 0
    log += Count(1) + Move(30, 0, 0); // a MOVE never claims
    log += Count(1) + Down(21, 0, 0); // 1
    Report r = Analyse(log);
    std::vector<int> slots;
    for (const Stroke& s : r.strokes)
        slots.push_back(s.slot);
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 2, 3, 3, 0, 1}));

    // A 16th contact down at once has no slot; one freed is taken again.
    log.clear();
    for (std::uint32_t id = 0; id < 16; id++)
        log += Count(1) + Down(100 + id, 0, 0);
    log += Count(1) + Up(104, 0, 0) + Count(1) + Down(200, 0, 0);
    r = Analyse(log);
    ASSERT_EQ(r.strokes.size(), 17u);
    EXPECT_EQ(r.strokes[14].slot, 14);
    EXPECT_EQ(r.strokes[15].slot, -1);
    EXPECT_EQ(r.strokes[16].slot, 4);
    EXPECT_EQ(r.maxContacts, 16u);

    // Id 4294967295 reads as kovrin's free marker: its DOWN claims nothing,
    // so the next contact shares its slot, as on kovrin's screen.
    r = Analyse(Count(1) + Down(4294967295u, 0, 0) + Count(1) + Down(1, 0, 0));
    ASSERT_EQ(r.strokes.size(), 2u);
    EXPECT_EQ(r.strokes[0].slot, 0);
    EXPECT_EQ(r.strokes[1].slot, 0);
}
