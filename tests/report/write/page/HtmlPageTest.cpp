// The report page: what it holds as text, how large it grows, and what a real
// browser shows of it (headless Chromium screenshots, read back as pixels).
#include "ReportTestSupport.h"
#include "report/write/page/HtmlPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace report {
namespace {

using reporttest::InOrder;

std::string Page(const Report& report, const Options& options) {
    std::ostringstream out;
    WriteHtmlPage(out, report, options, Judge(report, options));
    return out.str();
}

Stroke MakeStroke(std::uint32_t id, int slot, std::vector<Point> points, std::uint64_t firstLine) {
    Stroke s;
    s.id = id;
    s.slot = slot;
    s.points = points.size();
    s.min = s.max = points[0];
    for (const Point& p : points) {
        s.min = {std::min(s.min.x, p.x), std::min(s.min.y, p.y)};
        s.max = {std::max(s.max.x, p.x), std::max(s.max.y, p.y)};
    }
    s.firstLine = firstLine;
    s.lastLine = firstLine + points.size() * 2 - 1;
    s.lifted = true;
    s.drawn = std::move(points);
    return s;
}

// Every href and url() of the page, which must all point inside it.
std::vector<std::string> References(const std::string& page) {
    std::vector<std::string> found;
    for (const char* key : {"href=\"", "url(", "src=", "@import"}) {
        for (std::size_t at = page.find(key); at != std::string::npos; at = page.find(key, at + 1))
            found.push_back(page.substr(at, 24));
    }
    return found;
}

TEST(HtmlPage, StandsAloneAndEscapesWhatTheLogHeld) {
    Report report;
    report.strokes.push_back(MakeStroke(3, 0, {{10, 10}, {200, 40}}, 2));
    report.coverage = {40, {10, 10}, 5, 1, {1, 0, 0, 0, 1}, {1, 2, 3}};
    report.diagnostics.push_back(
        {7, "not a touch line: <script>alert('x')</script> & \"q\" \x01\x7f\xff\xfe end"});
    std::string page = Page(report, Options());

    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("http:"), std::string::npos);
    EXPECT_EQ(page.find("https:"), std::string::npos);
    for (const std::string& ref : References(page))
        EXPECT_TRUE(ref.rfind("href=\"#", 0) == 0 || ref.rfind("url(#", 0) == 0) << ref;
    EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot; "
                        "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD end"),
              std::string::npos);
    EXPECT_TRUE(std::none_of(page.begin(), page.end(), [](char c) {
        return ((unsigned char)c < 0x20 && c != '\n') || (unsigned char)c >= 0xF5;
    }));
    // Nothing judged is no pass.
    EXPECT_NE(page.find("No thresholds given"), std::string::npos);
    EXPECT_NE(page.find("<title>NOT JUDGED"), std::string::npos);
    EXPECT_EQ(page.find("PASS"), std::string::npos);
}

