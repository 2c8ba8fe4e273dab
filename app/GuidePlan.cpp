// The guided run's layout and item rules; plain arithmetic, no platform.
#include "app/GuidePlan.h"

#include <algorithm>

namespace {

// n / d to the nearest whole number, halves up (n >= 0, d > 0).
int RoundedShare(int n, int d) {
    return (2 * n + d) / (2 * d);
}

} // namespace

int GuideMargin(int screenWidthPx, int screenWidthMm) {
    if (screenWidthPx <= 0 || screenWidthMm <= 0)
        return GUIDE_MARGIN_PX;
    return RoundedShare(GUIDE_MARGIN_MM * screenWidthPx, screenWidthMm);
}

GuidePlan LayOutGuide(int width, int height, int margin) {
    // A margin that leaves no room is cut so that every item stays inside.
    int m = std::clamp(margin, 0, std::max(0, (std::min(width, height) - 1) / 2));
    int spanX = width - 1 - 2 * m, spanY = height - 1 - 2 * m;
    GuidePlan plan = {};
    for (int k = 0; k < GUIDE_TARGETS; k++) {
        GuidePoint p = {m + RoundedShare(k % 5 * spanX, 4), m + RoundedShare(k / 5 * spanY, 3)};
        plan.items[k] = {GuideKind::Target, p, p};
    }
    GuidePoint c = {width / 2, height / 2};
    plan.items[GUIDE_HOLD] = {GuideKind::Hold, c, c};
    int r = width - 1 - m, b = height - 1 - m;
    // Through the centre, then along the edges.
    const GuidePoint lines[GUIDE_LINES][2] = {{{m, c.y}, {r, c.y}}, {{c.x, m}, {c.x, b}}, {{m, m}, {r, b}},
                                              {{m, b}, {r, m}},     {{m, m}, {r, m}},     {{r, m}, {r, b}},
                                              {{r, b}, {m, b}},     {{m, b}, {m, m}}};
    for (int k = 0; k < GUIDE_LINES; k++)
        plan.items[GUIDE_FIRST_LINE + k] = {GuideKind::Line, lines[k][0], lines[k][1]};
    plan.items[GUIDE_CONTACTS] = {GuideKind::Contacts, {}, {}};
    plan.items[GUIDE_PAIR] = {GuideKind::Pair, {}, {}};
    return plan;
}

const char* GuideKindName(GuideKind kind) {
    static const char* const names[] = {"target", "hold", "line", "contacts", "pair"};
    return names[(int)kind];
}

bool GuideItemIsPlaced(GuideKind kind) {
    return kind == GuideKind::Target || kind == GuideKind::Hold || kind == GuideKind::Line;
}

GuideStep GuideContactDown(GuideProgress& p, std::uint32_t id, long long us) {
    if (std::find(p.ids, p.ids + p.down, id) != p.ids + p.down || p.down == GuideProgress::TRACKED)
        return GuideStep::Going;
    p.ids[p.down] = id;
    p.downUs[p.down] = us;
    p.down++;
    p.mostDown = std::max(p.mostDown, p.down);
    return GuideStep::Going;
}

GuideStep GuideContactUp(GuideProgress& p, GuideKind kind, std::uint32_t id, long long us) {
    int k = (int)(std::find(p.ids, p.ids + p.down, id) - p.ids);
    if (k == p.down)
        return GuideStep::Going; // not one that went down in this try
    if (us - p.downUs[k] >= GUIDE_HOLD_US)
        p.heldLong = true;
    p.down--;
    p.ids[k] = p.ids[p.down];
    p.downUs[k] = p.downUs[p.down];
    if (p.down > 0)
        return GuideStep::Going;
    bool done = true;
    if (kind == GuideKind::Hold) {
        done = p.heldLong;
    } else if (kind == GuideKind::Contacts && p.mostDown < GUIDE_CONTACTS_WANTED) {
        p.lastTrySeen = p.mostDown;
        done = ++p.shortTries >= GUIDE_CONTACTS_TRIES; // a panel with fewer contacts still finishes
    }
    if (done)
        return GuideStep::Done;
    p.mostDown = 0;
    p.heldLong = false;
    return GuideStep::Again;
}

long long GuideHoldLeftUs(const GuideProgress& p, long long nowUs) {
    if (p.down == 0)
        return -1;
    long long since = *std::min_element(p.downUs, p.downUs + p.down);
    return std::max(0LL, GUIDE_HOLD_US - (nowUs - since));
}
