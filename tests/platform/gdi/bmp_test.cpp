// BMP files: the BMP Suite against its reference renderings, damaged and truncated files,
// RLE semantics, and exact round trips through files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <set>

#include "platform/gdi/bmp.h"
#include "platform/gdi/dib.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/png_reader.h"
#include "support/testdata.h"

namespace fs = std::filesystem;
using gdi::Pixel;

namespace {

std::vector<uint8_t> ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

gdi::BmpResult Decode(const std::vector<uint8_t>& bytes) { return gdi::DecodeBmp(bytes.data(), bytes.size()); }

// Compares a decoded image with a reference PNG, colour channels only: surfaces have no
// alpha, so pixels the reference makes fully transparent are not compared. tolerance allows
// channels wider than 8 bits to round the other way.
::testing::AssertionResult MatchesPng(const gdi::DecodedBmp& img, const fs::path& png, int tolerance = 0) {
  testsupport::PngPicture ref;
  std::string why;
  if (!testsupport::ReadPng(png.string(), &ref, &why)) return ::testing::AssertionFailure() << why;
  if (ref.width != img.width || ref.height != img.height)
    return ::testing::AssertionFailure() << "size " << img.width << "x" << img.height << ", reference " << ref.width
                                         << "x" << ref.height;
  int wrong = 0;
  std::string first;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const size_t i = static_cast<size_t>(y) * img.width + x;
      const Pixel got = img.pixels[i], want = ref.argb[i] & 0xFFFFFF;
      if ((ref.argb[i] >> 24) == 0) continue;
      auto near = [&](int shift) {
        const int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((want >> shift) & 0xFF);
        return std::abs(a - b) <= tolerance;
      };
      if (near(0) && near(8) && near(16)) continue;
      if (wrong++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "first at (%d, %d): %06X, reference %06X", x, y, got, want);
        first = text;
      }
    }
  if (wrong) return ::testing::AssertionFailure() << wrong << " pixels differ from " << png.filename() << ", " << first;
  return ::testing::AssertionSuccess();
}