TEST(HtmlPage, NamesEachFailureWithItsContactLineValueAndLimit) {
    Report report;
    Stroke straight = MakeStroke(5, 1, {{0, 50}, {400, 50}}, 2); // holds
    straight.lineMaxDevPx = straight.lineRmsDevPx = 1;
    report.strokes.push_back(straight);
    Stroke line = MakeStroke(7, 0, {{0, 0}, {400, 0}}, 12);
    line.lineMaxDevPx = 7;
    line.lineRmsDevPx = 2;
    line.maxStepPx = 400;
    report.strokes.push_back(line);
    report.strokes[0].minRateHz = 100; // the worst of a least rate is its lowest
    report.strokes[1].minRateHz = 80;
    Options options;
    options.pxPerMm = 4;
    options.maxDeviationPx = 3;
    options.maxGapPx = 12.34;
    options.minRateHz = 60;
    std::string page = Page(report, options);
    EXPECT_NE(page.find("<title>FAIL - "), std::string::npos);

    // Each limit with its comparison, the strokes judged, the worst at its DOWN line and the result.
    EXPECT_TRUE(InOrder(page, {"<tr><td>deviation</td><td>&le;&nbsp;", "2 line strokes",
                               "contact&nbsp;7, line&nbsp;12<", "FAIL</span> 1 stroke over",
                               "<tr><td>gap</td><td>&le;&nbsp;<span class=\"v\">12.3&nbsp;px (3.1&nbsp;mm)",
                               "<tr><td>rate</td>", "2 strokes of a second or more", "80.0&nbsp;Hz</span>, ",
                               "contact&nbsp;7, line&nbsp;12<"}));
    std::size_t failures = page.find("<h3>Worst failures</h3>");
    ASSERT_NE(failures, std::string::npos);
    std::string row = page.substr(page.find("<tr><td>deviation", failures));
    row = row.substr(0, row.find("</tr>"));
    EXPECT_TRUE(InOrder(row, {"contact 7", ">12&ndash;15<", "7.00&nbsp;px (1.75&nbsp;mm)",
                              "3.00&nbsp;px (0.75&nbsp;mm)", "4.00&nbsp;px (1.00&nbsp;mm)"}))
        << row;
    // The failing line is charted first.
    EXPECT_TRUE(InOrder(
        page, {"<figure class=\"chart failed\">", "contact 7<", "<figure class=\"chart\">", "contact 5<"}));

    // From a touch.csv, the timing charts: the failing strokes first, then
    // the longest waits.
    report.input.format = InputFormat::TouchCsv;
    report.intervals = Intervals{3, 10, 20, 30, 50, {0, 1}};
    report.strokes.push_back(MakeStroke(9, 2, {{0, 100}, {400, 100}}, 30));
    const std::uint32_t longest[] = {50, 20, 30};
    for (std::size_t i = 0; i < 3; i++) {
        Stroke& s = report.strokes[i];
        s.durationMs = 1000;
        s.maxIntervalMs = longest[i];
        s.drawnTimeMs = {0, 1000};
        s.drawnGapMs = {0, longest[i]};
    }
    options.minRateHz = 90; // contact 7 fails it
    page = Page(report, options);
    EXPECT_TRUE(InOrder(page, {"id=\"timing\"", "contact 7<", "contact 5<", "contact 9<"}));
}

// A long session: many strokes of many points, a fine coverage grid full of
// holes, long deviation records. The page keeps to its caps.
TEST(HtmlPage, StaysAFewMegabytesForAHugeLog) {
    Report report;
    for (std::uint32_t i = 0; i < 5000; i++) {
        std::vector<Point> points;
        for (int k = 0; k < 400; k++)
            points.push_back({(std::int32_t)(k * 5), (std::int32_t)(i % 1000 + k % 3)});
        Stroke s = MakeStroke(i, (int)(i % 15), std::move(points), 1 + i * 800);
        s.lineMaxDevPx = 1.5;
        s.lineRmsDevPx = 0.5;
        s.lineTo = {1995, (std::int32_t)(i % 1000)};
        s.deviation.assign(5000, 0.25f);
        s.jitterPx = i % 2 ? std::optional<double>(1.0) : std::nullopt;
        report.strokes.push_back(std::move(s));
        report.anomalies.push_back({AnomalyKind::Ghost, i, 3 + i * 800});
    }
    Coverage& c = report.coverage;
    c.cellPx = 1;
    c.columns = c.rows = 1000;
    c.counts.resize(1000000);
    for (std::int32_t i = 0; i < 1000000; i++) {
        c.counts[(std::size_t)i] = (std::uint64_t)(i % 2 ? 0 : i % 7 + 1);
        if (i % 2)
            c.emptyCells.push_back(i);
    }
    std::string page = Page(report, Options());

    EXPECT_LT(page.size(), 4u << 20);
    EXPECT_NE(page.find("The first 2000 of 5000 strokes are drawn one by one"), std::string::npos);
    EXPECT_NE(page.find("50 of 5000 line strokes are charted"), std::string::npos);
    EXPECT_NE(page.find("Drawn in blocks of 5 &times; 5 cells"), std::string::npos);
}

// ---- In a real browser ----

struct Color {
    int r, g, b;
};

