#include "framework/stdctrls/ComboBox.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

#include <algorithm>
#include <cctype>

// The dropped list: a list box inside the combo box's form that never takes the focus.
// Its highlight follows the pointer; a release over an item chooses it. Its items are
// drawn by the combo box.
class TComboListBox : public TCustomListBox {
public:
    TComboListBox(TCustomComboBox* combo)
        : TCustomListBox(nullptr)
        , FCombo(combo)
    {
        FTabStop = false;
        SetBorderStyle(bsNone);
        SetVisible(false);
    }
    // The form frees its children: the combo box must not free this list again.
    ~TComboListBox() override
    {
        if (FCombo->FList == this)
            FCombo->FList = nullptr;
    }
    const char* ClassName() const override { return "TComboListBox"; }
    bool CanFocus() const override { return false; }

protected:
    void CNDrawItem(TMessage& Message) override
    {
        auto* dis = reinterpret_cast<TDrawItemStruct*>(Message.LParam);
        // Drawn by the combo box on its canvas, in this list's context.
        PaintWithCanvas(static_cast<TControlCanvas*>(FCombo->Canvas()), dis->hDC,
            [&] { FCombo->CNDrawItem(Message); });
    }
    void Paint() override
    {
        TCustomListBox::Paint();
        Canvas()->Brush()->SetColor(clWindowFrame);
        Canvas()->FrameRect(Rect(0, 0, Width(), Height()));
    }
    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        TCustomListBox::MouseMove(Shift, X, Y);
        if (!(Shift & ssLeft)) {
            int i = ItemAtPos(Point(X, Y), true);
            if (i >= 0 && i != ItemIndex())
                SetItemIndex(i);
        }
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TCustomListBox::MouseUp(Button, Shift, X, Y);
        if (Button == mbLeft && ItemAtPos(Point(X, Y), true) >= 0)
            FCombo->CloseUp(true);
    }
    void WMCancelMode(TMessage& Message) override
    {
        TCustomListBox::WMCancelMode(Message);
        FCombo->CloseUp(false);
    }

private:
    TCustomComboBox* FCombo;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FItems(std::make_unique<TStringList>())
{
    // OnClick tells of a choice by the user, not of every release.
    FControlStyle = csCaptureMouse | csDoubleClicks | csOpaque | csFixedHeight;
    FTabStop = true;
    SetBounds(0, 0, 145, 0);
    SetColor(clWindow);
    FItems->OnChange = TNotifyEvent(this, &TCustomComboBox::OnItemsChange);
}

TCustomComboBox::~TCustomComboBox()
{
    FItems->OnChange = nullptr;
    if (FList) {
        if (TCustomForm* f = FList->GetParentForm(); f && f->PopupControl() == FList)
            f->SetPopupControl(nullptr);
        TComboListBox* list = FList;
        FList = nullptr;
        delete list;
    }
}

void TCustomComboBox::OnItemsChange(TObject*)
{
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    if (FList)
        FList->Items()->Assign(FItems.get());
    Invalidate();
}

void TCustomComboBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems->Count())
        Value = -1;
    if (Value == FItemIndex)
        return;
    FItemIndex = Value;
    Invalidate();
}

std::string TCustomComboBox::ItemText() const
{
    return FItemIndex >= 0 ? FItems->Get(FItemIndex) : std::string();
}

void TCustomComboBox::SetItemHeight(int Value)
{
    if (Value < 1 || Value == FItemHeight)
        return;
    FItemHeight = Value;
    SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Invalidate();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    (void)AHeight;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, FItemHeight + 6);
}

TRect TCustomComboBox::ButtonRect() const
{
    return Rect(std::max(Width() - 2 - ButtonWidth, 2), 2, Width() - 2, Height() - 2);
}

TRect TCustomComboBox::ItemRect() const
{
    return Rect(3, 3, std::max(ButtonRect().Left - 1, 3), Height() - 3);
}

TCustomListBox* TCustomComboBox::DropList() const
{
    return FList && FList->Visible() ? FList : nullptr;
}

