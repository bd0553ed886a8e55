// Messages: sending, posting, the loop that fetches them, and timers.
//
// Order of retrieval, as on Win32: posted messages, then input, then WM_PAINT, then WM_TIMER
// (generated when due, never queued: at most one pending per timer). When nothing is there
// the loop presents the screen and blocks in the driver (or on a condition variable without
// one) until a message is posted, input arrives or the next timer is due.
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/kernel/clock.h"
#include "platform/user/queue.h"

namespace user {
namespace {

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  uint64_t period;
  uint64_t due;
  TIMERPROC proc;
};

struct Queue {
  std::mutex mutex;  // guards posted and quit: PostMessage comes from any thread
  std::condition_variable cv;
  std::deque<MSG> posted;
  bool quit = false;
  int quit_code = 0;
  std::deque<MSG> input;
  std::vector<Timer> timers;
  UINT_PTR next_timer_id = 0x7FFF0000;
  Driver driver;
  int send_depth = 0;
  DWORD message_time = 0;
  DWORD message_pos = 0;
};

Queue& Q() {
  static auto* q = new Queue;
  return *q;
}

bool InFilter(const MSG& m, HWND hwnd, UINT lo, UINT hi) {
  if (hwnd && m.hwnd != hwnd) return false;
  if (lo == 0 && hi == 0) return true;
  return m.message >= lo && m.message <= hi;
}

bool TakeFrom(std::deque<MSG>& q, LPMSG out, HWND hwnd, UINT lo, UINT hi, bool remove) {
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (!InFilter(*it, hwnd, lo, hi)) continue;
    *out = *it;
    if (remove) q.erase(it);
    return true;
  }
  return false;
}

// One pass over every source; true with *out filled when a message is there.
bool Fetch(LPMSG out, HWND hwnd, UINT lo, UINT hi, bool remove) {
  Queue& q = Q();
  // Display events become messages one at a time, only when the messages of the ones before
  // are gone, so each is hit-tested against the state its predecessors left (capture, key
  // state), as hardware input is.
  for (;;) {
    {
      std::lock_guard lock(q.mutex);
      if (TakeFrom(q.posted, out, hwnd, lo, hi, remove)) return true;
    }
    if (TakeFrom(q.input, out, hwnd, lo, hi, remove)) return true;
    if (!q.input.empty() || !q.driver.pump || !q.driver.pump()) break;
  }
  if (InFilter(MSG{nullptr, WM_PAINT, 0, 0, 0, {}}, nullptr, lo, hi)) {
    if (Window* w = NextPaintWindow()) {
      if (!hwnd || w->handle == hwnd) {
        *out = MSG{w->handle, WM_PAINT, 0, 0, GetTickCount(), {}};
        return true;
      }
    }
  }
  const uint64_t now = kernel::NowMs();
  for (Timer& t : q.timers) {
    MSG m{t.hwnd, WM_TIMER, t.id, 0, static_cast<DWORD>(now), {}};
    if (t.due > now || !InFilter(m, hwnd, lo, hi)) continue;
    if (t.proc) m.lParam = 1;  // marks a TIMERPROC timer for DispatchMessage
    *out = m;
    if (remove)
      while (t.due <= now) t.due += t.period;  // keeps the phase: no drift, missed ticks merge
    return true;
  }
  {
    std::lock_guard lock(q.mutex);
    if (q.quit && InFilter(MSG{nullptr, WM_QUIT, 0, 0, 0, {}}, nullptr, lo, hi)) {
      *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quit_code), 0, GetTickCount(), {}};
      if (remove) q.quit = false;
      return true;
    }
  }
  return false;
}

// Milliseconds until the next timer is due (-1: none).
int NextTimerWait() {
  Queue& q = Q();
  if (q.timers.empty()) return -1;
  uint64_t due = UINT64_MAX;
  for (const Timer& t : q.timers) due = std::min(due, t.due);
  const uint64_t now = kernel::NowMs();
  return due <= now ? 0 : static_cast<int>(std::min<uint64_t>(due - now, 0x7FFFFFFF));
}

// Blocks until something may have arrived.
void Idle() {
  Queue& q = Q();
  if (q.driver.present) q.driver.present();
  int wait = NextTimerWait();
  if (wait > 0 && kernel::VirtualClock()) {
    // A virtual clock never sleeps for real: it jumps to the next timer.
    kernel::AdvanceClock(static_cast<uint64_t>(wait));
    return;
  }
  if (wait == 0) return;
  if (q.driver.wait) {
    q.driver.wait(wait);
    return;
  }
  std::unique_lock lock(q.mutex);
  auto ready = [&] { return !q.posted.empty() || q.quit; };
  if (wait < 0) q.cv.wait(lock, ready);
  else q.cv.wait_for(lock, std::chrono::milliseconds(wait), ready);
}

}  // namespace

