// The round fader and the toggle switch: shape, knob figures, the drag with its timer and
// its stop rule, ranges without travel, the switch's clicks, and the faces as pixels.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPCtrls.h"
#include "effectlib/Grutils.h"

namespace {

using plat::MouseButton;

class FaderTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(200, 200, 0, 0, clBtnFace);
        id = form->WindowHandle();
        fader = new TepRegulator(form);
        fader->SetParent(form);
        fader->SetBounds(10, 20, 30, 150);
        fader->OnChange = TNotifyEvent::FromFunction([this](TObject*) { ++changes; });
        Pump();
    }
    void Press(int x, int y, MouseButton b = MouseButton::Left)
    {
        ws.MouseMove(id, x, y);
        ws.MouseDown(id, x, y, b);
        Pump();
    }
    void Move(int x, int y)
    {
        ws.MouseMove(id, x, y);
        Pump();
    }
    void Release(int x, int y)
    {
        ws.MouseUp(id, x, y, MouseButton::Left);
        Pump();
    }
    void Tick(int ms = 100)
    {
        plat::AdvanceManualClock(ms);
        Pump();
    }

    TForm* form = nullptr;
    uintptr_t id = 0;
    TepRegulator* fader = nullptr;
    int changes = 0;
};

} // namespace

TEST_F(FaderTest, DefaultsShapeAndKnobFigures)
{
    auto* f = new TepRegulator(form);
    EXPECT_EQ(f->Width(), 30);
    EXPECT_EQ(f->Height(), 150);
    EXPECT_EQ(f->TimeInt(), 100u);
    EXPECT_EQ(f->MinValue(), 0);
    EXPECT_EQ(f->MaxValue(), 100);
    EXPECT_EQ(f->Value(), 0);
    EXPECT_EQ(f->BtnColor(), clBtnFace);
    EXPECT_EQ(f->FrameWidth(), 1);
    EXPECT_EQ(f->Radius(), 15);
    EXPECT_EQ(f->BtnPos(), 135);   // Value 0 = MinValue: Height - radius
    EXPECT_TRUE(f->ControlStyle() & csOpaque);

    fader->SetValue(50);
    EXPECT_EQ(fader->BtnPos(), 75);   // 150 - 15 - Trunc(120 * 0.5)
    fader->SetValue(100);
    EXPECT_EQ(fader->BtnPos(), 15);
    fader->SetValue(250);
    EXPECT_EQ(fader->Value(), 100);
    fader->SetValue(-5);
    EXPECT_EQ(fader->BtnPos(), 135);
    fader->SetValue(33);
    EXPECT_EQ(fader->BtnPos(), 150 - 15 - 39);   // Trunc(120 * 0.33) = 39
    fader->CalcValue();   // Trunc(100 * (1 - 81 / 120)) = Trunc(32.5)
    EXPECT_EQ(fader->Value(), 32);

    // An odd width loses a column; the shape is a bar with semicircular ends.
    fader->SetBounds(10, 20, 31, 150);
    EXPECT_EQ(fader->Width(), 30);
    EXPECT_EQ(fader->Radius(), 15);
    const plat::Region* shape = fader->WindowRgn();
    ASSERT_NE(shape, nullptr);
    EXPECT_FALSE(shape->Contains(0, 0));
    EXPECT_FALSE(shape->Contains(1, 1));
    EXPECT_TRUE(shape->Contains(15, 0));
    EXPECT_TRUE(shape->Contains(0, 75));
    EXPECT_TRUE(shape->Contains(29, 75));
    EXPECT_FALSE(shape->Contains(30, 75));
    EXPECT_FALSE(shape->Contains(0, 149));
}

TEST_F(FaderTest, RangeChangesMoveTheValueButNotTheKnob)
{
    fader->SetValue(20);
    const int pos = fader->BtnPos();
    changes = 0;
    fader->SetMinValue(40);
    EXPECT_EQ(fader->Value(), 40);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fader->BtnPos(), pos);
    fader->SetMinValue(40);
    EXPECT_EQ(changes, 1);
    fader->SetMaxValue(30);
    EXPECT_EQ(fader->Value(), 30);
    EXPECT_EQ(changes, 2);
    fader->SetMaxValue(30);   // unchanged
    EXPECT_EQ(changes, 2);
}

