// Input routing of a form: mouse messages with capture and hit testing, mouse enter and
// leave, the cursor, keys to the focused control, dialog characters.
#include "framework/controls/Application.h"
#include "framework/controls/Form.h"

namespace {

WPARAM KeysOf(uint32_t mods)
{
    WPARAM k = 0;
    if (mods & plat::mod::Shift)
        k |= MK_SHIFT;
    if (mods & plat::mod::Ctrl)
        k |= MK_CONTROL;
    if (mods & plat::mod::Alt)
        k |= MK_ALT;
    if (mods & plat::mod::Left)
        k |= MK_LBUTTON;
    if (mods & plat::mod::Right)
        k |= MK_RBUTTON;
    if (mods & plat::mod::Middle)
        k |= MK_MBUTTON;
    return k;
}

TShiftState ShiftOf(uint32_t mods) { return KeysToShiftState(KeysOf(mods)); }

uint32_t ButtonBit(plat::MouseButton b)
{
    switch (b) {
    case plat::MouseButton::Right: return MK_RBUTTON;
    case plat::MouseButton::Middle: return MK_MBUTTON;
    default: return MK_LBUTTON;
    }
}

uint32_t DownMessage(plat::MouseButton b, bool dbl)
{
    uint32_t base = b == plat::MouseButton::Right ? WM_RBUTTONDOWN
        : b == plat::MouseButton::Middle          ? WM_MBUTTONDOWN
                                                  : WM_LBUTTONDOWN;
    return dbl ? base + 2 : base;
}

uint32_t UpMessage(plat::MouseButton b) { return DownMessage(b, false) + 1; }

plat::Cursor PlatCursor(TCursor c)
{
    switch (c) {
    case crHandPoint: return plat::Cursor::Hand;
    case crIBeam: return plat::Cursor::IBeam;
    case crHourGlass:
    case crAppStart: return plat::Cursor::Wait;
    case crCross: return plat::Cursor::Cross;
    case crSizeAll: return plat::Cursor::SizeAll;
    case crSizeNS:
    case crVSplit: return plat::Cursor::SizeNS;
    case crSizeWE:
    case crHSplit: return plat::Cursor::SizeWE;
    case crNo:
    case crNoDrop: return plat::Cursor::No;
    default: return plat::Cursor::Arrow;
    }
}

bool EnabledChain(const TControl* c)
{
    for (; c; c = c->Parent()) {
        if (!c->Enabled())
            return false;
    }
    return true;
}

} // namespace

void TCustomForm::HandleEvent(const plat::Event& e)
{
    using T = plat::Event::Type;
    switch (e.type) {
    case T::MouseMove:
    case T::MouseDown:
    case T::MouseUp:
        MouseEvent(e);
        break;
    case T::MouseLeave:
        TrackMouseControl(nullptr);
        break;
    case T::MouseWheel: {
        // The window under the pointer turns first; one that does not use the wheel
        // (Result 0) hands it to its parent.
        WPARAM w = KeysOf(e.mods) | (WPARAM(uint16_t(int16_t(e.wheel))) << 16);
        for (TWinControl* t = WindowAt(e.x, e.y); t; t = t->Parent()) {
            if (!EnabledChain(t))
                continue;
            TPoint o = t->FormOffset();
            if (t->Perform(WM_MOUSEWHEEL, w, MakeMouseLParam(e.x - o.X, e.y - o.Y)) != 0)
                break;
        }
        break;
    }
    case T::KeyDown:
    case T::KeyUp:
        KeyEvent(e);
        break;
    case T::Char:
        CharEvent(e);
        break;
    case T::Close:
        Close();
        break;
    case T::Expose: {
        plat::Region area(e.area);
        InvalidateFormArea(area, true);
        AddPresent(area);
        break;
    }
    case T::FocusOut:
        CancelMouseCapture();
        CancelPopup();
        break;
    case T::Moved:
        if (e.x != Left() || e.y != Top()) {
            // The window is already there: record the place without moving it again.
            plat::WindowSystem* ws = FWindowSystem;
            FWindowSystem = nullptr;
            SetBounds(e.x, e.y, Width(), Height());
            FWindowSystem = ws;
        }
        break;
    default:
        break;
    }
}

