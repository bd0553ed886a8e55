// The ICO codec: the directory, image choice, every depth, masks and alpha, PNG images,
// damaged files, and files written by others compared with their reference decodes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "platform/gdi/ico.h"
#include "platform/gdi/png.h"
#include "platform/win32.h"
#include "platform/gdi/png_reader.h"
#include "support/testdata.h"

namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

// A small picture with a transparent corner and an inverting pixel: colour 0xFFFFFF under a
// set mask bit.
gdi::IconImage TestImage(int w, int h, bool alpha) {
  gdi::IconImage img;
  img.width = w;
  img.height = h;
  img.alpha = alpha;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool clear = x == 0 && y == 0;
      const bool invert = x == 1 && y == 0;
      uint32_t rgb = static_cast<uint32_t>((x * 40) << 16 | (y * 30) << 8 | ((x + y) * 7 & 0xFF));
      if (clear) rgb = 0;
      if (invert) rgb = 0xFFFFFF;
      const uint32_t a = alpha ? static_cast<uint32_t>((x * 255) / std::max(1, w - 1)) : (clear || invert ? 0 : 255);
      img.pixels.push_back(rgb | a << 24);
      img.mask.push_back(clear || invert ? 1 : 0);
    }
  return img;
}

std::vector<uint8_t> Encode(const gdi::IconImage& img) {
  std::string why;
  std::vector<uint8_t> file = gdi::EncodeIco(img, &why);
  EXPECT_FALSE(file.empty()) << why;
  return file;
}

std::string Refusal(const std::vector<uint8_t>& file) {
  const gdi::IcoResult r = gdi::DecodeIco(file.data(), file.size());
  if (r.image) return "(decoded)";
  EXPECT_FALSE(r.error.empty());
  return r.error;
}

// Offsets in a file EncodeIco wrote: one directory entry, then the image's header.
constexpr size_t kEntry = 6;
constexpr size_t kInfo = 22;

// An 8 bpp 4x2 icon with a two-colour table, written by hand.
std::vector<uint8_t> Indexed8(uint32_t clr_used, uint8_t index) {
  const size_t table = 4 * (clr_used ? clr_used : 256);
  const size_t bytes = 40 + table + 4 * 2 + 4 * 2;
  std::vector<uint8_t> f(kInfo + bytes, 0);
  Put16(f, 2, 1);
  Put16(f, 4, 1);
  f[kEntry] = 4;
  f[kEntry + 1] = 2;
  Put32(f, kEntry + 8, static_cast<uint32_t>(bytes));
  Put32(f, kEntry + 12, kInfo);
  Put32(f, kInfo, 40);
  Put32(f, kInfo + 4, 4);
  Put32(f, kInfo + 8, 4);
  Put16(f, kInfo + 12, 1);
  Put16(f, kInfo + 14, 8);
  Put32(f, kInfo + 32, clr_used);
  Put32(f, kInfo + 40, 0x00FF0000);      // red
  Put32(f, kInfo + 44, 0x000000FF);      // blue
  f[kInfo + 40 + table] = index;         // bottom row, first pixel
  return f;
}

}  // namespace

TEST(Ico, RoundTripKeepsPixelsMaskAndAlpha) {
  for (bool alpha : {false, true}) {
    const gdi::IconImage img = TestImage(13, 5, alpha);
    const std::vector<uint8_t> file = Encode(img);
    EXPECT_EQ(file[kEntry], 13);
    EXPECT_EQ(file[kEntry + 6], alpha ? 32 : 24);
    const gdi::IcoResult r = gdi::DecodeIco(file.data(), file.size());
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_EQ(r.image->width, 13);
    EXPECT_EQ(r.image->height, 5);
    EXPECT_EQ(r.image->alpha, alpha);
    EXPECT_EQ(r.image->mask, img.mask);
    EXPECT_EQ(r.image->pixels, img.pixels);
  }
  // 256 pixels is written as a directory byte of 0 and read back as 256.
  const std::vector<uint8_t> big = Encode(TestImage(256, 1, false));
  EXPECT_EQ(big[kEntry], 0);
  const gdi::IcoDirectory dir = gdi::ReadIcoDirectory(big.data(), big.size());
  ASSERT_EQ(dir.entries.size(), 1u);
  EXPECT_EQ(dir.entries[0].listed_width, 256);
  EXPECT_EQ(dir.entries[0].width, 256);
  EXPECT_EQ(dir.extent, big.size());
  std::string why;
  EXPECT_TRUE(gdi::EncodeIco(TestImage(257, 1, false), &why).empty());
  EXPECT_NE(why.find("256x256"), std::string::npos) << why;
}

