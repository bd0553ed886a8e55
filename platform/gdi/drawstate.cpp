// DrawState and GrayString. An image in a state other than normal is first drawn black on
// white into a monochrome memory bitmap; the shape read back from it is then painted on the
// destination in spans (state_image.h), never blitted.
#include <climits>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/state_image.h"
#include "platform/win32/draw.h"
#include "platform/win32/text.h"

namespace {

constexpr UINT kTypeMask = 0x000F;
constexpr UINT kStateMask = 0x7FF0;

// A white monochrome memory DC of the image's size, set up to draw the image black on white
// in the reference DC's font.
class MaskCanvas {
 public:
  MaskCanvas(HDC reference, int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(reference);
    bitmap_ = CreateBitmap(width, height, 1, 1, nullptr);
    if (!dc_ || !bitmap_) return;
    old_bitmap_ = SelectObject(dc_, bitmap_);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkColor(dc_, RGB(255, 255, 255));
    if (HGDIOBJ font = GetCurrentObject(reference, OBJ_FONT)) old_font_ = SelectObject(dc_, font);
  }
  ~MaskCanvas() {
    if (dc_) {
      if (old_font_) SelectObject(dc_, old_font_);
      if (old_bitmap_) SelectObject(dc_, old_bitmap_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
  }
  MaskCanvas(const MaskCanvas&) = delete;
  MaskCanvas& operator=(const MaskCanvas&) = delete;

  bool ok() const { return dc_ && bitmap_ && old_bitmap_; }
  HDC dc() const { return dc_; }
  gdi::ShapeMask Shape() const {
    const gdi::Bitmap* bmp = gdi::Get<gdi::Bitmap>(bitmap_);
    return bmp ? gdi::ShapeMask::FromSurface(bmp->surface, width_, height_, gdi::kWhite) : gdi::ShapeMask();
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  HGDIOBJ old_font_ = nullptr;
};

}  // namespace

BOOL DrawState(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx,
               int cy, UINT flags) {
  gdi::DeviceContext* dc = gdi::Get<gdi::DeviceContext>(hdc);
  if (!dc) return FALSE;
  const UINT type = flags & kTypeMask;
  const UINT state = flags & kStateMask;

  const char* text = nullptr;
  int length = 0;
  std::shared_ptr<gdi::Bitmap> bitmap;
  SIZE natural{0, 0};
  switch (type) {
    case DST_TEXT:
    case DST_PREFIXTEXT:
      text = reinterpret_cast<const char*>(lData);
      if (!text) return FALSE;  // as on Win32, without an error code
      if (wData > static_cast<WPARAM>(INT_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      length = wData ? static_cast<int>(wData) : static_cast<int>(std::strlen(text));
      if ((!cx || !cy) && !GetTextExtentPoint32(hdc, text, length, &natural)) return FALSE;
      break;
    case DST_BITMAP:
      bitmap = gdi::GetShared<gdi::Bitmap>(reinterpret_cast<HGDIOBJ>(lData));
      if (!bitmap) return FALSE;
      natural = SIZE{bitmap->surface.width, bitmap->surface.height};
      break;
    case DST_COMPLEX:
      // The procedure draws the image; only the caller knows its size.
      if (!proc || !cx || !cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      break;
    case DST_ICON:  // there are no icon objects in this GDI: no handle can name one
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  if (!cx) cx = natural.cx;
  if (!cy) cy = natural.cy;
  if (cx < 0 || cy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }

  UINT text_format = DT_NOCLIP;
  if (flags & DSS_RIGHT) text_format |= DT_RIGHT;
  if (type == DST_TEXT) text_format |= DT_NOPREFIX;
  if (type == DST_PREFIXTEXT && (state & DSS_HIDEPREFIX)) text_format |= DT_HIDEPREFIX;
  if (type == DST_PREFIXTEXT && (state & DSS_PREFIXONLY)) text_format |= DT_PREFIXONLY;

  // Draws a text or application-drawn image with its top-left corner at (ox, oy); a
  // procedure given with text draws the text itself.
  auto render = [&](HDC target, int ox, int oy) -> BOOL {
    if (proc) {
      POINT old{0, 0};
      OffsetViewportOrgEx(target, ox, oy, &old);
      const BOOL ok = proc(target, lData, wData, cx, cy);
      SetViewportOrgEx(target, old.x, old.y, nullptr);
      return ok;
    }
    RECT rc{ox, oy, ox + cx, oy + cy};
    return DrawText(target, text, length, &rc, text_format) != 0;
  };

  if ((state & ~(DSS_HIDEPREFIX | DSS_PREFIXONLY)) == DSS_NORMAL) {
    if (type != DST_BITMAP) return render(hdc, x, y);
    gdi::CopyBitmapPixels(*dc, *bitmap, x, y, cx, cy);
    return TRUE;
  }

  const gdi::Brush* fore = nullptr;
  if (brush && !(state & DSS_DISABLED)) {
    fore = gdi::Get<gdi::Brush>(brush);
    if (!fore) return FALSE;
  }
  if (cx == 0 || cy == 0) return TRUE;  // nothing to show
  gdi::ShapeMask mask;
  if (type == DST_BITMAP) {
    // A bitmap's shape is what is not white, as when it is made monochrome.
    mask = gdi::ShapeMask::FromSurface(bitmap->surface, cx, cy, gdi::kWhite);
  } else {
    MaskCanvas canvas(hdc, cx, cy);
    if (!canvas.ok() || !render(canvas.dc(), 0, 0)) return FALSE;
    mask = canvas.Shape();
  }
  gdi::PaintStateMask(*dc, std::move(mask), x, y, state, fore);
  return TRUE;
}

BOOL GrayString(HDC hdc, HBRUSH brush, GRAYSTRINGPROC proc, LPARAM lData, int count, int x, int y, int cx,
                int cy) {
  gdi::DeviceContext* dc = gdi::Get<gdi::DeviceContext>(hdc);
  if (!dc) return FALSE;
  const char* text = reinterpret_cast<const char*>(lData);
  if ((!proc && !text) || count < -1 || (!proc && count == -1)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (count == 0 && text) count = static_cast<int>(std::strlen(text));
  if (!cx || !cy) {
    // The size comes from the string, so there must be one with a known length.
    SIZE s{0, 0};
    if (!text || count < 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    if (!GetTextExtentPoint32(hdc, text, count, &s)) return FALSE;
    if (!cx) cx = s.cx;
    if (!cy) cy = s.cy;
  }
  if (cx < 0 || cy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }

  // The brush grays by painting a checkerboard of the text. Without one the text takes the
  // solid gray text colour, or a checkerboard of the window text colour where gray is black.
  gdi::Ink ink;
  bool dither = true;
  if (brush) {
    const gdi::Brush* b = gdi::Get<gdi::Brush>(brush);
    if (!b) return FALSE;
    ink = gdi::MaskBrushInk(*dc, *b);
  } else if (const COLORREF gray = GetSysColor(COLOR_GRAYTEXT); gray != RGB(0, 0, 0)) {
    ink = gdi::Ink::Solid(R2_COPYPEN, dc->Resolve(gray));
    dither = false;
  } else {
    ink = gdi::Ink::Solid(R2_COPYPEN, dc->Resolve(GetSysColor(COLOR_WINDOWTEXT)));
  }
  if (cx == 0 || cy == 0) return TRUE;

  MaskCanvas canvas(hdc, cx, cy);
  if (!canvas.ok()) return FALSE;
  const BOOL ok = proc ? proc(canvas.dc(), lData, count) : TextOut(canvas.dc(), 0, 0, text, count);
  gdi::ShapeMask mask = canvas.Shape();
  // A procedure told count -1 that fails has its image shown but not grayed.
  if (dither && (ok || count != -1)) mask.Dither(1);
  gdi::PaintMask(*dc, mask, x, y, ink);
  return ok;
}
