#pragma once
// Painting helpers of the resource generator: a floating-point RGB canvas, shapes
// anti-aliased by supersampled coverage, and a seeded noise source. Nothing here depends
// on the clock or on global state, so the same calls always give the same pixels.

#include "platform/raster/Surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace resgen {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb Grey(double v) { return { v, v, v }; }
// From 0xRRGGBB, channels 0..255.
inline Rgb Hex(uint32_t rrggbb)
{
    return { double(rrggbb >> 16 & 0xFF), double(rrggbb >> 8 & 0xFF), double(rrggbb & 0xFF) };
}
inline Rgb Mix(Rgb a, Rgb b, double t)
{
    return { a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t };
}

constexpr double Pi = std::numbers::pi;
inline double Rad(double degrees) { return degrees * Pi / 180.0; }

// A box of pixels, half-open like the raster engine's rectangles.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// The pixels touched by the continuous box [x0, x1] x [y0, y1].
Box BoxAround(double x0, double y0, double x1, double y1);

// An RGB image in doubles (0..255 per channel) that shapes are blended into.
class Canvas {
public:
    Canvas(int width, int height, Rgb fill);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    Rgb& At(int x, int y) { return FPixels[size_t(y) * size_t(FWidth) + size_t(x)]; }
    const Rgb& At(int x, int y) const { return FPixels[size_t(y) * size_t(FWidth) + size_t(x)]; }
    void Blend(int x, int y, Rgb c, double alpha);

    // Blends `shade(px, py)` (evaluated at the pixel centre) with the coverage of
    // `inside(x, y)` over each pixel of the box, from ss x ss samples.
    template <class Inside, class Shade>
    void Cover(Box box, Inside inside, Shade shade, double opacity = 1.0, int ss = 6);
    template <class Inside>
    void Fill(Box box, Inside inside, Rgb c, double opacity = 1.0, int ss = 6)
    {
        Cover(box, inside, [c](double, double) { return c; }, opacity, ss);
    }

    // Rounded and clamped to 0..255, as a 32-bit surface.
    plat::Surface ToSurface() const;

private:
    int FWidth, FHeight;
    std::vector<Rgb> FPixels;
};

// Fraction of the pixel (x, y) inside the shape, from ss x ss samples.
template <class Inside>
double Coverage(Inside inside, int x, int y, int ss = 6)
{
    int hits = 0;
    for (int j = 0; j < ss; ++j)
        for (int i = 0; i < ss; ++i)
            hits += inside(x + (i + 0.5) / ss, y + (j + 0.5) / ss) ? 1 : 0;
    return double(hits) / (ss * ss);
}

template <class Inside, class Shade>
void Canvas::Cover(Box box, Inside inside, Shade shade, double opacity, int ss)
{
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    box.right = std::min(box.right, FWidth);
    box.bottom = std::min(box.bottom, FHeight);
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            double c = Coverage(inside, x, y, ss);
            if (c > 0)
                Blend(x, y, shade(x + 0.5, y + 0.5), c * opacity);
        }
}

// --- Shapes: predicates on continuous coordinates --------------------------------------

struct Disc {
    double cx, cy, r;
    bool operator()(double x, double y) const
    {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    }
};

// A ring sector about a centre; angles in degrees from upright, clockwise on screen.
struct Sector {
    double cx, cy, r0, r1, a0, a1;
    bool operator()(double x, double y) const
    {
        double dx = x - cx, dy = y - cy;
        double d2 = dx * dx + dy * dy;
        if (d2 < r0 * r0 || d2 > r1 * r1)
            return false;
        double a = std::atan2(dx, -dy) * 180.0 / Pi;
        return a >= a0 && a <= a1;
    }
};

// A bar along the ray at `angle` (degrees from upright, clockwise) from a centre,
// covering distances r0..r1 along the ray and `width` across it.
struct RadialBar {
    double cx, cy, angle, r0, r1, width;
    bool operator()(double x, double y) const
    {
        double s = std::sin(Rad(angle)), c = std::cos(Rad(angle));
        double dx = x - cx, dy = y - cy;
        double along = dx * s - dy * c;
        double across = dx * c + dy * s;
        return along >= r0 && along <= r1 && std::abs(across) <= width / 2;
    }
};

// A segment with round caps.
struct Capsule {
    double x0, y0, x1, y1, width;
    bool operator()(double x, double y) const;
};

// A rectangle with rounded corners, [x0, x1] x [y0, y1].
struct RoundBox {
    double x0, y0, x1, y1, r;
    bool operator()(double x, double y) const;
};

// A convex polygon given clockwise on screen (up to 8 points).
struct Convex {
    double px[8], py[8];
    int n;
    bool operator()(double x, double y) const;
};

// --- Noise ------------------------------------------------------------------------------

// A small seeded generator (splitmix64); the sequence is fixed by the seed alone.
class Noise {
public:
    explicit Noise(uint64_t seed) : FState(seed) { }
    uint64_t Next();
    // Uniform in [-1, 1).
    double Signed() { return double(Next() >> 11) / double(uint64_t(1) << 52) - 1.0; }

private:
    uint64_t FState;
};

// `count` values of streaky noise in about [-1, 1]: white noise smoothed by a short
// box filter, wrapping around so that the sequence tiles.
std::vector<double> Streaks(uint64_t seed, int count, int smooth);

} // namespace resgen
