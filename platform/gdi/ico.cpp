#include "platform/gdi/bytes.h"
#include "platform/gdi/ico.h"

#include <png.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/gdi/dib.h"

namespace gdi {
namespace {

using namespace gdi::bytes;

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Every chunk an icon's PNG needs is small; the cap keeps a hostile profile or text chunk
// from making libpng allocate much.
constexpr png_alloc_size_t kMaxPngChunkBytes = png_alloc_size_t{1} << 20;
// The nominal size of an icon: the image nearest to it is shown.
constexpr int kPreferredSide = 32;


std::string Num(int64_t v) { return std::to_string(v); }
std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", v);
  return text;
}

bool Fail(std::string* why, std::string text) {
  *why = std::move(text);
  return false;
}

bool IsPng(const uint8_t* p, size_t n) { return n >= sizeof kPngSignature && std::memcmp(p, kPngSignature, 8) == 0; }

// [SECTION] DIB images ---------------------------------------------------------------------

struct IconDib {
  DibFormat format;     // with the image's own height
  size_t bits_offset = 0;  // where the colour rows begin
  size_t xor_stride = 0;
  size_t and_stride = 0;
  uint32_t alpha_mask = 0;  // 32 bpp: where the alpha bits sit; 0 when there are none
};

bool ValidMask(uint32_t mask) {
  if (mask == 0) return false;
  const uint32_t run = mask >> std::countr_zero(mask);
  return (run & (run + 1)) == 0;
}

uint8_t AlphaOf(uint32_t pixel, uint32_t mask) {
  const int shift = std::countr_zero(mask);
  const uint64_t max = mask >> shift;
  const uint64_t v = (pixel & mask) >> shift;
  return static_cast<uint8_t>((v * 255 + max / 2) / max);
}

// Checks an image's DIB header against the bytes its directory entry gives it, without
// reading pixels.
bool ParseIconDib(const uint8_t* p, size_t n, int listed_width, int listed_height, IconDib* d, std::string* why) {
  if (n < 4) return Fail(why, "its header is cut short at " + Num(n) + " bytes");
  const uint32_t hs = U32(p);
  if (hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124)
    return Fail(why, "header size " + Num(hs) + " is not that of a BITMAPINFOHEADER or a later version");
  if (n < hs) return Fail(why, "its " + Num(hs) + "-byte header is cut short at " + Num(n) + " bytes");
  int64_t width = I32(p + 4);
  int64_t height = I32(p + 8);
  // Some writers leave both at 0; the directory then has the size.
  if (width == 0 && height == 0) {
    width = listed_width;
    height = 2 * int64_t{listed_height};
  }
  if (width <= 0) return Fail(why, "its header says the width is " + Num(width));
  if (height == 0) return Fail(why, "its header says the height is 0");
  if (height < 0) return Fail(why, "it is stored top-down (height " + Num(height) + "); icon images are bottom-up");
  // The height counts the colour rows and the mask rows; an odd one cannot, and is the
  // image's own.
  const int64_t image_height = height % 2 == 0 ? height / 2 : height;
  if (width > kMaxIconSide || image_height > kMaxIconSide)
    return Fail(why, "it is " + Num(width) + "x" + Num(image_height) + " pixels; icons are at most 256x256");

  // The header with the image's own height, so the DIB reader sees an ordinary bitmap.
  const uint32_t raw_compression = U32(p + 16);
  const size_t keep = std::min(n, size_t{hs} + 16 + 256 * 4);
  std::vector<uint8_t> header(p, p + keep);
  Put32(&header[4], static_cast<uint32_t>(width));
  Put32(&header[8], static_cast<uint32_t>(image_height));
  std::string dib_why;
  if (!ParseDibInfo(header.data(), header.size(), DibSource::kFile, DIB_RGB_COLORS, nullptr, &d->format, &dib_why)) {
    if (dib_why.rfind("BMP ", 0) == 0) dib_why.replace(0, 4, "bitmap ");
    return Fail(why, dib_why);
  }
  const DibFormat& f = d->format;
  if (f.rle()) return Fail(why, "it is RLE compressed; icon images cannot be");

  size_t offset = f.info_size;
  if (f.bit_count > 8) {
    // Deeper images may still carry a colour table, as packed DIBs do.
    const uint32_t clr_used = U32(p + 32);
    if (clr_used > 256) return Fail(why, "its header lists " + Num(clr_used) + " colour-table entries");
    offset += size_t{4} * clr_used;
  }
  d->alpha_mask = 0;
  if (f.bit_count == 32) {
    if (f.compression == BI_RGB) {
      d->alpha_mask = 0xFF000000u;
    } else if (hs >= 56 || raw_compression == BI_ALPHABITFIELDS) {
      const uint32_t mask = U32(header.data() + 52);
      if (mask != 0) {
        if (!ValidMask(mask) || (mask & (f.red.mask | f.green.mask | f.blue.mask)))
          return Fail(why, "its alpha mask " + Hex(mask) + " is not one run of bits apart from the colour masks");
        d->alpha_mask = mask;
      }
    }
  }
  d->xor_stride = f.stride();
  d->and_stride = DibStride(f.width, 1);
  d->bits_offset = offset;
  const uint64_t needed = offset + static_cast<uint64_t>(d->xor_stride + d->and_stride) * f.height;
  if (needed > n)
    return Fail(why, "it needs " + Num(static_cast<int64_t>(needed)) +
                         " bytes for its header, colours and mask; its directory entry gives " + Num(n));
  return true;
}

bool DecodeIconDib(const uint8_t* p, const IconDib& d, IconImage* img, std::string* why) {
  const DibFormat& f = d.format;
  const int w = f.width, h = f.height;
  const size_t count = static_cast<size_t>(w) * h;
  img->width = w;
  img->height = h;
  img->bits_per_pixel = f.bit_count;
  img->png = false;
  img->pixels.assign(count, 0);
  img->mask.assign(count, 0);
  const uint8_t* xor_bits = p + d.bits_offset;
  const uint8_t* and_bits = xor_bits + d.xor_stride * h;
  Pixel used = 0;  // colours past the palette show in the top byte
  uint32_t any_alpha = 0;
  for (int y = 0; y < h; ++y) {
    const size_t row = static_cast<size_t>(h - 1 - y);  // bottom-up
    uint32_t* out = &img->pixels[static_cast<size_t>(y) * w];
    uint8_t* mask = &img->mask[static_cast<size_t>(y) * w];
    const uint8_t* colors = xor_bits + row * d.xor_stride;
    const uint8_t* bits = and_bits + row * d.and_stride;
    DecodeDibRow(f, colors, 0, w, out);
    for (int x = 0; x < w; ++x) used |= out[x];
    if (d.alpha_mask) {
      for (int x = 0; x < w; ++x) {
        const uint32_t a = AlphaOf(U32(colors + 4 * static_cast<size_t>(x)), d.alpha_mask);
        any_alpha |= a;
        out[x] = (out[x] & kPixelMask) | (a << 24);
      }
    }
    for (int x = 0; x < w; ++x) mask[x] = (bits[x >> 3] >> (7 - (x & 7))) & 1;
  }
  if (f.bit_count <= 8 && (used & kMissingColor))
    return Fail(why, "its pixels use colours past its " + Num(f.color_count) + "-colour palette");
  // Without any alpha (0RGB images) the AND mask says what shows.
  img->alpha = any_alpha != 0;
  if (!img->alpha)
    for (size_t i = 0; i < count; ++i) img->pixels[i] = (img->pixels[i] & kPixelMask) | (img->mask[i] ? 0 : 0xFF000000u);
  return true;
}

// [SECTION] PNG images ---------------------------------------------------------------------

bool ProbePng(const uint8_t* p, size_t n, int* width, int* height, int* bpp, std::string* why) {
  if (n < 33 || U32BE(p + 8) != 13 || std::memcmp(p + 12, "IHDR", 4) != 0)
    return Fail(why, "its PNG data does not start with an IHDR chunk");
  const uint32_t w = U32BE(p + 16), h = U32BE(p + 20);
  const int depth = p[24], type = p[25];
  if (w == 0 || h == 0 || w > kMaxIconSide || h > kMaxIconSide)
    return Fail(why, "its PNG is " + Num(w) + "x" + Num(h) + " pixels; icons are 1x1 to 256x256");
  // Channels per colour type, and the bit depths each type allows (bit n = depth n).
  int channels = 0;
  uint32_t depths = 0;
  switch (type) {
    case 0: channels = 1; depths = 0x10116; break;  // grey: 1, 2, 4, 8, 16
    case 2: channels = 3; depths = 0x10100; break;  // RGB: 8, 16
    case 3: channels = 1; depths = 0x00116; break;  // palette: 1, 2, 4, 8
    case 4: channels = 2; depths = 0x10100; break;  // grey + alpha: 8, 16
    case 6: channels = 4; depths = 0x10100; break;  // RGBA: 8, 16
    default: return Fail(why, "its PNG colour type " + Num(type) + " is not a PNG colour type");
  }
  const bool depth_ok = depth <= 16 && ((depths >> depth) & 1);
  if (!depth_ok) return Fail(why, "its PNG bit depth " + Num(depth) + " is not valid for colour type " + Num(type));
  // libpng sizes its buffers by the chunk lengths, so none may claim more than the image has.
  for (size_t at = 8;;) {
    if (n - at < 12) return Fail(why, "its PNG data ends at byte " + Num(n) + " without an IEND chunk");
    const uint32_t length = U32BE(p + at);
    if (length > n - at - 12)
      return Fail(why, "its PNG chunk at byte " + Num(at) + " claims " + Num(length) + " bytes, past the end of the image");
    const bool end = std::memcmp(p + at + 4, "IEND", 4) == 0;
    at += 12 + size_t{length};
    if (end) break;
  }
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  *bpp = depth * channels;
  return true;
}

struct PngSource {
  const uint8_t* data;
  size_t size;
  size_t pos;
  char message[200];
};

void PngRead(png_structp png, png_bytep out, size_t n) {
  auto* s = static_cast<PngSource*>(png_get_io_ptr(png));
  if (s->size - s->pos < n) png_error(png, "the PNG data ends early");
  std::memcpy(out, s->data + s->pos, n);
  s->pos += n;
}

void PngError(png_structp png, png_const_charp message) {
  auto* s = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(s->message, sizeof s->message, "%s", message);
  png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}  // odd ancillary chunks do not stop decoding

struct PngOutput {
  std::vector<png_byte> bgra;
  std::vector<png_bytep> rows;
  int width = 0;
  int height = 0;
};

// Kept apart from everything with a destructor: libpng reports errors by longjmp.
bool RunPng(png_structp png, png_infop info, PngSource* src, PngOutput* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, src, PngRead);
  png_set_user_limits(png, kMaxIconSide, kMaxIconSide);
  png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
  png_read_info(png, info);
  // Everything becomes 8-bit BGRA, which reads as 0xAARRGGBB words.
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_read_update_info(png, info);
  out->width = static_cast<int>(png_get_image_width(png, info));
  out->height = static_cast<int>(png_get_image_height(png, info));
  if (png_get_rowbytes(png, info) != static_cast<size_t>(out->width) * 4) png_error(png, "unexpected row layout");
  out->bgra.resize(static_cast<size_t>(out->width) * 4 * out->height);
  out->rows.resize(static_cast<size_t>(out->height));
  for (int y = 0; y < out->height; ++y) out->rows[y] = out->bgra.data() + static_cast<size_t>(out->width) * 4 * y;
  png_read_image(png, out->rows.data());
  png_read_end(png, nullptr);
  return true;
}

