#include "platform/gdi/bytes.h"
#include "platform/kernel/atomic_file.h"
#include "platform/win32/sysinfo.h"
#include "platform/gdi/bmp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "platform/gdi/dib.h"
#include "platform/gdi/objects.h"

namespace gdi {
namespace {

using namespace gdi::bytes;

constexpr size_t kFileHeaderSize = 14;
// The largest file worth reading: 2^28 pixels at 32 bpp, plus headers and a palette.
constexpr uint64_t kMaxBmpFileBytes = (uint64_t{1} << 30) + (uint64_t{1} << 16);
// Written into the files we make: 96 DPI.
constexpr int32_t kPixelsPerMetre = 3780;



std::string Num(uint64_t v) { return std::to_string(v); }

BmpResult Refuse(std::string why) {
  BmpResult r;
  r.error = std::move(why);
  return r;
}

// The first two bytes of a file, for saying what it is not.
std::string Signature(const uint8_t* p) {
  if (p[0] >= 0x20 && p[0] < 0x7F && p[1] >= 0x20 && p[1] < 0x7F)
    return std::string("\"") + char(p[0]) + char(p[1]) + "\"";
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%02X 0x%02X", p[0], p[1]);
  return hex;
}

// 1 bpp files whose two colours are black and white load as monochrome bitmaps.
bool BlackAndWhite(const DibFormat& f) {
  if (f.bit_count != 1 || f.color_count != 2) return false;
  return (f.colors[0] == kBlack && f.colors[1] == kWhite) || (f.colors[0] == kWhite && f.colors[1] == kBlack);
}

}  // namespace

BmpResult DecodeBmp(const uint8_t* data, size_t size) {
  if (!data || size < kFileHeaderSize)
    return Refuse("BMP file is truncated: " + Num(size) + " bytes, the file header alone needs 14");
  if (data[0] != 'B' || data[1] != 'M')
    return Refuse("not a BMP file: it starts with " + Signature(data) + ", not \"BM\"");
  const uint32_t file_size = U32(data + 2);
  const uint32_t offset = U32(data + 10);

  // The header on its own first, then again bounded by where the pixels start (the colour
  // table has to end there).
  DibFormat f;
  std::string why;
  if (!ParseDibInfo(data + kFileHeaderSize, size - kFileHeaderSize, DibSource::kFile, DIB_RGB_COLORS, nullptr, &f,
                    &why))
    return Refuse(why);
  if (file_size > size)
    return Refuse("BMP file is truncated: its header says " + Num(file_size) + " bytes, " + Num(size) + " present");
  if (offset > size)
    return Refuse("BMP pixel data offset " + Num(offset) + " lies beyond the end of the " + Num(size) + "-byte file");
  if (offset < kFileHeaderSize + f.header_size)
    return Refuse("BMP pixel data offset " + Num(offset) + " points inside the headers, which end at " +
                  Num(kFileHeaderSize + f.header_size));
  if (!ParseDibInfo(data + kFileHeaderSize, offset - kFileHeaderSize, DibSource::kFile, DIB_RGB_COLORS, nullptr, &f,
                    &why))
    return Refuse(why + " before the pixel data at offset " + Num(offset));

  const uint8_t* bits = data + offset;
  const size_t available = size - offset;
  if (f.image_size > available)
    return Refuse("BMP file is truncated: its header says the pixel data is " + Num(f.image_size) + " bytes, " +
                  Num(available) + " present");

  DecodedBmp image;
  image.width = f.width;
  image.height = f.height;
  image.bits_per_pixel = f.bit_count;
  image.monochrome = BlackAndWhite(f);
  image.palette.assign(f.colors.begin(), f.colors.begin() + f.color_count);
  const size_t width = static_cast<size_t>(f.width);
  Pixel used = 0;  // every pixel ORed: a colour past the palette shows in the top byte
  try {
    if (f.rle()) {
      // Pixels the stream skips are the first palette colour.
      image.pixels.assign(width * f.height, f.colors[0]);
      if (!DecodeDibRle(f, bits, f.image_size ? f.image_size : available, image.pixels.data(), &why))
        return Refuse("BMP " + why);
      for (Pixel p : image.pixels) used |= p;
    } else {
      const size_t stride = f.stride();
      const uint64_t needed = static_cast<uint64_t>(stride) * f.height;
      if (needed > available)
        return Refuse("BMP file is truncated: pixel data needs " + Num(needed) + " bytes, " + Num(available) +
                      " present");
      image.pixels.resize(width * f.height);
      for (int y = 0; y < f.height; ++y) {
        const int row = f.top_down ? y : f.height - 1 - y;
        Pixel* out = &image.pixels[static_cast<size_t>(y) * width];
        DecodeDibRow(f, bits + static_cast<size_t>(row) * stride, 0, f.width, out);
        for (size_t x = 0; x < width; ++x) used |= out[x];
      }
    }
  } catch (const std::bad_alloc&) {
    return Refuse("out of memory for a " + Num(f.width) + "x" + Num(f.height) + " BMP image");
  }
  if (used & kMissingColor) return Refuse("BMP pixels use colours past the " + Num(f.color_count) + "-colour palette");
  BmpResult result;
  result.image = std::move(image);
  return result;
}

HBITMAP LoadBmpFile(const std::string& path, std::string* error) {
  auto fail = [&](DWORD code, const std::string& why) -> HBITMAP {
    if (error) *error = why;
    SetLastError(code);
    return nullptr;
  };
  std::vector<uint8_t> bytes;
  {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
      const int e = errno;
      return fail(e == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED,
                  "cannot open " + path + ": " + std::strerror(e));
    }
    struct stat st {};
    if (fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode))
      return fail(ERROR_ACCESS_DENIED, path + " is not a regular file");
    if (static_cast<uint64_t>(st.st_size) > kMaxBmpFileBytes)
      return fail(ERROR_INVALID_DATA, path + " is " + Num(st.st_size) + " bytes; refusing BMP files over 1 GiB");
    try {
      bytes.resize(static_cast<size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
      return fail(ERROR_NOT_ENOUGH_MEMORY, "out of memory reading " + path);
    }
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
      return fail(ERROR_INVALID_DATA, "cannot read " + path);
  }
  BmpResult r = DecodeBmp(bytes.data(), bytes.size());
  if (!r.image) return fail(ERROR_INVALID_DATA, path + ": " + r.error);
  DecodedBmp& img = *r.image;
  // The decoded pixels become the bitmap's own.
  auto bmp = std::make_shared<Bitmap>();
  bmp->bits_per_pixel = img.monochrome ? 1 : 32;
  bmp->storage = std::move(img.pixels);
  bmp->surface = Surface{bmp->storage.data(), img.width, img.height, img.width, img.monochrome};
  return static_cast<HBITMAP>(Register(std::move(bmp)));
}

