#include "platform/system/Failure.h"
#include "platform/text/FontImpl.h"

#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

std::mutex gLibraryMutex;
std::once_flag gLibraryOnce;
FT_Library gLibrary = nullptr;

int32_t RoundedPixels(FT_Pos v26_6)
{
    return int32_t((v26_6 + 32) >> 6);
}

} // namespace

std::mutex& FreeTypeMutex()
{
    return gLibraryMutex;
}

FT_Library FreeTypeLibrary()
{
    std::call_once(gLibraryOnce, [] {
        if (FT_Init_FreeType(&gLibrary) != 0) {
            gLibrary = nullptr;
            ReportFailure("the font rasterizer could not be initialised");
        }
    });
    return gLibrary;
}

std::shared_ptr<FaceSize> FaceSize::Open(const FaceKey& key)
{
    FT_Library lib = FreeTypeLibrary();
    if (!lib || key.file.empty() || key.pixelSize <= 0)
        return nullptr;
    FT_Face face = nullptr;
    {
        std::lock_guard lock(FreeTypeMutex());
        if (FT_New_Face(lib, key.file.c_str(), key.index, &face) != 0)
            return nullptr;
        if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, FT_UInt(key.pixelSize)) != 0) {
            FT_Done_Face(face);
            return nullptr;
        }
    }
    return std::shared_ptr<FaceSize>(new FaceSize(key, face));
}

FaceSize::FaceSize(const FaceKey& key, FT_Face face)
    : FKey(key)
    , FFace(face)
{
    FUnitsPerEm = std::max<int32_t>(face->units_per_EM, 1);
    FAscender = face->ascender;
    FDescender = -face->descender;
    FUnderlinePosition = -face->underline_position;
    FFamily = face->family_name ? face->family_name : "";
    // A face without an ascender (some Type 1 files) falls back to its bounding box.
    if (FAscender <= 0 && FDescender <= 0) {
        FAscender = int32_t(face->bbox.yMax);
        FDescender = int32_t(-face->bbox.yMin);
    }
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF)
        FAverageWidth = os2->xAvgCharWidth;
}

FaceSize::~FaceSize()
{
    std::lock_guard lock(FreeTypeMutex());
    FT_Done_Face(FFace);
}

GlyphRef FaceSize::Render(char32_t c)
{
    auto g = std::make_shared<Glyph>();
    FT_UInt index = FT_Get_Char_Index(FFace, FT_ULong(c));
    constexpr FT_Int32 flags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
    if (FT_Load_Glyph(FFace, index, flags) != 0
        && (index == 0 || FT_Load_Glyph(FFace, 0, flags) != 0)) {
        g->advance = std::max(1, FKey.pixelSize / 2);
        return g;
    }
    FT_GlyphSlot slot = FFace->glyph;
    if (FKey.synthItalic)
        FT_GlyphSlot_Oblique(slot);
    if (FKey.synthBold)
        FT_GlyphSlot_Embolden(slot);
    g->advance = RoundedPixels(slot->advance.x);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return g;

    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0)
        return g;
    g->left = slot->bitmap_left;
    g->top = slot->bitmap_top;
    g->width = int32_t(bm.width);
    g->rows = int32_t(bm.rows);
    g->coverage.resize(size_t(bm.width) * bm.rows);
    for (unsigned y = 0; y < bm.rows; ++y) {
        const unsigned char* src = bm.buffer + ptrdiff_t(y) * bm.pitch;
        uint8_t* dst = g->coverage.data() + size_t(y) * bm.width;
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.num_grays == 256) {
            std::memcpy(dst, src, bm.width);
        } else if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (unsigned x = 0; x < bm.width; ++x)
                dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.num_grays > 1) {
            for (unsigned x = 0; x < bm.width; ++x)
                dst[x] = uint8_t(src[x] * 255 / (bm.num_grays - 1));
        }
    }
    return g;
}

void FaceSize::Glyphs(std::span<const char32_t> chars, std::vector<GlyphRef>& out)
{
    out.reserve(out.size() + chars.size());
    std::lock_guard lock(FMutex);
    for (char32_t c : chars) {
        GlyphRef* slot = nullptr;
        if (c < FLatin.size()) {
            slot = &FLatin[c];
        } else {
            auto it = FOthers.find(c);
            if (it != FOthers.end())
                slot = &it->second;
        }
        if (slot && *slot) {
            out.push_back(*slot);
            continue;
        }
        if (FCount >= MaxGlyphs) {
            // Callers hold their own references, so dropping everything is safe.
            FLatin.fill(nullptr);
            FOthers.clear();
            FCount = 0;
        }
        GlyphRef g = Render(c);
        if (c < FLatin.size())
            FLatin[c] = g;
        else
            FOthers[c] = g;
        ++FCount;
        out.push_back(std::move(g));
    }
}

void DecodeText(std::string_view text, std::vector<char32_t>& out)
{
    out.reserve(out.size() + text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        unsigned char b = p[i];
        int len = b < 0x80       ? 1
            : (b & 0xE0) == 0xC0 ? 2
            : (b & 0xF0) == 0xE0 ? 3
            : (b & 0xF8) == 0xF0 ? 4
                                 : 0;
        char32_t c = len == 2 ? b & 0x1F : len == 3 ? b & 0x0F : b & 0x07;
        bool ok = len == 1 || (len > 1 && i + size_t(len) <= n);
        for (int k = 1; ok && k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                c = c << 6 | (p[i + k] & 0x3F);
        }
        if (ok && len > 1) {
            // Overlong forms, surrogates and values past the last code point are not valid.
            static constexpr char32_t minimum[5] = { 0, 0, 0x80, 0x800, 0x10000 };
            ok = c >= minimum[len] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        }
        if (len == 1) {
            out.push_back(b);
            ++i;
        } else if (ok) {
            out.push_back(c);
            i += size_t(len);
        } else {
            out.push_back(b);
            ++i;
        }
    }
}

void FontGlyphs(const Font& font, std::span<const char32_t> chars, std::vector<GlyphRef>& out)
{
    const FontImpl* impl = font.Impl();
    if (impl && impl->face) {
        impl->face->Glyphs(chars, out);
        return;
    }
    GlyphRef missing = impl && impl->missing ? impl->missing : std::make_shared<const Glyph>();
    out.insert(out.end(), chars.size(), missing);
}

TextDecoration FontDecoration(const Font& font)
{
    return font.Impl() ? font.Impl()->decoration : TextDecoration {};
}

bool FontHasGlyphs(const Font& font)
{
    return font.Impl() && font.Impl()->face;
}

std::string FontFaceName(const Font& font)
{
    return font.Impl() && font.Impl()->face ? font.Impl()->face->Family() : std::string();
}

} // namespace plat
