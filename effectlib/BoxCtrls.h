#pragma once
// The box controls of the library. TepListBox and TepComboBox draw every item
// themselves: a plain fill or a wallpaper strip as background, a glyph or an image-list
// picture at the item's left, the text after it, and a two-colour 3-D frame on the
// focused item. Selected items keep the item wallpaper ("transparent" selection) and only
// change the text colour, or get a wallpaper and colours of their own. Each owns its four
// bitmaps and the two strips built from the wallpapers (one item high, as wide as an
// item); the image list is a reference, cleared when it is removed.
//
// TepGroupBox frames its children with an etched line through the caption over a fill or
// a tiled TepBitmap wallpaper (a reference). TepOpenBox is a collapsible box: the button
// in its top-left corner collapses it to the button's height and opens it again. It owns
// its glyph strip. GUI thread only.

#include "effectlib/VCLBase.h"
#include "framework/stdctrls/ComboBox.h"
#include "framework/stdctrls/ImageList.h"
#include "framework/stdctrls/ListBox.h"

#include <cstdint>
#include <memory>

class TBitmap;
class TFont;
class TepBitmap;

// The height of the font's character cell on the screen, plus 1.
int GetItemHeight(TFont* Font);

// The drawing and properties the list box and the combo box share; TBase is
// TCustomListBox or TCustomComboBox.
template <class TBase>
class TepItemBox : public TBase {
public:
    explicit TepItemBox(TComponent* AOwner);
    ~TepItemBox() override;

    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* Value);
    uint8_t Offset() const { return FOffset; }
    void SetOffset(uint8_t Value);
    bool TransparentSelect() const { return FTransparentSelect; }
    void SetTransparentSelect(bool Value);
    bool UseFocusFrame() const { return FUseFocusFrame; }
    void SetUseFocusFrame(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TBitmap* SelectGlyph() const { return FSelectGlyph.get(); }
    void SetSelectGlyph(TBitmap* Value);
    TBitmap* ItemWallPaper() const { return FItemWallPaper.get(); }
    void SetItemWallPaper(TBitmap* Value);
    TBitmap* SelectItemWallPaper() const { return FSelectItemWallPaper.get(); }
    void SetSelectItemWallPaper(TBitmap* Value);
    TColor InnerFocusColor() const { return FInnerFocusColor; }
    void SetInnerFocusColor(TColor Value);
    TColor OuterFocusColor() const { return FOuterFocusColor; }
    void SetOuterFocusColor(TColor Value);
    TColor SelectTextColor() const { return FSelectTextColor; }
    void SetSelectTextColor(TColor Value);
    TColor SelectColor() const { return FSelectColor; }
    void SetSelectColor(TColor Value);

    // The strips built from the wallpapers (for tests and descendants).
    TBitmap* ItemStrip() const { return FItemStrip.get(); }
    TBitmap* SelectStrip() const { return FSelectStrip.get(); }
    // Rebuilds both strips for the current width, item height and wallpapers.
    void DoFullWallPaper();
    // Item height from the font: the list box always takes it, the combo box only when
    // it is larger.
    void ResetItemHeight();
    // Where DrawItem writes Text in an item of Rect: the top of the text, centred on the
    // item's middle row in the control's font.
    int TextY(const TRect& Rect, const std::string& Text);

protected:
    void CNDrawItem(TMessage& Message) override;
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WMSize(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;

private:
    static constexpr bool IsList = std::is_base_of_v<TCustomListBox, TBase>;
    int StripWidth() const;

    TImageList* FImageList = nullptr;
    uint8_t FOffset = 2;
    bool FTransparentSelect = true;
    bool FUseFocusFrame = true;
    std::unique_ptr<TBitmap> FGlyph, FSelectGlyph, FItemWallPaper, FSelectItemWallPaper;
    std::unique_ptr<TBitmap> FItemStrip, FSelectStrip;
    TColor FInnerFocusColor = clWhite;
    TColor FOuterFocusColor = clGray;
    TColor FSelectTextColor = TColor(0x800000);
    TColor FSelectColor = clWindow;
};

extern template class TepItemBox<TCustomListBox>;
extern template class TepItemBox<TCustomComboBox>;

class TepListBox : public TepItemBox<TCustomListBox> {
public:
    explicit TepListBox(TComponent* AOwner);
    const char* ClassName() const override { return "TepListBox"; }
};

class TepCustomComboBox : public TepItemBox<TCustomComboBox> {
public:
    explicit TepCustomComboBox(TComponent* AOwner);
    const char* ClassName() const override { return "TepCustomComboBox"; }
};

class TepComboBox : public TepCustomComboBox {
public:
    using TepCustomComboBox::TepCustomComboBox;
    const char* ClassName() const override { return "TepComboBox"; }
};

// A group box: an etched frame whose top edge runs through the middle of the caption, over
// a fill in Color or the tiled picture of Wallpaper; children are aligned inside the frame
// below the caption. The caption's accelerator moves the focus to the first child.
class TepCustomGroupBox : public TCustomControl {
public:
    explicit TepCustomGroupBox(TComponent* AOwner);
    const char* ClassName() const override { return "TepCustomGroupBox"; }

    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    TepBitmap* Wallpaper() const { return FWallpaper; }
    void SetWallpaper(TepBitmap* Value);

    // The rectangle the children are aligned in: the client area below a caption line,
    // 2 pixels inside on every side.
    TRect ChildArea();

protected:
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CMDialogChar(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;

private:
    int CaptionLineHeight();

    TColor FInnerColor = clBtnHighlight;
    TColor FOuterColor = clBtnShadow;
    TepBitmap* FWallpaper = nullptr;
};

class TepGroupBox : public TepCustomGroupBox {
public:
    using TepCustomGroupBox::TepCustomGroupBox;
    const char* ClassName() const override { return "TepGroupBox"; }
};

// A collapsible box: a push button with glyph and caption in the top-left corner of a
// one-pixel frame. A left press on the button collapses the box to BtnHeight + 5 or opens
// it again to OpenHeight, then fires OnCloseBox or OnOpenBox. Its height is held to the
// state; its width is free.
class TepOpenBox : public TEffectCControl {
public:
    explicit TepOpenBox(TComponent* AOwner);
    ~TepOpenBox() override;
    const char* ClassName() const override { return "TepOpenBox"; }

    bool BtnTransparent() const { return FBtnTransparent; }
    void SetBtnTransparent(bool Value);
    TColor BtnColor() const { return FBtnColor; }
    void SetBtnColor(TColor Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TColor BtnInnerColor() const { return FBtnInnerColor; }
    void SetBtnInnerColor(TColor Value);
    TColor BtnOuterColor() const { return FBtnOuterColor; }
    void SetBtnOuterColor(TColor Value);
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value);
    uint8_t NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(uint8_t Value);   // 0 draws no glyph
    TLayout Layout() const { return FLayout; }
    void SetLayout(TLayout Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    bool CloseBox() const { return FCloseBox; }
    void SetCloseBox(bool Value);
    int OpenHeight() const { return FOpenHeight; }
    void SetOpenHeight(int Value);
    int BtnWidth() const { return FBtnWidth; }
    void SetBtnWidth(int Value);
    int BtnHeight() const { return FBtnHeight; }
    void SetBtnHeight(int Value);

    TNotifyEvent OnOpenBox;
    TNotifyEvent OnCloseBox;

    // The button's rectangle: (5, 1, BtnWidth + 5, BtnHeight + 1).
    TRect ButtonRect() const;
    // The height the state asks for (never negative).
    int StateHeight() const;
    bool Hover() const { return FHover; }
    bool PressedLook() const { return FPressedLook; }

protected:
    void PaintFace() override;
    // A description sets the height, the state and the button's height in that order:
    // once all are read the height is held to the state they give.
    void Loaded() override;
    void WMSize(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool FBtnTransparent = false;
    TColor FBtnColor = clBtnFace;
    int FMargin = -1;
    int FSpacing = 0;
    TColor FBtnInnerColor = clBtnHighlight;
    TColor FBtnOuterColor = clBtnShadow;
    TColor FFrameColor = clBtnShadow;
    uint8_t FNumGlyphs = 1;
    TLayout FLayout = blGlyphLeft;
    std::unique_ptr<TBitmap> FGlyph;
    bool FCloseBox = false;
    int FOpenHeight = 100;
    int FBtnWidth = 25;
    int FBtnHeight = 25;
    bool FHover = false;
    bool FPressedLook = false;
    bool FHolding = false;   // a height correction is under way
};
