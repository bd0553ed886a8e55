#include "host/graphics/brush.h"

#include "host/graphics/bitmap.h"
#include "host/classes/publish.h"

namespace host {

HOST_PUBLISHED(TBrush, TGraphicsObject) {
  HOST_COLOR_PROP(Color, clWhite);
  HOST_PROP(Style, bsSolid);
}


void TBrush::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
  if (bitmap == bitmap_) return;
  bitmap_ = bitmap;
  Changed();
}

HGDIOBJ TBrush::CreateHandle() {
  if (bitmap_ && !bitmap_->Empty()) return CreatePatternBrush(bitmap_->Handle());
  LOGBRUSH lb{BS_SOLID, ColorToRGB(color_), 0};
  if (style_ == bsClear) {
    lb.lbStyle = BS_NULL;
  } else if (style_ >= bsHorizontal && style_ <= bsDiagCross) {
    lb.lbStyle = BS_HATCHED;
    lb.lbHatch = static_cast<ULONG_PTR>(HS_HORIZONTAL + (style_ - bsHorizontal));
  }
  return CreateBrushIndirect(&lb);
}

void TBrush::SetHandle(HBRUSH brush) {
  if (brush && brush == CurrentHandle()) return;
  LOGBRUSH lb{};
  if (!brush || GetObjectType(brush) != OBJ_BRUSH || GetObject(brush, sizeof lb, &lb) != static_cast<int>(sizeof lb))
    throw EInvalidGraphicOperation("Invalid brush handle");
  bitmap_ = nullptr;
  color_ = static_cast<TColor>(lb.lbColor);
  if (lb.lbStyle == BS_NULL) {
    style_ = bsClear;
  } else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= HS_DIAGCROSS) {
    style_ = static_cast<TBrushStyle>(bsHorizontal + lb.lbHatch);
  } else {
    style_ = bsSolid;  // solid, or a pattern the handle keeps
  }
  AdoptHandle(brush);
}

void TBrush::Assign(const TPersistent* source) {
  const auto* brush = dynamic_cast<const TBrush*>(source);
  if (!brush) {
    TPersistent::Assign(source);
    return;
  }
  if (brush == this) return;
  BeginUpdate();
  SetColor(brush->color_);
  SetStyle(brush->style_);
  SetBitmap(brush->bitmap_);
  EndUpdate();
}

}  // namespace host
