#include "platform/raster/Region.h"

#include "platform/raster/Region_p.h"
#include "platform/system/Failure.h"

#include <algorithm>
#include <limits>

namespace plat {

using detail::BandWriter;

std::string detail::CanonicalFault(std::span<const Rect> rs)
{
    for (size_t i = 0; i < rs.size(); ++i) {
        const Rect& r = rs[i];
        if (r.Empty())
            return "empty rectangle " + std::to_string(i);
        if (i == 0)
            continue;
        const Rect& p = rs[i - 1];
        if (p.top == r.top && (p.bottom != r.bottom || p.right >= r.left))
            return "bad span order at " + std::to_string(i);
        if (p.top != r.top && p.bottom > r.top)
            return "bands overlap at " + std::to_string(i);
    }
    std::vector<size_t> starts;
    for (size_t i = 0; i <= rs.size(); ++i)
        if (i == rs.size() || i == 0 || rs[i].top != rs[i - 1].top)
            starts.push_back(i);
    auto sameSpan
        = [](const Rect& p, const Rect& q) { return p.left == q.left && p.right == q.right; };
    for (size_t k = 2; k < starts.size(); ++k) {
        auto a = rs.begin() + ptrdiff_t(starts[k - 2]), b = rs.begin() + ptrdiff_t(starts[k - 1]);
        auto e = rs.begin() + ptrdiff_t(starts[k]);
        if (a->bottom == b->top && std::equal(a, b, b, e, sameSpan))
            return "unmerged bands at " + std::to_string(starts[k - 1]);
    }
    return {};
}

namespace {

// Walks a rectangle list band by band, through pointers: the loops below run once per
// band of both operands, and a vector read through a reference is read again each time.
class BandCursor {
public:
    explicit BandCursor(const std::vector<Rect>& rects)
        : FBegin(rects.data())
        , FLast(rects.data() + rects.size())
    {
        Load();
    }

    bool Done() const { return FBegin == FLast; }
    int32_t Top() const { return FBegin->top; }
    int32_t Bottom() const { return FBegin->bottom; }
    const Rect* Begin() const { return FBegin; }
    const Rect* End() const { return FEnd; }
    bool Single() const { return FEnd - FBegin == 1; }
    void Next()
    {
        FBegin = FEnd;
        Load();
    }
    // The end of the bands, from the current one on, that end at or above row y: the
    // first rectangle reaching below y, which starts a band, since the rectangles of a
    // band share their bottom.
    const Rect* BandsEndingBy(int64_t y) const
    {
        const Rect* e = FBegin;
        while (e != FLast && e->bottom <= y)
            ++e;
        return e;
    }
    void SkipTo(const Rect* band)
    {
        FBegin = band;
        Load();
    }

private:
    void Load() { FEnd = FBegin == FLast ? FBegin : detail::BandEnd(FBegin, FLast); }

