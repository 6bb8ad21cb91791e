// The colour button: mark placement on the four sides and the press offset, the outline
// rule, the frame under the pointer, the dialog run from a left press with OnChange only
// for a new colour, and a button, dialog or form destroyed while the dialog is open.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPButtons.h"
#include "framework/stdctrls/ColorDialog.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"

#include <functional>

namespace {

using plat::MouseButton;

TSize Measure(TControl* c, const std::string& text)
{
    TBitmap bmp;
    bmp.SetSize(4, 4);
    bmp.Canvas()->Font()->Assign(c->Font());
    return bmp.Canvas()->TextExtent(text);
}

class ColorButtonTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(200, 100, 0, 0, clWhite);
        id = form->WindowHandle();
        btn = new TepColorButton(form);
        btn->SetParent(form);
        btn->SetBounds(X0, Y0, 86, 30);
        btn->SetColor(clSilver);
        btn->OnChange = TNotifyEvent::FromFunction([this](TObject*) { ++changes; });
        dialog = new TColorDialog(form);
        dialog->Runner = [this](TColor initial) -> std::optional<TColor> {
            ++runs;
            seen = initial;
            pressedDuringRun = btn->Pressed();
            if (during)
                during();
            return answer;
        };
        Pump();
    }
    TColor At(int x, int y) { return Pixel(form, X0 + x, Y0 + y); }
    void ClickAt(int x, int y)
    {
        ws.MouseMove(id, X0 + x, Y0 + y);
        ws.MouseDown(id, X0 + x, Y0 + y, MouseButton::Left);
        ws.MouseUp(id, X0 + x, Y0 + y, MouseButton::Left);
        Pump();
    }

    static constexpr int X0 = 20, Y0 = 30;
    TForm* form = nullptr;
    uintptr_t id = 0;
    TepColorButton* btn = nullptr;
    TColorDialog* dialog = nullptr;
    std::optional<TColor> answer;
    std::function<void()> during;
    int changes = 0, runs = 0;
    TColor seen = 0;
    bool pressedDuringRun = false;
};

} // namespace

TEST_F(ColorButtonTest, DefaultsAfterConstruction)
{
    TepColorButton b(nullptr);
    EXPECT_EQ(b.Width(), 86);
    EXPECT_EQ(b.Height(), 30);
    EXPECT_EQ(b.MarkOffset(), 2);
    EXPECT_EQ(b.MarkAlign(), mkLeft);
    EXPECT_TRUE(b.UseFrame());
    EXPECT_EQ(b.Spacing(), 0);
    EXPECT_EQ(b.Margin(), -1);
    EXPECT_EQ(b.MarkWidth(), 10);
    EXPECT_EQ(b.MarkHeight(), 10);
    EXPECT_EQ(b.InnerColor(), clBtnHighlight);
    EXPECT_EQ(b.OuterColor(), clBtnShadow);
    EXPECT_EQ(b.ColorValue(), clBlack);
    EXPECT_EQ(b.ColorDialog(), nullptr);
}

TEST_F(ColorButtonTest, CaptionShiftsAwayFromTheMarkOnEachSide)
{
    btn->SetCaption("Colour");
    btn->SetColorValue(clRed);
    Pump();
    const TSize t = Measure(btn, "Colour");
    // Centred by the layout, then moved right by MW / 2 + MarkOffset / 2 = 6; the mark
    // stands MarkOffset left of the caption, vertically centred.
    const int tx = 43 + t.cx / 2 - t.cx + 6, ty = 15 - t.cy / 2;
    EXPECT_EQ(btn->TextPos(), Point(tx, ty));
    EXPECT_EQ(btn->MarkPos(), Point(tx - 10 - 2, 10));
    EXPECT_EQ(At(tx - 12 + 1, 11), clRed);
    EXPECT_EQ(At(tx - 12 + 8, 18), clRed);
    EXPECT_EQ(At(tx - 12 + 10, 15), clSilver);   // right of the mark
    // The outline is in the face colour: invisible.
    EXPECT_EQ(At(tx - 12, 10), clSilver);

    btn->SetMarkAlign(mkRight);
    Pump();
    const int rx = 43 + t.cx / 2 - t.cx - 6;
    EXPECT_EQ(btn->TextPos(), Point(rx, ty));
    EXPECT_EQ(btn->MarkPos(), Point(rx + t.cx + 2, 10));
    btn->SetMarkAlign(mkTop);
    Pump();
    EXPECT_EQ(btn->TextPos(), Point(43 + t.cx / 2 - t.cx, ty + 6));
    EXPECT_EQ(btn->MarkPos(), Point(43 - 5, ty + 6 - 10 - 2));
    btn->SetMarkAlign(mkBottom);
    Pump();
    EXPECT_EQ(btn->TextPos(), Point(43 + t.cx / 2 - t.cx, ty - 6));
    EXPECT_EQ(btn->MarkPos(), Point(38, ty - 6 + t.cy + 2));
}

TEST_F(ColorButtonTest, OutlineRule)
{
    // A swatch in the face colour gets a black outline.
    btn->SetColorValue(clSilver);
    Pump();
    const TPoint m = btn->MarkPos();
    EXPECT_EQ(At(m.X, m.Y + 3), clBlack);
    EXPECT_EQ(At(m.X + 3, m.Y + 3), clSilver);
    // A black swatch on a black, opaque button: white; transparent: no outline at all.
    btn->SetColor(clBlack);
    btn->SetColorValue(clBlack);
    Pump();
    EXPECT_EQ(At(m.X, m.Y + 3), clWhite);
    btn->SetTransparent(true);
    Pump();
    EXPECT_EQ(At(m.X, m.Y + 3), clBlack);
    EXPECT_EQ(At(m.X + 9, m.Y + 9), clBlack);
    EXPECT_EQ(At(m.X + 10, m.Y + 3), clWhite);   // the form beneath
}

