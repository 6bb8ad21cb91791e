// Block copies: plain, stretched (nearest pixel) and keyed, and the monochrome conversion.

#include "platform/raster/Dc.h"

#include "platform/raster/Dc_p.h"

namespace plat {

using detail::Box;
using detail::DcInt128;
using detail::Painter;

namespace {

bool UsesSource(Rop rop)
{
    return rop != Rop::DstInvert && rop != Rop::Blackness && rop != Rop::Whiteness
        && rop != Rop::PatCopy;
}

Pixel Apply(Rop rop, Pixel s, Pixel d, Pixel pat)
{
    switch (rop) {
    case Rop::SrcCopy: return s;
    case Rop::SrcAnd: return s & d;
    case Rop::SrcPaint: return s | d;
    case Rop::SrcInvert: return (s ^ d) & 0xFFFFFF;
    case Rop::SrcErase: return s & ~d & 0xFFFFFF;
    case Rop::NotSrcCopy: return ~s & 0xFFFFFF;
    case Rop::DstInvert: return ~d & 0xFFFFFF;
    case Rop::Blackness: return 0;
    case Rop::Whiteness: return 0xFFFFFF;
    case Rop::PatCopy: return pat;
    }
    return s;
}

// Applies a raster operation to a run of n destination pixels from n source pixels.
void ApplyRun(Rop rop, Pixel* d, const Pixel* s, size_t n, Pixel pat)
{
    if (rop == Rop::SrcCopy) {
        std::copy_n(s, n, d);
        return;
    }
    for (size_t i = 0; i < n; ++i)
        d[i] = Apply(rop, s ? s[i] : 0, d[i], pat);
}

// Fills a rectangle with an operation that needs no source.
void FillOp(const Painter& p, const Box& box, Rop rop, Pixel pat)
{
    switch (rop) {
    case Rop::DstInvert: p.FillBox(box, Rop2::Not, 0); return;
    case Rop::Blackness: p.FillBox(box, Rop2::Black, 0); return;
    case Rop::Whiteness: p.FillBox(box, Rop2::White, 0); return;
    default: p.FillBox(box, Rop2::CopyPen, pat); return;
    }
}

// For each destination position in [first, first + count), the source index it reads, or
// -1 outside the source. Position i of n (counted in the direction of the destination
// extent) reads source index floor((i + 1/2) * sn / n), counted in the direction of the
// source extent.
std::vector<int64_t> IndexMap(int64_t first, int64_t count, int64_t start, int64_t n, int64_t sStart,
    int64_t sn, int64_t sLimit)
{
    std::vector<int64_t> map(size_t(std::max<int64_t>(count, 0)));
    const int64_t an = std::llabs(n), asn = std::llabs(sn);
    for (int64_t j = 0; j < count; ++j) {
        int64_t pos = first + j;
        int64_t i = n > 0 ? pos - start : start - pos;
        int64_t k = int64_t((DcInt128(2) * i + 1) * asn / (DcInt128(2) * an));
        int64_t s = sn > 0 ? sStart + k : sStart - k;
        map[size_t(j)] = (s >= 0 && s < sLimit) ? s : -1;
    }
    return map;
}

// The destination box covered by an extent of n pixels from p (n < 0 runs leftwards).
void Extent(int64_t p, int64_t n, int64_t& lo, int64_t& hi)
{
    lo = n > 0 ? p : p + n + 1;
    hi = lo + std::llabs(n);
}

} // namespace

void Dc::BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const Surface& src, int32_t sx,
    int32_t sy, Rop rop)
{
    Painter p(FTarget, ClipRef());
    if (p.Empty() || w <= 0 || h <= 0)
        return;
    const int64_t dx = int64_t(x) + FState.origin.x, dy = int64_t(y) + FState.origin.y;
    Box dest { dx, dy, dx + w, dy + h };
    const Pixel pat = ToPixel(FState.brush.color) & 0xFFFFFF;
    if (!UsesSource(rop)) {
        FillOp(p, dest, rop, pat);
        return;
    }
    // Destination pixel (u, v) reads source pixel (u - ox, v - oy); only pixels the source
    // holds are copied.
    const int64_t ox = dx - sx, oy = dy - sy;
    Box valid = dest.Intersect({ ox, oy, ox + src.Width(), oy + src.Height() }).Intersect(p.Bounds());
    if (valid.Empty() || src.Empty())
        return;
    // A copy within one surface reads a snapshot, so overlapping areas come out right.
    Surface snapshot;
    const Surface* from = &src;
    if (&src == FTarget) {
        snapshot = src;
        from = &snapshot;
    }
    for (const Rect& r : p.Clip().Rects()) {
        if (r.top >= valid.b)
            break;
        Box k = valid.Intersect(detail::ToBox(r));
        if (k.Empty())
            continue;
        for (int64_t v = k.t; v < k.b; ++v)
            ApplyRun(rop, FTarget->Row(int32_t(v)) + k.l, from->Row(int32_t(v - oy)) + (k.l - ox),
                size_t(k.r - k.l), pat);
    }
}

