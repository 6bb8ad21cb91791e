#include "framework/controls/Control.h"

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/core/SysUtils.h"
#include "framework/controls/WinControl.h"
#include "platform/window/WindowSystem.h"
#include "framework/core/TypInfo.h"

namespace {
TControl* gCaptureControl = nullptr;
}

TControl* GetCaptureControl() { return gCaptureControl; }

void SetCaptureControl(TControl* control)
{
    if (control == gCaptureControl)
        return;
    TCustomForm* oldForm = gCaptureControl ? gCaptureControl->GetParentForm() : nullptr;
    gCaptureControl = control;
    TCustomForm* form = control ? control->GetParentForm() : nullptr;
    if (plat::WindowSystem* ws = plat::CurrentWindowSystem()) {
        if (oldForm && oldForm != form && oldForm->WindowHandle())
            ws->CaptureMouse(oldForm->WindowHandle(), false);
        if (form && form->WindowHandle())
            ws->CaptureMouse(form->WindowHandle(), true);
        else if (!form && oldForm && oldForm->WindowHandle())
            ws->CaptureMouse(oldForm->WindowHandle(), false);
    }
}

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_ALT)
        s |= ssAlt;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    return s;
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner)
    , FControlStyle(csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks)
    , FFont(std::make_unique<TFont>())
{
    FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl()
{
    FComponentState |= csDestroying;
    *FAlive = false;
    if (gCaptureControl == this)
        SetCaptureControl(nullptr);
    if (Application)
        Application->ControlDestroying(this);
    if (FParent)
        FParent->RemoveControl(this);
}

TCustomForm* TControl::GetParentForm() const
{
    const TControl* c = this;
    while (c->FParent)
        c = c->FParent;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    for (TWinControl* p = AParent; p; p = p->Parent()) {
        if (p == this)
            throw EInvalidOperation("A control cannot have itself or a child as its parent");
    }
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

// A null parent takes the control out of its parent; a parent that cannot hold controls
// is ignored.
void TControl::SetParentComponent(TComponent* value)
{
    if (!value)
        SetParent(nullptr);
    else if (auto* w = dynamic_cast<TWinControl*>(value))
        SetParent(w);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    TRect old = BoundsRect();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    auto alive = FAlive;
    BoundsChanged(old);
    if (ALeft != old.Left || ATop != old.Top)
        Perform(WM_MOVE, 0, MakeMouseLParam(ALeft, ATop));
    if (*alive && (AWidth != old.Width() || AHeight != old.Height()))
        Perform(WM_SIZE, 0, LPARAM(uint32_t(AWidth & 0xFFFF) | uint32_t(AHeight & 0xFFFF) << 16));
    if (*alive)
        RequestAlign();
}

// A graphic control repaints its old and its new place in the parent.
void TControl::BoundsChanged(const TRect& oldBounds)
{
    if (!FParent || !FVisible)
        return;
    FParent->InvalidateRect(&oldBounds, true);
    Invalidate();
}

void TControl::SetClientWidth(int value)
{
    SetWidth(FWidth - ClientWidth() + value);
}

void TControl::SetClientHeight(int value)
{
    SetHeight(FHeight - ClientHeight() + value);
}

TPoint TControl::FormOffset() const
{
    TPoint p;
    for (const TControl* c = this; c->FParent; c = c->FParent) {
        p.X += c->FLeft;
        p.Y += c->FTop;
    }
    return p;
}

TPoint TControl::ClientOrigin() const
{
    TPoint p = FormOffset();
    const TControl* top = this;
    while (top->FParent)
        top = top->FParent;
    if (auto* form = dynamic_cast<const TCustomForm*>(top)) {
        TPoint o = form->ClientOrigin();
        p.X += o.X;
        p.Y += o.Y;
    }
    return p;
}

TPoint TControl::ClientToScreen(const TPoint& p) const
{
    TPoint o = ClientOrigin();
    return { p.X + o.X, p.Y + o.Y };
}

TPoint TControl::ScreenToClient(const TPoint& p) const
{
    TPoint o = ClientOrigin();
    return { p.X - o.X, p.Y - o.Y };
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign)
        return;
    FAlign = value;
    if (value != alNone)
        FAnchors = akLeft | akTop;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

// Anchored sides keep their distance to the parent's edges; a side without an anchor on
// either end keeps the control centred.
void TControl::AdjustForParentResize(int dw, int dh)
{
    if (FAlign != alNone || (dw == 0 && dh == 0))
        return;
    int l = FLeft, t = FTop, w = FWidth, h = FHeight;
    if ((FAnchors & akLeft) && (FAnchors & akRight))
        w += dw;
    else if (FAnchors & akRight)
        l += dw;
    else if (!(FAnchors & akLeft))
        l += dw / 2;
    if ((FAnchors & akTop) && (FAnchors & akBottom))
        h += dh;
    else if (FAnchors & akBottom)
        t += dh;
    else if (!(FAnchors & akTop))
        t += dh / 2;
    SetBounds(l, t, w, h);
}

bool TControl::Showing() const
{
    for (const TControl* c = this; c; c = c->FParent) {
        if (!c->FVisible)
            return false;
        if (!c->FParent && !dynamic_cast<const TCustomForm*>(c))
            return false;
    }
    return true;
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    UpdateVisibility(value);
    Perform(CM_VISIBLECHANGED, value, 0);
    RequestAlign();
}

// A graphic control's place in its parent is repainted, erased where it disappears.
void TControl::UpdateVisibility(bool value)
{
    if (!value && FParent) {
        TRect r = BoundsRect();
        FParent->InvalidateRect(&r, true);
    }
    FVisible = value;
    if (value)
        Invalidate();
}

void TControl::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor value)
{
    if (value == FColor && !FParentColor)
        return;
    FColor = value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value)
{
    if (value == FParentColor)
        return;
    FParentColor = value;
    if (value && FParent)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value)
{
    if (value == FParentFont)
        return;
    FParentFont = value;
    if (value && FParent)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*)
{
    FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetText(const std::string& value)
{
    if (value == FText)
        return;
    FText = value;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor value)
{
    if (value == FCursor)
        return;
    FCursor = value;
    Perform(CM_CURSORCHANGED, 0, 0);
    if (TCustomForm* form = GetParentForm())
        form->UpdateCursor();
}

bool TControl::MouseCapture() const { return gCaptureControl == this; }

void TControl::SetMouseCapture(bool value)
{
    if (value)
        SetCaptureControl(this);
    else if (gCaptureControl == this)
        SetCaptureControl(nullptr);
}

void TControl::Invalidate()
{
    if (FParent && FVisible) {
        TRect r = BoundsRect();
        FParent->InvalidateRect(&r, !(FControlStyle & csOpaque));
    }
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

// An opaque control paints itself and the controls above it at once, without its
// parent's background; any other control goes through its parent's pending paint.
void TControl::Repaint()
{
    if (!FParent || !FVisible || !FParent->Showing())
        return;
    if (!(FControlStyle & csOpaque)) {
        Invalidate();
        FParent->Update();
        return;
    }
    TCustomForm* form = GetParentForm();
    if (!form)
        return;
    TPoint off = FParent->FormOffset();
    plat::Region clip(plat::Rect { off.X + FLeft, off.Y + FTop, off.X + FLeft + FWidth,
        off.Y + FTop + FHeight });
    clip &= FParent->VisibleRegion();
    if (clip.Empty())
        return;
    form->PaintInto(clip, FParent, [&](plat::Dc* dc) { FParent->PaintControls(dc, this); });
}

void TControl::BringToFront()
{
    if (FParent)
        FParent->SetZOrder(this, true);
}

void TControl::SendToBack()
{
    if (FParent)
        FParent->SetZOrder(this, false);
}

LRESULT TControl::Perform(uint32_t Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m { Msg, WParam, LParam, 0 };
    WndProc(m);
    return m.Result;
}

// Without csDoubleClicks the second press of a double click is an ordinary press.
void TControl::WndProc(TMessage& Message)
{
    uint32_t& msg = Message.Msg;
    if (!(FControlStyle & csDoubleClicks)
        && (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK))
        msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)
        FControlState |= csLButtonDown;
    else if (msg == WM_LBUTTONUP)
        FControlState &= ~csLButtonDown;
    Dispatch(Message);
}

void TControl::DefaultHandler(TMessage&) { }

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT: WMPaint(m); break;
    case WM_ERASEBKGND: WMEraseBkgnd(m); break;
    case WM_MOVE: WMMove(m); break;
    case WM_SIZE: WMSize(m); break;
    case WM_TIMER: WMTimer(m); break;
    case WM_SETFOCUS: WMSetFocus(m); break;
    case WM_KILLFOCUS: WMKillFocus(m); break;
    case WM_GETDLGCODE: WMGetDlgCode(m); break;
    case WM_CANCELMODE: WMCancelMode(m); break;
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case WM_LBUTTONDOWN: WMLButtonDown(m); break;
    case WM_LBUTTONUP: WMLButtonUp(m); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); break;
    case WM_RBUTTONDOWN: WMRButtonDown(m); break;
    case WM_RBUTTONUP: WMRButtonUp(m); break;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(m); break;
    case WM_MBUTTONDOWN: WMMButtonDown(m); break;
    case WM_MBUTTONUP: WMMButtonUp(m); break;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(m); break;
    case WM_KEYDOWN: WMKeyDown(m); break;
    case WM_KEYUP: WMKeyUp(m); break;
    case WM_CHAR: WMChar(m); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_TEXTCHANGED: CMTextChanged(m); break;
    case CM_FONTCHANGED: CMFontChanged(m); break;
    case CM_COLORCHANGED: CMColorChanged(m); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); break;
    case CM_DIALOGCHAR: CMDialogChar(m); break;
    case CM_DIALOGKEY: CMDialogKey(m); break;
    case CM_BUTTONPRESSED: CMButtonPressed(m); break;
    case CM_FOCUSCHANGED: CMFocusChanged(m); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); break;
    case CM_HITTEST: CMHitTest(m); break;
    case CM_ENTER: CMEnter(m); break;
    case CM_EXIT: CMExit(m); break;
    default: DefaultHandler(m); break;
    }
}