TWinControl* TCustomForm::WindowAt(int x, int y) const
{
    const TWinControl* w = this;
    TPoint p { x, y };
    for (bool found = true; found;) {
        found = false;
        for (int i = w->ControlCount() - 1; i >= 0; --i) {
            auto* c = w->Controls(i)->AsWinControl();
            if (!c || !c->Visible())
                continue;
            TPoint q { p.X - c->Left(), p.Y - c->Top() };
            if (!PtInRect(Rect(0, 0, c->Width(), c->Height()), q))
                continue;
            if (c->WindowRgn() && !c->WindowRgn()->Contains(q.X, q.Y))
                continue;
            w = c;
            p = q;
            found = true;
            break;
        }
    }
    return const_cast<TWinControl*>(w);
}

TControl* TCustomForm::ControlUnder(int x, int y) const
{
    TWinControl* w = WindowAt(x, y);
    TPoint o = w->FormOffset();
    if (TControl* g = w->ControlAtPos(Point(x - o.X, y - o.Y), false))
        return g;
    return w;
}

bool TCustomForm::DragAreaAt(int x, int y) const
{
    // A press must reach the program while it tracks the mouse or has a list dropped.
    if (GetCaptureControl() || FPopup)
        return false;
    TControl* c = ControlUnder(x, y);
    if (!c || !c->DragsWindow())
        return false;
    TWinControl* w = c->AsWinControl() ? c->AsWinControl() : c->Parent();
    return w && EnabledChain(w) && c->Enabled();
}

void TCustomForm::CancelPopup()
{
    TWinControl* popup = FPopup;
    FPopup = nullptr;
    if (popup)
        popup->Perform(WM_CANCELMODE, 0, 0);
}

void TCustomForm::TrackMouseControl(TControl* control)
{
    if (control == FMouseControl)
        return;
    TControl* old = FMouseControl;
    FMouseControl = control;
    if (old)
        old->Perform(CM_MOUSELEAVE, 0, 0);
    if (control && FMouseControl == control)
        control->Perform(CM_MOUSEENTER, 0, 0);
}

// The pointer's control, or the one holding the capture, decides the cursor; crDefault
// takes the parent's.
void TCustomForm::UpdateCursor()
{
    if (!FWindowSystem || !Visible())
        return;
    TControl* c = GetCaptureControl();
    if (!c || c->GetParentForm() != this)
        c = FMouseControl;
    TCursor cursor = crDefault;
    for (; c && cursor == crDefault; c = c->Parent())
        cursor = c->Cursor();
    FWindowSystem->SetCursor(PlatCursor(cursor));
}

// Mouse messages go to the window under the pointer, or to the one holding the capture,
// in its client coordinates; a graphic child under the pointer gets them through it.
// A disabled window takes the press without acting on it.
void TCustomForm::MouseEvent(const plat::Event& e)
{
    using T = plat::Event::Type;
    FMousePos = { e.x, e.y };
    if (e.type == T::MouseDown)
        FButtons |= ButtonBit(e.button);
    else if (e.type == T::MouseUp)
        FButtons &= ~ButtonBit(e.button);
    if (e.type == T::MouseDown && FPopup) {
        TPoint o = FPopup->FormOffset();
        if (!PtInRect(Rect(o.X, o.Y, o.X + FPopup->Width(), o.Y + FPopup->Height()),
                Point(e.x, e.y))) {
            CancelPopup();
            FSwallowRelease = true;
            return;
        }
    }
    if (e.type == T::MouseUp && FSwallowRelease) {
        FSwallowRelease = FButtons != 0;
        return;
    }

    TControl* capture = GetCaptureControl();
    if (capture && capture->GetParentForm() != this)
        capture = nullptr;
    TrackMouseControl(ControlUnder(e.x, e.y));

    TWinControl* target;
    if (capture)
        target = capture->AsWinControl() ? capture->AsWinControl() : capture->Parent();
    else
        target = WindowAt(e.x, e.y);
    if (!target || !EnabledChain(target)) {
        UpdateCursor();
        return;
    }
    uint32_t msg = e.type == T::MouseMove ? WM_MOUSEMOVE
        : e.type == T::MouseDown          ? DownMessage(e.button, e.clicks >= 2)
                                          : UpMessage(e.button);
    TPoint o = target->FormOffset();
    uint32_t mods = e.mods;
    if (e.type == T::MouseDown)
        mods |= e.button == plat::MouseButton::Left ? plat::mod::Left
            : e.button == plat::MouseButton::Right  ? plat::mod::Right
                                                    : plat::mod::Middle;
    // A handler may run a modal loop in which this form is destroyed.
    auto alive = AliveToken();
    target->Perform(msg, KeysOf(mods), MakeMouseLParam(e.x - o.X, e.y - o.Y));
    if (*alive)
        UpdateCursor();
}

