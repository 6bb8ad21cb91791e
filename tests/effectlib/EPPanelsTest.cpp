// The round panels' window shapes, bevels and see-through face, and the shadow panel's
// half-dark strips, its face and where it keeps its children.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPCtrls.h"
#include "effectlib/Medialib.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"
#include "support/FillBox.h"

namespace {

class EPPanelsTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(220, 160, 0, 0, clWhite);
    }
    TColor At(int x, int y) { return Pixel(form, X0 + x, Y0 + y); }
    static constexpr int X0 = 10, Y0 = 20;
    TForm* form = nullptr;
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
    const TColor half = 0x7F7F7F;
};

TEST_F(EPPanelsTest, ShadowPanelHalvesTwoStripsAndKeepsItsChildrenOnTheFace)
{
    new TColorBox(form, form, Bounds(X0 + 100, Y0 + 40, 40, 60), clRed);   // beneath
    auto* p = new TepShadowPanel(form);
    p->SetParent(form);
    p->SetBounds(X0, Y0, 120, 80);
    auto* child = new TColorBox(form, p, Rect(0, 0, 10, 10), clLime);
    child->SetAlign(alClient);
    Pump();
    EXPECT_EQ(p->FaceRect(), Rect(0, 0, 116, 76));
    EXPECT_EQ(p->StripA(), Rect(4, 76, 115, 80));
    EXPECT_EQ(p->StripB(), Rect(116, 4, 120, 80));
    EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 116, 76));

    EXPECT_EQ(At(117, 5), half);
    EXPECT_EQ(At(119, 20), half);
    EXPECT_EQ(At(117, 60), TColor(0x00007F));   // the red box beneath, halved
    EXPECT_EQ(At(4, 78), half);
    EXPECT_EQ(At(99, 79), half);
    EXPECT_EQ(At(114, 79), TColor(0x00007F));
    EXPECT_EQ(At(116, 3), clWhite);
    EXPECT_EQ(At(3, 78), clWhite);
    EXPECT_EQ(At(120, 40), clRed);               // beside the panel: untouched

    p->SetShadowKind(skLeftTop);
    Pump();
    EXPECT_EQ(child->BoundsRect(), Rect(4, 4, 120, 80));
    EXPECT_EQ(At(2, 40), half);
    EXPECT_EQ(At(40, 2), half);
    EXPECT_EQ(At(118, 2), clWhite);
}

TEST_F(EPPanelsTest, ShadowPanelFaceHasBevelsAndCanCarryAWallpaper)
{
    auto* p = new TepShadowPanel(form);
    p->SetParent(form);
    p->SetBounds(X0, Y0, 120, 80);
    p->SetBevelInnerColor(clRed);
    p->SetBevelOuterColor(clBlue);
    Pump();
    EXPECT_EQ(At(0, 0), clRed);       // raised: inner colour upper left
    EXPECT_EQ(At(115, 40), clBlue);
    EXPECT_EQ(At(50, 75), clBlue);
    EXPECT_EQ(At(50, 40), ColorToRGB(p->Color()));

    auto* wall = new TepBitmap(form);
    wall->Bitmap()->Bitmap()->SetSize(50, 50);
    wall->Bitmap()->Bitmap()->Handle()->Fill(clGreen);
    wall->Bitmap()->Bitmap()->Handle()->SetColor(0, 0, clYellow);
    p->SetWallpaper(wall);
    Pump();
    EXPECT_EQ(At(50, 50), clYellow);
    EXPECT_EQ(At(60, 40), clGreen);
    EXPECT_EQ(At(0, 0), clRed);

    wall->Bitmap()->Bitmap()->SetSize(0, 0);   // a zero-size picture counts as none
    p->Invalidate();
    Pump();
    EXPECT_EQ(At(50, 50), ColorToRGB(p->Color()));
}

// Widths beyond the panel or below zero are held to what fits; ASan sees any write past
// the work bitmap.
TEST_F(EPPanelsTest, ShadowWidthsOutsideThePanelStayInsideTheWorkBitmap)
{
    auto* p = new TepShadowPanel(form);
    p->SetParent(form);
    p->SetBounds(X0, Y0, 120, 80);
    for (TShadowKind k : { skLeftTop, skRightTop, skLeftBottom, skRightBottom }) {
        p->SetShadowKind(k);
        p->SetShadowWidth(500);
        Pump();
        EXPECT_EQ(p->FaceRect().Width(), 40);   // held to the smaller side, 80
        EXPECT_EQ(At(140, 40), clWhite);
        p->SetShadowWidth(-10);
        Pump();
        EXPECT_EQ(p->FaceRect(), Rect(0, 0, 120, 80));
        EXPECT_EQ(At(119, 79), sh);
    }
}