bool DecodeIconPng(const uint8_t* p, size_t n, int bpp, IconImage* img, std::string* why) {
  PngSource src{p, n, 0, {}};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &src, PngError, PngWarning);
  if (!png) return Fail(why, "out of memory for its PNG decoder");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return Fail(why, "out of memory for its PNG decoder");
  }
  PngOutput out;
  const bool ok = RunPng(png, info, &src, &out);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return Fail(why, std::string("its PNG data is damaged: ") + src.message);
  const size_t count = static_cast<size_t>(out.width) * out.height;
  img->width = out.width;
  img->height = out.height;
  img->bits_per_pixel = bpp;
  img->png = true;
  img->alpha = true;
  img->pixels.resize(count);
  img->mask.resize(count);
  for (size_t i = 0; i < count; ++i) {
    img->pixels[i] = U32(out.bgra.data() + 4 * i);
    img->mask[i] = (img->pixels[i] >> 24) == 0;
  }
  return true;
}

std::string EntryName(size_t i) { return "icon image " + Num(static_cast<int64_t>(i) + 1); }

IcoResult Refuse(std::string why) {
  IcoResult r;
  r.error = std::move(why);
  return r;
}

IcoResult DecodeEntry(const uint8_t* data, const IcoDirectory& dir, int index) {
  const IcoEntry& e = dir.entries[static_cast<size_t>(index)];
  if (!e.error.empty()) return Refuse(e.error);
  const uint8_t* p = data + e.offset;
  IcoResult r;
  IconImage img;
  std::string why;
  try {
    bool ok;
    if (e.png) {
      ok = DecodeIconPng(p, e.bytes, e.bits_per_pixel, &img, &why);
    } else {
      IconDib d;
      ok = ParseIconDib(p, e.bytes, e.listed_width, e.listed_height, &d, &why) && DecodeIconDib(p, d, &img, &why);
    }
    if (!ok) return Refuse(EntryName(static_cast<size_t>(index)) + ": " + why);
  } catch (const std::bad_alloc&) {
    return Refuse(EntryName(static_cast<size_t>(index)) + ": out of memory");
  }
  r.image = std::move(img);
  r.entry = index;
  return r;
}

}  // namespace

