#include "platform/gdi/font_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <cstddef>
#include <list>

namespace gdi {
namespace {

FT_Library Library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) l = nullptr;
    return l;
  }();
  return lib;
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Realised fonts kept alive for reuse; the least recently asked for goes first.
constexpr size_t kFontCacheSize = 64;

std::string CacheKey(const LOGFONT& lf) {
  std::string key(reinterpret_cast<const char*>(&lf), offsetof(LOGFONT, lfFaceName));
  for (int i = 0; i < LF_FACESIZE && lf.lfFaceName[i]; ++i)
    key += static_cast<char>(std::tolower(static_cast<unsigned char>(lf.lfFaceName[i])));
  return key;
}

// The raster size a height request selects: the largest not above it, else the smallest.
const RasterSize& PickRasterSize(const FaceInfo& face, LONG height) {
  const RasterSize* best = nullptr;
  for (const RasterSize& s : face.sizes) {
    const int measure = height < 0 ? s.height - s.internal_leading : s.height;
    if (height == 0 || measure <= std::abs(height)) {
      if (height == 0) return s;
      best = &s;
    }
  }
  return best ? *best : face.sizes.front();
}

}  // namespace

bool SmoothingDisabled() {
  static const bool disabled = [] {
    const char* v = std::getenv("SHOWRAMA_FONT_SMOOTHING");
    return v && std::strcmp(v, "0") == 0;
  }();
  return disabled;
}

uint32_t NextCodePoint(std::string_view text, size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  auto cont = [&](size_t k) {
    return i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
  };
  auto at = [&](size_t k) { return static_cast<uint32_t>(static_cast<unsigned char>(text[i + k]) & 0x3F); };
  if (b0 >= 0xC2 && b0 <= 0xDF && cont(1)) {
    const uint32_t cp = ((b0 & 0x1Fu) << 6) | at(1);
    i += 2;
    return cp;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF && cont(1) && cont(2)) {
    const uint32_t cp = ((b0 & 0x0Fu) << 12) | (at(1) << 6) | at(2);
    if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
      i += 3;
      return cp;
    }
  }
  if (b0 >= 0xF0 && b0 <= 0xF4 && cont(1) && cont(2) && cont(3)) {
    const uint32_t cp = ((b0 & 0x07u) << 18) | (at(1) << 12) | (at(2) << 6) | at(3);
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      i += 4;
      return cp;
    }
  }
  ++i;
  return b0;  // ASCII, or a stray byte read as Latin-1
}

RealizedFont::~RealizedFont() {
  if (ft_face_) FT_Done_Face(static_cast<FT_Face>(ft_face_));
}

