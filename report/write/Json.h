// The figures as JSON: keys in a fixed order, lengths with three decimals,
// byte for byte the same from every build.
#pragma once

#include "report/analyse/Report.h"
#include "report/judge/Verdict.h"

#include <cstdio>
#include <string>

namespace report {

std::string FormatJson(const Report& report, const Options& options, const Verdict& verdict);

// The same document written to `file` as it is made; false on a write error.
bool WriteJson(std::FILE* file, const Report& report, const Options& options, const Verdict& verdict);

} // namespace report
