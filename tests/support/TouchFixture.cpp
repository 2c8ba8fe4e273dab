#include "support/TouchFixture.h"

#include "app/AppState.h"
#include "report/read/CsvReader.h"

#include <cstdio>

TOUCHINPUT TouchWindowTest::At(DWORD id, DWORD flags, int clientX, int clientY) {
    POINT p = {clientX, clientY};
    ClientToScreen(m_hwnd, &p);
    return fakes::TouchAt(id, flags, p.x, p.y);
}

LRESULT TouchWindowTest::SendTouch(const std::vector<TOUCHINPUT>& inputs, int announced) {
    fakes::touchInputs = inputs;
    int count = announced >= 0 ? announced : (int)inputs.size();
    return Send(WM_TOUCH, MAKEWPARAM(count, 0), TOUCH_HANDLE);
}

void TouchWindowTest::StartDump() {
    g_dumpFile = fopen("logdump.txt", "w+");
    ASSERT_NE(g_dumpFile, nullptr);
}

void TouchWindowTest::StopDump() {
    if (g_dumpFile)
        fclose(g_dumpFile);
    g_dumpFile = nullptr;
}

std::string TouchWindowTest::TouchLogText() {
    return ReadFileBytes("touch.log");
}

std::vector<std::vector<std::string>> CsvRows(const std::string& path) {
    std::string text = ReadFileBytes(path);
    std::vector<std::vector<std::string>> rows;
    for (size_t at = text.find("\r\n") + 2, end; (end = text.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
        report::CsvRow parsed;
        if (path == "touch.csv") {
            EXPECT_EQ(report::ParseCsvRow(&text[at], &text[end], parsed), nullptr)
                << text.substr(at, end - at);
        }
        rows.emplace_back(1);
        for (char c : text.substr(at, end - at))
            if (c == ',')
                rows.back().emplace_back();
            else
                rows.back().back() += c;
    }
    return rows;
}
