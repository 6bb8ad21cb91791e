#include "MetronomeTestSupport.h"

#include "platform/raster/Dc.h"
#include "platform/raster/Surface.h"

#include <vector>

namespace {

plat::Region Outline(double angle, const NeedleShape& shape, int dx, int dy)
{
    TPoint p[7];
    NeedlePolygon(p, dx, dy, angle, shape);
    std::vector<plat::Point> q;
    for (const TPoint& t : p)
        q.push_back({ t.X, t.Y });
    return plat::Region::FromPolygon(q, plat::FillMode::Winding);
}

// The pixels the canvas paints for a needle (fill and outline), found by drawing it whole
// on a blank surface.
plat::Region Painted(double angle, const NeedleShape& shape, int dx, int dy)
{
    TPoint p[7];
    NeedlePolygon(p, dx, dy, angle, shape);
    std::vector<plat::Point> q;
    for (const TPoint& t : p)
        q.push_back({ t.X, t.Y });
    plat::Surface s(400, 450);
    plat::Dc dc(&s);
    dc.SetPen({ plat::PenStyle::Solid, 1, 0x808080 });
    dc.SetBrush({ plat::BrushStyle::Solid, 0x808080 });
    dc.Polygon(q);
    std::vector<plat::Rect> px;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.GetColor(x, y))
                px.push_back({ x, y, x + 1, y + 1 });
    return plat::Region::FromRects(px);
}

class MoveNeedleTest : public MetronomeTest {
protected:
    void SetUp() override
    {
        MetronomeTest::SetUp();
        Open();
        panel = form->pnlDisplay;
        origin = panel->FormOffset();
        panelArea = plat::Rect { origin.X, origin.Y, origin.X + panel->Width(),
            origin.Y + panel->Height() };
        plat::SetManualClock(1000);
        Click(form->btnRun);
    }

    // What a move from `from` to `to` must repaint, in form coordinates: the enlarged old
    // outline and the old needle less the new needle, and the new needle less the old one.
    plat::Region ExpectedRepaint(double from, double to) const
    {
        const int dx = form->pbArea->Left(), dy = form->pbArea->Top();
        plat::Region e = Outline(from, form->NeedleErase(), dx, dy);
        plat::Region o = Painted(from, form->Needle(), dx, dy);
        plat::Region n = Painted(to, form->Needle(), dx, dy);
        plat::Region r = ((e | o) - n) | (n - (o & n));
        r.Offset(origin.X, origin.Y);
        return r;
    }

    plat::Surface PanelPixels() const
    {
        plat::Surface s(panelArea.right - panelArea.left, panelArea.bottom - panelArea.top);
        for (int y = panelArea.top; y < panelArea.bottom; ++y)
            for (int x = panelArea.left; x < panelArea.right; ++x)
                s.SetColor(x - panelArea.left, y - panelArea.top,
                    form->Framebuffer().GetColor(x, y));
        return s;
    }

    static int64_t Differences(const plat::Surface& a, const plat::Surface& b,
        const plat::Region* allowed, int ox, int oy, int64_t* outside)
    {
        int64_t n = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.GetColor(x, y) != b.GetColor(x, y)) {
                    ++n;
                    if (allowed && outside && !allowed->Contains(x + ox, y + oy))
                        ++*outside;
                }
        return n;
    }

    TScrewPanel* panel = nullptr;
    TPoint origin;
    plat::Rect panelArea;
};

} // namespace

// Over one whole swing at the slowest, the default and the fastest tempo, every tick
// repaints exactly the erase ring and the newly covered needle, touches no pixel outside
// them, and leaves the panel byte for byte as a full repaint would. The beat's tick also
// repaints the beat display, so only the last holds for it.
TEST_F(MoveNeedleTest, EachTickRepaintsOnlyWhatTheNeedleLeavesOrCovers)
{
    int32_t start = 1600;
    for (int tempo : { 40, 120, 208 }) {
        SCOPED_TRACE(tempo);
        plat::SetManualClock(start - 600);
        form->sliderTempo->SetValue(tempo);
        TickAt(start);   // restarts the run at the new tempo
        const int32_t period = 60000 / tempo;
        int ticks = 0;
        for (int32_t t = start + 10; t <= start + period + 10; t += 10, ++ticks) {
            double before = form->NeedleAngle();
            plat::Surface old = PanelPixels();
            int64_t painted = panel->PaintedPixels();
            const int shown = Shown();
            TickAt(t);
            plat::Surface now = PanelPixels();
            if (Shown() == shown) {
                plat::Region expected = ExpectedRepaint(before, form->NeedleAngle());
                EXPECT_EQ(panel->PaintedPixels() - painted, expected.Area()) << t;
                int64_t outside = 0;
                Differences(old, now, &expected, panelArea.left, panelArea.top, &outside);
                EXPECT_EQ(outside, 0) << t;
            }

            panel->Invalidate();
            panel->Update();
            ASSERT_EQ(Differences(now, PanelPixels(), nullptr, 0, 0, nullptr), 0) << t;
        }
        EXPECT_GE(ticks * 10, period);
        EXPECT_EQ(Shown(), 1);
        start += period + 1000;
    }
}

TEST_F(MoveNeedleTest, UnchangedAngleRepaintsOnlyTheMarginRing)
{
    TickAt(1125);   // leaning fully left
    double angle = form->NeedleAngle();
    int64_t painted = panel->PaintedPixels();
    TickAt(1125);
    ASSERT_EQ(form->NeedleAngle(), angle);
    const int dx = form->pbArea->Left(), dy = form->pbArea->Top();
    plat::Region needle = Painted(angle, form->Needle(), dx, dy);
    plat::Region ring = (Outline(angle, form->NeedleErase(), dx, dy) | needle) - needle;
    EXPECT_EQ(panel->PaintedPixels() - painted, ring.Area());
    EXPECT_GT(ring.Area(), 0);
}
