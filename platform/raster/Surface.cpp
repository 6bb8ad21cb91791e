#include "platform/raster/Surface.h"

#include "platform/raster/Palette.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace plat {

int BitsPerPixel(PixelFormat f)
{
    switch (f) {
    case PixelFormat::Bpp1: return 1;
    case PixelFormat::Bpp4: return 4;
    case PixelFormat::Bpp8: return 8;
    case PixelFormat::Bpp24: return 24;
    case PixelFormat::Bpp32: return 32;
    }
    return 32;
}

Surface::Surface(int32_t width, int32_t height, PixelFormat format)
{
    if (width <= 0 || height <= 0)
        return;
    if (int64_t(width) * height > MaxSurfacePixels) {
        ReportFailure("bitmap of " + std::to_string(width) + " x " + std::to_string(height)
            + " pixels is too large");
        return;
    }
    FPixels.assign(size_t(width) * size_t(height), 0);
    FWidth = width;
    FHeight = height;
    if (format != PixelFormat::Bpp24 && format != PixelFormat::Bpp32)
        ConvertTo(format);
    else
        FFormat = format;
}

void Surface::ConvertTo(PixelFormat format, const std::vector<Color>& palette)
{
    int capacity = PaletteCapacity(format);
    FFormat = format;
    if (capacity == 0) {
        FPalette.clear();   // the pixels already are the colours
        return;
    }
    // Built apart first: the given palette may be this surface's own.
    std::vector<Color> next = palette.empty() ? StandardPalette(format)
        : std::vector<Color>(palette.begin(),
              palette.begin() + std::min<std::ptrdiff_t>(std::ptrdiff_t(palette.size()), capacity));
    FPalette = std::move(next);
    for (Color& c : FPalette)
        c &= 0xFFFFFF;
    PaletteMatcher matcher(FPalette);
    // Pictures come in runs of one colour: a run is matched once.
    Pixel last = 0, entry = matcher.EntryPixel(matcher.Index(0));
    for (Pixel& p : FPixels) {
        if (p != last) {
            last = p;
            entry = matcher.EntryPixel(matcher.Index(p));
        }
        p = entry;
    }
}

Color Surface::GetColor(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return 0;
    return ToColor(Row(y)[x]);
}

void Surface::SetColor(int32_t x, int32_t y, Color c)
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return;
    Row(y)[x] = ToPixel(c) & 0xFFFFFF;
}

void Surface::Fill(Color c)
{
    std::fill(FPixels.begin(), FPixels.end(), ToPixel(c) & 0xFFFFFF);
}

void Surface::Resize(int32_t width, int32_t height)
{
    if (width == FWidth && height == FHeight)
        return;
    Surface next(width, height, PixelFormat::Bpp32);
    if (next.Empty() && (width > 0 && height > 0))
        return;   // refused: keep the old pixels
    int32_t w = std::min(width, FWidth), h = std::min(height, FHeight);
    for (int32_t y = 0; y < h; ++y)
        std::copy_n(Row(y), std::max(w, 0), next.Row(y));
    next.FFormat = FFormat;
    next.FPalette = FPalette;
    *this = std::move(next);
}

bool operator==(const Surface& a, const Surface& b)
{
    return a.FWidth == b.FWidth && a.FHeight == b.FHeight && a.FPixels == b.FPixels;
}

} // namespace plat
