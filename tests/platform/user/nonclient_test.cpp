// The non-client frame: client rect against AdjustWindowRectEx, caption layout, hit testing
// and the painted pixels, including that buttons land where the layout says they are.
#include "platform/user/nonclient.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memdc.h"

using testsupport::MemDC;
using user::CaptionButtons;
using user::CaptionLayout;
using user::Frame;
using user::FrameClientRect;
using user::FrameHitTest;
using user::PaintFrame;

namespace {

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kGray = RGB(128, 128, 128);
constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kLight = RGB(223, 223, 223);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kClient = RGB(255, 0, 255);  // marks the untouched client area

constexpr DWORD kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU;

Frame Make(DWORD style, DWORD ex = 0, bool menu = false, bool active = true) {
  return Frame{style, ex, menu, active, false, false};
}

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Str(const RECT& r) {
  return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + "}";
}

#define EXPECT_RECT(r, l, t, rr, b) EXPECT_PRED2(Same, r, (RECT{l, t, rr, b})) << Str(r)

// Paints a frame over a client-coloured surface.
void Paint(MemDC& dc, const Frame& f, const char* text = "Untitled", user::ButtonPressed pressed = user::kNoButton) {
  dc.Fill(kClient);
  PaintFrame(dc, f, dc.width(), dc.height(), text, pressed);
}

// Every frame kind the tests sweep: styles and extended styles in the combinations real windows use.
struct Kind {
  DWORD style;
  DWORD ex;
};
const std::vector<Kind> kKinds = {
    {WS_OVERLAPPEDWINDOW, 0},
    {WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE},
    {kDialog, WS_EX_DLGMODALFRAME},
    {kDialog, 0},
    {kDialog, WS_EX_CONTEXTHELP},
    {WS_POPUP | WS_BORDER, 0},
    {WS_POPUP, WS_EX_STATICEDGE},
    {WS_POPUP | WS_BORDER, WS_EX_STATICEDGE},
    {WS_CHILD, WS_EX_CLIENTEDGE},
    {WS_CHILD | WS_THICKFRAME, 0},
    {WS_POPUP | WS_DLGFRAME, 0},
    {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW},
    {WS_POPUP | WS_CAPTION | WS_THICKFRAME, WS_EX_STATICEDGE | WS_EX_CLIENTEDGE},
    {WS_CHILD, 0},
};

}  // namespace

