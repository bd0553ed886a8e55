#include "host/extctrls/extctrls.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "host/graphics/graphic.h"
#include "host/graphics/pen.h"
#include "host/graphics/picture.h"
#include "platform/win32.h"

namespace host {

namespace {

// The properties every control here shows in forms, in the order forms list them.
template <class T>
void PublishVisibility(ClassBuilder<T>& c) {
  c.Property("Align", &TControl::Align, &TControl::SetAlign, alNone);
  c.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
  c.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored([](const TObject* o) {
    return !static_cast<const TControl*>(o)->ParentShowHint();
  });
  c.Property("Visible", &TControl::Visible, &TControl::SetVisible, true);
}

template <class T>
void PublishColorAndFont(ClassBuilder<T>& c) {
  c.ColorProperty("Color", &TControl::Color, &TControl::SetColor).Stored([](const TObject* o) {
    return !static_cast<const TControl*>(o)->ParentColor();
  });
  c.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true);
  c.Property("Font", &TControl::Font, &TControl::SetFont).Stored([](const TObject* o) {
    return !static_cast<const TControl*>(o)->ParentFont();
  });
  c.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
}

template <class T>
void PublishInput(ClassBuilder<T>& c) {
  c.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  c.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  c.Event("OnClick", &TControl::OnClick);
  c.Event("OnDblClick", &TControl::OnDblClick);
  c.Event("OnMouseDown", &TControl::OnMouseDown);
  c.Event("OnMouseMove", &TControl::OnMouseMove);
  c.Event("OnMouseUp", &TControl::OnMouseUp);
}

// The outline a windowless control shows while designing, where it would otherwise be
// invisible or hard to find.
void DesignOutline(TCanvas* canvas, int width, int height) {
  canvas->Pen()->SetStyle(psDot);
  canvas->Pen()->SetColor(clBlack);
  canvas->Pen()->SetWidth(1);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Rectangle(0, 0, width, height);
}

std::string NameOf(const TComponent* c) { return c->Name().empty() ? std::string(c->ClassName()) : c->Name(); }

}  // namespace

// ---- TBevel ---------------------------------------------------------------------------------

HOST_PUBLISHED(TBevel, TGraphicControl) {
  PublishVisibility(c);
  HOST_PROP(Shape, bsBox);
  HOST_PROP(Style, bsLowered);
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  control_style_.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape shape) {
  if (shape == shape_) return;
  shape_ = shape;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle style) {
  if (style == style_) return;
  style_ = style;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* canvas = TGraphicControl::Canvas();
  const int w = Width(), h = Height();
  if (shape_ == bsSpacer) {
    if (IsDesigning()) DesignOutline(canvas, w, h);
    return;
  }
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  // Left and top edges in one colour, right and bottom in the other; the corner where the
  // two runs meet belongs to the second (bottom-left to the first).
  auto bevel_rect = [&](int l, int t, int r, int b, TColor c1, TColor c2) {
    canvas->Pen()->SetColor(c1);
    canvas->Polyline({POINT{l, b}, POINT{l, t}, POINT{r, t}});
    canvas->Pen()->SetColor(c2);
    canvas->Polyline({POINT{r, t}, POINT{r, b}, POINT{l, b}});
  };
  auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
    canvas->Pen()->SetColor(c);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  switch (shape_) {
    case bsBox: bevel_rect(0, 0, w - 1, h - 1, first, second); break;
    case bsFrame:
      // An etched (or embossed) groove: the inner rectangle in the second colour, the outer
      // one, a pixel up and left, in the first on top of it.
      bevel_rect(1, 1, w - 1, h - 1, second, second);
      bevel_rect(0, 0, w - 2, h - 2, first, first);
      break;
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// ---- TShape ---------------------------------------------------------------------------------

HOST_PUBLISHED(TShape, TGraphicControl) {
  PublishVisibility(c);
  HOST_PROP(Brush);
  c.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  HOST_PROP(Pen);
  HOST_PROP(Shape, stRectangle);
  c.Event("OnMouseDown", &TControl::OnMouseDown);
  c.Event("OnMouseMove", &TControl::OnMouseMove);
  c.Event("OnMouseUp", &TControl::OnMouseUp);
}

TShape::TShape(TComponent* owner)
    : TGraphicControl(owner), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
  control_style_.Include(csReplicatable);
  SetBounds(0, 0, 65, 65);
  pen_->OnChange = [this](TObject*) { StyleChanged(); };
  brush_->OnChange = [this](TObject*) { StyleChanged(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType shape) {
  if (shape == shape_) return;
  shape_ = shape;
  Invalidate();
}

void TShape::SetPen(TPen* pen) { pen_->Assign(pen); }
void TShape::SetBrush(TBrush* brush) { brush_->Assign(brush); }
void TShape::StyleChanged() { Invalidate(); }

void TShape::Paint() {
  TCanvas* canvas = TGraphicControl::Canvas();
  canvas->SetPen(pen_.get());
  canvas->SetBrush(brush_.get());
  const int pw = pen_->Width();
  // A pen is centred on the figure's outline, so the figure shrinks by its width to keep the
  // whole line inside the bounds (a zero-width pen still draws one pixel).
  int x = pw / 2;
  int y = x;
  int w = Width() - pw + 1;
  int h = Height() - pw + 1;
  if (pw == 0) {
    --w;
    --h;
  }
  const int s = std::min(w, h);
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = s;
    h = s;
  }
  switch (shape_) {
    case stRectangle:
    case stSquare: canvas->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: canvas->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: canvas->Ellipse(x, y, x + w, y + h); break;
  }
}

// ---- TImage ---------------------------------------------------------------------------------

HOST_PUBLISHED(TImage, TGraphicControl) {
  PublishVisibility(c);
  HOST_PROP(AutoSize, false);
  HOST_PROP(Center, false);
  PublishInput(c);
  HOST_PROP(Picture);
  HOST_PROP(Stretch, false);
  HOST_PROP(Transparent, false);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  control_style_.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::SetPicture(TPicture* picture) { picture_->Assign(picture); }

TCanvas* TImage::Canvas() {
  if (!picture_->Graphic()) {
    TBitmap blank;
    blank.SetSize(Width(), Height());
    picture_->SetGraphic(&blank);
  }
  auto* bitmap = dynamic_cast<TBitmap*>(picture_->Graphic());
  if (!bitmap) {
    throw EInvalidOperation(Format("Image '%s' holds a %s: only a bitmap can be drawn on",
                                   {NameOf(this), std::string(picture_->Graphic()->ClassName())}));
  }
  return bitmap->Canvas();
}

void TImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  PictureChanged();
}

void TImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  PictureChanged();
}

void TImage::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  PictureChanged();
}

void TImage::SetAutoSize(bool value) {
  if (value == auto_size_) return;
  auto_size_ = value;
  PictureChanged();
}

RECT TImage::DestRect() const {
  const int pw = picture_->Width(), ph = picture_->Height();
  if (stretch_) return {0, 0, Width(), Height()};
  if (center_) {
    const int x = (Width() - pw) / 2, y = (Height() - ph) / 2;
    return {x, y, x + pw, y + ph};
  }
  return {0, 0, pw, ph};
}

void TImage::PictureChanged() {
  // Setting the graphic's transparency reports a change of the picture again.
  if (adjusting_) return;
  adjusting_ = true;
  try {
    TGraphic* graphic = picture_->Graphic();
    if (graphic && graphic->Transparent() != transparent_) graphic->SetTransparent(transparent_);
    if (auto_size_ && picture_->Width() > 0 && picture_->Height() > 0) {
      SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    }
    // A bitmap covering the whole control hides what lies beneath: no need to erase it.
    const RECT d = DestRect();
    const bool covers = dynamic_cast<TBitmap*>(graphic) && !transparent_ && d.left <= 0 && d.top <= 0 &&
                        d.right >= Width() && d.bottom >= Height();
    if (covers) {
      control_style_.Include(csOpaque);
    } else {
      control_style_.Exclude(csOpaque);
    }
  } catch (...) {
    adjusting_ = false;
    throw;
  }
  adjusting_ = false;
  Invalidate();
}

void TImage::Paint() {
  TCanvas* canvas = TGraphicControl::Canvas();
  if (IsDesigning()) DesignOutline(canvas, Width(), Height());
  if (TGraphic* graphic = picture_->Graphic()) canvas->StretchDraw(DestRect(), graphic);
}

// ---- TPaintBox ------------------------------------------------------------------------------

HOST_PUBLISHED(TPaintBox, TGraphicControl) {
  PublishVisibility(c);
  PublishColorAndFont(c);
  PublishInput(c);
  HOST_EVENT(OnPaint);
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
  control_style_.Include(csReplicatable);
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetColor(Color());
  if (IsDesigning()) {
    DesignOutline(canvas, Width(), Height());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetStyle(psSolid);
  }
  if (OnPaint) OnPaint(this);
}

// ---- TGauge ---------------------------------------------------------------------------------

