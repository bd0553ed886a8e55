// System metrics of a classic 96-DPI desktop with the version-4 shell, and the window-rect
// arithmetic built on them.
#include "platform/gdi/dc.h"
#include "platform/win32.h"

namespace {

// Most metrics are constants; a few follow the screen the display backend attached.
enum class Rule : unsigned char {
  kFixed,
  kScreenWidth,           // value unused
  kScreenHeight,          // value unused
  kScreenHeightLessCaption,
  kScreenWidthPlus,       // screen width + value
  kScreenHeightPlus,      // screen height + value
};

struct Metric {
  int index;
  int value;
  Rule rule = Rule::kFixed;
};

constexpr int kCaption = 19;  // iCaptionHeight 18 + the line under the caption bar
constexpr int kFrame = 4;     // dialog frame 3 + iBorderWidth 1

// The one table. Maximized windows put their sizing frame just off the screen, so the
// maximized size is the screen plus the frame on both sides; tracking allows a little more.
constexpr Metric kMetrics[] = {
    {SM_CXSCREEN, 0, Rule::kScreenWidth},
    {SM_CYSCREEN, 0, Rule::kScreenHeight},
    {SM_CXVSCROLL, 16},
    {SM_CYHSCROLL, 16},
    {SM_CYCAPTION, kCaption},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 16},
    {SM_CXHTHUMB, 16},
    {SM_CXICON, 32},
    {SM_CYICON, 32},
    {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},
    {SM_CYMENU, 19},
    {SM_CXFULLSCREEN, 0, Rule::kScreenWidth},
    {SM_CYFULLSCREEN, 0, Rule::kScreenHeightLessCaption},
    {SM_CYVSCROLL, 16},
    {SM_CXHSCROLL, 16},
    {SM_SWAPBUTTON, 0},
    {SM_CXMIN, 112},
    {SM_CYMIN, 27},
    {SM_CXSIZE, 18},
    {SM_CYSIZE, 18},
    {SM_CXFRAME, kFrame},
    {SM_CYFRAME, kFrame},
    {SM_CXMINTRACK, 112},
    {SM_CYMINTRACK, 27},
    {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4},
    {SM_CXICONSPACING, 75},
    {SM_CYICONSPACING, 75},
    {SM_MENUDROPALIGNMENT, 0},
    {SM_CMOUSEBUTTONS, 3},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
    {SM_CXSMICON, 16},
    {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 16},
    {SM_CXSMSIZE, 13},
    {SM_CYSMSIZE, 15},
    {SM_CXMENUSIZE, 18},
    {SM_CYMENUSIZE, 18},
    {SM_CXMINIMIZED, 160},
    {SM_CYMINIMIZED, 24},
    {SM_CXMAXTRACK, 4 + 2 * kFrame, Rule::kScreenWidthPlus},
    {SM_CYMAXTRACK, 4 + 2 * kFrame, Rule::kScreenHeightPlus},
    {SM_CXMAXIMIZED, 2 * kFrame, Rule::kScreenWidthPlus},
    {SM_CYMAXIMIZED, 2 * kFrame, Rule::kScreenHeightPlus},
    {SM_CXDRAG, 4},
    {SM_CYDRAG, 4},
    {SM_CXMENUCHECK, 13},
    {SM_CYMENUCHECK, 13},
    {SM_MOUSEWHEELPRESENT, 1},
    {SM_CXVIRTUALSCREEN, 0, Rule::kScreenWidth},
    {SM_CYVIRTUALSCREEN, 0, Rule::kScreenHeight},
    {SM_CMONITORS, 1},
    {SM_CXFOCUSBORDER, 1},
    {SM_CYFOCUSBORDER, 1},
};

int ScreenWidth() {
  const gdi::Surface& s = gdi::ScreenSurface();
  return s.valid() ? s.width : 1024;
}

int ScreenHeight() {
  const gdi::Surface& s = gdi::ScreenSurface();
  return s.valid() ? s.height : 768;
}

}  // namespace

int GetSystemMetrics(int index) {
  for (const Metric& m : kMetrics) {
    if (m.index != index) continue;
    switch (m.rule) {
      case Rule::kFixed: return m.value;
      case Rule::kScreenWidth: return ScreenWidth();
      case Rule::kScreenHeight: return ScreenHeight();
      case Rule::kScreenHeightLessCaption: return ScreenHeight() - kCaption;
      case Rule::kScreenWidthPlus: return ScreenWidth() + m.value;
      case Rule::kScreenHeightPlus: return ScreenHeight() + m.value;
    }
  }
  return 0;
}

// Works from the metrics alone, ring by ring, the way the frame is documented to be built; the
// painter and the default WM_NCCALCSIZE answer are checked against it in the tests.
BOOL AdjustWindowRectEx(LPRECT rc, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  int ring = 0;
  if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
    ring = GetSystemMetrics(SM_CXBORDER);  // the sunken outer line
  else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME)))
    ring = GetSystemMetrics(SM_CXEDGE);    // the raised edge
  if (style & WS_THICKFRAME) ring += GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME);
  if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) ring += GetSystemMetrics(SM_CXBORDER);
  InflateRect(rc, ring, ring);
  if ((style & WS_CAPTION) == WS_CAPTION)
    rc->top -= GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  if (menu) rc->top -= GetSystemMetrics(SM_CYMENU);
  if (exStyle & WS_EX_CLIENTEDGE) InflateRect(rc, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rc, DWORD style, BOOL menu) { return AdjustWindowRectEx(rc, style, menu, 0); }