TEST(NonClient, AdjustWindowRectExIsTheInverseOfTheClientRect) {
  for (const Kind& k : kKinds)
    for (bool menu : {false, true}) {
      const RECT client = {100, 50, 400, 250};
      RECT window = client;
      ASSERT_TRUE(AdjustWindowRectEx(&window, k.style, menu, k.ex));
      const RECT back = FrameClientRect(Make(k.style, k.ex, menu), window);
      EXPECT_PRED2(Same, back, client) << "style " << std::hex << k.style << " ex " << k.ex << " menu " << menu
                                       << " window " << Str(window);
    }
  // The documented examples: an overlapped window is 4 px of frame and a 19 px caption.
  RECT rc = {0, 0, 100, 100};
  AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
  EXPECT_RECT(rc, -4, -23, 104, 104);
  rc = {0, 0, 100, 100};
  AdjustWindowRectEx(&rc, kDialog, TRUE, WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE);
  EXPECT_RECT(rc, -5, -43, 105, 105);
  rc = {0, 0, 100, 100};
  AdjustWindowRectEx(&rc, WS_POPUP | WS_CAPTION, FALSE, WS_EX_TOOLWINDOW);
  EXPECT_RECT(rc, -3, -19, 103, 103);
  SetLastError(0);
  EXPECT_FALSE(AdjustWindowRectEx(nullptr, WS_OVERLAPPEDWINDOW, FALSE, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(NonClient, ClientRectOfATinyWindowIsEmptyNotInverted) {
  const RECT c = FrameClientRect(Make(WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE, true), {10, 10, 20, 30});
  EXPECT_EQ(c.right, c.left);
  EXPECT_EQ(c.bottom, c.top);
  // A minimized caption (160x24) has no client area either.
  const RECT m = FrameClientRect(Make(WS_OVERLAPPEDWINDOW), {0, 0, 160, 24});
  EXPECT_EQ(m.bottom, m.top);
}

TEST(NonClient, CaptionLayoutOfThickAndDialogFrames) {
  const int W = 300, H = 200;
  CaptionButtons b = CaptionLayout(Make(WS_OVERLAPPEDWINDOW), W, H);
  ASSERT_TRUE(b.has_close && b.has_max && b.has_min && b.has_icon);
  EXPECT_FALSE(b.has_help);
  EXPECT_RECT(b.bar, 4, 4, W - 4, 22);
  EXPECT_RECT(b.close, W - 22, 6, W - 6, 20);
  EXPECT_RECT(b.maximize, W - 40, 6, W - 24, 20);
  EXPECT_RECT(b.minimize, W - 56, 6, W - 40, 20);
  EXPECT_RECT(b.icon, 6, 5, 22, 21);
  EXPECT_RECT(b.text, 24, 4, W - 4 - 56, 22);
  // Button size follows the metrics.
  EXPECT_EQ(b.close.right - b.close.left, GetSystemMetrics(SM_CXSIZE) - 2);
  EXPECT_EQ(b.close.bottom - b.close.top, GetSystemMetrics(SM_CYSIZE) - 4);

  // Dialog frame: inset 3, close only, no icon on a modal frame.
  b = CaptionLayout(Make(kDialog, WS_EX_DLGMODALFRAME), W, H);
  EXPECT_TRUE(b.has_close);
  EXPECT_FALSE(b.has_max || b.has_min || b.has_icon || b.has_help);
  EXPECT_RECT(b.bar, 3, 3, W - 3, 21);
  EXPECT_RECT(b.close, W - 21, 5, W - 5, 19);
  EXPECT_RECT(b.text, 5, 3, W - 3 - 18, 21);
  EXPECT_RECT(b.maximize, 0, 0, 0, 0);

  // Context help takes the maximize button's place; with a box style the boxes win.
  b = CaptionLayout(Make(kDialog, WS_EX_CONTEXTHELP), W, H);
  EXPECT_TRUE(b.has_help && b.has_icon);
  EXPECT_RECT(b.help, W - 39, 5, W - 23, 19);
  EXPECT_RECT(b.text, 23, 3, W - 3 - 37, 21);
  b = CaptionLayout(Make(kDialog | WS_MINIMIZEBOX, WS_EX_CONTEXTHELP), W, H);
  EXPECT_FALSE(b.has_help);
  EXPECT_TRUE(b.has_max && b.has_min);

  // Tool window: small caption, 11x11 close box, no icon.
  b = CaptionLayout(Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW), W, H);
  EXPECT_RECT(b.bar, 4, 4, W - 4, 19);
  EXPECT_RECT(b.close, W - 18, 6, W - 7, 17);
  EXPECT_RECT(b.text, 6, 4, W - 4 - 15, 19);
  EXPECT_FALSE(b.has_icon || b.has_max);

  // No caption style, no caption; no system menu, no buttons.
  b = CaptionLayout(Make(WS_POPUP | WS_BORDER), W, H);
  EXPECT_FALSE(b.has_close);
  EXPECT_RECT(b.bar, 0, 0, 0, 0);
  b = CaptionLayout(Make(WS_POPUP | WS_CAPTION | WS_MAXIMIZEBOX), W, H);
  EXPECT_FALSE(b.has_close || b.has_max || b.has_icon);
  EXPECT_RECT(b.text, 5, 3, W - 3, 21);
}

TEST(NonClient, HitTestAtEveryRegionEdge) {
  // A thick-frame window with a menu at screen (100, 50), 300x200.
  const RECT w = {100, 50, 400, 250};
  Frame f = Make(WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE, true);
  auto ht = [&](int x, int y) { return FrameHitTest(f, w, {w.left + x, w.top + y}); };
  // Outside.
  EXPECT_EQ(ht(-1, 100), HTNOWHERE);
  EXPECT_EQ(ht(300, 100), HTNOWHERE);
  EXPECT_EQ(ht(100, 200), HTNOWHERE);
  // Sizing borders and their corners: corners run 18 px along each side from the inner edge.
  EXPECT_EQ(ht(0, 0), HTTOPLEFT);
  EXPECT_EQ(ht(21, 0), HTTOPLEFT);
  EXPECT_EQ(ht(22, 0), HTTOP);
  EXPECT_EQ(ht(277, 3), HTTOP);
  EXPECT_EQ(ht(278, 3), HTTOPRIGHT);
  EXPECT_EQ(ht(3, 21), HTTOPLEFT);
  EXPECT_EQ(ht(3, 22), HTLEFT);
  EXPECT_EQ(ht(4, 22), HTMENU);  // just inside the frame, on the line under the caption
  EXPECT_EQ(ht(299, 21), HTTOPRIGHT);
  EXPECT_EQ(ht(296, 22), HTRIGHT);
  EXPECT_EQ(ht(296, 177), HTRIGHT);
  EXPECT_EQ(ht(296, 178), HTBOTTOMRIGHT);
  EXPECT_EQ(ht(0, 178), HTBOTTOMLEFT);
  EXPECT_EQ(ht(22, 196), HTBOTTOM);
  EXPECT_EQ(ht(21, 199), HTBOTTOMLEFT);
  EXPECT_EQ(ht(278, 199), HTBOTTOMRIGHT);
  // Caption rows 4..21; the line at 22 and the menu rows belong to the menu bar.
  EXPECT_EQ(ht(100, 4), HTCAPTION);
  EXPECT_EQ(ht(100, 21), HTCAPTION);
  EXPECT_EQ(ht(100, 22), HTMENU);
  EXPECT_EQ(ht(100, 41), HTMENU);
  EXPECT_EQ(ht(100, 42), HTNOWHERE);  // the client edge
  EXPECT_EQ(ht(5, 100), HTNOWHERE);
  EXPECT_EQ(ht(6, 44), HTCLIENT);
  EXPECT_EQ(ht(293, 193), HTCLIENT);
  EXPECT_EQ(ht(294, 193), HTNOWHERE);
  // System menu icon and buttons: close from its left edge, maximize up to it, minimize before.
  EXPECT_EQ(ht(4, 10), HTSYSMENU);
  EXPECT_EQ(ht(21, 10), HTSYSMENU);
  EXPECT_EQ(ht(22, 10), HTCAPTION);
  EXPECT_EQ(ht(300 - 23, 10), HTMAXBUTTON);
  EXPECT_EQ(ht(300 - 22, 10), HTCLOSE);
  EXPECT_EQ(ht(300 - 5, 4), HTCLOSE);
  EXPECT_EQ(ht(300 - 40, 21), HTMAXBUTTON);
  EXPECT_EQ(ht(300 - 41, 21), HTMINBUTTON);
  EXPECT_EQ(ht(300 - 56, 12), HTMINBUTTON);
  EXPECT_EQ(ht(300 - 57, 12), HTCAPTION);

  // Maximized or minimized: the frame no longer sizes.
  f.maximized = true;
  EXPECT_EQ(ht(0, 0), HTBORDER);
  EXPECT_EQ(ht(299, 100), HTBORDER);
  f.maximized = false;
  f.minimized = true;
  EXPECT_EQ(ht(150, 199), HTBORDER);

  // Fixed frames answer HTBORDER; a help button has its own code.
  f = Make(kDialog, WS_EX_CONTEXTHELP);
  EXPECT_EQ(ht(0, 0), HTBORDER);
  EXPECT_EQ(ht(2, 100), HTBORDER);
  EXPECT_EQ(ht(3, 100), HTCLIENT);
  EXPECT_EQ(ht(300 - 39, 10), HTHELP);
  EXPECT_EQ(ht(300 - 40, 10), HTCAPTION);
  EXPECT_EQ(ht(300 - 21, 10), HTCLOSE);
  EXPECT_EQ(ht(150, 21), HTNOWHERE);  // the line under the caption without a menu
  EXPECT_EQ(ht(150, 22), HTCLIENT);
  f = Make(WS_POPUP | WS_BORDER);
  EXPECT_EQ(ht(0, 100), HTBORDER);
  EXPECT_EQ(ht(1, 100), HTCLIENT);
  // No frame at all: everything inside is client.
  f = Make(WS_CHILD);
  EXPECT_EQ(ht(0, 0), HTCLIENT);
}

TEST(NonClient, HitTestZonesCoverThePaintedButtons) {
  const int W = 240, H = 120;
  const RECT w = {0, 0, W, H};
  for (const Kind& k : kKinds) {
    const Frame f = Make(k.style, k.ex);
    const CaptionButtons b = CaptionLayout(f, W, H);
    auto check = [&](bool has, const RECT& r, LRESULT code) {
      if (!has) return;
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) ASSERT_EQ(FrameHitTest(f, w, {x, y}), code) << x << "," << y;
    };
    check(b.has_close, b.close, HTCLOSE);
    check(b.has_max, b.maximize, HTMAXBUTTON);
    check(b.has_min, b.minimize, HTMINBUTTON);
    check(b.has_help, b.help, HTHELP);
    check(b.has_icon, b.icon, HTSYSMENU);
  }
}

TEST(NonClient, ThickFramePixels) {
  MemDC dc(200, 120);
  const int W = 200, H = 120;
  Paint(dc, Make(WS_OVERLAPPEDWINDOW));
  // Rings at the top-left corner: 3DLIGHT, white, active border, face; then the caption.
  EXPECT_EQ(dc.Px(0, 0), kLight);
  EXPECT_EQ(dc.Px(1, 1), kWhite);
  EXPECT_EQ(dc.Px(2, 2), kFace);
  EXPECT_EQ(dc.Px(3, 3), kFace);
  EXPECT_EQ(dc.Px(4, 4), kNavy);
  // Bottom-right corner: black outer, shadow inner.
  EXPECT_EQ(dc.Px(W - 1, H - 1), kBlack);
  EXPECT_EQ(dc.Px(W - 2, H - 2), kGray);
  EXPECT_EQ(dc.Px(W - 3, H - 3), kFace);
  EXPECT_EQ(dc.Px(W - 4, H - 4), kFace);
  EXPECT_EQ(dc.Px(W - 5, H - 5), kClient);
  // Top-right and bottom-left corners belong to the dark side.
  EXPECT_EQ(dc.Px(W - 1, 0), kBlack);
  EXPECT_EQ(dc.Px(0, H - 1), kBlack);
  // Caption bar rows 4..21 navy (left of the buttons), row 22 face, client from 23.
  for (int y = 4; y <= 21; ++y) EXPECT_EQ(dc.Px(W - 60, y), kNavy) << y;
  for (int x = 4; x < W - 4; ++x) EXPECT_EQ(dc.Px(x, 22), kFace) << x;
  for (int x = 4; x < W - 4; ++x) EXPECT_EQ(dc.Px(x, 23), kClient) << x;
  for (int y = 23; y < H - 4; ++y) {
    EXPECT_EQ(dc.Px(4, y), kClient) << y;
    EXPECT_EQ(dc.Px(W - 5, y), kClient) << y;
  }
  // Buttons at the documented places, counted from the right edge: close [W-22, W-6),
  // maximize [W-40, W-24), minimize [W-56, W-40), rows [6, 20); 2 px of caption between max and close.
  for (int left : {W - 22, W - 40, W - 56}) {
    EXPECT_EQ(dc.Px(left, 6), kWhite) << left;
    EXPECT_EQ(dc.Px(left + 15, 19), kBlack) << left;
    EXPECT_EQ(dc.Px(left + 15, 6), kBlack) << left;
    EXPECT_EQ(dc.Px(left + 4, 5), kNavy) << left;
    EXPECT_EQ(dc.Px(left + 4, 20), kNavy) << left;
  }
  EXPECT_EQ(dc.Px(W - 24, 10), kNavy);
  EXPECT_EQ(dc.Px(W - 23, 10), kNavy);
  EXPECT_EQ(dc.Px(W - 6, 10), kNavy);
  EXPECT_EQ(dc.Px(W - 57, 10), kNavy);
  // The title is drawn in white somewhere in the text rect, and nowhere outside it.
  const CaptionButtons b = CaptionLayout(Make(WS_OVERLAPPEDWINDOW), W, H);
  int white = 0;
  for (int y = b.bar.top; y < b.bar.bottom; ++y)
    for (int x = b.icon.right; x < b.minimize.left; ++x) {
      if (dc.Px(x, y) != kWhite) continue;
      ++white;
      EXPECT_GE(x, b.text.left);
      EXPECT_LT(x, b.text.right);
    }
  EXPECT_GT(white, 20);
}

TEST(NonClient, ButtonsLandWhereTheLayoutSaysTheyAre) {
  for (const Kind& k : kKinds) {
    for (int W : {130, 257}) {
      MemDC dc(W, 90);
      const Frame f = Make(k.style, k.ex);
      Paint(dc, f, nullptr);
      const CaptionButtons b = CaptionLayout(f, W, 90);
      // A raised button: its outer ring white top-left (soft edge), black bottom-right, face inside,
      // and the caption colour just outside on the left.
      auto check = [&](bool has, const RECT& r, const char* name) {
        if (!has) return;
        SCOPED_TRACE(std::string(name) + " style " + std::to_string(k.style) + " ex " + std::to_string(k.ex));
        EXPECT_EQ(dc.Px(r.left, r.top), kWhite);
        EXPECT_EQ(dc.Px(r.left, r.bottom - 2), kWhite);
        EXPECT_EQ(dc.Px(r.right - 1, r.top), kBlack);
        EXPECT_EQ(dc.Px(r.right - 1, r.bottom - 1), kBlack);
        EXPECT_EQ(dc.Px(r.left, r.bottom - 1), kBlack);
        EXPECT_EQ(dc.Px(r.left + 2, (r.top + r.bottom) / 2), kFace);
        EXPECT_EQ(dc.Px(r.right - 2, r.top + 1), kGray);
        EXPECT_EQ(dc.Px(r.right, r.top + 3), name == std::string("min") ? kWhite : kNavy);
        EXPECT_EQ(dc.Px(r.left + 3, r.top - 1), kNavy);
        EXPECT_EQ(dc.Px(r.left + 3, r.bottom), kNavy);
      };
      check(b.has_close, b.close, "close");
      check(b.has_max, b.maximize, "max");
      check(b.has_min, b.minimize, "min");
      check(b.has_help, b.help, "help");
    }
  }
}

TEST(NonClient, PressedAndMissingButtons) {
  const int W = 200;
  MemDC dc(W, 80);
  const Frame f = Make(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME);
  const CaptionButtons b = CaptionLayout(f, W, 80);
  ASSERT_TRUE(b.has_max);  // drawn, though inactive
  Paint(dc, f, "x", user::kClosePressed);
  // Pushed: the dark edge moves to the top-left.
  EXPECT_EQ(dc.Px(b.close.left, b.close.top), kBlack);
  EXPECT_EQ(dc.Px(b.close.right - 1, b.close.bottom - 1), kWhite);
  // The missing maximize box is embossed: its glyph has highlight and shadow pixels, no black.
  int black = 0, shadow = 0;
  for (int y = b.maximize.top + 2; y < b.maximize.bottom - 2; ++y)
    for (int x = b.maximize.left + 2; x < b.maximize.right - 2; ++x) {
      black += dc.Px(x, y) == kBlack;
      shadow += dc.Px(x, y) == kGray;
    }
  EXPECT_EQ(black, 0);
  EXPECT_GT(shadow, 5);
  // The available minimize box has a black glyph and ignores a press meant for another button.
  black = 0;
  for (int y = b.minimize.top + 2; y < b.minimize.bottom - 2; ++y)
    for (int x = b.minimize.left + 2; x < b.minimize.right - 2; ++x) black += dc.Px(x, y) == kBlack;
  EXPECT_GT(black, 3);
  EXPECT_EQ(dc.Px(b.minimize.left, b.minimize.top), kWhite);
  // Pressing an inactive button does not push it.
  Paint(dc, f, "x", user::kMaxPressed);
  EXPECT_EQ(dc.Px(b.maximize.left, b.maximize.top), kWhite);
}

TEST(NonClient, ActiveAndInactiveColours) {
  MemDC dc(160, 60);
  Frame f = Make(WS_OVERLAPPEDWINDOW);
  f.active = false;
  SetSysColors(1, std::vector<INT>{COLOR_INACTIVEBORDER}.data(), std::vector<COLORREF>{RGB(1, 2, 3)}.data());
  Paint(dc, f, "Inactive window title");
  EXPECT_EQ(dc.Px(2, 30), RGB(1, 2, 3));  // the sizing ring follows the border colour
  EXPECT_EQ(dc.Px(60, 10), kGray);
  int text = 0, white = 0;
  for (int y = 4; y < 22; ++y)
    for (int x = 24; x < 100; ++x) {
      text += dc.Px(x, y) == kFace;  // COLOR_INACTIVECAPTIONTEXT
      white += dc.Px(x, y) == kWhite;
    }
  EXPECT_GT(text, 20);
  EXPECT_EQ(white, 0);
  SetSysColors(1, std::vector<INT>{COLOR_INACTIVEBORDER}.data(), std::vector<COLORREF>{kFace}.data());
  f.active = true;
  Paint(dc, f, "Inactive window title");
  EXPECT_EQ(dc.Px(2, 30), kFace);
  EXPECT_EQ(dc.Px(60, 10), kNavy);
}

TEST(NonClient, ToolWindowHasTheSmallCaption) {
  const int W = 150, H = 60;
  MemDC dc(W, H);
  const Frame f = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW);
  Paint(dc, f, "Tools");
  for (int y = 4; y <= 18; ++y) EXPECT_EQ(dc.Px(60, y), kNavy) << y;
  EXPECT_EQ(dc.Px(60, 19), kFace);
  EXPECT_EQ(dc.Px(60, 20), kClient);
  const CaptionButtons b = CaptionLayout(f, W, H);
  EXPECT_EQ(dc.Px(b.close.left, b.close.top), kWhite);
  EXPECT_EQ(dc.Px(b.close.right - 1, b.close.bottom - 1), kBlack);
  EXPECT_EQ(dc.Px(b.close.left - 1, b.close.top), kNavy);
  // No icon: the caption start is plain navy up to the title.
  for (int x = 4; x < 6; ++x) EXPECT_EQ(dc.Px(x, 10), kNavy);
  // The small caption font is not bold: the title is narrower than the same text in bold.
  auto width_of = [&](const Frame& fr) {
    MemDC d(W, H);
    Paint(d, fr, "Tools");
    int right = 0;
    for (int y = 4; y < 22; ++y)
      for (int x = 4; x < W / 2; ++x)
        if (d.Px(x, y) == kWhite && x > right) right = x;
    return right;
  };
  const int small = width_of(f) - 6;
  const int big = width_of(Make(WS_POPUP | WS_CAPTION | WS_THICKFRAME)) - 6;
  EXPECT_LT(small, big);
}