    const Rect* FBegin;
    const Rect* FLast;
    const Rect* FEnd = nullptr;
};

template <RegionOp Op> bool Inside(bool inA, bool inB)
{
    if constexpr (Op == RegionOp::And)
        return inA && inB;
    else if constexpr (Op == RegionOp::Or)
        return inA || inB;
    else if constexpr (Op == RegionOp::Xor)
        return inA != inB;
    else
        return inA && !inB;
}

// Merges the spans of one band of a with one band of b (either range may be empty) into
// the boundary list xs, which has room for two boundaries per span of both, and returns
// how many it wrote. Boundaries at the same x are taken together before the result is
// judged, so the output spans never touch.
template <RegionOp Op>
size_t MergeSpans(const Rect* a, const Rect* aEnd, const Rect* b, const Rect* bEnd, int32_t* xs)
{
    int32_t* out = xs;
    bool inA = false, inB = false, inside = false;
    while (a != aEnd || b != bEnd) {
        int64_t xa = a != aEnd ? (inA ? a->right : a->left) : INT64_MAX;
        int64_t xb = b != bEnd ? (inB ? b->right : b->left) : INT64_MAX;
        int64_t x = std::min(xa, xb);
        if (xa == x) {
            if (inA)
                ++a;
            inA = !inA;
        }
        if (xb == x) {
            if (inB)
                ++b;
            inB = !inB;
        }
        bool now = Inside<Op>(inA, inB);
        if (now != inside) {
            *out++ = int32_t(x);
            inside = now;
        }
    }
    return size_t(out - xs);
}

// The same for two bands of one span each, the common case of thin shapes, without the
// general walk; -1 when the operation has no shortcut here.
template <RegionOp Op> ptrdiff_t MergeSingleSpans(const Rect& a, const Rect& b, int32_t* xs)
{
    if constexpr (Op == RegionOp::And) {
        const int32_t l = std::max(a.left, b.left), r = std::min(a.right, b.right);
        if (l >= r)
            return 0;
        xs[0] = l;
        xs[1] = r;
        return 2;
    } else if constexpr (Op == RegionOp::Or) {
        if (a.left <= b.right && b.left <= a.right) {
            xs[0] = std::min(a.left, b.left);
            xs[1] = std::max(a.right, b.right);
            return 2;
        }
        const Rect& first = a.left < b.left ? a : b;
        const Rect& second = a.left < b.left ? b : a;
        xs[0] = first.left;
        xs[1] = first.right;
        xs[2] = second.left;
        xs[3] = second.right;
        return 4;
    } else if constexpr (Op == RegionOp::Diff) {
        if (b.right <= a.left || b.left >= a.right) {
            xs[0] = a.left;
            xs[1] = a.right;
            return 2;
        }
        ptrdiff_t n = 0;
        if (a.left < b.left) {
            xs[n++] = a.left;
            xs[n++] = b.left;
        }
        if (b.right < a.right) {
            xs[n++] = b.right;
            xs[n++] = a.right;
        }
        return n;
    } else {
        return -1;
    }
}

// The band sweep: the y axis is cut wherever a band of either operand starts or ends, and
// each piece gets the merge of the two bands over it. The work is linear in the number of
// rectangles of both operands and the result.
template <RegionOp Op>
void SweepInto(const std::vector<Rect>& ra, const std::vector<Rect>& rb, std::vector<Rect>& out)
{
    out.clear();
    BandWriter writer(out);
    // Kept per thread, so that a steady stream of combinations allocates nothing.
    // It always has room for the four boundaries of two single spans.
    thread_local std::vector<int32_t> xs = detail::ReservedList<int32_t>();
    xs.resize(xs.capacity());
    int32_t* bounds = xs.data();
    BandCursor ca(ra), cb(rb);
    int64_t y = std::min(ca.Done() ? INT64_MAX : ca.Top(), cb.Done() ? INT64_MAX : cb.Top());
    while (!ca.Done() || !cb.Done()) {
        const bool inA = !ca.Done() && ca.Top() <= y;
        const bool inB = !cb.Done() && cb.Top() <= y;
        int64_t next = INT64_MAX;
        if (!ca.Done())
            next = std::min<int64_t>(next, inA ? ca.Bottom() : ca.Top());
        if (!cb.Done())
            next = std::min<int64_t>(next, inB ? cb.Bottom() : cb.Top());
        const bool wanted = (inA || inB) && (Op != RegionOp::And || (inA && inB))
            && (Op != RegionOp::Diff || inA);
        if (wanted) {
            // A merged band has at most two boundaries per span of the two bands.
            auto room = [&](size_t spans) {
                if (xs.size() < 2 * spans) {
                    xs.resize(2 * spans);
                    bounds = xs.data();
                }
            };
            ptrdiff_t n = -1;
            if (inA && inB) {
                if (ca.Single() && cb.Single())
                    n = MergeSingleSpans<Op>(*ca.Begin(), *cb.Begin(), bounds);
                if (n < 0) {
                    room(size_t(ca.End() - ca.Begin()) + size_t(cb.End() - cb.Begin()));
                    n = ptrdiff_t(MergeSpans<Op>(ca.Begin(), ca.End(), cb.Begin(), cb.End(), bounds));
                }
            } else {
                // A band of one operand alone, wanted, is kept as it is.
                const BandCursor& c = inA ? ca : cb;
                room(size_t(c.End() - c.Begin()));
                n = 0;
                for (const Rect* r = c.Begin(); r != c.End(); ++r) {
                    bounds[n++] = r->left;
                    bounds[n++] = r->right;
                }
            }
            writer.Add(int32_t(y), int32_t(next), { bounds, size_t(n) });
        }
        y = next;
        if (!ca.Done() && ca.Bottom() <= y)
            ca.Next();
        if (!cb.Done() && cb.Bottom() <= y)
            cb.Next();
        // Whole bands of one operand that end before the other's next band are kept as
        // they are, copied at once.
        if constexpr (Op != RegionOp::And) {
            const bool aAlone = !ca.Done() && ca.Top() >= y && (cb.Done() || cb.Top() > ca.Top());
            const bool bAlone = Op != RegionOp::Diff && !cb.Done() && cb.Top() >= y
                && (ca.Done() || ca.Top() > cb.Top());
            if (aAlone || bAlone) {
                BandCursor& c = aAlone ? ca : cb;
                const BandCursor& other = aAlone ? cb : ca;
                const Rect* e = c.BandsEndingBy(other.Done() ? INT64_MAX : other.Top());
                if (e != c.Begin()) {
                    writer.AddBands(c.Begin(), e);
                    y = (e - 1)->bottom;
                    c.SkipTo(e);
                }
            }
        }
    }
}

template <RegionOp Op> std::vector<Rect> Sweep(const std::vector<Rect>& ra, const std::vector<Rect>& rb)
{
    std::vector<Rect> out;
    out.reserve(ra.size() + rb.size());
    SweepInto<Op>(ra, rb, out);
    return out;
}

// The results of in-place combinations are built here and copied back: a region that
// keeps its storage across calls allocates nothing once grown, and this buffer stays as
// large as the largest result (a swap would hand it a small region's buffer, to be grown
// again by the next combination).
std::vector<Rect>& Scratch()
{
    thread_local std::vector<Rect> scratch;
    return scratch;
}

// Copies from into to, reusing to's storage. Storage that must grow takes half again as
// much as needed, so that a list copied into again and again with varying content (a
// clip, a pending area) soon has room for the largest.
void CopyRects(std::vector<Rect>& to, const std::vector<Rect>& from)
{
    if (to.capacity() < from.size())
        to.reserve(from.size() + from.size() / 2);
    to.assign(from.begin(), from.end());
}

void TakeResult(std::vector<Rect>& rects, const std::vector<Rect>& result)
{
    CopyRects(rects, result);
}

// True when rects is already a canonical banded list, apart from bands that could merge.
bool Banded(std::span<const Rect> rects)
{
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i];
        if (r.Empty())
            return false;
        if (i == 0)
            continue;
        const Rect& p = rects[i - 1];
        bool sameBand = r.top == p.top && r.bottom == p.bottom && r.left > p.right;
        if (!sameBand && r.top < p.bottom)
            return false;
    }
    return true;
}

