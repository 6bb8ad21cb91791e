// Inverted overlays on a form: shown inverted over whatever is painted beneath, kept
// inverted through repaints, and gone without a trace when toggled off.
#include "VisualTestSupport.h"

namespace {

class OverlayTest : public HeadlessTest { };

TColor Inverted(TColor c) { return ~c & 0xFFFFFF; }

TEST_F(OverlayTest, ToggledOnInvertsToggledOffRestoresExactly)
{
    TForm* f = NewForm(100, 100);
    new TColorWindow(f, f, Rect(0, 0, 50, 100), clRed);
    Pump();
    const TRect line = Rect(40, 10, 43, 90);
    f->ToggleInvertOverlay(line);
    EXPECT_TRUE(f->HasInvertOverlay(line));
    EXPECT_EQ(Pixel(f, 40, 10), Inverted(clRed));
    EXPECT_EQ(Pixel(f, 42, 89), Inverted(clRed));
    EXPECT_EQ(Pixel(f, 43, 50), clRed);      // right edge left out
    EXPECT_EQ(Pixel(f, 41, 9), clRed);
    EXPECT_EQ(Pixel(f, 41, 90), clRed);
    EXPECT_FALSE(f->PendingPresent().Empty());

    f->ToggleInvertOverlay(line);
    EXPECT_FALSE(f->HasInvertOverlay(line));
    EXPECT_EQ(Pixel(f, 40, 10), clRed);
    EXPECT_EQ(Pixel(f, 42, 89), clRed);
}

// A control repainting under a visible line must not wipe it, and the later toggle must
// bring back the fresh paint, not the stale one.
TEST_F(OverlayTest, PaintsBeneathKeepTheOverlayInverted)
{
    TForm* f = NewForm(100, 100);
    auto* box = new TColorWindow(f, f, Rect(30, 0, 50, 100), clRed);
    Pump();
    const TRect line = Rect(45, 0, 55, 100);   // half over the box, half over the form
    f->ToggleInvertOverlay(line);
    ASSERT_EQ(Pixel(f, 47, 50), Inverted(clRed));
    ASSERT_EQ(Pixel(f, 52, 50), Inverted(clWhite));

    box->SetColor(clBlue);
    box->Repaint();
    EXPECT_EQ(Pixel(f, 35, 50), clBlue);
    EXPECT_EQ(Pixel(f, 47, 50), Inverted(clBlue));
    EXPECT_EQ(Pixel(f, 52, 50), Inverted(clWhite));

    f->ToggleInvertOverlay(line);
    EXPECT_EQ(Pixel(f, 47, 50), clBlue);
    EXPECT_EQ(Pixel(f, 47, 99), clBlue);
    EXPECT_EQ(Pixel(f, 52, 50), clWhite);
}

TEST_F(OverlayTest, OverlappingAndOutsideOverlaysStayConsistent)
{
    TForm* f = NewForm(60, 60);
    Pump();
    const TRect a = Rect(10, 10, 30, 30), b = Rect(20, 20, 40, 40);
    f->ToggleInvertOverlay(a);
    f->ToggleInvertOverlay(b);
    EXPECT_EQ(Pixel(f, 25, 25), clWhite);    // inverted twice
    EXPECT_EQ(Pixel(f, 15, 15), Inverted(clWhite));
    f->Invalidate();
    f->Update();
    EXPECT_EQ(Pixel(f, 25, 25), clWhite);
    EXPECT_EQ(Pixel(f, 35, 35), Inverted(clWhite));
    f->ToggleInvertOverlay(a);
    f->ToggleInvertOverlay(b);
    EXPECT_EQ(Pixel(f, 15, 15), clWhite);
    EXPECT_EQ(Pixel(f, 35, 35), clWhite);

    // Partly or wholly outside the framebuffer, or empty: nothing is written out there.
    f->ToggleInvertOverlay(Rect(50, 50, 500, 500));
    EXPECT_EQ(Pixel(f, 59, 59), Inverted(clWhite));
    f->ToggleInvertOverlay(Rect(50, 50, 500, 500));
    EXPECT_EQ(Pixel(f, 59, 59), clWhite);
    f->ToggleInvertOverlay(Rect(5, 5, 5, 20));
    EXPECT_FALSE(f->HasInvertOverlay(Rect(5, 5, 5, 20)));
}

} // namespace
