// The system colours of the classic "Windows Standard" scheme, and their stock brushes.
#include <array>

#include "platform/gdi/objects.h"
#include "platform/win32/draw.h"

namespace {

std::array<COLORREF, SYSTEM_COLOR_COUNT> colors = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(192, 192, 192),  // 25: alternate button face
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    RGB(184, 180, 184),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 0, 128),      // COLOR_MENUHILIGHT
    RGB(192, 192, 192),  // COLOR_MENUBAR
};

// One stock brush per colour, made on first use and recoloured by SetSysColors.
std::array<HBRUSH, SYSTEM_COLOR_COUNT>& brushes() {
  static std::array<HBRUSH, SYSTEM_COLOR_COUNT> b{};
  return b;
}

}  // namespace

DWORD GetSysColor(int index) {
  if (index < 0 || index >= SYSTEM_COLOR_COUNT) return 0;
  return colors[static_cast<size_t>(index)];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= SYSTEM_COLOR_COUNT) return nullptr;
  HBRUSH& h = brushes()[static_cast<size_t>(index)];
  if (!h) {
    auto brush = std::make_shared<gdi::Brush>();
    brush->color = colors[static_cast<size_t>(index)];
    brush->set_stock();
    h = static_cast<HBRUSH>(gdi::Register(brush));
  }
  return h;
}

BOOL SetSysColors(int count, const INT* indices, const COLORREF* values) {
  if (count < 0 || (count > 0 && (!indices || !values))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (int i = 0; i < count; ++i) {
    const int index = indices[i];
    if (index < 0 || index >= SYSTEM_COLOR_COUNT) continue;
    colors[static_cast<size_t>(index)] = values[i] & 0x00FFFFFF;
    if (HBRUSH h = brushes()[static_cast<size_t>(index)])
      if (auto* b = gdi::Get<gdi::Brush>(h)) b->color = colors[static_cast<size_t>(index)];
  }
  return TRUE;
}