void TCustomComboBox::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(2, 2, Width() - 2, Height() - 2));
    TRect r = Rect(0, 0, Width(), Height());
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, r, cl3DDkShadow, clBtnFace, 1);

    TDrawItemStruct dis;
    dis.itemID = FItemIndex;
    dis.hDC = c->Handle();
    dis.rcItem = ItemRect();
    if (Focused() && !DropList())
        dis.itemState = odSelected | odFocused;
    if (!Enabled())
        dis.itemState |= odDisabled;
    Perform(CN_DRAWITEM, 0, LPARAM(&dis));

    // The button: raised, sunken while the list is down, with a small down arrow.
    TRect b = ButtonRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(b);
    TRect f = b;
    if (DropList()) {
        Frame3D(c, f, clBtnShadow, clBtnShadow, 1);
    } else {
        Frame3D(c, f, clBtnFace, cl3DDkShadow, 1);
        Frame3D(c, f, clBtnHighlight, clBtnShadow, 1);
    }
    int cx = (b.Left + b.Right) / 2 + (DropList() ? 1 : 0);
    int cy = (b.Top + b.Bottom) / 2 - 1 + (DropList() ? 1 : 0);
    c->Brush()->SetColor(Enabled() ? clBtnText : clGrayText);
    for (int k = 0; k < 4; ++k)
        c->FillRect(Rect(cx - 3 + k, cy + k, cx + 4 - k, cy + k + 1));
}

