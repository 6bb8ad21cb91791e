#pragma once
// The move-form area: an invisible rectangle that drags the window owning it while the
// left button is held inside it. Controls above it keep their own input; only presses
// that reach the area start a drag. The window follows the pointer's travel on the
// screen since the press, so a window system that moves windows late cannot make the
// drag lag or swing. Owns nothing; GUI thread only.

#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"

#include <cstdint>
#include <memory>

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
