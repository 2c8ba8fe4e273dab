// The summary's own layout: a stroke's figures stand under their headings.
#include "ReportTestSupport.h"
#include "report/Summary.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace report;
using namespace reporttest;

TEST(SummaryTest, AStrokeRowHasItsFiguresUnderTheirHeadings) {
    // Steps of 5, 5, 50: length 60, largest step 50, mean 20.
    Report r = Analyse(Count(1) + Down(4, 10, 20) + Count(1) + Move(4, 13, 24) + Count(1) + Move(4, 16, 28) +
                       Count(1) + Up(4, 46, 68));
    std::istringstream summary(FormatSummary(r, Options(), Judge(r, Options()), "touch.log"));
    std::string line, head, row;
    while (std::getline(summary, line)) {
        if (line.find("max step") != std::string::npos)
            head = line;
        if (line.rfind("       1 ", 0) == 0)
            row = line;
    }
    ASSERT_FALSE(head.empty());
    ASSERT_FALSE(row.empty());
    // Right-aligned: each value ends where its heading ends.
    for (auto [heading, value] : {std::pair{"points", "4"},
                                  {"length", "60.000"},
                                  {"max step", "50.000"},
                                  {"mean step", "20.000"},
                                  {"last line", "8"}}) {
        std::size_t end = head.find(heading) + std::string(heading).size();
        EXPECT_EQ(row.substr(end - std::string(value).size(), std::string(value).size() + 1),
                  std::string(value) + " ")
            << heading << "\n"
            << head << "\n"
            << row;
    }
    EXPECT_NE(row.find("(10,20)-(46,68)"), std::string::npos) << row;
}
