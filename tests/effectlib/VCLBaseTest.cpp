#include "effectlib/VCLBase.h"

#include "EffectCoreTestSupport.h"
#include "effectlib/Effbmp.h"
#include "effectlib/Wavctrl.h"
#include "framework/graphics/Canvas.h"
#include "framework/core/Reader.h"
#include "framework/core/Writer.h"

#include <memory>

#include <gtest/gtest.h>

using effcoretest::HeadlessFormTest;

namespace {

// Paints its extra column red and remembers the off-screen size; with Darken, halves the
// face through the effect buffer.
class TProbe : public TEffectGControl {
public:
    TProbe(TWinControl* parent, const TRect& r)
        : TEffectGControl(parent)
    {
        SetBoundsRect(r);
        SetParent(parent);
    }
    bool Darken = false;
    int BmpWidth = 0, BmpHeight = 0;
    using TEffectGControl::XPaint;

protected:
    void PaintFace() override
    {
        BmpWidth = Bmp()->Width();
        BmpHeight = Bmp()->Height();
        Bmp()->Canvas()->Brush()->SetColor(clRed);
        Bmp()->Canvas()->FillRect(Rect(Width(), 0, Width() + 1, Height() + 1));
        if (Darken)
            PaintEf();
    }
    void PaintEffects() override
    {
        TEffectBmp* b = EfBmp();
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x)
                b->SetPixel(x, y, (b->GetPixel(x, y) >> 1) & 0x7F7F7F);
    }
};

class TWindowProbe : public TEffectCControl {
public:
    TWindowProbe(TWinControl* parent, const TRect& r)
        : TEffectCControl(parent)
    {
        SetBoundsRect(r);
        SetParent(parent);
    }
    int Erases = 0;

protected:
    void WMEraseBkgnd(TMessage& m) override
    {
        ++Erases;
        TEffectCControl::WMEraseBkgnd(m);
    }
    void PaintFace() override { PaintEf(); }
    void PaintEffects() override
    {
        TEffectBmp* b = EfBmp();
        b->SetPixel(0, 0, 0x00FF00);
    }
};

// A button whose face is its colour with the glyph at (1, 1).
template <class B>
class TGlyphButton : public B {
public:
    TGlyphButton(TWinControl* parent, const TRect& r)
        : B(parent)
    {
        this->SetBoundsRect(r);
        this->SetParent(parent);
    }
    int Clicks = 0;

protected:
    void PaintFace() override
    {
        this->FGlyphX = 1;
        this->FGlyphY = 1;
        this->DrawButtonGlyph();
    }
};

// A strip of four 4 x 4 glyphs: red, lime, blue, yellow, each with a white key corner.
void GlyphStrip(TBitmap& b)
{
    b.SetSize(16, 4);
    const TColor colours[4] = { clRed, clLime, clBlue, clYellow };
    for (int i = 0; i < 4; ++i) {
        plat::Dc dc(b.Handle());
        dc.FillRect({ 4 * i, 0, 4 * i + 4, 4 }, colours[i]);
        dc.SetPixel(4 * i, 3, clWhite);
    }
}

} // namespace

class VCLBaseTest : public HeadlessFormTest { };

TEST_F(VCLBaseTest, FacePaintsThroughABitmapOneLargerThatNeverReachesTheScreen)
{
    TForm* form = NewForm(60, 40, clWhite);
    auto* p = new TProbe(form, Rect(10, 10, 20, 15));
    p->SetColor(clBlue);
    Pump();
    EXPECT_EQ(p->BmpWidth, 11);
    EXPECT_EQ(p->BmpHeight, 6);
    EXPECT_EQ(Pixel(form, 10, 10), clBlue);
    EXPECT_EQ(Pixel(form, 19, 14), clBlue);
    EXPECT_EQ(Pixel(form, 20, 12), clWhite);   // the red extra column stays off screen
    EXPECT_EQ(Pixel(form, 15, 15), clWhite);
}

