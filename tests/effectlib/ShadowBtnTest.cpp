// The shadow button: face and shadow figures, the press offset, the halved and blurred
// shadow as pixels, hover and clicks that follow the plate's shape.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPButtons.h"
#include "framework/graphics/Bitmap.h"

namespace {

using plat::MouseButton;

class ShadowBtnTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(200, 120, 0, 0, clWhite);
        id = form->WindowHandle();
        btn = new TepShadowBtn(form);
        btn->SetParent(form);
        btn->SetBounds(X0, Y0, 85, 35);
        btn->SetColor(clWhite);
        btn->OnClick = TNotifyEvent::FromFunction([this](TObject*) { ++clicks; });
        Pump();
    }
    TColor At(int x, int y) { return Pixel(form, X0 + x, Y0 + y); }
    void Move(int x, int y)
    {
        ws.MouseMove(id, X0 + x, Y0 + y);
        Pump();
    }
    void Down(int x, int y)
    {
        ws.MouseDown(id, X0 + x, Y0 + y, MouseButton::Left);
        Pump();
    }
    void Up(int x, int y)
    {
        ws.MouseUp(id, X0 + x, Y0 + y, MouseButton::Left);
        Pump();
    }

    static constexpr int X0 = 20, Y0 = 30;
    TForm* form = nullptr;
    uintptr_t id = 0;
    TepShadowBtn* btn = nullptr;
    int clicks = 0;
};

const TColor HalfWhite = 0x7F7F7F;

} // namespace

TEST_F(ShadowBtnTest, DefaultFaceAndShadowFigures)
{
    EXPECT_EQ(btn->Radius(), 10);
    EXPECT_EQ(btn->BtnKind(), epbuttons::bkRect);
    EXPECT_EQ(btn->ShadowOffset(), 3);
    EXPECT_EQ(btn->BtnColor(), TColor(0xFF0000));
    EXPECT_FALSE(btn->BlurShadow());
    EXPECT_EQ(btn->ActiveTextColor(), TColor(0));
    EXPECT_EQ(btn->FaceWidth(), 78);
    EXPECT_EQ(btn->FaceHeight(), 28);
    EXPECT_EQ(btn->PlateRect(), Rect(2, 2, 80, 30));
    EXPECT_EQ(btn->ShadowRect(), Rect(5, 5, 83, 34));

    EXPECT_EQ(At(2, 2), TColor(0xFF0000));
    EXPECT_EQ(At(79, 29), TColor(0xFF0000));
    EXPECT_EQ(At(80, 10), HalfWhite);   // the shadow to the right of the plate
    EXPECT_EQ(At(82, 33), HalfWhite);
    EXPECT_EQ(At(83, 10), clWhite);
    EXPECT_EQ(At(10, 34), clWhite);
    EXPECT_EQ(At(4, 31), clWhite);      // left of the shadow
    EXPECT_EQ(At(1, 1), clWhite);
}

TEST_F(ShadowBtnTest, PressMovesPlateCaptionAndGlyphTowardsTheShadow)
{
    btn->SetCaption("Go");
    TBitmap glyph;
    glyph.SetSize(8, 8);
    glyph.Handle()->Fill(clRed);
    glyph.Handle()->SetColor(0, 7, clWhite);   // the key: the bottom-left pixel
    btn->SetGlyph(&glyph);
    Pump();
    const TPoint text = btn->TextPos(), at = btn->GlyphPos();

    Move(40, 15);
    EXPECT_TRUE(btn->Hot());
    Down(40, 15);
    EXPECT_TRUE(btn->Pressed());
    EXPECT_EQ(btn->PlateRect(), Rect(3, 3, 81, 31));
    EXPECT_EQ(btn->ShadowRect(), Rect(5, 5, 82, 33));
    EXPECT_EQ(btn->TextPos(), Point(text.X + 1, text.Y + 1));
    EXPECT_EQ(btn->GlyphPos(), Point(at.X + 1, at.Y + 1));
    EXPECT_EQ(At(2, 2), clWhite);
    EXPECT_EQ(At(80, 10), TColor(0xFF0000));
    EXPECT_EQ(At(82, 10), clWhite);
    EXPECT_EQ(At(at.X + 1, at.Y + 1), clRed);
    Up(40, 15);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(btn->PlateRect(), Rect(2, 2, 80, 30));
}

TEST_F(ShadowBtnTest, EllipseShadowStartsOneNearerWhenPressedWithALargeOffset)
{
    btn->SetBtnKind(epbuttons::bkEllipse);
    btn->SetShadowOffset(8);
    Pump();
    EXPECT_EQ(btn->ShadowRect(), Rect(8, 8, 83, 34));
    Move(40, 12);
    Down(40, 12);
    ASSERT_TRUE(btn->Pressed() && btn->Hot());
    EXPECT_EQ(btn->ShadowRect(), Rect(7, 7, 82, 33));
    Up(40, 12);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ShadowBtnTest, HoverAndClicksFollowThePlatesShape)
{
    btn->SetBtnKind(epbuttons::bkEllipse);
    Pump();
    // The plate (2, 2, 80, 30): its corner lies outside the ellipse.
    EXPECT_FALSE(btn->IsMouseIn(4, 4));
    EXPECT_TRUE(btn->IsMouseIn(41, 16));
    Move(4, 4);
    EXPECT_FALSE(btn->Hot());
    Down(4, 4);
    EXPECT_FALSE(btn->Pressed());
    Up(4, 4);
    EXPECT_EQ(clicks, 0);

    btn->SetBtnKind(epbuttons::bkRndRect);
    Pump();
    EXPECT_FALSE(btn->IsMouseIn(2, 2));
    EXPECT_TRUE(btn->IsMouseIn(12, 3));
    btn->SetBtnKind(epbuttons::bkRect);
    EXPECT_TRUE(btn->IsMouseIn(2, 2));
    EXPECT_FALSE(btn->IsMouseIn(80, 10));   // right edge outside

    // Before its first paint a button has no face, so nothing is inside.
    TepShadowBtn fresh(nullptr);
    EXPECT_FALSE(fresh.IsMouseIn(40, 15));
}

TEST_F(ShadowBtnTest, BlurredShadowSoftensItsEdgeAndAGlyphCountOfZeroIsRefused)
{
    btn->SetColor(clYellow);
    Pump();
    EXPECT_EQ(At(82, 20), TColor(0x007F7F));
    // Blurred, the shadow's outer edge mixes in the unshadowed background.
    btn->SetBlurShadow(true);
    Pump();
    EXPECT_EQ(At(84, 20), clYellow);
    const TColor edge = At(82, 20);
    EXPECT_NE(edge, TColor(0x007F7F));
    EXPECT_NE(edge, clYellow);

    btn->SetNumGlyphs(0);
    EXPECT_EQ(btn->NumGlyphs(), 1);
    TBitmap glyph;
    glyph.SetSize(9, 6);
    glyph.Handle()->Fill(clRed);
    glyph.Handle()->SetColor(0, 5, clWhite);
    btn->SetGlyph(&glyph);
    Pump();
    EXPECT_EQ(At(btn->GlyphPos().X, btn->GlyphPos().Y), clRed);
}
