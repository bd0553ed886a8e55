// Scan conversion for the line and shape calls, and the pen machinery they share.
//
// Index:
//   [SECTION] Coordinates and intervals
//   [SECTION] Polygons (ALTERNATE and WINDING, GDI's pixel-centre rule)
//   [SECTION] Figures: ellipses, rounded rectangles, wedges, boundaries, rings
//   [SECTION] Pens: cosmetic lines, dash patterns, wide strokes
//
// Geometry is in surface coordinates held in 64-bit integers; every generator takes a window
// (the clip bounds) and produces only the rows and columns inside it, so a figure a hundred
// million pixels tall costs no more than the part of it that can be seen.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/gdi/raster.h"
#include "platform/gdi/region.h"

namespace gdi {

class DeviceContext;

// [SECTION] Coordinates and intervals ---------------------------------------------------

// Surface coordinates beyond this magnitude are refused: it keeps every product of the scan
// converters inside 128-bit integers and leaves room for origins around +-2^27 inputs.
inline constexpr int64_t kMaxCoord = int64_t{1} << 29;

struct Point64 {
  int64_t x = 0;
  int64_t y = 0;
  bool operator==(const Point64& o) const { return x == o.x && y == o.y; }
};

// Sorted, disjoint x intervals [first, second) of one row.
using Interval = std::pair<int, int>;
using Intervals = std::vector<Interval>;

// Receives runs of rows [top, bottom) sharing the same intervals, top to bottom.
using BandSink = std::function<void(int top, int bottom, const Intervals& xs)>;

// Logical -> surface coordinates without overflow; false when the result is out of range.
bool MapPoint(const DeviceContext& dc, int x, int y, Point64& out);

void IntersectIntervals(const Intervals& a, const Intervals& b, Intervals& out);
void SubtractIntervals(const Intervals& a, const Intervals& b, Intervals& out);
void UniteIntervals(const Intervals& a, const Intervals& b, Intervals& out);

// The part of an interval list inside [lo, hi).
void ClampIntervals(Intervals& xs, int lo, int hi);

// [SECTION] Polygons ------------------------------------------------------------------------

// Vertices carry kSubBits fractional bits. Pixel (x, y) is sampled at the integer point
// (x, y): a pixel whose sample lies on a left or top edge is inside, on a right or bottom
// edge outside, so integer polygons leave their right and bottom edges out.
inline constexpr int kSubBits = 8;
inline constexpr int64_t kSubOne = int64_t{1} << kSubBits;

struct FixPoint {
  int64_t x;
  int64_t y;
};
inline FixPoint ToFix(const Point64& p) { return FixPoint{p.x * kSubOne, p.y * kSubOne}; }

// Fills polygons (each closed implicitly) together with ALTERNATE or WINDING, reporting
// the rows inside window as bands.
void ScanPolygons(const FixPoint* pts, const int* counts, size_t polys, int fill_mode, const RECT& window,
                  const BandSink& sink);

// [SECTION] Figures --------------------------------------------------------------------------

// A set of pixels described row by row.
class Figure {
 public:
  virtual ~Figure() = default;
  // The pixels of row y inside columns [lo, hi), sorted and disjoint.
  virtual void Row(int64_t y, int lo, int hi, Intervals& out) const = 0;
  // The end of the run of rows from y on that all equal row y (at least y + 1), so long
  // straight stretches are scanned once.
  virtual int64_t SameUntil(int64_t y) const { return y + 1; }
  // Rows outside [top, bottom) are empty.
  int64_t top = -(int64_t{1} << 40);
  int64_t bottom = int64_t{1} << 40;
};

// Reports the rows of a figure inside window.
void ScanFigure(const Figure& f, const RECT& window, const BandSink& sink);
// The figure's pixels inside window as a region.
Region FigureRegion(const Figure& f, const RECT& window);

// An ellipse (corners as large as the extent), a rounded rectangle or a plain rectangle
// covering the pixel extent [left, right) x [top, bottom). Corners are ellipses of
// corner_w x corner_h pixels. Every oval touches all four sides of its extent.
class Oval : public Figure {
 public:
  Oval(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t corner_w, int64_t corner_h);
  static Oval Ellipse(int64_t l, int64_t t, int64_t r, int64_t b) { return Oval(l, t, r, b, r - l, b - t); }
  void Row(int64_t y, int lo, int hi, Intervals& out) const override;
  int64_t SameUntil(int64_t y) const override;
  // The pixel run of row y (false when empty).
  bool Span(int64_t y, int64_t& x0, int64_t& x1) const;
  bool empty() const { return left_ >= right_ || top >= bottom; }
  int64_t left() const { return left_; }
  int64_t right() const { return right_; }