bool RealizedFont::Load(const LOGFONT& lf, const FaceInfo& face) {
  face_ = &face;
  const LONG weight = lf.lfWeight == FW_DONTCARE ? face.default_weight : lf.lfWeight;
  // The raster System face exists only in bold.
  const bool bold = weight >= FW_SEMIBOLD || (face.raster && face.default_weight >= FW_BOLD);
  const bool italic = lf.lfItalic != 0;
  const int style = (bold ? kBold : 0) | (italic ? kItalic : 0);
  // Prefer the real style's file; otherwise synthesise from the nearest one.
  std::string file = face.files[style];
  if (file.empty() && italic && !face.files[kItalic].empty()) {
    file = face.files[kItalic];
    synth_bold_ = bold;
  } else if (file.empty() && bold && !face.files[kBold].empty()) {
    file = face.files[kBold];
    synth_italic_ = italic;
  } else if (file.empty()) {
    file = face.files[kRegular];
    synth_bold_ = bold;
    synth_italic_ = italic;
  }
  FT_Face ft = nullptr;
  if (!Library() || FT_New_Face(Library(), file.c_str(), 0, &ft) != 0) return false;
  ft_face_ = ft;
  FT_Select_Charmap(ft, FT_ENCODING_UNICODE);

  underline_ = lf.lfUnderline != 0;
  strike_out_ = lf.lfStrikeOut != 0;
  tm_.tmWeight = bold && weight < FW_BOLD ? FW_BOLD : weight;
  tm_.tmItalic = italic;
  tm_.tmUnderlined = underline_;
  tm_.tmStruckOut = strike_out_;
  tm_.tmCharSet = face.charset;
  tm_.tmDigitizedAspectX = tm_.tmDigitizedAspectY = 96;
  tm_.tmFirstChar = 0x20;
  tm_.tmLastChar = 0xFF;
  tm_.tmDefaultChar = 0x1F;
  tm_.tmBreakChar = 0x20;
  // TMPF_FIXED_PITCH is set for variable-pitch fonts (sic).
  tm_.tmPitchAndFamily = static_cast<BYTE>(face.family | (face.fixed_pitch ? 0 : TMPF_FIXED_PITCH));
  if (synth_bold_) extra_advance_ = 1;

  const FT_UShort upem = ft->units_per_EM ? ft->units_per_EM : 2048;
  const TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
  const TT_HoriHeader* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
  const double win_ascent = os2 && os2->usWinAscent ? os2->usWinAscent : ft->ascender;
  const double win_descent = os2 && os2->usWinDescent ? os2->usWinDescent : -ft->descender;

  double em_pixels;  // the size glyphs are rendered at
  if (face.raster) {
    // Raster faces come in fixed sizes with the classic metrics; they never rotate or smooth.
    const RasterSize& rs = PickRasterSize(face, lf.lfHeight);
    tm_.tmHeight = rs.height;
    tm_.tmAscent = rs.ascent;
    tm_.tmDescent = rs.descent;
    tm_.tmInternalLeading = rs.internal_leading;
    tm_.tmAveCharWidth = rs.ave_char_width;
    tm_.tmMaxCharWidth = rs.max_char_width;
    em_pixels = rs.height - rs.internal_leading;
    smooth_ = false;
    escapement_ = 0;
    underline_offset_ = 1;
    underline_thickness_ = 1;
    strike_offset_ = -std::max(1, (rs.ascent + 1) / 3);
    strike_thickness_ = 1;
  } else {
    double scale;  // pixels per font unit
    if (lf.lfHeight < 0) {
      scale = -static_cast<double>(lf.lfHeight) / upem;
      tm_.tmAscent = Round(win_ascent * scale);
      tm_.tmDescent = Round(win_descent * scale);
    } else {
      const double cell = lf.lfHeight == 0 ? 16.0 : lf.lfHeight;
      scale = cell / (win_ascent + win_descent);
      tm_.tmAscent = Round(win_ascent * scale);
      tm_.tmDescent = static_cast<LONG>(cell) - tm_.tmAscent;
    }
    em_pixels = scale * upem;
    tm_.tmHeight = tm_.tmAscent + tm_.tmDescent;
    tm_.tmInternalLeading = std::max(0, tm_.tmHeight - Round(em_pixels));
    if (hhea) {
      const double gap = hhea->Line_Gap - ((win_ascent + win_descent) - (hhea->Ascender - hhea->Descender));
      tm_.tmExternalLeading = std::max(0, Round(gap * scale));
    }
    tm_.tmAveCharWidth = std::max(1, Round((os2 ? os2->xAvgCharWidth : upem / 2) * scale));
    tm_.tmMaxCharWidth = std::max(1, Round((ft->bbox.xMax - ft->bbox.xMin) * scale));
    tm_.tmPitchAndFamily |= TMPF_TRUETYPE | TMPF_VECTOR;
    smooth_ = lf.lfQuality != NONANTIALIASED_QUALITY && !SmoothingDisabled();
    escapement_ = lf.lfEscapement % 3600;
    if (escapement_ < 0) escapement_ += 3600;
    const TT_Postscript* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(ft, FT_SFNT_POST));
    if (post) {
      underline_thickness_ = std::max(1, Round(post->underlineThickness * scale));
      underline_offset_ = std::max(1, Round(-post->underlinePosition * scale) - underline_thickness_ / 2);
    }
    if (os2 && os2->yStrikeoutSize > 0) {
      strike_thickness_ = std::max(1, Round(os2->yStrikeoutSize * scale));
      strike_offset_ = -Round(os2->yStrikeoutPosition * scale);
    } else {
      strike_offset_ = -Round(tm_.tmAscent * 0.3);
    }
  }
  // A requested average width stretches the font horizontally.
  double width_pixels = em_pixels;
  if (lf.lfWidth > 0 && tm_.tmAveCharWidth > 0) {
    width_pixels = em_pixels * lf.lfWidth / tm_.tmAveCharWidth;
    tm_.tmMaxCharWidth = Round(tm_.tmMaxCharWidth * static_cast<double>(lf.lfWidth) / tm_.tmAveCharWidth);
    tm_.tmAveCharWidth = lf.lfWidth;
  }
  if (FT_Set_Char_Size(ft, static_cast<FT_F26Dot6>(std::lround(width_pixels * 64)),
                       static_cast<FT_F26Dot6>(std::lround(em_pixels * 64)), 72, 72) != 0)
    return false;
  if (synth_bold_) {
    tm_.tmAveCharWidth += 1;
    tm_.tmMaxCharWidth += 1;
  }
  return true;
}

