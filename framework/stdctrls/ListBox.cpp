#include "framework/stdctrls/ListBox.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kWheelRows = 3;

int ClampInt(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

} // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FItems(std::make_unique<TStringList>())
{
    // OnClick tells of a choice by the user, not of every release.
    FControlStyle = csCaptureMouse | csDoubleClicks | csOpaque;
    FTabStop = true;
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    FItems->OnChange = TNotifyEvent(this, &TCustomListBox::OnItemsChange);
}

TCustomListBox::~TCustomListBox()
{
    FItems->OnChange = nullptr;
}

void TCustomListBox::OnItemsChange(TObject*) { ItemsChanged(); }

void TCustomListBox::ItemsChanged()
{
    int n = Count();
    if (FMultiSelect)
        FSelection.resize(size_t(n), false);
    if (FItemIndex >= n)
        FItemIndex = n - 1;
    if (FAnchor >= n)
        FAnchor = -1;
    FTopIndex = ClampInt(FTopIndex, 0, MaxTopIndex());
    Invalidate();
}

// --- selection -----------------------------------------------------------------------

void TCustomListBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= Count())
        Value = -1;
    if (FMultiSelect) {
        // As in a multiple-selection list: the focus moves, and the item is selected.
        if (Value >= 0)
            FSelection[size_t(Value)] = true;
    }
    if (Value == FItemIndex)
        return;
    FItemIndex = Value;
    FAnchor = Value;
    if (Value >= 0)
        MakeVisible(Value);
    Invalidate();
}

void TCustomListBox::SetMultiSelect(bool Value)
{
    if (Value == FMultiSelect)
        return;
    FMultiSelect = Value;
    FSelection.assign(size_t(Count()), false);
    if (Value && FItemIndex >= 0)
        FSelection[size_t(FItemIndex)] = true;
    Invalidate();
}

bool TCustomListBox::Selected(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FMultiSelect ? bool(FSelection[size_t(Index)]) : Index == FItemIndex;
}

void TCustomListBox::SetSelected(int Index, bool Value)
{
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", Index));
    if (FMultiSelect) {
        if (FSelection[size_t(Index)] == Value)
            return;
        FSelection[size_t(Index)] = Value;
    } else if (Value) {
        FItemIndex = Index;
    } else if (FItemIndex == Index) {
        FItemIndex = -1;
    } else {
        return;
    }
    Invalidate();
}

int TCustomListBox::SelCount() const
{
    if (!FMultiSelect)
        return FItemIndex >= 0 ? 1 : 0;
    return int(std::count(FSelection.begin(), FSelection.end(), true));
}

void TCustomListBox::ClearSelection()
{
    if (FMultiSelect)
        FSelection.assign(size_t(Count()), false);
    else
        FItemIndex = -1;
    Invalidate();
}

void TCustomListBox::SelectByUser(int Index, TShiftState Shift)
{
    if (Index < 0 || Index >= Count())
        return;
    bool changed = false;
    if (!FMultiSelect) {
        changed = Index != FItemIndex;
        FItemIndex = Index;
        FAnchor = Index;
    } else {
        std::vector<bool> before = FSelection;
        if (!FExtendedSelect) {
            if (!(Shift & ssDouble))
                FSelection[size_t(Index)] = !FSelection[size_t(Index)];
        } else if ((Shift & ssShift) && FAnchor >= 0) {
            if (!(Shift & ssCtrl))
                FSelection.assign(size_t(Count()), false);
            for (int i = std::min(FAnchor, Index); i <= std::max(FAnchor, Index); ++i)
                FSelection[size_t(i)] = true;
        } else if (Shift & ssCtrl) {
            FSelection[size_t(Index)] = !FSelection[size_t(Index)];
            FAnchor = Index;
        } else {
            FSelection.assign(size_t(Count()), false);
            FSelection[size_t(Index)] = true;
            FAnchor = Index;
        }
        changed = before != FSelection || Index != FItemIndex;
        FItemIndex = Index;
    }
    MakeVisible(Index);
    Invalidate();
    if (changed)
        Click();
}

// --- geometry ------------------------------------------------------------------------

void TCustomListBox::SetItemHeight(int Value)
{
    if (Value < 1 || Value == FItemHeight)
        return;
    FItemHeight = Value;
    FTopIndex = ClampInt(FTopIndex, 0, MaxTopIndex());
    Invalidate();
}

void TCustomListBox::SetColumns(int Value)
{
    Value = std::max(Value, 0);
    if (Value == FColumns)
        return;
    FColumns = Value;
    FTopIndex = ClampInt(FTopIndex, 0, MaxTopIndex());
    Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Invalidate();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    Invalidate();
}

