#include "framework/controls/Form.h"

#include "framework/controls/Application.h"
#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "platform/raster/Dc.h"
#include "framework/core/TypInfo.h"

#include <algorithm>

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner)
{
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption
        | csDoubleClicks;
    FVisible = false;
    SetParentColor(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    if (Application)
        Application->FormCreated(this);
    if (plat::CurrentWindowSystem())
        CreateWindowHandle();
}

TCustomForm::TCustomForm(TComponent* AOwner, const std::string& description)
    : TCustomForm(AOwner)
{
    InitInheritedComponent(description);
}

TCustomForm::~TCustomForm()
{
    // A handler bound to this form's own (derived) class cannot run any more: the derived
    // part is gone. Forms freed by the application, by Release or after their own
    // destructor called BeforeDestruction have run it already.
    if (!FDestroyCalled && OnDestroy.Data() != static_cast<void*>(this))
        BeforeDestruction();
    FDestroyCalled = true;
    if (GetCaptureControl() && GetCaptureControl()->GetParentForm() == this)
        SetCaptureControl(nullptr);
    if (Application)
        Application->FormDestroying(this);
    // The controls go while the form is still a form, so that they can detach cleanly.
    FComponentState |= csDestroying;
    while (ControlCount() > 0) {
        TControl* c = Controls(ControlCount() - 1);
        RemoveControl(c);
        delete c;
    }
    DestroyWindowHandle();
}

void TCustomForm::InitInheritedComponent(const std::string& description)
{
    ReadComponentRes(description, this);
    DoCreate();
}

void TCustomForm::BeforeDestruction()
{
    if (FDestroyCalled)
        return;
    FDestroyCalled = true;
    DoDestroy();
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoDestroy()
{
    if (OnDestroy)
        OnDestroy(this);
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

// A modal form only sets its result; the modal loop does the rest. Closing the main form
// ends the application.
void TCustomForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide || action == caMinimize)
        Hide();
    else
        Release();
}

void TCustomForm::Release()
{
    if (Application)
        Application->ReleaseForm(this);
}

int TCustomForm::ShowModal()
{
    if (Visible() || FModal)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (!Application)
        throw EInvalidOperation("No application");
    CancelMouseCapture();
    FModal = true;
    FModalResult = mrNone;
    Application->BeginModal(this);
    try {
        Show();
        while (true) {
            Application->HandleMessage();
            if (Application->Terminated() && FModalResult == mrNone)
                FModalResult = mrCancel;
            if (FModalResult == mrNone)
                continue;
            TCloseAction action = caHide;
            if (!CloseQuery()) {
                FModalResult = mrNone;
                continue;
            }
            DoClose(action);
            if (action == caNone && !Application->Terminated()) {
                FModalResult = mrNone;
                continue;
            }
            break;
        }
    } catch (...) {
        FModal = false;
        Application->EndModal(this);
        Hide();
        throw;
    }
    FModal = false;
    Application->EndModal(this);
    Hide();
    return FModalResult;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    // The same window takes or loses its frame: a form read from its description is not
    // made twice.
    if (FWindow && FWindowSystem) {
        FWindowSystem->SetWindowBorderless(FWindow, value == bsNone);
        InvalidateFormArea(WindowArea(), true);
    }
}

void TCustomForm::SetPosition(TPosition value)
{
    if (value == FPosition)
        return;
    FPosition = value;
    if (value == poScreenCenter && plat::CurrentWindowSystem()) {
        plat::Rect s = plat::CurrentWindowSystem()->ScreenBounds();
        SetBounds(s.left + (int(s.Width()) - Width()) / 2, s.top + (int(s.Height()) - Height()) / 2,
            Width(), Height());
    }
}

void TCustomForm::CreateWindowHandle()
{
    FWindowSystem = plat::CurrentWindowSystem();
    if (!FWindowSystem)
        return;
    plat::WindowParams params;
    params.bounds = { Left(), Top(), Left() + Width(), Top() + Height() };
    params.title = WindowTitle();
    params.borderless = FBorderStyle == bsNone;
    FWindow = FWindowSystem->CreateWindow(params);
    if (FWindow)
        FWindowSystem->SetDragAreaQuery(FWindow, [this](plat::Point p) { return DragAreaAt(p.x, p.y); });
}

void TCustomForm::DestroyWindowHandle()
{
    // A window system that was replaced or removed no longer knows the window.
    if (FWindow && FWindowSystem && plat::CurrentWindowSystem() == FWindowSystem)
        FWindowSystem->DestroyWindow(FWindow);
    FWindow = 0;
    FWindowSystem = nullptr;
}

// Showing paints the whole form before the window appears; the outer size equals the
// client size, the decoration being the window system's.
void TCustomForm::UpdateVisibility(bool value)
{
    if (value) {
        DoShow();
        if (!FWindow)
            CreateWindowHandle();
        FVisible = true;
        InvalidateFormArea(WindowArea(), true);
        if (Application)
            Application->PaintAndPresent(this);
        if (FWindow && FWindowSystem)
            FWindowSystem->ShowWindow(FWindow, true);
        // The active control takes the focus, else the first one in tab order.
        if (!FFocused) {
            TWinControl* first = FActiveControl && FActiveControl->CanFocus()
                ? FActiveControl
                : FindNextControl(nullptr, true, true);
            if (first)
                FocusControl(first);
        }
    } else {
        CancelMouseCapture();
        FVisible = false;
        if (FWindow && FWindowSystem)
            FWindowSystem->ShowWindow(FWindow, false);
        DoHide();
    }
}

plat::Surface& TCustomForm::SizedFramebuffer()
{
    if (Width() != FFramebuffer.Width() || Height() != FFramebuffer.Height()) {
        FFramebuffer.Resize(Width(), Height());
        FPresentRgn &= plat::Region(FFramebuffer.Bounds());
    }
    return FFramebuffer;
}

void TCustomForm::BoundsChanged(const TRect& oldBounds)
{
    if (FWindow && FWindowSystem)
        FWindowSystem->SetWindowBounds(FWindow,
            { Left(), Top(), Left() + Width(), Top() + Height() });
    if (Width() != oldBounds.Width() || Height() != oldBounds.Height()) {
        InvalidateFormArea(WindowArea(), true);
        TWinControl::BoundsChanged(oldBounds);
    }
}

void TCustomForm::CMTextChanged(TMessage&)
{
    if (FWindow && FWindowSystem)
        FWindowSystem->SetWindowTitle(FWindow, WindowTitle());
}

// A form without a caption still has a name on the desktop (task bars, switchers): the
// application's title.
std::string TCustomForm::WindowTitle() const
{
    return Caption().empty() && Application ? Application->Title() : Caption();
}

// A character nobody used goes to every control until one takes it.
void TCustomForm::CMDialogChar(TMessage& Message) { Broadcast(Message); }

void TCustomForm::PaintInto(const plat::Region& deviceClip, TWinControl* window,
    const std::function<void(plat::Dc*)>& paint)
{
    if (deviceClip.Empty() || SizedFramebuffer().Empty())
        return;
    if (FPaintDepth == FPaintDcs.size())
        FPaintDcs.push_back(std::make_unique<plat::Dc>());
    plat::Dc& dc = *FPaintDcs[FPaintDepth];
    // The level is left however the paint ends.
    struct Level {
        size_t& depth;
        ~Level() { --depth; }
    } level { ++FPaintDepth };
    dc.Reset(&FFramebuffer);
    dc.SetBaseClip(deviceClip);
    TPoint o = window->FormOffset();
    dc.SetOrigin({ o.X, o.Y });
    FPresentRgn |= deviceClip;
    window->FPaintedPixels += deviceClip.Area();
    paint(&dc);
    for (const TRect& r : FInvertOverlays) {
        dc.Reset(&FFramebuffer);
        dc.SetBaseClip(deviceClip);
        dc.InvertRect({ r.Left, r.Top, r.Right, r.Bottom });
    }
}

void TCustomForm::ToggleInvertOverlay(const TRect& r)
{
    if (r.IsEmpty())
        return;
    auto it = std::find(FInvertOverlays.begin(), FInvertOverlays.end(), r);
    if (it != FInvertOverlays.end())
        FInvertOverlays.erase(it);
    else
        FInvertOverlays.push_back(r);
    if (SizedFramebuffer().Empty())
        return;
    plat::Region area(plat::Rect { r.Left, r.Top, r.Right, r.Bottom });
    area &= plat::Region(FFramebuffer.Bounds());
    plat::Dc dc(&FFramebuffer);
    dc.SetBaseClip(area);
    dc.InvertRect({ r.Left, r.Top, r.Right, r.Bottom });
    FPresentRgn |= area;
}

bool TCustomForm::HasInvertOverlay(const TRect& r) const
{
    return std::find(FInvertOverlays.begin(), FInvertOverlays.end(), r) != FInvertOverlays.end();
}

void TCustomForm::PresentChanges()
{
    if (FPresentRgn.Empty())
        return;
    if (FWindow && FWindowSystem && Visible() && plat::CurrentWindowSystem() == FWindowSystem)
        FWindowSystem->Present(FWindow, SizedFramebuffer(), FPresentRgn);
    FPresentRgn.Clear();
}

void TCustomForm::SetActiveControl(TWinControl* value)
{
    if (value == FActiveControl)
        return;
    if (value && (!ContainsControl(value) || value == this))
        throw EInvalidOperation("Cannot focus a control that is not on this form");
    FocusControl(value);
    FActiveControl = value;
}

// The old control hears it lost the focus and left, every control hears of the change,
// then the new one hears it entered and has the focus.
void TCustomForm::FocusControl(TWinControl* control)
{
    if (control == this)
        control = nullptr;
    if (control && !control->CanFocus())
        return;
    if (control == FFocused)
        return;
    TWinControl* old = FFocused;
    FFocused = control;
    FActiveControl = control;
    if (old) {
        auto alive = old->AliveToken();
        old->Perform(WM_KILLFOCUS, WPARAM(control), 0);
        if (*alive)
            old->Perform(CM_EXIT, 0, 0);
    }
    if (FFocused != control)
        return;
    Perform(CM_FOCUSCHANGED, 0, LPARAM(control));
    if (control && FFocused == control) {
        auto alive = control->AliveToken();
        control->Perform(CM_ENTER, 0, 0);
        if (*alive && FFocused == control)
            control->Perform(WM_SETFOCUS, WPARAM(old), 0);
    }
}

TWinControl* TCustomForm::FindNextControl(TWinControl* current, bool forward,
    bool checkTabStop) const
{
    std::vector<TWinControl*> list = TabList();
    if (list.empty())
        return nullptr;
    int n = int(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i) {
        if (list[size_t(i)] == current)
            start = i;
    }
    if (start < 0)
        start = forward ? n - 1 : 0;
    int i = start;
    for (int k = 0; k < n; ++k) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[size_t(i)];
        if ((!checkTabStop || c->TabStop()) && c->CanFocus())
            return c;
    }
    return nullptr;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop))
        FocusControl(next);
}

