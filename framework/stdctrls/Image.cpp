#include "framework/stdctrls/Image.h"

#include "framework/graphics/Bitmap.h"
#include "platform/raster/Dc.h"
#include "framework/core/TypInfo.h"

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FPicture(std::make_unique<TPicture>())
{
    FControlStyle |= csReplicatable;
    FPicture->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

TCanvas* TImage::Canvas()
{
    if (!FPicture->Graphic()) {
        TBitmap* b = FPicture->Bitmap();
        b->SetSize(Width(), Height());
    }
    if (auto* b = dynamic_cast<TBitmap*>(FPicture->Graphic()))
        return b->Canvas();
    throw EInvalidOperation("Can only modify an image if it contains a bitmap");
}

TRect TImage::DestRect() const
{
    int w = FPicture->Width(), h = FPicture->Height();
    if (FStretch)
        return ClientRect();
    if (FCenter)
        return Bounds((Width() - w) / 2, (Height() - h) / 2, w, h);
    return Rect(0, 0, w, h);
}

void TImage::Paint()
{
    TGraphic* g = FPicture->Graphic();
    if (!g || g->Empty())
        return;
    FDrawing = true;
    try {
        TGraphicControl::Canvas()->StretchDraw(DestRect(), g);
    } catch (...) {
        FDrawing = false;
        throw;
    }
    FDrawing = false;
}

// The picture's transparency follows the image's; the control is opaque when the
// picture covers it without transparency.
void TImage::PictureChanged(TObject*)
{
    TGraphic* g = FPicture->Graphic();
    if (g && !g->Empty()) {
        if (FAutoSize && !FStretch)
            SetBounds(Left(), Top(), g->Width(), g->Height());
        if (g->Transparent() != FTransparent && dynamic_cast<TBitmap*>(g)) {
            // Changing the graphic calls back here; the second call finds it settled.
            g->SetTransparent(FTransparent);
            return;
        }
    }
    TRect d = DestRect();
    bool covers = g && !g->Empty() && !g->Transparent() && d.Left <= 0 && d.Top <= 0
        && d.Right >= Width() && d.Bottom >= Height();
    if (covers)
        FControlStyle |= csOpaque;
    else
        FControlStyle &= ~csOpaque;
    if (!FDrawing)
        Invalidate();
}

void TImage::SetAutoSize(bool value)
{
    if (value == FAutoSize)
        return;
    FAutoSize = value;
    PictureChanged(this);
}

void TImage::SetCenter(bool value)
{
    if (value == FCenter)
        return;
    FCenter = value;
    PictureChanged(this);
}

void TImage::SetStretch(bool value)
{
    if (value == FStretch)
        return;
    FStretch = value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    PictureChanged(this);
}

BEGIN_PROPERTIES(TImage, TGraphicControl)
    .Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false)
    .Bool("Center", &TImage::Center, &TImage::SetCenter).Default(false)
    .Object("Picture", &TImage::Picture)
    .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false)
    .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false)
END_PROPERTIES
