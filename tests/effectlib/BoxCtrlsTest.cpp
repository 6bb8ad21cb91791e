#include "effectlib/BoxCtrls.h"
#include "effectlib/Medialib.h"
#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Picture.h"
#include "framework/stdctrls/CustomPanel.h"
#include "EffectControlsTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using effctltest::HeadlessFormTest;

namespace {

std::unique_ptr<TBitmap> Solid(int w, int h, TColor c)
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

TColor Rgb(TColor c) { return ColorToRGB(c) & 0xFFFFFF; }

class BoxListTest : public HeadlessFormTest {
protected:
    TepListBox* NewList(TForm* f, int n)
    {
        auto* l = new TepListBox(f);
        l->SetParent(f);
        l->SetBorderStyle(bsNone);
        l->SetBounds(0, 0, 150, 100);
        l->SetItemHeight(20);
        for (int i = 0; i < n; ++i)
            l->Items()->Add("i" + std::to_string(i));
        Pump();
        return l;
    }
};

} // namespace

TEST_F(BoxListTest, StartValues)
{
    TForm* f = NewForm();
    auto* l = NewList(f, 0);
    auto* c = new TepComboBox(f);
    EXPECT_EQ(l->Style(), lbOwnerDrawFixed);
    EXPECT_EQ(c->Style(), csOwnerDrawFixed);
    EXPECT_EQ(l->Offset(), 2);
    EXPECT_TRUE(l->TransparentSelect());
    EXPECT_TRUE(c->UseFocusFrame());
    EXPECT_EQ(l->InnerFocusColor(), clWhite);
    EXPECT_EQ(c->OuterFocusColor(), clGray);
    EXPECT_EQ(l->SelectTextColor(), TColor(0x800000));
    EXPECT_EQ(c->SelectColor(), clWindow) << "the control's colour at construction";
    EXPECT_TRUE(l->Glyph()->Empty());
    EXPECT_EQ(c->ImageList(), nullptr);
}

TEST_F(BoxListTest, TextIsCentredOnTheItemsMiddleRow)
{
    TForm* f = NewForm();
    auto* l = NewList(f, 1);
    // A 20-pixel item and text 13 pixels high: 10 - 6 = 4 below the item's top.
    int found = 0;
    for (int h = -8; h >= -20 && !found; --h) {
        l->Font()->SetHeight(h);
        TBitmap probe;
        probe.SetSize(1, 1);
        probe.Canvas()->SetFont(l->Font());
        if (probe.Canvas()->TextHeight("i0") == 13)
            found = h;
    }
    ASSERT_NE(found, 0) << "no font height gives 13-pixel text";
    EXPECT_EQ(l->TextY(Rect(0, 40, 150, 60), "i0"), 44);
    EXPECT_EQ(l->TextY(Rect(0, 0, 150, 21), "i0"), 4) << "(21 - 0) / 2 - 13 / 2";
}

TEST_F(BoxListTest, SelectedItemBackgroundFollowsTransparentSelectAndWallpapers)
{
    TForm* f = NewForm();
    auto* l = NewList(f, 3);
    l->SetSelectColor(clLime);
    l->SetItemIndex(1);
    Pump();
    const int x = 140, y = 30;   // right end of the selected item, clear of the text
    EXPECT_EQ(Pixel(f, x, y), Rgb(clLime))
        << "no wallpaper: SelectColor even with TransparentSelect";

    l->SetItemWallPaper(Solid(8, 8, clTeal).get());
    l->SetTransparentSelect(true);
    Pump();
    EXPECT_EQ(Pixel(f, x, y), Rgb(clTeal)) << "transparent selection keeps the item wallpaper";
    EXPECT_EQ(Pixel(f, x, 5), Rgb(clTeal));

    l->SetTransparentSelect(false);
    Pump();
    EXPECT_EQ(Pixel(f, x, y), Rgb(clLime)) << "own selection without its wallpaper: SelectColor";
    l->SetSelectItemWallPaper(Solid(4, 4, clRed).get());
    Pump();
    EXPECT_EQ(Pixel(f, x, y), Rgb(clRed));
    EXPECT_EQ(Pixel(f, x, 5), Rgb(clTeal)) << "unselected items keep theirs";

    // A wallpaper without pixels counts as none.
    auto empty = std::make_unique<TBitmap>();
    empty->SetSize(0, 5);
    l->SetSelectItemWallPaper(empty.get());
    Pump();
    EXPECT_EQ(Pixel(f, x, y), Rgb(clLime));
    EXPECT_TRUE(l->SelectStrip()->Empty()) << "the list releases a strip without wallpaper";
}

