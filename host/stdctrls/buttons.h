// Buttons that keep a state: speed buttons (windowless, with a glyph, grouped), check boxes,
// radio buttons, group boxes and radio groups, in the grey 3D look.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/classes/enuminfo.h"
#include "host/stdctrls/glyph.h"     // TButtonLayout, TButtonState
#include "host/stdctrls/stdctrls.h"  // TAlignment
#include "host/controls/controls.h"

namespace host {

class TBitmap;
class TStrings;
class TStringList;

HOST_ENUM(TCheckBoxState, uint8_t, cbUnchecked, cbChecked, cbGrayed)

// False when the control or any control it sits in is disabled: such a control shows the
// disabled look even though its own Enabled property stays true.
bool EnabledWithParents(const TControl* control);

// ---- TSpeedButton -------------------------------------------------------------------------

// A windowless button with a glyph and a caption. Buttons with the same non-zero GroupIndex on
// one parent work as a group: one of them at most is Down.
class TSpeedButton : public TGraphicControl {
  HOST_CLASS(TSpeedButton)
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  // Up to four images side by side: up, disabled, down (while pressed), down (stays down).
  // The bottom-left pixel is the transparent colour. Setting copies the bitmap.
  TBitmap* Glyph() const;
  void SetGlyph(TBitmap* glyph);
  int32_t NumGlyphs() const;
  // 1 to 4; other numbers raise EInvalidOperation.
  void SetNumGlyphs(int32_t value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  // Pixels from the edge to the glyph; -1 centres glyph and caption together.
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t value);
  // Pixels between glyph and caption; -1 shares the free room evenly.
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t value);
  int32_t GroupIndex() const { return group_index_; }
  void SetGroupIndex(int32_t value);
  // Only a button with a GroupIndex stays down. Going down takes the others of its group up;
  // going up is refused unless AllowAllUp.
  bool Down() const { return down_; }
  void SetDown(bool value);
  // Shared by the whole group: setting it on one button sets it on all.
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool value);
  // Without a frame until the mouse is over it.
  bool Flat() const { return flat_; }
  void SetFlat(bool value);

  // What the button shows now.
  TButtonState State() const;
  bool MouseInControl() const { return mouse_in_; }

  void Click() override;
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void GroupChanged();
  void SetPressed(bool value);
  std::vector<TSpeedButton*> GroupMembers() const;

  std::unique_ptr<TButtonGlyph> glyph_;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
  int32_t group_index_ = 0;
  bool down_ = false;
  bool allow_all_up_ = false;
  bool flat_ = false;
  bool pressed_ = false;   // drawn pushed while the mouse holds it
  bool tracking_ = false;  // the left button went down on it
  bool mouse_in_ = false;
};

// ---- Check boxes and radio buttons --------------------------------------------------------

// What check boxes and radio buttons share: a 13x13 box beside a caption, the pushed look
// while the mouse or Space holds it, the focus rectangle around the caption, the accelerator.
class TCheckableControl : public TCustomControl {
  HOST_CLASS(TCheckableControl)
  explicit TCheckableControl(TComponent* owner);

  // taRightJustify puts the caption right of the box, taLeftJustify left of it.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // Shown pushed: the mouse holds it inside, or Space is down.
  bool Pressed() const { return pressed_; }
  // The box within the client area.
  RECT BoxRect() const;

  void SetEnabled(bool enabled) override;
  void Dispatch(TMessage& message) override;

  static constexpr int kBoxSize = 13;
  static constexpr int kTextGap = 4;  // between the box and the caption

 protected:
  // The user asked for a change (click, Space, accelerator).
  virtual void Toggle() = 0;
  // The DFCS_ flags of the box for the current state (without PUSHED/INACTIVE).
  virtual UINT BoxState() const = 0;
  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  bool DoKeyUp(WORD& key, TShiftState shift) override;
  bool DoKeyPress(char& key) override;

 private:
  void SetPressed(bool value);
  void CancelPress();

  TAlignment alignment_ = taRightJustify;
  bool pressed_ = false;
  bool tracking_ = false;
  bool space_down_ = false;
};

class TCheckBox : public TCheckableControl {
  HOST_CLASS(TCheckBox)
  explicit TCheckBox(TComponent* owner);

  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  // Every change fires OnClick, whether the user or the program made it.
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  // Lets the user's clicks reach cbGrayed: unchecked, grayed, checked, unchecked...
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool value) { allow_grayed_ = value; }

 protected:
  void Toggle() override;
  UINT BoxState() const override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allow_grayed_ = false;
};

// Checking one unchecks the other radio buttons of the same parent; the arrow keys move the
// check among them. Only the checked one is a tab stop.
class TRadioButton : public TCheckableControl {
  HOST_CLASS(TRadioButton)
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  // Becoming checked fires OnClick; becoming unchecked does not.
  void SetChecked(bool value);

 protected:
  void Toggle() override;
  UINT BoxState() const override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;

 private:
  // The radio buttons of the parent (this one included) in tab order.
  std::vector<TRadioButton*> Siblings() const;

  bool checked_ = false;
};

// ---- Group boxes ---------------------------------------------------------------------------

// An etched frame with the caption cut into its top line. Disabling it disables what it holds.
class TGroupBox : public TCustomControl {
  HOST_CLASS(TGroupBox)
  explicit TGroupBox(TComponent* owner);

  void Dispatch(TMessage& message) override;
  // The height of a line of the caption's font.
  int CaptionHeight() const;

  static constexpr int kCaptionLeft = 8;

 protected:
  void Paint() override;
  void AdjustClientRect(RECT& rect) override;
  void CreateParams(TCreateParams& params) override;
  void CreateHandle() override;

 private:
  // Gives the children's windows the enabled state of their own and of this box.
  void UpdateChildWindows();
};

// A group box holding one radio button per item, in columns.
class TRadioGroup : public TGroupBox {
  HOST_CLASS(TRadioGroup)
  explicit TRadioGroup(TComponent* owner);
  ~TRadioGroup() override;

  TStrings* Items() const;
  void SetItems(TStrings* items);
  // -1 when none is selected; numbers outside the items are brought to the nearest one.
  int32_t ItemIndex() const { return item_index_; }
  void SetItemIndex(int32_t value);
  // 1 to 16; others raise EInvalidOperation.
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t value);
  // The radio button of an item.
  TRadioButton* Buttons(int32_t index) const;
  int32_t ButtonCount() const { return static_cast<int32_t>(buttons_.size()); }

  void Loaded() override;
  void Dispatch(TMessage& message) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Resize() override;

 private:
  void ItemsChanged();
  void UpdateButtons();
  void ArrangeButtons();
  void UpdateTabStops();
  void ButtonClicked(TRadioButton* button);

  std::unique_ptr<TStringList> items_;
  std::vector<TRadioButton*> buttons_;
  int32_t item_index_ = -1;
  int32_t columns_ = 1;
  bool updating_ = false;
};

// Registers the classes of this unit for stored forms.
void RegisterButtons();

}  // namespace host
