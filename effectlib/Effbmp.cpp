// TEffectBmp: storage, pixel access and the copies onto drawing contexts.
#include "effectlib/Effbmp.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "platform/raster/Dc.h"
#include "platform/raster/Surface.h"

#include <algorithm>
#include <cstring>

TEffectBmp::TEffectBmp(const plat::Surface& source)
{
    Allocate(source.Width(), source.Height());
    for (int y = 0; y < FHeight; ++y) {
        const plat::Pixel* in = source.Row(y);
        uint8_t* out = GetLine(y);
        for (int x = 0; x < FWidth; ++x, out += 3) {
            out[0] = uint8_t(in[x]);
            out[1] = uint8_t(in[x] >> 8);
            out[2] = uint8_t(in[x] >> 16);
        }
    }
}

namespace {

// The bitmap's pixels without a copy; an empty surface for no bitmap.
const plat::Surface& ImageOf(TBitmap* b)
{
    static const plat::Surface empty;
    return b ? b->Image() : empty;
}

} // namespace

TEffectBmp::TEffectBmp(TBitmap* source)
    : TEffectBmp(ImageOf(source))
{
}

TEffectBmp::TEffectBmp(int AWidth, int AHeight) { Allocate(AWidth, AHeight); }

TEffectBmp::TEffectBmp(const TEffectBmp& source) = default;
TEffectBmp& TEffectBmp::operator=(const TEffectBmp& source) = default;

// Rows are 3 * Width bytes rounded up to a multiple of four. Sizes beyond what a surface
// may hold give an empty buffer.
void TEffectBmp::Allocate(int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0 || int64_t(AWidth) * AHeight > plat::MaxSurfacePixels)
        AWidth = AHeight = 0;
    FWidth = AWidth;
    FHeight = AHeight;
    FStride = 3 * AWidth + AWidth % 4;
    FSize = FStride * AHeight;
    FBits.assign(size_t(FSize), 0);
    FHeader = TEffectBmpHeader();
    FHeader.biWidth = AWidth;
    FHeader.biHeight = -AHeight;
}

uint32_t TEffectBmp::GetPixel(int X, int Y) const
{
    const uint8_t* p = PixelAt(X, Y);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

void TEffectBmp::SetPixel(int X, int Y, uint32_t Value)
{
    uint8_t* p = PixelAt(X, Y);
    p[0] = uint8_t(Value);
    p[1] = uint8_t(Value >> 8);
    p[2] = uint8_t(Value >> 16);
}

void TEffectBmp::GetScanLine(int Y, uint8_t* Dest) const
{
    std::memcpy(Dest, GetLine(Y), 3 * size_t(FWidth));
}

void TEffectBmp::SetLine(int Y, const uint8_t* Source)
{
    std::memcpy(GetLine(Y), Source, 3 * size_t(FWidth));
}

plat::Surface TEffectBmp::ToSurface() const
{
    plat::Surface s(FWidth, FHeight, plat::PixelFormat::Bpp24);
    for (int y = 0; y < FHeight; ++y) {
        const uint8_t* in = GetLine(y);
        plat::Pixel* out = s.Row(y);
        for (int x = 0; x < FWidth; ++x, in += 3)
            out[x] = plat::Pixel(in[0]) | plat::Pixel(in[1]) << 8 | plat::Pixel(in[2]) << 16;
    }
    return s;
}

void TEffectBmp::Draw(plat::Dc* DC, int X, int Y) const
{
    if (!DC || Empty())
        return;
    DC->BitBlt(X, Y, FWidth, FHeight, ToSurface(), 0, 0);
}

void TEffectBmp::Draw(TCanvas* Canvas, int X, int Y) const
{
    if (Canvas)
        Draw(Canvas->Handle(), X, Y);
}

void TEffectBmp::Stretch(plat::Dc* DC, int X, int Y, int W, int H) const
{
    if (!DC || Empty())
        return;
    DC->StretchBlt(X, Y, W, H, ToSurface(), 0, 0, FWidth, FHeight);
}

void TEffectBmp::DrawRect(plat::Dc* DC, const TRect& Dest, const TRect& Source) const
{
    if (!DC || Empty())
        return;
    DC->StretchBlt(Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), ToSurface(), Source.Left,
        Source.Top, Source.Width(), Source.Height());
}

