#include "framework/controls/GraphicControl.h"

#include "platform/raster/Dc.h"
#include "framework/core/TypInfo.h"

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner)
    , FCanvas(std::make_unique<TControlCanvas>(this))
{
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WMPaint(TMessage& Message)
{
    plat::Dc* dc = MessageDc(Message.WParam);
    if (!dc)
        return;
    CountPaint();
    PaintWithCanvas(FCanvas.get(), dc, [this] { Paint(); });
}

BEGIN_PROPERTIES(TGraphicControl, TControl)
END_PROPERTIES
