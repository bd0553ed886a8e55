// Labels: windowless text controls that size themselves to their text, break lines, align it
// nine ways and move the focus to another control on their accelerator. TZYRSimpleLabel draws
// a 3D caption and can be a hyperlink opened through the shell; TZYRLabel draws a rotatable
// caption with effects inside a bevel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "library/controls/bases.h"

namespace zyr {

class TZYRBaseLabel : public TZYRBaseGraphicControl {
  HOST_CLASS(TZYRBaseLabel)
  explicit TZYRBaseLabel(TComponent* owner);

  // "&" marks the accelerator and is not shown.
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool value);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool value);
  // Breaks the text into lines at the control's width.
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool value);
  TZYRAlignment Alignment() const { return alignment_; }
  void SetAlignment(TZYRAlignment value);
  // Takes the focus when the accelerator is pressed.
  host::TWinControl* FocusControl() const { return focus_control_; }
  void SetFocusControl(host::TWinControl* value);

  // Resizes to the text, then redraws.
  void ObjectChanged(TObject* sender) override;
  void Dispatch(host::TMessage& message) override;
  void Loaded() override;

 protected:
  // Resizes the control to its text when AutoSize is on.
  virtual void AdjustBounds() {}
  using TZYRBaseGraphicControl::FontChanged;
  // The font or the caption's effect changed.
  virtual void FontChanged(TObject* sender);
  void Notification(TComponent* component, host::TOperation operation) override;

  bool IsReading() const { return ComponentState().Contains(host::csReading); }
  TZYREffectTextOptions EnabledOptions() const;
  // Measures the caption with effect and a frame of border pixels and takes the measured size,
  // keeping the top-left corner. Skipped while reading and while already adjusting.
  void SizeToText(TZYR3DCaption* effect, int32_t border);
  // The box of the measured caption placed inside area by the alignment.
  RECT AlignedTextRect(const TZYR3DCaption* effect, const RECT& area);

  // Guards Paint against re-entry: measuring while painting can report changes that repaint.
  class PaintGuard {
   public:
    explicit PaintGuard(TZYRBaseLabel* label) : label_(label) { label_->painting_ = true; }
    ~PaintGuard() { label_->painting_ = false; }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;

   private:
    TZYRBaseLabel* label_;
  };
  bool painting_ = false;

 private:
  bool show_accel_char_ = true;
  bool auto_size_ = true;
  bool multi_line_ = false;
  TZYRAlignment alignment_ = agTopLeft;
  host::TWinControl* focus_control_ = nullptr;
  bool adjusting_ = false;
  // The font is being taken from the parent: it stays the parent's.
  bool parent_font_changing_ = false;
};

// ---- Simple labels --------------------------------------------------------------------------

class TZYRCustomSimpleLabel : public TZYRBaseLabel {
  HOST_CLASS(TZYRCustomSimpleLabel)
  explicit TZYRCustomSimpleLabel(TComponent* owner);
  ~TZYRCustomSimpleLabel() override;

  TZYR3DCaption* Font3D() const { return font_3d_.get(); }
  void SetFont3D(const TZYR3DCaption* value);

  bool NothingToPaint() const override;

 protected:
  void AdjustBounds() override;
  void Paint() override;

 private:
  std::unique_ptr<TZYR3DCaption> font_3d_;
};

class TZYRSimpleLabel : public TZYRCustomSimpleLabel {
  HOST_CLASS(TZYRSimpleLabel)
  explicit TZYRSimpleLabel(TComponent* owner);

  // A hyperlink: coloured, underlined, with the hand cursor; a click opens the target.
  bool UseAsJump() const { return use_as_jump_; }
  void SetUseAsJump(bool value);
  // What the shell opens; when blank, the caption.
  const std::string& Jump() const { return jump_; }
  void SetJump(const std::string& value) { jump_ = value; }
  // The font colour while the left button is held down.
  TColor ActiveColor() const { return active_color_; }
  void SetActiveColor(TColor value) { active_color_ = value; }
  // The font colour of a hyperlink at rest.
  TColor InActiveColor() const { return inactive_color_; }
  void SetInActiveColor(TColor value);
  bool JumpUnderline() const { return jump_underline_; }
  void SetJumpUnderline(bool value);

  // OnClick first; then a hyperlink opens its target. A target the shell cannot open turns
  // the label into a disabled plain label.
  void Click() override;

 protected:
  void MouseDown(host::TMouseButton button, host::TShiftState shift, int x, int y) override;
  void MouseUp(host::TMouseButton button, host::TShiftState shift, int x, int y) override;

 private:
  void SetUnderline(bool on);

  bool use_as_jump_ = false;
  std::string jump_;
  TColor active_color_ = host::clPurple;
  TColor inactive_color_ = host::clBlue;
  bool jump_underline_ = true;
  // What the label looked like before it became a hyperlink, given back when it stops.
  TColor own_color_ = host::clBlack;
  host::TCursor own_cursor_ = host::crDefault;
  bool underline_added_ = false;
};

// ---- Labels with rotation and a bevel -------------------------------------------------------

class TZYRCustomLabel : public TZYRBaseLabel {
  HOST_CLASS(TZYRCustomLabel)
  explicit TZYRCustomLabel(TComponent* owner);
  ~TZYRCustomLabel() override;

  TZYRBevel* Bevel() const { return bevel_.get(); }
  void SetBevel(const TZYRBevel* value);
  TZYRFxCaption* FontFx() const { return font_fx_.get(); }
  void SetFontFx(const TZYRFxCaption* value);

  bool NothingToPaint() const override;

 protected:
  // Rotated text needs an outline font: rotating a raster font switches it to "Arial";
  // choosing a raster font for rotated text turns the rotation off.
  void FontChanged(TObject* sender) override;
  void AdjustBounds() override;
  void Paint() override;
  // Whether the bevel's border bands can be left out: they would only repeat the label's colour
  // or what lies beneath.
  bool BorderBandsTransparent() const;

 private:
  std::unique_ptr<TZYRBevel> bevel_;
  std::unique_ptr<TZYRFxCaption> font_fx_;
};

class TZYRLabel : public TZYRCustomLabel {
  HOST_CLASS(TZYRLabel)
  explicit TZYRLabel(TComponent* owner) : TZYRCustomLabel(owner) {}
};

}  // namespace zyr
