#pragma once
// TCustomListBox and TListBox: a windowed list of strings, one item per row (or flowing
// down and across Columns columns), with single or multiple selection, a vertical scroll
// bar when the rows do not fit, the mouse wheel and the keyboard (arrows, Page Up/Down,
// Home, End, the first letter of an item). Every visible item is drawn through the
// owner-draw notification CN_DRAWITEM, which carries the item's index, state flags,
// drawing context and rectangle; the default handler fills the item and calls DrawItem,
// which owner-drawn styles hand to OnDrawItem. An empty list with the focus gets one
// notification with index -1 and the focus flag for the first row. The list box owns its
// Items; the objects beside the strings are not owned. GUI thread only.

#include "framework/controls/CustomControl.h"
#include "framework/controls/Form.h"
#include "framework/core/Strings.h"

#include <memory>
#include <vector>

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

// Item state flags of an owner-draw notification.
using TOwnerDrawState = uint32_t;
constexpr TOwnerDrawState odSelected = 0x0001, odGrayed = 0x0002, odDisabled = 0x0004,
                          odChecked = 0x0008, odFocused = 0x0010;

// The owner-draw notification's data; LParam of CN_DRAWITEM points at it.
struct TDrawItemStruct {
    int itemID = -1;
    TOwnerDrawState itemState = 0;
    plat::Dc* hDC = nullptr;
    TRect rcItem;
};

using TDrawItemEvent = TMethodPtr<TWinControl*, int, TRect, TOwnerDrawState>;

class TCustomListBox : public TCustomControl {
public:
    static constexpr int ScrollBarWidth = 16;

    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;
    const char* ClassName() const override { return "TCustomListBox"; }

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    int Count() const { return FItems->Count(); }

    // The focused item; in a single-selection list also the selected one. -1: none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    // With MultiSelect: a plain click selects one item, Ctrl toggles, Shift a range;
    // without ExtendedSelect every click toggles.
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool Value) { FExtendedSelect = Value; }
    bool Selected(int Index) const;
    void SetSelected(int Index, bool Value);
    int SelCount() const;
    void ClearSelection();

    int ItemHeight() const { return FItemHeight; }
    virtual void SetItemHeight(int Value);   // values below 1 are ignored
    int Columns() const { return FColumns; }
    void SetColumns(int Value);              // 0: one column with a scroll bar
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);             // held to 0 .. the last useful top
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

    // Geometry, callable without painting.
    TRect ItemArea() const;                  // inside the border, left of the scroll bar
    int ColumnWidth() const;                 // the item width
    int RowsPerPage() const;                 // whole rows that fit (at least 1)
    bool ScrollBarVisible() const;
    TRect ScrollBarRect() const;
    TRect ThumbRect() const;
    TRect ItemRect(int Index) const;         // empty when the item is not in view
    int ItemAtPos(const TPoint& Pos, bool Existing) const;
    void MakeVisible(int Index);

    TDrawItemEvent OnDrawItem;

protected:
    void Paint() override;
    // Fills the item (selected: clHighlight) and calls DrawItem; the focus rectangle last.
    virtual void CNDrawItem(TMessage& Message);
    // The item's content: OnDrawItem for owner-drawn styles when set, else the text.
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    virtual void WMMouseWheel(TMessage& Message);
    void CMFontChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    // The items changed: selection and scroll position are held to the new count.
    virtual void ItemsChanged();
    // A user action moved the focus or selection to Index (Shift / Ctrl as given).
    void SelectByUser(int Index, TShiftState Shift);
    TOwnerDrawState StateOf(int Index) const;

private:
    void OnItemsChange(TObject* Sender);
    int MaxTopIndex() const;
    void ScrollBarMouse(int Y, bool press);

    std::unique_ptr<TStringList> FItems;
    std::vector<bool> FSelection;   // MultiSelect only, one flag per item
    int FItemIndex = -1;
    int FAnchor = -1;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    int FItemHeight = 16;
    int FColumns = 0;
    int FTopIndex = 0;
    TListBoxStyle FStyle = lbStandard;
    TBorderStyle FBorderStyle = bsSingle;
    bool FSelecting = false;   // left button held over the items
    int FThumbGrab = -1;       // pointer offset inside the dragged thumb, -1: none
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
    const char* ClassName() const override { return "TListBox"; }
};