TEST_F(VCLBaseTest, TransparentTogglesOpacityAndXPaintRestoresIt)
{
    TForm* form = NewForm();
    auto* p = new TProbe(form, Rect(0, 0, 10, 10));
    Pump();
    EXPECT_TRUE(p->ControlStyle() & csOpaque);
    EXPECT_FALSE(p->Transparent());
    p->SetTransparent(true);
    EXPECT_FALSE(p->ControlStyle() & csOpaque);
    const int before = p->PaintCount();
    p->XPaint();
    EXPECT_EQ(p->PaintCount(), before + 1);   // painted at once
    EXPECT_FALSE(p->ControlStyle() & csOpaque);
    p->SetTransparent(false);
    EXPECT_TRUE(p->ControlStyle() & csOpaque);
}

TEST_F(VCLBaseTest, TransparentFaceStartsFromWhatLiesBeneathAndFollowsAMove)
{
    TForm* form = NewForm(60, 60, clWhite);
    NewFillBox(form, Rect(0, 0, 20, 20), clRed);
    auto* p = new TProbe(form, Rect(5, 5, 15, 15));
    NewFillBox(form, Rect(12, 12, 30, 30), clLime);   // above: never copied
    p->Darken = true;
    p->SetTransparent(true);
    Pump();
    EXPECT_EQ(Pixel(form, 6, 6), 0x00007Fu);      // the red box, halved
    EXPECT_EQ(Pixel(form, 11, 11), 0x00007Fu);
    EXPECT_EQ(Pixel(form, 13, 13), clLime);       // the later box lies on top
    p->SetBounds(35, 35, 10, 10);
    Pump();
    EXPECT_EQ(Pixel(form, 36, 36), 0x007F7F7Fu);  // now the white face, halved
    EXPECT_EQ(Pixel(form, 6, 6), clRed);          // the old place shows the box again
}

TEST_F(VCLBaseTest, WindowedBaseNeverErasesAndRunsItsEffects)
{
    TForm* form = NewForm(60, 60, clWhite);
    NewFillBox(form, Rect(0, 0, 30, 30), clRed);
    auto* w = new TWindowProbe(form, Rect(10, 10, 20, 20));
    w->SetColor(clBlue);
    Pump();
    EXPECT_EQ(Pixel(form, 10, 10), clLime);   // the effect's pixel
    EXPECT_EQ(Pixel(form, 15, 15), clBlue);
    w->Invalidate();
    w->Update();
    EXPECT_EQ(Pixel(form, 15, 15), clBlue);
    w->SetTransparent(true);
    Pump();
    EXPECT_EQ(Pixel(form, 15, 15), clRed);    // the graphic sibling beneath
    EXPECT_EQ(Pixel(form, 10, 10), clLime);
    EXPECT_TRUE(w->ControlStyle() & csOpaque);
}

TEST(CalcLCoordTest, CentresOrPlacesByMargin)
{
    int tx = -9, ty = -9, gx = -9, gy = -9;
    const TRect r = Rect(0, 0, 100, 40);   // CX 50, CY 20
    CalcLCoord(blGlyphLeft, r, 16, 10, 30, 12, 4, -1, tx, ty, gx, gy);   // HW 25
    EXPECT_EQ(gx, 25);
    EXPECT_EQ(gy, 15);
    EXPECT_EQ(tx, 45);
    EXPECT_EQ(ty, 14);
    CalcLCoord(blGlyphRight, r, 16, 10, 30, 12, 4, -1, tx, ty, gx, gy);
    EXPECT_EQ(gx, 59);
    EXPECT_EQ(tx, 25);
    CalcLCoord(blGlyphTop, r, 16, 10, 30, 12, 4, -1, tx, ty, gx, gy);   // HH 13
    EXPECT_EQ(gx, 42);
    EXPECT_EQ(gy, 7);
    EXPECT_EQ(tx, 35);
    EXPECT_EQ(ty, 21);
    CalcLCoord(blGlyphBottom, r, 16, 10, 30, 12, 4, -1, tx, ty, gx, gy);
    EXPECT_EQ(gy, 23);
    EXPECT_EQ(ty, 7);
    CalcLCoord(blGlyphLeft, r, 16, 10, 30, 12, 4, 3, tx, ty, gx, gy);
    EXPECT_EQ(gx, 3);
    EXPECT_EQ(tx, 23);
    CalcLCoord(blGlyphRight, r, 16, 10, 30, 12, 4, 3, tx, ty, gx, gy);
    EXPECT_EQ(gx, 81);
    EXPECT_EQ(tx, 47);
    CalcLCoord(blGlyphTop, r, 16, 10, 30, 12, 4, 3, tx, ty, gx, gy);
    EXPECT_EQ(gy, 3);
    EXPECT_EQ(ty, 17);
    CalcLCoord(blGlyphBottom, r, 16, 10, 30, 12, 4, 3, tx, ty, gx, gy);
    EXPECT_EQ(gy, 27);
    EXPECT_EQ(ty, 11);
    // Odd differences truncate toward zero; an unknown layout leaves the outputs.
    CalcLCoord(blGlyphLeft, Rect(-5, -5, 0, 0), 1, 1, 0, 0, 0, -1, tx, ty, gx, gy);
    EXPECT_EQ(gx, -3);   // CX = -5 + 5 div 2, HW = 1 div 2 = 0
    tx = ty = gx = gy = 77;
    CalcLCoord(TLayout(9), r, 16, 10, 30, 12, 4, -1, tx, ty, gx, gy);
    EXPECT_EQ(tx + ty + gx + gy, 4 * 77);
}

