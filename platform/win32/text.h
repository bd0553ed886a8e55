// Text: fonts, metrics, text output, DrawText, disabled-text drawing and the system's
// non-client fonts, with Win32 names, signatures and constant values. Strings are UTF-8;
// counts are in bytes (-1 = up to the terminating zero where Win32 allows it).
#pragma once

#include <functional>

#include "platform/win32/gdi.h"

// [SECTION] Fonts ----------------------------------------------------------------------

HFONT CreateFontIndirect(const LOGFONT* lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, LPCSTR face);

inline constexpr BYTE TMPF_FIXED_PITCH = 0x01;  // set for VARIABLE pitch fonts (sic, as on Win32)
inline constexpr BYTE TMPF_VECTOR = 0x02;
inline constexpr BYTE TMPF_TRUETYPE = 0x04;
inline constexpr BYTE TMPF_DEVICE = 0x08;

struct TEXTMETRIC {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
using TEXTMETRICA = TEXTMETRIC;

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm);
int GetTextFace(HDC hdc, int count, LPSTR face);
BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, LPSIZE size);
BOOL GetTextExtentPoint(HDC hdc, LPCSTR text, int count, LPSIZE size);
// Fits characters into maxExtent (when fit is given) and reports each partial extent.
BOOL GetTextExtentExPoint(HDC hdc, LPCSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size);
BOOL GetCharWidth32(HDC hdc, UINT first, UINT last, LPINT widths);
BOOL GetCharWidth(HDC hdc, UINT first, UINT last, LPINT widths);

// Font enumeration
inline constexpr DWORD RASTER_FONTTYPE = 0x0001;
inline constexpr DWORD DEVICE_FONTTYPE = 0x0002;
inline constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;
inline constexpr int LF_FULLFACESIZE = 64;

struct ENUMLOGFONTEX {
  LOGFONT elfLogFont;
  CHAR elfFullName[LF_FULLFACESIZE];
  CHAR elfStyle[LF_FACESIZE];
  CHAR elfScript[LF_FACESIZE];
};
using ENUMLOGFONT = ENUMLOGFONTEX;

struct NEWTEXTMETRIC {
  TEXTMETRIC tm;
  DWORD ntmFlags;
  UINT ntmSizeEM;
  UINT ntmCellHeight;
  UINT ntmAvgWidth;
};

// Return 0 from the callback to stop the enumeration.
using FONTENUMPROC = std::function<int(const LOGFONT* lf, const TEXTMETRIC* tm, DWORD fontType, LPARAM data)>;
int EnumFonts(HDC hdc, LPCSTR face, FONTENUMPROC proc, LPARAM data);
int EnumFontFamilies(HDC hdc, LPCSTR family, FONTENUMPROC proc, LPARAM data);
int EnumFontFamiliesEx(HDC hdc, const LOGFONT* lf, FONTENUMPROC proc, LPARAM data, DWORD flags);

// [SECTION] Text output ----------------------------------------------------------------

inline constexpr UINT TA_NOUPDATECP = 0;
inline constexpr UINT TA_UPDATECP = 1;
inline constexpr UINT TA_LEFT = 0;
inline constexpr UINT TA_RIGHT = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr UINT TA_TOP = 0;
inline constexpr UINT TA_BOTTOM = 8;
inline constexpr UINT TA_BASELINE = 24;
inline constexpr UINT TA_RTLREADING = 256;
inline constexpr UINT GDI_ERROR_ALIGN = 0xFFFFFFFF;

UINT SetTextAlign(HDC hdc, UINT align);
UINT GetTextAlign(HDC hdc);

inline constexpr UINT ETO_OPAQUE = 0x0002;
inline constexpr UINT ETO_CLIPPED = 0x0004;

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count);
// dx: the advance of each character (count entries) instead of the font's own.
BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count, const INT* dx);

// [SECTION] DrawText -------------------------------------------------------------------

