#include "framework/controls/WinControl.h"

#include "framework/controls/Form.h"
#include "platform/raster/Dc.h"
#include "platform/window/WindowSystem.h"
#include "framework/core/TypInfo.h"

#include <algorithm>

namespace {
bool IsWindowed(const TControl* c) { return c->AsWinControl() != nullptr; }
}

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner)
    , FBrush(std::make_unique<TBrush>())
{
    FAsWinControl = this;
    FBrush->SetColor(Color());
}

// Children still inside are freed with their parent, last first.
TWinControl::~TWinControl()
{
    FComponentState |= csDestroying;
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        delete c;
    }
    FAsWinControl = nullptr; // what is left is a TControl being destroyed
}

void TWinControl::InsertControl(TControl* AControl)
{
    AControl->FParent = this;
    if (IsWindowed(AControl)) {
        FControls.push_back(AControl);
        FTabOrderList.push_back(static_cast<TWinControl*>(AControl));
    } else {
        auto it = std::find_if(FControls.begin(), FControls.end(), IsWindowed);
        FControls.insert(it, AControl);
    }
    if (AControl->ParentColor())
        AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (AControl->ParentFont())
        AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (auto* w = AControl->AsWinControl()) {
        if (w->Showing())
            InvalidateFormArea(w->WindowArea(), true);
    } else {
        AControl->Invalidate();
    }
    if (AControl->Align() != alNone)
        Realign();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it == FControls.end())
        return;
    bool destroying = HasState(csDestroying);
    if (!destroying && AControl->Visible()) {
        if (auto* w = AControl->AsWinControl()) {
            if (w->Showing()) {
                plat::Region area = w->WindowArea();
                FControls.erase(it);
                InvalidateFormArea(area, true);
                it = FControls.end();
            }
        } else {
            TRect r = AControl->BoundsRect();
            InvalidateRect(&r, true);
        }
    }
    if (it != FControls.end())
        FControls.erase(it);
    FTabOrderList.erase(std::remove(FTabOrderList.begin(), FTabOrderList.end(), AControl),
        FTabOrderList.end());
    if (TCustomForm* form = GetParentForm())
        form->ControlRemoved(AControl);
    AControl->FParent = nullptr;
    if (!destroying && AControl->Align() != alNone)
        Realign();
}

bool TWinControl::ContainsControl(const TControl* AControl) const
{
    for (const TControl* c = AControl; c; c = c->Parent()) {
        if (c == this)
            return true;
    }
    return false;
}

void TWinControl::SetZOrder(TControl* AControl, bool topmost)
{
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it == FControls.end())
        return;
    FControls.erase(it);
    bool windowed = IsWindowed(AControl);
    auto firstWin = std::find_if(FControls.begin(), FControls.end(), IsWindowed);
    if (windowed)
        FControls.insert(topmost ? FControls.end() : firstWin, AControl);
    else
        FControls.insert(topmost ? firstWin : FControls.begin(), AControl);
    if (auto* w = AControl->AsWinControl()) {
        if (w->Showing())
            InvalidateFormArea(w->WindowArea(), true);
    } else {
        AControl->Invalidate();
    }
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled,
    bool allowWinControls) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        auto* w = c->AsWinControl();
        if (w && !allowWinControls)
            continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled()))
            continue;
        TPoint p { pos.X - c->Left(), pos.Y - c->Top() };
        if (!PtInRect(Rect(0, 0, c->Width(), c->Height()), p))
            continue;
        if (w && w->WindowRgn() && !w->WindowRgn()->Contains(p.X, p.Y))
            continue;
        if (c->Perform(CM_HITTEST, 0, MakeMouseLParam(p.X, p.Y)) != 0)
            return c;
    }
    return nullptr;
}

bool TWinControl::HandleAllocated() const { return GetParentForm() != nullptr; }

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->FTabOrderList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!Parent())
        return;
    auto& list = Parent()->FTabOrderList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    value = std::clamp(value, 0, int(list.size()));
    list.insert(list.begin() + value, this);
}

bool TWinControl::CanFocus() const
{
    TCustomForm* form = GetParentForm();
    if (!form)
        return false;
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled())
            return false;
    }
    return true;
}

