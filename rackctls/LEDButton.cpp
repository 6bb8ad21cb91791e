#include "rackctls/RackCtls.h"

#include "framework/core/TypInfo.h"

#include <algorithm>
#include <cstdint>
#include <vector>

TLEDButton::TLEDButton(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FFont(std::make_unique<TFont>())
    , FGlyph(std::make_unique<TBitmap>())
{
    ContrastShades(FColor, 4, 5, FLightShade, FDarkShade);
    TColor light;
    ContrastShades(FColorLED, FLEDContrast, FLEDContrast, light, FUnlitColor);
    FFont->OnChange = TNotifyEvent(this, &TLEDButton::PartChanged);
    FGlyph->OnChange = TNotifyEvent(this, &TLEDButton::PartChanged);
    SetHeight(45);
    SetWidth(45);
}

TLEDButton::~TLEDButton()
{
    FFont->OnChange = nullptr;
    FGlyph->OnChange = nullptr;
}

void TLEDButton::PartChanged(TObject*) { Invalidate(); }

void TLEDButton::SetBeveled(bool value)
{
    if (value == FBeveled)
        return;
    FBeveled = value;
    Invalidate();
}

void TLEDButton::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    Invalidate();
}

void TLEDButton::SetButtonDirection(TButtonDirection value)
{
    if (value == FButtonDirection)
        return;
    FButtonDirection = value;
    Invalidate();
}

void TLEDButton::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    ContrastShades(FColor, 4, 5, FLightShade, FDarkShade);
    Invalidate();
}

void TLEDButton::SetColorLED(TColor value)
{
    if (value == FColorLED)
        return;
    FColorLED = value;
    TColor light;
    ContrastShades(FColorLED, FLEDContrast, FLEDContrast, light, FUnlitColor);
    Invalidate();
}

void TLEDButton::SetDepth(int value)
{
    if (value == FDepth)
        return;
    FDepth = value;
    Invalidate();
}

void TLEDButton::SetFont(TFont* value)
{
    if (value && value != FFont.get())
        FFont->Assign(value);
    Invalidate();
}

// In a form designer a strip whose width is a whole multiple of its height sets the
// number of images; a count beyond the four a strip may hold counts as a single image.
void TLEDButton::SetGlyph(TBitmap* value)
{
    if (value != FGlyph.get())
        FGlyph->Assign(value);
    if (HasState(csDesigning)) {
        int w = FGlyph->Width(), h = FGlyph->Height();
        int n = h > 0 && w % h == 0 ? w / h : 1;
        FNumGlyphs = TNumGlyphs(n >= 1 && n <= 4 ? n : 1);
    }
    Invalidate();
}

void TLEDButton::SetLEDContrast(int value)
{
    if (value < 0 || value > 9 || value == FLEDContrast)
        return;
    FLEDContrast = TContrast(value);
    TColor light;
    ContrastShades(FColorLED, FLEDContrast, FLEDContrast, light, FUnlitColor);
    Invalidate();
}

void TLEDButton::SetNumGlyphs(int value)
{
    if (value < 0 || value > 4 || value == FNumGlyphs)
        return;
    FNumGlyphs = TNumGlyphs(value);
    Invalidate();
}

void TLEDButton::SetShowLED(bool value)
{
    if (value == FShowLED)
        return;
    FShowLED = value;
    Invalidate();
}

void TLEDButton::SetStateOn(bool value)
{
    if (value == FStateOn)
        return;
    FStateOn = value;
    Invalidate();
}

void TLEDButton::SetSwitching(bool value) { FSwitching = value; }

void TLEDButton::SetTextPosition(TTextPosition value)
{
    if (value == FTextPosition)
        return;
    FTextPosition = value;
    Invalidate();
}

