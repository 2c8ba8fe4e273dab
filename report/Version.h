// kovrin-report's version, the CMake project's (KovrinVersion.h is generated
// into the build tree). --version prints it; the JSON and the page name it.
#pragma once

#include "KovrinVersion.h"

namespace report {

constexpr const char* REPORT_VERSION = KOVRIN_VERSION;

} // namespace report