void TCustomListBox::SetTopIndex(int Value)
{
    if (FColumns > 0)
        Value -= Value % RowsPerPage();   // a column starts at a whole column
    Value = ClampInt(Value, 0, MaxTopIndex());
    if (Value == FTopIndex)
        return;
    FTopIndex = Value;
    Invalidate();
}

TRect TCustomListBox::ItemArea() const
{
    int b = FBorderStyle == bsNone ? 0 : 2;
    TRect r = Rect(b, b, Width() - b, Height() - b);
    if (ScrollBarVisible())
        r.Right -= ScrollBarWidth;
    if (r.Right < r.Left)
        r.Right = r.Left;
    if (r.Bottom < r.Top)
        r.Bottom = r.Top;
    return r;
}

int TCustomListBox::ColumnWidth() const
{
    int b = FBorderStyle == bsNone ? 0 : 2;
    int w = std::max(Width() - 2 * b, 0);
    if (FColumns > 0)
        return w / FColumns;
    return ScrollBarVisible() ? std::max(w - ScrollBarWidth, 0) : w;
}

int TCustomListBox::RowsPerPage() const
{
    int b = FBorderStyle == bsNone ? 0 : 2;
    return std::max((Height() - 2 * b) / FItemHeight, 1);
}

bool TCustomListBox::ScrollBarVisible() const
{
    return FColumns == 0 && Count() > RowsPerPage();
}

int TCustomListBox::MaxTopIndex() const
{
    int rows = RowsPerPage();
    if (FColumns > 0) {
        // The last page starts at the column holding the last item.
        int perPage = rows * FColumns;
        if (Count() <= perPage)
            return 0;
        int lastColumn = (Count() - 1) / rows;
        return std::max(lastColumn - FColumns + 1, 0) * rows;
    }
    return std::max(Count() - rows, 0);
}

TRect TCustomListBox::ScrollBarRect() const
{
    if (!ScrollBarVisible())
        return {};
    int b = FBorderStyle == bsNone ? 0 : 2;
    return Rect(Width() - b - ScrollBarWidth, b, Width() - b, Height() - b);
}

TRect TCustomListBox::ThumbRect() const
{
    TRect sb = ScrollBarRect();
    if (sb.IsEmpty())
        return {};
    int track = sb.Height() - 2 * ScrollBarWidth;
    int rows = RowsPerPage();
    int n = Count();
    int thumb = std::max(track * rows / n, 8);
    if (thumb >= track)
        return {};
    int maxTop = MaxTopIndex();
    int pos = maxTop > 0 ? (track - thumb) * FTopIndex / maxTop : 0;
    int top = sb.Top + ScrollBarWidth + pos;
    return Rect(sb.Left, top, sb.Right, top + thumb);
}

TRect TCustomListBox::ItemRect(int Index) const
{
    TRect area = ItemArea();
    int rows = RowsPerPage();
    int rel = Index - FTopIndex;
    if (rel < 0 || Index < 0)
        return {};
    int col = FColumns > 0 ? rel / rows : 0;
    int row = FColumns > 0 ? rel % rows : rel;
    if (FColumns > 0 && col >= FColumns)
        return {};
    int top = area.Top + row * FItemHeight;
    if (top >= area.Bottom)
        return {};
    int left = area.Left + col * ColumnWidth();
    return Rect(left, top, left + ColumnWidth(), top + FItemHeight);
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) const
{
    TRect area = ItemArea();
    if (!PtInRect(area, Pos)) {
        if (Existing)
            return -1;
        return Count();
    }
    int row = (Pos.Y - area.Top) / FItemHeight;
    int col = 0;
    if (FColumns > 0) {
        int cw = ColumnWidth();
        col = cw > 0 ? (Pos.X - area.Left) / cw : 0;
        if (col >= FColumns || row >= RowsPerPage())
            return Existing ? -1 : Count();
    }
    int index = FTopIndex + col * RowsPerPage() + row;
    if (index >= Count())
        return Existing ? -1 : Count();
    return index;
}

void TCustomListBox::MakeVisible(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    int rows = RowsPerPage();
    int perPage = FColumns > 0 ? rows * FColumns : rows;
    if (Index < FTopIndex)
        SetTopIndex(Index);
    else if (Index >= FTopIndex + perPage)
        SetTopIndex(FColumns > 0 ? (Index / rows - FColumns + 1) * rows : Index - rows + 1);
}

// --- painting ------------------------------------------------------------------------

