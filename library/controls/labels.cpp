#include "library/controls/labels.h"

#include <cstdint>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "library/foundation/application.h"
#include "library/foundation/utils.h"
#include "platform/win32/gdi.h"
#include "platform/win32/shell.h"
#include "platform/win32/text.h"

namespace zyr {

namespace {

// What both concrete labels publish besides their own sub-objects.
template <class C>
void PublishLabel(host::ClassBuilder<C>& c) {
  HOST_PROP(Align, host::alNone);
  HOST_PROP(Alignment, agTopLeft);
  HOST_PROP(AutoSize, true);
  HOST_PROP(Caption);
  c.ColorProperty("Color", &C::Color, &C::SetColor, host::clWindow).Stored([](const TObject* o) {
    return !static_cast<const C*>(o)->ParentColor();
  });
  HOST_PROP(Enabled, true);
  HOST_PROP(FocusControl);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(MultiLine, false);
  HOST_PROP(ParentColor, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(ShowAccelChar, true);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Transparent, true);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

// A rectangle from logical to device coordinates: clip regions are in device coordinates,
// which for a windowless control painted by its parent are the parent's.
RECT ToDevice(HDC dc, const RECT& r) {
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  LPtoDP(dc, corners, 2);
  return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

// ---- TZYRBaseLabel --------------------------------------------------------------------------

HOST_DEFINE_CLASS(TZYRBaseLabel, TZYRBaseGraphicControl)

TZYRBaseLabel::TZYRBaseLabel(TComponent* owner) : TZYRBaseGraphicControl(owner) {
  control_style_.Include(host::csReplicatable);
}

void TZYRBaseLabel::SetShowAccelChar(bool value) {
  if (value == show_accel_char_) return;
  show_accel_char_ = value;
  // "&&" shows one character or two: the size may change too.
  ObjectChanged(nullptr);
}

void TZYRBaseLabel::SetAutoSize(bool value) {
  if (value == auto_size_) return;
  auto_size_ = value;
  AdjustBounds();
}

void TZYRBaseLabel::SetMultiLine(bool value) {
  if (value == multi_line_) return;
  multi_line_ = value;
  ObjectChanged(nullptr);
}

void TZYRBaseLabel::SetAlignment(TZYRAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  ObjectChanged(nullptr);
}

void TZYRBaseLabel::SetFocusControl(host::TWinControl* value) {
  if (value == focus_control_) return;
  if (focus_control_) focus_control_->RemoveFreeNotification(this);
  focus_control_ = value;
  if (value) value->FreeNotification(this);
}

void TZYRBaseLabel::Notification(TComponent* component, host::TOperation operation) {
  TZYRBaseGraphicControl::Notification(component, operation);
  if (operation == host::opRemove && component == focus_control_) focus_control_ = nullptr;
}

void TZYRBaseLabel::ObjectChanged(TObject*) {
  AdjustBounds();
  Redraw();
}

void TZYRBaseLabel::FontChanged(TObject* sender) {
  if (sender == Font() && !parent_font_changing_) SetParentFont(false);
  if (!IsReading()) Canvas()->SetFont(Font());
  ObjectChanged(nullptr);
}

void TZYRBaseLabel::Dispatch(host::TMessage& m) {
  switch (m.Msg) {
    case host::CM_PARENTFONTCHANGED:
      parent_font_changing_ = true;
      try {
        TZYRBaseGraphicControl::Dispatch(m);
      } catch (...) {
        parent_font_changing_ = false;
        throw;
      }
      parent_font_changing_ = false;
      return;
    case host::CM_TEXTCHANGED:
      AdjustBounds();
      Redraw();
      return;
    case host::CM_FONTCHANGED:
      TZYRBaseGraphicControl::Dispatch(m);
      FontChanged(Font());
      return;
    case host::CM_DIALOGCHAR:
      if (show_accel_char_ && focus_control_ && Enabled() &&
          host::IsAccel(static_cast<WORD>(m.WParam), Caption()) && focus_control_->CanFocus()) {
        focus_control_->SetFocus();
        m.Result = 1;
        return;
      }
      TZYRBaseGraphicControl::Dispatch(m);
      return;
    default: TZYRBaseGraphicControl::Dispatch(m);
  }
}

void TZYRBaseLabel::Loaded() {
  TZYRBaseGraphicControl::Loaded();
  Canvas()->SetFont(Font());
  AdjustBounds();
}

TZYREffectTextOptions TZYRBaseLabel::EnabledOptions() const {
  return TZYREffectTextOptions{Enabled() ? etEnabled : etDisabled};
}

void TZYRBaseLabel::SizeToText(TZYR3DCaption* effect, int32_t border) {
  // Measuring a rotated caption sets its position, which reports back here.
  if (!auto_size_ || IsReading() || adjusting_) return;
  adjusting_ = true;
  try {
    RECT r = ClientRect();
    CalcEffectTextRect(Caption(), effect, r, border, show_accel_char_, multi_line_, Font());
    SetBounds(Left(), Top(), r.right, r.bottom);
  } catch (...) {
    adjusting_ = false;
    throw;
  }
  adjusting_ = false;
}

RECT TZYRBaseLabel::AlignedTextRect(const TZYR3DCaption* effect, const RECT& area) {
  // A rotated caption is measured itself (which places its text); others through a copy.
  RECT result = area;
  if (auto* fx = dynamic_cast<TZYRFxCaption*>(const_cast<TZYR3DCaption*>(effect)); fx && fx->Angle() != 0) {
    AlignFxTextRect(alignment_, Caption(), fx, result, show_accel_char_, multi_line_, Font(), area);
  } else {
    TZYRFxCaption upright;
    upright.Assign(effect);
    upright.SetAngle(0);
    AlignFxTextRect(alignment_, Caption(), &upright, result, show_accel_char_, multi_line_, Font(), area);
  }
  return result;
}

// ---- TZYRCustomSimpleLabel ------------------------------------------------------------------

HOST_DEFINE_CLASS(TZYRCustomSimpleLabel, TZYRBaseLabel)

TZYRCustomSimpleLabel::TZYRCustomSimpleLabel(TComponent* owner)
    : TZYRBaseLabel(owner), font_3d_(std::make_unique<TZYR3DCaption>()) {
  font_3d_->OnChange = [this](TObject* sender) { FontChanged(sender); };
}

TZYRCustomSimpleLabel::~TZYRCustomSimpleLabel() { font_3d_->OnChange = nullptr; }

void TZYRCustomSimpleLabel::SetFont3D(const TZYR3DCaption* value) { font_3d_->Assign(value); }

bool TZYRCustomSimpleLabel::NothingToPaint() const { return Transparent() && Caption().empty(); }

void TZYRCustomSimpleLabel::AdjustBounds() { SizeToText(font_3d_.get(), 0); }

void TZYRCustomSimpleLabel::Paint() {
  if (painting_ || IsLoading()) return;
  if (NothingToPaint()) {
    TZYRBaseGraphicControl::Paint();
    return;
  }
  PaintGuard guard(this);
  host::TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  RECT r = ClientRect();
  if (!Transparent()) FillBackground();
  uint16_t format = AlignmentFormat(Alignment()) | DT_WORDBREAK | DT_EXPANDTABS;
  if (!MultiLine()) {
    format |= DT_SINGLELINE;
  } else if (Alignment() >= agCenterLeft) {
    // The platform centres single lines only, so the measured block is placed instead.
    r = AlignedTextRect(font_3d_.get(), r);
  }
  if (!ShowAccelChar()) format |= DT_NOPREFIX;
  canvas->Brush()->SetColor(Color());
  canvas->Font()->SetColor(Font()->Color());
  DrawEffectText(canvas, Caption(), font_3d_.get(), r, format, EnabledOptions());
}

// ---- TZYRSimpleLabel ------------------------------------------------------------------------

HOST_PUBLISHED(TZYRSimpleLabel, TZYRCustomSimpleLabel) {
  PublishLabel(c);
  HOST_PROP(Font3D);
  HOST_PROP(UseAsJump, false);
  HOST_PROP(Jump, "");
  HOST_COLOR_PROP(ActiveColor, host::clPurple);
  HOST_COLOR_PROP(InActiveColor, host::clBlue);
  HOST_PROP(JumpUnderline, true);
}

TZYRSimpleLabel::TZYRSimpleLabel(TComponent* owner) : TZYRCustomSimpleLabel(owner) {}

void TZYRSimpleLabel::SetUnderline(bool on) {
  host::TFontStyles style = Font()->Style();
  if (on) {
    if (style.Contains(host::fsUnderline)) return;
    underline_added_ = true;
    style.Include(host::fsUnderline);
  } else {
    // An underline of the label's own font stays.
    if (!underline_added_) return;
    underline_added_ = false;
    style.Exclude(host::fsUnderline);
  }
  Font()->SetStyle(style);
}

void TZYRSimpleLabel::SetUseAsJump(bool value) {
  if (value == use_as_jump_) return;
  if (value) {
    use_as_jump_ = true;
    own_color_ = Font()->Color();
    own_cursor_ = Cursor();
    Font()->SetColor(inactive_color_);
    if (jump_underline_) SetUnderline(true);
    if (!IsDesigning()) SetCursor(crZYRHand);
    return;
  }
  use_as_jump_ = false;
  if (IsLoading()) return;
  if (!IsDesigning()) SetCursor(own_cursor_);
  Font()->SetColor(own_color_);
  SetUnderline(false);
}

void TZYRSimpleLabel::SetInActiveColor(TColor value) {
  if (value == inactive_color_) return;
  inactive_color_ = value;
  // A hyperlink at rest shows it at once.
  if (use_as_jump_ && !ControlState().Contains(host::csLButtonDown)) Font()->SetColor(value);
}

void TZYRSimpleLabel::SetJumpUnderline(bool value) {
  if (value == jump_underline_) return;
  jump_underline_ = value;
  if (use_as_jump_) SetUnderline(value);
}

void TZYRSimpleLabel::MouseDown(host::TMouseButton button, host::TShiftState shift, int x, int y) {
  if (use_as_jump_ && button == host::mbLeft) Font()->SetColor(active_color_);
  TZYRCustomSimpleLabel::MouseDown(button, shift, x, y);
}

void TZYRSimpleLabel::MouseUp(host::TMouseButton button, host::TShiftState shift, int x, int y) {
  if (use_as_jump_ && button == host::mbLeft) Font()->SetColor(inactive_color_);
  TZYRCustomSimpleLabel::MouseUp(button, shift, x, y);
}

void TZYRSimpleLabel::Click() {
  TZYRCustomSimpleLabel::Click();
  if (!use_as_jump_) return;
  // The target goes to the shell as one argument, whatever characters it holds.
  const std::string target = IsBlank(jump_) ? Caption() : host::Trim(jump_);
  HWND window = host::Application() ? host::Application()->Handle() : nullptr;
  const HINSTANCE result = ShellExecute(window, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<intptr_t>(result) <= 32) {
    SetUseAsJump(false);
    SetEnabled(false);
  }
}

// ---- TZYRCustomLabel ------------------------------------------------------------------------

HOST_DEFINE_CLASS(TZYRCustomLabel, TZYRBaseLabel)

TZYRCustomLabel::TZYRCustomLabel(TComponent* owner)
    : TZYRBaseLabel(owner), bevel_(std::make_unique<TZYRBevel>()), font_fx_(std::make_unique<TZYRFxCaption>()) {
  bevel_->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
  font_fx_->OnChange = [this](TObject* sender) { FontChanged(sender); };
}

TZYRCustomLabel::~TZYRCustomLabel() {
  bevel_->OnChange = nullptr;
  font_fx_->OnChange = nullptr;
}

void TZYRCustomLabel::SetBevel(const TZYRBevel* value) { bevel_->Assign(value); }
void TZYRCustomLabel::SetFontFx(const TZYRFxCaption* value) { font_fx_->Assign(value); }

bool TZYRCustomLabel::NothingToPaint() const {
  return Transparent() && IsBlank(Caption()) && bevel_->BevelExtent() == 0;
}

void TZYRCustomLabel::FontChanged(TObject* sender) {
  if (font_fx_->Angle() != 0 && !IsTrueTypeFont(Font()->Name())) {
    if (sender != Font()) {
      Font()->SetName("Arial");
    } else {
      font_fx_->SetAngle(0);
    }
  }
  TZYRBaseLabel::FontChanged(sender);
}

void TZYRCustomLabel::AdjustBounds() { SizeToText(font_fx_.get(), bevel_->BevelExtent()); }

bool TZYRCustomLabel::BorderBandsTransparent() const {
  return Transparent() || host::ColorToRGB(bevel_->BorderColor()) == host::ColorToRGB(Color());
}

void TZYRCustomLabel::Paint() {
  if (painting_ || IsLoading()) return;
  if (NothingToPaint()) {
    TZYRBaseGraphicControl::Paint();
    return;
  }
  PaintGuard guard(this);
  host::TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  if (!Transparent()) FillBackground();
  RECT r = ClientRect();
  TZYREffectTextOptions options = EnabledOptions();
  RECT clip{};
  const RECT* clip_rect = nullptr;
  if (bevel_->BevelExtent() != 0) {
    r = bevel_->PaintBevel(canvas, r, BorderBandsTransparent());
    clip = ToDevice(canvas->Handle(), r);
    clip_rect = &clip;
    options.Include(etClip);
  }
  uint16_t format = AlignmentFormat(Alignment()) | DT_WORDBREAK | DT_EXPANDTABS;
  if (!ShowAccelChar()) format |= DT_NOPREFIX;
  if (!AutoSize()) {
    const bool rotated = font_fx_->Angle() > 0;
    if (rotated || !MultiLine()) format |= DT_SINGLELINE;
    if ((rotated && Alignment() != agTopLeft) || (!rotated && MultiLine() && Alignment() >= agCenterLeft)) {
      r = AlignedTextRect(font_fx_.get(), r);
    }
  }
  canvas->Brush()->SetColor(Color());
  canvas->Font()->SetColor(Font()->Color());
  DrawEffectText(canvas, Caption(), font_fx_.get(), r, format, options, clip_rect);
}

HOST_PUBLISHED(TZYRLabel, TZYRCustomLabel) {
  PublishLabel(c);
  HOST_PROP(Bevel);
  HOST_PROP(FontFx);
}

}  // namespace zyr
