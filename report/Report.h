// kovrin-report's figures: what one touch.log says about a touch screen. The
// reader and the analysis fill a Report in one pass over the log; the verdict
// is judged from it, and the summary, the JSON and the HTML page are written
// from both. Plain C++17, built natively and for Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace report {

// A client point as kovrin logged it.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// What the command line asks for. Lengths are in pixels here; thresholds
// given in mm are converted with pxPerMm before they get here.
struct Options {
    std::optional<double> pxPerMm;        // every length is also reported in mm
    std::optional<double> maxJitterPx;    // largest jitter of a stationary stroke
    std::optional<double> maxDeviationPx; // largest deviation of a line from its fit
    std::optional<double> maxGapPx;       // largest step between two points of a stroke
    std::int32_t cellPx = 40;             // coverage grid
    double minLineLengthPx = 100;         // end-to-end length that makes a stroke a line
    double stationaryExtentPx = 20;       // all points this close to the DOWN: stationary
};

// One contact's stroke: from its DOWN to its UP, or to the end of the log.
struct Stroke {
    std::uint32_t id = 0;
    std::int32_t slot = -1;   // kovrin's slot at the DOWN (colour); -1: it had none
    std::uint64_t points = 0; // the DOWN, every MOVE, the UP
    double lengthPx = 0;      // path length
    double maxStepPx = 0;     // largest step between consecutive points (a gap)
    double meanStepPx = 0;
    Point min, max;                     // bounding box
    std::optional<double> lineMaxDevPx; // set when the stroke is a line
    std::optional<double> lineRmsDevPx;
    Point lineFrom, lineTo;         // the fitted line, over the stroke's extent (lines only)
    std::optional<double> jitterPx; // set when the stroke is stationary
    std::uint64_t firstLine = 0;    // 1-based log line of the DOWN
    std::uint64_t lastLine = 0;     // 1-based log line of its last input
    bool lifted = false;            // ended by its UP
    std::vector<Point> drawn;       // decimated copy of the points, for the page; first and last kept
    std::vector<float> deviation;   // signed distance from the fit of each drawn point (lines only)
};

enum class AnomalyKind { Stuck, Ghost, Redown, SinglePoint };

struct Anomaly {
    AnomalyKind kind;
    std::uint32_t id = 0;
    std::uint64_t line = 0; // 1-based log line
};

// The seen area (bounding box of every point) cut into cellPx squares, aligned
// on multiples of cellPx in client pixels.
struct Coverage {
    std::int32_t cellPx = 40;
    Point origin; // top-left of cell (0, 0), within int32 (clamped at its lower end)
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::vector<std::uint64_t> counts;    // points per cell, row-major
    std::vector<std::int32_t> emptyCells; // row-major indices of cells without a point
    std::int32_t requestedCellPx = 40;    // --cell; cellPx is larger when the seen area was too big
};

// What the reader saw of the input as a whole.
struct InputStatus {
    std::uint64_t lines = 0;        // whole lines read
    std::uint64_t badLines = 0;     // malformed lines skipped
    std::uint64_t firstBadLine = 0; // line number of the first malformed line, 0: none
    const char* firstBadWhy = "";   // why it was skipped
    bool cutOff = false;            // the input ended inside a line
    bool readError = false;         // the input could not be read to its end
};

// A line the reader skipped or a note about the log (cut off mid-line).
struct Diagnostic {
    std::uint64_t line = 0;
    std::string text;
};

struct Report {
    InputStatus input;
    std::uint64_t messages = 0;
    std::uint64_t inputs = 0;
    std::uint64_t maxContacts = 0;     // most contacts down at once
    std::uint64_t droppedMessages = 0; // announced more inputs than were logged
    std::uint64_t droppedInputs = 0;
    std::vector<Stroke> strokes;    // in order of their DOWN
    std::vector<Anomaly> anomalies; // in log order
    Coverage coverage;
    std::vector<Diagnostic> diagnostics;

    // Memory follows the open contacts, not the log: past these bounds the
    // lists above stop growing while the counts below stay exact.
    std::uint64_t omittedStrokes = 0;   // strokes beyond the kept ones, all within every threshold
    std::uint64_t omittedAnomalies = 0; // anomalies beyond the listed ones
    std::uint64_t omittedDiagnostics = 0;
    std::uint64_t stuck = 0; // anomalies of each kind
    std::uint64_t ghosts = 0;
    std::uint64_t redowns = 0;
    std::uint64_t singlePoints = 0;

    std::uint64_t StrokeCount() const {
        return strokes.size() + omittedStrokes;
    }
};

} // namespace report
