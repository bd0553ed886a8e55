// Pixel surfaces: 32-bit BGRX rows in memory (a pixel is 0x00RRGGBB), top row first in
// address order when stride is positive, bottom row first when it is negative.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32/gdi.h"

namespace gdi {

using Pixel = uint32_t;
inline constexpr Pixel kPixelMask = 0x00FFFFFF;
inline constexpr Pixel kBlack = 0x000000;
inline constexpr Pixel kWhite = 0xFFFFFF;

// COLORREF 0x00BBGGRR <-> pixel 0x00RRGGBB (palette flags in the top byte are dropped).
constexpr Pixel ToPixel(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
constexpr COLORREF ToColorRef(Pixel p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }

struct Surface {
  Pixel* bits = nullptr;  // row 0 (the top row)
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;  // in pixels, from one row to the next one down
  bool monochrome = false;  // pixels are only kBlack or kWhite

  Pixel* Row(int y) const { return bits + y * stride; }
  bool valid() const { return bits != nullptr && width > 0 && height > 0; }
  RECT bounds() const { return RECT{0, 0, width, height}; }
};

// The pixel a colour becomes when drawn on this surface: monochrome surfaces take the
// nearer of black and white.
inline Pixel MapToSurface(const Surface& s, Pixel p) {
  if (!s.monochrome) return p & kPixelMask;
  const unsigned sum = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
  return sum > 382 ? kWhite : kBlack;
}

}  // namespace gdi
