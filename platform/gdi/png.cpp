#include "platform/gdi/png.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/gdi/objects.h"

namespace gdi {
namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

bool WritePng(const std::string& path, const Surface& s, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (!s.valid()) return fail("the surface is empty");
  std::unique_ptr<FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
  if (!f) return fail("cannot create " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return fail("out of memory");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return fail("out of memory");
  }
  std::vector<png_byte> row(static_cast<size_t>(s.width) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return fail("cannot write " + path);
  }
  png_init_io(png, f.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(s.width), static_cast<png_uint_32>(s.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < s.height; ++y) {
    const Pixel* src = s.Row(y);
    for (int x = 0; x < s.width; ++x) {
      row[x * 3 + 0] = static_cast<png_byte>((src[x] >> 16) & 0xFF);
      row[x * 3 + 1] = static_cast<png_byte>((src[x] >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<png_byte>(src[x] & 0xFF);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(f.get()) != 0) return fail("cannot write " + path);
  return true;
}

bool WritePng(const std::string& path, HBITMAP bitmap, std::string* error) {
  Bitmap* b = Get<Bitmap>(bitmap);
  if (!b) {
    if (error) *error = "not a bitmap";
    return false;
  }
  return WritePng(path, b->surface, error);
}

}  // namespace gdi
