#include "rackctls/RackCtls.h"

#include "RackTestSupport.h"

using namespace racktest;

namespace {

constexpr TColor Plate = 0xD0D0D0, PlateLight = 0xE2E2E2, PlateDark = 0x686868;
constexpr TColor FaceLight = 0xD9D9D9, FaceDark = 0x606060;   // of clBtnFace (clSilver)

class ScrewPanelTest : public RackFormTest {
protected:
    void SetUp() override
    {
        RackFormTest::SetUp();
        form = NewForm(400, 430);
    }
    TScrewPanel* NewPanel(const TRect& bounds, TColor color, TBevelCut outer)
    {
        auto* p = new TScrewPanel(form);
        p->SetBoundsRect(bounds);
        p->SetColor(color);
        p->SetBevelOuter(outer);
        p->SetParent(form);
        Pump();
        return p;
    }
    // The silver head with its rims: dark on the upper left, light on the lower right,
    // the slot's shadow and highlight across the middle, the plate around it.
    void ExpectScrewAt(TScrewPanel* p, TPoint o, TColor face, TColor light, TColor dark)
    {
        SCOPED_TRACE(std::to_string(o.X) + "," + std::to_string(o.Y));
        EXPECT_EQ(At(p, o.X + 2, o.Y + 2), clSilver);
        EXPECT_EQ(At(p, o.X + 5, o.Y + 5), clSilver);
        EXPECT_EQ(At(p, o.X + 3, o.Y + 3), clGray);
        EXPECT_EQ(At(p, o.X + 4, o.Y + 4), clWhite);
        EXPECT_EQ(At(p, o.X + 0, o.Y + 4), dark);
        EXPECT_EQ(At(p, o.X + 4, o.Y + 0), dark);
        EXPECT_EQ(At(p, o.X + 7, o.Y + 4), light);
        EXPECT_EQ(At(p, o.X + 4, o.Y + 7), light);
        EXPECT_EQ(At(p, o.X - 1, o.Y + 4), face);
        EXPECT_EQ(At(p, o.X + 8, o.Y + 4), face);
        EXPECT_EQ(At(p, o.X + 4, o.Y + 8), face);
    }

