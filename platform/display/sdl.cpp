// The SDL display: one resizable window showing the virtual screen, scaled by whole numbers
// when there is room, and the window's input translated into display events.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/display/display.h"
#include "platform/display/sdl_map.h"
#include "platform/win32/user.h"

namespace display {

namespace {

// Punctuation keys by their US-layout position.
constexpr int kVkOem1 = 0xBA, kVkOemPlus = 0xBB, kVkOemComma = 0xBC, kVkOemMinus = 0xBD,
              kVkOemPeriod = 0xBE, kVkOem2 = 0xBF, kVkOem3 = 0xC0, kVkOem4 = 0xDB, kVkOem5 = 0xDC,
              kVkOem6 = 0xDD, kVkOem7 = 0xDE, kVkOem102 = 0xE2;

int VirtualKeyFromScancode(int sc, bool numlock) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return VK_F12 + 1 + (sc - SDL_SCANCODE_F13);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
    if (numlock) return VK_NUMPAD0 + 1 + (sc - SDL_SCANCODE_KP_1);
    static constexpr int kCursor[9] = {VK_END, VK_DOWN, VK_NEXT, VK_LEFT, VK_CLEAR,
                                       VK_RIGHT, VK_HOME, VK_UP, VK_PRIOR};
    return kCursor[sc - SDL_SCANCODE_KP_1];
  }
  switch (sc) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN: return VK_RETURN;
    case SDL_SCANCODE_RETURN2: return VK_RETURN;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_MINUS: return kVkOemMinus;
    case SDL_SCANCODE_EQUALS: return kVkOemPlus;
    case SDL_SCANCODE_LEFTBRACKET: return kVkOem4;
    case SDL_SCANCODE_RIGHTBRACKET: return kVkOem6;
    case SDL_SCANCODE_BACKSLASH: return kVkOem5;
    case SDL_SCANCODE_NONUSHASH: return kVkOem5;
    case SDL_SCANCODE_SEMICOLON: return kVkOem1;
    case SDL_SCANCODE_APOSTROPHE: return kVkOem7;
    case SDL_SCANCODE_GRAVE: return kVkOem3;
    case SDL_SCANCODE_COMMA: return kVkOemComma;
    case SDL_SCANCODE_PERIOD: return kVkOemPeriod;
    case SDL_SCANCODE_SLASH: return kVkOem2;
    case SDL_SCANCODE_NONUSBACKSLASH: return kVkOem102;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
    case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_0: return numlock ? VK_NUMPAD0 : VK_INSERT;
    case SDL_SCANCODE_KP_PERIOD: return numlock ? VK_DECIMAL : VK_DELETE;
    case SDL_SCANCODE_APPLICATION: return VK_APPS;
    case SDL_SCANCODE_HELP: return VK_HELP;
    case SDL_SCANCODE_LCTRL: return VK_CONTROL;
    case SDL_SCANCODE_RCTRL: return VK_CONTROL;
    case SDL_SCANCODE_LSHIFT: return VK_SHIFT;
    case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
    case SDL_SCANCODE_LALT: return VK_MENU;
    case SDL_SCANCODE_RALT: return VK_MENU;
    case SDL_SCANCODE_LGUI: return VK_LWIN;
    case SDL_SCANCODE_RGUI: return VK_RWIN;
    default: return 0;
  }
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// SDL's process-wide helpers (its D-Bus connection among them) go only with SDL_Quit, which
// must wait until audio or joysticks, opened elsewhere, are done with SDL too.
void ReleaseVideo() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

// Only the servers named in the environment are tried, so a missing Wayland server is not
// probed (and complained about) on a plain X desktop. SDL_VIDEODRIVER, when set, still wins.
void PreferNamedServers() {
  std::string drivers;
  const char* x = SDL_getenv("DISPLAY");
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  if (x != nullptr && *x != '\0') drivers = "x11";
  if (wayland != nullptr && *wayland != '\0') drivers += drivers.empty() ? "wayland" : ",wayland";
  SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.empty() ? nullptr : drivers.c_str());
}

