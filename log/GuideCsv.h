// "guide.csv", beside "touch.csv": one row per item of a guided run, written
// when the item ends (done, abandoned by Backspace, or cut short by the end of
// the run), saying where the item was drawn and when, on touch.csv's clock.
// The window set-up opens the file; the guided run writes the rows.
#pragma once

#include "log/GuideCsvColumns.h"

// Room for the longest row with its CR LF.
constexpr int GUIDE_CSV_ROW_BYTES = 320;

struct GuideCsvRow {
    int run, item; // both 1-based
    const char* kind;
    bool placed;              // x1 to y2 are given (not for contacts and pair)
    long long x1, y1, x2, y2; // hundredths of a screen pixel
    long long shownUs, endedUs;
    const char* outcome; // "done", "back" or "cut"
    int clientLeft, clientTop, clientWidth, clientHeight;
    int screenWidthMm, screenHeightMm, screenWidthPx, screenHeightPx;
};

// Formats one row, CR LF included, into `out` (GUIDE_CSV_ROW_BYTES); returns its length.
int FormatGuideCsvRow(char* out, const GuideCsvRow& row);

// Opens (truncating) "guide.csv" in the current directory into g_guideCsv and
// writes the header. A file that cannot be opened makes every row a no-op.
void OpenGuideCsv();
// Writes one row in one write, and flushes it.
void WriteGuideCsvRow(const GuideCsvRow& row);
