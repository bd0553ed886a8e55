// TPen: the colour, width, style and raster mode lines are drawn with, and the HPEN made
// from them on demand.
#pragma once

#include "host/classes/enuminfo.h"
#include "host/graphics/color.h"
#include "host/graphics/graphics_object.h"

namespace host {

// In the order of the PS_ styles they stand for.
HOST_ENUM(TPenStyle, uint8_t, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
HOST_ENUM(TPenMode, uint8_t, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
          pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask,
          pmXor, pmNotXor)

// The R2_ code a pen mode draws with.
int PenModeToRop2(TPenMode mode);

class TPen : public TGraphicsObject {
 public:
  HOST_CLASS(TPen)
  TPen() = default;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  // Applied to the DC when the pen is selected; not part of the HPEN.
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);

  HPEN Handle() { return static_cast<HPEN>(HandleNeeded()); }
  // Adopts a pen made elsewhere (its colour, width and style become the properties).
  void SetHandle(HPEN pen);

  void Assign(const TPersistent* source) override;

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  TColor color_ = clBlack;
  int32_t width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

}  // namespace host
