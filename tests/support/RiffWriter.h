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
};
