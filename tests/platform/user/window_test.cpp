// The window manager on the headless desktop: procedures and subclassing, the message loop
// and timers, painting and composition, geometry, activation, focus, capture, input, drops.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/kernel/clock.h"
#include "platform/user/desktop.h"
#include "platform/win32.h"
#include "support/testdata.h"

namespace {

// Records the messages a window's procedure sees.
struct Recorder {
  std::vector<UINT> messages;
  bool has(UINT m) const { return std::find(messages.begin(), messages.end(), m) != messages.end(); }
  size_t count(UINT m) const { return static_cast<size_t>(std::count(messages.begin(), messages.end(), m)); }
};

class Desktop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(desktop::OpenHeadless(640, 480)); }

  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEX wc{};
      wc.cbSize = sizeof wc;
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); };
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
      wc.lpszClassName = "TestWindow";
      ASSERT_NE(RegisterClassEx(&wc), 0);
      registered = true;
    }
  }

  void TearDown() override {
    DestroyAll();
    kernel::UseVirtualClock(false);
  }

  // Tests whose window procedures capture their own locals end with this, while the locals live.
  void DestroyAll() {
    for (HWND h : made_)
      if (IsWindow(h)) DestroyWindow(h);
    made_.clear();
    desktop::Pump();
  }

  HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, DWORD ex = 0) {
    HWND hwnd = CreateWindowEx(ex, "TestWindow", "Test", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
    made_.push_back(hwnd);
    return hwnd;
  }

  // Replaces the window procedure with one that records and, for WM_PAINT, fills the client
  // area with a colour; returns the previous procedure.
  static WNDPROC Paint(HWND hwnd, COLORREF colour, Recorder* rec = nullptr) {
    auto old = std::make_shared<WNDPROC>();
    *old = SetWindowProc(hwnd, [colour, rec, old](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (rec) rec->messages.push_back(m);
      if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc;
        GetClientRect(h, &rc);
        HBRUSH b = CreateSolidBrush(colour);
        FillRect(dc, &rc, b);
        DeleteObject(b);
        EndPaint(h, &ps);
        return 0;
      }
      return CallWindowProc(*old, h, m, w, l);
    });
    return *old;
  }

  static COLORREF ScreenPixel(int x, int y) {
    const gdi::Surface& s = gdi::ScreenSurface();
    return gdi::ToColorRef(s.Row(y)[x] & gdi::kPixelMask);
  }

  std::vector<HWND> made_;
};

TEST_F(Desktop, SubclassChainsSeeMessagesNewestFirstAndUnhookInReverse) {
  HWND hwnd = Make(WS_OVERLAPPEDWINDOW, 10, 10, 200, 150);
  std::vector<std::string> order;
  auto hook = [&](const char* name, WNDPROC next) {
    return [&order, name, next](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_USER) order.push_back(name);
      return CallWindowProc(next, h, m, w, l);
    };
  };
  WNDPROC base = GetWindowProc(hwnd);
  WNDPROC after_a = hook("A", base);
  WNDPROC old_a = SetWindowProc(hwnd, after_a);
  WNDPROC after_b = hook("B", GetWindowProc(hwnd));
  WNDPROC old_b = SetWindowProc(hwnd, after_b);
  SendMessage(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(order, (std::vector<std::string>{"B", "A"}));
  SetWindowProc(hwnd, old_b);  // B unhooks first, then A
  order.clear();
  SendMessage(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(order, (std::vector<std::string>{"A"}));
  SetWindowProc(hwnd, old_a);
  order.clear();
  SendMessage(hwnd, WM_USER, 0, 0);
  EXPECT_TRUE(order.empty());
  // Text goes through messages, so a hook can answer for it.
  SetWindowProc(hwnd, [base](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_GETTEXTLENGTH) return 7;
    return CallWindowProc(base, h, m, w, l);
  });
  EXPECT_EQ(GetWindowTextLength(hwnd), 7);
  DestroyAll();
}

