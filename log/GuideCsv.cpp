// "guide.csv" rows, formatted into a stack buffer and written with one stream
// write and a flush, as touch.csv's are: a reader following the file never
// sees half a row.
#include "log/GuideCsv.h"

#include "app/AppState.h"
#include "log/CsvFields.h"

int FormatGuideCsvRow(char* out, const GuideCsvRow& row) {
    char* p = AppendField(out, row.run);
    p = AppendField(p, row.item);
    p = AppendText(p, row.kind);
    *p++ = ',';
    if (row.placed) {
        for (long long v : {row.x1, row.y1, row.x2, row.y2})
            p = AppendField(p, v);
    } else {
        p = AppendText(p, ",,,,");
    }
    p = AppendField(p, row.shownUs);
    p = AppendField(p, row.endedUs);
    p = AppendText(p, row.outcome);
    *p++ = ',';
    for (int v : {row.clientLeft, row.clientTop, row.clientWidth, row.clientHeight, row.screenWidthMm,
                  row.screenHeightMm, row.screenWidthPx, row.screenHeightPx})
        p = AppendField(p, v);
    return EndCsvRow(out, p);
}

void OpenGuideCsv() {
    OpenCsvFile(g_guideCsv, "guide.csv", GUIDE_CSV_COLUMNS);
}

void WriteGuideCsvRow(const GuideCsvRow& row) {
    if (!g_guideCsv.is_open())
        return;
    char line[GUIDE_CSV_ROW_BYTES];
    g_guideCsv.write(line, FormatGuideCsvRow(line, row));
    g_guideCsv.flush();
}
