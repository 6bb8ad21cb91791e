#include "platform/window/WindowScale.h"

#include <cmath>
#include <cstring>
#include <optional>

namespace plat {

namespace {

constexpr std::string_view Blanks = " \t";

std::string_view Trim(std::string_view s)
{
    size_t b = s.find_first_not_of(Blanks);
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(Blanks) - b + 1);
}

// A plain decimal number, digits with an optional fraction ("192", "144.5"); nothing else.
std::optional<double> ParseDecimal(std::string_view s)
{
    double v = 0, unit = 1;
    bool digits = false, fraction = false;
    for (char c : s) {
        if (c == '.' && !fraction) {
            fraction = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (fraction)
                v += (unit /= 10) * (c - '0');
            else
                v = v * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    return v;
}

// Writes one framebuffer row as blocks of Scale pixels into the first screen row of the
// blocks, then copies that row to the block's other rows. The fixed scales let the
// compiler unroll the inner loop.
template <int Scale>
void ScaleRows(const Surface& src, const Rect& area, uint32_t* dst, size_t dstPitch)
{
    const size_t width = size_t(area.Width());
    const size_t rowBytes = width * Scale * sizeof(uint32_t);
    auto* first = reinterpret_cast<unsigned char*>(dst);
    for (int32_t y = area.top; y < area.bottom; ++y, first += Scale * dstPitch) {
        const Pixel* s = src.Row(y) + area.left;
        auto* d = reinterpret_cast<uint32_t*>(first);
        for (size_t x = 0; x < width; ++x, d += Scale)
            for (int i = 0; i < Scale; ++i)
                d[i] = s[x];
        for (int i = 1; i < Scale; ++i)
            std::memcpy(first + size_t(i) * dstPitch, first, rowBytes);
    }
}

} // namespace

int ParseWindowScale(std::string_view text)
{
    if (text.size() != 1 || text[0] < '0' + MinWindowScale || text[0] > '0' + MaxWindowScale)
        return 0;
    return text[0] - '0';
}

// The database is read line by line; a later entry replaces an earlier one, as in the
// resource manager itself. Comment lines ("!") never match the name.
int ScaleFromXftDpi(std::string_view resources)
{
    std::optional<double> dpi;
    while (!resources.empty()) {
        size_t end = resources.find('\n');
        std::string_view line = resources.substr(0, end);
        resources = end == std::string_view::npos ? std::string_view {} : resources.substr(end + 1);
        size_t colon = line.find(':');
        if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != "Xft.dpi")
            continue;
        dpi = ParseDecimal(Trim(line.substr(colon + 1)));
    }
    if (!dpi || *dpi <= 0)
        return 0;
    double scale = std::floor(*dpi / 96 + 0.5);
    return int(std::clamp(scale, double(MinWindowScale), double(MaxWindowScale)));
}

int DesktopWindowScale(std::string_view resources, const char* gdkScale)
{
    if (int s = gdkScale ? ParseWindowScale(gdkScale) : 0)
        return s;
    if (int s = ScaleFromXftDpi(resources))
        return s;
    return MinWindowScale;
}

Rect FramebufferArea(const Rect& screenArea, int scale)
{
    auto up = [scale](int32_t v) {
        return int32_t(v >= 0 ? (int64_t(v) + scale - 1) / scale : -(-int64_t(v) / scale));
    };
    if (screenArea.Empty())
        return {};
    return { ToFramebuffer(screenArea.left, scale), ToFramebuffer(screenArea.top, scale),
        up(screenArea.right), up(screenArea.bottom) };
}

Rect ScreenArea(const Rect& area, int scale)
{
    return { ClampToInt32(int64_t(area.left) * scale), ClampToInt32(int64_t(area.top) * scale),
        ClampToInt32(int64_t(area.right) * scale), ClampToInt32(int64_t(area.bottom) * scale) };
}

void ScaleUp(const Surface& src, const Rect& area, int scale, uint32_t* dst, size_t dstPitch)
{
    if (area.Empty() || area.Intersect(src.Bounds()) != area)
        return;
    switch (scale) {
    case 1: ScaleRows<1>(src, area, dst, dstPitch); break;
    case 2: ScaleRows<2>(src, area, dst, dstPitch); break;
    case 3: ScaleRows<3>(src, area, dst, dstPitch); break;
    case 4: ScaleRows<4>(src, area, dst, dstPitch); break;
    default: break;
    }
}

} // namespace plat