TEST_F(BoxListTest, SelectedTextTakesSelectTextColor)
{
    TForm* f = NewForm();
    auto* l = NewList(f, 2);
    l->Items()->Put(1, "WWWWWW");
    l->Font()->SetHeight(-16);
    l->SetItemHeight(20);
    l->SetSelectTextColor(clRed);
    l->SetItemIndex(1);
    l->SetItemWallPaper(Solid(8, 8, clWhite).get());
    Pump();
    int red = 0, black = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            red += Pixel(f, x, y) == Rgb(clRed);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            black += Pixel(f, x, y) == 0;
    EXPECT_GT(red, 10) << "the selected item's text is red on the item wallpaper";
    EXPECT_GT(black, 3) << "the other item's text is in the font colour";
}

TEST_F(BoxListTest, OnDrawItemGetsTheBackgroundAndTheFocusFrame)
{
    TForm* f = NewForm();
    auto* l = NewList(f, 2);
    l->SetItemWallPaper(Solid(8, 8, clTeal).get());
    std::vector<int> calls;
    l->OnDrawItem = TDrawItemEvent::FromFunction(
        [&](TWinControl*, int i, TRect, TOwnerDrawState) { calls.push_back(i); });
    l->SetItemIndex(0);
    l->SetFocus();
    Pump();
    calls.clear();
    l->Repaint();
    EXPECT_EQ(calls, (std::vector<int> { 0, 1 }));
    EXPECT_EQ(Pixel(f, 1, 1), Rgb(clTeal)) << "the background is still the control's";
    EXPECT_EQ(Pixel(f, 0, 0), Rgb(clWhite)) << "focus frame: inner colour at the top left";
    EXPECT_EQ(Pixel(f, 149, 19), Rgb(clGray)) << "outer colour at the bottom right";
    EXPECT_EQ(Pixel(f, 10, 25), Rgb(clTeal));

    l->SetUseFocusFrame(false);
    Pump();
    EXPECT_NE(Pixel(f, 149, 19), Rgb(clGray)) << "the dotted rectangle instead";
}

TEST_F(BoxListTest, GlyphsAndImageListPicturesStandBeforeTheText)
{
    TForm* f = NewForm();
    auto* l = NewList(f, 3);
    // A 6 x 6 glyph, blue with a magenta key colour in its bottom-left corner.
    auto glyph = Solid(6, 6, clBlue);
    glyph->Canvas()->SetPixel(0, 5, 0xFF00FF);
    l->SetGlyph(glyph.get());
    Pump();
    // L = 2, midY = 10: the glyph spans x 2..7, y 7..12.
    EXPECT_EQ(Pixel(f, 3, 8), Rgb(clBlue));
    EXPECT_EQ(Pixel(f, 2, 12), Rgb(clWindow)) << "the key colour is left out";
    EXPECT_EQ(Pixel(f, 3, 28), Rgb(clBlue)) << "every unselected item";

    auto* il = new TImageList(f);
    il->SetWidth(4);
    il->SetHeight(4);
    auto strip = Solid(8, 4, clRed);
    strip->Canvas()->Brush()->SetColor(clLime);
    strip->Canvas()->FillRect(Rect(4, 0, 8, 4));
    il->AddMasked(strip.get(), clNone);
    l->SetImageList(il);
    Pump();
    EXPECT_EQ(Pixel(f, 3, 9), Rgb(clRed)) << "item 0: picture 0 at (2, 8)";
    EXPECT_EQ(Pixel(f, 3, 29), Rgb(clLime)) << "item 1: picture 1";
    EXPECT_EQ(Pixel(f, 3, 48), Rgb(clBlue)) << "item 2: past the pictures, the glyph";

    delete il;
    EXPECT_EQ(l->ImageList(), nullptr) << "removing the image list clears the reference";
    Pump();
    EXPECT_EQ(Pixel(f, 3, 8), Rgb(clBlue));
}

