#pragma once
// The glyph interface that the raster engine draws from, free of any font library type.
// A glyph is an 8-bit coverage bitmap placed relative to the pen position on the baseline,
// with its advance rounded to whole pixels. Glyphs are immutable and shared: a caller
// keeps the references it asked for, so the cache may drop its own copies at any time.

#include "platform/text/Font.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

struct Glyph {
    int32_t advance = 0;
    int32_t left = 0; // bitmap's left edge right of the pen
    int32_t top = 0; // bitmap's top row above the baseline
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> coverage; // rows x width, 0 = none, 255 = full
};
using GlyphRef = std::shared_ptr<const Glyph>;

// The glyph cache of a face at one size holds at most this many glyphs; when full it
// starts again empty.
constexpr size_t GlyphCacheCapacity = 4096;

// Lines drawn with the text, as offsets from the baseline (positive = down).
struct TextDecoration {
    int32_t underline = 1;
    int32_t strikeOut = -3;
    int32_t thickness = 1;
};

// UTF-8 to code points; a byte that does not start a valid sequence is taken as the
// Latin-1 character of its value. Appends to out.
void DecodeText(std::string_view text, std::vector<char32_t>& out);

// The glyphs of the code points, in order. A font without a face gives glyphs that have an
// advance and no pixels.
void FontGlyphs(const Font& font, std::span<const char32_t> chars, std::vector<GlyphRef>& out);

TextDecoration FontDecoration(const Font& font);

// False for a font that found no face: it measures but draws nothing.
bool FontHasGlyphs(const Font& font);

// The family name of the face a font resolved to; empty when it has none.
std::string FontFaceName(const Font& font);

// Switches font lookup to an empty font set (true) or back to the system's fonts (false)
// and forgets the cached fonts, so tests can reach the path with no font file at all.
// Fonts already handed out stay valid.
void SimulateNoFontsForTesting(bool noFonts);

} // namespace plat
