#include "tools/make_art/art.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

#include "platform/gdi/bmp.h"
#include "platform/gdi/png.h"

namespace art {
namespace {

constexpr double kPi = 3.14159265358979323846;

// ---- colours and images ---------------------------------------------------------------------

struct Rgb {
  double r = 0, g = 0, b = 0;
};
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
Rgb Mix(Rgb a, Rgb b, double t) { return a + (b - a) * t; }
Rgb Hex(uint32_t rgb) {
  return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}
double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
double Smooth(double e0, double e1, double v) {
  const double t = Clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
// A colour ramp through evenly spaced stops.
Rgb Ramp(std::initializer_list<uint32_t> stops, double t) {
  const std::vector<uint32_t> s(stops);
  t = Clamp01(t) * static_cast<double>(s.size() - 1);
  const size_t i = std::min(static_cast<size_t>(t), s.size() - 2);
  return Mix(Hex(s[i]), Hex(s[i + 1]), t - static_cast<double>(i));
}

struct Image {
  int w, h;
  std::vector<Rgb> p;
  Image(int width, int height, Rgb fill = {}) : w(width), h(height), p(static_cast<size_t>(width * height), fill) {}
  Rgb& at(int x, int y) { return p[static_cast<size_t>(y * w + x)]; }
  Rgb at(int x, int y) const { return p[static_cast<size_t>(y * w + x)]; }
};

struct Mask {
  int w, h;
  std::vector<double> a;
  Mask(int width, int height) : w(width), h(height), a(static_cast<size_t>(width * height), 0.0) {}
  double& at(int x, int y) { return a[static_cast<size_t>(y * w + x)]; }
  double at(int x, int y) const { return a[static_cast<size_t>(y * w + x)]; }
  // Outside the mask is empty.
  double get(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? 0.0 : at(x, y); }
};

// Paints colour(x, y) over the image wherever the mask covers it.
void Paint(Image& img, const Mask& m, const std::function<Rgb(int, int)>& colour, double opacity = 1.0) {
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      const double a = m.at(x, y) * opacity;
      if (a > 0) img.at(x, y) = Mix(img.at(x, y), colour(x, y), a);
    }
  }
}
void Paint(Image& img, const Mask& m, Rgb c, double opacity = 1.0) {
  Paint(img, m, [c](int, int) { return c; }, opacity);
}

// Box blur, run three times (close to a Gaussian); wrap makes it periodic for tiles.
Mask Blur(const Mask& src, int radius, bool wrap = false) {
  Mask m = src;
  if (radius <= 0) return m;
  Mask t(m.w, m.h);
  const double n = 2.0 * radius + 1;
  auto sample = [&](const Mask& s, int x, int y) {
    if (wrap) return s.at(((x % s.w) + s.w) % s.w, ((y % s.h) + s.h) % s.h);
    return s.get(x, y);
  };
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < m.h; ++y)
      for (int x = 0; x < m.w; ++x) {
        double sum = 0;
        for (int k = -radius; k <= radius; ++k) sum += sample(m, x + k, y);
        t.at(x, y) = sum / n;
      }
    for (int y = 0; y < m.h; ++y)
      for (int x = 0; x < m.w; ++x) {
        double sum = 0;
        for (int k = -radius; k <= radius; ++k) sum += sample(t, x, y + k);
        m.at(x, y) = sum / n;
      }
  }
  return m;
}

Mask Shift(const Mask& src, int dx, int dy) {
  Mask m(src.w, src.h);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) m.at(x, y) = src.get(x - dx, y - dy);
  return m;
}

// The mask grown by r pixels (a rough dilation, enough for outlines).
Mask Grow(const Mask& src, int r) {
  Mask m(src.w, src.h);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      double best = 0;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          if (dx * dx + dy * dy > r * r + r) continue;
          best = std::max(best, src.get(x + dx, y + dy));
        }
      m.at(x, y) = best;
    }
  return m;
}

// Light falling from the top left on the slopes of a blurred mask: positive on lit edges.
double Relief(const Mask& soft, int x, int y) {
  const double dx = soft.get(x + 1, y) - soft.get(x - 1, y);
  const double dy = soft.get(x, y + 1) - soft.get(x, y - 1);
  return (dx + dy) * 0.7071;
}

// ---- shapes drawn by GDI ---------------------------------------------------------------------

struct Pt {
  double x, y;
};

// Draws white shapes on black into a bitmap `scale` times the size of the mask, then averages
// each scale x scale block: GDI's hard edges become smooth ones.
class MaskPainter {
 public:
  MaskPainter(int width, int height, int scale = 4) : w_(width), h_(height), s_(scale) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w_ * s_;
    info.bmiHeader.biHeight = -h_ * s_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bmp_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc_ || !bmp_ || !bits) throw std::runtime_error("cannot create a drawing surface");
    bits_ = static_cast<const uint32_t*>(bits);
    old_bmp_ = SelectObject(dc_, bmp_);
    RECT all{0, 0, w_ * s_, h_ * s_};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    old_pen_ = SelectObject(dc_, GetStockObject(NULL_PEN));
    old_brush_ = SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    SetBkMode(dc_, TRANSPARENT);
  }
  ~MaskPainter() {
    SelectObject(dc_, old_pen_);
    SelectObject(dc_, old_brush_);
    SelectObject(dc_, old_bmp_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  MaskPainter(const MaskPainter&) = delete;
  MaskPainter& operator=(const MaskPainter&) = delete;

  // Later shapes cut holes when ink is false.
  void Ink(bool on) {
    SelectObject(dc_, GetStockObject(on ? WHITE_BRUSH : BLACK_BRUSH));
    ink_ = on;
  }
  void Ellipse(double l, double t, double r, double b) {
    ::Ellipse(dc_, S(l), S(t), S(r) + 1, S(b) + 1);
  }
  void Circle(double cx, double cy, double r) { Ellipse(cx - r, cy - r, cx + r, cy + r); }
  void Rect(double l, double t, double r, double b) { Polygon({{l, t}, {r, t}, {r, b}, {l, b}}); }
  void Polygon(const std::vector<Pt>& pts) {
    std::vector<POINT> p;
    for (const Pt& q : pts) p.push_back({S(q.x), S(q.y)});
    ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
  }
  void Line(const std::vector<Pt>& pts, double width) {
    HPEN pen = CreatePen(PS_SOLID, std::max(1, S(width)), ink_ ? RGB(255, 255, 255) : RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dc_, pen);
    std::vector<POINT> p;
    for (const Pt& q : pts) p.push_back({S(q.x), S(q.y)});
    ::Polyline(dc_, p.data(), static_cast<int>(p.size()));
    SelectObject(dc_, old);
    DeleteObject(pen);
  }
  // Text with its top-left corner at (x, y); angle in tenths of a degree.
  void Text(double x, double y, const std::string& text, double height, bool bold, bool italic,
            int angle = 0, const char* face = "Arial") {
    HFONT font = MakeFont(height, bold, italic, angle, face);
    HGDIOBJ old = SelectObject(dc_, font);
    SetTextColor(dc_, ink_ ? RGB(255, 255, 255) : RGB(0, 0, 0));
    TextOut(dc_, S(x), S(y), text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc_, old);
    DeleteObject(font);
  }
  double TextWidth(const std::string& text, double height, bool bold, bool italic, const char* face = "Arial") {
    HFONT font = MakeFont(height, bold, italic, 0, face);
    HGDIOBJ old = SelectObject(dc_, font);
    SIZE size{};
    GetTextExtentPoint32(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc_, old);
    DeleteObject(font);
    return static_cast<double>(size.cx) / s_;
  }

  Mask Result() const {
    Mask m(w_, h_);
    const int stride = w_ * s_;
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) {
        int sum = 0;
        for (int j = 0; j < s_; ++j)
          for (int i = 0; i < s_; ++i) {
            const uint32_t px = bits_[static_cast<size_t>((y * s_ + j) * stride + x * s_ + i)];
            sum += static_cast<int>((px >> 8) & 255);  // green: text smoothing keeps grey
          }
        m.at(x, y) = sum / (255.0 * s_ * s_);
      }
    return m;
  }

 private:
  int S(double v) const { return static_cast<int>(std::lround(v * s_)); }
  HFONT MakeFont(double height, bool bold, bool italic, int angle, const char* face) const {
    LOGFONT lf{};
    lf.lfHeight = -S(height);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfEscapement = angle;
    lf.lfOrientation = angle;
    lf.lfQuality = ANTIALIASED_QUALITY;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
  }

  int w_, h_, s_;
  HDC dc_ = nullptr;
  HBITMAP bmp_ = nullptr;
  const uint32_t* bits_ = nullptr;
  HGDIOBJ old_bmp_ = nullptr, old_pen_ = nullptr, old_brush_ = nullptr;
  bool ink_ = true;
};

