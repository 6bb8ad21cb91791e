#include "platform/system/Files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

std::string Reason(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace

bool WriteFileAtomic(const std::string& path, const std::string& bytes, std::string* error)
{
    std::string target = path;
    struct stat st {};
    bool exists = false;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved))
            target = resolved;
    }
    if (::stat(target.c_str(), &st) == 0)
        exists = true;

    std::string tmpl = target + ".XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        if (error)
            *error = Reason("cannot create a temporary file beside", target);
        return false;
    }
    mode_t mode;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;
    const char* step = "cannot set the mode of";
    if (ok) {
        ok = WriteAll(fd, bytes.data(), bytes.size());
        step = "cannot write";
    }
    if (ok) {
        ok = ::fsync(fd) == 0;
        step = "cannot flush";
    }
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        step = "cannot close";
        saved = errno;
    }
    if (ok) {
        ok = ::rename(tmpl.c_str(), target.c_str()) == 0;
        step = "cannot rename over";
        saved = errno;
    }
    if (!ok) {
        ::unlink(tmpl.c_str());
        errno = saved;
        if (error)
            *error = Reason(step, target);
        return false;
    }
    // The rename itself becomes durable when the directory is flushed; best effort.
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool ResizeOpenFile(std::FILE* file, int64_t size)
{
    if (!file || size < 0 || std::fflush(file) != 0)
        return false;
    return ::ftruncate(::fileno(file), off_t(size)) == 0;
}

} // namespace plat
