// Display backends: the headless queue and screen copy, environment choices, the SDL key and
// placement rules, and an SDL window round trip where a display exists.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/display/display.h"
#include "platform/display/sdl_map.h"
#include "platform/win32/user.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

display::Event Key(int vk) {
  display::Event e;
  e.kind = display::EventKind::KeyDown;
  e.vk = vk;
  return e;
}

long long MillisSince(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

}  // namespace

TEST(HeadlessDisplay, InjectedEventsComeOutInOrderWithTheirContents) {
  auto backend = display::CreateHeadless();
  display::Headless* h = display::AsHeadless(backend.get());
  ASSERT_NE(h, nullptr);
  EXPECT_STREQ(backend->Name(), "headless");
  h->Inject(Key('A'));
  display::Event drop;
  drop.kind = display::EventKind::DropFiles;
  drop.x = 5;
  drop.y = 7;
  drop.files = {"/tmp/a b.txt", "/tmp/c"};
  h->Inject(drop);
  h->Inject(Key('B'));

  display::Event out;
  ASSERT_TRUE(backend->WaitEvent(out, 0));
  EXPECT_EQ(out.vk, 'A');
  ASSERT_TRUE(backend->WaitEvent(out, -1));
  EXPECT_EQ(out.kind, display::EventKind::DropFiles);
  EXPECT_EQ(out.x, 5);
  EXPECT_EQ(out.files, (std::vector<std::string>{"/tmp/a b.txt", "/tmp/c"}));
  ASSERT_TRUE(backend->WaitEvent(out, 20));
  EXPECT_EQ(out.vk, 'B');
  EXPECT_FALSE(backend->WaitEvent(out, 0));
}

TEST(HeadlessDisplay, TimeoutsReallyWait) {
  auto backend = display::CreateHeadless();
  display::Event out;
  auto start = Clock::now();
  EXPECT_FALSE(backend->WaitEvent(out, 20));
  const long long spent = MillisSince(start);
  EXPECT_GE(spent, 19);
  EXPECT_LT(spent, 2000);
  start = Clock::now();
  EXPECT_FALSE(backend->WaitEvent(out, 0));
  EXPECT_LT(MillisSince(start), 1000);
}

TEST(HeadlessDisplay, WakeFromAnotherThreadEndsAnEndlessWait) {
  auto backend = display::CreateHeadless();
  std::thread waker([&] {
    std::this_thread::sleep_for(30ms);
    backend->Wake();
  });
  display::Event out;
  const auto start = Clock::now();
  EXPECT_FALSE(backend->WaitEvent(out, -1));
  const long long spent = MillisSince(start);
  waker.join();
  EXPECT_GE(spent, 25);
  EXPECT_LT(spent, 3000);
  // The wake was used up: the next wait times out.
  EXPECT_FALSE(backend->WaitEvent(out, 10));
}

TEST(HeadlessDisplay, WakeBeforeWaitingIsKeptAndEventsBeforeItComeFirst) {
  auto backend = display::CreateHeadless();
  display::Headless* h = display::AsHeadless(backend.get());
  h->Inject(Key(VK_RETURN));
  backend->Wake();
  backend->Wake();  // merged with the first
  display::Event out;
  ASSERT_TRUE(backend->WaitEvent(out, -1));
  EXPECT_EQ(out.vk, VK_RETURN);
  const auto start = Clock::now();
  EXPECT_FALSE(backend->WaitEvent(out, -1));
  EXPECT_LT(MillisSince(start), 1000);
  EXPECT_FALSE(backend->WaitEvent(out, 5));
}

TEST(HeadlessDisplay, InjectFromAnotherThreadWakesTheWaiter) {
  auto backend = display::CreateHeadless();
  display::Headless* h = display::AsHeadless(backend.get());
  std::thread producer([&] {
    for (int i = 0; i < 100; ++i) h->Inject(Key(i));
  });
  display::Event out;
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(backend->WaitEvent(out, 5000));
    EXPECT_EQ(out.vk, i);
  }
  producer.join();
}

