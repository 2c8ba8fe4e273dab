// A guide holds a few dozen rows: each is split at its commas and each field
// parsed on its own, for clear reasons when one is wrong.
#include "report/read/GuideReader.h"

#include "report/read/LogReader.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace report {

namespace {

constexpr int GUIDE_FIELDS = 18;

// A whole number from `min` to `max`, all of the field.
template <class T> bool Whole(std::string_view field, T min, T max, T& out) {
    T value{};
    std::from_chars_result r = std::from_chars(field.data(), field.data() + field.size(), value);
    if (r.ec != std::errc() || r.ptr != field.data() + field.size() || field.empty() || value < min ||
        value > max)
        return false;
    out = value;
    return true;
}

constexpr std::int64_t I32_MIN = -2147483648LL, I32_MAX = 2147483647LL;
constexpr std::uint64_t U64_MAX = ~0ULL;

} // namespace

GuideKind PlannedKind(int item) {
    int place = item - 1;
    return place < GUIDE_TARGETS     ? GuideKind::Target
           : place == GUIDE_HOLD     ? GuideKind::Hold
           : place < GUIDE_CONTACTS  ? GuideKind::Line
           : place == GUIDE_CONTACTS ? GuideKind::Contacts
                                     : GuideKind::Pair;
}

const char* ParseGuideRow(const char* begin, const char* end, GuideRow& out) {
    std::string_view f[GUIDE_FIELDS];
    int n = 0;
    for (const char* p = begin;; p++) {
        const char* comma = p;
        while (comma < end && *comma != ',')
            comma++;
        if (n == GUIDE_FIELDS)
            return "more than 18 fields";
        f[n++] = std::string_view(p, (std::size_t)(comma - p));
        if (comma == end)
            break;
        p = comma;
    }
    if (n < GUIDE_FIELDS)
        return "fewer than 18 fields";
    if (!Whole<std::uint64_t>(f[0], 1, U64_MAX, out.run))
        return "malformed run";
    if (!Whole(f[1], 1, GUIDE_ITEMS, out.item))
        return "malformed item";
    out.kind = PlannedKind(out.item);
    if (f[2] != GuideKindName(out.kind))
        return "kind is not the plan's for its item";
    bool placed = GuideItemIsPlaced(out.kind);
    if (placed) {
        if (!Whole(f[3], I32_MIN, I32_MAX, out.x1) || !Whole(f[4], I32_MIN, I32_MAX, out.y1) ||
            !Whole(f[5], I32_MIN, I32_MAX, out.x2) || !Whole(f[6], I32_MIN, I32_MAX, out.y2))
            return "malformed position";
        if (out.kind != GuideKind::Line && (out.x1 != out.x2 || out.y1 != out.y2))
            return "a target's two positions differ";
    } else {
        if (!f[3].empty() || !f[4].empty() || !f[5].empty() || !f[6].empty())
            return "a position where the item has none";
        out.x1 = out.y1 = out.x2 = out.y2 = 0;
    }
    if (!Whole<std::uint64_t>(f[7], 0, U64_MAX, out.shownUs) ||
        !Whole<std::uint64_t>(f[8], 0, U64_MAX, out.endedUs) || out.endedUs < out.shownUs)
        return "malformed times";
    if (f[9] == "done")
        out.outcome = ItemOutcome::Done;
    else if (f[9] == "back")
        out.outcome = ItemOutcome::Back;
    else if (f[9] == "cut")
        out.outcome = ItemOutcome::Cut;
    else
        return "malformed outcome";
    if (!Whole<std::int32_t>(f[10], (std::int32_t)I32_MIN, (std::int32_t)I32_MAX, out.clientLeft) ||
        !Whole<std::int32_t>(f[11], (std::int32_t)I32_MIN, (std::int32_t)I32_MAX, out.clientTop) ||
        !Whole<std::int32_t>(f[12], 1, (std::int32_t)I32_MAX, out.clientW) ||
        !Whole<std::int32_t>(f[13], 1, (std::int32_t)I32_MAX, out.clientH))
        return "malformed client area";
    if (!Whole<std::uint32_t>(f[14], 0, 0xFFFFFFFFu, out.screenWMm) ||
        !Whole<std::uint32_t>(f[15], 0, 0xFFFFFFFFu, out.screenHMm) ||
        !Whole<std::uint32_t>(f[16], 0, 0xFFFFFFFFu, out.screenWPx) ||
        !Whole<std::uint32_t>(f[17], 0, 0xFFFFFFFFu, out.screenHPx))
        return "malformed screen size";
    return nullptr;
}

Guide ReadGuide(std::FILE* input) {
    Guide guide;
    std::vector<GuideRow> rows;
    auto skip = [&](std::uint64_t line, const char* why) {
        if (guide.badLines++ == 0)
            guide.firstBadWhy = why;
        guide.warnings.push_back({line, std::string("skipped: ") + why});
    };
    CLineReader lines;
    ReadStatus read = lines.Read(
        input,
        [&](const char* begin, const char* end, std::uint64_t line) {
            if (line == 1) {
                if ((std::size_t)(end - begin) != sizeof GUIDE_CSV_COLUMNS - 1 ||
                    std::memcmp(begin, GUIDE_CSV_COLUMNS, sizeof GUIDE_CSV_COLUMNS - 1) != 0)
                    skip(line, "not kovrin's guide.csv header");
                return;
            }
            GuideRow row;
            if (const char* why = ParseGuideRow(begin, end, row)) {
                skip(line, why);
                return;
            }
            row.line = line;
            rows.push_back(row);
        },
        [&](std::uint64_t line) { skip(line, "line longer than 256 bytes"); });
    guide.lines = read.lines;
    guide.cutOff = read.cutOff;
    guide.readError = read.readError;
    for (const GuideRow& r : rows)
        guide.run = std::max(guide.run, r.run);
    for (const GuideRow& r : rows)
        if (r.run == guide.run)
            guide.rows.push_back(r);
    return guide;
}

bool IsUnusableGuide(const Guide& guide, std::string& why, std::uint64_t& line) {
    line = 0;
    if (guide.readError) {
        why = "read error after line " + std::to_string(guide.lines);
        return true;
    }
    if (guide.lines == 0) {
        why = "empty guide";
        return true;
    }
    if (guide.badLines * 100 > guide.lines) {
        why = std::to_string(guide.badLines) + " of " + std::to_string(guide.lines) +
              " lines malformed, more than 1% (the first here: " + guide.firstBadWhy + ")";
        line = guide.warnings.front().line;
        return true;
    }
    return false;
}

} // namespace report