// The tiled picture is built once in a scratch surface, then copied in one step.
void TEffectBmp::TileDraw(plat::Dc* DC, int X, int Y, int W, int H) const
{
    if (!DC || Empty() || W <= 0 || H <= 0)
        return;
    plat::Rect visible = DC->ClipBox().Intersect({ X, Y, plat::SaturatingAdd(X, W),
        plat::SaturatingAdd(Y, H) });
    if (visible.Empty())
        return;
    plat::Surface tiles(int32_t(visible.Width()), int32_t(visible.Height()));
    if (tiles.Empty())
        return;
    for (int y = 0; y < tiles.Height(); ++y) {
        const uint8_t* row = GetLine(int((int64_t(visible.top) - Y + y) % FHeight));
        plat::Pixel* out = tiles.Row(y);
        int sx = int((int64_t(visible.left) - X) % FWidth);
        for (int x = 0; x < tiles.Width(); ++x) {
            const uint8_t* p = row + 3 * sx;
            out[x] = plat::Pixel(p[0]) | plat::Pixel(p[1]) << 8 | plat::Pixel(p[2]) << 16;
            if (++sx == FWidth)
                sx = 0;
        }
    }
    DC->BitBlt(visible.left, visible.top, tiles.Width(), tiles.Height(), tiles, 0, 0);
}

void TEffectBmp::Tile(TEffectBmp* Dest) const
{
    if (!Dest || Empty() || Dest == this)
        return;
    for (int y = 0; y < Dest->FHeight; ++y) {
        const uint8_t* row = GetLine(y % FHeight);
        uint8_t* out = Dest->GetLine(y);
        for (int x = 0, sx = 0; x < Dest->FWidth; ++x, out += 3) {
            std::memcpy(out, row + 3 * sx, 3);
            if (++sx == FWidth)
                sx = 0;
        }
    }
}

void TEffectBmp::Resize(TEffectBmp* Dest) const
{
    if (!Dest || Empty() || Dest == this)
        return;
    for (int y = 0; y < Dest->FHeight; ++y) {
        const uint8_t* row = GetLine(int(int64_t(y) * FHeight / Dest->FHeight));
        uint8_t* out = Dest->GetLine(y);
        for (int x = 0; x < Dest->FWidth; ++x, out += 3)
            std::memcpy(out, row + 3 * (int64_t(x) * FWidth / Dest->FWidth), 3);
    }
}

void TEffectBmp::Flip()
{
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* row = GetLine(y);
        for (int l = 0, r = FWidth - 1; l < r; ++l, --r)
            std::swap_ranges(row + 3 * l, row + 3 * l + 3, row + 3 * r);
    }
}

void TEffectBmp::Flop()
{
    for (int t = 0, b = FHeight - 1; t < b; ++t, --b)
        std::swap_ranges(GetLine(t), GetLine(t) + FStride, GetLine(b));
}

// The source pixels come from row Y and column X onwards; both buffers clip.
void TEffectBmp::CopyRect(const TEffectBmp* Source, const TRect& Rect, int X, int Y)
{
    if (!Source || Source->Empty() || Empty())
        return;
    TRect r;
    if (!IntersectRect(r, Rect, ::Rect(0, 0, FWidth, FHeight)))
        return;
    const TEffectBmp src = Source == this ? TEffectBmp(*this) : TEffectBmp(0, 0);
    const TEffectBmp& from = Source == this ? src : *Source;
    for (int y = r.Top; y < r.Bottom; ++y) {
        int64_t sy = int64_t(Y) + (y - Rect.Top);
        if (sy < 0 || sy >= from.FHeight)
            continue;
        for (int x = r.Left; x < r.Right; ++x) {
            int64_t sx = int64_t(X) + (x - Rect.Left);
            if (sx >= 0 && sx < from.FWidth)
                std::memcpy(PixelAt(x, y), from.PixelAt(int(sx), int(sy)), 3);
        }
    }
}