// Writes the canonical form of a banded list into out.
void WriteBanded(std::span<const Rect> rects, std::vector<Rect>& out)
{
    out.clear();
    BandWriter writer(out);
    thread_local std::vector<int32_t> xs = detail::ReservedList<int32_t>();
    for (size_t i = 0; i < rects.size();) {
        xs.clear();
        size_t j = i;
        for (; j < rects.size() && rects[j].top == rects[i].top; ++j) {
            xs.push_back(rects[j].left);
            xs.push_back(rects[j].right);
        }
        writer.Add(rects[i].top, rects[i].bottom, xs);
        i = j;
    }
}

// Index of the first rectangle of the band that holds or follows row y.
size_t FirstBandAtOrBelow(const std::vector<Rect>& rects, int32_t y)
{
    auto it = std::partition_point(
        rects.begin(), rects.end(), [y](const Rect& r) { return r.bottom <= y; });
    return size_t(it - rects.begin());
}

} // namespace

Region::Region(const Rect& r)
{
    if (!r.Empty())
        FRects.push_back(r);
}

Region& Region::operator=(const Region& o)
{
    if (this != &o)
        CopyRects(FRects, o.FRects);
    return *this;
}

Region Region::FromRects(std::span<const Rect> rects)
{
    Region result;
    result.AssignRects(rects);
    return result;
}

namespace {

// Whether runs are one-row rectangles in row order, left to right and apart in a row.
bool RowRunsInOrder(std::span<const Rect> runs)
{
    for (size_t i = 0; i < runs.size(); ++i) {
        const Rect& r = runs[i];
        if (r.Empty() || int64_t(r.bottom) - r.top != 1)
            return false;
        if (i > 0 && (runs[i - 1].top > r.top || (runs[i - 1].top == r.top && runs[i - 1].right >= r.left)))
            return false;
    }
    return true;
}

} // namespace

