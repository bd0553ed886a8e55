// Ternary raster operations and the blit engine behind BitBlt, StretchBlt, PatBlt, MaskBlt,
// TransparentBlt and AlphaBlend.
//
// Index:
//   [SECTION] ROP3 evaluation (rop3.cpp)
//   [SECTION] Blit engine (blit.cpp, sampling in stretch.cpp)
//
// A ROP3 index byte is a truth table: bit ((P<<2)|(S<<1)|D) is the result for that pattern,
// source and destination bit. It is applied bitwise to whole 32-bit pixels, so the X byte of
// a BGRX pixel goes through the same table (as it does on Win32); monochrome destinations
// are masked back to black and white afterwards.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/surface.h"

namespace gdi {

class DeviceContext;
struct BrushPattern;

// [SECTION] ROP3 evaluation -------------------------------------------------------------

constexpr uint8_t Rop3Index(DWORD rop) { return static_cast<uint8_t>((rop >> 16) & 0xFF); }
// Whether the result depends on P, S or D at all.
constexpr bool Rop3UsesPattern(uint8_t r) { return (((r >> 4) ^ r) & 0x0F) != 0; }
constexpr bool Rop3UsesSource(uint8_t r) { return (((r >> 2) ^ r) & 0x33) != 0; }
constexpr bool Rop3UsesDest(uint8_t r) { return (((r >> 1) ^ r) & 0x55) != 0; }

// The general evaluator: one all-ones-or-zero mask per truth-table entry, combined by a
// Shannon expansion on D, then S, then P. Branch-free, about twenty operations a pixel.
class Rop3 {
 public:
  constexpr explicit Rop3(uint8_t index) : m_{} {
    for (int i = 0; i < 8; ++i) m_[i] = (index >> i) & 1 ? ~Pixel{0} : Pixel{0};
  }
  constexpr Pixel operator()(Pixel p, Pixel s, Pixel d) const {
    const Pixel nd = ~d, ns = ~s;
    const Pixel p0 = (ns & ((nd & m_[0]) | (d & m_[1]))) | (s & ((nd & m_[2]) | (d & m_[3])));
    const Pixel p1 = (ns & ((nd & m_[4]) | (d & m_[5]))) | (s & ((nd & m_[6]) | (d & m_[7])));
    return (~p & p0) | (p & p1);
  }

