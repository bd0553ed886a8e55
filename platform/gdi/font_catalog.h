// The font catalogue: which faces exist, under which names, backed by which font files.
//
// The classic faces are mapped onto installed metric-compatible fonts (the Liberation
// families). "MS Sans Serif", "System", "Courier", "Fixedsys" and "Terminal" behave as raster
// faces: fixed pixel sizes with the classic metrics, no TMPF_TRUETYPE, never smoothed.
// Installed families found by fontconfig appear under their own names as TrueType faces.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/types.h"

namespace gdi {

// One size of a raster face, with the metrics the classic face had at 96 DPI.
struct RasterSize {
  int height;    // tmHeight (cell)
  int ascent;
  int descent;
  int internal_leading;
  int ave_char_width;
  int max_char_width;
};

enum FontStyle : int { kRegular = 0, kBold = 1, kItalic = 2, kBoldItalic = 3 };

struct FaceInfo {
  std::string name;            // the face name programs see
  std::string files[4];        // by FontStyle; empty = synthesise from regular
  bool raster = false;
  bool fixed_pitch = false;
  BYTE family = 0;             // FF_SWISS, FF_ROMAN, FF_MODERN ...
  BYTE charset = 0;            // ANSI_CHARSET, OEM_CHARSET, SYMBOL_CHARSET
  int default_weight = 400;    // "System" is bold
  std::vector<RasterSize> sizes;  // raster faces only, ascending
};

// Every face, classic ones first (built once, on first use).
const std::vector<FaceInfo>& Faces();

// The face a LOGFONT face name, pitch and family select: the named face when it exists
// (case-insensitive), else the default of its family (Times New Roman for FF_ROMAN, Courier
// New for fixed pitch or FF_MODERN, Arial otherwise). Never null once fonts are installed;
// null when no font file at all can be found.
const FaceInfo* FindFace(std::string_view name, BYTE pitch_and_family);

}  // namespace gdi
