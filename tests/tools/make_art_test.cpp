#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gdi/bmp.h"
#include "tools/make_art/art.h"

namespace {

namespace fs = std::filesystem;

const std::string kResources = std::string(SHOWRAMA_SOURCE_DIR) + "/demo/resources";

uint32_t At(const art::Artwork& a, int x, int y) { return a.pixels[static_cast<size_t>(y * a.width + x)]; }

fs::path TempFolder(const std::string& leaf) {
  const fs::path dir = fs::path(SHOWRAMA_BINARY_DIR) / "test_output" / leaf;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

const std::vector<art::Artwork>& All() {
  static const std::vector<art::Artwork> all = art::MakeAll();
  return all;
}

const art::Artwork& Find(const std::string& name) {
  for (const art::Artwork& a : All())
    if (a.name == name) return a;
  throw std::invalid_argument(name);
}

TEST(MakeArt, CommittedPicturesAreWhatTheGeneratorDraws) {
  EXPECT_EQ(art::Check(kResources), std::vector<std::string>{});
  // And the folder holds no picture the generator no longer draws.
  const std::vector<std::string> names = art::Names();
  const std::set<std::string> known(names.begin(), names.end());
  for (const auto& entry : fs::directory_iterator(kResources)) {
    const std::string leaf = entry.path().filename().string();
    if (entry.path().extension() == ".bmp") {
      EXPECT_TRUE(known.count(leaf)) << leaf << " is not drawn by make_art";
    }
  }
}

TEST(MakeArt, PicturesHaveTheSizesTheirPlacesNeed) {
  struct Case {
    const char* name;
    int width, height;
  };
  const Case cases[] = {{"logo.bmp", 175, 143},         {"bullet.bmp", 17, 17},
                        {"help_glyph.bmp", 36, 18},     {"splash.bmp", 280, 176},
                        {"help_compass.bmp", 48, 48},   {"welcome_blocks.bmp", 80, 80},
                        {"welcome_gears.bmp", 96, 80},  {"marble.bmp", 64, 64},
                        {"wood.bmp", 64, 64},           {"metal.bmp", 64, 64},
                        {"paper.bmp", 64, 64},          {"bricks.bmp", 64, 64},
                        {"granite.bmp", 64, 64},        {"gold.bmp", 64, 64},
                        {"clouds.bmp", 64, 64},         {"balloon.bmp", 64, 80}};
  EXPECT_EQ(All().size(), std::size(cases));
  for (const Case& c : cases) {
    const art::Artwork& a = Find(c.name);
    EXPECT_EQ(a.width, c.width) << c.name;
    EXPECT_EQ(a.height, c.height) << c.name;
    EXPECT_EQ(a.pixels.size(), static_cast<size_t>(c.width * c.height)) << c.name;
  }
}

TEST(MakeArt, TransparentCornersMatchTheBackgroundTheyStandOn) {
  // The bottom-left pixel is the transparent colour: the button face on the main window, the
  // pale yellow of the panels elsewhere. All four corners are background.
  const std::pair<const char*, uint32_t> cases[] = {
      {"logo.bmp", 0xC0C0C0},          {"bullet.bmp", 0xC0C0C0},         {"help_glyph.bmp", 0xC0C0C0},
      {"help_compass.bmp", 0xFFFFE1},  {"welcome_blocks.bmp", 0xFFFFE1}, {"welcome_gears.bmp", 0xFFFFE1},
      {"balloon.bmp", 0xFF00FF}};
  for (const auto& [name, key] : cases) {
    const art::Artwork& a = Find(name);
    EXPECT_EQ(At(a, 0, a.height - 1), key) << name;
    EXPECT_EQ(At(a, 0, 0), key) << name;
    EXPECT_EQ(At(a, a.width - 1, 0), key) << name;
    EXPECT_EQ(At(a, a.width - 1, a.height - 1), key) << name;
  }
}

TEST(MakeArt, ColourKeyPictureHasNoFringe) {
  // Shown on any background, so no edge pixel may be a blend of the key and the picture.
  const art::Artwork& a = Find("balloon.bmp");
  int key = 0;
  for (uint32_t p : a.pixels) {
    if (p == 0xFF00FF) {
      ++key;
      continue;
    }
    const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
    EXPECT_FALSE(r > 160 && b > 160 && g < 100) << std::hex << "pinkish pixel " << p;
  }
  EXPECT_GT(key, a.width * a.height / 4);
  EXPECT_LT(key, a.width * a.height * 3 / 4);
}

TEST(MakeArt, GlyphsKeepToSixteenColours) {
  const std::set<uint32_t> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                                  0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (const char* name : {"bullet.bmp", "help_glyph.bmp"}) {
    for (uint32_t p : Find(name).pixels) ASSERT_TRUE(vga.count(p)) << name << std::hex << " has colour " << p;
  }
  // The help button's second image is its disabled look: greys only, no red.
  const art::Artwork& g = Find("help_glyph.bmp");
  int red_up = 0, red_disabled = 0, grey_disabled = 0;
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      const uint32_t p = At(g, x, y);
      if (p == 0xFF0000) (x < 18 ? red_up : red_disabled)++;
      if (p == 0x808080 && x >= 18) ++grey_disabled;
    }
  EXPECT_GT(red_up, 20);
  EXPECT_EQ(red_disabled, 0);
  EXPECT_GT(grey_disabled, 20);
}

TEST(MakeArt, TexturesTileWithoutSeams) {
  // Across the wrap-around edge the colours change no more than across the middle of the
  // picture, where the pattern (the bricks' joints too) is in the same phase.
  auto diff = [](uint32_t a, uint32_t b) {
    int d = 0;
    for (int s = 0; s < 24; s += 8) d += std::abs(static_cast<int>((a >> s) & 255) - static_cast<int>((b >> s) & 255));
    return d;
  };
  for (const char* name : {"marble.bmp", "wood.bmp", "metal.bmp", "paper.bmp", "bricks.bmp", "granite.bmp", "gold.bmp",
                           "clouds.bmp"}) {
    const art::Artwork& a = Find(name);
    const int mx = a.width / 2, my = a.height / 2;
    double inner_x = 0, seam_x = 0, inner_y = 0, seam_y = 0;
    for (int i = 0; i < a.height; ++i) {
      seam_x += diff(At(a, a.width - 1, i), At(a, 0, i));
      inner_x += diff(At(a, mx - 1, i), At(a, mx, i));
    }
    for (int i = 0; i < a.width; ++i) {
      seam_y += diff(At(a, i, a.height - 1), At(a, i, 0));
      inner_y += diff(At(a, i, my - 1), At(a, i, my));
    }
    EXPECT_LT(seam_x, inner_x * 2.0 + 2 * a.height) << name;
    EXPECT_LT(seam_y, inner_y * 2.0 + 2 * a.width) << name;
  }
}

TEST(MakeArt, BmpFilesHoldThePixelsExactly) {
  for (const char* name : {"bullet.bmp", "splash.bmp"}) {
    const art::Artwork a = art::Make(name);
    const std::vector<uint8_t> bytes = art::EncodeBmp(a);
    EXPECT_EQ(bytes, art::EncodeBmp(art::Make(name))) << name << " drawn twice differs";
    const gdi::BmpResult decoded = gdi::DecodeBmp(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded.image) << decoded.error;
    EXPECT_EQ(decoded.image->bits_per_pixel, 24);
    ASSERT_EQ(decoded.image->width, a.width);
    ASSERT_EQ(decoded.image->height, a.height);
    for (size_t i = 0; i < a.pixels.size(); ++i) ASSERT_EQ(decoded.image->pixels[i] & 0xFFFFFF, a.pixels[i]) << name << " pixel " << i;
  }
}

TEST(MakeArt, UnknownNameIsRefusedByName) {
  try {
    art::Make("lgo.bmp");
    FAIL() << "no exception";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "no picture named \"lgo.bmp\"");
  }
}