TEST_F(Desktop, CreationAndDestructionSendTheirMessagesInOrder) {
  Recorder parent_rec, child_rec;
  std::vector<std::string> seen;
  HWND parent = Make(WS_OVERLAPPEDWINDOW, 0, 0, 200, 200);
  HWND child = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent);
  SetWindowProc(parent, [&, base = GetWindowProc(parent)](HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) seen.push_back("parent destroy");
    if (m == WM_NCDESTROY) seen.push_back("parent ncdestroy");
    return CallWindowProc(base, h, m, w, l);
  });
  SetWindowProc(child, [&, base = GetWindowProc(child)](HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) seen.push_back("child destroy");
    if (m == WM_NCDESTROY) seen.push_back("child ncdestroy");
    return CallWindowProc(base, h, m, w, l);
  });
  EXPECT_TRUE(DestroyWindow(parent));
  EXPECT_EQ(seen, (std::vector<std::string>{"parent destroy", "child destroy", "child ncdestroy", "parent ncdestroy"}));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(Desktop, PostedMessagesComeBeforePaintAndPaintBeforeTimers) {
  kernel::UseVirtualClock(true);
  HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
  desktop::Pump();
  InvalidateRect(hwnd, nullptr, TRUE);
  SetTimer(hwnd, 1, 10, nullptr);
  kernel::AdvanceClock(20);
  PostMessage(hwnd, WM_USER + 1, 0, 0);
  MSG msg;
  std::vector<UINT> order;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE) && order.size() < 3) {
    order.push_back(msg.message);
    DispatchMessage(&msg);
  }
  ASSERT_GE(order.size(), 3u);
  EXPECT_EQ(order[0], WM_USER + 1);
  EXPECT_EQ(order[1], WM_PAINT);
  EXPECT_EQ(order[2], WM_TIMER);
  KillTimer(hwnd, 1);
}

