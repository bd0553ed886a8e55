#include "support/memdc.h"

#include <algorithm>
#include <sstream>

#include "platform/gdi/objects.h"
#include "platform/gdi/png.h"
#include "support/testdata.h"

namespace testsupport {

MemDC::MemDC(int width, int height, COLORREF fill, int bits_per_pixel) : width_(width), height_(height) {
  dc_ = CreateCompatibleDC(nullptr);
  bmp_ = bits_per_pixel == 1 ? CreateBitmap(width, height, 1, 1, nullptr)
                             : CreateBitmap(width, height, 1, 32, nullptr);
  old_ = SelectObject(dc_, bmp_);
  Fill(fill);
}

MemDC::~MemDC() {
  SelectObject(dc_, old_);
  DeleteObject(bmp_);
  DeleteDC(dc_);
}

COLORREF MemDC::Px(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  // Straight from the surface, so the test's clipping and origins do not interfere.
  const gdi::Bitmap* b = gdi::Get<gdi::Bitmap>(bmp_);
  return gdi::ToColorRef(b->surface.Row(y)[x] & gdi::kPixelMask);
}

void MemDC::Fill(COLORREF c) {
  const int saved = SaveDC(dc_);
  SelectClipRgn(dc_, nullptr);
  SetViewportOrgEx(dc_, 0, 0, nullptr);
  SetWindowOrgEx(dc_, 0, 0, nullptr);
  HBRUSH b = CreateSolidBrush(c);
  RECT r{0, 0, width_, height_};
  FillRect(dc_, &r, b);
  DeleteObject(b);
  RestoreDC(dc_, saved);
}

std::vector<std::string> MemDC::Picture(const std::map<char, COLORREF>& legend) const {
  std::vector<std::string> rows;
  for (int y = 0; y < height_; ++y) {
    std::string row;
    for (int x = 0; x < width_; ++x) {
      const COLORREF c = Px(x, y);
      char ch = 'x';
      if (c == RGB(255, 255, 255)) ch = '.';
      else if (c == RGB(0, 0, 0)) ch = '#';
      for (const auto& [k, v] : legend)
        if (v == c) ch = k;
      row += ch;
    }
    rows.push_back(row);
  }
  return rows;
}

void MemDC::Save(const std::string& name) const {
  gdi::WritePng((OutputDir() / (name + ".png")).string(), bmp_);
}

RECT InkBox(const MemDC& dc, COLORREF background) {
  RECT box{dc.width(), dc.height(), -1, -1};
  for (int y = 0; y < dc.height(); ++y)
    for (int x = 0; x < dc.width(); ++x)
      if (dc.Px(x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

::testing::AssertionResult PictureMatches(const MemDC& dc, int x0, int y0, const std::vector<std::string>& rows,
                                          const std::map<char, COLORREF>& legend) {
  std::map<char, COLORREF> colours = legend;
  colours.emplace('.', RGB(255, 255, 255));
  colours.emplace('#', RGB(0, 0, 0));
  std::ostringstream diff;
  bool ok = true;
  for (size_t y = 0; y < rows.size(); ++y) {
    std::string actual;
    for (size_t x = 0; x < rows[y].size(); ++x) {
      const char want = rows[y][x];
      const COLORREF c = dc.Px(x0 + static_cast<int>(x), y0 + static_cast<int>(y));
      char got = '?';
      for (const auto& [k, v] : colours)
        if (v == c) got = k;
      if (want != '?' && (colours.count(want) == 0 || colours[want] != c)) {
        ok = false;
        if (got == '?') got = 'x';
      } else if (want == '?') {
        got = '?';
      }
      actual += got;
    }
    diff << "  " << rows[y] << "   " << actual << "\n";
  }
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "picture differs at origin (" << x0 << "," << y0
                                       << ") — expected, then actual ('x' = colour not in legend):\n"
                                       << diff.str();
}

}  // namespace testsupport
