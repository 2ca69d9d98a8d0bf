#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/config.h"

namespace platform {
namespace {

enum class Mode { kUnset, kReal, kVirtual };

std::mutex clockLock;
Mode clockMode = Mode::kUnset;
std::atomic<uint64_t> virtualNow{0};

// The real clock counts from the steady clock's epoch (boot on Linux), as the
// platform's tick count counts from boot.
uint64_t RealNow() {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Mode CurrentMode() {
  std::lock_guard<std::mutex> hold(clockLock);
  if (clockMode == Mode::kUnset) {
    std::string setting = EnvOr("GLIMMER_CLOCK", "real");
    if (setting.rfind("virtual", 0) == 0) {
      // "virtual" or "virtual:START" (milliseconds).
      uint64_t start = 1000000;
      const char* colon = std::strchr(setting.c_str(), ':');
      if (colon != nullptr) start = std::strtoull(colon + 1, nullptr, 10);
      virtualNow = start;
      clockMode = Mode::kVirtual;
    } else {
      clockMode = Mode::kReal;
    }
  }
  return clockMode;
}

}  // namespace

uint64_t ClockNow() { return CurrentMode() == Mode::kVirtual ? virtualNow.load() : RealNow(); }

bool ClockIsVirtual() { return CurrentMode() == Mode::kVirtual; }

void ClockUseVirtual(uint64_t start) {
  std::lock_guard<std::mutex> hold(clockLock);
  virtualNow = start;
  clockMode = Mode::kVirtual;
}

void ClockUseReal() {
  std::lock_guard<std::mutex> hold(clockLock);
  clockMode = Mode::kReal;
}

void ClockAdvanceTo(uint64_t when) {
  if (CurrentMode() != Mode::kVirtual) return;
  uint64_t seen = virtualNow.load();
  while (seen < when && !virtualNow.compare_exchange_weak(seen, when)) {
  }
}

void ClockSleepUntil(uint64_t when) {
  if (CurrentMode() == Mode::kVirtual) {
    ClockAdvanceTo(when);
    return;
  }
  uint64_t now = RealNow();
  if (when > now) std::this_thread::sleep_for(std::chrono::milliseconds(when - now));
}

}  // namespace platform