TEST_F(Desktop, TimersKeepTheirPhaseAndNeverPileUp) {
  kernel::UseVirtualClock(true);
  HWND hwnd = Make(WS_OVERLAPPEDWINDOW, 10, 10, 100, 100);
  int ticks = 0;
  SetTimer(hwnd, 7, 100, [&](HWND, UINT, UINT_PTR id, DWORD) { ticks += id == 7; });
  MSG msg;
  // Late by 350 ms: one tick, not three.
  kernel::AdvanceClock(350);
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(ticks, 1);
  // The next tick keeps the original phase (due at 400, not at 450).
  kernel::AdvanceClock(49);
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(ticks, 1);
  kernel::AdvanceClock(1);
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(ticks, 2);
  // 10 seconds of ticks through GetMessage: the virtual clock jumps, exactly 100 more.
  const DWORD start = GetTickCount();
  while (ticks < 102 && GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
  EXPECT_EQ(GetTickCount() - start, 10000u);
  EXPECT_TRUE(KillTimer(hwnd, 7));
  EXPECT_FALSE(KillTimer(hwnd, 7));
  DestroyAll();
}

TEST_F(Desktop, PostMessageFromAnotherThreadWakesABlockedLoop) {
  HWND hwnd = Make(WS_OVERLAPPEDWINDOW, 10, 10, 100, 100);
  desktop::Pump();
  std::thread poster([hwnd] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    PostMessage(hwnd, WM_USER + 5, 42, 0);
  });
  MSG msg;
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
  const auto waited = std::chrono::steady_clock::now() - t0;
  poster.join();
  EXPECT_EQ(msg.message, WM_USER + 5u);
  EXPECT_EQ(msg.wParam, 42u);
  EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST_F(Desktop, AnIdleLoopUsesNoProcessorTime) {
  desktop::Pump();
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  std::thread poster([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    PostQuitMessage(0);
  });
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
  poster.join();
  getrusage(RUSAGE_SELF, &after);
  const double used = (after.ru_utime.tv_sec - before.ru_utime.tv_sec) + (after.ru_stime.tv_sec - before.ru_stime.tv_sec) +
                      (after.ru_utime.tv_usec - before.ru_utime.tv_usec) / 1e6 +
                      (after.ru_stime.tv_usec - before.ru_stime.tv_usec) / 1e6;
  EXPECT_LT(used, 0.1) << "a 300 ms idle wait used " << used << " s of processor time";
}

TEST_F(Desktop, TheTopWindowWinsTheOverlapAndRaisingRepaints) {
  HWND back = Make(WS_POPUP | WS_VISIBLE, 50, 50, 100, 100);
  HWND front = Make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
  Paint(back, RGB(255, 0, 0));
  Paint(front, RGB(0, 0, 255));
  InvalidateRect(nullptr, nullptr, TRUE);
  desktop::Pump();
  EXPECT_EQ(ScreenPixel(60, 60), RGB(255, 0, 0));
  EXPECT_EQ(ScreenPixel(120, 120), RGB(0, 0, 255));  // the overlap
  EXPECT_EQ(ScreenPixel(300, 300), GetSysColor(COLOR_BACKGROUND));
  SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  desktop::Pump();
  EXPECT_EQ(ScreenPixel(120, 120), RGB(255, 0, 0));
  // Moving a window away uncovers the desktop under it.
  MoveWindow(front, 400, 300, 100, 100, TRUE);
  desktop::Pump();
  EXPECT_EQ(ScreenPixel(180, 180), GetSysColor(COLOR_BACKGROUND));
  EXPECT_EQ(ScreenPixel(420, 320), RGB(0, 0, 255));
}

TEST_F(Desktop, InvalidationGivesThePaintRectangleAndValidationTakesItAway) {
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE, 10, 10, 100, 80);
  desktop::Pump();
  RECT painted{};
  int paints = 0;
  SetWindowProc(hwnd, [&, base = GetWindowProc(hwnd)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_PAINT) {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      painted = ps.rcPaint;
      ++paints;
      EndPaint(h, &ps);
      return 0;
    }
    return CallWindowProc(base, h, m, w, l);
  });
  RECT part{5, 6, 20, 30};
  InvalidateRect(hwnd, &part, FALSE);
  desktop::Pump();
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(painted, part);
  InvalidateRect(hwnd, &part, FALSE);
  ValidateRect(hwnd, nullptr);
  desktop::Pump();
  EXPECT_EQ(paints, 1);
  // A child without WS_CLIPCHILDREN on its parent is invalidated with it.
  HWND child = Make(WS_CHILD | WS_VISIBLE, 0, 0, 30, 30, hwnd);
  Recorder rec;
  Paint(child, RGB(0, 255, 0), &rec);
  desktop::Pump();
  rec.messages.clear();
  InvalidateRect(hwnd, nullptr, TRUE);
  desktop::Pump();
  EXPECT_TRUE(rec.has(WM_PAINT));
  DestroyAll();
}

TEST_F(Desktop, ClicksActivateFocusAndReachTheClientInClientCoordinates) {
  HWND a = Make(WS_POPUP | WS_VISIBLE, 20, 20, 100, 100);
  HWND b = Make(WS_POPUP | WS_VISIBLE, 200, 20, 100, 100);
  desktop::Pump();
  POINT got{-1, -1};
  Recorder rec;
  SetWindowProc(a, [&, base = GetWindowProc(a)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    rec.messages.push_back(m);
    if (m == WM_LBUTTONDOWN) got = POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    return CallWindowProc(base, h, m, w, l);
  });
  SetActiveWindow(b);
  desktop::Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  desktop::Click(25, 27);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), a);
  EXPECT_EQ(got, (POINT{5, 7}));
  EXPECT_TRUE(rec.has(WM_MOUSEACTIVATE));
  EXPECT_TRUE(rec.has(WM_ACTIVATE));
  EXPECT_TRUE(rec.has(WM_SETFOCUS));
  // A disabled window gets no input.
  EnableWindow(b, FALSE);
  desktop::Click(210, 30);
  EXPECT_EQ(GetActiveWindow(), a);
  DestroyAll();
}

