// The label button (pinned glyph and caption, lit and glowing caption, the press offset)
// and the effect button (well, plate bevel, black rim, blur, sharp edges, press figures).
#include "EffectControlsTestSupport.h"

#include "effectlib/EPButtons.h"
#include "effectlib/Grutils.h"
#include "framework/graphics/Bitmap.h"

namespace {

using plat::MouseButton;

TSize Measure(TControl* c, const std::string& text)
{
    TBitmap bmp;
    bmp.SetSize(4, 4);
    bmp.Canvas()->Font()->Assign(c->Font());
    return bmp.Canvas()->TextExtent(text);
}

class EfButtonsTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(200, 100, 0, 0, clWhite);
        id = form->WindowHandle();
    }
    template <class C>
    C* Add(int x, int y)
    {
        auto* b = new C(form);
        b->SetParent(form);
        b->SetLeft(x);
        b->SetTop(y);
        b->OnClick = TNotifyEvent::FromFunction([this](TObject*) { ++clicks; });
        Pump();
        return b;
    }
    TColor At(int x, int y) { return Pixel(form, x, y); }
    // Pixels of the given colour inside r (form coordinates).
    int Count(const TRect& r, TColor c)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += At(x, y) == c;
        return n;
    }

    TForm* form = nullptr;
    uintptr_t id = 0;
    int clicks = 0;
};

} // namespace

