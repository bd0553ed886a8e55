// DIB transfers: SetDIBits and GetDIBits in every depth against a slow reference, scan-line
// bands, the header query, monochrome conversion, RLE, palette indices, CreateDIBitmap,
// device-dependent bitmap bits, DIB pattern brushes and damaged headers.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <random>

#include "platform/gdi/dib.h"
#include "platform/gdi/objects.h"
#include "support/memdc.h"

using gdi::Pixel;
using testsupport::MemDC;

namespace {

// What a DIB is, for building one byte by byte.
struct DibLayout {
  int bpp = 32;
  DWORD compression = BI_RGB;
  std::vector<DWORD> masks;
  std::vector<Pixel> palette;  // 0x00RRGGBB
  int width = 1;
  int height = 1;
  bool top_down = false;
  bool core = false;
};

// Header, masks and colour table, as a BITMAPINFO in memory (kept 4-byte aligned).
std::vector<uint32_t> InfoWords(const DibLayout& d, DWORD size_image = 0) {
  std::vector<uint8_t> b;
  auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  if (d.core) {
    put(12, 4);
    put(static_cast<uint32_t>(d.width), 2);
    put(static_cast<uint32_t>(d.height), 2);
    put(1, 2);
    put(static_cast<uint32_t>(d.bpp), 2);
  } else {
    put(40, 4);
    put(static_cast<uint32_t>(d.width), 4);
    put(static_cast<uint32_t>(d.top_down ? -d.height : d.height), 4);
    put(1, 2);
    put(static_cast<uint32_t>(d.bpp), 2);
    put(d.compression, 4);
    put(size_image, 4);
    put(0, 4);
    put(0, 4);
    put(static_cast<uint32_t>(d.palette.size()), 4);
    put(0, 4);
  }
  for (DWORD m : d.masks) put(m, 4);
  for (Pixel c : d.palette) put(c, d.core ? 3 : 4);
  b.resize((b.size() + 3) / 4 * 4 + 64);  // room for GetDIBits to write a table into
  std::vector<uint32_t> words(b.size() / 4);
  std::memcpy(words.data(), b.data(), b.size());
  return words;
}

const BITMAPINFO* Info(const std::vector<uint32_t>& words) { return reinterpret_cast<const BITMAPINFO*>(words.data()); }
BITMAPINFO* Info(std::vector<uint32_t>& words) { return reinterpret_cast<BITMAPINFO*>(words.data()); }

// The slow, obviously correct way to lay pixel values (palette indices, raw 16/32-bit words,
// 0xRRGGBB for 24 bpp) out as DIB rows: bit by bit, leftmost pixel in the high bits.
std::vector<uint8_t> PackBits(const DibLayout& d, const std::vector<uint32_t>& values) {
  const size_t stride = ((static_cast<size_t>(d.width) * d.bpp + 31) / 32) * 4;
  std::vector<uint8_t> out(stride * d.height, 0);
  for (int y = 0; y < d.height; ++y) {
    const size_t row = static_cast<size_t>(d.top_down ? y : d.height - 1 - y);
    for (int x = 0; x < d.width; ++x) {
      const uint32_t v = values[static_cast<size_t>(y) * d.width + x];
      const size_t bit = row * stride * 8 + static_cast<size_t>(x) * d.bpp;
      if (d.bpp <= 8) {
        for (int b = 0; b < d.bpp; ++b)
          if ((v >> (d.bpp - 1 - b)) & 1) out[(bit + b) / 8] |= static_cast<uint8_t>(0x80 >> ((bit + b) % 8));
      } else {
        for (int k = 0; k < d.bpp / 8; ++k) out[bit / 8 + k] = static_cast<uint8_t>(v >> (8 * k));
      }
    }
  }
  return out;
}

// The colour a pixel value stands for, worked out the long way.
Pixel Expected(const DibLayout& d, uint32_t v) {
  if (d.bpp <= 8) return v < d.palette.size() ? d.palette[v] : 0;  // short tables pad with black
  if (d.bpp == 24) return v & 0xFFFFFF;
  std::vector<DWORD> m = d.masks;
  if (m.empty() && d.bpp == 16) m = {0x7C00, 0x03E0, 0x001F};
  if (m.empty()) m = {0xFF0000, 0xFF00, 0xFF};
  Pixel p = 0;
  for (int c = 0; c < 3; ++c) {
    const int shift = std::countr_zero(m[c]);
    const double max = static_cast<double>(m[c] >> shift);
    p = (p << 8) | static_cast<Pixel>(std::lround(((v & m[c]) >> shift) * 255.0 / max));
  }
  return p;
}

std::vector<Pixel> Pixels(HBITMAP h) {
  const gdi::Surface& s = gdi::Get<gdi::Bitmap>(h)->surface;
  std::vector<Pixel> out;
  for (int y = 0; y < s.height; ++y) out.insert(out.end(), s.Row(y), s.Row(y) + s.width);
  return out;
}

Pixel NearerOfBlackAndWhite(Pixel p) {
  const unsigned sum = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
  return sum > 382 ? 0xFFFFFF : 0;
}

std::vector<DibLayout> EveryInputFormat() {
  std::vector<DibLayout> f(13);
  f[0].bpp = 1, f[0].palette = {0x123456, 0xABCDEF};
  f[1].bpp = 4, f[1].palette = {0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0x010203, 0xFEFDFC, 0x7F7F7F, 0x808081,
                                0x111111, 0x222222, 0x333333};  // 11 of 16: the rest are black
  f[2].bpp = 8;
  for (int i = 0; i < 200; ++i) f[2].palette.push_back(static_cast<Pixel>(i * 0x010305));
  f[3].bpp = 16;
  f[4].bpp = 16, f[4].compression = BI_BITFIELDS, f[4].masks = {0xF800, 0x07E0, 0x001F};
  f[5].bpp = 16, f[5].compression = BI_BITFIELDS, f[5].masks = {0x0030, 0x000E, 0x0001};
  f[6].bpp = 24;
  f[7].bpp = 32;
  f[8].bpp = 32, f[8].compression = BI_BITFIELDS, f[8].masks = {0xFF0000, 0xFF00, 0xFF};
  f[9].bpp = 32, f[9].compression = BI_BITFIELDS, f[9].masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
  f[10] = f[2], f[10].core = true, f[10].palette.resize(256, 0x445566);
  f[11].bpp = 32, f[11].compression = BI_BITFIELDS, f[11].masks = {0xFF, 0xFF00, 0xFF0000};
  f[12].bpp = 32, f[12].compression = BI_BITFIELDS, f[12].masks = {0xFE000000, 0x01FFFF80, 0x7F};  // 18-bit green
  return f;
}

}  // namespace

