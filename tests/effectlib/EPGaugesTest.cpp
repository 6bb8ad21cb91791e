// The gauges: percent and bar figures for both kinds, the frames and bars as pixels, the
// glyph tiling, empty ranges and clamping, and the soft gauge's blurred bar and outline.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPGauges.h"
#include "effectlib/Grutils.h"
#include "framework/graphics/Bitmap.h"

#include <climits>

namespace {

class GaugeTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(240, 160, 0, 0, clWhite);
    }
    template <class G>
    G* Place(int x, int y)
    {
        auto* g = new G(form);
        g->SetParent(form);
        g->SetBounds(x, y, 100, 50);
        g->SetColor(clWhite);
        return g;
    }
    TColor At(TControl* c, int x, int y) { return Pixel(form, c->Left() + x, c->Top() + y); }

    TForm* form = nullptr;
};

} // namespace

TEST_F(GaugeTest, PercentIsComputedInDoubleAndZeroForAnEmptyRange)
{
    EXPECT_EQ(GaugePercent(50, 0, 100), 50);
    EXPECT_EQ(GaugePercent(3, 0, 100), 3);
    EXPECT_EQ(GaugePercent(2, 0, 3), 66);
    EXPECT_EQ(GaugePercent(7, 7, 7), 0);
    EXPECT_EQ(GaugePercent(INT_MAX, INT_MIN, INT_MAX), 100);
    EXPECT_EQ(GaugePercent(0, INT_MIN, INT_MAX), 50);
}

TEST_F(GaugeTest, FlatGaugeDefaultsAndBarFigures)
{
    auto* g = Place<TepGauge>(10, 10);
    EXPECT_EQ(TepGauge(nullptr).Width(), 100);
    EXPECT_EQ(g->FrameInnerColor(), clBtnHighlight);
    EXPECT_EQ(g->FrameOuterColor(), clBtnShadow);
    EXPECT_EQ(g->BarInnerColor(), clBtnHighlight);
    EXPECT_EQ(g->BarOuterColor(), clBtnShadow);
    EXPECT_EQ(g->BarColor(), clBtnFace);
    EXPECT_TRUE(g->ShowText());
    EXPECT_FALSE(g->UseGlyph());
    EXPECT_EQ(g->Kind(), gkHorizontalBar);
    EXPECT_EQ(g->MaxValue(), 100);

    g->SetProgress(50);
    EXPECT_EQ(g->Percent(), 50);
    EXPECT_EQ(g->BarWidth(), 49);
    EXPECT_EQ(g->BarRect(), Rect(2, 2, 49, 48));
    g->SetProgress(3);
    EXPECT_EQ(g->BarWidth(), 2);
    EXPECT_EQ(g->BarRect(), Rect(0, 0, 0, 0));
    g->SetKind(gkVerticalBar);
    g->SetProgress(50);
    EXPECT_EQ(g->BarHeight(), 24);
    EXPECT_EQ(g->BarRect(), Rect(2, 26, 98, 48));

    g->SetProgress(150);
    EXPECT_EQ(g->Progress(), 100);
    g->SetMaxValue(60);
    EXPECT_EQ(g->Progress(), 60);
    g->SetMinValue(60);
    g->GetPercent();
    EXPECT_EQ(g->Percent(), 0);
    EXPECT_EQ(g->BarRect(), Rect(0, 0, 0, 0));
}

TEST_F(GaugeTest, FlatGaugePaintsDoubleFrameRaisedBarAndText)
{
    auto* g = Place<TepGauge>(10, 10);
    g->SetFrameInnerColor(clWhite);
    g->SetFrameOuterColor(clGray);
    g->SetBarInnerColor(clLime);
    g->SetBarOuterColor(clGreen);
    g->SetBarColor(clRed);
    g->SetShowText(false);
    g->SetProgress(50);
    Pump();
    EXPECT_EQ(At(g, 0, 0), clWhite);     // outer ring, top colour
    EXPECT_EQ(At(g, 99, 10), clGray);    // outer ring, right
    EXPECT_EQ(At(g, 1, 1), clGray);      // inner ring, swapped
    EXPECT_EQ(At(g, 98, 10), clWhite);
    EXPECT_EQ(At(g, 2, 2), clLime);      // bar frame (2, 2, 49, 48)
    EXPECT_EQ(At(g, 48, 10), clGreen);
    EXPECT_EQ(At(g, 10, 47), clGreen);
    EXPECT_EQ(At(g, 20, 20), clRed);
    EXPECT_EQ(At(g, 49, 20), clWhite);   // beyond the bar: the face's colour

    // With the text on, its pixels fall in the middle and nowhere near the bar's end.
    g->SetShowText(true);
    g->Font()->SetColor(clBlue);
    g->Font()->SetHeight(-20);
    g->SetProgress(3);
    Pump();
    EXPECT_EQ(At(g, 5, 20), clWhite);    // 3 %: no bar
    int blue = 0, outside = 0;
    for (int y = 2; y < 48; ++y)
        for (int x = 2; x < 98; ++x) {
            const TColor c = At(g, x, y);
            if ((c >> 16) > 0x80 && (c & 0xFF) < 0x80) {
                ++blue;
                if (x < 30 || x > 70)
                    ++outside;
            }
        }
    EXPECT_GT(blue, 20);
    EXPECT_EQ(outside, 0);
}

