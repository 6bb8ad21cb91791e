#include "framework/graphics/Canvas.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Graphic.h"
#include "platform/raster/Dc.h"

#include <vector>

namespace {

// A context on an empty surface: everything drawn on it is clipped away. Canvases without
// a context of their own draw here rather than through a null pointer.
plat::Dc* NullDc()
{
    static plat::Surface empty;
    static plat::Dc dc(&empty);
    return &dc;
}

} // namespace

plat::Rop CopyModeToRop(TCopyMode mode)
{
    switch (mode) {
    case cmSrcAnd: return plat::Rop::SrcAnd;
    case cmSrcPaint: return plat::Rop::SrcPaint;
    case cmSrcInvert: return plat::Rop::SrcInvert;
    case cmSrcErase: return plat::Rop::SrcErase;
    case cmNotSrcCopy: return plat::Rop::NotSrcCopy;
    case cmDstInvert: return plat::Rop::DstInvert;
    case cmBlackness: return plat::Rop::Blackness;
    case cmWhiteness: return plat::Rop::Whiteness;
    case cmPatCopy: return plat::Rop::PatCopy;
    default: return plat::Rop::SrcCopy;
    }
}

namespace {

plat::Rop2 Rop2Of(TPenMode mode)
{
    switch (mode) {
    case pmBlack: return plat::Rop2::Black;
    case pmWhite: return plat::Rop2::White;
    case pmNot: return plat::Rop2::Not;
    case pmXor: return plat::Rop2::XorPen;
    case pmNotXor: return plat::Rop2::NotXorPen;
    default: return plat::Rop2::CopyPen;
    }
}

// The points in the drawing context's type, in a buffer kept per thread (valid until the
// next call), so that drawing shapes allocates nothing once it has grown.
std::span<const plat::Point> ToPoints(std::span<const TPoint> points)
{
    thread_local std::vector<plat::Point> out;
    out.clear();
    for (const TPoint& p : points)
        out.push_back({ p.X, p.Y });
    return out;
}

plat::Rect ToPlat(const TRect& r) { return { r.Left, r.Top, r.Right, r.Bottom }; }

} // namespace

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>())
    , FBrush(std::make_unique<TBrush>())
    , FFont(std::make_unique<TFont>())
{
}

TCanvas::~TCanvas() = default;

plat::Dc* TCanvas::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle ? FHandle : NullDc();
}

void TCanvas::SetHandle(plat::Dc* dc) { FHandle = dc; }

void TCanvas::ApplyPen()
{
    plat::Pen p;
    p.style = plat::PenStyle(int(FPen->Style()));
    p.width = FPen->Width();
    p.color = ColorToRGB(FPen->Color()) & 0xFFFFFF;
    p.mode = Rop2Of(FPen->Mode());
    Handle()->SetPen(p);
}

// A solid brush also gives text an opaque background of its colour; a clear brush draws
// text on what is there.
void TCanvas::ApplyBrush()
{
    plat::Dc* dc = Handle();
    plat::Brush b;
    b.color = ColorToRGB(FBrush->Color()) & 0xFFFFFF;
    b.style = FBrush->Style() == bsClear ? plat::BrushStyle::Clear : plat::BrushStyle::Solid;
    dc->SetBrush(b);
    if (FBrush->Style() == bsClear) {
        dc->SetBkMode(plat::BkMode::Transparent);
    } else {
        dc->SetBkMode(plat::BkMode::Opaque);
        dc->SetBkColor(b.color);
    }
}

void TCanvas::ApplyFont()
{
    plat::Dc* dc = Handle();
    dc->SetFont(FFont->Handle());
    dc->SetTextColor(ColorToRGB(FFont->Color()) & 0xFFFFFF);
}

TPoint TCanvas::PenPos()
{
    plat::Point p = Handle()->CurrentPosition();
    return { p.x, p.y };
}

TColor TCanvas::Pixels(int x, int y) { return Handle()->GetPixel(x, y); }

void TCanvas::SetPixel(int x, int y, TColor c)
{
    Handle()->SetPixel(x, y, ColorToRGB(c) & 0xFFFFFF);
}

void TCanvas::MoveTo(int x, int y) { Handle()->MoveTo(x, y); }

void TCanvas::LineTo(int x, int y)
{
    ApplyPen();
    Handle()->LineTo(x, y);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    ApplyPen();
    ApplyBrush();
    Handle()->Rectangle(x1, y1, x2, y2);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    ApplyPen();
    ApplyBrush();
    Handle()->Ellipse(x1, y1, x2, y2);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h)
{
    ApplyPen();
    ApplyBrush();
    Handle()->RoundRect(x1, y1, x2, y2, w, h);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    ApplyPen();
    Handle()->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TCanvas::Polygon(const TPoint* points, int lastIndex)
{
    if (lastIndex < 0)
        return;
    Polygon(std::span<const TPoint>(points, size_t(lastIndex) + 1));
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    ApplyPen();
    ApplyBrush();
    auto pts = ToPoints(points);
    Handle()->Polygon(pts);
}

void TCanvas::Polyline(const TPoint* points, int lastIndex)
{
    if (lastIndex < 0)
        return;
    Polyline(std::span<const TPoint>(points, size_t(lastIndex) + 1));
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    ApplyPen();
    auto pts = ToPoints(points);
    Handle()->Polyline(pts);
}

void TCanvas::FillRect(const TRect& r)
{
    ApplyBrush();
    Handle()->FillRect(ToPlat(r));
}

void TCanvas::FrameRect(const TRect& r)
{
    if (FBrush->Style() == bsClear)
        return;
    Handle()->FrameRect(ToPlat(r), ColorToRGB(FBrush->Color()) & 0xFFFFFF);
}

void TCanvas::DrawFocusRect(const TRect& r) { Handle()->DrawFocusRect(ToPlat(r)); }

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    ApplyFont();
    ApplyBrush();
    Handle()->TextOut(x, y, text);
    Handle()->MoveTo(x + TextExtent(text).cx, y);
}

