#include "report/CommandLine.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

namespace report {

namespace {

// A length as given: a number of pixels, or of mm until --px-per-mm is known.
struct Length {
    double value = 0;
    bool mm = false;
};

bool ParseNumber(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    std::from_chars_result r = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

// "12", "12px" or "0.5mm"; never negative.
bool ParseLength(std::string text, Length& out) {
    out.mm = false;
    if (text.size() > 2 &&
        (text.compare(text.size() - 2, 2, "mm") == 0 || text.compare(text.size() - 2, 2, "px") == 0)) {
        out.mm = text[text.size() - 2] == 'm';
        text.resize(text.size() - 2);
    }
    return ParseNumber(text, out.value) && out.value >= 0;
}

} // namespace

std::string ParseCommandLine(int argc, const char* const* argv, CommandLine& out) {
    // The lengths, resolved once --px-per-mm is known wherever it came.
    struct LengthOption {
        const char* name;
        std::optional<Length> given;
    };
    LengthOption lengths[] = {{"--max-jitter", {}},
                              {"--max-deviation", {}},
                              {"--max-gap", {}},
                              {"--min-line-length", {}},
                              {"--stationary-extent", {}}};
    bool inputSeen = false;
    bool optionsEnded = false;

    for (int i = 0; i < argc; i++) {
        std::string arg = argv[i];
        if (optionsEnded || arg == "-" || arg.compare(0, 1, "-") != 0) {
            if (inputSeen)
                return "more than one input given: '" + out.input + "' and '" + arg + "'";
            out.input = arg;
            inputSeen = true;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            out.help = true;
            continue;
        }
        if (arg == "--version") {
            out.version = true;
            continue;
        }
        std::string name = arg, value;
        std::size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        LengthOption* length = nullptr;
        for (LengthOption& l : lengths)
            if (name == l.name)
                length = &l;
        if (!length && name != "--json" && name != "--html" && name != "--px-per-mm" && name != "--cell")
            return "unknown option '" + name + "'";
        if (equals == std::string::npos) {
            if (i + 1 >= argc)
                return name + " needs a value";
            value = argv[++i];
        }
        if (length) {
            Length l;
            if (!ParseLength(value, l))
                return name + ": '" + value + "' is not a length (pixels, or mm with an mm suffix)";
            length->given = l;
        } else if (name == "--json" || name == "--html") {
            if (value.empty())
                return name + " needs a file name";
            (name == "--json" ? out.jsonPath : out.htmlPath) = value;
        } else if (name == "--px-per-mm") {
            double x = 0;
            if (!ParseNumber(value, x) || !(x > 0))
                return "--px-per-mm: '" + value + "' is not a positive number";
            out.options.pxPerMm = x;
        } else {
            int cell = 0;
            const char* end = value.data() + value.size();
            std::from_chars_result r = std::from_chars(value.data(), end, cell);
            if (r.ec != std::errc() || r.ptr != end || cell < 1 || cell > 1000000000)
                return "--cell: '" + value + "' is not a whole number of pixels from 1 to 1000000000";
            out.options.cellPx = cell;
        }
    }
    if (out.help || out.version)
        return "";
    double* settings[] = {nullptr, nullptr, nullptr, &out.options.minLineLengthPx,
                          &out.options.stationaryExtentPx};
    std::optional<double>* thresholds[] = {&out.options.maxJitterPx, &out.options.maxDeviationPx,
                                           &out.options.maxGapPx, nullptr, nullptr};
    for (int i = 0; i < 5; i++) {
        if (!lengths[i].given)
            continue;
        double px = lengths[i].given->value;
        if (lengths[i].given->mm) {
            if (!out.options.pxPerMm)
                return std::string(lengths[i].name) + ": a length in mm needs --px-per-mm";
            px *= *out.options.pxPerMm;
        }
        if (thresholds[i])
            *thresholds[i] = px;
        else
            *settings[i] = px;
    }
    if (!inputSeen)
        return "no touch.log given";
    return "";
}

const char* UsageText() {
    return R"(Usage: kovrin-report [options] touch.log

Reads the touch.log that kovrin writes and reports what it says about the
touch screen: strokes, their straightness and jitter, gaps between reports,
stuck and ghost contacts, dropped inputs and the parts of the panel that
never reported. '-' reads standard input. The summary goes to standard
output, warnings about the log to standard error.

Options:
  --json FILE             also write the figures as JSON to FILE
  --html FILE             also write a self-contained HTML page to FILE
  --px-per-mm X           pixels per millimetre of the screen: every length is
                          then also given in mm, and lengths may be given in mm
  --max-jitter L          fail when a stationary contact wanders further than L
                          from where it went down
  --max-deviation L       fail when a line's point lies further than L from the
                          straight line fitted through it
  --max-gap L             fail when two consecutive points of a stroke are
                          further apart than L
  --cell PX               coverage grid cell in pixels (default 40)
  --min-line-length L     strokes at least this long from end to end are judged
                          as lines (default 100)
  --stationary-extent L   strokes whose points all stay within this distance of
                          their first are judged as stationary (default 20)
  --help                  show this text
  --version               show kovrin-report's version

A length L is in pixels ("12" or "12px") or, with --px-per-mm, in
millimetres ("0.5mm"). A figure equal to its limit holds.

Exit status:
  0  every threshold given holds
  1  a threshold fails; the summary names the contact and by how much
  2  unusable input (unreadable, empty, nothing recognised or more than 1% of
     its lines malformed) or bad options; one message on standard error
)";
}

} // namespace report
