#include "platform/raster/ImageFiles_p.h"

#include <bit>
#include <string>

namespace plat::detail {

namespace {

constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6;

std::nullopt_t Refuse(const std::string& why)
{
    ReportFailure("bitmap: " + why);
    return std::nullopt;
}

// One colour channel given by a bit mask, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;
    explicit Channel(uint32_t m)
        : mask(m)
    {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    uint32_t Get(uint32_t v) const
    {
        return max == 0 ? 0 : uint32_t((uint64_t((v & mask) >> shift) * 255 + max / 2) / max);
    }
};

struct Header {
    bool core = false;
    uint32_t size = 0;
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bpp = 0;
    uint32_t compression = BiRgb;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] {};
    uint64_t tablePos = 0;
};

std::optional<Header> ParseHeader(std::span<const uint8_t> data, uint64_t pos)
{
    const uint64_t size = data.size();
    if (pos > size || size - pos < 4)
        return Refuse("truncated header");
    const uint8_t* h = data.data() + pos;
    Header hd;
    hd.size = Le32(h);
    if (hd.size == 12) {
        if (size - pos < 12)
            return Refuse("truncated header");
        hd.core = true;
        hd.width = Le16(h + 4);
        hd.height = Le16(h + 6);
        hd.bpp = Le16(h + 10);
        if (hd.bpp != 1 && hd.bpp != 4 && hd.bpp != 8 && hd.bpp != 24)
            return Refuse("unsupported depth " + std::to_string(hd.bpp));
    } else if (hd.size >= 40 && hd.size <= size - pos) {
        hd.width = int32_t(Le32(h + 4));
        hd.height = int32_t(Le32(h + 8));
        hd.bpp = Le16(h + 14);
        hd.compression = Le32(h + 16);
        hd.imageSize = Le32(h + 20);
        hd.colorsUsed = Le32(h + 32);
        if (hd.bpp != 1 && hd.bpp != 4 && hd.bpp != 8 && hd.bpp != 16 && hd.bpp != 24
            && hd.bpp != 32)
            return Refuse("unsupported depth " + std::to_string(hd.bpp));
    } else {
        return Refuse("header of " + std::to_string(hd.size) + " bytes");
    }
    hd.tablePos = pos + hd.size;

    switch (hd.compression) {
    case BiRgb:
        if (hd.bpp == 16) {
            hd.masks[0] = 0x7C00, hd.masks[1] = 0x03E0, hd.masks[2] = 0x001F;
        } else if (hd.bpp == 32) {
            hd.masks[0] = 0xFF0000, hd.masks[1] = 0xFF00, hd.masks[2] = 0xFF;
            hd.masks[3] = 0xFF000000;
        }
        break;
    case BiBitfields:
    case BiAlphaBitfields: {
        if (hd.bpp != 16 && hd.bpp != 32)
            return Refuse("bit fields at depth " + std::to_string(hd.bpp));
        uint32_t n = hd.compression == BiAlphaBitfields ? 4 : 3;
        // Headers of 52 bytes and more hold the masks; a 40-byte header is followed by them.
        uint64_t maskPos = pos + 40;
        if (hd.size < 40 + 4 * n) {
            maskPos = hd.tablePos;
            hd.tablePos += 4 * n;
        }
        if (maskPos + 4 * n > size)
            return Refuse("truncated colour masks");
        for (uint32_t i = 0; i < n; ++i)
            hd.masks[i] = Le32(data.data() + maskPos + 4 * i);
        if (n == 3 && hd.size >= 56)
            hd.masks[3] = Le32(h + 52);
        break;
    }
    case BiRle8:
    case BiRle4:
        if (hd.bpp != (hd.compression == BiRle8 ? 8 : 4))
            return Refuse("run-length compression at depth " + std::to_string(hd.bpp));
        break;
    default:
        return Refuse("unsupported compression " + std::to_string(hd.compression));
    }

    if (hd.height == INT32_MIN || hd.width < 0)
        return Refuse("bad dimensions");
    if (hd.height < 0) {
        hd.topDown = true;
        hd.height = -hd.height;
        if (hd.compression == BiRle8 || hd.compression == BiRle4)
            return Refuse("top-down run-length bitmap");
    }
    return hd;
}

// Decodes run-length data. Pixels the data skips keep entry 0 of the table.
bool DecodeRle(std::span<const uint8_t> data, uint64_t pos, uint64_t end, const Header& hd,
    const std::vector<Pixel>& table, Surface& out, uint64_t& stop)
{
    const uint8_t* d = data.data();
    const bool four = hd.compression == BiRle4;
    int64_t x = 0, y = 0;
    out.Fill(ToColor(table[0]));
    auto put = [&](uint32_t index) {
        if (x < hd.width && y < hd.height)
            out.Row(int32_t(hd.height - 1 - y))[x] = index < table.size() ? table[index] : 0;
        ++x;
    };
    while (y < hd.height) {
        if (end - pos < 2) {
            ReportFailure("bitmap: run-length data ends early");
            return false;
        }
        uint32_t n = d[pos], v = d[pos + 1];
        pos += 2;
        if (n > 0) {
            for (uint32_t i = 0; i < n; ++i)
                put(four ? ((i & 1) ? v & 15 : v >> 4) : v);
        } else if (v == 0) {
            x = 0;
            ++y;
        } else if (v == 1) {
            break;
        } else if (v == 2) {
            if (end - pos < 2) {
                ReportFailure("bitmap: run-length data ends early");
                return false;
            }
            x += d[pos];
            y += d[pos + 1];
            pos += 2;
        } else {
            uint64_t bytes = four ? (v + 1) / 2 : v;
            bytes += bytes & 1; // absolute runs are padded to 16 bits
            if (end - pos < bytes) {
                ReportFailure("bitmap: run-length data ends early");
                return false;
            }
            for (uint32_t i = 0; i < v; ++i)
                put(four ? ((i & 1) ? d[pos + i / 2] & 15u : d[pos + i / 2] >> 4) : d[pos + i]);
            pos += bytes;
        }
    }
    stop = pos;
    return true;
}

void DecodeRows(const uint8_t* base, uint64_t stride, const Header& hd,
    const std::vector<Pixel>& table, DibImage& img)
{
    const Channel r(hd.masks[0]), g(hd.masks[1]), b(hd.masks[2]), a(hd.masks[3]);
    const bool plain32 = hd.bpp == 32 && hd.compression == BiRgb;
    const auto w = int32_t(hd.width), h = int32_t(hd.height);
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* src = base + uint64_t(y) * stride;
        int32_t row = hd.topDown ? y : h - 1 - y;
        Pixel* dst = img.surface.Row(row);
        uint8_t* alpha = img.alpha.empty() ? nullptr : img.alpha.data() + size_t(row) * size_t(w);
        auto index = [&](uint32_t i) { return i < table.size() ? table[i] : Pixel(0); };
        switch (hd.bpp) {
        case 1:
            for (int32_t x = 0; x < w; ++x)
                dst[x] = index(src[x >> 3] >> (7 - (x & 7)) & 1);
            break;
        case 4:
            for (int32_t x = 0; x < w; ++x)
                dst[x] = index((x & 1) ? src[x >> 1] & 15u : uint32_t(src[x >> 1] >> 4));
            break;
        case 8:
            for (int32_t x = 0; x < w; ++x)
                dst[x] = index(src[x]);
            break;
        case 24:
            for (int32_t x = 0; x < w; ++x, src += 3)
                dst[x] = Pixel(src[2]) << 16 | Pixel(src[1]) << 8 | src[0];
            break;
        default:
            for (int32_t x = 0; x < w; ++x) {
                if (plain32) {
                    dst[x] = Pixel(src[2]) << 16 | Pixel(src[1]) << 8 | src[0];
                    if (alpha)
                        alpha[x] = src[3];
                    src += 4;
                    continue;
                }
                uint32_t v = hd.bpp == 16 ? Le16(src) : Le32(src);
                src += hd.bpp / 8;
                dst[x] = r.Get(v) << 16 | g.Get(v) << 8 | b.Get(v);
                if (alpha)
                    alpha[x] = uint8_t(a.Get(v));
            }
        }
    }
}

} // namespace

