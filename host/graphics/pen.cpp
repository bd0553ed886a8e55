#include "host/graphics/pen.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>
#include "host/classes/publish.h"

namespace host {

HOST_PUBLISHED(TPen, TGraphicsObject) {
  HOST_COLOR_PROP(Color, clBlack);
  HOST_PROP(Mode, pmCopy);
  HOST_PROP(Style, psSolid);
  HOST_PROP(Width, 1);
}


int PenModeToRop2(TPenMode mode) {
  static constexpr int kRop2[] = {
      R2_BLACK,       R2_WHITE,       R2_NOP,        R2_NOT,         R2_COPYPEN,  R2_NOTCOPYPEN,
      R2_MERGEPENNOT, R2_MASKPENNOT,  R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
      R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN,     R2_NOTXORPEN,
  };
  return mode < std::size(kRop2) ? kRop2[mode] : R2_COPYPEN;
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TPen::SetWidth(int32_t width) {
  if (width == width_) return;
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TPen::SetMode(TPenMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  Changed(false);
}

HGDIOBJ TPen::CreateHandle() {
  // The styles are numbered as the PS_ values.
  return CreatePen(static_cast<int>(style_), width_, ColorToRGB(color_));
}

void TPen::SetHandle(HPEN pen) {
  if (pen && pen == CurrentHandle()) return;
  const DWORD type = pen ? GetObjectType(pen) : 0;
  int style = PS_SOLID;
  if (type == OBJ_PEN) {
    LOGPEN lp{};
    GetObject(pen, sizeof lp, &lp);
    style = static_cast<int>(lp.lopnStyle & PS_STYLE_MASK);
    width_ = lp.lopnWidth.x;
    color_ = static_cast<TColor>(lp.lopnColor);
  } else if (type == OBJ_EXTPEN) {
    // Sized for its dash entries, which are not needed here.
    std::vector<uint8_t> buffer(std::max<size_t>(sizeof(EXTLOGPEN), static_cast<size_t>(GetObject(pen, 0, nullptr))));
    GetObject(pen, static_cast<int>(buffer.size()), buffer.data());
    EXTLOGPEN ep;
    std::memcpy(&ep, buffer.data(), sizeof ep);
    style = static_cast<int>(ep.elpPenStyle & PS_STYLE_MASK);
    width_ = static_cast<int32_t>(ep.elpWidth);
    color_ = static_cast<TColor>(ep.elpColor);
  } else {
    throw EInvalidGraphicOperation("Invalid pen handle");
  }
  style_ = style <= psInsideFrame ? static_cast<TPenStyle>(style) : psSolid;
  AdoptHandle(pen);
}

void TPen::Assign(const TPersistent* source) {
  const auto* pen = dynamic_cast<const TPen*>(source);
  if (!pen) {
    TPersistent::Assign(source);
    return;
  }
  if (pen == this) return;
  BeginUpdate();
  SetColor(pen->color_);
  SetWidth(pen->width_);
  SetStyle(pen->style_);
  SetMode(pen->mode_);
  EndUpdate();
}

}  // namespace host