TEST_F(FaderTest, RangesWithoutTravelNeverDivide)
{
    fader->SetMinValue(7);
    fader->SetMaxValue(7);
    fader->SetValue(7);
    EXPECT_EQ(fader->BtnPos(), 150 - 15);
    fader->CalcBtnPos();
    EXPECT_EQ(fader->BtnPos(), 135);
    fader->CalcValue();
    EXPECT_EQ(fader->Value(), 7);
    Pump();

    // Press the knob and drag: nothing moves, the value stays.
    Press(10 + 15, 20 + 135);
    EXPECT_TRUE(fader->Dragging());
    Move(10 + 15, 20 + 40);
    Tick();
    EXPECT_EQ(fader->Value(), 7);
    EXPECT_EQ(fader->BtnPos(), 135);
    Release(10 + 15, 20 + 40);

    // A bar no higher than its width: no travel either.
    fader->SetMaxValue(100);
    fader->SetBounds(10, 20, 30, 30);
    EXPECT_EQ(fader->BtnPos(), 15);
    fader->SetValue(60);
    EXPECT_EQ(fader->BtnPos(), 15);
    fader->CalcValue();
    EXPECT_EQ(fader->Value(), 7);
}

TEST_F(FaderTest, DragFollowsAtTheTimersPaceAndComesBackPastTheStop)
{
    fader->SetValue(50);
    Pump();
    // A press beside the knob does nothing.
    Press(10 + 2, 20 + 75);
    EXPECT_FALSE(fader->Dragging());
    Release(10 + 2, 20 + 75);
    Press(10 + 15, 20 + 75, MouseButton::Right);
    EXPECT_FALSE(fader->Dragging());
    ws.MouseUp(id, 10 + 15, 20 + 75, MouseButton::Right);
    Pump();

    changes = 0;
    Press(10 + 15, 20 + 75);
    ASSERT_TRUE(fader->Dragging());
    Move(10 + 15, 20 + 45);   // 30 up
    EXPECT_EQ(fader->BtnPos(), 75);   // not before the timer
    Tick(99);
    EXPECT_EQ(fader->BtnPos(), 75);
    Tick(1);
    EXPECT_EQ(fader->BtnPos(), 45);
    EXPECT_EQ(fader->Value(), 75);   // 0 + Trunc(100 * (1 - 30 / 120))
    EXPECT_EQ(changes, 1);

    // Beyond the top: the knob stops at the radius, the pointer's place is taken.
    Move(10 + 15, 20 - 10);
    Tick();
    EXPECT_EQ(fader->BtnPos(), 15);
    EXPECT_EQ(fader->Value(), 100);
    EXPECT_EQ(changes, 2);
    // Further out and part of the way back move nothing: the knob moves again only once
    // the pointer comes back past the point where the knob stopped.
    Move(10 + 15, 0);
    Tick();
    EXPECT_EQ(fader->BtnPos(), 15);
    Move(10 + 15, 20 - 15);
    Tick();
    EXPECT_EQ(fader->BtnPos(), 15);
    Move(10 + 15, 20 + 10);
    Tick();
    EXPECT_EQ(fader->BtnPos(), 15 + 20);
    EXPECT_EQ(changes, 3);
    Release(10 + 15, 20 + 10);
    EXPECT_FALSE(fader->Dragging());
    Move(10 + 15, 20 + 100);
    Tick();
    EXPECT_EQ(fader->BtnPos(), 35);
}

TEST_F(FaderTest, AZeroPeriodRunsTheTimerAtTenMilliseconds)
{
    fader->SetTimeInt(0);
    fader->SetValue(50);
    Pump();
    Press(10 + 15, 20 + 75);
    Move(10 + 15, 20 + 65);
    Tick(9);
    EXPECT_EQ(fader->BtnPos(), 75);
    Tick(1);
    EXPECT_EQ(fader->BtnPos(), 65);
    Release(10 + 15, 20 + 65);
}

