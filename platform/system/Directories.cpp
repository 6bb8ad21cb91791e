#include "platform/system/Directories.h"

#include "platform/system/Failure.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

bool IsDirectory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool DirectoryWritable(const std::string& dir)
{
    if (dir.empty() || !IsDirectory(dir))
        return false;
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

bool CreateDirectories(const std::string& dir)
{
    if (dir.empty())
        return false;
    if (IsDirectory(dir))
        return true;
    // Parents first, each one component longer than the last.
    for (size_t at = 1; at <= dir.size(); ++at) {
        if (at < dir.size() && dir[at] != '/')
            continue;
        std::string part = dir.substr(0, at);
        if (IsDirectory(part))
            continue;
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            ReportFailure("cannot create folder " + part + ": " + std::strerror(errno));
            return false;
        }
    }
    if (!IsDirectory(dir)) {
        ReportFailure("not a folder: " + dir);
        return false;
    }
    return true;
}

} // namespace plat
