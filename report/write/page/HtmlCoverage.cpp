// The page's coverage map: points per cell, empty cells hatched.
#include "report/write/page/HtmlParts.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr std::size_t MAX_EMPTY_LISTED = 50;
constexpr std::int64_t MAX_HEAT_CELLS = 40000;

constexpr int HEAT_LEVELS = 8;
const char* const HEAT_COLORS[HEAT_LEVELS] = {"#deebf7", "#c6dbef", "#9ecae1", "#6baed6",
                                              "#4292c6", "#2171b5", "#08519c", "#08306b"};

int HeatLevel(std::uint64_t count, double logMax) {
    if (logMax <= 0)
        return HEAT_LEVELS - 1;
    int level = (int)std::ceil(HEAT_LEVELS * std::log1p((double)count) / logMax) - 1;
    return std::clamp(level, 0, HEAT_LEVELS - 1);
}

} // namespace

void WriteCoverage(CHtml& h, const Report& report, const Options& options) {
    const Coverage& c = report.coverage;
    h << "<h2>Coverage</h2>";
    std::int64_t cells = (std::int64_t)c.columns * c.rows;
    if (c.columns <= 0 || c.rows <= 0 || c.cellPx <= 0) {
        h << "<p>No points, no coverage.</p>";
        return;
    }
    // Blocks of b by b cells when the grid is too fine to draw cell by cell.
    std::int64_t b = std::max<std::int64_t>(1, (std::int64_t)std::sqrt((double)cells / MAX_HEAT_CELLS));
    while (((c.columns + b - 1) / b) * ((c.rows + b - 1) / b) > MAX_HEAT_CELLS)
        b++;
    std::int64_t bc = (c.columns + b - 1) / b, br = (c.rows + b - 1) / b;
    std::vector<std::uint64_t> sums((std::size_t)(bc * br), 0);
    std::vector<unsigned char> empty((std::size_t)(bc * br), 0);
    std::int64_t known = std::min<std::int64_t>(cells, (std::int64_t)c.counts.size());
    for (std::int64_t i = 0; i < known; i++)
        sums[(std::size_t)((i / c.columns / b) * bc + (i % c.columns) / b)] += c.counts[(std::size_t)i];
    for (std::int32_t e : c.emptyCells)
        if (e >= 0 && e < cells)
            empty[(std::size_t)((e / c.columns / b) * bc + (e % c.columns) / b)] = 1;
    std::uint64_t maxCount = 0;
    for (std::uint64_t v : sums)
        maxCount = std::max(maxCount, v);
    double logMax = std::log1p((double)maxCount);

    double scale = FitScale((double)c.columns * c.cellPx, (double)c.rows * c.cellPx) * c.cellPx * (double)b;
    OpenSvg(h, "fig", 0, 0, (double)bc, (double)br, scale, "points per coverage cell");
    double hatch = std::max(7 / scale, 0.02);
    h << "<defs><pattern id=\"hatch\" patternUnits=\"userSpaceOnUse\" width=\"" << Fixed(hatch, 3)
      << "\" height=\"" << Fixed(hatch, 3) << "\" patternTransform=\"rotate(45)\"><rect width=\""
      << Fixed(hatch, 3) << "\" height=\"" << Fixed(hatch, 3) << "\" fill=\"#fde2e2\"/><rect width=\""
      << Fixed(hatch * 0.3, 3) << "\" height=\"" << Fixed(hatch, 3)
      << "\" fill=\"#d32f2f\"/></pattern></defs><rect width=\"" << bc << "\" height=\"" << br
      << "\" fill=\"#f6f8fa\"/>";
    // One path per shade; runs of equal shade along a row are one rectangle.
    std::vector<std::string> levels(HEAT_LEVELS);
    for (std::int64_t row = 0; row < br; row++)
        for (std::int64_t col = 0; col < bc;) {
            std::uint64_t v = sums[(std::size_t)(row * bc + col)];
            if (v == 0) {
                col++;
                continue;
            }
            int level = HeatLevel(v, logMax);
            std::int64_t end = col + 1;
            while (end < bc && sums[(std::size_t)(row * bc + end)] != 0 &&
                   HeatLevel(sums[(std::size_t)(row * bc + end)], logMax) == level)
                end++;
            std::string& d = levels[(std::size_t)level];
            d += 'M';
            AppendInteger(d, col);
            d += ' ';
            AppendInteger(d, row);
            d += 'h';
            AppendInteger(d, end - col);
            d += "v1h";
            AppendInteger(d, col - end);
            d += 'z';
            col = end;
        }
    for (int level = 0; level < HEAT_LEVELS; level++)
        if (!levels[(std::size_t)level].empty())
            h << "<path fill=\"" << HEAT_COLORS[level] << "\" d=\"" << levels[(std::size_t)level] << "\"/>";
    if (bc <= 160 && br <= 160) {
        std::string grid;
        for (std::int64_t col = 1; col < bc; col++) {
            grid += 'M';
            AppendInteger(grid, col);
            grid += " 0v";
            AppendInteger(grid, br);
        }
        for (std::int64_t row = 1; row < br; row++) {
            grid += "M0 ";
            AppendInteger(grid, row);
            grid += 'h';
            AppendInteger(grid, bc);
        }
        h << "<path class=\"cells\" d=\"" << grid << "\"/>";
    }
    std::string holes;
    for (std::int64_t i = 0; i < bc * br; i++)
        if (empty[(std::size_t)i]) {
            holes += 'M';
            AppendInteger(holes, i % bc);
            holes += ' ';
            AppendInteger(holes, i / bc);
            holes += "h1v1h-1z";
        }
    if (!holes.empty())
        h << "<path class=\"empty\" d=\"" << holes << "\"/>";
    h << "</svg>";

    h << "<div class=\"legend\"><span>points per cell" << (b > 1 ? " block" : "") << ":</span>";
    for (int level = 0; level < HEAT_LEVELS; level++) {
        // The counts that land on this shade.
        double lo = std::floor(std::expm1(logMax * level / HEAT_LEVELS)) + 1;
        double hi = std::floor(std::expm1(logMax * (level + 1) / HEAT_LEVELS) + 1e-9);
        if (level == HEAT_LEVELS - 1)
            hi = (double)maxCount;
        if (maxCount == 0 || hi < lo)
            continue;
        h << "<span><span class=\"sw\" style=\"background:" << HEAT_COLORS[level] << "\"></span>"
          << Fixed(lo, 0);
        if (hi > lo)
            h << "&ndash;" << Fixed(hi, 0);
        h << "</span>";
    }
    h << "<span><span class=\"sw\" style=\"background:#f6f8fa\"></span>none</span><span><span class=\"sw "
         "hatch\"></span>empty cell inside the covered area (possible dead zone)</span></div>";

    std::string cell = Value(c.cellPx, Unit::Px, 0, options);
    h << "<p class=\"note\">Cells of " << cell << ", " << c.columns << " &times; " << c.rows << " from ("
      << c.origin.x << ", " << c.origin.y << ") to ("
      << (std::int64_t)c.origin.x + (std::int64_t)c.columns * c.cellPx << ", "
      << (std::int64_t)c.origin.y + (std::int64_t)c.rows * c.cellPx << "), the bounding box of every point"
      << (report.clientSize.x > 0 ? " and of the client area" : "") << ". ";
    if (b > 1)
        h << "Drawn in blocks of " << b << " &times; " << b
          << " cells; a block is hatched when it holds an empty "
          << "cell. ";
    if (c.emptyCells.empty()) {
        h << "<span class=\"ok\">No empty cell.</span></p>";
        return;
    }
    h << "<span class=\"bad\">" << Count(c.emptyCells.size(), "empty cell", "empty cells") << "</span>.</p>";
    h << "<p class=\"note\">Empty cells (client pixels):";
    std::size_t shown = std::min(c.emptyCells.size(), MAX_EMPTY_LISTED);
    for (std::size_t k = 0; k < shown; k++) {
        std::int64_t e = c.emptyCells[k];
        std::int64_t x = c.origin.x + (e % std::max(c.columns, 1)) * (std::int64_t)c.cellPx;
        std::int64_t y = c.origin.y + (e / std::max(c.columns, 1)) * (std::int64_t)c.cellPx;
        h << (k ? "; " : " ") << "x&nbsp;" << x << "&ndash;" << x + c.cellPx - 1 << " y&nbsp;" << y
          << "&ndash;" << y + c.cellPx - 1;
    }
    if (shown < c.emptyCells.size())
        h << "; and " << c.emptyCells.size() - shown << " more";
    h << ".</p>";
}

} // namespace report
