// A timed session whose figures are known by construction, played natively
// into a touch.csv and, under Wine, through kovrin's own touch handler.
// Contact 1 reports every 8 ms and 0.25 px further right for two seconds but
// for one 60 ms stall after its first; contact 2 reports every 16 ms for one
// second, 35 px below it. The time stamps wrap 500 ms in. Contact 1's size
// goes 11, 12, 13 px wide and 2 px more high, in turn.
#pragma once

#include <cstdint>
#include <vector>

namespace twocontacts {

enum Phase { DOWN, MOVE, UP };

struct Input {
    std::uint32_t id;
    Phase phase;
    std::int32_t hx, hy; // client position, hundredths of a pixel
    std::uint32_t timeMs;
    std::uint32_t contactW, contactH; // hundredths; 0: not given
};

// Where the figures lie in the session's touch.csv (the header is line 1).
struct Lines {
    std::uint64_t stall = 0;      // contact 1's report after the stall
    std::uint64_t secondDown = 0; // contact 2's DOWN: the closest approach
    std::uint64_t last = 0;
};

// Calls `message(inputs)` for each message in order; returns its lines.
template <class Message> Lines Play(Message&& message) {
    const std::uint32_t base = 4294966796u; // 2^32 - 500
    Lines lines;
    lines.last = 1;
    int k = 0;
    for (std::uint32_t t = 0; t <= 2060; t += 4) {
        std::vector<Input> inputs;
        if (t <= 1000 ? t % 8 == 0 : t >= 1060 && (t - 1060) % 8 == 0) {
            std::uint32_t w = 1100 + 100 * (k % 3);
            inputs.push_back({1,
                              k == 0      ? DOWN
                              : t == 2060 ? UP
                                          : MOVE,
                              10000 + 25 * k, 30000, base + t, w, w + 200});
            k++;
            if (t == 1060)
                lines.stall = lines.last + 1;
        }
        if (t % 16 == 0 && t <= 1008) {
            inputs.push_back({2,
                              t == 0      ? DOWN
                              : t == 1008 ? UP
                                          : MOVE,
                              10000 + 25 * (std::int32_t)(t / 8), 33500, base + t, 0, 0});
            if (t == 0)
                lines.secondDown = lines.last + inputs.size();
        }
        if (!inputs.empty())
            message(inputs);
        lines.last += inputs.size();
    }
    return lines;
}

} // namespace twocontacts
