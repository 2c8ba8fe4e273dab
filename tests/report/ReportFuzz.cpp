// libFuzzer target: any bytes through the reader, the analysis and every
// output, with address and undefined-behaviour checks. A few facts that must
// hold for any input are checked too.
#include "report/analyse/Analysis.h"
#include "report/judge/Verdict.h"
#include "report/write/Json.h"
#include "report/write/Summary.h"
#include "report/write/page/HtmlPage.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static char empty[1];
    std::FILE* f = size ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : fmemopen(empty, 1, "rb");
    if (!f)
        return 0;
    if (!size)
        std::fgetc(f); // an empty stream

    report::Options o;
    o.cellPx = 1 + (int)(size % 97);
    o.maxGapPx = 30;
    o.maxJitterPx = 2;
    o.maxDeviationPx = 1.5;
    if (size % 2)
        o.pxPerMm = 3.78;
    report::CAnalyser analyser(o, [&](const report::Stroke& s) { return report::StrokeFails(s, o); });
    report::InputStatus status = report::ReadInput(f, analyser);
    std::fclose(f);
    report::Report r = analyser.Finish(status);

    const char* bytes = reinterpret_cast<const char*>(data);
    if (r.input.lines != (std::uint64_t)std::count(bytes, bytes + size, '\n'))
        __builtin_trap();
    if (r.input.cutOff != (size > 0 && bytes[size - 1] != '\n'))
        __builtin_trap();
    std::uint64_t points = 0, covered = 0;
    for (const report::Stroke& s : r.strokes)
        points += s.points;
    for (std::uint64_t n : r.coverage.counts)
        covered += n;
    if (points + r.ghosts != r.inputs || covered != points)
        __builtin_trap();

    std::string why;
    std::uint64_t line = 0;
    report::IsUnusable(r.input, why, line);
    // A grid at its million-cell cap takes a sanitized build a good part of a
    // second to write out; the native hostile-input test writes such grids.
    if (r.coverage.counts.size() > 65536)
        return 0;
    report::Verdict verdict = report::Judge(r, o);
    std::string json = report::FormatJson(r, o, verdict);
    std::string summary = report::FormatSummary(r, o, verdict, "touch.log");
    std::ostringstream page;
    WriteHtmlPage(page, r, o, verdict);
    return 0;
}
