// Replays every saved fuzz input through its target in the normal sanitized build: the
// regression cases (inputs that once broke a reader) and the seed corpora. A broken
// promise aborts, so the file named last on standard output is the one that failed.

#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace fuzz {
// Test names show the target's name rather than its bytes.
void PrintTo(const Target& t, std::ostream* os) { *os << t.name; }
}

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const fs::path& dir)
{
    std::vector<fs::path> files;
    if (fs::is_directory(dir))
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file())
                files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

size_t Replay(const fuzz::Target& t, const char* kind)
{
    size_t n = 0;
    for (const fs::path& f : FilesIn(fs::path(FUZZ_DIR) / kind / t.name)) {
        std::ifstream in(f, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::printf("%s\n", f.c_str());
        std::fflush(stdout);
        t.entry(bytes.data(), bytes.size());
        ++n;
    }
    return n;
}

class FuzzReplay : public ::testing::TestWithParam<fuzz::Target> { };

TEST_P(FuzzReplay, SavedInputsPassTheirTarget)
{
    size_t seeds = Replay(GetParam(), "corpus");
    Replay(GetParam(), "regressions");
    // Every target has a seed corpus; an empty one means the folder was lost.
    EXPECT_GT(seeds, 0u) << "no seed corpus for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(fuzz::Targets),
    [](const ::testing::TestParamInfo<fuzz::Target>& info) { return std::string(info.param.name); });

} // namespace
