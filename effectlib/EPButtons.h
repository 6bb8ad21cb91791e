#pragma once
// The library's buttons. TepShadowBtn: a windowless push button that floats over its
// background. A flat plate (rectangle, ellipse or rounded rectangle) in BtnColor casts a
// shadow made like the shadow label's: the background under the shadow's shape is halved
// in brightness and, with BlurShadow, blurred. Pressed, the plate moves one pixel towards
// its shadow. Hover and clicks follow the plate's shape. Further below: the speed button,
// the label and effect buttons, the colour button and the two focusable windowed buttons.
// Each owns its glyph; sounds and the colour dialog are references cleared when those
// components go. GUI thread only.

#include "effectlib/Effbmp.h"
#include "effectlib/VCLBase.h"

#include <cstdint>
#include <memory>

// The plate's shapes. Kept in a namespace of their own: the blur button's kinds use the
// same names for other values.
namespace epbuttons {
enum TBtnKind { bkRect, bkEllipse, bkRndRect };
}
using epbuttons::TBtnKind;

class TepShadowBtn : public TButtonGTControl {
public:
    explicit TepShadowBtn(TComponent* AOwner);
    const char* ClassName() const override { return "TepShadowBtn"; }

    // These setters store and repaint, also when the value is unchanged.
    int Radius() const { return FRadius; }
    void SetRadius(int Value);
    TBtnKind BtnKind() const { return FBtnKind; }
    void SetBtnKind(TBtnKind Value);
    uint8_t ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(uint8_t Value);
    TColor BtnColor() const { return FBtnColor; }
    void SetBtnColor(TColor Value);
    bool BlurShadow() const { return FBlurShadow; }
    void SetBlurShadow(bool Value);

    // The plate's size as the last paint measured it (0 before the first paint).
    int FaceWidth() const { return FFaceWidth; }
    int FaceHeight() const { return FFaceHeight; }
    // The plate's rectangle for the current press state.
    TRect PlateRect() const;
    // The shadow's box: for bkRect the filled rectangle, for the others the shape's box.
    TRect ShadowRect() const;
    // Within the plate's shape.
    bool IsMouseIn(int X, int Y) const override;
    TPoint TextPos() const { return { FTextX, FTextY }; }
    TPoint GlyphPos() const { return { FGlyphX, FGlyphY }; }

protected:
    void PaintFace() override;
    void CMTextChanged(TMessage& Message) override;

private:
    bool Down() const { return FPressed && FHot; }
    void SetLayoutCoord(TCanvas* C);

    int FGlyphHeight = 0, FGlyphWidth = 0, FTextWidth = 0, FTextHeight = 0;
    int FRadius = 10;
    TBtnKind FBtnKind = epbuttons::bkRect;
    uint8_t FShadowOffset = 3;
    int FFaceHeight = 0, FFaceWidth = 0;
    TColor FBtnColor = TColor(0xFF0000);
    bool FBlurShadow = false;
    int FTextX = 0, FTextY = 0;
};

class TBitmap;
class TColorDialog;

// TepSpeedButton: a windowless tool button, alone a push button, in a group (GroupIndex
// not 0) one of several of which at most one is down. Flat, it shows its frame only
// under the pointer. It can lay a gradient over its face, blend the face half-and-half
// with what lies beneath, show a checkerboard while held down in a group, colour the
// caption under the pointer, and play sounds on entering and on a click. States: 0 up,
// 1 disabled, 2 down while pressed, 3 down and held in a group.
class TepSpeedButton : public TEffectGControl {
public:
    explicit TepSpeedButton(TComponent* AOwner);
    ~TepSpeedButton() override;
    const char* ClassName() const override { return "TepSpeedButton"; }

