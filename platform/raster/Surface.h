#pragma once
// A surface is a device-independent bitmap: width x height pixels, rows top-down, each
// pixel a 32-bit 0x00RRGGBB value. Its format records the depth it stands for (1, 4, 8,
// 24 or 32 bits) and, for the palette formats, its colour table: pixels of a palette
// surface are always colours of its palette (drawing into it maps to the nearest entry
// when the format is converted). A default surface is valid and empty (0 x 0); every
// operation on an empty surface does nothing. Sizes that cannot be allocated are refused:
// Create returns an empty surface and Failed() tells why.
//
// Surfaces are values: copying one copies its pixels. They are used from one thread at a
// time.

#include "platform/raster/Color.h"
#include "platform/raster/Geometry.h"
#include "platform/system/Failure.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

enum class PixelFormat { Bpp1, Bpp4, Bpp8, Bpp24, Bpp32 };

int BitsPerPixel(PixelFormat f);

class Surface {
public:
    Surface() = default;
    // A surface of width x height filled with black, in the given format. Negative or
    // too large sizes give an empty surface (see LastError()).
    Surface(int32_t width, int32_t height, PixelFormat format = PixelFormat::Bpp32);

    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    Rect Bounds() const { return { 0, 0, FWidth, FHeight }; }

    PixelFormat Format() const { return FFormat; }
    // Changes the recorded depth. Going to a palette format builds a palette (given, or a
    // standard one for that depth) and maps every pixel to its nearest entry.
    void ConvertTo(PixelFormat format, const std::vector<Color>& palette = {});
    const std::vector<Color>& Palette() const { return FPalette; }

    Pixel* Row(int32_t y) { return FPixels.data() + size_t(y) * size_t(FWidth); }
    const Pixel* Row(int32_t y) const { return FPixels.data() + size_t(y) * size_t(FWidth); }
    Pixel* Data() { return FPixels.data(); }
    const Pixel* Data() const { return FPixels.data(); }

    // Checked single-pixel access in colours (0x00BBGGRR); outside the surface GetColor
    // returns 0 and SetColor does nothing.
    Color GetColor(int32_t x, int32_t y) const;
    void SetColor(int32_t x, int32_t y, Color c);
    void Fill(Color c);

    // Resizes, keeping the overlapping top-left part; new pixels are black.
    void Resize(int32_t width, int32_t height);

    friend bool operator==(const Surface& a, const Surface& b);

private:
    int32_t FWidth = 0, FHeight = 0;
    PixelFormat FFormat = PixelFormat::Bpp32;
    std::vector<Color> FPalette;
    std::vector<Pixel> FPixels;
};

// The largest pixel count a surface may have (256 M pixels, 1 GiB).
constexpr int64_t MaxSurfacePixels = int64_t(1) << 28;

} // namespace plat