// What headless Chromium shows of a page in a window of the given size, as RGB.
class CScreenshot {
public:
    bool Take(const std::string& page, int width, int height) {
        char pattern[] = "/tmp/kovrin-html-XXXXXX";
        if (!mkdtemp(pattern))
            return false;
        m_dir = pattern;
        std::ofstream(m_dir / "page.html", std::ios::binary) << page;
        std::string command = "cd '" + m_dir.string() + "' && HOME='" + m_dir.string() +
                              "' timeout -k 5 120 chromium --headless --no-sandbox --disable-gpu "
                              "--disable-dev-shm-usage --no-first-run --hide-scrollbars "
                              "--force-device-scale-factor=1 --user-data-dir=profile --window-size=" +
                              std::to_string(width) + "," + std::to_string(height) +
                              " --screenshot=shot.png file://" + (m_dir / "page.html").string() +
                              " >chromium.log 2>&1 && convert shot.png -depth 8 rgb:shot.rgb";
        if (std::system(command.c_str()) != 0)
            return false;
        std::ifstream raw(m_dir / "shot.rgb", std::ios::binary);
        m_rgb.assign(std::istreambuf_iterator<char>(raw), std::istreambuf_iterator<char>());
        m_width = width;
        m_height = height;
        return m_rgb.size() == (std::size_t)width * height * 3;
    }
    ~CScreenshot() {
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir);
    }
    Color At(int x, int y) const {
        const unsigned char* p = &m_rgb[((std::size_t)y * m_width + x) * 3];
        return {p[0], p[1], p[2]};
    }
    int Width() const {
        return m_width;
    }
    int Height() const {
        return m_height;
    }
    std::string Log() const {
        std::ifstream log(m_dir / "chromium.log");
        return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_dir;
    std::vector<unsigned char> m_rgb;
    int m_width = 0, m_height = 0;
};

bool Near(Color a, Color b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// Pixels of the colour in the rows [top, bottom).
int CountColor(const CScreenshot& shot, Color color, int top, int bottom) {
    int n = 0;
    for (int y = top; y < std::min(bottom, shot.Height()); y++)
        for (int x = 0; x < shot.Width(); x++)
            n += Near(shot.At(x, y), color, 4);
    return n;
}

// Whether the colour is within one pixel of (x, y).
bool ColorAround(const CScreenshot& shot, Color color, double x, double y) {
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            int px = (int)std::floor(x) + dx, py = (int)std::floor(y) + dy;
            if (px >= 0 && py >= 0 && px < shot.Width() && py < shot.Height() &&
                Near(shot.At(px, py), color, 40))
                return true;
        }
    return false;
}

// Centres of the dot-sized blobs of a colour: connected pixels at most 6 across.
std::vector<std::pair<double, double>> Dots(const CScreenshot& shot, Color color) {
    std::vector<std::pair<double, double>> dots;
    std::vector<char> seen((std::size_t)shot.Width() * shot.Height(), 0);
    for (int y = 0; y < shot.Height(); y++)
        for (int x = 0; x < shot.Width(); x++) {
            if (seen[(std::size_t)y * shot.Width() + x] || !Near(shot.At(x, y), color, 40))
                continue;
            std::vector<std::pair<int, int>> todo{{x, y}}, blob;
            seen[(std::size_t)y * shot.Width() + x] = 1;
            while (!todo.empty()) {
                auto [px, py] = todo.back();
                todo.pop_back();
                blob.push_back({px, py});
                for (auto [nx, ny] : {std::pair{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}})
                    if (nx >= 0 && ny >= 0 && nx < shot.Width() && ny < shot.Height() &&
                        !seen[(std::size_t)ny * shot.Width() + nx] && Near(shot.At(nx, ny), color, 40)) {
                        seen[(std::size_t)ny * shot.Width() + nx] = 1;
                        todo.push_back({nx, ny});
                    }
            }
            int x0 = x, x1 = x, y0 = y, y1 = y;
            double sx = 0, sy = 0;
            for (auto [px, py] : blob) {
                x0 = std::min(x0, px), x1 = std::max(x1, px), y0 = std::min(y0, py), y1 = std::max(y1, py);
                sx += px + 0.5, sy += py + 0.5;
            }
            if (x1 - x0 < 6 && y1 - y0 < 6 && blob.size() >= 4)
                dots.push_back({sx / blob.size(), sy / blob.size()});
        }
    return dots;
}

constexpr Color NAVY = {0x00, 0x00, 0x80};  // slot 0
constexpr Color RED = {0xFF, 0x00, 0x00};   // slot 1
constexpr Color GREEN = {0x00, 0xFF, 0x00}; // slot 2
constexpr Color FAIL_RED = {0xC6, 0x28, 0x28};
constexpr Color PASS_GREEN = {0x2E, 0x7D, 0x32};