TEST_F(VCLBaseTest, ButtonGlyphFollowsHotPressedAndEnabledStates)
{
    TForm* form = NewForm(60, 40, clWhite);
    auto* b = new TGlyphButton<TButtonGControl>(form, Rect(10, 10, 30, 30));
    TBitmap strip;
    GlyphStrip(strip);
    b->SetGlyph(&strip);
    b->SetNumGlyphs(4);
    int clicks = 0;
    b->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++clicks; });
    Pump();
    const plat::WindowId win = form->WindowHandle();
    EXPECT_EQ(Pixel(form, 12, 12), clRed);   // idle: image 1
    EXPECT_EQ(Pixel(form, 11, 14), clWhite); // its key corner shows the face beneath

    ws.MouseMove(win, 15, 15);
    Pump();
    EXPECT_TRUE(b->Hot());
    EXPECT_EQ(Pixel(form, 12, 12), clLime);  // hot: image 2
    ws.MouseDown(win, 15, 15);
    Pump();
    EXPECT_TRUE(b->Pressed());
    EXPECT_EQ(Pixel(form, 12, 12), clBlue);  // hot and pressed: image 3
    ws.MouseUp(win, 15, 15);
    Pump();
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Pixel(form, 12, 12), clLime);

    ws.MouseMove(win, 50, 35);
    Pump();
    EXPECT_FALSE(b->Hot());
    EXPECT_EQ(Pixel(form, 12, 12), clRed);
    b->SetEnabled(false);
    b->XPaint();
    EXPECT_EQ(Pixel(form, 12, 12), clYellow);   // disabled: the last image
    b->SetNumGlyphs(1);
    EXPECT_EQ(b->GlyphIndex(), 1);
    b->SetNumGlyphs(0);
    b->SetNumGlyphs(5);
    EXPECT_EQ(b->NumGlyphs(), 1);
}

TEST_F(VCLBaseTest, ButtonClicksOnlyWhenReleasedWhileHot)
{
    TForm* form = NewForm(60, 40, clWhite);
    auto* b = new TGlyphButton<TButtonGControl>(form, Rect(10, 10, 30, 30));
    int clicks = 0;
    b->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++clicks; });
    Pump();
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeMouseLParam(0, 5));   // on the edge
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->Hot());
    b->Perform(WM_LBUTTONUP, 0, MakeMouseLParam(0, 5));
    EXPECT_EQ(clicks, 0);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeMouseLParam(5, 5));
    EXPECT_TRUE(b->Pressed());
    b->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(b->Hot());
    b->Perform(WM_LBUTTONUP, 0, MakeMouseLParam(5, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->Pressed());
    b->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MakeMouseLParam(5, 5));
    EXPECT_FALSE(b->Pressed());
}

