#pragma once
// The move-form area: an invisible rectangle that drags the window owning it while the
// left button is held inside it. Controls above it keep their own input; only presses
// that reach the area start a drag. The window follows the pointer's travel on the
// screen since the press, so a window system that moves windows late cannot make the
// drag lag or swing. Owns nothing; GUI thread only.

#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"
#include "effectlib/Medialib.h"
#include "framework/stdctrls/CustomPanel.h"
#include "platform/raster/Region.h"

#include <cstdint>
#include <memory>
#include <string>

class TepMoveForm : public TGraphicControl {
public:
    explicit TepMoveForm(TComponent* AOwner);
    const char* ClassName() const override { return "TepMoveForm"; }

    bool Dragging() const { return FDragging; }
    // The area drags the window that shows it when its owner is that window's form.
    bool DragsWindow() const override;
    // The press point of the last button press, in the area's coordinates.
    TPoint PressPoint() const { return { FPressX, FPressY }; }

protected:
    // At design time only: a dashed outline, so the area can be seen.
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // The owner when it is a control (a form for an area placed on one); an area owned
    // by anything else moves nothing.
    TControl* MovedWindow() const;
    // The pointer on the screen: the window system's own reading when there is one.
    TPoint PointerOnScreen(int X, int Y) const;
    void Anchor(int X, int Y);

    bool FDragging = false;
    int FPressX = 0, FPressY = 0;
    TPoint FWindowAtPress, FPointerAtPress;
};

// Frame widths of the fader and the switch: 1..50; other values are ignored.
using TSmType = int;
enum TState { sOff, sOn };

// The part shared by the fader and the switch: a windowed control shaped as a vertical
// bar with semicircular ends, drawn as a raised plate with a sunken slot and a round,
// softly shaded knob. It owns its window shape; the shape is remade on every resize.
class TepRoundBar : public TCustomControl {
public:
    explicit TepRoundBar(TComponent* AOwner);
    ~TepRoundBar() override;

    TSmType FrameWidth() const { return FFrameWidth; }
    void SetFrameWidth(TSmType Value);
    int Radius() const { return FRadius; }
    // The knob's rectangle for a knob centred at height Y.
    TRect KnobRect(int Y) const;

protected:
    // Makes the width even and the shape; the switch also fixes its height here.
    virtual void CreateR();
    void WMSize(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;
    // The whole face with the knob centred at height Y, slot from SlotRect.
    void DrawFace(TCanvas* Target, int Y, TColor KnobColor, const TRect& SlotRect);

    int FRadius = 0;

private:
    TSmType FFrameWidth = 1;
    bool FInCreateR = false;
};

// A fader: the knob is dragged along the slot and gives an integer Value between MinValue
// (knob at the bottom) and MaxValue (at the top). The knob follows the pointer at the
// drag timer's pace. A range of one value or a bar no higher than twice its radius has no
// travel: the knob rests at the bottom and a drag leaves Value alone.
class TepRegulator : public TepRoundBar {
public:
    explicit TepRegulator(TComponent* AOwner);
    ~TepRegulator() override;
    const char* ClassName() const override { return "TepRegulator"; }

    // The drag timer's period in ms; 0 is taken as 10 ms.
    uint32_t TimeInt() const { return FTimeInt; }
    void SetTimeInt(uint32_t Value) { FTimeInt = Value; }
    int Value() const { return FValue; }
    void SetValue(int V);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int M);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int M);
    TColor BtnColor() const { return FBtnColor; }
    void SetBtnColor(TColor Value);

    // The knob's vertical centre in client pixels.
    int BtnPos() const { return FBtnPos; }
    bool Dragging() const { return FDragging; }
    bool PointinBtn(int X, int Y) const;
    // The knob position for Value, and Value for the knob position.
    void CalcBtnPos();
    void CalcValue();

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void CreateR() override;
    // A form sets the value before the range; the knob is placed once all are read.
    void Loaded() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMTimer(TMessage& Message) override;

private:
    bool HasTravel() const;
    void Change();

    uint32_t FTimeInt = 100;
    int FMinValue = 0;
    int FMaxValue = 100;
    int FValue = 0;
    int FBtnPos = 0;
    int FDrawnPos = 0;
    int FLastY = 0;
    TColor FBtnColor = clBtnFace;
    bool FDragging = false;
    int FCurY = 0;
};

// A two-position toggle: a left click inside its shape moves the knob to the other end.
// The bar is always 2 : 3 (the height follows the width).
class TepSwitch : public TepRoundBar {
public:
    explicit TepSwitch(TComponent* AOwner);
    const char* ClassName() const override { return "TepSwitch"; }

