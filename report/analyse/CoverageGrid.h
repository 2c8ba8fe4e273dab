// The coverage grid: the seen area in square cells aligned on multiples of
// the cell size in client pixels, with the points that fell in each. Grows as
// points arrive; past MAX_COVERAGE_CELLS the cell size doubles, which merges
// 2 x 2 cells exactly, so memory stays bounded whatever the positions.
#pragma once

#include "report/analyse/Report.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace report {

constexpr std::int64_t MAX_COVERAGE_CELLS = 1000000;

class CCoverageGrid {
public:
    explicit CCoverageGrid(std::int32_t cellPx);

    // A stroke's last cell: its next point is most often in the same one,
    // which then takes no division to find.
    struct Hint {
        std::int64_t cell = 0;                   // the cell size it was found with
        std::int64_t x0 = 1, x1 = 0, column = 0; // [x0, x1): pixels of `column`
        std::int64_t y0 = 1, y1 = 0, row = 0;
    };

    void Add(std::int32_t x, std::int32_t y);
    void Add(std::int32_t x, std::int32_t y, Hint& hint);
    // Makes the cell of (x, y) part of the area without a point in it.
    void Cover(std::int32_t x, std::int32_t y);

    // The seen cells, row-major, with the empty ones listed.
    Coverage Finish() const;

private:
    // The cell of (x, y) in the allocated cells, grown to hold it, and the
    // seen area grown to include it.
    std::size_t Cell(std::int32_t x, std::int32_t y);
    std::size_t Cell(std::int64_t column, std::int64_t row, std::int32_t x, std::int32_t y);
    void Grow(std::int32_t x, std::int32_t y);

    std::int64_t m_cell;
    std::int32_t m_requested;
    // Seen cells, inclusive; empty while m_x0 > m_x1.
    std::int64_t m_x0 = std::numeric_limits<std::int64_t>::max(),
                 m_x1 = std::numeric_limits<std::int64_t>::min();
    std::int64_t m_y0 = std::numeric_limits<std::int64_t>::max(),
                 m_y1 = std::numeric_limits<std::int64_t>::min();
    // Allocated cells, a superset of the seen ones.
    std::int64_t m_ax = 0, m_ay = 0, m_aw = 0, m_ah = 0;
    std::vector<std::uint64_t> m_counts;
};

} // namespace report
