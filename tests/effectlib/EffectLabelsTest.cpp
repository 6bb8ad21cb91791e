// The effect labels: engraved copies against a picture made by hand, tints and gradients
// (also on faces one and two pixels wide), the text label's two ways of writing, the wave
// label unbent, and the wallpaper label's cache.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPLabels.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace {

class LabelsTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(240, 160, 0, 0, clWhite);
    }
    template <class C>
    C* Place(int x, int y, int w, int h)
    {
        auto* c = new C(form);
        c->SetParent(form);
        c->SetBounds(x, y, w, h);
        c->SetColor(clWhite);
        c->Font()->SetName("Arial");
        c->Font()->SetHeight(-20);
        c->Font()->SetColor(clRed);
        return c;
    }
    // The control's area of the form equals the picture.
    bool Shows(TControl* c, TBitmap& pic)
    {
        for (int y = 0; y < c->Height(); ++y)
            for (int x = 0; x < c->Width(); ++x)
                if (Pixel(form, c->Left() + x, c->Top() + y) != pic.Handle()->GetColor(x, y))
                    return false;
        return true;
    }
    static TBitmap& Blank(TBitmap& b, TControl* c, TFont* font)
    {
        b.SetSize(c->Width(), c->Height());
        b.Handle()->Fill(clWhite);
        b.Canvas()->SetFont(font);
        b.Canvas()->Brush()->SetStyle(bsClear);
        return b;
    }
    static void Text(TBitmap& b, int x, int y, const std::string& s, TColor col)
    {
        b.Canvas()->Font()->SetColor(col);
        b.Canvas()->TextOut(x, y, s);
    }

    TForm* form = nullptr;
};

} // namespace

TEST_F(LabelsTest, LabelWritesEngravedCopiesAroundTheCaption)
{
    auto* l = Place<TepLabel>(10, 10, 120, 30);
    EXPECT_EQ(TepLabel(nullptr).Width(), 65);
    EXPECT_TRUE(l->Text3D());
    EXPECT_EQ(l->InnerColor(), clLime);
    EXPECT_EQ(l->OuterColor(), clLime);
    l->SetCaption("Wg");
    Pump();
    const TPoint at = l->TextOrigin();
    EXPECT_EQ(at.X, 2);
    TBitmap pic;
    Blank(pic, l, l->Font());
    Text(pic, at.X - 1, at.Y - 1, "Wg", clLime);
    Text(pic, at.X + 1, at.Y + 1, "Wg", clLime);
    Text(pic, at.X, at.Y, "Wg", clRed);
    EXPECT_TRUE(Shows(l, pic));

    l->SetUseInnerColor(false);
    l->SetOuterColor(clBlue);
    l->SetAlignment(taRightJustify);
    Pump();
    const TPoint right = l->TextOrigin();
    EXPECT_EQ(right.X, 120 - pic.Canvas()->TextWidth("Wg") - 2);
    Blank(pic, l, l->Font());
    Text(pic, right.X + 1, right.Y + 1, "Wg", clBlue);
    Text(pic, right.X, right.Y, "Wg", clRed);
    EXPECT_TRUE(Shows(l, pic));
}

TEST_F(LabelsTest, TintsAndGradientsAlsoOnFacesOneOrTwoPixelsWide)
{
    auto* l = Place<TepLabel>(10, 10, 40, 10);
    l->SetGradColor(clBlack);
    l->SetGradKind(gdLeft);
    l->SetGradEffect(true);
    Pump();
    // Not transparent: the gradient runs over the Color fill, full at the left edge.
    EXPECT_EQ(Pixel(form, 10, 15), TColor(0));
    EXPECT_EQ(Pixel(form, 10 + 40, 15), clWhite);
    const TColor mid = Pixel(form, 10 + 20, 15);
    EXPECT_GT(mid & 0xFF, 0x40u);
    EXPECT_LT(mid & 0xFF, 0xC0u);

    // Transparent over a half-grey form: the tint takes the middle of both.
    form->SetColor(clBlack);
    l->SetGradEffect(false);
    l->SetColor(clWhite);
    l->SetMiddleTransparent(true);
    l->SetTransparent(true);
    Pump();
    EXPECT_EQ(Pixel(form, 10 + 20, 15), TColor(0x7F7F7F));

    // Every gradient kind on one- and two-pixel faces paints without fault.
    for (int w : { 1, 2 })
        for (int h : { 1, 2, 5 })
            for (TGradKind k : { gdRight, gdLeft, gdTop, gdBottom, gdVCenter, gdHCenter }) {
                l->SetBounds(100, 100, w, h);
                l->SetGradKind(k);
                l->SetGradEffect(true);
                l->SetTransparent(false);
                Pump();
                l->SetTransparent(true);
                Pump();
            }
    EXPECT_EQ(Pixel(form, 100, 100 + 6), TColor(0));
}

