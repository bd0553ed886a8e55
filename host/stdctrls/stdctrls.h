// The first standard controls: push buttons, labels and panels, drawn by us in the classic
// look (raised buttons with a black frame round the default one, etched panel bevels).
#pragma once

#include <cstdint>
#include <string>

#include "host/controls/controls.h"
#include "host/forms/forms.h"

namespace host {

HOST_ENUM(TAlignment, uint8_t, taLeftJustify, taRightJustify, taCenter)
HOST_ENUM(TTextLayout, uint8_t, tlTop, tlCenter, tlBottom)
HOST_ENUM(TPanelBevel, uint8_t, bvNone, bvLowered, bvRaised)
using TBevelWidth = int32_t;

// ---- TButton ------------------------------------------------------------------------------

class TButton : public TWinControl {
  HOST_CLASS(TButton)
  explicit TButton(TComponent* owner);

  // Enter clicks the default button unless another button has the focus.
  bool Default() const { return default_; }
  void SetDefault(bool value);
  // Esc clicks the cancel button.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Given to the parent form when the button is clicked (closes a modal form).
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult value) { modal_result_ = value; }

  // Drawn with the black default frame now: it has the focus, or it is the Default button
  // and no other button of its form has the focus.
  bool IsDefaultLook() const;
  // Shown pushed in (mouse held down over it, or Space held).
  bool IsPushed() const { return (mouse_down_ && mouse_inside_) || space_down_; }

  void Click() override;
  void Dispatch(TMessage& message) override;

 protected:
  void PaintWindow(HDC dc) override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  bool DoKeyUp(WORD& key, TShiftState shift) override;
  bool DoKeyPress(char& key) override;
  // Draws the frame (black when IsDefaultLook) and the face; returns the face inside the bevel.
  RECT DrawButtonFace(HDC dc);

 private:
  // Every button of the form changes its frame when the focus moves among them.
  void InvalidateFormButtons();
  bool CanClickNow() const;

  bool default_ = false;
  bool cancel_ = false;
  TModalResult modal_result_ = mrNone;
  bool mouse_down_ = false;
  bool mouse_inside_ = false;
  bool space_down_ = false;
};

// ---- TLabel -------------------------------------------------------------------------------

class TLabel : public TGraphicControl {
  HOST_CLASS(TLabel)
  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // Sizes the label to its text whenever the text or the font changes.
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  // Lets what lies beneath show between the letters.
  bool Transparent() const { return !control_style_.Contains(csOpaque); }
  void SetTransparent(bool value);
  // "&" underlines the next letter, which then focuses FocusControl.
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return focus_control_; }
  void SetFocusControl(TWinControl* control);

  void Dispatch(TMessage& message) override;
  void Loaded() override;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Resizes to the text when AutoSize is on.
  void AdjustBounds();
  // DrawText's flags for the label's settings.
  UINT TextFlags() const;

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool auto_size_ = true;
  bool word_wrap_ = false;
  bool show_accel_char_ = true;
  TWinControl* focus_control_ = nullptr;
};

// ---- TPanel -------------------------------------------------------------------------------

class TPanel : public TCustomControl {
  HOST_CLASS(TPanel)
  explicit TPanel(TComponent* owner);

  TPanelBevel BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TPanelBevel value);
  TPanelBevel BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TPanelBevel value);
  TBevelWidth BevelWidth() const { return bevel_width_; }
  void SetBevelWidth(TBevelWidth value);
  // The face-coloured gap between the outer and the inner bevel.
  int32_t BorderWidth() const { return border_width_; }
  void SetBorderWidth(int32_t value);
  // bsSingle adds a sunken window edge (a black line without Ctl3D).
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  RECT ClientRect() const override;
  void Dispatch(TMessage& message) override;
  // Children read with Align set were not laid out while loading.
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(RECT& rect) override;
  void Paint() override;

 private:
  TPanelBevel bevel_inner_ = bvNone;
  TPanelBevel bevel_outer_ = bvRaised;
  TBevelWidth bevel_width_ = 1;
  int32_t border_width_ = 0;
  TBorderStyle border_style_ = bsNone;
  TAlignment alignment_ = taCenter;
};

// Draws width rings of a 3-D frame inside rect, top and left in top_color, bottom and right
// in bottom_color (which owns the top-right and bottom-left corners), and shrinks rect by them.
void Frame3D(HDC dc, RECT& rect, TColor top_color, TColor bottom_color, int width);

// Registers TButton, TLabel and TPanel so stored forms can name them.
void RegisterStdControls();

}  // namespace host