std::vector<std::string> BmpNames(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".bmp") names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A BMP file put together field by field, so tests can damage any one of them.
struct BmpBuilder {
  uint32_t header_size = 40;
  int32_t width = 4;
  int32_t height = 2;
  uint16_t planes = 1;
  uint16_t bit_count = 24;
  uint32_t compression = BI_RGB;
  uint32_t size_image = 0;
  uint32_t clr_used = 0;
  std::vector<uint32_t> masks;    // written right after the header (offset 40 for V4/V5 too)
  std::vector<Pixel> palette;     // BGRX entries, BGR for core headers
  std::vector<uint8_t> bits;
  int64_t offset = -1;            // where the pixels go; -1: right after the colour table
  int64_t offset_field = -1;      // what the file header says; -1: the real offset
  int64_t file_size = -1;         // -1: the real size

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> out(14 + header_size, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
      for (int i = 0; i < n; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    const size_t h = 14;
    put(h, header_size, 4);
    if (header_size == 12) {
      put(h + 4, static_cast<uint32_t>(width), 2);
      put(h + 6, static_cast<uint32_t>(height), 2);
      put(h + 8, planes, 2);
      put(h + 10, bit_count, 2);
    } else {
      put(h + 4, static_cast<uint32_t>(width), 4);
      put(h + 8, static_cast<uint32_t>(height), 4);
      put(h + 12, planes, 2);
      put(h + 14, bit_count, 2);
      if (header_size >= 20) put(h + 16, compression, 4);
      if (header_size >= 24) put(h + 20, size_image, 4);
      if (header_size >= 36) put(h + 32, clr_used, 4);
    }
    for (size_t i = 0; i < masks.size(); ++i) {
      if (header_size == 40) out.resize(out.size() + 4);
      put(h + 40 + 4 * i, masks[i], 4);
    }
    for (Pixel c : palette) {
      out.push_back(static_cast<uint8_t>(c));
      out.push_back(static_cast<uint8_t>(c >> 8));
      out.push_back(static_cast<uint8_t>(c >> 16));
      if (header_size != 12) out.push_back(0);
    }
    const size_t pixel_offset = offset >= 0 ? static_cast<size_t>(offset) : out.size();
    out.resize(std::max(out.size(), pixel_offset));
    out.resize(pixel_offset);
    out.insert(out.end(), bits.begin(), bits.end());
    out[0] = 'B';
    out[1] = 'M';
    put(2, file_size >= 0 ? static_cast<uint32_t>(file_size) : static_cast<uint32_t>(out.size()), 4);
    put(10, static_cast<uint32_t>(offset_field >= 0 ? offset_field : static_cast<int64_t>(pixel_offset)), 4);
    return out;
  }
};

// 4x2, 8 bpp, three colours; rows bottom-up.
BmpBuilder Pal8() {
  BmpBuilder b;
  b.bit_count = 8;
  b.clr_used = 3;
  b.palette = {0x102030, 0xFF0000, 0x00FF00};
  b.bits = {2, 2, 1, 0,  // bottom row
            0, 1, 2, 1};
  return b;
}

// 6x3 RLE8: runs, a literal run, a delta, ends of line and an early end of bitmap.
BmpBuilder Rle8() {
  BmpBuilder b = Pal8();
  b.width = 6;
  b.height = 3;
  b.compression = BI_RLE8;
  b.bits = {3, 1,           // bottom row: three of colour 1
            0, 3, 2, 1, 2, 0,  // then the literal run 2 1 2, padded
            0, 0,           // end of line
            0, 2, 2, 0,     // delta: two to the right
            2, 2,           // two of colour 2
            0, 0,           // end of line: the rest of the middle row is skipped
            1, 1,           // top row: one of colour 1
            0, 1};          // end of bitmap
  b.size_image = static_cast<uint32_t>(b.bits.size());
  return b;
}

std::vector<Pixel> Pixels(HBITMAP h) {
  const gdi::Surface& s = gdi::Get<gdi::Bitmap>(h)->surface;
  std::vector<Pixel> out;
  for (int y = 0; y < s.height; ++y) out.insert(out.end(), s.Row(y), s.Row(y) + s.width);
  return out;
}

HBITMAP RandomBitmap(int w, int h, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint32_t> bits(static_cast<size_t>(w) * h);
  for (auto& p : bits) p = rng() & 0xFFFFFF;
  return CreateBitmap(w, h, 1, 32, bits.data());
}

}  // namespace

TEST(BmpSuite, GoodFilesMatchTheirReferenceRenderings) {
  REQUIRE_SHARED_TESTDATA(data);
  const std::map<std::string, std::string> reference = {
      {"pal1.bmp", "pal1.png"},         {"pal1bg.bmp", "pal1bg.png"},      {"pal1wb.bmp", "pal1.png"},
      {"pal4.bmp", "pal4.png"},         {"pal4gs.bmp", "pal4gs.png"},      {"pal4rle.bmp", "pal4.png"},
      {"pal8-0.bmp", "pal8.png"},       {"pal8.bmp", "pal8.png"},          {"pal8gs.bmp", "pal8gs.png"},
      {"pal8nonsquare.bmp", "pal8nonsquare-e.png"},                         {"pal8os2.bmp", "pal8.png"},
      {"pal8rle.bmp", "pal8.png"},      {"pal8topdown.bmp", "pal8.png"},   {"pal8v4.bmp", "pal8.png"},
      {"pal8v5.bmp", "pal8.png"},       {"pal8w124.bmp", "pal8w124.png"},  {"pal8w125.bmp", "pal8w125.png"},
      {"pal8w126.bmp", "pal8w126.png"}, {"rgb16-565.bmp", "rgb16-565.png"}, {"rgb16-565pal.bmp", "rgb16-565.png"},
      {"rgb16.bmp", "rgb16.png"},       {"rgb16bfdef.bmp", "rgb16.png"},   {"rgb24.bmp", "rgb24.png"},
      {"rgb24pal.bmp", "rgb24.png"},    {"rgb32.bmp", "rgb24.png"},        {"rgb32bf.bmp", "rgb24.png"},
      {"rgb32bfdef.bmp", "rgb24.png"},
  };
  const fs::path dir = data / "bmpsuite" / "g";
  const std::vector<std::string> names = BmpNames(dir);
  EXPECT_EQ(names.size(), reference.size());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    auto ref = reference.find(name);
    ASSERT_NE(ref, reference.end()) << "no reference listed";
    const gdi::BmpResult r = Decode(ReadFile(dir / name));
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_TRUE(MatchesPng(*r.image, data / "bmpsuite" / "html" / ref->second));
  }
  // Black-and-white 1 bpp files are monochrome whichever colour comes first.
  EXPECT_TRUE(Decode(ReadFile(dir / "pal1.bmp")).image->monochrome);
  EXPECT_TRUE(Decode(ReadFile(dir / "pal1wb.bmp")).image->monochrome);
  EXPECT_FALSE(Decode(ReadFile(dir / "pal1bg.bmp")).image->monochrome);
}

