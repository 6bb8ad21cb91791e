// The library's bevel shapes, the image's four ways of showing its glyph and the image
// panel's wallpaper, bevels and caption, as pixels on headless renders.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPCtrls.h"
#include "effectlib/Medialib.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"

namespace {

class EPBevelsTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(200, 160, 0, 0, clWhite);
    }
    TColor At(int x, int y) { return Pixel(form, X0 + x, Y0 + y); }
    template <class C>
    C* Place(C* c, int w, int h)
    {
        c->SetParent(form);
        c->SetBounds(X0, Y0, w, h);
        return c;
    }
    static constexpr int X0 = 10, Y0 = 20;
    TForm* form = nullptr;
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
};

TEST_F(EPBevelsTest, BoxIsOuterColourUpperLeftWhenLoweredAndSwapsWhenRaised)
{
    auto* b = new TepBevel(form);
    b->SetParent(form);
    b->SetLeft(X0);
    b->SetTop(Y0);
    Pump();
    EXPECT_EQ(b->Width(), 50);
    EXPECT_EQ(b->Shape(), epctrls::bsBox);
    EXPECT_EQ(At(0, 0), sh);
    EXPECT_EQ(At(20, 0), sh);
    EXPECT_EQ(At(0, 49), sh);
    EXPECT_EQ(At(49, 0), hi);
    EXPECT_EQ(At(49, 49), hi);
    EXPECT_EQ(At(20, 49), hi);
    EXPECT_EQ(At(1, 1), clWhite);
    b->SetStyle(epctrls::bsRaised);
    Pump();
    EXPECT_EQ(At(20, 0), hi);
    EXPECT_EQ(At(49, 20), sh);
}

TEST_F(EPBevelsTest, FrameIsAnInnerRectangleUnderAnOuterOneOnePixelUpLeft)
{
    auto* b = Place(new TepBevel(form), 50, 50);
    b->SetShape(epctrls::bsFrame);
    Pump();
    for (int t : { 0, 20, 47 }) {
        EXPECT_EQ(At(t, 0), sh) << t;
        EXPECT_EQ(At(0, t), sh) << t;
        EXPECT_EQ(At(48, t), sh) << t;
        EXPECT_EQ(At(t + 1, 48), sh) << t;
    }
    for (int t : { 2, 20, 47 }) {
        EXPECT_EQ(At(t, 1), hi) << t;
        EXPECT_EQ(At(1, t), hi) << t;
        EXPECT_EQ(At(49, t), hi) << t;
        EXPECT_EQ(At(t, 49), hi) << t;
    }
    EXPECT_EQ(At(49, 49), hi);
    EXPECT_EQ(At(49, 0), clWhite);
    EXPECT_EQ(At(0, 49), clWhite);
    EXPECT_EQ(At(2, 2), clWhite);
}

TEST_F(EPBevelsTest, LinesLieOnTheNamedEdgeOuterColourFirst)
{
    auto* b = Place(new TepBevel(form), 40, 30);
    b->SetInnerColor(clRed);
    b->SetOuterColor(clBlue);
    struct Case {
        TepBevelShape shape;
        TPoint first, second, clear;
    };
    const Case cases[] = {
        { epctrls::bsTopLine, { 39, 0 }, { 0, 1 }, { 5, 2 } },
        { epctrls::bsBottomLine, { 0, 28 }, { 39, 29 }, { 5, 27 } },
        { epctrls::bsLeftLine, { 0, 29 }, { 1, 0 }, { 2, 5 } },
        { epctrls::bsRightLine, { 38, 0 }, { 39, 29 }, { 37, 5 } },
    };
    for (const Case& c : cases) {
        b->SetShape(c.shape);
        form->Invalidate();
        Pump();
        EXPECT_EQ(At(c.first.X, c.first.Y), clBlue) << c.shape;
        EXPECT_EQ(At(c.second.X, c.second.Y), clRed) << c.shape;
        EXPECT_EQ(At(c.clear.X, c.clear.Y), clWhite) << c.shape;
    }
    b->SetStyle(epctrls::bsRaised);
    Pump();
    EXPECT_EQ(At(38, 0), clRed);
    EXPECT_EQ(At(39, 0), clBlue);
}

// A 16 x 16 glyph: red, a blue lower-right quarter and the key (lime) at the bottom left.
void KeyedGlyph(TBitmap* g)
{
    g->SetSize(16, 16);
    g->Handle()->Fill(clRed);
    plat::Dc dc(g->Handle());
    dc.FillRect({ 8, 8, 16, 16 }, clBlue);
    g->Handle()->SetColor(0, 15, clLime);
}

