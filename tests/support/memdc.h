// A memory DC with a 32 bpp bitmap for pixel tests, and picture-style pixel checks.
//
//   MemDC dc(8, 4);                       // white 8x4 surface
//   Rectangle(dc, 1, 1, 5, 3);
//   EXPECT_PICTURE(dc, 0, 0, {"........",
//                             ".####...",
//                             ".####...",
//                             "........"});
//
// In pictures '.' is white, '#' black, and any other character a colour from the legend
// passed to ExpectPicture ('?' matches anything).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace testsupport {

class MemDC {
 public:
  MemDC(int width, int height, COLORREF fill = RGB(255, 255, 255), int bits_per_pixel = 32);
  ~MemDC();
  MemDC(const MemDC&) = delete;
  MemDC& operator=(const MemDC&) = delete;

  operator HDC() const { return dc_; }
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bmp_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Reads the surface directly (ignores clipping and origins).
  COLORREF Px(int x, int y) const;
  void Fill(COLORREF c);
  // The surface as a picture, one string per row, using the legend in reverse.
  std::vector<std::string> Picture(const std::map<char, COLORREF>& legend = {}) const;
  // Writes the surface as a PNG under the test output folder (for looking at failures).
  void Save(const std::string& name) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bmp_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_;
  int height_;
};

// The bounding box of every pixel that differs from the background (empty: right < left).
RECT InkBox(const MemDC& dc, COLORREF background = RGB(255, 255, 255));

::testing::AssertionResult PictureMatches(const MemDC& dc, int x0, int y0, const std::vector<std::string>& rows,
                                          const std::map<char, COLORREF>& legend = {});

}  // namespace testsupport

#define EXPECT_PICTURE(dc, x, y, ...) EXPECT_TRUE(::testsupport::PictureMatches(dc, x, y, __VA_ARGS__))
