#include "platform/window/WindowSystem.h"

#include <atomic>

namespace plat {

namespace {
std::atomic<WindowSystem*> gWindowSystem { nullptr };
}

void InstallWindowSystem(WindowSystem* ws) { gWindowSystem.store(ws, std::memory_order_release); }

WindowSystem* CurrentWindowSystem() { return gWindowSystem.load(std::memory_order_acquire); }

} // namespace plat