void SetDriver(Driver driver) { Q().driver = std::move(driver); }

void PushInput(const MSG& msg) { Q().input.push_back(msg); }

void ForgetQueued(Window* w) {
  Queue& q = Q();
  const HWND h = w->handle;
  q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(), [h](const Timer& t) { return t.hwnd == h; }),
                 q.timers.end());
  std::lock_guard lock(q.mutex);
  auto mine = [h](const MSG& m) { return m.hwnd == h; };
  q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(), mine), q.posted.end());
  q.input.erase(std::remove_if(q.input.begin(), q.input.end(), mine), q.input.end());
}

int SendDepth() { return Q().send_depth; }

}  // namespace user

using user::Q;

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    std::vector<HWND> all;
    for (user::Window* w : user::TopLevel()) all.push_back(w->handle);
    for (HWND h : all)
      if (IsWindow(h)) SendMessage(h, msg, wParam, lParam);
    return 0;
  }
  user::Window* w = user::Find(hwnd);
  if (!w) return 0;
  WNDPROC proc = w->proc;  // a copy: the procedure may replace itself while it runs
  ++Q().send_depth;
  const LRESULT r = proc(hwnd, msg, wParam, lParam);
  --Q().send_depth;
  return r;
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& q = Q();
  {
    std::lock_guard lock(q.mutex);
    q.posted.push_back(MSG{hwnd, msg, wParam, lParam, GetTickCount(), {}});
  }
  q.cv.notify_all();
  if (q.driver.wake) q.driver.wake();
  return TRUE;
}

BOOL PostThreadMessage(DWORD, UINT msg, WPARAM wParam, LPARAM lParam) {
  return PostMessage(nullptr, msg, wParam, lParam);
}

void PostQuitMessage(int code) {
  auto& q = Q();
  {
    std::lock_guard lock(q.mutex);
    q.quit = true;
    q.quit_code = code;
  }
  q.cv.notify_all();
  if (q.driver.wake) q.driver.wake();
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
  if (!msg) return FALSE;
  if (!user::Fetch(msg, hwnd, lo, hi, remove & PM_REMOVE)) return FALSE;
  Q().message_time = msg->time;
  return TRUE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT lo, UINT hi) {
  if (!msg) return -1;
  while (!user::Fetch(msg, hwnd, lo, hi, true)) user::Idle();
  Q().message_time = msg->time;
  return msg->message != WM_QUIT;
}

BOOL WaitMessage() {
  MSG m;
  while (!user::Fetch(&m, nullptr, 0, 0, false)) user::Idle();
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  // Characters arrive from the display as text; keys that stand for a control character
  // become one here.
  const int vk = static_cast<int>(msg->wParam);
  char c = 0;
  if (vk == VK_RETURN) c = '\r';
  else if (vk == VK_ESCAPE) c = 0x1B;
  else if (vk == VK_BACK) c = '\b';
  else if (vk == VK_TAB) c = '\t';
  if (!c) return FALSE;
  user::PushInput(MSG{msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, static_cast<WPARAM>(c),
                      msg->lParam, msg->time, msg->pt});
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam == 1) {
    for (const auto& t : Q().timers)
      if (t.hwnd == msg->hwnd && t.id == msg->wParam && t.proc) {
        TIMERPROC proc = t.proc;
        proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
      }
    return 0;
  }
  if (!msg->hwnd) return 0;
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

DWORD GetMessageTime() { return Q().message_time; }
DWORD GetMessagePos() { return Q().message_pos; }
BOOL InSendMessage() { return FALSE; }  // every sent message comes from this thread

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !user::Find(hwnd)) return 0;
  auto& q = Q();
  elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);  // the platform's minimum period
  if (!hwnd) id = ++q.next_timer_id;
  const uint64_t now = kernel::NowMs();
  for (auto& t : q.timers)
    if (t.hwnd == hwnd && t.id == id) {
      t.period = elapse;
      t.due = now + elapse;
      t.proc = proc;
      return hwnd ? 1 : id;
    }
  q.timers.push_back(user::Timer{hwnd, id, elapse, now + elapse, proc});
  q.cv.notify_all();
  if (q.driver.wake) q.driver.wake();
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = Q().timers;
  const auto before = timers.size();
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [&](const user::Timer& t) { return t.hwnd == hwnd && t.id == id; }),
               timers.end());
  return timers.size() != before;
}
