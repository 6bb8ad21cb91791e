#include "platform/system/Process.h"

#include "platform/system/Failure.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#if !defined(__GLIBC__) || !__GLIBC_PREREQ(2, 34)
#error "Spawning needs posix_spawn_file_actions_addclosefrom_np (glibc 2.34 or later)."
#endif

extern char** environ;

namespace plat {

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat st { };
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string SearchPath()
{
    if (const char* path = std::getenv("PATH"))
        return path;
    return "/usr/local/bin:/usr/bin:/bin";
}

SpawnResult SpawnWith(const std::vector<std::string>& argv, bool newSession, int outFd = -1)
{
    SpawnResult result;
    if (argv.empty() || argv[0].empty()) {
        result.error = EINVAL;
        return result;
    }
    auto program = FindProgramOnPath(argv[0]);
    if (!program) {
        result.error = ENOENT;
        return result;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    // Only 0, 1 and 2 reach the child, whatever this process has open without CLOEXEC.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    // The child starts with no blocked signals and default dispositions, not with the
    // masks our threads happen to have.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    short attrFlags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (newSession)
        attrFlags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attr, attrFlags);

    pid_t pid = -1;
    int rc = posix_spawn(&pid, program->c_str(), &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        result.error = rc;
        return result;
    }
    result.ok = true;
    result.pid = int(pid);
    return result;
}

} // namespace

SpawnResult Spawn(const std::vector<std::string>& argv)
{
    return SpawnWith(argv, false);
}

SpawnResult SpawnReading(const std::vector<std::string>& argv, int& outFd)
{
    outFd = -1;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        SpawnResult r;
        r.error = errno;
        return r;
    }
    SpawnResult r = SpawnWith(argv, false, fds[1]);
    close(fds[1]);
    if (!r.ok) {
        close(fds[0]);
        return r;
    }
    outFd = fds[0];
    return r;
}

namespace {

int StatusOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

} // namespace

int PollProcess(int pid)
{
    if (pid <= 0)
        return -1;
    int status = 0;
    pid_t got;
    do
        got = waitpid(pid_t(pid), &status, WNOHANG);
    while (got < 0 && errno == EINTR);
    if (got == 0)
        return -2;
    if (got != pid_t(pid))
        return -1;
    return StatusOf(status);
}

std::string ReadToEnd(int fd)
{
    std::string out;
    if (fd < 0)
        return out;
    char buf[512];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    close(fd);
    return out;
}

int WaitProcess(int pid)
{
    if (pid <= 0)
        return -1;
    int status = 0;
    pid_t got;
    do
        got = waitpid(pid_t(pid), &status, 0);
    while (got < 0 && errno == EINTR);
    if (got != pid_t(pid))
        return -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

bool SpawnDetached(const std::vector<std::string>& argv)
{
    SpawnResult r = SpawnWith(argv, true);
    if (!r.ok)
        return false;
    // One small thread per child waits for it and ends with it.
    try {
        std::thread([pid = r.pid] { WaitProcess(pid); }).detach();
    } catch (const std::system_error&) {
        ReportFailure("no reaper thread for process " + std::to_string(r.pid));
    }
    return true;
}

std::optional<std::string> FindProgramOnPath(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string::npos) {
        if (IsExecutableFile(name))
            return name;
        return std::nullopt;
    }
    const std::string path = SearchPath();
    size_t at = 0;
    while (at <= path.size()) {
        size_t colon = path.find(':', at);
        if (colon == std::string::npos)
            colon = path.size();
        std::string dir = path.substr(at, colon - at);
        at = colon + 1;
        // Empty and relative entries would search the working directory: skipped.
        if (dir.empty() || dir[0] != '/')
            continue;
        std::string candidate = dir + (dir.back() == '/' ? "" : "/") + name;
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

} // namespace plat
