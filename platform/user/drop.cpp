// File drops: the drop handle behind WM_DROPFILES and the calls that read it.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "platform/user/input.h"

namespace user {
namespace {

struct Drop {
  std::vector<std::string> files;
  POINT point;
  bool in_client;
};

// Live drop handles, so a stale or made-up one is refused instead of read.
std::set<Drop*>& Live() {
  static auto* live = new std::set<Drop*>;
  return *live;
}

Drop* Get(HDROP h) {
  auto* d = reinterpret_cast<Drop*>(h);
  return Live().count(d) ? d : nullptr;
}

}  // namespace

HDROP MakeDrop(const std::vector<std::string>& files, POINT client_point, bool in_client) {
  auto* d = new Drop{files, client_point, in_client};
  Live().insert(d);
  return reinterpret_cast<HDROP>(d);
}

}  // namespace user

void DragAcceptFiles(HWND hwnd, BOOL accept) {
  user::Window* w = user::Find(hwnd);
  if (!w) return;
  w->accept_files = accept;
  if (accept) w->ex_style |= WS_EX_ACCEPTFILES;
  else w->ex_style &= ~WS_EX_ACCEPTFILES;
}

UINT DragQueryFile(HDROP drop, UINT index, LPSTR file, UINT size) {
  user::Drop* d = user::Get(drop);
  if (!d) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (index == 0xFFFFFFFF) return static_cast<UINT>(d->files.size());
  if (index >= d->files.size()) return 0;
  const std::string& name = d->files[index];
  if (!file) return static_cast<UINT>(name.size());
  if (size == 0) return 0;
  const size_t n = std::min(name.size(), static_cast<size_t>(size - 1));
  std::memcpy(file, name.data(), n);
  file[n] = 0;
  return static_cast<UINT>(n);
}

BOOL DragQueryPoint(HDROP drop, LPPOINT pt) {
  user::Drop* d = user::Get(drop);
  if (!d || !pt) return FALSE;
  *pt = d->point;
  return d->in_client;
}

void DragFinish(HDROP drop) {
  user::Drop* d = user::Get(drop);
  if (!d) return;
  user::Live().erase(d);
  delete d;
}