void Region::UniteRows(std::span<const Rect> runs)
{
    if (!RowRunsInOrder(runs)) {
        *this |= FromRects(runs);
        return;
    }
    thread_local std::vector<Rect> merged = detail::ReservedList<Rect>();
    // Room for the spans of the widest band and all the runs, each a pair of boundaries.
    thread_local std::vector<int32_t> xs = detail::ReservedList<int32_t>();
    merged.clear();
    BandWriter writer(merged);
    const Rect* f = FRects.data();
    const Rect* const fLast = f + FRects.size();
    const Rect* o = runs.data();
    const Rect* const oLast = o + runs.size();
    auto bandEnd = [fLast](const Rect* band) { return detail::BandEnd(band, fLast); };
    auto room = [&](size_t spans) {
        if (xs.size() < 2 * spans)
            xs.resize(2 * spans);
        return xs.data();
    };
    int64_t y = std::numeric_limits<int64_t>::min();
    for (;;) {
        while (f != fLast && f->bottom <= y)
            f = bandEnd(f);
        if (f == fLast && o == oLast)
            break;
        const int64_t bandTop = f != fLast ? std::max<int64_t>(f->top, y)
                                           : std::numeric_limits<int64_t>::max();
        const int64_t runTop = o != oLast ? o->top : std::numeric_limits<int64_t>::max();
        if (bandTop < runTop) {
            // Rows of the region above the next run: its spans as they are.
            const int64_t end = std::min<int64_t>(f->bottom, runTop);
            const Rect* e = bandEnd(f);
            int32_t* x = room(size_t(e - f));
            size_t n = 0;
            for (const Rect* k = f; k != e; ++k) {
                x[n++] = k->left;
                x[n++] = k->right;
            }
            writer.Add(int32_t(bandTop), int32_t(end), { x, n });
            y = end;
            continue;
        }
        const Rect* oe = o;
        while (oe != oLast && oe->top == runTop)
            ++oe;
        // The row's runs, met with the region's spans on that row if it has any; spans
        // that meet or overlap become one.
        const Rect* k = f;
        const Rect* const ke = bandTop == runTop ? bandEnd(f) : f;
        int32_t* x = room(size_t(ke - k) + size_t(oe - o));
        size_t n = 0;
        int32_t left = 0, right = 0;
        bool open = false;
        while (k != ke || o != oe) {
            const Rect& r = (o == oe || (k != ke && k->left < o->left)) ? *k++ : *o++;
            if (open && r.left <= right) {
                right = std::max(right, r.right);
                continue;
            }
            if (open) {
                x[n++] = left;
                x[n++] = right;
            }
            left = r.left;
            right = r.right;
            open = true;
        }
        x[n++] = left;
        x[n++] = right;
        writer.Add(int32_t(runTop), int32_t(runTop + 1), { x, n });
        y = runTop + 1;
    }
    FRects.swap(merged);
}

void Region::AssignRects(std::span<const Rect> rects)
{
    if (!rects.empty() && !FRects.empty() && rects.data() >= FRects.data()
        && rects.data() < FRects.data() + FRects.size()) {
        std::vector<Rect> copy(rects.begin(), rects.end());
        AssignRects(copy);
        return;
    }
    // Rows handed over in order, as a scan produces them, take one pass.
    if (Banded(rects)) {
        WriteBanded(rects, FRects);
        return;
    }
    // Pairwise unions, bottom-up: each level halves the count, so n rectangles take
    // log n rounds of sweeps instead of n.
    std::vector<Region> level;
    level.reserve(rects.size());
    for (const Rect& r : rects)
        if (!r.Empty())
            level.emplace_back(r);
    if (level.empty()) {
        FRects.clear();
        return;
    }
    while (level.size() > 1) {
        size_t half = (level.size() + 1) / 2;
        for (size_t i = 0; i < level.size() / 2; ++i)
            level[i] = Combine(level[2 * i], level[2 * i + 1], RegionOp::Or);
        if (level.size() % 2)
            level[half - 1] = std::move(level.back());
        level.resize(half);
    }
    FRects.swap(level.front().FRects);
}