    TColor ActiveGradColor() const { return FActiveGradColor; }
    void SetActiveGradColor(TColor Value);
    TColor GradColor() const { return FGradColor; }
    void SetGradColor(TColor Value);
    bool GradEffect() const { return FGradEffect; }
    void SetGradEffect(bool Value);
    TGradKind GradKind() const { return FGradKind; }
    void SetGradKind(TGradKind Value);
    bool MiddleTransparent() const { return FMiddleTransparent; }
    void SetMiddleTransparent(bool Value);
    TepWavePlayer* ClickSound() const { return FClickSound; }
    void SetClickSound(TepWavePlayer* Value);
    TepWavePlayer* ActiveSound() const { return FActiveSound; }
    void SetActiveSound(TepWavePlayer* Value);
    TColor ActiveTextColor() const { return FActiveTextColor; }
    void SetActiveTextColor(TColor Value) { FActiveTextColor = Value; }
    TLayout Layout() const { return FLayout; }
    void SetLayout(TLayout Value);
    uint8_t NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(uint8_t Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    uint8_t FrameWidth() const { return FFrameWidth; }
    void SetFrameWidth(uint8_t Value);
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    TColor PatternColor() const { return FPatternColor; }
    void SetPatternColor(TColor Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);

    int State() const { return FState; }
    bool Hot() const { return FHot; }
    bool Dragging() const { return FDragging; }
    TPoint TextPos() const { return { FTextX, FTextY }; }
    TPoint GlyphPos() const { return { FGlyphX, FGlyphY }; }
    void Click() override;

protected:
    void PaintFace() override;
    void PaintEffects() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void WMLButtonDblClk(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMButtonPressed(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateExclusive();
    void UpdateTracking();
    bool Inside(int X, int Y) const;

    TColor FActiveGradColor = clBlack, FGradColor = clBlack;
    bool FGradEffect = false;
    TGradKind FGradKind = gdRight;
    bool FMiddleTransparent = false;
    TepWavePlayer* FClickSound = nullptr;
    TepWavePlayer* FActiveSound = nullptr;
    TColor FActiveTextColor = clBlack;
    TLayout FLayout = blGlyphLeft;
    uint8_t FNumGlyphs = 1;
    std::unique_ptr<TBitmap> FGlyph;
    uint8_t FFrameWidth = 0;
    TColor FInnerColor = clBtnHighlight, FOuterColor = clBtnShadow;
    TColor FPatternColor = clWhite;
    bool FAllowAllUp = false;
    int FGroupIndex = 0;
    bool FDown = false, FFlat = false;
    int FMargin = -1, FSpacing = 4;
    std::unique_ptr<TBitmap> FPattern;
    int FState = 0;
    bool FHot = false, FDragging = false;
    int FTextX = 0, FTextY = 0, FGlyphX = 0, FGlyphY = 0;
};

// TepLabelButton: a caption and a glyph without a face, pinned to opposite edges by
// Layout (or centred above each other); the caption lights up, or glows with
// EfCaption, under the pointer and moves by a pixel while pressed.
class TepLabelButton : public TButtonGControl {
public:
    explicit TepLabelButton(TComponent* AOwner);
    const char* ClassName() const override { return "TepLabelButton"; }
    bool EfCaption() const { return FEfCaption; }
    void SetEfCaption(bool Value) { FEfCaption = Value; }
    TPoint TextPos() const { return { FTextX, FTextY }; }
    TPoint GlyphPos() const { return { FGlyphX, FGlyphY }; }

protected:
    void PaintFace() override;
    void CMTextChanged(TMessage& Message) override;

private:
    void SetCoord(TCanvas* C);
    bool FEfCaption = false;
    int FTextX = 0, FTextY = 0;
};

// TepEfButton: a push button whose plate sits in a shaded well behind a black rim; the
// plate's bevel is softened by a one-pixel blur, the edges are redrawn sharp after it,
// and the caption can glow under the pointer.
class TepEfButton : public TButtonGControl {
public:
    explicit TepEfButton(TComponent* AOwner);
    const char* ClassName() const override { return "TepEfButton"; }
    bool EfCaption() const { return FEfCaption; }
    void SetEfCaption(bool Value) { FEfCaption = Value; }
    uint8_t BtnFrameWidth() const { return FBtnFrameWidth; }
    void SetBtnFrameWidth(uint8_t Value);
    TColor BtnColor() const { return FBtnColor; }
    void SetBtnColor(TColor Value);
    uint8_t FrameWidth() const { return FFrameWidth; }
    void SetFrameWidth(uint8_t Value);
    TPoint TextPos() const { return { FTextX, FTextY }; }
    TPoint GlyphPos() const { return { FGlyphX, FGlyphY }; }

protected:
    void PaintFace() override;
    void PaintEffects() override;
    void CMTextChanged(TMessage& Message) override;

private:
    bool FEfCaption = false;
    uint8_t FBtnFrameWidth = 3;
    TColor FBtnColor = clBtnFace;
    uint8_t FFrameWidth = 2;
    int FTextX = 0, FTextY = 0;
};

// The face of a see-through, half-transparent button with a gradient: a W x H fill in
// FillColor under the gradient, brought to the face's size and averaged half-and-half
// with what the face holds.
void BlendGradientFace(TBitmap* Face, int W, int H, TColor FillColor, TColor GradColor,
    TGradKind Kind);

enum TMarkAlign { mkLeft, mkTop, mkRight, mkBottom };

// TepColorButton: shows a colour swatch (the mark) beside its glyph and caption; a left
// press runs the colour dialog it refers to, and an accepted, different colour becomes
// ColorValue and fires OnChange. The dialog runs inside the press; the button, the dialog
// or the form may be destroyed meanwhile, and a second press cannot open a second dialog.
class TepColorButton : public TEffectGControl {
public:
    explicit TepColorButton(TComponent* AOwner);
    ~TepColorButton() override;
    const char* ClassName() const override { return "TepColorButton"; }

    uint8_t MarkOffset() const { return FMarkOffset; }
    void SetMarkOffset(uint8_t Value);
    TMarkAlign MarkAlign() const { return FMarkAlign; }
    void SetMarkAlign(TMarkAlign Value);
    TepWavePlayer* ClickSound() const { return FClickSound; }
    void SetClickSound(TepWavePlayer* Value);
    TepWavePlayer* ActiveSound() const { return FActiveSound; }
    void SetActiveSound(TepWavePlayer* Value);
    bool UseFrame() const { return FUseFrame; }
    void SetUseFrame(bool Value) { FUseFrame = Value; }
    TLayout Layout() const { return FLayout; }
    void SetLayout(TLayout Value);
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    int MarkWidth() const { return FMarkWidth; }
    void SetMarkWidth(int Value);
    int MarkHeight() const { return FMarkHeight; }
    void SetMarkHeight(int Value);
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    TColor ColorValue() const { return FColorValue; }
    void SetColorValue(TColor Value);
    TColorDialog* ColorDialog() const { return FColorDialog; }
    void SetColorDialog(TColorDialog* Value);
    bool EfCaption() const { return FEfCaption; }
    void SetEfCaption(bool Value) { FEfCaption = Value; }
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TColor ActiveTextColor() const { return FActiveTextColor; }
    void SetActiveTextColor(TColor Value) { FActiveTextColor = Value; }
    TNotifyEvent OnChange;

    bool Hot() const { return FHot; }
    bool Pressed() const { return FPressed; }
    TPoint TextPos() const { return { FTextX, FTextY }; }
    TPoint GlyphPos() const { return { FGlyphX, FGlyphY }; }
    TPoint MarkPos() const { return { FMarkX, FMarkY }; }

protected:
    void PaintFace() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void SetCoord(TCanvas* C);

    uint8_t FMarkOffset = 2;
    TMarkAlign FMarkAlign = mkLeft;
    TepWavePlayer* FClickSound = nullptr;
    TepWavePlayer* FActiveSound = nullptr;
    bool FUseFrame = true;
    TLayout FLayout = blGlyphLeft;
    TNumGlyphs FNumGlyphs = 1;
    int FMargin = -1, FSpacing = 0;
    int FMarkWidth = 10, FMarkHeight = 10;
    TColor FInnerColor = clBtnHighlight, FOuterColor = clBtnShadow;
    TColor FColorValue = clBlack;
    TColorDialog* FColorDialog = nullptr;
    bool FEfCaption = false;
    std::unique_ptr<TBitmap> FGlyph;
    TColor FActiveTextColor = clBlack;
    bool FHot = false, FPressed = false;
    int FTextX = 0, FTextY = 0, FGlyphX = 0, FGlyphY = 0, FMarkX = 0, FMarkY = 0;
};

// The keyboard side shared by the two windowed buttons: focus taken on a click (a click
// that cannot take it is dropped), Space pressed and released, Enter, the accelerator,
// and the focus flag that their focus marks follow. While Space is held the mouse is
// ignored.
class TFocusGlyphButton : public TButtonCControl {
public:
    explicit TFocusGlyphButton(TComponent* AOwner);
    const char* ClassName() const override { return "TFocusGlyphButton"; }

    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool Value) { FShowFocus = Value; Repaint(); }
    bool MiddleTransparent() const { return FMiddleTransparent; }
    void SetMiddleTransparent(bool Value) { FMiddleTransparent = Value; Repaint(); }
    bool HasFocusFlag() const { return FFocusedFlag; }
    bool SpaceHeld() const { return FSpaceHeld; }
    TPoint TextPos() const { return { FTextX, FTextY }; }
    TPoint GlyphPos() const { return { FGlyphX, FGlyphY }; }
    void Click() override;
    void WndProc(TMessage& Message) override;

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void CMFocusChanged(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // Whether glyph and caption move by a pixel while pressed and hot.
    virtual bool ShiftsWhenDown() const = 0;
    virtual bool LeaveNeedsEnabled() const { return false; }
    // Caption and glyph positions and the caption's size, for the current state.
    void SetCoord(TCanvas* C);
    // The caption (DrawText, the ampersand marking the accelerator) and then the glyph.
    void PaintCaptionAndGlyph(TCanvas* C);
    bool CursorInside() const;

    int FTextX = 0, FTextY = 0, FTextW = 0, FTextH = 0;

private:
    bool FShowFocus = true;
    bool FMiddleTransparent = false;
    bool FSpaceHeld = false;
    bool FFocusedFlag = false;
    bool FFocusing = false;
    bool FPressDropped = false;
};

// TepFocusButton: a focusable push button with a 3D frame of adjustable width over a
// face that can carry a gradient or a half-transparent tint; the focus mark is the
// dotted focus rectangle, or an inverted outline over a gradient or see-through face.
class TepFocusButton : public TFocusGlyphButton {
public:
    explicit TepFocusButton(TComponent* AOwner);
    const char* ClassName() const override { return "TepFocusButton"; }

    TColor ActiveGradColor() const { return FActiveGradColor; }
    void SetActiveGradColor(TColor Value) { FActiveGradColor = Value; Repaint(); }
    TColor GradColor() const { return FGradColor; }
    void SetGradColor(TColor Value) { FGradColor = Value; Repaint(); }
    bool GradEffect() const { return FGradEffect; }
    void SetGradEffect(bool Value) { FGradEffect = Value; Repaint(); }
    TGradKind GradKind() const { return FGradKind; }
    void SetGradKind(TGradKind Value) { FGradKind = Value; Repaint(); }
    uint8_t FrameWidth() const { return FFrameWidth; }
    void SetFrameWidth(uint8_t Value) { FFrameWidth = Value; Repaint(); }
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value) { FOuterColor = Value; Repaint(); }
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value) { FInnerColor = Value; Repaint(); }

protected:
    void PaintFace() override;
    void PaintEffects() override;
    bool ShiftsWhenDown() const override { return FFrameWidth != 0; }

private:
    TColor FActiveGradColor = clBlack, FGradColor = clBlack;
    bool FGradEffect = false;
    TGradKind FGradKind = gdRight;
    uint8_t FFrameWidth = 1;
    TColor FOuterColor = clBtnShadow, FInnerColor = clBtnHighlight;
};

// TepTransparentBtn: a see-through focusable button whose frame is drawn in 3D or in one
// colour, optionally with rounded corners that also cut its window (presses in the cut
// corners do not reach it).
class TepTransparentBtn : public TFocusGlyphButton {
public:
    explicit TepTransparentBtn(TComponent* AOwner);
    const char* ClassName() const override { return "TepTransparentBtn"; }