std::vector<uint8_t> EncodeBmp(HBITMAP bitmap, int bpp, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return std::vector<uint8_t>{};
  };
  const Bitmap* b = Get<Bitmap>(bitmap);
  if (!b) return fail("not a bitmap");
  if (bpp != 1 && bpp != 24 && bpp != 32)
    return fail("BMP files are written at 1, 24 or 32 bits a pixel, not " + std::to_string(bpp));
  const Surface& s = b->surface;
  const size_t stride = DibStride(s.width, bpp);
  const size_t palette_bytes = bpp == 1 ? 8 : 0;
  const size_t offset = kFileHeaderSize + 40 + palette_bytes;
  const uint64_t image_bytes = static_cast<uint64_t>(stride) * s.height;
  const uint64_t total = offset + image_bytes;
  if (total > UINT32_MAX) return fail("the bitmap is too large for a BMP file");
  std::vector<uint8_t> out;
  try {
    out.assign(static_cast<size_t>(total), 0);
  } catch (const std::bad_alloc&) {
    return fail("out of memory encoding a BMP file");
  }
  uint8_t* p = out.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<uint32_t>(total));
  Put32(p + 10, static_cast<uint32_t>(offset));
  uint8_t* h = p + kFileHeaderSize;
  Put32(h, 40);
  Put32(h + 4, static_cast<uint32_t>(s.width));
  Put32(h + 8, static_cast<uint32_t>(s.height));  // positive: bottom-up
  Put16(h + 12, 1);
  Put16(h + 14, static_cast<uint32_t>(bpp));
  Put32(h + 16, BI_RGB);
  Put32(h + 20, static_cast<uint32_t>(image_bytes));
  Put32(h + 24, kPixelsPerMetre);
  Put32(h + 28, kPixelsPerMetre);
  Put32(h + 32, bpp == 1 ? 2 : 0);
  if (bpp == 1) std::memset(h + 40 + 4, 0xFF, 3);  // black, then white
  for (int y = 0; y < s.height; ++y)
    EncodeDibRow(bpp, s.Row(y), s.width, p + offset + static_cast<size_t>(s.height - 1 - y) * stride);
  return out;
}

bool SaveBmpFile(const std::string& path, HBITMAP bitmap, int bpp, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  std::string why;
  const std::vector<uint8_t> bytes = EncodeBmp(bitmap, bpp, &why);
  if (bytes.empty()) return fail(why);
  if (!kernel::WriteFileAtomic(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
    char text[256];
    std::string reason;
    if (FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, GetLastError(), 0, text, sizeof text, nullptr)) reason = text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    return fail("cannot write " + path + ": " + reason);
  }
  return true;
}

}  // namespace gdi