TEST_F(Desktop, CaptureKeepsThePointerAndDoubleClicksNeedTheClassStyle) {
  HWND a = Make(WS_POPUP | WS_VISIBLE, 20, 20, 100, 100);
  desktop::Pump();
  Recorder rec;
  POINT last{};
  SetWindowProc(a, [&, base = GetWindowProc(a)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    rec.messages.push_back(m);
    if (m == WM_MOUSEMOVE) last = POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    return CallWindowProc(base, h, m, w, l);
  });
  SetCapture(a);
  desktop::MoveMouse(500, 400);
  desktop::Pump();
  EXPECT_EQ(last, (POINT{480, 380}));
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  desktop::Click(30, 30);
  desktop::Click(30, 30);
  EXPECT_EQ(rec.count(WM_LBUTTONDBLCLK), 1u);
  DestroyAll();
}

TEST_F(Desktop, TheCursorClipHoldsEveryPointerMove) {
  RECT fence{100, 100, 200, 150};
  ASSERT_TRUE(ClipCursor(&fence));
  desktop::MoveMouse(10, 10);
  desktop::Pump();
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p, (POINT{100, 100}));
  SetCursorPos(500, 500);
  GetCursorPos(&p);
  EXPECT_EQ(p, (POINT{199, 149}));
  ClipCursor(nullptr);
  desktop::MoveMouse(10, 10);
  desktop::Pump();
  GetCursorPos(&p);
  EXPECT_EQ(p, (POINT{10, 10}));
}

TEST_F(Desktop, DroppedFilesArriveWithCountsNamesAndThePoint) {
  HWND outer = Make(WS_POPUP | WS_VISIBLE, 50, 50, 200, 200);
  HWND inner = Make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, outer);
  DragAcceptFiles(outer, TRUE);
  desktop::Pump();
  HDROP got = nullptr;
  SetWindowProc(outer, [&, base = GetWindowProc(outer)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_DROPFILES) {
      got = reinterpret_cast<HDROP>(w);
      return 0;
    }
    return CallWindowProc(base, h, m, w, l);
  });
  // Dropped on the child, which does not accept files: the parent that does gets them.
  desktop::DropFiles(70, 75, {"/tmp/one.wav", "/tmp/two.bmp"});
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(DragQueryFile(got, 0xFFFFFFFF, nullptr, 0), 2u);
  EXPECT_EQ(DragQueryFile(got, 1, nullptr, 0), 12u);
  char buf[8];
  EXPECT_EQ(DragQueryFile(got, 0, buf, sizeof buf), 7u);  // truncated to the buffer
  EXPECT_STREQ(buf, "/tmp/on");
  POINT pt;
  EXPECT_TRUE(DragQueryPoint(got, &pt));
  EXPECT_EQ(pt, (POINT{20, 25}));
  DragFinish(got);
  EXPECT_EQ(DragQueryFile(got, 0xFFFFFFFF, nullptr, 0), 0u);  // finished: refused, not read
  (void)inner;
  DestroyAll();
}

