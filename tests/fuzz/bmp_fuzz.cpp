// The BMP decoder on arbitrary bytes: it must decode or refuse, never crash, hang or read
// outside the input; what it decodes must be a well-formed image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gdi/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const gdi::BmpResult r = gdi::DecodeBmp(data, size);
  if (!r.image) {
    if (r.error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  const gdi::DecodedBmp& img = *r.image;
  if (img.width <= 0 || img.height <= 0 || img.pixels.size() != static_cast<size_t>(img.width) * img.height)
    std::abort();
  for (gdi::Pixel p : img.pixels)
    if (p & ~gdi::kPixelMask) std::abort();
  if (img.palette.size() > 256 || (img.monochrome && img.bits_per_pixel != 1)) std::abort();
  return 0;
}
