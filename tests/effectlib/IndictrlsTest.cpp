// The indicator controls: the LED bar's cells and colours (with the mended normal mark
// and empty bars), the number panel's tapered segments over dim eights, and the button's
// press and hover blinking.
#include "EffectControlsTestSupport.h"

#include "effectlib/Indictrls.h"
#include "framework/graphics/Bitmap.h"

namespace {

using plat::MouseButton;

const TColor Lime = 0x00FF00, Red = 0x0000FF, Grey = 0x808080;

class IndiTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(240, 160, 0, 0, clWhite);
        id = form->WindowHandle();
    }
    template <class C>
    C* Place(int x, int y, int w, int h)
    {
        auto* c = new C(form);
        c->SetParent(form);
        c->SetBounds(x, y, w, h);
        Pump();
        return c;
    }
    TColor At(TControl* c, int x, int y) { return Pixel(form, c->Left() + x, c->Top() + y); }
    void Tick(int ms)
    {
        plat::AdvanceManualClock(ms);
        Pump();
    }

    TForm* form = nullptr;
    uintptr_t id = 0;
};

} // namespace

TEST_F(IndiTest, GaugeLightsCellsAndColoursThoseBeyondNormal)
{
    auto* g = Place<TepIndiGauge>(10, 10, 100, 20);
    EXPECT_EQ(g->IndiNums(), 10);
    EXPECT_EQ(g->IndiOffset(), 1);
    EXPECT_EQ(g->NormalValue(), 100);
    EXPECT_EQ(g->Color(), TColor(0));
    EXPECT_TRUE(g->ControlStyle() & csOpaque);
    g->SetProgress(55);
    EXPECT_EQ(g->LitCells(), 5);
    Pump();
    // Cell i: (1 + 10 (i - 1), 1, 10 + 10 (i - 1), 19).
    EXPECT_EQ(At(g, 1 + 40, 1), Lime);
    EXPECT_EQ(At(g, 9 + 40, 18), Lime);
    EXPECT_EQ(At(g, 10 + 40, 10), TColor(0));   // the gap
    EXPECT_EQ(At(g, 55, 10), Grey);
    EXPECT_EQ(At(g, 5, 19), TColor(0));

    // 59 still lights five cells: no repaint.
    Stain(form, Rect(10, 10, 110, 30));
    g->SetProgress(59);
    Pump();
    EXPECT_EQ(Pixel(form, 15, 15), TColor(0xFF00FF));

    g->SetNormalValue(70);
    g->SetProgress(90);
    Pump();
    for (int i = 1; i <= 10; ++i) {
        const TColor want = i <= 7 ? Lime : i <= 9 ? Red : Grey;
        EXPECT_EQ(g->CellColor(i), want) << i;
        EXPECT_EQ(At(g, 5 + 10 * (i - 1), 10), want) << i;
    }
    g->SetProgress(150);
    EXPECT_EQ(g->Progress(), 100);
}

TEST_F(IndiTest, GaugeNormalMarkIsClampedAndEmptyBarsDrawNothing)
{
    auto* g = Place<TepIndiGauge>(10, 10, 100, 20);
    g->SetProgress(60);
    g->SetNormalValue(-10);
    EXPECT_EQ(g->NormalCells(), 0);
    EXPECT_EQ(g->CellColor(1), Red);
    EXPECT_EQ(g->CellColor(6), Red);
    EXPECT_EQ(g->CellColor(7), Grey);
    g->SetNormalValue(300);
    EXPECT_EQ(g->NormalCells(), 10);
    EXPECT_EQ(g->CellColor(6), Lime);

    // A range of one value: 0 %, and the mark at the end.
    g->SetMinValue(100);
    EXPECT_EQ(g->GetPercent(), 0);
    EXPECT_EQ(g->NormalCells(), 10);
    Pump();
    EXPECT_EQ(At(g, 5, 10), Grey);

    g->SetIndiNums(0);
    Pump();
    EXPECT_EQ(g->IndiNums(), 0);
    EXPECT_EQ(At(g, 5, 10), TColor(0));
    EXPECT_EQ(At(g, 95, 10), TColor(0));
}

TEST_F(IndiTest, VerticalGaugeRunsBottomToTop)
{
    auto* g = Place<TepIndiGauge>(10, 10, 20, 100);
    g->SetKind(gkVerticalBar);
    g->SetProgress(20);
    Pump();
    // Cell 1: (1, 90, 19, 99); cell 2: (1, 80, 19, 89); cell 3 unlit.
    EXPECT_EQ(At(g, 1, 98), Lime);
    EXPECT_EQ(At(g, 18, 90), Lime);
    EXPECT_EQ(At(g, 10, 89), TColor(0));
    EXPECT_EQ(At(g, 10, 80), Lime);
    EXPECT_EQ(At(g, 10, 75), Grey);
    EXPECT_EQ(At(g, 10, 99), TColor(0));
}

