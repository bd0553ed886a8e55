#include "platform/gdi/state_image.h"

#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/win32/draw.h"
#include "platform/win32/text.h"

namespace gdi {

ShapeMask::ShapeMask(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
  bits_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
}

ShapeMask ShapeMask::FromSurface(const Surface& s, int width, int height, Pixel background) {
  ShapeMask m(width, height);
  if (!s.valid()) return m;
  const int w = std::min(m.width_, s.width), h = std::min(m.height_, s.height);
  background &= kPixelMask;
  for (int y = 0; y < h; ++y) {
    const Pixel* row = s.Row(y);
    uint8_t* out = m.bits_.data() + static_cast<size_t>(y) * m.width_;
    for (int x = 0; x < w; ++x) out[x] = (row[x] & kPixelMask) != background;
  }
  return m;
}

bool ShapeMask::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return bits_[static_cast<size_t>(y) * width_ + x] != 0;
}

void ShapeMask::Set(int x, int y, bool on) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  bits_[static_cast<size_t>(y) * width_ + x] = on;
}

void ShapeMask::Dither(int parity) {
  for (int y = 0; y < height_; ++y) {
    uint8_t* row = bits_.data() + static_cast<size_t>(y) * width_;
    for (int x = (y + parity + 1) & 1; x < width_; x += 2) row[x] = 0;  // the other colour
  }
}

std::vector<Span> ShapeMask::Spans(int dx, int dy) const {
  std::vector<Span> spans;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* row = bits_.data() + static_cast<size_t>(y) * width_;
    int x = 0;
    while (x < width_) {
      while (x < width_ && !row[x]) ++x;
      const int start = x;
      while (x < width_ && row[x]) ++x;
      if (x > start) spans.push_back(Span{y + dy, start + dx, x + dx});
    }
  }
  return spans;
}

void PaintMask(DeviceContext& dc, const ShapeMask& mask, int x, int y, const Ink& ink) {
  const POINT origin = dc.ToSurface(POINT{x, y});
  FillSurfaceSpans(dc, mask.Spans(origin.x, origin.y), ink);
}

Ink MaskBrushInk(DeviceContext& dc, const Brush& brush) {
  DCState& st = dc.state();
  const COLORREF text = st.text_color, back = st.bk_color;
  st.text_color = RGB(0, 0, 0);
  st.bk_color = RGB(255, 255, 255);
  Ink ink = BrushInk(dc, &brush, R2_COPYPEN);
  st.text_color = text;
  st.bk_color = back;
  return ink;
}

void PaintStateMask(DeviceContext& dc, ShapeMask mask, int x, int y, UINT state, const Brush* brush) {
  if (state & DSS_UNION) mask.Dither(0);
  if (state & DSS_DISABLED) {
    PaintMask(dc, mask, x + 1, y + 1, Ink::Solid(R2_COPYPEN, dc.Resolve(GetSysColor(COLOR_3DHILIGHT))));
    PaintMask(dc, mask, x, y, Ink::Solid(R2_COPYPEN, dc.Resolve(GetSysColor(COLOR_3DSHADOW))));
    return;
  }
  PaintMask(dc, mask, x, y, brush ? MaskBrushInk(dc, *brush) : Ink::Solid(R2_COPYPEN, dc.Resolve(RGB(0, 0, 0))));
}

// Rows copied per tile, so a large bitmap never needs a second full-size copy in memory.
constexpr int kCopyBandRows = 64;

void CopyBitmapPixels(DeviceContext& dc, const Bitmap& bitmap, int x, int y, int w, int h) {
  const Surface& src = bitmap.surface;
  const Surface& dst = dc.surface();
  if (!src.valid() || !dst.valid()) return;
  w = std::min(w, src.width);
  h = std::min(h, src.height);
  if (w <= 0 || h <= 0) return;
  // Only the part inside the clip is read.
  const POINT org = dc.ToSurface(POINT{x, y});
  const Region& clip = dc.EffectiveClip();
  const RECT b = clip.bounds();
  const int64_t x0 = std::max<int64_t>(org.x, b.left), x1 = std::min<int64_t>(int64_t{org.x} + w, b.right);
  const int64_t y0 = std::max<int64_t>(org.y, b.top), y1 = std::min<int64_t>(int64_t{org.y} + h, b.bottom);
  if (x0 >= x1 || y0 >= y1) return;
  const int tw = static_cast<int>(x1 - x0);
  const Pixel fore = dc.Resolve(dc.state().text_color), back = dc.Resolve(dc.state().bk_color);
  // Each band of the bitmap becomes a tile anchored where it lands: one rectangle fill copies it.
  for (int64_t by = y0; by < y1; by += kCopyBandRows) {
    const int th = static_cast<int>(std::min<int64_t>(kCopyBandRows, y1 - by));
    auto tile = std::make_shared<InkTile>();
    tile->width = tw;
    tile->height = th;
    tile->and_mask.assign(static_cast<size_t>(tw) * th, 0);
    tile->xor_mask.resize(static_cast<size_t>(tw) * th);
    for (int r = 0; r < th; ++r) {
      const Pixel* in = src.Row(static_cast<int>(by - org.y) + r) + (x0 - org.x);
      Pixel* out = &tile->xor_mask[static_cast<size_t>(r) * tw];
      for (int c = 0; c < tw; ++c) {
        const Pixel p = in[c] & kPixelMask;
        out[c] = src.monochrome ? (p == kBlack ? fore : back) : MapToSurface(dst, p);
      }
    }
    Ink ink;
    ink.tile = std::move(tile);
    ink.origin = POINT{static_cast<LONG>(x0), static_cast<LONG>(by)};
    const RECT band{static_cast<LONG>(x0), static_cast<LONG>(by), static_cast<LONG>(x1), static_cast<LONG>(by + th)};
    FillRects(dst, clip, &band, 1, ink);
  }
}

}  // namespace gdi
