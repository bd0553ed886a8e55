// Fonts as GDI objects, text metrics and measuring, TextOut/ExtTextOut, font enumeration and
// the system's non-client fonts.
#include <algorithm>
#include <strings.h>

#include <cmath>
#include <cstring>
#include <string_view>

#include "platform/gdi/dc.h"
#include "platform/gdi/font_engine.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/scan.h"
#include "platform/win32/text.h"
#include "platform/win32/user.h"

using gdi::DeviceContext;
using gdi::RealizedFont;

namespace {

DeviceContext* DC(HDC hdc) { return gdi::Get<DeviceContext>(hdc); }

// The realised font selected into a DC (realised on first use and kept with the font).
RealizedFont* FontOf(DeviceContext& dc) {
  gdi::Font* font = dc.state().font.get();
  if (!font) return nullptr;
  if (!font->realized) font->realized = gdi::Realize(font->logfont);
  return font->realized.get();
}

std::string_view TextArg(LPCSTR text, int count) {
  if (!text) return {};
  if (count < 0) return std::string_view(text);
  return std::string_view(text, static_cast<size_t>(count));
}

std::vector<uint32_t> Decode(std::string_view text) {
  std::vector<uint32_t> cps;
  cps.reserve(text.size());
  for (size_t i = 0; i < text.size();) cps.push_back(gdi::NextCodePoint(text, i));
  return cps;
}

// Fills the box that runs `length` pixels along the baseline direction from the surface
// point (ox, oy), from `from` to `to` pixels down from it (negative = above).
void FillAlongBaseline(DeviceContext& dc, const gdi::Region& clip, double ox, double oy, double dx, double dy,
                       int length, int from, int to, const gdi::Ink& ink) {
  if (length == 0 || from >= to) return;
  if (dx == 1.0 && dy == 0.0) {
    const int x0 = static_cast<int>(std::lround(ox)), y0 = static_cast<int>(std::lround(oy));
    const RECT r{std::min(x0, x0 + length), y0 + from, std::max(x0, x0 + length), y0 + to};
    gdi::FillRects(dc.surface(), clip, &r, 1, ink);
    return;
  }
  // "down" is the baseline direction turned a quarter clockwise on screen.
  const double nx = -dy, ny = dx;
  const double xs[4] = {ox + nx * from, ox + dx * length + nx * from, ox + dx * length + nx * to, ox + nx * to};
  const double ys[4] = {oy + ny * from, oy + dy * length + ny * from, oy + dy * length + ny * to, oy + ny * to};
  // Pixel centres inside the quadrilateral: sample points are integer, so shift by half.
  gdi::FixPoint quad[4];
  for (int i = 0; i < 4; ++i)
    quad[i] = gdi::FixPoint{std::llround((xs[i] - 0.5) * gdi::kSubOne), std::llround((ys[i] - 0.5) * gdi::kSubOne)};
  const int count = 4;
  gdi::ScanPolygons(quad, &count, 1, WINDING, clip.bounds(), [&](int top, int bottom, const gdi::Intervals& runs) {
    gdi::FillBand(dc.surface(), clip, top, bottom, runs.data(), runs.size(), ink);
  });
}

BOOL DrawString(HDC hdc, int x, int y, UINT options, const RECT* rc, std::string_view text, const INT* dx) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  RealizedFont* font = FontOf(*dc);
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  gdi::DCState& st = dc->state();
  const TEXTMETRIC& tm = font->metrics();
  // Reused between calls: text output must not allocate once warmed up.
  static thread_local std::vector<uint32_t> cps;
  static thread_local std::vector<int> advances;
  cps.clear();
  for (size_t i = 0; i < text.size();) cps.push_back(gdi::NextCodePoint(text, i));
  advances.resize(cps.size());
  int width = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    advances[i] = dx ? dx[i] : font->Advance(cps[i]) + st.char_extra;
    width += advances[i];
  }

  const bool update_cp = st.text_align & TA_UPDATECP;
  const POINT ref = update_cp ? st.current_pos : POINT{x, y};
  const UINT halign = st.text_align & (TA_CENTER | TA_RIGHT);
  const UINT valign = st.text_align & TA_BASELINE;
  const int along = halign == TA_CENTER ? -width / 2 : halign == TA_RIGHT ? -width : 0;
  const int down = valign == TA_BASELINE ? 0 : valign == TA_BOTTOM ? -tm.tmDescent : tm.tmAscent;

  const double angle = font->escapement() * M_PI / 1800.0;
  const double dir_x = font->rotated() ? std::cos(angle) : 1.0;
  const double dir_y = font->rotated() ? -std::sin(angle) : 0.0;
  const POINT sref = dc->ToSurface(ref);
  // The start of the baseline, in surface coordinates.
  const double ox = sref.x + along * dir_x - down * dir_y;
  const double oy = sref.y + along * dir_y + down * dir_x;

  const gdi::Pixel text_px = dc->Resolve(st.text_color);
  const gdi::Ink bk_ink = gdi::Ink::Solid(R2_COPYPEN, dc->Resolve(st.bk_color));
  if ((options & ETO_OPAQUE) && rc) gdi::FillLogicalRect(*dc, *rc, bk_ink);

  gdi::Region clip_storage;
  const gdi::Region* clip = &dc->EffectiveClip();
  if ((options & ETO_CLIPPED) && rc) {
    const POINT a = dc->ToSurface(POINT{rc->left, rc->top});
    const POINT b = dc->ToSurface(POINT{rc->right, rc->bottom});
    clip_storage = clip->Intersected(RECT{a.x, a.y, b.x, b.y});
    clip = &clip_storage;
  }

  if (st.bk_mode == OPAQUE)
    FillAlongBaseline(*dc, *clip, ox, oy, dir_x, dir_y, width, -tm.tmAscent, tm.tmDescent, bk_ink);

  double pen_x = ox, pen_y = oy;
  for (size_t i = 0; i < cps.size(); ++i) {
    const gdi::Glyph& g = font->GetGlyph(cps[i]);
    if (g.width > 0) {
      const int gx = static_cast<int>(std::lround(pen_x)) + g.left;
      const int gy = static_cast<int>(std::lround(pen_y)) - g.top;
      gdi::DrawCoverage(dc->surface(), *clip, gx, gy, g.width, g.height, g.coverage.data(), text_px);
    }
    pen_x += advances[i] * dir_x;
    pen_y += advances[i] * dir_y;
  }

  const gdi::Ink text_ink = gdi::Ink::Solid(R2_COPYPEN, text_px);
  if (font->underline())
    FillAlongBaseline(*dc, *clip, ox, oy, dir_x, dir_y, width, font->underline_offset(),
                      font->underline_offset() + font->underline_thickness(), text_ink);
  if (font->strike_out())
    FillAlongBaseline(*dc, *clip, ox, oy, dir_x, dir_y, width, font->strike_offset(),
                      font->strike_offset() + font->strike_thickness(), text_ink);

  if (update_cp && halign != TA_CENTER) {
    const int move = halign == TA_RIGHT ? -width : width;
    st.current_pos.x = ref.x + static_cast<LONG>(std::lround(move * dir_x));
    st.current_pos.y = ref.y + static_cast<LONG>(std::lround(move * dir_y));
  }
  return TRUE;
}

