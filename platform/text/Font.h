#pragma once
// Fonts found through fontconfig and rendered by FreeType with grey-scale anti-aliasing.
// A font is asked for by family, height, weight and style; a height below 0 is the
// character height in pixels (the em size), above 0 the cell height (ascent + descent),
// 0 a default of 13 pixels cell height. "Arial" maps to Liberation Sans, "MS Sans Serif"
// and other unknown families to a sans face. Resolved fonts are shared and cached per
// (face, size) together with their glyphs; they are immutable and thread-safe.
//
// Text is UTF-8; a byte that is not valid UTF-8 is taken as the Latin-1 character of that
// value, so any bytes can be measured and drawn.

#include "platform/raster/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace plat {

struct FontSpec {
    std::string family = "MS Sans Serif";
    int32_t height = -11;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct FontMetrics {
    int32_t ascent = 0;          // pixels above the baseline
    int32_t descent = 0;         // pixels below it
    int32_t height = 0;          // ascent + descent, the cell height
    int32_t internalLeading = 0; // height - em size
    int32_t averageCharWidth = 0;
};

class FontImpl;

class Font {
public:
    // Never fails: with no font files at all it gives a font without glyphs whose
    // metrics still follow the requested size (see LastError()).
    static std::shared_ptr<const Font> Get(const FontSpec& spec);

    const FontSpec& Spec() const { return FSpec; }
    const FontMetrics& Metrics() const { return FMetrics; }
    // Advance width and cell height of a single line of text.
    Size Extent(std::string_view text) const;

    const FontImpl* Impl() const { return FImpl.get(); }
    explicit Font(const FontSpec& spec);   // use Get
    ~Font();

private:
    FontSpec FSpec;
    FontMetrics FMetrics;
    std::unique_ptr<FontImpl> FImpl;
};

// Reads the font configuration on a worker thread, so that the first font asked for finds
// it read while the program has gone on with other work; only the first call starts it.
// Fontconfig reads numbers by the process's locale: whoever changes the locale calls
// FinishFontLookup first, which waits for the worker if one is running.
void PrepareFontLookup();
void FinishFontLookup();

// Flags of Dc::DrawText, with the values of the classic call.
namespace dt {
constexpr uint32_t Top = 0x0, Left = 0x0, Center = 0x1, Right = 0x2, VCenter = 0x4,
                   Bottom = 0x8, WordBreak = 0x10, SingleLine = 0x20, ExpandTabs = 0x40,
                   NoClip = 0x100, CalcRect = 0x400, NoPrefix = 0x800;
}

} // namespace plat
