#pragma once
// The one failure funnel of the platform layer. Platform code never throws: a refused
// request (an allocation too large, a file that cannot be read, a damaged image, no audio
// device) records its reason here and returns an empty result. The reason is kept per
// thread, so a failure on a worker never replaces the one the GUI thread is about to
// read. Break on ReportFailure to catch every failure in a debugger.

#include <string>

namespace plat {

void ReportFailure(const std::string& what);
// The calling thread's last reason; empty when nothing failed since ClearLastError.
std::string LastError();
void ClearLastError();

} // namespace plat
