// The image readers: bitmap, icon and PNG files from memory. A read either fails or gives
// a consistent picture; a picture that was read writes, reads back equal and writes the
// same bytes again.

#include "FuzzTargets.h"

#include "platform/raster/ImageFiles.h"

#include <span>
#include <vector>

namespace fuzz {

namespace {

using plat::Surface;

// The reader's input in a buffer of exactly its size, so any read past it is caught.
std::vector<uint8_t> Copy(const uint8_t* data, size_t size)
{
    return std::vector<uint8_t>(data, data + size);
}

// Pictures above this many pixels are only read: a write and two more reads of a picture
// that a few run-length codes blew up to the reader's limit would take seconds.
constexpr int64_t RoundTripPixels = int64_t(1) << 20;

bool Large(const Surface& s)
{
    return int64_t(s.Width()) * s.Height() > RoundTripPixels;
}

void CheckSurface(const Surface& s)
{
    FUZZ_CHECK(s.Width() >= 0 && s.Height() >= 0);
    FUZZ_CHECK(int64_t(s.Width()) * s.Height() <= plat::MaxSurfacePixels);
    if (!s.Empty()) {
        // The last pixel is there to read.
        (void)s.GetColor(s.Width() - 1, s.Height() - 1);
        FUZZ_CHECK(s.Row(s.Height() - 1) + s.Width() == s.Data() + int64_t(s.Width()) * s.Height());
    }
}

} // namespace

int Bmp(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes = Copy(data, size);
    auto s = plat::ReadBmp(bytes);
    if (!s)
        return 0;
    CheckSurface(*s);
    if (s->Empty() || Large(*s))
        return 0;
    plat::Bytes written = plat::WriteBmp(*s);
    FUZZ_CHECK(!written.empty());
    auto back = plat::ReadBmp(written);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(*back == *s);
    FUZZ_CHECK(plat::WriteBmp(*back) == written);
    return 0;
}

int Ico(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes = Copy(data, size);
    std::vector<plat::IconImage> images = plat::ReadIco(bytes);
    auto best = plat::ReadIcoBest(bytes, 32);
    FUZZ_CHECK(best.has_value() == !images.empty());
    bool writable = true;
    for (const plat::IconImage& im : images) {
        CheckSurface(im.color);
        const int32_t w = im.color.Width(), h = im.color.Height();
        FUZZ_CHECK(im.mask.Width() == w && im.mask.Height() == h);
        FUZZ_CHECK(im.alpha.size() == size_t(w) * size_t(h));
        writable = writable && w >= 1 && w <= 256 && h >= 1 && h <= 256;
    }
    if (images.empty() || !writable)
        return 0;
    plat::Bytes written = plat::WriteIco(images);
    FUZZ_CHECK(!written.empty());
    std::vector<plat::IconImage> back = plat::ReadIco(written);
    FUZZ_CHECK(back.size() == images.size());
    for (size_t i = 0; i < back.size(); ++i) {
        const plat::IconImage& a = images[i];
        const plat::IconImage& b = back[i];
        FUZZ_CHECK(b.color.Width() == a.color.Width() && b.color.Height() == a.color.Height());
        FUZZ_CHECK(b.mask == a.mask);
        // Opaque pixels keep their colour; transparent ones may be stored black.
        for (int32_t y = 0; y < a.color.Height(); ++y)
            for (int32_t x = 0; x < a.color.Width(); ++x)
                if (a.alpha[size_t(y) * size_t(a.color.Width()) + size_t(x)] == 255)
                    FUZZ_CHECK(b.color.GetColor(x, y) == a.color.GetColor(x, y));
    }
    FUZZ_CHECK(plat::WriteIco(back) == written);
    return 0;
}

int Png(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes = Copy(data, size);
    auto image = plat::ReadPng(bytes);
    if (!image)
        return 0;
    CheckSurface(image->color);
    FUZZ_CHECK(!image->color.Empty());
    const size_t pixels = size_t(image->color.Width()) * size_t(image->color.Height());
    FUZZ_CHECK(image->alpha.empty() || image->alpha.size() == pixels);
    if (Large(image->color))
        return 0;
    plat::Bytes written = plat::WritePng(image->color, image->alpha);
    FUZZ_CHECK(!written.empty());
    auto back = plat::ReadPng(written);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(back->color == image->color);
    FUZZ_CHECK(back->alpha == image->alpha);
    FUZZ_CHECK(plat::WritePng(back->color, back->alpha) == written);
    return 0;
}

} // namespace fuzz