LOGFONT DefaultLogFont(const char* face, LONG height, LONG weight) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

// Calls proc for one face in one style; returns what proc returned.
int EnumOne(const gdi::FaceInfo& face, LONG height, LONG weight, bool italic, const FONTENUMPROC& proc,
            LPARAM data) {
  LOGFONT lf = DefaultLogFont(face.name.c_str(), height, weight);
  lf.lfItalic = italic;
  lf.lfCharSet = face.charset;
  lf.lfPitchAndFamily = static_cast<BYTE>(face.family | (face.fixed_pitch ? FIXED_PITCH : VARIABLE_PITCH));
  auto realized = gdi::Realize(lf);
  if (!realized) return 1;
  TEXTMETRIC tm = realized->metrics();
  lf.lfHeight = tm.tmHeight;
  lf.lfWidth = tm.tmAveCharWidth;
  lf.lfWeight = tm.tmWeight;
  lf.lfOutPrecision = face.raster ? 2 : 3;  // OUT_STRING_PRECIS / OUT_STROKE_PRECIS
  lf.lfQuality = face.raster ? DRAFT_QUALITY : PROOF_QUALITY;
  return proc(&lf, &tm, face.raster ? RASTER_FONTTYPE : TRUETYPE_FONTTYPE, data);
}

