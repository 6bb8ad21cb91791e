#pragma once
// The bases of the effect controls. TEffectGControl (windowless) and TEffectCControl
// (windowed) paint through an off-screen bitmap one pixel larger than the control: it
// starts as a fill in Color or, when Transparent, as a copy of what lies beneath, then the
// descendant draws its face (PaintFace) and optional pixel effects (PaintEf calls
// PaintEffects on a TEffectBmp of it), and the finished bitmap is copied to the screen in
// one step. The bitmap and the effect buffer live only during one paint.
//
// The button bases add a glyph strip, layout, hover and press tracking, sounds and an
// OnClick of their own. A button owns its glyph; its sounds are references to wave players
// that are cleared when those are removed. GUI thread only.

#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"

#include <memory>

class TBitmap;
class TEffectBmp;
class TepWavePlayer;

class TEffectGControl : public TGraphicControl {
public:
    explicit TEffectGControl(TComponent* AOwner);
    ~TEffectGControl() override;
    const char* ClassName() const override { return "TEffectGControl"; }

    bool Transparent() const { return FTransparent; }
    // Stores, sets csOpaque to !Value, repaints.
    virtual void SetTransparent(bool Value);
    // Repaints now without erasing the parent's area (csOpaque for the one repaint).
    void XPaint();

protected:
    void Paint() override;
    virtual void PaintFace() { }
    virtual void PaintEffects() { }
    // Fills the off-screen bitmap with the parent's colour, then copies the parent's image.
    void PaintTransparent();
    // Runs PaintEffects on a TEffectBmp of the off-screen bitmap and copies it back.
    void PaintEf();
    void WMMove(TMessage& Message) override;

    // The off-screen bitmap (Width + 1 x Height + 1, canvas font = Font) while Paint runs.
    TBitmap* Bmp() const { return FBmp; }
    // The effect buffer while PaintEf runs.
    TEffectBmp* EfBmp() const { return FEfBmp; }

private:
    bool FTransparent = false;
    TBitmap* FBmp = nullptr;
    TEffectBmp* FEfBmp = nullptr;
};

class TEffectCControl : public TCustomControl {
public:
    explicit TEffectCControl(TComponent* AOwner);
    ~TEffectCControl() override;
    const char* ClassName() const override { return "TEffectCControl"; }

    bool Transparent() const { return FTransparent; }
    // Stores and repaints; the control style is left as it is.
    virtual void SetTransparent(bool Value);

protected:
    void Paint() override;
    virtual void PaintFace() { }
    virtual void PaintEffects() { }
    void PaintTransparent();
    void PaintEf();
    void WMMove(TMessage& Message) override;
    // The window's background is never erased: the paint covers it whole.
    void WMEraseBkgnd(TMessage& Message) override;

    TBitmap* Bmp() const { return FBmp; }
    TEffectBmp* EfBmp() const { return FEfBmp; }

private:
    bool FTransparent = false;
    TBitmap* FBmp = nullptr;
    TEffectBmp* FEfBmp = nullptr;
};

enum TLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using TNumGlyphs = int;   // 1..4

// Places a glyph and a caption inside Rect (top-left corners into the last four
// arguments). Margin -1 centres the pair; any other Margin puts the glyph that far from
// the edge the layout names and the text Spacing beyond it. A Layout outside the four
// leaves the outputs unchanged.
void CalcLCoord(TLayout Layout, const TRect& Rect, int GlyphW, int GlyphH, int TextW,
    int TextH, int Spacing, int Margin, int& TextX, int& TextY, int& GlyphX, int& GlyphY);

// The state and properties shared by the button bases; TBase is TEffectGControl or
// TEffectCControl.
template <class TBase>
class TEffectButton : public TBase {
public:
    explicit TEffectButton(TComponent* AOwner);
    ~TEffectButton() override;

    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);              // copies
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs Value);        // values outside 1..4 are ignored
    // The caption colour while hot; a change does not repaint.
    TColor ActiveTextColor() const { return FActiveTextColor; }
    void SetActiveTextColor(TColor Value) { FActiveTextColor = Value; }
    TLayout Layout() const { return FLayout; }
    void SetLayout(TLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);                  // values below -1 are refused
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    TepWavePlayer* ClickSound() const { return FClickSound; }
    void SetClickSound(TepWavePlayer* Value);
    TepWavePlayer* ActiveSound() const { return FActiveSound; }
    void SetActiveSound(TepWavePlayer* Value);

    bool Hot() const { return FHot; }
    bool Pressed() const { return FPressed; }
    // Inside with the edges excluded: 0 < X < Width and 0 < Y < Height.
    virtual bool IsMouseIn(int X, int Y) const;
    // The 1-based image of the strip for the current state.
    int GlyphIndex() const;

    // The button's own click event, fired after a release over the button.
    TNotifyEvent OnClick;

protected:
    // Paints the current image of the glyph strip into the off-screen bitmap at
    // (FGlyphX, FGlyphY), which the descendant's paint computes first.
    void DrawButtonGlyph();
    // XPaint for the windowless base, Repaint for the windowed one.
    void RepaintButton();
    void PlayWave(TepWavePlayer* Player);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Hover and press rules of the buttons that learn of enter and leave from the
    // framework: hot on entering (with the active sound), not hot on leaving, pressed by a
    // left press inside, and a left release while hot repaints, plays the click sound,
    // runs the inherited release and fires OnClick last (its handler may free the button).
    void EnterHot();
    void LeaveHot();
    void PressIfInside(TMouseButton Button, int X, int Y);
    void ReleaseAndClick(TMouseButton Button, TShiftState Shift, int X, int Y);

    bool FHot = false;
    bool FPressed = false;
    int FGlyphX = 0, FGlyphY = 0;

private:
    std::unique_ptr<TBitmap> FGlyph;
    TNumGlyphs FNumGlyphs = 1;
    TColor FActiveTextColor = clBlack;
    TLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 0;
    TepWavePlayer* FClickSound = nullptr;
    TepWavePlayer* FActiveSound = nullptr;
};

extern template class TEffectButton<TEffectGControl>;
extern template class TEffectButton<TEffectCControl>;

// A windowless button: hot while the framework reports the mouse inside.
class TButtonGControl : public TEffectButton<TEffectGControl> {
public:
    explicit TButtonGControl(TComponent* AOwner);
    const char* ClassName() const override { return "TButtonGControl"; }

protected:
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// A windowless button that tracks the mouse itself: every move sets the hot flag, and a
// 300 ms check after it turns hot clears it when the cursor has left unnoticed.
class TButtonGTControl : public TEffectButton<TEffectGControl> {
public:
    explicit TButtonGTControl(TComponent* AOwner);
    ~TButtonGTControl() override;
    const char* ClassName() const override { return "TButtonGTControl"; }
    bool TimerActive() const { return FTimerActive; }

protected:
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMTimer(TMessage& Message) override;

private:
    bool FTimerActive = false;
};

// A windowed button, hot while the framework reports the mouse inside.
class TButtonCControl : public TEffectButton<TEffectCControl> {
public:
    explicit TButtonCControl(TComponent* AOwner);
    const char* ClassName() const override { return "TButtonCControl"; }

protected:
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};
