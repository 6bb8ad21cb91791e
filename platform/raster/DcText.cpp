#include "platform/raster/Dc.h"
#include "platform/raster/Palette.h"
#include "platform/text/Glyphs.h"

#include <algorithm>
#include <optional>

namespace plat {

namespace {

Rect ClampedRect(int64_t l, int64_t t, int64_t r, int64_t b)
{
    return { ClampToInt32(l), ClampToInt32(t), ClampToInt32(r), ClampToInt32(b) };
}

// dst + (src - dst) * a / 255, rounded half away from zero, per channel.
inline Pixel Mix(Pixel dst, Pixel src, uint32_t a)
{
    Pixel out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int d = int(dst >> shift & 0xFF), s = int(src >> shift & 0xFF);
        int v = (s - d) * int(a);
        int ch = d + (v >= 0 ? (v + 127) / 255 : -((-v + 127) / 255));
        out |= Pixel(ch) << shift;
    }
    return out;
}

// Writes text pixels into a surface within a list of device clip rectangles. A palette
// surface gets the nearest entry of its palette for every pixel written.
class TextPainter {
public:
    TextPainter(Surface* target, const Region& clip, const std::optional<Rect>& limit)
        : FTarget(target)
    {
        if (!target || target->Empty())
            return;
        for (const Rect& r : clip.Rects()) {
            Rect c = r.Intersect(target->Bounds());
            if (limit)
                c = c.Intersect(*limit);
            if (!c.Empty()) {
                FRects.push_back(c);
                FBounds = FBounds.Union(c);
            }
        }
        if (BitsPerPixel(target->Format()) <= 8 && !target->Palette().empty())
            FMatcher.emplace(target->Palette());
    }

    bool Empty() const { return FRects.empty(); }

    void Fill(const Rect& box, Color color)
    {
        if (!box.Intersect(FBounds).Empty())
            for (const Rect& clip : FRects) {
                Rect r = box.Intersect(clip);
                if (r.Empty())
                    continue;
                Pixel p = Store(ToPixel(color));
                for (int32_t y = r.top; y < r.bottom; ++y)
                    std::fill(FTarget->Row(y) + r.left, FTarget->Row(y) + r.right, p);
            }
    }

    // The glyph's bitmap with its top-left corner at device (x, y).
    void Blend(const Glyph& g, int64_t x, int64_t y, Pixel src)
    {
        Rect box = ClampedRect(x, y, x + g.width, y + g.rows);
        if (g.coverage.empty() || box.Intersect(FBounds).Empty())
            return;
        for (const Rect& clip : FRects) {
            Rect r = box.Intersect(clip);
            if (r.Empty())
                continue;
            for (int32_t py = r.top; py < r.bottom; ++py) {
                const uint8_t* cov
                    = g.coverage.data() + size_t(py - y) * size_t(g.width) + size_t(r.left - x);
                Pixel* dst = FTarget->Row(py) + r.left;
                for (int32_t px = r.left; px < r.right; ++px, ++cov, ++dst) {
                    if (*cov == 0)
                        continue;
                    *dst = Store(*cov == 255 ? src : Mix(*dst, src, *cov));
                }
            }
        }
    }

private:
    Pixel Store(Pixel p) { return FMatcher ? FMatcher->EntryPixel(FMatcher->Index(p)) : p; }

