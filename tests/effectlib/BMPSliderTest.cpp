// The bitmap slider on a headless form: the window's figures, the value mapping and its
// rounding, snapping, stepping, keys, the ruler press repeat on a manual clock, dragging,
// tick marks, the built ruler, the stored image set, the transparent thumb, and the
// gallery pictures at 40, 120 and 208.
#include "EffectControlsTestSupport.h"

#include "effectlib/Bmslider.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/core/Writer.h"
#include "platform/raster/ImageFiles.h"

#include <climits>
#include <filesystem>

namespace {

constexpr TColor Aqua = 0x00FFFF00;   // TColor of #00FFFF
constexpr TColor ThumbFace = 0x00A0A0A0;

// A thumb image of w x h: a face inside a 3-pixel aqua border (the key colour).
void MakeThumb(TBitmap& b, int w, int h, int states = 1)
{
    b.SetPixelFormat(pf24bit);
    b.SetSize(w * states, h);
    b.Handle()->Fill(Aqua);
    for (int s = 0; s < states; ++s)
        for (int y = 3; y < h - 3; ++y)
            for (int x = 3; x < w - 3; ++x)
                b.Handle()->SetColor(s * w + x, y, s == 0 ? ThumbFace : clNavy);
}

// A ruler image whose pixel along the axis at i has a colour that names i; the key colour
// white sits at the bottom-left pixel only.
TColor RulerColor(int i) { return RGB(uint8_t(i), uint8_t(i >> 8), 0x40); }

void MakeRuler(TBitmap& b, int w, int h, bool vertical)
{
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.Handle()->SetColor(x, y, RulerColor(vertical ? y : x));
    b.Handle()->SetColor(0, h - 1, clWhite);
}

class SliderTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(300, 320, 0, 0, clBtnFace);
        id = form->WindowHandle();
    }
    // The window's tempo slider at (10, 10) on the form.
    TepBMPSlider* WindowSlider()
    {
        auto* s = new TepBMPSlider(form);
        s->SetName("sliderTempo");
        s->SetBounds(10, 10, 76, 281);
        s->SetParent(form);
        s->SetOrientation(soVertical);
        TBitmap thumb, ruler;
        MakeThumb(thumb, 70, 37);
        MakeRuler(ruler, 70, 275, true);
        s->SetImage(siVThumb, &thumb);
        s->SetImage(siVRuler, &ruler);
        s->SetNumThumbStates(1);
        s->SetTransparent(true);
        s->SetThumbTransparent(true);
        s->SetOptions(1 << soSmooth);
        s->SetMinValue(40);
        s->SetMaxValue(208);
        s->SetIncrement(1);
        s->SetValue(120);
        s->OnChange = TNotifyEvent::FromFunction([this](TObject*) { ++changes; });
        Pump();
        return s;
    }
    // A horizontal slider whose thumb travels RL pixels: thumb 20 x 20, a 50 x 10 ruler.
    TepBMPSlider* HorizontalSlider(int RL, TSliderOptions options)
    {
        auto* s = new TepBMPSlider(form);
        s->SetBounds(0, 0, RL + 32, 60);
        s->SetParent(form);
        s->SetColor(clWhite);
        TBitmap thumb, ruler;
        MakeThumb(thumb, 20, 20);
        ruler.SetSize(50, 10);
        ruler.Handle()->Fill(clWhite);   // all key colour: the ruler draws nothing
        s->SetImage(siHThumb, &thumb);
        s->SetImage(siHRuler, &ruler);
        s->SetNumThumbStates(1);
        s->SetOptions(options);
        Pump();
        return s;
    }
    void Press(int x, int y)
    {
        ws.MouseDown(id, x, y);
        Pump();
    }
    void MoveTo(int x, int y)
    {
        ws.MouseMove(id, x, y);
        Pump();
    }
    void Release(int x, int y)
    {
        ws.MouseUp(id, x, y);
        Pump();
    }
    void Key(int vk, uint32_t mods = 0)
    {
        ws.KeyDown(vk, mods);
        ws.KeyUp(vk, mods);
        Pump();
    }

    TForm* form = nullptr;
    plat::WindowId id = 0;
    int changes = 0;
};

} // namespace

