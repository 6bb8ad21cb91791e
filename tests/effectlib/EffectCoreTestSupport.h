#pragma once
// Shared pieces of the tests of the effect library's drawing routines and bases: bitmaps
// built from pixel rows, a headless form fixture and a PNG directory for the gallery.

#include "framework/graphics/Bitmap.h"
#include "support/FillBox.h"
#include "support/HeadlessFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace effcoretest {

// A bitmap whose pixel (x, y) is rows[y][x] (TColor values).
inline void FillBitmap(TBitmap& b, const std::vector<std::vector<TColor>>& rows)
{
    b.SetSize(rows.empty() ? 0 : int(rows[0].size()), int(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            b.Handle()->SetColor(int(x), int(y), rows[y][x]);
}

// A bitmap of w x h in one colour.
inline void SolidBitmap(TBitmap& b, int w, int h, TColor c)
{
    b.SetSize(w, h);
    b.Handle()->Fill(c);
}

// The shared headless fixture with this suite's default form (120 x 80).
class HeadlessFormTest : public HeadlessTest {
protected:
    TForm* NewForm(int w = 120, int h = 80, TColor color = clWhite)
    {
        return HeadlessTest::NewForm(w, h, 0, 0, color);
    }
};

inline std::string GalleryDir()
{
    std::string dir = std::string(BINARY_DIR) + "/gallery";
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace effcoretest