 private:
  int64_t left_, right_;
  int64_t corner_w_, corner_h_;
};

// Half-planes through points given in doubled coordinates (2x, 2y), so that centres of
// even-sized extents stay integral. Side(a, b) holds the points p with
// cross(b - a, p - a) >= 0 in surface coordinates (y down): the right of a -> b on screen.
struct HalfPlane {
  Point64 a, b;
  // The x range of row y inside [lo, hi), appended to out.
  void Row(int64_t y, int lo, int hi, Intervals& out) const;
};

// The wedge a pie covers, seen from centre c (doubled coordinates): from the ray through s
// counter-clockwise on screen to the ray through e. Equal rays give the whole plane.
// A chord instead keeps the side of the line s -> e where its arc lies.
class Wedge : public Figure {
 public:
  static Wedge Sector(Point64 c2, Point64 s2, Point64 e2);
  static Wedge Chord(Point64 s2, Point64 e2);
  static Wedge All() { return Wedge(Mode::All); }
  static Wedge None() { return Wedge(Mode::None); }
  void Row(int64_t y, int lo, int hi, Intervals& out) const override;
  int64_t SameUntil(int64_t y) const override;
  bool all() const { return mode_ == Mode::All; }
  // More than half a turn.
  bool reflex() const { return mode_ == Mode::Either; }

 private:
  enum class Mode : uint8_t { All, None, One, Both, Either };
  explicit Wedge(Mode m) : mode_(m) {}
  Mode mode_;
  HalfPlane first_{}, second_{};
  mutable Intervals xa_, xb_;  // scratch rows
};

class Intersection : public Figure {
 public:
  Intersection(const Figure& a, const Figure& b);
  void Row(int64_t y, int lo, int hi, Intervals& out) const override;
  int64_t SameUntil(int64_t y) const override;

 private:
  const Figure& a_;
  const Figure& b_;
  mutable Intervals xa_, xb_;  // scratch rows, kept to spare allocations
};

class Difference : public Figure {
 public:
  Difference(const Figure& a, const Figure& b);
  void Row(int64_t y, int lo, int hi, Intervals& out) const override;
  int64_t SameUntil(int64_t y) const override;

 private:
  const Figure& a_;
  const Figure& b_;
  mutable Intervals xa_, xb_;  // scratch rows, kept to spare allocations
};

// The one-pixel outline of a figure: its pixels with a 4-neighbour outside it.
class Boundary : public Figure {
 public:
  explicit Boundary(const Figure& f);
  void Row(int64_t y, int lo, int hi, Intervals& out) const override;
  int64_t SameUntil(int64_t y) const override;

