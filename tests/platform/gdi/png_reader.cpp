#include "platform/gdi/png_reader.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace testsupport {

bool ReadPng(const std::string& path, PngPicture* out, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return fail("cannot open " + path);
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return fail("out of memory");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return fail("out of memory");
  }
  std::vector<png_byte> pixels;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return fail("cannot decode " + path);
  }
  png_init_io(png, file.get());
  png_read_info(png, info);
  out->width = static_cast<int>(png_get_image_width(png, info));
  out->height = static_cast<int>(png_get_image_height(png, info));
  out->bit_depth = png_get_bit_depth(png, info);
  // Everything becomes 8-bit BGRA, which reads as 0xAARRGGBB words on little-endian hosts.
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_read_update_info(png, info);
  const size_t stride = png_get_rowbytes(png, info);
  pixels.resize(stride * out->height);
  rows.resize(out->height);
  for (int y = 0; y < out->height; ++y) rows[y] = pixels.data() + stride * y;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  out->argb.resize(static_cast<size_t>(out->width) * out->height);
  for (size_t i = 0; i < out->argb.size(); ++i) {
    const png_byte* p = pixels.data() + 4 * i;
    out->argb[i] = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                   (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  }
  return true;
}

}  // namespace testsupport
