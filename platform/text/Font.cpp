#include "platform/system/Failure.h"
#include "platform/text/FontImpl.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <system_error>
#include <thread>
#include <tuple>

namespace plat {

namespace {

// Heights beyond this many pixels are taken as this many; nothing on screen needs more
// and the glyph bitmaps stay of a sane size.
constexpr int32_t MaxPixels = 2048;
constexpr int32_t DefaultCellHeight = 13;

std::mutex gResolveMutex; // fontconfig, the face cache and the test switch
std::once_flag gFcOnce;
bool gFcReady = false;

void LoadFontConfiguration()
{
    std::call_once(gFcOnce, [] { gFcReady = FcInit() == FcTrue; });
}

// The worker that reads the configuration ahead; the program's end waits for it.
struct ConfigReader {
    std::mutex mutex;
    std::thread thread;
    bool started = false;
    ~ConfigReader()
    {
        if (thread.joinable())
            thread.join();
    }
} gConfigReader;

bool gNoFonts = false;
FcConfig* gEmptyConfig = nullptr;
std::map<std::tuple<std::string, int, int32_t, bool, bool>, std::shared_ptr<FaceSize>> gFaces;

std::mutex gFontCacheMutex;
std::map<std::tuple<std::string, int32_t, bool, bool, bool, bool>, std::shared_ptr<const Font>>
    gFonts;
constexpr size_t MaxCachedFonts = 256, MaxCachedFaces = 64;

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int32_t ScaleRounded(int64_t v, int64_t num, int64_t den)
{
    int64_t p = v * num;
    return int32_t(p >= 0 ? (p + den / 2) / den : -((-p + den / 2) / den));
}

struct Match {
    std::string file;
    int index = 0;
    bool bold = false, italic = false;
    bool familyMatches = false;
};

// Asks fontconfig for the best face of a family; with the gResolveMutex held.
std::optional<Match> MatchFont(const std::string& family, bool bold, bool italic)
{
    LoadFontConfiguration(); // waits for the worker while it reads
    if (!gFcReady)
        return std::nullopt;
    FcConfig* config = gNoFonts ? gEmptyConfig : nullptr;
    FcPattern* pat = FcPatternCreate();
    if (!pat)
        return std::nullopt;
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config, pat, &result);
    FcPatternDestroy(pat);
    if (!found)
        return std::nullopt;

    std::optional<Match> m;
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file && *file) {
        m.emplace();
        m->file = reinterpret_cast<const char*>(file);
        int value = 0;
        if (FcPatternGetInteger(found, FC_INDEX, 0, &value) == FcResultMatch)
            m->index = value;
        if (FcPatternGetInteger(found, FC_WEIGHT, 0, &value) == FcResultMatch)
            m->bold = value >= FC_WEIGHT_DEMIBOLD;
        if (FcPatternGetInteger(found, FC_SLANT, 0, &value) == FcResultMatch)
            m->italic = value != FC_SLANT_ROMAN;
        FcChar8* name = nullptr;
        const std::string wanted = Lower(family);
        for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            if (Lower(reinterpret_cast<const char*>(name)) == wanted)
                m->familyMatches = true;
    }
    FcPatternDestroy(found);
    return m;
}

// The face for a family: "Arial" is its metric twin, "MS Sans Serif" and every family
// fontconfig does not know are the sans face.
std::optional<Match> FindFace(const std::string& family, bool bold, bool italic)
{
    const std::string lower = Lower(family);
    if (lower == "arial") {
        if (auto m = MatchFont("Liberation Sans", bold, italic); m && m->familyMatches)
            return m;
    } else if (!lower.empty() && lower != "ms sans serif" && lower != "sans-serif") {
        if (auto m = MatchFont(family, bold, italic); m && m->familyMatches)
            return m;
    }
    return MatchFont("sans-serif", bold, italic);
}

std::shared_ptr<FaceSize> OpenFace(const FaceKey& key)
{
    auto id = std::make_tuple(key.file, key.index, key.pixelSize, key.synthBold, key.synthItalic);
    if (auto it = gFaces.find(id); it != gFaces.end())
        return it->second;
    auto face = FaceSize::Open(key);
    if (face) {
        if (gFaces.size() >= MaxCachedFaces)
            gFaces.clear(); // fonts in use keep their faces alive
        gFaces.emplace(std::move(id), face);
    }
    return face;
}

// Ascent and descent in font units per em; for the font-less case typical sans values.
struct Design {
    int32_t upem = 2048, ascender = 1854, descender = 434;
};