// Every style (TrueType) or size (raster) of one face.
int EnumStyles(const gdi::FaceInfo& face, const FONTENUMPROC& proc, LPARAM data) {
  int ret = 1;
  if (face.raster) {
    for (const gdi::RasterSize& s : face.sizes)
      if ((ret = EnumOne(face, s.height, face.default_weight, false, proc, data)) == 0) return 0;
    return ret;
  }
  for (int style = 0; style < 4; ++style)
    if ((ret = EnumOne(face, -12, style & gdi::kBold ? FW_BOLD : FW_NORMAL, style & gdi::kItalic, proc, data)) == 0)
      return 0;
  return ret;
}

const gdi::FaceInfo* ExactFace(LPCSTR name) {
  for (const gdi::FaceInfo& f : gdi::Faces())
    if (strcasecmp(f.name.c_str(), name) == 0) return &f;
  return nullptr;
}

int EnumAll(LPCSTR face, BYTE charset, const FONTENUMPROC& proc, LPARAM data) {
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (face && *face) {
    const gdi::FaceInfo* f = ExactFace(face);
    return f ? EnumStyles(*f, proc, data) : 1;
  }
  int ret = 1;
  for (const gdi::FaceInfo& f : gdi::Faces()) {
    if (charset != DEFAULT_CHARSET && f.charset != charset) continue;
    const LONG height = f.raster ? f.sizes.front().height : -12;
    if ((ret = EnumOne(f, height, f.default_weight, false, proc, data)) == 0) return 0;
  }
  return ret;
}

}  // namespace

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto font = std::make_shared<gdi::Font>();
  font->logfont = *lf;
  font->logfont.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(gdi::Register(font));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strike_out, DWORD charset, DWORD out_precision, DWORD clip_precision, DWORD quality,
                 DWORD pitch_and_family, LPCSTR face) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic != 0);
  lf.lfUnderline = static_cast<BYTE>(underline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(strike_out != 0);
  lf.lfCharSet = static_cast<BYTE>(charset);
  lf.lfOutPrecision = static_cast<BYTE>(out_precision);
  lf.lfClipPrecision = static_cast<BYTE>(clip_precision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitch_and_family);
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !tm) return FALSE;
  RealizedFont* font = FontOf(*dc);
  if (!font) return FALSE;
  *tm = font->metrics();
  return TRUE;
}

int GetTextFace(HDC hdc, int count, LPSTR face) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return 0;
  RealizedFont* font = FontOf(*dc);
  if (!font) return 0;
  const std::string& name = font->face().name;
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) return 0;
  const size_t n = std::min(name.size(), static_cast<size_t>(count - 1));
  std::memcpy(face, name.data(), n);
  face[n] = 0;
  return static_cast<int>(n) + 1;
}