TEST(HeadlessDisplay, PresentCopiesOnlyTheDirtyRectangles) {
  auto backend = display::CreateHeadless();
  display::Headless* h = display::AsHeadless(backend.get());
  std::string error;
  EXPECT_FALSE(backend->Open(0, 10, &error));
  EXPECT_FALSE(error.empty());
  ASSERT_TRUE(backend->Open(8, 6, &error));
  EXPECT_EQ(h->LastPresented(), nullptr);

  std::vector<gdi::Pixel> bits(8 * 6, 0x112233);
  gdi::Surface screen{bits.data(), 8, 6, 8, false};
  backend->Present(screen, {RECT{0, 0, 8, 6}});
  const gdi::Surface* copy = h->LastPresented();
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->width, 8);
  ASSERT_EQ(copy->height, 6);
  EXPECT_NE(copy->bits, bits.data());
  EXPECT_EQ(copy->Row(5)[7], 0x112233u);

  // Change everything, present two rectangles (one reaching past the edges, one empty).
  for (auto& p : bits) p = 0xABCDEF;
  backend->Present(screen, {RECT{1, 1, 3, 2}, RECT{6, 4, 20, 20}, RECT{4, 4, 4, 5}, RECT{-5, -5, -1, -1}});
  copy = h->LastPresented();
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool dirty = (y == 1 && x >= 1 && x < 3) || (y >= 4 && x >= 6);
      EXPECT_EQ(copy->Row(y)[x], dirty ? 0xABCDEFu : 0x112233u) << x << "," << y;
    }
  }

  // A bottom-up surface (negative stride) is read row by row the right way round.
  std::vector<gdi::Pixel> flipped(8 * 6, 0);
  gdi::Surface bottom_up{flipped.data() + 8 * 5, 8, 6, -8, false};
  bottom_up.Row(0)[0] = 0x010203;
  backend->Present(bottom_up, {RECT{0, 0, 1, 1}});
  EXPECT_EQ(h->LastPresented()->Row(0)[0], 0x010203u);
  EXPECT_EQ(h->LastPresented()->Row(1)[1], 0xABCDEFu);

  // A smaller screen surface is copied only where it exists.
  std::vector<gdi::Pixel> small(2 * 2, 0x445566);
  backend->Present(gdi::Surface{small.data(), 2, 2, 2, false}, {RECT{0, 0, 8, 6}});
  EXPECT_EQ(h->LastPresented()->Row(1)[1], 0x445566u);
  EXPECT_EQ(h->LastPresented()->Row(2)[2], 0x112233u);
}

TEST(HeadlessDisplay, SdlBackendIsNotHeadless) {
  auto sdl = display::CreateSdl();
  EXPECT_EQ(display::AsHeadless(sdl.get()), nullptr);
  EXPECT_EQ(display::AsHeadless(nullptr), nullptr);
  EXPECT_STREQ(sdl->Name(), "sdl");
  // Before Open nothing touches SDL: no event, no crash.
  display::Event out;
  EXPECT_FALSE(sdl->WaitEvent(out, 0));
  sdl->Wake();
  std::vector<gdi::Pixel> bits(4, 0);
  sdl->Present(gdi::Surface{bits.data(), 2, 2, 2, false}, {RECT{0, 0, 2, 2}});
  sdl->WarpPointer(1, 1);
  sdl->SetCursor(nullptr);
}

TEST(DisplayEnvironment, ScreenSizeParsesAndRefuses) {
  {
    ScopedEnv env("SHOWRAMA_SCREEN", nullptr);
    EXPECT_EQ(display::ScreenSize(), (SIZE{1024, 768}));
  }
  struct Case {
    const char* value;
    SIZE expected;
  };
  const Case cases[] = {
      {"800x600", {800, 600}},    {"320x200", {320, 200}},   {"4096x4096", {4096, 4096}},
      {"640X480", {640, 480}},    {"319x200", {1024, 768}},  {"320x199", {1024, 768}},
      {"4097x600", {1024, 768}},  {"800", {1024, 768}},      {"x600", {1024, 768}},
      {"800x", {1024, 768}},      {"-800x600", {1024, 768}}, {"800x600x2", {1024, 768}},
      {" 800x600", {1024, 768}},  {"800x600 ", {1024, 768}}, {"99999999999x600", {1024, 768}},
      {"0800x0600", {800, 600}},  {"abc", {1024, 768}},      {"", {1024, 768}},
  };
  for (const Case& c : cases) {
    ScopedEnv env("SHOWRAMA_SCREEN", c.value);
    EXPECT_EQ(display::ScreenSize(), c.expected) << '"' << c.value << '"';
  }
}