TEST(NonClient, OtherFrameKindsAndEdges) {
  const int W = 60, H = 50;
  MemDC dc(W, H);
  // WS_BORDER: one black ring.
  Paint(dc, Make(WS_POPUP | WS_BORDER));
  EXPECT_EQ(dc.Px(0, 0), kBlack);
  EXPECT_EQ(dc.Px(W - 1, H - 1), kBlack);
  EXPECT_EQ(dc.Px(1, 1), kClient);
  // Static edge: shadow top-left, white bottom-right; with a border, a black ring inside.
  Paint(dc, Make(WS_POPUP, WS_EX_STATICEDGE));
  EXPECT_EQ(dc.Px(0, 0), kGray);
  EXPECT_EQ(dc.Px(W - 1, H - 1), kWhite);
  EXPECT_EQ(dc.Px(1, 1), kClient);
  Paint(dc, Make(WS_POPUP | WS_BORDER, WS_EX_STATICEDGE));
  EXPECT_EQ(dc.Px(1, 1), kBlack);
  EXPECT_EQ(dc.Px(2, 2), kClient);
  // Client edge: sunken, shadow/dark-shadow top-left, white/3DLIGHT bottom-right.
  Paint(dc, Make(WS_CHILD, WS_EX_CLIENTEDGE));
  EXPECT_EQ(dc.Px(0, 0), kGray);
  EXPECT_EQ(dc.Px(1, 1), kBlack);
  EXPECT_EQ(dc.Px(W - 1, H - 1), kWhite);
  EXPECT_EQ(dc.Px(W - 2, H - 2), kLight);
  EXPECT_EQ(dc.Px(2, 2), kClient);
  // Dialog modal frame: raised edge then a face ring, caption from row 3.
  Paint(dc, Make(kDialog, WS_EX_DLGMODALFRAME));
  EXPECT_EQ(dc.Px(0, 0), kLight);
  EXPECT_EQ(dc.Px(2, 30), kFace);
  EXPECT_EQ(dc.Px(3, 30), kClient);
  EXPECT_EQ(dc.Px(3, 3), kNavy);
  EXPECT_EQ(dc.Px(10, 21), kFace);
  EXPECT_EQ(dc.Px(10, 22), kClient);
  // No frame styles: nothing painted at all.
  Paint(dc, Make(WS_CHILD));
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) ASSERT_EQ(dc.Px(x, y), kClient);
  // A lone static edge with a caption draws a black line under it (static ring, black ring, bar).
  Paint(dc, Make(WS_POPUP | WS_CAPTION, WS_EX_STATICEDGE));
  EXPECT_EQ(dc.Px(10, 19), kNavy);
  EXPECT_EQ(dc.Px(10, 20), kBlack);
  EXPECT_EQ(dc.Px(10, 21), kClient);
}

