#include "framework/stdctrls/ImageList.h"

#include "framework/core/Filer.h"
#include "framework/core/Stream.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace {

// A stored list larger than this is refused as damaged rather than allocated.
constexpr int64_t kMaxStoredPixels = int64_t(1) << 24;

uint32_t ReadU32(TStream& s)
{
    uint8_t b[4];
    s.ReadBuffer(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void WriteU32(TStream& s, uint32_t v)
{
    uint8_t b[4] = { uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24) };
    s.WriteBuffer(b, 4);
}

bool IsDark(TColor c)
{
    c = ColorToRGB(c);
    int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return r * 30 + g * 59 + b * 11 < 128 * 100;
}

} // namespace

TImageList::TImageList(TComponent* AOwner)
    : TComponent(AOwner)
{
}

void TImageList::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TImageList::SetWidth(int Value)
{
    if (Value < 1 || Value == FWidth)
        return;
    Clear();
    FWidth = Value;
}

void TImageList::SetHeight(int Value)
{
    if (Value < 1 || Value == FHeight)
        return;
    Clear();
    FHeight = Value;
}

size_t TImageList::At(int Index, int X, int Y) const
{
    return (size_t(Index) * size_t(FHeight) + size_t(Y)) * size_t(FWidth) + size_t(X);
}

int TImageList::AddMasked(TBitmap* Strip, TColor MaskColor)
{
    if (!Strip || Strip->Empty() || Strip->Width() < FWidth || Strip->Height() < FHeight)
        return -1;
    const plat::Surface& img = Strip->Image();
    TColor key = MaskColor == clDefault ? TColor(img.GetColor(0, img.Height() - 1))
                                        : ColorToRGB(MaskColor) & 0xFFFFFF;
    int n = Strip->Width() / FWidth;
    int first = FCount;
    FPixels.resize(FPixels.size() + size_t(n) * size_t(FWidth) * size_t(FHeight));
    FMask.resize(FPixels.size());
    for (int k = 0; k < n; ++k)
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) {
                TColor c = img.GetColor(k * FWidth + x, y) & 0xFFFFFF;
                size_t i = At(first + k, x, y);
                FPixels[i] = c;
                FMask[i] = c != key;
            }
    FCount += n;
    Changed();
    return first;
}

void TImageList::Delete(int Index)
{
    if (Index < 0 || Index >= FCount)
        throw EListError(Format("Image index out of bounds (%d)", Index));
    size_t per = size_t(FWidth) * size_t(FHeight);
    FPixels.erase(FPixels.begin() + ptrdiff_t(per * size_t(Index)),
        FPixels.begin() + ptrdiff_t(per * size_t(Index + 1)));
    FMask.erase(FMask.begin() + ptrdiff_t(per * size_t(Index)),
        FMask.begin() + ptrdiff_t(per * size_t(Index + 1)));
    --FCount;
    Changed();
}

void TImageList::Clear()
{
    if (FCount == 0)
        return;
    FPixels.clear();
    FMask.clear();
    FCount = 0;
    Changed();
}

TColor TImageList::PixelOf(int Index, int X, int Y) const
{
    if (Index < 0 || Index >= FCount || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return clNone;
    return FPixels[At(Index, X, Y)];
}

bool TImageList::Drawn(int Index, int X, int Y) const
{
    if (Index < 0 || Index >= FCount || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        return false;
    return FMask[At(Index, X, Y)] != 0;
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const
{
    if (!Canvas || Index < 0 || Index >= FCount)
        return;
    if (Enabled) {
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x)
                if (FMask[At(Index, x, y)])
                    Canvas->SetPixel(X + x, Y + y, FPixels[At(Index, x, y)]);
        return;
    }
    for (int pass = 0; pass < 2; ++pass) {
        TColor c = pass == 0 ? clBtnHighlight : clBtnShadow;
        int d = pass == 0 ? 1 : 0;
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) {
                size_t i = At(Index, x, y);
                if (FMask[i] && IsDark(FPixels[i]))
                    Canvas->SetPixel(X + x + d, Y + y + d, c);
            }
    }
}

void TImageList::DefineProperties(TFiler* Filer)
{
    TComponent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Bitmap",
        [this](TStream& s) {
            uint32_t count = ReadU32(s), w = ReadU32(s), h = ReadU32(s);
            if (w < 1 || h < 1 || w > 4096 || h > 4096
                || int64_t(count) * w * h > kMaxStoredPixels
                || s.Size() - s.Position() != int64_t(count) * w * h * 4)
                throw EReadError("Invalid image list data");
            std::vector<uint32_t> pixels(size_t(count) * w * h);
            std::vector<uint8_t> mask(pixels.size());
            for (size_t i = 0; i < pixels.size(); ++i) {
                uint32_t v = ReadU32(s);
                pixels[i] = v & 0xFFFFFF;
                mask[i] = (v >> 24) != 0;
            }
            FWidth = int(w);
            FHeight = int(h);
            FCount = int(count);
            FPixels = std::move(pixels);
            FMask = std::move(mask);
            Changed();
        },
        [this](TStream& s) {
            WriteU32(s, uint32_t(FCount));
            WriteU32(s, uint32_t(FWidth));
            WriteU32(s, uint32_t(FHeight));
            for (size_t i = 0; i < FPixels.size(); ++i)
                WriteU32(s, FPixels[i] | (FMask[i] ? 0xFF000000u : 0u));
        },
        FCount > 0);
}

BEGIN_PROPERTIES(TImageList, TComponent)
    .Int("Height", &TImageList::Height, &TImageList::SetHeight).Default(16)
    .Int("Width", &TImageList::Width, &TImageList::SetWidth).Default(16)
END_PROPERTIES
