// The raster engine against cairo's image backend (anti-aliasing off, nearest filtering) and
// against memset/memcpy of the same bytes. Each job draws the same pixels on each side.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "platform/win32.h"

namespace {

constexpr int kW = 1920, kH = 1080;
constexpr int kBlitW = 1024, kBlitH = 768;

// A 32 bpp memory DC over a DIB section.
struct OurSurface {
  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  uint32_t* bits = nullptr;
  OurSurface(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* p = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t*>(p);
    old = SelectObject(dc, bmp);
    for (int i = 0; i < w * h; ++i) bits[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  }
  ~OurSurface() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
};

struct CairoSurface {
  cairo_surface_t* s;
  cairo_t* cr;
  CairoSurface(int w, int h) {
    s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    const int stride = cairo_image_surface_get_stride(s) / 4;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) data[y * stride + x] = static_cast<uint32_t>((y * w + x) * 2654435761u) & 0xFFFFFF;
    cairo_surface_mark_dirty(s);
    cr = cairo_create(s);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  }
  ~CairoSurface() {
    cairo_destroy(cr);
    cairo_surface_destroy(s);
  }
};

std::vector<RECT> SmallRects() {
  std::mt19937 rng(42);
  std::vector<RECT> r(10000);
  for (RECT& rc : r) {
    const int x = static_cast<int>(rng() % (kW - 16)), y = static_cast<int>(rng() % (kH - 16));
    rc = RECT{x, y, x + 16, y + 16};
  }
  return r;
}

std::vector<POINT> Star() {
  std::vector<POINT> pts;
  for (int i = 0; i < 100; ++i) {
    const double a = i * 2 * M_PI / 100;
    const double r = (i % 2) ? 150 : 500;
    pts.push_back(POINT{static_cast<LONG>(960 + r * std::cos(a)), static_cast<LONG>(540 + r * std::sin(a))});
  }
  return pts;
}

// --- solid fill --------------------------------------------------------------------------
void ours_solid(benchmark::State& st) {
  OurSurface s(kW, kH);
  HBRUSH b = CreateSolidBrush(RGB(10, 200, 30));
  RECT r{0, 0, kW, kH};
  for (auto _ : st) FillRect(s.dc, &r, b);
  DeleteObject(b);
}
void cairo_solid(benchmark::State& st) {
  CairoSurface c(kW, kH);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgb(c.cr, 10 / 255.0, 200 / 255.0, 30 / 255.0);
  for (auto _ : st) {
    cairo_rectangle(c.cr, 0, 0, kW, kH);
    cairo_fill(c.cr);
  }
  cairo_surface_flush(c.s);
}
void ceiling_solid(benchmark::State& st) {
  std::vector<uint32_t> buf(static_cast<size_t>(kW) * kH);
  for (auto _ : st) {
    std::memset(buf.data(), 0x5A, buf.size() * 4);
    benchmark::ClobberMemory();
  }
}

// --- 10,000 small rectangles -------------------------------------------------------------
void ours_small_rects(benchmark::State& st) {
  OurSurface s(kW, kH);
  HBRUSH b = CreateSolidBrush(RGB(200, 10, 30));
  const auto rects = SmallRects();
  for (auto _ : st)
    for (const RECT& r : rects) FillRect(s.dc, &r, b);
  DeleteObject(b);
}
void cairo_small_rects(benchmark::State& st) {
  CairoSurface c(kW, kH);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgb(c.cr, 200 / 255.0, 10 / 255.0, 30 / 255.0);
  const auto rects = SmallRects();
  for (auto _ : st)
    for (const RECT& r : rects) {
      cairo_rectangle(c.cr, r.left, r.top, 16, 16);
      cairo_fill(c.cr);
    }
  cairo_surface_flush(c.s);
}

// --- polygon: a 100-point star -----------------------------------------------------------
void ours_star(benchmark::State& st) {
  OurSurface s(kW, kH);
  HBRUSH b = CreateSolidBrush(RGB(20, 30, 240));
  SelectObject(s.dc, b);
  SelectObject(s.dc, GetStockObject(NULL_PEN));
  const auto pts = Star();
  for (auto _ : st) Polygon(s.dc, pts.data(), static_cast<int>(pts.size()));
  SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(b);
}
void cairo_star(benchmark::State& st) {
  CairoSurface c(kW, kH);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_fill_rule(c.cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_set_source_rgb(c.cr, 20 / 255.0, 30 / 255.0, 240 / 255.0);
  const auto pts = Star();
  for (auto _ : st) {
    cairo_move_to(c.cr, pts[0].x, pts[0].y);
    for (size_t i = 1; i < pts.size(); ++i) cairo_line_to(c.cr, pts[i].x, pts[i].y);
    cairo_close_path(c.cr);
    cairo_fill(c.cr);
  }
  cairo_surface_flush(c.s);
}

// --- ellipse fill ------------------------------------------------------------------------
void ours_ellipse(benchmark::State& st) {
  OurSurface s(kW, kH);
  HBRUSH b = CreateSolidBrush(RGB(240, 30, 240));
  SelectObject(s.dc, b);
  SelectObject(s.dc, GetStockObject(NULL_PEN));
  for (auto _ : st) Ellipse(s.dc, 160, 140, 1760, 940);
  SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(b);
}
void cairo_ellipse(benchmark::State& st) {
  CairoSurface c(kW, kH);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgb(c.cr, 240 / 255.0, 30 / 255.0, 240 / 255.0);
  for (auto _ : st) {
    cairo_save(c.cr);
    cairo_translate(c.cr, 960, 540);
    cairo_scale(c.cr, 800, 400);
    cairo_arc(c.cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(c.cr);
    cairo_fill(c.cr);
  }
  cairo_surface_flush(c.s);
}

// --- BitBlt SRCCOPY and SRCAND -----------------------------------------------------------
void ours_blit(benchmark::State& st, DWORD rop) {
  OurSurface dst(kBlitW, kBlitH), src(kBlitW, kBlitH);
  for (auto _ : st) BitBlt(dst.dc, 0, 0, kBlitW, kBlitH, src.dc, 0, 0, rop);
}
void cairo_blit(benchmark::State& st, cairo_operator_t op) {
  CairoSurface dst(kBlitW, kBlitH), src(kBlitW, kBlitH);
  cairo_set_operator(dst.cr, op);
  for (auto _ : st) {
    cairo_set_source_surface(dst.cr, src.s, 0, 0);
    cairo_paint(dst.cr);
  }
  cairo_surface_flush(dst.s);
}
void ceiling_blit(benchmark::State& st) {
  std::vector<uint32_t> a(static_cast<size_t>(kBlitW) * kBlitH, 1), b(a.size(), 2);
  for (auto _ : st) {
    std::memcpy(a.data(), b.data(), a.size() * 4);
    benchmark::ClobberMemory();
  }
}
void ours_srccopy(benchmark::State& st) { ours_blit(st, SRCCOPY); }
void ours_srcand(benchmark::State& st) { ours_blit(st, SRCAND); }
void cairo_srccopy(benchmark::State& st) { cairo_blit(st, CAIRO_OPERATOR_SOURCE); }
// cairo has no bitwise AND; MULTIPLY is the nearest per-pixel two-input operator.
void cairo_srcand(benchmark::State& st) { cairo_blit(st, CAIRO_OPERATOR_MULTIPLY); }

// --- StretchBlt 2x -----------------------------------------------------------------------
void ours_stretch(benchmark::State& st) {
  OurSurface dst(kBlitW, kBlitH), src(kBlitW / 2, kBlitH / 2);
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  for (auto _ : st) StretchBlt(dst.dc, 0, 0, kBlitW, kBlitH, src.dc, 0, 0, kBlitW / 2, kBlitH / 2, SRCCOPY);
}
void cairo_stretch(benchmark::State& st) {
  CairoSurface dst(kBlitW, kBlitH), src(kBlitW / 2, kBlitH / 2);
  cairo_set_operator(dst.cr, CAIRO_OPERATOR_SOURCE);
  for (auto _ : st) {
    cairo_save(dst.cr);
    cairo_scale(dst.cr, 2, 2);
    cairo_set_source_surface(dst.cr, src.s, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(dst.cr), CAIRO_FILTER_NEAREST);
    cairo_paint(dst.cr);
    cairo_restore(dst.cr);
  }
  cairo_surface_flush(dst.s);
}

// --- 8x8 pattern brush fill --------------------------------------------------------------
void ours_pattern(benchmark::State& st) {
  OurSurface s(kW, kH);
  OurSurface tile(8, 8);
  HBITMAP bmp = CreateCompatibleBitmap(s.dc, 8, 8);
  HDC tdc = CreateCompatibleDC(s.dc);
  HGDIOBJ old = SelectObject(tdc, bmp);
  BitBlt(tdc, 0, 0, 8, 8, tile.dc, 0, 0, SRCCOPY);
  SelectObject(tdc, old);
  DeleteDC(tdc);
  HBRUSH b = CreatePatternBrush(bmp);
  RECT r{0, 0, kW, kH};
  for (auto _ : st) FillRect(s.dc, &r, b);
  DeleteObject(b);
  DeleteObject(bmp);
}
void cairo_pattern(benchmark::State& st) {
  CairoSurface c(kW, kH), tile(8, 8);
  cairo_pattern_t* p = cairo_pattern_create_for_surface(tile.s);
  cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
  cairo_set_operator(c.cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source(c.cr, p);
  for (auto _ : st) {
    cairo_rectangle(c.cr, 0, 0, kW, kH);
    cairo_fill(c.cr);
  }
  cairo_pattern_destroy(p);
  cairo_surface_flush(c.s);
}

// --- text ------------------------------------------------------------------------------
constexpr char kLine[] = "Showrama draws text!";  // 20 characters
constexpr char kParagraph[] =
    "A paragraph of ordinary prose that wraps at word boundaries inside a box three hundred pixels "
    "wide, as a label or a message box would show it, several lines long so the layout work "
    "dominates: measuring words, breaking lines and drawing each line in turn.";

void ours_textout(benchmark::State& st) {
  OurSurface s(kW, kH);
  HFONT f = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, 0, "Arial");
  SelectObject(s.dc, f);
  SetBkMode(s.dc, TRANSPARENT);
  for (auto _ : st)
    for (int i = 0; i < 10000; ++i) TextOut(s.dc, (i * 37) % 1700, (i * 13) % 1050, kLine, 20);
  SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
}
void cairo_textout(benchmark::State& st) {
  CairoSurface c(kW, kH);
  cairo_set_antialias(c.cr, CAIRO_ANTIALIAS_GRAY);
  cairo_select_font_face(c.cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(c.cr, 13);
  cairo_set_source_rgb(c.cr, 0, 0, 0);
  for (auto _ : st)
    for (int i = 0; i < 10000; ++i) {
      cairo_move_to(c.cr, (i * 37) % 1700, (i * 13) % 1050 + 12);
      cairo_show_text(c.cr, kLine);
    }
  cairo_surface_flush(c.s);
}

void ours_paragraph(benchmark::State& st) {
  OurSurface s(kW, kH);
  HFONT f = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, 0, "Arial");
  SelectObject(s.dc, f);
  SetBkMode(s.dc, TRANSPARENT);
  for (auto _ : st) {
    RECT r{10, 10, 310, 400};
    DrawText(s.dc, kParagraph, -1, &r, DT_WORDBREAK);
  }
  SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(f);
}
// cairo has no paragraph layout of its own: the same greedy word wrap, measured with
// cairo_text_extents, drawn line by line.
void cairo_paragraph(benchmark::State& st) {
  CairoSurface c(kW, kH);
  cairo_set_antialias(c.cr, CAIRO_ANTIALIAS_GRAY);
  cairo_select_font_face(c.cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(c.cr, 13);
  cairo_set_source_rgb(c.cr, 0, 0, 0);
  const std::string text = kParagraph;
  for (auto _ : st) {
    double y = 22;
    std::string line;
    size_t i = 0;
    while (i < text.size()) {
      size_t j = text.find(' ', i);
      if (j == std::string::npos) j = text.size();
      const std::string word = text.substr(i, j - i);
      const std::string candidate = line.empty() ? word : line + " " + word;
      cairo_text_extents_t e;
      cairo_text_extents(c.cr, candidate.c_str(), &e);
      if (e.x_advance > 300 && !line.empty()) {
        cairo_move_to(c.cr, 10, y);
        cairo_show_text(c.cr, line.c_str());
        y += 16;
        line = word;
      } else {
        line = candidate;
      }
      i = j + 1;
    }
    cairo_move_to(c.cr, 10, y);
    cairo_show_text(c.cr, line.c_str());
  }
  cairo_surface_flush(c.s);
}

}  // namespace

BENCHMARK(ours_textout)->Name("ours/10k TextOut 20 chars")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_textout)->Name("cairo/10k TextOut 20 chars")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_paragraph)->Name("ours/DrawText paragraph")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_paragraph)->Name("cairo/DrawText paragraph")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_solid)->Name("ours/solid fill 1920x1080")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_solid)->Name("cairo/solid fill 1920x1080")->Unit(benchmark::kMicrosecond);
BENCHMARK(ceiling_solid)->Name("ceiling/solid fill 1920x1080")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_small_rects)->Name("ours/10k rects 16x16")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_small_rects)->Name("cairo/10k rects 16x16")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_star)->Name("ours/polygon star 100 pts")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_star)->Name("cairo/polygon star 100 pts")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_ellipse)->Name("ours/ellipse fill 1600x800")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_ellipse)->Name("cairo/ellipse fill 1600x800")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_srccopy)->Name("ours/BitBlt SRCCOPY 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_srccopy)->Name("cairo/BitBlt SRCCOPY 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(ceiling_blit)->Name("ceiling/BitBlt SRCCOPY 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_srcand)->Name("ours/BitBlt SRCAND 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_srcand)->Name("cairo/BitBlt SRCAND 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(ceiling_blit)->Name("ceiling/BitBlt SRCAND 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_stretch)->Name("ours/StretchBlt 2x 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_stretch)->Name("cairo/StretchBlt 2x 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(ceiling_blit)->Name("ceiling/StretchBlt 2x 1024x768")->Unit(benchmark::kMicrosecond);
BENCHMARK(ours_pattern)->Name("ours/pattern fill 1920x1080")->Unit(benchmark::kMicrosecond);
BENCHMARK(cairo_pattern)->Name("cairo/pattern fill 1920x1080")->Unit(benchmark::kMicrosecond);
BENCHMARK(ceiling_solid)->Name("ceiling/pattern fill 1920x1080")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return RunWithRatios(argc, argv); }
