// The figures as JSON: keys in a fixed order, lengths with three decimals,
// byte for byte the same from every build.
#pragma once

#include "report/Report.h"
#include "report/Verdict.h"

#include <string>
#include <vector>

namespace report {

std::string FormatJson(const Report& report, const Options& options, const std::vector<Failure>& failures);

} // namespace report
