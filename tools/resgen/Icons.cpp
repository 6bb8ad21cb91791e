#include "tools/resgen/Paint.h"
#include "tools/resgen/Resources.h"

namespace resgen {

namespace {

// The logo's sixteen colours: black first (transparent pixels are stored black), then
// wood, cream, greys and brass.
const uint32_t LogoColours[16] = { 0x000000, 0x2B1A0E, 0x5C3A1E, 0x7E5230, 0xA46E3E, 0xC99156,
    0xF1E6CC, 0xC8BA98, 0x3A3A3A, 0x7A7A7A, 0xB8B8B8, 0xFFFFFF, 0x7A5A12, 0xC89B2A, 0xF0CF63,
    0xA82020 };

std::vector<plat::Color> LogoPalette()
{
    std::vector<plat::Color> pal;
    for (uint32_t c : LogoColours)
        pal.push_back(plat::ToColor(c));
    return pal;
}

// A bar of `width` from (x0, y0) to (x1, y1) with square ends.
Convex Bar(double x0, double y0, double x1, double y1, double width)
{
    double dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
    double nx = -dy / len * width / 2, ny = dx / len * width / 2;
    return { { x0 - nx, x1 - nx, x1 + nx, x0 + nx }, { y0 - ny, y1 - ny, y1 + ny, y0 + ny }, 4 };
}

} // namespace

// The maker's mark: a wooden pyramid metronome with a cream scale plate and a pendulum
// leaning to the right, its brass weight half-way up.
plat::IconImage RenderLogo()
{
    const int N = 32;
    Convex body { { 12.5, 19.5, 26.5, 5.5 }, { 3.5, 3.5, 26.5, 26.5 }, 4 };
    RoundBox plinth { 3.5, 25.5, 28.5, 30.5, 1.2 };
    Disc knob { 16, 3.2, 2.3 };
    auto silhouette = [&](double x, double y) { return body(x, y) || plinth(x, y) || knob(x, y); };

    // Drawn with one sample per pixel: sixteen colours cannot carry anti-aliasing.
    Canvas c(N, N, Hex(LogoColours[1]));
    const Box all { 0, 0, N, N };
    // The pyramid's faces: lit on the left, in shade on the right, by the position
    // across the body at each height.
    Convex inner { { 13.3, 18.7, 25.2, 6.8 }, { 4.6, 4.6, 25.6, 25.6 }, 4 };
    c.Cover(all, inner, [](double x, double y) {
        double left = 13.3 + (6.8 - 13.3) * (y - 4.6) / 21, right = 18.7 + (25.2 - 18.7) * (y - 4.6) / 21;
        double t = (x - left) / (right - left);
        return t < 0.16 ? Hex(0xC99156) : t < 0.84 ? Hex(0xA46E3E) : Hex(0x7E5230);
    }, 1.0, 1);
    // The scale plate, its shaded right edge and its graduation marks.
    c.Fill(all, Convex { { 14.6, 17.4, 20.6, 11.4 }, { 6.6, 6.6, 22.0, 22.0 }, 4 }, Hex(0xF1E6CC), 1.0, 1);
    c.Fill(all, Convex { { 17.4, 17.9, 21.1, 20.6 }, { 6.6, 6.6, 22.0, 22.0 }, 4 }, Hex(0xC8BA98), 1.0, 1);
    for (int k = 0; k < 4; ++k) {
        double y = 9.5 + 3.5 * k;
        c.Fill(all, Bar(14.8 - 0.4 * k, y, 17.2 + 0.4 * k, y, 1.0), Hex(0xC8BA98), 1.0, 1);
    }
    // The plinth.
    c.Fill(all, RoundBox { 4.3, 26.3, 27.7, 29.7, 0.8 }, Hex(0x7E5230), 1.0, 1);
    c.Fill(all, RoundBox { 4.3, 28.4, 27.7, 29.7, 0.4 }, Hex(0x5C3A1E), 1.0, 1);
    c.Fill(all, RoundBox { 4.3, 26.3, 27.7, 27.2, 0.4 }, Hex(0xA46E3E), 1.0, 1);
    // The pendulum and its weight.
    const double px = 16, py = 23.5, tx = 19.6, ty = 5.5;
    c.Fill(all, Bar(px, py, tx, ty, 1.1), Hex(0x3A3A3A), 1.0, 1);
    const double wt = 0.55, wx = px + (tx - px) * wt, wy = py + (ty - py) * wt;
    c.Fill(all, Bar(wx - 0.4, wy + 1.6, wx + 0.4, wy - 1.6, 5.0), Hex(0x7A5A12), 1.0, 1);
    c.Fill(all, Bar(wx - 0.35, wy + 1.0, wx + 0.25, wy - 1.6, 3.6), Hex(0xC89B2A), 1.0, 1);
    c.Fill(all, Bar(wx - 0.6, wy - 0.6, wx - 0.3, wy - 1.6, 1.4), Hex(0xF0CF63), 1.0, 1);
    c.Fill(all, Disc { px, py, 1.2 }, Hex(0x3A3A3A), 1.0, 1);
    // The knob on top.
    c.Fill(all, Disc { 16, 3.2, 1.5 }, Hex(0xA46E3E), 1.0, 1);

    plat::IconImage icon;
    icon.bpp = 4;
    icon.palette = LogoPalette();
    icon.color = c.ToSurface();
    icon.mask = plat::Surface(N, N, plat::PixelFormat::Bpp1);
    icon.mask.ConvertTo(plat::PixelFormat::Bpp1);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            bool clear = !silhouette(x + 0.5, y + 0.5);
            icon.mask.SetColor(x, y, clear ? 0xFFFFFF : 0);
            if (clear)
                icon.color.SetColor(x, y, 0);
        }
    icon.color.ConvertTo(plat::PixelFormat::Bpp4, icon.palette);
    icon.alpha = plat::AlphaFromMask(icon.mask);
    return icon;
}

