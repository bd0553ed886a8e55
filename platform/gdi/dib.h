// Device-independent bitmaps: reading DIB headers, colour masks and colour tables, turning
// DIB rows (1, 4, 8, 16, 24, 32 bpp, RLE4, RLE8) into surface pixels, and writing 1, 24 and
// 32 bpp rows. Shared by the DIB calls of the GDI and by the BMP file codec.
//
// Nothing here trusts a header: every count and size is checked before memory is read or
// allocated, and damaged input is refused with an English reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"

namespace gdi {

class Palette;

// Larger DIBs are refused before anything is allocated: 2^28 pixels is 1 GiB at 32 bpp, the
// same bound bitmaps have.
inline constexpr int64_t kMaxDibPixels = int64_t{1} << 28;

// Colour-table entries past the ones a BMP file supplies decode to this marker (top byte
// set), so the decoder can refuse pixels that use them. Win32 calls pad with black instead.
inline constexpr Pixel kMissingColor = 0xFF000000;

enum class DibSource : uint8_t {
  kApi,   // a BITMAPINFO handed to a GDI call
  kFile,  // the info header of a BMP file: OS/2 2.x headers and BI_ALPHABITFIELDS too
};

// One colour channel of a 16 or 32 bpp pixel: where it sits and how it widens to 8 bits.
struct DibChannel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  std::vector<uint8_t> widen;  // channel value -> 8 bits (channels up to 16 bits wide)

  uint8_t Get(uint32_t pixel) const {
    const uint32_t v = (pixel & mask) >> shift;
    if (!widen.empty()) return widen[v];
    const uint64_t max = (uint64_t{1} << bits) - 1;
    return static_cast<uint8_t>((v * uint64_t{255} + max / 2) / max);
  }
};

struct DibFormat {
  uint32_t header_size = 0;  // biSize / bcSize
  bool core = false;         // BITMAPCOREHEADER: WORD sizes, 3-byte colour entries
  int width = 0;
  int height = 0;  // rows (always positive)
  bool top_down = false;
  int bit_count = 0;            // 1, 4, 8, 16, 24 or 32
  uint32_t compression = 0;     // BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS (alpha masks folded in)
  DibChannel red, green, blue;  // 16 and 32 bpp
  bool plain_32 = false;        // 32 bpp laid out as the surface is (0x00RRGGBB): copied as is
  std::vector<Pixel> colors;    // indexed formats: 1 << bit_count entries, padded
  int color_count = 0;          // entries the DIB itself supplies
  uint32_t image_size = 0;      // biSizeImage as given (the byte count of RLE data)
  size_t info_size = 0;         // header, masks and colour table: where packed bits begin

  bool rle() const { return compression == BI_RLE8 || compression == BI_RLE4; }
  size_t stride() const { return ((static_cast<size_t>(width) * bit_count + 31) / 32) * 4; }
};

// Bytes in one DIB row: rows are padded to 32 bits.
constexpr size_t DibStride(int width, int bit_count) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bit_count) + 31) / 32) * 4;
}

// Reads and checks a DIB header, its colour masks and its colour table from the first `size`
// bytes at data. DIB_PAL_COLORS tables (WORD indices) are resolved through palette.
// Returns false with the reason in *error when the header is damaged or unsupported.
bool ParseDibInfo(const uint8_t* data, size_t size, DibSource source, UINT usage, const Palette* palette,
                  DibFormat* format, std::string* error);

// Converts pixels [x0, x0 + count) of one uncompressed DIB row to 0x00RRGGBB.
void DecodeDibRow(const DibFormat& format, const uint8_t* row, int x0, int count, Pixel* out);

// Expands an RLE4/RLE8 stream of `size` bytes into out: width * height pixels, top row
// first. Pixels the stream does not write (skipped by deltas, early ends of line or an early
// end of bitmap) keep what out held. Runs that overflow a row, deltas that leave the image
// and streams that stop short are refused; out may then be partly written.
bool DecodeDibRle(const DibFormat& format, const uint8_t* data, size_t size, Pixel* out, std::string* error);

// Writes count pixels as one 1, 24 or 32 bpp DIB row (1 bpp: a set bit is a pixel nearer
// white than black, as on monochrome surfaces; 32 bpp: the fourth byte is 0). Padding bytes
// past the pixels are left as they are.
void EncodeDibRow(int bit_count, const Pixel* pixels, int count, uint8_t* row);

}  // namespace gdi
