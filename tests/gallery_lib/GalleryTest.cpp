// The control gallery: every page reads and writes back the same text, the window shows
// each control where its page puts it (a few pixels its drawing rules fix), and the
// controls work: switches toggle, buttons click, the default fader drives the gauges,
// and the status line names the control and the event.
#include "gallery/Gallery.h"

#include "effectlib/EPCtrls.h"
#include "effectlib/EPGauges.h"
#include "effectlib/Indictrls.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"
#include "support/HeadlessFixture.h"

namespace {

using plat::MouseButton;

bool Near(TColor a, TColor b, int tol = 4)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tol || d < -tol)
            return false;
    }
    return true;
}

class GalleryTest : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        Application->CreateForm(gallery);
        gallery->Show();
        Pump();
        id = gallery->WindowHandle();
    }
    TColor At(int x, int y) { return gallery->Framebuffer().GetColor(x, y); }
    void Click(int x, int y)
    {
        ws.MouseMove(id, x, y);
        ws.MouseDown(id, x, y, MouseButton::Left);
        ws.MouseUp(id, x, y, MouseButton::Left);
        Pump();
    }

    TfrmGallery* gallery = nullptr;
    uintptr_t id = 0;
};

} // namespace

TEST(GalleryPages, EveryPageRoundTripsThroughTheFormWriter)
{
    plat::HeadlessWindowSystem ws;
    plat::InstallWindowSystem(&ws);
    Application->Reset();
    ASSERT_FALSE(GalleryPages().empty());
    for (const TGalleryPage& p : GalleryPages()) {
        auto* first = new TForm(nullptr, p.Text);
        const std::string once = WriteComponentRes(first);
        delete first;
        auto* second = new TForm(nullptr, once);
        EXPECT_EQ(WriteComponentRes(second), once) << p.Name;
        EXPECT_GT(second->ComponentCount(), 20) << p.Name;
        delete second;
    }
    EXPECT_EQ(FindGalleryPage("nothing"), nullptr);
    Application->Reset();
    plat::InstallWindowSystem(nullptr);
}

TEST_F(GalleryTest, InstrumentsPageShowsEveryControlWhereItsPagePutsIt)
{
    ASSERT_EQ(gallery->PageName(), "instruments");
    EXPECT_EQ(gallery->ClientHeight(), gallery->Page()->ClientHeight() + TfrmGallery::StripHeight);
    // Faders at their minimum (red knob at the bottom) and maximum (knob at the top).
    EXPECT_TRUE(Near(At(60 + 15, 24 + 135), clRed));
    EXPECT_TRUE(Near(At(105 + 15, 24 + 15), ColorToRGB(clSilver)));
    // The switch that is on shows its yellow knob at the top.
    EXPECT_TRUE(Near(At(215 + 17, 24 + 19), clYellow));
    // Flat gauge frame; soft gauge bar; vertical gauge bar.
    EXPECT_EQ(At(280, 24), ColorToRGB(clBtnHighlight));
    EXPECT_TRUE(Near(At(280 + 40, 90 + 30), TColor(0xFF0000), 8));
    EXPECT_TRUE(Near(At(450 + 20, 24 + 130), clLime, 8));
    // Shadow button plate and shadow.
    EXPECT_EQ(At(10 + 2, 204 + 2), TColor(0xFF0000));
    auto* sb = dynamic_cast<TControl*>(gallery->Page()->FindComponent("sbRect"));
    ASSERT_NE(sb, nullptr);
    EXPECT_EQ(At(10 + 81, 204 + 20), TColor((ColorToRGB(sb->Color()) >> 1) & 0x7F7F7F));
    // Indicators: the button's frame, the minus of -7, the LED bar's beyond-normal cell.
    EXPECT_EQ(At(300, 204), TColor(0xFF0000));
    EXPECT_EQ(At(410 + 45, 204 + 24), TColor(0x00FF00));
    EXPECT_EQ(At(410 + 75, 262 + 10), TColor(0x0000FF));
    EXPECT_EQ(At(410 + 95, 262 + 10), TColor(0x808080));
    // The gradient label is navy at its left edge.
    EXPECT_TRUE(Near(At(170, 330), clNavy, 8));
}

TEST_F(GalleryTest, ControlsWorkAndTheStatusLineSaysWhichFiredWhat)
{
    auto* sw = dynamic_cast<TepSwitch*>(gallery->Page()->FindComponent("swOff"));
    ASSERT_NE(sw, nullptr);
    Click(165 + 17, 24 + 25);
    EXPECT_EQ(sw->State(), sOn);
    EXPECT_EQ(gallery->Status(), "swOff: OnOn");
    Click(10 + 40, 204 + 15);
    EXPECT_EQ(gallery->Status(), "sbRect: OnClick");
    ws.MouseMove(id, 300 + 50, 204 + 20);
    ws.MouseDown(id, 300 + 50, 204 + 20, MouseButton::Left);
    Pump();
    EXPECT_EQ(gallery->Status(), "ibPlay: OnMouseDown");
    ws.MouseUp(id, 300 + 50, 204 + 20, MouseButton::Left);

    // Drag the default fader's knob up by 30: the gauges follow at the timer's pace.
    ws.MouseMove(id, 15 + 15, 24 + 75);
    ws.MouseDown(id, 15 + 15, 24 + 75, MouseButton::Left);
    ws.MouseMove(id, 15 + 15, 24 + 45);
    Pump();
    plat::AdvanceManualClock(100);
    Pump();
    ws.MouseUp(id, 15 + 15, 24 + 45, MouseButton::Left);
    Pump();
    EXPECT_EQ(gallery->Status(), "fadDefault: OnChange, Value 75");
    auto* gauge = dynamic_cast<TepGauge*>(gallery->Page()->FindComponent("ggH"));
    auto* leds = dynamic_cast<TepIndiGauge*>(gallery->Page()->FindComponent("lbLed"));
    ASSERT_TRUE(gauge && leds);
    EXPECT_EQ(gauge->Progress(), 75);
    EXPECT_EQ(leds->LitCells(), 7);

    // The page button shows the page again, fresh; an unknown page is refused.
    Click(8 + 40, gallery->Page()->ClientHeight() + 4 + 15);
    EXPECT_EQ(gallery->PageName(), "instruments");
    auto* fresh = dynamic_cast<TepSwitch*>(gallery->Page()->FindComponent("swOff"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->State(), sOff);
    EXPECT_THROW(gallery->ShowPage("nothing"), Exception);
    EXPECT_EQ(gallery->PageName(), "instruments");
}