TEST(Ico, AlphaOfZeroEverywhereFallsBackToTheMask) {
  gdi::IconImage img = TestImage(4, 4, true);
  for (uint32_t& p : img.pixels) p &= 0xFFFFFF;
  std::vector<uint8_t> file = Encode(img);  // 32 bpp, all alpha bytes 0
  const gdi::IcoResult r = gdi::DecodeIco(file.data(), file.size());
  ASSERT_TRUE(r.image) << r.error;
  EXPECT_FALSE(r.image->alpha);
  EXPECT_EQ(r.image->pixels[0] >> 24, 0u);    // masked
  EXPECT_EQ(r.image->pixels[5] >> 24, 0xFFu);  // not masked
}

TEST(Ico, DamagedDirectoriesAreRefusedWithAReason) {
  const std::vector<uint8_t> good = Encode(TestImage(4, 4, false));
  auto with = [&](size_t at, uint32_t value, int bytes) {
    std::vector<uint8_t> f = good;
    if (bytes == 2) Put16(f, at, value); else Put32(f, at, value);
    return f;
  };
  EXPECT_NE(Refusal({0, 0, 1}).find("truncated"), std::string::npos);
  EXPECT_NE(Refusal(with(0, 7, 2)).find("first word is 7"), std::string::npos);
  EXPECT_NE(Refusal(with(2, 2, 2)).find("cursor"), std::string::npos);
  EXPECT_NE(Refusal(with(2, 3, 2)).find("type is 3"), std::string::npos);
  EXPECT_NE(Refusal(with(4, 0, 2)).find("no images"), std::string::npos);
  EXPECT_NE(Refusal(with(4, 300, 2)).find("directory of 300 images needs 4806 bytes"), std::string::npos);
  EXPECT_NE(Refusal(with(kEntry + 12, 10, 4)).find("inside the directory"), std::string::npos);
  EXPECT_NE(Refusal(with(kEntry + 8, 0, 4)).find("has no bytes"), std::string::npos);
  EXPECT_NE(Refusal(with(kEntry + 8, 0xFFFFFFF9u, 4)).find("past the end"), std::string::npos);
  // One byte short of the mask: the directory's byte count binds, not the file's length.
  std::vector<uint8_t> short_entry = with(kEntry + 8, static_cast<uint32_t>(good.size() - kInfo - 1), 4);
  EXPECT_NE(Refusal(short_entry).find("directory entry gives"), std::string::npos);
  std::vector<uint8_t> cut(good.begin(), good.end() - 1);
  EXPECT_NE(Refusal(cut).find("past the end"), std::string::npos);
}

