#include "tools/resgen/Paint.h"

namespace resgen {

Box BoxAround(double x0, double y0, double x1, double y1)
{
    return { int(std::floor(std::min(x0, x1))) - 1, int(std::floor(std::min(y0, y1))) - 1,
        int(std::ceil(std::max(x0, x1))) + 1, int(std::ceil(std::max(y0, y1))) + 1 };
}

Canvas::Canvas(int width, int height, Rgb fill)
    : FWidth(std::max(width, 0))
    , FHeight(std::max(height, 0))
    , FPixels(size_t(FWidth) * size_t(FHeight), fill)
{
}

void Canvas::Blend(int x, int y, Rgb c, double alpha)
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return;
    alpha = std::clamp(alpha, 0.0, 1.0);
    Rgb& p = At(x, y);
    p = Mix(p, c, alpha);
}

plat::Surface Canvas::ToSurface() const
{
    plat::Surface s(FWidth, FHeight, plat::PixelFormat::Bpp32);
    auto channel = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 255.0))); };
    for (int y = 0; y < FHeight; ++y) {
        plat::Pixel* row = s.Row(y);
        for (int x = 0; x < FWidth; ++x) {
            const Rgb& p = At(x, y);
            row[x] = channel(p.r) << 16 | channel(p.g) << 8 | channel(p.b);
        }
    }
    return s;
}

bool Capsule::operator()(double x, double y) const
{
    double vx = x1 - x0, vy = y1 - y0;
    double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? std::clamp(((x - x0) * vx + (y - y0) * vy) / len2, 0.0, 1.0) : 0.0;
    double dx = x - (x0 + t * vx), dy = y - (y0 + t * vy);
    return dx * dx + dy * dy <= width * width / 4;
}

bool RoundBox::operator()(double x, double y) const
{
    if (x < x0 || x > x1 || y < y0 || y > y1)
        return false;
    double cx = std::clamp(x, x0 + r, x1 - r);
    double cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

bool Convex::operator()(double x, double y) const
{
    for (int i = 0; i < n; ++i) {
        int j = (i + 1) % n;
        // Clockwise on screen (y down): the inside lies to the right of each edge.
        double cross = (px[j] - px[i]) * (y - py[i]) - (py[j] - py[i]) * (x - px[i]);
        if (cross < 0)
            return false;
    }
    return true;
}

uint64_t Noise::Next()
{
    uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::vector<double> Streaks(uint64_t seed, int count, int smooth)
{
    Noise noise(seed);
    std::vector<double> raw(size_t(std::max(count, 0)));
    for (double& v : raw)
        v = noise.Signed();
    std::vector<double> out(raw.size());
    smooth = std::max(smooth, 1);
    double peak = 0;
    for (int i = 0; i < count; ++i) {
        double sum = 0;
        for (int k = 0; k < smooth; ++k)
            sum += raw[size_t(((i + k - smooth / 2) % count + count) % count)];
        out[size_t(i)] = sum / smooth;
        peak = std::max(peak, std::abs(out[size_t(i)]));
    }
    if (peak > 0)
        for (double& v : out)
            v /= peak;
    return out;
}

} // namespace resgen