IcoDirectory ReadIcoDirectory(const uint8_t* data, size_t size) {
  IcoDirectory dir;
  if (!data || size < kHeaderSize) {
    dir.error = "ICO file is truncated: " + Num(static_cast<int64_t>(size)) + " bytes, the header alone needs 6";
    return dir;
  }
  const uint16_t reserved = U16(data), type = U16(data + 2), count = U16(data + 4);
  if (reserved != 0) {
    dir.error = "not an icon file: its first word is " + Num(reserved) + ", not 0";
    return dir;
  }
  if (type == 2) {
    dir.error = "this is a cursor file (type 2), not an icon file";
    return dir;
  }
  if (type != 1) {
    dir.error = "not an icon file: its type is " + Num(type) + ", not 1";
    return dir;
  }
  if (count == 0) {
    dir.error = "ICO file lists no images";
    return dir;
  }
  const uint64_t dir_end = kHeaderSize + uint64_t{kEntrySize} * count;
  if (dir_end > size) {
    dir.error = "ICO file is truncated: its directory of " + Num(count) + " images needs " +
                Num(static_cast<int64_t>(dir_end)) + " bytes, " + Num(static_cast<int64_t>(size)) + " present";
    return dir;
  }
  dir.extent = static_cast<size_t>(dir_end);
  dir.entries.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* d = data + kHeaderSize + kEntrySize * i;
    IcoEntry& e = dir.entries[i];
    e.listed_width = d[0] ? d[0] : 256;
    e.listed_height = d[1] ? d[1] : 256;
    e.listed_bit_count = U16(d + 6);
    e.bytes = U32(d + 8);
    e.offset = U32(d + 12);
    const uint64_t end = uint64_t{e.offset} + e.bytes;
    const std::string name = EntryName(i);
    if (e.offset < dir_end) {
      e.error = name + " starts at offset " + Num(e.offset) + ", inside the directory that ends at " +
                Num(static_cast<int64_t>(dir_end));
      continue;
    }
    if (e.bytes == 0) {
      e.error = name + " has no bytes";
      continue;
    }
    if (end > size) {
      e.error = name + " ends at byte " + Num(static_cast<int64_t>(end)) + ", past the end of the " +
                Num(static_cast<int64_t>(size)) + "-byte file";
      continue;
    }
    dir.extent = std::max(dir.extent, static_cast<size_t>(end));
    const uint8_t* p = data + e.offset;
    std::string why;
    bool ok;
    if (IsPng(p, e.bytes)) {
      e.png = true;
      ok = ProbePng(p, e.bytes, &e.width, &e.height, &e.bits_per_pixel, &why);
    } else {
      IconDib dib;
      try {
        ok = ParseIconDib(p, e.bytes, e.listed_width, e.listed_height, &dib, &why);
      } catch (const std::bad_alloc&) {
        ok = Fail(&why, "out of memory");
      }
      if (ok) {
        e.width = dib.format.width;
        e.height = dib.format.height;
        e.bits_per_pixel = dib.format.bit_count;
      }
    }
    if (!ok) {
      e.width = e.height = e.bits_per_pixel = 0;
      e.error = name + ": " + why;
    }
  }
  return dir;
}

