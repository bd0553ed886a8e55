// Logical palettes. Every surface here is true-colour (or monochrome), so palettes never
// change the hardware: they name colours (PALETTEINDEX goes through the DC's palette, see
// DeviceContext::Resolve) and answer nearest-colour questions.
#include <algorithm>
#include <climits>

#include "platform/gdi/dc.h"

namespace {

using gdi::DeviceContext;
using gdi::Palette;

constexpr WORD kPaletteVersion = 0x300;
constexpr UINT kMaxPaletteEntries = 1024;
constexpr UINT kHalftoneSize = 256;

// The twenty static colours, as the stock default palette holds them.
const std::vector<PALETTEENTRY>& StaticColors() {
  return gdi::Get<Palette>(GetStockObject(DEFAULT_PALETTE))->entries;
}

HPALETTE MakePalette(std::vector<PALETTEENTRY> entries) {
  auto pal = std::make_shared<Palette>();
  pal->entries = std::move(entries);
  return static_cast<HPALETTE>(gdi::Register(pal));
}

// Squared distance in RGB; the first of equally near entries wins.
UINT Nearest(const std::vector<PALETTEENTRY>& entries, COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  UINT best = 0;
  int best_d = INT_MAX;
  for (size_t i = 0; i < entries.size(); ++i) {
    const int dr = entries[i].peRed - r, dg = entries[i].peGreen - g, db = entries[i].peBlue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < best_d) {
      best_d = d;
      best = static_cast<UINT>(i);
    }
  }
  return best;
}

// Copies entries [start, start + count) out of a table, clipped to its end.
UINT CopyEntries(const std::vector<PALETTEENTRY>& table, UINT start, UINT count, PALETTEENTRY* out) {
  const UINT size = static_cast<UINT>(table.size());
  if (!out) return size;
  if (start >= size) return 0;
  const UINT n = std::min(count, size - start);
  std::copy_n(table.begin() + start, n, out);
  return n;
}

}  // namespace

HPALETTE CreatePalette(const LOGPALETTE* lp) {
  if (!lp || lp->palVersion != kPaletteVersion || lp->palNumEntries == 0 ||
      lp->palNumEntries > kMaxPaletteEntries) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const PALETTEENTRY* first = lp->palPalEntry;
  return MakePalette(std::vector<PALETTEENTRY>(first, first + lp->palNumEntries));
}

// 256 colours: the first ten static colours, a 6x6x6 colour cube, twenty greys between the
// cube's levels, the last ten static colours.
HPALETTE CreateHalftonePalette(HDC hdc) {
  if (hdc && !gdi::Get<DeviceContext>(hdc)) return nullptr;
  const auto& statics = StaticColors();
  std::vector<PALETTEENTRY> e;
  e.reserve(kHalftoneSize);
  e.insert(e.end(), statics.begin(), statics.begin() + 10);
  for (int b = 0; b < 6; ++b)
    for (int g = 0; g < 6; ++g)
      for (int r = 0; r < 6; ++r)
        e.push_back(PALETTEENTRY{static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51), 0});
  constexpr int kGreys = 20;
  for (int i = 1; i <= kGreys; ++i) {
    const auto v = static_cast<BYTE>(i * 255 / (kGreys + 1));
    e.push_back(PALETTEENTRY{v, v, v, 0});
  }
  e.insert(e.end(), statics.end() - 10, statics.end());
  return MakePalette(std::move(e));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE pal, BOOL) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return nullptr;
  auto p = gdi::GetShared<Palette>(pal);
  if (!p) return nullptr;
  auto& st = dc->state();
  HPALETTE old = st.palette ? static_cast<HPALETTE>(st.palette->handle()) : nullptr;
  st.palette = std::move(p);
  return old;
}

// There is no hardware palette to load: nothing is ever mapped.
UINT RealizePalette(HDC hdc) { return gdi::Get<DeviceContext>(hdc) ? 0 : GDI_ERROR; }

UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, PALETTEENTRY* entries) {
  Palette* p = gdi::Get<Palette>(pal);
  if (!p) return 0;
  return CopyEntries(p->entries, start, count, entries);
}

UINT SetPaletteEntries(HPALETTE pal, UINT start, UINT count, const PALETTEENTRY* entries) {
  Palette* p = gdi::Get<Palette>(pal);
  if (!p) return 0;
  if (p->stock() || !entries) {  // the default palette is shared by every DC
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const UINT size = static_cast<UINT>(p->entries.size());
  if (start >= size) return 0;
  const UINT n = std::min(count, size - start);
  std::copy_n(entries, n, p->entries.begin() + start);
  return n;
}

UINT GetNearestPaletteIndex(HPALETTE pal, COLORREF color) {
  Palette* p = gdi::Get<Palette>(pal);
  if (!p || p->entries.empty()) return CLR_INVALID;
  return Nearest(p->entries, color);
}

// What the colour becomes when drawn on the DC: itself on true colour (palette indices
// looked up), black or white on a monochrome bitmap.
COLORREF GetNearestColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return CLR_INVALID;
  return gdi::ToColorRef(dc->Resolve(color));
}

UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, PALETTEENTRY* entries) {
  if (!gdi::Get<DeviceContext>(hdc)) return 0;
  return CopyEntries(StaticColors(), start, count, entries);
}
