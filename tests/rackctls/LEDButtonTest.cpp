#include "rackctls/RackCtls.h"

#include "RackTestSupport.h"

#include <functional>
#include <memory>

using namespace racktest;

namespace {

constexpr TColor Light = 0xD9D9D9, Dark = 0x606060, LimeUnlit = 0x006600;

class LEDButtonTest : public RackFormTest {
protected:
    void SetUp() override
    {
        RackFormTest::SetUp();
        form = NewForm(200, 120);
    }
    // A button set up as the window's Run button, at (10, 10) of the form.
    TLEDButton* NewRunButton(const std::string& caption = "Run")
    {
        auto* b = new TLEDButton(form);
        b->SetBounds(10, 10, 66, 26);
        b->SetCaption(caption);
        b->SetColorLED(clLime);
        b->SetColor(clSilver);
        b->SetBorderStyle(bsNone);
        b->SetTextPosition(tpOnButton);
        b->SetParent(form);
        b->OnClick = TNotifyEvent::FromFunction([this, b](TObject* sender) {
            EXPECT_EQ(sender, b);
            ++clicks;
            stateSeenByClick = b->StateOn();
        });
        b->OnDblClick = TNotifyEvent::FromFunction([this](TObject*) { ++dblClicks; });
        Pump();
        return b;
    }
    // The caption as DrawText puts it into r on a silver face, in the button's font.
    std::unique_ptr<TBitmap> CaptionReference(const std::string& text, TRect r)
    {
        auto bmp = std::make_unique<TBitmap>();
        bmp->SetSize(66, 26);
        TCanvas* c = bmp->Canvas();
        c->Brush()->SetColor(clSilver);
        c->FillRect(Rect(0, 0, 66, 26));
        TFont font;
        c->SetFont(&font);
        c->Brush()->SetStyle(bsClear);
        DrawText(c, text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        return bmp;
    }
    // Counts the text pixels of the reference and how many of them the button shows.
    std::pair<int, int> MatchCaption(TLEDButton* b, const TBitmap& ref)
    {
        int text = 0, same = 0;
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 66; ++x) {
                TColor r = ref.Image().GetColor(x, y);
                if (r == clSilver)
                    continue;
                ++text;
                same += At(b, x, y) == r;
            }
        return { text, same };
    }

