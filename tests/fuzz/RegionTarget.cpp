// Polygon regions: the input is a fill mode and a list of points. The region must hold
// exactly the pixels whose centres a direct per-pixel test puts inside the polygon (the
// crossing count or winding number of a ray to the left, in exact integer arithmetic,
// with a centre on an edge counted as lying right of it), and keep its banded form.
// Small polygons are checked whole; polygons with 32-bit coordinates through the clipped
// build, on a small window of the plane that the input places.

#include "FuzzTargets.h"

#include "platform/raster/Region.h"

#include <algorithm>
#include <vector>

namespace fuzz {

namespace {

using plat::FillMode;
using plat::Point;
using plat::Rect;
using Wide = __int128;

bool Inside(const std::vector<Point>& pts, FillMode mode, int32_t x, int32_t y)
{
    int crossings = 0, winding = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        Point a = pts[i], b = pts[(i + 1) % pts.size()];
        if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y))
            continue;
        // Twice the crossing's x and twice the centre's x, both times dy.
        Wide dy = Wide(b.y) - a.y, dx = Wide(b.x) - a.x;
        Wide crossing = 2 * Wide(a.x) * dy + (2 * Wide(y) + 1 - 2 * Wide(a.y)) * dx;
        Wide centre = (2 * Wide(x) + 1) * dy;
        bool left = dy > 0 ? crossing <= centre : crossing >= centre;
        if (left) {
            ++crossings;
            winding += dy > 0 ? 1 : -1;
        }
    }
    return mode == FillMode::Alternate ? (crossings & 1) != 0 : winding != 0;
}

void CheckBands(const plat::Region& r)
{
    const std::vector<Rect>& rects = r.Rects();
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& c = rects[i];
        FUZZ_CHECK(c.left < c.right && c.top < c.bottom);
        if (i == 0)
            continue;
        const Rect& p = rects[i - 1];
        if (p.top == c.top) {
            FUZZ_CHECK(p.bottom == c.bottom);
            FUZZ_CHECK(p.right < c.left);
        } else {
            FUZZ_CHECK(c.top >= p.bottom);
        }
    }
    // Touching bands with the same spans would have been merged.
    size_t band = 0;
    while (band < rects.size()) {
        size_t next = band;
        while (next < rects.size() && rects[next].top == rects[band].top)
            ++next;
        if (next < rects.size() && rects[next].top == rects[band].bottom) {
            size_t after = next;
            while (after < rects.size() && rects[after].top == rects[next].top)
                ++after;
            bool same = after - next == next - band;
            for (size_t k = 0; same && k < next - band; ++k)
                same = rects[band + k].left == rects[next + k].left
                    && rects[band + k].right == rects[next + k].right;
            FUZZ_CHECK(!same);
        }
        band = next;
    }
}

// Compares r with the per-pixel test over the window w.
void CheckWindow(const plat::Region& r, const std::vector<Point>& pts, FillMode mode, const Rect& w)
{
    for (int32_t y = w.top; y < w.bottom; ++y)
        for (int32_t x = w.left; x < w.right; ++x)
            FUZZ_CHECK(r.Contains(x, y) == Inside(pts, mode, x, y));
}

int32_t Read32(const uint8_t*& p)
{
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    p += 4;
    return int32_t(v);
}

} // namespace

int Region(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t flags = data[0];
    const FillMode mode = (flags & 1) ? FillMode::Winding : FillMode::Alternate;
    const uint8_t* p = data + 1;
    const uint8_t* end = data + size;
    std::vector<Point> pts;
    if (!(flags & 2)) {
        // Small coordinates, -8..39: the whole polygon lies in the checked window.
        while (end - p >= 2 && pts.size() < 64) {
            pts.push_back({ int32_t(p[0] % 48) - 8, int32_t(p[1] % 48) - 8 });
            p += 2;
        }
        plat::Region r = plat::Region::FromPolygon(pts, mode);
        CheckBands(r);
        const Rect window { -10, -10, 42, 42 };
        CheckWindow(r, pts, mode, window);
        if (!r.Empty()) {
            Rect b = r.Bounds();
            FUZZ_CHECK(b.left >= -8 && b.top >= -8 && b.right <= 40 && b.bottom <= 40);
        }
        // The clipped build gives the same pixels inside its clip.
        const Rect clip { int32_t(flags >> 2) % 24 - 8, int32_t(flags >> 4) % 24 - 8, 30, 33 };
        plat::Region clipped = plat::Region::FromPolygon(pts, mode, clip);
        CheckBands(clipped);
        FUZZ_CHECK(clipped == (r & plat::Region(clip)));
        return 0;
    }
    // 32-bit coordinates: the window's corner comes first, then the points.
    if (end - p < 8)
        return 0;
    const int32_t wx = Read32(p), wy = Read32(p);
    const Rect window { wx, wy, int32_t(std::min<int64_t>(int64_t(wx) + 24, INT32_MAX)),
        int32_t(std::min<int64_t>(int64_t(wy) + 24, INT32_MAX)) };
    while (end - p >= 8 && pts.size() < 32) {
        int32_t x = Read32(p), y = Read32(p);
        pts.push_back({ x, y });
    }
    plat::Region r = plat::Region::FromPolygon(pts, mode, window);
    CheckBands(r);
    if (!r.Empty()) {
        Rect b = r.Bounds();
        FUZZ_CHECK(b.left >= window.left && b.top >= window.top && b.right <= window.right
            && b.bottom <= window.bottom);
    }
    CheckWindow(r, pts, mode, window);
    return 0;
}

} // namespace fuzz