TEST(DisplayEnvironment, SelectBackendHonoursTheOverride) {
  std::string error;
  {
    ScopedEnv env("SHOWRAMA_DISPLAY", "headless");
    auto b = display::SelectBackend(&error);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(display::AsHeadless(b.get()), nullptr);
  }
  {
    ScopedEnv env("SHOWRAMA_DISPLAY", "vga");
    error.clear();
    EXPECT_EQ(display::SelectBackend(&error), nullptr);
    EXPECT_NE(error.find("vga"), std::string::npos);
  }
  {
    // Without any display, sdl cannot be had and automatic choice falls back to headless.
    ScopedEnv x("DISPLAY", nullptr), w("WAYLAND_DISPLAY", nullptr);
    ScopedEnv env("SHOWRAMA_DISPLAY", "sdl");
    error.clear();
    EXPECT_EQ(display::SelectBackend(&error), nullptr);
    EXPECT_NE(error.find("sdl"), std::string::npos);
    EXPECT_EQ(error.find('\n'), std::string::npos);
    ScopedEnv automatic("SHOWRAMA_DISPLAY", nullptr);
    auto b = display::SelectBackend(&error);
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(b->Name(), "headless");
  }
  {
    // A display name with no server behind it is no display, whatever SDL falls back to.
    ScopedEnv x("DISPLAY", "unreachable.invalid:97"), w("WAYLAND_DISPLAY", nullptr), d("SDL_VIDEODRIVER", nullptr);
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/nonexistent-showrama-runtime");
    ScopedEnv automatic("SHOWRAMA_DISPLAY", nullptr);
    auto b = display::SelectBackend(&error);
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(b->Name(), "headless");
    auto sdl = display::CreateSdl();
    error.clear();
    EXPECT_FALSE(sdl->Open(320, 200, &error));
    EXPECT_FALSE(error.empty());
  }
}

// SDL scancodes are USB usage numbers; keycodes of printable keys are their characters and of
// other keys the scancode with bit 30 set.
namespace sc {
constexpr int A = 4, Z = 29, N1 = 30, N9 = 38, N0 = 39, Return = 40, Escape = 41, Backspace = 42, Tab = 43,
              Space = 44, Minus = 45, F1 = 58, F12 = 69, Insert = 73, Home = 74, PageUp = 75, Delete = 76,
              End = 77, PageDown = 78, Right = 79, Left = 80, Down = 81, Up = 82, KpDivide = 84,
              KpMultiply = 85, KpMinus = 86, KpPlus = 87, KpEnter = 88, Kp1 = 89, Kp5 = 93, Kp7 = 95,
              Kp9 = 97, Kp0 = 98, KpPeriod = 99, LCtrl = 224, LShift = 225, LAlt = 226, RCtrl = 228,
              RShift = 229, RAlt = 230, Mute = 127;
constexpr int32_t K(int scancode) { return scancode | (1 << 30); }
}  // namespace sc