TEST(NonClient, MenuBarAndClientEdgeSitBelowTheCaption) {
  const int W = 120, H = 90;
  MemDC dc(W, H);
  const Frame f = Make(WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE, true);
  SetSysColors(1, std::vector<INT>{COLOR_MENU}.data(), std::vector<COLORREF>{RGB(10, 20, 30)}.data());
  Paint(dc, f);
  SetSysColors(1, std::vector<INT>{COLOR_MENU}.data(), std::vector<COLORREF>{kFace}.data());
  EXPECT_EQ(dc.Px(50, 22), kFace);  // caption line
  for (int y = 23; y <= 40; ++y) EXPECT_EQ(dc.Px(50, y), RGB(10, 20, 30)) << y;
  EXPECT_EQ(dc.Px(50, 41), kFace);  // menu line
  EXPECT_EQ(dc.Px(50, 42), kGray);  // client edge
  EXPECT_EQ(dc.Px(50, 43), kBlack);
  EXPECT_EQ(dc.Px(50, 44), kClient);
  const RECT c = FrameClientRect(f, {0, 0, W, H});
  EXPECT_RECT(c, 6, 44, W - 6, H - 6);
  // Every pixel inside the client rect is untouched, every one outside painted.
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const bool in = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
      ASSERT_EQ(dc.Px(x, y) == kClient, in) << x << "," << y;
    }
}

