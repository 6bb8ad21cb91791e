#pragma once
// A whole-number window scale for high-density screens: every framebuffer pixel is shown
// as a square of scale x scale screen pixels, so a window drawn pixel by pixel stays exact
// and crisp. The conversions between framebuffer and screen pixels that a backend needs
// (pointer positions, changed areas, the upscaling copy) live here, shared by every
// backend, with the rules that pick the scale from the desktop's settings.
//
// Positions on the screen (window positions, the pointer's screen position) are never
// scaled: a window moves by screen pixels wherever it is drawn at.

#include "platform/raster/Geometry.h"
#include "platform/raster/Surface.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace plat {

constexpr int MinWindowScale = 1, MaxWindowScale = 4;

// "1" to "4" give that scale; anything else (other numbers, signs, spaces, fractions,
// trailing text) gives 0.
int ParseWindowScale(std::string_view text);

// The scale an X resource database (the text of the root window's RESOURCE_MANAGER, lines
// "name: value") asks for by its font resolution Xft.dpi: dpi / 96 rounded to the nearest
// whole number, a half up, limited to 1..4, so 144 dpi and more give 2 and 96 gives 1.
// 0 when the database names no usable Xft.dpi (missing, not a positive number).
int ScaleFromXftDpi(std::string_view resources);

// The scale the desktop asks for: GDK_SCALE (its value, or null when unset) when it is a
// whole number 1..4, since the user sets it for this session on purpose; otherwise the
// scale of Xft.dpi in resources; otherwise 1.
int DesktopWindowScale(std::string_view resources, const char* gdkScale);

// A window coordinate in screen pixels to framebuffer pixels: divided by scale, rounded
// towards minus infinity, so the pixels left of or above the window stay outside it.
constexpr int32_t ToFramebuffer(int32_t v, int scale)
{
    return int32_t(v >= 0 ? v / scale : -((-int64_t(v) + scale - 1) / scale));
}
constexpr Point ToFramebuffer(Point p, int scale)
{
    return { ToFramebuffer(p.x, scale), ToFramebuffer(p.y, scale) };
}

// The framebuffer pixels that cover an area of the window given in screen pixels (an
// expose): the rectangle divided by scale, rounded outwards.
Rect FramebufferArea(const Rect& screenArea, int scale);

// The screen pixels of a framebuffer area: every edge times scale (saturating).
Rect ScreenArea(const Rect& area, int scale);

// Copies the framebuffer pixels of area into dst, each as a scale x scale block: dst
// points at the screen pixel of area's top-left corner, holds 32-bit pixels of the
// framebuffer's layout and has rows dstPitch bytes apart. An area not inside src, or a
// scale out of 1..4, copies nothing.
void ScaleUp(const Surface& src, const Rect& area, int scale, uint32_t* dst, size_t dstPitch);

} // namespace plat
