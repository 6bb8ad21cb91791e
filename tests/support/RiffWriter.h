#pragma once
// A little-endian writer for hand-built RIFF images (wave files and their chunks).

#include <cstdint>
#include <cstring>
#include <vector>

struct RiffWriter {
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
    // A chunk of len bytes holding text, padded with zero bytes.
    void Text(const char* id, const char* text, uint32_t len)
    {
        Id(id);
        U32(len);
        for (uint32_t i = 0; i < len; ++i)
            U8(i < std::strlen(text) ? text[i] : 0);
    }
    // A 16-bit PCM wave's head up to its dataLen data bytes.
    void PcmHead(int rate, int channels, uint32_t dataLen)
    {
        Id("RIFF");
        U32(36 + dataLen);
        Id("WAVE");
        Id("fmt ");
        U32(16);
        U16(1);
        U16(channels);
        U32(uint32_t(rate));
        U32(uint32_t(rate * channels * 2));
        U16(channels * 2);
        U16(16);
        Id("data");
        U32(dataLen);
    }
    // The beat sound's layout up to its data bytes: a RIFF of riffSize bytes, MS ADPCM
    // format (2 channels, 22050 Hz, one 1024-byte block of 1012 frames, the seven standard
    // coefficient pairs), a fact chunk of factFrames and the data chunk's header.
    void AdpcmHead(uint32_t riffSize, uint32_t factFrames)
    {
        static const int coef1[7] = { 256, 512, 0, 192, 240, 460, 392 };
        static const int coef2[7] = { 0, -256, 0, 64, 0, -208, -232 };
        Id("RIFF");
        U32(riffSize);
        Id("WAVE");
        Id("fmt ");
        U32(50);
        U16(2);
        U16(2);
        U32(22050);
        U32(22311);
        U16(1024);
        U16(4);
        U16(32);
        U16(1012);
        U16(7);
        for (int i = 0; i < 7; ++i) {
            U16(coef1[i] & 0xFFFF);
            U16(coef2[i] & 0xFFFF);
        }
        Id("fact");
        U32(4);
        U32(factFrames);
        Id("data");
        U32(1024);
    }
    // The beat sound's closing 70-byte LIST chunk: creation date, engineer and software
    // in text chunks of 10, 18 and 14 bytes.
    void AdpcmInfo(const char* date, const char* engineer, const char* software)
    {
        Id("LIST");
        U32(70);
        Id("INFO");
        Text("ICRD", date, 10);
        Text("IENG", engineer, 18);
        Text("ISFT", software, 14);
    }
};
