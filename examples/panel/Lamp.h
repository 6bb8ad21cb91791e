#pragma once
// TPanelLamp: the example's own control, a round indicator lamp. It is a graphic control
// (no window of its own: its parent paints it), drawn as a circle in LampColor when Lit
// and in a dark shade of it when not. Both are published properties, so a form
// description can set them. Owns nothing; GUI thread only.

#include <framework/controls/GraphicControl.h>

class TPanelLamp : public TGraphicControl {
public:
    explicit TPanelLamp(TComponent* AOwner);
    const char* ClassName() const override { return "TPanelLamp"; }

    bool Lit() const { return FLit; }
    void SetLit(bool value);
    TColor LampColor() const { return FLampColor; }
    void SetLampColor(TColor value);
    // The colour the lamp shows in its current state.
    TColor FaceColor() const;

protected:
    void Paint() override;

private:
    bool FLit = false;
    TColor FLampColor = clRed;
};
