#include "platform/system/ExePath.h"

#include "platform/system/Failure.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace plat {

std::string ExecutablePath()
{
    // The link's target may be longer than any fixed buffer: grow until it fits.
    for (size_t size = 256; size <= (size_t(1) << 20); size *= 2) {
        std::vector<char> buf(size);
        ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) {
            ReportFailure(std::string("cannot read /proc/self/exe: ") + std::strerror(errno));
            return {};
        }
        if (size_t(n) < buf.size())
            return std::string(buf.data(), size_t(n));
    }
    ReportFailure("executable path too long");
    return {};
}

} // namespace plat
