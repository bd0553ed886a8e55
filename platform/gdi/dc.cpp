#include "platform/gdi/dc.h"

#include <strings.h>

#include <cstring>

#include "platform/win32/draw.h"

namespace gdi {
namespace {

Surface& screen() {
  static Surface s;
  return s;
}

}  // namespace

void SetScreenSurface(const Surface& s) { screen() = s; }
const Surface& ScreenSurface() { return screen(); }

DeviceContext::DeviceContext(Kind kind)
    : Object(kind == Kind::Memory ? ObjectType::MemDC : ObjectType::DC), kind_(kind) {
  if (kind == Kind::Display) surface_ = ScreenSurface();
}

DeviceContext::~DeviceContext() {
  if (state_.bitmap && state_.bitmap->selected_into == this) state_.bitmap->selected_into = nullptr;
}

void DeviceContext::SetDeviceOrigin(POINT org) {
  device_org_ = org;
  clip_valid_ = false;
}

void DeviceContext::SetVisibleRegion(std::optional<Region> vis) {
  visible_ = std::move(vis);
  clip_valid_ = false;
}

void DeviceContext::AttachSurface(const Surface& s) {
  surface_ = s;
  clip_valid_ = false;
}

void DeviceContext::SelectBitmap(std::shared_ptr<Bitmap> bmp) {
  if (state_.bitmap && state_.bitmap->selected_into == this) state_.bitmap->selected_into = nullptr;
  state_.bitmap = std::move(bmp);
  if (state_.bitmap) {
    if (!state_.bitmap->stock()) state_.bitmap->selected_into = this;
    surface_ = state_.bitmap->surface;
  } else {
    surface_ = Surface{};
  }
  clip_valid_ = false;
}

const Region& DeviceContext::EffectiveClip() {
  if (clip_valid_) return clip_cache_;
  if (!surface_.valid()) {
    clip_cache_.SetEmpty();
  } else {
    Region r = visible_ ? visible_->Intersected(surface_.bounds()) : Region(surface_.bounds());
    if (state_.clip) {
      Region c = *state_.clip;
      c.Offset(device_org_.x, device_org_.y);
      r = Region::Combine(r, c, RGN_AND);
    }
    clip_cache_ = std::move(r);
  }
  clip_valid_ = true;
  return clip_cache_;
}

COLORREF ResolvePaletteColor(COLORREF c, const Palette* pal) {
  const DWORD flags = c >> 24;
  if (flags == 0x01) {  // PALETTEINDEX
    const WORD index = static_cast<WORD>(c & 0xFFFF);
    if (pal && index < pal->entries.size()) {
      const PALETTEENTRY& e = pal->entries[index];
      return RGB(e.peRed, e.peGreen, e.peBlue);
    }
    return RGB(0, 0, 0);
  }
  return c & 0x00FFFFFF;  // PALETTERGB and plain RGB are exact on true-colour surfaces
}

Pixel DeviceContext::Resolve(COLORREF c) const {
  return MapToSurface(surface_, ToPixel(ResolvePaletteColor(c, state_.palette.get())));
}

COLORREF DeviceContext::PenColor() const {
  if (!state_.pen) return RGB(0, 0, 0);
  return state_.pen->dc_pen ? state_.dc_pen_color : state_.pen->color;
}

COLORREF DeviceContext::BrushColor() const {
  if (!state_.brush) return RGB(255, 255, 255);
  return state_.brush->dc_brush ? state_.dc_brush_color : state_.brush->color;
}

}  // namespace gdi

// ---------------------------------------------------------------------------------------
// Win32 entry points

using gdi::DeviceContext;

namespace {

DeviceContext* DC(HDC hdc) { return gdi::Get<DeviceContext>(hdc); }

// Every new DC starts with the stock objects selected, as on Win32.
void InitDefaults(DeviceContext& dc) {
  auto& st = dc.state();
  st.pen = gdi::GetShared<gdi::Pen>(GetStockObject(BLACK_PEN));
  st.brush = gdi::GetShared<gdi::Brush>(GetStockObject(WHITE_BRUSH));
  st.font = gdi::GetShared<gdi::Font>(GetStockObject(SYSTEM_FONT));
  st.palette = gdi::GetShared<gdi::Palette>(GetStockObject(DEFAULT_PALETTE));
}

template <class T>
T SwapValue(HDC hdc, T gdi::DCState::*member, T value, T failure) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return failure;
  T old = dc->state().*member;
  dc->state().*member = value;
  return old;
}

