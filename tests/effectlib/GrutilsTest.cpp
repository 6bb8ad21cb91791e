#include "effectlib/Grutils.h"

#include "EffectCoreTestSupport.h"
#include "framework/graphics/Canvas.h"
#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"

#include <gtest/gtest.h>

using effcoretest::HeadlessFormTest;
using effcoretest::SolidBitmap;

namespace {

constexpr TColor Bg = 0x00123456;

TColor At(TBitmap& b, int x, int y) { return b.Image().GetColor(x, y); }

bool RowHas(TBitmap& b, int y, TColor c)
{
    for (int x = 0; x < b.Width(); ++x)
        if (At(b, x, y) == c)
            return true;
    return false;
}

} // namespace

TEST(GrutilsTest, RGBChangeHoldsEachChannelInRangeAndKeepsTheTopByte)
{
    EXPECT_EQ(RGBChange(0x000A80F5, 70, 70, 70), 0x0050C6FFu);
    EXPECT_EQ(RGBChange(0x000A80F5, -70, -70, -70), 0x00003AAFu);
    EXPECT_EQ(RGBChange(0x80000010, 1, 0, 0), 0x80000011u);   // not resolved
    EXPECT_EQ(RGBChange(0x00FFFFFF, 0, 0, 0), 0x00FFFFFFu);
    EXPECT_EQ(RGBChange(0x00010203, -3, -2, -1), 0x00000000u);   // |d| = channel gives 0
    EXPECT_EQ(RGBChange(0x000000FE, 1, 0, 0), 0x000000FFu);
    EXPECT_EQ(RGBChange(0x00000000, 127, -128, 127), 0x007F007Fu);
}

TEST(GrutilsTest, MiddleColorResolvesSystemColoursAndTruncates)
{
    EXPECT_EQ(MiddleColor(clBtnFace, clBlack), 0x00606060u);
    EXPECT_EQ(MiddleColor(0x00010203, 0x00000000), 0x00000101u);
    EXPECT_EQ(MiddleColor(clRed, clBlue), 0x007F007Fu);
}

TEST(GrutilsTest, Frm3DPaintsRingsWithTheCornersOfTheSecondColour)
{
    const TColor T = clRed, B = clBlue;
    TBitmap b;
    SolidBitmap(b, 6, 5, Bg);
    const TRect r = Rect(0, 0, 4, 3);
    Frm3D(b.Canvas(), r, T, B, 1);
    for (auto [x, y] : { std::pair { 0, 0 }, { 1, 0 }, { 2, 0 }, { 0, 1 } })
        EXPECT_EQ(At(b, x, y), T) << x << "," << y;
    for (auto [x, y] : { std::pair { 3, 0 }, { 3, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 }, { 3, 2 } })
        EXPECT_EQ(At(b, x, y), B) << x << "," << y;
    EXPECT_EQ(At(b, 1, 1), Bg);   // inside
    EXPECT_EQ(At(b, 4, 0), Bg);   // the right edge of the rectangle stays outside
    EXPECT_EQ(At(b, 0, 3), Bg);
    EXPECT_EQ(b.Canvas()->Pen()->Width(), 1);

    SolidBitmap(b, 6, 5, Bg);
    Frm3D(b.Canvas(), Rect(0, 0, 6, 5), T, B, 2);
    EXPECT_EQ(At(b, 1, 1), T);
    EXPECT_EQ(At(b, 4, 1), B);
    EXPECT_EQ(At(b, 1, 3), B);
    EXPECT_EQ(At(b, 2, 2), Bg);

    SolidBitmap(b, 6, 5, Bg);
    const plat::Surface before = b.Image();
    Frm3D(b.Canvas(), Rect(0, 0, 6, 5), T, B, 0);
    Frm3D(b.Canvas(), Rect(0, 0, 6, 5), T, B, -3);
    EXPECT_TRUE(b.Image() == before);
    Frm3D(b.Canvas(), Rect(0, 0, 6, 5), T, B, 2000000000);   // rings stop when empty
    EXPECT_EQ(At(b, 2, 2), B);
}

TEST(GrutilsTest, RoundFramesSplitTheirColours)
{
    TBitmap b;
    SolidBitmap(b, 20, 10, Bg);
    RndFrm3D(b.Canvas(), clRed, clBlue, Rect(0, 0, 20, 10), 1);
    EXPECT_TRUE(RowHas(b, 0, clRed));
    EXPECT_FALSE(RowHas(b, 0, clBlue));
    EXPECT_TRUE(RowHas(b, 9, clBlue));
    EXPECT_FALSE(RowHas(b, 9, clRed));
    EXPECT_EQ(At(b, 10, 5), Bg);

    SolidBitmap(b, 20, 20, Bg);
    RndRectFrm3D(b.Canvas(), Rect(0, 0, 20, 20), clRed, clBlue, 8, 1);
    EXPECT_EQ(At(b, 10, 0), clRed);
    EXPECT_EQ(At(b, 0, 10), clRed);
    EXPECT_EQ(At(b, 19, 10), clBlue);
    EXPECT_EQ(At(b, 10, 19), clBlue);
    EXPECT_EQ(At(b, 10, 10), Bg);

    SolidBitmap(b, 20, 20, Bg);
    RndRectFrm3D(b.Canvas(), Rect(0, 0, 20, 20), clRed, clNone, 8, 1);
    EXPECT_EQ(At(b, 10, 0), clRed);
    EXPECT_EQ(At(b, 19, 10), Bg);
    for (int y = 10; y < 20; ++y)   // the right side and the lower corners are left out
        EXPECT_NE(At(b, 19, y), clRed) << y;
    EXPECT_FALSE(RowHas(b, 19, clRed));
    SolidBitmap(b, 20, 20, Bg);
    RndRectFrm3D(b.Canvas(), Rect(0, 0, 20, 20), clNone, clBlue, 8, 1);
    EXPECT_EQ(At(b, 10, 0), Bg);
    EXPECT_EQ(At(b, 10, 19), clBlue);
    EXPECT_FALSE(RowHas(b, 0, clBlue));
}

