// TFont: a font described by name, size, style, colour, pitch and character set, with the
// HFONT made from them on demand.
#pragma once

#include <string>

#include "host/classes/enuminfo.h"
#include "host/classes/set.h"
#include "host/graphics/color.h"
#include "host/graphics/graphics_object.h"

namespace host {

HOST_ENUM(TFontStyle, uint8_t, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = Set<TFontStyle>;
HOST_ENUM(TFontPitch, uint8_t, fpDefault, fpVariable, fpFixed)
using TFontCharset = uint8_t;

class TFont : public TGraphicsObject {
 public:
  HOST_CLASS(TFont)
  // Sizes in points become pixel heights at this resolution.
  static constexpr int kPixelsPerInch = 96;

  TFont();

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  // Points: Size = -MulDiv(Height, 72, 96); setting one sets the other.
  int32_t Size() const;
  void SetSize(int32_t points);
  // Pixels; negative is the character height, positive the cell height (as in LOGFONT).
  int32_t Height() const { return height_; }
  void SetHeight(int32_t pixels);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  // Not part of the HFONT: a new colour keeps the handle.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset charset);

  HFONT Handle() { return static_cast<HFONT>(HandleNeeded()); }
  // Adopts a font made elsewhere: its LOGFONT becomes the properties and the TFont owns and
  // later deletes it. Raises EInvalidGraphicOperation for a handle that is not a font.
  void SetHandle(HFONT font);

  void Assign(const TPersistent* source) override;

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  std::string name_;
  int32_t height_;
  TFontStyles style_;
  TColor color_;
  TFontPitch pitch_;
  TFontCharset charset_;
};

}  // namespace host