TEST_F(FaderTest, FaceShowsTheKnobWhereTheValuePutsIt)
{
    fader->SetBtnColor(clRed);
    fader->SetValue(50);
    Pump();
    // The knob's middle is the knob colour (the blur keeps a flat area), the slot below
    // it is not; outside the shape the form shows.
    EXPECT_PRED3(effctltest::Near, Pixel(form, 10 + 15, 20 + 75), clRed, 4);
    EXPECT_FALSE(effctltest::Near(Pixel(form, 10 + 15, 20 + 120), clRed, 40));
    EXPECT_EQ(Pixel(form, 10, 20), ColorToRGB(clBtnFace));
    fader->SetValue(100);
    Pump();
    EXPECT_PRED3(effctltest::Near, Pixel(form, 10 + 15, 20 + 15), clRed, 4);
    EXPECT_FALSE(effctltest::Near(Pixel(form, 10 + 15, 20 + 75), clRed, 40));
    // The knob rectangle for frame width 1: (C + 0 - 15 + 4, ...) = (4, Y - 11, 26, Y + 11).
    EXPECT_EQ(fader->KnobRect(75), Rect(4, 64, 26, 86));
    EXPECT_TRUE(fader->PointinBtn(15, 15));
    EXPECT_FALSE(fader->PointinBtn(15, 75));
    fader->SetValue(50);
    EXPECT_TRUE(fader->PointinBtn(15, 65));
    EXPECT_FALSE(fader->PointinBtn(4, 64));
}

TEST_F(FaderTest, SwitchShapeClicksAndEvents)
{
    auto* sw = new TepSwitch(form);
    sw->SetParent(form);
    sw->SetBounds(100, 20, 35, 70);
    int ons = 0, offs = 0;
    sw->OnOn = TNotifyEvent::FromFunction([&](TObject*) { ++ons; });
    sw->OnOff = TNotifyEvent::FromFunction([&](TObject*) { ++offs; });
    Pump();
    EXPECT_EQ(sw->Width(), 34);
    EXPECT_EQ(sw->Height(), 51);
    EXPECT_EQ(sw->Radius(), 17);
    EXPECT_EQ(sw->State(), sOff);
    EXPECT_EQ(sw->OnBtnColor(), clLime);
    EXPECT_EQ(sw->OffBtnColor(), clBtnFace);
    EXPECT_EQ(sw->KnobY(), 51 - 17 - 1);

    // A corner outside the rounded shape, and a right press, change nothing.
    Press(100 + 1, 20 + 1);
    ws.MouseUp(id, 101, 21, MouseButton::Left);
    Press(100 + 17, 20 + 25, MouseButton::Right);
    ws.MouseUp(id, 117, 45, MouseButton::Right);
    Pump();
    EXPECT_EQ(sw->State(), sOff);
    EXPECT_EQ(ons + offs, 0);

    Press(100 + 17, 20 + 25);
    ws.MouseUp(id, 117, 45, MouseButton::Left);
    Pump();
    EXPECT_EQ(sw->State(), sOn);
    EXPECT_EQ(ons, 1);
    EXPECT_EQ(sw->KnobY(), 19);
    EXPECT_PRED3(effctltest::Near, Pixel(form, 100 + 17, 20 + 19), clLime, 4);
    EXPECT_FALSE(effctltest::Near(Pixel(form, 100 + 17, 20 + 33), clLime, 40));
    Press(100 + 17, 20 + 25);
    ws.MouseUp(id, 117, 45, MouseButton::Left);
    Pump();
    EXPECT_EQ(sw->State(), sOff);
    EXPECT_EQ(offs, 1);
    sw->SetState(sOff);
    EXPECT_EQ(offs, 2);
    sw->SetState(sOn);
    EXPECT_EQ(ons, 2);
}
