// The message loop's internals shared between the window manager's files.
#pragma once

#include <functional>

#include "platform/user/window.h"

namespace user {

// Where input comes from and where finished frames go (the display), set by the desktop.
struct Driver {
  std::function<bool()> pump;          // turn the next pending display event into messages; false when none
  std::function<bool(int)> wait;       // block up to timeout ms (-1 forever) for an event or a wake
  std::function<void()> wake;          // thread-safe: end a wait
  std::function<void()> present;       // show what changed on the screen
};
void SetDriver(Driver driver);

// Hardware messages (mouse, keyboard) in arrival order.
void PushInput(const MSG& msg);

// Geometry: the client rectangle through WM_NCCALCSIZE.
void RecalcClient(Window* w);
// Drops every reference to a dying window: focus, capture, activation, timers, queued messages.
void ForgetWindow(Window* w);
// After the active window went away or was hidden: activate the next top-level window.
void ActivateNextAfterLoss();

// Painting: the next window due a WM_PAINT (parents before children, top to bottom).
Window* NextPaintWindow();

// The screen for the window manager: created on first use at the display's size.
void EnsureScreen();
void ResizeScreen(int width, int height);
// The screen rectangles changed since the last call (for the display).
std::vector<RECT> TakeDirty();
// Timers and queued messages of a window (part of ForgetWindow).
void ForgetQueued(Window* w);
// Activates a top-level window (or its top-level ancestor): WM_NCACTIVATE, WM_ACTIVATE,
// focus to it.
void Activate(Window* w, WORD how);
// The key state table (GetKeyState), kept by input.
void SetKeyDown(int vk, bool down);
Window* FocusWindow();
Window* CaptureWindow();
Window* ActiveWindow();

}  // namespace user