std::vector<int> RankIcoEntries(const IcoDirectory& dir) {
  std::vector<int> order;
  for (size_t i = 0; i < dir.entries.size(); ++i)
    if (dir.entries[i].error.empty()) order.push_back(static_cast<int>(i));
  auto distance = [](const IcoEntry& e) {
    return std::abs(e.width - kPreferredSide) + std::abs(e.height - kPreferredSide);
  };
  // Nearest first; between equally near sizes the larger, which shrinks better than the
  // smaller enlarges; then the deeper; then the file's order.
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const IcoEntry& x = dir.entries[static_cast<size_t>(a)];
    const IcoEntry& y = dir.entries[static_cast<size_t>(b)];
    if (distance(x) != distance(y)) return distance(x) < distance(y);
    if (x.width * x.height != y.width * y.height) return x.width * x.height > y.width * y.height;
    return x.bits_per_pixel > y.bits_per_pixel;
  });
  return order;
}

IcoResult DecodeIcoEntry(const uint8_t* data, size_t size, int index) {
  const IcoDirectory dir = ReadIcoDirectory(data, size);
  if (!dir.error.empty()) return Refuse(dir.error);
  if (index < 0 || static_cast<size_t>(index) >= dir.entries.size())
    return Refuse("the ICO file has no image " + Num(index + int64_t{1}) + "; it has " + Num(dir.entries.size()));
  return DecodeEntry(data, dir, index);
}

