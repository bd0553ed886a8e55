// Scroll bars on the headless desktop: the SetScrollInfo rules, the frame they take from the
// client area, hit tests, what clicks, holds and drags send, the control class, ScrollWindow,
// and the classic look.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/kernel/clock.h"
#include "platform/user/desktop.h"
#include "platform/win32.h"
#include "support/testdata.h"

namespace {

struct Note {
  UINT msg;
  WORD code;
  int pos;
  LPARAM from;
  bool operator==(const Note& o) const { return msg == o.msg && code == o.code && pos == o.pos && from == o.from; }
  friend void PrintTo(const Note& n, std::ostream* os) {
    *os << (n.msg == WM_VSCROLL ? "V" : "H") << "(" << n.code << "," << n.pos << "," << n.from << ")";
  }
};

class ScrollBars : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(desktop::OpenHeadless(640, 480)); }

  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEX wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); };
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
      wc.lpszClassName = "ScrollTestWindow";
      ASSERT_NE(RegisterClassEx(&wc), 0);
      registered = true;
    }
    kernel::UseVirtualClock(true);
  }

  void TearDown() override {
    for (HWND h : made_)
      if (IsWindow(h)) DestroyWindow(h);
    made_.clear();
    desktop::Pump();
    kernel::UseVirtualClock(false);
  }

  HWND Make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, const char* cls = "ScrollTestWindow") {
    HWND hwnd = CreateWindowEx(0, cls, "Scroll", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
    made_.push_back(hwnd);
    return hwnd;
  }

  // Records WM_HSCROLL / WM_VSCROLL; `also` runs for each of them after it is recorded.
  void Record(HWND hwnd, std::function<void(HWND, const Note&)> also = nullptr) {
    SetWindowProc(hwnd, [this, also, base = GetWindowProc(hwnd)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_HSCROLL || m == WM_VSCROLL) {
        const Note n{m, LOWORD(w), static_cast<short>(HIWORD(w)), l};
        notes_.push_back(n);
        if (also) also(h, n);
        return 0;
      }
      return CallWindowProc(base, h, m, w, l);
    });
  }

  long Count(WORD code) const {
    return std::count_if(notes_.begin(), notes_.end(), [code](const Note& n) { return n.code == code; });
  }

  std::vector<WORD> Codes() const {
    std::vector<WORD> out;
    for (const Note& n : notes_) out.push_back(n.code);
    return out;
  }

  static SCROLLINFO Info(UINT mask, int min = 0, int max = 0, UINT page = 0, int pos = 0) {
    return SCROLLINFO{sizeof(SCROLLINFO), mask, min, max, page, pos, 0};
  }

  static SCROLLINFO Get(HWND hwnd, int bar) {
    SCROLLINFO si = Info(SIF_ALL);
    EXPECT_TRUE(GetScrollInfo(hwnd, bar, &si));
    return si;
  }

  static COLORREF ScreenPixel(int x, int y) {
    const gdi::Surface& s = gdi::ScreenSurface();
    return gdi::ToColorRef(s.Row(y)[x] & gdi::kPixelMask);
  }

  // Holds the left button at a point for `ms` of virtual time, then lets go.
  static void Hold(int x, int y, uint64_t ms) {
    SetTimer(nullptr, 0, static_cast<UINT>(ms), [x, y](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      desktop::MouseUp(x, y);
    });
    desktop::MoveMouse(x, y);
    desktop::MouseDown(x, y);
    desktop::Pump();
  }

  std::vector<HWND> made_;
  std::vector<Note> notes_;
};

const COLORREF kLight = GetSysColor(COLOR_3DLIGHT);
constexpr COLORREF kFace = RGB(192, 192, 192), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0),
                   kShadow = RGB(128, 128, 128);

