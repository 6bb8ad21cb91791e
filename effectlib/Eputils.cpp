#include "effectlib/Eputils.h"

#include "effectlib/Bmputils.h"
#include "framework/controls/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "platform/raster/Dc.h"

#include <algorithm>
#include <cstring>

namespace Eputils {

void DrawBitmapTransparent(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap,
    TColor TransparentColor)
{
    if (!Canvas || !Bitmap || Bitmap->Empty())
        return;
    const plat::Surface& image = Bitmap->Image();
    if (TransparentColor == clNone) {
        Canvas->Handle()->BitBlt(X, Y, image.Width(), image.Height(), image, 0, 0);
        return;
    }
    const uint32_t key = ColorToRGB(TransparentColor & ~TColor(0x02000000)) & 0xFFFFFF;
    DrawTransparentBitmap(Canvas->Handle(), &image, X, Y, key);
}

// Neighbours are read from Source, which is never written, so each result depends on the
// original pixels only.
void Blur(TBitmap* Source, TBitmap* Dest, int Amount)
{
    if (!Source || !Dest || Source->Empty())
        return;
    const plat::Surface& src = Source->Image();
    const int w = src.Width(), h = src.Height();
    if (Dest->Width() < w || Dest->Height() < h)
        Dest->SetSize(std::max(Dest->Width(), w), std::max(Dest->Height(), h));
    plat::Surface* out = Dest->Handle();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            TColor acc = src.GetColor(x, y);
            const int64_t x0 = std::max<int64_t>(-int64_t(Amount), -x);
            const int64_t x1 = std::min<int64_t>(Amount, w - 1 - x);
            const int64_t y0 = std::max<int64_t>(-int64_t(Amount), -y);
            const int64_t y1 = std::min<int64_t>(Amount, h - 1 - y);
            for (int64_t dx = x0; dx <= x1; ++dx)
                for (int64_t dy = y0; dy <= y1; ++dy)
                    acc = MiddleColor(acc, src.GetColor(int(x + dx), int(y + dy)));
            out->SetColor(x, y, acc);
        }
        if (Application)
            Application->ProcessMessages();
        if (Source->Image().Width() != w || Source->Image().Height() != h)
            break;   // a handler changed the source: stop rather than read a stale size
    }
    Dest->Modified();
}

bool GetDIB(TBitmap* Bitmap, TEffectBmpHeader& Info, std::vector<uint8_t>& Bits)
{
    if (!Bitmap || Bitmap->Empty())
        return false;
    TEffectBmp buffer(Bitmap);
    if (buffer.Empty())
        return false;
    Info = buffer.Header();
    Bits.assign(buffer.Bits(), buffer.Bits() + buffer.Size());
    return true;
}

bool SetDIB(TBitmap* Bitmap, const TEffectBmpHeader& Info, std::span<const uint8_t> Bits)
{
    if (!Bitmap || Info.biSize != 40 || Info.biBitCount != 24 || Info.biCompression != 0
        || Info.biWidth <= 0 || Info.biHeight == 0 || Info.biHeight == INT32_MIN)
        return false;
    const int w = Info.biWidth, h = std::abs(Info.biHeight);
    if (int64_t(w) * h > plat::MaxSurfacePixels)
        return false;
    const size_t stride = 3 * size_t(w) + size_t(w) % 4;
    if (Bits.size() < stride * size_t(h))
        return false;
    plat::Surface image(w, h, plat::PixelFormat::Bpp24);
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = Bits.data() + stride * size_t(Info.biHeight < 0 ? y : h - 1 - y);
        plat::Pixel* out = image.Row(y);
        for (int x = 0; x < w; ++x, in += 3)
            out[x] = plat::Pixel(in[0]) | plat::Pixel(in[1]) << 8 | plat::Pixel(in[2]) << 16;
    }
    Bitmap->SetImage(std::move(image));
    return true;
}

