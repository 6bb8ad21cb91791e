#include "tools/resgen/Paint.h"
#include "tools/resgen/Resources.h"

namespace resgen {

namespace {

// The face the slider stands on; edge pixels of the thumb are blended towards it.
const Rgb PanelFace = Hex(0xC0C0C0);

plat::Surface ToSurface24(const Canvas& c)
{
    plat::Surface s = c.ToSurface();
    s.ConvertTo(plat::PixelFormat::Bpp24);
    return s;
}

// The key colour must never appear by accident inside an opaque area.
void AvoidKey(plat::Surface& s, plat::Color key, plat::Color near)
{
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.GetColor(x, y) == key)
                s.SetColor(x, y, near);
}

} // namespace

// The fader cap: brushed metal across its width, a concave face that is light at the
// top and dark towards the grip line in the middle, bevelled edges and a soft shadow
// to the lower right.
plat::Surface RenderThumb()
{
    const double x0 = 3, x1 = 66, y0 = 0.5, y1 = 35, radius = 4;
    const double mid = (y0 + y1) / 2;
    const std::vector<double> streak = Streaks(0x7468756D62ull, ThumbHeight * 4, 3);
    const std::vector<double> grain = Streaks(0x6772616E6Eull, ThumbWidth, 9);

    Canvas c(ThumbWidth, ThumbHeight, PanelFace);
    RoundBox body { x0, y0, x1, y1, radius };
    RoundBox shadow { x0 + 1.5, y0 + 1.5, x1 + 1.5, y1 + 1.5, radius + 0.5 };
    c.Fill(BoxAround(x0, y0, x1 + 2, y1 + 2), shadow, Hex(0x404040), 0.45);

    auto face = [&](double x, double y) {
        double v;
        if (y < mid)
            v = 226 - 62 * (y - y0) / (mid - y0);      // upper slope, facing the light
        else
            v = 196 - 66 * (y - mid) / (y1 - mid);     // lower slope, turned away
        // Fine lengthwise brushing; each row its own streak, varied slowly along x.
        size_t row = size_t(std::clamp(int(y * 4), 0, ThumbHeight * 4 - 1));
        size_t col = size_t(std::clamp(int(x), 0, ThumbWidth - 1));
        v += 7 * streak[row] + 2.5 * grain[col] * streak[(row + 37) % streak.size()];
        // Light and dark bevels along the outline.
        double dl = x - x0, dr = x1 - x, dt = y - y0, db = y1 - y;
        if (dt < 2)
            v = std::max(v, 244 - 10 * dt);
        if (dl < 2)
            v += 22 * (1 - dl / 2);
        if (dr < 2)
            v -= 50 * (1 - dr / 2);
        if (db < 2.5)
            v = std::min(v, 70 + 40 * db);
        return Grey(v);
    };
    c.Cover(BoxAround(x0, y0, x1, y1), body, face);

    // The grip: an engraved line across the middle, dark with a lit lower lip, and a
    // white index line in it.
    auto band = [&](double ya, double yb) {
        return [=](double x, double y) { return y >= ya && y <= yb && body(x, y) && x > x0 + 2 && x < x1 - 2; };
    };
    const Box all { 0, 0, ThumbWidth, ThumbHeight };
    c.Fill(all, band(mid - 2.5, mid - 1.5), Hex(0x2C2C2C));
    c.Fill(all, band(mid - 1.5, mid + 0.5), Hex(0x444444));
    c.Fill(all, band(mid - 0.9, mid - 0.1), Hex(0xF4F4F4), 0.85);
    c.Fill(all, band(mid + 0.5, mid + 1.5), Hex(0xE6E6E6));

    plat::Surface s = ToSurface24(c);
    // Pixels the cap and its shadow do not reach show the key colour.
    RoundBox reach { x0, y0, x1 + 1.5, y1 + 1.5, radius + 0.5 };
    for (int y = 0; y < ThumbHeight; ++y)
        for (int x = 0; x < ThumbWidth; ++x)
            if (Coverage(reach, x, y) < 0.5)
                s.SetColor(x, y, ThumbKey);
            else if (s.GetColor(x, y) == ThumbKey)
                s.SetColor(x, y, 0xFEFF00);
    return s;
}

// The ruler: a brushed plate with a dark slot along its middle. The brushing runs along
// the slot and each column keeps one shade, so the middle rows are all alike and tile.
plat::Surface RenderRuler()
{
    const int plate0 = 20, plate1 = 50;        // plate columns [plate0, plate1)
    const int slot0 = 31, slot1 = 39;          // slot columns, centred on x = 35
    const std::vector<double> grain = Streaks(0x72756C6572ull, RulerWidth, 2);

    Canvas c(RulerWidth, RulerHeight, Hex(0xFFFFFF));
    std::vector<Rgb> column(RulerWidth, Hex(0xFFFFFF));
    for (int x = plate0; x < plate1; ++x) {
        double across = (x + 0.5 - plate0) / (plate1 - plate0);
        double v = 196 + 18 * std::sin(across * Pi) - 14 * across + 9 * grain[size_t(x)];
        if (x == plate0)
            v = 236;                               // lit left edge
        else if (x == plate0 + 1)
            v = 218;
        else if (x == plate1 - 2)
            v = 132;
        else if (x == plate1 - 1)
            v = 92;                                // shaded right edge
        else if (x == slot0 - 1)
            v -= 34;                               // the lip falling into the slot
        else if (x == slot1)
            v = 242;                               // the far lip catches the light
        if (x >= slot0 && x < slot1) {
            // Inside the slot: the left wall lies in shadow, the floor is near black and
            // the right wall is lit.
            static const double wall[] = { 22, 30, 38, 42, 46, 52, 78, 126 };
            v = wall[x - slot0];
        }
        column[size_t(x)] = Grey(v);
    }
    for (int y = 0; y < RulerHeight; ++y)
        for (int x = plate0; x < plate1; ++x)
            c.At(x, y) = column[size_t(x)];

    // The fixed end rows close the plate: a lit top rim and a shaded bottom rim, with
    // the slot running out beneath them.
    for (int x = plate0; x < plate1; ++x) {
        double v = column[size_t(x)].r;
        bool slot = x >= slot0 && x < slot1;
        c.At(x, 0) = Grey(x == plate1 - 1 ? 150 : 238);
        c.At(x, 1) = Grey(slot ? 60 + 0.5 * v : std::min(v + 12, 248.0));
        c.At(x, RulerHeight - 2) = Grey(slot ? 80 + 0.4 * v : v - 26);
        c.At(x, RulerHeight - 1) = Grey(x == plate0 ? 150 : 84);
    }

    plat::Surface s = ToSurface24(c);
    AvoidKey(s, RulerKey, plat::Rgb(254, 254, 254));
    for (int y = 0; y < RulerHeight; ++y)
        for (int x = 0; x < RulerWidth; ++x)
            if (x < plate0 || x >= plate1)
                s.SetColor(x, y, RulerKey);
    return s;
}

} // namespace resgen
