#include "platform/raster/Dc.h"

#include "platform/raster/Dc_p.h"

namespace plat {

Dc::Dc(Surface* target)
{
    SetTarget(target);
}

void Dc::SetTarget(Surface* target)
{
    FTarget = target;
    FBaseClip.SetRect(target ? target->Bounds() : Rect {});
    FBaseBounds = FBaseClip.Bounds();
    InvalidateClip();
}

void Dc::Reset(Surface* target)
{
    Region clip = std::move(FState.clip);
    clip.Clear();
    FState = State {};
    FState.clip = std::move(clip);
    // The saved states keep their storage but let go of their fonts.
    for (size_t i = 0; i < FSavedDepth; ++i)
        FSaved[i].font.reset();
    FSavedDepth = 0;
    SetTarget(target);
}

void Dc::OffsetOrigin(int32_t dx, int32_t dy)
{
    FState.origin = { SaturatingAdd(FState.origin.x, dx), SaturatingAdd(FState.origin.y, dy) };
}

void Dc::SetBaseClip(const Region& deviceRegion)
{
    FBaseClip = deviceRegion;
    FBaseBounds = FBaseClip.Bounds();
    InvalidateClip();
}

void Dc::SelectClipRegion(const Region* deviceRegion)
{
    if (deviceRegion)
        FState.clip = *deviceRegion;
    else
        FState.clip.Clear();
    FState.clipped = deviceRegion != nullptr;
    InvalidateClip();
}

namespace {

// Without a clip region, the clip rectangle calls start from the bounds of the base clip,
// or of the surface when there is no base clip.
Region& ClipToEdit(Region& clip, bool& clipped, const Rect& baseBounds, const Surface* target)
{
    if (!clipped)
        clip.SetRect(baseBounds.Empty() ? (target ? target->Bounds() : Rect {}) : baseBounds);
    clipped = true;
    return clip;
}

} // namespace

void Dc::IntersectClipRect(const Rect& logical)
{
    ClipToEdit(FState.clip, FState.clipped, FBaseBounds, FTarget).IntersectRect(logical.Offset(FState.origin.x, FState.origin.y));
    InvalidateClip();
}

void Dc::ExcludeClipRect(const Rect& logical)
{
    ClipToEdit(FState.clip, FState.clipped, FBaseBounds, FTarget).SubtractRect(logical.Offset(FState.origin.x, FState.origin.y));
    InvalidateClip();
}

const Region& Dc::ClipRef() const
{
    Rect bounds = FTarget ? FTarget->Bounds() : Rect {};
    if (FClipValid && bounds == FClipTargetBounds)
        return FClipCache;
    FClipCache.Clear();
    if (FTarget && !FTarget->Empty()) {
        // Built in the cache's own storage: no allocation once it has grown. A clip of one
        // rectangle, as a child's paint has, is met with the base clip in one pass over the
        // base clip's bands in its rows, or not at all when it holds the base clip.
        if (FState.clipped && FState.clip.IsRect()) {
            const Rect r = FState.clip.Rects().front().Intersect(bounds);
            if (r.Contains(FBaseBounds))
                FClipCache = FBaseClip;
            else
                FClipCache.AssignIntersectRect(FBaseClip, r);
        } else {
            FClipCache = FBaseClip;
            if (!bounds.Contains(FBaseBounds))
                FClipCache.IntersectRect(bounds);
            if (FState.clipped)
                FClipCache &= FState.clip;
        }
    }
    FClipTargetBounds = bounds;
    FClipValid = true;
    return FClipCache;
}

Region Dc::EffectiveClip() const
{
    return ClipRef();
}

Rect Dc::ClipBox() const
{
    return ClipRef().Bounds().Offset(-FState.origin.x, -FState.origin.y);
}

bool Dc::PtVisible(int32_t x, int32_t y) const
{
    int64_t dx = int64_t(x) + FState.origin.x, dy = int64_t(y) + FState.origin.y;
    if (dx < INT32_MIN || dx > INT32_MAX || dy < INT32_MIN || dy > INT32_MAX)
        return false;
    if (!FTarget || !FTarget->Bounds().Contains(int32_t(dx), int32_t(dy)))
        return false;
    // Single pixels are asked for one by one, so no clip is built for them.
    return FBaseClip.Contains(int32_t(dx), int32_t(dy))
        && (!FState.clipped || FState.clip.Contains(int32_t(dx), int32_t(dy)));
}

int Dc::Save()
{
    // A slot left by an earlier restore is copied into, so its clip reuses its storage.
    if (FSavedDepth < FSaved.size())
        FSaved[FSavedDepth] = FState;
    else
        FSaved.push_back(FState);
    return int(++FSavedDepth);
}

bool Dc::Restore(int depth)
{
    int64_t count = int64_t(FSavedDepth);
    // A negative depth counts back from the last save: -1 is the last one.
    int64_t target = depth < 0 ? count + depth + 1 : depth;
    if (count == 0 || target < 1 || target > count)
        return false;
    // The state being left goes into the freed slot, whose storage the next save reuses.
    std::swap(FState, FSaved[size_t(target - 1)]);
    for (size_t i = size_t(target - 1); i < FSavedDepth; ++i)
        FSaved[i].font.reset();
    FSavedDepth = size_t(target - 1);
    InvalidateClip();
    return true;
}

Color Dc::GetPixel(int32_t x, int32_t y) const
{
    if (!PtVisible(x, y))
        return 0xFFFFFFFF;
    return ToColor(FTarget->Row(y + FState.origin.y)[x + FState.origin.x]);
}

void Dc::SetPixel(int32_t x, int32_t y, Color c)
{
    detail::Painter p(FTarget, ClipRef());
    p.Plot(int64_t(x) + FState.origin.x, int64_t(y) + FState.origin.y, Rop2::CopyPen,
        ToPixel(c) & 0xFFFFFF);
}

} // namespace plat
