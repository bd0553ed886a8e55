#include "library/drawing/bevel.h"

#include <algorithm>

#include "host/classes/publish.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/pen.h"
#include "platform/win32/draw.h"

namespace zyr {

HOST_PUBLISHED(TZYRBevel, TZYRObject) {
  HOST_PROP(StyleInner, bvNone);
  HOST_PROP(StyleOuter, bvNone);
  HOST_PROP(WidthInner, TZYRBevelWidth{1}).Range(0, kMaxBevelWidth);
  HOST_PROP(WidthOuter, TZYRBevelWidth{1}).Range(0, kMaxBevelWidth);
  HOST_COLOR_PROP(BorderColor, host::clBtnFace);
  HOST_PROP(BorderWidth, TZYRBorderWidth{0});
  HOST_PROP(BorderInnerWidth, TZYRBorderWidth{0});
  HOST_COLOR_PROP(LightColor, host::clBtnHighlight);
  HOST_PROP(Mode, bmCustom);
  HOST_COLOR_PROP(ShadowColor, host::clBtnShadow);
  HOST_PROP(StandardStyle, lsSingleLowered);
}

TZYRBevel::TZYRBevel() : colors_{host::clBtnFace, host::clBtnHighlight, host::clBtnShadow} {}

void TZYRBevel::SetStyleInner(TZYRBevelStyle value) {
  if (value == style_inner_) return;
  // The shadow style belongs to both edges or to neither.
  if (value == bvShadow) {
    style_outer_ = bvShadow;
  } else if (style_inner_ == bvShadow) {
    style_outer_ = bvNone;
  }
  style_inner_ = value;
  Change();
}

void TZYRBevel::SetStyleOuter(TZYRBevelStyle value) {
  if (value == style_outer_) return;
  if (value == bvShadow) {
    style_inner_ = bvShadow;
  } else if (style_outer_ == bvShadow) {
    style_inner_ = bvNone;
  }
  style_outer_ = value;
  Change();
}

void TZYRBevel::SetWidth(int index, TZYRBevelWidth value) {
  value = std::min(value, kMaxBevelWidth);
  TZYRBevelWidth& field = index == 0 ? width_inner_ : width_outer_;
  if (value == field) return;
  field = value;
  Change();
}

void TZYRBevel::SetColor(int index, TColor value) {
  if (index < 0 || index > 2) return;
  if (value == colors_[index]) return;
  colors_[index] = value;
  Change();
}

void TZYRBevel::SetBorderWidth(TZYRBorderWidth value) {
  if (value == border_width_) return;
  border_width_ = value;
  Change();
}

void TZYRBevel::SetBorderInnerWidth(TZYRBorderWidth value) {
  if (value == border_inner_width_) return;
  border_inner_width_ = value;
  Change();
}

void TZYRBevel::SetMode(TZYRBevelMode value) {
  if (value == mode_) return;
  mode_ = value;
  Change();
}

void TZYRBevel::SetStandardStyle(TZYRBorderStyle value) {
  if (value == standard_style_) return;
  standard_style_ = value;
  Change();
}

void TZYRBevel::RecalcExtent() {
  if (mode_ == bmStandard) {
    bevel_extent_ = StandardBorderWidth(standard_style_) + border_inner_width_;
    return;
  }
  if (style_outer_ == bvShadow) {
    bevel_extent_ = width_outer_ / 2 + width_inner_ + 1 + border_inner_width_;
    return;
  }
  auto edge = [](TZYRBevelStyle style, int width) {
    if (style == bvNone) return 0;
    return width + (style == bvFrameLowered || style == bvFrameRaised ? 1 : 0);
  };
  bevel_extent_ = border_width_ + border_inner_width_ + edge(style_outer_, width_outer_) + edge(style_inner_, width_inner_);
}

void TZYRBevel::Change() {
  RecalcExtent();
  TZYRObject::Change();
}

void TZYRBevel::Assign(const host::TPersistent* source) {
  const auto* bevel = dynamic_cast<const TZYRBevel*>(source);
  if (!bevel) {
    TZYRObject::Assign(source);
    return;
  }
  if (bevel == this) return;
  style_inner_ = bevel->style_inner_;
  style_outer_ = bevel->style_outer_;
  width_inner_ = bevel->width_inner_;
  width_outer_ = bevel->width_outer_;
  border_inner_width_ = bevel->border_inner_width_;
  border_width_ = bevel->border_width_;
  std::copy(std::begin(bevel->colors_), std::end(bevel->colors_), colors_);
  mode_ = bevel->mode_;
  standard_style_ = bevel->standard_style_;
  Change();
}

namespace {

void SolidBrush(host::TCanvas* canvas, TColor color) {
  canvas->Brush()->SetColor(color);
  canvas->Brush()->SetStyle(host::bsSolid);
}

// n nested one-pixel frames in the border colour, or only their room when transparent.
void BorderBand(host::TCanvas* canvas, RECT& r, int n, TColor color, bool transparent) {
  if (n <= 0) return;
  if (transparent) {
    InflateRect(&r, -n, -n);
    return;
  }
  SolidBrush(canvas, color);
  for (int i = 0; i < n; ++i) {
    canvas->FrameRect(r);
    InflateRect(&r, -1, -1);
  }
}

}  // namespace

RECT TZYRBevel::PaintBevel(host::TCanvas* canvas, const RECT& rect, bool transparent) {
  RECT r = rect;
  if (bevel_extent_ == 0) return r;
  if (mode_ == bmCustom) {
    if (style_outer_ == bvShadow) {
      DrawShadowBevel(canvas, r, LightColor(), ShadowColor(), BorderColor(), width_outer_, width_inner_, transparent);
    } else {
      DrawBevel(canvas, r, style_outer_, LightColor(), ShadowColor(), width_outer_);
      BorderBand(canvas, r, border_width_, BorderColor(), transparent);
      DrawBevel(canvas, r, style_inner_, LightColor(), ShadowColor(), width_inner_);
    }
  } else {
    DrawStandardBorder(canvas, r, standard_style_, 0);
  }
  BorderBand(canvas, r, border_inner_width_, BorderColor(), transparent);
  return r;
}

bool DrawBevel(host::TCanvas* canvas, RECT& rect, TZYRBevelStyle style, TColor light_color, TColor shadow_color,
               int width) {
  if (width <= 0 || style == bvNone || style == bvShadow || style > bvShadow) return false;
  TColor tl = 0;
  TColor br = 0;
  switch (style) {
    case bvLowered:
    case bvFrameLowered:
      tl = shadow_color;
      br = light_color;
      break;
    case bvRaised:
    case bvFrameRaised:
      tl = light_color;
      br = shadow_color;
      break;
    default:  // bvNormal: black whatever the colours
      break;
  }
  const LONG l = rect.left;
  const LONG t = rect.top;
  const LONG r = rect.right;
  const LONG b = rect.bottom;
  const LONG w = width;
  if (style == bvFrameLowered || style == bvFrameRaised) {
    // An etched groove or ridge: offset pairs of frames.
    SolidBrush(canvas, br);
    for (LONG i = 0; i < w; ++i) {
      canvas->Brush()->SetColor(br);
      canvas->FrameRect(RECT{l + i + 1, t + i + 1, r, b});
      canvas->Brush()->SetColor(tl);
      canvas->FrameRect(RECT{l, t, r - i - 1, b - i - 1});
    }
    rect = RECT{l + w + 1, t + w + 1, r - w - 1, b - w - 1};
    return true;
  }
  const LONG r1 = r - 1;
  const LONG b1 = b - 1;
  if (w == 1) {
    host::TPen* pen = canvas->Pen();
    pen->SetWidth(1);
    pen->SetStyle(host::psSolid);
    pen->SetColor(tl);
    canvas->Polyline({POINT{l, b1}, POINT{l, t}, POINT{r1, t}});
    pen->SetColor(br);
    canvas->Polyline({POINT{r1, t}, POINT{r1, b1}, POINT{l, b1}});
    rect = RECT{l + 1, t + 1, r - 1, b - 1};
    return true;
  }
  // Filled without a pen, so the polygons leave out their own bottom and right edges.
  const RECT in{l + w, t + w, r1 - w, b1 - w};
  canvas->Pen()->SetStyle(host::psClear);
  SolidBrush(canvas, br);
  canvas->Polygon({POINT{l, b1 + 1}, POINT{in.left, in.bottom}, POINT{in.right, in.bottom}, POINT{in.right, in.top},
                   POINT{r1, t}, POINT{r1, b1 + 1}});
  canvas->Brush()->SetColor(tl);
  canvas->Polygon({POINT{l, b1}, POINT{in.left, in.bottom}, POINT{in.left, in.top}, POINT{in.right - 1, in.top},
                   POINT{r1 - 1, t}, POINT{l, t}});
  rect = RECT{l + w + 1, t + w, r - w - 1, b - w};
  return true;
}

bool DrawShadowBevel(host::TCanvas* canvas, RECT& rect, TColor frame_color, TColor shadow_color, TColor fill_color,
                     uint8_t shadow_width, uint8_t frame_width, bool transparent) {
  const LONG l = rect.left;
  const LONG t = rect.top;
  const LONG r = rect.right;
  const LONG b = rect.bottom;
  const LONG s = shadow_width;
  const LONG h = frame_width / 2;
  canvas->Brush()->SetStyle(host::bsSolid);
  canvas->Pen()->SetStyle(host::psSolid);
  if (!transparent) {
    canvas->Brush()->SetColor(fill_color);
    canvas->FillRect(rect);
  }
  canvas->Brush()->SetColor(shadow_color);
  canvas->FillRect(RECT{l + s, t + s, r, b});
  canvas->Brush()->SetColor(fill_color);
  canvas->Pen()->SetColor(frame_color);
  canvas->Pen()->SetWidth(frame_width);
  canvas->Rectangle(l + h, t + h, r - s - h, b - s - h);
  canvas->Pen()->SetWidth(1);
  rect = RECT{l + 2 * h + 1, t + 2 * h + 1, r - s - 2 * h - 1, b - s - 2 * h - 1};
  return true;
}

int32_t StandardBorderWidth(TZYRBorderStyle style) {
  switch (style) {
    case lsNone:
      return 0;
    case lsSingle:
    case lsSingleRaised:
    case lsSingleLowered:
      return 1;
    default:
      return 2;
  }
}

bool DrawStandardBorder(host::TCanvas* canvas, RECT& rect, TZYRBorderStyle style, uint16_t flags) {
  if (style == lsNone || style > lsDoubleLowered) return true;
  HDC dc = canvas->Handle();
  const UINT f = flags | BF_ADJUST;
  switch (style) {
    case lsSingle:
      DrawEdge(dc, &rect, BDR_SUNKENOUTER, f | BF_LEFT | BF_TOP | BF_SOFT);
      DrawEdge(dc, &rect, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
      break;
    case lsLowered:
      DrawEdge(dc, &rect, EDGE_SUNKEN, f | BF_RECT | BF_SOFT);
      break;
    case lsRaised:
      DrawEdge(dc, &rect, EDGE_RAISED, f | BF_RECT | BF_SOFT);
      break;
    case lsRaisedspb:
      DrawEdge(dc, &rect, BDR_RAISEDOUTER, f | BF_RECT | BF_SOFT);
      DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
      break;
    case lsLoweredspb:
      DrawEdge(dc, &rect, BDR_SUNKENOUTER, f | BF_RECT);
      DrawEdge(dc, &rect, BDR_SUNKENINNER, f | BF_LEFT | BF_TOP);
      break;
    case lsFrameInset:
      DrawEdge(dc, &rect, EDGE_ETCHED, f | BF_RECT);
      break;
    case lsFrameOffset:
      DrawEdge(dc, &rect, BDR_RAISEDINNER, f | BF_RECT);
      DrawEdge(dc, &rect, BDR_SUNKENOUTER, f | BF_RECT);
      break;
    case lsWindowBorder:
      DrawEdge(dc, &rect, BDR_RAISEDOUTER, f | BF_RIGHT | BF_BOTTOM);
      rect.left += 1;
      rect.top += 1;
      DrawEdge(dc, &rect, BDR_RAISEDINNER, f | BF_RECT);
      break;
    case lsSingleRaised:
      DrawEdge(dc, &rect, BDR_RAISEDINNER, f | BF_RECT);
      break;
    case lsSingleLowered:
      DrawEdge(dc, &rect, BDR_SUNKENOUTER, f | BF_RECT);
      break;
    case lsDoubleRaised:
      DrawEdge(dc, &rect, BDR_RAISEDINNER, f | BF_RECT);
      DrawEdge(dc, &rect, BDR_RAISEDINNER, f | BF_RECT);
      break;
    case lsDoubleLowered:
      DrawEdge(dc, &rect, BDR_SUNKENOUTER, f | BF_RECT);
      DrawEdge(dc, &rect, BDR_SUNKENOUTER, f | BF_RECT);
      break;
    default:
      break;
  }
  return true;
}

}  // namespace zyr
