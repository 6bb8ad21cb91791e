#pragma once
// Colour tables of the palette formats and the nearest-colour match that maps any pixel to
// one of their entries.
//
// Standard tables, used when a surface goes to a palette format without a table of its own:
//   - 1 bit: black, white;
//   - 4 bits: the 16 classic VGA colours (black, maroon, green, olive, navy, purple, teal,
//     silver C0C0C0, grey 808080, red, lime, yellow, blue, fuchsia, aqua, white);
//   - 8 bits: a 6 x 6 x 6 colour cube with the levels 0, 51, 102, 153, 204, 255, entry
//     r * 36 + g * 6 + b for level indices r, g, b (entry 0 black, 215 white), followed
//     by 40 greys k * 255 / 41 rounded, k = 1..40, which lie between the cube's greys.

#include "platform/raster/Color.h"
#include "platform/raster/Surface.h"

#include <array>
#include <cstdint>
#include <vector>

namespace plat {

// The standard table of a palette format; empty for Bpp24 and Bpp32.
std::vector<Color> StandardPalette(PixelFormat format);

// The largest number of entries a palette format holds (2, 16, 256); 0 for the others.
int PaletteCapacity(PixelFormat format);

// Finds the entry nearest to a pixel by squared RGB distance, the first entry on ties.
// Recent answers are cached, so runs of equal colours cost one lookup. The palette must
// not be empty.
class PaletteMatcher {
public:
    explicit PaletteMatcher(const std::vector<Color>& palette);
    int Index(Pixel p);
    Pixel EntryPixel(int index) const { return FPixels[size_t(index)]; }

private:
    int Search(Pixel p) const;

    static constexpr size_t CacheSize = 1024;
    std::vector<Pixel> FPixels;
    // Each slot holds (pixel << 8 | index) + 1, 0 meaning unused.
    std::array<uint64_t, CacheSize> FCache {};
};

} // namespace plat
