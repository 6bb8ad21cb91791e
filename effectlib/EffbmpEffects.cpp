// TEffectBmp: the in-place pixel effects.
#include "effectlib/Effbmp.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace {

uint8_t ClampByte(double v)
{
    return uint8_t(std::clamp(v, 0.0, 255.0));
}

// Round to nearest, halves to even, held in 0..255.
uint8_t RoundByte(double v) { return ClampByte(std::nearbyint(v)); }

// The colour's channels in the buffer's byte order (blue, green, red).
void ColorBytes(TColor c, uint8_t out[3])
{
    c = ColorToRGB(c);
    out[0] = GetBValue(c);
    out[1] = GetGValue(c);
    out[2] = GetRValue(c);
}

// The offset of a four-sample blur, held where it cannot overflow; its sign does not
// matter, since the two samples of each axis lie on both sides.
int BlurReach(int amount, int w, int h)
{
    int64_t a = std::llabs(int64_t(amount));
    return int(std::min<int64_t>(a, std::max(w, h)));
}

} // namespace

// Rows top to bottom, pixels left to right, in place: samples above and to the left are
// already blurred when they are read.
void TEffectBmp::SplitBlur(int Amount)
{
    if (Amount == 0 || Empty())
        return;
    MaskSplitBlur(nullptr, Amount);
}

void TEffectBmp::HalveOutside(const TEffectBmp& Mask)
{
    for (int y = 0; y < Height(); ++y) {
        uint8_t* row = GetLine(y);
        const uint8_t* m = Mask.GetLine(y);
        for (int i = 0; i < 3 * Width(); i += 3) {
            if ((m[i] | m[i + 1] | m[i + 2]) != 0)
                continue;
            row[i] >>= 1;
            row[i + 1] >>= 1;
            row[i + 2] >>= 1;
        }
    }
}

void TEffectBmp::MaskSplitBlur(const TEffectBmp* Mask, int Amount)
{
    if (Amount == 0 || Empty())
        return;
    const bool masked = Mask != nullptr;
    if (masked && (Mask->FWidth != FWidth || Mask->FHeight < FHeight))
        return;
    const int a = BlurReach(Amount, FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y) {
        const uint8_t* up = GetLine(y - a < 0 ? y : y - a);
        const uint8_t* down = GetLine(y + a >= FHeight ? y : y + a);
        const uint8_t* mask = masked ? Mask->GetLine(y) : nullptr;
        uint8_t* row = GetLine(y);
        for (int x = 0; x < FWidth; ++x) {
            if (mask && (mask[3 * x] | mask[3 * x + 1] | mask[3 * x + 2]) != 0)
                continue;
            const int l = 3 * (x - a < 0 ? x : x - a);
            const int r = 3 * (x + a >= FWidth ? x : x + a);
            for (int c = 0; c < 3; ++c)
                row[3 * x + c] = uint8_t((up[l + c] + down[l + c] + up[r + c] + down[r + c]) >> 2);
        }
    }
}

// Each neighbour is averaged into the accumulator as the buffer holds it at that moment.
void TEffectBmp::Blur(int Amount)
{
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            uint8_t acc[3];
            std::copy_n(PixelAt(x, y), 3, acc);
            const int64_t x0 = std::max<int64_t>(-int64_t(Amount), -x);
            const int64_t x1 = std::min<int64_t>(Amount, FWidth - 1 - x);
            const int64_t y0 = std::max<int64_t>(-int64_t(Amount), -y);
            const int64_t y1 = std::min<int64_t>(Amount, FHeight - 1 - y);
            for (int64_t dx = x0; dx <= x1; ++dx) {
                for (int64_t dy = y0; dy <= y1; ++dy) {
                    const uint8_t* n = PixelAt(int(x + dx), int(y + dy));
                    for (int c = 0; c < 3; ++c)
                        acc[c] = uint8_t((acc[c] + n[c]) / 2);
                }
            }
            std::copy_n(acc, 3, PixelAt(x, y));
        }
    }
}

void TEffectBmp::AddColorNoise(int Amount)
{
    if (Amount <= 0)
        return;
    static std::minstd_rand engine(12345);
    std::uniform_int_distribution<int> dist(0, Amount - 1);
    const int half = Amount / 2;
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* p = GetLine(y);
        for (int i = 0; i < 3 * FWidth; ++i)
            p[i] = uint8_t(std::clamp<int64_t>(int64_t(p[i]) + dist(engine) - half, 0, 255));
    }
}

void TEffectBmp::AddMiddleColor(TColor Color)
{
    AddMiddleColorInRect(Color, Rect(0, 0, FWidth - 1, FHeight - 1));
}

void TEffectBmp::AddMiddleColorInRect(TColor Color, const TRect& Rect)
{
    uint8_t c[3];
    ColorBytes(Color, c);
    const int l = std::max(Rect.Left, 0), r = std::min(Rect.Right, FWidth - 1);
    const int t = std::max(Rect.Top, 0), b = std::min(Rect.Bottom, FHeight - 1);
    for (int y = t; y <= b; ++y) {
        for (int x = l; x <= r; ++x) {
            uint8_t* p = PixelAt(x, y);
            for (int i = 0; i < 3; ++i)
                p[i] = uint8_t((p[i] + c[i]) / 2);
        }
    }
}

void TEffectBmp::Wave(int XDiv, int YDiv, int Ratio)
{
    if (XDiv == 0 || YDiv == 0 || Empty())
        return;
    const TEffectBmp from(*this);
    for (int y = 0; y < FHeight; ++y) {
        const double dx = Ratio * std::sin(double(y) / YDiv);
        for (int x = 0; x < FWidth; ++x) {
            const double sx = std::clamp(std::nearbyint(x + dx), 0.0, double(FWidth - 1));
            const double sy = std::clamp(std::nearbyint(y + Ratio * std::sin(double(x) / XDiv)),
                0.0, double(FHeight - 1));
            std::copy_n(from.PixelAt(int(sx), int(sy)), 3, PixelAt(x, y));
        }
    }
}

