#include "app/Needle.h"

#include <cmath>

namespace {

// Conversion toward zero to a 32-bit integer; values beyond the range saturate, so a
// degenerate shape cannot cause undefined behaviour.
int32_t Trunc(double v)
{
    if (!(v > -2147483648.0))
        return v != v ? 0 : INT32_MIN;
    if (v >= 2147483647.0)
        return INT32_MAX;
    return int32_t(v);
}

} // namespace

void NeedlePolygon(TPoint points[7], int32_t dx, int32_t dy, double angle, const NeedleShape& shape)
{
    const double cosA = std::cos(angle), sinA = std::sin(angle);
    const double X = shape.pivotX, Y = shape.pivotY;
    const double a = shape.baseOffset, b = shape.shaftWidth, c = shape.shaftLength;
    const int32_t d = shape.headWidth, e = shape.headLength;

    double x = X + a * cosA;
    double y = Y - a * sinA;
    x += (-b * 0.5) * sinA;
    y += (-b * 0.5) * cosA;
    points[0] = { Trunc(x), Trunc(y) };
    x += c * cosA;
    y += (-c) * sinA;
    points[1] = { Trunc(x), Trunc(y) };
    // The head's half-width beyond the shaft is taken from the integer difference first.
    const double headOut = -double(d - shape.shaftWidth) * 0.5;
    x += headOut * sinA;
    y += headOut * cosA;
    points[2] = { Trunc(x), Trunc(y) };
    const double L = double(int64_t(shape.baseOffset) + shape.shaftLength + e);
    points[3] = { Trunc(X + L * cosA), Trunc(Y - L * sinA) };
    // The far side is measured from the stored integer corner, not the working point.
    const double P1x = points[1].X, P1y = points[1].Y;
    const double headSpan = double(int64_t(d) + shape.shaftWidth) * 0.5;
    points[4] = { Trunc(P1x + headSpan * sinA), Trunc(P1y + headSpan * cosA) };
    x = P1x + b * sinA;
    y = P1y + b * cosA;
    points[5] = { Trunc(x), Trunc(y) };
    x += (-c) * cosA;
    y += c * sinA;
    points[6] = { Trunc(x), Trunc(y) };

    if (dx != 0 || dy != 0)
        for (int i = 0; i < 7; ++i) {
            points[i].X = int32_t(uint32_t(points[i].X) + uint32_t(dx));
            points[i].Y = int32_t(uint32_t(points[i].Y) + uint32_t(dy));
        }
}
