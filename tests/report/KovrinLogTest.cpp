// kovrin-report on the touch.log and the touch.csv that kovrin's own window
// code writes: touches scripted with known figures go through the real
// WM_TOUCH handler, and the report read from its files must give those
// figures back.
#include "TwoContacts.h"
#include "report/analyse/Analysis.h"
#include "support/TouchFixture.h"
#include "touch/ContactSlots.h"

#include <cstdio>

namespace {

const DWORD DOWN = TOUCHEVENTF_DOWN;
const DWORD MOVE = TOUCHEVENTF_MOVE;
const DWORD UP = TOUCHEVENTF_UP;

using KovrinLogTest = TouchWindowTest;

report::Report ReadTouchLog(const char* name = "touch.log") {
    report::Report r;
    std::FILE* log = std::fopen(name, "rb");
    EXPECT_NE(log, nullptr);
    if (log) {
        report::CAnalyser analyser(report::Options{});
        report::InputStatus status = report::ReadInput(log, analyser);
        std::fclose(log);
        r = analyser.Finish(status);
    }
    return r;
}

} // namespace

TEST_F(KovrinLogTest, ScriptedTouchesComeBackAsTheirFigures) {
    CreateWindowUnderTest();

    // A ruled line along y = 300: 40 points, 10 px apart, off the line by
    // +2, -2, -2, +2 in turn, so the fitted line is y = 300 itself and every
    // point lies 2 px from it.
    const int offsets[4] = {2, -2, -2, 2};
    for (int k = 0; k < 40; k++)
        SendTouch({At(7, k == 0 ? DOWN : k == 39 ? UP : MOVE, 100 + 10 * k, 300 + offsets[k % 4])});

    // A finger held at (600, 500) that wanders at most 5 px from where it came down.
    const POINT wander[] = {{3, 4}, {-5, 0}, {0, 2}, {1, -1}, {0, -5}, {2, 2}};
    SendTouch({At(3, DOWN, 600, 500)});
    for (POINT d : wander)
        SendTouch({At(3, MOVE, 600 + d.x, 500 + d.y)});
    SendTouch({At(3, UP, 601, 501)});

    // Fifteen contacts in one message that announced seventeen: kovrin keeps
    // fifteen, one per slot, so a sixteenth contact that comes down while they
    // are held gets no slot and never lifts.
    std::vector<TOUCHINPUT> many;
    for (int k = 0; k < SLOT_COUNT; k++)
        many.push_back(At(20 + k, DOWN, 100 + 40 * k, 700));
    SendTouch(many, 17);
    SendTouch({At(42, DOWN, 50, 50)});
    for (TOUCHINPUT& input : many)
        input = At(input.dwID, UP, 100 + 40 * (input.dwID - 20), 705);
    SendTouch(many);
    // A contact that moves without having come down.
    SendTouch({At(99, MOVE, 640, 480)});

    report::Report r = ReadTouchLog();
    EXPECT_EQ(r.input.badLines, 0u);
    EXPECT_FALSE(r.input.cutOff);
    EXPECT_EQ(r.messages, 40u + 8u + 4u);
    EXPECT_EQ(r.inputs, 40u + 8u + 15u + 1u + 15u + 1u);
    EXPECT_EQ(r.maxContacts, 16u);
    EXPECT_EQ(r.droppedMessages, 1u);
    EXPECT_EQ(r.droppedInputs, 2u);
    EXPECT_EQ(r.stuck, 1u);
    EXPECT_EQ(r.ghosts, 1u);
    ASSERT_EQ(r.strokes.size(), 2u + 15u + 1u);

    const report::Stroke& line = r.strokes[0];
    EXPECT_EQ(line.id, 7u);
    EXPECT_EQ(line.slot, 0);
    EXPECT_EQ(line.points, 40u);
    EXPECT_EQ(line.firstLine, 2u);
    EXPECT_EQ(line.lastLine, 80u);
    EXPECT_TRUE(line.lifted);
    ASSERT_TRUE(line.lineMaxDevPx && line.lineRmsDevPx);
    EXPECT_NEAR(*line.lineMaxDevPx, 2.0, 1e-9);
    EXPECT_NEAR(*line.lineRmsDevPx, 2.0, 1e-9);
    EXPECT_FALSE(line.jitterPx);

    const report::Stroke& held = r.strokes[1];
    EXPECT_EQ(held.id, 3u);
    EXPECT_EQ(held.slot, 0); // slot 0 was free again
    ASSERT_TRUE(held.jitterPx);
    EXPECT_NEAR(*held.jitterPx, 5.0, 1e-9);
    EXPECT_FALSE(held.lineMaxDevPx);

    for (int k = 0; k < SLOT_COUNT; k++) {
        EXPECT_EQ(r.strokes[2 + k].id, 20u + k);
        EXPECT_EQ(r.strokes[2 + k].slot, k);
    }
    const report::Stroke& stuck = r.strokes.back();
    EXPECT_EQ(stuck.id, 42u);
    EXPECT_EQ(stuck.slot, -1);
    EXPECT_FALSE(stuck.lifted);
}

TEST_F(KovrinLogTest, ScriptedTimesComeBackFromTouchCsv) {
    CreateWindowUnderTest();
    twocontacts::Lines lines = twocontacts::Play([&](const std::vector<twocontacts::Input>& inputs) {
        std::vector<TOUCHINPUT> records;
        for (const twocontacts::Input& in : inputs) {
            const DWORD phases[] = {DOWN, MOVE, UP};
            TOUCHINPUT r = At(in.id, phases[in.phase], 0, 0);
            r.x += in.hx;
            r.y += in.hy;
            r.dwTime = in.timeMs;
            r.dwMask = in.contactW ? TOUCHINPUTMASKF_CONTACTAREA : 0;
            r.cxContact = in.contactW;
            r.cyContact = in.contactH;
            records.push_back(r);
        }
        SendTouch(records);
    });

    report::Report r = ReadTouchLog("touch.csv");
    EXPECT_EQ(r.input.format, report::InputFormat::TouchCsv);
    EXPECT_EQ(r.input.badLines, 0u);
    EXPECT_EQ(r.input.lines, lines.last);
    ASSERT_EQ(r.strokes.size(), 2u);
    const report::Stroke& one = r.strokes[0];
    EXPECT_EQ(one.durationMs, 2060u);
    EXPECT_EQ(one.minRateHz, 119.0); // a second that holds the stall misses 6.5 reports
    EXPECT_EQ(one.maxIntervalMs, 60u);
    EXPECT_EQ(one.maxIntervalLine, lines.stall);
    EXPECT_EQ(one.contactWPx, 12.0);
    EXPECT_EQ(one.contactHPx, 14.0);
    EXPECT_EQ(r.strokes[1].minRateHz, 63.0);
    ASSERT_TRUE(r.separation);
    EXPECT_EQ(r.separation->px, 35.0);
    EXPECT_EQ(r.separation->movedId, 2u);
    EXPECT_EQ(r.separation->line, lines.secondDown);
    EXPECT_EQ(r.minStepPx, 0.25);
}