TEST(BmpSuite, BadFilesAreRefusedWithTheirReason) {
  REQUIRE_SHARED_TESTDATA(data);
  // An empty reason: the file decodes (only its pixel density is absurd, which is unused).
  const std::map<std::string, std::string> expected = {
      {"badbitcount.bmp", "bit count 30000 is not supported"},
      {"badbitssize.bmp", "says the pixel data is 2129587950 bytes, 1024 present"},
      {"baddens1.bmp", ""},
      {"baddens2.bmp", ""},
      {"badfilesize.bmp", "truncated: its header says 2111692253 bytes"},
      {"badheadersize.bmp", "header size 66 is not a known header version"},
      {"badpalettesize.bmp", "palette has 305402420 colours; 8 bpp allows at most 256"},
      {"badplanes.bmp", "30000 colour planes"},
      {"badrle.bmp", "overflows the 127-pixel row"},
      {"badrle4.bmp", "overflows the 127-pixel row"},
      {"badrle4bis.bmp", "moves outside the image"},
      {"badrle4ter.bmp", "moves outside the image"},
      {"badrlebis.bmp", "moves outside the image"},
      {"badrleter.bmp", "moves outside the image"},
      {"badwidth.bmp", "width is -127; it must be positive"},
      {"pal8badindex.bmp", "past the 101-colour palette"},
      {"reallybig.bmp", "3000000x2000000 pixels; refusing images over 2^28 pixels"},
      {"rgb16-880.bmp", "blue mask 0x00000000"},
      {"rletopdown.bmp", "RLE bitmaps must be bottom-up"},
      {"shortfile.bmp", "truncated: its header says 1086 bytes, 273 present"},
  };
  const fs::path dir = data / "bmpsuite" / "b";
  const std::vector<std::string> names = BmpNames(dir);
  EXPECT_EQ(names.size(), expected.size());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    auto want = expected.find(name);
    ASSERT_NE(want, expected.end()) << "no outcome listed";
    const gdi::BmpResult r = Decode(ReadFile(dir / name));
    if (want->second.empty()) {
      EXPECT_TRUE(r.image) << r.error;
    } else {
      EXPECT_FALSE(r.image);
      EXPECT_NE(r.error.find(want->second), std::string::npos) << r.error;
    }
  }
  const gdi::BmpResult array = Decode(ReadFile(data / "bmpsuite" / "x" / "ba-bm.bmp"));
  EXPECT_FALSE(array.image);
  EXPECT_EQ(array.error, "not a BMP file: it starts with \"BA\", not \"BM\"");
}

