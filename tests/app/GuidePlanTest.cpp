// The guided run's plan and item rules, fed values known by construction.
#include "app/GuidePlan.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const GuideItem& item) {
    return std::string(GuideKindName(item.kind)) + " " + std::to_string(item.from.x) + "," +
           std::to_string(item.from.y) + " " + std::to_string(item.to.x) + "," + std::to_string(item.to.y);
}

} // namespace

TEST(GuidePlanTest, TargetsHoldAndLinesForTwoClientAreas) {
    struct Case {
        int width, height, screenPx, screenMm, margin;
        int xs[5], ys[4];
    };
    const Case cases[] = {
        // No size in mm: 20 px; spans of 760 and 560, whose thirds round to 187 and 373.
        {801, 601, 1280, 0, 20, {20, 210, 400, 590, 780}, {20, 207, 393, 580}},
        // 5 mm at 1024 px in 270 mm: 18.96 px; quarters of 985 are 246.25, 492.5 (up) and 738.75.
        {1024, 768, 1024, 270, 19, {19, 265, 512, 758, 1004}, {19, 262, 505, 748}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(GuideMargin(c.screenPx, c.screenMm), c.margin);
        GuidePlan plan = LayOutGuide(c.width, c.height, c.margin);
        for (int k = 0; k < GUIDE_TARGETS; k++) {
            GuidePoint p = {c.xs[k % 5], c.ys[k / 5]};
            EXPECT_EQ(Text(plan.items[k]), Text({GuideKind::Target, p, p})) << c.width << ", target " << k;
        }
        GuidePoint centre = {c.width / 2, c.height / 2};
        EXPECT_EQ(Text(plan.items[GUIDE_HOLD]), Text({GuideKind::Hold, centre, centre}));
    }
    GuidePlan plan = LayOutGuide(801, 601, 20);
    const char* lines[GUIDE_LINES] = {"20,300 780,300", "400,20 400,580", "20,20 780,580",  "20,580 780,20",
                                      "20,20 780,20",   "780,20 780,580", "780,580 20,580", "20,580 20,20"};
    for (int k = 0; k < GUIDE_LINES; k++)
        EXPECT_EQ(Text(plan.items[GUIDE_FIRST_LINE + k]), std::string("line ") + lines[k]);
    EXPECT_EQ(Text(plan.items[GUIDE_CONTACTS]) + " " + Text(plan.items[GUIDE_PAIR]),
              "contacts 0,0 0,0 pair 0,0 0,0");
}

TEST(GuidePlanTest, ItemIsDoneWhenEveryContactIsUpAndItsKindIsSatisfied) {
    const GuideStep GO = GuideStep::Going, DONE = GuideStep::Done, AGAIN = GuideStep::Again;
    struct Event {
        bool down;
        std::uint32_t id;
        long long us;
        GuideStep step;
    };
    struct Case {
        GuideKind kind;
        std::vector<Event> events;
    };
    const Case cases[] = {
        // An UP never seen down is nothing; done when the last contact is up.
        {GuideKind::Target,
         {{false, 9, 0, GO}, {true, 1, 0, GO}, {true, 2, 5, GO}, {false, 1, 6, GO}, {false, 2, 7, DONE}}},
        // Lifted 1 us short of 5 s: the count starts again; then one contact held 5 s exactly.
        {GuideKind::Hold,
         {{true, 1, 0, GO},
          {false, 1, 4999999, AGAIN},
          {true, 1, 5000000, GO},
          {true, 2, 9000000, GO},
          {false, 2, 9000001, GO},
          {false, 1, 10000000, DONE}}},
    };
    for (const Case& c : cases) {
        GuideProgress p = {};
        for (const Event& e : c.events)
            EXPECT_EQ(e.down ? GuideContactDown(p, e.id, e.us) : GuideContactUp(p, c.kind, e.id, e.us),
                      e.step)
                << GuideKindName(c.kind) << " at " << e.us;
    }
    // Five at once is done; four are asked again twice, then done anyway.
    for (int fingers : {5, 4}) {
        GuideProgress p = {};
        for (int attempt = 1; attempt <= GUIDE_CONTACTS_TRIES; attempt++) {
            GuideStep step = GO;
            for (int f = 0; f < 2 * fingers; f++)
                step = f < fingers ? GuideContactDown(p, f, 0)
                                   : GuideContactUp(p, GuideKind::Contacts, f - fingers, 1);
            bool done = fingers == 5 || attempt == GUIDE_CONTACTS_TRIES;
            ASSERT_EQ(step, done ? DONE : AGAIN) << fingers << " fingers, try " << attempt;
            if (done)
                break;
            EXPECT_EQ(p.lastTrySeen, 4);
        }
    }
}
