#include "rackctls/RackCtls.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// Segments: 0 top, 1 upper left, 2 upper right, 3 middle, 4 lower left, 5 lower right,
// 6 bottom.
constexpr std::array<std::array<bool, 7>, 11> LitSegments = { {
    { 1, 1, 1, 0, 1, 1, 1 },   // 0
    { 0, 0, 1, 0, 0, 1, 0 },   // 1
    { 1, 0, 1, 1, 1, 0, 1 },   // 2
    { 1, 0, 1, 1, 0, 1, 1 },   // 3
    { 0, 1, 1, 1, 0, 1, 0 },   // 4
    { 1, 1, 0, 1, 0, 1, 1 },   // 5
    { 0, 1, 0, 1, 1, 1, 1 },   // 6
    { 1, 0, 1, 0, 0, 1, 0 },   // 7
    { 1, 1, 1, 1, 1, 1, 1 },   // 8
    { 1, 1, 1, 1, 0, 1, 1 },   // 9
    { 0, 0, 0, 1, 0, 0, 0 },   // minus
} };

// Canvas coordinates from wide arithmetic: absurd sizes must not overflow on the way.
int Px(int64_t v) { return int(std::clamp<int64_t>(v, -(int64_t(1) << 30), int64_t(1) << 30)); }

// The separator setting may be one character or a string of several bytes.
[[maybe_unused]] std::string SeparatorText(char c) { return std::string(1, c); }
[[maybe_unused]] std::string SeparatorText(const std::string& s) { return s; }

// Fixed-point text with '.' as the separator, rounded to at most 18 significant digits;
// magnitudes of 10^18 and more in exponent notation. Never a minus sign in front of a
// value that shows only zeros.
std::string FormatFixed(long double v, int fractionDigits)
{
    char buf[96];
    const int prec = std::clamp(fractionDigits, 0, 18);
    if (v == 0)
        v = 0;   // no negative zero
    if (std::fabs(v) >= 1e18L) {
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 17);
        std::string s(buf, r.ptr);
        std::replace(s.begin(), s.end(), 'e', 'E');
        return s;
    }
    int e10 = 0;
    if (v != 0) {
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 17);
        const char* e = std::find(buf, r.ptr, 'e');
        if (e != r.ptr)
            std::from_chars(e + 1 + (e[1] == '+'), r.ptr, e10);
    }
    const int decimals = std::min(prec, std::max(0, 17 - e10));
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, r.ptr);
    if (decimals < prec) {
        if (decimals == 0)
            s += '.';
        s.append(size_t(prec - decimals), '0');
    }
    if (!s.empty() && s[0] == '-' && s.find_first_of("123456789") == std::string::npos)
        s.erase(0, 1);
    return s;
}

} // namespace

TLEDDisplay::TLEDDisplay(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    // The display covers its whole rectangle.
    FControlStyle |= csOpaque;
    RecomputeUnlit();
    SetHeight(36);
    SetWidth(168);
    BuildDigitBitmaps();
}

TLEDDisplay::~TLEDDisplay() = default;

void TLEDDisplay::RecomputeUnlit()
{
    TColor light;
    ContrastShades(FColorLED, FLEDContrast, FLEDContrast, light, FUnlitColor);
}

void TLEDDisplay::Rebuild()
{
    BuildDigitBitmaps();
    Invalidate();
}

void TLEDDisplay::SetBevelStyle(TBevelCut value)
{
    if (value == FBevelStyle)
        return;
    FBevelStyle = value;
    Invalidate();
}

void TLEDDisplay::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    Invalidate();
}

void TLEDDisplay::SetColorBackGround(TColor value)
{
    if (value == FColorBackGround)
        return;
    FColorBackGround = value;
    Rebuild();
}

void TLEDDisplay::SetColorLED(TColor value)
{
    if (value == FColorLED)
        return;
    FColorLED = value;
    RecomputeUnlit();
    Rebuild();
}

void TLEDDisplay::SetDecSeperator(TDecSeperator value)
{
    if (value == FDecSeperator)
        return;
    FDecSeperator = value;
    Invalidate();
}

void TLEDDisplay::SetDigitHeight(int value)
{
    if (value == FDigitHeight)
        return;
    FDigitHeight = value;
    Rebuild();
}

void TLEDDisplay::SetDigitWidth(int value)
{
    if (value == FDigitWidth)
        return;
    FDigitWidth = value;
    Rebuild();
}