TEST_F(ScrollBars, SetScrollInfoClampsPageAndPositionAndReturnsThePosition) {
  HWND hwnd = Make(WS_POPUP | WS_VSCROLL, 10, 10, 200, 200);
  // A standard bar starts at 0..100; a control's range is empty.
  SCROLLINFO si = Get(hwnd, SB_VERT);
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 100);
  EXPECT_EQ(si.nPage, 0u);
  struct Row {
    SCROLLINFO in;
    int result, min, max;
    UINT page;
  };
  const Row table[] = {
      {Info(SIF_ALL, 0, 100, 10, 95), 91, 0, 100, 10},         // the last page must fit: 100 - (10 - 1)
      {Info(SIF_POS, 0, 0, 0, -5), 0, 0, 100, 10},             // below the minimum
      {Info(SIF_POS, 0, 0, 0, 91), 91, 0, 100, 10},
      {Info(SIF_PAGE, 0, 0, 1, 0), 91, 0, 100, 1},             // a page of 1 lets the position reach max
      {Info(SIF_POS, 0, 0, 0, 500), 100, 0, 100, 1},
      {Info(SIF_RANGE, -50, 50, 0, 0), 50, -50, 50, 1},        // a new range takes the position with it
      {Info(SIF_RANGE, 10, 5, 0, 0), 50, -50, 50, 1},          // reversed range: ignored
      {Info(SIF_PAGE | SIF_POS, 0, 0, 0, -60), -50, -50, 50, 0},
  };
  for (const Row& row : table) {
    EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, &row.in, TRUE), row.result) << row.in.fMask << " " << row.in.nPos;
    si = Get(hwnd, SB_VERT);
    EXPECT_EQ(si.nPos, row.result);
    EXPECT_EQ(si.nMin, row.min);
    EXPECT_EQ(si.nMax, row.max);
    EXPECT_EQ(si.nPage, row.page);
    EXPECT_EQ(si.nTrackPos, si.nPos);  // not dragging: the tracked position is the position
  }
  // A page larger than the range is cut to the range's size.
  SCROLLINFO big = Info(SIF_PAGE | SIF_DISABLENOSCROLL, 0, 0, 1000);
  SetScrollInfo(hwnd, SB_VERT, &big, FALSE);
  EXPECT_EQ(Get(hwnd, SB_VERT).nPage, 101u);
  EXPECT_TRUE(GetWindowLong(hwnd, GWL_STYLE) & WS_VSCROLL);  // disabled, not removed
  EXPECT_FALSE(EnableScrollBar(hwnd, SB_VERT, ESB_DISABLE_BOTH));  // already so
  // SetScrollPos answers the old position; SetScrollRange refuses a reversed range.
  SCROLLINFO fit = Info(SIF_ALL, 0, 100, 0, 30);
  SetScrollInfo(hwnd, SB_VERT, &fit, FALSE);
  EXPECT_TRUE(EnableScrollBar(hwnd, SB_VERT, ESB_DISABLE_BOTH));  // a scrollable range enabled it again
  EXPECT_TRUE(EnableScrollBar(hwnd, SB_VERT, ESB_ENABLE_BOTH));
  EXPECT_EQ(SetScrollPos(hwnd, SB_VERT, 40, FALSE), 30);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 40);
  EXPECT_FALSE(SetScrollRange(hwnd, SB_VERT, 5, 3, FALSE));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_SCROLLBAR_RANGE);
  EXPECT_TRUE(SetScrollRange(hwnd, SB_VERT, 0, 20, FALSE));
  int lo = -1, hi = -1;
  EXPECT_TRUE(GetScrollRange(hwnd, SB_VERT, &lo, &hi));
  EXPECT_EQ(std::make_pair(lo, hi), std::make_pair(0, 20));
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 20);
  // Bad requests fail the Win32 way.
  SCROLLINFO none = Info(0);
  EXPECT_FALSE(GetScrollInfo(hwnd, SB_VERT, &none));
  SCROLLINFO small = Info(SIF_ALL);
  small.cbSize = 8;
  EXPECT_FALSE(GetScrollInfo(hwnd, SB_VERT, &small));
  EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, nullptr, FALSE), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  SCROLLINFO all = Info(SIF_ALL);
  EXPECT_FALSE(GetScrollInfo(hwnd, SB_CTL, &all));  // not a scroll-bar control
  EXPECT_FALSE(GetScrollInfo(hwnd, 7, &all));
  EXPECT_FALSE(GetScrollInfo(reinterpret_cast<HWND>(0x12345), SB_VERT, &all));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  HWND plain = Make(WS_POPUP, 0, 0, 50, 50);
  EXPECT_FALSE(GetScrollInfo(plain, SB_HORZ, &all));
  EXPECT_EQ(GetLastError(), ERROR_NO_SCROLLBARS);
  HWND ctl = Make(WS_POPUP | SBS_VERT, 0, 0, 16, 100, nullptr, "SCROLLBAR");
  ASSERT_NE(ctl, nullptr);
  si = Get(ctl, SB_CTL);
  EXPECT_EQ(std::make_pair(si.nMin, si.nMax), std::make_pair(0, 0));
}

