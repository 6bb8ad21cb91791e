// Painting of forms and controls on the headless window system: update regions with and
// without erasing, validation, stacking, clipping of windows, opaque repaints, painting
// into a foreign context, and what is presented.
#include "VisualTestSupport.h"

namespace {

constexpr TColor Stained = 0xFF00FF;

TRect R(int l, int t, int r, int b) { return Rect(l, t, r, b); }

class PaintingTest : public HeadlessTest { };

TEST_F(PaintingTest, GraphicControlCoveredByWindowedSiblingIsNotPaintedThere)
{
    TForm* f = NewForm();
    auto* g = new TColorBox(f, f, R(10, 10, 60, 60), clRed);
    new TColorWindow(f, f, R(30, 30, 80, 80), clBlue);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 15, 15), clRed);
    EXPECT_EQ(Pixel(f, 35, 35), clBlue);

    // Direct repaint of the opaque control: only its uncovered part is touched.
    Stain(f, R(10, 10, 60, 60));
    g->Repaint();
    EXPECT_EQ(Pixel(f, 15, 15), clRed);
    EXPECT_EQ(Pixel(f, 35, 35), Stained);

    // Through the parent's pending paint: the same clipping.
    Stain(f, R(10, 10, 60, 60));
    g->Invalidate();
    f->Update();
    EXPECT_EQ(Pixel(f, 59, 29), clRed);
    EXPECT_EQ(Pixel(f, 59, 59), Stained);
}

TEST_F(PaintingTest, InvalidateWithEraseRepaintsTheBackgroundWithoutEraseNot)
{
    TForm* f = NewForm();
    auto* p = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen, false);
    Application->ProcessMessages();
    ASSERT_EQ(Pixel(f, 20, 20), clGreen);

    Stain(f, R(10, 10, 30, 30));
    int erases = p->Erases;
    plat::Region r({ 10, 10, 30, 30 });
    p->InvalidateRgn(&r, false);
    p->Update();
    EXPECT_EQ(p->Erases, erases);
    EXPECT_EQ(Pixel(f, 20, 20), Stained);
    EXPECT_TRUE(p->UpdateRegion().Empty());

    p->InvalidateRgn(&r, true);
    p->Update();
    EXPECT_EQ(p->Erases, erases + 1);
    EXPECT_EQ(Pixel(f, 20, 20), clGreen);
    EXPECT_EQ(Pixel(f, 9, 9), clGreen);
    EXPECT_EQ(Pixel(f, 30, 30), clGreen);
}

TEST_F(PaintingTest, ValidateRgnRemovesAnAreaFromThePendingPaint)
{
    TForm* f = NewForm();
    auto* p = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen, false);
    Application->ProcessMessages();
    Stain(f, R(0, 0, 100, 100));

    plat::Region all({ 0, 0, 60, 60 }), hole({ 20, 20, 40, 40 });
    p->InvalidateRgn(&all, true);
    p->ValidateRgn(&hole);
    int64_t before = p->PaintedPixels();
    p->Update();
    EXPECT_EQ(p->PaintedPixels() - before, 60 * 60 - 20 * 20);
    EXPECT_EQ(Pixel(f, 10, 10), clGreen);
    EXPECT_EQ(Pixel(f, 30, 30), Stained);
    EXPECT_EQ(Pixel(f, 70, 70), Stained);

    // Validating everything leaves nothing to paint.
    p->InvalidateRgn(&all, true);
    p->ValidateRgn(nullptr);
    before = p->PaintedPixels();
    p->Update();
    EXPECT_EQ(p->PaintedPixels(), before);
}

TEST_F(PaintingTest, UpdatePaintsInStackingOrderAndOnlyInsideTheUpdateArea)
{
    TForm* f = NewForm();
    auto* p = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen, false);
    std::vector<std::string> log;
    auto* g1 = new TColorBox(f, p, R(10, 10, 50, 50), clRed, &log);
    auto* g2 = new TColorBox(f, p, R(30, 30, 70, 70), clBlue, &log);
    auto* g3 = new TColorBox(f, p, R(80, 80, 95, 95), clYellow, &log);
    g1->SetName("g1");
    g2->SetName("g2");
    g3->SetName("g3");
    Application->ProcessMessages();
    log.clear();
    Stain(f, R(0, 0, 100, 100));

    plat::Region update({ 20, 20, 60, 60 });
    p->InvalidateRgn(&update, true);
    p->Update();
    EXPECT_EQ(log, (std::vector<std::string> { "g1", "g2" }));
    EXPECT_EQ(Pixel(f, 25, 25), clRed);
    EXPECT_EQ(Pixel(f, 40, 40), clBlue);   // g2 lies above g1
    EXPECT_EQ(Pixel(f, 55, 25), clGreen);  // erased background, no child there
    EXPECT_EQ(Pixel(f, 15, 15), Stained);  // outside the update area
    EXPECT_EQ(Pixel(f, 65, 65), Stained);
    EXPECT_EQ(Pixel(f, 85, 85), Stained);
}

