#include "framework/controls/CustomControl.h"

#include "platform/raster/Dc.h"
#include "framework/core/TypInfo.h"

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner)
    , FCanvas(new TControlCanvas(this))
{
}

TCustomControl::~TCustomControl() { delete FCanvas; }

void TCustomControl::PaintContents(plat::Dc* dc)
{
    CountPaint();
    PaintWithCanvas(FCanvas, dc, [this] { Paint(); });
}

BEGIN_PROPERTIES(TCustomControl, TWinControl)
END_PROPERTIES
