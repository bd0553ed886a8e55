// Scroll bars: the standard bars in the non-client area of windows with WS_HSCROLL /
// WS_VSCROLL, and the "SCROLLBAR" control class (SB_CTL). The window manager calls in here
// for the client rectangle, the hit test, painting and the mouse; everything else goes
// through the Win32 calls.
#pragma once

#include "platform/user/window.h"
#include "platform/win32.h"

namespace user {

// One bar's scrolling state.
struct ScrollInfo {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  UINT arrows = ESB_ENABLE_BOTH;  // ESB_DISABLE_ bits
};

// Parts of a bar along its axis, from the up/left arrow to the down/right one.
enum ScrollPart : int { kPartNone, kPartArrowUp, kPartPageUp, kPartThumb, kPartPageDown, kPartArrowDown };

// A bar laid out along its length: arrows, and the thumb when there is room and a range.
struct ScrollLayout {
  int length = 0;
  int arrow = 0;      // length of each arrow button
  int thumb_pos = 0;  // from the start of the bar
  int thumb_len = 0;  // 0: no thumb
};
ScrollLayout LayoutScrollBar(const ScrollInfo& info, int length, int pos, bool enabled);
ScrollPart ScrollPartAt(const ScrollLayout& layout, int offset);

struct ScrollBars {
  ScrollInfo bar[3];  // SB_HORZ, SB_VERT, SB_CTL
  bool control = false;  // the window is a scroll-bar control
  // While the mouse holds a bar: which bar, the part pressed, whether the pointer is still
  // on it (it shows pushed only then), and the thumb's tracked position.
  int tracking_bar = -1;
  ScrollPart pressed = kPartNone;
  bool pressed_over = false;
  bool dragging = false;
  int track_pos = 0;
};

// WM_NCCALCSIZE: takes the visible standard bars off a client rectangle.
void SubtractScrollBars(DWORD style, RECT& client);
// WM_NCHITTEST for the bars and the corner between them (screen point); 0 when elsewhere.
LRESULT ScrollBarHitTest(const Window* w, POINT screen_pt);
// WM_NCPAINT: the standard bars and their corner, into a DC at the window's top-left.
void PaintScrollBars(Window* w, HDC window_dc);
// WM_NCLBUTTONDOWN on HTHSCROLL / HTVSCROLL: the modal tracking loop.
void TrackScrollBar(Window* w, int bar, POINT screen_pt);
// The track's checkerboard brush; sets the DC colours it is drawn in.
HBRUSH ScrollTrackBrush(HDC hdc);

}  // namespace user
