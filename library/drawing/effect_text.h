// Text with effects (raised, sunken, embossed, drop shadow, rotated) and the transparency
// settings of images: the persistent TZYR3DCaption, TZYRFxCaption and TZYRTransparent, and the
// routines that draw, measure and place such text.
#pragma once

#include <cstdint>
#include <string>

#include "host/classes/enuminfo.h"
#include "host/classes/set.h"
#include "host/graphics/color.h"
#include "library/foundation/objects.h"
#include "platform/win32/types.h"

namespace host {
class TCanvas;
class TFiler;
class TFont;
}  // namespace host

namespace zyr {

using host::TColor;

HOST_ENUM(TZYRThreeDStyle, uint8_t, tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken,
          tdPColorRaised, tdShadow)
HOST_ENUM(TZYRTransparentMode, uint8_t, tpNone, tpRestoreBack, tpTransparentColor, tpRBTranspColor)
// The nine-way placement of text and boxes.
HOST_ENUM(TZYRAlignment, uint8_t, agTopLeft, agTopCenter, agTopRight, agCenterLeft, agCenter, agCenterRight,
          agBottomLeft, agBottomCenter, agBottomRight)

// 0..360 degrees, counter-clockwise; 360 is kept as 0.
using TZYRAngle = uint16_t;

// Longer text is cut to this many characters before it is drawn or measured.
inline constexpr size_t kMaxEffectTextLength = 255;

class TZYR3DCaption : public TZYRObject {
  HOST_CLASS(TZYR3DCaption)
  TZYR3DCaption();

  uint8_t LightDepth() const { return depths_[0]; }
  void SetLightDepth(uint8_t value) { SetDepth(0, value); }
  uint8_t ShadowDepth() const { return depths_[1]; }
  void SetShadowDepth(uint8_t value) { SetDepth(1, value); }
  TColor LightColor() const { return colors_[0]; }
  void SetLightColor(TColor value) { SetColor(0, value); }
  TColor ShadowColor() const { return colors_[1]; }
  void SetShadowColor(TColor value) { SetColor(1, value); }
  TZYRThreeDStyle Style() const { return style_; }
  void SetStyle(TZYRThreeDStyle value);
  // Extra pixels between characters.
  int32_t Tracing() const { return tracing_; }
  void SetTracing(int32_t value);

  // 0 LightDepth, 1 ShadowDepth.
  void SetDepth(int index, uint8_t value);
  // 0 LightColor, 1 ShadowColor.
  void SetColor(int index, TColor value);

  // How far the copies of the text reach beyond the face: L, L+S or S by style.
  int32_t EffectDepth() const;

  void Assign(const host::TPersistent* source) override;
  // Older forms stored one "Depth3D" for both depths; it is read, never written.
  void DefineProperties(host::TFiler& filer) override;

 protected:
  uint8_t depths_[2] = {1, 1};
  TColor colors_[2];
  TZYRThreeDStyle style_ = tdNone;
  int32_t tracing_ = 0;
};

class TZYRFxCaption : public TZYR3DCaption {
  HOST_CLASS(TZYRFxCaption)
  TZYRFxCaption() = default;

  TZYRAngle Angle() const { return angle_; }
  // 360 is stored as 0; larger values are taken modulo 360.
  void SetAngle(TZYRAngle value);
  // Where the text starts inside the drawing rectangle.
  uint16_t PosX() const { return pos_[0]; }
  void SetPosX(uint16_t value) { SetPosIndex(0, value); }
  uint16_t PosY() const { return pos_[1]; }
  void SetPosY(uint16_t value) { SetPosIndex(1, value); }
  // 0 PosX, 1 PosY.
  void SetPosIndex(int index, uint16_t value);
  // Both positions at once, without notification.
  void SetPos(uint16_t x, uint16_t y);

  void Assign(const host::TPersistent* source) override;

 private:
  TZYRAngle angle_ = 0;
  uint16_t pos_[2] = {0, 0};
};

class TZYRTransparent : public TZYRObject {
  HOST_CLASS(TZYRTransparent)
  TZYRTransparent() = default;

  // The colour treated as see-through.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TZYRTransparentMode Mode() const { return mode_; }
  void SetMode(TZYRTransparentMode value);

  void Assign(const host::TPersistent* source) override;

 private:
  TColor color_ = host::clBtnFace;
  TZYRTransparentMode mode_ = tpNone;
};

// The options of DrawEffectText, stored as bits 1, 2, 4 and 8. Callers give etEnabled or
// etDisabled according to their control's state.
HOST_ENUM(TZYREffectTextOption, uint8_t, etDisabled, etEnabled, etSunkenDisabled, etClip)
using TZYREffectTextOptions = host::Set<TZYREffectTextOption>;

// Draws text with the effect's style on the canvas into rect, with DrawText format flags
// (rotated text ignores them). With etClip nothing is drawn outside clip_rect (or rect when
// none is given). The canvas keeps the face colour as its font colour; its font, clip region,
// character extra and background mode are as they were before the call.
void DrawEffectText(host::TCanvas* canvas, const std::string& text, TZYR3DCaption* effect, const RECT& rect,
                    uint16_t format, TZYREffectTextOptions options, const RECT* clip_rect = nullptr);

// Measures text as DrawEffectText draws it, in font, on the screen's device context. Unrotated
// text keeps rect's top-left corner and wraps at its width when word_wrap is set; rotated text
// gives a box at (0, 0) and sets the caption's PosX/PosY (through the setters) so that the
// text sits centred in it. An unrotated caption's PosX/PosY are left as they are.
void CalcEffectTextRect(const std::string& text, TZYR3DCaption* effect, RECT& rect, int32_t border,
                        bool show_accel_char, bool word_wrap, host::TFont* font);
// The same measurement with the font the canvas holds, on the canvas's device context.
void CalcEffectTextRect(host::TCanvas* canvas, const std::string& text, TZYR3DCaption* effect, RECT& rect,
                        int32_t border, bool show_accel_char, bool word_wrap);

// The box of the measured text placed inside area by alignment; result receives it.
void AlignFxTextRect(TZYRAlignment alignment, const std::string& text, TZYRFxCaption* effect, RECT& result,
                     bool show_accel_char, bool word_wrap, host::TFont* font, const RECT& area);

// Whether the face is an outline (TrueType) font, which alone can be rotated.
bool IsTrueTypeFont(const std::string& face_name);
// The height in pixels of "W" in font on the screen.
int32_t FontTextHeight(host::TFont* font);

}  // namespace zyr