bool TLEDButton::IsAccelChar(WPARAM charCode, const std::string& caption)
{
    auto upper = [](unsigned c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    size_t p = caption.find('&');
    if (p == std::string::npos || p + 1 >= caption.size())
        return false;
    return upper(uint8_t(caption[p + 1])) == upper(unsigned(charCode));
}

// Any mouse button presses the key; the release toggles a switching button wherever the
// pointer is, and the key is painted at once.
void TLEDButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Enabled()) {
        FPressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TLEDButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Enabled()) {
        FPressed = false;
        if (FSwitching)
            FStateOn = !FStateOn;
        Paint();
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

// The accelerator is consumed even by a disabled button. The click comes first, then the
// toggle, as with the mouse; the click's handler may free the button.
void TLEDButton::CMDialogChar(TMessage& Message)
{
    if (!IsAccelChar(Message.WParam, Caption())) {
        TGraphicControl::CMDialogChar(Message);
        return;
    }
    Message.Result = 1;
    KeyClick();
}

void TLEDButton::KeyClick()
{
    if (!Enabled())
        return;
    auto alive = AliveToken();
    Click();
    if (!*alive)
        return;
    if (FSwitching)
        FStateOn = !FStateOn;
    Invalidate();
}

void TLEDButton::CMTextChanged(TMessage&) { Invalidate(); }

// The width of "W" serves as the height of a caption line outside the key.
TRect TLEDButton::KeyRect(TCanvas* canvas) const
{
    TRect r = ClientRect();
    if (FTextPosition == tpAbove)
        r.Top += canvas->TextWidth("W") + 2;
    else if (FTextPosition == tpBelow)
        r.Bottom -= canvas->TextWidth("W") + 2;
    return r;
}

void TLEDButton::Paint()
{
    TCanvas* c = Canvas();
    c->SetFont(FFont.get());
    TRect R = ClientRect();
    if (!Caption().empty() && (FTextPosition == tpAbove || FTextPosition == tpBelow))
        DrawCaption(c, R);
    R = KeyRect(c);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->FillRect(R);
    DrawButtonFrame(c);
    c->Pen()->SetColor(clBlack);
    if (FShowLED)
        DrawLED(c, R);
    if (!Caption().empty() && FTextPosition == tpOnButton)
        DrawCaption(c, R);
    c->Brush()->SetColor(FColor);
    if (FNumGlyphs > 0 && FTextPosition != tpOnButton)
        DrawGlyph(c, R);
}

void TLEDButton::DrawButtonFrame(TCanvas* c)
{
    TRect F = KeyRect(c);
    if (FBorderStyle == bsSingle) {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(F);
        InflateRect(F, -1, -1);
    }
    c->Pen()->SetWidth(1);
    const int L = F.Left, T = F.Top, Rt = F.Right, B = F.Bottom;
    const bool p = FPressed, bev = FBeveled;
    const std::vector<int> lines = FrameLines(Rt - int64_t(L), B - int64_t(T), p);
    auto line = [c](int x1, int y1, int x2, int y2) {
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    auto light = [&] { c->Pen()->SetColor(FLightShade); };
    auto dark = [&] { c->Pen()->SetColor(FDarkShade); };

    switch (FButtonDirection) {
    case bdBottomUp:
        light();
        line(Rt - 1, T, L, T);
        if (!bev)
            line(L, T, L, B - 1);
        else
            for (int i : lines)
                p ? line(L, T, L + i / 2, B - 1) : line(L, T, L + i, B - 1 - i);
        dark();
        if (!bev)
            line(Rt - 1, T, Rt - 1, B);
        else
            for (int i : lines)
                p ? line(Rt - 1, T, Rt - 1 - i / 2, B - 1) : line(Rt - 1, T, Rt - 1 - i, B - 1 - i);
        if (p)
            line(L, B - 1, Rt - 1, B - 1);
        else
            for (int i : lines)
                bev ? line(L + i, B - 1 - i, Rt - 1 - i, B - 1 - i) : line(L, B - 1 - i, Rt - 1, B - 1 - i);
        break;
    case bdTopUp:
        light();
        if (p)
            line(L, T, Rt - 1, T);
        else
            for (int i : lines)
                bev ? line(L + i, T + i, Rt - 1 - i, T + i) : line(L, T + i, Rt - 1, T + i);
        if (!bev)
            line(L, T, L, B - 1);
        else
            for (int i : lines)
                p ? line(L, B - 1, L + i / 2, T) : line(L, B - 1, L + i, T + i);
        dark();
        if (!bev)
            line(Rt - 1, T, Rt - 1, B);
        else
            for (int i : lines)
                p ? line(Rt - 1, B - 1, Rt - 1 - i / 2, T) : line(Rt - 1, B - 1, Rt - 1 - i, T + i);
        line(Rt - 1, B - 1, L, B - 1);
        break;
    case bdLeftUp:
        light();
        if (!bev)
            line(L, T, Rt - 1, T);
        else
            for (int i : lines)
                p ? line(Rt - 1, T, L, T + i / 2) : line(Rt - 1, T, L + i, T + i);
        if (p)
            line(L, T, L, B - 1);
        else
            for (int i : lines)
                bev ? line(L + i, T + i, L + i, B - 1 - i) : line(L + i, T, L + i, B - 1);
        dark();
        line(Rt - 1, T, Rt - 1, B - 1);
        if (!bev)
            line(Rt - 1, B - 1, L, B - 1);
        else
            for (int i : lines)
                p ? line(Rt - 1, B - 1, L, B - 1 - i / 2) : line(Rt - 1, B - 1, L + i, B - 1 - i);
        break;
    case bdRightUp:
        light();
        if (!bev)
            line(L, T, Rt - 1, T);
        else
            for (int i : lines)
                p ? line(L, T, Rt - 1, T + i / 2) : line(L, T, Rt - 1 - i, T + i);
        line(L, T, L, B - 1);
        dark();
        if (p)
            line(Rt - 1, T, Rt - 1, B - 1);
        else
            for (int i : lines)
                bev ? line(Rt - 1 - i, T + i, Rt - 1 - i, B - 1 - i) : line(Rt - 1 - i, T, Rt - 1 - i, B - 1);
        if (!bev)
            line(L, B - 1, Rt - 1, B - 1);
        else
            for (int i : lines)
                p ? line(L, B - 1, Rt - 1, B - 1 - i / 2) : line(L, B - 1, Rt - 1 - i, B - 1 - i);
        break;
    case bdNone:
        break;
    }
}

// The indices i of the frame's lines, 0 .. Depth, less those that cannot change a pixel.
// A face line, or an unpressed fan line, with an index past w + h lies outside the w x h
// key or only retraces its first edge. A pressed fan runs from a corner to a point that
// slides along the far edge by k = i / 2; past the key's longer side each line crosses
// the key along its length, and a line's offset from the corner's edge at any column
// falls as k grows, by less than a pixel between two lines whose 1 / k differ by less
// than 1 / S (S = w h, with a margin). Lines chosen that close cover every offset the
// lines between them have; from k = S on, no line between the last two does anything.
// No surface is larger than 2^15 pixels a side.
std::vector<int> TLEDButton::FrameLines(int64_t w, int64_t h, bool pressed) const
{
    w = std::clamp<int64_t>(w, 0, 1 << 15);
    h = std::clamp<int64_t>(h, 0, 1 << 15);
    std::vector<int> lines;
    if (FDepth < 0)
        return lines;
    if (!pressed) {
        const int n = int(std::min<int64_t>(FDepth, w + h + 2));
        for (int i = 0; i <= n; ++i)
            lines.push_back(i);
        return lines;
    }
    const int64_t kLast = FDepth / 2, longSide = std::max(w, h) + 2;
    const double S = double(w + 2) * double(h + 2);
    for (int64_t k = 0;;) {
        lines.push_back(int(2 * k));
        if (k >= kLast)
            break;
        int64_t next = k + 1;
        if (double(k) >= S)
            next = kLast;
        else if (k >= longSide)
            next = std::max<int64_t>(k + 1, int64_t(double(k) * S / (S - double(k))) - 1);
        k = std::min(next, kLast);
    }
    if (lines.back() != FDepth)
        lines.push_back(FDepth);
    return lines;
}

// A strip five pixels thick along the front face; the face content sinks with it while
// the key is held. A disabled button's LED vanishes into the face. Coordinates are taken
// in 64 bits, so any Depth is safe; a strip that ends up beyond the key is not seen.
void TLEDButton::DrawLED(TCanvas* c, TRect& R)
{
    c->Brush()->SetColor(!Enabled() ? FColor : FStateOn ? FColorLED : FUnlitColor);
    const int64_t D = FDepth, h = D / 2;
    int64_t L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    if (FPressed) {
        switch (FButtonDirection) {
        case bdTopUp: T -= h, B -= h; break;
        case bdLeftUp: L -= h, Rt -= h; break;
        case bdRightUp: L += h, Rt += h; break;
        default: T += h, B += h; break;
        }
    }
    auto px = [](int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN / 4, INT32_MAX / 4)); };
    R = Rect(px(L), px(T), px(Rt), px(B));
    switch (FButtonDirection) {
    case bdTopUp:
        c->Rectangle(px(L + D + 3), px(T + D + 4), px(Rt - D - 3), px(T + D + 9));
        R.Top = px(T + D + 7);
        break;
    case bdLeftUp:
        c->Rectangle(px(L + D + 4), px(T + D + 3), px(L + D + 9), px(B - D - 3));
        R.Left = px(L + D + 9);
        break;
    case bdRightUp:
        c->Rectangle(px(Rt - D - 9), px(T + D + 3), px(Rt - D - 4), px(B - D - 3));
        R.Right = px(Rt - D - 9);
        break;
    default:
        c->Rectangle(px(L + D + 3), px(B - D - 9), px(Rt - D - 3), px(B - D - 4));
        R.Bottom = px(B - D - 7);
        break;
    }
}