// The application icon: the instrument's front plate in small, with the dial, its red
// centre field, the grey needle and the hub.
plat::AlphaImage RenderAppIcon(int size)
{
    const double u = size;
    const bool fine = size >= 32;
    RoundBox plate { 0.03 * u, 0.03 * u, 0.97 * u, 0.97 * u, 0.14 * u };
    Canvas c(size, size, Hex(0x808080));
    const Box all { 0, 0, size, size };

    c.Cover(all, plate, [&](double x, double y) {
        double t = (x + y) / (2 * u);
        double v = 214 - 40 * t;
        double edge = std::min({ x - 0.03 * u, y - 0.03 * u, 0.97 * u - x, 0.97 * u - y });
        if (edge < 0.035 * u)
            v += (x + y < u) ? 26 : -44;
        return Grey(v);
    });
    if (fine)
        for (double sx : { 0.13, 0.87 })
            for (double sy : { 0.13, 0.87 }) {
                c.Fill(all, Disc { sx * u, sy * u, 0.038 * u }, Hex(0x8A8A8A));
                c.Fill(all, Bar((sx - 0.028) * u, (sy + 0.012) * u, (sx + 0.028) * u, (sy - 0.012) * u, 0.012 * u + 0.5),
                    Hex(0x404040));
            }

    // The display window: a lowered frame around the light card.
    // Small sizes give the dial more room and draw every line at least a pixel wide.
    const double m = fine ? 0.19 : 0.11, px = 1.0;
    RoundBox frame { m * u, (m - 0.02) * u, (1 - m) * u, (1 - m + 0.04) * u, 0.04 * u };
    RoundBox card { m * u + px, (m - 0.02) * u + px, (1 - m) * u - px, (1 - m + 0.04) * u - px, 0.03 * u };
    c.Fill(all, frame, Hex(0x5A5A5A));
    c.Fill(all, card, Hex(0xD8D8D8));

    const double cx = 0.5 * u, cy = 0.80 * u, r = 0.48 * u;
    auto inCard = [&](auto shape) { return [=](double x, double y) { return card(x, y) && shape(x, y); }; };
    const Rgb ink = Hex(0x1C1C1C);
    const double arcHalf = std::max(0.012 * u + 0.3, 0.5);
    c.Fill(all, inCard(Sector { cx, cy, r - arcHalf, r + arcHalf, -34, 34 }), ink);
    c.Fill(all, inCard(Sector { cx, cy, r - arcHalf - std::max(0.05 * u, 1.5), r - arcHalf - 0.01 * u, -6, 6 }),
        Hex(0xA81E1E));
    for (int d = -30; d <= 30; d += fine ? 5 : 30) {
        bool major = d % 15 == 0;
        double len = (major ? 0.09 : 0.05) * u;
        c.Fill(all, inCard(RadialBar { cx, cy, double(d), r, r + std::max(len, 2.0), std::max((major ? 0.022 : 0.012) * u + 0.5, 1.0) }), ink);
    }

    // The needle, leaning left, then the hub over its foot.
    const double a = Rad(-17), tip = 0.55 * u, w = std::max(0.045 * u + 0.4, 1.8);
    const double sx = std::sin(a), sy = -std::cos(a);
    const double nx = -sy, ny = sx;
    Convex needle { { cx - nx * w / 2, cx + sx * (tip - w) - nx * w / 2, cx + sx * tip, cx + sx * (tip - w) + nx * w / 2,
                        cx + nx * w / 2 },
        { cy - ny * w / 2, cy + sy * (tip - w) - ny * w / 2, cy + sy * tip, cy + sy * (tip - w) + ny * w / 2,
            cy + ny * w / 2 },
        5 };
    // Wound clockwise on screen whichever way the needle leans.
    if ((needle.px[1] - needle.px[0]) * (needle.py[2] - needle.py[0])
            - (needle.py[1] - needle.py[0]) * (needle.px[2] - needle.px[0])
        < 0)
        for (int i = 0; i < 2; ++i) {
            std::swap(needle.px[i], needle.px[4 - i]);
            std::swap(needle.py[i], needle.py[4 - i]);
        }
    c.Fill(all, inCard(needle), Hex(fine ? 0x808080 : 0x505050));
    const double hub = std::max(0.13 * u, 3.0);
    c.Cover(all, inCard(Disc { cx, cy, hub }), [&](double x, double y) {
        double d = std::hypot(x - (cx - 0.35 * hub), y - (cy - 0.45 * hub)) / (1.6 * hub);
        return Grey(235 - 150 * std::min(d, 1.0));
    });

    plat::AlphaImage img;
    img.color = c.ToSurface();
    img.alpha.resize(size_t(size) * size_t(size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            img.alpha[size_t(y) * size_t(size) + size_t(x)] = uint8_t(std::lround(255 * Coverage(plate, x, y, 8)));
    return img;
}

} // namespace resgen
