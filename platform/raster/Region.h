#pragma once
// A region is a set of pixels kept as y-x banded rectangles: the rectangles are sorted by
// top, then left; rectangles of one band share top and bottom, do not touch or overlap
// within the band, and bands do not overlap. Two regions holding the same pixels have the
// same rectangle list (adjacent bands with identical spans are merged), so equality is a
// list comparison. A default region is valid and empty.
//
// Polygon regions follow one scan-conversion rule, shared with the canvas polygon fill:
// pixel (x, y) is inside when its centre (x + 0.5, y + 0.5) is inside the polygon under
// the fill rule (alternate: odd crossing count; winding: non-zero winding number). A centre
// exactly on an edge is judged as if moved a hair to the right: inside a left boundary,
// outside a right one. The scan is exact for any 32-bit coordinates; a polygon whose
// region would exceed 16 M rectangles is refused (empty region, reported failure).

#include "platform/raster/Geometry.h"

#include <cstddef>
#include <span>
#include <vector>

namespace plat {

enum class FillMode { Alternate = 1, Winding = 2 };
enum class RegionOp { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

class Region {
public:
    Region() = default;
    explicit Region(const Rect& r);
    Region(const Region&) = default;
    Region(Region&&) noexcept = default;
    // A copy into a region reuses its storage; storage that must grow takes half again as
    // much as needed, so that a region copied into again and again soon stops growing.
    Region& operator=(const Region& o);
    Region& operator=(Region&&) noexcept = default;
    static Region FromPolygon(std::span<const Point> points, FillMode mode);
    // The same region cut to clip; the work is bounded by the rows of clip, so this suits
    // polygons far larger than the area drawn.
    static Region FromPolygon(std::span<const Point> points, FillMode mode, const Rect& clip);
    static Region FromRects(std::span<const Rect> rects);   // the union of any rectangles

    // Combination as the classic region call: this := a op b (Copy takes a).
    static Region Combine(const Region& a, const Region& b, RegionOp op);
    // this := a op b, reusing this region's storage (either operand may be this).
    void Assign(const Region& a, const Region& b, RegionOp op);
    // Replaces the content by the polygon's region cut to clip, reusing the storage.
    void AssignPolygon(std::span<const Point> points, FillMode mode, const Rect& clip);
    // Replaces the content by the union of any rectangles, reusing the storage.
    void AssignRects(std::span<const Rect> rects);
    // Unites one-row runs with the region: in one pass when they come in order (rows top to
    // bottom, the runs of a row left to right and apart), as a line's pixels gathered by
    // row do; in any other order as the union of any rectangles.
    void UniteRows(std::span<const Rect> runs);
    // Replaces the content by one rectangle (nothing when r is empty), reusing the storage.
    void SetRect(const Rect& r);
    Region& IntersectRect(const Rect& r);
    // Replaces the content by src met with r, reusing the storage; the work is the bands of
    // src within r's rows.
    void AssignIntersectRect(const Region& src, const Rect& r);
    Region& SubtractRect(const Rect& r);
    Region& UnionRect(const Rect& r);
    // The in-place operations reuse the storage they hold: a region kept across calls
    // allocates nothing once it has grown to its working size.
    Region& operator&=(const Region& o);
    Region& operator|=(const Region& o);
    Region& operator-=(const Region& o);
    Region& operator^=(const Region& o);

    void Offset(int32_t dx, int32_t dy);   // pixels moved past the 32-bit limits are dropped
    bool Contains(int32_t x, int32_t y) const;
    bool Intersects(const Rect& r) const;
    Rect Bounds() const;
    bool Empty() const { return FRects.empty(); }
    bool IsRect() const { return FRects.size() == 1; }
    int64_t Area() const;   // saturates at INT64_MAX (the plane has nearly 2^64 pixels)
    void Clear() { FRects.clear(); }

    const std::vector<Rect>& Rects() const { return FRects; }

    friend bool operator==(const Region& a, const Region& b) { return a.FRects == b.FRects; }

private:
    std::vector<Rect> FRects;
};

Region operator&(const Region& a, const Region& b);
Region operator|(const Region& a, const Region& b);
Region operator-(const Region& a, const Region& b);
Region operator^(const Region& a, const Region& b);

} // namespace plat
