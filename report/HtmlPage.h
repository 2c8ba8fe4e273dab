// kovrin-report's HTML page: one self-contained file (inline SVG and CSS, no
// script, nothing fetched).
#pragma once

#include "report/Report.h"

#include <ostream>

void WriteHtmlPage(std::ostream& out, const report::Report& r, const report::Options& o);