TEST(BmpSuite, QuestionableFilesDecodeOrAreRefusedCleanly) {
  REQUIRE_SHARED_TESTDATA(data);
  enum Outcome { kRefused, kDecoded };
  struct Expect {
    Outcome outcome;
    std::string reference;
    int tolerance = 0;
  };
  const std::map<std::string, Expect> expected = {
      {"pal1huffmsb.bmp", {kRefused, ""}},
      {"pal1p1.bmp", {kDecoded, "pal1p1.png"}},
      {"pal2.bmp", {kRefused, ""}},
      {"pal2color.bmp", {kRefused, ""}},
      {"pal4rlecut.bmp", {kDecoded, "pal4rlecut-0.png"}},
      {"pal4rletrns.bmp", {kDecoded, "pal4rletrns-0.png"}},
      {"pal8offs.bmp", {kDecoded, "pal8.png"}},
      {"pal8os2-hs.bmp", {kDecoded, "pal8.png"}},
      {"pal8os2-sz.bmp", {kDecoded, "pal8.png"}},
      {"pal8os2sp.bmp", {kDecoded, "pal8.png"}},
      {"pal8os2v2-16.bmp", {kDecoded, "pal8.png"}},
      {"pal8os2v2-40sz.bmp", {kDecoded, "pal8.png"}},
      {"pal8os2v2-sz.bmp", {kDecoded, "pal8.png"}},
      {"pal8os2v2.bmp", {kDecoded, "pal8.png"}},
      {"pal8oversizepal.bmp", {kRefused, ""}},
      {"pal8rlecut.bmp", {kDecoded, "pal8rlecut-0.png"}},
      {"pal8rletrns.bmp", {kDecoded, "pal8rletrns-0.png"}},
      {"rgb16-231.bmp", {kDecoded, "rgb16-231.png"}},
      {"rgb16-3103.bmp", {kDecoded, "rgb16-3103.png"}},
      {"rgb16faketrns.bmp", {kDecoded, "rgb16.png"}},
      {"rgb24jpeg.bmp", {kRefused, ""}},
      {"rgb24largepal.bmp", {kDecoded, "rgb24.png"}},
      {"rgb24lprof.bmp", {kDecoded, "rgb24.png"}},
      {"rgb24png.bmp", {kRefused, ""}},
      {"rgb24prof.bmp", {kDecoded, "rgb24.png"}},
      {"rgb24prof2.bmp", {kDecoded, ""}},
      {"rgb24rle24.bmp", {kRefused, ""}},
      {"rgb32-111110.bmp", {kDecoded, "rgb24.png", 1}},
      {"rgb32-7187.bmp", {kDecoded, "rgb32-7187.png"}},
      {"rgb32-xbgr.bmp", {kDecoded, "rgb24.png"}},
      {"rgb32fakealpha.bmp", {kDecoded, "rgb24.png"}},
      {"rgb32h52.bmp", {kDecoded, "rgb24.png"}},
      {"rgba16-1924.bmp", {kDecoded, "rgba16-1924.png"}},
      {"rgba16-4444.bmp", {kDecoded, "rgba16-4444.png"}},
      {"rgba16-5551.bmp", {kDecoded, ""}},
      {"rgba32-1.bmp", {kDecoded, "rgba32.png"}},
      {"rgba32-1010102.bmp", {kDecoded, "rgba32-1010102.png"}},
      {"rgba32-2.bmp", {kDecoded, "rgba32.png"}},
      {"rgba32-61754.bmp", {kDecoded, "rgba32-61754.png"}},
      {"rgba32-81284.bmp", {kDecoded, "rgba32-81284.png"}},
      {"rgba32abf.bmp", {kDecoded, "rgba32.png"}},
      {"rgba32h56.bmp", {kDecoded, "rgba32.png"}},
      {"rgba64.bmp", {kRefused, ""}},
  };
  const fs::path dir = data / "bmpsuite" / "q";
  const std::vector<std::string> names = BmpNames(dir);
  EXPECT_EQ(names.size(), expected.size());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    auto want = expected.find(name);
    ASSERT_NE(want, expected.end()) << "no outcome listed";
    const gdi::BmpResult r = Decode(ReadFile(dir / name));
    if (want->second.outcome == kRefused) {
      EXPECT_FALSE(r.image);
      EXPECT_FALSE(r.error.empty());
    } else {
      ASSERT_TRUE(r.image) << r.error;
      if (!want->second.reference.empty()) {
        EXPECT_TRUE(MatchesPng(*r.image, data / "bmpsuite" / "html" / want->second.reference, want->second.tolerance));
      }
    }
  }
}

