// The headless display: the screen is a memory copy and input is whatever tests inject.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/display/display.h"

namespace display {
namespace {

class HeadlessBackend final : public Headless {
 public:
  const char* Name() const override { return "headless"; }

  bool Open(int width, int height, std::string* error) override {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
      if (error) *error = "headless display: bad screen size " + std::to_string(width) + "x" + std::to_string(height);
      return false;
    }
    pixels_.assign(static_cast<size_t>(width) * height, gdi::kBlack);
    copy_ = gdi::Surface{pixels_.data(), width, height, width, false};
    presented_ = false;
    return true;
  }

  void Present(const gdi::Surface& screen, const std::vector<RECT>& dirty) override {
    if (!copy_.valid() || !screen.valid()) return;
    const LONG w = std::min(screen.width, copy_.width), h = std::min(screen.height, copy_.height);
    for (const RECT& r : dirty) {
      const LONG left = std::max<LONG>(r.left, 0), top = std::max<LONG>(r.top, 0);
      const LONG right = std::min(r.right, w), bottom = std::min(r.bottom, h);
      if (left >= right || top >= bottom) continue;
      for (LONG y = top; y < bottom; ++y)
        std::memcpy(copy_.Row(y) + left, screen.Row(y) + left, sizeof(gdi::Pixel) * (right - left));
    }
    presented_ = true;
  }

  bool WaitEvent(Event& out, int timeout_ms) override {
    std::unique_lock lock(mutex_);
    auto ready = [this] { return !queue_.empty() || woken_; };
    if (timeout_ms < 0) {
      ready_.wait(lock, ready);
    } else if (!ready_.wait_for(lock, std::chrono::milliseconds(timeout_ms), ready)) {
      return false;
    }
    // Events that arrived before the wake are delivered first; the wake stays pending until a
    // call returns false for it, so it is never lost.
    if (!queue_.empty()) {
      out = std::move(queue_.front());
      queue_.pop_front();
      return true;
    }
    woken_ = false;
    return false;
  }

  void Wake() override {
    {
      std::lock_guard lock(mutex_);
      woken_ = true;
    }
    ready_.notify_all();
  }

  void SetCursor(const CursorImage*) override {}
  void WarpPointer(int, int) override {}
  void SetTitle(const std::string&) override {}

  void Inject(Event e) override {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(e));
    }
    ready_.notify_all();
  }

  const gdi::Surface* LastPresented() const override { return presented_ ? &copy_ : nullptr; }

 private:
  std::vector<gdi::Pixel> pixels_;
  gdi::Surface copy_;
  bool presented_ = false;

  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Event> queue_;
  bool woken_ = false;
};

}  // namespace

std::unique_ptr<Backend> CreateHeadless() { return std::make_unique<HeadlessBackend>(); }

Headless* AsHeadless(Backend* backend) { return dynamic_cast<Headless*>(backend); }

}  // namespace display
