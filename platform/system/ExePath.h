#pragma once
// The absolute path of the running program's executable file, as the kernel names it
// (/proc/self/exe with links resolved). Empty, with the reason reported, when it cannot
// be read.

#include <string>

namespace plat {

std::string ExecutablePath();

} // namespace plat
