// A small program on the platform layer alone: two overlapping framed windows, a child window
// that paints, and a subclass hook that recolours one caption. Runs in a real window (SDL)
// or headless; `--png FILE` renders headless into a PNG and exits.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/user/desktop.h"
#include "platform/win32.h"

namespace {

LRESULT CALLBACK_Frame(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY && GetWindowLong(hwnd, GWL_ID) == 1) PostQuitMessage(0);
  return DefWindowProc(hwnd, msg, wp, lp);
}

// Paints a striped panel with a caption of its own.
LRESULT Panel(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProc(hwnd, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  for (int y = 0; y < rc.bottom; y += 8) {
    RECT band{0, y, rc.right, y + 8};
    HBRUSH b = CreateSolidBrush(RGB(255 - y, 200, 100 + y / 2));
    FillRect(dc, &band, b);
    DeleteObject(b);
  }
  DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
  SetBkMode(dc, TRANSPARENT);
  DrawText(dc, "A child window that paints", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EndPaint(hwnd, &ps);
  return 0;
}

// A subclass hook: repaints the caption bar of its window in green after the frame is drawn.
void HookCaption(HWND hwnd) {
  auto next = std::make_shared<WNDPROC>();
  *next = SetWindowProc(hwnd, [next](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    const LRESULT r = CallWindowProc(*next, h, msg, wp, lp);
    if (msg == WM_NCPAINT || msg == WM_NCACTIVATE) {
      RECT wr;
      GetWindowRect(h, &wr);
      HDC dc = GetWindowDC(h);
      const int frame = GetSystemMetrics(SM_CXDLGFRAME);
      RECT bar{frame, frame, wr.right - wr.left - frame - 58, frame + GetSystemMetrics(SM_CYCAPTION) - 1};
      HBRUSH b = CreateSolidBrush(RGB(0, 128, 0));
      FillRect(dc, &bar, b);
      DeleteObject(b);
      char text[128];
      GetWindowText(h, text, sizeof text);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      HFONT font = CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
      HGDIOBJ old = SelectObject(dc, font);
      bar.left += 4;
      DrawText(dc, text, -1, &bar, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      SelectObject(dc, old);
      DeleteObject(font);
      ReleaseDC(h, dc);
    }
    return r;
  });
}

}  // namespace

int main(int argc, char** argv) {
  const char* png = nullptr;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) png = argv[++i];

  std::string error;
  const bool opened = png ? desktop::OpenHeadless(800, 600) : desktop::Open(&error);
  if (!opened) {
    std::fprintf(stderr, "windows_demo: %s\n", error.empty() ? "cannot open the display" : error.c_str());
    return 1;
  }

  WNDCLASSEX frame{};
  frame.cbSize = sizeof frame;
  frame.lpfnWndProc = CALLBACK_Frame;
  frame.hCursor = LoadCursor(nullptr, IDC_ARROW);
  frame.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
  frame.lpszClassName = "DemoFrame";
  RegisterClassEx(&frame);
  WNDCLASSEX panel = frame;
  panel.lpfnWndProc = Panel;
  panel.lpszClassName = "DemoPanel";
  RegisterClassEx(&panel);

  HWND first = CreateWindowEx(0, "DemoFrame", "First window (close me to quit)", WS_OVERLAPPEDWINDOW, 60, 50, 420,
                              300, nullptr, reinterpret_cast<HMENU>(1), nullptr, nullptr);
  SetWindowLong(first, GWL_ID, 1);
  CreateWindowEx(0, "DemoPanel", "", WS_CHILD | WS_VISIBLE, 20, 20, 360, 120, first, nullptr, nullptr, nullptr);
  HWND second = CreateWindowEx(WS_EX_DLGMODALFRAME, "DemoFrame", "Second window, caption recoloured by a hook",
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 300, 220, 400, 260, nullptr, nullptr, nullptr,
                               nullptr);
  HookCaption(second);
  ShowWindow(first, SW_SHOW);
  ShowWindow(second, SW_SHOW);

  if (png) {
    desktop::Pump();
    if (!desktop::SaveScreen(png, &error)) {
      std::fprintf(stderr, "windows_demo: cannot write %s: %s\n", png, error.c_str());
      return 1;
    }
    return 0;
  }
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return static_cast<int>(msg.wParam);
}
