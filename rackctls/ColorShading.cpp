#include "rackctls/ColorShading.h"

#include <algorithm>
#include <cmath>

namespace {

// Corner vectors of the colour circle: red, yellow, green, cyan, blue, magenta.
constexpr int Sextants[6][3] = {
    { +1, -1, -1 }, { +1, +1, -1 }, { -1, +1, -1 },
    { -1, +1, +1 }, { -1, -1, +1 }, { +1, -1, +1 },
};

const char* const HLSNames[3] = { "Hue", "Luminance", "Saturation" };
const char* const RGBNames[3] = { "Red", "Green", "Blue" };

// NaN fails both comparisons and so counts as out of range.
bool InUnitRange(double v) { return v >= 0.0 && v <= 1.0; }

double Clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

// Hue of a vector whose smallest component (-1) is at index k, as hue x 6.
double HueOf(const double w[3], int k)
{
    switch (k) {
    case 0: return w[1] > w[2] ? (w[2] + 1) / 2 + 2 : 4 - (w[1] + 1) / 2;
    case 1: return w[2] > w[0] ? (w[0] + 1) / 2 + 4 : 6 - (w[2] + 1) / 2;
    default: return w[0] > w[1] ? (w[1] + 1) / 2 : 2 - (w[0] + 1) / 2;
    }
}

constexpr int Pairs[3][2] = { { 0, 1 }, { 1, 2 }, { 0, 2 } };

// Round to nearest, halves to the even neighbour (the default floating-point mode).
int RoundEven(double v) { return int(std::nearbyint(v)); }

} // namespace

void HLS2RGB(const THLSTriple& hls, TRGBTriple3& rgb)
{
    const double in[3] = { hls.H, hls.L, hls.S };
    for (int i = 0; i < 3; ++i)
        if (!InUnitRange(in[i]))
            throw EColorConv(Format("HLS2RGB: 0 <= %s value <= 1 required", HLSNames[i]));

    double h6 = hls.H * 6;
    int k = int(h6) % 6;
    int n = (k + 1) % 6;
    double f = h6 - std::trunc(h6);
    double out[3];
    for (int i = 0; i < 3; ++i) {
        double w = (Sextants[n][i] - Sextants[k][i]) * f + Sextants[k][i];
        w *= hls.S;
        double c = hls.L > 0.5 ? hls.L + (1 - hls.L) * w : (w + 1) * hls.L;
        out[i] = Clamp01(c);
    }
    rgb = { out[0], out[1], out[2] };
}

void RGB2HLS(const TRGBTriple3& rgb, THLSTriple& hls)
{
    const double in[3] = { rgb.R, rgb.G, rgb.B };
    for (int i = 0; i < 3; ++i)
        if (!InUnitRange(in[i]))
            throw EColorConv(Format("RGB2HLS: 0 <= %s value <= 1 required", RGBNames[i]));

    double c[3], m = 0;
    int k = 0;
    for (int i = 0; i < 3; ++i) {
        c[i] = 2 * in[i] - 1;
        if (std::fabs(c[i]) > m) {
            m = std::fabs(c[i]);
            k = i;
        }
    }
    if (m < ColorEps) {
        hls = { 0, 0.5, 0 };
        return;
    }
    double v[3], w[3];
    for (int i = 0; i < 3; ++i)
        v[i] = c[i] / m;

    double h6, s = 0, l;
    if (c[k] <= 0) {
        double m2 = v[0] + 1;
        for (int i = 1; i < 3; ++i)
            m2 = std::max(m2, v[i] + 1);
        if (m2 < ColorEps) {
            hls = { 0, in[0], 0 };
            return;
        }
        for (int i = 0; i < 3; ++i)
            w[i] = (v[i] + 1) * (2 / m2) - 1;
        h6 = HueOf(w, k);
        for (auto [i, j] : Pairs)
            if (std::fabs(c[i] - c[j]) > ColorEps) {
                s = (c[j] - c[i]) / ((c[i] + 1) * w[j] - (c[j] + 1) * w[i]);
                break;
            }
        double t = c[0] + 1;
        for (auto [i, j] : Pairs)
            if (std::fabs(w[i] - w[j]) > ColorEps) {
                t = ((c[i] + 1) * w[j] - (c[j] + 1) * w[i]) / (w[j] - w[i]);
                break;
            }
        l = t * 0.5;
    } else {
        double m2 = 1 - v[0];
        for (int i = 1; i < 3; ++i)
            m2 = std::max(m2, 1 - v[i]);
        if (m2 < ColorEps) {
            hls = { 0, in[0], 0 };
            return;
        }
        for (int i = 0; i < 3; ++i)
            w[i] = (v[i] - 1) * (2 / m2) + 1;
        double smallest = 1.0;
        for (int i = 0; i < 3; ++i)
            if (w[i] < smallest) {
                smallest = w[i];
                k = i;
            }
        h6 = HueOf(w, k);
        for (auto [i, j] : Pairs)
            if (std::fabs(c[i] - c[j]) > ColorEps) {
                s = (c[j] - c[i]) / ((c[j] - 1) * w[i] - (c[i] - 1) * w[j]);
                break;
            }
        double t = c[0] - 1;
        for (auto [i, j] : Pairs)
            if (std::fabs(w[i] - w[j]) > ColorEps) {
                t = ((c[i] - 1) * w[j] - (c[j] - 1) * w[i]) / (w[j] - w[i]);
                break;
            }
        l = t * 0.5 + 1;
    }
    hls = { Clamp01(h6 / 6), Clamp01(l), Clamp01(s) };
}

void ColorShades(TColor base, float lightFactor, float darkFactor, TColor& light, TColor& dark)
{
    TColor rgb = ColorToRGB(base);
    const int ch[3] = { int(rgb & 0xFF), int(rgb >> 8 & 0xFF), int(rgb >> 16 & 0xFF) };

    // 255 - round((256 - x) * a), kept to its low byte: at a = 1 a channel of 0 wraps to 255.
    int lc[3];
    for (int i = 0; i < 3; ++i)
        lc[i] = (255 - RoundEven((256 - ch[i]) * double(lightFactor))) & 0xFF;
    light = TColor(lc[0] | lc[1] << 8 | lc[2] << 16);

    THLSTriple hls;
    RGB2HLS({ ch[0] / 255.0, ch[1] / 255.0, ch[2] / 255.0 }, hls);
    hls.L = hls.L * double(darkFactor);
    TRGBTriple3 out;
    HLS2RGB(hls, out);
    dark = TColor(RoundEven(out.R * 255) | RoundEven(out.G * 255) << 8 | RoundEven(out.B * 255) << 16);
}

void ContrastShades(TColor base, int lightContrast, int darkContrast, TColor& light, TColor& dark)
{
    float lightFactor = float(10 - lightContrast) / 10.0f;
    float darkFactor = float(10 - darkContrast) / 10.0f;
    ColorShades(base, lightFactor, darkFactor, light, dark);
}
