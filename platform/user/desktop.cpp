#include "platform/user/desktop.h"

#include <memory>

#include "platform/gdi/dc.h"
#include "platform/gdi/png.h"
#include "platform/user/cursor.h"
#include "platform/user/input.h"
#include "platform/user/queue.h"

namespace desktop {
namespace {

std::unique_ptr<display::Backend>& TheBackend() {
  static auto* b = new std::unique_ptr<display::Backend>;
  return *b;
}

void Connect(display::Backend* b, int width, int height) {
  user::ResizeScreen(width, height);
  user::Driver d;
  d.pump = [b] {
    display::Event e;
    if (!b->WaitEvent(e, 0)) return false;
    user::ProcessEvent(e);
    return true;
  };
  d.wait = [b](int timeout) {
    display::Event e;
    if (!b->WaitEvent(e, timeout)) return false;
    user::ProcessEvent(e);
    return true;
  };
  d.wake = [b] { b->Wake(); };
  d.present = [b] {
    const std::vector<RECT> dirty = user::TakeDirty();
    if (!dirty.empty()) b->Present(gdi::ScreenSurface(), dirty);
  };
  user::SetDriver(std::move(d));
  user::SetCursorSink([b](const display::CursorImage* img) { b->SetCursor(img); },
                      [b](int x, int y) { b->WarpPointer(x, y); });
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace

bool Open(std::string* error) {
  auto b = display::SelectBackend(error);
  if (!b) return false;
  const SIZE size = display::ScreenSize();
  if (!b->Open(size.cx, size.cy, error)) return false;
  TheBackend() = std::move(b);
  Connect(TheBackend().get(), size.cx, size.cy);
  return true;
}

bool OpenHeadless(int width, int height) {
  auto b = display::CreateHeadless();
  std::string error;
  if (!b->Open(width, height, &error)) return false;
  TheBackend() = std::move(b);
  Connect(TheBackend().get(), width, height);
  return true;
}

display::Backend* Backend() { return TheBackend().get(); }

void Inject(const display::Event& e) {
  // Through the display's own queue when it has one, so events are turned into messages
  // when the loop fetches them (after earlier ones were handled), as real input is.
  if (display::Headless* h = display::AsHeadless(Backend())) {
    h->Inject(e);
    return;
  }
  user::ProcessEvent(e);
}

namespace {

void Pointer(display::EventKind kind, int x, int y, int button) {
  display::Event e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.button = button;
  Inject(e);
}

}  // namespace

void MoveMouse(int x, int y) { Pointer(display::EventKind::MouseMove, x, y, 0); }
void MouseDown(int x, int y, int button) { Pointer(display::EventKind::ButtonDown, x, y, button); }
void MouseUp(int x, int y, int button) { Pointer(display::EventKind::ButtonUp, x, y, button); }

void Click(int x, int y, int button) {
  // Queued whole: a press may start a modal loop that waits for the release.
  MoveMouse(x, y);
  MouseDown(x, y, button);
  MouseUp(x, y, button);
  Pump();
}

void PressKey(int vk) {
  display::Event e;
  e.kind = display::EventKind::KeyDown;
  e.vk = vk;
  Inject(e);
  e.kind = display::EventKind::KeyUp;
  Inject(e);
  Pump();
}

void TypeText(const std::string& utf8) {
  display::Event e;
  e.kind = display::EventKind::Text;
  e.text = utf8;
  Inject(e);
  Pump();
}

void DropFiles(int x, int y, const std::vector<std::string>& files) {
  display::Event e;
  e.kind = display::EventKind::DropFiles;
  e.x = x;
  e.y = y;
  e.files = files;
  Inject(e);
  Pump();
}

void Broadcast(UINT msg, WPARAM wParam, LPARAM lParam) { SendMessage(HWND_BROADCAST, msg, wParam, lParam); }

int Pump() {
  int count = 0;
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the program's own loop
      break;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    ++count;
  }
  if (display::Backend* b = Backend()) {
    const std::vector<RECT> dirty = user::TakeDirty();
    if (!dirty.empty()) b->Present(gdi::ScreenSurface(), dirty);
  }
  return count;
}

bool SaveScreen(const std::string& path, std::string* error) {
  user::EnsureScreen();
  return gdi::WritePng(path, gdi::ScreenSurface(), error);
}

bool SaveWindow(HWND hwnd, const std::string& path, std::string* error) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) {
    if (error) *error = "no such window";
    return false;
  }
  const gdi::Surface& s = gdi::ScreenSurface();
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, s.width);
  r.bottom = std::min<LONG>(r.bottom, s.height);
  if (r.left >= r.right || r.top >= r.bottom) {
    if (error) *error = "the window is off the screen";
    return false;
  }
  gdi::Surface part{s.Row(r.top) + r.left, r.right - r.left, r.bottom - r.top, s.stride, false};
  return gdi::WritePng(path, part, error);
}

}  // namespace desktop