    Surface* FTarget;
    std::vector<Rect> FRects;
    Rect FBounds;
    std::optional<PaletteMatcher> FMatcher;
};

std::shared_ptr<const Font> ActiveFont(const Dc& dc)
{
    return dc.GetFont() ? dc.GetFont() : Font::Get(FontSpec {});
}

// One line of glyphs with the options that place them. Tabs, when expanded, move the pen
// to the next multiple of tabWidth from the line's start and draw nothing.
struct LineText {
    std::span<const char32_t> chars;
    std::span<const GlyphRef> glyphs;
    std::span<const uint8_t> underlined; // per glyph, may be empty
    int32_t tabWidth = 0; // 0: tabs are ordinary characters
};

int64_t Step(const LineText& line, size_t i, int64_t pos)
{
    if (line.tabWidth > 0 && line.chars[i] == U'\t')
        return (pos / line.tabWidth + 1) * line.tabWidth;
    return pos + line.glyphs[i]->advance;
}

int64_t LineWidth(const LineText& line)
{
    int64_t pos = 0;
    for (size_t i = 0; i < line.glyphs.size(); ++i)
        pos = Step(line, i, pos);
    return pos;
}

struct TextStyle {
    Pixel text;
    std::optional<Color> background;
    const Font* font;
};

// Draws one line with its cell's top-left corner at device (x, y).
void PaintLine(
    TextPainter& painter, const TextStyle& style, const LineText& line, int64_t x, int64_t y)
{
    if (!FontHasGlyphs(*style.font))
        return;
    const FontMetrics& m = style.font->Metrics();
    const int64_t width = LineWidth(line);
    if (style.background)
        painter.Fill(ClampedRect(x, y, x + width, y + m.height), *style.background);
    const int64_t baseline = y + m.ascent;
    const TextDecoration dec = FontDecoration(*style.font);
    const Color textColor = ToColor(style.text);
    int64_t pos = 0;
    for (size_t i = 0; i < line.glyphs.size(); ++i) {
        const int64_t next = Step(line, i, pos);
        const Glyph& g = *line.glyphs[i];
        if (!(line.tabWidth > 0 && line.chars[i] == U'\t'))
            painter.Blend(g, x + pos + g.left, baseline - g.top, style.text);
        if (!line.underlined.empty() && line.underlined[i]) {
            int64_t top = baseline + dec.underline;
            painter.Fill(ClampedRect(x + pos, top, x + next, top + dec.thickness), textColor);
        }
        pos = next;
    }
    if (style.font->Spec().underline) {
        int64_t top = baseline + dec.underline;
        painter.Fill(ClampedRect(x, top, x + width, top + dec.thickness), textColor);
    }
    if (style.font->Spec().strikeOut) {
        int64_t top = baseline + dec.strikeOut;
        painter.Fill(ClampedRect(x, top, x + width, top + dec.thickness), textColor);
    }
}

TextStyle StyleOf(const Dc& dc, const Font& font)
{
    TextStyle s { ToPixel(dc.TextColor()) & 0xFFFFFF, std::nullopt, &font };
    if (dc.GetBkMode() == BkMode::Opaque)
        s.background = dc.BkColor();
    return s;
}

// A line as a range of the prepared text.
struct LineRange {
    size_t begin = 0, end = 0;
};

// Splits the text into lines at CR, LF and CR LF.
std::vector<LineRange> SplitLines(std::span<const char32_t> chars)
{
    std::vector<LineRange> lines;
    size_t start = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] != U'\n' && chars[i] != U'\r')
            continue;
        lines.push_back({ start, i });
        if (chars[i] == U'\r' && i + 1 < chars.size() && chars[i + 1] == U'\n')
            ++i;
        start = i + 1;
    }
    lines.push_back({ start, chars.size() });
    return lines;
}

// Greedy word wrap at spaces: a line takes words while they fit in maxWidth; a word wider
// than maxWidth stands alone on its line and overflows. Spaces at a break are dropped.
void WrapLine(const LineText& line, size_t offset, int64_t maxWidth, std::vector<LineRange>& out)
{
    const size_t n = line.chars.size();
    auto isSpace = [&](size_t i) { return line.chars[i] == U' '; };
    size_t lineBegin = 0, lineEnd = 0;
    int64_t pos = 0;
    size_t i = 0;
    while (i < n) {
        // The next word with the spaces before it: [i, wordEnd).
        size_t wordStart = i;
        while (wordStart < n && isSpace(wordStart))
            ++wordStart;
        size_t wordEnd = wordStart;
        while (wordEnd < n && !isSpace(wordEnd))
            ++wordEnd;
        int64_t next = pos;
        for (size_t k = i; k < wordEnd; ++k)
            next = Step(line, k, next);
        if (next <= maxWidth || lineEnd == lineBegin) {
            pos = next;
        } else {
            out.push_back({ offset + lineBegin, offset + lineEnd });
            lineBegin = wordStart;
            pos = 0;
            for (size_t k = wordStart; k < wordEnd; ++k)
                pos = Step(line, k, pos);
        }
        lineEnd = wordEnd;
        i = wordEnd;
    }
    out.push_back({ offset + lineBegin, offset + lineEnd });
}

} // namespace