TEST(SetDIBits, EveryDepthMatchesASlowReferenceOnRandomPixels) {
  std::mt19937 rng(1234);
  for (const DibLayout& base : EveryInputFormat()) {
    for (int round = 0; round < 6; ++round) {
      DibLayout d = base;
      d.width = 1 + static_cast<int>(rng() % 37);
      d.height = 1 + static_cast<int>(rng() % 5);
      d.top_down = !d.core && (round & 1);
      SCOPED_TRACE(testing::Message() << d.bpp << " bpp, compression " << d.compression << ", " << d.width << "x"
                                      << d.height << (d.top_down ? " top-down" : "") << (d.core ? " core" : ""));
      std::vector<uint32_t> values(static_cast<size_t>(d.width) * d.height);
      for (auto& v : values) v = d.bpp < 32 ? rng() & ((1u << d.bpp) - 1) : rng();
      const std::vector<uint8_t> bits = PackBits(d, values);
      const auto info = InfoWords(d);
      for (int mono = 0; mono < 2; ++mono) {
        HBITMAP bmp = CreateBitmap(d.width, d.height, 1, mono ? 1 : 32, nullptr);
        ASSERT_EQ(SetDIBits(nullptr, bmp, 0, d.height, bits.data(), Info(info), DIB_RGB_COLORS), d.height);
        std::vector<Pixel> want;
        for (uint32_t v : values) want.push_back(mono ? NearerOfBlackAndWhite(Expected(d, v)) : Expected(d, v));
        EXPECT_EQ(Pixels(bmp), want) << (mono ? "into a monochrome bitmap" : "into a colour bitmap");
        DeleteObject(bmp);
      }
    }
  }
}

