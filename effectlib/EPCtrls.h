#pragma once
// The move-form area: an invisible rectangle that drags the window owning it while the
// left button is held inside it. Controls above it keep their own input; only presses
// that reach the area start a drag. The window follows the pointer's travel on the
// screen since the press, so a window system that moves windows late cannot make the
// drag lag or swing. Owns nothing; GUI thread only.

#include "framework/controls/GraphicControl.h"

class TepMoveForm : public TGraphicControl {
public:
    explicit TepMoveForm(TComponent* AOwner);
    const char* ClassName() const override { return "TepMoveForm"; }

    bool Dragging() const { return FDragging; }
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