TEST_F(BoxListTest, StripsMatchTheItemAndColumns)
{
    TForm* f = NewForm(400, 200);
    auto* l = NewList(f, 4);
    l->SetItemWallPaper(Solid(7, 3, clTeal).get());
    EXPECT_EQ(l->ItemStrip()->Width(), 150);
    EXPECT_EQ(l->ItemStrip()->Height(), 20);
    l->SetColumns(3);
    l->SetBounds(0, 0, 300, 100);
    EXPECT_EQ(l->ItemStrip()->Width(), 100) << "3 columns of a 300-wide list";
    EXPECT_EQ(l->ItemStrip()->Canvas()->Pixels(99, 19), Rgb(clTeal)) << "tiled to the edge";
    l->SetItemHeight(30);
    EXPECT_EQ(l->ItemStrip()->Height(), 20) << "the item height alone does not rebuild";
    l->SetWidth(301);
    EXPECT_EQ(l->ItemStrip()->Height(), 30);
}

TEST_F(BoxListTest, ItemHeightFollowsTheFont)
{
    TForm* f = NewForm();
    auto* l = NewList(f, 2);
    auto* c = new TepComboBox(f);
    c->SetParent(f);
    c->SetTop(120);
    c->SetItemHeight(30);
    c->Font()->SetHeight(-12);
    EXPECT_EQ(c->ItemHeight(), 30) << "a smaller font leaves the combo's item height";
    c->Font()->SetHeight(-40);
    int big = GetItemHeight(c->Font());
    EXPECT_GT(big, 30);
    EXPECT_EQ(c->ItemHeight(), big);
    EXPECT_EQ(c->Height(), big + 6);
    c->Font()->SetHeight(-10);
    EXPECT_EQ(c->ItemHeight(), big);

    int before = l->RecreateCount();
    l->Font()->SetHeight(-30);
    EXPECT_EQ(l->ItemHeight(), GetItemHeight(l->Font()));
    l->Font()->SetHeight(-9);
    EXPECT_EQ(l->ItemHeight(), GetItemHeight(l->Font())) << "the list follows both ways";
    EXPECT_LT(l->ItemHeight(), 20);
    EXPECT_EQ(l->RecreateCount(), before + 2) << "each font change recreates the window";
}

TEST_F(BoxListTest, EmptyFocusedListShowsOneItemAndTheFrame)
{
    TForm* f = NewForm();
    auto* l = NewList(f, 0);
    l->SetItemWallPaper(Solid(5, 5, clTeal).get());
    l->SetColor(clYellow);
    l->SetFocus();
    Pump();
    EXPECT_EQ(Pixel(f, 0, 0), Rgb(clWhite));
    EXPECT_EQ(Pixel(f, 149, 19), Rgb(clGray));
    EXPECT_EQ(Pixel(f, 5, 10), Rgb(clTeal)) << "the item strip under the frame";
    EXPECT_EQ(Pixel(f, 5, 30), Rgb(clYellow)) << "below it, the list's colour";
}

