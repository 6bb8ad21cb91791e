#include "effectlib/Ptinform.h"

#include <cmath>
#include <cstdint>

bool PointinEllipse(int X, int Y, const TRect& Rect)
{
    const int64_t w = int64_t(Rect.Right) - Rect.Left, h = int64_t(Rect.Bottom) - Rect.Top;
    const int64_t cx = Rect.Left + w / 2, cy = Rect.Top + h / 2;
    const double a = w / 2 != 0 ? double(w / 2) : 1.0;
    const double b = h / 2 != 0 ? double(h / 2) : 1.0;
    const double dx = std::fabs(double(X - cx)) / a, dy = std::fabs(double(Y - cy)) / b;
    return dx * dx + dy * dy <= 1.0;
}

// The rectangle narrowed on two sides covers the straight edges; the four discs at the
// corner centres cover the rounded corners.
bool PointinRndRect(int X, int Y, int Radius, const TRect& Rect)
{
    const int64_t l = Rect.Left, t = Rect.Top, r = Rect.Right, b = Rect.Bottom;
    const int64_t rad = Radius > 0 ? Radius : 0;
    auto inside = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        return X >= x0 && X < x1 && Y >= y0 && Y < y1;
    };
    if (inside(l + rad, t, r - rad, b) || inside(l, t + rad, r, b - rad))
        return true;
    auto near = [&](int64_t cx, int64_t cy) {
        const int64_t dx = X - cx, dy = Y - cy;
        return double(dx) * double(dx) + double(dy) * double(dy) <= double(rad) * double(rad);
    };
    return near(l + rad, t + rad) || near(r - rad, t + rad) || near(l + rad, b - rad)
        || near(r - rad, b - rad);
}
