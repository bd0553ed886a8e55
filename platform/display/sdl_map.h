// The SDL backend's pure pieces, kept free of SDL headers so they can be tested without a
// display: key translation, the scale-and-centre placement of the virtual screen in the host
// window, and the probe that decides whether SDL video can be used at all.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/types.h"

namespace display {

// The Win32 virtual key for an SDL key event (keycode, scancode as SDL numbers them), or 0 for
// keys with no virtual key. Letters and digits follow the keyboard layout when it produces
// them, the key position otherwise; numpad keys give their cursor-key meaning with NumLock off.
int VirtualKeyFromSdl(int32_t keycode, int scancode, bool numlock);

// Where the virtual screen lies in the window's drawable area: integer scale when the area holds
// it at least twice over, otherwise scale 1 with the screen centred (cropped if the area is
// smaller than the screen).
struct Viewport {
  int scale = 1;
  int x = 0, y = 0;  // top-left of the screen in drawable pixels (negative when cropped)
};
Viewport FitViewport(int area_width, int area_height, int screen_width, int screen_height);

// A drawable-area pixel back to a virtual-screen pixel (floor division, so points left of or
// above the screen stay negative rather than rounding onto row or column 0).
POINT AreaToScreen(const Viewport& v, int x, int y);
// The centre of a virtual-screen pixel in drawable-area pixels.
POINT ScreenToArea(const Viewport& v, int x, int y);

// True when SDL video initialises here; otherwise false with SDL's reason in *error.
bool SdlVideoAvailable(std::string* error);

}  // namespace display