void TCustomForm::CancelMouseCapture()
{
    TControl* capture = GetCaptureControl();
    if (!capture || capture->GetParentForm() != this) {
        FButtons = 0;
        return;
    }
    auto alive = capture->AliveToken();
    // The press is not completed: no click follows the release.
    capture->SetControlState(capture->ControlState() & ~csClicked);
    LPARAM outside = MakeMouseLParam(-1, -1);
    static const plat::MouseButton buttons[] = { plat::MouseButton::Left,
        plat::MouseButton::Right, plat::MouseButton::Middle };
    uint32_t held = FButtons ? FButtons : MK_LBUTTON;
    for (plat::MouseButton b : buttons) {
        if ((held & ButtonBit(b)) && *alive)
            capture->Perform(UpMessage(b), 0, outside);
    }
    FButtons = 0;
    if (*alive && GetCaptureControl() == capture)
        SetCaptureControl(nullptr);
}

// Keys go to the focused control (the form itself when none), after the form when it
// previews keys; a key down that comes back unused goes on to OnUnusedKey. Tab and
// Shift+Tab move the focus unless the control wants tabs.
void TCustomForm::KeyEvent(const plat::Event& e)
{
    bool down = e.type == plat::Event::Type::KeyDown;
    uint32_t msg = down ? WM_KEYDOWN : WM_KEYUP;
    TShiftState shift = ShiftOf(e.mods);
    WPARAM key = WPARAM(uint16_t(e.key));
    TWinControl* target = FFocused ? FFocused : this;
    if (FKeyPreview && target != this) {
        TMessage m { msg, key, LPARAM(shift), 0 };
        WndProc(m);
        key = m.WParam;
        if (key == 0)
            return;
    }
    if (down && key == WPARAM(plat::vk::Tab) && !(shift & (ssCtrl | ssAlt))) {
        bool wantsTab = FFocused && (FFocused->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
        if (!wantsTab) {
            SelectNext(FFocused, !(shift & ssShift), true);
            return;
        }
    }
    // Enter and Escape are dialog keys unless the focused control wants every key: the
    // form offers them to all its controls first, and one that acts on the key answers
    // non-zero and consumes it.
    if (down && (key == WPARAM(plat::vk::Return) || key == WPARAM(plat::vk::Escape))) {
        bool wantsAll = FFocused && (FFocused->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
        if (!wantsAll) {
            auto alive = AliveToken();
            if (Perform(CM_DIALOGKEY, key, LPARAM(shift)) != 0 || !*alive)
                return;
            if (FFocused != target && target != this)
                return;
        }
    }
    auto alive = AliveToken();
    TMessage m { msg, key, LPARAM(shift), 0 };
    target->WndProc(m);
    if (down && m.WParam != 0 && *alive && OnUnusedKey) {
        uint16_t unused = uint16_t(m.WParam);
        OnUnusedKey(this, unused, shift, e.repeat);
    }
}

// A character is offered to the form (when it previews keys), then to the focused
// control; one left unused goes to every control as a dialog character.
void TCustomForm::CharEvent(const plat::Event& e)
{
    if (e.ch == 0 || e.ch > 0xFF)
        return;
    WPARAM ch = e.ch;
    TWinControl* target = FFocused ? FFocused : this;
    auto alive = AliveToken();
    if (FKeyPreview && target != this) {
        TMessage m { WM_CHAR, ch, 0, 0 };
        WndProc(m);
        ch = m.WParam;
        if (ch == 0 || !*alive)
            return;
    }
    TMessage m { WM_CHAR, ch, 0, 0 };
    target->WndProc(m);
    if (m.WParam == 0 || !*alive)
        return;
    Perform(CM_DIALOGCHAR, m.WParam, 0);
}
