// Bevelled frames: the persistent TZYRBevel a control publishes as its Bevel, and the free
// routines beneath it. Every routine takes the rectangle by reference and shrinks it to what
// lies inside the frame it drew, so callers chain them and paint into what is left.
#pragma once

#include <cstdint>

#include "host/classes/enuminfo.h"
#include "host/graphics/color.h"
#include "library/foundation/objects.h"
#include "platform/win32/types.h"

namespace host {
class TCanvas;
}

namespace zyr {

using host::TColor;

HOST_ENUM(TZYRBevelStyle, uint8_t, bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow)
HOST_ENUM(TZYRBevelMode, uint8_t, bmCustom, bmStandard)
HOST_ENUM(TZYRBorderStyle, uint8_t, lsNone, lsSingle, lsLowered, lsRaised, lsRaisedspb, lsLoweredspb, lsFrameInset,
          lsFrameOffset, lsWindowBorder, lsSingleRaised, lsSingleLowered, lsDoubleRaised, lsDoubleLowered)

// 0..50 pixels.
using TZYRBevelWidth = uint8_t;
inline constexpr TZYRBevelWidth kMaxBevelWidth = 50;
// 0..255 pixels.
using TZYRBorderWidth = uint8_t;

class TZYRBevel : public TZYRObject {
  HOST_CLASS(TZYRBevel)
  TZYRBevel();

  TZYRBevelStyle StyleInner() const { return style_inner_; }
  void SetStyleInner(TZYRBevelStyle value);
  TZYRBevelStyle StyleOuter() const { return style_outer_; }
  void SetStyleOuter(TZYRBevelStyle value);
  TZYRBevelWidth WidthInner() const { return width_inner_; }
  // Widths above 50 are taken as 50.
  void SetWidthInner(TZYRBevelWidth value) { SetWidth(0, value); }
  TZYRBevelWidth WidthOuter() const { return width_outer_; }
  void SetWidthOuter(TZYRBevelWidth value) { SetWidth(1, value); }
  TColor BorderColor() const { return colors_[0]; }
  void SetBorderColor(TColor value) { SetColor(0, value); }
  TZYRBorderWidth BorderWidth() const { return border_width_; }
  void SetBorderWidth(TZYRBorderWidth value);
  TZYRBorderWidth BorderInnerWidth() const { return border_inner_width_; }
  void SetBorderInnerWidth(TZYRBorderWidth value);
  TColor LightColor() const { return colors_[1]; }
  void SetLightColor(TColor value) { SetColor(1, value); }
  TZYRBevelMode Mode() const { return mode_; }
  void SetMode(TZYRBevelMode value);
  TColor ShadowColor() const { return colors_[2]; }
  void SetShadowColor(TColor value) { SetColor(2, value); }
  TZYRBorderStyle StandardStyle() const { return standard_style_; }
  void SetStandardStyle(TZYRBorderStyle value);

  // The colours by index: 0 BorderColor, 1 LightColor, 2 ShadowColor.
  void SetColor(int index, TColor value);
  // The widths by index: 0 WidthInner, 1 WidthOuter.
  void SetWidth(int index, TZYRBevelWidth value);

  // The whole thickness of the frame, kept up to date by Change.
  int32_t BevelExtent() const { return bevel_extent_; }

  void Change() override;
  void Assign(const host::TPersistent* source) override;

  // Draws the frame into rect and returns what lies inside it. With transparent the border
  // bands (and the shadow style's fill) are skipped, leaving what is beneath visible.
  //
  // The returned rectangle is what callers must paint into. It can differ from rect shrunk by
  // BevelExtent: a raised or lowered edge of width 2 or more takes one pixel more from the
  // left and right than from the top and bottom, and the shadow style's shadow is not part of
  // the extent's symmetric count. Use BevelExtent for sizing, the result for painting.
  RECT PaintBevel(host::TCanvas* canvas, const RECT& rect, bool transparent);

 private:
  void RecalcExtent();

  TZYRBevelStyle style_inner_ = bvNone;
  TZYRBevelStyle style_outer_ = bvNone;
  TZYRBevelWidth width_inner_ = 1;
  TZYRBevelWidth width_outer_ = 1;
  TColor colors_[3];
  TZYRBorderWidth border_width_ = 0;
  TZYRBorderWidth border_inner_width_ = 0;
  TZYRBevelMode mode_ = bmCustom;
  TZYRBorderStyle standard_style_ = lsSingleLowered;
  int32_t bevel_extent_ = 0;
};

// One raised, lowered, framed or black edge of width pixels; false (nothing drawn) for width 0,
// bvNone and bvShadow. Width 2 or more takes one pixel more from left and right than from top
// and bottom.
bool DrawBevel(host::TCanvas* canvas, RECT& rect, TZYRBevelStyle style, TColor light_color, TColor shadow_color,
               int width);
// A flat frame of frame_width over a drop shadow shadow_width pixels right and down, filled with
// fill_color (the area around the frame too, unless transparent).
bool DrawShadowBevel(host::TCanvas* canvas, RECT& rect, TColor frame_color, TColor shadow_color, TColor fill_color,
                     uint8_t shadow_width, uint8_t frame_width, bool transparent);
// One of the thirteen standard borders, drawn with DrawEdge; flags are further edge flags.
bool DrawStandardBorder(host::TCanvas* canvas, RECT& rect, TZYRBorderStyle style, uint16_t flags);
int32_t StandardBorderWidth(TZYRBorderStyle style);

}  // namespace zyr