    TForm* form = nullptr;
    int clicks = 0, dblClicks = 0;
    bool stateSeenByClick = false;
};

TEST_F(LEDButtonTest, NewButtonHasTheConstructionValues)
{
    auto* b = new TLEDButton(form);
    EXPECT_TRUE(b->Beveled());
    EXPECT_EQ(b->BorderStyle(), bsSingle);
    EXPECT_EQ(b->ButtonDirection(), bdBottomUp);
    EXPECT_EQ(b->Color(), clGray);
    EXPECT_EQ(b->ColorLED(), clBlue);
    EXPECT_EQ(b->Depth(), 3);
    EXPECT_EQ(b->LEDContrast(), 6);
    EXPECT_EQ(b->NumGlyphs(), 1);
    EXPECT_TRUE(b->ShowLED());
    EXPECT_FALSE(b->StateOn());
    EXPECT_TRUE(b->Switching());
    EXPECT_EQ(b->TextPosition(), tpNone);
    EXPECT_EQ(b->Width(), 45);
    EXPECT_EQ(b->Height(), 45);
    EXPECT_TRUE(b->Glyph()->Empty());
    EXPECT_FALSE(b->Pressed());
    // Its own colour and font, apart from the inherited ones.
    b->SetColor(clSilver);
    EXPECT_NE(static_cast<TControl*>(b)->Color(), clSilver);
    EXPECT_NE(b->Font(), static_cast<TControl*>(b)->Font());
}

TEST_F(LEDButtonTest, ShadesFollowColourAndLED)
{
    auto* b = NewRunButton();
    EXPECT_EQ(b->LightShade(), Light);
    EXPECT_EQ(b->DarkShade(), Dark);
    EXPECT_EQ(b->UnlitColor(), LimeUnlit);
    b->SetColorLED(clTeal);
    EXPECT_EQ(b->UnlitColor(), 0x333300u);
    b->SetLEDContrast(10);   // ignored
    EXPECT_EQ(b->LEDContrast(), 6);
    EXPECT_EQ(b->UnlitColor(), 0x333300u);
    b->SetLEDContrast(0);    // unlit equals lit
    EXPECT_EQ(b->UnlitColor(), clTeal);
    b->SetNumGlyphs(5);      // ignored
    EXPECT_EQ(b->NumGlyphs(), 1);
    // The frame is drawn in the shades.
    Pump();
    EXPECT_EQ(At(b, 33, 0), Light);
    EXPECT_EQ(At(b, 33, 25), Dark);
}

TEST_F(LEDButtonTest, SettersRepaintOnlyOnAChange)
{
    auto* b = NewRunButton();
    int paints = b->PaintCount();
    b->SetDepth(3);
    b->SetColor(clSilver);
    b->SetStateOn(false);
    b->SetSwitching(false);   // stored only
    Pump();
    EXPECT_EQ(b->PaintCount(), paints);
    b->SetDepth(4);
    Pump();
    EXPECT_EQ(b->PaintCount(), paints + 1);
    b->SetFont(b->Font());    // the font always repaints
    Pump();
    EXPECT_EQ(b->PaintCount(), paints + 2);
}

TEST_F(LEDButtonTest, LEDAndCaptionSitAboveTheFrontFace)
{
    auto* b = NewRunButton();
    // The LED: (6, 14, 60, 19), black outline around the unlit colour.
    for (int x = 6; x < 60; ++x) {
        EXPECT_EQ(At(b, x, 14), clBlack) << x;
        EXPECT_EQ(At(b, x, 18), clBlack) << x;
    }
    for (int y = 14; y < 19; ++y) {
        EXPECT_EQ(At(b, 6, y), clBlack) << y;
        EXPECT_EQ(At(b, 59, y), clBlack) << y;
    }
    EXPECT_EQ(At(b, 7, 15), LimeUnlit);
    EXPECT_EQ(At(b, 58, 17), LimeUnlit);
    EXPECT_EQ(At(b, 5, 16), clSilver);
    EXPECT_EQ(At(b, 60, 16), clSilver);
    EXPECT_EQ(At(b, 33, 13), clSilver);
    EXPECT_EQ(At(b, 33, 19), clSilver);
    // The caption is centred in (0, 0, 66, 16).
    auto [text, same] = MatchCaption(b, *CaptionReference("Run", Rect(0, 0, 66, 16)));
    EXPECT_GT(text, 15);
    EXPECT_EQ(same, text);
}

TEST_F(LEDButtonTest, PressedKeySinksItsFaceContent)
{
    auto* b = NewRunButton();
    Press(b, 20, 10);
    ASSERT_TRUE(b->Pressed());
    // The LED is now (6, 15, 60, 20).
    EXPECT_EQ(At(b, 33, 14), clSilver);
    EXPECT_EQ(At(b, 33, 15), clBlack);
    EXPECT_EQ(At(b, 33, 19), clBlack);
    EXPECT_EQ(At(b, 33, 16), LimeUnlit);
    auto pressedRef = CaptionReference("Run", Rect(0, 1, 66, 17));
    auto [text, same] = MatchCaption(b, *pressedRef);
    EXPECT_GT(text, 15);
    EXPECT_EQ(same, text);
    Release(b, 20, 10);
    EXPECT_FALSE(b->Pressed());
    // Released, the caption is back in (0, 0, 66, 16) and no longer matches.
    auto [text2, same2] = MatchCaption(b, *pressedRef);
    EXPECT_LT(same2, text2);
}

TEST_F(LEDButtonTest, FrontFaceIsDepthPlusOneThickAndCollapsesWhenPressed)
{
    auto* b = NewRunButton();
    for (int y = 22; y <= 25; ++y)
        EXPECT_EQ(At(b, 33, y), Dark) << y;
    EXPECT_EQ(At(b, 33, 21), clSilver);
    // The face is shortened at both ends: a slanted flank.
    EXPECT_EQ(At(b, 0, 25), Dark);
    EXPECT_EQ(At(b, 0, 24), Light);
    EXPECT_EQ(At(b, 1, 24), Dark);
    EXPECT_EQ(At(b, 65, 24), Dark);
    EXPECT_EQ(At(b, 65, 25), clSilver);   // no line ends there
    EXPECT_EQ(At(b, 0, 10), Light);
    EXPECT_EQ(At(b, 65, 10), Dark);

    Press(b, 20, 10);
    EXPECT_EQ(At(b, 33, 25), Dark);
    for (int y = 20; y <= 24; ++y)
        EXPECT_EQ(At(b, 33, y), clSilver) << y;
    EXPECT_EQ(At(b, 1, 24), Light);   // the flanks slant by i / 2 only
    Release(b, 20, 10);
}

TEST_F(LEDButtonTest, NegativeDepthDrawsOnlyTheTopEdge)
{
    auto* b = NewRunButton("");
    b->SetShowLED(false);
    b->SetDepth(-1);
    Pump();
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 66; ++x) {
            TColor want = y == 0 && x >= 1 ? Light : clSilver;
            ASSERT_EQ(At(b, x, y), want) << x << "," << y;
        }
}