// The text is clipped to r; a solid brush first fills r.
void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    plat::Dc* dc = Handle();
    ApplyFont();
    ApplyBrush();
    int saved = dc->Save();
    dc->IntersectClipRect(ToPlat(r));
    if (FBrush->Style() != bsClear)
        dc->FillRect(ToPlat(r));
    dc->TextOut(x, y, text);
    dc->Restore(saved);
}

TSize TCanvas::TextExtent(const std::string& text)
{
    ApplyFont();
    plat::Size s = Handle()->TextExtent(text);
    return { s.cx, s.cy };
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    graphic->Draw(this, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source)
{
    if (!canvas)
        return;
    plat::Dc* src = canvas->Handle();
    if (!src->Target())
        return;
    plat::Point o = src->Origin();
    ApplyBrush();
    Handle()->StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), *src->Target(),
        source.Left + o.x, source.Top + o.y, source.Width(), source.Height(),
        CopyModeToRop(FCopyMode));
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color)
{
    if (!bitmap || bitmap->Empty())
        return;
    const plat::Surface& image = bitmap->Image();
    TRect src;
    if (!IntersectRect(src, source, Rect(0, 0, image.Width(), image.Height())))
        return;
    plat::Surface part(src.Width(), src.Height());
    plat::Pixel key = plat::ToPixel(ColorToRGB(color) & 0xFFFFFF);
    plat::Pixel fill = plat::ToPixel(ColorToRGB(FBrush->Color()) & 0xFFFFFF);
    for (int y = 0; y < src.Height(); ++y) {
        const plat::Pixel* in = image.Row(src.Top + y) + src.Left;
        plat::Pixel* out = part.Row(y);
        for (int x = 0; x < src.Width(); ++x)
            out[x] = in[x] == key ? fill : in[x];
    }
    // The part left out of the source keeps the destination as it is.
    int dx = dest.Left + (src.Left - source.Left) * dest.Width() / std::max(source.Width(), 1);
    int dy = dest.Top + (src.Top - source.Top) * dest.Height() / std::max(source.Height(), 1);
    int dw = src.Width() * dest.Width() / std::max(source.Width(), 1);
    int dh = src.Height() * dest.Height() / std::max(source.Height(), 1);
    Handle()->StretchBlt(dx, dy, dw, dh, part, 0, 0, part.Width(), part.Height());
}

TRect TCanvas::ClipRect()
{
    plat::Rect r = Handle()->ClipBox();
    return { r.left, r.top, r.right, r.bottom };
}

int DrawText(plat::Dc* dc, const std::string& text, TRect& r, uint32_t flags)
{
    plat::Rect pr = ToPlat(r);
    int h = dc->DrawText(text, pr, flags);
    if (flags & DT_CALCRECT)
        r = { pr.left, pr.top, pr.right, pr.bottom };
    return h;
}

int DrawText(TCanvas* canvas, const std::string& text, TRect& r, uint32_t flags)
{
    canvas->ApplyFont();
    canvas->ApplyBrush();
    return DrawText(canvas->Handle(), text, r, flags);
}

// Ring k is computed in 64 bits from the outer rectangle, so extreme rectangles cannot
// overflow; rings stop once nothing is left inside them, so a huge width costs nothing.
void Frame3D(TCanvas* canvas, TRect& r, TColor top, TColor bottom, int width)
{
    plat::Dc* dc = canvas->Handle();
    const plat::Color t = ColorToRGB(top) & 0xFFFFFF, b = ColorToRGB(bottom) & 0xFFFFFF;
    auto box = [](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        return plat::Rect { int32_t(x0), int32_t(y0), int32_t(x1), int32_t(y1) };
    };
    int k = 0;
    for (; k < width; ++k) {
        const int64_t l = int64_t(r.Left) + k, tp = int64_t(r.Top) + k;
        const int64_t rr = int64_t(r.Right) - 1 - k, bb = int64_t(r.Bottom) - 1 - k;
        if (rr < l || bb < tp)
            break;
        dc->FillRect(box(l, tp, l + 1, bb), t);         // left column, rows t .. b - 1
        dc->FillRect(box(l, tp, rr, tp + 1), t);        // top row, columns l .. r - 1
        dc->FillRect(box(rr, tp, rr + 1, bb), b);       // right column, rows t .. b - 1
        dc->FillRect(box(l, bb, rr + 1, bb + 1), b);    // bottom row, columns l .. r
    }
    // Every ring fitted, so no edge can pass another; otherwise the rectangle takes the
    // whole inset with its edges held inside the plane.
    if (k < width)
        InsetRect(r, width);
    else if (width > 0)
        InflateRect(r, -width, -width);
}
