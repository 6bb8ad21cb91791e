#include "app/NeedleMask.h"

#include "platform/raster/Dc.h"

#include <algorithm>

namespace {

// True when any of eight pixels is set; written as one reduction so that it compiles to
// a couple of vector instructions.
inline bool AnySet8(const plat::Pixel* p)
{
    plat::Pixel any = 0;
    for (int i = 0; i < 8; ++i)
        any |= p[i];
    return any != 0;
}

} // namespace

plat::Region TNeedleMask::Covered(const TPoint (&points)[7])
{
    plat::Region r;
    Covered(points, r);
    return r;
}

void TNeedleMask::Covered(const TPoint (&points)[7], plat::Region& out)
{
    int32_t left = points[0].X, top = points[0].Y, right = left, bottom = top;
    for (const TPoint& p : points) {
        left = std::min(left, p.X);
        top = std::min(top, p.Y);
        right = std::max(right, p.X);
        bottom = std::max(bottom, p.Y);
    }
    // The pen paints the pixel at a vertex, so the box reaches one past the largest one.
    const int64_t w = int64_t(right) - left + 1, h = int64_t(bottom) - top + 1;
    if (w > 4096 || h > 4096) {
        out.Clear();
        return;
    }
    if (FScratch.Width() < w || FScratch.Height() < h) {
        FScratch = plat::Surface(int32_t(std::max<int64_t>(w, FScratch.Width())),
            int32_t(std::max<int64_t>(h, FScratch.Height())));
        FScratch.Fill(0);
        FDc.SetTarget(&FScratch);
    }

    plat::Point local[7];
    for (int i = 0; i < 7; ++i)
        local[i] = { points[i].X - left, points[i].Y - top };
    const plat::Rect box { 0, 0, int32_t(w), int32_t(h) };
    FDc.SetPen({ plat::PenStyle::Solid, 1, 0xFFFFFF });
    FDc.SetBrush({ plat::BrushStyle::Solid, 0xFFFFFF });
    FDc.Polygon(local);

    FRuns.clear();
    for (int32_t y = 0; y < box.bottom; ++y) {
        plat::Pixel* row = FScratch.Row(y);
        for (int32_t x = 0; x < box.right;) {
            // Most of the box is blank: pass it eight pixels at a time.
            if (x + 8 <= box.right && !AnySet8(row + x)) {
                x += 8;
                continue;
            }
            if (!row[x]) {
                ++x;
                continue;
            }
            int32_t start = x;
            while (x < box.right && row[x])
                row[x++] = 0;
            FRuns.push_back({ start + left, y + top, x + left, y + top + 1 });
        }
    }
    out.AssignRects(FRuns);
}
