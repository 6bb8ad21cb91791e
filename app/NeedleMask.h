#pragma once
// TNeedleMask: the pixels that a needle outline covers when the canvas draws it with
// Polygon (the brush's fill, then the pen's one-pixel outline), as a region. The outline
// adds pixels along the right and lower edges that the polygon's own region leaves out, so
// a repaint that follows the polygon region alone would leave them stale. The region is
// built by the same rules the canvas paints with, into storage kept between calls, so a
// call in a steady stream allocates nothing. GUI thread.

#include "framework/core/Types.h"
#include "platform/raster/Region.h"

class TNeedleMask {
public:
    plat::Region Covered(const TPoint (&points)[7]);
    // The same into out, reusing its storage.
    void Covered(const TPoint (&points)[7], plat::Region& out);
};