TOwnerDrawState TCustomListBox::StateOf(int Index) const
{
    TOwnerDrawState s = 0;
    if (Index >= 0 && Index < Count() && Selected(Index))
        s |= odSelected;
    // With nothing chosen yet the focus stands on the first item.
    if (Focused() && Index >= 0 && Index == std::max(FItemIndex, 0))
        s |= odFocused;
    if (!Enabled())
        s |= odDisabled;
    return s;
}

void TCustomListBox::Paint()
{
    TCanvas* c = Canvas();
    TRect area = ItemArea();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(area);

    auto drawOne = [&](int index, TOwnerDrawState state, const TRect& r) {
        TDrawItemStruct dis;
        dis.itemID = index;
        dis.itemState = state;
        dis.hDC = c->Handle();
        dis.rcItem = r;
        Perform(CN_DRAWITEM, 0, LPARAM(&dis));
    };
    if (Count() == 0) {
        // The empty list shows where the focus stands: the first row.
        if (Focused())
            drawOne(-1, odFocused, Rect(area.Left, area.Top, area.Left + ColumnWidth(),
                area.Top + FItemHeight));
    } else {
        for (int i = FTopIndex; i < Count(); ++i) {
            TRect r = ItemRect(i);
            if (r.IsEmpty())
                break;
            drawOne(i, StateOf(i), r);
        }
    }

    // Border and scroll bar last: an item drawn past its rectangle stays inside them.
    c->Brush()->SetStyle(bsSolid);
    if (FBorderStyle != bsNone) {
        TRect r = Rect(0, 0, Width(), Height());
        Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(c, r, cl3DDkShadow, clBtnFace, 1);
    }
    TRect sb = ScrollBarRect();
    if (!sb.IsEmpty()) {
        c->Brush()->SetColor(clScrollBar);
        c->FillRect(sb);
        auto button = [&](TRect r, bool up) {
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(r);
            TRect f = r;
            Frame3D(c, f, clBtnHighlight, cl3DDkShadow, 1);
            Frame3D(c, f, clBtnFace, clBtnShadow, 1);
            // A small solid triangle pointing up or down.
            int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
            TColor arrow = Enabled() ? clBtnText : clGrayText;
            c->Brush()->SetColor(arrow);
            for (int k = 0; k < 4; ++k) {
                int y = up ? cy - 2 + k : cy + 1 - k;
                c->FillRect(Rect(cx - k, y, cx + k + 1, y + 1));
            }
        };
        button(Rect(sb.Left, sb.Top, sb.Right, sb.Top + ScrollBarWidth), true);
        button(Rect(sb.Left, sb.Bottom - ScrollBarWidth, sb.Right, sb.Bottom), false);
        TRect t = ThumbRect();
        if (!t.IsEmpty()) {
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(t);
            Frame3D(c, t, clBtnHighlight, cl3DDkShadow, 1);
            Frame3D(c, t, clBtnFace, clBtnShadow, 1);
        }
    }
}

void TCustomListBox::CNDrawItem(TMessage& Message)
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

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (FStyle != lbStandard && OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* c = Canvas();
    c->FillRect(Rect);
    if (Index < Count()) {
        if (State & odDisabled)
            c->Font()->SetColor(clGrayText);
        c->Brush()->SetStyle(bsClear);
        c->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
    }
}

void TCustomListBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    default: TCustomControl::Dispatch(Message);
    }
}

// --- input ---------------------------------------------------------------------------

