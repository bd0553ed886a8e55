// Display backends: where the virtual screen is shown and where input comes from. The window
// manager composes into a gdi::Surface, hands the changed rectangles to Present, and reads
// input as Events. Everything except Wake and Headless::Inject is called from one thread
// (the one that called Open).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/win32/types.h"

namespace display {

enum class EventKind : uint8_t {
  MouseMove,
  ButtonDown,
  ButtonUp,
  Wheel,
  KeyDown,
  KeyUp,
  Text,
  DropFiles,
  Close,        // the user asked to close the host window
  FocusGained,  // the host window became the keyboard focus
  FocusLost,
  Exposed,      // the host window was uncovered or resized: present everything again
  Resized,      // reserved for a change of the virtual screen size; no backend sends it yet
};

struct Event {
  EventKind kind{};
  int x = 0, y = 0;  // virtual-screen pixel coordinates (pointer events and DropFiles)
  int button = 0;    // 0 left, 1 right, 2 middle
  int wheel = 0;     // +-120 per notch (WHEEL_DELTA), positive away from the user
  int vk = 0;        // Win32 virtual-key code
  bool repeat = false;  // KeyDown produced by auto-repeat
  std::string text;                // UTF-8, for Text
  std::vector<std::string> files;  // Linux paths, for DropFiles
};

struct CursorImage {
  int width, height, hot_x, hot_y;
  std::vector<uint32_t> argb;  // 0xAARRGGBB, top row first, width * height entries
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;
  // Creates the virtual screen of this size; false with a one-line reason in *error.
  virtual bool Open(int width, int height, std::string* error) = 0;
  // Copies only the dirty rectangles of screen (clipped to both sizes) to the display.
  virtual void Present(const gdi::Surface& screen, const std::vector<RECT>& dirty) = 0;
  // Waits for the next event: timeout_ms -1 waits forever. False on timeout or Wake(). It
  // blocks without using the processor.
  virtual bool WaitEvent(Event& out, int timeout_ms) = 0;
  // Thread-safe: a waiting WaitEvent (or the next one, if none is waiting) returns false
  // promptly. Wakes that arrive before that return are merged into one.
  virtual void Wake() = 0;
  virtual void SetCursor(const CursorImage* image) = 0;  // null hides the pointer
  virtual void WarpPointer(int x, int y) = 0;  // moves the real pointer when it is over the window
  virtual void SetTitle(const std::string& title) = 0;
  // The desktop's clipboard, where the display has one (the default: none). ClipboardText
  // is false when the desktop holds no text.
  virtual void SetClipboardText(const std::string& /*utf8*/) {}
  virtual bool ClipboardText(std::string* /*utf8*/) { return false; }
};

std::unique_ptr<Backend> CreateHeadless();
std::unique_ptr<Backend> CreateSdl();

// SDL when a display is available (DISPLAY or WAYLAND_DISPLAY set and SDL video initialises),
// headless otherwise; SHOWRAMA_DISPLAY=headless|sdl overrides (sdl requested but unavailable:
// null with *error saying so in one clear line).
std::unique_ptr<Backend> SelectBackend(std::string* error);

// Screen size from SHOWRAMA_SCREEN=WxH (320x200 .. 4096x4096), default 1024x768. A value that
// does not parse or is out of range is reported once on stderr and the default is used.
SIZE ScreenSize();

// Headless extras for tests and the gallery.
class Headless : public Backend {
 public:
  // Queues an event for WaitEvent (thread-safe).
  virtual void Inject(Event e) = 0;
  // The screen as last presented (a copy kept by Present); null until the first Present.
  // Valid until the next Present or the backend's destruction.
  virtual const gdi::Surface* LastPresented() const = 0;
};

Headless* AsHeadless(Backend* backend);  // null when not headless

}  // namespace display
