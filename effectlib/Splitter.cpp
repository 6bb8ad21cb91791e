// The library's splitter: a bar that resizes the aligned control beside it.
#include "effectlib/EPCtrls.h"

#include "framework/controls/Form.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

TepSplitter::TepSplitter(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
{
    FControlStyle |= csOpaque;
    SetAlign(alLeft);
    SetWidth(3);
    SetCursor(crHSplit);
}

// A drag in progress ends with its splitter, without applying the size and without
// calling out to a handler of a half-destroyed control.
TepSplitter::~TepSplitter() { EndSizing(); }

void TepSplitter::SetUseGlyph(bool Value)
{
    FUseGlyph = Value;
    Invalidate();
}

void TepSplitter::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    Invalidate();
}

void TepSplitter::SetInnerColor(TColor Value)
{
    FInnerColor = Value;
    Invalidate();
}

void TepSplitter::SetOuterColor(TColor Value)
{
    FOuterColor = Value;
    Invalidate();
}

void TepSplitter::SetBeveled(bool Value)
{
    FBeveled = Value;
    Repaint();
}

void TepSplitter::SetMinSize(int Value) { FMinSize = std::max(Value, 1); }

bool TepSplitter::Vertical() const { return Align() == alTop || Align() == alBottom; }

void TepSplitter::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    const int gw = FGlyph->Width(), gh = FGlyph->Height();
    if (FUseGlyph && !FGlyph->Empty() && gw > 0 && gh > 0)
        for (int x = 0; x <= Width() / gw; ++x)
            for (int y = 0; y <= Height() / gh; ++y)
                c->Draw(x * gw, y * gh, FGlyph.get());
    if (!FBeveled)
        return;
    TRect r = ClientRect();
    if (Vertical())
        InflateRect(r, 2, -1);
    else
        InflateRect(r, -1, 2);
    OffsetRect(r, 1, 1);
    c->Brush()->SetColor(FInnerColor);
    c->FrameRect(r);
    OffsetRect(r, -2, -2);
    c->Brush()->SetColor(FOuterColor);
    c->FrameRect(r);
}

TControl* TepSplitter::FindControl() const
{
    TWinControl* p = Parent();
    if (!p)
        return nullptr;
    TPoint at = Point(Left(), Top());
    switch (Align()) {
    case alTop: at.Y -= 1; break;
    case alBottom: at.Y += Height(); break;
    case alLeft: at.X -= 1; break;
    case alRight: at.X += Width(); break;
    default: return nullptr;
    }
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c != this && PtInRect(c->BoundsRect(), at))
            return c;
    }
    return nullptr;
}

TRect TepSplitter::DragLineRect() const
{
    if (Vertical())
        return Bounds(Left(), Top() + FSplit, Width(), Height());
    return Bounds(Left() + FSplit, Top(), Width(), Height());
}

void TepSplitter::UpdateSize(int X, int Y)
{
    FSplit = Vertical() ? Y - FDownPos.Y : X - FDownPos.X;
    int size = 0;
    switch (Align()) {
    case alTop: size = FControl->Height() + FSplit; break;
    case alBottom: size = FControl->Height() - FSplit; break;
    case alLeft: size = FControl->Width() + FSplit; break;
    case alRight: size = FControl->Width() - FSplit; break;
    default: break;
    }
    const int clamped = std::max(FMinSize, std::min(size, FMaxSize));
    if (clamped != size) {
        if (Align() == alBottom || Align() == alRight)
            FSplit += size - clamped;
        else
            FSplit += clamped - size;
    }
    FNewSize = clamped;
}

// The line is an inverted overlay of the form, so paints beneath it during the drag
// neither wipe it nor leave a stale copy behind when it is erased.
void TepSplitter::DrawLine()
{
    if (FLineVisible) {
        // The form is touched only while the splitter still lies on it and it is not
        // being torn down; otherwise its overlays go with it.
        TCustomForm* form = GetParentForm();
        if (form && form == FLineForm && !form->HasState(csDestroying))
            form->ToggleInvertOverlay(FLineRect);
        FLineVisible = false;
        FLineForm = nullptr;
        return;
    }
    TWinControl* p = Parent();
    FLineForm = GetParentForm();
    if (!p || !FLineForm || FLineForm->HasState(csDestroying))
        return;
    TRect r = DragLineRect();
    const TPoint o = p->FormOffset();
    OffsetRect(r, o.X, o.Y);
    FLineRect = r;
    FLineForm->ToggleInvertOverlay(FLineRect);
    FLineVisible = true;
}

void TepSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || Sizing())
        return;
    TControl* found = FindControl();
    if (!found)
        return;
    TWinControl* p = Parent();
    const bool vertical = Vertical();
    int room = (vertical ? p->ClientHeight() : p->ClientWidth()) - FMinSize;
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        const TAlign a = c->Align();
        if (vertical && (a == alTop || a == alBottom))
            room -= c->Height();
        else if (!vertical && (a == alLeft || a == alRight))
            room -= c->Width();
    }
    FControl = found;
    FControl->FreeNotification(this);
    FMaxSize = room + (vertical ? found->Height() : found->Width());
    FDownPos = Point(X, Y);
    UpdateSize(X, Y);
    // Escape goes to the control that has the keys: the focused one, or the form.
    if (TCustomForm* form = GetParentForm()) {
        FActiveControl = form->FocusedControl() ? form->FocusedControl() : form;
        FActiveControl->FreeNotification(this);
        FOldKeyDown = FActiveControl->OnKeyDown;
        FActiveControl->OnKeyDown = TKeyEvent(this, &TepSplitter::FocusKeyDown);
    }
    DrawLine();
}

void TepSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!*alive || !Sizing())
        return;
    // Someone else took the mouse: the drag cannot end with a release here.
    if (GetCaptureControl() != this) {
        StopSizing();
        return;
    }
    DrawLine();
    UpdateSize(X, Y);
    DrawLine();
}

void TepSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!*alive || !Sizing())
        return;
    if (FLineVisible)
        DrawLine();
    ApplySize();
    StopSizing();
}

void TepSplitter::ApplySize()
{
    TControl* c = FControl;
    TWinControl* p = c->Parent();
    switch (Align()) {
    case alTop:
        c->SetHeight(FNewSize);
        break;
    case alLeft:
        c->SetWidth(FNewSize);
        break;
    case alBottom:
    case alRight: {
        if (p)
            p->DisableAlign();
        if (Align() == alBottom)
            c->SetBounds(c->Left(), c->Top() + c->Height() - FNewSize, c->Width(), FNewSize);
        else
            c->SetBounds(c->Left() + c->Width() - FNewSize, c->Top(), FNewSize, c->Height());
        if (p)
            p->EnableAlign();
        break;
    }
    default:
        break;
    }
}

void TepSplitter::EndSizing()
{
    if (FLineVisible)
        DrawLine();
    FControl = nullptr;
    if (FActiveControl) {
        FActiveControl->OnKeyDown = FOldKeyDown;
        FActiveControl = nullptr;
    }
    FOldKeyDown = nullptr;
}

void TepSplitter::StopSizing()
{
    EndSizing();
    if (OnMoved)
        OnMoved(this);
}

void TepSplitter::FocusKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift)
{
    if (Key == 27) {
        StopSizing();
        return;
    }
    if (FOldKeyDown)
        FOldKeyDown(Sender, Key, Shift);
}

void TepSplitter::WMCancelMode(TMessage& Message)
{
    if (Sizing())
        StopSizing();
    TGraphicControl::WMCancelMode(Message);
}

// The resized control or the hooked one going away ends the drag; neither is touched
// again.
void TepSplitter::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FActiveControl) {
        FActiveControl = nullptr;
        FOldKeyDown = nullptr;
    }
    if (AComponent == FControl)
        EndSizing();
}

BEGIN_PROPERTIES(TepSplitter, TGraphicControl)
    .Bool("UseGlyph", &TepSplitter::UseGlyph, &TepSplitter::SetUseGlyph)
    .Object("SplitterGlyph", &TepSplitter::SplitterGlyph)
    .Color("InnerColor", &TepSplitter::InnerColor, &TepSplitter::SetInnerColor)
    .Color("OuterColor", &TepSplitter::OuterColor, &TepSplitter::SetOuterColor)
    .Bool("Beveled", &TepSplitter::Beveled, &TepSplitter::SetBeveled).Default(true)
    .Int("MinSize", &TepSplitter::MinSize, &TepSplitter::SetMinSize).Default(30)
    PUBLISHED_EVENT(OnMoved)
END_PROPERTIES
