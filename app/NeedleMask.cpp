#include "app/NeedleMask.h"

#include "platform/raster/Dc.h"

#include <algorithm>
#include <limits>

plat::Region TNeedleMask::Covered(const TPoint (&points)[7])
{
    plat::Region r;
    Covered(points, r);
    return r;
}

void TNeedleMask::Covered(const TPoint (&points)[7], plat::Region& out)
{
    plat::Point local[7];
    for (int i = 0; i < 7; ++i)
        local[i] = { points[i].X, points[i].Y };
    // The canvas fills polygons in its default, alternate mode. A needle reaches no farther
    // than this from its pivot, however its outline is given.
    constexpr int64_t Reach = 4096;
    auto clamp = [](int64_t v) {
        return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
            std::numeric_limits<int32_t>::max()));
    };
    const plat::Rect near { clamp(points[0].X - Reach), clamp(points[0].Y - Reach),
        clamp(points[0].X + Reach), clamp(points[0].Y + Reach) };
    plat::PolygonCoverage(local, plat::FillMode::Alternate, near, out);
}