TEST_F(ScrollBars, TheBarsTakeTheirWidthFromTheClientAndComeAndGoWithTheRange) {
  HWND plain = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 240, 180);
  HWND both = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 300, 20, 240, 180);
  RECT a, b;
  GetClientRect(plain, &a);
  GetClientRect(both, &b);
  EXPECT_EQ(b.right, a.right - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(b.bottom, a.bottom - GetSystemMetrics(SM_CYHSCROLL));
  std::vector<LPARAM> sizes;
  SetWindowProc(both, [&sizes, base = GetWindowProc(both)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_SIZE) sizes.push_back(l);
    return CallWindowProc(base, h, m, w, l);
  });
  // An empty range removes the bar and gives its room back.
  EXPECT_TRUE(SetScrollRange(both, SB_VERT, 0, 0, TRUE));
  EXPECT_FALSE(GetWindowLong(both, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(both, &b);
  EXPECT_EQ(b.right, a.right);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0]), a.right);
  // A page that covers the whole range does too; a scrollable range brings the bar back.
  SCROLLINFO page = Info(SIF_RANGE | SIF_PAGE, 0, 9, 10);
  SetScrollInfo(both, SB_HORZ, &page, TRUE);
  EXPECT_FALSE(GetWindowLong(both, GWL_STYLE) & WS_HSCROLL);
  SCROLLINFO range = Info(SIF_RANGE, 0, 50);
  SetScrollInfo(both, SB_HORZ, &range, TRUE);
  EXPECT_TRUE(GetWindowLong(both, GWL_STYLE) & WS_HSCROLL);
  GetClientRect(both, &b);
  EXPECT_EQ(b.bottom, a.bottom - GetSystemMetrics(SM_CYHSCROLL));
  // ShowScrollBar toggles without touching the range.
  EXPECT_TRUE(ShowScrollBar(both, SB_BOTH, TRUE));
  GetClientRect(both, &b);
  EXPECT_EQ(b.right, a.right - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(Get(both, SB_VERT).nMax, 0);
  EXPECT_FALSE(ShowScrollBar(both, 9, TRUE));
}

TEST_F(ScrollBars, HitTestsFindTheBarsAndTheCornerBetweenThem) {
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 100, 100, 200, 150);
  auto hit = [hwnd](int x, int y) { return SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(hit(150, 150), HTCLIENT);
  EXPECT_EQ(hit(283, 100), HTCLIENT);   // last client column
  EXPECT_EQ(hit(284, 100), HTVSCROLL);
  EXPECT_EQ(hit(299, 233), HTVSCROLL);
  EXPECT_EQ(hit(100, 234), HTHSCROLL);
  EXPECT_EQ(hit(283, 249), HTHSCROLL);
  EXPECT_EQ(hit(284, 234), HTSIZE);
  EXPECT_EQ(hit(300, 120), HTNOWHERE);
}

// Window of 100 x 232 without a frame: the vertical bar is x 84..99, y 0..215 of the window,
// arrows of 16, a track of 184.
class TrackingBars : public ScrollBars {
 protected:
  void SetUp() override {
    ScrollBars::SetUp();
    hwnd_ = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, kX, kY, 100, 232);
    Record(hwnd_);
    desktop::Pump();
  }
  static constexpr int kX = 50, kY = 40;
  static constexpr int kBarX = kX + 84 + 8;  // the middle of the vertical bar
  HWND hwnd_ = nullptr;
};

TEST_F(TrackingBars, AnArrowClickScrollsOneLineAndEnds) {
  desktop::Click(kBarX, kY + 215 - 8);
  EXPECT_EQ(notes_, (std::vector<Note>{{WM_VSCROLL, SB_LINEDOWN, 0, 0}, {WM_VSCROLL, SB_ENDSCROLL, 0, 0}}));
  notes_.clear();
  desktop::Click(kBarX, kY + 3);
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_LINEUP, SB_ENDSCROLL}));
  notes_.clear();
  // The horizontal bar speaks WM_HSCROLL.
  desktop::Click(kX + 3, kY + 224);
  EXPECT_EQ(notes_, (std::vector<Note>{{WM_HSCROLL, SB_LINELEFT, 0, 0}, {WM_HSCROLL, SB_ENDSCROLL, 0, 0}}));
  EXPECT_EQ(GetCapture(), nullptr);
  // A disabled arrow says nothing.
  notes_.clear();
  EXPECT_TRUE(EnableScrollBar(hwnd_, SB_VERT, ESB_DISABLE_RTDN));
  desktop::Click(kBarX, kY + 215 - 8);
  EXPECT_TRUE(notes_.empty());
  desktop::Click(kBarX, kY + 3);
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_LINEUP, SB_ENDSCROLL}));
}