void TLEDButton::DrawCaption(TCanvas* c, TRect R)
{
    c->Brush()->SetStyle(bsClear);
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    uint32_t flags = DT_SINGLELINE | DT_CENTER;
    if (FTextPosition == tpBelow)
        flags |= DT_BOTTOM;
    else if (FTextPosition == tpOnButton)
        flags |= DT_VCENTER;
    DrawText(c, Caption(), R, flags);
}

// Image k of the strip covers columns k*w .. k*w + w - 1. An image the strip does not hold
// falls back to image 0; an empty glyph draws nothing.
void TLEDButton::DrawGlyph(TCanvas* c, const TRect& R)
{
    if (FGlyph->Empty() || FNumGlyphs == 0)
        return;
    const int w = FGlyph->Width() / FNumGlyphs, h = FGlyph->Height();
    if (w <= 0)
        return;
    int k = 0;
    if (!Enabled())
        k = 1;
    else if (FStateOn && FNumGlyphs >= 3)
        k = 2;
    if (k >= FNumGlyphs)
        k = 0;
    // Centred with an unsigned shift: a glyph wider than the face lands far off to the right.
    int x = int(uint32_t(R.Left + R.Right - w) >> 1);
    int y = int(uint32_t(R.Top + R.Bottom - h) >> 1);
    c->Pen()->SetColor(FColor);
    TColor key = FGlyph->Image().GetColor(0, h - 1);
    c->BrushCopy(Bounds(x, y, w, h), FGlyph.get(), Bounds(k * w, 0, w, h), key);
}