TEST(NonClient, LongTitlesEndInAnEllipsisInsideTheTextRect) {
  const int W = 140, H = 40;
  MemDC dc(W, H);
  const Frame f = Make(WS_OVERLAPPEDWINDOW);
  Paint(dc, f, "A very long window title that cannot possibly fit");
  const CaptionButtons b = CaptionLayout(f, W, H);
  int last = -1;
  for (int y = b.bar.top; y < b.bar.bottom; ++y)
    for (int x = b.icon.right; x < b.minimize.left; ++x)
      if (dc.Px(x, y) == kWhite) last = std::max(last, x);
  EXPECT_GT(last, b.text.right - 12);
  EXPECT_LT(last, b.text.right);
  // Degenerate sizes and a missing DC do not crash or write anywhere.
  PaintFrame(nullptr, f, W, H, "x", user::kNoButton);
  MemDC tiny(5, 3);
  tiny.Fill(kClient);
  PaintFrame(tiny, f, 5, 3, "Title", user::kClosePressed);
  PaintFrame(tiny, f, 0, 0, "Title", user::kNoButton);
  PaintFrame(tiny, f, -10, 5, "Title", user::kNoButton);
}

TEST(NonClient, GallerySheet) {
  // A sheet of typical frames for looking at (written to the test output folder).
  MemDC dc(640, 360, RGB(0, 128, 128));
  struct Item {
    Frame f;
    RECT at;
    const char* title;
    user::ButtonPressed pressed;
  };
  Frame maxed = Make(WS_OVERLAPPEDWINDOW, 0, true);
  maxed.maximized = true;
  const Item items[] = {
      {Make(WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE, true), {10, 10, 250, 150}, "Showrama - Document1", user::kNoButton},
      {Make(WS_OVERLAPPEDWINDOW, 0, false, false), {270, 10, 470, 110}, "Inactive window", user::kNoButton},
      {Make(kDialog, WS_EX_DLGMODALFRAME), {490, 10, 630, 110}, "About", user::kClosePressed},
      {Make(kDialog, WS_EX_CONTEXTHELP), {270, 130, 470, 220}, "Properties", user::kNoButton},
      {Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW), {490, 130, 630, 220}, "Tools",
       user::kNoButton},
      {Make(kDialog | WS_MINIMIZEBOX | WS_THICKFRAME), {10, 170, 250, 260}, "Minimize only, a long caption text",
       user::kMinPressed},
      {maxed, {10, 280, 250, 350}, "Maximized", user::kNoButton},
      {Make(WS_CHILD, WS_EX_CLIENTEDGE), {270, 240, 350, 290}, nullptr, user::kNoButton},
      {Make(WS_POPUP | WS_BORDER, WS_EX_STATICEDGE), {370, 240, 450, 290}, nullptr, user::kNoButton},
      {Make(WS_POPUP | WS_BORDER), {270, 300, 350, 350}, nullptr, user::kNoButton},
      {Make(WS_CHILD | WS_THICKFRAME), {370, 300, 450, 350}, nullptr, user::kNoButton},
  };
  HBRUSH window = GetSysColorBrush(COLOR_WINDOW);
  for (const Item& it : items) {
    SaveDC(dc);
    SetViewportOrgEx(dc, it.at.left, it.at.top, nullptr);
    IntersectClipRect(dc, 0, 0, it.at.right - it.at.left, it.at.bottom - it.at.top);
    const RECT client = FrameClientRect(it.f, {0, 0, it.at.right - it.at.left, it.at.bottom - it.at.top});
    FillRect(dc, &client, window);
    PaintFrame(dc, it.f, it.at.right - it.at.left, it.at.bottom - it.at.top, it.title, it.pressed);
    RestoreDC(dc, -1);
  }
  dc.Save("nonclient_gallery");
  // The top-left corner of the first window and its buttons, enlarged four times.
  MemDC zoom(4 * 250, 4 * 40);
  StretchBlt(zoom, 0, 0, zoom.width(), zoom.height(), dc, 0, 0, 250, 40, SRCCOPY);
  zoom.Save("nonclient_gallery_zoom");
  // The sheet's first window: caption navy right after its frame, at the viewport offset.
  EXPECT_EQ(dc.Px(10 + 30, 10 + 4), kNavy);
}