TEST_F(TrackingBars, AHeldArrowRepeatsAfterTheDelayThenEveryFiftyMilliseconds) {
  Hold(kBarX, kY + 215 - 8, 1000);
  // One at the press, then at 400, 450 ... 950 ms.
  ASSERT_FALSE(notes_.empty());
  EXPECT_EQ(notes_.back().code, SB_ENDSCROLL);
  EXPECT_EQ(Count(SB_LINEDOWN), 13);
  notes_.clear();
  // Let go before the delay: no repeat.
  Hold(kBarX, kY + 215 - 8, 300);
  EXPECT_EQ(Count(SB_LINEDOWN), 1);
}

TEST_F(TrackingBars, PageClicksGoByTheSideOfTheThumbAndStopWhenTheThumbArrives) {
  SCROLLINFO si = Info(SIF_ALL, 0, 99, 10, 45);
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  // Track 184, thumb 184 * 10 / 100 = 18, at 16 + 166 * 45 / 90 = 99.
  desktop::Click(kBarX, kY + 60);
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_PAGEUP, SB_ENDSCROLL}));
  notes_.clear();
  desktop::Click(kBarX, kY + 150);
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_PAGEDOWN, SB_ENDSCROLL}));
  notes_.clear();
  desktop::Click(kBarX, kY + 108);  // on the thumb: no page
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_THUMBPOSITION, SB_ENDSCROLL}));
  notes_.clear();
  // Held below the thumb with a window that follows its page messages: the thumb walks down
  // to the pointer and the repeats stop there.
  Record(hwnd_, [](HWND h, const Note& n) {
    if (n.code == SB_PAGEDOWN) SetScrollPos(h, SB_VERT, GetScrollPos(h, SB_VERT) + 10, TRUE);
  });
  Hold(kBarX, kY + 170, 3000);
  // Positions 55, 65, 75 put the thumb at 117, 136, 154; at 75 the thumb (154..171) holds y 170.
  EXPECT_EQ(GetScrollPos(hwnd_, SB_VERT), 75);
  EXPECT_EQ(Codes().back(), SB_ENDSCROLL);
}

TEST_F(TrackingBars, DraggingTheThumbTracksAndReleasingSetsThePosition) {
  // Range 0..100 without a page: the thumb is 16 long and 168 pixels of travel make 100.
  std::vector<std::pair<int, int>> seen;  // (nPos, nTrackPos) during each THUMBTRACK
  Record(hwnd_, [&seen](HWND h, const Note& n) {
    if (n.code != SB_THUMBTRACK) return;
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(h, SB_VERT, &si);
    seen.emplace_back(si.nPos, si.nTrackPos);
  });
  const int grab_y = kY + 16 + 5;
  desktop::MoveMouse(kBarX, grab_y);
  desktop::MouseDown(kBarX, grab_y);
  desktop::MoveMouse(kBarX, grab_y + 42);
  desktop::MoveMouse(kBarX + 30, grab_y + 84);  // a little off the bar still drags
  desktop::MouseUp(kBarX + 30, grab_y + 84);
  desktop::Pump();
  std::vector<Note> want{{WM_VSCROLL, SB_THUMBTRACK, 25, 0},
                         {WM_VSCROLL, SB_THUMBTRACK, 50, 0},
                         {WM_VSCROLL, SB_THUMBPOSITION, 50, 0},
                         {WM_VSCROLL, SB_ENDSCROLL, 0, 0}};
  EXPECT_EQ(notes_, want);
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 25}, {0, 50}}));
  EXPECT_EQ(GetScrollPos(hwnd_, SB_VERT), 0);  // the window sets the position, not the bar
  // Far off to the side the thumb goes home; past the end it stops at the maximum.
  notes_.clear();
  desktop::MoveMouse(kBarX, grab_y);
  desktop::MouseDown(kBarX, grab_y);
  desktop::MoveMouse(kBarX, grab_y + 220);  // past the end but within two thicknesses of it
  desktop::MoveMouse(kBarX - 300, grab_y + 220);
  desktop::MouseUp(kBarX - 300, grab_y + 220);
  desktop::Pump();
  want = {{WM_VSCROLL, SB_THUMBTRACK, 100, 0},
          {WM_VSCROLL, SB_THUMBTRACK, 0, 0},
          {WM_VSCROLL, SB_THUMBPOSITION, 0, 0},
          {WM_VSCROLL, SB_ENDSCROLL, 0, 0}};
  EXPECT_EQ(notes_, want);
}

