// Counts the test binary's calls of the global operator new, which this
// support file replaces, so a test can prove that a code path allocates nothing.
#pragma once

// Number of operator new calls (all forms but the aligned ones) so far.
long long AllocationCount();