TEST_F(LEDButtonTest, SingleBorderFramesTheKeyInWindowFrameColour)
{
    auto* b = NewRunButton();
    b->SetBorderStyle(bsSingle);
    Pump();
    EXPECT_EQ(At(b, 0, 0), clBlack);
    EXPECT_EQ(At(b, 65, 25), clBlack);
    EXPECT_EQ(At(b, 33, 1), Light);   // the frame starts one pixel inside
    EXPECT_EQ(At(b, 33, 24), Dark);
}

TEST_F(LEDButtonTest, ClickTogglesAfterOnClickAndLightsTheLED)
{
    auto* b = NewRunButton();
    Click(b, 20, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(stateSeenByClick);   // OnClick runs before the toggle
    EXPECT_TRUE(b->StateOn());
    EXPECT_EQ(At(b, 33, 16), clLime);
    Click(b, 20, 10);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(b->StateOn());
    EXPECT_EQ(At(b, 33, 16), LimeUnlit);
}

TEST_F(LEDButtonTest, ReleaseOutsideTogglesWithoutOnClick)
{
    auto* b = NewRunButton();
    Press(b, 20, 10);
    Release(b, 150, 80);
    EXPECT_TRUE(b->StateOn());
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(clicks, 0);
}

TEST_F(LEDButtonTest, RightClickTogglesWithoutOnClick)
{
    auto* b = NewRunButton();
    Click(b, 20, 10, plat::MouseButton::Right);
    EXPECT_TRUE(b->StateOn());
    EXPECT_EQ(clicks, 0);
}

TEST_F(LEDButtonTest, DoubleClickTogglesTwiceWithOneClickAndOneDoubleClick)
{
    auto* b = NewRunButton();
    ws.DoubleClick(form->WindowHandle(), 30, 20);
    Pump();
    EXPECT_FALSE(b->StateOn());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(dblClicks, 1);
}

TEST_F(LEDButtonTest, PushButtonKeepsItsState)
{
    auto* b = NewRunButton("Vol.");
    b->SetSwitching(false);
    b->SetStateOn(true);
    Click(b, 20, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b->StateOn());
}

TEST_F(LEDButtonTest, DisabledButtonShowsNoLitLEDAndIgnoresThePointer)
{
    auto* b = NewRunButton();
    b->SetStateOn(true);
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(b, 33, 16), clSilver);   // the LED vanishes into the face
    EXPECT_EQ(At(b, 6, 14), clBlack);     // only its outline stays
    int grey = 0;
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 66; ++x) {
            ASSERT_NE(At(b, x, y), clLime);
            grey += At(b, x, y) == ColorToRGB(clGrayText);
        }
    EXPECT_GT(grey, 0);   // the caption in clGrayText
    Click(b, 20, 10);
    EXPECT_EQ(clicks, 0);
    // Even when the messages reach it, a disabled key neither sinks nor toggles.
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeMouseLParam(5, 5));
    EXPECT_FALSE(b->Pressed());
    b->Perform(WM_LBUTTONUP, 0, MakeMouseLParam(5, 5));
    EXPECT_TRUE(b->StateOn());
}