void TCustomComboBox::CNDrawItem(TMessage& Message)
{
    auto* dis = reinterpret_cast<TDrawItemStruct*>(Message.LParam);
    TCanvas* c = Canvas();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    if (dis->itemID >= 0 && (dis->itemState & odSelected)) {
        c->Brush()->SetColor(clHighlight);
        c->Font()->SetColor(clHighlightText);
    }
    if (dis->itemID >= 0)
        DrawItem(dis->itemID, dis->rcItem, dis->itemState);
    else
        c->FillRect(dis->rcItem);
    if (dis->itemState & odFocused)
        c->DrawFocusRect(dis->rcItem);
    Message.Result = 1;
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if ((FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) && OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* c = Canvas();
    c->FillRect(Rect);
    if (Index < FItems->Count()) {
        if (State & odDisabled)
            c->Font()->SetColor(clGrayText);
        c->Brush()->SetStyle(bsClear);
        c->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
    }
}

void TCustomComboBox::Dispatch(TMessage& Message)
{
    if (Message.Msg == CN_DRAWITEM) {
        CNDrawItem(Message);
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TCustomComboBox::DropDown()
{
    TCustomForm* form = GetParentForm();
    if (!form || DropList() || !Enabled())
        return;
    auto alive = AliveToken();
    if (OnDropDown)
        OnDropDown(this);
    if (!*alive)
        return;
    if (!FList)
        FList = new TComboListBox(this);
    FList->SetItemHeight(FItemHeight);
    FList->Items()->Assign(FItems.get());
    FList->SetColor(Color());
    FList->SetFont(Font());
    int rows = std::max(std::min(FDropDownCount, FItems->Count()), 1);
    int h = rows * FItemHeight;
    // The list draws a one-pixel frame over its edge; two more pixels make room for it.
    TPoint o = FormOffset();
    int top = o.Y + Height();
    if (top + h + 2 > form->ClientHeight() && o.Y - h - 2 >= 0)
        top = o.Y - h - 2;
    FList->SetParent(form);
    FList->SetBounds(o.X, top, Width(), h + 2);
    FList->SetItemIndex(FItemIndex);
    FList->SetVisible(true);
    FList->BringToFront();
    form->SetPopupControl(FList);
    Invalidate();
}

void TCustomComboBox::CloseUp(bool choose)
{
    if (!DropList())
        return;
    int chosen = FList->ItemIndex();
    if (TCustomForm* f = GetParentForm(); f && f->PopupControl() == FList)
        f->SetPopupControl(nullptr);
    FList->SetVisible(false);
    Invalidate();
    if (choose)
        Choose(chosen);
}

void TCustomComboBox::SetDroppedDown(bool Value)
{
    if (Value)
        DropDown();
    else
        CloseUp(false);
}

void TCustomComboBox::Choose(int Index)
{
    if (Index < 0 || Index >= FItems->Count() || Index == FItemIndex)
        return;
    FItemIndex = Index;
    Invalidate();
    Change();
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus() && !Focused())
            SetFocus();
        auto alive = AliveToken();
        if (!*alive)
            return;
        // A press on the face drops the list (a press while it is down is taken by the
        // form, which closes it).
        DropDown();
        if (!*alive)
            return;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomComboBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    int n = FItems->Count();
    if (DropList()) {
        switch (Key) {
        case plat::vk::Escape: Key = 0; CloseUp(false); return;
        case plat::vk::Return: Key = 0; CloseUp(true); return;
        case plat::vk::F1 + 3: Key = 0; CloseUp(true); return;   // F4
        case plat::vk::Up:
        case plat::vk::Down:
            if (Shift & ssAlt) {
                Key = 0;
                CloseUp(true);
                return;
            }
            [[fallthrough]];
        default: {
            // Moves through the dropped list as in a list box.
            uint16_t k = Key;
            FList->Perform(WM_KEYDOWN, k, LPARAM(Shift & ~ssShift));
            Key = 0;
            return;
        }
        }
    }
    if (Key == plat::vk::F1 + 3 || ((Key == plat::vk::Down || Key == plat::vk::Up) && (Shift & ssAlt))) {
        Key = 0;
        DropDown();
        return;
    }
    if (n == 0)
        return;
    int next;
    switch (Key) {
    case plat::vk::Up:
    case plat::vk::Left: next = FItemIndex < 0 ? 0 : FItemIndex - 1; break;
    case plat::vk::Down:
    case plat::vk::Right: next = FItemIndex + 1; break;
    case plat::vk::Prior: next = FItemIndex - FDropDownCount + 1; break;
    case plat::vk::Next: next = FItemIndex + FDropDownCount - 1; break;
    case plat::vk::Home: next = 0; break;
    case plat::vk::End: next = n - 1; break;
    default: return;
    }
    Key = 0;
    Choose(std::max(0, std::min(next, n - 1)));
}

void TCustomComboBox::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    unsigned char ch = static_cast<unsigned char>(Key);
    if (ch < 32)
        return;
    int n = FItems->Count();
    int from = DropList() ? FList->ItemIndex() : FItemIndex;
    for (int k = 1; k <= n; ++k) {
        int i = (std::max(from, -1) + k + n) % n;
        std::string s = FItems->Get(i);
        if (!s.empty() && std::tolower(static_cast<unsigned char>(s[0])) == std::tolower(ch)) {
            if (DropList())
                FList->SetItemIndex(i);
            else
                Choose(i);
            break;
        }
    }
    Key = 0;
}

void TCustomComboBox::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomComboBox::WMSetFocus(TMessage& Message)
{
    TCustomControl::WMSetFocus(Message);
    Invalidate();
}

void TCustomComboBox::WMKillFocus(TMessage& Message)
{
    TCustomControl::WMKillFocus(Message);
    CloseUp(false);
    Invalidate();
}

void TCustomComboBox::CMEnabledChanged(TMessage& Message)
{
    TCustomControl::CMEnabledChanged(Message);
    if (!Enabled())
        CloseUp(false);
    Invalidate();
}

void TCustomComboBox::CMFontChanged(TMessage& Message)
{
    TCustomControl::CMFontChanged(Message);
    Invalidate();
}

namespace {
const std::vector<std::string> ComboStyleNames = { "csDropDown", "csSimple", "csDropDownList",
    "csOwnerDrawFixed", "csOwnerDrawVariable" };
}

BEGIN_PROPERTIES(TCustomComboBox, TCustomControl)
    .Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
        .Default(8)
    .Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight)
    .Object("Items", &TCustomComboBox::Items)
    .Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex).Default(-1)
    .Event("OnChange", &TCustomComboBox::OnChange)
    .Event("OnDrawItem", &TCustomComboBox::OnDrawItem)
    .Event("OnDropDown", &TCustomComboBox::OnDropDown)
END_PROPERTIES

BEGIN_PROPERTIES(TComboBox, TCustomComboBox)
    .Enum("Style", &TComboBox::Style, &TComboBox::SetStyle, ComboStyleNames).Default(csDropDown)
END_PROPERTIES