TEST(Bmp, DecodesBottomUpAndTopDownRowsAlike) {
  BmpBuilder b = Pal8();
  const gdi::BmpResult up = Decode(b.Build());
  ASSERT_TRUE(up.image) << up.error;
  EXPECT_EQ(up.image->pixels, (std::vector<Pixel>{0x102030, 0xFF0000, 0x00FF00, 0xFF0000,  // top row
                                                  0x00FF00, 0x00FF00, 0xFF0000, 0x102030}));
  EXPECT_EQ(up.image->palette, b.palette);
  EXPECT_EQ(up.image->bits_per_pixel, 8);
  b.height = -2;
  std::swap_ranges(b.bits.begin(), b.bits.begin() + 4, b.bits.begin() + 4);
  const gdi::BmpResult down = Decode(b.Build());
  ASSERT_TRUE(down.image) << down.error;
  EXPECT_EQ(down.image->height, 2);
  EXPECT_EQ(down.image->pixels, up.image->pixels);
}

TEST(Bmp, RleSkippedPixelsTakeTheFirstPaletteColour) {
  const gdi::BmpResult r = Decode(Rle8().Build());
  ASSERT_TRUE(r.image) << r.error;
  const Pixel o = 0x102030, R = 0xFF0000, G = 0x00FF00;
  EXPECT_EQ(r.image->pixels, (std::vector<Pixel>{R, o, o, o, o, o,  //
                                                 o, o, G, G, o, o,  //
                                                 R, R, R, G, R, G}));
  // RLE4: runs alternate the two nibbles; literal runs of odd length are padded to a word.
  BmpBuilder b = Pal8();
  b.bit_count = 4;
  b.compression = BI_RLE4;
  b.width = 8;
  b.height = 2;
  b.bits = {5,    0x12, 0, 3, 0x21, 0x00,  // bottom row: 1 2 1 2 1, then literal 2 1 0
            0,    0,                        // end of line
            0,    2,    3, 0,               // delta three to the right
            3,    0x12,                     // 1 2 1
            0,    1};                       // end of bitmap
  b.size_image = static_cast<uint32_t>(b.bits.size());
  const gdi::BmpResult r4 = Decode(b.Build());
  ASSERT_TRUE(r4.image) << r4.error;
  EXPECT_EQ(r4.image->pixels, (std::vector<Pixel>{o, o, o, R, G, R, o, o,  //
                                                  R, G, R, G, R, G, R, o}));
}