void TControl::WMPaint(TMessage& m) { DefaultHandler(m); }
void TControl::WMEraseBkgnd(TMessage& m) { DefaultHandler(m); }
void TControl::WMMove(TMessage& m) { DefaultHandler(m); }

void TControl::WMSize(TMessage& m)
{
    DefaultHandler(m);
    Resize();
}

void TControl::WMTimer(TMessage& m) { DefaultHandler(m); }
void TControl::WMSetFocus(TMessage& m) { DefaultHandler(m); }
void TControl::WMKillFocus(TMessage& m) { DefaultHandler(m); }
void TControl::WMGetDlgCode(TMessage& m) { DefaultHandler(m); }
void TControl::WMCancelMode(TMessage& m) { DefaultHandler(m); }
void TControl::WMKeyDown(TMessage& m) { DefaultHandler(m); }
void TControl::WMKeyUp(TMessage& m) { DefaultHandler(m); }
void TControl::WMChar(TMessage& m) { DefaultHandler(m); }
void TControl::CMMouseEnter(TMessage& m) { DefaultHandler(m); }
void TControl::CMMouseLeave(TMessage& m) { DefaultHandler(m); }
void TControl::CMDialogChar(TMessage& m) { DefaultHandler(m); }
void TControl::CMDialogKey(TMessage& m) { DefaultHandler(m); }
void TControl::CMButtonPressed(TMessage& m) { DefaultHandler(m); }
void TControl::CMFocusChanged(TMessage& m) { DefaultHandler(m); }
void TControl::CMHitTest(TMessage& m) { m.Result = 1; }
void TControl::CMEnter(TMessage& m) { DefaultHandler(m); }
void TControl::CMExit(TMessage& m) { DefaultHandler(m); }
void TControl::CMVisibleChanged(TMessage& m) { DefaultHandler(m); }

