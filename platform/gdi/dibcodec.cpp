// DIB headers, colour tables and pixel rows: the decoding both the DIB calls and the BMP
// file reader stand on.
#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>

#include "platform/gdi/bytes.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/objects.h"

namespace gdi {
namespace {

using namespace gdi::bytes;


[[gnu::format(printf, 2, 3)]] bool Fail(std::string* error, const char* format, ...) {
  if (!error) return false;
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  *error = text;
  return false;
}

// Stands for any monochrome surface: colours become the nearer of black and white.
constexpr Surface kMonochrome{nullptr, 0, 0, 0, true};

constexpr Pixel Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return (static_cast<Pixel>(r) << 16) | (static_cast<Pixel>(g) << 8) | b;
}

bool KnownHeaderSize(uint32_t size, DibSource source) {
  switch (size) {
    case 12:   // BITMAPCOREHEADER
    case 40:   // BITMAPINFOHEADER
    case 52:   // with RGB masks
    case 56:   // with RGBA masks
    case 108:  // BITMAPV4HEADER
    case 124:  // BITMAPV5HEADER
      return true;
    case 16:  // OS/2 2.x, short and full
    case 64: return source == DibSource::kFile;
    default: return false;
  }
}

// A mask must be one run of set bits inside the pixel.
bool MakeChannel(uint32_t mask, int bit_count, DibChannel* c) {
  if (mask == 0) return false;
  if (bit_count < 32 && (mask >> bit_count) != 0) return false;
  c->mask = mask;
  c->shift = std::countr_zero(mask);
  c->bits = std::popcount(mask);
  const uint64_t max = (uint64_t{1} << c->bits) - 1;
  if ((static_cast<uint64_t>(mask) >> c->shift) != max) return false;
  c->widen.clear();
  if (c->bits <= 16) {
    c->widen.resize(static_cast<size_t>(max) + 1);
    for (uint64_t v = 0; v <= max; ++v) c->widen[v] = static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
  return true;
}

}  // namespace

bool ParseDibInfo(const uint8_t* data, size_t size, DibSource source, UINT usage, const Palette* palette, DibFormat* f,
                  std::string* error) {
  const bool file = source == DibSource::kFile;
  const char* what = file ? "BMP" : "DIB";
  *f = DibFormat{};
  if (!data) return Fail(error, "%s header is missing", what);
  if (size < 4) return Fail(error, "%s header is truncated: %zu bytes present", what, size);
  const uint32_t hs = U32(data);
  if (!KnownHeaderSize(hs, source)) return Fail(error, "%s header size %u is not a known header version", what, hs);
  if (size < hs) return Fail(error, "%s header is truncated: the %u-byte header has %zu bytes", what, hs, size);
  f->header_size = hs;

  uint32_t planes, bit_count, compression = BI_RGB, clr_used = 0;
  int64_t width, height;
  if (hs == 12) {
    f->core = true;
    width = U16(data + 4);
    height = U16(data + 6);
    planes = U16(data + 8);
    bit_count = U16(data + 10);
  } else {
    width = I32(data + 4);
    height = I32(data + 8);
    planes = U16(data + 12);
    bit_count = U16(data + 14);
    if (hs >= 20) compression = U32(data + 16);
    if (hs >= 24) f->image_size = U32(data + 20);
    if (hs >= 36) clr_used = U32(data + 32);
  }
  const bool os2 = hs == 16 || hs == 64;

  if (planes != 1) return Fail(error, "%s header says %u colour planes; only 1 is valid", what, planes);
  if (width <= 0)
    return Fail(error, "%s header says the width is %lld; it must be positive", what, static_cast<long long>(width));
  if (height == 0 || height == INT32_MIN)
    return Fail(error, "%s header says the height is %lld", what, static_cast<long long>(height));
  f->top_down = height < 0;
  if (f->top_down) height = -height;
  if (width * height > kMaxDibPixels)
    return Fail(error, "%s header says %lldx%lld pixels; refusing images over 2^28 pixels", what,
                static_cast<long long>(width), static_cast<long long>(height));
  f->width = static_cast<int>(width);
  f->height = static_cast<int>(height);

  // Compression first: JPEG and PNG payloads carry a bit count of 0.
  bool alpha_masks = false;
  if (os2 && compression == 3) return Fail(error, "%s uses OS/2 Huffman 1D compression, which is not supported", what);
  if (os2 && compression == 4) return Fail(error, "%s uses OS/2 24-bit RLE compression, which is not supported", what);
  switch (compression) {
    case BI_RGB:
    case BI_RLE8:
    case BI_RLE4:
    case BI_BITFIELDS: break;
    case BI_ALPHABITFIELDS:
      if (!file) return Fail(error, "DIB compression BI_ALPHABITFIELDS is not supported by GDI");
      alpha_masks = true;
      compression = BI_BITFIELDS;
      break;
    case BI_JPEG:
      return Fail(error, "%s holds a JPEG image (BI_JPEG), which is meant for printers; not supported", what);
    case BI_PNG: return Fail(error, "%s holds a PNG image (BI_PNG), which is meant for printers; not supported", what);
    default: return Fail(error, "%s compression %u is not a known compression", what, compression);
  }
  switch (bit_count) {
    case 1:
    case 4:
    case 8:
    case 24: break;
    case 16:
    case 32:
      if (!f->core) break;
      [[fallthrough]];
    default: return Fail(error, "%s bit count %u is not supported", what, bit_count);
  }
  f->bit_count = static_cast<int>(bit_count);
  f->compression = compression;
  if (compression == BI_RLE8 && bit_count != 8)
    return Fail(error, "%s is RLE8 compressed but has %u bits a pixel", what, bit_count);
  if (compression == BI_RLE4 && bit_count != 4)
    return Fail(error, "%s is RLE4 compressed but has %u bits a pixel", what, bit_count);
  if (f->rle() && f->top_down)
    return Fail(error, "%s is RLE compressed and top-down; RLE bitmaps must be bottom-up", what);
  if (compression == BI_BITFIELDS && bit_count != 16 && bit_count != 32)
    return Fail(error, "%s has colour masks but %u bits a pixel; masks need 16 or 32", what, bit_count);

  // Colour masks sit at offset 40 in every header that has them: after a 40-byte header,
  // inside the larger ones.
  size_t table_offset = hs;
  if (compression == BI_BITFIELDS) {
    const size_t mask_bytes = alpha_masks ? 16 : 12;
    if (hs == 40) table_offset += mask_bytes;
    // Only the three colour masks are read; a 40-byte header is followed by all of them.
    const size_t needed = hs == 40 ? 40 + mask_bytes : 52;
    if (hs < 40 || size < needed) return Fail(error, "%s colour masks are missing or truncated", what);
    static const char* const kNames[3] = {"red", "green", "blue"};
    DibChannel* channels[3] = {&f->red, &f->green, &f->blue};
    uint32_t seen = 0;
    for (int i = 0; i < 3; ++i) {
      const uint32_t mask = U32(data + 40 + 4 * i);
      if (!MakeChannel(mask, f->bit_count, channels[i]))
        return Fail(error, "%s %s mask 0x%08X is not one run of set bits within %d bits", what, kNames[i], mask,
                    f->bit_count);
      if (seen & mask) return Fail(error, "%s %s mask 0x%08X overlaps another colour mask", what, kNames[i], mask);
      seen |= mask;
    }
    f->plain_32 = bit_count == 32 && f->red.mask == 0xFF0000 && f->green.mask == 0xFF00 && f->blue.mask == 0xFF;
  } else if (bit_count == 16) {
    MakeChannel(0x7C00, 16, &f->red);
    MakeChannel(0x03E0, 16, &f->green);
    MakeChannel(0x001F, 16, &f->blue);
  } else if (bit_count == 32) {
    f->plain_32 = true;
  }

  // The colour table: RGBQUADs, RGBTRIPLEs for core headers, WORD palette indices for
  // DIB_PAL_COLORS.
  const bool pal_colors = !file && usage == DIB_PAL_COLORS;
  const size_t entry = pal_colors ? 2 : f->core ? 3 : 4;
  const size_t room = size > table_offset ? size - table_offset : 0;
  if (bit_count <= 8) {
    const uint32_t max_colors = 1u << bit_count;
    if (clr_used > max_colors)
      return Fail(error, "%s palette has %u colours; %u bpp allows at most %u", what, clr_used, bit_count, max_colors);
    uint32_t count = clr_used ? clr_used : max_colors;
    if (room / entry < count) {
      // OS/2 1.x writers often store fewer entries than the bit count allows; the pixel
      // data offset tells how many.
      if (!(file && f->core) || room < entry)
        return Fail(error, "%s colour table of %u entries needs %zu bytes, %zu present", what, count, count * entry,
                    room);
      count = static_cast<uint32_t>(room / entry);
    }
    f->color_count = static_cast<int>(count);
    f->colors.assign(max_colors, file ? kMissingColor : kBlack);
    const uint8_t* table = data + table_offset;
    if (pal_colors) {
      if (!palette || palette->entries.empty()) return Fail(error, "DIB_PAL_COLORS needs a palette");
      const size_t n = palette->entries.size();
      for (uint32_t i = 0; i < count; ++i) {
        const PALETTEENTRY& e = palette->entries[U16(table + 2 * i) % n];
        f->colors[i] = Rgb(e.peRed, e.peGreen, e.peBlue);
      }
    } else {
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = table + entry * i;
        f->colors[i] = Rgb(e[2], e[1], e[0]);
      }
    }
    f->info_size = table_offset + entry * count;
  } else {
    // Deeper DIBs may carry a colour table as a hint for palette devices; it is skipped.
    // BMP files say where their pixels are, so only packed DIBs need its size.
    if (!file && clr_used > 256) return Fail(error, "DIB says it has %u colour-table entries", clr_used);
    f->info_size = table_offset + (file ? 0 : entry * clr_used);
  }
  return true;
}