TEST(Ico, DamagedImageHeadersAreRefusedWithAReason) {
  const std::vector<uint8_t> good = Encode(TestImage(4, 4, false));
  auto with = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> f = good;
    Put32(f, at, value);
    return f;
  };
  EXPECT_NE(Refusal(with(kInfo, 12)).find("header size 12"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo, 0x1000)).find("header size 4096"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo + 4, 0)).find("width is 0"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo + 4, static_cast<uint32_t>(-4))).find("width is -4"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo + 8, static_cast<uint32_t>(-8))).find("top-down"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo + 4, 300)).find("at most 256x256"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo + 8, 65535)).find("at most 256x256"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo + 12, 0x00070001)).find("bit count 7"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo + 12, 0x00180002)).find("2 colour planes"), std::string::npos);
  EXPECT_NE(Refusal(with(kInfo + 16, 9)).find("compression 9"), std::string::npos);
  // Header says 8 wide: the rows no longer fit the entry.
  EXPECT_NE(Refusal(with(kInfo + 4, 8)).find("needs"), std::string::npos);

  // RLE is refused in icons, and indices past the palette are refused.
  std::vector<uint8_t> rle = Indexed8(2, 0);
  Put32(rle, kInfo + 16, BI_RLE8);
  EXPECT_NE(Refusal(rle).find("RLE"), std::string::npos);
  EXPECT_NE(Refusal(Indexed8(2, 5)).find("past its 2-colour palette"), std::string::npos);
  EXPECT_NE(Refusal(Indexed8(300, 0)).find("300"), std::string::npos);
  const std::vector<uint8_t> ok = Indexed8(2, 1);
  const gdi::IcoResult r = gdi::DecodeIco(ok.data(), ok.size());
  ASSERT_TRUE(r.image) << r.error;
  EXPECT_EQ(r.image->bits_per_pixel, 8);
  EXPECT_EQ(r.image->pixels[4], 0xFF0000FFu);  // bottom-left: palette entry 1, opaque
  EXPECT_EQ(r.image->pixels[5], 0xFFFF0000u);  // entry 0
}

TEST(Ico, OddOrZeroHeightsFollowTheImageAndTheDirectory) {
  std::vector<uint8_t> f = Encode(TestImage(3, 3, true));
  // Header height 0 and width 0: the directory's 3x3 is used.
  std::vector<uint8_t> zero = f;
  Put32(zero, kInfo + 4, 0);
  Put32(zero, kInfo + 8, 0);
  gdi::IcoResult r = gdi::DecodeIco(zero.data(), zero.size());
  ASSERT_TRUE(r.image) << r.error;
  EXPECT_EQ(r.image->width, 3);
  EXPECT_EQ(r.image->height, 3);
  // An odd height cannot count mask rows: 3 means three colour rows (and the mask follows).
  Put32(f, kInfo + 8, 3);
  r = gdi::DecodeIco(f.data(), f.size());
  ASSERT_TRUE(r.image) << r.error;
  EXPECT_EQ(r.image->height, 3);
}

TEST(Ico, ChoosesTheImageNearest32AtTheBestDepth) {
  // Four images: 16 px, 48 px, 32 px at 24 bpp, 32 px at 32 bpp (files made of one-image
  // files glued together).
  const gdi::IconImage imgs[] = {TestImage(16, 16, true), TestImage(48, 48, true), TestImage(32, 32, false),
                                 TestImage(32, 32, true)};
  std::vector<uint8_t> file(6 + 16 * 4, 0);
  Put16(file, 2, 1);
  Put16(file, 4, 4);
  for (int i = 0; i < 4; ++i) {
    const std::vector<uint8_t> one = Encode(imgs[i]);
    const size_t at = file.size();
    std::copy(one.begin() + 6, one.begin() + 22, file.begin() + 6 + 16 * i);
    Put32(file, 6 + 16 * i + 12, static_cast<uint32_t>(at));
    file.insert(file.end(), one.begin() + 22, one.end());
  }
  const gdi::IcoDirectory dir = gdi::ReadIcoDirectory(file.data(), file.size());
  EXPECT_EQ(gdi::RankIcoEntries(dir), (std::vector<int>{3, 2, 1, 0}));
  gdi::IcoResult r = gdi::DecodeIco(file.data(), file.size());
  ASSERT_TRUE(r.image) << r.error;
  EXPECT_EQ(r.entry, 3);
  EXPECT_EQ(r.image->bits_per_pixel, 32);
  // A damaged best image gives way to the next one.
  Put32(file, dir.entries[3].offset + 14, 7);  // bit count 7
  r = gdi::DecodeIco(file.data(), file.size());
  ASSERT_TRUE(r.image) << r.error;
  EXPECT_EQ(r.entry, 2);
  EXPECT_NE(gdi::DecodeIcoEntry(file.data(), file.size(), 3).error.find("icon image 4: bitmap bit count 7"),
            std::string::npos);
  EXPECT_FALSE(gdi::DecodeIcoEntry(file.data(), file.size(), 4).image);
}