 private:
  // The figure's rows, cached: a scan asks for each row three times in a row.
  const Intervals& Source(int64_t y, int lo, int hi) const;
  const Figure& f_;
  struct Cached {
    int64_t y = 0;
    int lo = 0, hi = 0;
    bool valid = false;
    Intervals xs;
  };
  mutable Cached cache_[4];
  mutable size_t next_ = 0;
  mutable Intervals cur_, up_, down_, eroded_, tmp_, inner_;  // scratch rows
};

// The pixels a round pen tip of the given width covers when centred on pixel c.
void DiscSpans(Point64 c, int width, const RECT& window, std::vector<Span>& out);

// [SECTION] Pens --------------------------------------------------------------------------

// A pen as the line and shape calls see it on one DC.
struct PenInfo {
  enum class Kind : uint8_t { None, Cosmetic, Wide } kind = Kind::None;
  int width = 1;
  int cap = PS_ENDCAP_ROUND;
  int join = PS_JOIN_ROUND;
  bool inside_frame = false;
  std::vector<int64_t> dashes;  // cosmetic styled pens: on, off, on, off... (empty: solid)
  Ink ink;                      // dash pixels (or the whole line)
  Ink gap;                      // gap pixels: background colour when OPAQUE, else nothing
  // Pixels the wide pen reaches before (lo) and after (hi) its centre line.
  int lo() const { return width / 2; }
  int hi() const { return width - 1 - width / 2; }
};
PenInfo ResolvePen(DeviceContext& dc);

// Walks a dash pattern one pixel at a time; the position carries over between segments.
class Dasher {
 public:
  explicit Dasher(const std::vector<int64_t>* dashes);
  bool solid() const { return total_ == 0; }
  // Whether the pixel `offset` steps ahead of the current position is a dash pixel.
  bool OnAt(int64_t offset) const;
  void Advance(int64_t n) { pos_ += n; }
  void Reset() { pos_ = 0; }

 private:
  const std::vector<int64_t>* dashes_;
  int64_t total_ = 0;
  int64_t pos_ = 0;
};

// The pixels a cosmetic pen leaves: dash pixels and gap pixels, as spans. Neighbouring
// pixels of one row with the same state join into one span.
class PenTrace {
 public:
  void Add(bool on, int64_t x, int64_t y);
  std::vector<Span> on;
  std::vector<Span> off;

 private:
  void Push(std::vector<Span>& v, int64_t x, int64_t y);
};

// A cosmetic line from a toward b, b itself left out, with GDI's diamond rule: one pixel
// per column for flat lines (halfway ties take the upper pixel), one per row for steep
// lines (ties take the left pixel). Only pixels inside window are traced; the dash
// position still advances over the whole line.
void TraceLine(Point64 a, Point64 b, const RECT& window, Dasher& dash, PenTrace& trace);
// Traces a chain of pixels in order (curves already turned into pixels).
void TraceChain(const std::vector<Point64>& chain, const RECT& window, Dasher& dash, PenTrace& trace);

// Spans a wide pen covers along a polyline (closed: the last point joins the first),
// honouring the pen's end caps and joins. Overlapping pieces are left to the caller to
// unite. open_caps false leaves both ends flat (figures that continue with a curve).
void StrokeWide(const std::vector<Point64>& pts, bool closed, const PenInfo& pen, bool open_caps,
                const RECT& window, std::vector<Span>& out);

// What a pen leaves along the figures of one call, worked out before anything is drawn
// (shapes fill their interior first, without the pixels the pen will cover).
struct Outline {
  std::vector<Span> on;   // cosmetic pens: dash pixels (all pixels of a solid pen)
  std::vector<Span> off;  // cosmetic pens: gap pixels
  Region area;            // pixels drawn once in the pen's ink (wide pens, solid curves)
  // Cosmetic polylines are drawn span by span, so a pixel where lines cross is drawn twice
  // (as GDI does); shape outlines are united with area first so each pixel is drawn once.
  bool unite = false;
  Region Covered() const;
  void Draw(DeviceContext& dc, const PenInfo& pen) const;
};

// The polylines of one call: a cosmetic pen line by line (each segment without its end
// point; the dash pattern runs on across the segments of one figure and starts afresh
// with the next figure), a wide pen as one united set of pixels.
Outline TracePolylines(DeviceContext& dc, const PenInfo& pen, const std::vector<Point64>& pts,
                       const std::vector<size_t>& counts, bool closed);

}  // namespace gdi