void DecodeDibRow(const DibFormat& f, const uint8_t* row, int x0, int count, Pixel* out) {
  const Pixel* table = f.colors.data();
  switch (f.bit_count) {
    case 1:
      for (int i = 0, x = x0; i < count; ++i, ++x) out[i] = table[(row[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int i = 0, x = x0; i < count; ++i, ++x) out[i] = table[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
      break;
    case 8:
      for (int i = 0; i < count; ++i) out[i] = table[row[x0 + i]];
      break;
    case 16:
      for (int i = 0; i < count; ++i) {
        const uint32_t p = U16(row + 2 * static_cast<size_t>(x0 + i));
        out[i] = Rgb(f.red.Get(p), f.green.Get(p), f.blue.Get(p));
      }
      break;
    case 24:
      for (int i = 0; i < count; ++i) {
        const uint8_t* p = row + 3 * static_cast<size_t>(x0 + i);
        out[i] = Rgb(p[2], p[1], p[0]);
      }
      break;
    case 32:
      if (f.plain_32) {
        for (int i = 0; i < count; ++i) out[i] = U32(row + 4 * static_cast<size_t>(x0 + i)) & kPixelMask;
      } else {
        for (int i = 0; i < count; ++i) {
          const uint32_t p = U32(row + 4 * static_cast<size_t>(x0 + i));
          out[i] = Rgb(f.red.Get(p), f.green.Get(p), f.blue.Get(p));
        }
      }
      break;
    default: break;
  }
}

bool DecodeDibRle(const DibFormat& f, const uint8_t* data, size_t size, Pixel* pixels, std::string* error) {
  const int width = f.width;
  const bool rle4 = f.compression == BI_RLE4;
  const Pixel* table = f.colors.data();
  int x = 0;
  int y = f.height - 1;  // the stream starts at the bottom row
  size_t i = 0;
  for (;;) {
    if (size - i < 2) {
      if (y < 0) return true;  // every row was closed by an end of line
      return Fail(error, "RLE data ends at row %d before the end-of-bitmap marker", f.height - 1 - y);
    }
    const int n = data[i];
    const uint8_t v = data[i + 1];
    i += 2;
    if (n > 0) {
      if (y < 0 || x + n > width)
        return Fail(error, "RLE run of %d pixels at (%d, %d) overflows the %d-pixel row", n, x, y, width);
      Pixel* out = pixels + static_cast<size_t>(y) * width + x;
      if (rle4) {
        const Pixel pair[2] = {table[v >> 4], table[v & 0xF]};
        for (int k = 0; k < n; ++k) out[k] = pair[k & 1];
      } else {
        std::fill_n(out, n, table[v]);
      }
      x += n;
      continue;
    }
    switch (v) {
      case 0:  // end of line
        if (y < 0) return Fail(error, "RLE data continues past the top row");
        x = 0;
        --y;
        break;
      case 1: return true;  // end of bitmap
      case 2: {             // delta
        if (size - i < 2) return Fail(error, "RLE delta is truncated");
        const int dx = data[i], dy = data[i + 1];
        i += 2;
        if (y < 0 || x + dx > width || y - dy < 0)
          return Fail(error, "RLE delta (%d, %d) at (%d, %d) moves outside the image", dx, dy, x, y);
        x += dx;
        y -= dy;
        break;
      }
      default: {  // a literal run of v pixels, padded to a 16-bit boundary
        const int count = v;
        const size_t bytes = rle4 ? (static_cast<size_t>(count) + 1) / 2 : static_cast<size_t>(count);
        if (size - i < bytes) return Fail(error, "RLE literal run of %d pixels is truncated", count);
        if (y < 0 || x + count > width)
          return Fail(error, "RLE run of %d pixels at (%d, %d) overflows the %d-pixel row", count, x, y, width);
        Pixel* out = pixels + static_cast<size_t>(y) * width + x;
        const uint8_t* src = data + i;
        if (rle4) {
          for (int k = 0; k < count; ++k) out[k] = table[(src[k >> 1] >> ((k & 1) ? 0 : 4)) & 0xF];
        } else {
          for (int k = 0; k < count; ++k) out[k] = table[src[k]];
        }
        x += count;
        i += std::min(size - i, (bytes + 1) & ~size_t{1});
        break;
      }
    }
  }
}

void EncodeDibRow(int bit_count, const Pixel* px, int count, uint8_t* row) {
  switch (bit_count) {
    case 1: {
      for (int x = 0; x < count; x += 8) {
        uint8_t byte = 0;
        const int n = std::min(8, count - x);
        for (int k = 0; k < n; ++k)
          if (MapToSurface(kMonochrome, px[x + k]) == kWhite) byte |= static_cast<uint8_t>(0x80 >> k);
        row[x >> 3] = byte;
      }
      break;
    }
    case 24:
      for (int x = 0; x < count; ++x) {
        row[3 * x] = static_cast<uint8_t>(px[x]);
        row[3 * x + 1] = static_cast<uint8_t>(px[x] >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(px[x] >> 16);
      }
      break;
    case 32:
      for (int x = 0; x < count; ++x) {
        row[4 * x] = static_cast<uint8_t>(px[x]);
        row[4 * x + 1] = static_cast<uint8_t>(px[x] >> 8);
        row[4 * x + 2] = static_cast<uint8_t>(px[x] >> 16);
        row[4 * x + 3] = 0;
      }
      break;
    default: break;
  }
}

}  // namespace gdi
