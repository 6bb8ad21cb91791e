#include "tools/resgen/Paint.h"
#include "tools/resgen/Resources.h"

#include "platform/raster/Palette.h"

namespace resgen {

namespace {

const Rgb Ground = Hex(0xD0D0D0);
const Rgb Ink = Hex(0x1C1C1C);
const Rgb Accent = Hex(0xA81E1E);

// The dial's colour table: every even grey, white, and a ramp from the ground to the
// accent red, so that anti-aliased print on the ground finds a close entry.
std::vector<plat::Color> DialPalette()
{
    std::vector<plat::Color> pal;
    for (int v = 0; v < 256; v += 2)
        pal.push_back(plat::Rgb(uint8_t(v), uint8_t(v), uint8_t(v)));
    pal.push_back(plat::Rgb(255, 255, 255));
    for (int k = 1; k <= 32; ++k) {
        Rgb c = Mix(Ground, Accent, k / 32.0);
        pal.push_back(plat::Rgb(uint8_t(std::lround(c.r)), uint8_t(std::lround(c.g)),
            uint8_t(std::lround(c.b))));
    }
    // The rest: the odd greys from the top down, for finer steps on the light ground.
    for (int v = 253; pal.size() < 256; v -= 2)
        pal.push_back(plat::Rgb(uint8_t(v), uint8_t(v), uint8_t(v)));
    return pal;
}

Box SectorBox(double r1)
{
    return BoxAround(PivotX - r1, PivotY - r1, PivotX + r1, PivotY);
}

void Arc(Canvas& c, double r0, double r1, double a0, double a1, Rgb ink)
{
    c.Fill(SectorBox(r1), Sector { PivotX, PivotY, r0, r1, a0, a1 }, ink);
}

void Tick(Canvas& c, double angle, double r0, double r1, double width, Rgb ink)
{
    double s = std::sin(Rad(angle)), co = std::cos(Rad(angle));
    double x0 = PivotX + r0 * s, y0 = PivotY - r0 * co;
    double x1 = PivotX + r1 * s, y1 = PivotY - r1 * co;
    Box box = BoxAround(std::min(x0, x1) - width, std::min(y0, y1) - width,
        std::max(x0, x1) + width, std::max(y0, y1) + width);
    c.Fill(box, RadialBar { PivotX, PivotY, angle, r0, r1, width }, ink);
}

// A letter of strokes on a 6 x 10 grid, centred on (cx, cy) and turned by `angle`
// degrees so that it stands on the scale's radius.
struct Stroke {
    double x0, y0, x1, y1;
};

void Letter(Canvas& c, const std::vector<Stroke>& strokes, double cx, double cy, double angle,
    double unit, double width)
{
    double s = std::sin(Rad(angle)), co = std::cos(Rad(angle));
    auto place = [&](double gx, double gy, double& x, double& y) {
        double lx = (gx - 3) * unit, ly = (gy - 5) * unit;
        x = cx + lx * co - ly * s;
        y = cy + lx * s + ly * co;
    };
    for (const Stroke& st : strokes) {
        Capsule cap {};
        place(st.x0, st.y0, cap.x0, cap.y0);
        place(st.x1, st.y1, cap.x1, cap.y1);
        cap.width = width;
        c.Fill(BoxAround(cap.x0, cap.y0, cap.x1, cap.y1), cap, Ink);
    }
}

std::vector<Stroke> LetterL() { return { { 0.5, 0, 0.5, 10 }, { 0.5, 10, 5.5, 10 } }; }

std::vector<Stroke> LetterR()
{
    std::vector<Stroke> s { { 0.5, 0, 0.5, 10 }, { 0.5, 0, 3.2, 0 }, { 0.5, 5, 3.2, 5 },
        { 2.8, 5, 5.5, 10 } };
    // The bowl: a half circle from the top stroke to the middle one.
    const int steps = 10;
    for (int i = 0; i < steps; ++i) {
        double a0 = -Pi / 2 + Pi * i / steps, a1 = -Pi / 2 + Pi * (i + 1) / steps;
        s.push_back({ 3.2 + 2.5 * std::cos(a0), 2.5 + 2.5 * std::sin(a0),
            3.2 + 2.5 * std::cos(a1), 2.5 + 2.5 * std::sin(a1) });
    }
    return s;
}

// The hub: a polished half dome over the pivot, lit from the upper left, with a dark
// rim and a soft shadow on the card.
void Hub(Canvas& c)
{
    const double R = 47;
    for (int k = 0; k < 6; ++k) {
        double r = R + 6 - k;
        c.Fill(SectorBox(r), Disc { PivotX + 1.5, PivotY + 1.5, r }, Hex(0x707070), 0.07);
    }
    c.Fill(SectorBox(R + 1.5), Disc { PivotX, PivotY, R + 1.5 }, Hex(0x2A2A2A));
    // A shallow cap of a sphere larger than the hub, lit from above and a little left.
    const double Rs = 1.35 * R;
    const double lx = -0.30, ly = -0.80, lz = 0.52;
    auto dome = [&](double x, double y) {
        double nx = (x - PivotX) / Rs, ny = (y - PivotY) / Rs;
        double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
        double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
        // Reflection of the light about the normal, seen from straight above.
        double rz = 2 * diffuse * nz - lz;
        double shine = std::pow(std::max(0.0, rz), 24);
        double v = 58 + 150 * diffuse + 90 * shine;
        return Grey(std::min(v, 250.0));
    };
    c.Cover(SectorBox(R), Disc { PivotX, PivotY, R }, dome);
    // A fine turned groove near the rim.
    c.Fill(SectorBox(R - 5), Sector { PivotX, PivotY, R - 6, R - 5, -90, 90 }, Hex(0x303030), 0.35);
}

} // namespace

plat::Surface RenderDial()
{
    Canvas c(DialWidth, DialHeight, Ground);
    const double arc = ScaleRadius;
    const double end = SwingDegrees;

    // The scale band below the arc: solid over the outer ten degrees on each side,
    // where the needle turns, open between, with a red field at the centre, where the
    // beat falls.
    const double b0 = arc - 13, b1 = arc - 9;
    Arc(c, b0, b0 + 0.9, -end, end, Ink);
    Arc(c, b1 - 0.9, b1, -end, end, Ink);
    Arc(c, b0, b1, -end, -end + 10, Ink);
    Arc(c, b0, b1, end - 10, end, Ink);
    Arc(c, b0 + 0.9, b1 - 0.9, -2.5, 2.5, Accent);

    // The arc line and its graduations: a fine tick every degree, a longer one every
    // five, a heavy one every ten, and the end marks at the needle's turning points.
    Arc(c, arc - 0.7, arc + 0.7, -end, end, Ink);
    for (int d = -30; d <= 30; ++d) {
        double a = d;
        if (d % 10 == 0)
            Tick(c, a, arc, arc + (std::abs(d) == 30 ? 22 : 17), std::abs(d) == 30 ? 2.6 : 2.0, Ink);
        else if (d % 5 == 0)
            Tick(c, a, arc, arc + 12, 1.4, Ink);
        else
            Tick(c, a, arc, arc + 7, 0.9, Ink);
    }
    Tick(c, -end, b0, arc, 2.6, Ink);
    Tick(c, end, b0, arc, 2.6, Ink);

    // The centre mark: a small triangle pointing down at the upright position.
    const double t0 = arc + 21, t1 = arc + 34, half = 6.5;
    Convex tri { { PivotX - half, PivotX + half, PivotX }, { PivotY - t1, PivotY - t1, PivotY - t0 }, 3 };
    c.Fill(BoxAround(PivotX - half, PivotY - t1, PivotX + half, PivotY - t0), tri, Ink);

    // Left and right, printed beyond the scale near its ends.
    const double lr = arc + 32, la = 23;
    Letter(c, LetterL(), PivotX - lr * std::sin(Rad(la)), PivotY - lr * std::cos(Rad(la)), -la, 1.1, 1.5);
    Letter(c, LetterR(), PivotX + lr * std::sin(Rad(la)), PivotY - lr * std::cos(Rad(la)), la, 1.1, 1.5);

    Hub(c);

    plat::Surface s = c.ToSurface();
    s.ConvertTo(plat::PixelFormat::Bpp8, DialPalette());
    return s;
}

} // namespace resgen
