#include "effectlib/Grutils.h"

#include "framework/controls/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/controls/CustomControl.h"
#include "framework/controls/Form.h"
#include "platform/raster/Geometry.h"
#include "platform/raster/Dc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

bool Meets(const TRect& a, const TRect& b)
{
    TRect r;
    return IntersectRect(r, a, b);
}

// A windowed control's face and graphic children, then its windowed children, each at
// its offset and clipped to its bounds.
void PaintWindowTree(TWinControl* w, plat::Dc* dc)
{
    w->Perform(WM_PAINT, WPARAM(dc), 0);
    for (int i = 0; i < w->ControlCount(); ++i) {
        auto* child = w->Controls(i)->AsWinControl();
        if (!child || !child->Visible())
            continue;
        int saved = dc->Save();
        dc->OffsetOrigin(child->Left(), child->Top());
        dc->IntersectClipRect({ 0, 0, child->Width(), child->Height() });
        PaintWindowTree(child, dc);
        dc->Restore(saved);
    }
}

} // namespace

// The parent paints its face with parent coordinates mapped into the canvas; then the
// graphic siblings painted before the control (back to front) paint themselves where they
// meet it. Siblings after the control, and windowed ones, lie above it and are left out.
void CopyParentImage(TControl* Control, TCanvas* Canvas)
{
    if (!Control || !Canvas || !Control->Parent())
        return;
    TWinControl* parent = Control->Parent();
    const TRect bounds = Control->BoundsRect();
    plat::Dc* dc = Canvas->Handle();
    int saved = dc->Save();
    dc->OffsetOrigin(-bounds.Left, -bounds.Top);
    dc->IntersectClipRect({ 0, 0, parent->ClientWidth(), parent->ClientHeight() });
    parent->PaintWindow(dc);
    dc->Restore(saved);
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == Control)
            break;
        if (c->AsWinControl() || !c->Visible() || !Meets(c->BoundsRect(), bounds))
            continue;
        saved = dc->Save();
        dc->OffsetOrigin(c->Left() - bounds.Left, c->Top() - bounds.Top);
        dc->IntersectClipRect({ 0, 0, c->Width(), c->Height() });
        c->Perform(WM_PAINT, WPARAM(dc), 0);
        dc->Restore(saved);
    }
}

void CopyParentImage1(TControl* Control, TCanvas* Canvas)
{
    CopyParentImage(Control, Canvas);
    if (!Control || !Canvas || !Control->Parent())
        return;
    TWinControl* parent = Control->Parent();
    const TRect bounds = Control->BoundsRect();
    plat::Dc* dc = Canvas->Handle();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == Control)
            break;
        auto* custom = dynamic_cast<TCustomControl*>(c);
        if (!custom || !c->Visible() || !Meets(c->BoundsRect(), bounds))
            continue;
        int saved = dc->Save();
        dc->OffsetOrigin(c->Left() - bounds.Left, c->Top() - bounds.Top);
        dc->IntersectClipRect({ 0, 0, c->Width(), c->Height() });
        PaintWindowTree(custom, dc);
        dc->Restore(saved);
    }
}

// The canvas's frame painter draws the pixels; this name leaves the pen one pixel wide.
void Frm3D(TCanvas* Canvas, TRect Rect, TColor TopColor, TColor BottomColor, int Width)
{
    if (!Canvas)
        return;
    Canvas->Pen()->SetWidth(1);
    Frame3D(Canvas, Rect, TopColor, BottomColor, Width);
}

// The two split points lie where the ellipse turns from its upper left half to its lower
// right half, a third of the way in from the flat of the longer axis.
void RndFrm3D(TCanvas* Canvas, TColor TopColor, TColor BottomColor, const TRect& Rect,
    int Width)
{
    if (!Canvas)
        return;
    const int L = Rect.Left, T = Rect.Top, R = Rect.Right, B = Rect.Bottom;
    const int64_t a = (int64_t(R) - L) / 2, b = (int64_t(B) - T) / 2;
    const int64_t cy = T + (int64_t(B) - T) / 2;
    TPoint s, e;
    if (a >= b) {
        const int64_t c = int64_t(std::nearbyint(std::sqrt(double(a * a - b * b))));
        const int64_t k = a - c, d = k / 3;
        s = Point(int32_t(L + d), int32_t(cy + k - d));
        e = Point(int32_t(R - d), int32_t(cy - k + d));
    } else {
        const int64_t c = int64_t(std::nearbyint(std::sqrt(double(b * b - a * a))));
        const int64_t k = b - c, d = k / 3;
        s = Point(int32_t(L + d), int32_t(B - d));
        e = Point(int32_t(R - d), int32_t(T + d));
    }
    Canvas->Pen()->SetWidth(Width);
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Arc(L, T, R, B, s.X, s.Y, e.X, e.Y);
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Arc(L, T, R, B, e.X, e.Y, s.X, s.Y);
}

