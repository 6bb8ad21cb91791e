#pragma once
// Keyed (colour-transparent) bitmap drawing, glyph strips and bitmap-shaped regions.
//
// A key colour argument is one of three kinds: clNone copies without keying; clDefault
// (0x20000000) takes the key from the source's bottom-left pixel; any other value is the
// key after bit 0x02000000 is cleared and system colours are resolved. A glyph strip holds
// NumGlyphs equal-width images side by side, numbered from 1 at the left; columns left over
// at the right are never drawn. Nothing here keeps state, and the source bitmap is never
// modified. GUI thread only.

#include "framework/graphics/Color.h"
#include "framework/core/Types.h"
#include "platform/raster/Region.h"

#include <cstdint>
#include <span>
#include <vector>

class TBitmap;
class TCanvas;
namespace plat {
class Dc;
class Surface;
}

// The pixel at (0, Height - 1); clDefault for an empty bitmap.
TColor GetTransparentColor(TBitmap* Bitmap);

// Keyed copy at device level: destination pixels keep their colour where the (stretched)
// source pixel equals Key and take the source pixel elsewhere. The source part starts at
// Rect's top-left and is Rect's size cut to the bitmap (the whole bitmap when that is
// empty); W or H 0 means the part's own size. Key is a plain colour (0x00BBGGRR).
void DrawTransparentBitmapRect(plat::Dc* DC, const plat::Surface* Bitmap, int X, int Y, int W,
    int H, const TRect& Rect, uint32_t Key);
// The whole bitmap at natural size.
void DrawTransparentBitmap(plat::Dc* DC, const plat::Surface* Bitmap, int X, int Y, uint32_t Key);

// The general canvas operation: Rect of Bitmap (the whole bitmap when Rect is empty),
// stretched to W x H when both are non-zero, at (X, Y), keyed by Key.
void StretchBitmapRectTransparent(TCanvas* Canvas, int X, int Y, int W, int H,
    const TRect& Rect, TBitmap* Bitmap, TColor Key);
void DrawBitmapRectTransparent(TCanvas* Canvas, int X, int Y, const TRect& Rect,
    TBitmap* Bitmap, TColor Key);
void DrawBitmapTransparent(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap, TColor Key);

// Glyph Index (1-based) of a strip of NumGlyphs, keyed by that glyph's own bottom-left
// pixel. An empty bitmap, NumGlyphs 0 or an Index outside 1..NumGlyphs draws nothing.
void PaintGlyph(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap, uint8_t Index,
    uint8_t NumGlyphs);

// Region data block of the bitmap's non-key pixels (key: the pixel at (0, Height - 2), or
// (0, 0) for a one-row bitmap): a 32-byte header (size 32, type 1, count, 0, bounds
// 0, 0, Width, Height) and count rectangles of four signed 32-bit little-endian values,
// one per run of non-key pixels in scan order. Returns the block's size in bytes, or 0
// for an empty bitmap, in which case Data is left alone.
int CreateRFromBmp(TBitmap* Bitmap, std::vector<uint8_t>& Data);
// The region described by a region data block; an ill-formed block gives an empty region.
plat::Region ExtCreateRegion(std::span<const uint8_t> Data);
