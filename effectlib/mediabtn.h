#pragma once
// Bitmap push buttons. TepCustomBitmapButton shows one of three faces (normal, hot,
// pressed) by its state and handles the mouse, Enter, click sounds and ModalResult;
// TepRealTimeButton builds the three faces itself, once, after the form has been read;
// TepBlurButton draws them as a coloured plate with a black frame and a bevel, softened
// by a one-pixel blur, with the caption on top. A button owns its three faces; its sounds
// are references to wave players, cleared when those go. GUI thread only.

#include "framework/controls/CustomControl.h"
#include "framework/controls/Form.h"

#include <memory>

class TBitmap;
class TepWavePlayer;

enum TBtnState { abNone, abPush, abUnPush };
enum TepKind { bkRect, bkRoundRect, bkEllipse };

class TepCustomBitmapButton : public TCustomControl {
public:
    explicit TepCustomBitmapButton(TComponent* AOwner);
    ~TepCustomBitmapButton() override;
    const char* ClassName() const override { return "TepCustomBitmapButton"; }

    // Down: pressed with the mouse over the button; up: pressed, but the mouse has left.
    virtual void Press(bool Down);
    // The mouse is over the button; turning active plays ActiveSound.
    virtual void Active(bool Value);
    bool IsActive() const { return FActive; }
    TBtnState PressState() const { return FPressState; }
    // Both far edges included: 0 <= X <= Width and 0 <= Y <= Height.
    bool PointInComponent(int X, int Y) const;

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TepWavePlayer* ClickSound() const { return FClickSound; }
    void SetClickSound(TepWavePlayer* Value);
    TepWavePlayer* ActiveSound() const { return FActiveSound; }
    void SetActiveSound(TepWavePlayer* Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // Stored and published; none of these classes draws with it.
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);

    TBitmap* BmpNormal() const { return FBmpNormal.get(); }
    TBitmap* BmpActive() const { return FBmpActive.get(); }
    TBitmap* BmpDown() const { return FBmpDown.get(); }
    // The face Paint shows in the current state.
    TBitmap* CurrentFace() const;

    // Plays ClickSound (while the mouse is over the button), hands ModalResult to the
    // parent form, then fires OnClick.
    void Click() override;

protected:
    virtual void DrawBitmaps() { }
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyPress(char& Key) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;

    bool FTransparent = true;

private:
    bool FActive = false;
    TBtnState FPressState = abNone;
    TModalResult FModalResult = 0;
    TepWavePlayer* FClickSound = nullptr;
    TepWavePlayer* FActiveSound = nullptr;
    std::unique_ptr<TBitmap> FBmpActive, FBmpNormal, FBmpDown;
    TColor FBackColor = clBtnFace;
};

class TepRealTimeButton : public TepCustomBitmapButton {
public:
    explicit TepRealTimeButton(TComponent* AOwner);
    const char* ClassName() const override { return "TepRealTimeButton"; }

    // Builds the three faces with CreateOneBitmap and takes the normal face's size.
    void CreateBitmaps();
    // One face; the caller owns it. None in this class, which leaves that face empty.
    virtual std::unique_ptr<TBitmap> CreateOneBitmap(TBtnState State, bool Active);

protected:
    void Loaded() override;
    void DrawBitmaps() override { CreateBitmaps(); }
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    // Design mode without loading or reading, and with a parent: faces follow changes.
    bool RebuildsAtOnce() const;
};

class TepBlurButton : public TepRealTimeButton {
public:
    explicit TepBlurButton(TComponent* AOwner);
    const char* ClassName() const override { return "TepBlurButton"; }

    TColor ActiveTextColor() const { return FActiveTextColor; }
    void SetActiveTextColor(TColor Value);
    int BevelWidht() const { return FBevelWidht; }
    void SetBevelWidht(int Value);
    bool Blur() const { return FBlur; }
    void SetBlur(bool Value);
    // The plate colour: a property of this class, not the control's colour.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TepKind Kind() const { return FKind; }
    void SetKind(TepKind Value);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor Value);

    // The plate's light and dark shades: the colour moved by +70 and -70 per channel.
    TColor LightColor() const;
    TColor DarkColor() const;

    std::unique_ptr<TBitmap> CreateOneBitmap(TBtnState State, bool Active) override;

protected:
    void WMSize(TMessage& Message) override;

private:
    void PropertyChanged();
    void DrawPlate(TBitmap* Bmp, TColor UpperLeft, TColor LowerRight) const;

    TColor FActiveTextColor = clHighlight;
    int FBevelWidht = 2;
    bool FBlur = true;
    TColor FColor = clBtnFace;
    TepKind FKind = bkRect;
    TColor FTextColor = clWindowText;
};