namespace {

// The common walk of the stretched and keyed copies: calls put(dest, source pixel) for each
// visible destination pixel whose source pixel exists.
template <class Put>
void StretchWalk(const Painter& p, Surface* target, int64_t dx, int64_t dy, int32_t w, int32_t h,
    const Surface& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh, Put&& put)
{
    int64_t l, r, t, b;
    Extent(dx, w, l, r);
    Extent(dy, h, t, b);
    Box vis = Box { l, t, r, b }.Intersect(p.Bounds());
    if (vis.Empty())
        return;
    std::vector<int64_t> cols = IndexMap(vis.l, vis.r - vis.l, dx, w, sx, sw, src.Width());
    std::vector<int64_t> rows = IndexMap(vis.t, vis.b - vis.t, dy, h, sy, sh, src.Height());
    for (const Rect& cr : p.Clip().Rects()) {
        if (cr.top >= vis.b)
            break;
        Box k = vis.Intersect(detail::ToBox(cr));
        if (k.Empty())
            continue;
        for (int64_t v = k.t; v < k.b; ++v) {
            int64_t srow = rows[size_t(v - vis.t)];
            if (srow < 0)
                continue;
            const Pixel* s = src.Row(int32_t(srow));
            Pixel* d = target->Row(int32_t(v));
            for (int64_t u = k.l; u < k.r; ++u) {
                int64_t scol = cols[size_t(u - vis.l)];
                if (scol >= 0)
                    put(d[u], s[scol]);
            }
        }
    }
}

} // namespace

void Dc::StretchBlt(int32_t x, int32_t y, int32_t w, int32_t h, const Surface& src, int32_t sx,
    int32_t sy, int32_t sw, int32_t sh, Rop rop)
{
    if (w > 0 && h > 0 && sw == w && sh == h) {
        BitBlt(x, y, w, h, src, sx, sy, rop);
        return;
    }
    Painter p(FTarget, ClipRef());
    if (p.Empty() || w == 0 || h == 0)
        return;
    const int64_t dx = int64_t(x) + FState.origin.x, dy = int64_t(y) + FState.origin.y;
    const Pixel pat = ToPixel(FState.brush.color) & 0xFFFFFF;
    if (!UsesSource(rop)) {
        int64_t l, r, t, b;
        Extent(dx, w, l, r);
        Extent(dy, h, t, b);
        FillOp(p, { l, t, r, b }, rop, pat);
        return;
    }
    if (src.Empty() || sw == 0 || sh == 0)
        return;
    Surface snapshot;
    const Surface* from = &src;
    if (&src == FTarget) {
        snapshot = src;
        from = &snapshot;
    }
    StretchWalk(p, FTarget, dx, dy, w, h, *from, sx, sy, sw, sh,
        [&](Pixel& d, Pixel s) { d = Apply(rop, s, d, pat); });
}

void Dc::MaskedBlt(int32_t x, int32_t y, int32_t w, int32_t h, const Surface& src, int32_t sx,
    int32_t sy, int32_t sw, int32_t sh, Color key)
{
    Painter p(FTarget, ClipRef());
    if (p.Empty() || src.Empty() || w == 0 || h == 0 || sw == 0 || sh == 0)
        return;
    const int64_t dx = int64_t(x) + FState.origin.x, dy = int64_t(y) + FState.origin.y;
    const Pixel k = ToPixel(key) & 0xFFFFFF;
    Surface snapshot;
    const Surface* from = &src;
    if (&src == FTarget) {
        snapshot = src;
        from = &snapshot;
    }
    StretchWalk(p, FTarget, dx, dy, w, h, *from, sx, sy, sw, sh, [&](Pixel& d, Pixel s) {
        if (s != k)
            d = s;
    });
}

Surface ToMonochrome(const Surface& src, Color background)
{
    Surface out(src.Width(), src.Height(), PixelFormat::Bpp1);
    if (out.Empty())
        return out;
    const Pixel bk = ToPixel(background) & 0xFFFFFF;
    for (int32_t y = 0; y < src.Height(); ++y) {
        const Pixel* s = src.Row(y);
        Pixel* d = out.Row(y);
        for (int32_t x = 0; x < src.Width(); ++x)
            d[x] = s[x] == bk ? 0xFFFFFF : 0;
    }
    return out;
}

} // namespace plat