TEST_F(SliderTest, TheWindowsFigures)
{
    TepBMPSlider* s = WindowSlider();
    EXPECT_EQ(s->UserImages(), 0x0C);
    EXPECT_EQ(s->Ruler()->Width(), 70);
    EXPECT_EQ(s->Ruler()->Height(), 269);
    for (int y : { 0, 1, 2, 100, 268 })
        EXPECT_EQ(s->Ruler()->Image().GetColor(10, y), RulerColor(y)) << y;
    EXPECT_EQ(s->GetRulerLength(), 232);
    EXPECT_EQ(s->Thumb()->Width(), 70);
    EXPECT_EQ(s->Thumb()->Height(), 37);
    EXPECT_EQ(s->Thumb()->Left(), 6);
    EXPECT_EQ(s->Thumb()->Top(), 128);
    EXPECT_EQ(s->PointsRect(), Rect(77, 6, 75, 275));

    EXPECT_EQ(s->GetOffsetByValue(208), 6);
    EXPECT_EQ(s->GetOffsetByValue(40), 238);
    EXPECT_EQ(s->GetValueByOffset(128), 120);
    EXPECT_EQ(s->GetValueByOffset(6), 208);
    EXPECT_EQ(s->GetValueByOffset(238), 40);

    s->SetValue(300);
    EXPECT_EQ(s->Value(), 208);
    EXPECT_EQ(s->Thumb()->Top(), 6);
    EXPECT_EQ(changes, 1);
    s->SetValue(208);
    EXPECT_EQ(changes, 1);
    s->SetValue(-5);
    EXPECT_EQ(s->Value(), 40);
    EXPECT_EQ(s->Thumb()->Top(), 238);
    EXPECT_EQ(changes, 2);
}

// Halves go to the even neighbour: RL 10 over the range 0..4 puts value 1 at 2.5 -> 2
// and value 3 at 7.5 -> 8.
TEST_F(SliderTest, PositionsRoundHalvesToEven)
{
    TepBMPSlider* s = HorizontalSlider(10, 1 << soSmooth);
    s->SetIncrement(1);
    s->SetMaxValue(4);
    EXPECT_EQ(s->GetOffsetByValue(1), 6 + 2);
    EXPECT_EQ(s->GetOffsetByValue(3), 6 + 8);
    EXPECT_EQ(s->GetOffsetByValue(4), 6 + 10);
}

TEST_F(SliderTest, WideRangesAreComputedWithoutOverflow)
{
    TepBMPSlider* s = WindowSlider();
    s->SetMaxValue(2000000000);
    s->SetMinValue(-2000000000);
    EXPECT_EQ(s->GetOffsetByValue(2000000000), 6);
    EXPECT_EQ(s->GetOffsetByValue(-2000000000), 238);
    EXPECT_EQ(s->GetOffsetByValue(0), 122);
    EXPECT_EQ(s->GetValueByOffset(6), 2000000000);
    s->SetIncrement(1000000000);
    s->SetValue(1500000000);
    s->ThumbJump(jmNext);
    EXPECT_EQ(s->Value(), 2000000000);
    s->SetValue(INT_MIN);
    EXPECT_EQ(s->Value(), -2000000000);

    // Tick marks over four billion values at a step of 1: a few dozen marks, at once.
    s->SetIncrement(1);
    s->SetOptions((1 << soSmooth) | (1 << soShowPoints));
    s->SetPointsColor(clBlack);
    Pump();
    int marks = 0;
    for (int y = 10; y < 10 + 281; ++y)
        marks += Pixel(form, 10 + 75, y) == clBlack;   // the strip starts at the edge
    EXPECT_GT(marks, 20);
    EXPECT_LT(marks, 80);
}

TEST_F(SliderTest, DraggingTheThumbStopsAtBothEnds)
{
    TepBMPSlider* s = WindowSlider();
    // The thumb's centre: slider (10, 10) + thumb (6, 128) + (35, 18).
    const int x = 51, y = 156;
    Press(x, y);
    EXPECT_TRUE(s->Dragging());
    EXPECT_TRUE(s->Thumb()->Down());
    MoveTo(x, y - 30);
    EXPECT_EQ(s->Thumb()->Top(), 98);
    EXPECT_EQ(s->Value(), s->GetValueByOffset(98));
    MoveTo(x, y - 500);
    EXPECT_EQ(s->Thumb()->Top(), 6);
    EXPECT_EQ(s->Value(), 208);
    MoveTo(x, y + 500);
    EXPECT_EQ(s->Thumb()->Top(), 238);
    EXPECT_EQ(s->Value(), 40);
    MoveTo(x, y);   // back to the press point: the thumb's top is 128 again
    EXPECT_EQ(s->Thumb()->Top(), 128);
    EXPECT_EQ(s->Value(), 120);
    Release(x, y);
    EXPECT_FALSE(s->Dragging());
    EXPECT_FALSE(s->Thumb()->Down());
    EXPECT_EQ(changes, 4);
    MoveTo(x, y - 50);
    EXPECT_EQ(s->Value(), 120);
}