void DrawBitmapRect(TCanvas* Canvas, const TRect& Dest, TBitmap* Bitmap, const TRect& Source)
{
    if (!Canvas || !Bitmap || Bitmap->Empty())
        return;
    const TRect s = Source.IsEmpty() ? Rect(0, 0, Bitmap->Width(), Bitmap->Height()) : Source;
    Canvas->Handle()->StretchBlt(Dest.Left, Dest.Top, Dest.Width(), Dest.Height(),
        Bitmap->Image(), s.Left, s.Top, s.Width(), s.Height());
}

plat::Region CreateRgnFromBmp(TBitmap* Bitmap, TColor TransparentColor)
{
    if (!Bitmap || Bitmap->Empty())
        return {};
    const plat::Surface& image = Bitmap->Image();
    const plat::Color key = TransparentColor == clDefault
        ? image.GetColor(0, image.Height() - 1)
        : ColorToRGB(TransparentColor & ~TColor(0x02000000)) & 0xFFFFFF;
    const plat::Pixel k = plat::ToPixel(key);
    std::vector<plat::Rect> runs;
    for (int y = 0; y < image.Height(); ++y) {
        const plat::Pixel* row = image.Row(y);
        for (int x = 0; x < image.Width();) {
            if (row[x] == k) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < image.Width() && row[x] != k)
                ++x;
            runs.push_back({ x0, y, x, y + 1 });
        }
    }
    return plat::Region::FromRects(runs);
}

TFBitmap::TFBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TFBitmap::TFBitmap(TBitmap* Source) { Assign(Source); }

void TFBitmap::SetSize(int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0 || int64_t(AWidth) * AHeight > plat::MaxSurfacePixels)
        AWidth = AHeight = 0;
    FWidth = AWidth;
    FHeight = AHeight;
    FPixels.assign(size_t(AWidth) * size_t(AHeight), clBlack);
}

TColor TFBitmap::Pixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return clNone;
    return FPixels[size_t(Y) * size_t(FWidth) + size_t(X)];
}

void TFBitmap::SetPixel(int X, int Y, TColor Color)
{
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return;
    FPixels[size_t(Y) * size_t(FWidth) + size_t(X)] = ColorToRGB(Color) & 0xFFFFFF;
}

void TFBitmap::Assign(TBitmap* Source)
{
    if (!Source || Source->Empty()) {
        SetSize(0, 0);
        return;
    }
    const plat::Surface& image = Source->Image();
    SetSize(image.Width(), image.Height());
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            FPixels[size_t(y) * size_t(FWidth) + size_t(x)] = plat::ToColor(image.Row(y)[x]);
}

void TFBitmap::AssignTo(TBitmap* Dest) const
{
    if (!Dest)
        return;
    plat::Surface image(FWidth, FHeight, plat::PixelFormat::Bpp24);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            image.Row(y)[x] = plat::ToPixel(FPixels[size_t(y) * size_t(FWidth) + size_t(x)]);
    Dest->SetImage(std::move(image));
}

void TFBitmap::Draw(TCanvas* Canvas, int X, int Y) const
{
    if (!Canvas || Empty())
        return;
    TBitmap b;
    AssignTo(&b);
    Canvas->Handle()->BitBlt(X, Y, FWidth, FHeight, b.Image(), 0, 0);
}

void TBits::SetSize(int value) { FBits.resize(size_t(std::max(value, 0)), false); }

bool TBits::Bits(int Index) const
{
    return Index >= 0 && size_t(Index) < FBits.size() && FBits[size_t(Index)];
}

void TBits::SetBits(int Index, bool Value)
{
    if (Index < 0)
        return;
    if (size_t(Index) >= FBits.size())
        FBits.resize(size_t(Index) + 1, false);
    FBits[size_t(Index)] = Value;
}

int TBits::OpenBit() const
{
    auto it = std::find(FBits.begin(), FBits.end(), false);
    return int(it - FBits.begin());
}

} // namespace Eputils
