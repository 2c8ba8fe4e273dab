// kovrin-report's figures: what one touch.log or touch.csv says about a touch
// screen. The analysis fills a Report from the reader's events in one pass
// over the file; the verdict is judged from it, and the summary, the JSON and
// the HTML page are written from both. Plain C++17, built natively and for
// Windows.
#pragma once

#include "app/GuidePlan.h"
#include "report/read/Reader.h"

#include <cmath>
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
// Where the millimetres come from.
enum class ScaleFrom { None, Option, Guide };

struct Options {
    std::optional<double> pxPerMm;        // every length is also reported in mm
    std::optional<double> maxJitterPx;    // largest jitter of a stationary stroke
    std::optional<double> maxDeviationPx; // largest deviation of a line from its fit
    std::optional<double> maxGapPx;       // largest step between two points of a stroke
    std::optional<double> minRateHz;      // fewest points in a second of a stroke (touch.csv)
    std::optional<double> maxIntervalMs;  // largest time between two points of a stroke (touch.csv)
    std::optional<double> minContacts;    // most contacts down at once in the session
    std::optional<double> maxOffsetPx;    // farthest point of a guided target, hold or line from it
    std::optional<double> maxOffsetMm;    // the same limit when given in mm: judged in mm
    std::int32_t cellPx = 40;             // coverage grid
    double minLineLengthPx = 100;         // end-to-end length that makes a stroke a line
    double stationaryExtentPx = 20;       // all points this close to the DOWN: stationary
    // The scale of each axis: --px-per-mm's for both, or the guide's screen
    // size, which may differ a little between the axes; pxPerMm is then
    // their mean, for the lengths that are no one vector (a path, an RMS).
    std::optional<double> pxPerMmX, pxPerMmY;
    ScaleFrom scaleFrom = ScaleFrom::None;

    // The length in mm of the vector (dx, dy) px, axis by axis.
    std::optional<double> VectorMm(double dx, double dy) const {
        if (!pxPerMmX || !pxPerMmY)
            return std::nullopt;
        double x = dx / *pxPerMmX, y = dy / *pxPerMmY;
        return std::sqrt(x * x + y * y);
    }
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

    // Time, from the time stamps of touch.csv; none from touch.log.
    std::optional<std::uint64_t> durationMs;    // from the DOWN to the last point
    std::optional<double> rateHz;               // (points - 1) * 1000 / duration; none for a duration of 0
    std::optional<double> minRateHz;            // fewest points in any whole second; strokes of 1 s or more
    std::optional<std::uint32_t> maxIntervalMs; // largest time between consecutive points
    std::uint64_t maxIntervalLine = 0;          // line of the later of the two
    std::optional<double> contactWPx;           // median contact size where the platform gave it
    std::optional<double> contactHPx;
    std::vector<std::uint32_t> drawnTimeMs; // time since the DOWN of each drawn point (timed strokes)
    std::vector<std::uint32_t>
        drawnGapMs; // largest interval up to each drawn point since the drawn one before
};

enum class AnomalyKind { Stuck, Ghost, Redown, SinglePoint, Backwards };

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

// A line the reader skipped or a note about the log (cut off mid-line).
struct Diagnostic {
    std::uint64_t line = 0;
    std::string text;
};

struct Separation {
    double px = 0;
    std::uint32_t movedId = 0; // the contact that came down or moved
    std::uint32_t otherId = 0;
    std::uint64_t line = 0;
};

// The distribution of the time between consecutive points of a stroke.
struct Intervals {
    std::uint64_t count = 0;
    std::uint32_t medianMs = 0; // nearest rank
    std::uint32_t p95Ms = 0;
    std::uint32_t p99Ms = 0;
    std::uint32_t maxMs = 0;
    std::vector<std::uint64_t> histogram; // intervals of each length in ms, up to the largest (capped)
};

// One item of a guided run and what answered it. Positions are in client
// pixels as drawn (a target's centre twice, a line's start and end) and, for
// the figures, in hundredths of a screen pixel as guide.csv gives them.
struct GuidedItem {
    int item = 0; // 1-based place in the plan
    GuideKind kind = GuideKind::Target;
    Point from, to;
    std::int64_t fineFromX = 0, fineFromY = 0, fineToX = 0, fineToY = 0;
    std::uint64_t shownUs = 0; // the row that counts: the last one done
    std::uint64_t endedUs = 0;
    std::uint64_t guideLine = 0;       // its line in guide.csv; 0: never done
    bool done = false;                 // a row says it was done
    bool missed = true;                // not done, or no stroke answered it
    std::optional<std::size_t> stroke; // the answering stroke in Report::strokes
    std::optional<std::uint32_t> contact;
    std::uint64_t firstLine = 0;    // touch.csv line of the answer's DOWN (the first, for contacts and pair)
    std::uint64_t extraTouches = 0; // strokes in the item's time past the one that answered
    // target, hold: the mean of the answer's points minus the centre, and the
    // farthest point from the centre (its vector, for millimetres).
    std::optional<double> offsetXPx, offsetYPx;
    std::optional<double> offsetPx; // the vector's length
    std::optional<double> maxOffsetPx;
    double maxOffsetXPx = 0, maxOffsetYPx = 0;
    // hold: jitter; line: deviation from its fit, the farthest point from the
    // guide's segment (its vector) and the share of the guide it covers.
    std::optional<double> jitterPx;
    std::optional<double> deviationPx;
    std::optional<double> guideOffsetPx;
    double guideOffsetXPx = 0, guideOffsetYPx = 0;
    std::optional<double> reachPct;
    // contacts: most down at once; pair: the closest two came (its vector).
    std::optional<std::uint64_t> contacts;
    std::optional<double> separationPx;
    double separationXPx = 0, separationYPx = 0;
};

// The last guided run of a guide.csv, item by item in plan order.
struct Guided {
    std::uint64_t run = 0;
    std::vector<GuidedItem> items;
    std::uint64_t targetsMissed = 0;
    // The mean of the targets' offset vectors, and the 95th percentile of
    // their lengths (nearest rank); none without an answered target.
    std::optional<double> biasXPx, biasYPx;
    std::optional<double> offsetP95Px;
    std::optional<double> offsetP95Mm; // ranked in mm, which two scales may order otherwise
    // The area the plan was laid out on (the largest of its rows), and the
    // screen's size in mm as its first row gives it (0: not known).
    Point clientSize;
    Point screenMm;
    // Every item done was ended by a message of the touch.csv read: a guide
    // of another session is not.
    bool belongs = true;
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
    std::uint64_t backwards = 0; // time stamps that went back

    // The panel's effective resolution: the smallest step between two
    // consecutive points of a stroke that is not 0; none without one.
    std::optional<double> minStepPx;
    // The closest two contacts down at the same time came.
    std::optional<Separation> separation;
    // touch.csv: the time between consecutive points of every stroke, and the
    // largest client area seen.
    std::optional<Intervals> intervals;
    Point clientSize;
    // The guided run judged, with a guide.csv.
    std::optional<Guided> guided;

    std::uint64_t StrokeCount() const {
        return strokes.size() + omittedStrokes;
    }
};

} // namespace report