TEST_F(SliderTest, WithoutSmoothTheThumbSnapsToIncrements)
{
    TepBMPSlider* s = HorizontalSlider(100, 1 << soShowPoints);
    ASSERT_EQ(s->GetRulerLength(), 100);
    EXPECT_EQ(s->GetValueByOffset(63), 50);
    EXPECT_EQ(s->GetOffsetByValue(50), 56);
    s->SetThumbOffset(63);
    EXPECT_EQ(s->GetThumbOffset(), 56);
    EXPECT_EQ(s->Value(), 0);   // not dragging: the value stays

    // Dragged there from the start, the value follows.
    s->SetValue(0);
    ASSERT_EQ(s->GetThumbOffset(), 6);
    const int y = s->Thumb()->Top() + 10;
    const int x = s->Thumb()->Left() + 10;
    Press(x, y);
    MoveTo(x + 57, y);
    EXPECT_EQ(s->GetThumbOffset(), 56);
    EXPECT_EQ(s->Value(), 50);
    Release(x + 57, y);
}

TEST_F(SliderTest, JumpsCountFromZeroInIncrements)
{
    TepBMPSlider* s = HorizontalSlider(100, 1 << soSmooth);
    s->SetValue(45);
    s->ThumbJump(jmPrior);
    EXPECT_EQ(s->Value(), 30);
    s->SetValue(45);
    s->ThumbJump(jmNext);
    EXPECT_EQ(s->Value(), 50);
    s->ThumbJump(jmEnd);
    EXPECT_EQ(s->Value(), 100);
    s->ThumbJump(jmHome);
    EXPECT_EQ(s->Value(), 0);
    s->ThumbJump(jmNone);
    EXPECT_EQ(s->Value(), 0);

    EXPECT_EQ(s->JumpTo(s->Thumb()->Left() - 1, 5), jmPrior);
    EXPECT_EQ(s->JumpTo(s->Thumb()->Left() + 21, 5), jmNext);
    EXPECT_EQ(s->JumpTo(s->Thumb()->Left() + 20, 5), jmNone);
}