TEST_F(BoxListTest, ComboStopsAfterTheBackgroundPastItsItems)
{
    TForm* f = NewForm();
    auto* c = new TepComboBox(f);
    c->SetParent(f);
    c->Items()->Add("only");
    c->SetItemWallPaper(Solid(4, 4, clTeal).get());
    Pump();
    TDrawItemStruct dis;
    dis.itemID = 5;
    dis.itemState = 0;
    dis.rcItem = Rect(0, 0, 50, 16);
    TBitmap target;
    target.SetSize(60, 20);
    dis.hDC = target.Canvas()->Handle();
    PaintWithCanvas(static_cast<TControlCanvas*>(c->Canvas()), dis.hDC,
        [&] { EXPECT_NO_THROW(c->Perform(CN_DRAWITEM, 0, LPARAM(&dis))); });
    EXPECT_EQ(target.Canvas()->Pixels(10, 5), Rgb(clTeal)) << "the background is drawn";
}

TEST_F(BoxListTest, ComboDrawsTheChosenItemAndItsDroppedList)
{
    TForm* f = NewForm(200, 200);
    auto* c = new TepComboBox(f);
    c->SetParent(f);
    c->SetBounds(10, 10, 120, 0);
    for (const char* s : { "one", "two", "three" })
        c->Items()->Add(s);
    c->SetItemWallPaper(Solid(4, 4, clTeal).get());
    c->SetSelectItemWallPaper(Solid(4, 4, clRed).get());
    c->SetTransparentSelect(false);
    c->SetItemIndex(1);
    Pump();
    EXPECT_EQ(Pixel(f, 10 + 90, 10 + 10), Rgb(clTeal)) << "the closed face, not focused";
    ws.Click(f->WindowHandle(), 40, 20);
    Pump();
    ASSERT_NE(c->DropList(), nullptr);
    TRect lr = c->DropList()->BoundsRect();
    EXPECT_EQ(Pixel(f, lr.Left + 90, lr.Top + 16 + 8), Rgb(clRed)) << "the highlighted item";
    EXPECT_EQ(Pixel(f, lr.Left + 90, lr.Top + 8), Rgb(clTeal));
}

// --- open box ------------------------------------------------------------------------

namespace {

class OpenBoxTest : public HeadlessFormTest {
protected:
    TepOpenBox* NewBox(TForm* f)
    {
        auto* b = new TepOpenBox(f);
        b->SetParent(f);
        b->SetOpenHeight(150);
        b->SetBounds(10, 10, 200, 150);
        b->OnOpenBox = TNotifyEvent::FromFunction([this](TObject*) { log.push_back("open"); });
        b->OnCloseBox = TNotifyEvent::FromFunction([this](TObject*) { log.push_back("close"); });
        Pump();
        return b;
    }
    void Press(TForm* f, int x, int y, plat::MouseButton btn = plat::MouseButton::Left)
    {
        ws.MouseMove(f->WindowHandle(), x, y);
        ws.Click(f->WindowHandle(), x, y, btn);
        Pump();
    }
    std::vector<std::string> log;
};

} // namespace

TEST_F(OpenBoxTest, CollapsesToTheButtonAndSnapsBack)
{
    TForm* f = NewForm(300, 300);
    auto* b = NewBox(f);
    EXPECT_EQ(b->Height(), 150);
    b->SetCloseBox(true);
    EXPECT_EQ(b->Width(), 200);
    EXPECT_EQ(b->Height(), 30) << "button height 25 + 5";
    EXPECT_FALSE(b->PressedLook());
    b->SetCloseBox(false);
    EXPECT_EQ(b->Height(), 150);
    EXPECT_TRUE(b->PressedLook());

    b->SetBounds(10, 10, 240, 80);
    EXPECT_EQ(b->Width(), 240) << "the width follows a resize";
    EXPECT_EQ(b->Height(), 150) << "the height snaps back";

    b->SetCloseBox(true);
    b->SetBtnHeight(40);
    EXPECT_EQ(b->Height(), 30) << "a new button height waits for the next state change";
    b->SetHeight(31);
    EXPECT_EQ(b->Height(), 45);
    EXPECT_TRUE(log.empty()) << "code changes fire no events";
}

