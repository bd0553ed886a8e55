// Extra controls: bevels, shapes, images, paint boxes and gauges (windowless, painted by their
// parent) and the timer (a component with a hidden window of its own).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/classes/enuminfo.h"
#include "host/controls/controls.h"
#include "host/forms/forms.h"
#include "platform/win32/user.h"

namespace host {

class TBitmap;
class TBrush;
class TPen;
class TPicture;

// ---- TBevel ---------------------------------------------------------------------------------

HOST_ENUM(TBevelShape, uint8_t, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
HOST_ENUM(TBevelStyle, uint8_t, bsLowered, bsRaised)

// Lines in the button shadow and highlight colours: a sunken or raised box, an etched frame
// (two rectangles one pixel apart), a two-pixel line along one side, or nothing (a spacer,
// outlined only while designing).
class TBevel : public TGraphicControl {
  HOST_CLASS(TBevel)
  explicit TBevel(TComponent* owner);

  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape shape);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle style);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

// ---- TShape ---------------------------------------------------------------------------------

HOST_ENUM(TShapeType, uint8_t, stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle)

// A figure drawn with its own pen and brush. Squares and circles take the shorter side and
// sit in the middle; the outline stays inside the bounds whatever the pen's width.
class TShape : public TGraphicControl {
  HOST_CLASS(TShape)
  explicit TShape(TComponent* owner);
  ~TShape() override;

  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType shape);
  // Owned; changing them repaints. Setting copies.
  TPen* Pen() const { return pen_.get(); }
  void SetPen(TPen* pen);
  TBrush* Brush() const { return brush_.get(); }
  void SetBrush(TBrush* brush);

 protected:
  void Paint() override;

 private:
  void StyleChanged();

  TShapeType shape_ = stRectangle;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
};

// ---- TImage ---------------------------------------------------------------------------------

// Shows a picture at its own size (at the top-left or centred) or stretched to the bounds.
class TImage : public TGraphicControl {
  HOST_CLASS(TImage)
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return picture_.get(); }
  // Copies the picture's graphic.
  void SetPicture(TPicture* picture);
  // The picture's bitmap canvas, for drawing on the image. An empty picture first becomes a
  // white bitmap of the control's size; a picture holding anything but a bitmap raises
  // EInvalidOperation. (The control's own canvas is TGraphicControl::Canvas.)
  TCanvas* Canvas();

  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  // Leaves out the bitmap's transparent colour when drawing.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // Takes the picture's size whenever the picture changes.
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool value);

  // Where the picture goes in the control.
  RECT DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged();

  std::unique_ptr<TPicture> picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
  bool auto_size_ = false;
  bool adjusting_ = false;
};

// ---- TPaintBox ------------------------------------------------------------------------------

// An area the program paints in OnPaint, on Canvas, with the control's font and colour set.
class TPaintBox : public TGraphicControl {
  HOST_CLASS(TPaintBox)
  explicit TPaintBox(TComponent* owner);

  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};

// ---- TGauge ---------------------------------------------------------------------------------

HOST_ENUM(TGaugeKind, uint8_t, gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle)

// Progress between MinValue and MaxValue as a bar, a pie, a needle or just the percentage.
// The percentage text sits in the middle in the inverse of whatever lies beneath it, so it
// reads on both the filled and the empty part.
class TGauge : public TGraphicControl {
  HOST_CLASS(TGauge)
  explicit TGauge(TComponent* owner);

  TGaugeKind Kind() const { return kind_; }
  void SetKind(TGaugeKind kind);
  // MinValue may not go above MaxValue nor MaxValue below MinValue (EInvalidOperation,
  // except while a form is read); Progress is kept between them.
  int32_t MinValue() const { return min_value_; }
  void SetMinValue(int32_t value);
  int32_t MaxValue() const { return max_value_; }
  void SetMaxValue(int32_t value);
  int32_t Progress() const { return progress_; }
  void SetProgress(int32_t value);
  void AddProgress(int32_t value);
  // Whole percent of the range done (0 for an empty range).
  int32_t PercentDone() const;

  TColor ForeColor() const { return fore_color_; }
  void SetForeColor(TColor color);
  TColor BackColor() const { return back_color_; }
  void SetBackColor(TColor color);
  bool ShowText() const { return show_text_; }
  void SetShowText(bool value);
  // bsNone or bsSingle (a one-pixel black frame); other styles raise EInvalidOperation.
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle style);

 protected:
  void Paint() override;

 private:
  void PaintFigure(TCanvas* canvas, const RECT& r);
  void PaintText(TBitmap* image, const RECT& r);

  TGaugeKind kind_ = gkHorizontalBar;
  int32_t min_value_ = 0;
  int32_t max_value_ = 100;
  int32_t progress_ = 0;
  TColor fore_color_ = clBlack;
  TColor back_color_ = clWhite;
  bool show_text_ = true;
  TBorderStyle border_style_ = bsSingle;
};

// ---- TTimer ---------------------------------------------------------------------------------

// Fires OnTimer every Interval milliseconds while Enabled. The platform timer runs only when
// there is something to call: enabled, a non-zero interval, an OnTimer handler, and not while
// designing. Assign the handler with SetOnTimer (a form's reader does so by itself), so the
// timer starts; exceptions from the handler go to HandleException.
class TTimer : public TComponent {
  HOST_CLASS(TTimer)
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  void SetOnTimer(TNotifyEvent handler);
  // Whether the platform timer is running.
  bool Active() const { return active_; }

  TNotifyEvent OnTimer;

  void Loaded() override;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& message);

  uint32_t interval_ = 1000;
  bool enabled_ = true;
  bool active_ = false;
  HWND window_ = nullptr;
};

// Registers the classes above for form files.
void RegisterExtControls();

}  // namespace host