TEST_F(SliderTest, KeysStepAndModifiersAreIgnored)
{
    TepBMPSlider* s = WindowSlider();
    s->SetIncrement(5);
    s->SetFocus();
    ASSERT_TRUE(s->Focused());
    std::vector<int> seen;
    s->OnKeyDown = TKeyEvent::FromFunction([&](TObject*, uint16_t& k, TShiftState) {
        seen.push_back(k);
    });
    Key(plat::vk::Up);
    EXPECT_EQ(s->Value(), 125);
    Key(plat::vk::Down);
    Key(plat::vk::Down);
    EXPECT_EQ(s->Value(), 115);
    Key(plat::vk::Up, plat::mod::Shift);
    Key(plat::vk::Down, plat::mod::Ctrl);
    EXPECT_EQ(s->Value(), 115);
    Key(plat::vk::Left);   // not an axis key of a vertical slider
    EXPECT_EQ(s->Value(), 115);
    Key(plat::vk::Home);
    EXPECT_EQ(s->Value(), 40);
    EXPECT_EQ(s->Thumb()->Top(), 238);   // the minimum lies at the bottom
    Key(plat::vk::End);
    EXPECT_EQ(s->Value(), 208);
    EXPECT_EQ(seen, (std::vector<int> { 0, 0, 0, plat::vk::Up, plat::vk::Down,
                        plat::vk::Left, 0, 0 }));
    EXPECT_EQ(s->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(SliderTest, HeldRulerPressRepeatsEvery400Milliseconds)
{
    TepBMPSlider* s = WindowSlider();
    s->SetIncrement(10);
    const int timers = Application->TimerCount();
    // 30 pixels above the thumb (top 128): slider y 98.
    Press(10 + 35, 10 + 98);
    EXPECT_TRUE(s->Tracking());
    EXPECT_EQ(s->Value(), 130);   // at once
    EXPECT_EQ(s->Thumb()->Top(), 114);
    EXPECT_TRUE(s->TimerActive());
    EXPECT_EQ(Application->TimerCount(), timers + 1);

    plat::AdvanceManualClock(399);
    Pump();
    EXPECT_EQ(s->Value(), 130);
    plat::AdvanceManualClock(1);
    Pump();
    EXPECT_EQ(s->Value(), 140);
    EXPECT_EQ(s->Thumb()->Top(), 100);
    plat::AdvanceManualClock(400);
    Pump();
    EXPECT_EQ(s->Value(), 150);   // the thumb (top 86) now covers the pointer
    plat::AdvanceManualClock(400);
    Pump();
    EXPECT_EQ(s->Value(), 150);
    EXPECT_TRUE(s->TimerActive());   // it runs on until the release

    Release(10 + 35, 10 + 98);
    EXPECT_FALSE(s->Tracking());
    EXPECT_FALSE(s->TimerActive());
    EXPECT_EQ(Application->TimerCount(), timers);
    plat::AdvanceManualClock(2000);
    Pump();
    EXPECT_EQ(s->Value(), 150);

    // Below the thumb the value steps down.
    Press(10 + 35, 10 + 270);
    EXPECT_EQ(s->Value(), 140);
    Release(10 + 35, 10 + 270);
    EXPECT_EQ(changes, 4);
}

TEST_F(SliderTest, TickMarksForATravelOf100And20)
{
    TepBMPSlider* s = HorizontalSlider(100, (1 << soShowPoints) | (1 << soSmooth));
    s->SetPointsColor(clBlack);
    Pump();
    const TRect pr = s->PointsRect();
    ASSERT_EQ(pr, Rect(6, 27, 126, 59));
    auto marks = [&](std::vector<int>& lengths) {
        std::vector<int> xs;
        lengths.clear();
        for (int x = 0; x < s->Width(); ++x) {
            int n = 0;
            for (int y = pr.Top; y < pr.Bottom; ++y)
                n += Pixel(form, x, y) == clBlack;
            if (n) {
                xs.push_back(x);
                lengths.push_back(n);
            }
        }
        return xs;
    };
    std::vector<int> lengths;
    std::vector<int> xs = marks(lengths);
    ASSERT_EQ(xs.size(), 11u);
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(xs[size_t(i)], s->GetOffsetByValue(10 * i) + 10) << i;
        EXPECT_EQ(lengths[size_t(i)], i == 0 || i == 10 ? 4 : 3) << i;
    }
    // Centred in the strip: y from top + height / 2 - size / 2.
    EXPECT_EQ(Pixel(form, xs[1], 27 + 16 - 1), clBlack);
    EXPECT_NE(Pixel(form, xs[1], 27 + 16 - 2), clBlack);
    EXPECT_EQ(Pixel(form, xs[0], 27 + 16 - 2), clBlack);

    s->SetBounds(0, 0, 20 + 32, 60);
    Pump();
    ASSERT_EQ(s->GetRulerLength(), 20);
    form->Invalidate();
    Pump();
    xs = marks(lengths);
    std::vector<int> want;
    for (int v : { 0, 30, 60, 90 })
        want.push_back(s->GetOffsetByValue(v) + 10);
    EXPECT_EQ(xs, want);
    EXPECT_EQ(lengths, (std::vector<int> { 4, 3, 3, 3 }));   // no mark at 100
}

// A thumb longer than the ruler has no travel: it stays at the start, and so do all the
// marks, centred on it, none of them before the ruler's start.
TEST_F(SliderTest, TickMarksOfAThumbLongerThanTheRulerStandAtTheThumb)
{
    auto* s = new TepBMPSlider(form);
    s->SetBounds(0, 0, 30, 60);
    s->SetParent(form);
    s->SetColor(clWhite);
    TBitmap thumb, ruler;
    MakeThumb(thumb, 40, 20);
    ruler.SetSize(50, 10);
    ruler.Handle()->Fill(clWhite);
    s->SetImage(siHThumb, &thumb);
    s->SetImage(siHRuler, &ruler);
    s->SetNumThumbStates(1);
    s->SetOptions((1 << soShowPoints) | (1 << soSmooth));
    s->SetPointsColor(clBlack);
    s->SetValue(100);
    Pump();
    ASSERT_LT(s->GetRulerLength(), 0);
    ASSERT_EQ(s->Thumb()->Left(), 6);
    std::vector<int> columns;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < s->Height(); ++y)
            if (Pixel(form, x, y) == clBlack) {
                columns.push_back(x);
                break;
            }
    EXPECT_EQ(columns, (std::vector<int> { 6 + 40 / 2 }));
}

