// Stock objects, pens, brushes, object selection, deletion and GetObject.
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/win32/draw.h"

namespace gdi {

HRGN MakeRegion(Region region) { return Make<HRGN, RegionObject>(std::move(region)); }

std::shared_ptr<Bitmap> DefaultBitmap() {
  static std::shared_ptr<Bitmap> bmp = [] {
    auto b = Bitmap::Create(1, 1, 1);
    b->surface.bits[0] = kWhite;
    Register(b);
    b->set_stock();
    return b;
  }();
  return bmp;
}

}  // namespace gdi

using gdi::DeviceContext;

namespace {

constexpr int kStockCount = DC_PEN + 1;

HPEN MakePen(DWORD style, int width, COLORREF color) {
  auto pen = std::make_shared<gdi::Pen>();
  pen->full_style = style;
  pen->width = width;
  pen->color = color;
  return static_cast<HPEN>(gdi::Register(pen));
}

HBRUSH MakeSolidBrush(COLORREF color) {
  auto brush = std::make_shared<gdi::Brush>();
  brush->style = BS_SOLID;
  brush->color = color;
  return static_cast<HBRUSH>(gdi::Register(brush));
}

LOGFONT StockLogFont(LONG height, LONG width, LONG weight, BYTE charset, BYTE pitch, const char* face) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfWeight = weight;
  lf.lfCharSet = charset;
  lf.lfPitchAndFamily = pitch;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

HFONT MakeFont(const LOGFONT& lf) {
  auto font = std::make_shared<gdi::Font>();
  font->logfont = lf;
  return static_cast<HFONT>(gdi::Register(font));
}

// The twenty static colours of the system palette.
constexpr std::array<PALETTEENTRY, 20> kDefaultPalette = {{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

std::array<HGDIOBJ, kStockCount>& StockTable() {
  static std::array<HGDIOBJ, kStockCount> table = [] {
    std::array<HGDIOBJ, kStockCount> t{};
    t[WHITE_BRUSH] = MakeSolidBrush(RGB(255, 255, 255));
    t[LTGRAY_BRUSH] = MakeSolidBrush(RGB(192, 192, 192));
    t[GRAY_BRUSH] = MakeSolidBrush(RGB(128, 128, 128));
    t[DKGRAY_BRUSH] = MakeSolidBrush(RGB(64, 64, 64));
    t[BLACK_BRUSH] = MakeSolidBrush(RGB(0, 0, 0));
    {
      auto null_brush = std::make_shared<gdi::Brush>();
      null_brush->style = BS_NULL;
      t[NULL_BRUSH] = gdi::Register(null_brush);
    }
    t[WHITE_PEN] = MakePen(PS_SOLID, 1, RGB(255, 255, 255));
    t[BLACK_PEN] = MakePen(PS_SOLID, 1, RGB(0, 0, 0));
    t[NULL_PEN] = MakePen(PS_NULL, 1, RGB(0, 0, 0));
    t[OEM_FIXED_FONT] = MakeFont(StockLogFont(12, 8, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN, "Terminal"));
    t[ANSI_FIXED_FONT] = MakeFont(StockLogFont(12, 9, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, "Courier"));
    t[ANSI_VAR_FONT] =
        MakeFont(StockLogFont(12, 9, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    t[SYSTEM_FONT] = MakeFont(StockLogFont(16, 7, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "System"));
    t[DEVICE_DEFAULT_FONT] =
        MakeFont(StockLogFont(16, 0, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "System"));
    t[SYSTEM_FIXED_FONT] =
        MakeFont(StockLogFont(16, 8, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, "Fixedsys"));
    t[DEFAULT_GUI_FONT] =
        MakeFont(StockLogFont(-11, 0, FW_NORMAL, DEFAULT_CHARSET, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg"));
    {
      auto pal = std::make_shared<gdi::Palette>();
      pal->entries.assign(kDefaultPalette.begin(), kDefaultPalette.end());
      t[DEFAULT_PALETTE] = gdi::Register(pal);
    }
    {
      auto dc_brush = std::make_shared<gdi::Brush>();
      dc_brush->dc_brush = true;
      t[DC_BRUSH] = gdi::Register(dc_brush);
    }
    t[DC_PEN] = MakePen(PS_SOLID, 1, RGB(0, 0, 0));
    gdi::Get<gdi::Pen>(t[DC_PEN])->dc_pen = true;
    for (HGDIOBJ h : t)
      if (gdi::Object* o = h ? gdi::LookupRaw(h) : nullptr) o->set_stock();
    return t;
  }();
  return table;
}

template <class T>
int CopyOut(const T& value, int size, LPVOID out) {
  if (!out) return static_cast<int>(sizeof(T));
  const int n = std::min(size, static_cast<int>(sizeof(T)));
  if (n <= 0) return 0;
  std::memcpy(out, &value, static_cast<size_t>(n));
  return n;
}

}  // namespace

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= kStockCount) return nullptr;
  return StockTable()[index];
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME) style = PS_SOLID;
  // Styled cosmetic lines exist only one pixel wide: wider styled pens draw solid.
  const int s = style & PS_STYLE_MASK;
  if (width > 1 && s >= PS_DASH && s <= PS_DASHDOTDOT) style = PS_SOLID;
  return MakePen(static_cast<DWORD>(style & PS_STYLE_MASK), width < 0 ? 0 : width, color);
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  if (!lp) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD count, const DWORD* styles) {
  const DWORD kind = style & PS_STYLE_MASK;
  const bool geometric = (style & PS_TYPE_MASK) == static_cast<DWORD>(PS_GEOMETRIC);
  const bool valid = brush && kind <= PS_ALTERNATE && (geometric || width == 1) &&
                     (kind == PS_USERSTYLE ? (count > 0 && count <= 16 && styles) : count == 0) &&
                     (kind != PS_ALTERNATE || !geometric) && width < 0x10000;
  if (!valid || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL && brush->lbStyle != BS_HATCHED)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto pen = std::make_shared<gdi::Pen>();
  pen->MarkExtended();
  pen->full_style = style;
  pen->width = static_cast<int>(width);
  pen->color = brush->lbColor;
  pen->brush = *brush;
  if (brush->lbStyle == BS_NULL) pen->full_style = (style & ~static_cast<DWORD>(PS_STYLE_MASK)) | PS_NULL;
  if (kind == PS_USERSTYLE) pen->user_style.assign(styles, styles + count);
  return static_cast<HPEN>(gdi::Register(pen));
}

HBRUSH CreateSolidBrush(COLORREF color) { return MakeSolidBrush(color); }

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto brush = std::make_shared<gdi::Brush>();
  brush->style = BS_HATCHED;
  brush->color = color;
  brush->hatch = hatch;
  return static_cast<HBRUSH>(gdi::Register(brush));
}

HBRUSH CreatePatternBrush(HBITMAP bmp) {
  gdi::Bitmap* b = gdi::Get<gdi::Bitmap>(bmp);
  if (!b) return nullptr;
  auto bits = std::make_shared<gdi::PatternBits>();
  bits->width = b->surface.width;
  bits->height = b->surface.height;
  bits->monochrome = b->bits_per_pixel == 1;
  bits->pixels.resize(static_cast<size_t>(bits->width) * bits->height);
  for (int y = 0; y < bits->height; ++y)
    std::memcpy(&bits->pixels[static_cast<size_t>(y) * bits->width], b->surface.Row(y),
                sizeof(gdi::Pixel) * bits->width);
  auto brush = std::make_shared<gdi::Brush>();
  brush->style = BS_PATTERN;
  brush->pattern = std::move(bits);
  return static_cast<HBRUSH>(gdi::Register(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(lb->lbHatch), lb->lbColor);
    case BS_PATTERN:
    case BS_PATTERN8X8: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return nullptr;
  std::shared_ptr<gdi::Object> o = gdi::Lookup(obj);
  if (!o) return nullptr;
  auto& st = dc->state();
  switch (o->type()) {
    case gdi::ObjectType::Pen:
    case gdi::ObjectType::ExtPen: {
      HGDIOBJ old = st.pen ? st.pen->handle() : nullptr;
      st.pen = std::static_pointer_cast<gdi::Pen>(o);
      return old;
    }
    case gdi::ObjectType::Brush: {
      HGDIOBJ old = st.brush ? st.brush->handle() : nullptr;
      st.brush = std::static_pointer_cast<gdi::Brush>(o);
      return old;
    }
    case gdi::ObjectType::Font: {
      HGDIOBJ old = st.font ? st.font->handle() : nullptr;
      st.font = std::static_pointer_cast<gdi::Font>(o);
      return old;
    }
    case gdi::ObjectType::Bitmap: {
      auto bmp = std::static_pointer_cast<gdi::Bitmap>(o);
      if (dc->kind() != DeviceContext::Kind::Memory ||
          (!bmp->stock() && bmp->selected_into && bmp->selected_into != dc)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      HGDIOBJ old = st.bitmap ? st.bitmap->handle() : nullptr;
      dc->SelectBitmap(std::move(bmp));
      return old;
    }
    case gdi::ObjectType::Region:
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(obj))));
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return nullptr;
  const auto& st = dc->state();
  switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return st.pen ? st.pen->handle() : nullptr;
    case OBJ_BRUSH: return st.brush ? st.brush->handle() : nullptr;
    case OBJ_FONT: return st.font ? st.font->handle() : nullptr;
    case OBJ_PAL: return st.palette ? st.palette->handle() : nullptr;
    case OBJ_BITMAP: return st.bitmap ? st.bitmap->handle() : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

DWORD GetObjectType(HGDIOBJ obj) {
  gdi::Object* o = gdi::LookupRaw(obj);
  return o ? static_cast<DWORD>(o->type()) : 0;
}

BOOL DeleteObject(HGDIOBJ obj) {
  gdi::Object* o = gdi::LookupRaw(obj);
  if (!o) return FALSE;
  if (o->stock()) return TRUE;
  switch (o->type()) {
    case gdi::ObjectType::DC:
    case gdi::ObjectType::MemDC: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    case gdi::ObjectType::Bitmap:
      if (static_cast<gdi::Bitmap*>(o)->selected_into) return FALSE;  // still selected into a DC
      break;
    default: break;
  }
  return gdi::Unregister(obj) ? TRUE : FALSE;
}

int GetObject(HGDIOBJ obj, int size, LPVOID out) {
  gdi::Object* o = gdi::LookupRaw(obj);
  if (!o) return 0;
  if (out && size <= 0) return 0;
  switch (o->type()) {
    case gdi::ObjectType::Pen: {
      auto* p = static_cast<gdi::Pen*>(o);
      LOGPEN lp{static_cast<UINT>(p->full_style), POINT{p->width, 0}, p->color};
      return CopyOut(lp, size, out);
    }
    case gdi::ObjectType::ExtPen: {
      auto* p = static_cast<gdi::Pen*>(o);
      const size_t entries = p->user_style.size();
      const int needed = static_cast<int>(offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD) * entries);
      if (!out) return needed;
      if (size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
      }
      auto* e = static_cast<EXTLOGPEN*>(out);
      e->elpPenStyle = p->full_style;
      e->elpWidth = static_cast<DWORD>(p->width);
      e->elpBrushStyle = p->brush.lbStyle;
      e->elpColor = p->brush.lbColor;
      e->elpHatch = p->brush.lbHatch;
      e->elpNumEntries = static_cast<DWORD>(entries);
      std::memcpy(reinterpret_cast<char*>(out) + offsetof(EXTLOGPEN, elpStyleEntry), p->user_style.data(),
                  sizeof(DWORD) * entries);
      return needed;
    }
    case gdi::ObjectType::Brush: {
      auto* b = static_cast<gdi::Brush*>(o);
      LOGBRUSH lb{b->style, b->color, static_cast<ULONG_PTR>(b->style == BS_HATCHED ? b->hatch : 0)};
      return CopyOut(lb, size, out);
    }
    case gdi::ObjectType::Font: return CopyOut(static_cast<gdi::Font*>(o)->logfont, size, out);
    case gdi::ObjectType::Palette: {
      WORD count = static_cast<WORD>(static_cast<gdi::Palette*>(o)->entries.size());
      return CopyOut(count, size, out);
    }
    case gdi::ObjectType::Bitmap: {
      auto* b = static_cast<gdi::Bitmap*>(o);
      BITMAP bm{};
      bm.bmWidth = b->surface.width;
      bm.bmHeight = b->surface.height;
      bm.bmPlanes = 1;
      bm.bmBitsPixel = static_cast<WORD>(b->bits_per_pixel);
      // Device-dependent rows are padded to 16 bits, DIB rows to 32 bits.
      const int bits = b->surface.width * b->bits_per_pixel;
      bm.bmWidthBytes = b->dib_section ? ((bits + 31) / 32) * 4 : ((bits + 15) / 16) * 2;
      if (b->dib_section) {
        bm.bmBits = b->dib_memory.get();
        if (out && size >= static_cast<int>(sizeof(DIBSECTION))) {
          DIBSECTION ds{};
          ds.dsBm = bm;
          ds.dsBmih = b->dib_header;
          return CopyOut(ds, size, out);
        }
      }
      return CopyOut(bm, size, out);
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
}