TEST_F(VCLBaseTest, ButtonSurvivesAClickHandlerThatFreesIt)
{
    TForm* form = NewForm(60, 40, clWhite);
    auto* b = new TGlyphButton<TButtonGControl>(form, Rect(10, 10, 30, 30));
    b->OnClick = TNotifyEvent::FromFunction([](TObject* sender) { delete sender; });
    Pump();
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeMouseLParam(5, 5));
    b->Perform(WM_LBUTTONUP, 0, MakeMouseLParam(5, 5));
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(VCLBaseTest, ButtonSettersRefuseBadValuesAndSoundsAreForgottenWhenFreed)
{
    TForm* form = NewForm();
    auto* b = new TGlyphButton<TButtonCControl>(form, Rect(0, 0, 20, 20));
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
    b->SetMargin(3);
    EXPECT_EQ(b->Margin(), 3);
    EXPECT_EQ(b->Spacing(), 0);
    auto* player = new TepWavePlayer(form);
    b->SetClickSound(player);
    b->SetActiveSound(player);
    EXPECT_EQ(b->ClickSound(), player);
    delete player;
    EXPECT_EQ(b->ClickSound(), nullptr);
    EXPECT_EQ(b->ActiveSound(), nullptr);
    // Hover and press on the windowed base go through the framework's notifications.
    b->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(b->Hot());
    b->SetEnabled(false);
    b->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(b->Hot());   // a disabled button keeps its state
}

TEST_F(VCLBaseTest, SelfTrackingButtonDropsItsHotStateWhenTheCursorHasGone)
{
    TForm* form = NewForm(60, 40, clWhite);
    auto* b = new TGlyphButton<TButtonGTControl>(form, Rect(10, 10, 30, 30));
    int moves = 0;
    b->OnMouseMove = TMouseMoveEvent::FromFunction([&](TObject*, TShiftState, int, int) { ++moves; });
    Pump();
    b->Perform(WM_MOUSEMOVE, 0, MakeMouseLParam(0, 5));   // the edge is outside
    EXPECT_FALSE(b->Hot());
    EXPECT_EQ(moves, 0);
    b->Perform(WM_MOUSEMOVE, 0, MakeMouseLParam(5, 5));
    EXPECT_TRUE(b->Hot());
    EXPECT_TRUE(b->TimerActive());
    EXPECT_EQ(moves, 1);
    ws.SetCursorPos({ 300, 300 });   // the pointer leaves without a message
    plat::AdvanceManualClock(299);
    Pump();
    EXPECT_TRUE(b->Hot());
    plat::AdvanceManualClock(2);
    Pump();
    EXPECT_FALSE(b->Hot());
    EXPECT_FALSE(b->TimerActive());
    EXPECT_EQ(Application->TimerCount(), 0);

    // With the pointer still over it, the check keeps it hot and fires only once.
    b->Perform(WM_MOUSEMOVE, 0, MakeMouseLParam(5, 5));
    const TPoint o = b->ClientToScreen(Point(20, 20));   // the far corner counts as inside
    ws.SetCursorPos({ o.X, o.Y });
    plat::AdvanceManualClock(700);
    Pump();
    EXPECT_TRUE(b->Hot());
    EXPECT_FALSE(b->TimerActive());
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeMouseLParam(5, 5));
    EXPECT_TRUE(b->Pressed());
    b->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(b->Hot());
}

TEST_F(VCLBaseTest, SpacingFourSurvivesAWrittenDescription)
{
    TForm* form = NewForm();
    form->SetName("frmRound");
    auto* b = new TButtonGTControl(form);
    b->SetName("btnOne");
    b->SetParent(form);
    b->SetSpacing(4);
    b->SetTransparent(true);
    const std::string text = WriteComponentRes(form);
    EXPECT_NE(text.find("Spacing = 4"), std::string::npos) << text;
    EXPECT_NE(text.find("Transparent = True"), std::string::npos) << text;
    std::unique_ptr<TComponent> copy(CreateComponentRes(text, nullptr));
    auto* read = dynamic_cast<TButtonGTControl*>(copy->FindComponent("btnOne"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Spacing(), 4);
    EXPECT_TRUE(read->Transparent());
    b->SetSpacing(0);
    const std::string plain = WriteComponentRes(form);
    EXPECT_EQ(plain.find("Spacing"), std::string::npos);
}