TEST_F(SliderTest, EdgeSizeMustLeaveAMiddle)
{
    TepBMPSlider* s = HorizontalSlider(100, 0);
    TBitmap ruler;
    MakeRuler(ruler, 70, 10, false);
    s->SetImage(siHRuler, &ruler);
    s->SetEdgeSize(35);
    EXPECT_EQ(s->EdgeSize(), 2);
    s->SetEdgeSize(-1);
    EXPECT_EQ(s->EdgeSize(), 2);
    s->SetEdgeSize(34);
    EXPECT_EQ(s->EdgeSize(), 34);

    // A shorter image later leaves no middle; the ruler is then the image once.
    TBitmap tiny;
    MakeRuler(tiny, 60, 10, false);
    s->SetImage(siHRuler, &tiny);
    EXPECT_EQ(s->Ruler()->Width(), 120);
    EXPECT_EQ(s->Ruler()->Image().GetColor(59, 3), RulerColor(59));
}

TEST_F(SliderTest, AShortRulerImageIsExtendedByItsMiddle)
{
    TepBMPSlider* s = HorizontalSlider(100, 0);
    TBitmap ruler;
    MakeRuler(ruler, 50, 10, false);   // E 2, middle 46, image length 50
    s->SetImage(siHRuler, &ruler);
    s->SetBounds(0, 0, 212, 60);   // ruler length 200: L 196, 5 pieces, rem 12
    const plat::Surface& r = s->Ruler()->Image();
    ASSERT_EQ(r.Width(), 200);
    auto expected = [](int x) {
        if (x < 48)
            return x;                  // leading edge and middle
        if (x < 186)
            return 2 + (x - 48) % 46;  // the middle repeated
        return 36 + (x - 186);         // the last 12 of the middle, then the edge
    };
    for (int x = 0; x < 200; ++x)
        ASSERT_EQ(r.GetColor(x, 5), RulerColor(expected(x))) << x;
    EXPECT_EQ(r.GetColor(199, 5), RulerColor(49));
    // The ruler lies from 6 to 6 pixels before the far end.
    EXPECT_EQ(s->RulerPos().X + r.Width(), s->Width() - 6);
}

TEST_F(SliderTest, RangeStepAndStateRefusals)
{
    TepBMPSlider* s = HorizontalSlider(100, 1 << soSmooth);
    s->SetMinValue(95);   // above MaxValue - Increment
    EXPECT_EQ(s->MinValue(), 0);
    s->SetMinValue(90);
    EXPECT_EQ(s->MinValue(), 90);
    s->SetMaxValue(95);
    EXPECT_EQ(s->MaxValue(), 100);
    s->SetIncrement(0);
    s->SetIncrement(-3);
    EXPECT_EQ(s->Increment(), 10);
    s->SetNumThumbStates(0);
    s->SetNumThumbStates(3);
    EXPECT_EQ(s->NumThumbStates(), 1);

    // A thumb as long as the ruler leaves no travel: every position means MinValue.
    TBitmap wide;
    MakeThumb(wide, 200, 20);
    s->SetImage(siHThumb, &wide);
    EXPECT_LE(s->GetRulerLength(), 0);
    EXPECT_EQ(s->GetValueByOffset(50), 90);
    s->SetValue(95);
    EXPECT_EQ(s->GetThumbOffset(), 6);
    Pump();
}

