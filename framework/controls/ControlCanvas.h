#pragma once
// TControlCanvas is the canvas of a control: during a paint it draws into the paint's
// context; used at another time it makes a context on the form's surface, clipped to what
// the control shows, released when the message loop next goes idle. GUI thread only.

#include "framework/graphics/Canvas.h"
#include "framework/controls/Control.h"

#include <memory>

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* AControl);
    ~TControlCanvas() override;
    TControl* Control() const { return FControl; }
    // Drops a context made on demand.
    void FreeHandle();
    // Draws into dc until the returned depth is popped (used by the paint paths).
    plat::Dc* BeginPaint(plat::Dc* dc);
    void EndPaint(plat::Dc* previous);

protected:
    void CreateHandle() override;

private:
    TControl* FControl;
    std::unique_ptr<plat::Dc> FOwnDc;
};

// Runs paint with canvas drawing into dc, restoring the canvas afterwards even when paint
// throws.
template <typename F>
void PaintWithCanvas(TControlCanvas* canvas, plat::Dc* dc, F&& paint)
{
    canvas->Lock();
    plat::Dc* previous = canvas->BeginPaint(dc);
    try {
        paint();
    } catch (...) {
        canvas->EndPaint(previous);
        canvas->Unlock();
        throw;
    }
    canvas->EndPaint(previous);
    canvas->Unlock();
}