Size Dc::TextExtent(std::string_view text) const
{
    return ActiveFont(*this)->Extent(text);
}

void Dc::TextOut(int32_t x, int32_t y, std::string_view text)
{
    auto font = ActiveFont(*this);
    TextPainter painter(Target(), ClipRef(), std::nullopt);
    if (painter.Empty())
        return;
    std::vector<char32_t> chars;
    DecodeText(text, chars);
    std::vector<GlyphRef> glyphs;
    FontGlyphs(*font, chars, glyphs);
    LineText line { chars, glyphs, {}, 0 };
    PaintLine(
        painter, StyleOf(*this, *font), line, int64_t(x) + Origin().x, int64_t(y) + Origin().y);
}

int32_t Dc::DrawText(std::string_view text, Rect& r, uint32_t flags)
{
    auto font = ActiveFont(*this);
    const FontMetrics& m = font->Metrics();

    std::vector<char32_t> decoded, chars;
    DecodeText(text, decoded);
    std::vector<uint8_t> underlined;
    if (flags & dt::NoPrefix) {
        chars = std::move(decoded);
    } else {
        // "&x" shows x underlined, "&&" one ampersand; a trailing "&" is dropped.
        chars.reserve(decoded.size());
        underlined.reserve(decoded.size());
        for (size_t i = 0; i < decoded.size(); ++i) {
            bool mark = false;
            if (decoded[i] == U'&') {
                if (i + 1 == decoded.size())
                    break;
                ++i;
                mark = decoded[i] != U'&';
            }
            chars.push_back(decoded[i]);
            underlined.push_back(mark);
        }
    }
    std::vector<GlyphRef> glyphs;
    FontGlyphs(*font, chars, glyphs);
    const int32_t tabWidth = (flags & dt::ExpandTabs) ? std::max(1, m.averageCharWidth * 8) : 0;
    const LineText all { chars, glyphs, underlined, tabWidth };
    auto slice = [&](LineRange lr) {
        LineText line = all;
        line.chars = all.chars.subspan(lr.begin, lr.end - lr.begin);
        line.glyphs = all.glyphs.subspan(lr.begin, lr.end - lr.begin);
        if (!all.underlined.empty())
            line.underlined = all.underlined.subspan(lr.begin, lr.end - lr.begin);
        return line;
    };

    std::vector<LineRange> lines;
    if (flags & dt::SingleLine) {
        lines.push_back({ 0, chars.size() });
    } else {
        for (LineRange lr : SplitLines(chars)) {
            if (flags & dt::WordBreak)
                WrapLine(slice(lr), lr.begin, r.Width(), lines);
            else
                lines.push_back(lr);
        }
    }

    const int64_t textHeight = int64_t(lines.size()) * m.height;
    const int32_t result = int32_t(std::min<int64_t>(textHeight, INT32_MAX));
    if (flags & dt::CalcRect) {
        int64_t widest = 0;
        for (LineRange lr : lines)
            widest = std::max(widest, LineWidth(slice(lr)));
        r.right = int32_t(std::min<int64_t>(int64_t(r.left) + widest, INT32_MAX));
        r.bottom = int32_t(std::min<int64_t>(int64_t(r.top) + textHeight, INT32_MAX));
        return result;
    }

    int64_t y = r.top;
    if (flags & dt::SingleLine) {
        if (flags & dt::VCenter)
            y = r.top + (r.Height() - textHeight) / 2;
        else if (flags & dt::Bottom)
            y = r.bottom - textHeight;
    }
    const Point origin = Origin();
    std::optional<Rect> limit;
    if (!(flags & dt::NoClip))
        limit = r.Offset(origin.x, origin.y);
    TextPainter painter(Target(), ClipRef(), limit);
    if (painter.Empty())
        return result;
    const TextStyle style = StyleOf(*this, *font);
    for (LineRange lr : lines) {
        LineText line = slice(lr);
        int64_t x = r.left;
        if (flags & dt::Center)
            x = r.left + (r.Width() - LineWidth(line)) / 2;
        else if (flags & dt::Right)
            x = r.right - LineWidth(line);
        PaintLine(painter, style, line, x + origin.x, y + origin.y);
        y += m.height;
    }
    return result;
}

} // namespace plat