TEST_F(ScrollBars, AControlTellsItsParentWithItsHandleAndAnswersKeys) {
  HWND parent = Make(WS_POPUP | WS_VISIBLE, 20, 20, 300, 200);
  Record(parent);
  HWND ctl = Make(WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_HORZ, 10, 10, 121, 16, parent, "SCROLLBAR");
  ASSERT_NE(ctl, nullptr);
  EXPECT_TRUE(SetScrollRange(ctl, SB_CTL, 0, 10, TRUE));
  EXPECT_TRUE(IsWindowVisible(ctl));
  desktop::Pump();
  const LPARAM from = reinterpret_cast<LPARAM>(ctl);
  desktop::Click(20 + 10 + 121 - 4, 20 + 10 + 8);
  EXPECT_EQ(notes_, (std::vector<Note>{{WM_HSCROLL, SB_LINERIGHT, 0, from}, {WM_HSCROLL, SB_ENDSCROLL, 0, from}}));
  EXPECT_EQ(GetFocus(), ctl);  // a tab stop takes the focus when clicked
  notes_.clear();
  desktop::PressKey(VK_END);
  desktop::PressKey(VK_LEFT);
  desktop::PressKey(VK_UP);  // not an arrow of a horizontal bar
  desktop::PressKey(VK_NEXT);
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_BOTTOM, SB_ENDSCROLL, SB_LINELEFT, SB_ENDSCROLL, SB_PAGEDOWN,
                                        SB_ENDSCROLL}));
  for (const Note& n : notes_) EXPECT_EQ(n.from, from);
  // A drag on the control reports the tracked position to the parent.
  notes_.clear();
  const int thumb_x = 20 + 10 + 16 + 8;
  desktop::MoveMouse(thumb_x, 38);
  desktop::MouseDown(thumb_x, 38);
  desktop::MoveMouse(thumb_x + 100, 38);
  desktop::MouseUp(thumb_x + 100, 38);
  desktop::Pump();
  EXPECT_EQ(notes_, (std::vector<Note>{{WM_HSCROLL, SB_THUMBTRACK, 10, from},
                                       {WM_HSCROLL, SB_THUMBPOSITION, 10, from},
                                       {WM_HSCROLL, SB_ENDSCROLL, 0, from}}));
  // The control stays even when its range empties: it has no thumb then.
  EXPECT_TRUE(SetScrollRange(ctl, SB_CTL, 0, 0, TRUE));
  EXPECT_TRUE(IsWindowVisible(ctl));
}

