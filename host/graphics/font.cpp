#include "host/graphics/font.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/text.h"
#include "host/classes/publish.h"

namespace host {

// As stored forms expect: the face, colour, height and style are always stored, the point
// size never (the height says it).
HOST_PUBLISHED(TFont, TGraphicsObject) {
  HOST_PROP(Charset, uint8_t{DEFAULT_CHARSET});
  HOST_COLOR_PROP(Color);
  HOST_PROP(Height);
  HOST_PROP(Name);
  HOST_PROP(Pitch, fpDefault);
  HOST_PROP(Size).Never();
  HOST_PROP(Style);
}


TFont::TFont()
    : name_("MS Sans Serif"),
      height_(-MulDiv(8, kPixelsPerInch, 72)),
      color_(clWindowText),
      pitch_(fpDefault),
      charset_(DEFAULT_CHARSET) {}

void TFont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

int32_t TFont::Size() const { return -MulDiv(height_, 72, kPixelsPerInch); }

void TFont::SetSize(int32_t points) { SetHeight(-MulDiv(points, kPixelsPerInch, 72)); }

void TFont::SetHeight(int32_t pixels) {
  if (pixels == height_) return;
  height_ = pixels;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed(false);
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_) return;
  pitch_ = pitch;
  Changed();
}

void TFont::SetCharset(TFontCharset charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

HGDIOBJ TFont::CreateHandle() {
  LOGFONT lf{};
  lf.lfHeight = height_;
  lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style_.Contains(fsItalic);
  lf.lfUnderline = style_.Contains(fsUnderline);
  lf.lfStrikeOut = style_.Contains(fsStrikeOut);
  lf.lfCharSet = charset_;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
  const size_t n = std::min(name_.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::memcpy(lf.lfFaceName, name_.data(), n);
  return CreateFontIndirect(&lf);
}

void TFont::SetHandle(HFONT font) {
  if (font && font == CurrentHandle()) return;
  LOGFONT lf{};
  if (!font || GetObjectType(font) != OBJ_FONT || GetObject(font, sizeof lf, &lf) != static_cast<int>(sizeof lf))
    throw EInvalidGraphicOperation("Invalid font handle");
  name_.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  height_ = lf.lfHeight;
  style_ = {};
  if (lf.lfWeight >= FW_BOLD) style_.Include(fsBold);
  if (lf.lfItalic) style_.Include(fsItalic);
  if (lf.lfUnderline) style_.Include(fsUnderline);
  if (lf.lfStrikeOut) style_.Include(fsStrikeOut);
  const int pitch = lf.lfPitchAndFamily & 3;
  pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
  charset_ = lf.lfCharSet;
  AdoptHandle(font);
}

void TFont::Assign(const TPersistent* source) {
  const auto* font = dynamic_cast<const TFont*>(source);
  if (!font) {
    TPersistent::Assign(source);
    return;
  }
  if (font == this) return;
  BeginUpdate();
  SetName(font->name_);
  SetHeight(font->height_);
  SetStyle(font->style_);
  SetColor(font->color_);
  SetPitch(font->pitch_);
  SetCharset(font->charset_);
  EndUpdate();
}

}  // namespace host
