#include "platform/system/Process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string TempPath(const std::string& name)
{
    return ::testing::TempDir() + "proc_" + std::to_string(getpid()) + "_" + name;
}

// Children of this process still in the process table (zombies included).
std::set<int> ChildrenOfThisProcess()
{
    std::set<int> kids;
    DIR* d = opendir("/proc");
    if (!d)
        return kids;
    while (dirent* e = readdir(d)) {
        int pid = std::atoi(e->d_name);
        if (pid <= 0)
            continue;
        std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
        size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        char state = 0;
        int ppid = 0;
        std::istringstream rest(stat.substr(close + 2));
        rest >> state >> ppid;
        if (ppid == getpid())
            kids.insert(pid);
    }
    closedir(d);
    return kids;
}

} // namespace

TEST(Process, ArgumentsReachTheChildUnchanged)
{
    const std::string out = TempPath("argv.txt");
    const std::vector<std::string> args
        = { "two words", "\"double\" 'single'", "$HOME `x` ;|&", "back\\slash", "", "*" };
    std::vector<std::string> argv = { "/bin/sh", "-c", "printf '<%s>\\n' \"$@\" > \"$0\"", out };
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = plat::Spawn(argv);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(plat::WaitProcess(r.pid), 0);
    std::string expected;
    for (const std::string& a : args)
        expected += "<" + a + ">\n";
    EXPECT_EQ(ReadFile(out), expected);
    std::remove(out.c_str());
}

TEST(Process, ExitStatusAndErrors)
{
    auto seven = plat::Spawn({ "sh", "-c", "exit 7" }); // found on PATH
    ASSERT_TRUE(seven.ok);
    EXPECT_EQ(plat::WaitProcess(seven.pid), 7);
    EXPECT_EQ(plat::WaitProcess(seven.pid), -1); // already collected

    auto killed = plat::Spawn({ "/bin/sh", "-c", "kill -TERM $$" });
    ASSERT_TRUE(killed.ok);
    EXPECT_EQ(plat::WaitProcess(killed.pid), 128 + SIGTERM);

    auto missing = plat::Spawn({ "no-such-program-here-42" });
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, ENOENT);
    auto empty = plat::Spawn({});
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.error, EINVAL);
    EXPECT_EQ(plat::WaitProcess(0), -1);
    EXPECT_EQ(plat::WaitProcess(1), -1); // not our child
}

TEST(Process, ChildKeepsOnlyStandardDescriptors)
{
    // Descriptors without close-on-exec that a careless spawn would pass on.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    int null = open("/dev/null", O_RDONLY);
    ASSERT_GE(null, 0);

    auto r = plat::Spawn({ "/bin/sleep", "10" });
    ASSERT_TRUE(r.ok);
    // The dynamic loader of the new program opens its libraries on descriptor 3 for a
    // moment, so the listing waits until the child sleeps in its own code.
    const std::string stat = "/proc/" + std::to_string(r.pid) + "/stat";
    for (int i = 0; i < 400; ++i) {
        std::ifstream in(stat);
        std::string line;
        std::getline(in, line);
        size_t paren = line.rfind(')');
        if (paren != std::string::npos && paren + 2 < line.size() && line[paren + 2] == 'S')
            break;
        usleep(5000);
    }
    std::set<std::string> fds;
    const std::string dir = "/proc/" + std::to_string(r.pid) + "/fd";
    for (const auto& e : fs::directory_iterator(dir))
        fds.insert(e.path().filename().string());
    std::error_code ec;
    auto stdinTarget = fs::read_symlink(dir + "/0", ec);
    kill(r.pid, SIGKILL);
    EXPECT_EQ(plat::WaitProcess(r.pid), 128 + SIGKILL);
    close(pipeFds[0]);
    close(pipeFds[1]);
    close(null);

    EXPECT_EQ(fds, (std::set<std::string> { "0", "1", "2" }));
    EXPECT_EQ(stdinTarget.string(), "/dev/null");
}

TEST(Process, DetachedChildrenLeaveNoZombies)
{
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(plat::SpawnDetached({ "/bin/true" }));
    EXPECT_FALSE(plat::SpawnDetached({ "/no/such/program" }));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::set<int> left = ChildrenOfThisProcess();
    while (!left.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        left = ChildrenOfThisProcess();
    }
    EXPECT_TRUE(left.empty()) << left.size() << " children remain";
}

TEST(Process, PathSearchSkipsRelativeEntries)
{
    const fs::path base = TempPath("pathdir");
    fs::remove_all(base);
    fs::create_directories(base / "abs");
    fs::create_directories(base / "rel");
    auto make = [](const fs::path& p, bool exec) {
        std::ofstream(p) << "#!/bin/sh\n";
        fs::permissions(p, exec ? fs::perms(0755) : fs::perms(0644));
    };
    make(base / "abs" / "tool-a", true);
    make(base / "abs" / "tool-plain", false);
    fs::create_directories(base / "abs" / "tool-dir");
    make(base / "rel" / "tool-r", true);
    make(base / "tool-cwd", true);

    const char* oldPath = std::getenv("PATH");
    const std::string saved = oldPath ? oldPath : "";
    const fs::path oldCwd = fs::current_path();
    fs::current_path(base);
    setenv("PATH", ("rel::./rel:" + (base / "abs").string()).c_str(), 1);

    auto a = plat::FindProgramOnPath("tool-a");
    auto r = plat::FindProgramOnPath("tool-r");
    auto cwd = plat::FindProgramOnPath("tool-cwd");
    auto plain = plat::FindProgramOnPath("tool-plain");
    auto dir = plat::FindProgramOnPath("tool-dir");
    auto slashed = plat::FindProgramOnPath("rel/tool-r");
    auto slashedMissing = plat::FindProgramOnPath("abs/tool-plain");
    auto spawnRel = plat::Spawn({ "tool-r" });

    fs::current_path(oldCwd);
    setenv("PATH", saved.c_str(), 1);
    fs::remove_all(base);

    ASSERT_TRUE(a);
    EXPECT_EQ(*a, (base / "abs" / "tool-a").string());
    EXPECT_FALSE(r);
    EXPECT_FALSE(cwd);
    EXPECT_FALSE(plain);
    EXPECT_FALSE(dir);
    ASSERT_TRUE(slashed); // a name with a slash is taken as it is
    EXPECT_EQ(*slashed, "rel/tool-r");
    EXPECT_FALSE(slashedMissing);
    EXPECT_FALSE(spawnRel.ok);
    EXPECT_FALSE(plat::FindProgramOnPath(""));
}

// The child's standard output comes back through the pipe; polling never waits and
// collects the child once it has ended.
TEST(Process, ReadingTheOutputOfAChildWhilePolling)
{
    int fd = -1;
    plat::SpawnResult r = plat::SpawnReading({ "sh", "-c", "sleep 0.2; printf 'rgb(1,2,3)'; exit 3" }, fd);
    ASSERT_TRUE(r.ok);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(fcntl(fd, F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    EXPECT_EQ(plat::PollProcess(r.pid), -2);   // still sleeping
    int status = -2;
    for (int i = 0; i < 500 && status == -2; ++i) {
        status = plat::PollProcess(r.pid);
        if (status == -2)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(status, 3);
    EXPECT_EQ(plat::ReadToEnd(fd), "rgb(1,2,3)");
    EXPECT_EQ(plat::PollProcess(r.pid), -1);   // already collected

    int none = 7;
    EXPECT_FALSE(plat::SpawnReading({ "no-such-program-here" }, none).ok);
    EXPECT_EQ(none, -1);
    EXPECT_EQ(plat::ReadToEnd(-1), "");
}
