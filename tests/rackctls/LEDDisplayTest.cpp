#include "rackctls/RackCtls.h"

#include "framework/core/SysUtils.h"

#include "RackTestSupport.h"

#include <cmath>
#include <limits>
#include <string>

using namespace racktest;

namespace {

constexpr TColor Unlit7 = 0x004D00;   // clLime at contrast 7

// Inside points of the seven segments of a 20 x 25 glyph with segment width 3.
constexpr TPoint SegmentProbe[7] = { { 10, 2 }, { 2, 7 }, { 17, 7 }, { 10, 12 }, { 2, 18 },
    { 17, 18 }, { 10, 22 } };

// The lit segments of each glyph, as the digits are drawn on a real display.
const char* const LitOf[11] = { "012456", "25", "02346", "02356", "1235", "01356", "13456",
    "025", "0123456", "012356", "3" };

class LEDDisplayTest : public RackFormTest {
protected:
    void SetUp() override
    {
        RackFormTest::SetUp();
        form = NewForm(200, 60);
    }
    // The window's beat display at (0, 0): 112 x 31, five 20 x 25 digits.
    TLEDDisplay* NewBeatDisplay()
    {
        auto* d = new TLEDDisplay(form);
        d->SetBounds(0, 0, 112, 31);
        d->SetNumDigits(5);
        d->SetDigitHeight(25);
        d->SetLEDContrast(7);
        d->SetParent(form);
        Pump();
        return d;
    }
    // The glyph a cell shows: 0..10 by its segments, -1 when the cell is blank.
    int CellGlyph(TLEDDisplay* d, int x0, int y0)
    {
        int background = 0;
        std::string lit;
        for (int s = 0; s < 7; ++s) {
            TColor c = At(d, x0 + SegmentProbe[s].X, y0 + SegmentProbe[s].Y);
            if (c == d->ColorBackGround())
                ++background;
            else if (c == d->ColorLED())
                lit += char('0' + s);
            else if (c != d->UnlitColor())
                return -2;
        }
        if (background == 7)
            return -1;
        if (background > 0)
            return -2;
        for (int g = 0; g <= 10; ++g)
            if (lit == LitOf[g])
                return g;
        return -3;
    }
    std::vector<int> Cells(TLEDDisplay* d)
    {
        std::vector<int> out;
        for (int k = 0; k < 5; ++k)
            out.push_back(CellGlyph(d, 1 + 22 * k, 3));
        return out;
    }

