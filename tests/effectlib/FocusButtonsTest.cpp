// The focusable windowed buttons: Tab, Space held and released, Enter, the accelerator,
// the focus leaving while Space is held, a click that takes the focus or is dropped,
// focus marks, the transparent button's frames and its rounded window.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPButtons.h"
#include "framework/graphics/Bitmap.h"

namespace {

using plat::MouseButton;

class FocusButtonsTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(240, 120, 0, 0, clWhite);
        id = form->WindowHandle();
    }
    template <class C>
    C* Add(int x, int y, const char* caption)
    {
        auto* b = new C(form);
        b->SetParent(form);
        b->SetLeft(x);
        b->SetTop(y);
        b->SetColor(clSilver);
        b->SetCaption(caption);
        b->OnClick = TNotifyEvent::FromFunction([this, b](TObject*) { clicked.push_back(b); });
        Pump();
        return b;
    }
    TColor At(int x, int y) { return Pixel(form, x, y); }
    void Key(int key, bool down, uint32_t mods = 0)
    {
        if (down)
            ws.KeyDown(key, mods);
        else
            ws.KeyUp(key, mods);
        Pump();
    }

    TForm* form = nullptr;
    uintptr_t id = 0;
    std::vector<TObject*> clicked;
};

} // namespace

TEST_F(FocusButtonsTest, DefaultsAfterConstruction)
{
    TepFocusButton f(nullptr);
    EXPECT_EQ(f.Width(), 75);
    EXPECT_EQ(f.Height(), 25);
    EXPECT_TRUE(f.TabStop());
    EXPECT_TRUE(f.ShowFocus());
    EXPECT_FALSE(f.MiddleTransparent());
    EXPECT_EQ(f.FrameWidth(), 1);
    EXPECT_EQ(f.OuterColor(), clBtnShadow);
    EXPECT_EQ(f.InnerColor(), clBtnHighlight);
    EXPECT_EQ(f.GradKind(), gdRight);
    EXPECT_EQ(f.Layout(), blGlyphLeft);
    EXPECT_EQ(f.Margin(), -1);
    TepTransparentBtn t(nullptr);
    EXPECT_EQ(t.Radius(), 5);
    EXPECT_TRUE(t.Frame());
    EXPECT_FALSE(t.Frame3D());
    EXPECT_FALSE(t.FrameRnd());
    EXPECT_EQ(t.FrameColor(), clBlack);
    EXPECT_EQ(t.FrameInnerColor(), clBtnHighlight);
    EXPECT_EQ(t.FrameOuterColor(), clBtnShadow);
}

TEST_F(FocusButtonsTest, TabSpaceAndEnterClickTheFocusedButton)
{
    auto* a = Add<TepFocusButton>(10, 10, "One");
    auto* b = Add<TepFocusButton>(100, 10, "Two");
    a->SetFocus();
    Pump();
    Key(plat::vk::Tab, true);
    ASSERT_TRUE(b->Focused());
    EXPECT_TRUE(b->HasFocusFlag());
    EXPECT_FALSE(a->HasFocusFlag());

    // Space: sunken while held (the upper-left edge in the dark colour), one click on
    // the release.
    const TColor highlight = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    EXPECT_EQ(At(100, 10), highlight);
    Key(' ', true);
    EXPECT_TRUE(b->Pressed());
    EXPECT_TRUE(b->SpaceHeld());
    EXPECT_EQ(At(100, 10), shadow);
    Key(' ', true, 0);   // auto-repeat while held: still one press
    EXPECT_TRUE(clicked.empty());
    Key(' ', false);
    EXPECT_EQ(clicked, (std::vector<TObject*> { b }));
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(At(100, 10), highlight);

    // Enter clicks at once; with Shift it does not.
    Key(plat::vk::Return, true);
    EXPECT_EQ(clicked.size(), 2u);
    Key(plat::vk::Return, true, plat::mod::Shift);
    EXPECT_EQ(clicked.size(), 2u);

    // Shift+Tab goes back.
    Key(plat::vk::Tab, true, plat::mod::Shift);
    EXPECT_TRUE(a->Focused());
}

TEST_F(FocusButtonsTest, FocusLeavingWhileSpaceIsHeldReleasesWithoutAClick)
{
    auto* a = Add<TepFocusButton>(10, 10, "One");
    auto* b = Add<TepTransparentBtn>(100, 10, "Two");
    a->SetFocus();
    Pump();
    Key(' ', true);
    ASSERT_TRUE(a->Pressed());
    // While Space is held the mouse is ignored.
    ws.MouseMove(id, 150, 90);
    ws.MouseMove(id, 20, 20);
    Pump();
    EXPECT_TRUE(a->SpaceHeld());
    b->SetFocus();
    Pump();
    EXPECT_FALSE(a->Pressed());
    EXPECT_FALSE(a->SpaceHeld());
    Key(' ', false);
    EXPECT_TRUE(clicked.empty());
}

