// The guided run on the real window: a scripted run through kovrin's touch
// handler, read back from guide.csv, touch.csv, the screen and the menu.
#include "GuidedSession.h"
#include "app/AppState.h"
#include "report/analyse/Analysis.h"
#include "report/read/GuideReader.h"
#include "res/resource.h"
#include "support/ClientPixels.h"
#include "support/TouchFixture.h"

#include <regex>

namespace {

using GuidedRunTest = TouchWindowTest;

// kovrin-report's reading of the guide.csv and touch.csv in the current directory.
report::Report ReportGuidedRun() {
    report::Report r;
    std::FILE* guideFile = std::fopen("guide.csv", "rb");
    std::FILE* touchFile = std::fopen("touch.csv", "rb");
    EXPECT_TRUE(guideFile && touchFile);
    if (guideFile && touchFile) {
        report::CAnalyser analyser{report::Options{}};
        analyser.FollowGuide(report::GuidedPlan(report::ReadGuide(guideFile)));
        r = analyser.Finish(report::ReadInput(touchFile, analyser));
    }
    for (std::FILE* f : {guideFile, touchFile})
        if (f)
            std::fclose(f);
    return r;
}
using Row = std::vector<std::string>;

bool Checked(HWND hwnd, UINT id) {
    return (GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Fields first to last of a row, comma-separated.
std::string Fields(const Row& row, size_t first, size_t last) {
    std::string out = row[first];
    while (++first <= last)
        out += "," + row[first];
    return out;
}

} // namespace

TEST_F(GuidedRunTest, ScriptedRunComesBackFromItsFilesAndTheScreen) {
    CreateWindowUnderTest();
    // Spelt out as the README documents them.
    EXPECT_EQ(ReadFileBytes("guide.csv"), "run,item,kind,x1,y1,x2,y2,shown_us,ended_us,outcome,client_left,"
                                          "client_top,client_w,client_h,screen_w_mm,screen_h_mm,screen_w_px,"
                                          "screen_h_px\r\n");
    Send(WM_COMMAND, IDM_GUIDED_TEST);
    EXPECT_TRUE(Checked(m_hwnd, IDM_GUIDED_TEST) && !Checked(m_hwnd, IDM_LINE));
    RECT client = ClientRect();
    POINT origin = {0, 0};
    ClientToScreen(m_hwnd, &origin);
    GuidePlan plan = LayOutGuide(client.right, client.bottom, GUIDE_MARGIN_PX); // Wine knows no size in mm
    // Old strokes and Esc, then a touch before any paint: its BeginPaint erases, and the erase draws
    // target 1.
    FillClientRect(m_hwnd, client, RGB(0, 0, 0));
    Send(WM_HOTKEY, 0, MAKELPARAM(0, VK_ESCAPE));
    SendTouch({At(1, TOUCHEVENTF_INRANGE, 5, 300)}); // no phase: nothing for the run
    GuidePoint target = plan.items[0].from;
    ClientPixels pixels(m_hwnd);
    EXPECT_EQ(pixels.At(target.x, target.y), GUIDE_COLOR);
    EXPECT_EQ(pixels.At(target.x + 2, target.y + 2), GetSysColor(COLOR_WINDOW));

    fakes::recordWrites = true;
    guidedsession::Play(
        plan,
        [&](const std::vector<guidedsession::Input>& inputs) {
            std::vector<TOUCHINPUT> records;
            for (const guidedsession::Input& in : inputs) {
                const DWORD phases[] = {TOUCHEVENTF_DOWN, TOUCHEVENTF_MOVE, TOUCHEVENTF_UP};
                records.push_back(At(in.id, phases[in.phase], 0, 0));
                records.back().x += in.hx;
                records.back().y += in.hy;
            }
            SendTouch(records);
        },
        [](long long us) { fakes::clockSkewUs += us; }, [&] { Send(WM_KEYDOWN, VK_BACK, 1); });
    fakes::recordWrites = false;
    // kovrin-report gives back where the session touched, to the hundredth of a pixel.
    report::Report r = ReportGuidedRun();
    ASSERT_TRUE(r.guided && r.guided->belongs && r.guided->items.size() == (size_t)GUIDE_ITEMS);
    const std::vector<report::GuidedItem>& items = r.guided->items;
    for (int k = 0; k < GUIDE_TARGETS; k++) {
        GuidePoint offset = guidedsession::TargetOffset(k);
        EXPECT_DOUBLE_EQ(*items[k].offsetXPx * 100, offset.x) << "target " << k + 1;
        EXPECT_DOUBLE_EQ(*items[k].offsetYPx * 100, offset.y) << "target " << k + 1;
    }
    EXPECT_DOUBLE_EQ(*r.guided->biasXPx, 2.0);
    EXPECT_DOUBLE_EQ(*r.guided->biasYPx, -1.0);
    EXPECT_DOUBLE_EQ(*items[GUIDE_HOLD].offsetXPx * 100, guidedsession::HOLD_OFFSET.x);
    EXPECT_DOUBLE_EQ(*items[GUIDE_HOLD].offsetYPx * 100, guidedsession::HOLD_OFFSET.y);
    EXPECT_DOUBLE_EQ(*items[GUIDE_FIRST_LINE + 2].reachPct, 100.0);
    EXPECT_EQ(*items[GUIDE_CONTACTS].contacts, 5u);
    EXPECT_DOUBLE_EQ(*items[GUIDE_PAIR].separationPx, 12.0);
    // Ended by itself, and a second run ended by choosing Guided Test again: back in Line mode.
    EXPECT_TRUE(Checked(m_hwnd, IDM_LINE) && !Checked(m_hwnd, IDM_GUIDED_TEST));
    Send(WM_COMMAND, IDM_GUIDED_TEST);
    Send(WM_COMMAND, IDM_GUIDED_TEST);
    EXPECT_TRUE(Checked(m_hwnd, IDM_LINE) && !Checked(m_hwnd, IDM_GUIDED_TEST));

    std::vector<Row> rows = CsvRows("guide.csv");
    ASSERT_EQ(rows.size(), 34u);
    std::string order, expected = "1d 2d 3b 2d ";
    for (int item = 3; item <= GUIDE_ITEMS; item++)
        expected += std::to_string(item) + "d ";
    for (const Row& row : rows)
        order += row[1] + row[9][0] + " ";
    EXPECT_EQ(order, expected + "1c ");
    auto screen = [&](GuidePoint p) {
        return std::to_string((p.x + origin.x) * 100 + 50) + "," +
               std::to_string((p.y + origin.y) * 100 + 50);
    };
    const GuideItem& diagonal = plan.items[GUIDE_FIRST_LINE + 2]; // item 24, row 26
    EXPECT_EQ(Fields(rows[0], 0, 6), "1,1,target," + screen(target) + "," + screen(target));
    EXPECT_EQ(Fields(rows[25], 2, 6), "line," + screen(diagonal.from) + "," + screen(diagonal.to));
    EXPECT_EQ(Fields(rows[31], 2, 6), "contacts,,,,");
    EXPECT_EQ(Fields(rows[33], 0, 2), "2,1,target");
    EXPECT_EQ(Fields(rows[32], 10, 17),
              Fields({std::to_string(origin.x), std::to_string(origin.y), std::to_string(client.right),
                      std::to_string(client.bottom), "0", "0", std::to_string(GetSystemMetrics(SM_CXSCREEN)),
                      std::to_string(GetSystemMetrics(SM_CYSCREEN))},
                     0, 7));
    // On touch.csv's clock: each item shows as the one before ends, the hold
    // (row 23) lasted its 5 s, and the last ended at its message's received_us.
    for (size_t i = 1; i < 33; i++)
        EXPECT_EQ(rows[i][7], rows[i - 1][8]) << "row " << i + 1;
    EXPECT_GE(std::stoll(rows[22][8]) - std::stoll(rows[22][7]), GUIDE_HOLD_US);
    EXPECT_EQ(rows[32][8], CsvRows("touch.csv").back()[11]);
    // One write per row.
    std::string body = ReadFileBytes("guide.csv"), written;
    int rowWrites = 0;
    for (const std::string& w : fakes::writes)
        if (std::regex_search(w, std::regex(",(target|hold|line|contacts|pair),"))) {
            written += w;
            rowWrites++;
        }
    size_t first = body.find("\r\n") + 2;
    EXPECT_EQ(rowWrites, 33);
    EXPECT_EQ(written, body.substr(first, body.find("\r\n2,") + 2 - first));
}