HOST_PUBLISHED(TGauge, TGraphicControl) {
  PublishVisibility(c);
  PublishColorAndFont(c);
  PublishInput(c);
  HOST_PROP(Kind, gkHorizontalBar);
  HOST_PROP(BorderStyle, bsSingle);
  HOST_COLOR_PROP(ForeColor, clBlack);
  HOST_COLOR_PROP(BackColor, clWhite);
  HOST_PROP(MinValue, 0);
  HOST_PROP(MaxValue, 100);
  HOST_PROP(Progress, 0);
  HOST_PROP(ShowText, true);
}

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) {
  control_style_ += TControlStyle{csFramed, csOpaque};
  SetBounds(0, 0, 100, 100);
}

void TGauge::SetKind(TGaugeKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  Invalidate();
}

void TGauge::SetMinValue(int32_t value) {
  if (value == min_value_) return;
  if (value > max_value_ && !IsLoading()) {
    throw EInvalidOperation(Format("%s.MinValue: %d is above MaxValue (%d)", {NameOf(this), value, max_value_}));
  }
  min_value_ = value;
  progress_ = std::max(progress_, value);
  Invalidate();
}

void TGauge::SetMaxValue(int32_t value) {
  if (value == max_value_) return;
  if (value < min_value_ && !IsLoading()) {
    throw EInvalidOperation(Format("%s.MaxValue: %d is below MinValue (%d)", {NameOf(this), value, min_value_}));
  }
  max_value_ = value;
  progress_ = std::min(progress_, value);
  Invalidate();
}

void TGauge::SetProgress(int32_t value) {
  // While a form is read the range may still be on its way: keep what was asked for.
  if (!IsLoading()) value = std::clamp(value, std::min(min_value_, max_value_), max_value_);
  if (value == progress_) return;
  progress_ = value;
  Invalidate();
}

void TGauge::AddProgress(int32_t value) {
  const int64_t sum = static_cast<int64_t>(progress_) + value;
  SetProgress(static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX)));
}

int32_t TGauge::PercentDone() const {
  const int64_t range = static_cast<int64_t>(max_value_) - min_value_;
  if (range <= 0) return 0;
  const int64_t done = std::clamp<int64_t>(static_cast<int64_t>(progress_) - min_value_, 0, range);
  return static_cast<int32_t>(done * 100 / range);
}

void TGauge::SetForeColor(TColor color) {
  if (color == fore_color_) return;
  fore_color_ = color;
  Invalidate();
}

void TGauge::SetBackColor(TColor color) {
  if (color == back_color_) return;
  back_color_ = color;
  Invalidate();
}

void TGauge::SetShowText(bool value) {
  if (value == show_text_) return;
  show_text_ = value;
  Invalidate();
}

void TGauge::SetBorderStyle(TBorderStyle style) {
  if (style == border_style_) return;
  if (style != bsNone && style != bsSingle) {
    throw EInvalidOperation(Format("%s.BorderStyle: a gauge has bsNone or bsSingle, not %s",
                                   {NameOf(this), std::string(EnumTypeOf(style).Name(style))}));
  }
  border_style_ = style;
  Invalidate();
}

void TGauge::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  // Built off screen so the text can be laid over the finished figure in one go.
  TBitmap image;
  image.SetSize(w, h);
  TCanvas* canvas = image.Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBlack);  // the frame, when there is one
  canvas->FillRect(RECT{0, 0, w, h});
  RECT r{0, 0, w, h};
  if (border_style_ == bsSingle) r = RECT{1, 1, w - 1, h - 1};
  if (r.right > r.left && r.bottom > r.top) {
    PaintFigure(canvas, r);
    if (show_text_) PaintText(&image, r);
  }
  TGraphicControl::Canvas()->Draw(0, 0, &image);
}