void TLEDDisplay::SetDigitLineWidth(int value)
{
    if (value == FDigitLineWidth)
        return;
    FDigitLineWidth = value;
    Rebuild();
}

// Clamped only from above, when it is set; a later NumDigits does not clamp it again.
void TLEDDisplay::SetFractionDigits(int value)
{
    if (value == FFractionDigits)
        return;
    FFractionDigits = value;
    const int64_t most = int64_t(FNumDigits) - 1;
    if (FFractionDigits > most)
        FFractionDigits = int(std::max<int64_t>(most, INT_MIN));
    Invalidate();
}

void TLEDDisplay::SetLeadingZeros(bool value)
{
    if (value == FLeadingZeros)
        return;
    FLeadingZeros = value;
    Invalidate();
}

void TLEDDisplay::SetLEDContrast(int value)
{
    if (value < 0 || value > 9 || value == FLEDContrast)
        return;
    FLEDContrast = TContrast(value);
    RecomputeUnlit();
    Rebuild();
}

void TLEDDisplay::SetNumDigits(int value)
{
    if (value == FNumDigits)
        return;
    FNumDigits = value;
    Invalidate();
}

void TLEDDisplay::SetSegmentStyle(TSegmentStyle value)
{
    if (value == FSegmentStyle)
        return;
    FSegmentStyle = value;
    Rebuild();
}

// The repaint is requested before the handler hears of the change; the handler may free
// the display, so nothing follows it.
void TLEDDisplay::SetValue(long double value)
{
    if (!(value < FValue || value > FValue))
        return;
    FValue = value;
    Invalidate();
    Change();
}

void TLEDDisplay::Change()
{
    if (OnChange)
        OnChange(this);
}

TBitmap* TLEDDisplay::GlyphBitmap(int index) const
{
    return index >= 0 && index <= 10 ? FGlyphs[size_t(index)].get() : nullptr;
}

int TLEDDisplay::CharToGlyphIndex(char c)
{
    if (c == '-')
        return 10;
    if (c >= '0' && c <= '9')
        return c - '0';
    return -1;
}

std::string TLEDDisplay::FormattedValue() const
{
    if (!std::isfinite(FValue))
        return {};
    std::string s = FormatFixed(FValue, FFractionDigits);
    size_t dot = s.find('.');
    if (dot != std::string::npos)
        s.replace(dot, 1, SeparatorText(DecimalSeparator));
    return s;
}

void TLEDDisplay::SetDigitSegments(int glyph, const std::array<bool, 7>& lit)
{
    for (size_t s = 0; s < 7; ++s)
        FSegmentColors[size_t(glyph)][s] = lit[s] ? FColorLED : FUnlitColor;
}

// Each new glyph is complete before it replaces the old one.
void TLEDDisplay::BuildDigitBitmaps()
{
    for (int g = 0; g <= 10; ++g)
        SetDigitSegments(g, LitSegments[size_t(g)]);
    for (int g = 0; g <= 10; ++g) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(std::max(FDigitWidth, 0), std::max(FDigitHeight, 0));
        if (!bitmap->Empty())
            DrawSegments(bitmap->Canvas(), g);
        FGlyphs[size_t(g)] = std::move(bitmap);
    }
}

