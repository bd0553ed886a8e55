// Stretching: source boxes per destination pixel, the four stretch modes, and the stretching
// blits StretchBlt, TransparentBlt and AlphaBlend.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/rop3.h"

namespace gdi {

void AxisMap::Box(int d, int& a, int& b) const {
  const int64_t i = int64_t{d} - dst0;
  int64_t k0 = i * sn / dn;
  int64_t k1 = (i + 1) * sn / dn;
  if (k1 <= k0) k1 = k0 + 1;  // enlarging: every destination pixel still gets one source pixel
  if (mirror) {
    const int64_t t = sn - k1;
    k1 = sn - k0;
    k0 = t;
  }
  const int64_t lo = std::max<int64_t>(int64_t{src0} + k0, 0);
  const int64_t hi = std::min<int64_t>(int64_t{src0} + k1, limit);
  if (lo >= hi) {
    a = b = 0;
    return;
  }
  a = static_cast<int>(lo);
  b = static_cast<int>(hi);
}

Sampling SamplingForMode(int stretch_mode) {
  switch (stretch_mode) {
    case BLACKONWHITE: return Sampling::And;
    case WHITEONBLACK: return Sampling::Or;
    case HALFTONE: return Sampling::Average;
    default: return Sampling::First;
  }
}

void SampleRow(const SourceView& src, Sampling mode, int ra, int rb, bool mirror_y, const int* ca, const int* cb,
               bool mirror_x, int n, const Converter& convert, bool mono_dst, Pixel* out) {
  switch (mode) {
    case Sampling::First: {
      const Pixel* row = src.Row(mirror_y ? rb - 1 : ra);
      for (int i = 0; i < n; ++i) out[i] = row[mirror_x ? cb[i] - 1 : ca[i]];
      return;
    }
    case Sampling::And:
    case Sampling::Or: {
      const bool is_and = mode == Sampling::And;
      std::fill_n(out, n, is_and ? ~Pixel{0} : Pixel{0});
      for (int y = ra; y < rb; ++y) {
        const Pixel* row = src.Row(y);
        for (int i = 0; i < n; ++i) {
          Pixel v = out[i];
          if (is_and) {
            for (int x = ca[i]; x < cb[i]; ++x) v &= row[x];
          } else {
            for (int x = ca[i]; x < cb[i]; ++x) v |= row[x];
          }
          out[i] = v;
        }
      }
      return;
    }
    case Sampling::Average: {
      static const Surface kMono{nullptr, 0, 0, 0, true};
      for (int i = 0; i < n; ++i) {
        uint64_t sum[4] = {0, 0, 0, 0};
        for (int y = ra; y < rb; ++y) {
          const Pixel* row = src.Row(y);
          for (int x = ca[i]; x < cb[i]; ++x) {
            const Pixel p = convert(row[x]);
            for (int c = 0; c < 4; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
          }
        }
        const uint64_t count = static_cast<uint64_t>(rb - ra) * static_cast<uint64_t>(cb[i] - ca[i]);
        Pixel v = 0;
        for (int c = 0; c < 4; ++c) v |= static_cast<Pixel>((sum[c] + count / 2) / count) << (8 * c);
        out[i] = mono_dst ? MapToSurface(kMono, v) : v;
      }
      return;
    }
  }
}

namespace {

// TransparentBlt: copies every source pixel except those of the key colour.
class KeyWriter : public SpanWriter {
 public:
  KeyWriter(Pixel key, bool mono_dst) : key_(key), mono_dst_(mono_dst) {}
  void Write(const SpanInput& in) override {
    const Pixel mask = mono_dst_ ? kPixelMask : ~Pixel{0};
    for (int i = 0; i < in.n; ++i)
      if ((in.src_raw[i] & kPixelMask) != key_) in.dst[i] = in.src[i] & mask;
  }

 private:
  Pixel key_;
  bool mono_dst_;
};

// AlphaBlend: source over destination, per byte (the X byte counts as alpha), rounded.
class AlphaWriter : public SpanWriter {
 public:
  AlphaWriter(BLENDFUNCTION blend, bool mono_dst) : blend_(blend), mono_dst_(mono_dst) {}
  void Write(const SpanInput& in) override {
    static const Surface kMono{nullptr, 0, 0, 0, true};
    const unsigned sca = blend_.SourceConstantAlpha;
    const bool per_pixel = blend_.AlphaFormat & AC_SRC_ALPHA;
    for (int i = 0; i < in.n; ++i) {
      const Pixel s = in.src[i], d = in.dst[i];
      Pixel out = 0;
      if (!per_pixel) {
        for (int c = 0; c < 32; c += 8) {
          const unsigned sv = (s >> c) & 0xFF, dv = (d >> c) & 0xFF;
          out |= static_cast<Pixel>((sv * sca + dv * (255 - sca) + 127) / 255) << c;
        }
      } else {
        // Premultiplied source, first scaled by the constant alpha.
        Pixel ss = s;
        if (sca != 255) {
          ss = 0;
          for (int c = 0; c < 32; c += 8) ss |= static_cast<Pixel>((((s >> c) & 0xFF) * sca + 127) / 255) << c;
        }
        const unsigned inv = 255 - (ss >> 24);
        for (int c = 0; c < 32; c += 8) {
          const unsigned v = ((ss >> c) & 0xFF) + (((d >> c) & 0xFF) * inv + 127) / 255;
          out |= static_cast<Pixel>(std::min(v, 255u)) << c;
        }
      }
      in.dst[i] = mono_dst_ ? MapToSurface(kMono, out) : out;
    }
  }

 private:
  BLENDFUNCTION blend_;
  bool mono_dst_;
};

// Validation and geometry shared by TransparentBlt and AlphaBlend: neither mirrors, so
// negative extents are refused.
bool PrepareUnmirrored(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs,
                       DeviceContext*& dst, DeviceContext*& src, BlitJob& job) {
  dst = Get<DeviceContext>(hdst);
  if (!dst) return false;
  src = Get<DeviceContext>(hsrc);
  if (!src) return false;
  if (w < 0 || h < 0 || ws < 0 || hs < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (!BlitRect(*dst, x, y, w, h, job.dst) || !BlitRect(*src, xs, ys, ws, hs, job.src_rect)) return false;
  job.has_source = true;
  job.src = &src->surface();
  job.sampling = Sampling::First;
  return true;
}

}  // namespace

}  // namespace gdi

using gdi::DeviceContext;

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop) {
  return gdi::Rop3Blit(dst, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, rop);
}

BOOL TransparentBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT transparent) {
  DeviceContext *dst, *src;
  gdi::BlitJob job;
  if (!gdi::PrepareUnmirrored(hdst, x, y, w, h, hsrc, xSrc, ySrc, wSrc, hSrc, dst, src, job)) return FALSE;
  if (w == 0 || h == 0 || wSrc == 0 || hSrc == 0) return TRUE;
  // Always one source pixel per destination pixel: merged or averaged pixels would no
  // longer match the key.
  job.convert = gdi::MakeConverter(*src, *dst);
  gdi::KeyWriter writer(src->Resolve(transparent) & gdi::kPixelMask, dst->surface().monochrome);
  gdi::RunBlit(*dst, job, writer);
  return TRUE;
}