TEST_F(PaintingTest, OpaqueGraphicControlRepaintsWithoutErasingItsParent)
{
    TForm* f = NewForm();
    auto* p = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen);
    auto* g = new TColorBox(f, p, R(10, 10, 40, 40), clRed);
    auto* above = new TColorBox(f, p, R(30, 30, 45, 45), clYellow);
    auto* clear = new TColorBox(f, p, R(50, 50, 80, 80), clBlue, nullptr, false);
    Application->ProcessMessages();
    int erases = p->Erases, faces = p->PaintCount();
    int gPaints = g->PaintCount(), abovePaints = above->PaintCount();

    Stain(f, R(10, 10, 45, 45));
    g->Repaint();
    EXPECT_EQ(p->Erases, erases);
    EXPECT_EQ(p->PaintCount(), faces);
    EXPECT_EQ(g->PaintCount(), gPaints + 1);
    EXPECT_EQ(above->PaintCount(), abovePaints + 1);  // the controls above come along
    EXPECT_EQ(Pixel(f, 15, 15), clRed);
    EXPECT_EQ(Pixel(f, 35, 35), clYellow);
    EXPECT_EQ(Pixel(f, 42, 42), Stained);  // the part of `above` outside g stays

    // A control that is not opaque goes through its parent, background first.
    clear->Repaint();
    EXPECT_EQ(p->Erases, erases + 1);
    EXPECT_EQ(p->PaintCount(), faces + 1);
}

// A graphic control that says it is opaque but paints only its left half, so that what
// its parent's background does beneath it shows in the other half.
class THalfPaintedBox : public TColorBox {
public:
    using TColorBox::TColorBox;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(FFill);
        Canvas()->FillRect(Rect(0, 0, Width() / 2, Height()));
    }
};

// An erase whose whole area lies under an opaque graphic child is painted over by it, so
// the background is not painted there; the erase message still comes. An erase that
// reaches beyond the child paints the background as asked, beneath the child too.
TEST_F(PaintingTest, EraseWhollyUnderAnOpaqueGraphicChildIsLeftToTheChild)
{
    TForm* f = NewForm();
    auto* p = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen, false);
    new THalfPaintedBox(f, p, R(10, 10, 50, 50), clRed);
    Application->ProcessMessages();
    Stain(f, R(0, 0, 100, 100));
    int erases = p->Erases;

    plat::Region inside({ 20, 20, 40, 40 });
    p->InvalidateRgn(&inside, true);
    p->Update();
    EXPECT_EQ(p->Erases, erases + 1);
    EXPECT_EQ(Pixel(f, 25, 25), clRed);
    EXPECT_EQ(Pixel(f, 35, 35), Stained);   // not erased: the child holds the whole area

    plat::Region across({ 5, 5, 40, 40 });
    p->InvalidateRgn(&across, true);
    p->Update();
    EXPECT_EQ(p->Erases, erases + 2);
    EXPECT_EQ(Pixel(f, 7, 7), clGreen);
    EXPECT_EQ(Pixel(f, 25, 25), clRed);
    EXPECT_EQ(Pixel(f, 35, 35), clGreen);   // erased beneath the child as well
    EXPECT_EQ(Pixel(f, 45, 45), Stained);   // outside the area
}