// ---- noise -----------------------------------------------------------------------------------

uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}
uint32_t Hash(int a, int b, uint32_t seed) {
  return Hash(static_cast<uint32_t>(a) * 0x9E3779B1U ^ Hash(static_cast<uint32_t>(b) + seed * 0x85EBCA77U));
}
double Unit(uint32_t h) { return (h & 0xFFFFFF) / 16777215.0; }

// A small generator of its own, so every run and every standard library gives the same numbers.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 2654435761U + 1) {}
  double Next() {
    state_ = state_ * 1664525U + 1013904223U;
    return Unit(Hash(state_));
  }
  double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }

 private:
  uint32_t state_;
};

// Value noise on a lattice that repeats every px by py cells, so a picture of whole periods
// tiles without seams.
double LatticeNoise(double x, double y, int px, int py, uint32_t seed) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const double fx = x - x0, fy = y - y0;
  auto v = [&](int i, int j) {
    return Unit(Hash(((i % px) + px) % px, ((j % py) + py) % py, seed));
  };
  const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const double a = v(x0, y0) + (v(x0 + 1, y0) - v(x0, y0)) * sx;
  const double b = v(x0, y0 + 1) + (v(x0 + 1, y0 + 1) - v(x0, y0 + 1)) * sx;
  return a + (b - a) * sy;
}

// Fractal noise over a size x size tile: `cells` lattice cells across at the coarsest octave.
double Fbm(double x, double y, int size, int cells_x, int cells_y, int octaves, uint32_t seed) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    const int cx = cells_x << o, cy = cells_y << o;
    sum += amp * LatticeNoise(x * cx / size, y * cy / size, cx, cy, seed + static_cast<uint32_t>(o) * 101);
    norm += amp;
    amp *= 0.5;
  }
  return sum / norm;
}

// ---- output helpers --------------------------------------------------------------------------

uint32_t Pack(Rgb c) {
  auto ch = [](double v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0)); };
  return ch(c.r) << 16 | ch(c.g) << 8 | ch(c.b);
}

Artwork ToArtwork(const std::string& name, const Image& img) {
  Artwork a{name, img.w, img.h, {}};
  a.pixels.reserve(img.p.size());
  for (const Rgb& c : img.p) a.pixels.push_back(Pack(c));
  return a;
}

// The sixteen colours every display of the time could show.
const uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                           0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr uint32_t kSilver = 0xC0C0C0;      // the button face: transparent key of the glyphs
constexpr uint32_t kPaleYellow = 0xFFFFE1;  // the panels of the welcome page and the help window

// ---- textures --------------------------------------------------------------------------------

constexpr int kTile = 64;

Image Marble() {
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      const double turb = Fbm(x, y, kTile, 3, 3, 5, 11);
      const double v = std::sin(2 * kPi * (x + y) / kTile + 9.0 * turb);
      const double vein = std::pow(1 - std::fabs(v), 6.0);
      const double fine = std::pow(1 - std::fabs(std::sin(2 * kPi * 3 * (x - y) / kTile + 14.0 * Fbm(x, y, kTile, 4, 4, 4, 23))), 18.0);
      Rgb c = Mix(Hex(0xF2EEE6), Hex(0xD8D4CC), Fbm(x, y, kTile, 2, 2, 3, 5));
      c = Mix(c, Hex(0x6F7F78), vein * 0.8);
      c = Mix(c, Hex(0x9AA49E), fine * 0.5);
      img.at(x, y) = c;
    }
  return img;
}

Image Wood() {
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      // Grain runs along x: coarse noise across, fine streaks along.
      const double bend = Fbm(x, y, kTile, 2, 4, 4, 31);
      const double ring = 4.0 * y / kTile + 1.6 * bend;
      const double band = std::pow(0.5 - 0.5 * std::cos(2 * kPi * ring), 3.0);
      const double fibre = Fbm(x, y, kTile, 4, 32, 3, 37);
      Rgb c = Ramp({0xE0A868, 0xC98C4C, 0x8E5426}, band);
      c = c * (0.88 + 0.22 * fibre);
      img.at(x, y) = c;
    }
  return img;
}

Image BrushedMetal() {
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      const double streak = LatticeNoise(x * 2.0 / kTile, y * 1.0, 2, kTile, 41);
      const double fine = LatticeNoise(x * 16.0 / kTile, y * 1.0, 16, kTile, 43);
      const double cloud = Fbm(x, y, kTile, 1, 2, 2, 47);
      const double v = 0.62 + 0.12 * streak + 0.07 * fine + 0.12 * cloud;
      img.at(x, y) = Hex(0xE6EAF0) * v;
    }
  return img;
}

