// The speed button: groups with and without AllowAllUp through the button-pressed
// notification, Down outside a group, flat frames under the pointer and the press offset,
// the held button's checkerboard, double clicks only while down, the accelerator.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPButtons.h"
#include "effectlib/Wavctrl.h"
#include "framework/core/Stream.h"
#include "framework/graphics/Bitmap.h"

namespace {

using plat::MouseButton;

class SpeedButtonTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(200, 100, 0, 0, clWhite);
        id = form->WindowHandle();
    }
    TepSpeedButton* Add(int x, int y, int group = 0)
    {
        auto* b = new TepSpeedButton(form);
        b->SetParent(form);
        b->SetBounds(x, y, 25, 25);
        b->SetColor(clSilver);
        b->SetFrameWidth(1);
        b->SetGroupIndex(group);
        b->OnClick = TNotifyEvent::FromFunction([this, b](TObject*) { clicked.push_back(b); });
        Pump();
        return b;
    }
    void ClickAt(int x, int y)
    {
        ws.MouseMove(id, x, y);
        ws.MouseDown(id, x, y, MouseButton::Left);
        ws.MouseUp(id, x, y, MouseButton::Left);
        Pump();
    }
    TColor At(int x, int y) { return Pixel(form, x, y); }

    TForm* form = nullptr;
    uintptr_t id = 0;
    std::vector<TepSpeedButton*> clicked;
};

} // namespace

TEST_F(SpeedButtonTest, DefaultsAfterConstruction)
{
    TepSpeedButton b(nullptr);
    EXPECT_EQ(b.Width(), 25);
    EXPECT_EQ(b.Height(), 25);
    EXPECT_TRUE(b.ControlStyle() & csCaptureMouse);
    EXPECT_TRUE(b.ControlStyle() & csOpaque);
    EXPECT_TRUE(b.ControlStyle() & csDoubleClicks);
    EXPECT_TRUE(b.ParentFont());
    EXPECT_EQ(b.GradKind(), gdRight);
    EXPECT_EQ(b.FrameWidth(), 0);
    EXPECT_EQ(b.InnerColor(), clBtnHighlight);
    EXPECT_EQ(b.OuterColor(), clBtnShadow);
    EXPECT_EQ(b.PatternColor(), clWhite);
    EXPECT_EQ(b.NumGlyphs(), 1);
    EXPECT_EQ(b.Margin(), -1);
    EXPECT_EQ(b.Spacing(), 4);
    EXPECT_EQ(b.State(), 0);
}

TEST_F(SpeedButtonTest, ThreeGroupedButtonsWithoutAllowAllUp)
{
    auto* a = Add(10, 10, 1);
    auto* b = Add(40, 10, 1);
    auto* c = Add(70, 10, 1);
    a->SetDown(true);
    EXPECT_EQ(a->State(), 3);

    ClickAt(50, 20);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), 0);
    EXPECT_FALSE(c->Down());
    EXPECT_EQ(clicked, (std::vector<TepSpeedButton*> { b }));

    // A second click leaves it down (and still clicks); SetDown(false) cannot release it.
    ClickAt(50, 20);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicked.size(), 2u);
    b->SetDown(false);
    EXPECT_TRUE(b->Down());

    // A release outside neither toggles nor clicks.
    ws.MouseMove(id, 80, 20);
    ws.MouseDown(id, 80, 20, MouseButton::Left);
    ws.MouseMove(id, 150, 80);
    ws.MouseUp(id, 150, 80, MouseButton::Left);
    Pump();
    EXPECT_FALSE(c->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicked.size(), 2u);
}

TEST_F(SpeedButtonTest, AllowAllUpPassesThroughTheNotificationAndLetsTheLastGoUp)
{
    auto* a = Add(10, 10, 1);
    auto* b = Add(40, 10, 1);
    auto* other = Add(70, 10, 2);
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp());
    EXPECT_FALSE(other->AllowAllUp());

    ClickAt(20, 20);
    EXPECT_TRUE(a->Down());
    ClickAt(20, 20);
    EXPECT_FALSE(a->Down());
    EXPECT_FALSE(b->Down());

    b->SetAllowAllUp(false);
    EXPECT_FALSE(a->AllowAllUp());
}

TEST_F(SpeedButtonTest, DownOutsideAGroupHasNoEffect)
{
    auto* a = Add(10, 10, 0);
    a->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), 0);
    ClickAt(20, 20);
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(SpeedButtonTest, FlatButtonShowsItsFrameOnlyUnderThePointerAndPressMovesTheCaption)
{
    auto* a = Add(10, 10, 0);
    a->SetFrameWidth(0);
    a->SetFlat(true);
    a->SetBounds(10, 10, 60, 25);
    a->SetCaption("Go");
    Pump();
    const TColor highlight = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    EXPECT_EQ(At(10, 10), clSilver);
    EXPECT_EQ(At(69, 34), clSilver);
    const TPoint text = a->TextPos();

    ws.MouseMove(id, 30, 20);
    Pump();
    EXPECT_TRUE(a->Hot());
    EXPECT_EQ(At(10, 10), highlight);
    EXPECT_EQ(At(69, 34), shadow);

    ws.MouseDown(id, 30, 20, MouseButton::Left);
    Pump();
    EXPECT_EQ(a->State(), 2);
    EXPECT_EQ(At(10, 10), shadow);
    EXPECT_EQ(At(69, 34), highlight);
    EXPECT_EQ(a->TextPos(), Point(text.X + 1, text.Y + 1));
    ws.MouseUp(id, 30, 20, MouseButton::Left);
    Pump();
    EXPECT_EQ(a->State(), 0);

    ws.MouseMove(id, 150, 80);
    Pump();
    EXPECT_FALSE(a->Hot());
    EXPECT_EQ(At(10, 10), clSilver);
}

