// The non-client frame of a window as pure functions of its styles and size: the default
// WM_NCCALCSIZE answer, the caption's button layout, WM_NCHITTEST and WM_NCPAINT. The
// window manager supplies the state; nothing here looks at a window.
#pragma once

#include "platform/win32.h"

namespace user {

struct Frame {
  DWORD style;
  DWORD ex_style;
  bool has_menu;
  bool active;
  bool maximized;
  bool minimized;
};

// The client rectangle inside a window rectangle, in the same coordinates: frame rings,
// caption, menu bar and client edge taken off. Scroll bars are not taken off (the window
// manager owns them). Never inverted: a window too small for its frame gets an empty client.
RECT FrameClientRect(const Frame& frame, const RECT& window);

// Caption parts in window coordinates (0,0 = the window's top-left corner). bar is the caption
// bar without the line under it; text is where the title may draw. Every rect of a part that
// is absent is empty.
struct CaptionButtons {
  RECT close, maximize, minimize, help;
  bool has_close, has_max, has_min, has_help;
  RECT icon;
  bool has_icon;
  RECT text;
  RECT bar;
};
CaptionButtons CaptionLayout(const Frame& frame, int width, int height);

// WM_NCHITTEST for a window at `window` (screen coordinates) and a point in screen coordinates.
LRESULT FrameHitTest(const Frame& frame, const RECT& window, POINT pt);

enum ButtonPressed { kNoButton, kClosePressed, kMaxPressed, kMinPressed, kHelpPressed };

// Paints the whole non-client area of a width x height window into a DC whose origin is the
// window's top-left corner; the client area is left alone. caption_utf8 may be NULL.
void PaintFrame(HDC window_dc, const Frame& frame, int width, int height, const char* caption_utf8,
                ButtonPressed pressed);

}  // namespace user
