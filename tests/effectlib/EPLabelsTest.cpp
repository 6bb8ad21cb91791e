#include "effectlib/EPLabels.h"

#include "EffectCoreTestSupport.h"
#include "framework/graphics/Canvas.h"
#include "framework/controls/GraphicControl.h"
#include "framework/stdctrls/Image.h"
#include "framework/core/Writer.h"
#include "platform/raster/ImageFiles.h"

#include <gtest/gtest.h>

using effcoretest::HeadlessFormTest;

namespace {

// Black text on white at the given places, in a bitmap of w x h: the test's own picture
// of where a caption's pixels fall.
TBitmap* TextPicture(TBitmap& b, TFont* font, const std::string& text, int w, int h,
    std::initializer_list<TPoint> at)
{
    b.SetSize(w, h);
    b.Handle()->Fill(clWhite);
    b.Canvas()->SetFont(font);
    b.Canvas()->Font()->SetColor(clBlack);
    b.Canvas()->Brush()->SetStyle(bsClear);
    for (const TPoint& p : at)
        b.Canvas()->TextOut(p.X, p.Y, text);
    return &b;
}

TSize Extent(TFont* font, const std::string& text)
{
    TBitmap scratch;
    scratch.Canvas()->SetFont(font);
    return scratch.Canvas()->TextExtent(text);
}

TepShadowLabel* NewLabel(TWinControl* parent, const TRect& r, const std::string& caption)
{
    auto* l = new TepShadowLabel(parent);
    l->SetParent(parent);
    l->SetBoundsRect(r);
    l->Font()->SetName("Arial");
    l->Font()->SetHeight(-20);
    l->Font()->SetColor(clRed);
    l->SetCaption(caption);
    return l;
}

} // namespace

class EPLabelsTest : public HeadlessFormTest { };

TEST_F(EPLabelsTest, ConstructionDefaults)
{
    TForm* form = NewForm();
    auto* l = new TepShadowLabel(form);
    EXPECT_EQ(l->Width(), 65);
    EXPECT_EQ(l->Height(), 17);
    EXPECT_FALSE(l->Transparent());
    EXPECT_TRUE(l->ControlStyle() & csOpaque);
    EXPECT_EQ(l->Alignment(), taLeftJustify);
    EXPECT_EQ(l->ShadowOffset(), 0);
    EXPECT_FALSE(l->BlurShadow());
    EXPECT_EQ(l->Caption(), "");
}

TEST_F(EPLabelsTest, TextPositionForEachAlignment)
{
    TForm* form = NewForm(200, 60);
    auto* l = NewLabel(form, Rect(0, 0, 150, 41), "Width");
    l->SetShadowOffset(3);
    const TSize e = Extent(l->Font(), "Width");
    ASSERT_GT(e.cx, 10);
    const int y = 41 / 2 - e.cy / 2 - 3 / 2;
    EXPECT_EQ(l->TextOrigin(), Point(1, y));
    l->SetAlignment(taRightJustify);
    EXPECT_EQ(l->TextOrigin(), Point(150 - e.cx - 3 - 1, y));
    l->SetAlignment(taCenter);
    EXPECT_EQ(l->TextOrigin(), Point(75 - e.cx / 2, y));
    l->SetWidth(10);   // wider than the label: overflows to both sides
    EXPECT_EQ(l->TextOrigin().X, 5 - e.cx / 2);
    EXPECT_LT(l->TextOrigin().X, 0);
}