TEST(Ico, PngImagesDecodeAndDamagedOnesAreRefused) {
  // A PNG of our own writer, in an icon directory.
  const uint32_t pixels[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
  HBITMAP bmp = CreateBitmap(3, 2, 1, 32, pixels);
  const std::filesystem::path path = testsupport::OutputDir() / "ico_test_entry.png";
  std::string why;
  ASSERT_TRUE(gdi::WritePng(path.string(), bmp, &why)) << why;
  DeleteObject(bmp);
  const std::vector<uint8_t> png = ReadFile(path);
  ASSERT_GT(png.size(), 45u);
  std::vector<uint8_t> file(kInfo, 0);
  Put16(file, 2, 1);
  Put16(file, 4, 1);
  file[kEntry] = 3;
  file[kEntry + 1] = 2;
  Put32(file, kEntry + 8, static_cast<uint32_t>(png.size()));
  Put32(file, kEntry + 12, kInfo);
  file.insert(file.end(), png.begin(), png.end());
  const gdi::IcoResult r = gdi::DecodeIco(file.data(), file.size());
  ASSERT_TRUE(r.image) << r.error;
  EXPECT_TRUE(r.image->png);
  EXPECT_TRUE(r.image->alpha);
  EXPECT_EQ(r.image->bits_per_pixel, 24);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(r.image->pixels[i], 0xFF000000u | pixels[i]) << i;
  EXPECT_EQ(r.image->mask, std::vector<uint8_t>(6, 0));

  auto big_endian = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<uint8_t>(v >> (24 - 8 * k));
  };
  constexpr size_t kPng = kInfo;
  std::vector<uint8_t> damaged = file;
  damaged[damaged.size() - 20] ^= 0x40;  // inside the image data: its checksum fails
  EXPECT_NE(Refusal(damaged).find("PNG data is damaged"), std::string::npos);
  std::vector<uint8_t> huge = file;
  big_endian(huge, kPng + 33, 0x7FFFFFF0);  // the chunk after IHDR claims 2 GB
  EXPECT_NE(Refusal(huge).find("claims 2147483632 bytes"), std::string::npos);
  std::vector<uint8_t> wide = file;
  big_endian(wide, kPng + 16, 300);
  EXPECT_NE(Refusal(wide).find("300x2"), std::string::npos);
  std::vector<uint8_t> no_end = file;
  no_end.resize(no_end.size() - 12);
  Put32(no_end, kEntry + 8, static_cast<uint32_t>(png.size() - 12));
  EXPECT_NE(Refusal(no_end).find("without an IEND chunk"), std::string::npos);
  std::vector<uint8_t> not_ihdr = file;
  not_ihdr[kPng + 12] = 'X';
  EXPECT_NE(Refusal(not_ihdr).find("IHDR"), std::string::npos);
}

