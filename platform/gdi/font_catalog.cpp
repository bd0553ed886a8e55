#include "platform/gdi/font_catalog.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/gdi.h"

namespace gdi {
namespace {

// The file fontconfig picks for a family and style, or "" when it has nothing with that
// family name (fontconfig would otherwise fall back to any font).
std::string Match(const char* family, bool bold, bool italic) {
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pat, &result);
  std::string file;
  if (match) {
    FcChar8* got_family = nullptr;
    FcChar8* path = nullptr;
    int weight = 0, slant = 0;
    if (FcPatternGetString(match, FC_FAMILY, 0, &got_family) == FcResultMatch &&
        strcasecmp(reinterpret_cast<const char*>(got_family), family) == 0 &&
        FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch &&
        FcPatternGetInteger(match, FC_SLANT, 0, &slant) == FcResultMatch) {
      // Only take a true bold or italic; a regular file is synthesised instead.
      const bool is_bold = weight >= FC_WEIGHT_DEMIBOLD, is_italic = slant != FC_SLANT_ROMAN;
      if (is_bold == bold && is_italic == italic) file = reinterpret_cast<const char*>(path);
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pat);
  return file;
}

bool FillFiles(FaceInfo& face, const char* family) {
  for (int s = 0; s < 4; ++s) face.files[s] = Match(family, s & kBold, s & kItalic);
  return !face.files[kRegular].empty();
}

// The classic raster faces' sizes at 96 DPI.
const std::vector<RasterSize> kSansSerifSizes = {
    {13, 11, 2, 2, 5, 11}, {16, 13, 3, 3, 7, 14}, {20, 16, 4, 4, 8, 16},
    {24, 19, 5, 6, 9, 19}, {29, 23, 6, 5, 12, 24}, {37, 29, 8, 5, 16, 32},
};
const std::vector<RasterSize> kSystemSizes = {{16, 13, 3, 3, 7, 14}};
const std::vector<RasterSize> kCourierSizes = {{13, 11, 2, 0, 8, 8}, {16, 13, 3, 0, 9, 9}, {20, 16, 4, 0, 12, 12}};
const std::vector<RasterSize> kFixedsysSizes = {{15, 12, 3, 3, 8, 8}};
const std::vector<RasterSize> kTerminalSizes = {{12, 10, 2, 0, 8, 8}};

struct Classic {
  const char* name;
  const char* backing;  // installed family that draws it
  bool raster;
  bool fixed;
  BYTE family;
  BYTE charset;
  int weight;
  const std::vector<RasterSize>* sizes;
};

std::vector<FaceInfo> Build() {
  FcInit();
  const Classic classics[] = {
      {"MS Sans Serif", "Liberation Sans", true, false, FF_SWISS, ANSI_CHARSET, 400, &kSansSerifSizes},
      {"System", "Liberation Sans", true, false, FF_SWISS, ANSI_CHARSET, 700, &kSystemSizes},
      {"Courier", "Liberation Mono", true, true, FF_MODERN, ANSI_CHARSET, 400, &kCourierSizes},
      {"Fixedsys", "Liberation Mono", true, true, FF_MODERN, ANSI_CHARSET, 400, &kFixedsysSizes},
      {"Terminal", "Liberation Mono", true, true, FF_MODERN, OEM_CHARSET, 400, &kTerminalSizes},
      {"Arial", "Liberation Sans", false, false, FF_SWISS, ANSI_CHARSET, 400, nullptr},
      {"Times New Roman", "Liberation Serif", false, false, FF_ROMAN, ANSI_CHARSET, 400, nullptr},
      {"Courier New", "Liberation Mono", false, true, FF_MODERN, ANSI_CHARSET, 400, nullptr},
  };
  std::vector<FaceInfo> faces;
  for (const Classic& c : classics) {
    FaceInfo f;
    f.name = c.name;
    f.raster = c.raster;
    f.fixed_pitch = c.fixed;
    f.family = c.family;
    f.charset = c.charset;
    f.default_weight = c.weight;
    if (c.sizes) f.sizes = *c.sizes;
    if (FillFiles(f, c.backing)) faces.push_back(std::move(f));
  }
  // Every other installed scalable family under its own name.
  FcPattern* pat = FcPatternCreate();
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, FC_SPACING, nullptr);
  FcFontSet* set = FcFontList(nullptr, pat, os);
  std::vector<std::pair<std::string, bool>> families;
  for (int i = 0; set && i < set->nfont; ++i) {
    FcChar8* fam = nullptr;
    int spacing = FC_PROPORTIONAL;
    if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &fam) != FcResultMatch) continue;
    FcPatternGetInteger(set->fonts[i], FC_SPACING, 0, &spacing);
    families.emplace_back(reinterpret_cast<const char*>(fam), spacing == FC_MONO);
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(os);
  FcPatternDestroy(pat);
  std::sort(families.begin(), families.end());
  families.erase(std::unique(families.begin(), families.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 families.end());
  for (const auto& [name, mono] : families) {
    if (name.size() >= LF_FACESIZE) continue;  // could not be named in a LOGFONT
    FaceInfo f;
    f.name = name;
    f.fixed_pitch = mono;
    f.family = mono ? FF_MODERN : FF_DONTCARE;
    if (FillFiles(f, name.c_str())) faces.push_back(std::move(f));
  }
  return faces;
}

const FaceInfo* ByName(std::string_view name) {
  for (const FaceInfo& f : Faces())
    if (f.name.size() == name.size() && strncasecmp(f.name.data(), name.data(), name.size()) == 0) return &f;
  return nullptr;
}

}  // namespace

const std::vector<FaceInfo>& Faces() {
  static const std::vector<FaceInfo> faces = Build();
  return faces;
}

const FaceInfo* FindFace(std::string_view name, BYTE pitch_and_family) {
  // Names programs use for the classic faces under other spellings.
  static const std::pair<const char*, const char*> kAliases[] = {
      {"MS Shell Dlg", "MS Sans Serif"}, {"MS Shell Dlg 2", "Arial"}, {"Helv", "MS Sans Serif"},
      {"Helvetica", "Arial"},            {"Tms Rmn", "Times New Roman"}, {"Times", "Times New Roman"},
      {"Microsoft Sans Serif", "Arial"}, {"Tahoma", "Arial"},        {"Verdana", "Arial"},
  };
  if (!name.empty()) {
    if (const FaceInfo* f = ByName(name)) return f;
    for (const auto& [alias, target] : kAliases)
      if (strlen(alias) == name.size() && strncasecmp(alias, name.data(), name.size()) == 0)
        if (const FaceInfo* f = ByName(target)) return f;
  }
  const BYTE family = pitch_and_family & 0xF0;
  const char* fallback = "Arial";
  if (family == FF_ROMAN) fallback = "Times New Roman";
  else if (family == FF_MODERN || (pitch_and_family & 0x03) == FIXED_PITCH) fallback = "Courier New";
  if (const FaceInfo* f = ByName(fallback)) return f;
  return Faces().empty() ? nullptr : &Faces().front();
}

}  // namespace gdi