TEST_F(IndiTest, NumPanelDrawsTaperedSegmentsRightAlignedOverDimEights)
{
    auto* p = Place<TepNumPanel>(10, 10, 100, 50);
    EXPECT_EQ(p->CountNums(), 3);
    EXPECT_EQ(p->IndiWidth(), 2);
    EXPECT_EQ(p->IndiColor(), Lime);
    EXPECT_EQ(p->UnActiveColor(), Grey);
    p->SetValue(-7);
    Pump();
    // Width per position 32; boxes inset by 3. Position 0 shows only the dim eight.
    EXPECT_EQ(At(p, 15, 24), Grey);
    // Position 1: the minus, middle line (38, 24)-(60, 24), pointed: at y 22 it runs
    // from 40.
    EXPECT_EQ(At(p, 45, 24), Lime);
    EXPECT_EQ(At(p, 40, 22), Lime);
    EXPECT_NE(At(p, 39, 22), Lime);
    EXPECT_EQ(At(p, 36, 10), Grey);     // the eight's upper left stays dim
    // Position 2: the seven (top, both right segments).
    EXPECT_EQ(At(p, 80, 4), Lime);
    EXPECT_EQ(At(p, 93, 10), Lime);
    EXPECT_EQ(At(p, 93, 35), Lime);
    EXPECT_EQ(At(p, 68, 10), Grey);
    EXPECT_EQ(At(p, 80, 24), Grey);
    EXPECT_EQ(At(p, 80, 45), Grey);

    EXPECT_EQ(TepNumPanel::Segments('8'), 0xFEu);
    EXPECT_EQ(TepNumPanel::Segments('x'), 0u);

    p->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(p, 45, 24), Grey);
    EXPECT_EQ(At(p, 80, 4), Grey);

    // No positions: nothing but the background, and the count is kept.
    p->SetCountNums(0);
    Pump();
    EXPECT_EQ(p->CountNums(), 0);
    EXPECT_EQ(At(p, 15, 24), TColor(0));
    p->SetCountNums(12);
    EXPECT_EQ(p->CountNums(), 0);
}

TEST_F(IndiTest, ThickSegmentsInASmallBoxStayInsideTheirLines)
{
    // Half-thickness 8 for segments 10 pixels long: the pairs stop where they would have
    // no length (e = 5), so no line is drawn backwards beside the segment. The "1" lies
    // on x = 31 (box 0..40 inset by 9), so nothing may be lit right of x = 35.
    TBitmap b;
    b.SetSize(60, 60);
    b.Handle()->Fill(TColor(0));
    b.Canvas()->Pen()->SetColor(Lime);
    TepNumPanel::DrawNum(b.Canvas(), 0, 0, 40, 40, '1', 8);
    int lit = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (b.Handle()->GetColor(x, y) == Lime) {
                ++lit;
                EXPECT_LE(x, 35);
                EXPECT_GE(x, 27);
            }
    EXPECT_GT(lit, 0);
}

TEST_F(IndiTest, ButtonBlinksTextOnALeftPressAndFrameOnEnter)
{
    auto* b = Place<TepIndiButton>(10, 10, 100, 40);
    EXPECT_EQ(b->FrameColor(), TColor(0xFF0000));
    EXPECT_EQ(b->UnActiveColor(), Grey);
    EXPECT_EQ(b->Font()->Color(), TColor(255));
    int downs = 0;
    b->OnMouseDown = TMouseEvent::FromFunction(
        [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; });
    ws.MouseMove(id, 50, 30);
    Pump();
    EXPECT_TRUE(b->PointerInside());
    EXPECT_TRUE(b->Blinking());
    EXPECT_EQ(At(b, 0, 0), TColor(0xFF0000));
    Tick(115);
    EXPECT_FALSE(b->FrameLit());
    EXPECT_EQ(At(b, 0, 0), Grey);
    Tick(115);
    EXPECT_TRUE(b->FrameLit());
    EXPECT_FALSE(b->Blinking());

    ws.MouseDown(id, 50, 30, MouseButton::Right);
    ws.MouseUp(id, 50, 30, MouseButton::Right);
    Pump();
    EXPECT_FALSE(b->Blinking());
    EXPECT_EQ(downs, 0);

    ws.MouseDown(id, 50, 30, MouseButton::Left);
    Pump();
    EXPECT_EQ(downs, 1);
    std::vector<bool> lit;
    for (int i = 0; i < 5; ++i) {
        Tick(115);
        lit.push_back(b->TextLit());
    }
    EXPECT_EQ(lit, (std::vector<bool> { false, true, false, true, true }));
    EXPECT_FALSE(b->Blinking());
    ws.MouseUp(id, 50, 30, MouseButton::Left);
    ws.MouseMove(id, 200, 150);
    Pump();
    EXPECT_FALSE(b->PointerInside());
}