BOOL GdiTransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                       UINT transparent) {
  return TransparentBlt(dst, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, transparent);
}

BOOL AlphaBlend(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xSrc, int ySrc, int wSrc, int hSrc,
                BLENDFUNCTION blend) {
  DeviceContext *dst, *src;
  gdi::BlitJob job;
  if (!gdi::PrepareUnmirrored(hdst, x, y, w, h, hsrc, xSrc, ySrc, wSrc, hSrc, dst, src, job)) return FALSE;
  const gdi::Surface& ss = src->surface();
  const bool per_pixel = blend.AlphaFormat & AC_SRC_ALPHA;
  if (blend.BlendOp != AC_SRC_OVER || (blend.AlphaFormat & ~AC_SRC_ALPHA) || (per_pixel && ss.monochrome)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (w == 0 || h == 0 || wSrc == 0 || hSrc == 0) return TRUE;
  // The source rectangle must lie inside the source, and must not overlap the destination
  // on the same surface.
  const RECT& sr = job.src_rect;
  if (!ss.valid() || sr.left < 0 || sr.top < 0 || sr.right > ss.width || sr.bottom > ss.height) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT& dr = job.dst;
  if (ss.bits == dst->surface().bits && sr.left < dr.right && dr.left < sr.right && sr.top < dr.bottom &&
      dr.top < sr.bottom) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A monochrome source is coloured first; a monochrome destination takes the blended
  // colour's nearest of black and white.
  job.convert = gdi::MakeConverter(*src, *dst);
  if (job.convert.kind == gdi::Converter::ColorToMono) job.convert.kind = gdi::Converter::None;
  gdi::AlphaWriter writer(blend, dst->surface().monochrome);
  gdi::RunBlit(*dst, job, writer);
  return TRUE;
}
