#include "effectlib/Bmputils.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "platform/raster/Dc.h"

#include <cstring>

namespace {

// The key as a plain colour: bit 0x02000000 cleared, system colours resolved.
uint32_t PlainKey(TColor key) { return ColorToRGB(key & ~TColor(0x02000000)) & 0xFFFFFF; }

void PutInt(std::vector<uint8_t>& data, size_t at, int32_t v)
{
    uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; ++i)
        data[at + size_t(i)] = uint8_t(u >> (8 * i));
}

int32_t GetInt(std::span<const uint8_t> data, size_t at)
{
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= uint32_t(data[at + size_t(i)]) << (8 * i);
    return int32_t(u);
}

constexpr size_t RegionHeaderSize = 32;
constexpr size_t RegionRectSize = 16;

} // namespace

TColor GetTransparentColor(TBitmap* Bitmap)
{
    // No pixel, no key: clDefault here would key another bitmap by its own corner.
    if (!Bitmap || Bitmap->Empty())
        return clNone;
    return Bitmap->Image().GetColor(0, Bitmap->Height() - 1);
}

// The part's size is Rect's, cut at the bitmap's right and bottom edges; a part of no
// width or height stands for the whole bitmap size from Rect's origin. Source pixels that
// lie outside the bitmap are left out, so the destination keeps its colour there.
void DrawTransparentBitmapRect(plat::Dc* DC, const plat::Surface* Bitmap, int X, int Y, int W,
    int H, const TRect& Rect, uint32_t Key)
{
    if (!DC || !Bitmap || Bitmap->Empty())
        return;
    const int64_t bmW = Bitmap->Width(), bmH = Bitmap->Height();
    int64_t cx = std::min<int64_t>(int64_t(Rect.Right) - Rect.Left, bmW - Rect.Left);
    int64_t cy = std::min<int64_t>(int64_t(Rect.Bottom) - Rect.Top, bmH - Rect.Top);
    if (cx == 0 || cy == 0) {
        cx = bmW;
        cy = bmH;
    }
    if (cx < 0 || cy < 0)
        return;
    if (W == 0 || H == 0) {
        W = int(cx);
        H = int(cy);
    }
    DC->MaskedBlt(X, Y, W, H, *Bitmap, Rect.Left, Rect.Top, int32_t(cx), int32_t(cy),
        Key & 0xFFFFFF);
}

void DrawTransparentBitmap(plat::Dc* DC, const plat::Surface* Bitmap, int X, int Y, uint32_t Key)
{
    DrawTransparentBitmapRect(DC, Bitmap, X, Y, 0, 0, TRect {}, Key);
}

void StretchBitmapRectTransparent(TCanvas* Canvas, int X, int Y, int W, int H,
    const TRect& Rect, TBitmap* Bitmap, TColor Key)
{
    if (!Canvas || !Bitmap || Bitmap->Empty())
        return;
    const plat::Surface& image = Bitmap->Image();
    plat::Dc* dc = Canvas->Handle();
    if (Key == clNone) {
        // The source rectangle is not cut to the bitmap: what lies outside stays black.
        TRect s = Rect.Width() != 0 && Rect.Height() != 0
            ? Rect
            : ::Rect(0, 0, image.Width(), image.Height());
        plat::Surface part(s.Width(), s.Height());
        if (part.Empty())
            return;
        plat::Dc partDc(&part);
        partDc.BitBlt(0, 0, s.Width(), s.Height(), image, s.Left, s.Top);
        if (W != 0 && H != 0)
            dc->StretchBlt(X, Y, W, H, part, 0, 0, part.Width(), part.Height());
        else
            dc->BitBlt(X, Y, part.Width(), part.Height(), part, 0, 0);
        return;
    }
    uint32_t key = Key == clDefault ? image.GetColor(0, image.Height() - 1) : PlainKey(Key);
    DrawTransparentBitmapRect(dc, &image, X, Y, W, H, Rect, key);
}

void DrawBitmapRectTransparent(TCanvas* Canvas, int X, int Y, const TRect& Rect,
    TBitmap* Bitmap, TColor Key)
{
    StretchBitmapRectTransparent(Canvas, X, Y, 0, 0, Rect, Bitmap, Key);
}

void DrawBitmapTransparent(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap, TColor Key)
{
    StretchBitmapRectTransparent(Canvas, X, Y, 0, 0, TRect {}, Bitmap, Key);
}

// The glyph is keyed by its own bottom-left pixel, so each image of a strip may have a
// key colour of its own.
void PaintGlyph(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap, uint8_t Index,
    uint8_t NumGlyphs)
{
    if (!Canvas || !Bitmap || Bitmap->Empty() || NumGlyphs == 0)
        return;
    const int w = Bitmap->Width() / NumGlyphs;
    if (w == 0 || Index < 1 || Index > NumGlyphs)
        return;
    const plat::Surface& image = Bitmap->Image();
    const int left = (Index - 1) * w;
    const uint32_t key = image.GetColor(left, image.Height() - 1);
    Canvas->Handle()->MaskedBlt(X, Y, w, image.Height(), image, left, 0, w, image.Height(), key);
}

int CreateRFromBmp(TBitmap* Bitmap, std::vector<uint8_t>& Data)
{
    if (!Bitmap || Bitmap->Empty())
        return 0;
    const plat::Surface& image = Bitmap->Image();
    const int w = image.Width(), h = image.Height();
    // The key is in column 0 of the second row from the bottom (the only row of a
    // one-row bitmap).
    const plat::Pixel key = image.Row(std::max(h - 2, 0))[0];
    std::vector<TRect> runs;
    for (int y = 0; y < h; ++y) {
        const plat::Pixel* row = image.Row(y);
        int x = 0;
        while (x < w) {
            if (row[x] == key) {
                ++x;
                continue;
            }
            int x0 = x;
            while (x < w && row[x] != key)
                ++x;
            runs.push_back({ x0, y, x, y + 1 });
        }
    }
    const size_t size = RegionHeaderSize + RegionRectSize * runs.size();
    if (size > size_t(INT32_MAX))
        return 0;
    std::vector<uint8_t> block(size, 0);
    PutInt(block, 0, int32_t(RegionHeaderSize));
    PutInt(block, 4, 1);
    PutInt(block, 8, int32_t(runs.size()));
    PutInt(block, 12, 0);
    PutInt(block, 16, 0);
    PutInt(block, 20, 0);
    PutInt(block, 24, w);
    PutInt(block, 28, h);
    size_t at = RegionHeaderSize;
    for (const TRect& r : runs) {
        PutInt(block, at, r.Left);
        PutInt(block, at + 4, r.Top);
        PutInt(block, at + 8, r.Right);
        PutInt(block, at + 12, r.Bottom);
        at += RegionRectSize;
    }
    Data = std::move(block);
    return int(size);
}

plat::Region ExtCreateRegion(std::span<const uint8_t> Data)
{
    if (Data.size() < RegionHeaderSize || GetInt(Data, 0) != int32_t(RegionHeaderSize)
        || GetInt(Data, 4) != 1)
        return {};
    const int32_t count = GetInt(Data, 8);
    if (count < 0 || size_t(count) > (Data.size() - RegionHeaderSize) / RegionRectSize)
        return {};
    std::vector<plat::Rect> rects;
    rects.reserve(size_t(count));
    for (size_t i = 0; i < size_t(count); ++i) {
        const size_t at = RegionHeaderSize + i * RegionRectSize;
        rects.push_back({ GetInt(Data, at), GetInt(Data, at + 4), GetInt(Data, at + 8),
            GetInt(Data, at + 12) });
    }
    return plat::Region::FromRects(rects);
}