// Every pixel that the caption does not touch shows the background, halved exactly where
// the shadow's mask is black.
TEST_F(EPLabelsTest, ShadowHalvesTheBackgroundExactlyUnderTheBlackMask)
{
    TForm* form = NewForm(200, 60, clWhite);
    auto* l = NewLabel(form, Rect(0, 0, 120, 40), "Shade");
    l->SetColor(clWhite);
    l->SetShadowOffset(3);
    Pump();
    const TPoint at = l->TextOrigin();
    ASSERT_EQ(at.X, 1);
    TBitmap maskPic, textPic;
    TextPicture(maskPic, l->Font(), "Shade", 121, 41, { Point(at.X + 3, at.Y + 3), Point(at.X + 4, at.Y + 4) });
    TextPicture(textPic, l->Font(), "Shade", 121, 41, { at });
    int halved = 0, white = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (textPic.Image().GetColor(x, y) != clWhite)
                continue;
            const TColor expected = maskPic.Image().GetColor(x, y) == clBlack ? 0x007F7F7F : clWhite;
            ASSERT_EQ(Pixel(form, x, y), expected) << x << "," << y;
            (expected == clWhite ? white : halved)++;
        }
    }
    EXPECT_GT(halved, 20);
    EXPECT_GT(white, 1000);
    EXPECT_EQ(Pixel(form, 120, 10), clWhite);   // right of the label
}

TEST_F(EPLabelsTest, TransparentLabelShowsTheImageBeneathAndShadesIt)
{
    TForm* form = NewForm(200, 60, clWhite);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(0, 0, 100, 40);
    image->Canvas()->Brush()->SetColor(clRed);
    image->Canvas()->FillRect(Rect(0, 0, 100, 40));
    auto* l = NewLabel(form, Rect(0, 0, 120, 40), "Img");
    l->Font()->SetColor(clBlack);
    l->SetShadowOffset(2);
    l->SetTransparent(true);
    Pump();
    const TPoint at = l->TextOrigin();
    TBitmap maskPic, textPic;
    TextPicture(maskPic, l->Font(), "Img", 121, 41, { Point(at.X + 2, at.Y + 2), Point(at.X + 3, at.Y + 3) });
    TextPicture(textPic, l->Font(), "Img", 121, 41, { at });
    int shaded = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (textPic.Image().GetColor(x, y) != clWhite)
                continue;
            const TColor ground = x < 100 ? clRed : clWhite;
            const bool black = maskPic.Image().GetColor(x, y) == clBlack;
            ASSERT_EQ(Pixel(form, x, y), black ? (ground >> 1) & 0x7F7F7F : ground) << x << "," << y;
            shaded += black;
        }
    }
    EXPECT_GT(shaded, 20);
}

TEST_F(EPLabelsTest, BlurredShadowStaysUnderItsMaskAndTakesTheHueBehind)
{
    TForm* form = NewForm(200, 60, clWhite);
    NewFillBox(form, Rect(0, 0, 200, 60), clBlue);
    auto* l = NewLabel(form, Rect(0, 0, 120, 40), "Hue");
    l->SetShadowOffset(1);
    l->SetBlurShadow(true);
    l->SetTransparent(true);
    Pump();
    const TPoint at = l->TextOrigin();
    TBitmap maskPic, textPic;
    TextPicture(maskPic, l->Font(), "Hue", 121, 41, { Point(at.X, at.Y), Point(at.X + 1, at.Y + 1), Point(at.X + 2, at.Y + 2) });
    TextPicture(textPic, l->Font(), "Hue", 121, 41, { at });
    int shaded = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (textPic.Image().GetColor(x, y) != clWhite)
                continue;
            const TColor p = Pixel(form, x, y);
            if (maskPic.Image().GetColor(x, y) != clBlack) {
                ASSERT_EQ(p, clBlue) << x << "," << y;
                continue;
            }
            // Halved, then blurred from blue and halved-blue samples: blue only, between
            // half and full strength.
            ASSERT_EQ(p & 0x0000FFFF, 0u) << x << "," << y;
            ASSERT_GE(p >> 16, 0x7Fu);
            if ((p >> 16) < 0xFF)
                ++shaded;
        }
    }
    EXPECT_GT(shaded, 10);
}

