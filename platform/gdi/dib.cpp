// The DIB calls: SetDIBits, GetDIBits, CreateDIBitmap, device-dependent bitmap bits, DIB
// pattern brushes and DIB colour tables.
//
// Scan lines: start and lines count from the bottom of a DIB whatever its orientation (scan
// line k is row height-1-k), and the DIB's rows line up with the bitmap's from the top, as
// Win32 does it. Bitmaps here are 32 bpp or monochrome; colours written into a monochrome
// bitmap become the nearer of black and white.
#include "platform/gdi/dib.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "platform/gdi/dc.h"

using gdi::DeviceContext;
using gdi::DibFormat;
using gdi::Pixel;

namespace {

template <class T = int>
T Refuse(DWORD code) {
  SetLastError(code);
  return T{};
}

const uint8_t* Bytes(const void* p) { return static_cast<const uint8_t*>(p); }
uint8_t* Bytes(void* p) { return static_cast<uint8_t*>(p); }

// Marks pixels an RLE stream skips; decoded colours never have a top byte.
constexpr Pixel kRleSkipped = 0xFF000000;

constexpr Pixel EntryColor(const PALETTEENTRY& e) {
  return (static_cast<Pixel>(e.peRed) << 16) | (static_cast<Pixel>(e.peGreen) << 8) | e.peBlue;
}

// Reads a BITMAPINFO handed to a call. DIB_PAL_COLORS indices go through the DC's palette.
bool ReadInfo(HDC hdc, const void* info, UINT usage, DibFormat* f) {
  if (!info || usage > DIB_PAL_COLORS) return Refuse<bool>(ERROR_INVALID_PARAMETER);
  const gdi::Palette* palette = nullptr;
  if (usage == DIB_PAL_COLORS) {
    const DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
    if (!dc) return false;
    palette = dc->state().palette.get();
  }
  // As on Win32, the structure is trusted to be as long as its header says.
  if (!gdi::ParseDibInfo(Bytes(info), SIZE_MAX, gdi::DibSource::kApi, usage, palette, f, nullptr))
    return Refuse<bool>(ERROR_INVALID_PARAMETER);
  return true;
}

// Device-dependent rows are padded to 16 bits.
size_t DdbStride(const gdi::Bitmap& b) {
  return b.bits_per_pixel == 1 ? ((static_cast<size_t>(b.surface.width) + 15) / 16) * 2
                               : static_cast<size_t>(b.surface.width) * 4;
}

// One device-dependent row: 1 bpp bit 7 leftmost with 1 = white, or BGRX.
void EncodeDdbRow(const gdi::Bitmap& b, const Pixel* px, uint8_t* out, size_t stride) {
  std::memset(out, 0, stride);
  gdi::EncodeDibRow(b.bits_per_pixel == 1 ? 1 : 32, px, b.surface.width, out);
}

bool KnownInfoSize(DWORD size) {
  return size == sizeof(BITMAPCOREHEADER) || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

int SetDIBits(HDC hdc, HBITMAP hbmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  if (hdc && !gdi::Get<DeviceContext>(hdc)) return 0;
  gdi::Bitmap* bmp = gdi::Get<gdi::Bitmap>(hbmp);
  if (!bmp) return 0;
  DibFormat f;
  if (!ReadInfo(hdc, info, usage, &f)) return 0;
  if (!bits) return Refuse(ERROR_INVALID_PARAMETER);
  if (lines == 0) return 0;
  const gdi::Surface& s = bmp->surface;
  const int cols = std::min(f.width, s.width);

  if (f.rle()) {
    // Compressed DIBs are always set whole; pixels the stream skips keep their colour.
    if (f.image_size == 0) return Refuse(ERROR_INVALID_PARAMETER);
    // Decoded aside first, so a damaged stream leaves the bitmap as it was.
    std::vector<Pixel> pixels;
    try {
      pixels.assign(static_cast<size_t>(f.width) * f.height, kRleSkipped);
    } catch (const std::bad_alloc&) {
      return Refuse(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!gdi::DecodeDibRle(f, Bytes(bits), f.image_size, pixels.data(), nullptr)) return Refuse(ERROR_INVALID_DATA);
    const int rows = std::min(f.height, s.height);
    for (int y = 0; y < rows; ++y) {
      const Pixel* src = &pixels[static_cast<size_t>(y) * f.width];
      Pixel* dst = s.Row(y);
      for (int x = 0; x < cols; ++x)
        if (src[x] != kRleSkipped) dst[x] = gdi::MapToSurface(s, src[x]);
    }
    return f.height;
  }

  const int64_t height = f.height;
  int64_t count;      // rows read from bits
  int64_t first_row;  // bitmap row of the first row in bits (top-down DIBs)
  int result;
  if (!f.top_down) {
    if (start >= height) return Refuse(ERROR_INVALID_PARAMETER);
    count = std::min<int64_t>(lines, height - start);
    first_row = 0;
    result = static_cast<int>(count);
  } else {
    // Win32 does not clip lines for top-down DIBs: the band ends at scan line start.
    count = std::min<int64_t>(lines, height);
    first_row = height - static_cast<int64_t>(lines) - start;
    result = static_cast<int>(std::min<UINT>(lines, INT_MAX));
  }
  const size_t stride = f.stride();
  if (f.image_size != 0 && f.image_size < static_cast<uint64_t>(count) * stride) return Refuse(ERROR_INVALID_PARAMETER);
  for (int64_t i = 0; i < count; ++i) {
    const int64_t y = f.top_down ? first_row + i : height - 1 - start - i;
    if (y < 0 || y >= s.height) continue;
    Pixel* dst = s.Row(static_cast<int>(y));
    gdi::DecodeDibRow(f, Bytes(bits) + static_cast<size_t>(i) * stride, 0, cols, dst);
    if (s.monochrome)
      for (int x = 0; x < cols; ++x) dst[x] = gdi::MapToSurface(s, dst[x]);
  }
  return result;
}

int GetDIBits(HDC hdc, HBITMAP hbmp, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage) {
  DeviceContext* dc = gdi::Get<DeviceContext>(hdc);
  if (!dc) return 0;
  gdi::Bitmap* bmp = gdi::Get<gdi::Bitmap>(hbmp);
  if (!bmp) return 0;
  if (!info || usage > DIB_PAL_COLORS || !KnownInfoSize(info->bmiHeader.biSize)) return Refuse(ERROR_INVALID_PARAMETER);
  const gdi::Surface& s = bmp->surface;
  const DWORD header_size = info->bmiHeader.biSize;
  const bool core = header_size == sizeof(BITMAPCOREHEADER);
  auto* core_header = reinterpret_cast<BITMAPCOREHEADER*>(info);
  BITMAPINFOHEADER& h = info->bmiHeader;
  int64_t width, height;
  int bit_count;
  DWORD compression;
  WORD planes;
  if (core) {
    width = core_header->bcWidth;
    height = core_header->bcHeight;
    planes = core_header->bcPlanes;
    bit_count = core_header->bcBitCount;
    compression = BI_RGB;
  } else {
    width = h.biWidth;
    height = h.biHeight;
    planes = h.biPlanes;
    bit_count = h.biBitCount;
    compression = h.biCompression;
  }
  const int64_t rows = height < 0 ? -height : height;
  if (lines == 0 || start >= rows) bits = nullptr;

  if (!bits && bit_count == 0) {
    // The query: describe the bitmap. 32 bpp bitmaps report BI_BITFIELDS, as on Win32.
    const int bpp = bmp->bits_per_pixel;
    if (core) {
      if (s.width > 0xFFFF || s.height > 0xFFFF) return Refuse(ERROR_INVALID_PARAMETER);
      core_header->bcWidth = static_cast<WORD>(s.width);
      core_header->bcHeight = static_cast<WORD>(s.height);
      core_header->bcPlanes = 1;
      core_header->bcBitCount = static_cast<WORD>(bpp);
    } else {
      h.biWidth = s.width;
      h.biHeight = s.height;
      h.biPlanes = 1;
      h.biBitCount = static_cast<WORD>(bpp);
      h.biCompression = bpp == 32 ? BI_BITFIELDS : BI_RGB;
      h.biSizeImage = static_cast<DWORD>(gdi::DibStride(s.width, bpp) * s.height);
      h.biXPelsPerMeter = h.biYPelsPerMeter = 0;
      h.biClrUsed = h.biClrImportant = 0;
    }
    return s.height;
  }

  const bool format_ok = (compression == BI_RGB && (bit_count == 1 || bit_count == 24 || bit_count == 32)) ||
                         (compression == BI_BITFIELDS && bit_count == 32);
  if (!format_ok || planes != 1 || width <= 0 || height == 0 || width * rows > gdi::kMaxDibPixels)
    return Refuse(ERROR_INVALID_PARAMETER);

  // The colour table or masks of the DIB handed back.
  Pixel two[2] = {gdi::kBlack, gdi::kWhite};
  uint8_t* table = Bytes(info) + header_size;
  if (bit_count == 1) {
    if (usage == DIB_PAL_COLORS) {
      const gdi::Palette* pal = dc->state().palette.get();
      if (!pal || pal->entries.empty()) return Refuse(ERROR_INVALID_PARAMETER);
      for (int i = 0; i < 2; ++i) {
        two[i] = EntryColor(pal->entries[i % pal->entries.size()]);
        const WORD index = static_cast<WORD>(i);
        std::memcpy(table + 2 * i, &index, 2);
      }
    } else {
      for (int i = 0; i < 2; ++i) {
        const uint8_t v = i ? 0xFF : 0x00;
        const size_t entry = core ? 3 : 4;
        std::memset(table + entry * i, v, 3);
        if (!core) table[entry * i + 3] = 0;
      }
    }
  } else if (compression == BI_BITFIELDS) {
    const DWORD masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    std::memcpy(Bytes(info) + 40, masks, sizeof masks);
  }

  const size_t stride = gdi::DibStride(static_cast<int>(width), bit_count);
  int copied = 1;
  if (bits) {
    const int64_t count = std::min<int64_t>(lines, rows - start);
    const int64_t top = rows - start - count;  // the band's first row, top-down
    const int cols = static_cast<int>(std::min<int64_t>(width, s.width));
    const bool nearest_of_two = bit_count == 1 && usage == DIB_PAL_COLORS;
    std::vector<Pixel> mapped(nearest_of_two ? cols : 0);
    copied = 0;
    for (int64_t i = 0; i < count; ++i) {
      const int64_t y = height < 0 ? top + i : rows - 1 - start - i;
      uint8_t* out = Bytes(bits) + static_cast<size_t>(i) * stride;
      std::memset(out, 0, stride);
      if (y >= s.height) continue;  // rows below the bitmap come back zeroed
      const Pixel* src = s.Row(static_cast<int>(y));
      if (nearest_of_two) {
        auto distance = [](Pixel a, Pixel b) {
          const int dr = static_cast<int>((a >> 16) & 0xFF) - static_cast<int>((b >> 16) & 0xFF);
          const int dg = static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
          const int db = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
          return dr * dr + dg * dg + db * db;
        };
        for (int x = 0; x < cols; ++x)
          mapped[x] = distance(src[x], two[1]) < distance(src[x], two[0]) ? gdi::kWhite : gdi::kBlack;
        src = mapped.data();
      }
      gdi::EncodeDibRow(bit_count, src, cols, out);
      ++copied;
    }
  }
  if (!core) {
    h.biSizeImage = static_cast<DWORD>(stride * rows);
    h.biClrUsed = 0;
  }
  return copied;
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  if (!header || usage > DIB_PAL_COLORS || !KnownInfoSize(header->biSize))
    return Refuse<HBITMAP>(ERROR_INVALID_PARAMETER);
  // The header gives only the size; info describes the bits.
  int64_t width, height;
  if (header->biSize == sizeof(BITMAPCOREHEADER)) {
    const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
    width = core->bcWidth;
    height = core->bcHeight;
  } else {
    if (header->biCompression == BI_JPEG || header->biCompression == BI_PNG)
      return Refuse<HBITMAP>(ERROR_INVALID_PARAMETER);
    width = header->biWidth;
    height = header->biHeight < 0 ? -static_cast<int64_t>(header->biHeight) : header->biHeight;
  }
  if (width < 0 || height > INT_MAX) return Refuse<HBITMAP>(ERROR_INVALID_PARAMETER);
  if (hdc && !gdi::Get<DeviceContext>(hdc)) return nullptr;
  // A DDB in the format of the DC; without a DC, monochrome.
  HBITMAP bmp = hdc ? CreateCompatibleBitmap(hdc, static_cast<int>(width), static_cast<int>(height))
                    : CreateBitmap(static_cast<int>(width), static_cast<int>(height), 1, 1, nullptr);
  if (!bmp) return nullptr;
  if (init & CBM_INIT) {
    if (SetDIBits(hdc, bmp, 0, static_cast<UINT>(height), bits, info, usage) == 0) {
      const DWORD why = GetLastError();
      DeleteObject(bmp);
      return Refuse<HBITMAP>(why ? why : ERROR_INVALID_PARAMETER);
    }
  }
  return bmp;
}

LONG GetBitmapBits(HBITMAP hbmp, LONG size, LPVOID bits) {
  gdi::Bitmap* bmp = gdi::Get<gdi::Bitmap>(hbmp);
  if (!bmp) return 0;
  const gdi::Surface& s = bmp->surface;
  const size_t stride = DdbStride(*bmp);
  const size_t total = stride * s.height;
  if (!bits) return static_cast<LONG>(total);
  if (size <= 0) return 0;
  const size_t count = std::min(static_cast<size_t>(size), total);
  std::vector<uint8_t> row(stride);
  for (size_t done = 0, y = 0; done < count; done += stride, ++y) {
    EncodeDdbRow(*bmp, s.Row(static_cast<int>(y)), row.data(), stride);
    std::memcpy(Bytes(bits) + done, row.data(), std::min(stride, count - done));
  }
  return static_cast<LONG>(count);
}

LONG SetBitmapBits(HBITMAP hbmp, DWORD size, const void* bits) {
  gdi::Bitmap* bmp = gdi::Get<gdi::Bitmap>(hbmp);
  if (!bmp) return 0;
  if (!bits) return Refuse<LONG>(ERROR_INVALID_PARAMETER);
  const gdi::Surface& s = bmp->surface;
  const size_t stride = DdbStride(*bmp);
  const size_t count = std::min<size_t>(size, stride * s.height);
  for (size_t done = 0, y = 0; done < count; done += stride, ++y) {
    const uint8_t* src = Bytes(bits) + done;
    const size_t have = std::min(stride, count - done);  // the last row may be cut short
    Pixel* dst = s.Row(static_cast<int>(y));
    if (bmp->bits_per_pixel == 1) {
      const int n = static_cast<int>(std::min<size_t>(s.width, have * 8));
      for (int x = 0; x < n; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? gdi::kWhite : gdi::kBlack;
    } else {
      const int n = static_cast<int>(std::min<size_t>(s.width, (have + 3) / 4));
      for (int x = 0; x < n; ++x) {
        // A pixel cut by the end of the data takes only the bytes given.
        const size_t avail = std::min<size_t>(4, have - 4 * static_cast<size_t>(x));
        Pixel p = dst[x];
        for (size_t k = 0; k < avail; ++k)
          p = (p & ~(Pixel{0xFF} << (8 * k))) | (static_cast<Pixel>(src[4 * x + k]) << (8 * k));
        dst[x] = p & gdi::kPixelMask;
      }
    }
  }
  return static_cast<LONG>(count);
}

HBRUSH CreateDIBPatternBrushPt(const void* packed, UINT usage) {
  if (!packed || usage > DIB_PAL_COLORS) return Refuse<HBRUSH>(ERROR_INVALID_PARAMETER);
  // No DC is at hand: palette indices go through the default palette.
  const gdi::Palette* palette =
      usage == DIB_PAL_COLORS ? gdi::Get<gdi::Palette>(GetStockObject(DEFAULT_PALETTE)) : nullptr;
  DibFormat f;
  if (!gdi::ParseDibInfo(Bytes(packed), SIZE_MAX, gdi::DibSource::kApi, usage, palette, &f, nullptr) || f.rle())
    return Refuse<HBRUSH>(ERROR_INVALID_PARAMETER);
  const size_t stride = f.stride();
  if (f.image_size != 0 && f.image_size < stride * f.height) return Refuse<HBRUSH>(ERROR_INVALID_PARAMETER);
  auto brush = std::make_shared<gdi::Brush>();
  try {
    auto pattern = std::make_shared<gdi::PatternBits>();
    pattern->width = f.width;
    pattern->height = f.height;
    pattern->pixels.resize(static_cast<size_t>(f.width) * f.height);
    const uint8_t* src = Bytes(packed) + f.info_size;
    for (int y = 0; y < f.height; ++y) {
      const int row = f.top_down ? y : f.height - 1 - y;
      gdi::DecodeDibRow(f, src + static_cast<size_t>(row) * stride, 0, f.width,
                        &pattern->pixels[static_cast<size_t>(y) * f.width]);
    }
    brush->pattern = std::move(pattern);
  } catch (const std::bad_alloc&) {
    return Refuse<HBRUSH>(ERROR_NOT_ENOUGH_MEMORY);
  }
  brush->style = BS_DIBPATTERNPT;
  brush->color = usage;  // LOGBRUSH keeps the colour usage here for DIB patterns
  return static_cast<HBRUSH>(gdi::Register(std::move(brush)));
}

// DIB sections here are all 32 bpp, which have no colour table: there is never an entry to
// read or write.
UINT GetDIBColorTable(HDC hdc, UINT, UINT, RGBQUAD*) {
  if (!gdi::Get<DeviceContext>(hdc)) return 0;  // ERROR_INVALID_HANDLE is set
  return 0;
}

UINT SetDIBColorTable(HDC hdc, UINT, UINT, const RGBQUAD*) {
  if (!gdi::Get<DeviceContext>(hdc)) return 0;  // ERROR_INVALID_HANDLE is set
  return 0;
}