TEST_F(SpeedButtonTest, WithoutAFramePressingDrawsNoFrameAndTheContentStays)
{
    auto* a = Add(10, 10, 0);
    a->SetFrameWidth(0);
    a->SetCaption("x");
    Pump();
    const TPoint text = a->TextPos();
    ws.MouseMove(id, 20, 20);
    ws.MouseDown(id, 20, 20, MouseButton::Left);
    Pump();
    EXPECT_EQ(a->State(), 2);
    EXPECT_EQ(At(10, 10), clSilver);
    EXPECT_EQ(At(34, 34), clSilver);
    EXPECT_EQ(a->TextPos(), text);
    ws.MouseUp(id, 20, 20, MouseButton::Left);
    Pump();
}

TEST_F(SpeedButtonTest, HeldButtonShowsTheCheckerboardExceptUnderThePointer)
{
    auto* a = Add(10, 10, 1);
    a->SetDown(true);
    Pump();
    // Inside the 1-pixel sunken frame: white where x and y are both even or both odd
    // (in the button's own coordinates), the face colour elsewhere.
    EXPECT_EQ(At(10 + 2, 10 + 2), clWhite);
    EXPECT_EQ(At(10 + 3, 10 + 3), clWhite);
    EXPECT_EQ(At(10 + 2, 10 + 3), clSilver);
    EXPECT_EQ(At(10 + 3, 10 + 2), clSilver);
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnShadow));

    ws.MouseMove(id, 20, 20);
    Pump();
    ASSERT_TRUE(a->Hot());
    EXPECT_EQ(At(10 + 2, 10 + 3), clSilver);
    EXPECT_EQ(At(10 + 2, 10 + 2), clSilver);

    a->SetPatternColor(clRed);
    ws.MouseMove(id, 150, 80);
    Pump();
    EXPECT_EQ(At(10 + 4, 10 + 6), clRed);
}

TEST_F(SpeedButtonTest, DoubleClickOnlyWhileDown)
{
    auto* a = Add(10, 10, 1);
    a->SetAllowAllUp(true);
    int dbl = 0;
    a->OnDblClick = TNotifyEvent::FromFunction([&](TObject*) { ++dbl; });
    ws.MouseMove(id, 20, 20);
    ws.DoubleClick(id, 20, 20);
    Pump();
    // The first click put it down, so the double click counts; its release lifts it.
    EXPECT_EQ(dbl, 1);
    EXPECT_FALSE(a->Down());
    auto* b = Add(60, 10, 0);
    int dblB = 0;
    b->OnDblClick = TNotifyEvent::FromFunction([&](TObject*) { ++dblB; });
    ws.MouseMove(id, 70, 20);
    ws.DoubleClick(id, 70, 20);
    Pump();
    EXPECT_EQ(dblB, 0);
}

TEST_F(SpeedButtonTest, AcceleratorClicksAnEnabledButton)
{
    auto* a = Add(10, 10, 0);
    a->SetCaption("&Play");
    ws.Char('p');
    Pump();
    EXPECT_EQ(clicked.size(), 1u);
    a->SetEnabled(false);
    ws.Char('p');
    Pump();
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_EQ(a->State(), 1);
}

TEST_F(SpeedButtonTest, AGlyphCountOfZeroNeverDivides)
{
    auto* a = Add(10, 10, 0);
    TBitmap glyph;
    glyph.SetSize(16, 8);
    glyph.Handle()->Fill(clRed);
    a->SetGlyph(&glyph);
    a->SetNumGlyphs(0);
    Pump();
    EXPECT_EQ(a->NumGlyphs(), 0);
    // Measured as one 16-wide image (centred with the spacing of 4), drawn as none.
    EXPECT_EQ(a->GlyphPos().X, 12 - (16 + 4) / 2);
    EXPECT_NE(At(10 + 12, 10 + 12), clRed);
}

TEST_F(SpeedButtonTest, SoundsOnEnterAndOnEveryClickAndReferencesAreCleared)
{
    auto* a = Add(10, 10, 0);
    a->SetCaption("&Go");
    auto* click = new TepWavePlayer(form);
    auto* active = new TepWavePlayer(form);
    int clickPlays = 0, activePlays = 0;
    for (TepWavePlayer* p : { click, active }) {
        p->SetEnabled(false);   // the events still fire; nothing is heard
        TMemoryStream s;
        const uint8_t bytes[] = { 'R', 'I', 'F', 'F' };
        s.WriteBuffer(bytes, 4);
        s.SetPosition(0);
        p->Wave()->LoadFromStream(&s);
    }
    click->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++clickPlays; });
    active->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++activePlays; });
    a->SetClickSound(click);
    a->SetActiveSound(active);
    ClickAt(20, 20);
    EXPECT_EQ(activePlays, 1);
    EXPECT_EQ(clickPlays, 1);
    ws.Char('g');   // the accelerator's click sounds too
    Pump();
    EXPECT_EQ(clickPlays, 2);
    EXPECT_EQ(clicked.size(), 2u);
    delete click;
    delete active;
    EXPECT_EQ(a->ClickSound(), nullptr);
    EXPECT_EQ(a->ActiveSound(), nullptr);
    ClickAt(20, 20);
    EXPECT_EQ(clicked.size(), 3u);
}