TEST_F(EfButtonsTest, LabelButtonPinsGlyphAndCaptionToOppositeEdges)
{
    auto* b = Add<TepLabelButton>(10, 10);
    EXPECT_EQ(b->Width(), 100);
    EXPECT_EQ(b->Height(), 30);
    b->SetCaption("Label");
    TBitmap glyph;
    glyph.SetSize(20, 10);
    glyph.Handle()->Fill(clRed);
    glyph.Handle()->SetColor(0, 9, clWhite);
    b->SetGlyph(&glyph);
    b->SetNumGlyphs(2);   // two 10-wide images
    Pump();
    const TSize t = Measure(b, "Label");
    EXPECT_EQ(b->TextPos(), Point(100 - t.cx - 2, 15 - t.cy / 2));
    EXPECT_EQ(b->GlyphPos(), Point(2, 15 - 5));
    EXPECT_EQ(At(10 + 3, 10 + 12), clRed);

    b->SetLayout(blGlyphRight);
    Pump();
    EXPECT_EQ(b->TextPos(), Point(2, 15 - t.cy / 2));
    EXPECT_EQ(b->GlyphPos(), Point(100 - 10 - 2, 10));
    b->SetLayout(blGlyphTop);
    Pump();
    EXPECT_EQ(b->TextPos(), Point(50 - t.cx / 2, 30 - t.cy - 2));
    EXPECT_EQ(b->GlyphPos(), Point(50 - 5, 2));
    b->SetLayout(blGlyphBottom);
    Pump();
    EXPECT_EQ(b->TextPos(), Point(50 - t.cx / 2, 2));
    EXPECT_EQ(b->GlyphPos(), Point(45, 30 - 10 - 2));

    // Pressed and hot: the caption moves, the glyph stays.
    ws.MouseMove(id, 60, 25);
    ws.MouseDown(id, 60, 25, MouseButton::Left);
    Pump();
    EXPECT_EQ(b->TextPos(), Point(50 - t.cx / 2 + 1, 3));
    EXPECT_EQ(b->GlyphPos(), Point(45, 18));
    ws.MouseUp(id, 60, 25, MouseButton::Left);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(EfButtonsTest, HotLabelButtonLightsOrGlowsItsCaption)
{
    auto* b = Add<TepLabelButton>(10, 10);
    b->SetCaption("MMMM");
    b->SetActiveTextColor(clRed);
    b->Font()->SetColor(clBlue);
    Pump();
    const TRect area = Rect(10, 10, 110, 40);
    EXPECT_GT(Count(area, clBlue), 0);
    EXPECT_EQ(Count(area, clRed), 0);

    ws.MouseMove(id, 50, 25);
    Pump();
    ASSERT_TRUE(b->Hot());
    const int lit = Count(area, clRed);
    EXPECT_GT(lit, 0);
    EXPECT_EQ(Count(area, clBlue), 0);

    // The glow: two red copies offset diagonally behind the caption in its own colour.
    b->SetEfCaption(true);
    b->Invalidate();
    Pump();
    EXPECT_GT(Count(area, clBlue), 0);
    EXPECT_GT(Count(area, clRed), 0);
}

TEST_F(EfButtonsTest, EffectButtonFiguresIdleAndPressed)
{
    auto* b = Add<TepEfButton>(10, 10);
    EXPECT_EQ(b->Width(), 65);
    EXPECT_EQ(b->Height(), 25);
    EXPECT_EQ(b->ActiveTextColor(), TColor(0xFF0000));
    EXPECT_EQ(b->BtnColor(), clBtnFace);
    EXPECT_EQ(b->FrameWidth(), 2);
    EXPECT_EQ(b->BtnFrameWidth(), 3);
    b->SetColor(TColor(0x808080));
    b->SetCaption("Go");
    Pump();
    const TColor cd = TColor(0x3F3F3F), cl = TColor(0xC1C1C1);
    // The sharp outer edge of the well and the sharp outer line of the rim.
    EXPECT_EQ(At(10, 10 + 12), cd);
    EXPECT_EQ(At(10 + 64, 10 + 12), cl);
    EXPECT_EQ(At(10 + 2, 10 + 12), clBlack);
    EXPECT_EQ(At(10 + 62, 10 + 12), clBlack);
    // The rim's second ring and the plate's bevel went through the blur: the ring is no
    // longer black, and darker than the bevel beside it.
    const TColor second = At(10 + 3, 10 + 12), bevel = At(10 + 5, 10 + 12);
    EXPECT_NE(second, clBlack);
    EXPECT_LT(GetRValue(second), GetRValue(bevel));
    const TColor fourth = At(10 + 4, 10 + 12);
    const TPoint text = b->TextPos();

    ws.MouseMove(id, 40, 22);
    ws.MouseDown(id, 40, 22, MouseButton::Left);
    Pump();
    ASSERT_TRUE(b->Pressed() && b->Hot());
    EXPECT_EQ(b->TextPos(), Point(text.X + 1, text.Y + 1));
    // A third black ring darkens the pixels inside the rim; the sharp lines stay where
    // they were.
    EXPECT_LT(GetRValue(At(10 + 4, 10 + 12)), GetRValue(fourth));
    EXPECT_EQ(At(10 + 2, 10 + 12), clBlack);
    EXPECT_EQ(At(10 + 62, 10 + 12), clBlack);
    EXPECT_EQ(At(10, 10 + 12), cd);

    // Released outside: not pressed, the rim thin again.
    ws.MouseMove(id, 150, 80);
    ws.MouseUp(id, 150, 80, MouseButton::Left);
    Pump();
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(b->TextPos(), text);
    EXPECT_EQ(At(10 + 3, 10 + 12), second);
    EXPECT_EQ(At(10 + 4, 10 + 12), fourth);
    EXPECT_EQ(clicks, 0);
}

TEST_F(EfButtonsTest, EffectButtonWithoutAWellSkipsTheSharpOuterEdge)
{
    auto* b = Add<TepEfButton>(10, 10);
    b->SetColor(TColor(0x808080));
    b->SetFrameWidth(0);
    Pump();
    // With fw 0 the rim's sharp outer line is the outermost one.
    EXPECT_EQ(At(10, 10 + 12), clBlack);
    EXPECT_EQ(At(10 + 64, 10 + 12), clBlack);
    EXPECT_EQ(At(10 + 12, 10), clBlack);
}
