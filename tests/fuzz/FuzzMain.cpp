// The libFuzzer entry of one target, chosen at compile time by FUZZ_ENTRY.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzz::FUZZ_ENTRY(data, size);
}