void TCustomListBox::ScrollBarMouse(int Y, bool press)
{
    TRect sb = ScrollBarRect();
    TRect t = ThumbRect();
    if (press) {
        if (Y < sb.Top + ScrollBarWidth)
            SetTopIndex(FTopIndex - 1);
        else if (Y >= sb.Bottom - ScrollBarWidth)
            SetTopIndex(FTopIndex + 1);
        else if (!t.IsEmpty() && Y >= t.Top && Y < t.Bottom)
            FThumbGrab = Y - t.Top;
        else if (!t.IsEmpty() && Y < t.Top)
            SetTopIndex(FTopIndex - RowsPerPage());
        else
            SetTopIndex(FTopIndex + RowsPerPage());
        return;
    }
    // Dragging the thumb: the top item follows the thumb's place on the track.
    int track = sb.Height() - 2 * ScrollBarWidth - t.Height();
    if (track <= 0)
        return;
    int pos = Y - FThumbGrab - (sb.Top + ScrollBarWidth);
    SetTopIndex((pos * MaxTopIndex() + track / 2) / track);
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        if (CanFocus() && !Focused())
            SetFocus();
        TRect sb = ScrollBarRect();
        if (!sb.IsEmpty() && PtInRect(sb, Point(X, Y))) {
            ScrollBarMouse(Y, true);
        } else {
            int i = ItemAtPos(Point(X, Y), true);
            if (i >= 0) {
                FSelecting = true;
                SelectByUser(i, Shift);
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FThumbGrab >= 0) {
        ScrollBarMouse(Y, false);
    } else if (FSelecting && !FMultiSelect) {
        // Dragging through a single-selection list moves the selection, scrolling at the
        // edges.
        TRect area = ItemArea();
        int i;
        if (Y < area.Top)
            i = std::max(FTopIndex - 1, 0);
        else if (Y >= area.Bottom)
            i = std::min(FTopIndex + RowsPerPage(), Count() - 1);
        else
            i = ItemAtPos(Point(ClampInt(X, area.Left, area.Right - 1), Y), true);
        if (i >= 0)
            SelectByUser(i, 0);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FSelecting = false;
        FThumbGrab = -1;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomListBox::WMMouseWheel(TMessage& Message)
{
    int delta = int16_t(uint16_t(Message.WParam >> 16));
    int before = FTopIndex;
    // A notch (120) scrolls three rows, or one column in a multi-column list.
    int step = FColumns > 0 ? RowsPerPage() : kWheelRows;
    SetTopIndex(FTopIndex - delta * step / 120);
    Message.Result = FTopIndex != before || Count() > 0 ? 1 : 0;
}

void TCustomListBox::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || Count() == 0)
        return;
    int rows = RowsPerPage();
    int cur = FItemIndex;
    int next;
    switch (Key) {
    case plat::vk::Up: next = cur < 0 ? 0 : cur - 1; break;
    case plat::vk::Down: next = cur + 1; break;
    case plat::vk::Left: next = FColumns > 0 ? cur - rows : cur - 1; break;
    case plat::vk::Right: next = FColumns > 0 ? cur + rows : cur + 1; break;
    case plat::vk::Prior: next = cur < 0 ? 0 : cur - (FColumns > 0 ? rows * FColumns : rows - 1); break;
    case plat::vk::Next: next = cur + (FColumns > 0 ? rows * FColumns : rows - 1); break;
    case plat::vk::Home: next = 0; break;
    case plat::vk::End: next = Count() - 1; break;
    default: return;
    }
    Key = 0;
    next = ClampInt(next, 0, Count() - 1);
    if (next != cur || (FMultiSelect && !Selected(next)))
        SelectByUser(next, Shift & ssShift);
}

void TCustomListBox::KeyPress(char& Key)
{
    TCustomControl::KeyPress(Key);
    unsigned char ch = static_cast<unsigned char>(Key);
    if (ch < 32 || Count() == 0)
        return;
    // The next item after the current one whose text starts with the character.
    int n = Count();
    for (int k = 1; k <= n; ++k) {
        int i = (std::max(FItemIndex, -1) + k + n) % n;
        std::string s = FItems->Get(i);
        if (!s.empty() && std::tolower(static_cast<unsigned char>(s[0])) == std::tolower(ch)) {
            SelectByUser(i, 0);
            break;
        }
    }
    Key = 0;
}

void TCustomListBox::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomListBox::WMSize(TMessage& Message)
{
    TCustomControl::WMSize(Message);
    FTopIndex = ClampInt(FTopIndex, 0, MaxTopIndex());
    Invalidate();
}

void TCustomListBox::WMSetFocus(TMessage& Message)
{
    TCustomControl::WMSetFocus(Message);
    Invalidate();
}

void TCustomListBox::WMKillFocus(TMessage& Message)
{
    TCustomControl::WMKillFocus(Message);
    FSelecting = false;
    Invalidate();
}

void TCustomListBox::CMFontChanged(TMessage& Message)
{
    TCustomControl::CMFontChanged(Message);
    Invalidate();
}

void TCustomListBox::CMEnabledChanged(TMessage& Message)
{
    TCustomControl::CMEnabledChanged(Message);
    Invalidate();
}

namespace {
const std::vector<std::string> ListBoxStyleNames = { "lbStandard", "lbOwnerDrawFixed",
    "lbOwnerDrawVariable" };
}

BEGIN_PROPERTIES(TCustomListBox, TCustomControl)
    .Enum("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle,
        BorderStyleNames()).Default(bsSingle)
    .Int("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns).Default(0)
    .Bool("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect)
        .Default(true)
    .Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
    .Object("Items", &TCustomListBox::Items)
    .Bool("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
        .Default(false)
END_PROPERTIES

BEGIN_PROPERTIES(TListBox, TCustomListBox)
    .Enum("Style", &TListBox::Style, &TListBox::SetStyle, ListBoxStyleNames).Default(lbStandard)
    .Event("OnDrawItem", &TListBox::OnDrawItem)
END_PROPERTIES
