// The desktop: the display, the screen and the message loop joined up, plus the means to
// drive it as a user would (for tests, the gallery and demos).
#pragma once

#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/win32/user.h"

namespace desktop {

// Opens the display chosen by the environment (SDL when there is one, headless otherwise;
// SHOWRAMA_DISPLAY=headless|sdl), makes the screen its size and connects the message loop to
// it. False with a one-line reason in *error.
bool Open(std::string* error);
// A headless desktop of the given size (tests and the gallery).
bool OpenHeadless(int width, int height);
display::Backend* Backend();

// Input as if from the display: queued, and turned into messages when the loop fetches them
// (Pump, or a program's own loop). Click, PressKey, TypeText and DropFiles pump as they go;
// MoveMouse, MouseDown and MouseUp only queue, so a drag can be queued whole before a modal
// move loop runs.
void Inject(const display::Event& e);
void MoveMouse(int x, int y);
void MouseDown(int x, int y, int button = 0);
void MouseUp(int x, int y, int button = 0);
void Click(int x, int y, int button = 0);
void PressKey(int vk);  // down and up
void TypeText(const std::string& utf8);
void DropFiles(int x, int y, const std::vector<std::string>& files);

// Sends a system broadcast (WM_SYSCOLORCHANGE, WM_WININICHANGE, WM_FONTCHANGE,
// WM_TIMECHANGE, WM_POWER ...) to every top-level window, as the system would.
void Broadcast(UINT msg, WPARAM wParam, LPARAM lParam);

// Dispatches every message that is ready (paints included, timers only when due); returns
// how many it dispatched.
int Pump();

// The screen (or one window of it) as a PNG.
bool SaveScreen(const std::string& path, std::string* error = nullptr);
bool SaveWindow(HWND hwnd, const std::string& path, std::string* error = nullptr);

}  // namespace desktop