namespace {

// What each shared test file must give: decoded (with its size) or refused.
struct Expected {
  bool decodes;
  int width = 0;
  int height = 0;
};

const std::map<std::string, Expected>& Expectations() {
  static const std::map<std::string, Expected> table = {
      {"image-rs/bad/Bad_smile-incorrect-image-length.ico", {false}},
      {"image-rs/images/bmp-24bpp-mask.ico", {true, 32, 32}},
      {"image-rs/images/bmp-32bpp-alpha.ico", {true, 32, 32}},
      {"image-rs/images/bmp-32bpp-biWidth=biHeight=0.ico", {true, 16, 16}},
      {"image-rs/images/bmp-32bpp-conflicting-and-mask-reported-as-8bpp.ico", {true, 16, 16}},
      {"image-rs/images/bmp-32bpp-conflicting-and-mask.ico", {true, 16, 16}},
      {"image-rs/images/bmp-biHeight=1.ico", {true, 1, 1}},
      {"image-rs/images/bmp_0rgb_with_and_mask.ico", {true, 16, 16}},
      {"image-rs/images/bmp_v5_with_icc.ico", {true, 127, 64}},
      {"image-rs/images/lenient-bpp.ico", {true, 256, 256}},
      {"image-rs/images/multiple_entries_with_different_bit_depth.ico", {true, 32, 32}},
      {"image-rs/images/png-32bpp-alpha.ico", {true, 32, 32}},
      {"image-rs/images/png_l8.ico", {true, 32, 32}},
      {"image-rs/images/png_rgb8.ico", {true, 32, 32}},
      {"image-rs/images/smile.ico", {true, 32, 32}},
      // The mask is cut short by 256 bytes: refused, as every image must fit its entry.
      {"image-rs/images/truncated_mask_32bpp.ico", {false}},
      {"image-rs/images/two-entry-order-test.ico", {true, 48, 48}},
      {"image-rs/regression/crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico", {false}},
      {"image-rs/regression/oom-0d0085eb7f66ea55d9119206235cd29e089b9140.ico", {false}},
      {"image-rs/regression/oom-ff076e7064c13ec1f8e2c5bbbfb7a77a08db2361.ico", {false}},
      {"pillow/black_and_white.ico", {true, 16, 16}},
      {"pillow/decompression_bomb.ico", {false}},
      {"pillow/hopper.ico", {true, 16, 16}},
      {"pillow/hopper_256x256.ico", {true, 256, 256}},
      {"pillow/hopper_draw.ico", {true, 16, 16}},
      {"pillow/hopper_mask.ico", {true, 16, 16}},
      {"pillow/hopper_unexpected.ico", {true, 16, 16}},
      {"pillow/pillow.ico", {true, 32, 32}},
  };
  return table;
}

// The reference decode of each file with one, and the image that matches its size (the
// reference's reader picks the largest image; we pick the one nearest 32 pixels).
std::map<std::string, std::string> References() {
  return {
      {"image-rs/images/bmp-24bpp-mask.ico", "image-rs/reference/bmp-24bpp-mask.ico.png"},
      {"image-rs/images/bmp-32bpp-alpha.ico", "image-rs/reference/bmp-32bpp-alpha.ico.png"},
      {"image-rs/images/bmp-32bpp-biWidth=biHeight=0.ico", "image-rs/reference/bmp-32bpp-biWidth=biHeight=0.ico.png"},
      {"image-rs/images/bmp-32bpp-conflicting-and-mask-reported-as-8bpp.ico",
       "image-rs/reference/bmp-32bpp-conflicting-and-mask-reported-as-8bpp.ico.png"},
      {"image-rs/images/bmp-32bpp-conflicting-and-mask.ico", "image-rs/reference/bmp-32bpp-conflicting-and-mask.ico.png"},
      {"image-rs/images/bmp-biHeight=1.ico", "image-rs/reference/bmp-biHeight=1.ico.png"},
      {"image-rs/images/bmp_0rgb_with_and_mask.ico", "image-rs/reference/bmp_0rgb_with_and_mask.ico.png"},
      {"image-rs/images/lenient-bpp.ico", "image-rs/reference/lenient-bpp.ico.png"},
      {"image-rs/images/multiple_entries_with_different_bit_depth.ico",
       "image-rs/reference/multiple_entries_with_different_bit_depth.ico.png"},
      {"image-rs/images/png-32bpp-alpha.ico", "image-rs/reference/png-32bpp-alpha.ico.png"},
      {"image-rs/images/png_l8.ico", "image-rs/reference/png_l8.ico.png"},
      {"image-rs/images/png_rgb8.ico", "image-rs/reference/png_rgb8.ico.png"},
      {"image-rs/images/smile.ico", "image-rs/reference/smile.ico.png"},
      {"image-rs/images/two-entry-order-test.ico", "image-rs/reference/two-entry-order-test.ico.png"},
      {"pillow/hopper_mask.ico", "pillow/hopper_mask.png"},
  };
}

}  // namespace