TEST_F(LabelsTest, TextLabelExpandsTabsOnlyInThePlainLook)
{
    auto* t = Place<TepTextLabel>(10, 10, 200, 60);
    EXPECT_EQ(TepTextLabel(nullptr).Width(), 50);
    t->SetLinesText("a\tb\r\nsecond");
    EXPECT_EQ(t->Lines(), (std::vector<std::string> { "a\tb", "second" }));
    EXPECT_EQ(t->LinesText(), "a\tb\r\nsecond");
    Pump();
    TBitmap pic;
    Blank(pic, t, t->Font());
    pic.Canvas()->Font()->SetColor(clRed);
    TRect r = Rect(0, 0, 200, 60);
    DrawText(pic.Canvas(), t->LinesText(), r, DT_WORDBREAK | DT_EXPANDTABS);
    EXPECT_TRUE(Shows(t, pic));

    t->SetText3D(true);
    t->SetTextInnerColor(clLime);
    t->SetTextOuterColor(clBlue);
    Pump();
    Blank(pic, t, t->Font());
    TRect a = Rect(0, 0, 198, 58), b = Rect(2, 2, 200, 60), c = Rect(1, 1, 199, 59);
    pic.Canvas()->Font()->SetColor(clLime);
    DrawText(pic.Canvas(), t->LinesText(), a, DT_WORDBREAK);
    pic.Canvas()->Font()->SetColor(clBlue);
    DrawText(pic.Canvas(), t->LinesText(), b, DT_WORDBREAK);
    pic.Canvas()->Font()->SetColor(clRed);
    DrawText(pic.Canvas(), t->LinesText(), c, DT_WORDBREAK);
    EXPECT_TRUE(Shows(t, pic));
}

TEST_F(LabelsTest, WaveLabelWithoutDivisorsWritesStraightText)
{
    auto* w = Place<TepWaveLabel>(10, 10, 120, 30);
    EXPECT_EQ(w->TextX(), 1);
    EXPECT_EQ(w->TextY(), 1);
    EXPECT_EQ(w->Caption(), "");
    w->SetInnerColor(clLime);
    w->SetOuterColor(clBlue);
    w->SetCaption("Wave");
    w->SetRatioVal(3);
    w->SetYDiv(4);
    Pump();   // XDiv 0: no bending
    TBitmap pic;
    Blank(pic, w, w->Font());
    Text(pic, 0, 0, "Wave", clLime);
    Text(pic, 2, 2, "Wave", clBlue);
    Text(pic, 1, 1, "Wave", clRed);
    EXPECT_TRUE(Shows(w, pic));
    w->SetXDiv(3);
    Pump();
    EXPECT_FALSE(Shows(w, pic));
}

TEST_F(LabelsTest, BitLabelFillsLettersWithWallpaperAndCachesThem)
{
    auto* b = Place<TepBitLabel>(10, 10, 120, 40);
    EXPECT_EQ(TepBitLabel(nullptr).Width(), 60);
    EXPECT_EQ(b->TransparentColor(), clWhite);
    EXPECT_FALSE(b->Text3D());
    b->SetCaption("MM");
    Pump();
    EXPECT_EQ(b->Rebuilds(), 0);   // no wallpaper: nothing drawn, nothing built

    // Stripes of green and of the key colour (white): the white stripes show the
    // background.
    TBitmap paper;
    paper.SetSize(2, 2);
    paper.Handle()->Fill(clGreen);
    paper.Handle()->SetColor(1, 0, clWhite);
    paper.Handle()->SetColor(1, 1, clWhite);
    b->SetColor(clYellow);
    b->SetWallpaper(&paper);
    Pump();
    EXPECT_EQ(b->Rebuilds(), 1);
    int green = 0, red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const TColor c = Pixel(form, 10 + x, 10 + y);
            green += c == clGreen;
            red += c == clRed || c == clWhite;
        }
    EXPECT_GT(green, 20);
    EXPECT_EQ(red, 0);   // neither the font's colour nor the key colour shows

    b->SetAlignment(taCenter);
    b->SetInnerColor(clBlue);
    b->SetText3D(true);
    Pump();
    EXPECT_EQ(b->Rebuilds(), 1);
    b->SetCaption("W");
    Pump();
    EXPECT_EQ(b->Rebuilds(), 2);
    b->Font()->SetHeight(-30);
    Pump();
    EXPECT_EQ(b->Rebuilds(), 3);
}