    TForm* form = nullptr;
};

TEST_F(LEDDisplayTest, NewDisplayHasTheConstructionValues)
{
    auto* d = new TLEDDisplay(form);
    EXPECT_EQ(d->BevelStyle(), bvLowered);
    EXPECT_EQ(d->BorderStyle(), bsSingle);
    EXPECT_EQ(d->ColorBackGround(), clBlack);
    EXPECT_EQ(d->ColorLED(), clLime);
    EXPECT_EQ(d->DecSeperator(), dsComma);
    EXPECT_EQ(d->DigitHeight(), 30);
    EXPECT_EQ(d->DigitWidth(), 20);
    EXPECT_EQ(d->DigitLineWidth(), 3);
    EXPECT_EQ(d->FractionDigits(), 0);
    EXPECT_TRUE(d->LeadingZeros());
    EXPECT_EQ(d->LEDContrast(), 7);
    EXPECT_EQ(d->NumDigits(), 6);
    EXPECT_EQ(d->SegmentStyle(), ssBeveled);
    EXPECT_EQ(d->Value(), 0.0L);
    EXPECT_EQ(d->Width(), 168);
    EXPECT_EQ(d->Height(), 36);
    EXPECT_EQ(d->UnlitColor(), Unlit7);
    for (int g = 0; g <= 10; ++g) {
        ASSERT_NE(d->GlyphBitmap(g), nullptr);
        EXPECT_EQ(d->GlyphBitmap(g)->Width(), 20);
        EXPECT_EQ(d->GlyphBitmap(g)->Height(), 30);
    }
    EXPECT_EQ(d->GlyphBitmap(11), nullptr);
    EXPECT_EQ(d->GlyphBitmap(-1), nullptr);
}

TEST_F(LEDDisplayTest, BevelledSegmentsAreOutlinedPolygons)
{
    auto* d = NewBeatDisplay();
    const plat::Surface& eight = d->GlyphBitmap(8)->Image();
    // Top: the trapezoid (0,0), (19,0), (15,4), (4,4); its edges in the background.
    // (18, 0) is left out: the upper-right segment's fill reaches it.
    for (int x = 0; x <= 17; ++x)
        EXPECT_EQ(eight.GetColor(x, 0), clBlack) << x;
    EXPECT_EQ(eight.GetColor(19, 0), clBlack);
    for (int y = 1; y <= 3; ++y) {
        EXPECT_EQ(eight.GetColor(y, y), clBlack) << y;
        EXPECT_EQ(eight.GetColor(19 - y, y), clBlack) << y;
        for (int x = y + 1; x < 19 - y; ++x)
            EXPECT_EQ(eight.GetColor(x, y), clLime) << x << "," << y;
    }
    for (int x = 4; x <= 15; ++x)
        EXPECT_EQ(eight.GetColor(x, 4), clBlack) << x;
    EXPECT_EQ(eight.GetColor(10, 5), clBlack);   // the gap to the middle segment
    // Middle: the hexagon (0,12), (4,10), (15,10), (19,12), (15,14), (4,14).
    for (int x = 4; x <= 15; ++x) {
        EXPECT_EQ(eight.GetColor(x, 10), clBlack) << x;
        EXPECT_EQ(eight.GetColor(x, 14), clBlack) << x;
        for (int y = 11; y <= 13; ++y)
            EXPECT_EQ(eight.GetColor(x, y), clLime) << x << "," << y;
    }
    EXPECT_EQ(eight.GetColor(0, 12), clBlack);
    EXPECT_EQ(eight.GetColor(2, 12), clLime);
    EXPECT_EQ(eight.GetColor(19, 12), clBlack);
    EXPECT_EQ(eight.GetColor(17, 12), clLime);
    EXPECT_EQ(eight.GetColor(10, 9), clBlack);
    EXPECT_EQ(eight.GetColor(10, 15), clBlack);
    // Unlit segments keep their shape in the dimmed colour.
    EXPECT_EQ(d->GlyphBitmap(0)->Image().GetColor(10, 12), Unlit7);
    EXPECT_EQ(d->GlyphBitmap(0)->Image().GetColor(10, 4), clBlack);
}

TEST_F(LEDDisplayTest, EveryGlyphLightsItsSegments)
{
    auto* d = NewBeatDisplay();
    for (int g = 0; g <= 10; ++g) {
        const plat::Surface& img = d->GlyphBitmap(g)->Image();
        for (int s = 0; s < 7; ++s) {
            bool lit = std::string(LitOf[g]).find(char('0' + s)) != std::string::npos;
            EXPECT_EQ(img.GetColor(SegmentProbe[s].X, SegmentProbe[s].Y), lit ? clLime : Unlit7)
                << "glyph " << g << " segment " << s;
        }
    }
    // Six without its top segment, nine with its bottom one.
    EXPECT_EQ(d->GlyphBitmap(6)->Image().GetColor(10, 2), Unlit7);
    EXPECT_EQ(d->GlyphBitmap(9)->Image().GetColor(10, 22), clLime);
}

TEST_F(LEDDisplayTest, RectangularSegmentsAreThickLines)
{
    auto* d = NewBeatDisplay();
    d->SetSegmentStyle(ssRectangular);
    const plat::Surface& eight = d->GlyphBitmap(8)->Image();
    EXPECT_EQ(eight.GetColor(10, 1), clLime);    // top: (3, 1) -> (16, 1), 3 wide
    EXPECT_EQ(eight.GetColor(10, 4), clBlack);
    EXPECT_EQ(eight.GetColor(10, 12), clLime);   // middle: (3, 12) -> (17, 12)
    EXPECT_EQ(eight.GetColor(10, 9), clBlack);
    EXPECT_EQ(eight.GetColor(1, 6), clLime);     // upper left: (1, 4) -> (1, 9)
    EXPECT_EQ(eight.GetColor(18, 18), clLime);   // lower right: (18, 15) -> (18, 21)
    EXPECT_EQ(d->GlyphBitmap(1)->Image().GetColor(10, 1), Unlit7);
}

TEST_F(LEDDisplayTest, WindowDisplayPlacesItsCells)
{
    auto* d = NewBeatDisplay();
    d->SetValue(88888);
    Pump();
    for (int k = 0; k < 5; ++k) {
        int x0 = 1 + 22 * k;
        SCOPED_TRACE(k);
        EXPECT_EQ(At(d, x0 + 10, 3), clBlack);   // the top edge of the glyph at y0 = 3
        EXPECT_EQ(At(d, x0 + 10, 4), clLime);
        EXPECT_EQ(At(d, x0 + 2, 5), clBlack);    // its slanted left end at x0
        EXPECT_EQ(At(d, x0 + 3, 5), clLime);
        EXPECT_EQ(At(d, x0 + 10, 2), clBlack);
        if (k > 0) {
            EXPECT_EQ(At(d, x0 - 1, 15), clBlack);
        }
    }
    EXPECT_EQ(Cells(d), (std::vector<int> { 8, 8, 8, 8, 8 }));
}

TEST_F(LEDDisplayTest, LeadingZerosFillTheRow)
{
    auto* d = NewBeatDisplay();
    EXPECT_EQ(Cells(d), (std::vector<int> { 0, 0, 0, 0, 0 }));
    d->SetLeadingZeros(false);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { -1, -1, -1, -1, -1 }));
    d->SetValue(42);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { -1, -1, -1, 4, 2 }));
    d->SetValue(1002);   // zeros after the first digit show
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { -1, 1, 0, 0, 2 }));
}