TEST_F(ScrollBars, ScrollWindowMovesPixelsAndInvalidatesWhatItUncovers) {
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
  // Rows painted in a colour of their own.
  SetWindowProc(hwnd, [base = GetWindowProc(hwnd)](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m != WM_PAINT) return CallWindowProc(base, h, m, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; x += 10) {
        HBRUSH b = CreateSolidBrush(RGB(y, 255 - y, x * 2));
        RECT r{x, y, x + 10, y + 1};
        FillRect(dc, &r, b);
        DeleteObject(b);
      }
    EndPaint(h, &ps);
    return 0;
  });
  InvalidateRect(hwnd, nullptr, TRUE);
  desktop::Pump();
  ASSERT_EQ(ScreenPixel(150, 150), RGB(50, 205, 100));
  EXPECT_TRUE(ScrollWindow(hwnd, 0, -10, nullptr, nullptr));
  EXPECT_EQ(ScreenPixel(150, 150), RGB(60, 195, 100));
  EXPECT_EQ(ScreenPixel(100, 100), RGB(10, 245, 0));
  EXPECT_EQ(ScreenPixel(199, 189), RGB(99, 156, 180));
  RECT update;
  EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(update, (RECT{0, 90, 100, 100}));
  desktop::Pump();
  // A scroll rectangle keeps the pixels outside it; the clip keeps them from leaving it.
  RECT part{0, 0, 50, 100};
  RECT clip{0, 0, 100, 100};
  EXPECT_TRUE(ScrollWindow(hwnd, 20, 0, &part, &clip));
  // (Row 30 shows row 40 since the first scroll.)
  EXPECT_EQ(ScreenPixel(100 + 25, 130), RGB(40, 215, 0));   // from x 5
  EXPECT_EQ(ScreenPixel(100 + 55, 130), RGB(40, 215, 60));  // from x 35, past the scroll rectangle
  EXPECT_EQ(ScreenPixel(100 + 75, 130), RGB(40, 215, 140));  // untouched
  EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(update, (RECT{0, 0, 20, 100}));
  EXPECT_FALSE(ScrollWindow(reinterpret_cast<HWND>(0x4242), 1, 1, nullptr, nullptr));
}

TEST_F(ScrollBars, TheClassicLookArrowsThumbAndDither) {
  // 100 x 100 popup with a vertical bar at window x 84..99.
  HWND hwnd = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, 200, 100, 100, 100);
  SCROLLINFO si = Info(SIF_ALL, 0, 100, 0, 0);
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  desktop::Pump();
  const int x0 = 284, y0 = 100;
  // The up arrow: a hard raised edge, and a black arrow pointing up (rows 5..8 of 1, 3, 5, 7).
  EXPECT_EQ(ScreenPixel(x0, y0), kLight);
  EXPECT_EQ(ScreenPixel(x0 + 1, y0 + 1), kWhite);
  EXPECT_EQ(ScreenPixel(x0 + 15, y0 + 15), kBlack);
  EXPECT_EQ(ScreenPixel(x0 + 14, y0 + 14), kShadow);
  EXPECT_EQ(ScreenPixel(x0 + 7, y0 + 5), kBlack);
  EXPECT_EQ(ScreenPixel(x0 + 6, y0 + 5), kFace);
  EXPECT_EQ(ScreenPixel(x0 + 4, y0 + 8), kBlack);
  EXPECT_EQ(ScreenPixel(x0 + 10, y0 + 8), kBlack);
  // The down arrow at the bottom: rows 6..9 of 7, 5, 3, 1.
  const int yd = y0 + 84;
  EXPECT_EQ(ScreenPixel(x0 + 4, yd + 6), kBlack);
  EXPECT_EQ(ScreenPixel(x0 + 10, yd + 6), kBlack);
  EXPECT_EQ(ScreenPixel(x0 + 7, yd + 9), kBlack);
  EXPECT_EQ(ScreenPixel(x0 + 6, yd + 9), kFace);
  // The thumb (16 long, at the top of the track) is a raised button.
  const int yt = y0 + 16;
  EXPECT_EQ(ScreenPixel(x0, yt), kLight);
  EXPECT_EQ(ScreenPixel(x0 + 1, yt + 1), kWhite);
  EXPECT_EQ(ScreenPixel(x0 + 15, yt + 15), kBlack);
  EXPECT_EQ(ScreenPixel(x0 + 14, yt + 14), kShadow);
  EXPECT_EQ(ScreenPixel(x0 + 7, yt + 7), kFace);
  // The track: a checkerboard of white and face.
  const int ytr = y0 + 40;
  for (int dy = 0; dy < 2; ++dy)
    for (int dx = 0; dx < 4; ++dx) {
      const COLORREF c = ScreenPixel(x0 + dx, ytr + dy), right = ScreenPixel(x0 + dx + 1, ytr + dy);
      EXPECT_TRUE((c == kWhite && right == kFace) || (c == kFace && right == kWhite)) << dx << "," << dy;
      EXPECT_EQ(c, ScreenPixel(x0 + dx + 1, ytr + dy + 1));
    }
  // Held, the page area under the pointer turns dark; let go, it is light again.
  std::vector<COLORREF> held;
  Record(hwnd, [&held, x0, ytr](HWND, const Note& n) {
    if (n.code == SB_PAGEDOWN) held = {ScreenPixel(x0 + 4, ytr), ScreenPixel(x0 + 5, ytr)};
  });
  desktop::Click(x0 + 8, ytr);
  ASSERT_EQ(held.size(), 2u);
  EXPECT_TRUE(held[0] == kBlack || held[1] == kBlack);
  EXPECT_NE(held[0], kWhite);
  EXPECT_NE(held[1], kWhite);
  EXPECT_TRUE(ScreenPixel(x0 + 4, ytr) == kWhite || ScreenPixel(x0 + 5, ytr) == kWhite);
  // Disabled: embossed grey arrows and no thumb.
  EnableScrollBar(hwnd, SB_VERT, ESB_DISABLE_BOTH);
  EXPECT_EQ(ScreenPixel(x0 + 7, y0 + 5), kShadow);
  EXPECT_EQ(ScreenPixel(x0 + 8, y0 + 9), kWhite);  // the highlight copy peeks out below
  EXPECT_NE(ScreenPixel(x0 + 1, yt + 1), ScreenPixel(x0 + 2, yt + 1));  // the dither runs through
}