void TCustomForm::ControlRemoved(TControl* control)
{
    auto inside = [control](TControl* c) {
        for (; c; c = c->Parent()) {
            if (c == control)
                return true;
        }
        return false;
    };
    if (inside(FPopup))
        FPopup = nullptr;
    if (inside(FFocused)) {
        FFocused = nullptr;
        FActiveControl = nullptr;
    }
    if (inside(FActiveControl))
        FActiveControl = nullptr;
    if (inside(FMouseControl))
        FMouseControl = nullptr;
    if (inside(GetCaptureControl()))
        SetCaptureControl(nullptr);
}

const std::vector<std::string>& BorderStyleNames()
{
    static const std::vector<std::string> names = { "bsNone", "bsSingle", "bsSizeable",
        "bsDialog", "bsToolWindow", "bsSizeToolWin" };
    return names;
}

BEGIN_PROPERTIES(TCustomForm, TWinControl)
    .Reference("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
    .Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
        BorderStyleNames()).Default(bsSizeable)
    .Int("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
    .Int("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
    .Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false)
    .Bool("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
    .Int("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
    .Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, { "poDesigned",
        "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter" }).Default(poDesigned)
    // Stored by some descriptions; the text height follows from the font.
    .Int("TextHeight", [](TCustomForm*) { return 0; }, [](TCustomForm*, int) { }).Stored(false)
    .Event("OnClose", &TCustomForm::OnClose)
    .Event("OnCloseQuery", &TCustomForm::OnCloseQuery)
    .Event("OnCreate", &TCustomForm::OnCreate)
    .Event("OnDestroy", &TCustomForm::OnDestroy)
    .Event("OnHide", &TCustomForm::OnHide)
    .Event("OnShow", &TCustomForm::OnShow)
END_PROPERTIES
BEGIN_PROPERTIES(TForm, TCustomForm)
END_PROPERTIES
