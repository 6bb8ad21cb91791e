#pragma once
// TPaintBox: a windowless area whose owner draws it in OnPaint, on the paint box's
// canvas. The canvas carries the paint box's font; its pen and brush stay as the owner
// left them, so colours set once keep their effect. GUI thread only.

#include "framework/controls/GraphicControl.h"

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    const char* ClassName() const override { return "TPaintBox"; }
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};
