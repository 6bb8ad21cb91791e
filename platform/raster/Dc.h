#pragma once
// A drawing context: the target surface, a viewport origin, a clip, the selected pen,
// brush, font and text colours, and the current position. All primitives follow the
// classic canvas rules:
//   - FillRect, Rectangle, Ellipse, RoundRect and FrameRect cover their rectangle without
//     its right and bottom edge;
//   - LineTo paints from the current position up to, not including, its end point;
//   - Polygon fills with the brush (fill mode as set), then outlines with the pen;
//   - Arc runs counter-clockwise on the screen from the ray through the start point to
//     the ray through the end point, on the ellipse inscribed in its rectangle;
//   - a pen wider than 1 is centred on the ideal line; Clear pens and brushes draw nothing.
// Coordinates are logical: device = logical + origin. The clip is the base clip (set by
// whoever made the context: the visible part of a window, in device coordinates) met
// with the optional clip region; everything is further clipped to the surface. Any
// coordinates, however extreme, are valid and never read or write out of bounds.
//
// A context does not own its surface. It is used from one thread at a time.

#include "platform/raster/Color.h"
#include "platform/raster/Geometry.h"
#include "platform/raster/Region.h"
#include "platform/raster/Surface.h"
#include "platform/text/Font.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace plat {

namespace detail {
class Painter;
}

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
enum class BrushStyle { Solid, Clear };
enum class BkMode { Transparent = 1, Opaque = 2 };
// Mix modes of the pen and brush with the destination (the subset the controls use).
enum class Rop2 { CopyPen, XorPen, Not, NotXorPen, Black, White };
// Raster operations of block copies: result from source S and destination D.
enum class Rop {
    SrcCopy,     // S
    SrcAnd,      // S & D
    SrcPaint,    // S | D
    SrcInvert,   // S ^ D
    SrcErase,    // S & ~D
    NotSrcCopy,  // ~S
    DstInvert,   // ~D
    Blackness,   // 0
    Whiteness,   // 0xFFFFFF
    PatCopy,     // the brush colour
};

struct Pen {
    PenStyle style = PenStyle::Solid;
    int32_t width = 1;
    Color color = 0;
    Rop2 mode = Rop2::CopyPen;
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Color color = 0xFFFFFF;
};

class Dc {
public:
    Dc() = default;
    explicit Dc(Surface* target);

    Surface* Target() const { return FTarget; }
    void SetTarget(Surface* target);  // resets the base clip to the whole surface
    // Starts over on target in the state of a new context, keeping the storage of the
    // clips and saved states: a context kept for a stream of paints allocates nothing
    // once it has grown to its working size.
    void Reset(Surface* target);

    // Viewport origin, in device pixels.
    Point Origin() const { return FState.origin; }
    void SetOrigin(Point p) { FState.origin = p; }
    void OffsetOrigin(int32_t dx, int32_t dy);

    // Clipping. The base clip is in device coordinates and survives Save/Restore.
    void SetBaseClip(const Region& deviceRegion);
    const Region& BaseClip() const { return FBaseClip; }
    // The optional clip region, in device coordinates (as the classic call); nullptr
    // removes it.
    void SelectClipRegion(const Region* deviceRegion);
    void IntersectClipRect(const Rect& logical);
    void ExcludeClipRect(const Rect& logical);
    // The effective clip (base, clip region, surface) in device coordinates.
    Region EffectiveClip() const;
    // Its bounds in logical coordinates.
    Rect ClipBox() const;
    bool PtVisible(int32_t x, int32_t y) const;  // logical

    // Save returns the new depth (1, 2, ...); Restore(n) returns to the state saved as
    // depth n, Restore(-1) to the last one. Saved: origin, clip region, pen, brush, font,
    // colours, modes and current position. The saved states keep their storage for the
    // next saves.
    int Save();
    bool Restore(int depth = -1);

    // Selected objects and modes.
    const Pen& GetPen() const { return FState.pen; }
    void SetPen(const Pen& p) { FState.pen = p; }
    const Brush& GetBrush() const { return FState.brush; }
    void SetBrush(const Brush& b) { FState.brush = b; }
    const std::shared_ptr<const Font>& GetFont() const { return FState.font; }
    void SetFont(std::shared_ptr<const Font> f) { FState.font = std::move(f); }
    Color TextColor() const { return FState.textColor; }
    void SetTextColor(Color c) { FState.textColor = c; }
    Color BkColor() const { return FState.bkColor; }
    void SetBkColor(Color c) { FState.bkColor = c; }
    BkMode GetBkMode() const { return FState.bkMode; }
    void SetBkMode(BkMode m) { FState.bkMode = m; }
    FillMode PolyFillMode() const { return FState.fillMode; }
    void SetPolyFillMode(FillMode m) { FState.fillMode = m; }
    Point CurrentPosition() const { return FState.pos; }