TEST_F(Desktop, DraggingTheCaptionMovesTheWindowAndTheCloseButtonCloses) {
  HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 150);
  desktop::Pump();
  // Press on the caption, move by (30, 20), release: the move loop runs inside DefWindowProc.
  desktop::MoveMouse(200, 110);
  desktop::MouseDown(200, 110);
  desktop::MoveMouse(230, 130);
  desktop::MouseUp(230, 130);
  desktop::Pump();
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, 130);
  EXPECT_EQ(r.top, 120);
  // The close button (x [W-22, W-6), y [6, 20) of the window) closes it.
  desktop::Click(r.right - 14, r.top + 12);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(Desktop, KeysAndTextGoToTheFocusAndAltF4Closes) {
  HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 150);
  desktop::Pump();
  SetFocus(hwnd);
  std::vector<std::pair<UINT, WPARAM>> got;
  SetWindowProc(hwnd, [&, base = GetWindowProc(hwnd)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR || m == WM_SYSKEYDOWN) got.emplace_back(m, w);
    return CallWindowProc(base, h, m, w, l);
  });
  desktop::PressKey('A');
  desktop::TypeText("a\xC3\xA9");  // 'a' and U+00E9
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got[0], (std::pair<UINT, WPARAM>{WM_KEYDOWN, 'A'}));
  EXPECT_EQ(got[1], (std::pair<UINT, WPARAM>{WM_KEYUP, 'A'}));
  EXPECT_EQ(got[2], (std::pair<UINT, WPARAM>{WM_CHAR, 'a'}));
  EXPECT_EQ(got[3], (std::pair<UINT, WPARAM>{WM_CHAR, 0xE9}));
  EXPECT_FALSE(GetKeyState('A') & 0x8000);
  // Alt held, F4 pressed: the window is asked to close.
  display::Event alt;
  alt.kind = display::EventKind::KeyDown;
  alt.vk = VK_MENU;
  desktop::Inject(alt);
  desktop::PressKey(VK_F4);
  alt.kind = display::EventKind::KeyUp;
  desktop::Inject(alt);
  desktop::Pump();
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(Desktop, SizingByTheBorderStopsAtTheMinimumTrackSize) {
  HWND hwnd = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  SetWindowProc(hwnd, [base = GetWindowProc(hwnd)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_GETMINMAXINFO) reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = POINT{250, 180};
    return CallWindowProc(base, h, m, w, l);
  });
  desktop::Pump();
  // Drag the bottom-right corner up and left, well past the minimum.
  desktop::MoveMouse(398, 298);
  desktop::MouseDown(398, 298);
  desktop::MoveMouse(300, 200);
  desktop::MouseUp(300, 200);
  desktop::Pump();
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 250);
  EXPECT_EQ(r.bottom - r.top, 180);
  EXPECT_EQ(r.left, 100);  // the opposite corner holds
  // A double click on the caption maximises; another restores the same rectangle.
  desktop::Click(200, 110);
  desktop::Click(200, 110);
  EXPECT_TRUE(IsZoomed(hwnd));
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, -GetSystemMetrics(SM_CXFRAME));
  desktop::Click(200, 10);
  desktop::Click(200, 10);
  EXPECT_FALSE(IsZoomed(hwnd));
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r, (RECT{100, 100, 350, 280}));
}

TEST_F(Desktop, TheCaretInvertsItsCellWhileShownAndRestoresItWhenHidden) {
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
  Paint(hwnd, RGB(255, 255, 255));
  desktop::Pump();
  ASSERT_TRUE(CreateCaret(hwnd, nullptr, 2, 10));
  SetCaretPos(10, 10);
  EXPECT_EQ(ScreenPixel(110, 110), RGB(255, 255, 255));  // created hidden
  ShowCaret(hwnd);
  EXPECT_EQ(ScreenPixel(110, 110), RGB(0, 0, 0));
  EXPECT_EQ(ScreenPixel(112, 110), RGB(255, 255, 255));
  HideCaret(hwnd);
  EXPECT_EQ(ScreenPixel(110, 110), RGB(255, 255, 255));
  DestroyCaret();
}