TEST_F(LEDDisplayTest, LongTextShowsItsLeftmostDigits)
{
    auto* d = NewBeatDisplay();
    d->SetValue(123456);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { 1, 2, 3, 4, 5 }));
}

TEST_F(LEDDisplayTest, NegativeNumbersPadInFrontOfTheSign)
{
    auto* d = NewBeatDisplay();
    d->SetValue(-12);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { 0, 0, 10, 1, 2 }));
    d->SetLeadingZeros(false);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { -1, -1, 10, 1, 2 }));
}

TEST_F(LEDDisplayTest, FractionShowsTheCommaAfterItsDigit)
{
    auto* d = NewBeatDisplay();
    d->SetValue(314);
    Pump();
    EXPECT_EQ(At(d, 64, 21), clBlack);   // the right edge of the third glyph
    EXPECT_EQ(At(d, 61, 27), clBlack);   // the bottom edge of the third glyph
    d->SetFractionDigits(2);
    d->SetValue(3.14159L);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { 0, 0, 3, 1, 4 }));
    // The comma's dot (61, 20, 65, 24) and tail to (61, 27), just left of cell 4 at 67.
    EXPECT_EQ(At(d, 64, 21), clLime);
    EXPECT_EQ(At(d, 61, 27), clLime);
}

// With 30-pixel cells the marks fall into the gaps between the glyphs.
TEST_F(LEDDisplayTest, SeparatorMarksTakeTheirShapes)
{
    auto* d = NewBeatDisplay();
    d->SetBounds(0, 0, 150, 31);
    d->SetFractionDigits(1);
    d->SetValue(12.5L);   // "001" "25": the mark after cell 4, left of x = 5 + 4 * 30
    auto markRows = [&]() {
        std::vector<int> rows;
        for (int y = 0; y < 31; ++y)
            for (int x = 115; x < 125; ++x)
                if (At(d, x, y) == clLime) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    };
    const int y0 = 3, yb = 28;
    d->SetDecSeperator(dsPoint);
    Pump();
    EXPECT_EQ(markRows(), (std::vector<int> { yb - 5, yb - 4, yb - 3, yb - 2 }));
    d->SetDecSeperator(dsComma);
    Pump();
    auto comma = markRows();
    ASSERT_FALSE(comma.empty());
    EXPECT_EQ(comma.front(), yb - 8);
    EXPECT_EQ(comma.back(), yb - 1);
    d->SetDecSeperator(dsDoublePoint);
    Pump();
    auto two = markRows();   // y1 = 11, y2 = 19: rows 9..12 and 17..20
    EXPECT_EQ(two, (std::vector<int> { 9, 10, 11, 12, 17, 18, 19, 20 }));
    d->SetDecSeperator(dsMinus);
    Pump();
    auto minus = markRows();
    ASSERT_FALSE(minus.empty());
    EXPECT_LE(minus.front(), y0 + 12);
    EXPECT_GE(minus.back(), y0 + 12);
    EXPECT_LE(minus.size(), 4u);   // one line of the segment width
    // No mark anywhere else.
    for (int gap = 0; gap < 3; ++gap)
        for (int y = 0; y < 31; ++y)
            for (int x = 25 + 30 * gap; x < 35 + 30 * gap; ++x)
                ASSERT_NE(At(d, x, y), clLime) << x << "," << y;
}