    // Pixels.
    Color GetPixel(int32_t x, int32_t y) const;  // 0xFFFFFFFF (CLR_INVALID) outside the clip
    void SetPixel(int32_t x, int32_t y, Color c);

    // Filled shapes and outlines.
    void FillRect(const Rect& r, Color c);       // with a colour, ignoring the brush
    void FillRect(const Rect& r);                // with the selected brush
    void FrameRect(const Rect& r, Color c);      // one-pixel frame inside r
    void InvertRect(const Rect& r);
    void FillRegion(const Region& logical, Color c);
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h);
    void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
        int32_t y4);
    void Polygon(std::span<const Point> points);
    void Polyline(std::span<const Point> points);
    void MoveTo(int32_t x, int32_t y) { FState.pos = { x, y }; }
    void LineTo(int32_t x, int32_t y);
    void DrawFocusRect(const Rect& r);           // dotted XOR frame

    // Block copies from a source surface; source coordinates are the source's own pixels.
    // Parts of the source rectangle outside the source are not read (they are left out of
    // the copy).
    void BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const Surface& src, int32_t sx,
        int32_t sy, Rop rop = Rop::SrcCopy);
    // Nearest-pixel stretching of (sx, sy, sw, sh) onto (x, y, w, h); negative sizes mirror.
    void StretchBlt(int32_t x, int32_t y, int32_t w, int32_t h, const Surface& src, int32_t sx,
        int32_t sy, int32_t sw, int32_t sh, Rop rop = Rop::SrcCopy);
    // The keyed copy: destination pixels keep their colour where the (stretched) source
    // pixel equals key, and take the source pixel elsewhere. The source is never modified.
    void MaskedBlt(int32_t x, int32_t y, int32_t w, int32_t h, const Surface& src, int32_t sx,
        int32_t sy, int32_t sw, int32_t sh, Color key);

    // Text with the selected font: (x, y) is the top-left of the text cell. An opaque
    // background mode fills the cell with the background colour first.
    void TextOut(int32_t x, int32_t y, std::string_view text);
    Size TextExtent(std::string_view text) const;
    // Formatted text in r (dt:: flags). Returns the height of the text; with CalcRect, r
    // receives the bounds and nothing is drawn. Prefix processing unless NoPrefix: "&x"
    // underlines x, "&&" shows one "&", a trailing "&" is dropped.
    int32_t DrawText(std::string_view text, Rect& r, uint32_t flags);

private:
    struct State {
        Point origin;
        // The clip region applies only when clipped; its storage is kept when it does not.
        Region clip;
        bool clipped = false;
        Pen pen;
        Brush brush;
        std::shared_ptr<const Font> font;
        Color textColor = 0;
        Color bkColor = 0xFFFFFF;
        BkMode bkMode = BkMode::Opaque;
        FillMode fillMode = FillMode::Alternate;
        Point pos;
        // A dashed pen's pattern goes on from where the last line ended.
        int32_t dashPhase = 0;
        Point dashEnd;
    };
    // Strokes one width-1 or wide segment in device coordinates with the selected pen.
    void StrokeSegment(const detail::Painter& p, int64_t x0, int64_t y0, int64_t x1, int64_t y1);
    void StrokePath(const detail::Painter& p, std::span<const Point> points, bool closed);
    // The effective clip, kept between primitives: most paints draw many primitives under
    // one clip, and meeting the base clip with the clip region each time would dominate.
    // It is rebuilt when a clip changes or the target's size does.
    const Region& ClipRef() const;
    void InvalidateClip() { FClipValid = false; }
    Surface* FTarget = nullptr;
    Region FBaseClip;
    Rect FBaseBounds;   // of FBaseClip, which is often large and read for its bounds often
    State FState;
    std::vector<State> FSaved;   // the first FSavedDepth are in use
    size_t FSavedDepth = 0;
    mutable Region FClipCache;
    mutable Rect FClipTargetBounds;
    mutable bool FClipValid = false;
};

// The pixels inside clip that Polygon paints with a solid brush and a solid one-pixel pen,
// into out (reusing its storage): the fill region under mode and the outline's pixels. The
// work follows the clip's rows and the outline's pixels inside it.
void PolygonCoverage(std::span<const Point> points, FillMode mode, const Rect& clip, Region& out);

// Conversions between surfaces.
// A monochrome copy: white where the source pixel equals background, black elsewhere.
Surface ToMonochrome(const Surface& src, Color background);

} // namespace plat