TEST_F(GaugeTest, GlyphTilesTheBarAndAnEmptyGlyphLeavesTheBackground)
{
    auto* g = Place<TepGauge>(10, 10);
    g->SetShowText(false);
    g->SetBarColor(clRed);
    g->SetUseGlyph(true);
    g->SetProgress(100);   // bar (2, 2, 98, 48)
    Pump();
    EXPECT_EQ(At(g, 20, 20), clWhite);   // no glyph: background, but the frame is there
    EXPECT_EQ(At(g, 2, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(g, 97, 20), ColorToRGB(clBtnShadow));

    TBitmap tile;
    tile.SetSize(4, 4);
    tile.Handle()->Fill(clNavy);
    tile.Handle()->SetColor(0, 0, clYellow);
    g->SetProgressGlyph(&tile);
    Pump();
    // Copies start at the bar's corner: (2 + 4i, 2 + 4j) is yellow, the rest navy.
    EXPECT_EQ(At(g, 6, 6), clYellow);
    EXPECT_EQ(At(g, 94, 46), clYellow);
    EXPECT_EQ(At(g, 7, 6), clNavy);
    EXPECT_EQ(At(g, 96, 47), ColorToRGB(clBtnShadow));
}

TEST_F(GaugeTest, SameProgressDoesNotRepaint)
{
    auto* g = Place<TepGauge>(10, 10);
    g->SetProgress(40);
    Pump();
    Stain(form, Rect(10, 10, 110, 60));
    g->SetProgress(40);
    g->SetProgress(40);
    Pump();
    EXPECT_EQ(Pixel(form, 50, 30), TColor(0xFF00FF));
    g->SetProgress(-3);   // clamped to 0: a change
    Pump();
    EXPECT_NE(Pixel(form, 50, 30), TColor(0xFF00FF));
}

TEST_F(GaugeTest, EffectGaugeBarOutlineAndFigures)
{
    auto* g = Place<TepEffectGauge>(10, 10);
    EXPECT_EQ(g->BarColor(), TColor(0xFF0000));
    EXPECT_EQ(g->BorderWidth(), 2);
    EXPECT_EQ(g->ShadowOffset(), 2);
    EXPECT_TRUE(g->ControlStyle() & csOpaque);
    g->SetShowText(false);
    g->SetProgress(50);
    EXPECT_EQ(g->BarWidth(), 50);
    EXPECT_EQ(g->BarRect(), Rect(0, 1, 50, 50));
    Pump();
    const TColor light = RGBChange(0xFF0000, 70, 70, 70);
    const TColor dark = RGBChange(0xFF0000, -70, -70, -70);
    EXPECT_EQ(At(g, 0, 0), light);      // sharp outline on (0, 0, 50, 50)
    EXPECT_EQ(At(g, 20, 0), light);
    EXPECT_EQ(At(g, 49, 20), dark);
    EXPECT_EQ(At(g, 20, 49), dark);
    EXPECT_PRED3(effctltest::Near, At(g, 25, 25), TColor(0xFF0000), 4);   // flat inside
    EXPECT_PRED3(effctltest::Near, At(g, 70, 25), clWhite, 4);

    g->SetKind(gkVerticalBar);
    Pump();
    EXPECT_EQ(g->BarHeight(), 24);
    EXPECT_EQ(g->BarRect(), Rect(0, 26, 100, 50));
    EXPECT_EQ(At(g, 50, 26), light);
    EXPECT_PRED3(effctltest::Near, At(g, 50, 38), TColor(0xFF0000), 4);
    EXPECT_PRED3(effctltest::Near, At(g, 50, 10), clWhite, 4);

    // A bar thinner than twice the border is not drawn; an empty range shows 0 %.
    g->SetKind(gkHorizontalBar);
    g->SetProgress(3);
    EXPECT_EQ(g->BarRect(), Rect(0, 0, 0, 0));
    g->SetMaxValue(0);
    g->GetPercent();
    EXPECT_EQ(g->Percent(), 0);
    Pump();
    EXPECT_EQ(At(g, 1, 25), clWhite);
}