// A round push button shaded like a ball lit from the upper left, with an optional glyph
// in the middle. The control stays square (its height decides) and its window is cut to
// the circle, so clicks outside the ball do not reach it. Owns its glyph.
class TepSphereButton : public TepRealTimeButton {
public:
    explicit TepSphereButton(TComponent* AOwner);
    ~TepSphereButton() override;
    const char* ClassName() const override { return "TepSphereButton"; }

    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor Value);
    // The ball's colour on the normal face: a property of this class.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);

    // The bounding box of shading ellipse C (0 .. 12) on a ball of diameter D.
    static TRect EllipseBox(int C, int D);
    // Where the glyph's top-left corner goes on a face.
    TPoint GlyphPos(bool Pressed) const;

    std::unique_ptr<TBitmap> CreateOneBitmap(TBtnState State, bool Active) override;

protected:
    void WMSize(TMessage& Message) override;

private:
    void PropertyChanged();
    void SetRegion();

    TColor FActiveColor = 0xFF0000;
    TColor FColor = 0x808080;
    std::unique_ptr<TBitmap> FGlyph;
    bool FInSize = false;
};

// The windowed button base whose face is painted by PaintFace on an off-screen bitmap
// made for every paint. Press, hover, Enter and click work as on the bitmap button. The
// sounds are references, cleared when those players go. GUI thread only.
class TepCustomButton : public TCustomControl {
public:
    explicit TepCustomButton(TComponent* AOwner);
    ~TepCustomButton() override;
    const char* ClassName() const override { return "TepCustomButton"; }

    virtual void Press(bool Down);
    virtual void Active(bool Value);
    bool IsActive() const { return FActive; }
    TBtnState PressState() const { return FPressState; }
    bool PointInComponent(int X, int Y) const;

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    TepWavePlayer* ClickSound() const { return FClickSound; }
    void SetClickSound(TepWavePlayer* Value);
    TepWavePlayer* ActiveSound() const { return FActiveSound; }
    void SetActiveSound(TepWavePlayer* Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    void Click() override;

protected:
    // Draws the face on B, which is (width + 5) x (height + 5) and already holds the
    // background.
    virtual void PaintFace(TBitmap* B) { (void)B; }
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyPress(char& Key) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void WMMove(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;

private:
    bool FActive = false;
    TBtnState FPressState = abNone;
    TModalResult FModalResult = 0;
    TepWavePlayer* FClickSound = nullptr;
    TepWavePlayer* FActiveSound = nullptr;
    bool FTransparent = false;
};

// A button that is only its caption: a soft shadow while the pointer is away, a soft
// glow of ActiveColor round the letters while it is over the button.
class TepLightLabelButton : public TepCustomButton {
public:
    explicit TepLightLabelButton(TComponent* AOwner);
    const char* ClassName() const override { return "TepLightLabelButton"; }

    TColor NormalColor() const { return FNormalColor; }
    void SetNormalColor(TColor Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor Value);

    // Where the caption's text starts on the face.
    TPoint TextOrigin() const;

protected:
    void PaintFace(TBitmap* B) override;

private:
    TColor FNormalColor = 0;
    TColor FShadowColor = clBtnShadow;
    TColor FActiveColor = 0x00FFFF;
};

class TepBitmap;

// A push button in a media player's style: a raised or sunken bevel of several lines, a
// tiled wallpaper inside it (shared, not owned) and a bold italic caption over its
// shadow. Sounds on entering and clicking; ModalResult goes to the holding form. Press
// states: 0 idle, 1 pressed (sunken), 2 pressed with the pointer outside (raised).
class TepMediaButton : public TCustomControl {
public:
    explicit TepMediaButton(TComponent* AOwner);
    const char* ClassName() const override { return "TepMediaButton"; }

    TepWavePlayer* ClickSound() const { return FClickSound; }
    void SetClickSound(TepWavePlayer* Value);
    TepWavePlayer* ActiveSound() const { return FActiveSound; }
    void SetActiveSound(TepWavePlayer* Value);
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor Value) { FActiveColor = Value; }
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TepBitmap* Wallpaper() const { return FWallpaper; }
    void SetWallpaper(TepBitmap* Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    void Press(bool Down);
    void Active(bool On);
    bool IsActive() const { return FActive; }
    int PressState() const { return FPressState; }
    bool PointInComponent(int X, int Y) const;
    void Click() override;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyPress(char& Key) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;

private:
    TepWavePlayer* FClickSound = nullptr;
    TepWavePlayer* FActiveSound = nullptr;
    TColor FInnerColor = clBtnHighlight;
    TColor FActiveColor = 0;
    TColor FOuterColor = clBtnShadow;
    int FBevelWidth = 2;
    TepBitmap* FWallpaper = nullptr;
    TModalResult FModalResult = 0;
    bool FActive = false;
    int FPressState = 0;
};