Region Region::Combine(const Region& a, const Region& b, RegionOp op)
{
    Region result;
    switch (op) {
    case RegionOp::Copy:
        return a;
    case RegionOp::And:
        if (a.Empty() || b.Empty())
            return {};
        result.FRects = Sweep<RegionOp::And>(a.FRects, b.FRects);
        break;
    case RegionOp::Or:
        if (b.Empty())
            return a;
        if (a.Empty())
            return b;
        result.FRects = Sweep<RegionOp::Or>(a.FRects, b.FRects);
        break;
    case RegionOp::Xor:
        if (b.Empty())
            return a;
        if (a.Empty())
            return b;
        result.FRects = Sweep<RegionOp::Xor>(a.FRects, b.FRects);
        break;
    case RegionOp::Diff:
        if (a.Empty() || b.Empty())
            return a;
        result.FRects = Sweep<RegionOp::Diff>(a.FRects, b.FRects);
        break;
    default:
        ReportFailure("region combination with an unknown operation");
        break;
    }
    METRONOME_ASSERT(detail::CanonicalFault(result.FRects).empty());
    return result;
}

Region& Region::operator&=(const Region& o)
{
    if (Empty())
        return *this;
    if (o.IsRect())
        return IntersectRect(o.FRects.front());
    if (o.Empty()) {
        FRects.clear();
        return *this;
    }
    std::vector<Rect>& out = Scratch();
    SweepInto<RegionOp::And>(FRects, o.FRects, out);
    TakeResult(FRects, out);
    return *this;
}
Region& Region::operator|=(const Region& o)
{
    if (o.Empty())
        return *this;
    if (Empty()) {
        CopyRects(FRects, o.FRects);
        return *this;
    }
    std::vector<Rect>& out = Scratch();
    SweepInto<RegionOp::Or>(FRects, o.FRects, out);
    TakeResult(FRects, out);
    return *this;
}
Region& Region::operator-=(const Region& o)
{
    if (Empty() || o.Empty())
        return *this;
    std::vector<Rect>& out = Scratch();
    SweepInto<RegionOp::Diff>(FRects, o.FRects, out);
    TakeResult(FRects, out);
    return *this;
}

void Region::Assign(const Region& a, const Region& b, RegionOp op)
{
    if (&a == this) {
        switch (op) {
        case RegionOp::And: *this &= b; return;
        case RegionOp::Or: *this |= b; return;
        case RegionOp::Diff: *this -= b; return;
        default: break;
        }
    }
    if (&a == this || &b == this) {
        *this = Combine(a, b, op);
        return;
    }
    switch (op) {
    case RegionOp::Copy: CopyRects(FRects, a.FRects); return;
    case RegionOp::And:
        if (a.Empty() || b.Empty())
            FRects.clear();
        else
            SweepInto<RegionOp::And>(a.FRects, b.FRects, FRects);
        return;
    case RegionOp::Or:
        if (a.Empty() || b.Empty())
            CopyRects(FRects, a.Empty() ? b.FRects : a.FRects);
        else
            SweepInto<RegionOp::Or>(a.FRects, b.FRects, FRects);
        return;
    case RegionOp::Diff:
        if (a.Empty() || b.Empty())
            CopyRects(FRects, a.FRects);
        else
            SweepInto<RegionOp::Diff>(a.FRects, b.FRects, FRects);
        return;
    default: *this = Combine(a, b, op); return;
    }
}

namespace {

// The bands of rects within r's rows, cut to r, into out; bands that become equal
// neighbours merge.
void IntersectRectInto(const std::vector<Rect>& rects, const Rect& r, std::vector<Rect>& out)
{
    out.clear();
    BandWriter writer(out);
    thread_local std::vector<int32_t> xs = detail::ReservedList<int32_t>();
    const Rect* const last = rects.data() + rects.size();
    for (const Rect* band = rects.data() + FirstBandAtOrBelow(rects, r.top); band != last;) {
        const int32_t top = band->top, bottom = band->bottom;
        if (top >= r.bottom)
            break;
        xs.clear();
        const Rect* k = band;
        for (; k != last && k->top == top; ++k) {
            const int32_t left = std::max(k->left, r.left);
            const int32_t right = std::min(k->right, r.right);
            if (left < right) {
                xs.push_back(left);
                xs.push_back(right);
            }
        }
        writer.Add(std::max(top, r.top), std::min(bottom, r.bottom), xs);
        band = k;
    }
}

} // namespace

Region& Region::IntersectRect(const Rect& r)
{
    if (Empty())
        return *this;
    if (r.Empty()) {
        FRects.clear();
        return *this;
    }
    if (r.Contains(Bounds()))
        return *this;
    std::vector<Rect>& out = Scratch();
    IntersectRectInto(FRects, r, out);
    TakeResult(FRects, out);
    return *this;
}

