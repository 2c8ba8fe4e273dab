set(KOVRIN_REPORT_HTML_TEST_SOURCES tests/report/HtmlPageTest.cpp)
