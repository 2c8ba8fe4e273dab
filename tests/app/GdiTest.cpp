// The scoped GDI helpers, watched through the GDI recorder: what they delete,
// put back and give back, and in which order; and the recorder's balance check
// itself, which must name what a drawing left behind.
#include "app/Gdi.h"

#include "support/GdiRecorder.h"
#include "support/WindowFixture.h"

TEST(GdiHelpers, ObjectsAreDeletedWhenTheirScopeEnds) {
    HGDIOBJ pen = nullptr;
    gdirec::Start();
    {
        CGdiObject<HPEN> held(CreatePen(PS_SOLID, 1, 0));
        pen = held.Get();
        EXPECT_NE(GetObjectType(pen), 0u);
        CGdiObject<HBRUSH> failed(nullptr); // a failed creation is never deleted
        EXPECT_FALSE(failed);
    }
    EXPECT_EQ(GetObjectType(pen), 0u);
    {
        CGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
        brush.Reset(CreateSolidBrush(RGB(4, 5, 6)));
    }
    gdirec::Stop();
    EXPECT_EQ(gdirec::Trace(), "CreatePen=pen1 DeleteObject(pen1) CreateSolidBrush=brush1 "
                               "CreateSolidBrush=brush2 DeleteObject(brush1) DeleteObject(brush2)");
    EXPECT_TRUE(gdirec::Balanced());
}

TEST(GdiHelpers, SelectionsArePutBackInReverseBeforeTheirObjectsGo) {
    CMemoryDc dc(nullptr);
    ASSERT_TRUE(dc);
    HGDIOBJ penBefore = GetCurrentObject(dc.Get(), OBJ_PEN);
    HGDIOBJ brushBefore = GetCurrentObject(dc.Get(), OBJ_BRUSH);
    gdirec::Start();
    {
        CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 3, 0));
        CSelection penSelection(dc.Get(), pen.Get());
        CGdiObject<HBRUSH> brush(CreateSolidBrush(0));
        CSelection brushSelection(dc.Get(), brush.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
        CSelection failed(dc.Get(), nullptr); // nothing to put back
    }
    gdirec::Stop();
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), penBefore);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brushBefore);
    EXPECT_EQ(gdirec::Trace(),
              "CreatePen=pen1 SelectObject(pen1) CreateSolidBrush=brush1 SelectObject(brush1) "
              "SelectObject(null) SelectObject(other) DeleteObject(brush1) "
              "SelectObject(other) DeleteObject(pen1)");
    EXPECT_TRUE(gdirec::Balanced());
}

using GdiDcTest = WindowTest;

TEST_F(GdiDcTest, PaintWindowAndMemoryDcsGoBackTheWayTheyCame) {
    CreateWindowUnderTest();
    gdirec::Start();
    {
        CPaintDc paint(m_hwnd);
        EXPECT_EQ(paint.Paint().hdc, paint.Get());
        EXPECT_FALSE(gdirec::Balanced()); // the paint is not ended yet
        CWindowDc client(m_hwnd);
        CWindowDc whole(m_hwnd, CWindowDc::WHOLE_WINDOW);
        CMemoryDc memory(whole.Get());
        EXPECT_TRUE(paint && client && whole && memory);
    }
    gdirec::Stop();
    EXPECT_EQ(gdirec::Trace(),
              "BeginPaint=dc1 GetDC=dc2 GetWindowDC=dc3 CreateCompatibleDC=dc4 DeleteDC(dc4) "
              "ReleaseDC(dc3) ReleaseDC(dc2) EndPaint(dc1)");
    EXPECT_TRUE(gdirec::Balanced());
}

TEST(GdiRecorder, BalanceCheckNamesWhatADrawingLeftBehind) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ stockPen = GetCurrentObject(dc, OBJ_PEN);

    gdirec::Start();
    HPEN leaked = CreatePen(PS_SOLID, 1, 0);
    EXPECT_FALSE(gdirec::Balanced());
    DeleteObject(leaked);
    EXPECT_TRUE(gdirec::Balanced());

    gdirec::Start();
    HBRUSH brush = CreateSolidBrush(0);
    HGDIOBJ stockBrush = SelectObject(dc, brush);
    DeleteObject(brush); // still selected
    SelectObject(dc, stockBrush);
    EXPECT_FALSE(gdirec::Balanced());

    gdirec::Start();
    SelectObject(dc, GetStockObject(WHITE_PEN)); // never put back
    EXPECT_FALSE(gdirec::Balanced());
    SelectObject(dc, stockPen);
    EXPECT_TRUE(gdirec::Balanced());

    gdirec::Start();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    EXPECT_FALSE(gdirec::Balanced());
    DeleteDC(memory);
    EXPECT_FALSE(gdirec::Balanced());
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(gdirec::Balanced());
    gdirec::Stop();
    DeleteDC(dc);
}
