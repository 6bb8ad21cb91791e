#include "framework/controls/ControlCanvas.h"

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "platform/raster/Dc.h"

TControlCanvas::TControlCanvas(TControl* AControl)
    : FControl(AControl)
{
}

TControlCanvas::~TControlCanvas()
{
    if (FOwnDc && Application)
        Application->CanvasReleased(this);
}

void TControlCanvas::FreeHandle()
{
    if (!FOwnDc)
        return;
    if (HandleAllocated() && Handle() == FOwnDc.get())
        SetHandle(nullptr);
    FOwnDc.reset();
}

plat::Dc* TControlCanvas::BeginPaint(plat::Dc* dc)
{
    plat::Dc* previous = HandleAllocated() ? Handle() : nullptr;
    SetHandle(dc);
    return previous;
}

void TControlCanvas::EndPaint(plat::Dc* previous) { SetHandle(previous); }

// A context outside a paint draws straight into the form's surface, within what the
// control shows; the area is presented with the next batch of changes.
void TControlCanvas::CreateHandle()
{
    TCustomForm* form = FControl->GetParentForm();
    if (!form || !FControl->Showing())
        return;
    plat::Region clip;
    if (auto* w = FControl->AsWinControl()) {
        clip = w->VisibleRegion();
    } else if (TWinControl* p = FControl->Parent()) {
        TPoint o = FControl->FormOffset();
        clip = plat::Region(plat::Rect { o.X, o.Y, o.X + FControl->Width(),
            o.Y + FControl->Height() });
        clip &= p->VisibleRegion();
    }
    TPoint o = FControl->FormOffset();
    FOwnDc = std::make_unique<plat::Dc>(&form->Framebuffer());
    FOwnDc->SetBaseClip(clip);
    FOwnDc->SetOrigin({ o.X, o.Y });
    SetHandle(FOwnDc.get());
    form->AddPresent(clip);
    if (Application)
        Application->CanvasInUse(this);
}