 private:
  Pixel m_[8];
};

// d[i] = rop(P, s[i], d[i]) for n pixels, where P is p[i] when p is given and solid_p
// otherwise, and s may be null when the ROP does not use the source. The common ROPs
// (copies, AND/OR/XOR with the source, pattern copy and invert, DPa, destination invert,
// blackness, whiteness) take fast paths; s may then even overlap d exactly.
void Rop3Row(uint8_t rop, Pixel* d, const Pixel* s, const Pixel* p, Pixel solid_p, int n);
// The same through the general evaluator only: the reference the fast paths answer to.
void Rop3RowGeneral(uint8_t rop, Pixel* d, const Pixel* s, const Pixel* p, Pixel solid_p, int n);
bool Rop3HasFastPath(uint8_t rop);

// [SECTION] Blit engine -----------------------------------------------------------------

// A source surface seen through a window: pixel (x, y) in source surface coordinates lives
// at base[(y - oy) * stride + (x - ox)]. Lets a blit read from a private snapshot when the
// source overlaps the destination.
struct SourceView {
  const Pixel* base = nullptr;
  ptrdiff_t stride = 0;
  int ox = 0;
  int oy = 0;
  const Pixel* Row(int y) const { return base + (y - oy) * stride - ox; }
};

// How the pixels of one source box become one pixel (the destination's stretch mode).
enum class Sampling : uint8_t {
  First,    // COLORONCOLOR: the first pixel of the box, dropping the rest
  And,      // BLACKONWHITE: AND of the box
  Or,       // WHITEONBLACK: OR of the box
  Average,  // HALFTONE: the mean of the box, per byte
};
Sampling SamplingForMode(int stretch_mode);

// Maps one axis of a blit: destination pixel d covers source box [a, b), the run of source
// pixels between d's edges scaled onto the source (at least one), reflected when mirrored,
// clipped to [0, limit). An empty box means d has nothing to draw from.
struct AxisMap {
  int dst0 = 0;   // destination start (surface coordinates)
  int dn = 1;     // destination length, > 0
  int src0 = 0;   // source start
  int sn = 1;     // source length, > 0
  bool mirror = false;
  int limit = 0;  // source surface extent on this axis
  void Box(int d, int& a, int& b) const;
  bool identity() const { return dn == sn && !mirror; }
};

// Turns source pixels into destination pixels when the two differ in depth.
struct Converter {
  enum Kind : uint8_t { None, ColorToMono, MonoToColor } kind = None;
  Pixel src_bk = kWhite;  // colour -> mono: this colour becomes white, all others black
  Pixel fg = kBlack;      // mono -> colour: 0 bits take the destination's text colour
  Pixel bg = kWhite;      //                 1 bits its background colour
  Pixel operator()(Pixel p) const {
    switch (kind) {
      case ColorToMono: return (p & kPixelMask) == src_bk ? kWhite : kBlack;
      case MonoToColor: return (p & kPixelMask) ? bg : fg;
      default: return p;
    }
  }
  void Row(const Pixel* in, Pixel* out, int n) const;
};

// Samples source pixels for destination columns [x0, x0 + n) of one destination row: the
// source row box is [ra, rb), column boxes are ca[i], cb[i]. Average converts before it
// averages (and writes destination pixels); the other samplings write source pixels.
void SampleRow(const SourceView& src, Sampling mode, int ra, int rb, bool mirror_y, const int* ca, const int* cb,
               bool mirror_x, int n, const Converter& convert, bool mono_dst, Pixel* out);

// What a blit does with each clipped span of its destination.
struct SpanInput {
  int y;
  int x0;
  int n;
  Pixel* dst;            // destination row + x0
  const Pixel* src;      // n source pixels in the destination's format, or null
  const Pixel* src_raw;  // the same before conversion (what colour keys compare against)
};
class SpanWriter {
 public:
  virtual ~SpanWriter() = default;
  virtual void Write(const SpanInput& in) = 0;
};

// One blit in surface coordinates. dst and src are normalised (left < right, top < bottom);
// mirror flags say that the source runs the other way.
struct BlitJob {
  RECT dst{};
  bool has_source = false;
  const Surface* src = nullptr;
  RECT src_rect{};
  bool mirror_x = false;
  bool mirror_y = false;
  Sampling sampling = Sampling::First;
  Converter convert;
};

// Runs a blit: clips the destination by the DC's effective clip and by where the source
// exists (destination pixels whose source lies outside the source surface are left alone),
// picks a copy direction (or a snapshot) when source and destination share a surface, and
// hands each span to the writer in that order.
void RunBlit(DeviceContext& dc, const BlitJob& job, SpanWriter& writer);

// The converter between a source DC and a destination DC (mono <-> colour).
Converter MakeConverter(const DeviceContext& src, const DeviceContext& dst);

// Expands a realized brush into rows of pattern pixels anchored at an origin.
class PatternRows {
 public:
  PatternRows(std::shared_ptr<const BrushPattern> pattern, POINT origin);
  bool empty() const;
  bool solid() const { return solid_; }
  Pixel solid_color() const { return solid_color_; }
  bool has_transparency() const;
  // Pattern pixels for [x0, x0 + n) of row y (and their opaque flags when the pattern has
  // transparent pixels); valid until the next call.
  const Pixel* Row(int y, int x0, int n);
  const uint8_t* Opaque(int y, int x0, int n);

 private:
  std::shared_ptr<const BrushPattern> pat_;
  POINT org_;
  bool solid_ = false;
  Pixel solid_color_ = 0;
  std::vector<Pixel> buf_;
  std::vector<uint8_t> obuf_;
};

// Writes a ROP3 (PatBlt, BitBlt, StretchBlt). Pattern pixels that are transparent (hatch
// gaps in TRANSPARENT mode) leave the destination alone.
class Rop3Writer : public SpanWriter {
 public:
  Rop3Writer(uint8_t rop, PatternRows* pattern, bool mono_dst);
  void Write(const SpanInput& in) override;

 private:
  uint8_t rop_;
  PatternRows* pattern_;
  bool mono_dst_;
  std::vector<Pixel> keep_;
};

// Entry-point helpers shared by blit.cpp and stretch.cpp.
// The surface rectangle a blit covers from a logical origin and signed extent: a negative
// extent runs back from the origin pixel, which it includes ([x + w + 1, x + 1)). False
// (ERROR_INVALID_PARAMETER) when it lies beyond any sane coordinate.
bool BlitRect(const DeviceContext& dc, int x, int y, int w, int h, RECT& out);
// The DC's brush realized for blitting; null for a null brush.
std::shared_ptr<const BrushPattern> DCPattern(const DeviceContext& dc);
BOOL PatBltOn(DeviceContext& dc, int x, int y, int w, int h, uint8_t rop);
// BitBlt and StretchBlt: a ROP3 from a source rectangle to a destination rectangle.
BOOL Rop3Blit(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, int ws, int hs, DWORD rop);

}  // namespace gdi
