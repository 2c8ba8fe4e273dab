#include "report/analyse/CoverageGrid.h"

#include "report/analyse/Geometry.h"

#include <algorithm>

namespace report {

CCoverageGrid::CCoverageGrid(std::int32_t cellPx) : m_cell(cellPx > 0 ? cellPx : 1), m_requested(cellPx) {}

void CCoverageGrid::Add(std::int32_t x, std::int32_t y) {
    m_counts[Cell(x, y)]++;
}

void CCoverageGrid::Add(std::int32_t x, std::int32_t y, Hint& hint) {
    if (hint.cell != m_cell || x < hint.x0 || x >= hint.x1) {
        hint.column = FloorDiv(x, m_cell);
        hint.x0 = hint.column * m_cell;
        hint.x1 = hint.x0 + m_cell;
    }
    if (hint.cell != m_cell || y < hint.y0 || y >= hint.y1) {
        hint.row = FloorDiv(y, m_cell);
        hint.y0 = hint.row * m_cell;
        hint.y1 = hint.y0 + m_cell;
    }
    hint.cell = m_cell;
    m_counts[Cell(hint.column, hint.row, x, y)]++;
}

void CCoverageGrid::Cover(std::int32_t x, std::int32_t y) {
    Cell(x, y);
}

std::size_t CCoverageGrid::Cell(std::int32_t x, std::int32_t y) {
    return Cell(FloorDiv(x, m_cell), FloorDiv(y, m_cell), x, y);
}

// (column, row) is the cell of (x, y) at the present cell size.
std::size_t CCoverageGrid::Cell(std::int64_t column, std::int64_t row, std::int32_t x, std::int32_t y) {
    std::int64_t cx = column - m_ax;
    std::int64_t cy = row - m_ay;
    if (cx < 0 || cy < 0 || cx >= m_aw || cy >= m_ah) {
        Grow(x, y);
        cx = FloorDiv(x, m_cell) - m_ax;
        cy = FloorDiv(y, m_cell) - m_ay;
    }
    m_x0 = std::min(m_x0, cx + m_ax);
    m_x1 = std::max(m_x1, cx + m_ax);
    m_y0 = std::min(m_y0, cy + m_ay);
    m_y1 = std::max(m_y1, cy + m_ay);
    return (std::size_t)(cy * m_aw + cx);
}

Coverage CCoverageGrid::Finish() const {
    Coverage c;
    c.requestedCellPx = m_requested;
    c.cellPx = (std::int32_t)m_cell;
    if (m_x0 > m_x1)
        return c;
    c.origin.x = ClampToInt32((double)(m_x0 * m_cell));
    c.origin.y = ClampToInt32((double)(m_y0 * m_cell));
    c.columns = (std::int32_t)(m_x1 - m_x0 + 1);
    c.rows = (std::int32_t)(m_y1 - m_y0 + 1);
    c.counts.reserve((std::size_t)c.columns * c.rows);
    for (std::int64_t y = m_y0; y <= m_y1; y++)
        for (std::int64_t x = m_x0; x <= m_x1; x++) {
            std::uint64_t n = m_counts[(std::size_t)((y - m_ay) * m_aw + (x - m_ax))];
            if (n == 0)
                c.emptyCells.push_back((std::int32_t)c.counts.size());
            c.counts.push_back(n);
        }
    return c;
}

void CCoverageGrid::Grow(std::int32_t x, std::int32_t y) {
    std::int64_t x0 = std::min(m_x0, FloorDiv(x, m_cell)), x1 = std::max(m_x1, FloorDiv(x, m_cell));
    std::int64_t y0 = std::min(m_y0, FloorDiv(y, m_cell)), y1 = std::max(m_y1, FloorDiv(y, m_cell));
    std::int64_t factor = 1;
    while (x1 - x0 + 1 > MAX_COVERAGE_CELLS / (y1 - y0 + 1)) {
        x0 = FloorDiv(x0, 2);
        x1 = FloorDiv(x1, 2);
        y0 = FloorDiv(y0, 2);
        y1 = FloorDiv(y1, 2);
        factor *= 2;
    }
    // Room to grow by a quarter on every side, so a sweep reallocates rarely.
    std::int64_t w = x1 - x0 + 1, h = y1 - y0 + 1;
    std::int64_t ax = x0 - w / 4, ay = y0 - h / 4, aw = w + 2 * (w / 4), ah = h + 2 * (h / 4);
    std::vector<std::uint64_t> counts((std::size_t)(aw * ah));
    for (std::int64_t j = 0; j < m_ah; j++)
        for (std::int64_t i = 0; i < m_aw; i++) {
            std::uint64_t n = m_counts[(std::size_t)(j * m_aw + i)];
            if (n)
                counts[(std::size_t)((FloorDiv(m_ay + j, factor) - ay) * aw + FloorDiv(m_ax + i, factor) -
                                     ax)] += n;
        }
    m_counts.swap(counts);
    if (m_x0 <= m_x1) {
        m_x0 = FloorDiv(m_x0, factor);
        m_x1 = FloorDiv(m_x1, factor);
        m_y0 = FloorDiv(m_y0, factor);
        m_y1 = FloorDiv(m_y1, factor);
    }
    m_cell *= factor;
    m_ax = ax;
    m_ay = ay;
    m_aw = aw;
    m_ah = ah;
}

} // namespace report
