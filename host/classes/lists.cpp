#include "host/classes/lists.h"

#include <algorithm>

#include "host/classes/format.h"
#include "host/classes/publish.h"

namespace host {

HOST_DEFINE_CLASS(TList, TObject)


void TList::Check(int32_t index, int32_t limit) const {
  if (index < 0 || index >= limit) throw EListError(Format("List index out of bounds (%d)", {index}));
}

void* TList::Items(int32_t index) const {
  Check(index, Count());
  return items_[static_cast<size_t>(index)];
}

void TList::SetItem(int32_t index, void* item) {
  Check(index, Count());
  items_[static_cast<size_t>(index)] = item;
}

int32_t TList::Add(void* item) {
  items_.push_back(item);
  return Count() - 1;
}

void TList::Insert(int32_t index, void* item) {
  Check(index, Count() + 1);
  items_.insert(items_.begin() + index, item);
}

void TList::Delete(int32_t index) {
  Check(index, Count());
  items_.erase(items_.begin() + index);
}

int32_t TList::Remove(void* item) {
  const int32_t i = IndexOf(item);
  if (i >= 0) Delete(i);
  return i;
}

int32_t TList::IndexOf(const void* item) const {
  const auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int32_t>(it - items_.begin());
}

void TList::Exchange(int32_t index1, int32_t index2) {
  Check(index1, Count());
  Check(index2, Count());
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TList::Move(int32_t cur, int32_t dest) {
  Check(cur, Count());
  Check(dest, Count());
  if (cur == dest) return;
  void* item = items_[static_cast<size_t>(cur)];
  items_.erase(items_.begin() + cur);
  items_.insert(items_.begin() + dest, item);
}

void TList::Pack() { std::erase(items_, nullptr); }

}  // namespace host