IcoResult DecodeIco(const uint8_t* data, size_t size) {
  const IcoDirectory dir = ReadIcoDirectory(data, size);
  if (!dir.error.empty()) return Refuse(dir.error);
  const std::vector<int> order = RankIcoEntries(dir);
  if (order.empty()) {
    if (dir.entries.size() == 1) return Refuse(dir.entries[0].error);
    return Refuse("none of the " + Num(dir.entries.size()) + " images of the ICO file can be read; " +
                  dir.entries[0].error);
  }
  IcoResult first_failure;
  for (int index : order) {
    IcoResult r = DecodeEntry(data, dir, index);
    if (r.image) return r;
    if (first_failure.error.empty()) first_failure = std::move(r);
  }
  return first_failure;
}

std::vector<uint8_t> EncodeIco(const IconImage& img, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return std::vector<uint8_t>{};
  };
  if (img.width < 1 || img.height < 1 || img.width > kMaxIconSide || img.height > kMaxIconSide)
    return fail("an icon is 1x1 to 256x256 pixels, not " + Num(img.width) + "x" + Num(img.height));
  const size_t count = static_cast<size_t>(img.width) * img.height;
  if (img.pixels.size() != count || img.mask.size() != count)
    return fail("the icon's pixels or mask do not match its size");
  const int bpp = img.alpha ? 32 : 24;
  const size_t xor_stride = DibStride(img.width, bpp), and_stride = DibStride(img.width, 1);
  const size_t image_bytes = (xor_stride + and_stride) * img.height;
  const size_t offset = kHeaderSize + kEntrySize;
  std::vector<uint8_t> out(offset + 40 + image_bytes, 0);
  uint8_t* p = out.data();
  Put16(p + 2, 1);
  Put16(p + 4, 1);
  uint8_t* e = p + kHeaderSize;
  e[0] = static_cast<uint8_t>(img.width & 0xFF);  // 256 is written as 0
  e[1] = static_cast<uint8_t>(img.height & 0xFF);
  Put16(e + 4, 1);
  Put16(e + 6, static_cast<uint32_t>(bpp));
  Put32(e + 8, static_cast<uint32_t>(40 + image_bytes));
  Put32(e + 12, static_cast<uint32_t>(offset));
  uint8_t* h = p + offset;
  Put32(h, 40);
  Put32(h + 4, static_cast<uint32_t>(img.width));
  Put32(h + 8, static_cast<uint32_t>(2 * img.height));
  Put16(h + 12, 1);
  Put16(h + 14, static_cast<uint32_t>(bpp));
  Put32(h + 20, static_cast<uint32_t>(image_bytes));
  uint8_t* xor_bits = h + 40;
  uint8_t* and_bits = xor_bits + xor_stride * img.height;
  for (int y = 0; y < img.height; ++y) {
    const size_t row = static_cast<size_t>(img.height - 1 - y);
    const uint32_t* px = &img.pixels[static_cast<size_t>(y) * img.width];
    const uint8_t* mask = &img.mask[static_cast<size_t>(y) * img.width];
    uint8_t* c = xor_bits + row * xor_stride;
    uint8_t* m = and_bits + row * and_stride;
    for (int x = 0; x < img.width; ++x) {
      if (bpp == 32) {
        Put32(c + 4 * static_cast<size_t>(x), px[x]);
      } else {
        c[3 * x] = static_cast<uint8_t>(px[x]);
        c[3 * x + 1] = static_cast<uint8_t>(px[x] >> 8);
        c[3 * x + 2] = static_cast<uint8_t>(px[x] >> 16);
      }
      if (mask[x]) m[x >> 3] = static_cast<uint8_t>(m[x >> 3] | (0x80 >> (x & 7)));
    }
  }
  return out;
}

}  // namespace gdi
