// BMP files: decoding from bytes, loading into bitmaps, encoding and saving.
//
// The decoder reads OS/2 1.x core headers, OS/2 2.x headers, BITMAPINFOHEADER and the V2-V5
// headers; 1, 4, 8, 16, 24 and 32 bpp; 3- and 4-byte colour tables; any contiguous colour
// masks (BI_BITFIELDS, BI_ALPHABITFIELDS; alpha is dropped, surfaces have none); bottom-up
// and top-down rows; RLE4 and RLE8 with deltas and early ends of line. Pixels an RLE stream
// does not write take the first colour of the palette. Everything else is refused with a
// reason in English: damaged or truncated files, images over 2^28 pixels, embedded JPEG/PNG,
// OS/2 Huffman and RLE24, pixel indices past the palette. Colour profiles are ignored, and so
// is the pixel density.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"

namespace gdi {

struct DecodedBmp {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;      // of the file
  bool monochrome = false;     // 1 bpp whose two palette colours are black and white
  std::vector<Pixel> pixels;   // width * height, top row first, 0x00RRGGBB
  std::vector<Pixel> palette;  // the file's colour table (1, 4 and 8 bpp files)
};

struct BmpResult {
  std::optional<DecodedBmp> image;
  std::string error;  // why there is no image
};

// Decodes a whole BMP file (starting with its 14-byte file header).
BmpResult DecodeBmp(const uint8_t* data, size_t size);

// Loads a BMP file into a new bitmap: monochrome for black-and-white 1 bpp files, 32 bpp
// otherwise. Returns null with a reason in *error (and the last error set) on failure.
HBITMAP LoadBmpFile(const std::string& path, std::string* error = nullptr);

// A BMP file of the bitmap at 1, 24 or 32 bpp (bottom-up, BITMAPINFOHEADER; 1 bpp takes the
// nearer of black and white). Empty with a reason in *error on failure.
std::vector<uint8_t> EncodeBmp(HBITMAP bitmap, int bits_per_pixel, std::string* error = nullptr);

// Writes EncodeBmp's file to a temporary file beside path and renames it into place, so a
// failure never leaves a half-written file behind.
bool SaveBmpFile(const std::string& path, HBITMAP bitmap, int bits_per_pixel, std::string* error = nullptr);

}  // namespace gdi
