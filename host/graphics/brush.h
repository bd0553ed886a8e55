// TBrush: the colour, style or pattern bitmap areas are filled with, and the HBRUSH made
// from them on demand.
#pragma once

#include "host/classes/enuminfo.h"
#include "host/graphics/color.h"
#include "host/graphics/graphics_object.h"

namespace host {

class TBitmap;

// bsHorizontal..bsDiagCross are the HS_ hatches in order.
HOST_ENUM(TBrushStyle, uint8_t, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
          bsCross, bsDiagCross)

class TBrush : public TGraphicsObject {
 public:
  HOST_CLASS(TBrush)
  TBrush() = default;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  // A pattern: while set (and not empty) the brush is a pattern brush of its pixels, taken
  // when the handle is made. Not owned; set it again to pick up later drawing on it, and
  // clear it before the bitmap goes.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* bitmap);

  HBRUSH Handle() { return static_cast<HBRUSH>(HandleNeeded()); }
  // Adopts a brush made elsewhere (solid, hollow or hatched ones give their colour and style).
  void SetHandle(HBRUSH brush);

  void Assign(const TPersistent* source) override;

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
};

}  // namespace host