std::optional<DibImage> DecodeDib(
    std::span<const uint8_t> data, uint64_t headerPos, uint64_t pixelPos, bool icon)
{
    auto parsed = ParseHeader(data, headerPos);
    if (!parsed)
        return std::nullopt;
    Header& hd = *parsed;
    const uint64_t size = data.size();
    if (icon)
        hd.height /= 2;
    // An icon's directory cannot describe a bitmap entry above 256 x 256 pixels, and no
    // writer makes one; a larger header is a damaged or hostile file that would otherwise
    // have a few run-length codes fill hundreds of megabytes.
    if (icon && (hd.width > 256 || hd.height > 256))
        return Refuse("icon bitmap of " + std::to_string(hd.width) + " x "
            + std::to_string(hd.height) + " pixels is larger than an icon can be");
    if (hd.width * hd.height > MaxSurfacePixels)
        return Refuse(
            std::to_string(hd.width) + " x " + std::to_string(hd.height) + " pixels is too large");

    // The colour table; past 8 bits it only matters for finding pixels that follow it.
    const uint64_t entrySize = hd.core ? 3 : 4;
    uint64_t count = hd.core ? 0 : hd.colorsUsed;
    if (hd.bpp <= 8 && count == 0) {
        count = 1u << hd.bpp;
        // Old headers may carry a shorter table; the pixel offset tells its length.
        if (hd.core && pixelPos > hd.tablePos && (pixelPos - hd.tablePos) / 3 < count)
            count = (pixelPos - hd.tablePos) / 3;
    }
    if (hd.bpp <= 8 && (count > (1u << hd.bpp) || count == 0))
        return Refuse("colour table of " + std::to_string(count) + " entries at depth "
            + std::to_string(hd.bpp));
    const uint64_t tableEnd = hd.tablePos + count * entrySize;
    if (hd.bpp <= 8 || pixelPos == 0) {
        if (tableEnd > size)
            return Refuse("colour table runs past the end");
    }
    std::vector<Pixel> table;
    std::vector<Color> palette;
    if (hd.bpp <= 8) {
        for (uint64_t i = 0; i < count; ++i) {
            const uint8_t* e = data.data() + hd.tablePos + i * entrySize;
            table.push_back(Pixel(e[2]) << 16 | Pixel(e[1]) << 8 | e[0]);
            palette.push_back(Rgb(e[2], e[1], e[0]));
        }
    }

    if (pixelPos == 0)
        pixelPos = tableEnd;
    else if (pixelPos < headerPos + hd.size || pixelPos > size)
        return Refuse("pixel offset " + std::to_string(pixelPos) + " outside the file");

    DibImage img;
    img.bpp = hd.bpp;
    img.topDown = hd.topDown;
    img.end = pixelPos;
    if (hd.width > 0 && hd.height > 0) {
        const bool rle = hd.compression == BiRle8 || hd.compression == BiRle4;
        const uint64_t stride = DibStride(hd.width, hd.bpp);
        if (!rle && stride * uint64_t(hd.height) > size - pixelPos)
            return Refuse("pixel data runs past the end");
        img.surface = Surface(int32_t(hd.width), int32_t(hd.height));
        if (img.surface.Empty())
            return std::nullopt;
        if (rle) {
            uint64_t end = hd.imageSize != 0 && hd.imageSize <= size - pixelPos
                ? pixelPos + hd.imageSize
                : size;
            if (!DecodeRle(data, pixelPos, end, hd, table, img.surface, img.end))
                return std::nullopt;
        } else {
            if (hd.bpp == 32)
                img.alpha.assign(size_t(hd.width) * size_t(hd.height), 0);
            DecodeRows(data.data() + pixelPos, stride, hd, table, img);
            img.end = pixelPos + stride * uint64_t(hd.height);
        }
    }
    for (uint8_t a : img.alpha) {
        if (a != 0) {
            img.alphaUsed = true;
            break;
        }
    }
    // The table is kept as the surface's palette; indices past its end read as black and
    // are mapped to their nearest entry, so every pixel is a colour of the palette.
    img.surface.ConvertTo(FormatForDepth(hd.bpp), palette);
    return img;
}

} // namespace plat::detail
