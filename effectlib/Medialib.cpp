#include "effectlib/Medialib.h"

#include "framework/core/TypInfo.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Picture.h"

// ---- TepBitmap ------------------------------------------------------------------------

TepBitmap::TepBitmap(TComponent* AOwner)
    : TComponent(AOwner)
    , FBitmap(std::make_unique<TPicture>())
{
}

TepBitmap::~TepBitmap() = default;

void TepBitmap::SetBitmap(TPicture* Value)
{
    if (Value)
        FBitmap->Assign(Value);
    else
        FBitmap->SetGraphic(nullptr);
}

TGraphic* TepBitmap::Graphic() const { return FBitmap->Graphic(); }

bool TepBitmap::HasPicture() const
{
    const TGraphic* g = Graphic();
    return g && g->Width() > 0 && g->Height() > 0;
}

void TepBitmap::TileDraw(TCanvas* Canvas, int X, int Y, int LastCol, int LastRow) const
{
    if (!HasPicture() || LastCol < 0 || LastRow < 0)
        return;
    TGraphic* g = Graphic();
    const int w = g->Width(), h = g->Height();
    for (int c = 0; c <= LastCol; ++c)
        for (int r = 0; r <= LastRow; ++r)
            Canvas->Draw(X + c * w, Y + r * h, g);
}

// ---- Published properties -------------------------------------------------------------

BEGIN_PROPERTIES(TepBitmap, TComponent)
    .Object("Bitmap", &TepBitmap::Bitmap)
END_PROPERTIES