Image Paper() {
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      const double cloud = Fbm(x, y, kTile, 4, 4, 5, 53);
      const double grain = Unit(Hash(x, y, 59));
      img.at(x, y) = Hex(0xF6EFDA) * (0.93 + 0.08 * cloud + 0.025 * grain);
    }
  // Fibres: short curved strokes, drawn again one tile over wherever they cross an edge.
  MaskPainter fibres(kTile, kTile, 4);
  Random rnd(61);
  for (int i = 0; i < 26; ++i) {
    const double x = rnd.Range(0, kTile), y = rnd.Range(0, kTile), a = rnd.Range(0, 2 * kPi);
    const double len = rnd.Range(4, 10), bend = rnd.Range(-0.5, 0.5);
    for (int oy = -1; oy <= 1; ++oy)
      for (int ox = -1; ox <= 1; ++ox) {
        std::vector<Pt> pts;
        for (int k = 0; k <= 6; ++k) {
          const double t = k / 6.0, ang = a + bend * t;
          pts.push_back({x + ox * kTile + std::cos(ang) * len * t, y + oy * kTile + std::sin(ang) * len * t});
        }
        fibres.Line(pts, 0.5);
      }
  }
  Paint(img, fibres.Result(), Hex(0xC8B48C), 0.45);
  return img;
}

Image Bricks() {
  Image img(kTile, kTile);
  constexpr int kRow = 16, kBrick = 32, kMortar = 2;
  Mask brick(kTile, kTile);
  std::vector<int> id(static_cast<size_t>(kTile * kTile));
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      const int row = y / kRow;
      const int shifted = (x + (row % 2) * (kBrick / 2)) % kTile;
      const int col = shifted / kBrick;
      const int bx = shifted % kBrick, by = y % kRow;
      brick.at(x, y) = (bx >= kMortar && by >= kMortar) ? 1.0 : 0.0;
      id[static_cast<size_t>(y * kTile + x)] = row * 8 + col;
    }
  const Mask soft = Blur(brick, 1, true);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      const int k = id[static_cast<size_t>(y * kTile + x)];
      const double tone = Unit(Hash(k, 7, 67));
      Rgb b = Ramp({0xA8432C, 0xB85A36, 0x8F3A28, 0xC06A44}, tone);
      b = b * (0.85 + 0.25 * Fbm(x, y, kTile, 8, 8, 3, 71)) * (0.9 + 0.12 * Unit(Hash(x, y, 73)));
      const Rgb mortar = Hex(0xB9B2A4) * (0.85 + 0.2 * Fbm(x, y, kTile, 16, 16, 2, 79));
      const int xm = (x + kTile - 1) % kTile, xp = (x + 1) % kTile;
      const int ym = (y + kTile - 1) % kTile, yp = (y + 1) % kTile;
      const double relief = ((soft.at(xp, y) - soft.at(xm, y)) + (soft.at(x, yp) - soft.at(x, ym))) * 0.7;
      Rgb c = Mix(mortar, b, brick.at(x, y));
      c = relief > 0 ? Mix(c, Hex(0x000000), relief * 0.5) : Mix(c, Hex(0xFFE8D0), -relief * 0.45);
      img.at(x, y) = c;
    }
  return img;
}

Image Granite() {
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      const double base = Fbm(x, y, kTile, 8, 8, 3, 83);
      const double speck = Fbm(x, y, kTile, 32, 32, 1, 89);
      const double pink = Fbm(x, y, kTile, 16, 16, 2, 97);
      Rgb c = Mix(Hex(0x8C8580), Hex(0xB0A8A2), base);
      c = Mix(c, Hex(0xC9928A), Smooth(0.55, 0.7, pink) * 0.6);
      c = Mix(c, Hex(0x3C3430), Smooth(0.7, 0.85, speck) * 0.8);
      c = Mix(c, Hex(0xF0ECE8), Smooth(0.9, 0.95, Unit(Hash(x, y, 101))) * 0.6);
      img.at(x, y) = c;
    }
  return img;
}

Image Gold() {
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      const double n = Fbm(x, y, kTile, 2, 2, 5, 103);
      const double sheen = 0.5 + 0.5 * std::sin(2 * kPi * (x + y) / kTile + 7 * n);
      img.at(x, y) = Ramp({0x6A4408, 0xB07C14, 0xE8B830, 0xFFE890, 0xFFF6D0}, 0.15 + 0.8 * sheen);
    }
  return img;
}

Image Clouds() {
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      const double n = Fbm(x, y, kTile, 4, 4, 5, 107);
      const double cloud = Smooth(0.45, 0.75, n);
            Rgb c = Mix(Hex(0x3C78D8), Hex(0x78A8F0), Fbm(x, y, kTile, 1, 1, 2, 109));
      c = Mix(c, Mix(Hex(0xFFFFFF), Hex(0xB8C4D8), (1 - Smooth(0.55, 0.85, n)) * 0.6), cloud);
      img.at(x, y) = c;
    }
  return img;
}

// ---- small glyphs in the sixteen colours -----------------------------------------------------

// Snaps a colour to the sixteen-colour set.
Rgb Nearest16(Rgb c) {
  double best = 1e9;
  Rgb pick{};
  for (uint32_t v : kVga) {
    const Rgb p = Hex(v);
    const double d = (c.r - p.r) * (c.r - p.r) * 0.3 + (c.g - p.g) * (c.g - p.g) * 0.59 + (c.b - p.b) * (c.b - p.b) * 0.11;
    if (d < best) best = d, pick = p;
  }
  return pick;
}

// 2x2 ordered dither threshold, for the stepped shading of the period.
double Bayer(int x, int y) {
  static const double m[4] = {0.125, 0.625, 0.875, 0.375};
  return m[(y & 1) * 2 + (x & 1)];
}

// A blue glass ball with a soft grey shadow, 15 pixels across.
Image Bullet() {
  Image img(17, 17, Hex(kSilver));
  const double cx = 7.5, cy = 7.5, r = 6.9;
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 17; ++x) {
      const double sx = x + 0.5 - (cx + 1.5), sy = y + 0.5 - (cy + 1.5);
      if (sx * sx + sy * sy <= r * r) img.at(x, y) = Hex(0x808080);
    }
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 17; ++x) {
      const double dx = (x + 0.5 - cx) / r, dy = (y + 0.5 - cy) / r;
      const double d2 = dx * dx + dy * dy;
      if (d2 > 1) continue;
      const double dz = std::sqrt(1 - d2);
      const double lambert = Clamp01(-0.45 * dx - 0.55 * dy + 0.7 * dz);
      const double specular = std::pow(Clamp01(-0.4 * dx - 0.5 * dy + 0.77 * dz), 24);
      const double v = lambert + Bayer(x, y) * 0.22 - 0.11;
      Rgb c = v < 0.3 ? Hex(0x000080) : Hex(0x0000FF);
      if (specular + Bayer(x, y) * 0.3 > 0.42) c = Hex(0x00FFFF);
      if (d2 > 0.82 && c.b > 0.9 && c.g < 0.1) c = Hex(0x000080);  // a dark rim for the edge
      if (specular > 0.62) c = Hex(0xFFFFFF);
      img.at(x, y) = c;
    }
  return img;
}

