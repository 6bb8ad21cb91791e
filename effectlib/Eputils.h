#pragma once
// Small helpers of the effect library: colour arithmetic, a keyed bitmap copy without a
// corner key, a slow canvas blur, geometry, device-independent bits, a plain pixel holder,
// a bit set and bitmap-shaped regions. Its names repeat some of the drawing modules', so
// it lives in namespace Eputils; RGBChange and MiddleColor are the very functions of
// Grutils. Nothing here keeps state. GUI thread only.

#include "effectlib/Effbmp.h"
#include "effectlib/Grutils.h"
#include "framework/graphics/Color.h"
#include "framework/core/Types.h"
#include "platform/raster/Region.h"

#include <cstdint>
#include <span>
#include <vector>

class TBitmap;
class TCanvas;

namespace Eputils {

using ::MiddleColor;
using ::RGBChange;

constexpr TColor Compose(uint8_t R, uint8_t G, uint8_t B) { return RGB(R, G, B); }
constexpr int Min(int A, int B) { return A < B ? A : B; }
constexpr int Max(int A, int B) { return A > B ? A : B; }

// Bitmap unscaled at (X, Y). clNone copies it unchanged; any other value is the key
// (bit 0x02000000 cleared, system colours resolved): pixels of the key leave the canvas
// as it is. There is no value that takes the key from the bitmap's corner.
void DrawBitmapTransparent(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap,
    TColor TransparentColor);

// All four edges inclusive.
inline bool PointInRect(const TPoint& P, const TRect& R)
{
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

// The averaging blur of TEffectBmp::Blur on canvas pixels: every result is written to Dest
// (grown to Source's size when smaller), so Source is read unchanged; pending messages
// are processed after each row. Slow; for small images.
void Blur(TBitmap* Source, TBitmap* Dest, int Amount);

// The bitmap's pixels as 24-bit top-down rows (the layout of TEffectBmp) and the header
// describing them. False, with nothing written, for an empty bitmap.
bool GetDIB(TBitmap* Bitmap, TEffectBmpHeader& Info, std::vector<uint8_t>& Bits);
// Replaces the bitmap's pixels with 24-bit rows described by Info (height negative:
// top-down, positive: bottom-up). False, with the bitmap unchanged, when Info is not a
// 24-bit uncompressed header or Bits is too short.
bool SetDIB(TBitmap* Bitmap, const TEffectBmpHeader& Info, std::span<const uint8_t> Bits);
// Source of Bitmap (the whole bitmap when empty) stretched onto Dest, unkeyed.
void DrawBitmapRect(TCanvas* Canvas, const TRect& Dest, TBitmap* Bitmap, const TRect& Source);
// The region of the pixels that differ from TransparentColor (clDefault: the bitmap's
// bottom-left pixel), as rows of runs.
plat::Region CreateRgnFromBmp(TBitmap* Bitmap, TColor TransparentColor);

// A plain holder of 0x00BBGGRR pixels with checked access. Copies are deep.
class TFBitmap {
public:
    TFBitmap() = default;
    TFBitmap(int AWidth, int AHeight);
    explicit TFBitmap(TBitmap* Source);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    void SetSize(int AWidth, int AHeight);   // keeps nothing; new pixels are black
    // Outside the holder Pixel returns clNone and SetPixel does nothing.
    TColor Pixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);
    void Assign(TBitmap* Source);
    void AssignTo(TBitmap* Dest) const;
    void Draw(TCanvas* Canvas, int X, int Y) const;

private:
    int FWidth = 0, FHeight = 0;
    std::vector<TColor> FPixels;
};

// A growable set of bits. Reading past the end gives false; writing past it grows the set.
class TBits {
public:
    int Size() const { return int(FBits.size()); }
    void SetSize(int value);   // negative sizes are taken as 0
    bool Bits(int Index) const;
    void SetBits(int Index, bool Value);   // negative indices are ignored
    // The first index whose bit is clear (Size when all are set).
    int OpenBit() const;

private:
    std::vector<bool> FBits;
};

} // namespace Eputils
