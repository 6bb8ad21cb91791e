#include "platform/raster/ImageFiles_p.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace plat {

using namespace detail;

namespace {

std::optional<IconImage> DecodeEntry(std::span<const uint8_t> d)
{
    static constexpr uint8_t PngSignature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    if (d.size() >= 8 && std::equal(d.begin(), d.begin() + 8, PngSignature)) {
        auto png = ReadPng(d);
        if (!png)
            return std::nullopt;
        IconImage img;
        img.alpha = png->alpha;
        if (img.alpha.empty())
            img.alpha.assign(size_t(png->color.Width()) * size_t(png->color.Height()), 255);
        img.mask = MaskFromAlpha(img.alpha, png->color.Width(), png->color.Height());
        img.color = std::move(png->color);
        img.bpp = 32;
        return img;
    }

    auto dib = DecodeDib(d, 0, 0, true);
    if (!dib)
        return std::nullopt;
    const int32_t w = dib->surface.Width(), h = dib->surface.Height();
    if (dib->surface.Empty()) {
        ReportFailure("icon: empty image");
        return std::nullopt;
    }
    IconImage img;
    img.bpp = dib->bpp;
    img.palette = dib->surface.Palette();
    const uint64_t stride = DibStride(w, 1);
    const bool hasMask = dib->end <= d.size() && stride * uint64_t(h) <= d.size() - dib->end;
    if (dib->bpp == 32 && dib->alphaUsed) {
        img.alpha = std::move(dib->alpha);
    } else if (hasMask) {
        img.alpha.assign(size_t(w) * size_t(h), 255);
        for (int32_t y = 0; y < h; ++y) {
            const uint8_t* row
                = d.data() + dib->end + uint64_t(dib->topDown ? y : h - 1 - y) * stride;
            uint8_t* a = img.alpha.data() + size_t(y) * size_t(w);
            for (int32_t x = 0; x < w; ++x)
                if (row[x >> 3] & (0x80 >> (x & 7)))
                    a[x] = 0;
        }
    } else {
        ReportFailure("icon: transparency mask missing");
        return std::nullopt;
    }
    img.mask = MaskFromAlpha(img.alpha, w, h);
    img.color = std::move(dib->surface);
    img.color.ConvertTo(PixelFormat::Bpp32);
    return img;
}

} // namespace

std::vector<IconImage> ReadIco(std::span<const uint8_t> data)
{
    std::vector<IconImage> images;
    const uint64_t size = data.size();
    if (size < 6 || Le16(data.data()) != 0
        || (Le16(data.data() + 2) != 1 && Le16(data.data() + 2) != 2)) {
        ReportFailure("icon: not an icon file");
        return images;
    }
    const uint32_t count = Le16(data.data() + 4);
    if (count == 0 || 6 + 16 * uint64_t(count) > size) {
        ReportFailure("icon: directory of " + std::to_string(count) + " entries does not fit");
        return images;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = data.data() + 6 + 16 * i;
        const uint64_t bytes = Le32(e + 8), offset = Le32(e + 12);
        if (offset > size || bytes > size - offset) {
            ReportFailure("icon: entry " + std::to_string(i) + " lies outside the file");
            continue;
        }
        if (auto img = DecodeEntry(data.subspan(size_t(offset), size_t(bytes))))
            images.push_back(std::move(*img));
    }
    return images;
}

std::optional<IconImage> ReadIcoBest(std::span<const uint8_t> data, int size)
{
    auto images = ReadIco(data);
    if (images.empty())
        return std::nullopt;
    // Exact width first, then the nearest wider, then the nearest narrower; deeper wins ties.
    auto rank = [size](const IconImage& img) {
        int w = img.color.Width();
        int kind = w == size ? 0 : w > size ? 1 : 2;
        return std::make_tuple(kind, std::abs(w - size), -img.bpp);
    };
    auto best = std::min_element(images.begin(), images.end(),
        [&](const IconImage& a, const IconImage& b) { return rank(a) < rank(b); });
    return std::move(*best);
}

