// The control gallery: every page reads and writes back the same text, the window shows
// each control where its page puts it (a few pixels its drawing rules fix), and the
// controls work: switches toggle, buttons click, the default fader drives the gauges,
// and the status line names the control and the event.
#include "gallery/Gallery.h"

#include "effectlib/BoxCtrls.h"
#include "effectlib/EPCtrls.h"
#include "effectlib/EPGauges.h"
#include "effectlib/Indictrls.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"
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

TEST_F(GalleryTest, BoxesPageShowsWallpapersPicturesFramesAndButtons)
{
    gallery->ShowPage("boxes");
    Pump();
    auto wall = [](TColor c) { return c == TColor(0xF4E4D6) || c == TColor(0xEED8C8); };
    // List box: the item wallpaper right of item 0's text; the selected-item strip is
    // unused until a choice. Three columns of 300 pixels: strips 100 wide.
    EXPECT_TRUE(wall(At(10 + 150, 24 + 2 + 10)));
    auto* cols = dynamic_cast<TepListBox*>(gallery->Page()->FindComponent("lstColumns"));
    ASSERT_NE(cols, nullptr);
    EXPECT_EQ(cols->ItemStrip()->Width(), 100);
    // Combo box: the chosen item (1, the circle) with its image-list picture at Offset 2.
    auto* shapes = dynamic_cast<TepComboBox*>(gallery->Page()->FindComponent("cmbShapes"));
    ASSERT_NE(shapes, nullptr);
    EXPECT_EQ(shapes->Height(), 26);
    EXPECT_EQ(At(10 + 3 + 2 + 8, 208 + 13), TColor(0x00A000));
    EXPECT_TRUE(wall(At(10 + 170, 208 + 13)));
    // Open boxes: the frame's left edge in FrameColor, the disabled one in BtnOuterColor
    // and collapsed to BtnHeight + 5.
    EXPECT_EQ(At(230 + 1, 148 + 60), ColorToRGB(clNavy));
    auto* closed = dynamic_cast<TControl*>(gallery->Page()->FindComponent("obxDisabled"));
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(closed->Height(), 32);
    EXPECT_EQ(At(450 + 1, 148 + 20), ColorToRGB(clBtnShadow) & 0xFFFFFF);
    // Group box: the dark left edge, then the light one, over the paper wallpaper.
    EXPECT_EQ(At(10, 304 + 60), ColorToRGB(clBtnShadow) & 0xFFFFFF);
    EXPECT_EQ(At(11, 304 + 60), ColorToRGB(clBtnHighlight) & 0xFFFFFF);
    EXPECT_NE(At(10 + 5, 304 + 100), ColorToRGB(clBtnFace) & 0xFFFFFF);
}

TEST_F(GalleryTest, BoxesPageListsChooseScrollAndTheOpenBoxCloses)
{
    gallery->ShowPage("boxes");
    Pump();
    auto* shapes = dynamic_cast<TepComboBox*>(gallery->Page()->FindComponent("cmbShapes"));
    auto* list = dynamic_cast<TepListBox*>(gallery->Page()->FindComponent("lstWall"));
    auto* box = dynamic_cast<TepOpenBox*>(gallery->Page()->FindComponent("obxMore"));
    ASSERT_TRUE(shapes && list && box);
    Click(10 + 100, 208 + 13);
    ASSERT_NE(shapes->DropList(), nullptr);
    TRect r = shapes->DropList()->BoundsRect();
    Click(r.Left + 60, r.Top + 3 * 20 + 10);
    EXPECT_EQ(shapes->ItemIndex(), 3);
    EXPECT_EQ(gallery->Status(), "cmbShapes: OnChange, Diamond");
    // The chosen item is drawn selected on its own wallpaper while the box has the focus.
    const TColor sel = At(10 + 170, 208 + 13);
    EXPECT_TRUE(sel == TColor(0x78C8FA) || sel == TColor(0x64B8F0)) << std::hex << sel;

    ws.MouseWheel(id, 10 + 50, 24 + 50, -120);
    Pump();
    EXPECT_EQ(list->TopIndex(), 3);
    Click(10 + 50, 24 + 2 + 5);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(gallery->Status(), "lstWall: OnClick, Diamond");

    Click(230 + 20, 148 + 10);
    EXPECT_TRUE(box->CloseBox());
    EXPECT_EQ(box->Height(), 27);
    EXPECT_EQ(gallery->Status(), "obxMore: OnCloseBox");
    Click(230 + 20, 148 + 10);
    EXPECT_EQ(box->Height(), 150);
    EXPECT_EQ(gallery->Status(), "obxMore: OnOpenBox");
}