    uint8_t Radius() const { return FRadius; }
    void SetRadius(uint8_t Value);
    TColor FrameInnerColor() const { return FFrameInnerColor; }
    void SetFrameInnerColor(TColor Value) { FFrameInnerColor = Value; Repaint(); }
    TColor FrameOuterColor() const { return FFrameOuterColor; }
    void SetFrameOuterColor(TColor Value) { FFrameOuterColor = Value; Repaint(); }
    bool Frame() const { return FFrame; }
    void SetFrame(bool Value);
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value) { FFrameColor = Value; Repaint(); }
    bool Frame3D() const { return FFrame3D; }
    void SetFrame3D(bool Value) { FFrame3D = Value; Repaint(); }
    bool FrameRnd() const { return FFrameRnd; }
    void SetFrameRnd(bool Value);
    bool IsMouseIn(int X, int Y) const override;
    // The corner size of the rounded focus mark: 2 x Radius - 5, never below 0.
    int FocusCorner() const;

protected:
    void PaintFace() override;
    void PaintEffects() override;
    void WMSize(TMessage& Message) override;
    bool ShiftsWhenDown() const override;
    bool LeaveNeedsEnabled() const override { return true; }

private:
    void CreateR();
    uint8_t FRadius = 5;
    TColor FFrameInnerColor = clBtnHighlight, FFrameOuterColor = clBtnShadow;
    bool FFrame = true;
    TColor FFrameColor = clBlack;
    bool FFrame3D = false, FFrameRnd = false;
    bool FHasRegion = false;
};