Bytes WriteIco(std::span<const IconImage> images)
{
    if (images.empty() || images.size() > 0xFFFF) {
        ReportFailure("icon: cannot write " + std::to_string(images.size()) + " images");
        return {};
    }
    struct Plan {
        std::vector<Color> palette;
        Surface mask;
        std::vector<uint8_t> alpha;
        uint32_t xorSize = 0, andSize = 0, bytes = 0;
    };
    std::vector<Plan> plans(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage& img = images[i];
        const int32_t w = img.color.Width(), h = img.color.Height();
        const int bpp = img.bpp;
        if (w < 1 || h < 1 || w > 256 || h > 256
            || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)) {
            ReportFailure("icon: cannot write a " + std::to_string(w) + " x " + std::to_string(h)
                + " image at " + std::to_string(bpp) + " bits");
            return {};
        }
        Plan& p = plans[i];
        const size_t pixels = size_t(w) * size_t(h);
        const bool alphaFits = img.alpha.size() == pixels;
        if (img.mask.Width() == w && img.mask.Height() == h)
            p.mask = img.mask;
        else if (alphaFits)
            p.mask = MaskFromAlpha(img.alpha, w, h);
        if (bpp == 32) {
            // The AND mask follows the alpha channel, so that the two always agree.
            p.alpha = alphaFits ? img.alpha : AlphaFromMask(p.mask);
            if (p.alpha.size() != pixels)
                p.alpha.assign(pixels, 255);
            p.mask = MaskFromAlpha(p.alpha, w, h);
        }
        if (bpp <= 8) {
            p.palette = img.color.Format() == FormatForDepth(bpp) || img.palette.empty()
                ? PaletteForDepth(img.color, bpp)
                : img.palette;
            p.palette.resize(size_t(1) << bpp, 0);
        }
        p.xorSize = uint32_t(DibStride(w, bpp) * uint64_t(h));
        p.andSize = uint32_t(DibStride(w, 1) * uint64_t(h));
        p.bytes = uint32_t(40 + 4 * p.palette.size()) + p.xorSize + p.andSize;
    }

    Bytes out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, uint32_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage& img = images[i];
        out.push_back(uint8_t(img.color.Width() & 0xFF)); // 256 is stored as 0
        out.push_back(uint8_t(img.color.Height() & 0xFF));
        out.push_back(uint8_t(img.bpp < 8 ? 1 << img.bpp : 0));
        out.push_back(0);
        Put16(out, 1);
        Put16(out, uint32_t(img.bpp));
        Put32(out, plans[i].bytes);
        Put32(out, offset);
        offset += plans[i].bytes;
    }
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage& img = images[i];
        const Plan& p = plans[i];
        const int32_t w = img.color.Width(), h = img.color.Height();
        AppendInfoHeader(out, w, h * 2, img.bpp, p.xorSize + p.andSize, 0, 0);
        AppendColorTable(out, p.palette, p.palette.size());
        const bool hasMask = !p.mask.Empty();
        AppendRows(out, img.color, img.bpp, p.palette, hasMask && img.bpp != 32 ? &p.mask : nullptr,
            img.bpp == 32 ? p.alpha.data() : nullptr);
        const uint64_t stride = DibStride(w, 1);
        const size_t start = out.size();
        out.resize(start + p.andSize, 0);
        for (int32_t y = 0; hasMask && y < h; ++y) {
            const Pixel* m = p.mask.Row(y);
            uint8_t* row = out.data() + start + size_t(uint64_t(h - 1 - y) * stride);
            for (int32_t x = 0; x < w; ++x)
                if (MaskTransparent(m[x]))
                    row[x >> 3] |= uint8_t(0x80 >> (x & 7));
        }
    }
    return out;
}

std::vector<IconImage> LoadIcoFile(const std::string& path)
{
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return {};
    return ReadIco(*bytes);
}

bool SaveIcoFile(const std::string& path, std::span<const IconImage> images)
{
    Bytes bytes = WriteIco(images);
    return !bytes.empty() && WriteFileBytes(path, bytes);
}

std::vector<uint8_t> AlphaFromMask(const Surface& mask)
{
    std::vector<uint8_t> alpha;
    alpha.reserve(size_t(mask.Width()) * size_t(mask.Height()));
    for (int32_t y = 0; y < mask.Height(); ++y) {
        const Pixel* m = mask.Row(y);
        for (int32_t x = 0; x < mask.Width(); ++x)
            alpha.push_back(MaskTransparent(m[x]) ? 0 : 255);
    }
    return alpha;
}

Surface MaskFromAlpha(std::span<const uint8_t> alpha, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0 || alpha.size() != size_t(width) * size_t(height))
        return {};
    Surface mask(width, height);
    if (mask.Empty())
        return mask;
    for (int32_t y = 0; y < height; ++y) {
        Pixel* m = mask.Row(y);
        const uint8_t* a = alpha.data() + size_t(y) * size_t(width);
        for (int32_t x = 0; x < width; ++x)
            m[x] = a[x] < 128 ? 0xFFFFFF : 0;
    }
    mask.ConvertTo(PixelFormat::Bpp1);
    return mask;
}

} // namespace plat