// The help button: a red and white lifebuoy; the second image is its disabled look.
Image HelpGlyph() {
  constexpr int kSize = 18;
  Image up(kSize, kSize, Hex(kSilver));
  const double c = 8.5, outer = 8.4, inner = 4.0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > outer || d < inner - 0.6) continue;
      if (d > outer - 1.0 || d < inner + 0.4) {
        up.at(x, y) = Hex(0x000000);
        continue;
      }
      // Red and white quarters turned by 45 degrees; a rope rim shades the lower right.
      const double ang = std::atan2(dy, dx) + kPi / 4;
      const int quarter = static_cast<int>(std::floor(ang / (kPi / 2))) & 3;
      const bool red = quarter % 2 == 0;
      const double lit = -0.6 * dx / d - 0.8 * dy / d;
      Rgb col = red ? (lit < -0.3 ? Hex(0x800000) : Hex(0xFF0000)) : (lit < -0.3 ? Hex(0xC0C0C0) : Hex(0xFFFFFF));
      if (red && lit > 0.75 && d > 5.5 && d < 7.0) col = Hex(0xFFFFFF);
      up.at(x, y) = col;
    }
  Image both(kSize * 2, kSize, Hex(kSilver));
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) both.at(x, y) = up.at(x, y);
  // Disabled: the dark pixels in grey with a white copy one pixel down and right, etched.
  for (int pass = 0; pass < 2; ++pass)
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const Rgb p = up.at(x, y);
        const double luma = p.r * 0.3 + p.g * 0.59 + p.b * 0.11;
        if (Pack(p) == kSilver || luma > 0.6) continue;
        if (pass == 0 && x + 1 < kSize && y + 1 < kSize) both.at(kSize + x + 1, y + 1) = Hex(0xFFFFFF);
        if (pass == 1) both.at(kSize + x, y) = Hex(0x808080);
      }
  for (Rgb& p : both.p) p = Nearest16(p);
  return both;
}

// ---- the logo --------------------------------------------------------------------------------

// A banded planet inside a tilted golden ring, with "Showrama" underneath. Its top 15 rows
// hide above the window, and the help button covers the top-left corner.
Image Logo() {
  constexpr int W = 175, H = 143;
  Image img(W, H, Hex(kSilver));
  const double cx = 104, cy = 58, r = 36;
  const double tilt = -0.30, rx = 66, ry = 15;

  auto ring_mask = [&](bool front) {
    MaskPainter p(W, H, 4);
    std::vector<Pt> outer, inner;
    for (int i = 0; i <= 96; ++i) {
      const double a = 2 * kPi * i / 96;
      auto pt = [&](double sx, double sy) {
        const double x = std::cos(a) * sx, y = std::sin(a) * sy;
        return Pt{cx + x * std::cos(tilt) - y * std::sin(tilt), cy + x * std::sin(tilt) + y * std::cos(tilt)};
      };
      outer.push_back(pt(rx, ry));
      inner.push_back(pt(rx - 13, ry - 5));
    }
    p.Polygon(outer);
    p.Ink(false);
    p.Polygon(inner);
    // Keep only the half in front of (or behind) the planet: split along the ring's long axis.
    const double ux = std::cos(tilt), uy = std::sin(tilt);
    const double far = 200;
    std::vector<Pt> half = {{cx - ux * far, cy - uy * far}, {cx + ux * far, cy + uy * far},
                            {cx + ux * far + (front ? uy : -uy) * far, cy + uy * far + (front ? -ux : ux) * far},
                            {cx - ux * far + (front ? uy : -uy) * far, cy - uy * far + (front ? -ux : ux) * far}};
    p.Polygon(half);
    return p.Result();
  };
  const Mask ring_back = ring_mask(false);
  const Mask ring_front = ring_mask(true);

  MaskPainter planet_p(W, H, 4);
  planet_p.Circle(cx, cy, r);
  const Mask planet = planet_p.Result();

  auto ring_colour = [&](int x, int y) {
    const double dx = x - cx, dy = y - cy;
    const double along = (dx * std::cos(tilt) + dy * std::sin(tilt)) / rx;
    const double across = std::sqrt(std::max(0.0, dx * dx + dy * dy)) / rx;
    const double shine = 0.5 + 0.5 * std::cos(along * 3.2 + 0.8);
    return Ramp({0x8A5A0C, 0xD09A28, 0xFFE07A, 0xFFF8D8}, 0.15 + 0.8 * shine * (1.05 - across * 0.3));
  };

  // Glow and stars behind everything.
  MaskPainter glow_p(W, H, 2);
  glow_p.Circle(cx, cy, r + 5);
  const Mask glow = Blur(glow_p.Result(), 5);
  Paint(img, glow, Hex(0xFFFFFF), 0.55);

  auto star = [&](double x, double y, double s) {
    MaskPainter p(W, H, 4);
    p.Polygon({{x, y - s}, {x + s * 0.18, y - s * 0.18}, {x + s, y}, {x + s * 0.18, y + s * 0.18},
               {x, y + s}, {x - s * 0.18, y + s * 0.18}, {x - s, y}, {x - s * 0.18, y - s * 0.18}});
    Paint(img, p.Result(), Hex(0xFFFFFF));
    MaskPainter c(W, H, 4);
    c.Circle(x, y, s * 0.22);
    Paint(img, c.Result(), Hex(0xFFF2A0));
  };

  // Shadow of planet and ring on the face.
  Mask body = planet;
  for (size_t i = 0; i < body.a.size(); ++i) body.a[i] = std::max({body.a[i], ring_back.a[i], ring_front.a[i]});
  Paint(img, Blur(Shift(body, 4, 5), 2), Hex(0x505060), 0.45);

  Paint(img, ring_back, [&](int x, int y) { return ring_colour(x, y) * 0.78; });

  // The planet: lit from the upper left, with soft bands of violet and blue.
  Paint(img, planet, [&](int x, int y) {
    const double dx = (x + 0.5 - cx) / r, dy = (y + 0.5 - cy) / r;
    const double d2 = std::min(1.0, dx * dx + dy * dy);
    const double dz = std::sqrt(1 - d2);
    const double lat = dy * std::cos(tilt) - dx * std::sin(tilt);
    const double band = 0.5 + 0.5 * std::sin(lat * 9.0 + 2.0 * Fbm(x, y, W, 6, 6, 3, 113));
    Rgb base = Mix(Hex(0x2A3CB8), Hex(0x7A3CC8), band);
    base = Mix(base, Hex(0x30A8E0), Smooth(0.5, 0.9, 1 - std::fabs(lat)) * 0.25);
    const double lit = Clamp01(-0.5 * dx - 0.55 * dy + 0.67 * dz);
    Rgb c = base * (0.25 + 0.95 * lit);
    const double specular = std::pow(Clamp01(-0.45 * dx - 0.5 * dy + 0.74 * dz), 30);
    c = Mix(c, Hex(0xFFFFFF), specular * 0.85);
    c = Mix(c, Hex(0x9FD8FF), std::pow(1 - dz, 3) * 0.55);  // thin atmosphere on the rim
    return c;
  });
  Paint(img, ring_front, ring_colour);
  // A dark line along the ring's inner and outer edges lifts it off the planet.
  {
    Mask edge = Grow(ring_front, 1);
    for (size_t i = 0; i < edge.a.size(); ++i) edge.a[i] = std::max(0.0, edge.a[i] - ring_front.a[i]) * planet.a[i];
    Paint(img, edge, Hex(0x1A1040), 0.6);
  }

  star(30, 58, 7);
  star(160, 24, 5);
  star(44, 92, 4);
  star(150, 92, 6);

  // The title, as large as fits the width.
  const std::string title = "Showrama";
  MaskPainter measure(1, 1, 4);
  double size = 40;
  while (size > 10 && measure.TextWidth(title, size, true, true) > W - 14) size -= 1;
  const double tw = measure.TextWidth(title, size, true, true);
  MaskPainter text_p(W, H, 4);
  const double tx = (W - tw) / 2 - 2, ty = H - size * 1.18 - 3;
  text_p.Text(tx, ty, title, size, true, true);
  const Mask text = text_p.Result();
  const Mask outline = Grow(text, 2);
  Paint(img, Blur(Shift(outline, 3, 3), 1), Hex(0x404050), 0.6);
  Paint(img, outline, Hex(0x14104A));
  const Mask soft = Blur(text, 1);
  Paint(img, text, [&](int x, int y) {
    const double t = (y - ty - size * 0.1) / (size * 1.05);
    Rgb c = Ramp({0xFFFBE0, 0xFFE070, 0xF0A020, 0xB05808}, t);
    const double rel = Relief(soft, x, y);
    return rel > 0 ? Mix(c, Hex(0x5A2C00), rel * 0.6) : Mix(c, Hex(0xFFFFFF), -rel * 0.8);
  });
  return img;
}

