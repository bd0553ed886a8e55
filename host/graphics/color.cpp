#include "host/graphics/color.h"

#include <strings.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "host/classes/sysutils.h"

namespace host {
namespace {

struct Named {
  TColor value;
  const char* name;
};

constexpr Named kColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

}  // namespace

COLORREF ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

bool ColorToIdent(TColor color, std::string& name) {
  for (const Named& c : kColors)
    if (c.value == color) {
      name = c.name;
      return true;
    }
  return false;
}

bool IdentToColor(const std::string& name, TColor& color) {
  for (const Named& c : kColors)
    if (strcasecmp(c.name, name.c_str()) == 0) {
      color = c.value;
      return true;
    }
  return false;
}

std::string ColorToString(TColor color) {
  std::string name;
  if (ColorToIdent(color, name)) return name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(color));
  return buf;
}

TColor StringToColor(const std::string& text) {
  TColor color;
  if (IdentToColor(text, color)) return color;
  const bool hex = !text.empty() && text[0] == '$';
  const std::string digits = hex ? text.substr(1) : text;
  if (digits.empty() || digits.size() > (hex ? 8u : 11u))
    throw EConvertError("'" + text + "' is not a valid colour value");
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(digits.c_str(), &end, hex ? 16 : 10);
  if (*end != 0 || errno != 0 || v < INT32_MIN || v > UINT32_MAX || (!hex && v > INT32_MAX))
    throw EConvertError("'" + text + "' is not a valid colour value");
  return static_cast<TColor>(static_cast<uint32_t>(v));
}

void GetColorValues(const std::function<void(const std::string& name)>& proc) {
  for (const Named& c : kColors) proc(c.name);
}

}  // namespace host
