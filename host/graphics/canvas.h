// TCanvas: drawing on a device context with a pen, a brush and a font.
//
// The canvas selects its pen, brush and font into the DC only when a drawing call needs
// them, and takes them out again when they change (putting back what the DC held), so a
// canvas can sit on a DC it does not own and leave it as it found it. Every drawing call
// fires OnChanging before and OnChange after.
#pragma once

#include <initializer_list>
#include <memory>
#include <span>
#include <string>

#include "host/classes/classes.h"
#include "host/classes/set.h"
#include "host/graphics/color.h"

namespace host {

class TBitmap;
class TBrush;
class TFont;
class TGraphic;
class TPen;

enum TFillStyle : uint8_t { fsSurface, fsBorder };
enum TCanvasState : uint8_t { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasStates = Set<TCanvasState>;
using TCopyMode = int32_t;

class TCanvas : public TPersistent {
 public:
  HOST_CLASS(TCanvas)
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The DC drawn on. A canvas without one asks CreateHandle; EInvalidOperation when it
  // still has none.
  HDC Handle();
  // Attaches to a DC the caller owns, or detaches with nullptr. Our pen, brush and font are
  // taken out of the old DC first and its own objects put back.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }
  // Takes our objects out of the DC; the next drawing call selects them again.
  void Refresh();

  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* font);
  TPen* Pen() const { return pen_.get(); }
  void SetPen(const TPen* pen);
  TBrush* Brush() const { return brush_.get(); }
  void SetBrush(const TBrush* brush);
  // The raster operation of CopyRect and of drawing bitmaps.
  TCopyMode CopyMode() const { return copy_mode_; }
  void SetCopyMode(TCopyMode mode) { copy_mode_ = mode; }

  POINT PenPos();
  void SetPenPos(POINT pos) { MoveTo(pos.x, pos.y); }
  // The bounding box of what can be drawn on.
  RECT ClipRect();
  // GetPixel's answer (CLR_INVALID outside the clip), as a TColor.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int left, int top, int right, int bottom, int corner_width, int corner_height);
  void Ellipse(int left, int top, int right, int bottom);
  void Ellipse(const RECT& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Polygon(std::span<const POINT> points);
  void Polygon(std::initializer_list<POINT> points) { Polygon(std::span<const POINT>(points.begin(), points.size())); }
  void Polyline(std::span<const POINT> points);
  void Polyline(std::initializer_list<POINT> points) { Polyline(std::span<const POINT>(points.begin(), points.size())); }
  // With the brush, outline excluded as rectangles are.
  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void DrawFocusRect(const RECT& r);
  void FloodFill(int x, int y, TColor color, TFillStyle style);

  // Text goes on the brush colour, or on nothing when the brush is bsClear. TextOut moves
  // the pen to the end of the text.
  void TextOut(int x, int y, const std::string& text);
  // Clipped to r; r is filled with the brush first unless the brush is bsClear.
  void TextRect(const RECT& r, int x, int y, const std::string& text);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }

  // At its own size, or stretched to r.
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const RECT& r, TGraphic* graphic);
  // Copies (stretching) source of another canvas to dest with CopyMode.
  void CopyRect(const RECT& dest, TCanvas* canvas, const RECT& source);
  // Copies (stretching) source of the bitmap to dest, the pixels of colour painted with the
  // brush instead (left as they were when the brush is bsClear).
  void BrushCopy(const RECT& dest, TBitmap* bitmap, const RECT& source, TColor color);

  // A lock count for code that hands a canvas around (drawing is single-threaded here).
  void Lock() { ++lock_count_; }
  void Unlock() {
    if (lock_count_ > 0) --lock_count_;
  }
  bool TryLock() {
    Lock();
    return true;
  }
  int LockCount() const { return lock_count_; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Gives the canvas a DC through SetHandle when it has none; the default has nothing to give.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  // Makes sure the DC exists and holds what a call needs.
  void RequiredState(TCanvasStates needed);
  // The DC without making one.
  HDC CurrentHandle() const { return dc_; }

 private:
  void SelectFont();
  void SelectPen();
  void SelectBrush();
  void BrushBackground();
  void TextBackground();
  void DeselectHandles();
  void Restore(TCanvasState state, HGDIOBJ original, int stock);
  void FontChanged();
  void PenChanged();
  void BrushChanged();

  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
  HDC dc_ = nullptr;
  TCanvasStates state_;
  // What the DC held before our objects went in.
  HGDIOBJ original_font_ = nullptr;
  HGDIOBJ original_pen_ = nullptr;
  HGDIOBJ original_brush_ = nullptr;
  // Text and fills want different background modes from the same brush.
  bool text_background_ = false;
  TCopyMode copy_mode_;
  int lock_count_ = 0;
};

}  // namespace host
