// BMP files: the BMP Suite against its reference renderings, damaged and truncated files,
// RLE semantics, colour masks, and exact round trips through files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>

#include "platform/gdi/bmp.h"
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
        return std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) <= tolerance;
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
  int64_t offset = -1;            // -1: right after the colour table
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
    put(10, static_cast<uint32_t>(pixel_offset), 4);
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
      if (!want->second.reference.empty())
        EXPECT_TRUE(MatchesPng(*r.image, data / "bmpsuite" / "html" / want->second.reference, want->second.tolerance));
    }
  }
}