TEST_F(Desktop, TheHostWindowsFocusReachesCaptionsAndBroadcastsReachEveryWindow) {
  HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 150);
  HWND b = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 40, 200, 150);
  desktop::Pump();
  SetActiveWindow(a);
  int app_messages = 0, colour_changes = 0;
  for (HWND h : {a, b})
    SetWindowProc(h, [&, base = GetWindowProc(h)](HWND w, UINT m, WPARAM wp, LPARAM l) -> LRESULT {
      if (m == WM_ACTIVATEAPP) ++app_messages;
      if (m == WM_SYSCOLORCHANGE) ++colour_changes;
      return CallWindowProc(base, w, m, wp, l);
    });
  const COLORREF active_caption = GetSysColor(COLOR_ACTIVECAPTION);
  RECT r;
  GetWindowRect(a, &r);
  EXPECT_EQ(ScreenPixel(r.left + 60, r.top + 8), active_caption);
  display::Event lost;
  lost.kind = display::EventKind::FocusLost;
  desktop::Inject(lost);
  desktop::Pump();
  EXPECT_EQ(app_messages, 2);
  EXPECT_EQ(ScreenPixel(r.left + 60, r.top + 8), GetSysColor(COLOR_INACTIVECAPTION));
  EXPECT_EQ(GetActiveWindow(), a);  // still the program's active window
  desktop::Broadcast(WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(colour_changes, 2);
  DestroyAll();
}

TEST_F(Desktop, ScreenshotForPeople) {
  HWND one = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200);
  SetWindowText(one, "Showrama platform");
  HWND two = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 220, 160, 260, 180, nullptr,
                  WS_EX_DLGMODALFRAME);
  SetWindowText(two, "A dialog frame");
  HWND child = Make(WS_CHILD | WS_VISIBLE, 20, 20, 120, 60, one);
  Paint(child, RGB(255, 255, 128));
  desktop::Pump();
  desktop::SaveScreen((testsupport::OutputDir() / "desktop.png").string());
  EXPECT_EQ(GetActiveWindow(), two);
}

}  // namespace

namespace {

class Subclasses : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEX wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); };
      wc.lpszClassName = "SubclassTest";
      RegisterClassEx(&wc);
      registered = true;
    }
    hwnd_ = CreateWindowEx(0, "SubclassTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(hwnd_); }

  SUBCLASSPROC Hook(const char* name) {
    return [this, name](HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
      if (m == WM_USER) order_.push_back(name);
      return DefSubclassProc(h, m, w, l);
    };
  }
  std::vector<std::string> Send() {
    order_.clear();
    SendMessage(hwnd_, WM_USER, 0, 0);
    return order_;
  }

  HWND hwnd_ = nullptr;
  std::vector<std::string> order_;
};

TEST_F(Subclasses, LeaveInAnyOrderAndTheChainStaysWhole) {
  using V = std::vector<std::string>;
  SetWindowSubclass(hwnd_, Hook("A"), 1, 0);
  SetWindowSubclass(hwnd_, Hook("B"), 2, 0);
  SetWindowSubclass(hwnd_, Hook("C"), 3, 0);
  EXPECT_EQ(Send(), (V{"C", "B", "A"}));
  EXPECT_TRUE(RemoveWindowSubclass(hwnd_, 2));  // from the middle
  EXPECT_EQ(Send(), (V{"C", "A"}));
  EXPECT_TRUE(RemoveWindowSubclass(hwnd_, 1));  // the first one hooked
  EXPECT_EQ(Send(), (V{"C"}));
  EXPECT_FALSE(RemoveWindowSubclass(hwnd_, 1));
  EXPECT_TRUE(RemoveWindowSubclass(hwnd_, 3));
  EXPECT_EQ(Send(), V{});
  EXPECT_EQ(SendMessage(hwnd_, WM_GETTEXTLENGTH, 0, 0), 0);  // the window's own procedure answers
}

TEST_F(Subclasses, ASubclassMayRemoveItselfWhileItRuns) {
  using V = std::vector<std::string>;
  SetWindowSubclass(hwnd_, Hook("A"), 1, 0);
  SetWindowSubclass(
      hwnd_,
      [this](HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR) -> LRESULT {
        if (m == WM_USER) {
          order_.push_back("once");
          RemoveWindowSubclass(h, id);
        }
        return DefSubclassProc(h, m, w, l);
      },
      2, 0);
  EXPECT_EQ(Send(), (V{"once", "A"}));
  EXPECT_EQ(Send(), (V{"A"}));
}

}  // namespace