// SDL falls back to drivers that show nothing (offscreen, dummy) when the X or Wayland server
// cannot be reached; those count as no display unless the user asked for them by name.
bool VideoDriverShowsWindows(std::string* error) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) driver = "";
  if (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0) return true;
  const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
  if (wanted != nullptr && *driver != '\0' && std::strstr(wanted, driver) != nullptr) return true;
  if (error) *error = std::string("no X11 or Wayland server could be reached (SDL fell back to '") + driver + "')";
  return false;
}

// Only one SDL window exists per process; the events of a second one would be taken by the first.
std::atomic<bool> g_open{false};

}  // namespace

int VirtualKeyFromSdl(int32_t keycode, int scancode, bool numlock) {
  // Letters and digits come from the layout (a French keyboard's A key reports 'A'); other
  // layouts' characters and every other key are placed by position.
  if (keycode >= 'a' && keycode <= 'z') return keycode - 'a' + 'A';
  if (keycode >= '0' && keycode <= '9' && !(scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0))
    return keycode;
  return VirtualKeyFromScancode(scancode, numlock);
}

Viewport FitViewport(int area_width, int area_height, int screen_width, int screen_height) {
  Viewport v;
  if (screen_width <= 0 || screen_height <= 0) return v;
  const int scale = std::min(area_width / screen_width, area_height / screen_height);
  v.scale = scale >= 2 ? scale : 1;
  v.x = (area_width - screen_width * v.scale) / 2;
  v.y = (area_height - screen_height * v.scale) / 2;
  return v;
}

POINT AreaToScreen(const Viewport& v, int x, int y) {
  return POINT{FloorDiv(x - v.x, v.scale), FloorDiv(y - v.y, v.scale)};
}

POINT ScreenToArea(const Viewport& v, int x, int y) {
  return POINT{v.x + x * v.scale + v.scale / 2, v.y + y * v.scale + v.scale / 2};
}

bool SdlVideoAvailable(std::string* error) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  PreferNamedServers();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  const bool usable = VideoDriverShowsWindows(error);
  ReleaseVideo();
  return usable;
}

namespace {

class SdlBackend final : public Backend {
 public:
  ~SdlBackend() override { Close(); }

  const char* Name() const override { return "sdl"; }

