#include "platform/kernel/clock.h"

#include <atomic>
#include <chrono>

#include "platform/win32/user.h"

namespace kernel {
namespace {

std::atomic<bool> virtual_on{false};
std::atomic<uint64_t> virtual_now{0};

uint64_t RealNow() {
  static const auto start = std::chrono::steady_clock::now();
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace

uint64_t NowMs() { return virtual_on ? virtual_now.load() : RealNow(); }

void UseVirtualClock(bool on) {
  if (on && !virtual_on) virtual_now = RealNow();
  virtual_on = on;
}

bool VirtualClock() { return virtual_on; }

void AdvanceClock(uint64_t ms) { virtual_now += ms; }

}  // namespace kernel

DWORD GetTickCount() { return static_cast<DWORD>(kernel::NowMs()); }
