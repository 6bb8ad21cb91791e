#pragma once
// TNeedleMask: the pixels that a needle outline covers when the canvas draws it with
// Polygon (the brush's fill, then the pen's one-pixel outline), as a region. The outline
// adds pixels along the right and lower edges that the polygon's own region leaves out, so
// a repaint that follows the polygon region alone would leave them stale. The mask draws
// the outline once into a scratch surface over its bounding box and reads the covered
// runs back; the surface is kept between calls. GUI thread.

#include "framework/core/Types.h"
#include "platform/raster/Region.h"
#include "platform/raster/Surface.h"

#include <vector>

class TNeedleMask {
public:
    plat::Region Covered(const TPoint (&points)[7]);

private:
    plat::Surface FScratch;
    std::vector<plat::Rect> FRuns;
};
