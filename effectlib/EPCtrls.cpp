#include "effectlib/EPCtrls.h"

#include "framework/controls/Form.h"
#include "framework/core/TypInfo.h"
#include "platform/window/WindowSystem.h"

TepMoveForm::TepMoveForm(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    SetBounds(Left(), Top(), 100, 100);
}

void TepMoveForm::Paint()
{
    if (!HasState(csDesigning))
        return;
    TCanvas* c = Canvas();
    c->Pen()->SetStyle(psDash);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
}

TControl* TepMoveForm::MovedWindow() const { return dynamic_cast<TControl*>(Owner()); }

bool TepMoveForm::DragsWindow() const
{
    TControl* moved = MovedWindow();
    return moved && moved == static_cast<TControl*>(GetParentForm());
}

TPoint TepMoveForm::PointerOnScreen(int X, int Y) const
{
    if (plat::WindowSystem* ws = plat::CurrentWindowSystem()) {
        plat::Point p = ws->CursorPos();
        return { p.x, p.y };
    }
    return ClientToScreen(Point(X, Y));
}

void TepMoveForm::Anchor(int X, int Y)
{
    FPressX = X;
    FPressY = Y;
    FPointerAtPress = PointerOnScreen(X, Y);
    if (TControl* w = MovedWindow())
        FWindowAtPress = { w->Left(), w->Top() };
}

// Any button moves the anchor to its press; only the left one starts a drag.
void TepMoveForm::MouseDown(TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button == mbLeft)
        FDragging = true;
    Anchor(X, Y);
}

// A move without the left button held means its release was lost (to another window or
// a grab): the drag ends there.
void TepMoveForm::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!FDragging)
        return;
    if (!(Shift & ssLeft)) {
        FDragging = false;
        return;
    }
    TControl* w = MovedWindow();
    if (!w)
        return;
    TPoint p = PointerOnScreen(X, Y);
    w->SetBounds(FWindowAtPress.X + p.X - FPointerAtPress.X,
        FWindowAtPress.Y + p.Y - FPointerAtPress.Y, w->Width(), w->Height());
}

void TepMoveForm::MouseUp(TMouseButton, TShiftState, int, int) { FDragging = false; }

BEGIN_PROPERTIES(TepMoveForm, TGraphicControl)
END_PROPERTIES