TEST(SetDIBits, BandsCountScanLinesFromTheBottomAndRowsAlignAtTheTop) {
  // A 1x6 DIB band of two scan lines, written into a 1x4 bitmap.
  const std::vector<uint32_t> band = {0x0000AA, 0x0000BB};  // first in memory, then second
  DibLayout d;
  d.height = 6;
  HBITMAP bmp = CreateBitmap(1, 4, 1, 32, nullptr);
  const auto up = InfoWords(d);
  // Bottom-up: memory holds scan lines 2 and 3, which are rows 3 and 2 of the DIB.
  EXPECT_EQ(SetDIBits(nullptr, bmp, 2, 2, band.data(), Info(up), DIB_RGB_COLORS), 2);
  EXPECT_EQ(Pixels(bmp), (std::vector<Pixel>{0, 0, 0xBB, 0xAA}));
  // Scan lines 4 and 5 are rows 1 and 0; lines past the top are cut off.
  EXPECT_EQ(SetDIBits(nullptr, bmp, 4, 9, band.data(), Info(up), DIB_RGB_COLORS), 2);
  EXPECT_EQ(Pixels(bmp), (std::vector<Pixel>{0xBB, 0xAA, 0xBB, 0xAA}));
  // Scan lines 0 and 1 are rows 5 and 4: below the bitmap, so nothing changes.
  EXPECT_EQ(SetDIBits(nullptr, bmp, 0, 2, std::vector<uint32_t>{1, 1}.data(), Info(up), DIB_RGB_COLORS), 2);
  EXPECT_EQ(Pixels(bmp), (std::vector<Pixel>{0xBB, 0xAA, 0xBB, 0xAA}));
  SetLastError(0);
  EXPECT_EQ(SetDIBits(nullptr, bmp, 6, 1, band.data(), Info(up), DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetDIBits(nullptr, bmp, 0, 0, band.data(), Info(up), DIB_RGB_COLORS), 0);
  // Top-down: the same scan lines in top-down order.
  d.top_down = true;
  const auto down = InfoWords(d);
  HBITMAP bmp2 = CreateBitmap(1, 4, 1, 32, nullptr);
  EXPECT_EQ(SetDIBits(nullptr, bmp2, 2, 2, band.data(), Info(down), DIB_RGB_COLORS), 2);
  EXPECT_EQ(Pixels(bmp2), (std::vector<Pixel>{0, 0, 0xAA, 0xBB}));
  DeleteObject(bmp);
  DeleteObject(bmp2);
}

TEST(SetDIBits, CopiesOnlyWhereTheDibAndTheBitmapOverlap) {
  DibLayout d;
  d.width = 3;
  d.height = 3;
  d.top_down = true;
  const std::vector<uint32_t> px = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  HBITMAP small = CreateBitmap(2, 2, 1, 32, nullptr);
  EXPECT_EQ(SetDIBits(nullptr, small, 0, 3, px.data(), Info(InfoWords(d)), DIB_RGB_COLORS), 3);
  EXPECT_EQ(Pixels(small), (std::vector<Pixel>{1, 2, 4, 5}));
  HBITMAP big = CreateBitmap(4, 4, 1, 32, nullptr);
  EXPECT_EQ(SetDIBits(nullptr, big, 0, 3, px.data(), Info(InfoWords(d)), DIB_RGB_COLORS), 3);
  EXPECT_EQ(Pixels(big), (std::vector<Pixel>{1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 0, 0, 0, 0}));
  DeleteObject(small);
  DeleteObject(big);
}

TEST(SetDIBits, RleKeepsSkippedPixelsAndRefusesDamagedStreams) {
  DibLayout d;
  d.bpp = 8;
  d.compression = BI_RLE8;
  d.width = 4;
  d.height = 2;
  d.palette = {0xFF0000, 0x00FF00};
  const std::vector<uint8_t> stream = {2, 1, 0, 2, 1, 1, 1, 0, 0, 1};  // 2 greens, delta (1, 1), 1 red, end
  const auto info = InfoWords(d, static_cast<DWORD>(stream.size()));
  MemDC dc(4, 2, RGB(0, 0, 255));
  EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 1, stream.data(), Info(info), DIB_RGB_COLORS), 2);
  EXPECT_PICTURE(dc, 0, 0, {"bbbr", "ggbb"}, {{'r', RGB(255, 0, 0)}, {'g', RGB(0, 255, 0)}, {'b', RGB(0, 0, 255)}});
  const std::vector<uint8_t> overflow = {5, 1, 0, 1};
  const auto info2 = InfoWords(d, static_cast<DWORD>(overflow.size()));
  SetLastError(0);
  EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 2, overflow.data(), Info(info2), DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
  EXPECT_PICTURE(dc, 0, 0, {"bbbr", "ggbb"}, {{'r', RGB(255, 0, 0)}, {'g', RGB(0, 255, 0)}, {'b', RGB(0, 0, 255)}});
  // RLE4 runs alternate their two nibbles.
  d.bpp = 4;
  d.compression = BI_RLE4;
  const std::vector<uint8_t> nibbles = {3, 0x10, 0, 0, 0, 1};  // bottom row: 1 0 1, then the end
  const auto info4 = InfoWords(d, static_cast<DWORD>(nibbles.size()));
  EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 2, nibbles.data(), Info(info4), DIB_RGB_COLORS), 2);
  EXPECT_PICTURE(dc, 0, 0, {"bbbr", "grgb"}, {{'r', RGB(255, 0, 0)}, {'g', RGB(0, 255, 0)}, {'b', RGB(0, 0, 255)}});
  d.bpp = 8;
  d.compression = BI_RLE8;
  // RLE needs its byte count.
  EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 2, stream.data(), Info(InfoWords(d)), DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(SetDIBits, PaletteIndicesGoThroughTheDCPalette) {
  DibLayout d;
  d.bpp = 1;
  d.width = 2;
  const std::vector<uint16_t> indices = {13, 16};  // the default palette's red and blue
  std::vector<uint32_t> info = InfoWords(d);
  reinterpret_cast<BITMAPINFO*>(info.data())->bmiHeader.biClrUsed = 2;
  std::memcpy(reinterpret_cast<uint8_t*>(info.data()) + 40, indices.data(), 4);
  const uint8_t bits[4] = {0x40, 0, 0, 0};  // pixel 0 uses index 0, pixel 1 index 1
  MemDC dc(2, 1);
  EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 1, bits, Info(info), DIB_PAL_COLORS), 1);
  EXPECT_EQ(dc.Px(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dc.Px(1, 0), RGB(0, 0, 255));
  // Without a DC there is no palette to go through.
  EXPECT_EQ(SetDIBits(nullptr, dc.bitmap(), 0, 1, bits, Info(info), DIB_PAL_COLORS), 0);
}

