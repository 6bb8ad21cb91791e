#pragma once
// TCustomComboBox and TComboBox: a closed face showing the chosen item, with a button
// that drops down a list of the items below it (above it when the form has no room
// below). The list is a popup inside the form: a click on an item chooses it and closes
// the list; Escape, a click outside and the window losing the focus close it unchosen.
// While closed, the arrow keys, Page Up/Down, Home, End and the first letter of an item
// choose directly; Alt+Down or F4 drops the list, Enter chooses in it. Each choice made
// by the user fires OnChange. The face and the list's items are drawn through the
// owner-draw notification CN_DRAWITEM (as in TCustomListBox); on the face the
// notification carries the chosen index (or -1) and, while the box has the focus and the
// list is closed, the selected and focus flags. Every style behaves as a drop-down list:
// the face holds no editable text. Owns its items and its list; GUI thread only.

#include "framework/stdctrls/ListBox.h"

#include <memory>

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
    csOwnerDrawVariable };

class TComboListBox;

class TCustomComboBox : public TCustomControl {
public:
    static constexpr int ButtonWidth = 17;

    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;
    const char* ClassName() const override { return "TCustomComboBox"; }

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);   // -1 .. Count - 1; no OnChange
    std::string ItemText() const;   // the chosen item's text, "" when none
    int ItemHeight() const { return FItemHeight; }
    virtual void SetItemHeight(int Value);   // values below 1 are ignored
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = std::max(Value, 1); }
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    bool DroppedDown() const { return FList != nullptr; }
    void SetDroppedDown(bool Value);

    // The face's parts, in the box's coordinates.
    TRect ItemRect() const;     // where the chosen item is drawn
    TRect ButtonRect() const;
    // The dropped list while it is shown, else nullptr.
    TCustomListBox* DropList() const;

    // The height follows the item height: ItemHeight + 6.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TDrawItemEvent OnDrawItem;

protected:
    void Paint() override;
    virtual void CNDrawItem(TMessage& Message);
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    virtual void Change();

private:
    friend class TComboListBox;
    void OnItemsChange(TObject* Sender);
    void DropDown();
    // Closes the list; with choose, its highlighted item becomes the chosen one.
    void CloseUp(bool choose);
    // A choice by the user: stores it and fires OnChange when it differs.
    void Choose(int Index);

    std::unique_ptr<TStringList> FItems;
    TComboListBox* FList = nullptr;
    int FItemIndex = -1;
    int FItemHeight = 16;
    int FDropDownCount = 8;
    TComboBoxStyle FStyle = csDropDown;
    bool FInSetBounds = false;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
    const char* ClassName() const override { return "TComboBox"; }
};