TEST_F(SliderTest, TwoThumbStatesShowThePressedImage)
{
    TepBMPSlider* s = HorizontalSlider(100, 1 << soSmooth);
    TBitmap two;
    MakeThumb(two, 20, 20, 2);
    s->SetImage(siHThumb, &two);
    s->SetNumThumbStates(2);
    EXPECT_EQ(s->Thumb()->Width(), 20);
    EXPECT_EQ(s->GetRulerLength(), 100);
    const int x = s->Thumb()->Left() + 10, y = s->Thumb()->Top() + 10;
    EXPECT_EQ(Pixel(form, x, y), ThumbFace);
    Press(x, y);
    EXPECT_EQ(Pixel(form, x, y), clNavy);
    Release(x, y);
    EXPECT_EQ(Pixel(form, x, y), ThumbFace);
}

TEST_F(SliderTest, KeyColouredThumbPixelsLetPressesThroughToTheSlider)
{
    TepBMPSlider* s = WindowSlider();
    const plat::Region* shape = s->Thumb()->WindowRgn();
    ASSERT_NE(shape, nullptr);
    EXPECT_FALSE(shape->Contains(1, 1));
    EXPECT_TRUE(shape->Contains(35, 18));

    // The thumb's top-left corner pixel is aqua: the press reaches the slider.
    Press(10 + 6 + 1, 10 + 128 + 1);
    EXPECT_FALSE(s->Dragging());
    EXPECT_TRUE(s->Tracking());
    Release(10 + 6 + 1, 10 + 128 + 1);
    Press(10 + 6 + 35, 10 + 128 + 18);
    EXPECT_TRUE(s->Dragging());
    Release(10 + 6 + 35, 10 + 128 + 18);

    s->SetThumbTransparent(false);
    EXPECT_EQ(s->Thumb()->WindowRgn(), nullptr);
    Press(10 + 6 + 1, 10 + 128 + 1);
    EXPECT_TRUE(s->Dragging());
    Release(10 + 6 + 1, 10 + 128 + 1);
}

