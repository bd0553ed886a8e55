// Realised fonts: a LOGFONT turned into a face, a pixel size, metrics and cached glyphs.
//
// Glyphs are rendered by FreeType, once per (realised font, character), and kept: a realised
// font is itself shared by every LOGFONT that asks for the same thing. Smoothing (grey-scale
// coverage) is on by default; raster faces, NONANTIALIASED_QUALITY and
// SHOWRAMA_FONT_SMOOTHING=0 give one-bit glyphs with exact, repeatable pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/gdi/font_catalog.h"
#include "platform/win32/text.h"

namespace gdi {

struct Glyph {
  int advance = 0;  // unrotated, in whole pixels (hinted), as GDI measures
  // The glyph image relative to the pen position on the baseline (rotated when the font is):
  // pixel (left + x, -top + y) for x < width, y < height.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;  // width * height, 0..255 (0 or 255 for one-bit glyphs)
};

class RealizedFont {
 public:
  ~RealizedFont();
  RealizedFont(const RealizedFont&) = delete;
  RealizedFont& operator=(const RealizedFont&) = delete;

  const FaceInfo& face() const { return *face_; }
  const TEXTMETRIC& metrics() const { return tm_; }
  bool smooth() const { return smooth_; }
  // Escapement in tenths of a degree, counter-clockwise.
  int escapement() const { return escapement_; }
  bool rotated() const { return escapement_ % 3600 != 0; }
  bool underline() const { return underline_; }
  bool strike_out() const { return strike_out_; }
  // Underline and strike-out bars: top offset below the baseline (negative = above) and
  // thickness, in pixels.
  int underline_offset() const { return underline_offset_; }
  int underline_thickness() const { return underline_thickness_; }
  int strike_offset() const { return strike_offset_; }
  int strike_thickness() const { return strike_thickness_; }

  const Glyph& GetGlyph(uint32_t code_point) {
    if (code_point < kDirect) {
      if (!direct_[code_point]) direct_[code_point] = &SlowGlyph(code_point);
      return *direct_[code_point];
    }
    return SlowGlyph(code_point);
  }
  int Advance(uint32_t code_point) { return GetGlyph(code_point).advance; }

 private:
  friend std::shared_ptr<RealizedFont> Realize(const LOGFONT& lf);
  RealizedFont() = default;
  bool Load(const LOGFONT& lf, const FaceInfo& face);
  Glyph Render(uint32_t code_point);
  const Glyph& SlowGlyph(uint32_t code_point);

  // Latin-1 glyphs are found by index; the map holds every glyph (its nodes never move).
  static constexpr uint32_t kDirect = 256;
  const Glyph* direct_[kDirect] = {};

  const FaceInfo* face_ = nullptr;
  void* ft_face_ = nullptr;  // FT_Face
  TEXTMETRIC tm_{};
  bool smooth_ = true;
  bool synth_bold_ = false;
  bool synth_italic_ = false;
  bool underline_ = false;
  bool strike_out_ = false;
  int escapement_ = 0;
  int extra_advance_ = 0;  // synthetic bold widens every character by a pixel
  int underline_offset_ = 1, underline_thickness_ = 1, strike_offset_ = -3, strike_thickness_ = 1;
  std::unordered_map<uint32_t, Glyph> glyphs_;
};

// The realised font for a LOGFONT (shared, cached). Null only when no font file exists.
std::shared_ptr<RealizedFont> Realize(const LOGFONT& lf);

// Whether smoothing is globally off (SHOWRAMA_FONT_SMOOTHING=0).
bool SmoothingDisabled();

// Decodes one UTF-8 character at text[i], advancing i; malformed bytes decode as themselves
// (Latin-1), so every byte string draws something.
uint32_t NextCodePoint(std::string_view text, size_t& i);

}  // namespace gdi
