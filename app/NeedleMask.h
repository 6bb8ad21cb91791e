#pragma once
// TNeedleMask: the pixels that a needle outline covers when the canvas draws it with
// Polygon (the brush's fill, then the pen's one-pixel outline), as a region. The outline
// adds pixels along the right and lower edges that the polygon's own region leaves out, so
// a repaint that follows the polygon region alone would leave them stale. The mask draws
// the outline once into a scratch surface over its bounding box and reads the covered
// runs back. The surface, its drawing context and the run list are kept between calls,
// and the surface is left blank again by clearing just the runs read, so a call in a
// steady stream allocates nothing. GUI thread.

#include "framework/core/Types.h"
#include "platform/raster/Dc.h"
#include "platform/raster/Region.h"
#include "platform/raster/Surface.h"

#include <vector>

class TNeedleMask {
public:
    plat::Region Covered(const TPoint (&points)[7]);
    // The same into out, reusing its storage.
    void Covered(const TPoint (&points)[7], plat::Region& out);

private:
    plat::Surface FScratch;
    plat::Dc FDc;
    std::vector<plat::Rect> FRuns;
};