TEST_F(OpenBoxTest, LeftPressOnTheButtonTogglesAndFiresAfterTheHeight)
{
    TForm* f = NewForm(300, 300);
    auto* b = NewBox(f);
    int heightAtEvent = -1;
    b->OnCloseBox = TNotifyEvent::FromFunction([&](TObject*) {
        log.push_back("close");
        heightAtEvent = b->Height();
    });
    Press(f, 10 + 100, 10 + 80);   // the interior
    Press(f, 10 + 2, 10 + 10);     // the frame left of the button
    Press(f, 10 + 15, 10 + 10, plat::MouseButton::Right);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(b->Height(), 150);

    Press(f, 10 + 15, 10 + 10);
    EXPECT_EQ(log, std::vector<std::string> { "close" });
    EXPECT_EQ(heightAtEvent, 30);
    EXPECT_TRUE(b->CloseBox());
    Press(f, 10 + 30, 10 + 26);   // the button's far corner counts (edges included)
    EXPECT_EQ(log, (std::vector<std::string> { "close", "open" }));
    EXPECT_EQ(b->Height(), 150);
}

TEST_F(OpenBoxTest, HeightCorrectionNeverRecursesOrGoesNegative)
{
    TForm* f = NewForm(300, 300);
    auto* b = NewBox(f);
    b->SetBtnHeight(-40);
    b->SetCloseBox(true);
    EXPECT_EQ(b->Height(), 0) << "a negative button height collapses to nothing, not below";
    EXPECT_EQ(b->StateHeight(), 0);
    b->SetCloseBox(false);
    // An alignment that dictates another height: one correction, no endless loop.
    b->SetAlign(alClient);
    Pump();
    EXPECT_EQ(b->Height(), 150) << "the state's height wins once, and the call returns";
    b->SetNumGlyphs(0);
    b->Glyph()->Assign(Solid(10, 10, clRed).get());
    b->Repaint();   // NumGlyphs 0 draws no glyph instead of dividing by it
}

TEST_F(OpenBoxTest, FaceFrameButtonAndDisabledLook)
{
    TForm* f = NewForm(300, 300);
    auto* b = NewBox(f);
    b->SetColor(clWhite);
    b->SetFrameColor(clRed);
    b->SetBtnInnerColor(clLime);
    b->SetBtnOuterColor(clBlue);
    b->SetBtnColor(clYellow);
    auto glyph = std::make_unique<TBitmap>();
    glyph->SetSize(8, 4);
    glyph->Canvas()->Brush()->SetColor(clTeal);
    glyph->Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph->Canvas()->Brush()->SetColor(clMaroon);
    glyph->Canvas()->FillRect(Rect(4, 0, 8, 4));
    glyph->Canvas()->SetPixel(0, 3, clWhite);   // key of image 1
    glyph->Canvas()->SetPixel(4, 3, clWhite);   // key of image 2
    b->SetGlyph(glyph.get());
    b->SetNumGlyphs(2);
    Pump();
    const int ox = 10, oy = 10;
    EXPECT_EQ(Pixel(f, ox + 1, oy + 60), Rgb(clRed)) << "the frame's left edge";
    EXPECT_EQ(Pixel(f, ox + 1, oy + 12), Rgb(clRed)) << "the frame starts at BtnHeight / 2";
    EXPECT_EQ(Pixel(f, ox + 1, oy + 11), Rgb(clWhite));
    EXPECT_EQ(Pixel(f, ox + 100, oy + 12), Rgb(clRed)) << "the top edge right of the button";
    EXPECT_EQ(Pixel(f, ox + 199, oy + 149), Rgb(clRed)) << "the bottom-right corner";
    EXPECT_EQ(Pixel(f, ox + 31, oy + 12), Rgb(clRed));
    EXPECT_EQ(Pixel(f, ox + 30, oy + 12), Rgb(clWhite)) << "the polyline's end is left out";
    EXPECT_EQ(Pixel(f, ox + 5, oy + 1), Rgb(clLime)) << "raised button: light top-left";
    EXPECT_EQ(Pixel(f, ox + 29, oy + 25), Rgb(clBlue));
    EXPECT_EQ(Pixel(f, ox + 8, oy + 5), Rgb(clYellow));
    // Centred glyph (no caption): CX = 17, CY = 13, glyph 4 x 4 at (15, 11).
    EXPECT_EQ(Pixel(f, ox + 16, oy + 12), Rgb(clTeal));

    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(Pixel(f, ox + 1, oy + 60), Rgb(clBlue)) << "disabled frame in BtnOuterColor";
    EXPECT_EQ(Pixel(f, ox + 16, oy + 12), Rgb(clMaroon)) << "the last image of the strip";
}