TEST(SetDIBits, DamagedHeadersAreRefusedAndLeaveTheBitmapAlone) {
  struct Case {
    const char* name;
    void (*damage)(BITMAPINFOHEADER&);
  };
  const Case cases[] = {
      {"header size", [](BITMAPINFOHEADER& h) { h.biSize = 41; }},
      {"zero width", [](BITMAPINFOHEADER& h) { h.biWidth = 0; }},
      {"negative width", [](BITMAPINFOHEADER& h) { h.biWidth = -2; }},
      {"zero height", [](BITMAPINFOHEADER& h) { h.biHeight = 0; }},
      {"most negative height", [](BITMAPINFOHEADER& h) { h.biHeight = INT32_MIN; }},
      {"huge", [](BITMAPINFOHEADER& h) { h.biWidth = 1 << 20, h.biHeight = 1 << 10; }},
      {"planes", [](BITMAPINFOHEADER& h) { h.biPlanes = 0; }},
      {"bit count", [](BITMAPINFOHEADER& h) { h.biBitCount = 3; }},
      {"64 bpp", [](BITMAPINFOHEADER& h) { h.biBitCount = 64; }},
      {"jpeg", [](BITMAPINFOHEADER& h) { h.biCompression = BI_JPEG; }},
      {"alpha masks", [](BITMAPINFOHEADER& h) { h.biCompression = BI_ALPHABITFIELDS; }},
      {"unknown compression", [](BITMAPINFOHEADER& h) { h.biCompression = 77; }},
      {"masks on 24 bpp", [](BITMAPINFOHEADER& h) { h.biBitCount = 24, h.biCompression = BI_BITFIELDS; }},
      {"zero masks", [](BITMAPINFOHEADER& h) { h.biCompression = BI_BITFIELDS; }},
      {"rle8 at 32 bpp", [](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; }},
      {"top-down rle", [](BITMAPINFOHEADER& h) { h.biBitCount = 8, h.biCompression = BI_RLE8, h.biHeight = -2; }},
      {"palette too big", [](BITMAPINFOHEADER& h) { h.biBitCount = 8, h.biClrUsed = 257; }},
      {"colour hint too big", [](BITMAPINFOHEADER& h) { h.biClrUsed = 1000; }},
      {"image size too small", [](BITMAPINFOHEADER& h) { h.biSizeImage = 15; }},
  };
  MemDC dc(2, 2, RGB(1, 2, 3));
  const std::vector<uint32_t> bits(64, 0xFFFFFF);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DibLayout d;
    d.width = 2;
    d.height = 2;
    std::vector<uint32_t> info = InfoWords(d);  // the masks that follow are zero
    c.damage(Info(info)->bmiHeader);
    SetLastError(0);
    EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 2, bits.data(), Info(info), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(dc.Px(0, 0), RGB(1, 2, 3));
  }
  DibLayout d;
  const auto good = InfoWords(d);
  EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 1, nullptr, Info(good), DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 1, bits.data(), nullptr, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBits(dc, dc.bitmap(), 0, 1, bits.data(), Info(good), 2), 0);
  SetLastError(0);
  EXPECT_EQ(SetDIBits(dc, reinterpret_cast<HBITMAP>(dc.dc()), 0, 1, bits.data(), Info(good), DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(dc.Px(0, 0), RGB(1, 2, 3));
}

TEST(GetDIBits, RoundTripsThroughSetDIBitsIn24And32Bpp) {
  std::mt19937 rng(99);
  MemDC dc(1, 1);
  for (int bpp : {24, 32}) {
    for (bool top_down : {false, true}) {
      SCOPED_TRACE(testing::Message() << bpp << (top_down ? " top-down" : ""));
      const int w = 1 + static_cast<int>(rng() % 29), h = 1 + static_cast<int>(rng() % 7);
      std::vector<uint32_t> px(static_cast<size_t>(w) * h);
      for (auto& p : px) p = rng() & 0xFFFFFF;
      HBITMAP src = CreateBitmap(w, h, 1, 32, px.data());
      DibLayout d;
      d.bpp = bpp;
      d.width = w;
      d.height = h;
      d.top_down = top_down;
      auto info = InfoWords(d);
      std::vector<uint8_t> bits(gdi::DibStride(w, bpp) * h, 0xEE);
      EXPECT_EQ(GetDIBits(dc, src, 0, h, bits.data(), Info(info), DIB_RGB_COLORS), h);
      EXPECT_EQ(Info(info)->bmiHeader.biSizeImage, bits.size());
      // Byte for byte what the slow packer makes of the same pixels (the fourth byte is 0).
      EXPECT_EQ(bits, PackBits(d, px));
      HBITMAP dst = CreateBitmap(w, h, 1, 32, nullptr);
      EXPECT_EQ(SetDIBits(dc, dst, 0, h, bits.data(), Info(info), DIB_RGB_COLORS), h);
      EXPECT_EQ(Pixels(dst), Pixels(src));
      DeleteObject(src);
      DeleteObject(dst);
    }
  }
}

TEST(GetDIBits, BandsCountScanLinesFromTheBottom) {
  const std::vector<uint32_t> rows = {10, 11, 12, 13, 14};  // a 1x5 bitmap, one value a row
  HBITMAP bmp = CreateBitmap(1, 5, 1, 32, rows.data());
  MemDC dc(1, 1);
  DibLayout d;
  d.height = 5;
  auto up = InfoWords(d);
  std::vector<uint32_t> out(8, 0xDEAD);
  EXPECT_EQ(GetDIBits(dc, bmp, 1, 2, out.data(), Info(up), DIB_RGB_COLORS), 2);
  EXPECT_EQ(std::vector<uint32_t>(out.begin(), out.begin() + 3), (std::vector<uint32_t>{13, 12, 0xDEAD}));
  EXPECT_EQ(GetDIBits(dc, bmp, 3, 10, out.data(), Info(up), DIB_RGB_COLORS), 2);
  EXPECT_EQ(std::vector<uint32_t>(out.begin(), out.begin() + 3), (std::vector<uint32_t>{11, 10, 0xDEAD}));
  d.top_down = true;
  auto down = InfoWords(d);
  EXPECT_EQ(GetDIBits(dc, bmp, 1, 2, out.data(), Info(down), DIB_RGB_COLORS), 2);
  EXPECT_EQ(std::vector<uint32_t>(out.begin(), out.begin() + 2), (std::vector<uint32_t>{12, 13}));
  // A DIB taller than the bitmap: its rows below the bitmap come back zeroed, uncounted.
  d.top_down = false;
  d.height = 7;
  auto tall = InfoWords(d);
  std::fill(out.begin(), out.end(), 0xDEAD);
  EXPECT_EQ(GetDIBits(dc, bmp, 0, 7, out.data(), Info(tall), DIB_RGB_COLORS), 5);
  EXPECT_EQ(std::vector<uint32_t>(out.begin(), out.begin() + 8),
            (std::vector<uint32_t>{0, 0, 14, 13, 12, 11, 10, 0xDEAD}));
  DeleteObject(bmp);
}

TEST(GetDIBits, QueryWithoutBitsDescribesTheBitmap) {
  MemDC dc(1, 1);
  HBITMAP colour = CreateBitmap(13, 5, 1, 32, nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_EQ(GetDIBits(dc, colour, 0, 0, nullptr, &bi, DIB_RGB_COLORS), 5);
  EXPECT_EQ(bi.bmiHeader.biWidth, 13);
  EXPECT_EQ(bi.bmiHeader.biHeight, 5);
  EXPECT_EQ(bi.bmiHeader.biPlanes, 1);
  EXPECT_EQ(bi.bmiHeader.biBitCount, 32);
  EXPECT_EQ(bi.bmiHeader.biCompression, BI_BITFIELDS);  // as Win32 reports 32 bpp bitmaps
  EXPECT_EQ(bi.bmiHeader.biSizeImage, 13u * 4 * 5);
  HBITMAP mono = CreateBitmap(33, 3, 1, 1, nullptr);
  BITMAPINFO mi{};
  mi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_EQ(GetDIBits(dc, mono, 0, 0, nullptr, &mi, DIB_RGB_COLORS), 3);
  EXPECT_EQ(mi.bmiHeader.biBitCount, 1);
  EXPECT_EQ(mi.bmiHeader.biCompression, BI_RGB);
  EXPECT_EQ(mi.bmiHeader.biSizeImage, 8u * 3);  // rows padded to 32 bits
  BITMAPCOREHEADER core{sizeof(BITMAPCOREHEADER), 0, 0, 0, 0};
  EXPECT_EQ(GetDIBits(dc, colour, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&core), DIB_RGB_COLORS), 5);
  EXPECT_EQ(core.bcWidth, 13);
  EXPECT_EQ(core.bcBitCount, 32);
  // The BI_BITFIELDS answer is good for fetching: the masks come back after the header.
  std::vector<uint32_t> room(3 + sizeof(BITMAPINFOHEADER) / 4);
  std::memcpy(room.data(), &bi.bmiHeader, sizeof bi.bmiHeader);
  std::vector<uint32_t> bits(13 * 5);
  EXPECT_EQ(GetDIBits(dc, colour, 0, 5, bits.data(), reinterpret_cast<BITMAPINFO*>(room.data()), DIB_RGB_COLORS), 5);
  EXPECT_EQ(std::vector<uint32_t>(room.end() - 3, room.end()), (std::vector<uint32_t>{0xFF0000, 0xFF00, 0xFF}));
  DeleteObject(colour);
  DeleteObject(mono);
}

TEST(GetDIBits, OneBppRowsHaveABlackAndWhiteTable) {
  MemDC dc(1, 1);
  HBITMAP mono = CreateBitmap(10, 2, 1, 1, nullptr);
  const uint8_t ddb[] = {0xA0, 0x40, 0x00, 0x00};  // row 0: pixels 0, 2 and 9 white
  SetBitmapBits(mono, sizeof ddb, ddb);
  DibLayout d;
  d.bpp = 1;
  d.width = 10;
  d.height = 2;
  d.top_down = true;
  auto info = InfoWords(d);
  std::vector<uint8_t> bits(8, 0xEE);
  EXPECT_EQ(GetDIBits(dc, mono, 0, 2, bits.data(), Info(info), DIB_RGB_COLORS), 2);
  EXPECT_EQ(bits, (std::vector<uint8_t>{0xA0, 0x40, 0, 0, 0, 0, 0, 0}));
  const uint8_t* table = reinterpret_cast<const uint8_t*>(info.data()) + 40;
  EXPECT_EQ(std::vector<uint8_t>(table, table + 8), (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
  // From a colour bitmap, each pixel takes the nearer of black and white.
  const std::vector<uint32_t> px = {0x7F7F7F, 0x808080, 0xFF00FF, 0x00FF00};
  HBITMAP colour = CreateBitmap(4, 1, 1, 32, px.data());
  d.width = 4;
  d.height = 1;
  auto info4 = InfoWords(d);
  EXPECT_EQ(GetDIBits(dc, colour, 0, 1, bits.data(), Info(info4), DIB_RGB_COLORS), 1);
  EXPECT_EQ(bits[0], 0x60);
  // With palette indices the two colours are the DC palette's first two (black, dark red).
  auto pal = InfoWords(d);
  EXPECT_EQ(GetDIBits(dc, colour, 0, 1, bits.data(), Info(pal), DIB_PAL_COLORS), 1);
  const uint16_t* idx = reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(pal.data()) + 40);
  EXPECT_EQ(idx[0], 0);
  EXPECT_EQ(idx[1], 1);
  EXPECT_EQ(bits[0], 0xE0);  // greys and magenta are nearer dark red, green nearer black
  DeleteObject(mono);
  DeleteObject(colour);
}

TEST(GetDIBits, RefusesWhatItCannotWrite) {
  MemDC dc(2, 2);
  std::vector<uint8_t> bits(64);
  auto call = [&](void (*damage)(BITMAPINFOHEADER&)) {
    DibLayout d;
    d.width = 2;
    d.height = 2;
    std::vector<uint32_t> info = InfoWords(d);
    damage(Info(info)->bmiHeader);
    SetLastError(0);
    const int r = GetDIBits(dc, dc.bitmap(), 0, 2, bits.data(), Info(info), DIB_RGB_COLORS);
    return r == 0 && GetLastError() == ERROR_INVALID_PARAMETER;
  };
  EXPECT_TRUE(call([](BITMAPINFOHEADER& h) { h.biBitCount = 16; }));
  EXPECT_TRUE(call([](BITMAPINFOHEADER& h) { h.biBitCount = 8; }));
  EXPECT_TRUE(call([](BITMAPINFOHEADER& h) { h.biBitCount = 8, h.biCompression = BI_RLE8; }));
  EXPECT_TRUE(call([](BITMAPINFOHEADER& h) { h.biCompression = BI_PNG; }));
  EXPECT_TRUE(call([](BITMAPINFOHEADER& h) { h.biPlanes = 0; }));
  EXPECT_TRUE(call([](BITMAPINFOHEADER& h) { h.biWidth = 0; }));
  EXPECT_TRUE(call([](BITMAPINFOHEADER& h) { h.biSize = 20; }));
  EXPECT_TRUE(call([](BITMAPINFOHEADER& h) { h.biWidth = 1 << 16, h.biHeight = 1 << 14; }));
  DibLayout d;
  auto info = InfoWords(d);
  EXPECT_EQ(GetDIBits(nullptr, dc.bitmap(), 0, 1, bits.data(), Info(info), DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(dc, nullptr, 0, 1, bits.data(), Info(info), DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(dc, dc.bitmap(), 0, 1, bits.data(), nullptr, DIB_RGB_COLORS), 0);
}

TEST(CreateDIBitmap, TakesTheFormatOfTheDC) {
  DibLayout d;
  d.bpp = 24;
  d.width = 2;
  d.height = 1;
  const std::vector<uint32_t> px = {0xFF0000, 0x808080};
  const std::vector<uint8_t> bits = PackBits(d, px);
  const auto info = InfoWords(d);
  MemDC colour_dc(1, 1);
  HBITMAP colour = CreateDIBitmap(colour_dc, &Info(info)->bmiHeader, CBM_INIT, bits.data(), Info(info), DIB_RGB_COLORS);
  ASSERT_NE(colour, nullptr);
  BITMAP bm{};
  GetObject(colour, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(Pixels(colour), (std::vector<Pixel>{0xFF0000, 0x808080}));
  // A fresh memory DC holds a monochrome bitmap, and so does no DC at all.
  HDC fresh = CreateCompatibleDC(nullptr);
  for (HDC dc : {fresh, static_cast<HDC>(nullptr)}) {
    HBITMAP mono = CreateDIBitmap(dc, &Info(info)->bmiHeader, CBM_INIT, bits.data(), Info(info), DIB_RGB_COLORS);
    ASSERT_NE(mono, nullptr);
    GetObject(mono, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(Pixels(mono), (std::vector<Pixel>{0, 0xFFFFFF}));
    DeleteObject(mono);
  }
  DeleteDC(fresh);
  // Without CBM_INIT the bits are not looked at.
  HBITMAP blank = CreateDIBitmap(colour_dc, &Info(info)->bmiHeader, 0, nullptr, nullptr, DIB_RGB_COLORS);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(Pixels(blank), (std::vector<Pixel>{0, 0}));
  // Damaged input leaves no bitmap behind.
  const size_t live = gdi::LiveHandleCount();
  auto bad = InfoWords(d);
  Info(bad)->bmiHeader.biBitCount = 7;
  const BITMAPINFOHEADER* size = &Info(info)->bmiHeader;
  EXPECT_EQ(CreateDIBitmap(colour_dc, size, CBM_INIT, bits.data(), Info(bad), DIB_RGB_COLORS), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CreateDIBitmap(colour_dc, &Info(info)->bmiHeader, CBM_INIT, nullptr, Info(info), DIB_RGB_COLORS), nullptr);
  Info(bad)->bmiHeader = Info(info)->bmiHeader;
  Info(bad)->bmiHeader.biCompression = BI_JPEG;
  EXPECT_EQ(CreateDIBitmap(colour_dc, &Info(bad)->bmiHeader, 0, nullptr, nullptr, DIB_RGB_COLORS), nullptr);
  EXPECT_EQ(CreateDIBitmap(colour_dc, nullptr, 0, nullptr, nullptr, DIB_RGB_COLORS), nullptr);
  EXPECT_EQ(gdi::LiveHandleCount(), live);
  DeleteObject(colour);
  DeleteObject(blank);
}

TEST(BitmapBits, DeviceDependentRowsArePaddedTo16Bits) {
  HBITMAP mono = CreateBitmap(10, 2, 1, 1, nullptr);
  EXPECT_EQ(GetBitmapBits(mono, 0, nullptr), 4);  // two bytes a row
  const uint8_t in[] = {0x81, 0xFF, 0x40, 0x3F};  // the unused low bits of each row are ignored
  EXPECT_EQ(SetBitmapBits(mono, sizeof in, in), 4);
  EXPECT_EQ(Pixels(mono), (std::vector<Pixel>{0xFFFFFF, 0, 0, 0, 0, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,  //
                                              0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0, 0}));
  uint8_t out[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(GetBitmapBits(mono, sizeof out, out), 4);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{0x81, 0xC0, 0x40, 0x00, 0xEE, 0xEE}));
  EXPECT_EQ(GetBitmapBits(mono, 3, out), 3);
  // 32 bpp: BGRX; the fourth byte is dropped on the way in and 0 on the way out.
  HBITMAP colour = CreateBitmap(3, 1, 1, 32, nullptr);
  EXPECT_EQ(GetBitmapBits(colour, 0, nullptr), 12);
  const uint8_t px[] = {0x10, 0x20, 0x30, 0xFF, 0x40, 0x50};  // one pixel and two bytes of the next
  EXPECT_EQ(SetBitmapBits(colour, sizeof px, px), 6);
  EXPECT_EQ(Pixels(colour), (std::vector<Pixel>{0x302010, 0x005040, 0}));
  uint8_t back[12];
  EXPECT_EQ(GetBitmapBits(colour, 100, back), 12);
  EXPECT_EQ(back[3], 0);
  EXPECT_EQ(back[4], 0x40);
  EXPECT_EQ(SetBitmapBits(colour, 4, nullptr), 0);
  EXPECT_EQ(GetBitmapBits(nullptr, 4, back), 0);
  DeleteObject(mono);
  DeleteObject(colour);
}

TEST(DIBPatternBrush, TilesTheDibFromTheBrushOrigin) {
  // A packed 2x2 24 bpp DIB, bottom-up: red green / blue white (top row first on screen).
  DibLayout d;
  d.bpp = 24;
  d.width = 2;
  d.height = 2;
  std::vector<uint32_t> packed = InfoWords(d);
  packed.resize(10);
  const std::vector<uint8_t> bits = PackBits(d, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  std::memcpy(reinterpret_cast<uint8_t*>(packed.data()) + 40, bits.data(), bits.size());
  HBRUSH brush = CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS);
  ASSERT_NE(brush, nullptr);
  LOGBRUSH lb{};
  GetObject(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, BS_DIBPATTERNPT);
  MemDC dc(4, 3);
  SetBrushOrgEx(dc, 1, 0, nullptr);
  RECT rc{0, 0, 4, 3};
  FillRect(dc, &rc, brush);
  const std::map<char, COLORREF> legend = {{'r', RGB(255, 0, 0)}, {'g', RGB(0, 255, 0)}, {'b', RGB(0, 0, 255)}};
  EXPECT_PICTURE(dc, 0, 0, {"grgr", ".b.b", "grgr"}, legend);
  DeleteObject(brush);
  // A 1 bpp DIB pattern keeps its own colours, whatever the text colour.
  DibLayout m;
  m.bpp = 1;
  m.width = 2;
  m.palette = {0x0000FF, 0xFF0000};
  std::vector<uint32_t> mono = InfoWords(m);
  reinterpret_cast<uint8_t*>(mono.data())[48] = 0x40;
  HBRUSH mono_brush = CreateDIBPatternBrushPt(mono.data(), DIB_RGB_COLORS);
  ASSERT_NE(mono_brush, nullptr);
  SetTextColor(dc, RGB(0, 255, 0));
  SetBrushOrgEx(dc, 0, 0, nullptr);
  FillRect(dc, &rc, mono_brush);
  EXPECT_PICTURE(dc, 0, 0, {"brbr", "brbr", "brbr"}, legend);
  DeleteObject(mono_brush);
  // Compressed and damaged DIBs make no brush.
  std::vector<uint32_t> rle = InfoWords(m);
  Info(rle)->bmiHeader.biBitCount = 8;
  Info(rle)->bmiHeader.biCompression = BI_RLE8;
  Info(rle)->bmiHeader.biSizeImage = 2;
  EXPECT_EQ(CreateDIBPatternBrushPt(rle.data(), DIB_RGB_COLORS), nullptr);
  EXPECT_EQ(CreateDIBPatternBrushPt(nullptr, DIB_RGB_COLORS), nullptr);
  EXPECT_EQ(CreateDIBPatternBrushPt(mono.data(), 5), nullptr);
}

TEST(DIBColorTable, DibSectionsHereHaveNone) {
  MemDC dc(2, 2);
  RGBQUAD colors[4]{};
  EXPECT_EQ(GetDIBColorTable(dc, 0, 4, colors), 0u);
  EXPECT_EQ(SetDIBColorTable(dc, 0, 4, colors), 0u);
  SetLastError(0);
  EXPECT_EQ(GetDIBColorTable(nullptr, 0, 4, colors), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(DibToDevice, BottomUpSourceRectanglesCountFromTheBottomLeft) {
  // A 2x3 bottom-up DIB: rows in memory bottom first; each pixel's blue byte is its row
  // number counted from the top of the picture.
  struct {
    BITMAPINFOHEADER h;
  } info{};
  info.h.biSize = sizeof(BITMAPINFOHEADER);
  info.h.biWidth = 2;
  info.h.biHeight = 3;
  info.h.biPlanes = 1;
  info.h.biBitCount = 32;
  const uint32_t bits[6] = {2, 2, 1, 1, 0, 0};  // bottom row (picture row 2) first
  testsupport::MemDC dc(4, 4, RGB(255, 255, 255));
  // Source y = 0 with height 1 is the bottom row of the picture.
  ASSERT_EQ(SetDIBitsToDevice(dc, 0, 0, 2, 1, 0, 0, 0, 3, bits, reinterpret_cast<BITMAPINFO*>(&info),
                              DIB_RGB_COLORS),
            3);
  EXPECT_EQ(dc.Px(0, 0), RGB(0, 0, 2));
  EXPECT_EQ(dc.Px(0, 1), RGB(255, 255, 255));
  // StretchDIBits of the whole picture, doubled vertically.
  ASSERT_EQ(StretchDIBits(dc, 0, 0, 2, 4, 0, 1, 2, 2, bits, reinterpret_cast<BITMAPINFO*>(&info),
                          DIB_RGB_COLORS, SRCCOPY),
            3);
  EXPECT_EQ(dc.Px(1, 0), RGB(0, 0, 0));  // picture rows 0 and 1 (source y 1..2 from the bottom)
  EXPECT_EQ(dc.Px(1, 3), RGB(0, 0, 1));
  // Damage is refused, nothing drawn.
  info.h.biBitCount = 7;
  EXPECT_EQ(StretchDIBits(dc, 0, 0, 2, 2, 0, 0, 2, 2, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                          SRCCOPY),
            0);
}
