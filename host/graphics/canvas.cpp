#include "host/graphics/canvas.h"

#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "host/graphics/pen.h"
#include "platform/win32.h"
#include "host/classes/publish.h"

namespace host {

HOST_DEFINE_CLASS(TCanvas, TPersistent)

namespace {

// The raster operation that leaves the destination alone.
constexpr DWORD kKeepDestination = 0x00AA0029;

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }

// A memory DC with one bitmap selected, for the work of BrushCopy.
class ScratchDC {
 public:
  ScratchDC(int width, int height, UINT bits_per_pixel)
      : dc_(CreateCompatibleDC(nullptr)), bitmap_(CreateBitmap(width, height, 1, bits_per_pixel, nullptr)) {
    if (!dc_ || !bitmap_) throw EOutOfResources("Out of system resources");
    old_ = SelectObject(dc_, bitmap_);
  }
  ~ScratchDC() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  ScratchDC(const ScratchDC&) = delete;
  ScratchDC& operator=(const ScratchDC&) = delete;
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  // Takes the bitmap out of the DC, to hand it to calls that want it unselected.
  void Deselect() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()),
      pen_(std::make_unique<TPen>()),
      brush_(std::make_unique<TBrush>()),
      copy_mode_(static_cast<TCopyMode>(SRCCOPY)) {
  font_->OnChange = [this](TObject*) { FontChanged(); };
  pen_->OnChange = [this](TObject*) { PenChanged(); };
  brush_->OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

// [SECTION] The DC and what is selected into it -------------------------------------------

HDC TCanvas::Handle() {
  RequiredState({csHandleValid});
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  if (dc_) DeselectHandles();
  dc_ = dc;
  state_ = dc ? TCanvasStates{csHandleValid} : TCanvasStates{};
  text_background_ = false;
}

void TCanvas::Refresh() {
  if (dc_) DeselectHandles();
}

void TCanvas::RequiredState(TCanvasStates needed) {
  const TCanvasStates missing = needed - state_;
  if (missing.Contains(csHandleValid)) {
    CreateHandle();
    if (!dc_) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (missing.Contains(csFontValid)) SelectFont();
  if (missing.Contains(csPenValid)) SelectPen();
  if (missing.Contains(csBrushValid)) SelectBrush();
  else if (needed.Contains(csBrushValid) && text_background_) BrushBackground();
}

void TCanvas::SelectFont() {
  HGDIOBJ previous = SelectObject(dc_, font_->Handle());
  if (!original_font_) original_font_ = previous;
  SetTextColor(dc_, ColorToRGB(font_->Color()));
  state_.Include(csFontValid);
}

void TCanvas::SelectPen() {
  HGDIOBJ previous = SelectObject(dc_, pen_->Handle());
  if (!original_pen_) original_pen_ = previous;
  SetROP2(dc_, PenModeToRop2(pen_->Mode()));
  state_.Include(csPenValid);
}

void TCanvas::SelectBrush() {
  HGDIOBJ previous = SelectObject(dc_, brush_->Handle());
  if (!original_brush_) original_brush_ = previous;
  BrushBackground();
  state_.Include(csBrushValid);
}

// Hatches are drawn over what is there; the gaps of styled lines take the brush colour.
void TCanvas::BrushBackground() {
  const bool opaque = brush_->Style() == bsSolid || (brush_->Bitmap() && !brush_->Bitmap()->Empty());
  SetBkColor(dc_, ColorToRGB(brush_->Color()));
  SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT);
  text_background_ = false;
}

void TCanvas::TextBackground() {
  SetBkColor(dc_, ColorToRGB(brush_->Color()));
  SetBkMode(dc_, brush_->Style() == bsClear ? TRANSPARENT : OPAQUE);
  text_background_ = true;
}

void TCanvas::Restore(TCanvasState state, HGDIOBJ original, int stock) {
  if (!state_.Contains(state)) return;
  if (!original || !SelectObject(dc_, original)) SelectObject(dc_, GetStockObject(stock));
  state_.Exclude(state);
}

void TCanvas::DeselectHandles() {
  Restore(csFontValid, original_font_, SYSTEM_FONT);
  Restore(csPenValid, original_pen_, BLACK_PEN);
  Restore(csBrushValid, original_brush_, WHITE_BRUSH);
  original_font_ = original_pen_ = original_brush_ = nullptr;
}

void TCanvas::FontChanged() { Restore(csFontValid, original_font_, SYSTEM_FONT); }
void TCanvas::PenChanged() { Restore(csPenValid, original_pen_, BLACK_PEN); }
void TCanvas::BrushChanged() { Restore(csBrushValid, original_brush_, WHITE_BRUSH); }

void TCanvas::SetFont(const TFont* font) { font_->Assign(font); }
void TCanvas::SetPen(const TPen* pen) { pen_->Assign(pen); }
void TCanvas::SetBrush(const TBrush* brush) { brush_->Assign(brush); }

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

// [SECTION] Positions and pixels ------------------------------------------------------------

POINT TCanvas::PenPos() {
  RequiredState({csHandleValid});
  POINT p{0, 0};
  GetCurrentPositionEx(dc_, &p);
  return p;
}

RECT TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  RECT r{0, 0, 0, 0};
  GetClipBox(dc_, &r);
  return r;
}

TColor TCanvas::Pixels(int x, int y) {
  RequiredState({csHandleValid});
  return static_cast<TColor>(GetPixel(dc_, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  RequiredState({csHandleValid});
  SetPixel(dc_, x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState({csHandleValid});
  MoveToEx(dc_, x, y, nullptr);
}

// [SECTION] Lines and shapes -----------------------------------------------------------------

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(dc_, x, y);
  Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(dc_, left, top, right, bottom);
  Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int corner_width, int corner_height) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(dc_, left, top, right, bottom, corner_width, corner_height);
  Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(dc_, left, top, right, bottom);
  Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Arc(dc_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Pie(dc_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Chord(dc_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Polygon(std::span<const POINT> points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const POINT> points) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::FillRect(const RECT& r) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(dc_, &r, brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const RECT& r) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(dc_, &r, brush_->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const RECT& r) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(dc_, &r);
  Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ExtFloodFill(dc_, x, y, ColorToRGB(color), style == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

// [SECTION] Text -------------------------------------------------------------------------------

void TCanvas::TextOut(int x, int y, const std::string& text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  TextBackground();
  ExtTextOut(dc_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
  SIZE extent{0, 0};
  GetTextExtentPoint32(dc_, text.data(), static_cast<int>(text.size()), &extent);
  MoveToEx(dc_, x + extent.cx, y, nullptr);
  Changed();
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  TextBackground();
  const UINT options = ETO_CLIPPED | (brush_->Style() != bsClear ? ETO_OPAQUE : 0);
  ExtTextOut(dc_, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const std::string& text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE extent{0, 0};
  GetTextExtentPoint32(dc_, text.data(), static_cast<int>(text.size()), &extent);
  return extent;
}

// [SECTION] Graphics and copies ------------------------------------------------------------------

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw(RECT{x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const RECT& dest, TCanvas* canvas, const RECT& source) {
  if (!canvas) return;
  Changing();
  // The font's colour and the brush's take part when monochrome and colour pixels meet.
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  canvas->RequiredState({csHandleValid, csBrushValid});
  StretchBlt(dc_, dest.left, dest.top, RectWidth(dest), RectHeight(dest), canvas->dc_, source.left, source.top,
             RectWidth(source), RectHeight(source), static_cast<DWORD>(copy_mode_));
  Changed();
}

void TCanvas::BrushCopy(const RECT& dest, TBitmap* bitmap, const RECT& source, TColor color) {
  if (!bitmap || bitmap->Empty()) return;
  const int w = RectWidth(dest), h = RectHeight(dest);
  if (w <= 0 || h <= 0) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  // The source part at the destination's size, monochrome bitmaps as black and white...
  ScratchDC copy(w, h, 32);
  SetTextColor(copy.dc(), RGB(0, 0, 0));
  SetBkColor(copy.dc(), RGB(255, 255, 255));
  SetStretchBltMode(copy.dc(), COLORONCOLOR);
  StretchBlt(copy.dc(), 0, 0, w, h, bitmap->Canvas()->Handle(), source.left, source.top, RectWidth(source),
             RectHeight(source), SRCCOPY);
  // ...a mask, set where the colour is (the source's background colour turns white)...
  ScratchDC mask(w, h, 1);
  SetBkColor(copy.dc(), ColorToRGB(color));
  BitBlt(mask.dc(), 0, 0, w, h, copy.dc(), 0, 0, SRCCOPY);
  mask.Deselect();
  // ...and the brush through the mask, the copy elsewhere.
  const DWORD fore = brush_->Style() == bsClear ? kKeepDestination : PATCOPY;
  MaskBlt(dc_, dest.left, dest.top, w, h, copy.dc(), 0, 0, mask.bitmap(), 0, 0, MAKEROP4(fore, SRCCOPY));
  Changed();
}

}  // namespace host