  bool Open(int width, int height, std::string* error) override {
    auto fail = [&](const std::string& why) {
      if (error) *error = "SDL display: " + why;
      Close();
      return false;
    };
    if (window_ != nullptr) {
      if (error) *error = "SDL display: already open";
      return false;
    }
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
      return fail("bad screen size " + std::to_string(width) + "x" + std::to_string(height));
    if (g_open.exchange(true)) return fail("another SDL display is already open in this process");
    owns_open_ = true;

    // Ctrl+C keeps its default meaning; closing the window is a request the program answers.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    PreferNamedServers();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail(SDL_GetError());
    video_ = true;
    std::string why;
    if (!VideoDriverShowsWindows(&why)) return fail(why);

    wake_type_ = SDL_RegisterEvents(1);
    if (wake_type_ == static_cast<Uint32>(-1)) return fail("no user event left for waking");
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    SDL_EventState(SDL_DROPBEGIN, SDL_ENABLE);
    SDL_EventState(SDL_DROPCOMPLETE, SDL_ENABLE);

    // Start at twice the size when the desktop has room for it.
    int scale = 1;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w >= 2 * width + 64 && usable.h >= 2 * height + 64)
      scale = 2;
    window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale,
                               height * scale, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) return fail(SDL_GetError());
    SDL_SetWindowMinimumSize(window_, 160, 100);
    window_id_ = SDL_GetWindowID(window_);
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) return fail(SDL_GetError());
    width_ = width;
    height_ = height;
    if (!CreateTexture()) return fail(SDL_GetError());
    SDL_StartTextInput();
    UpdateViewport();
    if (!has_cursor_ && cursor_hidden_) SDL_ShowCursor(SDL_DISABLE);
    Render();
    // A wake that came before the window existed is not lost.
    ready_.store(true);
    if (wake_pending_.exchange(false)) Wake();
    return true;
  }

  void Present(const gdi::Surface& screen, const std::vector<RECT>& dirty) override {
    if (texture_ == nullptr || !screen.valid()) return;
    const LONG w = std::min(screen.width, width_), h = std::min(screen.height, height_);
    bool changed = false;
    for (const RECT& r : dirty) {
      const LONG left = std::max<LONG>(r.left, 0), top = std::max<LONG>(r.top, 0);
      const LONG right = std::min(r.right, w), bottom = std::min(r.bottom, h);
      if (left >= right || top >= bottom) continue;
      const SDL_Rect area{left, top, right - left, bottom - top};
      void* pixels = nullptr;
      int pitch = 0;
      if (SDL_LockTexture(texture_, &area, &pixels, &pitch) != 0) continue;
      for (LONG y = top; y < bottom; ++y)
        std::memcpy(static_cast<char*>(pixels) + static_cast<ptrdiff_t>(y - top) * pitch, screen.Row(y) + left,
                    sizeof(gdi::Pixel) * (right - left));
      SDL_UnlockTexture(texture_);
      changed = true;
    }
    if (changed) Render();
  }

  bool WaitEvent(Event& out, int timeout_ms) override {
    if (window_ == nullptr) return false;  // nothing can arrive before Open
    const Uint64 start = SDL_GetTicks64();
    for (;;) {
      int wait = -1;
      if (timeout_ms >= 0) {
        const Uint64 spent = SDL_GetTicks64() - start;
        wait = spent >= static_cast<Uint64>(timeout_ms) ? 0 : static_cast<int>(timeout_ms - spent);
      }
      SDL_Event e;
      if (SDL_WaitEventTimeout(&e, wait) == 0) return false;
      if (e.type == wake_type_) {
        wake_pending_.store(false);
        return false;
      }
      if (Translate(e, out)) return true;
      if (wait == 0) return false;
    }
  }

  void Wake() override {
    // Pushing is thread-safe and interrupts SDL's wait; one pending wake is enough.
    if (wake_pending_.exchange(true)) return;
    if (!ready_.load()) return;  // Open pushes it
    SDL_Event e{};
    e.type = wake_type_;
    if (SDL_PushEvent(&e) != 1) wake_pending_.store(false);
  }

  void SetCursor(const CursorImage* image) override {
    if (image == nullptr) {
      has_cursor_ = false;
      cursor_hidden_ = true;
      if (window_ != nullptr) SDL_ShowCursor(SDL_DISABLE);
      return;
    }
    if (image->width <= 0 || image->height <= 0 || image->width > 256 || image->height > 256 ||
        image->argb.size() != static_cast<size_t>(image->width) * image->height)
      return;
    const bool same = has_cursor_ && cursor_image_.width == image->width && cursor_image_.height == image->height &&
                      cursor_image_.hot_x == image->hot_x && cursor_image_.hot_y == image->hot_y &&
                      cursor_image_.argb == image->argb;
    if (!same) {
      cursor_image_ = *image;
      cursor_scale_ = 0;
    }
    has_cursor_ = true;
    cursor_hidden_ = false;
    ApplyCursor();
  }

  void WarpPointer(int x, int y) override {
    if (window_ == nullptr || SDL_GetMouseFocus() != window_) return;
    const POINT p = ScreenToArea(viewport_, x, y);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    if (area_w_ <= 0 || area_h_ <= 0) return;
    SDL_WarpMouseInWindow(window_, static_cast<int>(static_cast<int64_t>(p.x) * ww / area_w_),
                          static_cast<int>(static_cast<int64_t>(p.y) * wh / area_h_));
  }

  void SetTitle(const std::string& title) override {
    title_ = title;
    if (window_ != nullptr) SDL_SetWindowTitle(window_, title_.c_str());
  }

  void SetClipboardText(const std::string& utf8) override {
    if (video_) SDL_SetClipboardText(utf8.c_str());
  }

  bool ClipboardText(std::string* utf8) override {
    if (!video_ || !SDL_HasClipboardText()) return false;
    char* text = SDL_GetClipboardText();
    if (text == nullptr) return false;
    *utf8 = text;
    SDL_free(text);
    return true;
  }

 private:
  bool CreateTexture() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width_, height_);
    if (texture_ == nullptr) return false;
    // Black until the first Present, rather than whatever the driver left there.
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
      std::memset(pixels, 0, static_cast<size_t>(pitch) * height_);
      SDL_UnlockTexture(texture_);
    }
    return true;
  }

  void UpdateViewport() {
    SDL_GetRendererOutputSize(renderer_, &area_w_, &area_h_);
    viewport_ = FitViewport(area_w_, area_h_, width_, height_);
    if (has_cursor_ && cursor_scale_ != CursorScale()) ApplyCursor();
  }

  void Render() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect dst{viewport_.x, viewport_.y, width_ * viewport_.scale, height_ * viewport_.scale};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
  }

  // The pointer grows with the screen so it keeps its size relative to what it points at.
  int CursorScale() const {
    int ww = 0;
    SDL_GetWindowSize(window_, &ww, nullptr);
    const int points_per_pixel = ww > 0 && area_w_ > ww ? area_w_ / ww : 1;
    return std::max(1, viewport_.scale / points_per_pixel);
  }

  void ApplyCursor() {
    if (window_ == nullptr || !has_cursor_) return;
    const int s = CursorScale();
    if (s != cursor_scale_ || cursor_ == nullptr) {
      const int w = cursor_image_.width * s, h = cursor_image_.height * s;
      std::vector<uint32_t> big(static_cast<size_t>(w) * h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          big[static_cast<size_t>(y) * w + x] = cursor_image_.argb[static_cast<size_t>(y / s) * cursor_image_.width + x / s];
      SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(big.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_ARGB8888);
      if (surface == nullptr) return;
      const int hx = std::clamp(cursor_image_.hot_x, 0, cursor_image_.width - 1) * s;
      const int hy = std::clamp(cursor_image_.hot_y, 0, cursor_image_.height - 1) * s;
      SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hx, hy);
      SDL_FreeSurface(surface);
      if (cursor == nullptr) return;
      SDL_SetCursor(cursor);
      if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
      cursor_ = cursor;
      cursor_scale_ = s;
    }
    SDL_ShowCursor(SDL_ENABLE);
  }

  // Window coordinates (SDL's points) to virtual-screen pixels.
  POINT FromWindow(int x, int y) const {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    if (ww > 0 && wh > 0 && (ww != area_w_ || wh != area_h_)) {
      x = static_cast<int>(static_cast<int64_t>(x) * area_w_ / ww);
      y = static_cast<int>(static_cast<int64_t>(y) * area_h_ / wh);
    }
    return AreaToScreen(viewport_, x, y);
  }

  void SetPosition(Event& out, int x, int y) const {
    const POINT p = FromWindow(x, y);
    out.x = p.x;
    out.y = p.y;
  }

  static int ButtonIndex(Uint8 b) {
    switch (b) {
      case SDL_BUTTON_LEFT: return 0;
      case SDL_BUTTON_RIGHT: return 1;
      case SDL_BUTTON_MIDDLE: return 2;
      default: return -1;
    }
  }

  // Turns one SDL event into at most one display event; false when it has no meaning here.
  bool Translate(const SDL_Event& e, Event& out) {
    out = Event{};
    switch (e.type) {
      case SDL_MOUSEMOTION:
        if (e.motion.windowID != window_id_) return false;
        out.kind = EventKind::MouseMove;
        SetPosition(out, e.motion.x, e.motion.y);
        return true;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (e.button.windowID != window_id_ || ButtonIndex(e.button.button) < 0) return false;
        out.kind = e.type == SDL_MOUSEBUTTONDOWN ? EventKind::ButtonDown : EventKind::ButtonUp;
        out.button = ButtonIndex(e.button.button);
        SetPosition(out, e.button.x, e.button.y);
        return true;
      case SDL_MOUSEWHEEL: {
        if (e.wheel.windowID != window_id_ || e.wheel.y == 0) return false;
        out.kind = EventKind::Wheel;
        const int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        out.wheel = notches * WHEEL_DELTA;
#if SDL_VERSION_ATLEAST(2, 26, 0)
        SetPosition(out, e.wheel.mouseX, e.wheel.mouseY);
#else
        int mx = 0, my = 0;
        SDL_GetMouseState(&mx, &my);
        SetPosition(out, mx, my);
#endif
        return true;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        if (e.key.windowID != window_id_) return false;
        const int vk = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.scancode, (e.key.keysym.mod & KMOD_NUM) != 0);
        if (vk == 0) return false;
        out.kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
        out.vk = vk;
        out.repeat = e.key.repeat != 0;
        return true;
      }
      case SDL_TEXTINPUT:
        if (e.text.windowID != window_id_ || e.text.text[0] == '\0') return false;
        out.kind = EventKind::Text;
        out.text = e.text.text;
        return true;
      case SDL_DROPBEGIN:
        dropping_ = true;
        dropped_.clear();
        return false;
      case SDL_DROPFILE:
        if (e.drop.file != nullptr) {
          dropped_.emplace_back(e.drop.file);
          SDL_free(e.drop.file);
        }
        if (dropping_) return false;
        return FinishDrop(out);  // a driver without begin/complete sends files one by one
      case SDL_DROPTEXT:
        if (e.drop.file != nullptr) SDL_free(e.drop.file);
        return false;
      case SDL_DROPCOMPLETE:
        dropping_ = false;
        return FinishDrop(out);
      case SDL_WINDOWEVENT:
        if (e.window.windowID != window_id_) return false;
        switch (e.window.event) {
          case SDL_WINDOWEVENT_CLOSE: out.kind = EventKind::Close; return true;
          case SDL_WINDOWEVENT_FOCUS_GAINED: out.kind = EventKind::FocusGained; return true;
          case SDL_WINDOWEVENT_FOCUS_LOST: out.kind = EventKind::FocusLost; return true;
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_SIZE_CHANGED:
          case SDL_WINDOWEVENT_RESTORED:
            UpdateViewport();
            Render();
            out.kind = EventKind::Exposed;
            return true;
          default: return false;
        }
      case SDL_QUIT:
        out.kind = EventKind::Close;
        return true;
      case SDL_RENDER_DEVICE_RESET:
        // The texture's contents are gone: make a new one and have everything presented again.
        CreateTexture();
        [[fallthrough]];
      case SDL_RENDER_TARGETS_RESET:
        UpdateViewport();
        Render();
        out.kind = EventKind::Exposed;
        return true;
      default:
        return false;
    }
  }

  bool FinishDrop(Event& out) {
    if (dropped_.empty()) return false;
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(window_, &wx, &wy);
    out.kind = EventKind::DropFiles;
    SetPosition(out, gx - wx, gy - wy);
    out.files = std::move(dropped_);
    dropped_.clear();
    return true;
  }

  void Close() {
    ready_.store(false);
    if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
    cursor_ = nullptr;
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    if (window_ != nullptr) {
      SDL_StopTextInput();
      SDL_DestroyWindow(window_);
    }
    window_ = nullptr;
    if (video_) ReleaseVideo();
    video_ = false;
    if (owns_open_) g_open.store(false);
    owns_open_ = false;
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Cursor* cursor_ = nullptr;
  Uint32 window_id_ = 0;
  Uint32 wake_type_ = static_cast<Uint32>(-1);
  std::atomic<bool> wake_pending_{false};
  std::atomic<bool> ready_{false};  // the window exists and wake_type_ is registered
  bool video_ = false;
  bool owns_open_ = false;
  int width_ = 0, height_ = 0;
  int area_w_ = 0, area_h_ = 0;
  Viewport viewport_;
  std::string title_ = "Showrama";
  CursorImage cursor_image_{0, 0, 0, 0, {}};
  bool has_cursor_ = false;
  bool cursor_hidden_ = false;  // SetCursor(nullptr) was the last word
  int cursor_scale_ = 0;
  bool dropping_ = false;
  std::vector<std::string> dropped_;
};

}  // namespace

std::unique_ptr<Backend> CreateSdl() { return std::make_unique<SdlBackend>(); }

}  // namespace display
