// ROP3 rows: fast paths for the operations programs actually use, the general evaluator for
// the other 240-odd.
#include "platform/gdi/rop3.h"

#include <algorithm>
#include <cstring>

namespace gdi {
namespace {

// Pattern operand: either one colour for the whole row or a row of pixels.
struct SolidP {
  Pixel v;
  Pixel operator[](int) const { return v; }
};
struct RowP {
  const Pixel* p;
  Pixel operator[](int i) const { return p[i]; }
};
struct NoS {
  Pixel operator[](int) const { return 0; }
};
struct RowS {
  const Pixel* s;
  Pixel operator[](int i) const { return s[i]; }
};

template <class P, class S>
void General(const Rop3& op, Pixel* d, S s, P p, int n) {
  for (int i = 0; i < n; ++i) d[i] = op(p[i], s[i], d[i]);
}

template <class P>
void GeneralWithS(const Rop3& op, Pixel* d, const Pixel* s, P p, int n) {
  if (s)
    General(op, d, RowS{s}, p, n);
  else
    General(op, d, NoS{}, p, n);
}

// ROP index bytes of the fast paths.
constexpr uint8_t kBlackness = 0x00;
constexpr uint8_t kNotSrcCopy = 0x33;
constexpr uint8_t kDstInvert = 0x55;
constexpr uint8_t kPatInvert = 0x5A;
constexpr uint8_t kSrcInvert = 0x66;
constexpr uint8_t kSrcAnd = 0x88;
constexpr uint8_t kDPa = 0xA0;
constexpr uint8_t kDst = 0xAA;  // leaves the destination as it is
constexpr uint8_t kSrcCopy = 0xCC;
constexpr uint8_t kSrcPaint = 0xEE;
constexpr uint8_t kPatCopy = 0xF0;
constexpr uint8_t kWhiteness = 0xFF;

}  // namespace

bool Rop3HasFastPath(uint8_t rop) {
  switch (rop) {
    case kBlackness:
    case kNotSrcCopy:
    case kDstInvert:
    case kPatInvert:
    case kSrcInvert:
    case kSrcAnd:
    case kDPa:
    case kDst:
    case kSrcCopy:
    case kSrcPaint:
    case kPatCopy:
    case kWhiteness: return true;
    default: return false;
  }
}

void Rop3RowGeneral(uint8_t rop, Pixel* d, const Pixel* s, const Pixel* p, Pixel solid_p, int n) {
  if (n <= 0) return;
  const Rop3 op(rop);
  if (p)
    GeneralWithS(op, d, s, RowP{p}, n);
  else
    GeneralWithS(op, d, s, SolidP{solid_p}, n);
}

void Rop3Row(uint8_t rop, Pixel* d, const Pixel* s, const Pixel* p, Pixel solid_p, int n) {
  if (n <= 0) return;
  const bool needs_s = Rop3UsesSource(rop);
  if (needs_s && !s) return;  // the caller checked; never read through null
  switch (rop) {
    case kBlackness: std::fill_n(d, n, Pixel{0}); return;
    case kWhiteness: std::fill_n(d, n, ~Pixel{0}); return;
    case kDst: return;
    case kDstInvert:
      for (int i = 0; i < n; ++i) d[i] = ~d[i];
      return;
    case kSrcCopy:
      if (s != d) std::memmove(d, s, sizeof(Pixel) * static_cast<size_t>(n));
      return;
    case kNotSrcCopy:
      for (int i = 0; i < n; ++i) d[i] = ~s[i];
      return;
    case kSrcAnd:
      for (int i = 0; i < n; ++i) d[i] &= s[i];
      return;
    case kSrcPaint:
      for (int i = 0; i < n; ++i) d[i] |= s[i];
      return;
    case kSrcInvert:
      for (int i = 0; i < n; ++i) d[i] ^= s[i];
      return;
    case kPatCopy:
      if (p)
        std::memcpy(d, p, sizeof(Pixel) * static_cast<size_t>(n));
      else
        std::fill_n(d, n, solid_p);
      return;
    case kPatInvert:
      if (p) {
        for (int i = 0; i < n; ++i) d[i] ^= p[i];
      } else {
        for (int i = 0; i < n; ++i) d[i] ^= solid_p;
      }
      return;
    case kDPa:
      if (p) {
        for (int i = 0; i < n; ++i) d[i] &= p[i];
      } else {
        for (int i = 0; i < n; ++i) d[i] &= solid_p;
      }
      return;
    default: Rop3RowGeneral(rop, d, s, p, solid_p, n); return;
  }
}

void Converter::Row(const Pixel* in, Pixel* out, int n) const {
  switch (kind) {
    case ColorToMono:
      for (int i = 0; i < n; ++i) out[i] = (in[i] & kPixelMask) == src_bk ? kWhite : kBlack;
      return;
    case MonoToColor:
      for (int i = 0; i < n; ++i) out[i] = (in[i] & kPixelMask) ? bg : fg;
      return;
    default:
      if (in != out) std::memmove(out, in, sizeof(Pixel) * static_cast<size_t>(n));
      return;
  }
}

}  // namespace gdi