TEST_F(EPBevelsTest, ImageShowsItsGlyphPlainKeyedStretchedOrTiled)
{
    auto* img = Place(new TepImage(form), 64, 64);
    TBitmap g;
    KeyedGlyph(&g);
    img->SetGlyph(&g);
    Pump();
    EXPECT_EQ(At(0, 15), clLime);      // plain: the key shows
    EXPECT_EQ(At(12, 12), clBlue);
    EXPECT_EQ(At(16, 16), clWhite);

    img->SetGlyphTransparent(true);
    form->Invalidate();
    Pump();
    EXPECT_EQ(At(0, 15), clWhite);
    EXPECT_EQ(At(1, 15), clRed);

    img->SetStretch(true);              // keyed and stretched 4 times
    form->Invalidate();
    Pump();
    EXPECT_EQ(At(3, 63), clWhite);
    EXPECT_EQ(At(4, 63), clRed);
    EXPECT_EQ(At(32, 32), clBlue);
    EXPECT_EQ(At(31, 31), clRed);

    img->SetGlyphTransparent(false);    // stretched, unkeyed
    form->Invalidate();
    Pump();
    EXPECT_EQ(At(3, 63), clLime);
    EXPECT_EQ(At(63, 63), clBlue);

    img->SetWallStyle(true);            // tiled from the corner
    form->Invalidate();
    Pump();
    EXPECT_EQ(At(16, 15), clLime);
    EXPECT_EQ(At(48, 63), clLime);
    EXPECT_EQ(At(60, 60), clBlue);
    EXPECT_EQ(At(64, 10), clWhite);
}

TEST_F(EPBevelsTest, StretchedKeyedGlyphLargerThanTheImageIsCroppedNotShrunk)
{
    auto* img = Place(new TepImage(form), 64, 64);
    TBitmap g;
    g.SetSize(100, 100);
    g.Handle()->Fill(clGreen);
    plat::Dc dc(g.Handle());
    dc.FillRect({ 0, 0, 64, 64 }, clRed);
    g.Handle()->SetColor(0, 99, clLime);   // the key
    g.Handle()->SetColor(0, 0, clLime);
    g.Handle()->SetColor(63, 63, clBlue);
    img->SetGlyph(&g);
    img->SetStretch(true);
    img->SetGlyphTransparent(true);
    Pump();
    EXPECT_EQ(At(0, 0), clWhite);
    EXPECT_EQ(At(1, 0), clRed);
    EXPECT_EQ(At(63, 63), clBlue);
    EXPECT_EQ(At(62, 62), clRed);
    EXPECT_EQ(At(64, 64), clWhite);
}

TEST_F(EPBevelsTest, ImagePanelTilesItsWallpaperAndDrawsTwoColourBevels)
{
    auto* wall = new TepBitmap(form);
    wall->Bitmap()->Bitmap()->SetSize(30, 30);
    wall->Bitmap()->Bitmap()->Handle()->Fill(clGreen);
    wall->Bitmap()->Bitmap()->Handle()->SetColor(0, 0, clYellow);
    auto* p = Place(new TepImagePanel(form), 100, 70);
    p->SetWallpaper(wall);
    p->SetBevelInnerColor(clRed);
    p->SetBevelOuterColor(clBlue);
    p->SetBevelInner(bvLowered);
    p->SetBevelWidth(2);
    Pump();
    EXPECT_EQ(At(30, 30), clYellow);   // tiles from (0, 0), under the bevels
    EXPECT_EQ(At(90, 60), clYellow);
    EXPECT_EQ(At(0, 0), clRed);        // raised outer: inner colour upper left
    EXPECT_EQ(At(1, 30), clRed);
    EXPECT_EQ(At(99, 30), clBlue);
    EXPECT_EQ(At(50, 68), clBlue);
    EXPECT_EQ(At(2, 30), clBlue);      // lowered inner, right after the outer one
    EXPECT_EQ(At(3, 30), clBlue);
    EXPECT_EQ(At(97, 30), clRed);
    EXPECT_EQ(At(4, 31), clGreen);

    delete wall;
    Pump();
    EXPECT_EQ(p->Wallpaper(), nullptr);
    EXPECT_EQ(At(30, 30), ColorToRGB(p->Color()));
}

TEST_F(EPBevelsTest, ImagePanelWithAZeroSizeWallpaperPaintsNoFace)
{
    auto* wall = new TepBitmap(form);
    wall->Bitmap()->Bitmap()->SetSize(0, 0);
    auto* p = Place(new TepImagePanel(form), 60, 40);
    Pump();
    ASSERT_EQ(At(30, 20), ColorToRGB(p->Color()));
    Stain(form, Rect(X0, Y0, X0 + 60, Y0 + 40));
    p->SetWallpaper(wall);
    Pump();
    EXPECT_EQ(At(30, 20), TColor(0xFF00FF));
    EXPECT_EQ(At(0, 0), hi);
}

TEST_F(EPBevelsTest, RightJustifiedCaptionSitsAgainstTheRightEdgeCentredVertically)
{
    auto* p = Place(new TepImagePanel(form), 120, 40);
    p->SetColor(clWhite);
    p->Font()->SetColor(clBlack);
    p->SetCaption("Wall");
    p->SetAlignment(taRightJustify);
    Pump();
    int left = 1000, right = -1, top = 1000, bottom = -1;
    for (int y = 1; y < 39; ++y)
        for (int x = 1; x < 119; ++x)
            if ((At(x, y) & 0xFF) < 0x80) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no caption drawn";
    EXPECT_GE(right, 112);
    EXPECT_LE(right, 118);
    EXPECT_GT(left, 60);
    EXPECT_LE(std::abs((top + bottom) - 40), 4) << top << ".." << bottom;
}

} // namespace
