#include "library/controls/bases.h"

#include <algorithm>

#include "host/classes/publish.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "host/graphics/pen.h"
#include "platform/win32/text.h"

namespace zyr {

uint16_t AlignmentFormat(TZYRAlignment alignment) {
  static constexpr uint16_t kColumns[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  static constexpr uint16_t kRows[3] = {0, DT_VCENTER, DT_BOTTOM};
  const int a = std::min(static_cast<int>(alignment), static_cast<int>(agBottomRight));
  return static_cast<uint16_t>(kColumns[a % 3] | kRows[a / 3]);
}

// ---- TZYRBaseGraphicControl -----------------------------------------------------------------

HOST_PUBLISHED(TZYRBaseGraphicControl, host::TGraphicControl) { HOST_PROP(About).MaxLength(kAboutVarLength); }

TZYRBaseGraphicControl::TZYRBaseGraphicControl(TComponent* owner) : host::TGraphicControl(owner) {
  control_style_.Exclude(host::csOpaque);
  width_ = 30;
  height_ = 30;
}

void TZYRBaseGraphicControl::MakeOpaque() {
  transparent_ = false;
  control_style_.Include(host::csOpaque);
}

void TZYRBaseGraphicControl::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  if (value) {
    control_style_.Exclude(host::csOpaque);
    // What lies beneath must be painted again first.
    Invalidate();
  } else {
    control_style_.Include(host::csOpaque);
    Redraw();
  }
}

void TZYRBaseGraphicControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  // Compared as the control will store them (no negative sizes).
  TZYRBoundsFlags flags;
  if (left != left_ || top != top_) flags.Include(bfPosition);
  if (std::max(width, 0) != width_ || std::max(height, 0) != height_) flags.Include(bfSize);
  host::TGraphicControl::SetBounds(left, top, width, height);
  if (!flags.Empty() && !IsLoading()) BoundsChanged(flags);
}

void TZYRBaseGraphicControl::BoundsChanged(TZYRBoundsFlags flags) {
  if (OnBoundsChanged) OnBoundsChanged(this, flags);
}

void TZYRBaseGraphicControl::ObjectChanged(TObject*) { Redraw(); }

void TZYRBaseGraphicControl::Redraw() {
  if (!transparent_ && !IsDesigning() && Showing() && Parent()->HandleAllocated()) {
    Paint();
  } else {
    Invalidate();
  }
}

