// Pixels and the USER rectangle fills: SetPixel, GetPixel, FillRect, FrameRect, InvertRect.
#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"
#include "platform/win32/draw.h"

using gdi::DeviceContext;

namespace {

// FillRect and FrameRect also take a system colour index plus one in place of a brush.
gdi::Brush* BrushArg(HBRUSH brush) {
  const auto v = reinterpret_cast<uintptr_t>(brush);
  if (v > 0 && v <= static_cast<uintptr_t>(SYSTEM_COLOR_COUNT))
    return gdi::Get<gdi::Brush>(GetSysColorBrush(static_cast<int>(v - 1)));
  return gdi::Get<gdi::Brush>(brush);
}

bool PixelTarget(DeviceContext& dc, int x, int y, POINT& out) {
  out = dc.ToSurface(POINT{x, y});
  return dc.EffectiveClip().Contains(out.x, out.y);
}

}  // namespace

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return CLR_INVALID;
  POINT p;
  if (!PixelTarget(*dc, x, y, p)) return CLR_INVALID;
  const gdi::Pixel px = dc->Resolve(color);
  dc->surface().Row(p.y)[p.x] = px;  // SetPixel ignores the ROP2 mode
  return gdi::ToColorRef(px);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
  return SetPixel(hdc, x, y, color) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return CLR_INVALID;
  POINT p;
  if (!PixelTarget(*dc, x, y, p)) return CLR_INVALID;
  return gdi::ToColorRef(dc->surface().Row(p.y)[p.x] & gdi::kPixelMask);
}

int FillRect(HDC hdc, const RECT* rc, HBRUSH brush) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  gdi::Brush* b = BrushArg(brush);
  if (!dc || !b || !rc) return 0;
  gdi::FillLogicalRect(*dc, *rc, gdi::BrushInk(*dc, b, R2_COPYPEN));
  return 1;
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  gdi::Brush* b = BrushArg(brush);
  if (!dc || !b || !rc) return 0;
  if (rc->right <= rc->left || rc->bottom <= rc->top) return 1;
  const gdi::Ink ink = gdi::BrushInk(*dc, b, R2_COPYPEN);
  const RECT strips[4] = {
      {rc->left, rc->top, rc->right, rc->top + 1},
      {rc->left, rc->bottom - 1, rc->right, rc->bottom},
      {rc->left, rc->top, rc->left + 1, rc->bottom},
      {rc->right - 1, rc->top, rc->right, rc->bottom},
  };
  for (const RECT& s : strips) gdi::FillLogicalRect(*dc, s, ink);
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rc) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc || !rc) return FALSE;
  gdi::FillLogicalRect(*dc, *rc, gdi::Ink::Solid(R2_NOT, 0));
  return TRUE;
}