void TEffectBmp::MiddleBMP(const TEffectBmp* Other)
{
    if (!Other || Other->FWidth != FWidth || Other->FHeight != FHeight)
        return;
    for (int y = 0; y < FHeight; ++y) {
        uint8_t* p = GetLine(y);
        const uint8_t* o = Other->GetLine(y);
        for (int i = 0; i < 3 * FWidth; ++i)
            p[i] = uint8_t((p[i] + o[i]) / 2);
    }
}

void TEffectBmp::Morph(const TEffectBmp* Other, double Ratio)
{
    if (!Other || Other->FWidth != FWidth || Other->FHeight != FHeight)
        return;
    MorphRect(Other, Ratio, Rect(0, 0, FWidth - 1, FHeight - 1), 0, 0);
}

// Rect's edges are inclusive; Other's pixels come from row Y and column X onwards.
void TEffectBmp::MorphRect(const TEffectBmp* Other, double Ratio, const TRect& Rect, int X, int Y)
{
    if (!Other || Other->Empty() || Empty() || std::isnan(Ratio))
        return;
    Ratio = std::clamp(Ratio, 0.0, 1.0);
    const TEffectBmp copy = Other == this ? TEffectBmp(*this) : TEffectBmp(0, 0);
    const TEffectBmp& from = Other == this ? copy : *Other;
    const int l = std::max(Rect.Left, 0), r = std::min(Rect.Right, FWidth - 1);
    const int t = std::max(Rect.Top, 0), b = std::min(Rect.Bottom, FHeight - 1);
    for (int y = t; y <= b; ++y) {
        const int64_t sy = int64_t(Y) + (y - Rect.Top);
        if (sy < 0 || sy >= from.FHeight)
            continue;
        for (int x = l; x <= r; ++x) {
            const int64_t sx = int64_t(X) + (x - Rect.Left);
            if (sx < 0 || sx >= from.FWidth)
                continue;
            uint8_t* p = PixelAt(x, y);
            const uint8_t* o = from.PixelAt(int(sx), int(sy));
            for (int i = 0; i < 3; ++i)
                p[i] = RoundByte((1 - Ratio) * p[i] + Ratio * o[i]);
        }
    }
}

namespace {

// One step of a gradient walk; a walk of a single pixel (divisor 0) goes in steps of 1.
double GradStep(int divisor) { return divisor > 0 ? 1.0 / divisor : 1.0; }

} // namespace

// Walks the buffer in the order of Kind and calls mix(pixel, x, y, t) with the weight t
// of the buffer's own colour: 0 at the named edge (or the middle), growing by one step per
// pixel or row.
template <class F>
static void GradWalk(TEffectBmp& bmp, TGradKind Kind, F mix)
{
    const int w = bmp.Width(), h = bmp.Height();
    auto column = [&](int x, double t) {
        for (int y = 0; y < h; ++y)
            mix(x, y, t);
    };
    auto row = [&](int y, double t) {
        for (int x = 0; x < w; ++x)
            mix(x, y, t);
    };
    switch (Kind) {
    case gdRight:
    case gdLeft: {
        const double step = GradStep(w - 1);
        double t = 0;
        for (int i = 0; i < w; ++i, t += step)
            column(Kind == gdRight ? w - 1 - i : i, t);
        break;
    }
    case gdTop:
    case gdBottom: {
        const double step = GradStep(h - 1);
        double t = 0;
        for (int i = 0; i < h; ++i, t += step)
            row(Kind == gdTop ? i : h - 1 - i, t);
        break;
    }
    case gdVCenter: {
        const double step = GradStep((w - 1) / 2);
        double t = 0;
        for (int x = w / 2; x >= 0; --x, t += step)
            column(x, t);
        t = 0;
        for (int x = w / 2 + 1; x < w; ++x, t += step)
            column(x, t);
        break;
    }
    case gdHCenter: {
        const double step = GradStep((h - 1) / 2);
        double t = 0;
        for (int y = h / 2; y < h; ++y, t += step)
            row(y, t);
        t = 0;
        for (int y = h / 2 - 1; y >= 0; --y, t += step)
            row(y, t);
        break;
    }
    }
}

// The weight of a column is the same in every row, so walking column by column gives the
// same pixels as walking each row.
void TEffectBmp::AddGradColor(TColor Color, TGradKind Kind)
{
    if (Empty())
        return;
    uint8_t c[3];
    ColorBytes(Color, c);
    GradWalk(*this, Kind, [&](int x, int y, double t) {
        uint8_t* p = PixelAt(x, y);
        for (int i = 0; i < 3; ++i)
            p[i] = RoundByte(p[i] * t + c[i] * (1 - t));
    });
}

// Other is blended over the buffer as a colour would be, pixel by pixel; buffers of
// different sizes are left alone.
void TEffectBmp::AddGradBMP(const TEffectBmp* Other, TGradKind Kind)
{
    if (!Other || Empty() || Other->FWidth != FWidth || Other->FHeight != FHeight)
        return;
    const TEffectBmp copy = Other == this ? TEffectBmp(*this) : TEffectBmp(0, 0);
    const TEffectBmp& from = Other == this ? copy : *Other;
    GradWalk(*this, Kind, [&](int x, int y, double t) {
        uint8_t* p = PixelAt(x, y);
        const uint8_t* o = from.PixelAt(x, y);
        for (int i = 0; i < 3; ++i)
            p[i] = RoundByte(p[i] * t + o[i] * (1 - t));
    });
}
