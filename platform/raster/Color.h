#pragma once
// Colours at the raster API are 0x00BBGGRR (red in the low byte), the framework's colour
// layout. Surfaces store pixels as 0x00RRGGBB, the layout of 32-bit device-independent
// bitmaps and of the window system's framebuffers; the two convert by swapping red and blue.

#include <cstdint>

namespace plat {

using Color = uint32_t;  // 0x00BBGGRR
using Pixel = uint32_t;  // 0x00RRGGBB, top byte always 0 in a surface

constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) { return Color(r) | Color(g) << 8 | Color(b) << 16; }
constexpr uint8_t RedOf(Color c) { return uint8_t(c); }
constexpr uint8_t GreenOf(Color c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(Color c) { return uint8_t(c >> 16); }

constexpr Pixel ToPixel(Color c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
constexpr Color ToColor(Pixel p) { return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF); }

} // namespace plat