TEST_F(EPLabelsTest, ShadowIsInvisibleOnBlackAndAnEmptyCaptionShowsOnlyTheBackground)
{
    TForm* form = NewForm(200, 60, clWhite);
    auto* dark = NewLabel(form, Rect(0, 0, 100, 30), "Dark");
    dark->SetColor(clBlack);
    dark->Font()->SetColor(clBlack);
    dark->SetShadowOffset(2);
    dark->SetBlurShadow(true);
    NewFillBox(form, Rect(100, 0, 200, 60), clRed);
    auto* empty = NewLabel(form, Rect(110, 0, 190, 30), "");
    empty->SetTransparent(true);
    Pump();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(Pixel(form, x, y), clBlack) << x << "," << y;
    for (int y = 0; y < 30; ++y)
        for (int x = 110; x < 190; ++x)
            ASSERT_EQ(Pixel(form, x, y), clRed) << x << "," << y;
}

TEST_F(EPLabelsTest, SettersRepaintAtOnceEvenWithoutAChange)
{
    TForm* form = NewForm();
    auto* l = NewLabel(form, Rect(0, 0, 80, 30), "x");
    l->SetTransparent(true);
    Pump();
    int paints = l->PaintCount();
    l->SetShadowOffset(l->ShadowOffset());
    EXPECT_EQ(l->PaintCount(), ++paints);
    l->SetBlurShadow(l->BlurShadow());
    EXPECT_EQ(l->PaintCount(), ++paints);
    l->SetAlignment(l->Alignment());
    EXPECT_EQ(l->PaintCount(), ++paints);
    l->SetCaption("y");
    EXPECT_EQ(l->PaintCount(), ++paints);
    EXPECT_FALSE(l->ControlStyle() & csOpaque);   // XPaint's style lasts one repaint
}

TEST_F(EPLabelsTest, DescriptionAlwaysRecordsTheShadowProperties)
{
    TForm* form = NewForm();
    form->SetName("frmLabels");
    auto* l = NewLabel(form, Rect(0, 0, 80, 30), "Tempo");
    l->SetName("lblTempo");
    std::string text = WriteComponentRes(form);
    EXPECT_NE(text.find("ShadowOffset = 0"), std::string::npos) << text;
    EXPECT_NE(text.find("BlurShadow = False"), std::string::npos) << text;
    EXPECT_EQ(text.find("Alignment"), std::string::npos) << text;
    l->SetAlignment(taCenter);
    text = WriteComponentRes(form);
    EXPECT_NE(text.find("Alignment = taCenter"), std::string::npos) << text;
}

// The window's two labels over their grounds, written as PNG pictures to look at: the
// real size and a three-times enlargement.
TEST_F(EPLabelsTest, GalleryOfTheWindowLabels)
{
    TForm* form = NewForm(330, 100, clBtnFace);
    auto* title = new TepShadowLabel(form);
    title->SetParent(form);
    title->SetBounds(20, 4, 265, 17);
    title->Font()->SetName("MS Sans Serif");
    title->Font()->SetHeight(-17);
    title->Font()->SetStyle(fsBold);
    title->SetCaption("Kelvo Music Metronome 1.0");
    NewFillBox(form, Rect(10, 30, 320, 96), 0x00D0D0D0);
    auto* tempo = new TepShadowLabel(form);
    tempo->SetParent(form);
    tempo->SetBounds(11, 31, 308, 56);
    tempo->Font()->SetName("Arial");
    tempo->Font()->SetHeight(-40);
    tempo->SetCaption("120 bpm");
    for (TepShadowLabel* l : { title, tempo }) {
        l->Font()->SetColor(clBlack);
        l->SetAlignment(taCenter);
        l->SetTransparent(true);
        l->SetBlurShadow(true);
        l->SetShadowOffset(1);
    }
    Pump();
    const plat::Surface& shot = form->Framebuffer();
    plat::Surface big(shot.Width() * 3, shot.Height() * 3);
    plat::Dc(&big).StretchBlt(0, 0, big.Width(), big.Height(), shot, 0, 0, shot.Width(), shot.Height());
    const std::string dir = effcoretest::GalleryDir();
    EXPECT_TRUE(plat::SavePngFile(dir + "/effectlib_shadow_labels.png", shot));
    EXPECT_TRUE(plat::SavePngFile(dir + "/effectlib_shadow_labels_x3.png", big));
}
