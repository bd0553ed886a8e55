// The platform's about box: a small modal dialog-frame window with the application's name,
// the platform's, the caller's text, the user and the memory, and an OK button.
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

constexpr char kClass[] = "ShowramaShellAbout";
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kMinClientWidth = 300;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

struct AboutBox {
  std::vector<std::string> lines;  // an empty line draws the etched separator
  RECT button{};
  int line_height = 16;
  bool pressed = false;   // the pointer holds the button down over it
  bool tracking = false;  // the button has the capture
  bool done = false;
};

std::string UserName() {
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name && *pw->pw_name) return pw->pw_name;
  return "unknown";
}

std::string MemoryLine() {
  const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || size <= 0) return {};
  const unsigned long long kb = static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(size) / 1024;
  std::string digits = std::to_string(kb), grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return "Physical memory: " + grouped + " KB";
}

void SplitLines(const std::string& text, std::vector<std::string>& out) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line.empty() ? " " : line);  // a blank line of the caller's is not a separator
    start = end + 1;
  }
}

void Paint(HWND hwnd, AboutBox& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  int y = kMargin;
  for (const auto& line : box.lines) {
    if (line.empty()) {
      RECT sep{kMargin, y + box.line_height / 2 - 1, client.right - kMargin, y + box.line_height / 2 + 1};
      DrawEdge(dc, &sep, EDGE_ETCHED, BF_TOP);
    } else {
      RECT r{kMargin, y, client.right - kMargin, y + box.line_height};
      DrawText(dc, line.c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    y += box.line_height;
  }
  RECT b = box.button;
  DrawFrameControl(dc, &b, DFC_BUTTON, DFCS_BUTTONPUSH | (box.pressed ? DFCS_PUSHED : 0));
  RECT label = box.button;
  if (box.pressed) OffsetRect(&label, 1, 1);  // a pushed face moves its caption down and right
  DrawText(dc, "OK", -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT focus = box.button;
  InflateRect(&focus, -4, -4);
  DrawFocusRect(dc, &focus);  // the default button has the focus
  SelectObject(dc, old_font);
  EndPaint(hwnd, &ps);
}

void SetPressed(HWND hwnd, AboutBox& box, bool pressed) {
  if (box.pressed == pressed) return;
  box.pressed = pressed;
  InvalidateRect(hwnd, &box.button, FALSE);
}

LRESULT Proc(AboutBox& box, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint(hwnd, box);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (PtInRect(&box.button, pt)) {
        box.tracking = true;
        SetCapture(hwnd);
        SetPressed(hwnd, box, true);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (box.tracking) SetPressed(hwnd, box, PtInRect(&box.button, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
      return 0;
    case WM_LBUTTONUP:
      if (box.tracking) {
        const bool inside = PtInRect(&box.button, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        box.tracking = false;
        SetPressed(hwnd, box, false);
        ReleaseCapture();
        if (inside) box.done = true;
      }
      return 0;
    case WM_CAPTURECHANGED:
      box.tracking = false;
      SetPressed(hwnd, box, false);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_RETURN || wp == VK_ESCAPE || wp == VK_SPACE) box.done = true;
      return 0;
    case WM_CLOSE:
      box.done = true;  // the loop puts the owner back before the box goes
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wp, lp);
  }
}

bool RegisterOnce() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEX wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); };
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClass;
  registered = RegisterClassEx(&wc) != 0;
  return registered;
}

// The top-level window a dialog of hwnd belongs to.
HWND TopLevel(HWND hwnd) {
  while (hwnd && (GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD) && GetParent(hwnd)) hwnd = GetParent(hwnd);
  return hwnd;
}

}  // namespace

INT ShellAbout(HWND hwnd, LPCSTR app, LPCSTR otherStuff, HICON) {
  if (!app) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (hwnd && !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!RegisterOnce()) return FALSE;

  const std::string text = app;
  const size_t hash = text.find('#');
  const std::string title = "About " + text.substr(0, hash);
  const std::string first = hash == std::string::npos ? text : text.substr(hash + 1);

  AboutBox box;
  box.lines.push_back(first.empty() ? " " : first);
  box.lines.push_back("Showrama platform");
  if (otherStuff && *otherStuff) SplitLines(otherStuff, box.lines);
  box.lines.push_back("");
  box.lines.push_back("This product is licensed to:");
  box.lines.push_back(UserName());
  if (std::string mem = MemoryLine(); !mem.empty()) box.lines.push_back(mem);

  // Measure with the font the box paints with.
  int width = kMinClientWidth;
  {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRIC tm{};
    if (GetTextMetrics(dc, &tm)) box.line_height = tm.tmHeight + tm.tmExternalLeading + 2;
    for (const auto& line : box.lines) {
      SIZE sz{};
      if (GetTextExtentPoint32(dc, line.c_str(), static_cast<int>(line.size()), &sz))
        width = std::max(width, static_cast<int>(sz.cx) + 2 * kMargin);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  width = std::min(width, std::max(kMinClientWidth, screen_w - 40));  // long lines end in an ellipsis
  const int text_bottom = kMargin + box.line_height * static_cast<int>(box.lines.size());
  box.button = {(width - kButtonWidth) / 2, text_bottom + kMargin, (width + kButtonWidth) / 2,
                text_bottom + kMargin + kButtonHeight};
  RECT frame{0, 0, width, box.button.bottom + kMargin};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;

  HWND owner = TopLevel(hwnd);
  HWND about = CreateWindowEx(kExStyle, kClass, title.c_str(), kStyle, (screen_w - w) / 2, (screen_h - h) / 2, w,
                              h, owner, nullptr, nullptr, nullptr);
  if (!about) return FALSE;
  SetWindowProc(about, [&box](HWND h2, UINT m, WPARAM w2, LPARAM l) { return Proc(box, h2, m, w2, l); });

  const bool owner_enabled = owner && IsWindowEnabled(owner);
  if (owner_enabled) EnableWindow(owner, FALSE);
  ShowWindow(about, SW_SHOW);
  SetActiveWindow(about);
  SetFocus(about);
  UpdateWindow(about);

  MSG msg;
  bool quit = false;
  int quit_code = 0;
  while (!box.done && IsWindow(about)) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      quit_code = static_cast<int>(msg.wParam);
      break;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }

  // The owner comes back before the box goes, so activation returns to it, not elsewhere.
  if (owner_enabled) EnableWindow(owner, TRUE);
  if (IsWindow(about)) {
    SetWindowProc(about, [](HWND h2, UINT m, WPARAM w2, LPARAM l) { return DefWindowProc(h2, m, w2, l); });
    DestroyWindow(about);
  }
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  if (quit) PostQuitMessage(quit_code);  // the program's own loop must still see it
  return TRUE;
}
