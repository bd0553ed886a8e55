// TList: an indexed list of untyped pointers that it does not own.
#pragma once

#include <cstdint>
#include <vector>

#include "host/classes/classes.h"

namespace host {

class TList : public TObject {
 public:
  HOST_CLASS(TList)
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Every index outside 0..Count-1 raises EListError "List index out of bounds (i)".
  void* Items(int32_t index) const;
  void SetItem(int32_t index, void* item);
  int32_t Add(void* item);
  // index may be Count (appends).
  void Insert(int32_t index, void* item);
  void Delete(int32_t index);
  // Deletes the first occurrence; its former index or -1.
  int32_t Remove(void* item);
  int32_t IndexOf(const void* item) const;
  void Clear() { items_.clear(); }
  void Exchange(int32_t index1, int32_t index2);
  // Takes the item out of cur and puts it back so that it ends up at index dest.
  void Move(int32_t cur, int32_t dest);
  // Drops every null item.
  void Pack();
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

 private:
  void Check(int32_t index, int32_t limit) const;
  std::vector<void*> items_;
};

}  // namespace host
