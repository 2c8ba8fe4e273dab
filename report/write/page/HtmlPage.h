// The report as one self-contained HTML page: the verdict and the worst
// failures at the top, the summary, then the strokes as kovrin's Line mode drew
// them, the line and jitter charts, the coverage map, the anomalies and a table
// of every stroke. Inline CSS and SVG only: no script, nothing fetched,
// readable offline and printable. kovrin-report's --html option calls it.
#pragma once

#include "report/analyse/Report.h"
#include "report/judge/Verdict.h"

#include <ostream>

namespace report {

void WriteHtmlPage(std::ostream& out, const Report& report, const Options& options, const Verdict& verdict);

} // namespace report