TEST_F(OpenBoxTest, EveryBoxClassRoundTrips)
{
    TForm* f = NewForm(300, 300);
    f->SetName("Form1");
    auto* b = NewBox(f);
    b->SetName("obx");
    b->SetCaption("More");
    b->SetBtnHeight(27);
    b->SetCloseBox(true);
    auto* l = new TepListBox(f);
    l->SetName("lst");
    l->SetParent(b);
    l->Items()->SetText("a\nb\n");
    l->SetOffset(7);
    l->SetItemWallPaper(Solid(3, 3, clTeal).get());
    auto* c = new TepComboBox(f);
    c->SetName("cmb");
    c->SetParent(f);
    c->Items()->SetText("x\ny\n");
    c->SetItemIndex(1);
    c->SetTransparentSelect(false);
    auto* il = new TImageList(f);
    il->SetName("imgs");
    c->SetImageList(il);
    auto* wall = new TepBitmap(f);
    wall->SetName("paper");
    wall->Bitmap()->SetGraphic(Solid(4, 4, clTeal).get());
    auto* grp = new TepGroupBox(f);
    grp->SetName("grp");
    grp->SetParent(f);
    grp->SetCaption("&Group");
    grp->SetInnerColor(clLime);
    grp->SetWallpaper(wall);
    std::string text = WriteComponentRes(f);
    f->SetName("Written");
    auto* g = new TForm(Application);
    ReadComponentRes(text, g);
    auto* b2 = dynamic_cast<TepOpenBox*>(g->FindComponent("obx"));
    auto* l2 = dynamic_cast<TepListBox*>(g->FindComponent("lst"));
    auto* c2 = dynamic_cast<TepComboBox*>(g->FindComponent("cmb"));
    ASSERT_TRUE(b2 && l2 && c2);
    EXPECT_TRUE(b2->CloseBox());
    EXPECT_EQ(b2->Height(), 32) << "the button height is read after the state";
    EXPECT_EQ(b2->OpenHeight(), 150);
    EXPECT_EQ(l2->Parent(), b2);
    EXPECT_EQ(l2->Offset(), 7);
    EXPECT_EQ(l2->ItemWallPaper()->Width(), 3);
    EXPECT_EQ(c2->ItemIndex(), 1);
    EXPECT_FALSE(c2->TransparentSelect());
    EXPECT_EQ(c2->ImageList(), g->FindComponent("imgs"));
    auto* grp2 = dynamic_cast<TepGroupBox*>(g->FindComponent("grp"));
    ASSERT_NE(grp2, nullptr);
    EXPECT_EQ(grp2->InnerColor(), clLime);
    EXPECT_EQ(grp2->Wallpaper(), g->FindComponent("paper"));
    EXPECT_TRUE(grp2->Wallpaper()->HasPicture());
    EXPECT_EQ(WriteComponentRes(g), text);
}

// --- group box -----------------------------------------------------------------------