// ---- pictures on the pale yellow panels ------------------------------------------------------

// A compass for the guide window: brass rim, paper card, a needle north to south.
Image Compass() {
  constexpr int S = 48;
  Image img(S, S, Hex(kPaleYellow));
  const double c = 23.5;
  MaskPainter shadow_p(S, S, 4);
  shadow_p.Circle(c + 2, c + 2, 21);
  Paint(img, Blur(shadow_p.Result(), 1), Hex(0x9A9070), 0.6);
  MaskPainter rim_p(S, S, 4);
  rim_p.Circle(c, c, 21.5);
  const Mask rim = rim_p.Result();
  Paint(img, rim, [&](int x, int y) {
    const double a = std::atan2(y - c, x - c);
    return Ramp({0x6A4A10, 0xB08830, 0xF8E090, 0xB08830, 0x6A4A10}, 0.5 + 0.5 * std::cos(a + kPi * 0.75));
  });
  MaskPainter face_p(S, S, 4);
  face_p.Circle(c, c, 17.5);
  Paint(img, face_p.Result(), [&](int x, int y) {
    const double d = std::hypot(x - c + 4, y - c + 4) / 24;
    return Mix(Hex(0xFFFFF4), Hex(0xD8D0B8), d);
  });
  // Ticks every 45 degrees, and a faint eight-point rose.
  MaskPainter ticks(S, S, 4);
  for (int i = 0; i < 16; ++i) {
    const double a = i * kPi / 8, len = i % 2 == 0 ? 3.5 : 2;
    ticks.Line({{c + std::cos(a) * 17, c + std::sin(a) * 17}, {c + std::cos(a) * (17 - len), c + std::sin(a) * (17 - len)}},
               i % 4 == 0 ? 1.0 : 0.6);
  }
  Paint(img, ticks.Result(), Hex(0x40382C));
  MaskPainter rose(S, S, 4);
  for (int i = 0; i < 4; ++i) {
    const double a = i * kPi / 2 + kPi / 4;
    rose.Polygon({{c + std::cos(a) * 11, c + std::sin(a) * 11}, {c + std::cos(a + 0.5) * 3, c + std::sin(a + 0.5) * 3},
                  {c, c}, {c + std::cos(a - 0.5) * 3, c + std::sin(a - 0.5) * 3}});
  }
  Paint(img, rose.Result(), Hex(0xA8B0C8), 0.8);
  // The needle points north-east: red half to the north, navy to the south.
  const double a = -kPi / 2 + 0.5;
  const Pt tip{c + std::cos(a) * 15, c + std::sin(a) * 15}, tail{c - std::cos(a) * 15, c - std::sin(a) * 15};
  const Pt side1{c + std::cos(a + kPi / 2) * 3.2, c + std::sin(a + kPi / 2) * 3.2};
  const Pt side2{c - std::cos(a + kPi / 2) * 3.2, c - std::sin(a + kPi / 2) * 3.2};
  MaskPainter n1(S, S, 4), n2(S, S, 4), s1(S, S, 4), s2(S, S, 4);
  n1.Polygon({tip, side1, {c, c}});
  n2.Polygon({tip, {c, c}, side2});
  s1.Polygon({tail, side1, {c, c}});
  s2.Polygon({tail, {c, c}, side2});
  Paint(img, n1.Result(), Hex(0xE02818));
  Paint(img, n2.Result(), Hex(0x981008));
  Paint(img, s1.Result(), Hex(0x3850B8));
  Paint(img, s2.Result(), Hex(0x182870));
  MaskPainter pin(S, S, 4);
  pin.Circle(c, c, 2);
  Paint(img, pin.Result(), [&](int x, int y) { return Mix(Hex(0xFFF0B0), Hex(0x806020), Clamp01((x + y - 2 * c + 2) / 4)); });
  // Glass glint.
  MaskPainter glint(S, S, 4);
  glint.Ellipse(c - 14, c - 15, c + 2, c - 8);
  Paint(img, Blur(glint.Result(), 1), Hex(0xFFFFFF), 0.35);
  return img;
}