void TZYRBaseGraphicControl::FillBackground() {
  host::TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(host::bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->Pen()->SetStyle(host::psClear);
  canvas->FillRect(ClientRect());
}

void TZYRBaseGraphicControl::Paint() {
  if (!IsDesigning()) return;
  host::TCanvas* canvas = Canvas();
  canvas->Pen()->SetColor(host::clBlack);
  canvas->Pen()->SetStyle(host::psDash);
  canvas->Brush()->SetStyle(host::bsClear);
  canvas->Rectangle(0, 0, Width(), Height());
}

// ---- TZYRGraphicControl ---------------------------------------------------------------------

HOST_DEFINE_CLASS(TZYRGraphicControl, TZYRBaseGraphicControl)

TZYRGraphicControl::TZYRGraphicControl(TComponent* owner)
    : TZYRBaseGraphicControl(owner), bevel_(std::make_unique<TZYRBevel>()) {
  // Through the virtual slot, so that descendants' overrides see the news.
  bevel_->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TZYRGraphicControl::~TZYRGraphicControl() { bevel_->OnChange = nullptr; }

void TZYRGraphicControl::SetBevel(const TZYRBevel* value) { bevel_->Assign(value); }

void TZYRGraphicControl::Paint() {
  if (NothingToPaint() && BevelExtent() == 0) {
    TZYRBaseGraphicControl::Paint();
    return;
  }
  bevel_->PaintBevel(Canvas(), ClientRect(), Transparent());
}

// ---- TZYRCustomControl ----------------------------------------------------------------------

HOST_PUBLISHED(TZYRCustomControl, host::TCustomControl) { HOST_PROP(About).MaxLength(kAboutVarLength); }

TZYRCustomControl::TZYRCustomControl(TComponent* owner) : host::TCustomControl(owner) {
  width_ = 100;
  height_ = 40;
}

void TZYRCustomControl::ObjectChanged(TObject*) {
  if (invalidate_on_change_) Invalidate();
}

// ---- TZYRCustomPanel ------------------------------------------------------------------------

HOST_DEFINE_CLASS(TZYRCustomPanel, TZYRCustomControl)

TZYRCustomPanel::TZYRCustomPanel(TComponent* owner) : TZYRCustomControl(owner) {
  control_style_ = {host::csAcceptsControls, host::csCaptureMouse, host::csClickEvents, host::csOpaque,
                    host::csDoubleClicks, host::csReplicatable};
  SetColor(host::clBtnFace);
  last_width_ = width_;
  last_height_ = height_;
}

void TZYRCustomPanel::Resize() {
  // The host reports moves here too; only a new size counts.
  if (width_ == last_width_ && height_ == last_height_) return;
  last_width_ = width_;
  last_height_ = height_;
  ObjectChanged(nullptr);
  TZYRCustomControl::Resize();
}

void TZYRCustomPanel::FillBackground() {
  host::TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(host::bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->Pen()->SetStyle(host::psClear);
  canvas->FillRect(ClientRect());
}

// ---- TZYRCustomBevelPanel -------------------------------------------------------------------

HOST_DEFINE_CLASS(TZYRCustomBevelPanel, TZYRCustomPanel)

TZYRCustomBevelPanel::TZYRCustomBevelPanel(TComponent* owner)
    : TZYRCustomPanel(owner), bevel_(std::make_unique<TZYRBevel>()) {
  bevel_->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TZYRCustomBevelPanel::~TZYRCustomBevelPanel() { bevel_->OnChange = nullptr; }

void TZYRCustomBevelPanel::SetBevel(const TZYRBevel* value) { bevel_->Assign(value); }

void TZYRCustomBevelPanel::ObjectChanged(TObject* sender) {
  if (sender && sender == bevel_.get()) Realign();
  TZYRCustomPanel::ObjectChanged(sender);
}

void TZYRCustomBevelPanel::AdjustClientRect(RECT& rect) {
  TZYRCustomPanel::AdjustClientRect(rect);
  const int32_t e = bevel_->BevelExtent();
  rect.left += e;
  rect.top += e;
  rect.right -= e;
  rect.bottom -= e;
}

void TZYRCustomBevelPanel::Paint() {
  FillBackground();
  bevel_->PaintBevel(Canvas(), ClientRect(), false);
}

// ---- TZYRCustomExtPanel ---------------------------------------------------------------------

HOST_DEFINE_CLASS(TZYRCustomExtPanel, TZYRCustomBevelPanel)

TZYRCustomExtPanel::TZYRCustomExtPanel(TComponent* owner)
    : TZYRCustomBevelPanel(owner), font_fx_(std::make_unique<TZYRFxCaption>()) {
  control_style_.Include(host::csSetCaption);
  font_fx_->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TZYRCustomExtPanel::~TZYRCustomExtPanel() { font_fx_->OnChange = nullptr; }

void TZYRCustomExtPanel::SetAlignment(TZYRAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  ObjectChanged(Font());
}

void TZYRCustomExtPanel::SetFontFx(const TZYRFxCaption* value) { font_fx_->Assign(value); }

void TZYRCustomExtPanel::Dispatch(host::TMessage& m) {
  switch (m.Msg) {
    case host::CM_PARENTFONTCHANGED:
      parent_font_changing_ = true;
      try {
        TZYRCustomBevelPanel::Dispatch(m);
      } catch (...) {
        parent_font_changing_ = false;
        throw;
      }
      parent_font_changing_ = false;
      return;
    case host::CM_FONTCHANGED:
      TZYRCustomBevelPanel::Dispatch(m);
      if (!parent_font_changing_) SetParentFont(false);
      // The font is what changed: a raster font turns the rotation off.
      ObjectChanged(Font());
      return;
    case host::CM_TEXTCHANGED:
      TZYRCustomBevelPanel::Dispatch(m);
      ObjectChanged(nullptr);
      return;
    default: TZYRCustomBevelPanel::Dispatch(m);
  }
}

void TZYRCustomExtPanel::ObjectChanged(TObject* sender) {
  if (font_fx_->Angle() != 0 && !IsTrueTypeFont(Font()->Name())) {
    if (sender == Font()) {
      font_fx_->SetAngle(0);
    } else {
      Font()->SetName("Arial");
    }
  }
  TZYRCustomBevelPanel::ObjectChanged(sender);
}

void TZYRCustomExtPanel::Paint() {
  FillBackground();
  RECT r = Bevel()->PaintBevel(Canvas(), ClientRect(), false);
  DrawCaption(r, alignment_);
}

void TZYRCustomExtPanel::DrawCaption(RECT& rect, TZYRAlignment alignment) {
  host::TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(host::bsClear);
  canvas->Brush()->SetColor(Color());
  canvas->SetFont(Font());
  const std::string caption = Caption();
  if (font_fx_->Angle() > 0 && alignment != agTopLeft) {
    const RECT area = rect;
    AlignFxTextRect(alignment, caption, font_fx_.get(), rect, false, false, Font(), area);
  }
  const uint16_t format = AlignmentFormat(alignment) | DT_EXPANDTABS | DT_SINGLELINE | DT_NOPREFIX;
  TZYREffectTextOptions options{Enabled() ? etEnabled : etDisabled, etClip};
  DrawEffectText(canvas, caption, font_fx_.get(), rect, format, options);
}

}  // namespace zyr