TEST(SdlKeys, MapToWin32VirtualKeys) {
  using display::VirtualKeyFromSdl;
  // Letters and digits by the layout's character.
  EXPECT_EQ(VirtualKeyFromSdl('a', sc::A, false), 'A');
  EXPECT_EQ(VirtualKeyFromSdl('z', sc::Z, false), 'Z');
  EXPECT_EQ(VirtualKeyFromSdl('q', sc::A, false), 'Q');  // the A position on a French keyboard
  EXPECT_EQ(VirtualKeyFromSdl('0', sc::N0, false), '0');
  EXPECT_EQ(VirtualKeyFromSdl('7', sc::N1 + 6, false), '7');
  // Characters outside ASCII fall back to the key position.
  EXPECT_EQ(VirtualKeyFromSdl(0x0444, sc::A, false), 'A');  // Cyrillic ef on the A key
  EXPECT_EQ(VirtualKeyFromSdl('&', sc::N1, false), '1');    // French top row
  EXPECT_EQ(VirtualKeyFromSdl(0xE9, sc::N1 + 1, false), '2');
  EXPECT_EQ(VirtualKeyFromSdl(0, sc::N9, false), '9');

  struct Case {
    int32_t keycode;
    int scancode;
    int vk;
  };
  const Case cases[] = {
      {sc::K(sc::F1), sc::F1, VK_F1},
      {sc::K(sc::F1 + 3), sc::F1 + 3, VK_F4},
      {sc::K(sc::F1 + 9), sc::F1 + 9, VK_F10},
      {sc::K(sc::F12), sc::F12, VK_F12},
      {sc::K(sc::Left), sc::Left, VK_LEFT},
      {sc::K(sc::Right), sc::Right, VK_RIGHT},
      {sc::K(sc::Up), sc::Up, VK_UP},
      {sc::K(sc::Down), sc::Down, VK_DOWN},
      {sc::K(sc::Home), sc::Home, VK_HOME},
      {sc::K(sc::End), sc::End, VK_END},
      {sc::K(sc::PageUp), sc::PageUp, VK_PRIOR},
      {sc::K(sc::PageDown), sc::PageDown, VK_NEXT},
      {sc::K(sc::Insert), sc::Insert, VK_INSERT},
      {0x7F, sc::Delete, VK_DELETE},
      {'\r', sc::Return, VK_RETURN},
      {0x1B, sc::Escape, VK_ESCAPE},
      {'\t', sc::Tab, VK_TAB},
      {'\b', sc::Backspace, VK_BACK},
      {' ', sc::Space, VK_SPACE},
      {'-', sc::Minus, 0xBD},
      {sc::K(sc::LShift), sc::LShift, VK_SHIFT},
      {sc::K(sc::RShift), sc::RShift, VK_SHIFT},
      {sc::K(sc::LCtrl), sc::LCtrl, VK_CONTROL},
      {sc::K(sc::RCtrl), sc::RCtrl, VK_CONTROL},
      {sc::K(sc::LAlt), sc::LAlt, VK_MENU},
      {sc::K(sc::RAlt), sc::RAlt, VK_MENU},
      {sc::K(sc::KpDivide), sc::KpDivide, VK_DIVIDE},
      {sc::K(sc::KpMultiply), sc::KpMultiply, VK_MULTIPLY},
      {sc::K(sc::KpMinus), sc::KpMinus, VK_SUBTRACT},
      {sc::K(sc::KpPlus), sc::KpPlus, VK_ADD},
      {sc::K(sc::KpEnter), sc::KpEnter, VK_RETURN},
      {sc::K(sc::Mute), sc::Mute, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromSdl(c.keycode, c.scancode, false), c.vk) << c.scancode;

  // The numeric keypad: digits with NumLock on, cursor keys with it off.
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::Kp0), sc::Kp0, true), VK_NUMPAD0);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::Kp1), sc::Kp1, true), VK_NUMPAD0 + 1);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::Kp9), sc::Kp9, true), VK_NUMPAD0 + 9);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::KpPeriod), sc::KpPeriod, true), VK_DECIMAL);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::Kp0), sc::Kp0, false), VK_INSERT);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::Kp1), sc::Kp1, false), VK_END);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::Kp5), sc::Kp5, false), VK_CLEAR);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::Kp7), sc::Kp7, false), VK_HOME);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::Kp9), sc::Kp9, false), VK_PRIOR);
  EXPECT_EQ(VirtualKeyFromSdl(sc::K(sc::KpPeriod), sc::KpPeriod, false), VK_DELETE);
  // Some drivers report keypad digits with digit keycodes; the keypad still wins.
  EXPECT_EQ(VirtualKeyFromSdl('5', sc::Kp5, true), VK_NUMPAD0 + 5);
}

TEST(SdlPlacement, IntegerScaleWhenTwiceTheRoomOtherwiseCentred) {
  using display::FitViewport;
  auto v = FitViewport(1024, 768, 1024, 768);
  EXPECT_EQ(v.scale, 1);
  EXPECT_EQ(v.x, 0);
  EXPECT_EQ(v.y, 0);
  v = FitViewport(2048, 1536, 1024, 768);
  EXPECT_EQ(v.scale, 2);
  EXPECT_EQ(v.x, 0);
  v = FitViewport(2100, 1600, 1024, 768);  // letterboxed at 2x
  EXPECT_EQ(v.scale, 2);
  EXPECT_EQ(v.x, 26);
  EXPECT_EQ(v.y, 32);
  v = FitViewport(3500, 1600, 1024, 768);  // the tighter dimension decides
  EXPECT_EQ(v.scale, 2);
  v = FitViewport(2047, 2000, 1024, 768);  // not quite twice: scale 1, centred
  EXPECT_EQ(v.scale, 1);
  EXPECT_EQ(v.x, 511);
  EXPECT_EQ(v.y, 616);
  v = FitViewport(800, 600, 1024, 768);  // smaller: centred and cropped
  EXPECT_EQ(v.scale, 1);
  EXPECT_EQ(v.x, -112);
  EXPECT_EQ(v.y, -84);
  v = FitViewport(3 * 320, 3 * 200, 320, 200);
  EXPECT_EQ(v.scale, 3);
  v = FitViewport(0, 0, 0, 0);  // nothing to place: harmless
  EXPECT_EQ(v.scale, 1);
}

