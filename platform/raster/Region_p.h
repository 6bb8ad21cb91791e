#pragma once
// Internals shared by the region combiner, the polygon scan converter and the drawing
// context's region fills.

#include "platform/raster/Geometry.h"
#include "platform/system/Assert.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace plat::detail {

__extension__ typedef __int128 Int128;

// Why rects is not in the canonical form a region keeps (the first fault found), or ""
// when it is: no empty rectangle, bands sorted and apart, spans of a band sorted and not
// touching, and no two touching bands with the same spans.
std::string CanonicalFault(std::span<const Rect> rects);

// An empty list with room for n entries: the per-thread working lists of the region code
// start so, large enough for the bands and edges of everyday shapes, so that they do not
// grow now and then in the middle of a steady stream of work.
template <class T> std::vector<T> ReservedList(size_t n = 64)
{
    std::vector<T> list;
    list.reserve(n);
    return list;
}

// Largest rectangle count a polygon region may reach before the request is refused
// (16 M rectangles, 256 MiB).
constexpr size_t MaxRegionRects = size_t(1) << 24;

// One past the last rectangle of the band that starts at band, in a banded list ending
// at last.
inline const Rect* BandEnd(const Rect* band, const Rect* last)
{
    const int32_t top = band->top;
    do
        ++band;
    while (band != last && band->top == top);
    return band;
}

// Appends bands to a rectangle list in top-to-bottom order and keeps it canonical: a band
// that touches the previous one and has the same spans extends it instead of starting a
// new band. Spans come as a flat list of boundaries: [xs[0], xs[1]), [xs[2], xs[3]) ...,
// sorted, non-empty and not touching.
class BandWriter {
public:
    explicit BandWriter(std::vector<Rect>& out)
        : FOut(out)
        , FLastBand(out.size())
    {
    }

    void Add(int32_t top, int32_t bottom, std::span<const int32_t> xs)
    {
        if (xs.empty() || bottom <= top)
            return;
        // The merge below compares with the last band only, so the list stays canonical
        // only if bands come top to bottom and spans come sorted and apart.
        METRONOME_ASSERT(xs.size() % 2 == 0);
        METRONOME_ASSERT(std::is_sorted(xs.begin(), xs.end(), std::less_equal<int32_t>()));
        METRONOME_ASSERT(FLastBand >= FOut.size() || FOut.back().bottom <= top);
        const size_t count = xs.size() / 2;
        const size_t size = FOut.size();
        if (FLastBand < size && size - FLastBand == count && FOut[size - 1].bottom == top
            && SameSpans(xs)) {
            Rect* band = FOut.data() + FLastBand;
            for (size_t i = 0; i < count; ++i)
                band[i].bottom = bottom;
            return;
        }
        FLastBand = size;
        const int32_t* x = xs.data();
        for (size_t i = 0; i < count; ++i, x += 2)
            FOut.push_back({ x[0], top, x[1], bottom });
    }

    // Appends the whole bands [first, last) of a canonical list, all below what is written
    // so far: only the first may extend the last band written, the others stay apart.
    void AddBands(const Rect* first, const Rect* last)
    {
        if (first == last)
            return;
        METRONOME_ASSERT(FLastBand >= FOut.size() || FOut.back().bottom <= first->top);
        const Rect* firstEnd = BandEnd(first, last);
        const size_t size = FOut.size();
        const size_t count = size_t(firstEnd - first);
        bool extends = FLastBand < size && size - FLastBand == count
            && FOut[size - 1].bottom == first->top;
        for (size_t i = 0; extends && i < count; ++i)
            extends = FOut[FLastBand + i].left == first[i].left
                && FOut[FLastBand + i].right == first[i].right;
        if (extends) {
            for (size_t i = FLastBand; i < size; ++i)
                FOut[i].bottom = first->bottom;
            first = firstEnd;
            if (first == last)
                return;
        }
        FOut.insert(FOut.end(), first, last);
        size_t lastBand = FOut.size() - 1;
        while (lastBand > 0 && FOut[lastBand - 1].top == FOut.back().top)
            --lastBand;
        FLastBand = lastBand;
    }

private:
    bool SameSpans(std::span<const int32_t> xs) const
    {
        const Rect* r = FOut.data() + FLastBand;
        for (size_t i = 0; i < xs.size(); i += 2, ++r) {
            if (r->left != xs[i] || r->right != xs[i + 1])
                return false;
        }
        return true;
    }

    std::vector<Rect>& FOut;
    size_t FLastBand;
};

} // namespace plat::detail
