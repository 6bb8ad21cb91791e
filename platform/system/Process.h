#pragma once
// Starting programs without a shell. A program is named by an argument vector; a bare
// name is looked up on PATH (absolute entries only). The child gets standard input from
// /dev/null, keeps standard output and error, and no other descriptor of this process.
// Thread-safe.

#include <optional>
#include <string>
#include <vector>

namespace plat {

struct SpawnResult {
    bool ok = false;
    int pid = -1;
    int error = 0; // errno value when !ok
};

SpawnResult Spawn(const std::vector<std::string>& argv);

// Spawn with the child's standard output going into a pipe; its read end (close-on-exec)
// is put into outFd, -1 when the start failed. The caller reads it (ReadToEnd) and
// waits for the child.
SpawnResult SpawnReading(const std::vector<std::string>& argv, int& outFd);

// Whether a child started by Spawn has ended, without waiting: -2 while it runs,
// otherwise its status as WaitProcess gives it (the child is then collected).
int PollProcess(int pid);

// Everything left to read from fd, which is closed afterwards.
std::string ReadToEnd(int fd);

// Waits for a child started by Spawn. Returns its exit status, 128 + the signal number
// when a signal ended it, or -1 on error (not a child, already waited for).
int WaitProcess(int pid);

// Starts a program in a session of its own and forgets it; a reaper thread collects its
// exit status, so no zombie remains.
bool SpawnDetached(const std::vector<std::string>& argv);

// The path of an executable regular file `name` in the PATH directories. Relative PATH
// entries are ignored. A name with a '/' is not searched: it is returned when it names
// an executable regular file.
std::optional<std::string> FindProgramOnPath(const std::string& name);

} // namespace plat