void Region::AssignIntersectRect(const Region& src, const Rect& r)
{
    if (&src == this) {
        IntersectRect(r);
        return;
    }
    if (src.Empty() || r.Empty()) {
        FRects.clear();
        return;
    }
    IntersectRectInto(src.FRects, r, FRects);
}

void Region::SetRect(const Rect& r)
{
    if (r.Empty())
        FRects.clear();
    else
        FRects.assign(1, r);
}

namespace {

// The one-rectangle operand of the rectangle calls is kept per thread: a steady stream of
// them allocates nothing.
const Region& SingleRect(const Rect& r)
{
    thread_local Region single;
    single.SetRect(r);
    return single;
}

} // namespace

Region& Region::SubtractRect(const Rect& r)
{
    if (Empty() || r.Empty())
        return *this;
    return *this -= SingleRect(r);
}

Region& Region::UnionRect(const Rect& r)
{
    if (r.Empty())
        return *this;
    if (Empty()) {
        SetRect(r);
        return *this;
    }
    return *this |= SingleRect(r);
}

Region& Region::operator^=(const Region& o)
{
    return *this = Combine(*this, o, RegionOp::Xor);
}

Region operator&(const Region& a, const Region& b)
{
    return Region::Combine(a, b, RegionOp::And);
}
Region operator|(const Region& a, const Region& b)
{
    return Region::Combine(a, b, RegionOp::Or);
}
Region operator-(const Region& a, const Region& b)
{
    return Region::Combine(a, b, RegionOp::Diff);
}
Region operator^(const Region& a, const Region& b)
{
    return Region::Combine(a, b, RegionOp::Xor);
}

void Region::Offset(int32_t dx, int32_t dy)
{
    if (Empty() || (dx == 0 && dy == 0))
        return;
    Rect b = Bounds();
    bool fits = int64_t(b.left) + dx >= INT32_MIN && int64_t(b.right) + dx <= INT32_MAX
        && int64_t(b.top) + dy >= INT32_MIN && int64_t(b.bottom) + dy <= INT32_MAX;
    if (fits) {
        for (Rect& r : FRects)
            r = { r.left + dx, r.top + dy, r.right + dx, r.bottom + dy };
        return;
    }
    // Pixels pushed past the 32-bit limits are dropped, which may leave bands empty or
    // equal to their neighbours, so the list is rebuilt.
    std::vector<Rect> moved;
    moved.reserve(FRects.size());
    for (const Rect& r : FRects)
        moved.push_back(r.Offset(dx, dy));
    *this = FromRects(moved);
}

bool Region::Contains(int32_t x, int32_t y) const
{
    size_t i = FirstBandAtOrBelow(FRects, y);
    if (i == FRects.size() || FRects[i].top > y)
        return false;
    int32_t top = FRects[i].top;
    auto it = std::partition_point(FRects.begin() + ptrdiff_t(i), FRects.end(),
        [top, x](const Rect& r) { return r.top == top && r.right <= x; });
    return it != FRects.end() && it->top == top && it->left <= x;
}

bool Region::Intersects(const Rect& r) const
{
    if (r.Empty())
        return false;
    size_t i = FirstBandAtOrBelow(FRects, r.top);
    while (i < FRects.size() && FRects[i].top < r.bottom) {
        int32_t top = FRects[i].top;
        auto first = FRects.begin() + ptrdiff_t(i);
        auto it = std::partition_point(first, FRects.end(),
            [top, &r](const Rect& q) { return q.top == top && q.right <= r.left; });
        if (it != FRects.end() && it->top == top && it->left < r.right)
            return true;
        i = size_t(std::partition_point(it, FRects.end(), [top](const Rect& q) {
            return q.top == top;
        }) - FRects.begin());
    }
    return false;
}

Rect Region::Bounds() const
{
    if (FRects.empty())
        return {};
    Rect b { INT32_MAX, FRects.front().top, INT32_MIN, FRects.back().bottom };
    for (const Rect& r : FRects) {
        b.left = std::min(b.left, r.left);
        b.right = std::max(b.right, r.right);
    }
    return b;
}

int64_t Region::Area() const
{
    // A region can cover up to 2^64 pixels; the sum saturates rather than wraps.
    detail::Int128 sum = 0;
    for (const Rect& r : FRects)
        sum += detail::Int128(r.Width()) * r.Height();
    constexpr int64_t limit = std::numeric_limits<int64_t>::max();
    return sum > limit ? limit : int64_t(sum);
}

} // namespace plat
