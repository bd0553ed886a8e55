// DIBs drawn straight onto a device: SetDIBitsToDevice and StretchDIBits. Both decode the DIB
// into a temporary 32 bpp bitmap (SetDIBits does the checking) and blit from it.
#include <cstdlib>

#include "platform/win32/gdi.h"

namespace {

// The DIB's size from its header (core or info), or false when there is no header to read.
bool DibSize(const BITMAPINFO* info, int& width, int& height, bool& top_down) {
  if (!info) return false;
  if (info->bmiHeader.biSize == sizeof(BITMAPCOREHEADER)) {
    const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(info);
    width = core->bcWidth;
    height = core->bcHeight;
    top_down = false;
    return width > 0 && height > 0;
  }
  if (info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return false;
  width = info->bmiHeader.biWidth;
  top_down = info->bmiHeader.biHeight < 0;
  height = top_down ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  return width > 0 && height > 0 && info->bmiHeader.biHeight != INT32_MIN;
}

// A memory DC holding the decoded DIB; empty when the DIB is refused.
class DecodedDib {
 public:
  DecodedDib(HDC hdc, const BITMAPINFO* info, const void* bits, UINT usage, UINT start, UINT lines, int width,
             int height) {
    bmp_ = CreateBitmap(width, height, 1, 32, nullptr);
    if (!bmp_) return;
    if (SetDIBits(hdc, bmp_, start, lines, bits, info, usage) == 0) return;
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bmp_);
  }
  ~DecodedDib() {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bmp_) DeleteObject(bmp_);
  }
  DecodedDib(const DecodedDib&) = delete;
  DecodedDib& operator=(const DecodedDib&) = delete;
  HDC dc() const { return dc_; }

 private:
  HBITMAP bmp_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD w, DWORD h, int x_src, int y_src, UINT start, UINT lines,
                      const void* bits, const BITMAPINFO* info, UINT usage) {
  int width, height;
  bool top_down;
  if (!hdc || !bits || !DibSize(info, width, height, top_down) || w > 0x7FFFFFFF || h > 0x7FFFFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DecodedDib dib(hdc, info, bits, usage, start, lines, width, height);
  if (!dib.dc()) return 0;
  // Source y counts from the DIB's first row in memory: its bottom row when bottom-up.
  const int top = top_down ? y_src : height - y_src - static_cast<int>(h);
  if (!BitBlt(hdc, x, y, static_cast<int>(w), static_cast<int>(h), dib.dc(), x_src, top, SRCCOPY)) return 0;
  return static_cast<int>(lines);
}

int StretchDIBits(HDC hdc, int x, int y, int w, int h, int x_src, int y_src, int w_src, int h_src, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop) {
  int width, height;
  bool top_down;
  if (!hdc || !bits || !DibSize(info, width, height, top_down)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DecodedDib dib(hdc, info, bits, usage, 0, static_cast<UINT>(height), width, height);
  if (!dib.dc()) return 0;
  // As above, a bottom-up DIB's source rectangle is measured from its bottom-left corner.
  const int top = top_down ? y_src : height - y_src - h_src;
  if (!StretchBlt(hdc, x, y, w, h, dib.dc(), x_src, top, w_src, h_src, rop)) return 0;
  return height;
}
