#include "platform/system/Failure.h"

namespace plat {

namespace {
thread_local std::string tLastError;
}

void ReportFailure(const std::string& what) { tLastError = what; }

std::string LastError() { return tLastError; }

void ClearLastError() { tLastError.clear(); }

} // namespace plat