TEST_F(LEDDisplayTest, FractionDigitsAreClampedWhenSet)
{
    auto* d = new TLEDDisplay(form);
    d->SetFractionDigits(9);
    EXPECT_EQ(d->FractionDigits(), 5);
    d->SetNumDigits(3);   // no second clamp
    EXPECT_EQ(d->FractionDigits(), 5);
    d->SetFractionDigits(-2);   // no lower bound
    EXPECT_EQ(d->FractionDigits(), -2);
    d->SetValue(2.75L);
    EXPECT_EQ(d->FormattedValue().find_first_not_of("0123456789"), std::string::npos);
    // Formatting never goes beyond 18 decimals.
    d->SetNumDigits(60);
    d->SetFractionDigits(40);
    EXPECT_EQ(d->FractionDigits(), 40);
    std::string s = d->FormattedValue();
    EXPECT_EQ(s.size(), 1 + 1 + 18u) << s;
    d->SetParent(form);
    Pump();
}

TEST_F(LEDDisplayTest, FormattedValueRoundsToTheShownDigits)
{
    char saved = DecimalSeparator;
    DecimalSeparator = ',';
    auto* d = new TLEDDisplay(form);
    d->SetFractionDigits(2);
    d->SetValue(3.14159L);
    EXPECT_EQ(d->FormattedValue(), "3,14");
    d->SetValue(-0.001L);
    EXPECT_EQ(d->FormattedValue(), "0,00");   // no minus in front of zeros
    d->SetValue(123456789012345678.0L);       // 18 significant digits at most
    EXPECT_EQ(d->FormattedValue(), "123456789012345678,00");
    d->SetValue(1e20L);
    EXPECT_EQ(d->FormattedValue(), "1,00000000000000000E+20");
    d->SetFractionDigits(0);
    d->SetValue(-7);
    EXPECT_EQ(d->FormattedValue(), "-7");
    DecimalSeparator = saved;
}

TEST_F(LEDDisplayTest, ContrastRulesTheUnlitSegments)
{
    auto* d = NewBeatDisplay();
    TBitmap* before = d->GlyphBitmap(1);
    d->SetLEDContrast(10);
    EXPECT_EQ(d->LEDContrast(), 7);
    EXPECT_EQ(d->GlyphBitmap(1), before);   // nothing rebuilt
    d->SetLEDContrast(0);
    EXPECT_EQ(d->UnlitColor(), clLime);
    EXPECT_EQ(d->GlyphBitmap(1)->Image().GetColor(10, 2), clLime);
}

TEST_F(LEDDisplayTest, LookChangesRebuildTheGlyphsAndLayoutChangesDoNot)
{
    auto* d = NewBeatDisplay();
    TBitmap* g0 = d->GlyphBitmap(0);
    d->SetNumDigits(4);
    d->SetLeadingZeros(false);
    d->SetDecSeperator(dsPoint);
    d->SetBevelStyle(bvRaised);
    EXPECT_EQ(d->GlyphBitmap(0), g0);
    d->SetColorLED(clRed);
    EXPECT_NE(d->GlyphBitmap(0), g0);
    EXPECT_EQ(d->GlyphBitmap(0)->Image().GetColor(10, 2), clRed);
    TColor light, unlitRed;
    ContrastShades(clRed, 7, 7, light, unlitRed);
    EXPECT_EQ(d->UnlitColor(), unlitRed);
    d->SetColorBackGround(clNavy);
    EXPECT_EQ(d->GlyphBitmap(0)->Image().GetColor(10, 0), clNavy);
    d->SetDigitWidth(12);
    d->SetDigitHeight(16);
    EXPECT_EQ(d->GlyphBitmap(10)->Width(), 12);
    EXPECT_EQ(d->GlyphBitmap(10)->Height(), 16);
    d->SetDigitWidth(-5);   // no glyph, no failure
    EXPECT_TRUE(d->GlyphBitmap(3)->Empty());
    Pump();
}

