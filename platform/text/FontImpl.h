#pragma once
// Private to platform/text: the FreeType side of a font. A FaceSize is one face file at
// one pixel size with its synthetic styles, holding the FreeType face and the cache of
// rendered glyphs; fonts that resolve to the same key share it. Any thread may use it:
// one mutex guards the FreeType face and the cache.

#include "platform/text/Glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace plat {

struct FaceKey {
    std::string file;
    int index = 0;
    int32_t pixelSize = 0;
    bool synthBold = false;
    bool synthItalic = false;
    friend bool operator==(const FaceKey&, const FaceKey&) = default;
};

class FaceSize {
public:
    // nullptr when the file cannot be opened as a scalable face.
    static std::shared_ptr<FaceSize> Open(const FaceKey& key);
    ~FaceSize();
    FaceSize(const FaceSize&) = delete;
    FaceSize& operator=(const FaceSize&) = delete;

    const FaceKey& Key() const { return FKey; }
    // Design metrics, in font units.
    int32_t UnitsPerEm() const { return FUnitsPerEm; }
    int32_t Ascender() const { return FAscender; }
    int32_t Descender() const { return FDescender; } // positive, below the baseline
    int32_t UnderlinePosition() const { return FUnderlinePosition; } // positive = below
    int32_t AverageWidth() const { return FAverageWidth; } // 0 when the face has none
    const std::string& Family() const { return FFamily; }

    void Glyphs(std::span<const char32_t> chars, std::vector<GlyphRef>& out);

    static constexpr size_t MaxGlyphs = GlyphCacheCapacity;

private:
    FaceSize(const FaceKey& key, FT_Face face);
    GlyphRef Render(char32_t c); // with FMutex held

    FaceKey FKey;
    FT_Face FFace = nullptr;
    int32_t FUnitsPerEm = 2048, FAscender = 0, FDescender = 0, FUnderlinePosition = 0,
            FAverageWidth = 0;
    std::string FFamily;
    std::mutex FMutex;
    std::array<GlyphRef, 256> FLatin; // the common characters without hashing
    std::unordered_map<char32_t, GlyphRef> FOthers;
    size_t FCount = 0;
};

// The resolved side of a Font: its face (null when no font file was found), the em size
// it was opened at and the decoration lines.
class FontImpl {
public:
    std::shared_ptr<FaceSize> face;
    int32_t em = 0;
    TextDecoration decoration;
    GlyphRef missing; // the glyph used for every character when face is null
};

// The FreeType library, created once on first use. Locks the library mutex while a face is
// created or freed, as FreeType asks.
FT_Library FreeTypeLibrary();
std::mutex& FreeTypeMutex();

} // namespace plat