TEST_F(LEDButtonTest, AcceleratorClicksAndToggles)
{
    auto* b = NewRunButton("&Run");
    ws.Char('r');
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(stateSeenByClick);
    EXPECT_TRUE(b->StateOn());
    EXPECT_EQ(At(b, 33, 16), clLime);
    ws.Char('R');
    Pump();
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(b->StateOn());
    ws.Char('x');
    Pump();
    EXPECT_EQ(clicks, 2);
    // A caption whose only ampersand is its last character has no accelerator.
    b->SetCaption("Run&");
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, '&', 0), 0);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'n', 0), 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(LEDButtonTest, DisabledButtonStillConsumesItsAccelerator)
{
    auto* first = NewRunButton("&Run");
    auto* second = new TLEDButton(form);
    second->SetCaption("&Reset");
    second->SetBounds(100, 10, 66, 26);
    second->SetParent(form);
    int secondClicks = 0;
    second->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++secondClicks; });
    first->SetEnabled(false);
    ws.Char('r');
    Pump();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(secondClicks, 0);   // consumed by the first
    EXPECT_FALSE(first->StateOn());
    EXPECT_FALSE(second->StateOn());
    EXPECT_EQ(first->Perform(CM_DIALOGCHAR, 'R', 0), 1);
    first->SetEnabled(true);
    second->SetEnabled(true);
    EXPECT_EQ(second->Perform(CM_DIALOGCHAR, 'r', 0), 1);
    EXPECT_EQ(secondClicks, 1);
}

// A click from the keyboard runs OnClick before the toggle, as the mouse does; a
// disabled button ignores it and a push button does not latch.
TEST_F(LEDButtonTest, KeyClickIsAClickThenTheToggle)
{
    auto* b = NewRunButton();
    b->KeyClick();
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(stateSeenByClick);
    EXPECT_TRUE(b->StateOn());
    EXPECT_EQ(At(b, 33, 16), clLime);
    b->KeyClick();
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(stateSeenByClick);
    EXPECT_FALSE(b->StateOn());
    b->SetEnabled(false);
    b->KeyClick();
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(b->StateOn());
    b->SetEnabled(true);
    b->SetSwitching(false);
    b->KeyClick();
    EXPECT_EQ(clicks, 3);
    EXPECT_FALSE(b->StateOn());
}

TEST_F(LEDButtonTest, AcceleratorHandlerMayFreeTheButton)
{
    auto* b = NewRunButton("&Run");
    b->OnClick = TNotifyEvent::FromFunction([b](TObject*) { delete b; });
    ws.Char('r');
    Pump();
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST(LEDButtonAccel, FirstAmpersandMarksTheCharacter)
{
    EXPECT_TRUE(TLEDButton::IsAccelChar('r', "&Run"));
    EXPECT_TRUE(TLEDButton::IsAccelChar('R', "&run"));
    EXPECT_TRUE(TLEDButton::IsAccelChar('u', "R&un"));
    EXPECT_FALSE(TLEDButton::IsAccelChar('x', "&Run"));
    EXPECT_FALSE(TLEDButton::IsAccelChar('n', "Run&"));
    EXPECT_FALSE(TLEDButton::IsAccelChar('r', "Run"));
    EXPECT_FALSE(TLEDButton::IsAccelChar('r', ""));
    EXPECT_FALSE(TLEDButton::IsAccelChar('c', "a&b&c"));
    EXPECT_TRUE(TLEDButton::IsAccelChar('&', "&&x"));
    // Only a..z change case.
    EXPECT_FALSE(TLEDButton::IsAccelChar(0xE9, "&\xC9"));
    EXPECT_TRUE(TLEDButton::IsAccelChar('1', "&1"));
}

// A 30 x 10 strip of three images: red, yellow, blue. Image 2 has a white left column
// and a black right column; the strip's bottom-left pixel is lime, the key colour.
std::unique_ptr<TBitmap> GlyphStrip()
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(30, 10);
    TCanvas* c = bmp->Canvas();
    const TColor colors[3] = { clRed, clYellow, clBlue };
    for (int k = 0; k < 3; ++k) {
        c->Brush()->SetColor(colors[k]);
        c->FillRect(Rect(10 * k, 0, 10 * k + 10, 10));
    }
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(20, 0, 21, 10));
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(29, 0, 30, 10));
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(0, 8, 2, 10));
    return bmp;
}