TEST_F(LEDDisplayTest, OnChangeFiresOncePerChangeAfterTheRepaintRequest)
{
    auto* d = NewBeatDisplay();
    int changes = 0;
    bool invalidated = false;
    d->OnChange = TNotifyEvent::FromFunction([&](TObject* sender) {
        EXPECT_EQ(sender, d);
        ++changes;
        invalidated = form->UpdateRegion().Contains(50, 15);
    });
    d->SetValue(1);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(invalidated);
    d->SetValue(1);
    EXPECT_EQ(changes, 1);
    d->SetValue(std::numeric_limits<long double>::quiet_NaN());   // unordered: nothing
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(d->Value(), 1.0L);
    d->SetValue(-0.0L);
    d->SetValue(0.0L);   // equal to -0
    EXPECT_EQ(changes, 2);
}

// An infinity cannot be formatted: the empty text is padded to a row of zeros, which
// LeadingZeros False then leaves blank.
TEST_F(LEDDisplayTest, InfinityShowsThePaddedZeros)
{
    auto* d = NewBeatDisplay();
    d->SetValue(std::numeric_limits<long double>::infinity());
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { 0, 0, 0, 0, 0 }));
    EXPECT_EQ(d->FormattedValue(), "");
    d->SetValue(-std::numeric_limits<long double>::infinity());
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { 0, 0, 0, 0, 0 }));
    d->SetLeadingZeros(false);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { -1, -1, -1, -1, -1 }));
}

TEST_F(LEDDisplayTest, BevelAndBorderFrameTheDisplay)
{
    auto* d = NewBeatDisplay();
    d->SetColorBackGround(clNavy);
    Pump();
    const TColor shadow = ColorToRGB(clBtnShadow), highlight = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(At(d, 50, 0), shadow);   // lowered: shadow top left
    EXPECT_EQ(At(d, 0, 20), shadow);
    EXPECT_EQ(At(d, 50, 30), highlight);
    EXPECT_EQ(At(d, 111, 20), highlight);
    EXPECT_EQ(At(d, 50, 1), ColorToRGB(clWindowFrame));   // the frame one pixel inside
    EXPECT_EQ(At(d, 110, 20), ColorToRGB(clWindowFrame));
    EXPECT_EQ(At(d, 50, 2), clNavy);
    d->SetBevelStyle(bvRaised);
    d->SetBorderStyle(bsNone);
    Pump();
    EXPECT_EQ(At(d, 50, 0), highlight);
    EXPECT_EQ(At(d, 50, 30), shadow);
    EXPECT_EQ(At(d, 50, 1), clNavy);
    d->SetBevelStyle(bvNone);
    Pump();
    EXPECT_EQ(At(d, 50, 0), clNavy);
}

TEST_F(LEDDisplayTest, NoDigitsPaintsOnlyTheFrame)
{
    auto* d = NewBeatDisplay();
    d->SetValue(88888);
    d->SetNumDigits(0);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { -1, -1, -1, -1, -1 }));
    d->SetNumDigits(-3);
    Pump();
    EXPECT_EQ(Cells(d), (std::vector<int> { -1, -1, -1, -1, -1 }));
}

// More digits than pixels: every cell lands on the same spot and the last one shows.
TEST_F(LEDDisplayTest, HugeDigitCountStaysBounded)
{
    auto* d = NewBeatDisplay();
    d->SetValue(42);
    d->SetNumDigits(1000000000);
    Pump();
    // The glyph at x = (0 - 20) / 2 = -10: its lower-right segment is unlit for a 2.
    EXPECT_EQ(At(d, 7, 3 + 18), Unlit7);
    EXPECT_EQ(At(d, 7, 3 + 7), clLime);
    d->SetValue(40);
    Pump();
    EXPECT_EQ(At(d, 7, 3 + 18), clLime);   // a 0
}

} // namespace