TEST(Bmp, DamagedHeadersAreRefusedWithAReason) {
  struct Case {
    const char* name;
    std::function<void(BmpBuilder&)> damage;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"zero width", [](BmpBuilder& b) { b.width = 0; }, "width is 0"},
      {"zero height", [](BmpBuilder& b) { b.height = 0; }, "height is 0"},
      {"huge", [](BmpBuilder& b) { b.width = b.height = 40000; }, "says 40000x40000 pixels; refusing images over 2^28"},
      {"planes", [](BmpBuilder& b) { b.planes = 2; }, "2 colour planes"},
      {"2 bpp", [](BmpBuilder& b) { b.bit_count = 2; }, "bit count 2 is not supported"},
      {"0 bpp", [](BmpBuilder& b) { b.bit_count = 0; }, "bit count 0 is not supported"},
      {"compression", [](BmpBuilder& b) { b.compression = 9; }, "compression 9 is not a known"},
      {"jpeg", [](BmpBuilder& b) { b.compression = BI_JPEG; }, "JPEG"},
      {"png", [](BmpBuilder& b) { b.compression = BI_PNG; }, "PNG"},
      {"rle8 at 4 bpp", [](BmpBuilder& b) { b.bit_count = 4, b.compression = BI_RLE8; }, "RLE8 compressed but has 4"},
      {"rle top-down", [](BmpBuilder& b) { b.compression = BI_RLE8, b.height = -2; }, "must be bottom-up"},
      {"header size", [](BmpBuilder& b) { b.header_size = 44; }, "header size 44"},
      {"too many colours", [](BmpBuilder& b) { b.clr_used = 257; }, "257 colours; 8 bpp allows at most 256"},
      {"table cut by pixels", [](BmpBuilder& b) { b.offset = 14 + 40 + 8; }, "needs 12 bytes, 8 present"},
      {"offset past end", [](BmpBuilder& b) { b.offset_field = 5000; }, "offset 5000 lies beyond the end of the 74"},
      {"offset in header", [](BmpBuilder& b) { b.offset_field = 30; }, "offset 30 points inside the headers"},
      {"pixels short", [](BmpBuilder& b) { b.bits.pop_back(), b.file_size = 0; }, "pixel data needs 8 bytes, 7"},
      {"image size", [](BmpBuilder& b) { b.size_image = 9; }, "pixel data is 9 bytes, 8 present"},
      {"file size", [](BmpBuilder& b) { b.file_size = 1000; }, "says 1000 bytes"},
      {"index past palette", [](BmpBuilder& b) { b.bits[5] = 3; }, "past the 3-colour palette"},
      {"masks on 24 bpp", [](BmpBuilder& b) { b.bit_count = 24, b.compression = BI_BITFIELDS; }, "masks need 16 or 32"},
      {"masks missing",
       [](BmpBuilder& b) { b.bit_count = 16, b.compression = BI_BITFIELDS, b.clr_used = 0, b.offset = 54; },
       "masks are missing"},
      {"zero mask",
       [](BmpBuilder& b) { b.bit_count = 32, b.compression = BI_BITFIELDS, b.masks = {0xFF0000, 0, 0xFF}; },
       "green mask 0x00000000"},
      {"split mask",
       [](BmpBuilder& b) { b.bit_count = 32, b.compression = BI_BITFIELDS, b.masks = {0xFF0000, 0xF0F0, 0x0F}; },
       "green mask 0x0000F0F0 is not one run"},
      {"overlapping masks",
       [](BmpBuilder& b) { b.bit_count = 32, b.compression = BI_BITFIELDS, b.masks = {0xFF0000, 0xFFFF00, 0xFF}; },
       "green mask 0x00FFFF00 overlaps"},
      {"mask outside 16 bits",
       [](BmpBuilder& b) { b.bit_count = 16, b.compression = BI_BITFIELDS, b.masks = {0x1F0000, 0x3E0, 0x1F}; },
       "red mask 0x001F0000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpBuilder b = Pal8();
    c.damage(b);
    const gdi::BmpResult r = Decode(b.Build());
    EXPECT_FALSE(r.image);
    EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
  }
}

TEST(Bmp, DamagedRleStreamsAreRefused) {
  const std::vector<std::pair<std::vector<uint8_t>, const char*>> cases = {
      {{7, 1, 0, 1}, "run of 7 pixels at (0, 2) overflows the 6-pixel row"},
      {{0, 4, 1, 1, 1, 1, 0, 0, 0, 1, 0, 1}, ""},  // a literal run that fits, then EOL and EOB
      {{0, 7, 1, 1, 1, 1, 1, 1, 1, 0}, "run of 7 pixels at (0, 2) overflows"},
      {{0, 5, 1, 1}, "literal run of 5 pixels is truncated"},
      {{0, 2, 7, 0}, "delta (7, 0) at (0, 2) moves outside"},
      {{0, 2, 0, 3}, "delta (0, 3) at (0, 2) moves outside"},
      {{0, 2, 1}, "delta is truncated"},
      {{3, 1, 0, 0}, "ends at row 1 before the end-of-bitmap marker"},
      {{0, 0, 0, 0, 0, 0, 0, 0}, "continues past the top row"},
      {{0, 0, 0, 0, 0, 0}, ""},  // every row closed by an end of line: no marker needed
      {{0, 0, 0, 0, 0, 0, 1, 1}, "run of 1 pixels at (0, -1) overflows"},
  };
  for (const auto& [stream, reason] : cases) {
    SCOPED_TRACE(reason);
    BmpBuilder b = Rle8();
    b.bits = stream;
    b.size_image = static_cast<uint32_t>(stream.size());
    const gdi::BmpResult r = Decode(b.Build());
    if (*reason == '\0') {
      EXPECT_TRUE(r.image) << r.error;
    } else {
      EXPECT_FALSE(r.image);
      EXPECT_NE(r.error.find(reason), std::string::npos) << r.error;
    }
  }
}

