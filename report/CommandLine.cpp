#include "report/CommandLine.h"

#include "report/judge/Figures.h"
#include "report/write/Format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace report {

namespace {

// A length as given: a number of pixels, or of mm until --px-per-mm is known.
struct GivenLength {
    double value = 0;
    bool mm = false;
};

bool ParseNumber(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    std::from_chars_result r = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

// "12", "12px" or "0.5mm"; never negative.
bool ParseLength(std::string text, GivenLength& out) {
    out.mm = false;
    if (text.size() > 2 &&
        (text.compare(text.size() - 2, 2, "mm") == 0 || text.compare(text.size() - 2, 2, "px") == 0)) {
        out.mm = text[text.size() - 2] == 'm';
        text.resize(text.size() - 2);
    }
    return ParseNumber(text, out.value) && out.value >= 0;
}

// Every length option, resolved once --px-per-mm is known wherever it came:
// the limits of the figures, then the two settings.
struct LengthOption {
    const char* name;
    std::optional<double>* limit;
    double* setting;
    std::optional<double>* limitMm; // a limit judged in mm when given in mm
    std::optional<GivenLength> given;

    void Set(double px) const {
        if (limit)
            *limit = px;
        else
            *setting = px;
    }
    void SetMm(double mm, double pxPerMm) const {
        Set(mm * pxPerMm);
        if (limitMm)
            *limitMm = mm;
    }
};

std::vector<LengthOption> LengthOptions(Options& options) {
    std::vector<LengthOption> lengths;
    for (const FigureInfo& info : FIGURES)
        if (info.unit == Unit::Px)
            lengths.push_back({info.option,
                               &(options.*info.limit),
                               nullptr,
                               info.limitMm ? &(options.*info.limitMm) : nullptr,
                               {}});
    lengths.push_back({"--min-line-length", nullptr, &options.minLineLengthPx, nullptr, {}});
    lengths.push_back({"--stationary-extent", nullptr, &options.stationaryExtentPx, nullptr, {}});
    return lengths;
}

} // namespace

std::string ParseCommandLine(int argc, const char* const* argv, CommandLine& out) {
    std::vector<LengthOption> lengths = LengthOptions(out.options);
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
        const FigureInfo* limit = nullptr; // a limit that is not a length
        for (const FigureInfo& info : FIGURES)
            if (name == info.option && info.unit != Unit::Px)
                limit = &info;
        if (!length && !limit && name != "--json" && name != "--html" && name != "--guide" &&
            name != "--px-per-mm" && name != "--cell")
            return "unknown option '" + name + "'";
        if (equals == std::string::npos) {
            if (i + 1 >= argc)
                return name + " needs a value";
            value = argv[++i];
        }
        if (length) {
            GivenLength l;
            if (!ParseLength(value, l))
                return name + ": '" + value + "' is not a length (pixels, or mm with an mm suffix)";
            length->given = l;
        } else if (limit) {
            double x = 0;
            std::uint32_t whole = 0;
            if (limit->unit == Unit::Hz) {
                if (!ParseNumber(value, x) || x < 0)
                    return name + ": '" + value + "' is not a number of hertz";
            } else {
                const char* end = value.data() + value.size();
                std::from_chars_result r = std::from_chars(value.data(), end, whole);
                if (r.ec != std::errc() || r.ptr != end || value.empty())
                    return name + ": '" + value + "' is not a whole number";
                x = whole;
            }
            out.options.*limit->limit = x;
        } else if (name == "--json" || name == "--html" || name == "--guide") {
            if (value.empty())
                return name + " needs a file name";
            (name == "--json" ? out.jsonPath : name == "--html" ? out.htmlPath : out.guidePath) = value;
        } else if (name == "--px-per-mm") {
            double x = 0;
            if (!ParseNumber(value, x) || !(x > 0))
                return "--px-per-mm: '" + value + "' is not a positive number";
            out.options.pxPerMm = out.options.pxPerMmX = out.options.pxPerMmY = x;
            out.options.scaleFrom = ScaleFrom::Option;
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
    for (const LengthOption& l : lengths) {
        if (!l.given)
            continue;
        if (!l.given->mm)
            l.Set(l.given->value);
        else if (out.options.pxPerMm)
            l.SetMm(l.given->value, *out.options.pxPerMm);
        else
            out.pendingMm.push_back({l.name, l.given->value});
    }
    if (!inputSeen)
        return "no touch.log given";
    return "";
}

std::string ResolveMm(CommandLine& cl) {
    std::vector<LengthOption> lengths = LengthOptions(cl.options);
    for (const MmLength& mm : cl.pendingMm) {
        if (!cl.options.pxPerMm)
            return mm.option + ": a length in mm needs --px-per-mm";
        for (const LengthOption& l : lengths)
            if (mm.option == l.name)
                l.SetMm(mm.mm, *cl.options.pxPerMm);
    }
    cl.pendingMm.clear();
    return "";
}

std::string UsageText() {
    std::string text = R"(Usage: kovrin-report [options] touch.log|touch.csv

Reads the touch.log or the touch.csv that kovrin writes (touch.csv is known
by its header) and reports what it says about the touch screen: strokes,
their straightness and jitter, gaps between reports, stuck and ghost
contacts, dropped inputs, how close two contacts came and the parts of the
panel that never reported; from touch.csv also the report rate of every
contact and the time between its reports. With the guide.csv of a guided
run (beside the touch.csv, or --guide), also accuracy: how far each touch
landed from the target it answered, the panel's bias, and every hold, line
and contact count judged by its item. '-' reads standard input. The summary
goes to standard output, warnings about the file to standard error.

Options:
  --json FILE             also write the figures as JSON to FILE
  --html FILE             also write a self-contained HTML page to FILE
  --px-per-mm X           pixels per millimetre of the screen: every length is
                          then also given in mm, and lengths may be given in mm
  --guide FILE            the guide.csv of a guided run (default: guide.csv
                          beside a touch.csv); its screen size in mm gives the
                          scale when --px-per-mm is not given
)";
    for (const FigureInfo& info : FIGURES) {
        std::string head = std::string("  ") + info.option + " " + info.optionArg;
        text += PadRight(head, 26);
        for (const char* line = info.help; *line;) {
            const char* end = std::strchr(line, '\n');
            std::size_t length = end ? (std::size_t)(end - line) : std::strlen(line);
            text.append(line, length);
            text += '\n';
            line += length;
            if (*line == '\n') {
                line++;
                text.append(26, ' ');
            }
        }
    }
    text += R"(  --cell PX               coverage grid cell in pixels (default 40)
  --min-line-length L     strokes at least this long from end to end are judged
                          as lines (default 100)
  --stationary-extent L   strokes whose points all stay within this distance of
                          their first are judged as stationary (default 20)
  --help                  show this text
  --version               show kovrin-report's version

A length L is in pixels ("12" or "12px") or, with --px-per-mm or a guide
that knows the screen's size, in millimetres ("0.5mm"). A figure equal to
its limit holds.

Exit status:
  0  every threshold given judged something and holds (or none was given)
  1  a threshold fails; the summary names the contact and by how much
  2  unusable input (unreadable, empty, nothing recognised or more than 1% of
     its lines malformed) or bad options; one message on standard error
  3  a threshold given had nothing to judge (no stroke has its figure) and
     none fails; the summary names it and what it needed
)";
    return text;
}

} // namespace report