// Corner boxes and points are computed in 64 bits and held in the 32-bit plane, so
// extreme rectangles or diameters cannot overflow.
void RndRectFrm3D(TCanvas* Canvas, const TRect& Rect, TColor TopColor, TColor BottomColor,
    int Diameter, int PenWidth)
{
    if (!Canvas)
        return;
    auto c = plat::ClampToInt32;
    int64_t L = Rect.Left, T = Rect.Top;
    const int64_t R = Rect.Right, B = Rect.Bottom;
    Canvas->Pen()->SetWidth(PenWidth);
    if (PenWidth % 2 == 0) {
        ++L;
        ++T;
    }
    const int64_t r = Diameter / 2;
    const int64_t e = Diameter % 2 != 0 ? int64_t(Diameter) - 1 : Diameter;
    const int64_t R1 = R - 1, B1 = B - 1;
    auto line = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        Canvas->MoveTo(c(x0), c(y0));
        Canvas->LineTo(c(x1), c(y1));
    };
    auto arc = [&](int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t x3, int64_t y3,
                   int64_t x4, int64_t y4) {
        Canvas->Arc(c(x1), c(y1), c(x2), c(y2), c(x3), c(y3), c(x4), c(y4));
    };
    if (BottomColor != clNone) {
        Canvas->Pen()->SetColor(BottomColor);
        line(R1, T + r, R1, B1 - r);
        line(L + r, B1, R1 - r, B1);
        arc(R, B, R1 - e, B1 - e, R1 - r, B1, R1, B1 - r - 1);
        arc(L, B, L + e + 1, B1 - e - 1, L, B1 - r, L + r, B1);
    }
    if (TopColor != clNone) {
        Canvas->Pen()->SetColor(TopColor);
        line(L + r, T, R1 - r, T);
        line(L, T + r, L, B1 - r);
        arc(L, T, L + e + 1, T + e + 1, L + r, T, L, T + r);
        arc(R, T, R1 - e - 1, T + e + 1, R1, T + r, R1 - r - 1, T);
        // The first third of the lower left corner, redrawn in the top colour.
        arc(L, B, L + e + 1, B1 - e - 1, L, B1 - r, L, B1 - r / 3);
    }
    if (BottomColor != clNone) {
        Canvas->Pen()->SetColor(BottomColor);
        // The first third of the upper right corner, redrawn in the bottom colour.
        arc(R, T, R1 - e - 1, T + e + 1, R1, T + r, R1, T + r / 3);
    }
}

TColor RGBChange(TColor Color, int8_t DR, int8_t DG, int8_t DB)
{
    auto change = [](int channel, int d) {
        if (d > 0)
            return channel + d >= 255 ? 255 : channel + d;
        if (d < 0)
            return -d < channel ? channel + d : 0;
        return channel;
    };
    const int r = change(int(Color & 0xFF), DR);
    const int g = change(int(Color >> 8 & 0xFF), DG);
    const int b = change(int(Color >> 16 & 0xFF), DB);
    return (Color & 0xFF000000) | TColor(r) | TColor(g) << 8 | TColor(b) << 16;
}

TColor MiddleColor(TColor A, TColor B)
{
    A = ColorToRGB(A);
    B = ColorToRGB(B);
    return RGB(uint8_t((GetRValue(A) + GetRValue(B)) / 2), uint8_t((GetGValue(A) + GetGValue(B)) / 2),
        uint8_t((GetBValue(A) + GetBValue(B)) / 2));
}

// The screen is what the program's visible forms show, each at its position, in the
// order the application lists them.
void GetScreenImage(int X, int Y, TBitmap* Bitmap)
{
    if (!Bitmap || Bitmap->Empty())
        return;
    plat::Dc* dc = Bitmap->Canvas()->Handle();
    dc->FillRect({ 0, 0, Bitmap->Width(), Bitmap->Height() }, 0);
    if (Application) {
        for (TCustomForm* form : Application->Forms()) {
            if (!form->Visible() || form->Framebuffer().Empty())
                continue;
            const TPoint o = form->ClientOrigin();
            dc->BitBlt(o.X - X, o.Y - Y, form->Framebuffer().Width(),
                form->Framebuffer().Height(), form->Framebuffer(), 0, 0);
        }
    }
    Bitmap->Modified();
}

plat::Region FigureRegion(int W, int H, const std::function<void(TCanvas*)>& Draw)
{
    if (W <= 0 || H <= 0)
        return plat::Region();
    TBitmap shape;
    shape.SetSize(W, H);
    shape.Handle()->Fill(clBlack);
    TCanvas* c = shape.Canvas();
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetStyle(psClear);
    Draw(c);
    std::vector<plat::Rect> runs;
    const plat::Surface& s = shape.Image();
    for (int y = 0; y < H; ++y) {
        int x = 0;
        while (x < W) {
            while (x < W && s.GetColor(x, y) == clBlack)
                ++x;
            const int x0 = x;
            while (x < W && s.GetColor(x, y) != clBlack)
                ++x;
            if (x > x0)
                runs.push_back({ x0, y, x, y + 1 });
        }
    }
    return plat::Region::FromRects(runs);
}
