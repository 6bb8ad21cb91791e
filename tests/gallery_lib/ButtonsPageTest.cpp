// The gallery's buttons page: each control where the page puts it, with a few pixels its
// drawing rules fix, and the page at work: a speed-button group, Tab and Space on the
// focus buttons, the colour button's choice shown in the panel beside it.
#include "gallery/Gallery.h"

#include "effectlib/EPButtons.h"
#include "framework/stdctrls/ColorDialog.h"
#include "support/HeadlessFixture.h"

namespace {

using plat::MouseButton;

class ButtonsPageTest : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        Application->CreateForm(gallery);
        gallery->Show();
        Pump();
        id = gallery->WindowHandle();
        gallery->ShowPage("buttons");
        Pump();
    }
    void TearDown() override
    {
        TColorDialog::SetDefaultRunner(nullptr);
        HeadlessTest::TearDown();
    }
    TColor At(int x, int y) { return gallery->Framebuffer().GetColor(x, y); }
    void Click(int x, int y)
    {
        ws.MouseMove(id, x, y);
        ws.MouseDown(id, x, y, MouseButton::Left);
        ws.MouseUp(id, x, y, MouseButton::Left);
        Pump();
    }
    template <class C>
    C* Find(const char* name) { return dynamic_cast<C*>(gallery->Page()->FindComponent(name)); }

    TfrmGallery* gallery = nullptr;
    uintptr_t id = 0;
};

const TColor Face = ColorToRGB(clBtnFace), Highlight = ColorToRGB(clBtnHighlight),
             Shadow = ColorToRGB(clBtnShadow);

} // namespace

TEST_F(ButtonsPageTest, EveryButtonStandsWhereThePagePutsIt)
{
    ASSERT_EQ(gallery->PageName(), "buttons");
    // Speed buttons: A held (sunken frame, white-and-face checkerboard), B up (raised),
    // the flat one without a frame.
    EXPECT_EQ(At(10, 24), Shadow);
    EXPECT_EQ(At(10 + 2, 24 + 2), clWhite);
    EXPECT_EQ(At(10 + 2, 24 + 3), Face);
    EXPECT_EQ(At(54, 24), Highlight);
    EXPECT_EQ(At(54 + 2, 24 + 2), Face);
    EXPECT_EQ(At(270, 24), Face);
    EXPECT_EQ(At(270 + 59, 24 + 24), Face);
    // Effect button: the well's sharp dark edge (face - 65), then the rim's black line.
    EXPECT_EQ(At(260, 86 + 13), TColor(0x7F7F7F));
    EXPECT_EQ(At(260 + 2, 86 + 13), clBlack);
    // Colour buttons: the swatches, and the panel showing the chosen colour.
    auto* left = Find<TepColorButton>("cbnLeft");
    auto* right = Find<TepColorButton>("cbnRight");
    ASSERT_TRUE(left && right);
    EXPECT_EQ(At(10 + left->MarkPos().X + 3, 144 + left->MarkPos().Y + 3), clRed);
    EXPECT_EQ(At(120 + right->MarkPos().X + 3, 144 + right->MarkPos().Y + 3), clBlue);
    EXPECT_GT(right->MarkPos().X, right->TextPos().X);
    EXPECT_EQ(At(340 + 40, 144 + 15), clRed);
    // Focus button: raised one-pixel frame. Transparent buttons: a one-colour frame inset
    // by one pixel; the rounded one's cut corner shows the panel beneath.
    EXPECT_EQ(At(10, 204), Highlight);
    EXPECT_EQ(At(10 + 79, 204 + 24), Shadow);
    EXPECT_EQ(At(200, 204 + 12), clTeal);
    EXPECT_EQ(At(200 + 1, 204 + 12), clNavy);
    auto* round = Find<TepTransparentBtn>("tbnRound");
    ASSERT_NE(round, nullptr);
    ASSERT_NE(round->WindowRgn(), nullptr);
    EXPECT_FALSE(round->WindowRgn()->Contains(0, 0));
    EXPECT_EQ(At(380 + 1, 204 + 12), clWhite);
}

TEST_F(ButtonsPageTest, GroupTabSpaceAndColourChoiceReportOnTheStatusLine)
{
    auto* a = Find<TepSpeedButton>("spdA");
    auto* b = Find<TepSpeedButton>("spdB");
    ASSERT_TRUE(a && b);
    Click(54 + 20, 24 + 12);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(gallery->Status(), "spdB: OnClick, Down True");

    ws.KeyDown(plat::vk::Tab);
    Pump();
    auto* first = Find<TepFocusButton>("fbnFirst");
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->Focused());
    ws.KeyDown(' ');
    Pump();
    EXPECT_NE(gallery->Status(), "fbnFirst: OnClick");
    EXPECT_EQ(At(10, 204), Shadow);
    ws.KeyUp(' ');
    Pump();
    EXPECT_EQ(gallery->Status(), "fbnFirst: OnClick");

    TColorDialog::SetDefaultRunner([](TColor) -> std::optional<TColor> { return clLime; });
    Click(10 + 50, 144 + 15);
    EXPECT_EQ(gallery->Status(), "cbnLeft: OnChange, ColorValue clLime");
    EXPECT_EQ(At(340 + 40, 144 + 15), clLime);
}