// A zigzag line in slot 0 that strays 20 px from its fit, a vertical stroke in
// slot 1, and two single dots in slot 2 at the corners of a 1920x1080 screen,
// by which the test finds where client pixels land on the page.
Report TwoStrokes() {
    Report report;
    std::vector<Point> zigzag;
    for (int i = 0; i <= 12; i++)
        zigzag.push_back({300 + 100 * i, i % 2 ? 420 : 380});
    Stroke line = MakeStroke(7, 0, zigzag, 3);
    line.lineMaxDevPx = 20;
    line.lineRmsDevPx = 20;
    line.lineFrom = {300, 400};
    line.lineTo = {1500, 400};
    for (int i = 0; i <= 12; i++)
        line.deviation.push_back(i % 2 ? 20.0f : -20.0f);
    report.strokes.push_back(line);
    std::vector<Point> vertical;
    for (int y = 200; y <= 900; y += 50)
        vertical.push_back({1700, y});
    report.strokes.push_back(MakeStroke(9, 1, vertical, 4));
    report.strokes.push_back(MakeStroke(20, 2, {{0, 0}}, 60));
    report.strokes.push_back(MakeStroke(21, 2, {{1919, 1079}}, 62));
    report.messages = report.inputs = 31;
    return report;
}

bool HaveChromium() {
    return std::system("command -v chromium >/dev/null 2>&1") == 0;
}

TEST(HtmlPageInBrowser, DrawsTheStrokesInTheirSlotColoursWhereTheyBelongUnderAFail) {
    if (!HaveChromium())
        GTEST_SKIP() << "chromium is not installed";
    Options options;
    options.maxDeviationPx = 3;
    CScreenshot shot;
    ASSERT_TRUE(shot.Take(Page(TwoStrokes(), options), 1040, 1400)) << shot.Log();

    EXPECT_GT(CountColor(shot, FAIL_RED, 0, 400), 100 * 40);
    EXPECT_EQ(CountColor(shot, PASS_GREEN, 0, shot.Height()), 0);

    // The corner dots are the leftmost and rightmost green blobs: their contact ids
    // are written inside the drawing, right of the first and left of the second.
    std::vector<std::pair<double, double>> dots = Dots(shot, GREEN);
    ASSERT_GE(dots.size(), 2u);
    std::pair<double, double> topLeft = *std::min_element(dots.begin(), dots.end());
    std::pair<double, double> bottomRight = *std::max_element(dots.begin(), dots.end());
    double left = topLeft.first, top = topLeft.second;
    double scale = (bottomRight.first - left) / 1919, scaleY = (bottomRight.second - top) / 1079;
    ASSERT_GT(scale, 0.3);
    ASSERT_LT(scale, 1.0);
    EXPECT_NEAR(scaleY, scale, 0.01);
    auto screen = [&](double x, double y) { return std::pair{left + x * scale, top + y * scale}; };

    for (int i = 0; i <= 12; i++) {
        auto [x, y] = screen(300 + 100 * i, i % 2 ? 420 : 380);
        EXPECT_TRUE(ColorAround(shot, NAVY, x, y)) << "zigzag point " << i;
    }
    for (int y = 200; y <= 900; y += 50) {
        auto [dotX, dotY] = screen(1700, y);
        EXPECT_TRUE(ColorAround(shot, RED, dotX, dotY)) << "dot at y " << y;
        auto [midX, midY] = screen(1700, y + 25);
        if (y < 900) {
            EXPECT_TRUE(ColorAround(shot, RED, midX, midY)) << "segment below y " << y;
        }
    }
    // Inside a bend of the zigzag, away from its segments and its fit: page white.
    auto [inX, inY] = screen(420, 392);
    EXPECT_TRUE(Near(shot.At((int)inX, (int)inY), {255, 255, 255}, 8));
}

TEST(HtmlPageInBrowser, ShowsThePassInGreenWhenEveryThresholdHolds) {
    if (!HaveChromium())
        GTEST_SKIP() << "chromium is not installed";
    Options options;
    options.maxDeviationPx = 25;
    CScreenshot shot;
    ASSERT_TRUE(shot.Take(Page(TwoStrokes(), options), 1040, 600)) << shot.Log();

    EXPECT_GT(CountColor(shot, PASS_GREEN, 0, 400), 100 * 40);
    EXPECT_EQ(CountColor(shot, FAIL_RED, 0, 400), 0);
}

} // namespace
} // namespace report
