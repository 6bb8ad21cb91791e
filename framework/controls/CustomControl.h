#pragma once
// TCustomControl: a windowed control that paints itself on its canvas in Paint. The
// canvas draws into the context of the paint in progress. GUI thread only.

#include "framework/controls/ControlCanvas.h"
#include "framework/controls/WinControl.h"

#include <memory>

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    const char* ClassName() const override { return "TCustomControl"; }
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint() { }
    void PaintContents(plat::Dc* dc) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};
