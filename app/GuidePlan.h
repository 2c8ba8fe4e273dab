// The guided run's plan and the rules of its items, in plain C++ without the
// platform headers: where the 31 items lie in a client area, and when the
// contacts have done what an item asked. The window code (GuidedRun.cpp)
// feeds the contacts in; kovrin-report can lay out the very same plan.
#pragma once

#include <cstdint>

enum class GuideKind { Target, Hold, Line, Contacts, Pair };

// The plan, in order: 20 targets, the hold, 8 lines, the contacts, the pair.
constexpr int GUIDE_TARGETS = 20;
constexpr int GUIDE_LINES = 8;
constexpr int GUIDE_ITEMS = 31;
// 0-based places in the plan.
constexpr int GUIDE_HOLD = 20;
constexpr int GUIDE_FIRST_LINE = 21;
constexpr int GUIDE_CONTACTS = 29;
constexpr int GUIDE_PAIR = 30;

constexpr long long GUIDE_HOLD_US = 5000000;
constexpr int GUIDE_CONTACTS_WANTED = 5;
constexpr int GUIDE_CONTACTS_TRIES = 3;
// The margin: 5 mm where the screen's size in mm is known, else 20 px.
constexpr int GUIDE_MARGIN_MM = 5;
constexpr int GUIDE_MARGIN_PX = 20;

struct GuidePoint {
    int x, y;
};

// An item and where it is drawn, in client pixels: a target's or the hold's
// centre twice, a line's start and end; nothing for the contacts and the pair.
struct GuideItem {
    GuideKind kind;
    GuidePoint from, to;
};

struct GuidePlan {
    GuideItem items[GUIDE_ITEMS];
};

// 5 mm in whole pixels at the screen's horizontal pitch, else 20.
int GuideMargin(int screenWidthPx, int screenWidthMm);
// The plan on a client area of width x height pixels.
GuidePlan LayOutGuide(int width, int height, int margin);
// "target", "hold", "line", "contacts" or "pair", as guide.csv names them.
const char* GuideKindName(GuideKind kind);
// Whether the item is drawn at a place (targets, the hold, lines).
bool GuideItemIsPlaced(GuideKind kind);

// What the contacts did since the item was shown (or since its last try).
struct GuideProgress {
    static constexpr int TRACKED = 32; // contacts down at once that are followed
    std::uint32_t ids[TRACKED];
    long long downUs[TRACKED];
    int down;        // contacts down now
    int mostDown;    // most contacts down at once in this try
    bool heldLong;   // hold: a contact stayed down GUIDE_HOLD_US before its lift
    int shortTries;  // contacts: tries that saw fewer than five
    int lastTrySeen; // contacts: how many the last of them saw
};

enum class GuideStep {
    Going, // the item waits for more
    Done,  // the item is done
    Again, // every contact is up, but the item asks again (progress reset)
};

GuideStep GuideContactDown(GuideProgress& progress, std::uint32_t id, long long us);
GuideStep GuideContactUp(GuideProgress& progress, GuideKind kind, std::uint32_t id, long long us);
// How long the earliest contact still down has to stay for the hold, 0 when
// it has stayed long enough; -1 when no contact is down.
long long GuideHoldLeftUs(const GuideProgress& progress, long long nowUs);
