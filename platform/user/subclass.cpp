// Window subclasses kept as a stack beside the window procedure, so any of them can leave
// in any order: one procedure installed in front of the window's own calls the stack from the
// top; DefSubclassProc walks down it, and the bottom passes to the procedure beneath.
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "platform/user/window.h"

namespace {

struct Entry {
  UINT_PTR id;
  SUBCLASSPROC proc;
  DWORD_PTR data;
  bool removed = false;
};

struct Stack {
  std::vector<std::shared_ptr<Entry>> entries;  // bottom first
  WNDPROC beneath;                              // the procedure the stack sits on
  std::vector<size_t> calls;                    // per nested message: index of the running entry
};

std::map<HWND, std::shared_ptr<Stack>>& Stacks() {
  static auto* s = new std::map<HWND, std::shared_ptr<Stack>>;
  return *s;
}

// Calls entries from index i downwards (skipping removed ones), then the procedure beneath.
LRESULT CallFrom(const std::shared_ptr<Stack>& st, size_t i, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  while (i > 0) {
    --i;
    if (i >= st->entries.size()) continue;
    std::shared_ptr<Entry> e = st->entries[i];
    if (e->removed) continue;
    st->calls.push_back(i);
    const LRESULT r = e->proc(hwnd, msg, wp, lp, e->id, e->data);
    st->calls.pop_back();
    if (st->calls.empty())  // the outermost call is over: drop what left during it
      st->entries.erase(std::remove_if(st->entries.begin(), st->entries.end(),
                                       [](const std::shared_ptr<Entry>& x) { return x->removed; }),
                        st->entries.end());
    return r;
  }
  return CallWindowProc(st->beneath, hwnd, msg, wp, lp);
}

}  // namespace

BOOL SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  if (!user::Find(hwnd) || !proc) return FALSE;
  auto& stacks = Stacks();
  auto it = stacks.find(hwnd);
  if (it == stacks.end()) {
    auto st = std::make_shared<Stack>();
    std::weak_ptr<Stack> weak = st;
    st->beneath = SetWindowProc(hwnd, [weak](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      auto s = weak.lock();
      if (!s) return DefWindowProc(h, m, w, l);
      if (m == WM_NCDESTROY) {
        const LRESULT r = CallFrom(s, s->entries.size(), h, m, w, l);
        Stacks().erase(h);
        return r;
      }
      return CallFrom(s, s->entries.size(), h, m, w, l);
    });
    it = stacks.emplace(hwnd, st).first;
  }
  Stack& st = *it->second;
  for (auto& e : st.entries)
    if (e->id == id && !e->removed) {
      e->proc = std::move(proc);
      e->data = data;
      return TRUE;
    }
  st.entries.push_back(std::make_shared<Entry>(Entry{id, std::move(proc), data}));
  return TRUE;
}

BOOL RemoveWindowSubclass(HWND hwnd, UINT_PTR id) {
  auto it = Stacks().find(hwnd);
  if (it == Stacks().end()) return FALSE;
  Stack& st = *it->second;
  for (size_t i = 0; i < st.entries.size(); ++i)
    if (st.entries[i]->id == id && !st.entries[i]->removed) {
      st.entries[i]->removed = true;
      // Entries below running calls keep their places until those calls return.
      if (st.calls.empty()) st.entries.erase(st.entries.begin() + static_cast<ptrdiff_t>(i));
      return TRUE;
    }
  return FALSE;
}

BOOL GetWindowSubclass(HWND hwnd, UINT_PTR id, DWORD_PTR* data) {
  auto it = Stacks().find(hwnd);
  if (it == Stacks().end()) return FALSE;
  for (auto& e : it->second->entries)
    if (e->id == id && !e->removed) {
      if (data) *data = e->data;
      return TRUE;
    }
  return FALSE;
}

LRESULT DefSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = Stacks().find(hwnd);
  if (it == Stacks().end()) return DefWindowProc(hwnd, msg, wp, lp);
  std::shared_ptr<Stack> st = it->second;
  const size_t from = st->calls.empty() ? st->entries.size() : st->calls.back();
  return CallFrom(st, from, hwnd, msg, wp, lp);
}
