// For now the page holds the summary as text; the drawings come later.
#include "report/HtmlPage.h"

#include "report/Summary.h"
#include "report/Verdict.h"

#include <string>

void WriteHtmlPage(std::ostream& out, const report::Report& r, const report::Options& o) {
    std::string summary = report::FormatSummary(r, o, report::FindFailures(r, o), "touch.log");
    std::string escaped;
    for (char c : summary) {
        if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (c == '&')
            escaped += "&amp;";
        else
            escaped += c;
    }
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>kovrin-report</title>\n</head>\n<body>\n<pre>"
        << escaped << "</pre>\n</body>\n</html>\n";
}
