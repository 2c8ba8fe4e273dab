// The analysis, the second stage of the report: takes the reader's events as
// they come and computes every figure of every stroke, the anomalies and the
// coverage. It knows nothing of thresholds: which strokes past the listed ones
// are worth keeping is its caller's policy.
#pragma once

#include "report/read/Reader.h"
#include "report/analyse/Report.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace report {

// Bounds that keep memory independent of the log's length.
constexpr int MAX_OPEN_STROKES = 1024; // more contacts down at once: the oldest is taken as stuck
constexpr std::size_t MAX_KEPT_STROKES =
    100000; // strokes listed in DOWN order; later ones only when kept by the policy
constexpr std::size_t MAX_ANOMALIES = 100000;
constexpr std::size_t MAX_DIAGNOSTICS = 100;
constexpr std::size_t DRAWN_POINTS_PER_STROKE = 2000; // plus the last point
constexpr std::size_t DRAWN_POINTS_TOTAL = 250000;    // past it every drawn copy is thinned

// Whether a closed stroke past the first MAX_KEPT_STROKES is kept in the
// report (the others are only counted).
using KeepStroke = std::function<bool(const Stroke&)>;

class CAnalyser final : public CInputSink {
public:
    explicit CAnalyser(const Options& options, KeepStroke keep = nullptr);
    ~CAnalyser();
    CAnalyser(const CAnalyser&) = delete;
    CAnalyser& operator=(const CAnalyser&) = delete;

    void OnMessage(std::uint64_t number, std::uint32_t announced, std::uint64_t line) override;
    void OnInput(const InputEvent& input) override;
    void OnSkipped(std::uint64_t line, const char* why) override;

    // Ends the open strokes and hands over the report; call once, after the
    // reader.
    Report Finish(const InputStatus& input);

private:
    class CState;
    std::unique_ptr<CState> m_state;
};

} // namespace report
