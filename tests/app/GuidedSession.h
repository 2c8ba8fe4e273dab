// A guided run played by a tester whose touches land at known places, for
// kovrin's touch handler under Wine and for kovrin-report natively. Each
// target is touched TargetOffset(k) from the middle of its centre pixel
// (DOWN, MOVE and UP there); target 3 is abandoned by Backspace as it shows
// and target 2 done again. The hold is held 5 s at HOLD_OFFSET; each line is
// drawn exactly along its guide in 10 steps; five contacts 60 px apart go
// down in one message; the pair, 12 px apart one above the other, swipes
// along the first line.
#pragma once

#include "app/GuidePlan.h"

#include <cstdint>
#include <vector>

namespace guidedsession {

enum Phase { DOWN, MOVE, UP };

struct Input {
    std::uint32_t id;
    Phase phase;
    std::int32_t hx, hy; // client position, hundredths of a pixel
};

// Hundredths: (+2, -1) px on average, each target 0.5 px and 0.3 px to either side of that.
inline GuidePoint TargetOffset(int k) {
    return {200 + (k % 2 ? 50 : -50), -100 + (k % 4 < 2 ? 30 : -30)};
}
constexpr GuidePoint HOLD_OFFSET = {-120, 90};

// Calls message(inputs) for each touch message in order, wait(us) where the
// tester waits (the hold) and back() where Backspace is pressed.
template <class Message, class Wait, class Back>
void Play(const GuidePlan& plan, Message&& message, Wait&& wait, Back&& back) {
    auto at = [](GuidePoint pixel, GuidePoint offset) {
        return GuidePoint{pixel.x * 100 + 50 + offset.x, pixel.y * 100 + 50 + offset.y};
    };
    std::uint32_t id = 100;
    // Contacts at `apart` from a point going from `from` to `to` in `steps`
    // messages after the DOWN's, the last one the UP's.
    auto stroke = [&](GuidePoint from, GuidePoint to, std::vector<GuidePoint> apart, int steps,
                      long long heldUs) {
        id += (std::uint32_t)apart.size();
        for (int s = 0; s <= steps; s++) {
            std::vector<Input> inputs;
            for (std::size_t c = 0; c < apart.size(); c++)
                inputs.push_back({id - (std::uint32_t)c,
                                  s == 0       ? DOWN
                                  : s == steps ? UP
                                               : MOVE,
                                  from.x + (to.x - from.x) * s / steps + apart[c].x,
                                  from.y + (to.y - from.y) * s / steps + apart[c].y});
            message(inputs);
            if (s == 0 && heldUs)
                wait(heldUs);
        }
    };
    for (int k = 0; k < GUIDE_TARGETS; k++) {
        GuidePoint p = at(plan.items[k].from, TargetOffset(k));
        stroke(p, p, {{0, 0}}, 2, 0);
        if (k == 1) {
            back();
            stroke(p, p, {{0, 0}}, 2, 0);
        }
    }
    GuidePoint hold = at(plan.items[GUIDE_HOLD].from, HOLD_OFFSET),
               centre = at(plan.items[GUIDE_HOLD].from, {});
    stroke(hold, hold, {{0, 0}}, 2, GUIDE_HOLD_US);
    for (int k = GUIDE_FIRST_LINE; k < GUIDE_FIRST_LINE + GUIDE_LINES; k++)
        stroke(at(plan.items[k].from, {}), at(plan.items[k].to, {}), {{0, 0}}, 10, 0);
    stroke(centre, centre, {{-12000, 0}, {-6000, 0}, {0, 0}, {6000, 0}, {12000, 0}}, 1, 0);
    const GuideItem& span = plan.items[GUIDE_FIRST_LINE];
    stroke(at(span.from, {}), at(span.to, {}), {{0, -600}, {0, 600}}, 10, 0);
}

} // namespace guidedsession
