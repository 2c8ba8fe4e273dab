// The rows of guide.csv, which kovrin writes beside touch.csv during a guided
// run: one row per item the tester was shown (where it was drawn, when it
// was shown and ended, and how). Only the last run is judged; of each item
// the last row that says it was done counts.
#pragma once

#include "app/GuidePlan.h"
#include "log/GuideCsvColumns.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace report {

// The kind of item `item` (1-based) of the plan.
GuideKind PlannedKind(int item);

enum class ItemOutcome { Done, Back, Cut };

struct GuideRow {
    std::uint64_t run = 0; // 1-based
    int item = 0;          // 1..GUIDE_ITEMS
    GuideKind kind = GuideKind::Target;
    // Where it was drawn, in hundredths of a screen pixel (touch.csv's
    // screen_x, screen_y); none for contacts and pair.
    std::int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::uint64_t shownUs = 0; // on touch.csv's received_us clock
    std::uint64_t endedUs = 0;
    ItemOutcome outcome = ItemOutcome::Done;
    std::int32_t clientLeft = 0, clientTop = 0, clientW = 0, clientH = 0;
    std::uint32_t screenWMm = 0, screenHMm = 0; // 0: not known
    std::uint32_t screenWPx = 0, screenHPx = 0;
    std::uint64_t line = 0; // 1-based line of the file
};

// Parses one row without its line break. Returns nullptr when it is one of
// kovrin's rows, else why it is not.
const char* ParseGuideRow(const char* begin, const char* end, GuideRow& out);

struct GuideWarning {
    std::uint64_t line = 0;
    std::string text;
};

// What a guide.csv holds for the report.
struct Guide {
    std::uint64_t lines = 0;    // whole lines read, the header included
    std::uint64_t badLines = 0; // skipped, the header included when it is not kovrin's
    const char* firstBadWhy = "";
    std::vector<GuideWarning> warnings;
    bool cutOff = false;
    bool readError = false;
    std::uint64_t run = 0;      // the last run; 0: no row
    std::vector<GuideRow> rows; // the last run's rows, in file order
};

// Reads the whole of `input` (opened in binary mode).
Guide ReadGuide(std::FILE* input);

// Whether the guide is too broken to judge (more than 1% of its lines bad, no
// row, a read error); `why` then says so and `line` names the first bad line.
bool IsUnusableGuide(const Guide& guide, std::string& why, std::uint64_t& line);

} // namespace report
