// The shape of an image as a monochrome mask, and the ways DrawState and GrayString paint
// it: in a brush, dithered, embossed. Pixels reach the surface only as spans through the
// raster layer, clipped by the DC.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/raster.h"

namespace gdi {

class Bitmap;

class ShapeMask {
 public:
  ShapeMask() = default;
  ShapeMask(int width, int height);  // nothing set; a negative size is taken as empty

  // The pixels of [0, width) x [0, height) of a surface that are not `background` (after
  // the image was drawn on it); what lies outside the surface stays clear.
  static ShapeMask FromSurface(const Surface& s, int width, int height, Pixel background);

  int width() const { return width_; }
  int height() const { return height_; }
  bool Get(int x, int y) const;
  void Set(int x, int y, bool on);

  // Keeps the set pixels on one colour of a checkerboard anchored at the mask's corner: those
  // with (x + y) % 2 == parity.
  void Dither(int parity);

  // The runs of set pixels, moved by (dx, dy).
  std::vector<Span> Spans(int dx, int dy) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> bits_;  // one byte a pixel, rows top first
};

// Paints the set pixels of a mask with its top-left corner at logical (x, y).
void PaintMask(DeviceContext& dc, const ShapeMask& mask, int x, int y, const Ink& ink);

// A brush's ink for painting a mask: monochrome patterns take black and white, as they do when
// a mask is blitted through a brush (the DC's text and background colours are left alone).
Ink MaskBrushInk(DeviceContext& dc, const Brush& brush);

// DrawState's painting of a state other than DSS_NORMAL: DSS_UNION dithers the shape,
// DSS_DISABLED embosses it (3D highlight one pixel down and to the right, then 3D shadow in
// place), any other state paints it in the brush, black when there is none.
void PaintStateMask(DeviceContext& dc, ShapeMask mask, int x, int y, UINT state, const Brush* brush);

// Copies w x h pixels of a bitmap, from its top-left corner, to logical (x, y), as
// DrawState's DSS_NORMAL does: nothing beyond the bitmap's own size; a monochrome bitmap's
// black pixels take the DC's text colour and its white pixels the background colour.
void CopyBitmapPixels(DeviceContext& dc, const Bitmap& bitmap, int x, int y, int w, int h);

}  // namespace gdi