// Three building blocks, two side by side and one on top: the components.
Image Blocks() {
  constexpr int W = 80, H = 80;
  Image img(W, H, Hex(kPaleYellow));
  const double e = 21;  // cube edge in pixels, isometric
  const double kx = e * 0.866, ky = e * 0.5;
  auto corners = [&](double x, double y) {
    // (x, y) is the top vertex of the cube's upper face.
    return std::vector<Pt>{{x, y}, {x + kx, y + ky}, {x, y + 2 * ky}, {x - kx, y + ky},
                           {x + kx, y + ky + e}, {x, y + 2 * ky + e}, {x - kx, y + ky + e}};
  };
  auto cube = [&](double x, double y, uint32_t colour) {
    const std::vector<Pt> c = corners(x, y);
    const Pt top = c[0], right = c[1], front = c[2], left = c[3], right_b = c[4], front_b = c[5], left_b = c[6];
    const Rgb base = Hex(colour);
    MaskPainter t(W, H, 4), l(W, H, 4), r(W, H, 4), edge(W, H, 4);
    t.Polygon({top, right, front, left});
    l.Polygon({left, front, front_b, left_b});
    r.Polygon({front, right, right_b, front_b});
    Paint(img, t.Result(), [&](int px, int py) {
      return Mix(base * 1.3, base * 1.05, Clamp01((py - y) / (2 * ky)) * 0.7 + Clamp01((px - x + kx) / (2 * kx)) * 0.3);
    });
    Paint(img, l.Result(), [&](int, int py) { return base * (0.95 - 0.2 * Clamp01((py - left.y) / (e + ky))); });
    Paint(img, r.Result(), [&](int, int py) { return base * (0.62 - 0.15 * Clamp01((py - right.y) / (e + ky))); });
    // A round stud in the middle of the upper face, seen at the same slant.
    MaskPainter stud(W, H, 4), stud_side(W, H, 4);
    stud_side.Ellipse(x - kx * 0.42, y + ky * 0.58 + 1.5, x + kx * 0.42, y + ky * 1.42 + 1.5);
    stud.Ellipse(x - kx * 0.42, y + ky * 0.58 - 1, x + kx * 0.42, y + ky * 1.42 - 1);
    Paint(img, stud_side.Result(), base * 0.72);
    Paint(img, stud.Result(), [&](int px, int) { return Mix(base * 1.45, base * 1.1, Clamp01((px - x + kx * 0.4) / (kx * 0.8))); });
    edge.Line({top, right, right_b, front_b, left_b, left, top}, 0.7);
    edge.Line({left, front, right}, 0.45);
    edge.Line({front, front_b}, 0.45);
    Paint(img, edge.Result(), base * 0.3, 0.85);
  };
  const double lx = 40 - kx / 2, ly = 2 + e;
  // A soft shadow on the ground, thrown to the right.
  {
    MaskPainter p(W, H, 2);
    const std::vector<Pt> a = corners(lx, ly), b = corners(lx + kx, ly + ky);
    p.Polygon({a[6], a[5], b[5], b[4], {b[4].x + 4, b[4].y - 2}, {b[5].x + 5, b[5].y + 1}, {a[5].x + 5, a[5].y + 1}, {a[6].x + 5, a[6].y + 1}});
    Paint(img, Blur(p.Result(), 2), Hex(0x8C8470), 0.55);
  }
  cube(lx, ly, 0xD83020);             // left, at the back
  cube(lx, ly - e, 0xF0C020);         // stacked on it
  cube(lx + kx, ly + ky, 0x2850D0);   // right, in front
  return img;
}

// Two meshing gears, brass and steel.
Image Gears() {
  constexpr int W = 96, H = 80;
  Image img(W, H, Hex(kPaleYellow));
  auto gear_mask = [&](double cx, double cy, double r, int teeth, double phase, double hole) {
    MaskPainter p(W, H, 4);
    std::vector<Pt> pts;
    const double depth = 5;
    for (int i = 0; i < teeth; ++i) {
      const double a0 = phase + 2 * kPi * i / teeth, step = 2 * kPi / teeth;
      const double rad[4] = {r - depth, r, r, r - depth};
      const double off[4] = {0.0, 0.2, 0.5, 0.7};
      for (int k = 0; k < 4; ++k) {
        const double a = a0 + step * off[k];
        pts.push_back({cx + std::cos(a) * rad[k], cy + std::sin(a) * rad[k]});
      }
    }
    p.Polygon(pts);
    p.Ink(false);
    p.Circle(cx, cy, hole);
    // Four windows in the web of the wheel.
    for (int i = 0; i < 4; ++i) {
      const double a = phase + i * kPi / 2 + kPi / 4;
      const double w = (r - depth - hole) * 0.32;
      const double m = (r - depth + hole) / 2;
      p.Circle(cx + std::cos(a) * m, cy + std::sin(a) * m, w);
    }
    return p.Result();
  };
  auto draw = [&](const Mask& m, double cx, double cy, std::initializer_list<uint32_t> ramp) {
    Paint(img, Blur(Shift(m, 3, 4), 2), Hex(0x8C8470), 0.55);
    const Mask soft = Blur(m, 1);
    const std::vector<uint32_t> stops(ramp);
    Paint(img, m, [&](int x, int y) {
      const double a = std::atan2(y - cy, x - cx);
      const double shine = 0.5 + 0.5 * std::cos(2 * a + 0.9);  // the sheen of a turned face
      Rgb c = Mix(Hex(stops[0]), Hex(stops[1]), shine);
      c = Mix(c, Hex(stops[2]), std::pow(shine, 6) * 0.7);
      const double rel = Relief(soft, x, y);
      return rel > 0 ? Mix(c, Hex(0x201408), rel * 0.8) : Mix(c, Hex(0xFFFFFF), -rel * 0.9);
    });
  };
  const Mask big = gear_mask(34, 46, 30, 16, 0.0, 6.5);
  const Mask small = gear_mask(69.6, 21, 19, 10, 0.1, 4.5);
  draw(small, 69.6, 21, {0x707884, 0xC8D0DC, 0xFFFFFF});
  draw(big, 34, 46, {0x8A6418, 0xE0B848, 0xFFF4C0});
  return img;
}