TEST_F(ScrollBars, GalleryOfBarStates) {
  HWND parent = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 10, 10, 300, 220);
  SetWindowText(parent, "Both bars");
  SCROLLINFO si = Info(SIF_ALL, 0, 99, 25, 30);
  SetScrollInfo(parent, SB_VERT, &si, TRUE);
  si = Info(SIF_ALL, 0, 300, 0, 150);
  SetScrollInfo(parent, SB_HORZ, &si, TRUE);

  HWND vert = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL, 320, 10, 200, 220);
  SetWindowText(vert, "Disabled (no scroll)");
  si = Info(SIF_ALL | SIF_DISABLENOSCROLL, 0, 9, 10, 0);
  SetScrollInfo(vert, SB_VERT, &si, TRUE);

  HWND controls = Make(WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 10, 240, 510, 200);
  SetWindowText(controls, "Scroll-bar controls");
  HWND h1 = Make(WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 10, 121, 16, controls, "SCROLLBAR");
  SetScrollRange(h1, SB_CTL, 0, 100, TRUE);
  SetScrollPos(h1, SB_CTL, 60, TRUE);
  HWND h2 = Make(WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 40, 200, 16, controls, "SCROLLBAR");
  si = Info(SIF_ALL, 0, 99, 50, 10);
  SetScrollInfo(h2, SB_CTL, &si, TRUE);
  EnableScrollBar(h2, SB_CTL, ESB_DISABLE_LTUP);
  HWND h3 = Make(WS_CHILD | WS_VISIBLE | SBS_HORZ | WS_DISABLED, 10, 70, 200, 16, controls, "SCROLLBAR");
  SetScrollRange(h3, SB_CTL, 0, 10, TRUE);
  HWND v1 = Make(WS_CHILD | WS_VISIBLE | SBS_VERT, 260, 10, 16, 121, controls, "SCROLLBAR");
  SetScrollRange(v1, SB_CTL, 0, 10, TRUE);
  SetScrollPos(v1, SB_CTL, 10, TRUE);
  HWND v2 = Make(WS_CHILD | WS_VISIBLE | SBS_VERT, 300, 10, 16, 40, controls, "SCROLLBAR");  // too short for a thumb
  SetScrollRange(v2, SB_CTL, 0, 10, TRUE);
  HWND v3 = Make(WS_CHILD | WS_VISIBLE | SBS_VERT, 340, 10, 24, 150, controls, "SCROLLBAR");
  SetScrollRange(v3, SB_CTL, 0, 10, TRUE);
  SetScrollPos(v3, SB_CTL, 5, TRUE);
  desktop::Pump();
  // One held down arrow, caught while the tracking loop holds it.
  Record(controls, [](HWND, const Note& n) {
    if (n.code == SB_LINERIGHT) {
      const auto dir = testsupport::OutputDir().parent_path() / "gallery";
      std::filesystem::create_directories(dir);
      EXPECT_TRUE(desktop::SaveScreen((dir / "scrollbars.png").string()));
    }
  });
  desktop::Click(10 + 3 + 10 + 121 - 5, 240 + 3 + 19 + 10 + 8);
  EXPECT_TRUE(std::filesystem::exists(testsupport::OutputDir().parent_path() / "gallery" / "scrollbars.png"));
  (void)v1, (void)v2, (void)v3, (void)h3;
}

}  // namespace