TEST_F(PaintingTest, ParentPaintsItsFaceIntoAForeignContextWithoutTouchingItsUpdateRegion)
{
    TForm* f = NewForm();
    auto* p = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen, false);
    new TColorBox(f, p, R(10, 10, 20, 20), clRed);
    Application->ProcessMessages();
    TRect pending = R(0, 0, 5, 5);
    p->InvalidateRect(&pending, true);
    plat::Region before = p->UpdateRegion();

    plat::Surface s(30, 30);
    s.Fill(clWhite);
    plat::Dc dc(&s);
    dc.SetOrigin({ -5, -5 });
    dc.IntersectClipRect({ 5, 5, 25, 25 });
    p->PaintWindow(&dc);
    EXPECT_EQ(s.GetColor(0, 0), clGreen);
    EXPECT_EQ(s.GetColor(19, 19), clGreen);   // the face only: no children
    EXPECT_EQ(s.GetColor(20, 20), clWhite);   // outside the clip
    EXPECT_EQ(p->UpdateRegion(), before);
}

TEST_F(PaintingTest, GraphicControlPaintsItselfIntoAGivenContextAtItsOrigin)
{
    TForm* f = NewForm();
    auto* g = new TColorBox(f, f, R(40, 40, 70, 70), clRed);
    plat::Surface s(20, 20);
    s.Fill(clWhite);
    plat::Dc dc(&s);
    dc.SetOrigin({ 5, 5 });
    dc.IntersectClipRect({ 0, 0, 10, 10 });
    int paints = g->PaintCount();
    g->Perform(WM_PAINT, WPARAM(&dc), 0);
    EXPECT_EQ(g->PaintCount(), paints + 1);
    EXPECT_EQ(s.GetColor(5, 5), clRed);
    EXPECT_EQ(s.GetColor(14, 14), clRed);
    EXPECT_EQ(s.GetColor(15, 15), clWhite);
    EXPECT_EQ(s.GetColor(4, 4), clWhite);
}

TEST_F(PaintingTest, OnlyTheChangedPartIsPresented)
{
    TForm* f = NewForm();
    auto* p = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen);
    Application->ProcessMessages();
    EXPECT_EQ(ws.PresentedColor(f->WindowHandle(), 50, 50), clGreen);
    ws.ResetPresentStats();
    TRect r = R(0, 0, 10, 10);
    p->InvalidateRect(&r, true);
    Application->ProcessMessages();
    EXPECT_EQ(ws.PresentedPixels(), 100);
    Application->ProcessMessages();
    EXPECT_EQ(ws.PresentedPixels(), 100);   // nothing new to show
}

TEST_F(PaintingTest, ParentPaintDoesNotCoverWindowedChildren)
{
    TForm* f = NewForm();
    auto* p = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen);
    auto* c = new TColorWindow(f, p, R(20, 20, 40, 40), clBlue);
    Application->ProcessMessages();
    Stain(f, R(0, 0, 100, 100));
    int childPaints = c->PaintCount();
    p->Invalidate();
    p->Update();
    EXPECT_EQ(Pixel(f, 5, 5), clGreen);
    EXPECT_EQ(Pixel(f, 25, 25), Stained);     // the child window is clipped out
    EXPECT_EQ(c->PaintCount(), childPaints);  // and not painted by the parent's Update
}

TEST_F(PaintingTest, MovingAWindowRepaintsWhatItUncovered)
{
    TForm* f = NewForm();
    auto* w = new TColorWindow(f, f, R(10, 10, 30, 30), clBlue);
    Application->ProcessMessages();
    ASSERT_EQ(Pixel(f, 15, 15), clBlue);
    w->SetBounds(50, 50, 20, 20);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 15, 15), clWhite);
    EXPECT_EQ(Pixel(f, 55, 55), clBlue);
    EXPECT_EQ(Pixel(f, 69, 69), clBlue);
    EXPECT_EQ(Pixel(f, 70, 70), clWhite);
}

TEST_F(PaintingTest, WindowShapeClipsPainting)
{
    TForm* f = NewForm();
    auto* w = new TColorWindow(f, f, R(0, 0, 40, 40), clBlue);
    plat::Region shape({ 0, 0, 20, 20 });
    w->SetWindowRgn(&shape, true);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 5, 5), clBlue);
    EXPECT_EQ(Pixel(f, 30, 30), clWhite);
    w->SetWindowRgn(nullptr, true);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 30, 30), clBlue);
}

