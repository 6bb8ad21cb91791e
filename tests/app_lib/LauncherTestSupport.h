#pragma once
// Shared pieces of the launcher tests: a private temporary folder with a bin/ folder put
// first on PATH, stub programs written as shell scripts, the XDG variables pointed into
// the folder, and looks at this process's children and threads through /proc.

#include "platform/raster/ImageFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace launchertest {

namespace fs = std::filesystem;

inline std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Polls until pred holds or timeoutMs have passed; the last value of pred.
template <class Pred> bool Eventually(Pred pred, int timeoutMs = 5000)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return pred();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Children of this process in the process table (zombies too), with their states.
inline std::map<int, char> ChildStates()
{
    std::map<int, char> kids;
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        int pid = std::atoi(it->path().filename().c_str());
        if (pid <= 0)
            continue;
        std::string stat = ReadText(it->path() / "stat");
        size_t close = stat.rfind(')');
        if (close == std::string::npos || close + 2 >= stat.size())
            continue;
        char state = 0;
        int ppid = 0;
        std::istringstream rest(stat.substr(close + 2));
        rest >> state >> ppid;
        if (ppid == getpid())
            kids[pid] = state;
    }
    return kids;
}

inline int ZombieChildren()
{
    int n = 0;
    for (auto [pid, state] : ChildStates())
        n += state == 'Z';
    return n;
}

inline int ThreadCount()
{
    int n = 0;
    std::error_code ec;
    for (fs::directory_iterator it("/proc/self/task", ec), end; !ec && it != end; it.increment(ec))
        ++n;
    return n;
}

// A test with its own folder: bin/ is first on PATH; the XDG folders and HOME lie inside
// it, so that nothing of the machine's desktop is seen. Everything is restored after.
// Base is the fixture this one extends (its SetUp runs first, its TearDown last).
template <class Base = ::testing::Test> class StubFixture : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        for (const char* name : { "PATH", "HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                 "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_CURRENT_DESKTOP" }) {
            const char* v = std::getenv(name);
            FSaved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        }
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::path(::testing::TempDir())
            / ("launch_" + std::to_string(getpid()) + "_" + info->name());
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        bin = root / "bin";
        Set("PATH", bin.string());
        Set("HOME", (root / "home").string());
        Set("XDG_DATA_HOME", (root / "data").string());
        Set("XDG_DATA_DIRS", (root / "sysdata").string());
        Set("XDG_CONFIG_HOME", (root / "config").string());
        Set("XDG_CONFIG_DIRS", (root / "sysconfig").string());
        unsetenv("XDG_CURRENT_DESKTOP");
    }
    void TearDown() override
    {
        for (const auto& [name, value] : FSaved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        std::error_code ec;
        fs::remove_all(root, ec);
        Base::TearDown();
    }
    static void Set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

    // An executable shell script bin/<name> running body with a plain PATH.
    fs::path Stub(const std::string& name, const std::string& body, const fs::path& dir = {})
    {
        fs::path p = (dir.empty() ? bin : dir) / name;
        WriteText(p, "#!/bin/sh\nPATH=/usr/bin:/bin\n" + body + "\n");
        fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
        return p;
    }
    // A stub that appends one line per run to log (in one write): its arguments, each in <>.
    fs::path LoggingStub(const std::string& name, const fs::path& log, const std::string& then = "")
    {
        return Stub(name, "line=\nfor a in \"$@\"; do line=\"$line<$a>\"; done\n"
                "printf '%s\\n' \"$line\" >> '" + log.string() + "'\n" + then);
    }
    // A mixer's desktop entry naming icon, and that icon: 16 x 16, the left half opaque
    // colour c, the right half transparent.
    void MixerEntryWithIcon(const std::string& program, const std::string& icon, plat::Color c)
    {
        WriteText(root / "data/applications" / (program + ".desktop"),
            "[Desktop Entry]\nType=Application\nName=Volume Control\nExec=" + program
                + "\nIcon=" + icon + "\n");
        plat::Surface color(16, 16);
        color.Fill(c);
        std::vector<uint8_t> alpha(16 * 16, 255);
        for (int y = 0; y < 16; ++y)
            for (int x = 8; x < 16; ++x)
                alpha[size_t(y) * 16 + size_t(x)] = 0;
        fs::path file = root / "data/icons/hicolor/16x16/apps" / (icon + ".png");
        fs::create_directories(file.parent_path());
        ASSERT_TRUE(plat::SavePngFile(file.string(), color, alpha));
    }

    fs::path root, bin;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

using LauncherFixture = StubFixture<>;

} // namespace launchertest