void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage&)
{
    if (FParentColor && FParent) {
        SetColor(FParent->Color());
        FParentColor = true;
    }
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (FParentFont && FParent) {
        FFont->Assign(FParent->Font());
        FParentFont = true;
    }
}

void TControl::WMMouseMove(TMessage& m)
{
    if (!(FControlStyle & csNoStdEvents))
        MouseMove(KeysToShiftState(m.WParam), MouseX(m.LParam), MouseY(m.LParam));
}

void TControl::WMLButtonDown(TMessage& m)
{
    if (FControlStyle & csCaptureMouse)
        SetMouseCapture(true);
    if (FControlStyle & csClickEvents)
        FControlState |= csClicked;
    DoMouseDown(m, mbLeft, 0);
}

// The second press of a double click calls DblClick instead of arming a click.
void TControl::WMLButtonDblClk(TMessage& m)
{
    if (FControlStyle & csCaptureMouse)
        SetMouseCapture(true);
    auto alive = FAlive;
    if (FControlStyle & csClickEvents)
        DblClick();
    if (*alive)
        DoMouseDown(m, mbLeft, ssDouble);
}

// The release first ends the capture, then clicks when the press armed a click and the
// pointer is still inside, then reports the release.
void TControl::WMLButtonUp(TMessage& m)
{
    if (FControlStyle & csCaptureMouse)
        SetMouseCapture(false);
    auto alive = FAlive;
    if (FControlState & csClicked) {
        FControlState &= ~csClicked;
        if (PtInRect(ClientRect(), Point(MouseX(m.LParam), MouseY(m.LParam))))
            Click();
    }
    if (*alive)
        DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonDown(TMessage& m) { DoMouseDown(m, mbRight, 0); }
void TControl::WMRButtonUp(TMessage& m) { DoMouseUp(m, mbRight); }
void TControl::WMRButtonDblClk(TMessage& m) { DoMouseDown(m, mbRight, ssDouble); }
void TControl::WMMButtonDown(TMessage& m) { DoMouseDown(m, mbMiddle, 0); }
void TControl::WMMButtonUp(TMessage& m) { DoMouseUp(m, mbMiddle); }
void TControl::WMMButtonDblClk(TMessage& m) { DoMouseDown(m, mbMiddle, ssDouble); }

void TControl::DoMouseDown(TMessage& m, TMouseButton Button, TShiftState Shift)
{
    if (!(FControlStyle & csNoStdEvents))
        MouseDown(Button, KeysToShiftState(m.WParam) | Shift, MouseX(m.LParam), MouseY(m.LParam));
}

void TControl::DoMouseUp(TMessage& m, TMouseButton Button)
{
    if (!(FControlStyle & csNoStdEvents))
        MouseUp(Button, KeysToShiftState(m.WParam), MouseX(m.LParam), MouseY(m.LParam));
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (FParent) {
        if (FParentColor)
            Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (FParentFont)
            Perform(CM_PARENTFONTCHANGED, 0, 0);
    }
}

namespace {

const std::vector<std::string> AlignNames = { "alNone", "alTop", "alBottom", "alLeft",
    "alRight", "alClient" };
const std::vector<std::string> AnchorNames = { "akLeft", "akTop", "akRight", "akBottom" };

bool IsForm(TControl* c) { return dynamic_cast<TCustomForm*>(c) != nullptr; }

} // namespace

// Forms store their client size instead of their outer size.
BEGIN_PROPERTIES(TControl, TComponent)
    .Int("Left", &TControl::Left, &TControl::SetLeft)
    .Int("Top", &TControl::Top, &TControl::SetTop)
    .Int("Width", &TControl::Width, &TControl::SetWidth).Stored([](TControl* c) { return !IsForm(c); })
    .Int("Height", &TControl::Height, &TControl::SetHeight).Stored([](TControl* c) { return !IsForm(c); })
    .Enum("Align", &TControl::Align, &TControl::SetAlign, AlignNames).Default(alNone)
    .Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorNames).Default(akLeft | akTop)
    .String("Caption", &TControl::Caption, &TControl::SetCaption)
    .Color("Color", &TControl::Color, &TControl::SetColor).Stored([](TControl* c) { return !c->ParentColor(); })
    .Int("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault)
    .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true)
    .Object("Font", &TControl::Font).Stored([](TControl* c) { return !c->ParentFont(); })
    .String("Hint", &TControl::Hint, &TControl::SetHint)
    .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true)
    .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true)
    .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true)
    .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false)
    .Bool("Visible", &TControl::Visible, &TControl::SetVisible).Default(true)
        .Stored([](TControl* c) { return !IsForm(c); })
    .Event("OnClick", &TControl::OnClick)
    .Event("OnDblClick", &TControl::OnDblClick)
    .Event("OnMouseDown", &TControl::OnMouseDown)
    .Event("OnMouseMove", &TControl::OnMouseMove)
    .Event("OnMouseUp", &TControl::OnMouseUp)
    .Event("OnResize", &TControl::OnResize)
END_PROPERTIES

bool IsAccel(WPARAM ch, const std::string& caption)
{
    auto upper = [](unsigned c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return ch != 0 && upper(uint8_t(caption[i + 1])) == upper(unsigned(ch & 0xFF));
    }
    return false;
}
