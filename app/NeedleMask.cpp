#include "app/NeedleMask.h"

#include "platform/raster/Dc.h"

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
    // The canvas fills polygons in its default, alternate mode.
    plat::PolygonCoverage(local, plat::FillMode::Alternate, out);
}
