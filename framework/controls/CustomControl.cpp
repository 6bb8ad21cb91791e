#include "framework/controls/CustomControl.h"

#include "platform/raster/Dc.h"
#include "framework/core/TypInfo.h"

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner)
    , FCanvas(std::make_unique<TControlCanvas>(this))
{
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintContents(plat::Dc* dc)
{
    CountPaint();
    PaintWithCanvas(FCanvas.get(), dc, [this] { Paint(); });
}

BEGIN_PROPERTIES(TCustomControl, TWinControl)
END_PROPERTIES