inline constexpr UINT DT_TOP = 0x00000000;
inline constexpr UINT DT_LEFT = 0x00000000;
inline constexpr UINT DT_CENTER = 0x00000001;
inline constexpr UINT DT_RIGHT = 0x00000002;
inline constexpr UINT DT_VCENTER = 0x00000004;
inline constexpr UINT DT_BOTTOM = 0x00000008;
inline constexpr UINT DT_WORDBREAK = 0x00000010;
inline constexpr UINT DT_SINGLELINE = 0x00000020;
inline constexpr UINT DT_EXPANDTABS = 0x00000040;
inline constexpr UINT DT_TABSTOP = 0x00000080;
inline constexpr UINT DT_NOCLIP = 0x00000100;
inline constexpr UINT DT_EXTERNALLEADING = 0x00000200;
inline constexpr UINT DT_CALCRECT = 0x00000400;
inline constexpr UINT DT_NOPREFIX = 0x00000800;
inline constexpr UINT DT_INTERNAL = 0x00001000;
inline constexpr UINT DT_EDITCONTROL = 0x00002000;
inline constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
inline constexpr UINT DT_END_ELLIPSIS = 0x00008000;
inline constexpr UINT DT_MODIFYSTRING = 0x00010000;
inline constexpr UINT DT_RTLREADING = 0x00020000;
inline constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
inline constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
inline constexpr UINT DT_HIDEPREFIX = 0x00100000;
inline constexpr UINT DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
  UINT cbSize;
  int iTabLength;
  int iLeftMargin;
  int iRightMargin;
  UINT uiLengthDrawn;
};

// Returns the height of the text drawn (or measured with DT_CALCRECT); 0 on failure.
int DrawText(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format);
int DrawTextEx(HDC hdc, LPSTR text, int count, LPRECT rc, UINT format, DRAWTEXTPARAMS* params);

// [SECTION] Disabled text and images ------------------------------------------------------

inline constexpr UINT DST_COMPLEX = 0x0000;
inline constexpr UINT DST_TEXT = 0x0001;
inline constexpr UINT DST_PREFIXTEXT = 0x0002;
inline constexpr UINT DST_ICON = 0x0003;
inline constexpr UINT DST_BITMAP = 0x0004;
inline constexpr UINT DSS_NORMAL = 0x0000;
inline constexpr UINT DSS_UNION = 0x0010;
inline constexpr UINT DSS_DISABLED = 0x0020;
inline constexpr UINT DSS_MONO = 0x0080;
inline constexpr UINT DSS_HIDEPREFIX = 0x0200;
inline constexpr UINT DSS_PREFIXONLY = 0x0400;
inline constexpr UINT DSS_RIGHT = 0x8000;

// lData is the UTF-8 text for DST_TEXT/DST_PREFIXTEXT, an HBITMAP for DST_BITMAP; wData its
// byte count (0 = up to the terminating zero). cx, cy of 0 mean the natural size.
using DRAWSTATEPROC = std::function<BOOL(HDC hdc, LPARAM lData, WPARAM wData, int cx, int cy)>;
BOOL DrawState(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM lData, WPARAM wData, int x, int y, int cx,
               int cy, UINT flags);
using GRAYSTRINGPROC = std::function<BOOL(HDC hdc, LPARAM lData, int count)>;
BOOL GrayString(HDC hdc, HBRUSH brush, GRAYSTRINGPROC proc, LPARAM lData, int count, int x, int y, int cx,
                int cy);

// [SECTION] System fonts ----------------------------------------------------------------

inline constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
inline constexpr UINT SPI_GETICONTITLELOGFONT = 0x001F;

struct NONCLIENTMETRICS {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONT lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONT lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONT lfMenuFont;
  LOGFONT lfStatusFont;
  LOGFONT lfMessageFont;
};

// SPI_GETNONCLIENTMETRICS (cbSize must be set) and SPI_GETICONTITLELOGFONT so far; the window
// manager adds the other actions.
BOOL SystemParametersInfo(UINT action, UINT param, LPVOID out, UINT winIni);