    TForm* form = nullptr;
};

TEST_F(ScrewPanelTest, NewPanelHasTheConstructionValues)
{
    auto* p = new TScrewPanel(form);
    EXPECT_EQ(p->Color(), clBtnFace);
    EXPECT_EQ(p->Margin(), 2);
    EXPECT_EQ(p->ScrewSize(), 2);
    EXPECT_TRUE(p->ShowScrews());
    EXPECT_EQ(p->Width(), 45);
    EXPECT_EQ(p->Height(), 45);
    EXPECT_EQ(p->BevelOuter(), bvRaised);
    EXPECT_EQ(p->BevelInner(), bvNone);
    EXPECT_EQ(p->BevelWidth(), 1);
    EXPECT_EQ(p->LightShade(), FaceLight);
    EXPECT_EQ(p->DarkShade(), FaceDark);
}

TEST_F(ScrewPanelTest, ShadesFollowTheColour)
{
    auto* p = NewPanel(Bounds(0, 0, 100, 100), Plate, bvLowered);
    EXPECT_EQ(p->LightShade(), PlateLight);
    EXPECT_EQ(p->DarkShade(), PlateDark);
    int paints = p->PaintCount();
    p->SetColor(Plate);   // unchanged: no repaint
    p->SetShowScrews(true);
    Pump();
    EXPECT_EQ(p->PaintCount(), paints);
    // Its own colour, apart from the one the panel hands to its children.
    EXPECT_NE(static_cast<TControl*>(p)->Color(), Plate);
}

TEST_F(ScrewPanelTest, DisplayPanelScrewsStandInsideTheBevel)
{
    auto* p = NewPanel(Bounds(0, 0, 310, 380), Plate, bvLowered);
    const std::array<TPoint, 4> want = { Point(3, 3), Point(299, 3), Point(3, 369),
        Point(299, 369) };
    EXPECT_EQ(p->ScrewOrigins(), want);
    for (const TPoint& o : want)
        ExpectScrewAt(p, o, Plate, PlateLight, PlateDark);
    EXPECT_EQ(At(p, 150, 150), Plate);
}

TEST_F(ScrewPanelTest, MainPanelScrewsStandInTheCorners)
{
    auto* p = NewPanel(Bounds(0, 0, 390, 421), clBtnFace, bvNone);
    const std::array<TPoint, 4> want = { Point(2, 2), Point(380, 2), Point(2, 411),
        Point(380, 411) };
    EXPECT_EQ(p->ScrewOrigins(), want);
    for (const TPoint& o : want)
        ExpectScrewAt(p, o, clSilver, FaceLight, FaceDark);
    EXPECT_EQ(At(p, 0, 0), clSilver);   // no bevel
    EXPECT_EQ(At(p, 389, 420), clSilver);
}

TEST_F(ScrewPanelTest, RaisedBevelIsLightTopLeftAndDarkBottomRight)
{
    auto* p = NewPanel(Bounds(0, 0, 60, 40), Plate, bvRaised);
    p->SetShowScrews(false);
    Pump();
    for (int x = 0; x < 59; ++x)
        EXPECT_EQ(At(p, x, 0), PlateLight) << x;
    for (int y = 0; y < 39; ++y)
        EXPECT_EQ(At(p, 0, y), PlateLight) << y;
    for (int y = 0; y < 39; ++y)
        EXPECT_EQ(At(p, 59, y), PlateDark) << y;   // the top-right corner too
    for (int x = 1; x < 60; ++x)
        EXPECT_EQ(At(p, x, 39), PlateDark) << x;
    EXPECT_EQ(At(p, 0, 39), Plate);   // the bottom-left corner is left out
    EXPECT_EQ(At(p, 1, 1), Plate);
}

TEST_F(ScrewPanelTest, LoweredAndSpaceBevelsAreTheReverse)
{
    for (TBevelCut cut : { bvLowered, bvSpace }) {
        auto* p = NewPanel(Bounds(0, 0, 60, 40), Plate, cut);
        EXPECT_EQ(At(p, 30, 0), PlateDark);
        EXPECT_EQ(At(p, 0, 20), PlateDark);
        EXPECT_EQ(At(p, 59, 20), PlateLight);
        EXPECT_EQ(At(p, 30, 39), PlateLight);
        delete p;
    }
}

TEST_F(ScrewPanelTest, InnerBevelAndBorderMoveTheScrewsIn)
{
    auto* p = NewPanel(Bounds(0, 0, 100, 80), Plate, bvRaised);
    p->SetBorderWidth(3);
    p->SetBevelInner(bvLowered);
    Pump();
    // 1 outer bevel + 3 border + 1 inner bevel, then the margin.
    EXPECT_EQ(p->ScrewOrigins()[0], Point(7, 7));
    EXPECT_EQ(p->ScrewOrigins()[3], Point(100 - 5 - 2 - 8, 80 - 5 - 2 - 8));
    EXPECT_EQ(At(p, 4, 30), PlateDark);   // the inner bevel, lowered
    EXPECT_EQ(At(p, 2, 30), Plate);       // the border in the plate colour
    ExpectScrewAt(p, Point(7, 7), Plate, PlateLight, PlateDark);
}

TEST_F(ScrewPanelTest, WiderBevelDrawsWiderScrewRims)
{
    auto* p = NewPanel(Bounds(0, 0, 80, 80), Plate, bvLowered);
    auto rimPixels = [&](TPoint o) {
        int n = 0;
        for (int y = -1; y <= 8; ++y)
            for (int x = -1; x <= 8; ++x) {
                TColor c = At(p, o.X + x, o.Y + y);
                n += c == PlateLight || c == PlateDark;
            }
        return n;
    };
    int thin = rimPixels(p->ScrewOrigins()[0]);
    p->SetBevelWidth(2);
    Pump();
    EXPECT_EQ(p->ScrewOrigins()[0], Point(4, 4));
    EXPECT_GT(rimPixels(p->ScrewOrigins()[0]), thin);
    EXPECT_EQ(At(p, 0, 40), PlateDark);
}

TEST_F(ScrewPanelTest, ColourChangesFaceAndRimsButNotDiscsOrSlots)
{
    auto* p = NewPanel(Bounds(0, 0, 100, 100), Plate, bvLowered);
    p->SetColor(clTeal);
    Pump();
    TColor light, dark;
    ContrastShades(clTeal, 4, 5, light, dark);
    EXPECT_EQ(p->LightShade(), light);
    EXPECT_EQ(p->DarkShade(), dark);
    ExpectScrewAt(p, p->ScrewOrigins()[1], clTeal, light, dark);
}

TEST_F(ScrewPanelTest, HiddenScrewsLeaveThePlate)
{
    auto* p = NewPanel(Bounds(0, 0, 100, 100), Plate, bvLowered);
    p->SetShowScrews(false);
    Pump();
    for (int y = 1; y < 99; ++y)
        for (int x = 1; x < 99; ++x)
            ASSERT_EQ(At(p, x, y), Plate) << x << "," << y;
}

TEST_F(ScrewPanelTest, MarginAndScrewSizeThatWouldNotFitAreIgnored)
{
    auto* p = NewPanel(Bounds(0, 0, 45, 30), Plate, bvLowered);
    p->SetMargin(43);   // Width - ScrewSize
    EXPECT_EQ(p->Margin(), 2);
    p->SetMargin(28);   // Height - ScrewSize
    EXPECT_EQ(p->Margin(), 2);
    p->SetMargin(27);
    EXPECT_EQ(p->Margin(), 27);
    p->SetMargin(-3);   // no lower bound
    EXPECT_EQ(p->Margin(), -3);

    p->SetScrewSize(9);   // beyond the type's range
    EXPECT_EQ(p->ScrewSize(), 2);
    p->SetScrewSize(0);
    EXPECT_EQ(p->ScrewSize(), 2);
    p->SetScrewSize(8);
    EXPECT_EQ(p->ScrewSize(), 8);
    p->SetBounds(0, 0, 45, 6);
    p->SetScrewSize(6);   // the panel's height
    EXPECT_EQ(p->ScrewSize(), 8);
    p->SetScrewSize(5);
    EXPECT_EQ(p->ScrewSize(), 5);
}

TEST_F(ScrewPanelTest, BiggerScrewsScaleTheHead)
{
    auto* p = NewPanel(Bounds(0, 0, 100, 100), Plate, bvNone);
    p->SetScrewSize(4);
    Pump();
    // A 16-pixel head at (2, 2).
    EXPECT_EQ(At(p, 2 + 4, 2 + 4), clSilver);
    EXPECT_EQ(At(p, 2 + 0, 2 + 8), PlateDark);
    EXPECT_EQ(At(p, 2 + 15, 2 + 8), PlateLight);
    EXPECT_EQ(At(p, 2 + 16, 2 + 8), Plate);
    EXPECT_EQ(p->ScrewOrigins()[3], Point(100 - 2 - 16, 100 - 2 - 16));
}

TEST_F(ScrewPanelTest, CaptionFollowsTheAlignment)
{
    auto* p = NewPanel(Bounds(0, 0, 200, 40), Plate, bvNone);
    p->SetShowScrews(false);
    p->SetCaption("Panel");
    auto textSpan = [&]() {
        int lo = 1000, hi = -1;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
                if (At(p, x, y) != Plate) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        return std::pair(lo, hi);
    };
    p->SetAlignment(taLeftJustify);
    Pump();
    auto [l1, r1] = textSpan();
    EXPECT_LT(l1, 4);
    p->SetAlignment(taRightJustify);
    Pump();
    auto [l2, r2] = textSpan();
    EXPECT_GT(r2, 195);
    p->SetAlignment(taCenter);
    Pump();
    auto [l3, r3] = textSpan();
    EXPECT_NEAR((l3 + r3) / 2.0, 100, 3);
    EXPECT_GT(r1, l1);
}

} // namespace
