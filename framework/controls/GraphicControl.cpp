#include "framework/controls/GraphicControl.h"

#include "platform/raster/Dc.h"
#include "framework/core/TypInfo.h"

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner)
    , FCanvas(new TControlCanvas(this))
{
}

TGraphicControl::~TGraphicControl() { delete FCanvas; }

void TGraphicControl::WMPaint(TMessage& Message)
{
    plat::Dc* dc = MessageDc(Message.WParam);
    if (!dc)
        return;
    CountPaint();
    PaintWithCanvas(FCanvas, dc, [this] { Paint(); });
}

BEGIN_PROPERTIES(TGraphicControl, TControl)
END_PROPERTIES