    TColor OnBtnColor() const { return FOnBtnColor; }
    void SetOnBtnColor(TColor Value);
    TColor OffBtnColor() const { return FOffBtnColor; }
    void SetOffBtnColor(TColor Value);
    TState State() const { return FState; }
    // Stores, repaints, then fires OnOn or OnOff.
    void SetState(TState S);
    // The knob's vertical centre for the current state.
    int KnobY() const;

    TNotifyEvent OnOn;
    TNotifyEvent OnOff;

protected:
    void Paint() override;
    void CreateR() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TColor FOnBtnColor = clLime;
    TColor FOffBtnColor = clBtnFace;
    TState FState = sOff;
};

// ---- Bevel, splitter, image and image panel -------------------------------------------

class TBitmap;
class TepBitmap;
class TCustomForm;

// Shapes and styles of the library's bevel. Kept in a namespace: the framework's bevel
// uses the same member names.
namespace epctrls {
enum TepBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
enum TepBevelStyle { bsLowered, bsRaised };
}
using epctrls::TepBevelShape;
using epctrls::TepBevelStyle;

// A two-colour bevel box, etched frame or line. Owns nothing.
class TepBevel : public TGraphicControl {
public:
    explicit TepBevel(TComponent* AOwner);
    const char* ClassName() const override { return "TepBevel"; }

    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    TepBevelShape Shape() const { return FShape; }
    void SetShape(TepBevelShape Value);
    TepBevelStyle Style() const { return FStyle; }
    void SetStyle(TepBevelStyle Value);

protected:
    void Paint() override;

private:
    TColor FInnerColor = clBtnHighlight;
    TColor FOuterColor = clBtnShadow;
    TepBevelShape FShape = epctrls::bsBox;
    TepBevelStyle FStyle = epctrls::bsLowered;
};

// A bar that resizes the aligned control beside it by dragging. While a drag runs, an
// inverted line over the parent shows where the edge will go, and Escape on the form's
// active control cancels. The sizing state is ended by the release, Escape, a lost
// capture, or the destruction of the splitter or of the control it hooked. Owns its
// glyph.
class TepSplitter : public TGraphicControl {
public:
    explicit TepSplitter(TComponent* AOwner);
    ~TepSplitter() override;
    const char* ClassName() const override { return "TepSplitter"; }

    bool UseGlyph() const { return FUseGlyph; }
    void SetUseGlyph(bool Value);
    TBitmap* SplitterGlyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool Value);
    // At least 1.
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value);

    TNotifyEvent OnMoved;

    // Sizing state, for callers that show or test it.
    bool Sizing() const { return FControl != nullptr; }
    TControl* ResizedControl() const { return FControl; }
    int NewSize() const { return FNewSize; }
    int MaxSize() const { return FMaxSize; }
    bool LineVisible() const { return FLineVisible; }
    // The drag line in the parent's coordinates.
    TRect DragLineRect() const;
    // The aligned control beside the splitter that a drag would resize, or none.
    TControl* FindControl() const;
    // Ends a drag without applying it, then fires OnMoved.
    void StopSizing();

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMCancelMode(TMessage& Message) override;

private:
    bool Vertical() const;
    void UpdateSize(int X, int Y);
    void DrawLine();
    void ApplySize();
    // Forgets the drag: removes the line, gives the hooked control its key handler back.
    void EndSizing();
    void FocusKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);

    bool FUseGlyph = false;
    std::unique_ptr<TBitmap> FGlyph;
    TColor FInnerColor = clBtnHighlight;
    TColor FOuterColor = clBtnShadow;
    bool FBeveled = true;
    int FMinSize = 30;

    TControl* FControl = nullptr;
    TPoint FDownPos;
    int FSplit = 0;
    int FNewSize = 0;
    int FMaxSize = 0;
    TCustomForm* FLineForm = nullptr;
    TRect FLineRect;
    bool FLineVisible = false;
    TWinControl* FActiveControl = nullptr;
    TKeyEvent FOldKeyDown;
};

// A bitmap shown plain, keyed by its bottom-left pixel, stretched or tiled. Owns it.
class TepImage : public TGraphicControl {
public:
    explicit TepImage(TComponent* AOwner);
    ~TepImage() override;
    const char* ClassName() const override { return "TepImage"; }

    bool GlyphTransparent() const { return FGlyphTransparent; }
    void SetGlyphTransparent(bool Value);
    bool WallStyle() const { return FWallStyle; }
    void SetWallStyle(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);

protected:
    void Paint() override;

private:
    bool FGlyphTransparent = false;
    bool FWallStyle = false;
    bool FStretch = false;
    std::unique_ptr<TBitmap> FGlyph;
};

// Draws a caption into R as the library's panels do: centred on the height of "W",
// aligned by Alignment, tabs expanded.
void DrawPanelCaption(TCanvas* Canvas, TRect R, const std::string& Caption, TFont* Font,
    TAlignment Alignment);

