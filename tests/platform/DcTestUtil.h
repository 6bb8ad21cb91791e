#pragma once
// Helpers of the drawing-context tests: pictures of small surfaces as text, so that the
// expected pixels can be written out row by row.

#include "platform/raster/Dc.h"

#include <set>
#include <string>
#include <utility>

namespace dctest {

using namespace plat;

constexpr Color Paper = 0xFFFFFF;
constexpr Color Ink = 0x000000;
constexpr Color Fill = 0x0000FF;

// One line per row, '.' for paper, '#' for ink, 'o' for the fill colour, '?' otherwise.
inline std::string Picture(const Surface& s)
{
    std::string out;
    for (int32_t y = 0; y < s.Height(); ++y) {
        for (int32_t x = 0; x < s.Width(); ++x) {
            Color c = s.GetColor(x, y);
            out += c == Paper ? '.' : c == Ink ? '#' : c == Fill ? 'o' : '?';
        }
        out += '\n';
    }
    return out;
}

inline Surface PaperSurface(int32_t w, int32_t h)
{
    Surface s(w, h);
    s.Fill(Paper);
    return s;
}

inline std::set<std::pair<int32_t, int32_t>> PixelsNot(const Surface& s, Color c)
{
    std::set<std::pair<int32_t, int32_t>> out;
    for (int32_t y = 0; y < s.Height(); ++y)
        for (int32_t x = 0; x < s.Width(); ++x)
            if (s.GetColor(x, y) != c)
                out.insert({ x, y });
    return out;
}

inline Pen SolidPen(Color c, int32_t width = 1)
{
    Pen p;
    p.color = c;
    p.width = width;
    return p;
}

} // namespace dctest
