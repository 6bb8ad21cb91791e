#pragma once
// Shared pieces of the effect control tests: a headless window system with a manual
// clock, hand-built WAVE images, and a PNG writer for the gallery pictures.

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/raster/ImageFiles.h"
#include "platform/system/Clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace effctltest {

class HeadlessFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::InstallWindowSystem(&ws);
        plat::UseManualClock(true, 1000);
        Application->Reset();
    }
    void TearDown() override
    {
        Application->Reset();
        plat::InstallWindowSystem(nullptr);
        plat::UseManualClock(false);
    }
    // A shown borderless form at (x, y) of the given client size, painted once.
    TForm* NewForm(int w = 200, int h = 200, int x = 0, int y = 0, TColor color = clWhite)
    {
        auto* f = new TForm(Application);
        f->SetBorderStyle(bsNone);
        f->SetBounds(x, y, w, h);
        f->SetColor(color);
        f->Show();
        Application->ProcessMessages();
        return f;
    }
    void Pump() { Application->ProcessMessages(); }
    static TColor Pixel(TForm* f, int x, int y) { return f->Framebuffer().GetColor(x, y); }

    plat::HeadlessWindowSystem ws;
};

// Little-endian writer for hand-built RIFF images.
struct ByteWriter {
    std::vector<uint8_t> b;
    void U8(int v) { b.push_back(uint8_t(v)); }
    void U16(int v)
    {
        U8(v & 0xFF);
        U8((v >> 8) & 0xFF);
    }
    void U32(uint32_t v)
    {
        U16(int(v & 0xFFFF));
        U16(int(v >> 16));
    }
    void Id(const char* id) { b.insert(b.end(), id, id + 4); }
};

// 16-bit mono PCM at `rate` holding a rising ramp of `frames` samples.
inline std::vector<uint8_t> RampWave(int rate, int frames, int scale = 1)
{
    ByteWriter w;
    uint32_t dataLen = uint32_t(frames) * 2;
    w.Id("RIFF");
    w.U32(36 + dataLen);
    w.Id("WAVE");
    w.Id("fmt ");
    w.U32(16);
    w.U16(1);
    w.U16(1);
    w.U32(uint32_t(rate));
    w.U32(uint32_t(rate * 2));
    w.U16(2);
    w.U16(16);
    w.Id("data");
    w.U32(dataLen);
    for (int i = 0; i < frames; ++i)
        w.U16((8 * (i + 1) * scale) & 0xFFFF);
    return w.b;
}

// An image with the beat sound's exact chunk layout (MS ADPCM, 2 channels, 22050 Hz,
// one 1024-byte block of 1012 frames, fact 679, a 70-byte LIST chunk): 1192 bytes. The
// block's nibbles are a fixed pattern, so every byte position is distinguishable.
inline std::vector<uint8_t> BeatLayoutWave()
{
    static const int coef1[7] = { 256, 512, 0, 192, 240, 460, 392 };
    static const int coef2[7] = { 0, -256, 0, 64, 0, -208, -232 };
    ByteWriter w;
    w.Id("RIFF");
    w.U32(1184);
    w.Id("WAVE");
    w.Id("fmt ");
    w.U32(50);
    w.U16(2);
    w.U16(2);
    w.U32(22050);
    w.U32(22311);
    w.U16(1024);
    w.U16(4);
    w.U16(32);
    w.U16(1012);
    w.U16(7);
    for (int i = 0; i < 7; ++i) {
        w.U16(coef1[i] & 0xFFFF);
        w.U16(coef2[i] & 0xFFFF);
    }
    w.Id("fact");
    w.U32(4);
    w.U32(679);
    w.Id("data");
    w.U32(1024);
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
    w.Id("LIST");
    w.U32(70);
    w.Id("INFO");
    auto text = [&w](const char* id, const char* s, uint32_t len) {
        w.Id(id);
        w.U32(len);
        for (uint32_t i = 0; i < len; ++i)
            w.U8(i < std::strlen(s) ? s[i] : 0);
    };
    text("ICRD", "2001-05-17", 10);
    text("IENG", "Sound Engineer", 18);
    text("ISFT", "Wave Editor", 14);
    return w.b;
}

// The directory for pictures written by the tests, created on demand.
inline std::string GalleryDir()
{
    std::string dir = std::string(BINARY_DIR) + "/gallery";
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace effctltest