TEST_F(ColorButtonTest, FrameUnderThePointerOnlyWithUseFrame)
{
    EXPECT_EQ(At(0, 0), clSilver);
    ws.MouseMove(id, X0 + 40, Y0 + 15);
    Pump();
    ASSERT_TRUE(btn->Hot());
    EXPECT_EQ(At(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(85, 29), ColorToRGB(clBtnShadow));
    btn->SetUseFrame(false);
    btn->Invalidate();
    Pump();
    EXPECT_EQ(At(0, 0), clSilver);
    EXPECT_EQ(At(85, 29), clSilver);
}

TEST_F(ColorButtonTest, ADialogPickedColourFiresOnChangeOnlyWhenNew)
{
    // Without a dialog a click does nothing.
    ClickAt(40, 15);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(btn->Pressed());

    btn->SetColorDialog(dialog);
    btn->SetColorValue(clBtnFace);
    answer = clRed;
    ClickAt(40, 15);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(seen, ColorToRGB(clBtnFace));   // the dialog starts at the plain colour
    EXPECT_TRUE(pressedDuringRun);
    EXPECT_FALSE(btn->Pressed());
    EXPECT_EQ(btn->ColorValue(), clRed);
    EXPECT_EQ(changes, 1);

    // The same colour again: no OnChange. Cancelled: nothing changes.
    ClickAt(40, 15);
    EXPECT_EQ(changes, 1);
    answer.reset();
    ClickAt(40, 15);
    EXPECT_EQ(btn->ColorValue(), clRed);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(runs, 3);

    // The right button does not open it.
    ws.MouseDown(id, X0 + 40, Y0 + 15, MouseButton::Right);
    ws.MouseUp(id, X0 + 40, Y0 + 15, MouseButton::Right);
    Pump();
    EXPECT_EQ(runs, 3);
}

TEST_F(ColorButtonTest, PressedMarkMovesTwoPixels)
{
    btn->SetColorDialog(dialog);
    btn->SetColorValue(clRed);
    Pump();
    const TPoint m = btn->MarkPos();
    TColor corner = 0, beyond = 0;
    during = [&] {
        Pump();
        EXPECT_EQ(btn->MarkPos(), Point(m.X + 1, m.Y + 1));
        // The outline (in the face colour) runs at m + 2 and m + 11.
        corner = At(m.X + 3, m.Y + 3);
        beyond = At(m.X + 10, m.Y + 10);
    };
    ClickAt(40, 15);
    EXPECT_EQ(corner, clRed);
    EXPECT_EQ(beyond, clRed);
}

TEST_F(ColorButtonTest, ASecondPressWhileTheDialogIsOpenOpensNoSecondDialog)
{
    btn->SetColorDialog(dialog);
    answer = clLime;
    during = [&] {
        if (runs > 1)
            return;
        ws.MouseUp(id, X0 + 40, Y0 + 15, MouseButton::Left);
        ws.MouseDown(id, X0 + 40, Y0 + 15, MouseButton::Left);
        ws.MouseUp(id, X0 + 40, Y0 + 15, MouseButton::Left);
        Pump();
    };
    ClickAt(40, 15);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(btn->ColorValue(), clLime);
    EXPECT_EQ(changes, 1);
}

TEST_F(ColorButtonTest, DestroyedWhileTheDialogIsOpen)
{
    btn->SetColorDialog(dialog);
    answer = clLime;

    // The dialog goes: its answer is not read and the button forgets it.
    during = [&] { delete dialog; };
    ClickAt(40, 15);
    EXPECT_EQ(btn->ColorDialog(), nullptr);
    EXPECT_EQ(btn->ColorValue(), clBlack);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(btn->Pressed());

    // The button goes.
    dialog = new TColorDialog(form);
    dialog->Runner = [this](TColor) -> std::optional<TColor> {
        delete btn;
        btn = nullptr;
        return clLime;
    };
    auto* b2 = new TepColorButton(form);
    b2->SetParent(form);
    b2->SetBounds(X0, Y0, 86, 30);
    b2->SetColorDialog(dialog);
    btn = b2;
    Pump();
    ClickAt(40, 15);
    EXPECT_EQ(btn, nullptr);

    // The whole form goes, dialog and all.
    dialog->Runner = [this](TColor) -> std::optional<TColor> {
        delete form;
        form = nullptr;
        return clLime;
    };
    auto* b3 = new TepColorButton(form);
    b3->SetParent(form);
    b3->SetBounds(X0, Y0, 86, 30);
    b3->SetColorDialog(dialog);
    Pump();
    ClickAt(40, 15);
    EXPECT_EQ(form, nullptr);
}

TEST_F(ColorButtonTest, SpacingOfFourSurvivesTheFormWriter)
{
    btn->SetSpacing(4);
    btn->SetName("cb");
    form->SetName("frmSpacing");
    const std::string text = WriteComponentRes(form);
    EXPECT_NE(text.find("Spacing = 4"), std::string::npos);
    form->SetName("frmOld");
    auto* copy = new TForm(Application, text);
    auto* b2 = dynamic_cast<TepColorButton*>(copy->FindComponent("cb"));
    ASSERT_NE(b2, nullptr);
    EXPECT_EQ(b2->Spacing(), 4);
}
