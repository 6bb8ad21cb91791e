#include "platform/raster/ImageFiles.h"

#include <png.h>

#include <cstring>

namespace plat {

namespace {

std::nullopt_t PngFailure(png_image& image, const char* what)
{
    ReportFailure(
        std::string("png: ") + what + (image.message[0] ? std::string(": ") + image.message : ""));
    png_image_free(&image);
    return std::nullopt;
}

} // namespace

std::optional<AlphaImage> ReadPng(std::span<const uint8_t> data)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (data.empty() || !png_image_begin_read_from_memory(&image, data.data(), data.size()))
        return PngFailure(image, "cannot read the header");
    if (int64_t(image.width) * int64_t(image.height) > MaxSurfacePixels || image.width > INT32_MAX
        || image.height > INT32_MAX)
        return PngFailure(image, "image too large");
    const bool hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    // 16-bit samples without gamma information are taken as display values and simply
    // reduced to 8 bits.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    std::vector<uint8_t> rgba(size_t(image.width) * size_t(image.height) * 4);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
        return PngFailure(image, "cannot read the pixels");
    png_image_free(&image);

    AlphaImage out;
    const auto w = int32_t(image.width), h = int32_t(image.height);
    out.color = Surface(w, h);
    if (out.color.Empty())
        return std::nullopt;
    if (hasAlpha)
        out.alpha.resize(size_t(w) * size_t(h));
    const uint8_t* src = rgba.data();
    for (int32_t y = 0; y < h; ++y) {
        Pixel* dst = out.color.Row(y);
        for (int32_t x = 0; x < w; ++x, src += 4) {
            dst[x] = Pixel(src[0]) << 16 | Pixel(src[1]) << 8 | src[2];
            if (hasAlpha)
                out.alpha[size_t(y) * size_t(w) + size_t(x)] = src[3];
        }
    }
    return out;
}

Bytes WritePng(const Surface& s, std::span<const uint8_t> alpha)
{
    const size_t pixels = size_t(s.Width()) * size_t(s.Height());
    if (s.Empty() || (!alpha.empty() && alpha.size() != pixels)) {
        ReportFailure("png: nothing to write, or alpha of the wrong size");
        return {};
    }
    const size_t channels = alpha.empty() ? 3 : 4;
    std::vector<uint8_t> buf(pixels * channels);
    uint8_t* dst = buf.data();
    for (int32_t y = 0; y < s.Height(); ++y) {
        const Pixel* src = s.Row(y);
        for (int32_t x = 0; x < s.Width(); ++x) {
            *dst++ = uint8_t(src[x] >> 16);
            *dst++ = uint8_t(src[x] >> 8);
            *dst++ = uint8_t(src[x]);
            if (channels == 4)
                *dst++ = alpha[size_t(y) * size_t(s.Width()) + size_t(x)];
        }
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(s.Width());
    image.height = png_uint_32(s.Height());
    image.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, buf.data(), 0, nullptr)) {
        PngFailure(image, "cannot encode");
        return {};
    }
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, buf.data(), 0, nullptr)) {
        PngFailure(image, "cannot encode");
        return {};
    }
    png_image_free(&image);
    out.resize(size);
    return out;
}

std::optional<AlphaImage> LoadPngFile(const std::string& path)
{
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return ReadPng(*bytes);
}

bool SavePngFile(const std::string& path, const Surface& s, std::span<const uint8_t> alpha)
{
    Bytes bytes = WritePng(s, alpha);
    return !bytes.empty() && WriteFileBytes(path, bytes);
}

} // namespace plat
