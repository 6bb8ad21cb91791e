#pragma once
// TGraphicControl: a control without a window of its own. Its parent paints it after its
// own face, with the origin moved to the control and the clip cut to its bounds; its
// canvas draws on the parent's surface for the duration of that paint. GUI thread only.

#include "framework/controls/ControlCanvas.h"
#include "framework/controls/Control.h"

#include <memory>

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    const char* ClassName() const override { return "TGraphicControl"; }
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint() { }
    // With a context in WParam: paints into it at its origin (the caller set origin and
    // clip).
    void WMPaint(TMessage& Message) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};