TEST_F(PaintingTest, HiddenFormKeepsItsPaintPendingUntilShown)
{
    auto* f = new TForm(Application);
    f->SetBounds(0, 0, 50, 50);
    auto* p = new TColorWindow(f, f, R(0, 0, 50, 50), clRed);
    Application->ProcessMessages();
    EXPECT_EQ(p->PaintCount(), 0);
    f->Show();
    Application->ProcessMessages();
    EXPECT_EQ(p->PaintCount(), 1);
    EXPECT_EQ(Pixel(f, 10, 10), clRed);
    EXPECT_TRUE(ws.IsVisible(f->WindowHandle()));
}

TEST_F(PaintingTest, HidingAControlRepaintsWhatLiesBeneath)
{
    TForm* f = NewForm();
    auto* g = new TColorBox(f, f, R(10, 10, 20, 20), clRed);
    auto* w = new TColorWindow(f, f, R(30, 30, 40, 40), clBlue);
    Application->ProcessMessages();
    g->Hide();
    w->Hide();
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 15, 15), clWhite);
    EXPECT_EQ(Pixel(f, 35, 35), clWhite);
    w->Show();
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 35, 35), clBlue);
}

} // namespace

namespace {

TEST_F(PaintingTest, LowerWindowDoesNotPaintOverAWindowedSiblingAbove)
{
    TForm* f = NewForm();
    auto* low = new TColorWindow(f, f, R(0, 0, 50, 50), clRed);
    new TColorWindow(f, f, R(25, 25, 75, 75), clBlue);
    Application->ProcessMessages();
    Stain(f, R(0, 0, 100, 100));
    low->Repaint();
    EXPECT_EQ(Pixel(f, 10, 10), clRed);
    EXPECT_EQ(Pixel(f, 30, 30), Stained);
    EXPECT_EQ(Pixel(f, 60, 60), Stained);
    low->BringToFront();
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 30, 30), clRed);
}

// A shape moving over a dial the way a needle does: the place it leaves is erased and
// gets the dial back, the newly covered place is painted without erasing, and the
// overlap of old and new is validated and not painted at all.
TEST_F(PaintingTest, RegionUpdateOfAMovingShapePaintsOnlyTheDifference)
{
    TForm* f = NewForm();
    auto* panel = new TColorWindow(f, f, R(0, 0, 100, 100), clGreen, false);
    new TColorBox(f, panel, R(0, 0, 100, 100), clWhite);  // the dial, opaque
    TRect shape = R(10, 10, 30, 30);
    struct TShapeBox : TGraphicControl {
        using TGraphicControl::TGraphicControl;
        TRect* at = nullptr;
        void Paint() override
        {
            Canvas()->Brush()->SetColor(0x808080);
            Canvas()->FillRect(*at);
        }
    };
    auto* needle = new TShapeBox(f);
    needle->at = &shape;
    needle->SetBounds(0, 0, 100, 100);
    needle->SetParent(panel);
    Application->ProcessMessages();
    ASSERT_EQ(Pixel(f, 15, 15), 0x808080u);

    auto rgn = [](const TRect& r) { return plat::Region({ r.Left, r.Top, r.Right, r.Bottom }); };
    TRect next = R(20, 10, 40, 30);
    plat::Region erase = rgn(R(8, 8, 32, 32));   // the old shape with a margin
    plat::Region old = rgn(shape), now = rgn(next);
    plat::Region e2 = plat::Region::Combine(erase, now, plat::RegionOp::Diff);
    plat::Region overlap = plat::Region::Combine(old, now, plat::RegionOp::And);
    plat::Region n2 = plat::Region::Combine(now, overlap, plat::RegionOp::Diff);
    shape = next;
    Stain(f, R(20, 10, 30, 30));  // the overlap: must stay as it is
    int erases = panel->Erases;
    int64_t before = panel->PaintedPixels();
    panel->InvalidateRgn(&e2, true);
    panel->InvalidateRgn(&n2, false);
    panel->ValidateRgn(&overlap);
    panel->Update();
    EXPECT_EQ(panel->Erases, erases + 1);
    EXPECT_EQ(panel->PaintedPixels() - before, e2.Area() + n2.Area());
    EXPECT_EQ(Pixel(f, 12, 12), clWhite);     // left behind: the dial again
    EXPECT_EQ(Pixel(f, 9, 9), clWhite);       // the margin too
    EXPECT_EQ(Pixel(f, 35, 20), 0x808080u);   // newly covered
    EXPECT_EQ(Pixel(f, 25, 20), Stained);     // the overlap was not painted
    EXPECT_EQ(Pixel(f, 45, 20), clWhite);
}

} // namespace