TEST(GrutilsTest, RoundRectFrameWithAnEvenPenMovesTheLeftAndTopEdgesIn)
{
    TBitmap b;
    SolidBitmap(b, 20, 20, Bg);
    RndRectFrm3D(b.Canvas(), Rect(0, 0, 20, 20), clRed, clBlue, 8, 2);
    // A 2-pixel pen centred on row 1 covers rows 0 and 1; centred on row 0 it would
    // reach only row 0 inside the bitmap.
    EXPECT_EQ(At(b, 10, 1), clRed);
    EXPECT_EQ(At(b, 1, 10), clRed);
}

class GrutilsFormTest : public HeadlessFormTest { };

TEST_F(GrutilsFormTest, CopyParentImageWithoutParentLeavesTheCanvas)
{
    TColorBox* orphan = NewFillBox(nullptr, Rect(0, 0, 5, 5), clRed);
    orphan->SetParent(nullptr);
    TBitmap b;
    SolidBitmap(b, 5, 5, Bg);
    CopyParentImage(orphan, b.Canvas());
    CopyParentImage1(orphan, b.Canvas());
    EXPECT_EQ(At(b, 0, 0), Bg);
    EXPECT_EQ(At(b, 4, 4), Bg);
    delete orphan;
}

TEST_F(GrutilsFormTest, CopyParentImageTakesTheFaceAndOnlySiblingsPaintedBefore)
{
    TForm* form = NewForm(60, 60, clWhite);
    NewFillBox(form, Rect(0, 0, 20, 20), clRed);
    auto* far = NewFillBox(form, Rect(45, 45, 55, 55), clLime);
    auto* hidden = NewFillBox(form, Rect(10, 25, 20, 30), clYellow);
    hidden->SetVisible(false);
    auto* window = new TColorWindow(form, form, Rect(22, 10, 27, 15), clFuchsia);
    auto* target = NewFillBox(form, Rect(10, 10, 30, 30), clBlack);
    auto* after = NewFillBox(form, Rect(15, 15, 40, 40), clBlue);
    Pump();
    const int farPaints = far->PaintCount();

    TBitmap b;
    SolidBitmap(b, 20, 20, Bg);
    CopyParentImage(target, b.Canvas());
    EXPECT_EQ(At(b, 0, 0), clRed);      // form (10, 10): the earlier sibling
    EXPECT_EQ(At(b, 9, 9), clRed);      // form (19, 19)
    EXPECT_EQ(At(b, 5, 5), clRed);      // not the later blue one
    EXPECT_EQ(At(b, 15, 15), clWhite);  // form (25, 25): the parent's face
    EXPECT_EQ(At(b, 5, 17), clWhite);   // the hidden sibling is left out
    EXPECT_EQ(At(b, 14, 2), clWhite);   // windowed siblings are left out
    EXPECT_EQ(far->PaintCount(), farPaints);
    (void)after;
    (void)window;
}

// Windowed controls lie above the graphic ones, so the second pass matters for a windowed
// control over windowed siblings.
TEST_F(GrutilsFormTest, CopyParentImage1AddsTheWindowedSiblingsBefore)
{
    TForm* form = NewForm(60, 60, clWhite);
    NewFillBox(form, Rect(0, 0, 20, 20), clRed);
    new TColorWindow(form, form, Rect(22, 10, 27, 15), clFuchsia);
    auto* target = new TColorWindow(form, form, Rect(10, 10, 30, 30), clBlack);
    new TColorWindow(form, form, Rect(24, 24, 40, 40), clBlue);
    Pump();
    TBitmap b;
    SolidBitmap(b, 20, 20, Bg);
    CopyParentImage(target, b.Canvas());
    EXPECT_EQ(At(b, 14, 2), clWhite);
    EXPECT_EQ(At(b, 2, 2), clRed);
    CopyParentImage1(target, b.Canvas());
    EXPECT_EQ(At(b, 14, 2), clFuchsia);
    EXPECT_EQ(At(b, 2, 2), clRed);
    EXPECT_EQ(At(b, 16, 16), clWhite);   // the later window is above: left out
}

TEST_F(GrutilsFormTest, GetScreenImageCopiesWhatTheFormsShow)
{
    TForm* form = NewForm(40, 30, clWhite);
    NewFillBox(form, Rect(10, 10, 20, 20), clRed);
    Pump();
    TBitmap b;
    SolidBitmap(b, 50, 50, Bg);
    GetScreenImage(5, 5, &b);
    EXPECT_EQ(At(b, 0, 0), clWhite);
    EXPECT_EQ(At(b, 5, 5), clRed);
    EXPECT_EQ(At(b, 14, 14), clRed);
    EXPECT_EQ(At(b, 15, 15), clWhite);
    EXPECT_EQ(At(b, 40, 40), clBlack);   // beyond every form
}