// Bevelled segments are polygons outlined in the background colour, so that neighbours
// stay apart; rectangular ones are lines of the segment width.
void TLEDDisplay::DrawSegments(TCanvas* c, int g) const
{
    const int64_t W = FDigitWidth, H = FDigitHeight, L = FDigitLineWidth, T = L + 2;
    c->Pen()->SetColor(FColorBackGround);
    c->Pen()->SetWidth(1);
    c->Brush()->SetColor(FColorBackGround);
    c->Brush()->SetStyle(bsSolid);
    c->Rectangle(0, 0, Px(W), Px(H));
    const auto& colors = FSegmentColors[size_t(g)];
    if (FSegmentStyle == ssBeveled) {
        auto P = [](int64_t x, int64_t y) { return Point(Px(x), Px(y)); };
        const TPoint P1 = P(0, 0), P2 = P(W - 1, 0), P3 = P(T - 1, T - 1), P4 = P(W - T, T - 1),
                     P5 = P(0, H / 2), P6 = P(T - 1, H / 2 - T / 2), P7 = P(W - T, H / 2 - T / 2),
                     P8 = P(W - 1, H / 2), P9 = P(T - 1, H / 2 + T / 2),
                     P10 = P(W - T, H / 2 + T / 2), P11 = P(0, H - 1), P12 = P(W - 1, H - 1),
                     P13 = P(T - 1, H - T), P14 = P(W - T, H - T);
        const std::array<std::vector<TPoint>, 7> shapes = { {
            { P1, P2, P4, P3 },
            { P1, P3, P6, P5 },
            { P2, P8, P7, P4 },
            { P5, P6, P7, P8, P10, P9 },
            { P5, P9, P13, P11 },
            { P8, P12, P14, P10 },
            { P11, P13, P14, P12 },
        } };
        for (size_t s = 0; s < 7; ++s) {
            c->Brush()->SetColor(colors[s]);
            c->Polygon(shapes[s]);
        }
        return;
    }
    c->Pen()->SetWidth(Px(L));
    const int64_t r = W - L / 2 - 1;
    const std::array<std::array<int64_t, 4>, 7> lines = { {
        { L, L / 2, W - L - 1, L / 2 },
        { L / 2, 3 * L / 2, L / 2, H / 2 - L },
        { r, 3 * L / 2, r, H / 2 - L },
        { L, H / 2, W - L, H / 2 },
        { L / 2, H / 2 + L, L / 2, H - 3 * L / 2 },
        { r, H / 2 + L, r, H - 3 * L / 2 },
        { L, H - L / 2 - 1, W - L, H - L / 2 - 1 },
    } };
    for (size_t s = 0; s < 7; ++s) {
        c->Brush()->SetColor(colors[s]);
        c->Pen()->SetColor(colors[s]);
        c->MoveTo(Px(lines[s][0]), Px(lines[s][1]));
        c->LineTo(Px(lines[s][2]), Px(lines[s][3]));
    }
}

// The mark stands just left of the glyph at x, in the LED colour.
void TLEDDisplay::DrawSeparator(TCanvas* c, int64_t x, int64_t y0)
{
    const int64_t H = FDigitHeight, yb = y0 + H;
    c->Pen()->SetWidth(1);
    switch (FDecSeperator) {
    case dsPoint:
        c->Ellipse(Px(x - 6), Px(yb - 5), Px(x - 2), Px(yb - 1));
        break;
    case dsComma:
        c->Ellipse(Px(x - 6), Px(yb - 8), Px(x - 2), Px(yb - 4));
        c->MoveTo(Px(x - 3), Px(yb - 5));
        c->LineTo(Px(x - 6), Px(yb - 1));
        c->LineTo(Px(x - 2), Px(yb - 6));
        break;
    case dsDoublePoint: {
        const int64_t y1 = y0 + H / 3, y2 = y0 + 2 * H / 3;
        c->Ellipse(Px(x - 6), Px(y1 - 2), Px(x - 2), Px(y1 + 2));
        c->Ellipse(Px(x - 6), Px(y2 - 2), Px(x - 2), Px(y2 + 2));
        break;
    }
    case dsMinus:
        c->Pen()->SetWidth(Px(FDigitLineWidth));
        c->MoveTo(Px(x - 6), Px(y0 + H / 2));
        c->LineTo(Px(x - FDigitLineWidth), Px(y0 + H / 2));
        break;
    }
}