TEST(Bmp, EveryTruncationIsRefusedOrDecodesWithoutOverreading) {
  std::vector<BmpBuilder> files = {Pal8(), Rle8()};
  {
    BmpBuilder core = Pal8();
    core.header_size = 12;
    files.push_back(core);
    BmpBuilder masks;
    masks.bit_count = 16;
    masks.compression = BI_BITFIELDS;
    masks.masks = {0xF800, 0x07E0, 0x001F};
    masks.bits.assign(16, 0xA5);
    files.push_back(masks);
    BmpBuilder v5 = masks;
    v5.header_size = 124;
    v5.bit_count = 32;
    v5.masks = {0xFF0000, 0xFF00, 0xFF};
    v5.bits.assign(32, 0x3C);
    files.push_back(v5);
  }
  for (size_t f = 0; f < files.size(); ++f) {
    SCOPED_TRACE(f);
    const std::vector<uint8_t> whole = files[f].Build();
    const gdi::BmpResult full = Decode(whole);
    ASSERT_TRUE(full.image) << full.error;
    // With the file size cleared, cuts are noticed by the deeper checks instead.
    std::vector<uint8_t> unsized = whole;
    std::fill_n(unsized.begin() + 2, 4, 0);
    for (size_t len = 0; len < whole.size(); ++len) {
      // Exact-size copies, so a read past the end is caught by the address sanitizer.
      const std::vector<uint8_t> cut(whole.begin(), whole.begin() + len);
      const gdi::BmpResult r = Decode(cut);
      EXPECT_FALSE(r.image) << "length " << len;
      EXPECT_FALSE(r.error.empty());
      const std::vector<uint8_t> cut2(unsized.begin(), unsized.begin() + len);
      const gdi::BmpResult r2 = Decode(cut2);
      if (r2.image) {
        EXPECT_EQ(r2.image->pixels, full.image->pixels) << "length " << len;
      }
    }
  }
}

TEST(Bmp, CoreHeadersUseThreeByteColoursAndMayStoreFewerOfThem) {
  BmpBuilder b = Pal8();
  b.header_size = 12;
  b.clr_used = 0;  // core headers have no count: the pixel offset tells
  const gdi::BmpResult r = Decode(b.Build());
  ASSERT_TRUE(r.image) << r.error;
  EXPECT_EQ(r.image->palette, b.palette);
  EXPECT_EQ(r.image->pixels, Decode(Pal8().Build()).image->pixels);
  b.offset = 14 + 12 + 2;  // not even one colour
  b.file_size = 0;
  EXPECT_FALSE(Decode(b.Build()).image);
}

