#pragma once
// TEffectBmp: a 24-bit top-down pixel buffer changed in place by pixel effects (blurs,
// colour mixing, gradients, waves, morphs) and copied back onto a drawing context.
//
// Each row holds Width pixels of three bytes (blue, green, red) and is padded to a
// multiple of four bytes. A pixel value (GetPixel / SetPixel) is those three bytes read
// little-endian: blue in bits 0-7, red in bits 16-23, the reverse of TColor. Every
// operation clips to the buffers it touches; a buffer of zero size does nothing. Owned by
// its creator; one thread at a time.

#include "framework/graphics/Color.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <vector>

class TBitmap;
class TCanvas;
namespace plat {
class Dc;
class Surface;
}

enum TGradKind { gdRight, gdLeft, gdTop, gdBottom, gdVCenter, gdHCenter };

// The bitmap-information header that describes the buffer (size 40, height negative for
// rows stored top-down, 24 bits per pixel, uncompressed).
struct TEffectBmpHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 24;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

class TEffectBmp {
public:
    // The pixels of a surface (any depth), converted to 24 bits; the source is unchanged.
    explicit TEffectBmp(const plat::Surface& source);
    // The pixels of a bitmap (its Handle()).
    explicit TEffectBmp(TBitmap* source);
    // All-zero pixels. Negative sizes give an empty buffer.
    TEffectBmp(int AWidth, int AHeight);
    TEffectBmp(const TEffectBmp& source);
    TEffectBmp& operator=(const TEffectBmp& source);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Size() const { return FSize; }                 // Height * Stride
    int Stride() const { return FStride; }             // bytes per row
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    uint8_t* Bits() { return FBits.data(); }
    const uint8_t* Bits() const { return FBits.data(); }
    const TEffectBmpHeader& Header() const { return FHeader; }

    // Unchecked access: callers keep 0 <= X < Width and 0 <= Y < Height.
    uint32_t GetPixel(int X, int Y) const;
    void SetPixel(int X, int Y, uint32_t Value);
    uint8_t* GetLine(int Y) { return FBits.data() + size_t(Y) * size_t(FStride); }
    const uint8_t* GetLine(int Y) const { return FBits.data() + size_t(Y) * size_t(FStride); }
    void GetScanLine(int Y, uint8_t* Dest) const;      // copies 3 * Width bytes out
    void SetLine(int Y, const uint8_t* Source);        // copies 3 * Width bytes in

    // The whole buffer 1:1 with its top-left corner at (X, Y).
    void Draw(plat::Dc* DC, int X, int Y) const;
    void Draw(TCanvas* Canvas, int X, int Y) const;
    // The whole buffer stretched (nearest pixel) to W x H at (X, Y).
    void Stretch(plat::Dc* DC, int X, int Y, int W, int H) const;
    // The part Source of the buffer stretched onto Dest.
    void DrawRect(plat::Dc* DC, const TRect& Dest, const TRect& Source) const;
    // Fills W x H at (X, Y) with copies of the buffer.
    void TileDraw(plat::Dc* DC, int X, int Y, int W, int H) const;
    // The buffer as a 24-bit surface.
    plat::Surface ToSurface() const;

    void Tile(TEffectBmp* Dest) const;      // fills Dest with copies of this buffer
    void Resize(TEffectBmp* Dest) const;    // nearest-block scaling into Dest's size
    void Flip();                            // mirrors every row left to right
    void Flop();                            // mirrors the rows top to bottom
    void AddColorNoise(int Amount);
    void AddMiddleColor(TColor Color);
    void AddMiddleColorInRect(TColor Color, const TRect& Rect);   // edges inclusive
    void Blur(int Amount);
    // Four-sample blur in place: each channel becomes the truncated mean of the pixels at
    // (X -/+ Amount, Y -/+ Amount), a sample outside the buffer taken from the pixel's own
    // row or column.
    void SplitBlur(int Amount);
    // SplitBlur for the pixels whose Mask pixel is pure black only.
    void MaskSplitBlur(const TEffectBmp* Mask, int Amount);
    // Halves every channel of the pixels where Mask (same size) is black: a soft shadow
    // cast everywhere the mask leaves open.
    void HalveOutside(const TEffectBmp& Mask);
    void Wave(int XDiv, int YDiv, int Ratio);
    void MiddleBMP(const TEffectBmp* Other);
    void AddGradColor(TColor Color, TGradKind Kind);
    void AddGradBMP(const TEffectBmp* Other, TGradKind Kind);
    void Morph(const TEffectBmp* Other, double Ratio);
    void MorphRect(const TEffectBmp* Other, double Ratio, const TRect& Rect, int X, int Y);
    void CopyRect(const TEffectBmp* Source, const TRect& Rect, int X, int Y);

private:
    void Allocate(int AWidth, int AHeight);
    uint8_t* PixelAt(int X, int Y) { return GetLine(Y) + 3 * size_t(X); }
    const uint8_t* PixelAt(int X, int Y) const { return GetLine(Y) + 3 * size_t(X); }

    TEffectBmpHeader FHeader;
    int FWidth = 0;
    int FHeight = 0;
    int FStride = 0;
    int FSize = 0;
    std::vector<uint8_t> FBits;
};