void TGauge::PaintFigure(TCanvas* canvas, const RECT& r) {
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  const int percent = PercentDone();
  TBrush* brush = canvas->Brush();
  TPen* pen = canvas->Pen();
  pen->SetColor(fore_color_);
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  switch (kind_) {
    case gkText:
      brush->SetColor(back_color_);
      canvas->FillRect(r);
      break;
    case gkHorizontalBar:
    case gkVerticalBar: {
      brush->SetColor(back_color_);
      canvas->FillRect(r);
      brush->SetColor(fore_color_);
      if (kind_ == gkHorizontalBar) {
        const int fill = rw * percent / 100;
        if (fill > 0) canvas->FillRect(RECT{r.left, r.top, r.left + fill, r.bottom});
      } else {
        const int fill = rh * percent / 100;
        if (fill > 0) canvas->FillRect(RECT{r.left, r.bottom - fill, r.right, r.bottom});
      }
      break;
    }
    case gkPie: {
      brush->SetColor(Color());
      canvas->FillRect(r);
      brush->SetColor(percent >= 100 ? fore_color_ : back_color_);
      canvas->Ellipse(r);
      if (percent > 0 && percent < 100) {
        // Clockwise from twelve o'clock; Pie runs counter-clockwise, so start at the far end.
        const double a = 2 * std::numbers::pi * percent / 100.0;
        const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
        const int sx = static_cast<int>(std::lround(cx + rw / 2.0 * std::sin(a)));
        const int sy = static_cast<int>(std::lround(cy - rh / 2.0 * std::cos(a)));
        brush->SetColor(fore_color_);
        canvas->Pie(r.left, r.top, r.right, r.bottom, sx, sy, static_cast<int>(std::lround(cx)), r.top);
      }
      break;
    }
    case gkNeedle: {
      brush->SetColor(Color());
      canvas->FillRect(r);
      // The upper half of an ellipse standing on the bottom edge; the needle turns from
      // the left (empty) over the top to the right (full).
      const int base = r.bottom - 1;
      brush->SetColor(back_color_);
      canvas->Pie(r.left, r.top, r.right, r.top + 2 * rh - 1, r.right, base, r.left, base);
      canvas->MoveTo(r.left, base);
      canvas->LineTo(r.right, base);
      if (percent > 0) {
        const double a = std::numbers::pi * percent / 100.0;
        const double cx = (r.left + r.right - 1) / 2.0;
        const double rx = (rw - 1) / 2.0, ry = rh - 1;
        canvas->MoveTo(static_cast<int>(std::lround(cx)), base);
        canvas->LineTo(static_cast<int>(std::lround(cx - rx * std::cos(a))),
                       static_cast<int>(std::lround(base - ry * std::sin(a))));
      }
      break;
    }
  }
}

void TGauge::PaintText(TBitmap* image, const RECT& r) {
  const int w = image->Width(), h = image->Height();
  // The text in white on black, XORed onto the picture: each pixel under a letter turns to
  // its inverse, black on the empty part, the fill's inverse on the filled part.
  TBitmap mask;
  mask.SetSize(w, h);
  TCanvas* m = mask.Canvas();
  m->Brush()->SetStyle(bsSolid);
  m->Brush()->SetColor(clBlack);
  m->FillRect(RECT{0, 0, w, h});
  m->SetFont(Font());
  m->Font()->SetColor(clWhite);
  m->Brush()->SetStyle(bsClear);
  const std::string text = std::to_string(PercentDone()) + "%";
  const SIZE size = m->TextExtent(text);
  const int x = r.left + (r.right - r.left - size.cx) / 2;
  const int y = r.top + (r.bottom - r.top - size.cy) / 2;
  m->TextRect(r, x, y, text);
  TCanvas* canvas = image->Canvas();
  canvas->SetCopyMode(SRCINVERT);
  canvas->Draw(0, 0, &mask);
  canvas->SetCopyMode(SRCCOPY);
}

// ---- TTimer ---------------------------------------------------------------------------------

HOST_PUBLISHED(TTimer, TComponent) {
  HOST_PROP(Enabled, true);
  HOST_PROP(Interval, 1000u);
  HOST_EVENT(OnTimer);
}

namespace {
constexpr UINT_PTR kTimerId = 1;
constexpr const char* kTimerWindowClass = "TTimerWindow";
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, kTimerId);
    DestroyWindow(window_);
  }
}

void TTimer::SetInterval(uint32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  OnTimer = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::UpdateTimer() {
  if (active_) {
    KillTimer(window_, kTimerId);
    active_ = false;
  }
  if (interval_ == 0 || !enabled_ || !OnTimer || IsDesigning() || IsLoading()) return;
  if (!window_) {
    WNDCLASSEX wc{};
    if (!GetClassInfoEx(nullptr, kTimerWindowClass, &wc)) {
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &DefWindowProc;
      wc.lpszClassName = kTimerWindowClass;
      RegisterClassEx(&wc);
    }
    window_ = CreateWindowEx(0, kTimerWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!window_) throw EOutOfResources(Format("%s: no window for the timer", {NameOf(this)}));
    SetWindowProc(window_, [this](HWND, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      TMessage m{msg, wp, lp, 0};
      WndProc(m);
      return m.Result;
    });
  }
  if (!SetTimer(window_, kTimerId, interval_, nullptr)) {
    throw EOutOfResources(Format("%s: not enough timers available", {NameOf(this)}));
  }
  active_ = true;
}

void TTimer::WndProc(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    try {
      Timer();
    } catch (const std::exception& e) {
      HandleException(this, e);
    }
    return;
  }
  m.Result = DefWindowProc(window_, m.Msg, m.WParam, m.LParam);
}

// ---- Registration ---------------------------------------------------------------------------

void RegisterExtControls() {
  RegisterClasses({TBevel::StaticClass(), TShape::StaticClass(), TImage::StaticClass(), TPaintBox::StaticClass(),
                   TGauge::StaticClass(), TTimer::StaticClass()});
}

}  // namespace host
