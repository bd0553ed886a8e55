// The caret: one per program, a blinking inverted block (or bitmap) in a window.
#include "platform/user/queue.h"

namespace {

struct Caret {
  HWND hwnd = nullptr;
  int width = 0;
  int height = 0;
  POINT pos{0, 0};
  int hidden = 1;      // ShowCaret calls needed before it shows
  bool drawn = false;  // currently inverted on the screen
  UINT_PTR timer = 0;
};

Caret& K() {
  static auto* c = new Caret;
  return *c;
}

void Invert() {
  Caret& c = K();
  if (!IsWindow(c.hwnd)) return;
  HDC dc = GetDC(c.hwnd);
  PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
  ReleaseDC(c.hwnd, dc);
  c.drawn = !c.drawn;
}

void Erase() {
  if (K().drawn) Invert();
}

void Blink(HWND, UINT, UINT_PTR, DWORD) {
  if (K().hidden == 0) Invert();
}

}  // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  if (!IsWindow(hwnd)) return FALSE;
  DestroyCaret();
  Caret& c = K();
  c.hwnd = hwnd;
  c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  c.pos = POINT{0, 0};
  c.hidden = 1;
  c.drawn = false;
  c.timer = SetTimer(nullptr, 0, GetCaretBlinkTime(), Blink);
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& c = K();
  if (!c.hwnd) return FALSE;
  Erase();
  if (c.timer) KillTimer(nullptr, c.timer);
  c = Caret{};
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& c = K();
  if (!c.hwnd) return FALSE;
  const bool was_drawn = c.drawn;
  Erase();
  c.pos = POINT{x, y};
  if (was_drawn || c.hidden == 0) Invert();
  return TRUE;
}

BOOL GetCaretPos(LPPOINT pt) {
  if (!pt || !K().hwnd) return FALSE;
  *pt = K().pos;
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  Caret& c = K();
  if (!c.hwnd || (hwnd && hwnd != c.hwnd) || c.hidden == 0) return FALSE;
  if (--c.hidden == 0 && !c.drawn) Invert();
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  Caret& c = K();
  if (!c.hwnd || (hwnd && hwnd != c.hwnd)) return FALSE;
  Erase();
  ++c.hidden;
  return TRUE;
}