TEST_F(LEDButtonTest, GlyphShowsTheImageOfTheState)
{
    auto* b = new TLEDButton(form);
    b->SetBounds(10, 10, 45, 45);
    b->SetColor(clSilver);
    b->SetShowLED(false);
    b->SetParent(form);
    auto strip = GlyphStrip();
    b->SetGlyph(strip.get());
    b->SetNumGlyphs(3);
    Pump();
    // Image 0, centred at ((45 - 10) >> 1, same): (17, 17); the key colour shows the face.
    EXPECT_EQ(At(b, 22, 22), clRed);
    EXPECT_EQ(At(b, 17, 26), clSilver);
    EXPECT_EQ(At(b, 16, 22), clSilver);
    b->SetStateOn(true);
    Pump();
    EXPECT_EQ(At(b, 22, 22), clBlue);
    EXPECT_EQ(At(b, 17, 22), clWhite);   // image 2 is columns 20 .. 29
    EXPECT_EQ(At(b, 26, 22), clBlack);
    EXPECT_EQ(At(b, 27, 22), clSilver);
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(b, 22, 22), clYellow);
    // The caption on the key leaves no room for the glyph.
    b->SetTextPosition(tpOnButton);
    Pump();
    EXPECT_EQ(At(b, 22, 22), clSilver);
}

TEST_F(LEDButtonTest, ImageBeyondTheStripFallsBackToImageZero)
{
    auto* b = new TLEDButton(form);
    b->SetBounds(10, 10, 45, 45);
    b->SetColor(clSilver);
    b->SetShowLED(false);
    b->SetParent(form);
    auto strip = GlyphStrip();
    b->SetGlyph(strip.get());
    b->SetNumGlyphs(1);   // one image of 30 columns
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(b, 7 + 5, 22), clRed);
    EXPECT_EQ(At(b, 7 + 15, 22), clYellow);
    EXPECT_EQ(At(b, 7 + 25, 22), clBlue);
}

TEST_F(LEDButtonTest, EmptyGlyphDrawsNothing)
{
    auto* b = new TLEDButton(form);
    b->SetBounds(10, 10, 45, 45);
    b->SetColor(clSilver);
    b->SetShowLED(false);
    b->SetNumGlyphs(4);
    b->SetStateOn(true);
    b->SetParent(form);
    Pump();
    EXPECT_EQ(At(b, 22, 22), clSilver);
    b->SetGlyph(nullptr);
    Pump();
    EXPECT_EQ(At(b, 22, 22), clSilver);
}

TEST_F(LEDButtonTest, DesignerGlyphSetsTheImageCount)
{
    auto* b = new TLEDButton(form);
    b->SetDesigning(true);
    auto strip = GlyphStrip();
    b->SetGlyph(strip.get());
    EXPECT_EQ(b->NumGlyphs(), 3);
    TBitmap odd;
    odd.SetSize(25, 10);
    b->SetGlyph(&odd);
    EXPECT_EQ(b->NumGlyphs(), 1);
    TBitmap wide;
    wide.SetSize(20, 10);
    b->SetGlyph(&wide);
    EXPECT_EQ(b->NumGlyphs(), 2);
    // Outside a designer the count stays.
    b->SetDesigning(false);
    b->SetGlyph(strip.get());
    EXPECT_EQ(b->NumGlyphs(), 2);
    EXPECT_EQ(b->Glyph()->Width(), 30);
    EXPECT_NE(b->Glyph(), strip.get());   // a copy
}

TEST_F(LEDButtonTest, CaptionAboveShrinksTheKey)
{
    auto* b = NewRunButton("Run");
    b->SetShowLED(false);
    b->SetTextPosition(tpAbove);
    b->SetBounds(10, 10, 66, 40);
    Pump();
    TBitmap bmp;
    bmp.SetSize(1, 1);
    bmp.Canvas()->SetFont(b->Font());
    int top = bmp.Canvas()->TextWidth("W") + 2;
    EXPECT_EQ(At(b, 33, top), Light);        // the key's top edge
    EXPECT_EQ(At(b, 2, top - 1), clWhite);   // the form shows beside the caption
    EXPECT_EQ(At(b, 33, 39), Dark);
}

} // namespace