TEST(Bmp, EncodedFilesDecodeToTheSamePixels) {
  HBITMAP colour = RandomBitmap(13, 7, 42);
  for (int bpp : {24, 32}) {
    SCOPED_TRACE(bpp);
    std::string why;
    const std::vector<uint8_t> file = gdi::EncodeBmp(colour, bpp, &why);
    ASSERT_FALSE(file.empty()) << why;
    EXPECT_EQ(file.size(), 14 + 40 + gdi::DibStride(13, bpp) * 7);
    const gdi::BmpResult r = Decode(file);
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_EQ(r.image->bits_per_pixel, bpp);
    EXPECT_FALSE(r.image->monochrome);
    EXPECT_EQ(r.image->pixels, Pixels(colour));
  }
  // Monochrome bitmaps keep their two colours at 1 bpp; colour pixels take the nearer one.
  HBITMAP mono = CreateBitmap(10, 3, 1, 1, nullptr);
  std::vector<uint16_t> rows = {0x00C0, 0xFF00, 0x4000};  // bytes of each 16-bit row: bit 7 leftmost
  SetBitmapBits(mono, 6, rows.data());
  const gdi::BmpResult m = Decode(gdi::EncodeBmp(mono, 1));
  ASSERT_TRUE(m.image) << m.error;
  EXPECT_TRUE(m.image->monochrome);
  EXPECT_EQ(m.image->pixels, Pixels(mono));
  const std::vector<Pixel> grey = {0x7F7F7F, 0x808080, 0xFF0000, 0xFFFF00};
  HBITMAP greys = CreateBitmap(4, 1, 1, 32, grey.data());
  EXPECT_EQ(Decode(gdi::EncodeBmp(greys, 1)).image->pixels, (std::vector<Pixel>{0, 0xFFFFFF, 0, 0xFFFFFF}));
  std::string why;
  EXPECT_TRUE(gdi::EncodeBmp(colour, 16, &why).empty());
  EXPECT_NE(why.find("1, 24 or 32"), std::string::npos);
  EXPECT_TRUE(gdi::EncodeBmp(nullptr, 24, &why).empty());
  for (HBITMAP h : {colour, mono, greys}) DeleteObject(h);
}

TEST(Bmp, SavedFilesLoadBackExactlyAndFailuresLeaveNothingBehind) {
  const fs::path dir = testsupport::OutputDir() / "bmp";
  fs::remove_all(dir);
  fs::create_directories(dir);
  HBITMAP colour = RandomBitmap(33, 9, 7);
  std::string why;
  ASSERT_TRUE(gdi::SaveBmpFile((dir / "colour.bmp").string(), colour, 24, &why)) << why;
  HBITMAP loaded = gdi::LoadBmpFile((dir / "colour.bmp").string(), &why);
  ASSERT_NE(loaded, nullptr) << why;
  EXPECT_EQ(Pixels(loaded), Pixels(colour));
  BITMAP bm{};
  GetObject(loaded, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  // Saving over an existing file replaces it.
  HBITMAP mono = CreateBitmap(9, 2, 1, 1, nullptr);
  ASSERT_TRUE(gdi::SaveBmpFile((dir / "colour.bmp").string(), mono, 1, &why)) << why;
  HBITMAP mono_loaded = gdi::LoadBmpFile((dir / "colour.bmp").string(), &why);
  ASSERT_NE(mono_loaded, nullptr) << why;
  GetObject(mono_loaded, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(Pixels(mono_loaded), Pixels(mono));

  EXPECT_FALSE(gdi::SaveBmpFile((dir / "missing" / "x.bmp").string(), colour, 24, &why));
  EXPECT_NE(why.find("missing"), std::string::npos) << why;
  EXPECT_FALSE(gdi::SaveBmpFile((dir / "x.bmp").string(), colour, 8, &why));
  std::set<std::string> left;
  for (const auto& e : fs::directory_iterator(dir)) left.insert(e.path().filename().string());
  EXPECT_EQ(left, std::set<std::string>{"colour.bmp"});

  SetLastError(0);
  EXPECT_EQ(gdi::LoadBmpFile((dir / "none.bmp").string(), &why), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  std::ofstream((dir / "bad.bmp").string(), std::ios::binary) << "BM nonsense";
  EXPECT_EQ(gdi::LoadBmpFile((dir / "bad.bmp").string(), &why), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
  EXPECT_NE(why.find("bad.bmp: "), std::string::npos) << why;
  for (HBITMAP h : {colour, loaded, mono, mono_loaded}) DeleteObject(h);
}