bool TWinControl::Focused() const
{
    TCustomForm* form = GetParentForm();
    return form && form->FocusedControl() == this;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm())
        form->FocusControl(this);
}

void TWinControl::AddTabList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* w : FTabOrderList) {
        list.push_back(w);
        w->AddTabList(list);
    }
}

std::vector<TWinControl*> TWinControl::TabList() const
{
    std::vector<TWinControl*> list;
    AddTabList(list);
    return list;
}

void TWinControl::Broadcast(TMessage& Message)
{
    // A handler may change the list: walk a copy and skip removed controls.
    std::vector<TControl*> copy = FControls;
    for (TControl* c : copy) {
        if (!ContainsControl(c) || c == this)
            continue;
        c->WndProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(uint32_t Msg)
{
    TMessage m { Msg, 0, 0, 0 };
    std::vector<TControl*> copy = FControls;
    for (TControl* c : copy) {
        if (ContainsControl(c) && c != this)
            c->WndProc(m);
    }
}

void TWinControl::GetChildren(std::function<void(TComponent*)> proc, TComponent* root)
{
    for (TControl* c : FControls) {
        if (c->Owner() == root)
            proc(c);
    }
    if (root == this)
        TControl::GetChildren(proc, root);
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0)
        Realign();
}

// While a description is read, children arrive one by one with their final bounds; they
// are aligned once, in Loaded, when all of them are there.
void TWinControl::Realign()
{
    if (FAlignLevel > 0 || FAligning || HasState(csLoading))
        return;
    TRect r = ClientRect();
    AdjustClientRect(r);
    FAligning = true;
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    Realign();
}

// Aligned children take their edge of the remaining rectangle in the order top, bottom,
// left, right, then client; children of one kind go in stacking order.
void TWinControl::AlignControls(TControl*, TRect& r)
{
    for (TAlign a : { alTop, alBottom, alLeft, alRight, alClient }) {
        std::vector<TControl*> list;
        for (TControl* c : FControls) {
            if (c->Align() == a && c->Visible())
                list.push_back(c);
        }
        auto key = [a](TControl* c) {
            switch (a) {
            case alTop: return c->Top();
            case alBottom: return -(c->Top() + c->Height());
            case alLeft: return c->Left();
            case alRight: return -(c->Left() + c->Width());
            default: return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(),
            [&](TControl* x, TControl* y) { return key(x) < key(y); });
        for (TControl* c : list) {
            int w = r.Width(), h = r.Height();
            switch (a) {
            case alTop:
                c->SetBounds(r.Left, r.Top, w, c->Height());
                r.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(r.Left, r.Bottom - c->Height(), w, c->Height());
                r.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(r.Left, r.Top, c->Width(), h);
                r.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), h);
                r.Right -= c->Width();
                break;
            default:
                c->SetBounds(r.Left, r.Top, w, h);
                break;
            }
        }
    }
}

// Moving or resizing the window repaints what it uncovered and all of its new area; a
// new size moves anchored children and realigns the aligned ones.
void TWinControl::BoundsChanged(const TRect& oldBounds)
{
    if (Parent() && Visible() && Showing()) {
        TPoint po = Parent()->FormOffset();
        TRect old = oldBounds;
        OffsetRect(old, po.X, po.Y);
        plat::Region before(plat::Rect { old.Left, old.Top, old.Right, old.Bottom });
        if (FWindowRgn) {
            plat::Region s = *FWindowRgn;
            s.Offset(old.Left, old.Top);
            before &= s;
        }
        before &= Parent()->WindowArea();
        plat::Region after = WindowArea();
        before -= after;
        if (TCustomForm* form = GetParentForm()) {
            form->InvalidateFormArea(before, true);
            InvalidateFormArea(after, true);
        }
    }
    int dw = Width() - oldBounds.Width(), dh = Height() - oldBounds.Height();
    if (dw != 0 || dh != 0) {
        std::vector<TControl*> copy = FControls;
        for (TControl* c : copy) {
            if (ContainsControl(c) && !c->HasState(csLoading))
                c->AdjustForParentResize(dw, dh);
        }
        Realign();
    }
}