TEST(IcoFiles, EveryFileDecodesOrIsRefusedCleanly) {
  REQUIRE_SHARED_TESTDATA(data);
  const std::filesystem::path root = data / "ico";
  int seen = 0;
  for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
    if (item.path().extension() != ".ico") continue;
    const std::string name = item.path().lexically_relative(root).generic_string();
    SCOPED_TRACE(name);
    const auto expected = Expectations().find(name);
    ASSERT_NE(expected, Expectations().end()) << "a new file: add what it should give";
    ++seen;
    const std::vector<uint8_t> bytes = ReadFile(item.path());
    const gdi::IcoResult r = gdi::DecodeIco(bytes.data(), bytes.size());
    EXPECT_EQ(static_cast<bool>(r.image), expected->second.decodes) << r.error;
    if (!r.image) {
      EXPECT_FALSE(r.error.empty());
      continue;
    }
    EXPECT_EQ(r.image->width, expected->second.width);
    EXPECT_EQ(r.image->height, expected->second.height);
    EXPECT_EQ(r.image->pixels.size(), static_cast<size_t>(r.image->width) * r.image->height);
    EXPECT_EQ(r.image->mask.size(), r.image->pixels.size());
    // What we decode we can write and read back unchanged.
    std::string why;
    const std::vector<uint8_t> again = gdi::EncodeIco(*r.image, &why);
    ASSERT_FALSE(again.empty()) << why;
    const gdi::IcoResult back = gdi::DecodeIco(again.data(), again.size());
    ASSERT_TRUE(back.image) << back.error;
    EXPECT_EQ(back.image->pixels, r.image->pixels);
    EXPECT_EQ(back.image->mask, r.image->mask);
  }
  EXPECT_EQ(seen, static_cast<int>(Expectations().size()));
}

TEST(IcoFiles, RefusalsSayWhy) {
  REQUIRE_SHARED_TESTDATA(data);
  const std::map<std::string, std::string> reasons = {
      {"image-rs/bad/Bad_smile-incorrect-image-length.ico", "needs 744 bytes"},
      {"image-rs/images/truncated_mask_32bpp.ico", "needs 16936 bytes"},
      {"image-rs/regression/crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico", "past the end"},
      {"image-rs/regression/oom-0d0085eb7f66ea55d9119206235cd29e089b9140.ico", "469762080x32"},
      {"pillow/decompression_bomb.ico", "65535x65535"},
  };
  for (const auto& [name, reason] : reasons) {
    const std::vector<uint8_t> bytes = ReadFile(data / "ico" / name);
    const gdi::IcoResult r = gdi::DecodeIco(bytes.data(), bytes.size());
    EXPECT_NE(r.error.find(reason), std::string::npos) << name << ": " << r.error;
  }
}

TEST(IcoFiles, MatchReferenceDecodes) {
  REQUIRE_SHARED_TESTDATA(data);
  for (const auto& [name, reference] : References()) {
    SCOPED_TRACE(name);
    testsupport::PngPicture want;
    std::string why;
    ASSERT_TRUE(testsupport::ReadPng((data / "ico" / reference).string(), &want, &why)) << why;
    const std::vector<uint8_t> bytes = ReadFile(data / "ico" / name);
    // The image of the reference's size, in our order of preference.
    const gdi::IcoDirectory dir = gdi::ReadIcoDirectory(bytes.data(), bytes.size());
    int index = -1;
    for (int i : gdi::RankIcoEntries(dir))
      if (dir.entries[i].width == want.width && dir.entries[i].height == want.height) {
        index = i;
        break;
      }
    ASSERT_GE(index, 0);
    const gdi::IcoResult r = gdi::DecodeIcoEntry(bytes.data(), bytes.size(), index);
    ASSERT_TRUE(r.image) << r.error;
    int bad = 0;
    for (size_t i = 0; i < want.argb.size() && bad < 5; ++i) {
      const uint32_t got = r.image->pixels[i], expected = want.argb[i];
      // Where nothing shows, the colour does not matter.
      const bool same = (got >> 24) == (expected >> 24) && ((got >> 24) == 0 || got == expected);
      if (!same) {
        ++bad;
        ADD_FAILURE() << "pixel " << i % want.width << "," << i / want.width << ": " << std::hex << got
                      << " instead of " << expected;
      }
    }
  }
}