template <class T>
T ReadValue(HDC hdc, T gdi::DCState::*member, T failure) {
  DeviceContext* dc = DC(hdc);
  return dc ? dc->state().*member : failure;
}

BOOL SetOrigin(HDC hdc, POINT gdi::DCState::*member, int x, int y, LPPOINT old, bool relative) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  POINT& p = dc->state().*member;
  if (old) *old = p;
  if (relative) {
    p.x += x;
    p.y += y;
  } else {
    p = POINT{x, y};
  }
  return TRUE;
}

}  // namespace

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !DC(hdc)) return nullptr;
  auto dc = std::make_shared<DeviceContext>(DeviceContext::Kind::Memory);
  InitDefaults(*dc);
  dc->SelectBitmap(gdi::DefaultBitmap());
  return static_cast<HDC>(gdi::Register(dc));
}

HDC CreateDC(LPCSTR driver, LPCSTR, LPCSTR, const void*) {
  if (!driver || strcasecmp(driver, "DISPLAY") != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const bool has_screen = gdi::ScreenSurface().valid();
  auto dc = std::make_shared<DeviceContext>(has_screen ? DeviceContext::Kind::Display : DeviceContext::Kind::Info);
  InitDefaults(*dc);
  return static_cast<HDC>(gdi::Register(dc));
}

BOOL DeleteDC(HDC hdc) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  dc->SelectBitmap(nullptr);
  dc->saved().clear();
  gdi::Unregister(hdc);
  return TRUE;
}

int SaveDC(HDC hdc) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return 0;
  dc->saved().push_back(dc->state());
  return static_cast<int>(dc->saved().size());
}

BOOL RestoreDC(HDC hdc, int saved) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  auto& stack = dc->saved();
  const int depth = static_cast<int>(stack.size());
  // Negative counts back from the top of the stack; 0 or out of range fails.
  const int level = saved < 0 ? depth + saved + 1 : saved;
  if (saved == 0 || level < 1 || level > depth) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  gdi::DCState restored = std::move(stack[level - 1]);
  stack.resize(level - 1);
  // The selected bitmap belongs to the DC, not to its saved states.
  auto bitmap = restored.bitmap;
  restored.bitmap = dc->state().bitmap;
  dc->state() = std::move(restored);
  if (bitmap != dc->state().bitmap && bitmap && !bitmap->selected_into) dc->SelectBitmap(bitmap);
  dc->ClipChanged();
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return 0;
  const gdi::Surface& s = dc->kind() == DeviceContext::Kind::Info ? gdi::ScreenSurface() : dc->surface();
  const bool mono = dc->surface().monochrome && dc->kind() == DeviceContext::Kind::Memory;
  switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return dc->kind() == DeviceContext::Kind::Info && !s.valid() ? 1024 : s.width;
    case VERTRES: return dc->kind() == DeviceContext::Kind::Info && !s.valid() ? 768 : s.height;
    case DESKTOPHORZRES: return gdi::ScreenSurface().valid() ? gdi::ScreenSurface().width : 1024;
    case DESKTOPVERTRES: return gdi::ScreenSurface().valid() ? gdi::ScreenSurface().height : 768;
    case HORZSIZE: return MulDiv(GetDeviceCaps(hdc, HORZRES), 254, 960);
    case VERTSIZE: return MulDiv(GetDeviceCaps(hdc, VERTRES), 254, 960);
    case BITSPIXEL: return mono ? 1 : 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;  // more than 256 colours
    case NUMFONTS: return 0;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;  // no palette device
    case COLORRES: return 24;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_FLOODFILL | RC_STRETCHDIB;
    case CURVECAPS: return 0x1FF;
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return 0x7807;
    case CLIPCAPS: return 1;
    default: return 0;
  }
}

COLORREF SetTextColor(HDC hdc, COLORREF c) { return SwapValue(hdc, &gdi::DCState::text_color, c, CLR_INVALID); }
COLORREF GetTextColor(HDC hdc) { return ReadValue(hdc, &gdi::DCState::text_color, CLR_INVALID); }
COLORREF SetBkColor(HDC hdc, COLORREF c) { return SwapValue(hdc, &gdi::DCState::bk_color, c, CLR_INVALID); }
COLORREF GetBkColor(HDC hdc) { return ReadValue(hdc, &gdi::DCState::bk_color, CLR_INVALID); }