// A hot-air balloon on magenta, for showing colour-key transparency on any background: the
// edges are hard, since a smoothed edge would carry a pink fringe onto other backgrounds.
Image Balloon() {
  constexpr int W = 64, H = 80;
  const Rgb key = Hex(0xFF00FF);
  Image img(W, H, key);
  const double cx = 32, cy = 28, r = 25;
  MaskPainter env_p(W, H, 4);
  env_p.Circle(cx, cy, r);
  env_p.Polygon({{cx - r * 0.93, cy + 9}, {cx + r * 0.93, cy + 9}, {cx + 7, 62}, {cx - 7, 62}});
  const Mask envelope = env_p.Result();
  // Ropes from the envelope's mouth to the basket, then the basket.
  MaskPainter ropes_p(W, H, 4);
  ropes_p.Line({{cx - 7, 61}, {cx - 6, 69}}, 0.8);
  ropes_p.Line({{cx + 7, 61}, {cx + 6, 69}}, 0.8);
  ropes_p.Line({{cx, 62}, {cx, 69}}, 0.8);
  MaskPainter basket_p(W, H, 4);
  basket_p.Polygon({{cx - 7, 69}, {cx + 7, 69}, {cx + 6, 78}, {cx - 6, 78}});
  const uint32_t gores[6] = {0xE02020, 0xF8D020, 0x2050D0, 0xF8F8F0, 0x20A040, 0xF08020};
  const Mask ropes = ropes_p.Result();
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (ropes.at(x, y) >= 0.5) img.at(x, y) = Hex(0x403020);
    }
  const Mask basket = basket_p.Result();
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (basket.at(x, y) < 0.5) continue;
      const bool weave = ((x + (y / 2)) % 3) == 0 || y == 69 || y == 70;
      const double lit = 1.0 - (x - (cx - 7)) / 20.0;
      img.at(x, y) = (weave ? Hex(0x5A3A18) : Hex(0xB07838)) * (0.75 + 0.35 * lit);
    }
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (envelope.at(x, y) < 0.5) continue;
      // The width of the envelope on this row, to bend the gores around it.
      const double half = y <= cy + 9 ? std::sqrt(std::max(1.0, r * r - (y + 0.5 - cy) * (y + 0.5 - cy)))
                                      : r * 0.93 + (7 - r * 0.93) * (y + 0.5 - cy - 9) / (62 - cy - 9);
      const double u = std::clamp((x + 0.5 - cx) / std::max(half, 1.0), -1.0, 1.0);
      const double lon = std::asin(u);
      const int gore = static_cast<int>(std::floor((lon + kPi / 2) / (kPi / 8))) % 6;
      const double dx = (x + 0.5 - cx) / r, dy = std::clamp((y + 0.5 - cy) / r, -1.0, 1.0);
      const double dz = std::sqrt(std::max(0.0, 1 - u * u));
      const double lit = Clamp01(-0.55 * dx - 0.45 * dy + 0.7 * dz);
      Rgb c = Hex(gores[gore]) * (0.3 + 0.85 * lit);
      const double specular = std::pow(Clamp01(-0.45 * dx - 0.5 * dy + 0.74 * dz), 20);
      c = Mix(c, Hex(0xFFFFFF), specular * 0.6);
      // Seams between the gores.
      const double edge = std::fmod(lon + kPi / 2, kPi / 8);
      if (edge < 0.05 * kPi / 8 / std::max(dz, 0.2) * 3) c = c * 0.7;
      img.at(x, y) = c;
    }
  return img;
}

// ---- the splash picture: a small ray tracer --------------------------------------------------

struct V3 {
  double x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Norm(V3 a) { return a * (1.0 / std::sqrt(Dot(a, a))); }

struct Ball {
  V3 c;
  double r;
  Rgb colour;
  double mirror;
};

class Scene {
 public:
  Scene() {
    balls_ = {{{0.0, 1.0, 0.6}, 1.0, Hex(0xD8DCE8), 0.72},
              {{-1.85, 0.55, -0.55}, 0.55, Hex(0xD02818), 0.18},
              {{1.75, 0.45, -0.85}, 0.45, Hex(0xE8B020), 0.3},
              {{-0.9, 0.28, -1.45}, 0.28, Hex(0x20A048), 0.15},
              {{0.95, 0.22, -1.9}, 0.22, Hex(0x3050E0), 0.2}};
    light_ = Norm({-0.55, 0.75, -0.45});
  }

  Rgb Trace(V3 o, V3 d, int depth) const {
    double best = 1e30;
    int hit = -1;
    for (size_t i = 0; i < balls_.size(); ++i) {
      const double t = HitBall(balls_[i], o, d);
      if (t > 1e-6 && t < best) best = t, hit = static_cast<int>(i);
    }
    const double tp = d.y < 0 ? -o.y / d.y : 1e30;
    if (hit < 0 && tp >= 1e30) return Sky(d);
    if (hit < 0 || tp < best) {
      const V3 p = o + d * tp;
      const bool dark = (static_cast<int>(std::floor(p.x * 1.25)) + static_cast<int>(std::floor(p.z * 1.25))) & 1;
      Rgb c = dark ? Hex(0x1C2A78) : Hex(0xE8E4D8);
      const double shade = InShadow(p) ? 0.45 : 1.0;
      c = c * (0.35 + 0.65 * shade * Clamp01(light_.y));
      if (depth < 3) c = Mix(c, Trace(p + V3{0, 1e-4, 0}, {d.x, -d.y, d.z}, depth + 1), 0.22);
      const double fog = Clamp01((tp - 4) / 22);
      return Mix(c, Sky({d.x, 0.0, d.z}), fog * fog);
    }
    const Ball& b = balls_[static_cast<size_t>(hit)];
    const V3 p = o + d * best;
    const V3 n = Norm(p - b.c);
    const double diffuse = InShadow(p) ? 0.0 : Clamp01(Dot(n, light_));
    const V3 refl = d - n * (2 * Dot(d, n));
    const double specular = InShadow(p) ? 0.0 : std::pow(Clamp01(Dot(refl, light_)), 40);
    Rgb c = b.colour * (0.22 + 0.78 * diffuse);
    if (depth < 3 && b.mirror > 0) c = Mix(c, Trace(p + n * 1e-4, refl, depth + 1) * b.colour, b.mirror);
    return c + Rgb{1, 1, 1} * specular;
  }

 private:
  static double HitBall(const Ball& b, V3 o, V3 d) {
    const V3 oc = o - b.c;
    const double bq = Dot(oc, d), cq = Dot(oc, oc) - b.r * b.r;
    const double disc = bq * bq - cq;
    if (disc < 0) return -1;
    const double s = std::sqrt(disc);
    const double t = -bq - s;
    return t > 1e-6 ? t : -bq + s;
  }
  bool InShadow(V3 p) const {
    for (const Ball& b : balls_)
      if (HitBall(b, p + light_ * 1e-4, light_) > 1e-6) return true;
    return false;
  }
  // Deep blue above, a warm glow at the horizon, and a sun.
  Rgb Sky(V3 d) const {
    const double h = Clamp01(d.y * 2.2);
    Rgb c = Ramp({0xFFB070, 0xE070A0, 0x6048B0, 0x182060}, std::pow(h, 0.6));
    const double sun = Dot(Norm(d), Norm({-0.55, 0.12, 1.0}));
    c = c + Hex(0xFFE8B0) * (std::pow(Clamp01(sun), 400) * 1.2 + std::pow(Clamp01(sun), 12) * 0.25);
    return c;
  }