BEGIN_PROPERTIES(TLEDButton, TGraphicControl)
    .Bool("Beveled", &TLEDButton::Beveled, &TLEDButton::SetBeveled).Default(true)
    .Enum("BorderStyle", &TLEDButton::BorderStyle, &TLEDButton::SetBorderStyle,
        { "bsNone", "bsSingle" }).Default(bsSingle)
    .Enum("ButtonDirection", &TLEDButton::ButtonDirection, &TLEDButton::SetButtonDirection,
        { "bdBottomUp", "bdLeftUp", "bdNone", "bdRightUp", "bdTopUp" }).Default(bdBottomUp)
    .Color("Color", &TLEDButton::Color, &TLEDButton::SetColor).Default(clGray)
    .Color("ColorLED", &TLEDButton::ColorLED, &TLEDButton::SetColorLED).Default(clBlue)
    .Int("Depth", &TLEDButton::Depth, &TLEDButton::SetDepth).Default(3)
    .Object("Font", &TLEDButton::Font)
    .Object("Glyph", &TLEDButton::Glyph)
    .Int("LEDContrast", &TLEDButton::LEDContrast, &TLEDButton::SetLEDContrast).Default(6)
    .Int("NumGlyphs", &TLEDButton::NumGlyphs, &TLEDButton::SetNumGlyphs).Default(1)
    .Bool("ShowLED", &TLEDButton::ShowLED, &TLEDButton::SetShowLED).Default(true)
    .Bool("StateOn", &TLEDButton::StateOn, &TLEDButton::SetStateOn).Default(false)
    .Bool("Switching", &TLEDButton::Switching, &TLEDButton::SetSwitching).Default(true)
    .Enum("TextPosition", &TLEDButton::TextPosition, &TLEDButton::SetTextPosition,
        { "tpAbove", "tpBelow", "tpNone", "tpOnButton" }).Default(tpNone)
END_PROPERTIES

// Naming each class links its unit, and with it the unit's property table.
bool RegisterRackCtls()
{
    return FindClassInfo(std::type_index(typeid(TLEDButton)))
        && FindClassInfo(std::type_index(typeid(TScrewPanel)))
        && FindClassInfo(std::type_index(typeid(TLEDDisplay)));
}
