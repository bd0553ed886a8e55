// Bitmap creation: device-dependent (monochrome and 32 bpp) bitmaps and 32 bpp DIB sections.
#include <cstring>
#include <new>

#include "platform/gdi/dc.h"

namespace gdi {

// Larger bitmaps are refused rather than attempted (1 GiB of pixels).
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 28;

std::shared_ptr<Bitmap> Bitmap::Create(int width, int height, int bits_per_pixel) {
  if (width <= 0 || height <= 0 || (bits_per_pixel != 1 && bits_per_pixel != 32) ||
      int64_t{width} * height > kMaxBitmapPixels) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  try {
    auto bmp = std::make_shared<Bitmap>();
    bmp->bits_per_pixel = bits_per_pixel;
    bmp->storage.assign(static_cast<size_t>(width) * height, kBlack);
    bmp->surface = Surface{bmp->storage.data(), width, height, width, bits_per_pixel == 1};
    return bmp;
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
}

}  // namespace gdi

namespace {

HBITMAP Publish(std::shared_ptr<gdi::Bitmap> bmp) {
  return bmp ? static_cast<HBITMAP>(gdi::Register(std::move(bmp))) : nullptr;
}

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bpp, const void* bits) {
  if (planes != 1 || (bpp != 1 && bpp != 32)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (width == 0 || height == 0) {  // Win32 hands out a 1x1 monochrome bitmap
    width = height = 1;
    bpp = 1;
    bits = nullptr;
  }
  auto bmp = gdi::Bitmap::Create(width, height, static_cast<int>(bpp));
  if (!bmp) return nullptr;
  if (bits) {
    const auto* src = static_cast<const uint8_t*>(bits);
    const size_t row_bytes = bpp == 1 ? ((static_cast<size_t>(width) + 15) / 16) * 2 : static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = src + row_bytes * y;
      gdi::Pixel* dst = bmp->surface.Row(y);
      if (bpp == 1) {
        for (int x = 0; x < width; ++x) dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? gdi::kWhite : gdi::kBlack;
      } else {
        std::memcpy(dst, row, row_bytes);
        for (int x = 0; x < width; ++x) dst[x] &= gdi::kPixelMask;
      }
    }
  }
  return Publish(std::move(bmp));
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  gdi::DeviceContext* dc = gdi::Get<gdi::DeviceContext>(hdc);
  if (!dc) return nullptr;
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (width == 0 || height == 0) return CreateBitmap(1, 1, 1, 1, nullptr);
  // A memory DC is as deep as its selected bitmap: a fresh memory DC makes monochrome ones.
  const bool mono = dc->kind() == gdi::DeviceContext::Kind::Memory && dc->surface().monochrome;
  return Publish(gdi::Bitmap::Create(width, height, mono ? 1 : 32));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset) {
  if (bits) *bits = nullptr;
  if (!info || section || offset || usage > DIB_PAL_COLORS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const bool standard_masks =
      h.biCompression == BI_BITFIELDS &&
      reinterpret_cast<const DWORD*>(info->bmiColors)[0] == 0x00FF0000 &&
      reinterpret_cast<const DWORD*>(info->bmiColors)[1] == 0x0000FF00 &&
      reinterpret_cast<const DWORD*>(info->bmiColors)[2] == 0x000000FF;
  // Only the surface format itself can be shared with the caller: 32 bpp BGRX.
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biBitCount != 32 ||
      (h.biCompression != BI_RGB && !standard_masks) || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biHeight == INT32_MIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const int width = h.biWidth;
  const bool top_down = h.biHeight < 0;
  const int height = top_down ? -h.biHeight : h.biHeight;
  if (int64_t{width} * height > gdi::kMaxBitmapPixels) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto bmp = std::make_shared<gdi::Bitmap>();
  try {
    bmp->dib_memory.reset(new gdi::Pixel[static_cast<size_t>(width) * height]());
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  bmp->dib_section = true;
  bmp->dib_header = h;
  bmp->dib_header.biSize = sizeof(BITMAPINFOHEADER);
  bmp->dib_header.biSizeImage = static_cast<DWORD>(width * 4 * height);
  gdi::Pixel* mem = bmp->dib_memory.get();
  bmp->surface = top_down ? gdi::Surface{mem, width, height, width, false}
                          : gdi::Surface{mem + static_cast<ptrdiff_t>(height - 1) * width, width, height, -width, false};
  if (bits) *bits = mem;
  return Publish(std::move(bmp));
}

BOOL GetBitmapDimensionEx(HBITMAP hbmp, LPSIZE size) {
  gdi::Bitmap* b = gdi::Get<gdi::Bitmap>(hbmp);
  if (!b || !size) return FALSE;
  *size = b->dimension;
  return TRUE;
}