void TWinControl::UpdateVisibility(bool value)
{
    TCustomForm* form = GetParentForm();
    plat::Region before = Showing() ? WindowArea() : plat::Region();
    if (!value && form && ContainsControl(form->FocusedControl()))
        form->FocusControl(nullptr);
    FVisible = value;
    plat::Region after = Showing() ? WindowArea() : plat::Region();
    if (form && form != this) {
        before |= after;
        form->InvalidateFormArea(before, true);
    }
}

// Mouse messages of graphic children arrive at their parent first: the child holding the
// capture, else the topmost enabled one under the pointer, gets them in its coordinates.
bool TWinControl::IsControlMouseMsg(TMessage& Message)
{
    if (Message.Msg < WM_MOUSEMOVE || Message.Msg > WM_MBUTTONDBLCLK)
        return false;
    TControl* target = nullptr;
    TControl* capture = GetCaptureControl();
    if (capture) {
        if (capture->Parent() == this && !IsWindowed(capture))
            target = capture;
    } else {
        target = ControlAtPos(Point(MouseX(Message.LParam), MouseY(Message.LParam)), false);
    }
    if (!target)
        return false;
    LPARAM l = MakeMouseLParam(MouseX(Message.LParam) - target->Left(),
        MouseY(Message.LParam) - target->Top());
    Message.Result = target->Perform(Message.Msg, Message.WParam, l);
    return true;
}

void TWinControl::WndProc(TMessage& Message)
{
    if (IsControlMouseMsg(Message))
        return;
    TControl::WndProc(Message);
}

// The handler runs from a copy: it may replace itself (a drag that hooked the key ends).
void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (const TKeyEvent handler = OnKeyDown)
        handler(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

// Key messages: WParam holds the key (and comes back 0 when a handler consumed it),
// LParam the shift state.
void TWinControl::WMKeyDown(TMessage& Message)
{
    uint16_t key = uint16_t(Message.WParam);
    KeyDown(key, TShiftState(Message.LParam));
    Message.WParam = key;
}

void TWinControl::WMKeyUp(TMessage& Message)
{
    uint16_t key = uint16_t(Message.WParam);
    KeyUp(key, TShiftState(Message.LParam));
    Message.WParam = key;
}

void TWinControl::WMChar(TMessage& Message)
{
    char ch = char(Message.WParam);
    KeyPress(ch);
    Message.WParam = uint8_t(ch);
}

void TWinControl::WMSetFocus(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }

// Every control hears of a focus change, whatever the others answer.
void TWinControl::CMFocusChanged(TMessage& Message)
{
    std::vector<TControl*> copy = FControls;
    for (TControl* c : copy) {
        if (ContainsControl(c) && c != this) {
            TMessage m { Message.Msg, Message.WParam, Message.LParam, 0 };
            c->WndProc(m);
        }
    }
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::CMColorChanged(TMessage& Message)
{
    FBrush->SetColor(Color());
    TControl::CMColorChanged(Message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message)
{
    TControl::CMFontChanged(Message);
    NotifyControls(CM_PARENTFONTCHANGED);
}

TPoint GetCursorPos()
{
    plat::WindowSystem* ws = plat::CurrentWindowSystem();
    if (!ws)
        return {};
    plat::Point p = ws->CursorPos();
    return { p.x, p.y };
}

namespace {
bool IsForm(TWinControl* c) { return dynamic_cast<TCustomForm*>(c) != nullptr; }
} // namespace

void TWinControl::RecreateWnd()
{
    ++FRecreateCount;
    Realign();
    Invalidate();
}

BEGIN_PROPERTIES(TWinControl, TControl)
    .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Stored([](TWinControl* c) { return !IsForm(c); })
    .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false)
    .Event("OnEnter", &TWinControl::OnEnter)
    .Event("OnExit", &TWinControl::OnExit)
    .Event("OnKeyDown", &TWinControl::OnKeyDown)
    .Event("OnKeyPress", &TWinControl::OnKeyPress)
    .Event("OnKeyUp", &TWinControl::OnKeyUp)
END_PROPERTIES
