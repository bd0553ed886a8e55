// The timer pool: many periodic tasks served by one system timer. The pool ticks every
// MinInterval milliseconds; an item whose interval is k times that fires on ticks k, 2k, 3k...
// counted from the last start of the pool's timer.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "library/foundation/objects.h"

namespace zyr {

class TZYRTimerPool;
class TZYRTimerItem;
using TZYRTimerList = std::vector<TZYRTimerItem*>;
using TZYRTimerInterval = int32_t;  // 55..100000
using TZYRTimerPoolEvent = std::function<void(TObject* sender, uint16_t ident, int32_t counter)>;

class TZYRTimerItem : public TObject {
  HOST_CLASS(TZYRTimerItem)
  // Raises EInvalidOperation "<class>: Invalid Owner or List" without pool or list.
  TZYRTimerItem(TZYRTimerPool* pool, TZYRTimerList* list, uint16_t ident);
  ~TZYRTimerItem() override;
  TZYRTimerItem(const TZYRTimerItem&) = delete;
  TZYRTimerItem& operator=(const TZYRTimerItem&) = delete;

  int32_t RepeatCount() const { return repeat_count_; }
  void SetRepeatCount(int32_t value);
  int32_t Counter() const { return counter_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  uint16_t Ident() const { return ident_; }
  uint16_t Interval() const { return interval_; }
  void SetInterval(uint16_t value);
  int32_t Divider() const { return divider_; }
  TZYRTimerPool* Pool() const { return pool_; }
  TNotifyEvent OnTimer;

 private:
  friend class TZYRTimerPool;
  void Fire();

  int32_t repeat_count_ = -1;
  int32_t counter_ = 0;
  bool enabled_ = true;
  uint16_t ident_;
  uint16_t interval_ = 1000;
  int32_t divider_;
  TZYRTimerList* list_;
  TZYRTimerPool* pool_;
  uint64_t serial_;
};

class TZYRTimerPool : public TZYRComponent {
  HOST_CLASS(TZYRTimerPool)
  explicit TZYRTimerPool(TComponent* owner);
  TZYRTimerPool(TComponent* owner, TZYRTimerInterval min_interval);
  ~TZYRTimerPool() override;

  // Raises host::Exception "List index out of bounds (n)" for an identifier in use and the
  // library message 16504 for an interval that is not a whole multiple of MinInterval;
  // otherwise appends the item, restarts the pool's timer and returns the item's index.
  int Add(uint16_t ident, uint16_t interval, TNotifyEvent proc);
  int AddExt(uint16_t ident, uint16_t interval, TNotifyEvent proc, bool enabled, int32_t repeat_count);
  // Raises EListError for an identifier that is not in the pool.
  void Remove(uint16_t ident);
  void Clear();
  int IndexOfIdent(uint16_t ident) const;
  TZYRTimerItem* ItemByIdent(uint16_t ident) const;
  int Count() const { return static_cast<int>(items_.size()); }
  TZYRTimerItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  int ActiveCount() const;
  bool Active() const { return active_; }
  // Starts (with at least one enabled item) or stops the system timer; a start restarts the
  // tick numbering at 1. Raises EOutOfResources when no timer is to be had.
  void SetActive(bool value);
  bool Busy() const { return busy_; }
  int32_t TickNumber() const { return tick_; }

  TZYRTimerInterval MinInterval() const { return min_interval_; }
  // Only while loading or designing; at run time the value stays (every item's divider
  // depends on it).
  void SetMinInterval(TZYRTimerInterval value);
  TZYRTimerPoolEvent OnTimer;

 private:
  friend class TZYRTimerItem;
  void WndProc(host::TMessage& message);
  void ProcessTick();

  bool active_ = false;
  bool busy_ = false;
  HWND window_ = nullptr;
  int32_t tick_ = 1;
  TZYRTimerInterval min_interval_ = 1000;
  TZYRTimerList items_;
};

}  // namespace zyr
