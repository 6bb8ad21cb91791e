#pragma once
// Shared internals of the bitmap and icon file code: little-endian byte access and the
// device-independent bitmap (header + colour table + pixels) decoder and encoder.

#include "platform/raster/ImageFiles.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace plat::detail {

inline uint16_t Le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}
inline uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void Put16(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void Put32(Bytes& out, uint32_t v)
{
    Put16(out, v);
    Put16(out, v >> 16);
}

// The format that stands for a file depth (16 bits read as 24).
inline PixelFormat FormatForDepth(int bpp)
{
    switch (bpp) {
    case 1:
        return PixelFormat::Bpp1;
    case 4:
        return PixelFormat::Bpp4;
    case 8:
        return PixelFormat::Bpp8;
    case 32:
        return PixelFormat::Bpp32;
    default:
        return PixelFormat::Bpp24;
    }
}

// A mask pixel stands for transparent when it is nearer to white than to black.
inline bool MaskTransparent(Pixel p)
{
    return (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF) >= 383;
}

// Bytes of one pixel row, padded to 4 bytes.
inline uint64_t DibStride(int64_t width, int bpp)
{
    return (uint64_t(width) * uint64_t(bpp) + 31) / 32 * 4;
}

struct DibImage {
    Surface surface;
    std::vector<uint8_t> alpha; // filled for 32-bit images when asked for
    bool alphaUsed = false; // some alpha byte is not zero
    int bpp = 0;
    bool topDown = false;
    uint64_t end = 0; // offset just past the pixel data
};

// Decodes the bitmap whose header starts at headerPos. pixelPos is the offset of the pixel
// data, or 0 for "right after the colour table" (as in icons). For an icon the header's
// height covers the colour bitmap and the AND mask, and the result is the upper half.
std::optional<DibImage> DecodeDib(
    std::span<const uint8_t> data, uint64_t headerPos, uint64_t pixelPos, bool icon);

// The table a surface is written with at a palette depth: its own when its format is
// that depth, else the standard one.
std::vector<Color> PaletteForDepth(const Surface& s, int bpp);

// Appends a 40-byte info header.
void AppendInfoHeader(Bytes& out, int32_t width, int32_t height, int bpp, uint32_t imageSize,
    uint32_t pelsPerMeter, uint32_t colorsUsed);
// Appends the colour table, padded with black entries up to count.
void AppendColorTable(Bytes& out, const std::vector<Color>& palette, size_t count);
// Appends the rows bottom-up at the given depth. Where mask is white the pixel is written
// as black (palette depths: the entry nearest to black). At 32 bits the fourth byte comes
// from alpha (one byte per pixel, rows top-down) or is 0.
void AppendRows(Bytes& out, const Surface& s, int bpp, const std::vector<Color>& palette,
    const Surface* mask = nullptr, const uint8_t* alpha = nullptr);

} // namespace plat::detail
