#include "library/foundation/timer_pool.h"

#include <algorithm>
#include <climits>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/classes/resources.h"
#include "library/foundation/messages.h"

namespace zyr {

namespace {
constexpr UINT_PTR kPoolTimer = 1;
uint64_t g_next_serial = 1;
}  // namespace

// ---- TZYRTimerItem -----------------------------------------------------------------------

HOST_DEFINE_CLASS(TZYRTimerItem, TObject)

TZYRTimerItem::TZYRTimerItem(TZYRTimerPool* pool, TZYRTimerList* list, uint16_t ident)
    : ident_(ident), list_(list), pool_(pool), serial_(g_next_serial++) {
  if (!pool || !list) throw host::EInvalidOperation(std::string(ClassName()) + ": Invalid Owner or List");
  divider_ = 1000 / pool->MinInterval();
}

TZYRTimerItem::~TZYRTimerItem() {
  OnTimer = nullptr;
  list_->erase(std::remove(list_->begin(), list_->end(), this), list_->end());
}

void TZYRTimerItem::SetInterval(uint16_t value) {
  const int32_t min = pool_->MinInterval();
  if (value == 0) value = static_cast<uint16_t>(min);
  if (value == interval_ || value % min != 0) return;
  interval_ = value;
  divider_ = value / min;
  counter_ = 0;
}

void TZYRTimerItem::SetEnabled(bool value) {
  if (value == enabled_ || (value && repeat_count_ == 0)) return;
  enabled_ = value;
  counter_ = 0;
}

void TZYRTimerItem::SetRepeatCount(int32_t value) {
  if (value == repeat_count_) return;
  repeat_count_ = std::max(value, -1);
  if (repeat_count_ == 0) SetEnabled(false);
}

void TZYRTimerItem::Fire() {
  counter_ = counter_ == INT32_MAX ? 0 : counter_ + 1;
  if (OnTimer) {
    OnTimer(pool_);
  } else if (pool_->OnTimer) {
    pool_->OnTimer(pool_, ident_, counter_);
  }
  if (counter_ == repeat_count_) enabled_ = false;
}

// ---- TZYRTimerPool -----------------------------------------------------------------------

HOST_PUBLISHED(TZYRTimerPool, TZYRComponent) {
  HOST_PROP(MinInterval, 1000).Range(55, 100000);
  HOST_EVENT(OnTimer);
}

TZYRTimerPool::TZYRTimerPool(TComponent* owner) : TZYRComponent(owner) {}

TZYRTimerPool::TZYRTimerPool(TComponent* owner, TZYRTimerInterval min_interval)
    : TZYRComponent(owner), min_interval_(min_interval) {}

TZYRTimerPool::~TZYRTimerPool() {
  Clear();
  if (window_) host::DeallocateHWnd(window_);
}

void TZYRTimerPool::SetMinInterval(TZYRTimerInterval value) {
  if (!(IsLoading() || IsDesigning())) return;
  min_interval_ = std::clamp<TZYRTimerInterval>(value, 55, 100000);
}

int TZYRTimerPool::IndexOfIdent(uint16_t ident) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->Ident() == ident) return static_cast<int>(i);
  }
  return -1;
}

TZYRTimerItem* TZYRTimerPool::ItemByIdent(uint16_t ident) const {
  const int i = IndexOfIdent(ident);
  return i < 0 ? nullptr : items_[static_cast<size_t>(i)];
}

int TZYRTimerPool::ActiveCount() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](auto* i) { return i->Enabled(); }));
}

int TZYRTimerPool::Add(uint16_t ident, uint16_t interval, TNotifyEvent proc) {
  if (const int existing = IndexOfIdent(ident); existing >= 0) {
    throw host::Exception(host::Format("List index out of bounds (%d)", {existing}));
  }
  if (interval < min_interval_ || interval % min_interval_ != 0) {
    throw host::Exception(host::LoadStr(kMsgIntervalMismatch));
  }
  auto* item = new TZYRTimerItem(this, &items_, ident);
  items_.push_back(item);
  item->SetInterval(interval);
  item->OnTimer = std::move(proc);
  SetActive(true);
  return IndexOfIdent(ident);
}

int TZYRTimerPool::AddExt(uint16_t ident, uint16_t interval, TNotifyEvent proc, bool enabled, int32_t repeat_count) {
  const int index = Add(ident, interval, std::move(proc));
  TZYRTimerItem* item = items_[static_cast<size_t>(index)];
  item->SetRepeatCount(repeat_count);
  item->SetEnabled(enabled);
  return index;
}

void TZYRTimerPool::Remove(uint16_t ident) {
  const int index = IndexOfIdent(ident);
  if (index < 0) throw host::EListError(host::Format("List index out of bounds (%d)", {index}));
  delete items_[static_cast<size_t>(index)];
  if (items_.empty()) SetActive(false);
}

void TZYRTimerPool::Clear() {
  SetActive(false);
  while (!items_.empty()) delete items_.back();
}

void TZYRTimerPool::SetActive(bool value) {
  if (IsDesigning()) return;
  if (!window_) window_ = host::AllocateHWnd([this](host::TMessage& m) { WndProc(m); });
  active_ = false;
  KillTimer(window_, kPoolTimer);
  if (value && ActiveCount() > 0) {
    if (!SetTimer(window_, kPoolTimer, static_cast<UINT>(min_interval_), nullptr)) {
      throw host::EOutOfResources("Not enough timers available");
    }
    tick_ = 1;
    active_ = true;
  }
}

void TZYRTimerPool::WndProc(host::TMessage& m) {
  if (m.Msg != WM_TIMER) {
    m.Result = DefWindowProc(window_, m.Msg, m.WParam, m.LParam);
    return;
  }
  // A handler that runs a message loop gets no nested ticks of this pool.
  if (busy_) return;
  busy_ = true;
  try {
    ProcessTick();
  } catch (const std::exception& e) {
    // The flag goes however the handler ended, so the pool keeps ticking.
    busy_ = false;
    host::HandleException(this, e);
    return;
  }
  busy_ = false;
}

void TZYRTimerPool::ProcessTick() {
  const int32_t n = tick_;
  tick_ = tick_ == INT32_MAX ? 0 : tick_ + 1;
  // Handlers may add or free items: walk a snapshot and fire only items still in the pool
  // (the serial tells a freed item from a new one at the same address).
  std::vector<std::pair<TZYRTimerItem*, uint64_t>> snapshot;
  snapshot.reserve(items_.size());
  for (TZYRTimerItem* item : items_) snapshot.emplace_back(item, item->serial_);
  for (const auto& [item, serial] : snapshot) {
    if (std::find(items_.begin(), items_.end(), item) == items_.end() || item->serial_ != serial) continue;
    if (item->Enabled() && item->Divider() > 0 && n % item->Divider() == 0) item->Fire();
  }
}

}  // namespace zyr
