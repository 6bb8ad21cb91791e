#include "platform/raster/Palette.h"

#include <algorithm>
#include <climits>

namespace plat {

std::vector<Color> StandardPalette(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Bpp1:
        return { Rgb(0, 0, 0), Rgb(255, 255, 255) };
    case PixelFormat::Bpp4:
        return { Rgb(0, 0, 0), Rgb(128, 0, 0), Rgb(0, 128, 0), Rgb(128, 128, 0), Rgb(0, 0, 128),
            Rgb(128, 0, 128), Rgb(0, 128, 128), Rgb(192, 192, 192), Rgb(128, 128, 128),
            Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(255, 255, 0), Rgb(0, 0, 255), Rgb(255, 0, 255),
            Rgb(0, 255, 255), Rgb(255, 255, 255) };
    case PixelFormat::Bpp8: {
        std::vector<Color> pal;
        pal.reserve(256);
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    pal.push_back(Rgb(uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51)));
        for (int k = 1; k <= 40; ++k) {
            auto v = uint8_t((k * 255 + 20) / 41);
            pal.push_back(Rgb(v, v, v));
        }
        return pal;
    }
    case PixelFormat::Bpp24:
    case PixelFormat::Bpp32:
        break;
    }
    return {};
}

int PaletteCapacity(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Bpp1:
        return 2;
    case PixelFormat::Bpp4:
        return 16;
    case PixelFormat::Bpp8:
        return 256;
    case PixelFormat::Bpp24:
    case PixelFormat::Bpp32:
        break;
    }
    return 0;
}

PaletteMatcher::PaletteMatcher(const std::vector<Color>& palette)
{
    // Indices are kept in one byte; palettes never hold more than 256 entries.
    size_t n = std::min<size_t>(palette.size(), 256);
    FPixels.reserve(n);
    for (size_t i = 0; i < n; ++i)
        FPixels.push_back(ToPixel(palette[i]) & 0xFFFFFF);
}

int PaletteMatcher::Search(Pixel p) const
{
    int r = int(p >> 16 & 0xFF), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
    int best = 0;
    int bestDist = INT32_MAX;
    for (size_t i = 0; i < FPixels.size(); ++i) {
        Pixel q = FPixels[i];
        int dr = r - int(q >> 16 & 0xFF), dg = g - int(q >> 8 & 0xFF), db = b - int(q & 0xFF);
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = int(i);
            if (d == 0)
                break;
        }
    }
    return best;
}

int PaletteMatcher::Index(Pixel p)
{
    p &= 0xFFFFFF;
    size_t slot = size_t((p * 2654435761u) >> 22) & (CacheSize - 1);
    uint64_t entry = FCache[slot];
    if (entry != 0 && ((entry - 1) >> 8) == p)
        return int((entry - 1) & 0xFF);
    int index = Search(p);
    FCache[slot] = (uint64_t(p) << 8 | uint64_t(index)) + 1;
    return index;
}

} // namespace plat
