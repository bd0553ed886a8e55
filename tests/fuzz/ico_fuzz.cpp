// The ICO decoder on arbitrary bytes: it must decode or refuse, never crash, hang or read
// outside the input; what it decodes must be a well-formed image that it can write back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gdi/ico.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const gdi::IcoDirectory dir = gdi::ReadIcoDirectory(data, size);
  if (dir.error.empty() == dir.entries.empty()) std::abort();  // a refusal always says why
  if (dir.extent > size) std::abort();
  for (const gdi::IcoEntry& e : dir.entries)
    if (e.error.empty() && (e.width < 1 || e.height < 1 || e.width > gdi::kMaxIconSide ||
                            e.height > gdi::kMaxIconSide || uint64_t{e.offset} + e.bytes > size))
      std::abort();
  const gdi::IcoResult r = gdi::DecodeIco(data, size);
  if (!r.image) {
    if (r.error.empty()) std::abort();
    return 0;
  }
  const gdi::IconImage& img = *r.image;
  const size_t count = static_cast<size_t>(img.width) * img.height;
  if (img.width < 1 || img.height < 1 || img.width > gdi::kMaxIconSide || img.height > gdi::kMaxIconSide ||
      img.pixels.size() != count || img.mask.size() != count)
    std::abort();
  if (r.entry < 0 || static_cast<size_t>(r.entry) >= dir.entries.size()) std::abort();
  const std::vector<uint8_t> again = gdi::EncodeIco(img);
  const gdi::IcoResult back = gdi::DecodeIco(again.data(), again.size());
  if (!back.image || back.image->pixels != img.pixels || back.image->mask != img.mask) std::abort();
  return 0;
}
