// A guided run played by a tester whose touches land at known places, for
// kovrin's touch handler under Wine and for kovrin-report natively. Every
// target is touched TargetOffset(k) from the middle of its centre pixel
// (DOWN, MOVE and UP at that point); target 3 is abandoned with Backspace as
// soon as it shows, and target 2 done again. The hold is held 5 s at
// HOLD_OFFSET from its centre; every line is drawn exactly along its guide,
// from its start, in LINE_STEPS steps; five contacts go down in one message;
// the pair, PAIR_GAP_PX apart, one above the other, swipes along the first
// line's span. Plain C++, like the plan it plays.
#pragma once

#include "guide/GuidePlan.h"

#include <cstdint>
#include <vector>

namespace guidedsession {

enum Phase { DOWN, MOVE, UP };

struct Input {
    std::uint32_t id;
    Phase phase;
    std::int32_t hx, hy; // client position, hundredths of a pixel
};

// Hundredths: the targets' mean offset is (+2, -1) px, each 0.5 px and 0.3 px to either side of it.
inline GuidePoint TargetOffset(int k) {
    return {200 + (k % 2 ? 50 : -50), -100 + (k % 4 < 2 ? 30 : -30)};
}
constexpr GuidePoint HOLD_OFFSET = {-120, 90};
constexpr int LINE_STEPS = 10;
constexpr int PAIR_GAP_PX = 12;

// The middle of a client pixel moved by `offset`, in hundredths.
inline GuidePoint Hundredths(GuidePoint pixel, GuidePoint offset = {0, 0}) {
    return {pixel.x * 100 + 50 + offset.x, pixel.y * 100 + 50 + offset.y};
}

// Calls message(inputs) for each touch message in order, wait(us) where the
// tester waits (the hold) and back() where Backspace is pressed.
template <class Message, class Wait, class Back>
void Play(const GuidePlan& plan, Message&& message, Wait&& wait, Back&& back) {
    std::uint32_t id = 100;
    auto still = [&](GuidePoint at, long long heldUs) {
        id++;
        message(std::vector<Input>{{id, DOWN, at.x, at.y}});
        if (heldUs)
            wait(heldUs);
        message(std::vector<Input>{{id, MOVE, at.x, at.y}});
        message(std::vector<Input>{{id, UP, at.x, at.y}});
    };
    for (int k = 0; k < GUIDE_TARGETS; k++) {
        still(Hundredths(plan.items[k].from, TargetOffset(k)), 0);
        if (k == 1) {
            back();
            still(Hundredths(plan.items[k].from, TargetOffset(k)), 0);
        }
    }
    still(Hundredths(plan.items[GUIDE_HOLD].from, HOLD_OFFSET), GUIDE_HOLD_US);
    // Lines and the pair: the points from start to end, each group of
    // contacts in one message per step.
    auto swipe = [&](GuidePoint from, GuidePoint to, std::vector<int> rows) {
        id += (std::uint32_t)rows.size();
        for (int s = 0; s <= LINE_STEPS; s++) {
            std::vector<Input> inputs;
            for (std::size_t c = 0; c < rows.size(); c++)
                inputs.push_back({id - (std::uint32_t)c,
                                  s == 0            ? DOWN
                                  : s == LINE_STEPS ? UP
                                                    : MOVE,
                                  from.x + (to.x - from.x) * s / LINE_STEPS,
                                  from.y + (to.y - from.y) * s / LINE_STEPS + rows[c]});
            message(inputs);
        }
    };
    for (int k = GUIDE_FIRST_LINE; k < GUIDE_FIRST_LINE + GUIDE_LINES; k++)
        swipe(Hundredths(plan.items[k].from), Hundredths(plan.items[k].to), {0});
    GuidePoint c = plan.items[GUIDE_HOLD].from;
    std::vector<Input> five;
    for (int f = 0; f < GUIDE_CONTACTS_WANTED; f++)
        five.push_back({++id, DOWN, Hundredths({c.x + 60 * (f - 2), c.y}).x, Hundredths(c).y});
    message(five);
    for (Input& in : five)
        in.phase = UP;
    message(five);
    const GuideItem& span = plan.items[GUIDE_FIRST_LINE];
    swipe(Hundredths(span.from), Hundredths(span.to), {-PAIR_GAP_PX * 50, PAIR_GAP_PX * 50});
}

} // namespace guidedsession