TEST_F(FocusButtonsTest, ClickTakesTheFocusOrIsDropped)
{
    auto* a = Add<TepFocusButton>(10, 10, "One");
    auto* b = Add<TepFocusButton>(100, 10, "Two");
    a->SetFocus();
    Pump();
    ws.Click(id, 130, 20);
    Pump();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(clicked, (std::vector<TObject*> { b }));

    // A control that takes the focus back when it loses it: the click on a is dropped.
    b->OnExit = TNotifyEvent::FromFunction([b](TObject*) { b->SetFocus(); });
    ws.Click(id, 40, 20);
    Pump();
    EXPECT_TRUE(b->Focused());
    EXPECT_FALSE(a->Pressed());
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(FocusButtonsTest, AcceleratorClicksAButtonThatCanTakeTheFocus)
{
    auto* a = Add<TepFocusButton>(10, 10, "&Apply");
    auto* b = Add<TepTransparentBtn>(100, 10, "&Back");
    (void)a;
    ws.Char('b');
    Pump();
    EXPECT_EQ(clicked, (std::vector<TObject*> { b }));
    b->SetEnabled(false);
    ws.Char('b');
    Pump();
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(FocusButtonsTest, FocusMarksDottedOrInverted)
{
    auto* a = Add<TepFocusButton>(10, 10, "");
    // Unfocused: inside the frame, at the mark's place (FrameWidth + 2 = 3 in), the face.
    EXPECT_EQ(At(10 + 3, 10 + 12), clSilver);
    a->SetFocus();
    Pump();
    // The dotted rectangle: some pixels of its left side change, not all.
    int changed = 0;
    for (int y = 3; y < 22; ++y)
        changed += At(10 + 3, 10 + y) != clSilver;
    EXPECT_GT(changed, 3);
    EXPECT_LT(changed, 19);

    // Over a gradient: an inverted solid outline.
    a->SetGradEffect(true);
    a->SetGradColor(clNavy);
    a->SetShowFocus(false);
    Pump();
    const TColor plain12 = At(10 + 3, 10 + 12), plain13 = At(10 + 3, 10 + 13);
    const TColor inside = At(10 + 5, 10 + 12);
    a->SetShowFocus(true);
    Pump();
    EXPECT_EQ(At(10 + 3, 10 + 12), TColor(~plain12 & 0xFFFFFF));
    EXPECT_EQ(At(10 + 3, 10 + 13), TColor(~plain13 & 0xFFFFFF));
    EXPECT_EQ(At(10 + 5, 10 + 12), inside);
}

TEST_F(FocusButtonsTest, TransparentButtonFramesIdleHotAndPressed)
{
    auto* t = Add<TepTransparentBtn>(10, 10, "");
    t->SetFrameColor(clRed);
    Pump();
    // Idle without Frame3D: a one-colour frame inset by one pixel.
    EXPECT_EQ(At(10, 10 + 12), clSilver);
    EXPECT_EQ(At(10 + 1, 10 + 12), clRed);
    EXPECT_EQ(At(10 + 73, 10 + 12), clRed);
    // Hot: the frame on the edge itself, still in FrameColor.
    ws.MouseMove(id, 40, 20);
    Pump();
    ASSERT_TRUE(t->Hot());
    EXPECT_EQ(At(10, 10 + 12), clRed);
    EXPECT_EQ(At(10 + 74, 10 + 12), clRed);

    // With Frame3D: raised under the pointer, sunken pressed, and the content moves.
    t->SetFrame3D(true);
    t->SetCaption("x");
    Pump();
    EXPECT_EQ(At(10, 10 + 12), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(10 + 74, 10 + 12), ColorToRGB(clBtnShadow));
    const TPoint text = t->TextPos();
    ws.MouseDown(id, 40, 20, MouseButton::Left);
    Pump();
    EXPECT_EQ(At(10, 10 + 12), ColorToRGB(clBtnShadow));
    EXPECT_EQ(t->TextPos(), Point(text.X + 1, text.Y + 1));
    ws.MouseUp(id, 40, 20, MouseButton::Left);
    Pump();
    EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(FocusButtonsTest, RoundedTransparentButtonCutsItsWindowAndDropsCornerPresses)
{
    auto* t = Add<TepTransparentBtn>(10, 10, "Round");
    auto* under = Add<TepFocusButton>(150, 80, "other");
    (void)under;
    t->SetFrameRnd(true);
    Pump();
    ASSERT_NE(t->WindowRgn(), nullptr);
    EXPECT_FALSE(t->WindowRgn()->Contains(0, 0));
    EXPECT_TRUE(t->WindowRgn()->Contains(37, 12));
    EXPECT_TRUE(t->WindowRgn()->Contains(5, 0));
    // A press in the cut corner reaches the form, not the button.
    ws.Click(id, 10, 10);
    Pump();
    EXPECT_TRUE(clicked.empty());
    EXPECT_FALSE(t->Focused());
    ws.Click(id, 47, 22);
    Pump();
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_TRUE(t->Focused());
    // Hit testing follows the rounded rectangle (1, 1, 74, 24) of radius 11.
    EXPECT_FALSE(t->IsMouseIn(2, 2));
    EXPECT_TRUE(t->IsMouseIn(37, 2));

    // Frame off also ends FrameRnd; the window keeps its shape until the next resize.
    t->SetFrame(false);
    EXPECT_FALSE(t->FrameRnd());
    EXPECT_NE(t->WindowRgn(), nullptr);
    t->SetBounds(10, 10, 80, 25);
    EXPECT_EQ(t->WindowRgn(), nullptr);
}

TEST_F(FocusButtonsTest, SmallRadiusNeverGivesANegativeCorner)
{
    TepTransparentBtn t(nullptr);
    t.SetRadius(2);
    EXPECT_EQ(t.FocusCorner(), 0);
    t.SetRadius(0);
    EXPECT_EQ(t.FocusCorner(), 0);
    t.SetRadius(5);
    EXPECT_EQ(t.FocusCorner(), 5);
    auto* b = Add<TepTransparentBtn>(10, 10, "r");
    b->SetRadius(1);
    b->SetFrameRnd(true);
    b->SetFocus();
    Pump();
    EXPECT_TRUE(b->HasFocusFlag());
}