namespace {

class GroupBoxTest : public HeadlessFormTest {
protected:
    TepGroupBox* NewGroup(TForm* f, const std::string& caption)
    {
        auto* g = new TepGroupBox(f);
        g->SetParent(f);
        g->SetBounds(0, 0, 185, 105);
        g->SetColor(clWhite);
        g->SetCaption(caption);
        g->SetInnerColor(clLime);
        g->SetOuterColor(clRed);
        // A font whose "0" is 13 pixels high.
        for (int h = -8; h >= -20; --h) {
            g->Font()->SetHeight(h);
            TBitmap probe;
            probe.SetSize(1, 1);
            probe.Canvas()->SetFont(g->Font());
            if (probe.Canvas()->TextHeight("0") == 13)
                break;
        }
        Pump();
        return g;
    }
};

} // namespace

TEST_F(GroupBoxTest, EtchedFrameRunsThroughTheCaptionAndChildrenSitBelowIt)
{
    TForm* f = NewForm(300, 200);
    auto* g = NewGroup(f, " Group");
    EXPECT_EQ(g->Width(), 185);
    EXPECT_EQ(Pixel(f, 150, 5), Rgb(clRed)) << "the dark top edge at 13 / 2 - 1";
    EXPECT_EQ(Pixel(f, 150, 6), Rgb(clLime)) << "the light one below it";
    EXPECT_EQ(Pixel(f, 0, 50), Rgb(clRed));
    EXPECT_EQ(Pixel(f, 1, 50), Rgb(clLime));
    EXPECT_EQ(Pixel(f, 183, 50), Rgb(clRed)) << "right: dark at Width - 2";
    EXPECT_EQ(Pixel(f, 184, 50), Rgb(clLime));
    EXPECT_EQ(Pixel(f, 50, 103), Rgb(clRed));
    EXPECT_EQ(Pixel(f, 50, 104), Rgb(clLime));
    EXPECT_EQ(Pixel(f, 9, 5), Rgb(clWhite)) << "the caption's background breaks the frame";

    EXPECT_EQ(g->ChildArea(), Rect(2, 15, 183, 103));
    auto* child = new TPanel(f);
    child->SetParent(g);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(2, 15, 183, 103));

    g->SetCaption("");
    Pump();
    EXPECT_EQ(Pixel(f, 9, 5), Rgb(clRed)) << "without caption the top edge is unbroken";
}

TEST_F(GroupBoxTest, WallpaperIsTiledAndAnEmptyPictureCountsAsNone)
{
    TForm* f = NewForm(300, 200);
    auto* g = NewGroup(f, "");
    auto* wall = new TepBitmap(f);
    auto tile = Solid(10, 10, clTeal);
    tile->Canvas()->SetPixel(9, 9, clNavy);
    wall->Bitmap()->SetGraphic(tile.get());
    g->SetWallpaper(wall);
    Pump();
    EXPECT_EQ(Pixel(f, 50, 50), Rgb(clTeal));
    EXPECT_EQ(Pixel(f, 179, 99), Rgb(clNavy)) << "tiles reach the last partial column";

    auto empty = std::make_unique<TBitmap>();
    empty->SetSize(0, 10);
    wall->Bitmap()->SetGraphic(empty.get());
    g->Invalidate();
    Pump();
    EXPECT_EQ(Pixel(f, 50, 50), Rgb(clWhite)) << "a picture of width 0: the fill";

    wall->Bitmap()->SetGraphic(tile.get());
    delete wall;
    EXPECT_EQ(g->Wallpaper(), nullptr);
    Pump();
    EXPECT_EQ(Pixel(f, 50, 50), Rgb(clWhite));
}

TEST_F(GroupBoxTest, AcceleratorFocusesTheFirstChild)
{
    TForm* f = NewForm(300, 200);
    auto* g = NewGroup(f, "&Options");
    auto* first = new TListBox(f);
    first->SetParent(g);
    auto* second = new TListBox(f);
    second->SetParent(g);
    second->SetTabOrder(0);
    Pump();
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    EXPECT_FALSE(second->Focused());
    ws.Char('O');
    Pump();
    EXPECT_TRUE(second->Focused()) << "the first child in tab order";
    g->SetEnabled(false);
    first->SetFocus();
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'o', 0), 0) << "a box that cannot take the focus";
}
