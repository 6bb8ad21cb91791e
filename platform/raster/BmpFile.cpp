#include "platform/raster/ImageFiles_p.h"
#include "platform/raster/Palette.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace plat {

namespace detail {

std::vector<Color> PaletteForDepth(const Surface& s, int bpp)
{
    PixelFormat f = FormatForDepth(bpp);
    if (s.Format() == f && !s.Palette().empty())
        return s.Palette();
    return StandardPalette(f);
}

void AppendInfoHeader(Bytes& out, int32_t width, int32_t height, int bpp, uint32_t imageSize,
    uint32_t pelsPerMeter, uint32_t colorsUsed)
{
    Put32(out, 40);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));
    Put16(out, 1);
    Put16(out, uint32_t(bpp));
    Put32(out, 0); // no compression
    Put32(out, imageSize);
    Put32(out, pelsPerMeter);
    Put32(out, pelsPerMeter);
    Put32(out, colorsUsed);
    Put32(out, 0);
}

void AppendColorTable(Bytes& out, const std::vector<Color>& palette, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        Color c = i < palette.size() ? palette[i] : 0;
        out.push_back(BlueOf(c));
        out.push_back(GreenOf(c));
        out.push_back(RedOf(c));
        out.push_back(0);
    }
}

void AppendRows(Bytes& out, const Surface& s, int bpp, const std::vector<Color>& palette,
    const Surface* mask, const uint8_t* alpha)
{
    const int32_t w = s.Width(), h = s.Height();
    if (s.Empty())
        return;
    if (mask && (mask->Width() != w || mask->Height() != h))
        mask = nullptr;
    const uint64_t stride = DibStride(w, bpp);
    const size_t start = out.size();
    out.resize(start + size_t(stride * uint64_t(h)), 0);
    std::optional<PaletteMatcher> matcher;
    int blackIndex = 0;
    if (bpp <= 8) {
        matcher.emplace(palette);
        blackIndex = matcher->Index(0);
    }
    for (int32_t y = 0; y < h; ++y) {
        const Pixel* src = s.Row(y);
        const Pixel* m = mask ? mask->Row(y) : nullptr;
        const uint8_t* a = alpha ? alpha + size_t(y) * size_t(w) : nullptr;
        uint8_t* dst = out.data() + start + size_t(uint64_t(h - 1 - y) * stride);
        for (int32_t x = 0; x < w; ++x) {
            bool clear = m && MaskTransparent(m[x]);
            Pixel p = clear ? 0 : src[x] & 0xFFFFFF;
            switch (bpp) {
            case 1:
                if (clear ? blackIndex : matcher->Index(p))
                    dst[x >> 3] |= uint8_t(0x80 >> (x & 7));
                break;
            case 4:
                dst[x >> 1]
                    |= uint8_t((clear ? blackIndex : matcher->Index(p)) << ((x & 1) ? 0 : 4));
                break;
            case 8:
                dst[x] = uint8_t(clear ? blackIndex : matcher->Index(p));
                break;
            case 24:
                dst[3 * x] = uint8_t(p);
                dst[3 * x + 1] = uint8_t(p >> 8);
                dst[3 * x + 2] = uint8_t(p >> 16);
                break;
            default:
                dst[4 * x] = uint8_t(p);
                dst[4 * x + 1] = uint8_t(p >> 8);
                dst[4 * x + 2] = uint8_t(p >> 16);
                dst[4 * x + 3] = a ? a[x] : 0;
            }
        }
    }
}

} // namespace detail

using namespace detail;

namespace {
constexpr uint32_t FilePelsPerMeter = 3780; // 96 dots per inch
constexpr uint32_t FileHeaderSize = 14;
}

std::optional<Surface> ReadBmp(std::span<const uint8_t> data)
{
    if (data.size() < FileHeaderSize || data[0] != 'B' || data[1] != 'M') {
        ReportFailure("bitmap: not a bitmap file");
        return std::nullopt;
    }
    auto img = DecodeDib(data, FileHeaderSize, Le32(data.data() + 10), false);
    if (!img)
        return std::nullopt;
    return std::move(img->surface);
}

Bytes WriteBmp(const Surface& s)
{
    const int bpp = BitsPerPixel(s.Format());
    std::vector<Color> palette;
    if (bpp <= 8)
        palette = PaletteForDepth(s, bpp);
    const size_t tableCount = palette.size();
    const uint32_t colorsUsed = tableCount == (size_t(1) << bpp) ? 0 : uint32_t(tableCount);
    const auto imageSize = uint32_t(DibStride(s.Width(), bpp) * uint64_t(s.Height()));
    const auto offBits = uint32_t(FileHeaderSize + 40 + 4 * tableCount);
    Bytes out;
    out.reserve(size_t(offBits) + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offBits + imageSize);
    Put32(out, 0);
    Put32(out, offBits);
    AppendInfoHeader(out, s.Width(), s.Height(), bpp, imageSize, FilePelsPerMeter, colorsUsed);
    AppendColorTable(out, palette, tableCount);
    AppendRows(out, s, bpp, palette);
    return out;
}

std::optional<Surface> LoadBmpFile(const std::string& path)
{
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return ReadBmp(*bytes);
}

bool SaveBmpFile(const std::string& path, const Surface& s)
{
    return WriteFileBytes(path, WriteBmp(s));
}

std::optional<Bytes> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        ReportFailure("cannot open " + path + ": " + std::strerror(errno));
        return std::nullopt;
    }
    const std::streamoff size = in.tellg();
    // The largest file a reader could accept: the biggest surface at 32 bits plus headers.
    constexpr std::streamoff MaxFileSize = std::streamoff(MaxSurfacePixels) * 4 + (1 << 20);
    if (size < 0 || size > MaxFileSize) {
        ReportFailure("file too large: " + path);
        return std::nullopt;
    }
    Bytes bytes(size_t(size), 0);
    in.seekg(0);
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        ReportFailure("cannot read " + path);
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileBytes(const std::string& path, std::span<const uint8_t> data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (out)
        out.close();
    if (!out) {
        ReportFailure("cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace plat