TEST(SdlPlacement, PointerMapsThroughScaleAndOffset) {
  display::Viewport v;
  v.scale = 3;
  v.x = 10;
  v.y = 20;
  EXPECT_EQ(display::AreaToScreen(v, 10, 20), (POINT{0, 0}));
  EXPECT_EQ(display::AreaToScreen(v, 12, 22), (POINT{0, 0}));
  EXPECT_EQ(display::AreaToScreen(v, 13, 23), (POINT{1, 1}));
  EXPECT_EQ(display::AreaToScreen(v, 9, 19), (POINT{-1, -1}));  // in the border, not on pixel 0
  EXPECT_EQ(display::AreaToScreen(v, 0, 0), (POINT{-4, -7}));
  // Round trip through the centre of every pixel in a stretch.
  for (int x = -5; x < 40; ++x) {
    const POINT a = display::ScreenToArea(v, x, x * 2);
    EXPECT_EQ(display::AreaToScreen(v, a.x, a.y), (POINT{x, x * 2}));
  }
  display::Viewport cropped;
  cropped.x = -112;
  cropped.y = -84;
  EXPECT_EQ(display::AreaToScreen(cropped, 0, 0), (POINT{112, 84}));
}

// Opens a real window when there is a display to open it on; skipped otherwise.
TEST(SdlDisplay, OpensPresentsAndCloses) {
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  if ((x == nullptr || *x == '\0') && (w == nullptr || *w == '\0')) GTEST_SKIP() << "no display";
  std::string why;
  if (!display::SdlVideoAvailable(&why)) GTEST_SKIP() << "SDL video unavailable: " << why;

  auto backend = display::CreateSdl();
  backend->SetTitle("Showrama display test");
  std::string error;
  ASSERT_TRUE(backend->Open(320, 200, &error)) << error;
  EXPECT_FALSE(backend->Open(320, 200, &error));  // refused, and the open window stays usable
  auto second = display::CreateSdl();
  EXPECT_FALSE(second->Open(320, 200, &error));
  EXPECT_FALSE(error.empty());

  std::vector<gdi::Pixel> bits(320 * 200, 0x3A6EA5);
  gdi::Surface screen{bits.data(), 320, 200, 320, false};
  backend->Present(screen, {RECT{0, 0, 320, 200}});
  backend->Present(screen, {RECT{10, 10, 20, 20}, RECT{300, 190, 400, 400}, RECT{-10, -10, 5, 5}});

  display::CursorImage arrow{2, 2, 0, 0, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0x00000000}};
  backend->SetCursor(&arrow);
  display::CursorImage broken{4, 4, 0, 0, {0xFF000000}};  // too few pixels: ignored
  backend->SetCursor(&broken);
  backend->SetCursor(nullptr);
  backend->WarpPointer(100, 100);

  // Drain what the window manager sent on mapping, then a wake from another thread ends the wait.
  display::Event out;
  const auto drain_start = Clock::now();
  while (backend->WaitEvent(out, 50) && MillisSince(drain_start) < 3000) {
  }
  std::thread waker([&] {
    std::this_thread::sleep_for(30ms);
    backend->Wake();
  });
  const auto start = Clock::now();
  bool woken = false;
  while (MillisSince(start) < 5000) {
    if (!backend->WaitEvent(out, -1)) {
      woken = true;
      break;
    }
  }
  waker.join();
  EXPECT_TRUE(woken);
  EXPECT_LT(MillisSince(start), 3000);
  // A timeout with nothing happening comes back false.
  while (backend->WaitEvent(out, 20)) {
  }
  backend.reset();
  // With the first window gone a new one may open.
  EXPECT_TRUE(second->Open(320, 200, &error)) << error;
}