// A panel with a tiled wallpaper (shared, not owned) and two-colour bevels.
class TepImagePanel : public TCustomPanel {
public:
    explicit TepImagePanel(TComponent* AOwner);
    const char* ClassName() const override { return "TepImagePanel"; }

    TColor BevelInnerColor() const { return FBevelInnerColor; }
    void SetBevelInnerColor(TColor Value);
    TColor BevelOuterColor() const { return FBevelOuterColor; }
    void SetBevelOuterColor(TColor Value);
    TepBitmap* Wallpaper() const { return FWallpaper; }
    void SetWallpaper(TepBitmap* Value);

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WMEraseBkgnd(TMessage& Message) override;

private:
    TColor FBevelInnerColor = clBtnHighlight;
    TColor FBevelOuterColor = clBtnShadow;
    TepBitmap* FWallpaper = nullptr;
};

// ---- Round and shadow panels ----------------------------------------------------------

enum TPanelKind { pkEllipse, pkRndRect };

// The part the two round panels share: the window cut to an ellipse or a rounded
// rectangle (remade on every resize), two-colour round bevels and the caption.
class TepCustomRndPanel : public TCustomPanel {
public:
    explicit TepCustomRndPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TepCustomRndPanel"; }

    int Radius() const { return FRadius; }
    void SetRadius(int Value);
    TPanelKind PanelKind() const { return FPanelKind; }
    void SetPanelKind(TPanelKind Value);
    TColor BevelInnerColor() const { return FBevelInnerColor; }
    void SetBevelInnerColor(TColor Value);
    TColor BevelOuterColor() const { return FBevelOuterColor; }
    void SetBevelOuterColor(TColor Value);

    // The window shape for the current kind and size, in the panel's coordinates.
    plat::Region ShapeRegion() const;

protected:
    void CreateR();
    // Bevels and caption over the background Paint has drawn.
    void PaintBevels();
    void WMSize(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;

private:
    int FRadius = 20;
    TPanelKind FPanelKind = pkEllipse;
    TColor FBevelInnerColor = clBtnHighlight;
    TColor FBevelOuterColor = clBtnShadow;
};

// A round panel over a tiled wallpaper (shared, not owned) or its colour.
class TepRndPanel : public TepCustomRndPanel {
public:
    explicit TepRndPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TepRndPanel"; }

    TepBitmap* Wallpaper() const { return FWallpaper; }
    void SetWallpaper(TepBitmap* Value);

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TepBitmap* FWallpaper = nullptr;
};

// A round panel whose face is what lies beneath it, optionally mixed half and half with
// its colour and sprinkled with fresh noise on every rebuild. Owns that parent image,
// which is rebuilt before each repaint of its background.
class TepEffectRndPanel : public TepCustomRndPanel {
public:
    explicit TepEffectRndPanel(TComponent* AOwner);
    ~TepEffectRndPanel() override;
    const char* ClassName() const override { return "TepEffectRndPanel"; }

    bool MiddleTransparent() const { return FMiddleTransparent; }
    void SetMiddleTransparent(bool Value);
    bool Noise() const { return FNoise; }
    void SetNoise(bool Value);
    TBitmap* ParentImage() const { return FParentImage.get(); }

    void CreatePI();
    void InvalidatePanel();

protected:
    void Paint() override;
    void WMEraseBkgnd(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;

private:
    bool FMiddleTransparent = false;
    bool FNoise = false;
    std::unique_ptr<TBitmap> FParentImage;
};

// A rectangular panel that casts a half-dark shadow over what lies beneath it towards
// one corner and keeps its children on the face, off the shadow. The wallpaper is
// shared, not owned.
class TepShadowPanel : public TCustomPanel {
public:
    explicit TepShadowPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TepShadowPanel"; }

    int ShadowWidth() const { return FShadowWidth; }
    void SetShadowWidth(int Value);
    TShadowKind ShadowKind() const { return FShadowKind; }
    void SetShadowKind(TShadowKind Value);
    TColor BevelInnerColor() const { return FBevelInnerColor; }
    void SetBevelInnerColor(TColor Value);
    TColor BevelOuterColor() const { return FBevelOuterColor; }
    void SetBevelOuterColor(TColor Value);
    TepBitmap* Wallpaper() const { return FWallpaper; }
    void SetWallpaper(TepBitmap* Value);

    // The face and the two shadow strips (right and bottom inclusive) for the current
    // size. A shadow width below 0 or beyond the panel is held to 0 .. the smaller side.
    TRect FaceRect() const;
    TRect StripA() const;
    TRect StripB() const;

protected:
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& r) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WMEraseBkgnd(TMessage& Message) override;

private:
    int UsedShadow() const;

    int FShadowWidth = 4;
    TShadowKind FShadowKind = skRightBottom;
    TColor FBevelInnerColor = clBtnHighlight;
    TColor FBevelOuterColor = clBtnShadow;
    TepBitmap* FWallpaper = nullptr;
};