// Zeros are put in front of the text up to NumDigits cells; a longer text is cut at the
// right. The padded text is never built: cell i shows a zero while i is within the
// padding. Cells of zero width (more digits than pixels) all land on one spot, where only
// the cells from the last padding zero on can still show.
void TLEDDisplay::Paint()
{
    TCanvas* c = Canvas();
    TRect R = ClientRect();
    // A value that cannot be formatted (an infinity) gives an empty text, which the
    // padding turns into a row of zeros.
    std::string text = std::isfinite(FValue) ? FormatFixed(FValue, FFractionDigits) : std::string();
    int64_t p = 0;
    if (size_t dot = text.find('.'); dot != std::string::npos) {
        p = int64_t(dot) + 1;
        text.erase(dot, 1);
    }
    c->Brush()->SetColor(FColorBackGround);
    c->FillRect(R);
    c->Brush()->SetColor(FColorLED);
    c->Pen()->SetColor(FColorLED);
    if (FNumDigits > 0) {
        const int64_t n = FNumDigits, len = int64_t(text.size());
        const int64_t pad = std::max<int64_t>(0, n - len);
        if (p > 0)
            p += pad;
        const int64_t cell = Width() / FNumDigits;
        const int64_t y0 = (int64_t(Height()) - FDigitHeight) / 2;
        const int64_t first = cell == 0 ? std::max<int64_t>(1, pad) : 1;
        int64_t x = (cell - FDigitWidth) / 2 + (first - 1) * cell;
        bool started = false;
        // Past the right edge of what is painted neither a glyph nor a separator mark
        // (drawn at most 6 pixels left of its cell) can show, however many digits are left.
        const int64_t right = std::min<int64_t>(Width(), c->ClipRect().Right);
        for (int64_t i = first; i <= n; ++i) {
            if (cell > 0 && x - 6 >= right)
                break;
            const char ch = i <= pad ? '0' : text[size_t(i - pad - 1)];
            if (FLeadingZeros || started || ch != '0') {
                int g = CharToGlyphIndex(ch);
                if (g >= 0)
                    c->Draw(Px(x), Px(y0), FGlyphs[size_t(g)].get());
                started = true;
            }
            x += cell;
            if (i == p - 1)
                DrawSeparator(c, x, y0);
        }
    }
    if (FBevelStyle != bvNone) {
        c->Pen()->SetWidth(1);
        const bool raised = FBevelStyle == bvRaised;
        c->Pen()->SetColor(raised ? clBtnHighlight : clBtnShadow);
        c->MoveTo(R.Right - 1, R.Top);
        c->LineTo(R.Left, R.Top);
        c->LineTo(R.Left, R.Bottom - 1);
        c->Pen()->SetColor(raised ? clBtnShadow : clBtnHighlight);
        c->MoveTo(R.Left, R.Bottom - 1);
        c->LineTo(R.Right - 1, R.Bottom - 1);
        c->LineTo(R.Right - 1, R.Top);
        InflateRect(R, -1, -1);
    }
    if (FBorderStyle == bsSingle) {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(R);
    }
}

BEGIN_PROPERTIES(TLEDDisplay, TGraphicControl)
    .Enum("BevelStyle", &TLEDDisplay::BevelStyle, &TLEDDisplay::SetBevelStyle,
        { "bvNone", "bvLowered", "bvRaised", "bvSpace" }).Default(bvLowered)
    .Enum("BorderStyle", &TLEDDisplay::BorderStyle, &TLEDDisplay::SetBorderStyle,
        { "bsNone", "bsSingle" }).Default(bsSingle)
    .Color("ColorBackGround", &TLEDDisplay::ColorBackGround, &TLEDDisplay::SetColorBackGround)
        .Default(clBlack)
    .Color("ColorLED", &TLEDDisplay::ColorLED, &TLEDDisplay::SetColorLED).Default(clLime)
    .Enum("DecSeperator", &TLEDDisplay::DecSeperator, &TLEDDisplay::SetDecSeperator,
        { "dsPoint", "dsComma", "dsDoublePoint", "dsMinus" }).Default(dsComma)
    .Int("DigitHeight", &TLEDDisplay::DigitHeight, &TLEDDisplay::SetDigitHeight).Default(30)
    .Int("DigitWidth", &TLEDDisplay::DigitWidth, &TLEDDisplay::SetDigitWidth).Default(20)
    .Int("DigitLineWidth", &TLEDDisplay::DigitLineWidth, &TLEDDisplay::SetDigitLineWidth)
        .Default(3)
    .Int("FractionDigits", &TLEDDisplay::FractionDigits, &TLEDDisplay::SetFractionDigits)
        .Default(0)
    .Bool("LeadingZeros", &TLEDDisplay::LeadingZeros, &TLEDDisplay::SetLeadingZeros).Default(true)
    .Int("LEDContrast", &TLEDDisplay::LEDContrast, &TLEDDisplay::SetLEDContrast).Default(7)
    .Int("NumDigits", &TLEDDisplay::NumDigits, &TLEDDisplay::SetNumDigits).Default(6)
    .Enum("SegmentStyle", &TLEDDisplay::SegmentStyle, &TLEDDisplay::SetSegmentStyle,
        { "ssRectangular", "ssBeveled" }).Default(ssBeveled)
    .Float("Value", &TLEDDisplay::Value, &TLEDDisplay::SetValue)
    .Event("OnChange", &TLEDDisplay::OnChange)
END_PROPERTIES
