#pragma once
// Shared pieces of the effect control tests: the headless fixture, hand-built WAVE
// images, and the folder for the gallery pictures.

#include "platform/raster/ImageFiles.h"
#include "support/HeadlessFixture.h"
#include "support/RiffWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace effctltest {

// The shared headless fixture with this suite's default form (200 x 200).
class HeadlessFormTest : public HeadlessTest {
protected:
    TForm* NewForm(int w = 200, int h = 200, int x = 0, int y = 0, TColor color = clWhite)
    {
        return HeadlessTest::NewForm(w, h, x, y, color);
    }
};

// 16-bit mono PCM at `rate` holding a rising ramp of `frames` samples.
inline std::vector<uint8_t> RampWave(int rate, int frames, int scale = 1)
{
    RiffWriter w;
    w.PcmHead(rate, 1, uint32_t(frames) * 2);
    for (int i = 0; i < frames; ++i)
        w.U16((8 * (i + 1) * scale) & 0xFFFF);
    return w.b;
}

// An image with the beat sound's exact chunk layout (MS ADPCM, 2 channels, 22050 Hz,
// one 1024-byte block of 1012 frames, fact 679, a 70-byte LIST chunk): 1192 bytes. The
// block's nibbles are a fixed pattern, so every byte position is distinguishable.
inline std::vector<uint8_t> BeatLayoutWave()
{
    RiffWriter w;
    w.AdpcmHead(1184, 679);
    w.U8(0);
    w.U8(0);
    w.U16(32);
    w.U16(32);
    w.U16(100);
    w.U16(-100 & 0xFFFF);
    w.U16(50);
    w.U16(-50 & 0xFFFF);
    for (int i = 14; i < 1024; ++i)
        w.U8((i * 37 + 11) & 0xFF);
    w.AdpcmInfo("2001-05-17", "Sound Engineer", "Wave Editor");
    return w.b;
}

// Every channel of a within tol of b's: for faces that went through the in-place
// four-sample blur, whose truncation carries a step or two of darkening down and across
// from any darker pixel above.
inline bool Near(TColor a, TColor b, int tol = 4)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tol || d < -tol)
            return false;
    }
    return true;
}

// The directory for pictures written by the tests, created on demand.
inline std::string GalleryDir()
{
    std::string dir = std::string(BINARY_DIR) + "/gallery";
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace effctltest