int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SwapValue(hdc, &gdi::DCState::bk_mode, mode, 0);
}
int GetBkMode(HDC hdc) { return ReadValue(hdc, &gdi::DCState::bk_mode, 0); }

int SetROP2(HDC hdc, int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SwapValue(hdc, &gdi::DCState::rop2, rop2, 0);
}
int GetROP2(HDC hdc) { return ReadValue(hdc, &gdi::DCState::rop2, 0); }

int SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SwapValue(hdc, &gdi::DCState::stretch_mode, mode, 0);
}
int GetStretchBltMode(HDC hdc) { return ReadValue(hdc, &gdi::DCState::stretch_mode, 0); }

int SetPolyFillMode(HDC hdc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SwapValue(hdc, &gdi::DCState::poly_fill_mode, mode, 0);
}
int GetPolyFillMode(HDC hdc) { return ReadValue(hdc, &gdi::DCState::poly_fill_mode, 0); }

int SetArcDirection(HDC hdc, int dir) {
  if (dir != AD_COUNTERCLOCKWISE && dir != AD_CLOCKWISE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SwapValue(hdc, &gdi::DCState::arc_direction, dir, 0);
}
int GetArcDirection(HDC hdc) { return ReadValue(hdc, &gdi::DCState::arc_direction, 0); }

int SetMapMode(HDC hdc, int mode) {
  if (mode != MM_TEXT) {  // only the pixel mapping exists here
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return SwapValue(hdc, &gdi::DCState::map_mode, mode, 0);
}
int GetMapMode(HDC hdc) { return ReadValue(hdc, &gdi::DCState::map_mode, 0); }

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  return SetOrigin(hdc, &gdi::DCState::brush_org, x, y, old, false);
}
BOOL GetBrushOrgEx(HDC hdc, LPPOINT org) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !org) return FALSE;
  *org = dc->state().brush_org;
  return TRUE;
}

int SetTextCharacterExtra(HDC hdc, int extra) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return static_cast<int>(0x80000000);
  return SwapValue(hdc, &gdi::DCState::char_extra, extra, 0);
}
int GetTextCharacterExtra(HDC hdc) {
  DeviceContext* dc = DC(hdc);
  return dc ? dc->state().char_extra : static_cast<int>(0x80000000);
}

COLORREF SetDCBrushColor(HDC hdc, COLORREF c) { return SwapValue(hdc, &gdi::DCState::dc_brush_color, c, CLR_INVALID); }
COLORREF GetDCBrushColor(HDC hdc) { return ReadValue(hdc, &gdi::DCState::dc_brush_color, CLR_INVALID); }
COLORREF SetDCPenColor(HDC hdc, COLORREF c) { return SwapValue(hdc, &gdi::DCState::dc_pen_color, c, CLR_INVALID); }
COLORREF GetDCPenColor(HDC hdc) { return ReadValue(hdc, &gdi::DCState::dc_pen_color, CLR_INVALID); }

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  return SetOrigin(hdc, &gdi::DCState::viewport_org, x, y, old, false);
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  return SetOrigin(hdc, &gdi::DCState::viewport_org, dx, dy, old, true);
}
BOOL GetViewportOrgEx(HDC hdc, LPPOINT org) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !org) return FALSE;
  *org = dc->state().viewport_org;
  return TRUE;
}
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  return SetOrigin(hdc, &gdi::DCState::window_org, x, y, old, false);
}
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  return SetOrigin(hdc, &gdi::DCState::window_org, dx, dy, old, true);
}
BOOL GetWindowOrgEx(HDC hdc, LPPOINT org) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !org) return FALSE;
  *org = dc->state().window_org;
  return TRUE;
}

BOOL LPtoDP(HDC hdc, LPPOINT pts, int count) {
  DeviceContext* dc = DC(hdc);
  if (!dc || (count > 0 && !pts)) return FALSE;
  for (int i = 0; i < count; ++i) pts[i] = dc->ToDevice(pts[i]);
  return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT pts, int count) {
  DeviceContext* dc = DC(hdc);
  if (!dc || (count > 0 && !pts)) return FALSE;
  for (int i = 0; i < count; ++i) pts[i] = dc->FromDevice(pts[i]);
  return TRUE;
}

BOOL GetDCOrgEx(HDC hdc, LPPOINT org) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !org) return FALSE;
  *org = dc->device_origin();
  return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  return SetOrigin(hdc, &gdi::DCState::current_pos, x, y, old, false);
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pos) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !pos) return FALSE;
  *pos = dc->state().current_pos;
  return TRUE;
}