BOOL GetTextExtentExPoint(HDC hdc, LPCSTR text, int count, int max_extent, LPINT fit, LPINT dx, LPSIZE size) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !size || (count > 0 && !text)) return FALSE;
  RealizedFont* font = FontOf(*dc);
  if (!font) return FALSE;
  const std::vector<uint32_t> cps = Decode(TextArg(text, count));
  int extent = 0, fitted = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    extent += font->Advance(cps[i]) + dc->state().char_extra;
    if (dx) dx[i] = extent;
    if (extent <= max_extent) fitted = static_cast<int>(i) + 1;
  }
  if (fit) *fit = fitted;
  *size = SIZE{extent, font->metrics().tmHeight};
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentExPoint(hdc, text, count, 0, nullptr, nullptr, size);
}

BOOL GetTextExtentPoint(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentPoint32(hdc, text, count, size);
}

BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, LPINT widths) {
  DeviceContext* dc = DC(hdc);
  if (!dc || !widths || last < first || last - first > 0x10FFFF) return FALSE;
  RealizedFont* font = FontOf(*dc);
  if (!font) return FALSE;
  for (UINT c = first; c <= last; ++c) widths[c - first] = font->Advance(c);
  return TRUE;
}

BOOL GetCharWidth(HDC hdc, UINT first, UINT last, LPINT widths) { return GetCharWidth32(hdc, first, last, widths); }

UINT SetTextAlign(HDC hdc, UINT align) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return GDI_ERROR;
  const UINT old = dc->state().text_align;
  dc->state().text_align = align;
  return old;
}

UINT GetTextAlign(HDC hdc) {
  DeviceContext* dc = DC(hdc);
  return dc ? dc->state().text_align : GDI_ERROR;
}

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count) {
  if (count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return DrawString(hdc, x, y, 0, nullptr, TextArg(text, count), nullptr);
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count, const INT* dx) {
  if (count > 0 && !text) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return DrawString(hdc, x, y, options, rc, TextArg(text, static_cast<int>(count)), dx);
}

int EnumFonts(HDC, LPCSTR face, FONTENUMPROC proc, LPARAM data) { return EnumAll(face, DEFAULT_CHARSET, proc, data); }

int EnumFontFamilies(HDC, LPCSTR family, FONTENUMPROC proc, LPARAM data) {
  return EnumAll(family, DEFAULT_CHARSET, proc, data);
}

int EnumFontFamiliesEx(HDC, const LOGFONT* lf, FONTENUMPROC proc, LPARAM data, DWORD) {
  if (!lf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  char face[LF_FACESIZE + 1] = {};
  std::memcpy(face, lf->lfFaceName, LF_FACESIZE);
  return EnumAll(face, lf->lfCharSet, proc, data);
}

BOOL SystemParametersInfo(UINT action, UINT, LPVOID out, UINT) {
  if (!out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
      auto* ncm = static_cast<NONCLIENTMETRICS*>(out);
      if (ncm->cbSize != sizeof(NONCLIENTMETRICS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      ncm->iBorderWidth = 1;
      ncm->iScrollWidth = ncm->iScrollHeight = 16;
      ncm->iCaptionWidth = ncm->iCaptionHeight = 18;
      ncm->lfCaptionFont = DefaultLogFont("MS Sans Serif", -11, FW_BOLD);
      ncm->iSmCaptionWidth = 13;
      ncm->iSmCaptionHeight = 15;
      ncm->lfSmCaptionFont = DefaultLogFont("MS Sans Serif", -11, FW_NORMAL);
      ncm->iMenuWidth = ncm->iMenuHeight = 18;
      ncm->lfMenuFont = ncm->lfStatusFont = ncm->lfMessageFont = DefaultLogFont("MS Sans Serif", -11, FW_NORMAL);
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      *static_cast<LOGFONT*>(out) = DefaultLogFont("MS Sans Serif", -11, FW_NORMAL);
      return TRUE;
    case SPI_GETSCREENSAVETIMEOUT: *static_cast<INT*>(out) = 900; return TRUE;
    case SPI_GETGRADIENTCAPTIONS: *static_cast<BOOL*>(out) = FALSE; return TRUE;
    case SPI_GETWORKAREA:
      *static_cast<RECT*>(out) = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      return TRUE;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
}