TEST_F(EPPanelsTest, RoundedRectanglePanelClipsItsWindowToTheRoundedRectangle)
{
    auto* p = new TepRndPanel(form);
    p->SetParent(form);
    EXPECT_EQ(p->Width(), 100);
    EXPECT_EQ(p->PanelKind(), pkEllipse);
    p->SetBounds(X0, Y0, 100, 60);
    p->SetPanelKind(pkRndRect);
    Pump();
    ASSERT_NE(p->WindowRgn(), nullptr);
    const plat::Region& r = *p->WindowRgn();
    EXPECT_EQ(r.Bounds(), (plat::Rect { 1, 1, 99, 59 }));
    EXPECT_TRUE(r.Contains(50, 1));
    EXPECT_TRUE(r.Contains(1, 30));
    EXPECT_TRUE(r.Contains(98, 30));
    EXPECT_FALSE(r.Contains(3, 3));      // the 40 x 40 corners are cut
    EXPECT_FALSE(r.Contains(96, 56));
    EXPECT_TRUE(r.Contains(10, 10));
    EXPECT_EQ(At(3, 3), clWhite);       // outside the shape the form shows
    EXPECT_EQ(At(50, 30), ColorToRGB(p->Color()));

    p->SetBounds(X0, Y0, 80, 80);       // the shape follows the size
    p->SetPanelKind(pkEllipse);
    Pump();
    EXPECT_EQ(p->WindowRgn()->Bounds(), (plat::Rect { 0, 0, 80, 80 }));
    EXPECT_FALSE(p->WindowRgn()->Contains(5, 5));
    EXPECT_TRUE(p->WindowRgn()->Contains(40, 1));
}

TEST_F(EPPanelsTest, RoundPanelDrawsRoundBevelsOverItsWallpaper)
{
    auto* wall = new TepBitmap(form);
    wall->Bitmap()->Bitmap()->SetSize(20, 20);
    wall->Bitmap()->Bitmap()->Handle()->Fill(clGreen);
    auto* p = new TepRndPanel(form);
    p->SetParent(form);
    p->SetBounds(X0, Y0, 100, 100);
    p->SetBevelInnerColor(clRed);
    p->SetBevelOuterColor(clBlue);
    p->SetBevelWidth(3);
    p->SetWallpaper(wall);
    Pump();
    EXPECT_EQ(At(50, 50), clGreen);
    EXPECT_EQ(At(50, 1), clRed);        // raised: upper left in the inner colour
    EXPECT_EQ(At(1, 50), clRed);
    EXPECT_EQ(At(50, 98), clBlue);
    EXPECT_EQ(At(98, 50), clBlue);
    delete wall;
    Pump();
    EXPECT_EQ(At(50, 50), ColorToRGB(p->Color()));
}

TEST_F(EPPanelsTest, EffectPanelShowsWhatLiesBeneathTintedAndWithFreshNoise)
{
    new TColorBox(form, form, Bounds(X0, Y0, 100, 100), clRed);
    auto* p = new TepEffectRndPanel(form);
    p->SetParent(form);
    p->SetBounds(X0, Y0, 100, 100);
    p->SetColor(clBlue);
    Pump();
    EXPECT_EQ(At(50, 50), clRed);
    p->SetMiddleTransparent(true);
    p->InvalidatePanel();
    Pump();
    EXPECT_EQ(At(50, 50), TColor(0x7F007F));

    p->SetMiddleTransparent(false);
    p->SetNoise(true);
    p->InvalidatePanel();
    Pump();
    std::vector<TColor> first;
    for (int x = 30; x < 70; ++x)
        first.push_back(At(x, 50));
    p->InvalidatePanel();
    Pump();
    int changed = 0, grainy = 0;
    for (int x = 30; x < 70; ++x) {
        changed += At(x, 50) != first[size_t(x - 30)];
        grainy += first[size_t(x - 30)] != clRed;
    }
    EXPECT_GT(grainy, 0);
    EXPECT_GT(changed, 0);
}

} // namespace
