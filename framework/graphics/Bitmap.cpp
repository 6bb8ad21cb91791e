#include "framework/graphics/Bitmap.h"

#include "framework/graphics/Canvas.h"
#include "platform/raster/Dc.h"
#include "platform/raster/ImageFiles.h"
#include "framework/core/TypInfo.h"

// The canvas of a bitmap: a context on the bitmap's own surface.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(plat::Surface* surface)
        : FDc(surface)
    {
        SetHandle(&FDc);
    }
    // The surface was replaced or resized: the clip follows its new bounds.
    void Retarget(plat::Surface* surface) { FDc.SetTarget(surface); }

private:
    plat::Dc FDc;
};

namespace {

plat::PixelFormat StorageOf(TPixelFormat f)
{
    switch (f) {
    case pf1bit: return plat::PixelFormat::Bpp1;
    case pf4bit: return plat::PixelFormat::Bpp4;
    case pf8bit: return plat::PixelFormat::Bpp8;
    case pf15bit:
    case pf16bit:
    case pf24bit: return plat::PixelFormat::Bpp24;
    default: return plat::PixelFormat::Bpp32;
    }
}

TPixelFormat PixelFormatOf(plat::PixelFormat f)
{
    switch (f) {
    case plat::PixelFormat::Bpp1: return pf1bit;
    case plat::PixelFormat::Bpp4: return pf4bit;
    case plat::PixelFormat::Bpp8: return pf8bit;
    case plat::PixelFormat::Bpp24: return pf24bit;
    case plat::PixelFormat::Bpp32: return pf32bit;
    }
    return pf32bit;
}

} // namespace

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

void TBitmap::Assign(TPersistent* Source)
{
    if (Source == nullptr) {
        SetImage(plat::Surface());
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this)
            return;
        FImage = b->FImage;
        FPixelFormat = b->FPixelFormat;
        FTransparent = b->FTransparent;
        FTransparentMode = b->FTransparentMode;
        FTransparentColor = b->FTransparentColor;
        if (FCanvas)
            FCanvas->Retarget(&FImage);
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FImage.Width() && height == FImage.Height())
        return;
    if (width == 0 || height == 0) {
        FImage = plat::Surface();
    } else {
        plat::PixelFormat storage = FImage.Empty() ? StorageOf(FPixelFormat) : FImage.Format();
        FImage.Resize(width, height);
        if (FImage.Format() != storage)
            FImage.ConvertTo(storage);
    }
    if (FCanvas)
        FCanvas->Retarget(&FImage);
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TBitmapCanvas>(&FImage);
    return FCanvas.get();
}

void TBitmap::SetImage(plat::Surface image)
{
    FImage = std::move(image);
    FPixelFormat = PixelFormatOf(FImage.Format());
    if (FCanvas)
        FCanvas->Retarget(&FImage);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value)
{
    if (value == FPixelFormat)
        return;
    FPixelFormat = value;
    if (!FImage.Empty())
        FImage.ConvertTo(StorageOf(value));
    Changed();
}

void TBitmap::SetMonochrome(bool value)
{
    if (value == Monochrome())
        return;
    SetPixelFormat(value ? pf1bit : pfDevice);
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (FImage.Empty())
        return clDefault;
    return FImage.GetColor(0, FImage.Height() - 1);
}

void TBitmap::SetTransparentColor(TColor value)
{
    if (value == FTransparentColor && FTransparentMode == tmFixed)
        return;
    FTransparentColor = value;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value)
{
    if (value == FTransparentMode)
        return;
    if (value == tmAuto)
        FTransparentColor = clDefault;
    else
        FTransparentColor = TransparentColor();
    FTransparentMode = value;
    Changed();
}

void TBitmap::LoadFromBytes(std::span<const uint8_t> data)
{
    plat::ClearLastError();
    auto image = plat::ReadBmp(data);
    if (!image)
        throw EInvalidGraphic(WithPlatformReason("Bitmap image is not valid"));
    SetImage(std::move(*image));
}

std::vector<uint8_t> TBitmap::SaveToBytes() const
{
    if (FImage.Empty())
        return {};
    return plat::WriteBmp(FImage);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect)
{
    plat::Dc* dc = canvas->Handle();
    int w = FImage.Width(), h = FImage.Height();
    if (Transparent()) {
        TColor key = ColorToRGB(TransparentColor()) & 0xFFFFFF;
        dc->MaskedBlt(rect.Left, rect.Top, rect.Width(), rect.Height(), FImage, 0, 0, w, h, key);
        return;
    }
    plat::Rop rop = CopyModeToRop(canvas->CopyMode());
    if (rect.Width() == w && rect.Height() == h)
        dc->BitBlt(rect.Left, rect.Top, w, h, FImage, 0, 0, rop);
    else
        dc->StretchBlt(rect.Left, rect.Top, rect.Width(), rect.Height(), FImage, 0, 0, w, h, rop);
}

BEGIN_PROPERTIES(TBitmap, TGraphic)
END_PROPERTIES