TEST_F(SliderTest, TheStreamHoldsTheImageSetAndARangeSurvives)
{
    TepBMPSlider* s = WindowSlider();
    s->SetMaxValue(300);
    s->SetMinValue(150);
    s->SetValue(200);
    const std::string text = WriteComponentRes(form);
    EXPECT_NE(text.find("    UserImages = {\n      0C}\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    ImageVThumb.Data = {"), std::string::npos);
    EXPECT_NE(text.find("    ImageVRuler.Data = {"), std::string::npos);
    EXPECT_EQ(text.find("ImageHThumb"), std::string::npos);
    EXPECT_NE(text.find("    Orientation = soVertical\n"), std::string::npos);
    EXPECT_EQ(text.find("EdgeSize"), std::string::npos);   // the declared default
    EXPECT_NE(text.find("    MinValue = 150\n"), std::string::npos);

    auto* copy = new TForm(Application, text);
    auto* t = dynamic_cast<TepBMPSlider*>(copy->FindComponent("sliderTempo"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->UserImages(), 0x0C);
    EXPECT_EQ(t->MinValue(), 150);
    EXPECT_EQ(t->MaxValue(), 300);
    EXPECT_EQ(t->Value(), 200);
    EXPECT_EQ(t->Orientation(), soVertical);
    EXPECT_EQ(t->Thumb()->Width(), 70);
    EXPECT_EQ(t->Thumb()->Top(), s->Thumb()->Top());
    EXPECT_TRUE(t->Ruler()->Image() == s->Ruler()->Image());
    EXPECT_TRUE(t->ThumbTransparent());
    EXPECT_NE(t->Thumb()->WindowRgn(), nullptr);
    EXPECT_EQ(WriteComponentRes(copy), text);

    // A slider without supplied images writes no image set.
    auto* plain = new TepBMPSlider(form);
    plain->SetName("plain");
    plain->SetParent(form);
    EXPECT_EQ(WriteComponentRes(form).find("UserImages", text.find("object plain")),
        std::string::npos);
}

namespace {

// A form holding one slider with the range settings given, in stream order.
std::string SliderForm(const std::string& range)
{
    return "object frmRange: TForm\n"
           "  ClientWidth = 200\n"
           "  ClientHeight = 100\n"
           "  object s: TepBMPSlider\n"
           "    Left = 0\n"
           "    Top = 0\n"
           "    Width = 140\n"
           "    Height = 40\n"
        + range + "    Value = 55\n  end\nend\n";
}

} // namespace

// A stored pair that is a range comes back as stored, even when it is narrower than
// Increment; a pair that is not a range is taken again through the setters' rules, in
// the stream's order, from the range the slider had before.
TEST_F(SliderTest, LoadingKeepsAStoredRangeAndRepairsOnlyABrokenOne)
{
    struct Case {
        const char* range;
        int min, max, value;
    } cases[] = {
        { "    Increment = 20\n    MinValue = 50\n    MaxValue = 60\n", 50, 60, 55 },
        { "    Increment = 1\n    MaxValue = 300\n    MinValue = 150\n", 150, 300, 150 },
        // Not ranges: MinValue 80 fits below 100 - 1, MaxValue 50 not above 80 + 1.
        { "    Increment = 1\n    MinValue = 80\n    MaxValue = 50\n", 80, 100, 80 },
        // MinValue 150 is refused against the old 100, then MaxValue 120 is taken; the
        // stored Value, clamped away while the pair was broken, comes back.
        { "    MinValue = 150\n    MaxValue = 120\n", 0, 120, 55 },
        { "    Increment = 5\n    MinValue = 70\n    MaxValue = 70\n", 70, 100, 70 },
        // Increment after the pair, as a hand-written form may have it: it is not yet in
        // force when the pair is taken.
        { "    MinValue = 60\n    MaxValue = 40\n    Increment = 50\n", 60, 100, 60 },
    };
    for (const Case& c : cases) {
        auto* f = new TForm(Application, SliderForm(c.range));
        auto* s = dynamic_cast<TepBMPSlider*>(f->FindComponent("s"));
        ASSERT_NE(s, nullptr) << c.range;
        EXPECT_EQ(s->MinValue(), c.min) << c.range;
        EXPECT_EQ(s->MaxValue(), c.max) << c.range;
        EXPECT_EQ(s->Value(), c.value) << c.range;
        delete f;
    }
}

namespace {

// The real slider images when the resources are there, else the test images.
void LoadSliderImages(TBitmap& thumb, TBitmap& ruler)
{
    const std::string dir = std::string(SOURCE_DIR) + "/resources/";
    if (std::filesystem::exists(dir + "thumb.bmp") && std::filesystem::exists(dir + "ruler.bmp")) {
        thumb.LoadFromFile(dir + "thumb.bmp");
        ruler.LoadFromFile(dir + "ruler.bmp");
        return;
    }
    MakeThumb(thumb, 70, 37);
    MakeRuler(ruler, 70, 275, true);
}

} // namespace

TEST_F(SliderTest, GalleryAt40And120And208)
{
    auto* panel = new TPanel(form);
    panel->SetBounds(0, 0, 300, 320);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clBtnFace);
    panel->SetParent(form);
    TBitmap thumb, ruler;
    LoadSliderImages(thumb, ruler);
    ASSERT_EQ(thumb.Width(), 70);
    ASSERT_EQ(ruler.Height(), 275);
    TepBMPSlider* sliders[3];
    const int values[3] = { 40, 120, 208 };
    for (int i = 0; i < 3; ++i) {
        auto* s = new TepBMPSlider(form);
        s->SetBounds(10 + 95 * i, 20, 76, 281);
        s->SetParent(panel);
        s->SetOrientation(soVertical);
        s->SetImage(siVThumb, &thumb);
        s->SetImage(siVRuler, &ruler);
        s->SetNumThumbStates(1);
        s->SetTransparent(true);
        s->SetThumbTransparent(true);
        s->SetOptions(1 << soSmooth);
        s->SetMinValue(40);
        s->SetMaxValue(208);
        s->SetIncrement(1);
        s->SetValue(values[i]);
        sliders[i] = s;
    }
    Pump();
    EXPECT_EQ(sliders[0]->Thumb()->Top(), 238);
    EXPECT_EQ(sliders[1]->Thumb()->Top(), 128);
    EXPECT_EQ(sliders[2]->Thumb()->Top(), 6);
    // The ground shows beside the thumb where its image is keyed out.
    EXPECT_EQ(Pixel(form, 10 + 6, 20 + 238), ColorToRGB(clBtnFace));
    const std::string dir = effctltest::GalleryDir();
    EXPECT_TRUE(plat::SavePngFile(dir + "/slider_40_120_208.png", form->Framebuffer()));
}