void ComputeMetrics(const FontSpec& spec, const Design& d, FontMetrics& m, int32_t& em)
{
    const int64_t extent = std::max<int64_t>(int64_t(d.ascender) + d.descender, 1);
    if (spec.height < 0) {
        em = int32_t(std::min<int64_t>(-int64_t(spec.height), MaxPixels));
        m.ascent = ScaleRounded(d.ascender, em, d.upem);
        m.descent = ScaleRounded(d.descender, em, d.upem);
    } else {
        const int32_t cell
            = spec.height == 0 ? DefaultCellHeight : std::min(spec.height, MaxPixels);
        em = std::max(1, ScaleRounded(cell, d.upem, extent));
        m.ascent = ScaleRounded(cell, d.ascender, extent);
        m.descent = cell - m.ascent;
    }
    m.height = m.ascent + m.descent;
    m.internalLeading = m.height - em;
}

} // namespace

Font::Font(const FontSpec& spec)
    : FSpec(spec)
    , FImpl(std::make_unique<FontImpl>())
{
    std::lock_guard lock(gResolveMutex);
    std::optional<Match> match = FindFace(spec.family, spec.bold, spec.italic);
    Design design;
    std::shared_ptr<FaceSize> face;
    int32_t em = 0;
    if (match) {
        // The pixel size depends on the face's proportions, so open it once to read them.
        FaceKey probe { match->file, match->index, 16, false, false };
        if (auto f = OpenFace(probe)) {
            design = { f->UnitsPerEm(), f->Ascender(), f->Descender() };
            ComputeMetrics(spec, design, FMetrics, em);
            face = OpenFace({ match->file, match->index, em, spec.bold && !match->bold,
                spec.italic && !match->italic });
        }
    }
    if (!face) {
        ReportFailure("no font found for " + spec.family);
        design = {};
        ComputeMetrics(spec, design, FMetrics, em);
    }

    FImpl->face = face;
    FImpl->em = em;
    TextDecoration& dec = FImpl->decoration;
    dec.thickness = std::max(1, em / 14);
    int32_t ul = face ? ScaleRounded(face->UnderlinePosition(), em, design.upem) : em / 10;
    // The line stays below the baseline and, where the descent has room, inside the cell.
    if (FMetrics.descent - dec.thickness >= 1)
        ul = std::min(ul, FMetrics.descent - dec.thickness);
    dec.underline = std::max(1, ul);
    dec.strikeOut = -(FMetrics.ascent / 3);

    if (face && face->AverageWidth() > 0) {
        FMetrics.averageCharWidth = ScaleRounded(face->AverageWidth(), em, design.upem);
    } else if (face) {
        std::vector<GlyphRef> x;
        const char32_t c = U'x';
        face->Glyphs({ &c, 1 }, x);
        FMetrics.averageCharWidth = x[0]->advance;
    } else {
        auto missing = std::make_shared<Glyph>();
        missing->advance = std::max(1, em / 2);
        FImpl->missing = std::move(missing);
        FMetrics.averageCharWidth = std::max(1, em / 2);
    }
}

Font::~Font() = default;

std::shared_ptr<const Font> Font::Get(const FontSpec& spec)
{
    auto key = std::make_tuple(
        spec.family, spec.height, spec.bold, spec.italic, spec.underline, spec.strikeOut);
    std::lock_guard lock(gFontCacheMutex);
    if (auto it = gFonts.find(key); it != gFonts.end())
        return it->second;
    auto font = std::make_shared<const Font>(spec);
    if (gFonts.size() >= MaxCachedFonts)
        gFonts.clear();
    gFonts.emplace(std::move(key), font);
    return font;
}

Size Font::Extent(std::string_view text) const
{
    std::vector<char32_t> chars;
    DecodeText(text, chars);
    std::vector<GlyphRef> glyphs;
    FontGlyphs(*this, chars, glyphs);
    int64_t width = 0;
    for (const GlyphRef& g : glyphs)
        width += g->advance;
    return { int32_t(std::min<int64_t>(width, INT32_MAX)), FMetrics.height };
}

void PrepareFontLookup()
{
    std::lock_guard lock(gConfigReader.mutex);
    if (gConfigReader.started)
        return;
    gConfigReader.started = true;
    try {
        gConfigReader.thread = std::thread(LoadFontConfiguration);
    } catch (const std::system_error&) {
        // No thread to be had: the first font reads the configuration itself.
    }
}

void FinishFontLookup()
{
    std::lock_guard lock(gConfigReader.mutex);
    if (gConfigReader.thread.joinable())
        gConfigReader.thread.join();
}

void SimulateNoFontsForTesting(bool noFonts)
{
    std::lock_guard cacheLock(gFontCacheMutex);
    std::lock_guard lock(gResolveMutex);
    gFonts.clear();
    gFaces.clear();
    if (noFonts && !gEmptyConfig)
        gEmptyConfig = FcConfigCreate();
    if (!noFonts && gEmptyConfig) {
        FcConfigDestroy(gEmptyConfig);
        gEmptyConfig = nullptr;
    }
    gNoFonts = gEmptyConfig != nullptr;
}

} // namespace plat

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig loses a few bytes while it parses its configuration files; that block is
// not ours to free, so leak checking leaves the library out.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif
