// Property values at the top of the integer range, as a form file may hold them: the LED
// button's Depth, a panel's BorderWidth and BevelWidth, a display's NumDigits. Each paints
// in under 100 ms (a bound that only a loop run as often as the value says would break),
// and the frame drawn with a huge Depth is the one the full count of lines would draw.
#include "rackctls/RackCtls.h"

#include "RackTestSupport.h"

#include <algorithm>
#include <chrono>
#include <climits>

using namespace racktest;

namespace {

constexpr TColor Light = 0xD9D9D9, Dark = 0x606060;

// Milliseconds that f takes.
template <class F> double Millis(F&& f)
{
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

class HugeValuesTest : public RackFormTest {
protected:
    void SetUp() override
    {
        RackFormTest::SetUp();
        form = NewForm(200, 120);
    }
    TLEDButton* NewKey(int w, int h)
    {
        auto* b = new TLEDButton(form);
        b->SetBounds(10, 10, w, h);
        b->SetColor(clSilver);
        b->SetBorderStyle(bsNone);
        b->SetShowLED(false);
        b->SetParent(form);
        Pump();
        return b;
    }
    // Paints b at once and returns the time taken: the best of three, so that a busy
    // machine's pause is not taken for a loop that runs too long.
    double PaintTime(TControl* b)
    {
        double best = 1e9;
        for (int i = 0; i < 3; ++i)
            best = std::min(best, Millis([&] {
                b->Invalidate();
                Pump();
            }));
        return best;
    }

    TForm* form = nullptr;
};

} // namespace

TEST_F(HugeValuesTest, LEDButtonDepthAtTheTopOfTheRangePaintsAtOnce)
{
    auto* b = NewKey(66, 26);
    b->SetCaption("Run");
    b->SetShowLED(true);
    b->SetTextPosition(tpOnButton);
    for (int depth : { 1000000000, INT_MAX, INT_MIN }) {
        for (TButtonDirection dir : { bdBottomUp, bdTopUp, bdLeftUp, bdRightUp }) {
            for (bool beveled : { true, false }) {
                b->SetDepth(depth);
                b->SetButtonDirection(dir);
                b->SetBeveled(beveled);
                EXPECT_LT(PaintTime(b), 100.0) << depth << " " << dir;
                Press(b, 30, 12);
                EXPECT_LT(PaintTime(b), 100.0) << depth << " " << dir << " pressed";
                Release(b, 30, 12);
            }
        }
    }
    // Unpressed, bottom-up and bevelled, the dark front face climbs to the top row, where
    // its line 25 runs from x 25 to 39; left of it the light flank's line 25 lies on that
    // row.
    b->SetDepth(INT_MAX);
    b->SetButtonDirection(bdBottomUp);
    b->SetBeveled(true);
    b->SetCaption("");
    b->SetShowLED(false);
    Pump();
    EXPECT_EQ(At(b, 5, 0), Light);
    EXPECT_EQ(At(b, 33, 0), Dark);
    EXPECT_EQ(At(b, 33, 20), Dark);
}

// The pressed bottom-up fans end on the key's bottom edge at L + i / 2 and Rt - 1 - i / 2:
// their end points leave the key after a few lines, but the lines still cross it at ever
// smaller slopes. Drawn here line by line to a count far past the point where the painting
// stops, the frame must come out the same.
TEST_F(HugeValuesTest, APressedFrameStopsOnlyWhereMoreLinesChangeNoPixel)
{
    const int W = 20, H = 12, depth = 20000;
    auto* b = NewKey(W, H);
    b->SetDepth(depth);
    Press(b, 5, 5);

    TBitmap ref;
    ref.SetSize(W, H);
    TCanvas* c = ref.Canvas();
    c->Brush()->SetColor(clSilver);
    c->FillRect(Rect(0, 0, W, H));
    auto line = [c](int x1, int y1, int x2, int y2) {
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    c->Pen()->SetColor(Light);
    line(W - 1, 0, 0, 0);
    for (int i = 0; i <= depth; ++i)
        line(0, 0, i / 2, H - 1);
    c->Pen()->SetColor(Dark);
    for (int i = 0; i <= depth; ++i)
        line(W - 1, 0, W - 1 - i / 2, H - 1);
    line(0, H - 1, W - 1, H - 1);

    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(At(b, x, y), ref.Image().GetColor(x, y)) << x << "," << y;
    Release(b, 5, 5);
}

// Unpressed, every frame line past the key's width plus height lies off the key or on its
// top edge: a depth just past the key's larger side paints what a depth at the stop does.
TEST_F(HugeValuesTest, AnUnpressedFrameIsWholeAtTheKeysSize)
{
    for (TButtonDirection dir : { bdBottomUp, bdTopUp, bdLeftUp, bdRightUp }) {
        for (bool beveled : { true, false }) {
            auto* a = NewKey(20, 12);
            a->SetButtonDirection(dir);
            a->SetBeveled(beveled);
            a->SetDepth(21);
            auto* z = NewKey(20, 12);
            z->SetLeft(120);
            z->SetButtonDirection(dir);
            z->SetBeveled(beveled);
            z->SetDepth(INT_MAX);
            Pump();
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 20; ++x)
                    ASSERT_EQ(At(a, x, y), At(z, x, y)) << dir << " " << x << "," << y;
            delete a;
            delete z;
        }
    }
}

TEST_F(HugeValuesTest, PanelBorderAndBevelWidthAtTheTopOfTheRangePaintAtOnce)
{
    auto* p = new TPanel(form);
    p->SetBounds(10, 10, 120, 80);
    p->SetColor(0x00336699);
    p->SetCaption("Lamp");
    p->SetParent(form);
    auto* child = new TPanel(p);
    child->SetAlign(alClient);
    child->SetParent(p);
    Pump();
    p->SetBorderWidth(INT_MAX);
    EXPECT_LT(PaintTime(p), 100.0);
    // The border ring in the panel's colour covers the whole panel.
    EXPECT_EQ(At(p, 60, 40), TColor(0x00336699));
    EXPECT_EQ(At(p, 1, 1), TColor(0x00336699));
    p->SetBevelWidth(INT_MAX);
    p->SetBevelInner(bvLowered);
    EXPECT_LT(PaintTime(p), 100.0);

    auto* s = new TScrewPanel(form);
    s->SetBounds(10, 10, 120, 80);
    s->SetBevelOuter(bvLowered);
    s->SetCaption("Plate");
    s->SetParent(form);
    Pump();
    for (int border : { INT_MAX, 0 }) {
        s->SetBorderWidth(border);
        s->SetBevelWidth(INT_MAX);
        s->SetBevelInner(bvRaised);
        EXPECT_LT(PaintTime(s), 100.0) << border;
        s->SetBevelWidth(1);
        s->SetMargin(INT_MIN);
        EXPECT_LT(PaintTime(s), 100.0) << border;
    }
}

TEST_F(HugeValuesTest, LEDDisplayWithMoreDigitsThanFitStopsAtItsEdge)
{
    auto* d = new TLEDDisplay(form);
    d->SetBounds(0, 0, 112, 31);
    d->SetParent(form);
    d->SetNumDigits(1000000);
    d->SetWidth(INT_MAX / 2);
    d->SetValue(12345);
    EXPECT_LT(PaintTime(d), 100.0);
    d->SetNumDigits(INT_MAX);
    EXPECT_LT(PaintTime(d), 100.0);
}
