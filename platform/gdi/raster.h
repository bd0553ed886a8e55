// The only code that writes pixels for fills and lines: solid and patterned inks applied to
// rectangles and spans, clipped by a region. Every ROP2 mode reduces to an (and, xor) pair:
// dst = (dst & and) ^ xor.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "platform/gdi/region.h"
#include "platform/gdi/surface.h"

namespace gdi {

class DeviceContext;
class Brush;

struct RopMask {
  Pixel and_mask;
  Pixel xor_mask;
};

// (and, xor) of a ROP2 mode for one pen or brush colour.
constexpr RopMask Rop2Mask(int rop2, Pixel c) {
  c &= kPixelMask;
  const Pixel all = kPixelMask;
  switch (rop2) {
    case R2_BLACK: return {0, 0};
    case R2_NOTMERGEPEN: return {~c & all, ~c & all};  // ~(d | c)
    case R2_MASKNOTPEN: return {~c & all, 0};          // d & ~c
    case R2_NOTCOPYPEN: return {0, ~c & all};
    case R2_MASKPENNOT: return {c, c};                 // c & ~d
    case R2_NOT: return {all, all};
    case R2_XORPEN: return {all, c};
    case R2_NOTMASKPEN: return {c, all};               // ~(d & c)
    case R2_MASKPEN: return {c, 0};
    case R2_NOTXORPEN: return {all, ~c & all};
    case R2_NOP: return {all, 0};
    case R2_MERGENOTPEN: return {c, ~c & all};         // d | ~c
    case R2_COPYPEN: return {0, c};
    case R2_MERGEPENNOT: return {~c & all, all};       // c | ~d
    case R2_MERGEPEN: return {~c & all, c};
    case R2_WHITE: return {0, all};
    default: return {0, c};
  }
}

// A tile of per-pixel (and, xor) pairs, repeated across the surface from an origin.
struct InkTile {
  int width = 0;
  int height = 0;
  std::vector<Pixel> and_mask;
  std::vector<Pixel> xor_mask;
  bool copy = false;  // every and_mask is 0: the tile's pixels are simply written
};

// What a fill or a line writes.
struct Ink {
  RopMask solid{0, 0};
  std::shared_ptr<const InkTile> tile;  // when set, per-pixel masks anchored at origin
  POINT origin{0, 0};                   // surface coordinates of tile pixel (0, 0)
  bool nothing = false;                 // draws nothing (null pen or brush, R2_NOP)

  static Ink Solid(int rop2, Pixel color) {
    Ink ink;
    ink.solid = Rop2Mask(rop2, color);
    ink.nothing = rop2 == R2_NOP;
    return ink;
  }
  static Ink None() {
    Ink ink;
    ink.nothing = true;
    return ink;
  }
};

// The pixels a brush stands for on a DC, before any raster operation: solid colour, hatch
// lines in the brush colour over the background colour, or pattern pixels (monochrome
// patterns in the text and background colours). Pixels marked transparent (hatch
// background in TRANSPARENT mode) are left alone by fills. Null for BS_NULL.
struct BrushPattern {
  int width = 1;
  int height = 1;
  std::vector<Pixel> color;
  std::vector<uint8_t> opaque;  // empty when every pixel is opaque
};
std::shared_ptr<const BrushPattern> RealizeBrush(const DeviceContext& dc, const Brush& brush);

// The ink for filling with a brush in a ROP2 mode (the DC's own for shapes, R2_COPYPEN for
// FillRect); uses the DC's colours, background mode and brush origin.
Ink BrushInk(DeviceContext& dc, const Brush* brush, int rop2);
// The ink of a pen colour in the DC's ROP2 mode.
Ink ColorInk(DeviceContext& dc, COLORREF color);

// Fill rectangles / spans given in surface coordinates, clipped by clip (also surface
// coordinates; the caller guarantees it lies within the surface).
void FillRects(const Surface& s, const Region& clip, const RECT* rects, size_t count, const Ink& ink);
void FillSpans(const Surface& s, const Region& clip, const Span* spans, size_t count, const Ink& ink);
void FillRegion(const Surface& s, const Region& clip, const Region& area, const Ink& ink);
// Rows [top, bottom), each covering the same sorted x intervals (a band of a scan-converted
// shape), clipped.
void FillBand(const Surface& s, const Region& clip, int top, int bottom, const std::pair<int, int>* xs, size_t count,
              const Ink& ink);

// Blends colour c through a w x h coverage mask (0..255, top row first) placed with its
// top-left at surface point (x, y). Monochrome surfaces take pixels of coverage >= 128.
void DrawCoverage(const Surface& s, const Region& clip, int x, int y, int w, int h, const uint8_t* coverage,
                  Pixel c);

// DC conveniences, clipped by the DC's effective clip: a logical rectangle (empty when
// right <= left or bottom <= top), spans in surface coordinates.
void FillLogicalRect(DeviceContext& dc, const RECT& rc, const Ink& ink);
void FillSurfaceSpans(DeviceContext& dc, const std::vector<Span>& spans, const Ink& ink);

}  // namespace gdi
