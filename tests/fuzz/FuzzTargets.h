#pragma once
// The fuzz targets: one entry per reader, each feeding arbitrary bytes through the same
// public call that the program or a library user makes, then checking what a sound reader
// promises (a failure is reported, never a crash; what was read writes and reads back the
// same). The same functions run under libFuzzer (FuzzMain.cpp) and in the regression
// replay of the normal test build (ReplayTest.cpp). A broken promise aborts through
// FUZZ_CHECK, so both runners see it as a crash.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", __FILE__, __LINE__,    \
                #cond);                                                                    \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

namespace fuzz {

using Entry = int (*)(const uint8_t* data, size_t size);

int Ini(const uint8_t* data, size_t size);
int Form(const uint8_t* data, size_t size);
int Wave(const uint8_t* data, size_t size);
int Bmp(const uint8_t* data, size_t size);
int Ico(const uint8_t* data, size_t size);
int Png(const uint8_t* data, size_t size);
int Region(const uint8_t* data, size_t size);

struct Target {
    const char* name;
    Entry entry;
};

// Every target by the name its corpus and regression folders carry.
inline constexpr Target Targets[] = {
    { "ini", Ini },
    { "form", Form },
    { "wave", Wave },
    { "bmp", Bmp },
    { "ico", Ico },
    { "png", Png },
    { "region", Region },
};

} // namespace fuzz
