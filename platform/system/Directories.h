#pragma once
// Folders: whether the running user may create files in one, and creating one with its
// missing parents. No exceptions: results, and failures reported through ReportFailure.

#include <string>

namespace plat {

// True when dir is an existing folder in which the calling process may create files
// (write and search permission for its effective user).
bool DirectoryWritable(const std::string& dir);

// Creates dir and any missing parent folders with mode 0700 (less the umask). True when
// dir exists as a folder afterwards.
bool CreateDirectories(const std::string& dir);

} // namespace plat