Glyph RealizedFont::Render(uint32_t cp) {
  auto ft = static_cast<FT_Face>(ft_face_);
  Glyph g;
  const FT_Int32 target = smooth_ ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
  FT_UInt index = FT_Get_Char_Index(ft, cp);
  // The advance is measured unrotated, hinted to whole pixels, as GDI does.
  FT_Set_Transform(ft, nullptr, nullptr);
  if (FT_Load_Glyph(ft, index, FT_LOAD_DEFAULT | target) != 0) return g;
  g.advance = static_cast<int>((ft->glyph->advance.x + 32) >> 6) + extra_advance_;
  if (rotated()) {
    const double a = escapement_ * M_PI / 1800.0;
    FT_Matrix m;
    m.xx = static_cast<FT_Fixed>(std::lround(std::cos(a) * 65536));
    m.xy = static_cast<FT_Fixed>(std::lround(-std::sin(a) * 65536));
    m.yx = static_cast<FT_Fixed>(std::lround(std::sin(a) * 65536));
    m.yy = m.xx;
    FT_Set_Transform(ft, &m, nullptr);
    if (FT_Load_Glyph(ft, index, FT_LOAD_DEFAULT | FT_LOAD_NO_HINTING | target) != 0) return g;
  }
  FT_GlyphSlot slot = ft->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (synth_italic_) FT_GlyphSlot_Oblique(slot);
    if (synth_bold_) FT_Outline_Embolden(&slot->outline, 64);  // one pixel wider, as the synthetic bold advance
  }
  if (FT_Render_Glyph(slot, smooth_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return g;
  const FT_Bitmap& bm = slot->bitmap;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(bm.width);
  g.height = static_cast<int>(bm.rows);
  g.coverage.resize(static_cast<size_t>(g.width) * g.height);
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
    uint8_t* out = &g.coverage[static_cast<size_t>(y) * g.width];
    if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (int x = 0; x < g.width; ++x) out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    } else {
      std::memcpy(out, row, static_cast<size_t>(g.width));
    }
  }
  return g;
}

const Glyph& RealizedFont::SlowGlyph(uint32_t cp) {
  auto it = glyphs_.find(cp);
  if (it != glyphs_.end()) return it->second;
  return glyphs_.emplace(cp, Render(cp)).first->second;
}

std::shared_ptr<RealizedFont> Realize(const LOGFONT& lf) {
  static std::list<std::pair<std::string, std::shared_ptr<RealizedFont>>> cache;
  const std::string key = CacheKey(lf);
  for (auto it = cache.begin(); it != cache.end(); ++it) {
    if (it->first == key) {
      cache.splice(cache.begin(), cache, it);
      return it->second;
    }
  }
  char face_name[LF_FACESIZE + 1] = {};
  std::memcpy(face_name, lf.lfFaceName, LF_FACESIZE);
  const FaceInfo* face = FindFace(face_name, lf.lfPitchAndFamily);
  if (!face) return nullptr;
  std::shared_ptr<RealizedFont> font(new RealizedFont);
  if (!font->Load(lf, *face)) return nullptr;
  cache.emplace_front(key, font);
  if (cache.size() > kFontCacheSize) cache.pop_back();
  return font;
}

}  // namespace gdi
