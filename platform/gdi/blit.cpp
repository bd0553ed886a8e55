// The blit engine (clipping, copy direction, source rows, pattern rows) and BitBlt, PatBlt,
// MaskBlt, GdiFlush.
//
// Index:
//   [SECTION] Span order
//   [SECTION] Pattern rows and ROP3 writer
//   [SECTION] RunBlit
//   [SECTION] Shared entry-point helpers
//   [SECTION] Win32 entry points
#include <algorithm>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/rop3.h"

namespace gdi {
namespace {

// [SECTION] Span order ------------------------------------------------------------------

int Mod(int a, int m) {
  const int r = a % m;
  return r < 0 ? r + m : r;
}

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

// Calls f(y, x0, x1) for every piece of area inside the clip region, row by row, with rows
// bottom-up and pieces of a row right-to-left when asked: a blit whose source lies above
// (or left of) its destination on the same surface must write the far side first.
template <class F>
void ForEachSpan(const Region& clip, const RECT& area, bool bottom_up, bool right_to_left, F&& f) {
  const std::vector<RECT>& r = clip.rects();
  const size_t count = r.size();
  auto band = [&](size_t b0, size_t b1) {
    const int top = std::max<int>(r[b0].top, area.top);
    const int bottom = std::min<int>(r[b0].bottom, area.bottom);
    if (top >= bottom) return;
    auto row = [&](int y) {
      if (!right_to_left) {
        for (size_t k = b0; k < b1; ++k) {
          const int x0 = std::max<int>(r[k].left, area.left), x1 = std::min<int>(r[k].right, area.right);
          if (x0 < x1) f(y, x0, x1);
        }
      } else {
        for (size_t k = b1; k-- > b0;) {
          const int x0 = std::max<int>(r[k].left, area.left), x1 = std::min<int>(r[k].right, area.right);
          if (x0 < x1) f(y, x0, x1);
        }
      }
    };
    if (bottom_up) {
      for (int y = bottom - 1; y >= top; --y) row(y);
    } else {
      for (int y = top; y < bottom; ++y) row(y);
    }
  };
  if (!bottom_up) {
    for (size_t i = 0; i < count;) {
      if (r[i].top >= area.bottom) break;
      size_t j = i + 1;
      while (j < count && r[j].top == r[i].top) ++j;
      band(i, j);
      i = j;
    }
  } else {
    for (size_t j = count; j > 0;) {
      size_t i = j - 1;
      while (i > 0 && r[i - 1].top == r[j - 1].top) --i;
      if (r[i].bottom > area.top) band(i, j);
      j = i;
    }
  }
}

}  // namespace

// [SECTION] Pattern rows and ROP3 writer ------------------------------------------------

PatternRows::PatternRows(std::shared_ptr<const BrushPattern> pattern, POINT origin)
    : pat_(std::move(pattern)), org_(origin) {
  if (pat_ && pat_->width == 1 && pat_->height == 1 && pat_->opaque.empty() && !pat_->color.empty()) {
    solid_ = true;
    solid_color_ = pat_->color[0];
  }
}

bool PatternRows::empty() const {
  return !pat_ || pat_->width <= 0 || pat_->height <= 0 ||
         pat_->color.size() != static_cast<size_t>(pat_->width) * static_cast<size_t>(pat_->height);
}

bool PatternRows::has_transparency() const { return pat_ && !pat_->opaque.empty(); }

const Pixel* PatternRows::Row(int y, int x0, int n) {
  if (buf_.size() < static_cast<size_t>(n)) buf_.resize(static_cast<size_t>(n));
  const int w = pat_->width;
  const Pixel* row = &pat_->color[static_cast<size_t>(Mod(y - org_.y, pat_->height)) * w];
  int tx = Mod(x0 - org_.x, w);
  for (int i = 0; i < n;) {
    const int run = std::min(n - i, w - tx);
    std::memcpy(&buf_[i], row + tx, sizeof(Pixel) * static_cast<size_t>(run));
    i += run;
    tx = 0;
  }
  return buf_.data();
}

const uint8_t* PatternRows::Opaque(int y, int x0, int n) {
  if (obuf_.size() < static_cast<size_t>(n)) obuf_.resize(static_cast<size_t>(n));
  const int w = pat_->width;
  const uint8_t* row = &pat_->opaque[static_cast<size_t>(Mod(y - org_.y, pat_->height)) * w];
  int tx = Mod(x0 - org_.x, w);
  for (int i = 0; i < n;) {
    const int run = std::min(n - i, w - tx);
    std::memcpy(&obuf_[i], row + tx, static_cast<size_t>(run));
    i += run;
    tx = 0;
  }
  return obuf_.data();
}

Rop3Writer::Rop3Writer(uint8_t rop, PatternRows* pattern, bool mono_dst)
    : rop_(rop), pattern_(Rop3UsesPattern(rop) && pattern && !pattern->empty() ? pattern : nullptr),
      mono_dst_(mono_dst) {}

void Rop3Writer::Write(const SpanInput& in) {
  const Pixel* p = nullptr;
  Pixel solid = 0;
  const uint8_t* opaque = nullptr;
  if (pattern_) {
    if (pattern_->solid())
      solid = pattern_->solid_color();
    else
      p = pattern_->Row(in.y, in.x0, in.n);
    if (pattern_->has_transparency()) {
      opaque = pattern_->Opaque(in.y, in.x0, in.n);
      keep_.assign(in.dst, in.dst + in.n);
    }
  }
  Rop3Row(rop_, in.dst, in.src, p, solid, in.n);
  if (opaque) {
    for (int i = 0; i < in.n; ++i)
      if (!opaque[i]) in.dst[i] = keep_[static_cast<size_t>(i)];
  }
  if (mono_dst_) {
    for (int i = 0; i < in.n; ++i) in.dst[i] &= kPixelMask;
  }
}

// [SECTION] RunBlit ---------------------------------------------------------------------

Converter MakeConverter(const DeviceContext& src, const DeviceContext& dst) {
  Converter c;
  const bool sm = src.surface().monochrome, dm = dst.surface().monochrome;
  if (sm == dm) return c;
  if (dm) {
    c.kind = Converter::ColorToMono;
    c.src_bk = src.Resolve(src.state().bk_color) & kPixelMask;
  } else {
    c.kind = Converter::MonoToColor;
    c.fg = dst.Resolve(dst.state().text_color);
    c.bg = dst.Resolve(dst.state().bk_color);
  }
  return c;
}

namespace {

// A plain copy: every destination pixel has one source pixel at a fixed offset. The hot
// path (double-buffer flips, scrolling), so it builds no box tables.
void RunCopy(const Surface& ds, const Region& clip, RECT vis, const BlitJob& job, SpanWriter& writer) {
  const Surface& ss = *job.src;
  const int ox = job.src_rect.left - job.dst.left, oy = job.src_rect.top - job.dst.top;
  vis = Intersect(vis, RECT{-ox, -oy, ss.width - ox, ss.height - oy});
  if (IsEmpty(vis)) return;
  // On one surface the direction is chosen once: rows away from the source first, and a
  // row that is its own source is read into a buffer before it is written.
  const bool same_surface = ss.bits == ds.bits;
  const bool bottom_up = same_surface && oy < 0;
  const bool right_to_left = same_surface && oy == 0 && ox < 0;
  const bool copy_row = same_surface && oy == 0;
  const bool converts = job.convert.kind != Converter::None;
  std::vector<Pixel> buf(copy_row || converts ? static_cast<size_t>(vis.right - vis.left) : 0);
  ForEachSpan(clip, vis, bottom_up, right_to_left, [&](int y, int x0, int x1) {
    const int n = x1 - x0;
    const Pixel* raw = ss.Row(y + oy) + x0 + ox;
    const Pixel* src = raw;
    if (converts) {
      job.convert.Row(raw, buf.data(), n);  // converting also detaches the row
      src = buf.data();
    } else if (copy_row) {
      std::memcpy(buf.data(), raw, sizeof(Pixel) * static_cast<size_t>(n));
      src = raw = buf.data();
    }
    writer.Write(SpanInput{y, x0, n, ds.Row(y) + x0, src, raw});
  });
}

// Everything else: stretched, shrunk or mirrored, through per-pixel source boxes.
void RunStretch(const Surface& ds, const Region& clip, RECT vis, const BlitJob& job, const AxisMap& mx,
                const AxisMap& my, SpanWriter& writer) {
  const Surface& ss = *job.src;
  // Source boxes of the visible columns and rows. Boxes move monotonically, so the ones
  // that reach into the source surface form one run; the rest of the destination is left
  // untouched.
  const int col_base = vis.left, row_base = vis.top;
  std::vector<int> ca(static_cast<size_t>(vis.right - vis.left)), cb(ca.size());
  std::vector<int> ra(static_cast<size_t>(vis.bottom - vis.top)), rb(ra.size());
  auto valid_run = [](const AxisMap& m, int base, std::vector<int>& a, std::vector<int>& b, int& lo, int& hi) {
    lo = -1;
    hi = -1;
    for (size_t i = 0; i < a.size(); ++i) {
      m.Box(base + static_cast<int>(i), a[i], b[i]);
      if (a[i] < b[i]) {
        if (lo < 0) lo = static_cast<int>(i);
        hi = static_cast<int>(i) + 1;
      }
    }
    return lo >= 0;
  };
  int c0, c1, r0, r1;
  if (!valid_run(mx, col_base, ca, cb, c0, c1) || !valid_run(my, row_base, ra, rb, r0, r1)) return;
  vis = RECT{col_base + c0, row_base + r0, col_base + c1, row_base + r1};

  // Stretched or mirrored onto its own surface: read from a snapshot of the pixels used.
  SourceView view{ss.bits, ss.stride, 0, 0};
  std::vector<Pixel> snapshot;
  if (ss.bits == ds.bits) {
    RECT used{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int i = c0; i < c1; ++i) {
      used.left = std::min<LONG>(used.left, ca[i]);
      used.right = std::max<LONG>(used.right, cb[i]);
    }
    for (int i = r0; i < r1; ++i) {
      used.top = std::min<LONG>(used.top, ra[i]);
      used.bottom = std::max<LONG>(used.bottom, rb[i]);
    }
    if (!IsEmpty(Intersect(used, vis))) {
      const int uw = used.right - used.left, uh = used.bottom - used.top;
      snapshot.resize(static_cast<size_t>(uw) * uh);
      for (int y = 0; y < uh; ++y)
        std::memcpy(&snapshot[static_cast<size_t>(y) * uw], ss.Row(used.top + y) + used.left,
                    sizeof(Pixel) * static_cast<size_t>(uw));
      view = SourceView{snapshot.data(), uw, used.left, used.top};
    }
  }

  // Averaging converts pixel by pixel before it averages; the others sample source pixels
  // and convert the row afterwards.
  const bool converts = job.convert.kind != Converter::None && job.sampling != Sampling::Average;
  std::vector<Pixel> raw_buf(static_cast<size_t>(vis.right - vis.left));
  std::vector<Pixel> conv_buf(converts ? raw_buf.size() : 0);
  // Enlarging repeats source rows: a span with the same source rows and columns as the one
  // before reuses its samples.
  int last_a = -1, last_b = -1, last_x0 = 0, last_x1 = -1;
  ForEachSpan(clip, vis, false, false, [&](int y, int x0, int x1) {
    const int n = x1 - x0;
    const size_t ri = static_cast<size_t>(y - row_base), ci = static_cast<size_t>(x0 - col_base);
    if (ra[ri] != last_a || rb[ri] != last_b || x0 != last_x0 || x1 != last_x1) {
      SampleRow(view, job.sampling, ra[ri], rb[ri], my.mirror, &ca[ci], &cb[ci], mx.mirror, n, job.convert,
                ds.monochrome, raw_buf.data());
      if (converts) job.convert.Row(raw_buf.data(), conv_buf.data(), n);
      last_a = ra[ri];
      last_b = rb[ri];
      last_x0 = x0;
      last_x1 = x1;
    }
    const Pixel* src = converts ? conv_buf.data() : raw_buf.data();
    writer.Write(SpanInput{y, x0, n, ds.Row(y) + x0, src, raw_buf.data()});
  });
}

}  // namespace

void RunBlit(DeviceContext& dc, const BlitJob& job, SpanWriter& writer) {
  const Surface& ds = dc.surface();
  if (!ds.valid()) return;
  const Region& clip = dc.EffectiveClip();
  if (clip.empty()) return;
  const RECT vis = Intersect(job.dst, clip.bounds());
  if (IsEmpty(vis)) return;
  if (!job.has_source) {
    ForEachSpan(clip, vis, false, false, [&](int y, int x0, int x1) {
      writer.Write(SpanInput{y, x0, x1 - x0, ds.Row(y) + x0, nullptr, nullptr});
    });
    return;
  }
  if (!job.src || !job.src->valid()) return;
  const AxisMap mx{job.dst.left, job.dst.right - job.dst.left, job.src_rect.left,
                   job.src_rect.right - job.src_rect.left, job.mirror_x, job.src->width};
  const AxisMap my{job.dst.top, job.dst.bottom - job.dst.top, job.src_rect.top,
                   job.src_rect.bottom - job.src_rect.top, job.mirror_y, job.src->height};
  if (mx.identity() && my.identity())
    RunCopy(ds, clip, vis, job, writer);
  else
    RunStretch(ds, clip, vis, job, mx, my, writer);
}

// [SECTION] Shared entry-point helpers --------------------------------------------------

// Coordinates beyond this are refused rather than risk overflow in the scaling arithmetic.
constexpr int64_t kCoordLimit = int64_t{1} << 30;

bool BlitRect(const DeviceContext& dc, int x, int y, int w, int h, RECT& out) {
  auto axis = [](int64_t origin, int64_t extent, int64_t offset, LONG& lo, LONG& hi) {
    int64_t a = origin, b = origin + extent;
    if (extent < 0) {  // runs back from the origin pixel, which it includes
      a = origin + extent + 1;
      b = origin + 1;
    }
    a += offset;
    b += offset;
    if (a < -kCoordLimit || b > kCoordLimit) return false;
    lo = static_cast<LONG>(a);
    hi = static_cast<LONG>(b);
    return true;
  };
  const POINT off = dc.ToSurface(POINT{0, 0});
  if (!axis(x, w, off.x, out.left, out.right) || !axis(y, h, off.y, out.top, out.bottom)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

std::shared_ptr<const BrushPattern> DCPattern(const DeviceContext& dc) {
  const Brush* brush = dc.state().brush.get();
  return brush ? RealizeBrush(dc, *brush) : nullptr;
}

BOOL PatBltOn(DeviceContext& dc, int x, int y, int w, int h, uint8_t rop) {
  if (Rop3UsesSource(rop)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (w == 0 || h == 0) return TRUE;
  BlitJob job;
  if (!BlitRect(dc, x, y, w, h, job.dst)) return FALSE;
  // A null brush paints nothing at all, whatever the raster operation.
  auto pattern = DCPattern(dc);
  if (!pattern) return TRUE;
  PatternRows rows(std::move(pattern), dc.SurfaceBrushOrigin());
  Rop3Writer writer(rop, &rows, dc.surface().monochrome);
  RunBlit(dc, job, writer);
  return TRUE;
}

BOOL Rop3Blit(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs, DWORD rop) {
  DeviceContext* dst = Get<DeviceContext>(hdst);
  if (!dst) return FALSE;
  const uint8_t index = Rop3Index(rop);
  if (!Rop3UsesSource(index)) return PatBltOn(*dst, x, y, w, h, index);
  DeviceContext* src = Get<DeviceContext>(hsrc);
  if (!src) return FALSE;
  if (w == 0 || h == 0 || ws == 0 || hs == 0) return TRUE;
  BlitJob job;
  if (!BlitRect(*dst, x, y, w, h, job.dst) || !BlitRect(*src, xs, ys, ws, hs, job.src_rect)) return FALSE;
  job.has_source = true;
  job.src = &src->surface();
  job.mirror_x = (w < 0) != (ws < 0);
  job.mirror_y = (h < 0) != (hs < 0);
  job.sampling = SamplingForMode(dst->state().stretch_mode);
  job.convert = MakeConverter(*src, *dst);
  std::shared_ptr<const BrushPattern> pattern;
  if (Rop3UsesPattern(index)) {
    pattern = DCPattern(*dst);
    if (!pattern) return TRUE;  // as PatBlt: a null brush paints nothing
  }
  PatternRows rows(std::move(pattern), dst->SurfaceBrushOrigin());
  Rop3Writer writer(index, &rows, dst->surface().monochrome);
  RunBlit(*dst, job, writer);
  return TRUE;
}

namespace {

// MaskBlt: both ROPs are worked out for the span, then the mask picks one per pixel.
class MaskWriter : public SpanWriter {
 public:
  MaskWriter(uint8_t fore, uint8_t back, PatternRows* pattern, bool mono_dst, const Surface& mask, int dx, int dy)
      : fore_(fore, pattern, mono_dst), back_(back, pattern, mono_dst), mask_(mask), dx_(dx), dy_(dy) {}

  void Write(const SpanInput& in) override {
    a_.assign(in.dst, in.dst + in.n);
    b_.assign(in.dst, in.dst + in.n);
    SpanInput part = in;
    part.dst = a_.data();
    fore_.Write(part);
    part.dst = b_.data();
    back_.Write(part);
    const Pixel* m = mask_.Row(in.y + dy_) + in.x0 + dx_;
    for (int i = 0; i < in.n; ++i) in.dst[i] = (m[i] & kPixelMask) ? a_[i] : b_[i];
  }

 private:
  Rop3Writer fore_, back_;
  const Surface& mask_;
  int dx_, dy_;
  std::vector<Pixel> a_, b_;
};

}  // namespace

}  // namespace gdi

// [SECTION] Win32 entry points ----------------------------------------------------------

using gdi::DeviceContext;

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop) {
  return gdi::Rop3Blit(dst, x, y, w, h, src, xSrc, ySrc, w, h, rop);
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return FALSE;
  return gdi::PatBltOn(*dc, x, y, w, h, gdi::Rop3Index(rop));
}

BOOL MaskBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xSrc, int ySrc, HBITMAP hmask, int xMask,
             int yMask, DWORD rop4) {
  const DWORD fore_rop = rop4 & 0x00FFFFFF;
  if (!hmask) return BitBlt(hdst, x, y, w, h, hsrc, xSrc, ySrc, fore_rop);
  DeviceContext* dst = gdi::Get<DeviceContext>(hdst);
  if (!dst) return FALSE;
  gdi::Bitmap* mask = gdi::Get<gdi::Bitmap>(hmask);
  if (!mask) return FALSE;
  if (mask->bits_per_pixel != 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const uint8_t fore = gdi::Rop3Index(rop4), back = static_cast<uint8_t>(rop4 >> 24);
  const bool uses_source = gdi::Rop3UsesSource(fore) || gdi::Rop3UsesSource(back);
  DeviceContext* src = nullptr;
  if (uses_source && !(src = gdi::Get<DeviceContext>(hsrc))) return FALSE;
  if (w == 0 || h == 0) return TRUE;
  // The mask must cover the whole rectangle.
  const int64_t aw = w < 0 ? -int64_t{w} : w, ah = h < 0 ? -int64_t{h} : h;
  if (xMask < 0 || yMask < 0 || xMask + aw > mask->surface.width || yMask + ah > mask->surface.height) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  gdi::BlitJob job;
  if (!gdi::BlitRect(*dst, x, y, w, h, job.dst)) return FALSE;
  if (uses_source) {
    if (!gdi::BlitRect(*src, xSrc, ySrc, w, h, job.src_rect)) return FALSE;
    job.has_source = true;
    job.src = &src->surface();
    job.convert = gdi::MakeConverter(*src, *dst);
  }
  std::shared_ptr<const gdi::BrushPattern> pattern;
  if (gdi::Rop3UsesPattern(fore) || gdi::Rop3UsesPattern(back)) {
    pattern = gdi::DCPattern(*dst);
    if (!pattern) return TRUE;
  }
  gdi::PatternRows rows(std::move(pattern), dst->SurfaceBrushOrigin());
  gdi::MaskWriter writer(fore, back, &rows, dst->surface().monochrome, mask->surface, xMask - job.dst.left,
                         yMask - job.dst.top);
  gdi::RunBlit(*dst, job, writer);
  return TRUE;
}

BOOL GdiFlush() { return TRUE; }  // drawing is never batched: there is nothing to flush