  std::vector<Ball> balls_;
  V3 light_;
};

Image Splash() {
  constexpr int W = 280, H = 176, kSub = 3;
  Image img(W, H);
  const Scene scene;
  const V3 eye{0.3, 1.45, -4.4};
  const V3 ahead = Norm(V3{0.0, 0.75, 0.0} - eye);
  const V3 right = Norm({ahead.z, 0.0, -ahead.x});
  const V3 up = {-(right.y * ahead.z - right.z * ahead.y), -(right.z * ahead.x - right.x * ahead.z),
                 -(right.x * ahead.y - right.y * ahead.x)};
  const double fov = 0.5;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      Rgb sum{};
      for (int j = 0; j < kSub; ++j)
        for (int i = 0; i < kSub; ++i) {
          const double u = ((x + (i + 0.5) / kSub) / W * 2 - 1) * fov * W / H;
          const double v = (1 - (y + (j + 0.5) / kSub) / H * 2) * fov;
          sum = sum + scene.Trace(eye, Norm(ahead + right * u + up * v), 0);
        }
      img.at(x, y) = sum * (1.0 / (kSub * kSub));
    }
  return img;
}

// ---- the catalogue ---------------------------------------------------------------------------

struct Entry {
  const char* name;
  Image (*make)();
};

const Entry kEntries[] = {
    {"logo.bmp", Logo},         {"bullet.bmp", Bullet},     {"help_glyph.bmp", HelpGlyph},
    {"splash.bmp", Splash},     {"help_compass.bmp", Compass}, {"welcome_blocks.bmp", Blocks},
    {"welcome_gears.bmp", Gears}, {"marble.bmp", Marble},   {"wood.bmp", Wood},
    {"metal.bmp", BrushedMetal}, {"paper.bmp", Paper},      {"bricks.bmp", Bricks},
    {"granite.bmp", Granite},   {"gold.bmp", Gold},         {"clouds.bmp", Clouds},
    {"balloon.bmp", Balloon},
};

// A 32 bpp bitmap holding the picture, for the platform's encoders.
class PictureBitmap {
 public:
  explicit PictureBitmap(const Artwork& a) {
    bmp_ = CreateBitmap(a.width, a.height, 1, 32, nullptr);
    if (!bmp_) throw std::runtime_error("cannot create a bitmap for " + a.name);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = a.width;
    info.bmiHeader.biHeight = -a.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    const int rows = SetDIBits(dc, bmp_, 0, static_cast<UINT>(a.height), a.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (rows != a.height) throw std::runtime_error("cannot fill the bitmap for " + a.name);
  }
  ~PictureBitmap() { DeleteObject(bmp_); }
  PictureBitmap(const PictureBitmap&) = delete;
  PictureBitmap& operator=(const PictureBitmap&) = delete;
  HBITMAP get() const { return bmp_; }

 private:
  HBITMAP bmp_ = nullptr;
};

// Every picture enlarged on one page, textures repeated two by two to show their seams.
void WriteSheet(const std::vector<Artwork>& all, const std::string& path) {
  constexpr int kWidth = 760, kGap = 8;
  std::vector<uint32_t> page;
  int x = kGap, y = kGap, row_h = 0, height = kGap;
  struct Placed { const Artwork* art; int x, y, scale, repeat; };
  std::vector<Placed> placed;
  for (const Artwork& a : all) {
    const bool tile = a.width == kTile && a.height == kTile;
    const int repeat = tile ? 2 : 1;
    const int scale = tile ? 2 : std::clamp(340 / std::max(a.width, a.height), 1, 8);
    const int w = a.width * scale * repeat, h = a.height * scale * repeat;
    if (x + w > kWidth - kGap) x = kGap, y += row_h + kGap, row_h = 0;
    placed.push_back({&a, x, y, scale, repeat});
    x += w + kGap;
    row_h = std::max(row_h, h);
    height = y + row_h + kGap;
  }
  Artwork sheet{"sheet", kWidth, height, std::vector<uint32_t>(static_cast<size_t>(kWidth * height), 0x606870)};
  for (const Placed& p : placed) {
    const Artwork& a = *p.art;
    for (int ty = 0; ty < a.height * p.scale * p.repeat; ++ty)
      for (int tx = 0; tx < a.width * p.scale * p.repeat; ++tx) {
        const int sx = (tx / p.scale) % a.width, sy = (ty / p.scale) % a.height;
        sheet.pixels[static_cast<size_t>((p.y + ty) * kWidth + p.x + tx)] = a.pixels[static_cast<size_t>(sy * a.width + sx)];
      }
  }
  const PictureBitmap bmp(sheet);
  std::string error;
  if (!gdi::WritePng(path, bmp.get(), &error)) throw std::runtime_error("cannot write " + path + ": " + error);
}

}  // namespace

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (const Entry& e : kEntries) names.emplace_back(e.name);
  return names;
}

Artwork Make(const std::string& name) {
  for (const Entry& e : kEntries)
    if (name == e.name) return ToArtwork(e.name, e.make());
  throw std::invalid_argument("no picture named \"" + name + "\"");
}

std::vector<Artwork> MakeAll() {
  std::vector<Artwork> all;
  for (const Entry& e : kEntries) all.push_back(ToArtwork(e.name, e.make()));
  return all;
}

std::vector<uint8_t> EncodeBmp(const Artwork& art) {
  const PictureBitmap bmp(art);
  std::string error;
  std::vector<uint8_t> bytes = gdi::EncodeBmp(bmp.get(), 24, &error);
  if (bytes.empty()) throw std::runtime_error("cannot encode " + art.name + ": " + error);
  return bytes;
}

void WriteAll(const std::string& folder, bool png) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw std::runtime_error("cannot create folder " + folder + ": " + ec.message());
  const std::vector<Artwork> all = MakeAll();
  if (png) WriteSheet(all, (fs::path(folder) / "sheet.png").string());
  for (const Artwork& art : all) {
    if (png) {
      const std::string path = (fs::path(folder) / fs::path(art.name).replace_extension(".png")).string();
      const PictureBitmap bmp(art);
      std::string error;
      if (!gdi::WritePng(path, bmp.get(), &error)) throw std::runtime_error("cannot write " + path + ": " + error);
      continue;
    }
    const std::string path = (fs::path(folder) / art.name).string();
    const std::vector<uint8_t> bytes = EncodeBmp(art);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
  }
}

std::vector<std::string> Check(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> problems;
  for (const Artwork& art : MakeAll()) {
    const std::string path = (fs::path(folder) / art.name).string();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      problems.push_back(path + ": missing");
      continue;
    }
    const std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<uint8_t> made = EncodeBmp(art);
    if (stored.size() != made.size()) {
      problems.push_back(path + ": " + std::to_string(stored.size()) + " bytes, the generator makes " +
                         std::to_string(made.size()));
      continue;
    }
    const auto diff = std::mismatch(stored.begin(), stored.end(), made.begin());
    if (diff.first != stored.end()) {
      problems.push_back(path + ": differs from the generator's picture at byte " +
                         std::to_string(diff.first - stored.begin()));
    }
  }
  return problems;
}

}  // namespace art