TEST(MakeArt, CheckNamesMissingAndChangedFiles) {
  const fs::path dir = TempFolder("make_art_check");
  art::WriteAll(dir.string(), false);
  EXPECT_TRUE(art::Check(dir.string()).empty());

  fs::remove(dir / "bullet.bmp");
  {
    std::fstream f(dir / "wood.bmp", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(100);
    f.put('\x7F');
  }
  {
    std::ofstream f(dir / "gold.bmp", std::ios::binary | std::ios::app);
    f.put('\0');
  }
  const std::vector<std::string> expected = {
      (dir / "bullet.bmp").string() + ": missing",
      (dir / "wood.bmp").string() + ": differs from the generator's picture at byte 100",
      (dir / "gold.bmp").string() + ": 12343 bytes, the generator makes 12342"};
  EXPECT_EQ(art::Check(dir.string()), expected);
}

TEST(MakeArt, PngCopiesAreWrittenForEveryPicture) {
  const fs::path dir = TempFolder("make_art_png");
  art::WriteAll(dir.string(), true);
  for (const std::string& name : art::Names()) {
    EXPECT_TRUE(fs::exists(dir / fs::path(name).replace_extension(".png"))) << name;
  }
  EXPECT_TRUE(fs::exists(dir / "sheet.png"));
}

}  // namespace
