// Text editing controls and their companions: the one-line edit, the memo, the spin button,
// the spin edit and the scroll bar, in the classic sunken-edge look.
//
// Index:
//   [SECTION] TCustomEdit (the editing engine both edits share)
//   [SECTION] TEdit
//   [SECTION] TMemo
//   [SECTION] TSpinButton
//   [SECTION] TSpinEdit
//   [SECTION] TScrollBar
//
// Positions (SelStart, SelLength, the caret) count bytes of the UTF-8 text and always fall on
// character boundaries; a memo's lines are separated by CR LF in its Text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/classes/strings.h"
#include "host/controls/controls.h"
#include "host/forms/forms.h"
#include "host/stdctrls/stdctrls.h"

namespace host {

HOST_ENUM(TEditCharCase, uint8_t, ecNormal, ecUpperCase, ecLowerCase)
HOST_ENUM(TScrollStyle, uint8_t, ssNone, ssHorizontal, ssVertical, ssBoth)
HOST_ENUM(TScrollBarKind, uint8_t, sbHorizontal, sbVertical)
HOST_ENUM(TScrollCode, uint8_t, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom,
          scEndScroll)

// [SECTION] TCustomEdit ------------------------------------------------------------------------

class TCustomEdit : public TCustomControl {
  HOST_CLASS(TCustomEdit)
  explicit TCustomEdit(TComponent* owner);
  ~TCustomEdit() override;

  int32_t MaxLength() const { return max_length_; }
  void SetMaxLength(int32_t value);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool value) { read_only_ = value; }
  char PasswordChar() const { return password_char_; }
  void SetPasswordChar(char value);
  bool AutoSelect() const { return auto_select_; }
  void SetAutoSelect(bool value) { auto_select_ = value; }
  TFormBorderStyle BorderStyle() const { return border_style_; }
  // bsNone or bsSingle; other styles are refused.
  void SetBorderStyle(TFormBorderStyle value);
  TEditCharCase CharCase() const { return char_case_; }
  void SetCharCase(TEditCharCase value);
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool value);
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  int32_t SelStart() const;
  void SetSelStart(int32_t value);
  int32_t SelLength() const;
  void SetSelLength(int32_t value);
  std::string SelText() const;
  // Replaces the selection (typing rules apart from ReadOnly: MaxLength and CharCase apply).
  void SetSelText(const std::string& text);
  void Clear();
  void SelectAll();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  // The caret's byte position and its position in client pixels.
  int32_t CaretPos() const { return static_cast<int32_t>(caret_); }
  POINT CaretPoint();
  // Horizontal scroll in pixels and the first visible line.
  int32_t ScrollX() const { return scroll_x_; }
  int32_t TopLine() const { return top_line_; }

  TNotifyEvent OnChange;

  void Dispatch(TMessage& message) override;

 protected:
  struct Line {
    size_t start = 0, end = 0;  // the text of a visual line, without its line break
  };
  std::string GetText() const override { return text_; }
  void SetTextValue(const std::string& s) override;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  bool WantsChars() const override { return true; }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Resize() override;
  virtual bool Multiline() const { return false; }
  virtual bool WordWrapping() const { return false; }
  virtual TAlignment TextAlignment() const { return taLeftJustify; }
  virtual void Change();
  // A typed character: false when refused (the spin edit takes digits only).
  virtual bool AcceptChar(uint32_t ch);
  // Line breaks in pasted or assigned text become CR LF (memo) or end the text (edit).
  std::string NormalizeInput(const std::string& s) const;
  // The client area text is laid out in (inside the edge and the margins).
  RECT TextRect();
  int LineHeight();
  int VisibleLines();
  void Relayout();
  // Scrolls so the caret shows, moves the platform caret and repaints what changed.
  void ScrollToCaret();
  virtual void UpdateScrollBars() {}
  void Replace(size_t from, size_t to, const std::string& with, bool by_user);
  void MoveCaret(size_t pos, bool extend);
  size_t LineOf(size_t pos) const;
  int XOf(const Line& line, size_t pos);
  size_t PosAtX(const Line& line, int x);
  size_t PosAtPoint(int x, int y);
  int LineLeft(const Line& line);
  // Vertical movement by lines, keeping the column the caret had.
  void MoveLines(int delta, bool extend);
  void ScrollLines(int delta);

  std::string text_;
  std::vector<Line> lines_;
  size_t anchor_ = 0, caret_ = 0;
  int32_t max_length_ = 0;
  bool read_only_ = false;
  char password_char_ = 0;
  bool auto_select_ = true;
  TFormBorderStyle border_style_ = bsSingle;
  TEditCharCase char_case_ = ecNormal;
  bool hide_selection_ = true;
  bool modified_ = false;
  int32_t scroll_x_ = 0;
  int32_t top_line_ = 0;
  int goal_x_ = -1;  // the column Up and Down keep; -1: take it from the caret
  bool selecting_ = false;
  bool caret_created_ = false;
  bool mouse_focusing_ = false;  // focus comes from a click: no AutoSelect
  int reserved_right_ = 0;       // pixels on the right kept for a child (the spin button)

  std::vector<int> Advances(const Line& line);

 private:
  std::string Shown(const Line& line) const;
  void PaintLine(HDC dc, const Line& line, int y, const RECT& area);
  void WordAt(size_t pos, size_t& from, size_t& to) const;
  size_t WordLeft(size_t pos) const;
  size_t WordRight(size_t pos) const;
  void DeleteBack(bool word);
  void DeleteForward(bool word);
  void ShowCaretNow();
};

// [SECTION] TEdit ----------------------------------------------------------------------------

class TEdit : public TCustomEdit {
  HOST_CLASS(TEdit)
  explicit TEdit(TComponent* owner);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool value);

 protected:
  void Dispatch(TMessage& message) override;
  void AdjustHeight();

 private:
  bool auto_size_ = true;
};

// [SECTION] TMemo ----------------------------------------------------------------------------

class TMemo : public TCustomEdit {
  HOST_CLASS(TMemo)
  explicit TMemo(TComponent* owner);
  ~TMemo() override;

  // The lines of the text; changing them changes the text.
  TStrings* Lines() const { return lines_strings_.get(); }
  void SetLines(TStrings* value);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle value);
  bool WantTabs() const { return want_tabs_; }
  void SetWantTabs(bool value) { want_tabs_ = value; }
  bool WantReturns() const { return want_returns_; }
  void SetWantReturns(bool value) { want_returns_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // Visual lines (after wrapping) and the line of the caret.
  int32_t VisualLineCount() const { return static_cast<int32_t>(lines_.size()); }
  int32_t CaretLine() const { return static_cast<int32_t>(LineOf(caret_)); }
  // The byte range of a visual line.
  std::pair<int32_t, int32_t> VisualLine(int32_t index) const;

  void Dispatch(TMessage& message) override;

 protected:
  bool Multiline() const override { return true; }
  bool WordWrapping() const override { return word_wrap_ && (scroll_bars_ == ssNone || scroll_bars_ == ssVertical); }
  TAlignment TextAlignment() const override { return alignment_; }
  void CreateParams(TCreateParams& params) override;
  void UpdateScrollBars() override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;

 private:
  friend class TMemoStrings;
  void OnScrollMessage(TMessage& m, bool vertical);
  std::unique_ptr<TStrings> lines_strings_;
  bool word_wrap_ = true;
  TScrollStyle scroll_bars_ = ssNone;
  bool want_tabs_ = false;
  bool want_returns_ = true;
  TAlignment alignment_ = taLeftJustify;
};

// [SECTION] TSpinButton ----------------------------------------------------------------------

class TSpinButton : public TCustomControl {
  HOST_CLASS(TSpinButton)
  explicit TSpinButton(TComponent* owner);
  ~TSpinButton() override;

  TWinControl* FocusControl() const { return focus_control_; }
  void SetFocusControl(TWinControl* value);
  // Which button is held: 0 none, 1 up, 2 down.
  int Pressed() const { return pressed_; }

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

  void Dispatch(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

  // The auto-repeat delays: the first repeat, then every next one.
  static constexpr UINT kInitialRepeatMs = 400;
  static constexpr UINT kRepeatMs = 100;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  int ButtonAt(int x, int y) const;
  void Fire(int button);
  void StopTimer();
  TWinControl* focus_control_ = nullptr;
  int pressed_ = 0;   // the button held
  int tracking_ = 0;  // the button the mouse went down on
  UINT_PTR timer_ = 0;
};

// [SECTION] TSpinEdit ------------------------------------------------------------------------

class TSpinEdit : public TCustomEdit {
  HOST_CLASS(TSpinEdit)
  explicit TSpinEdit(TComponent* owner);

  int32_t MinValue() const { return min_value_; }
  void SetMinValue(int32_t value);
  int32_t MaxValue() const { return max_value_; }
  void SetMaxValue(int32_t value);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t value) { increment_ = value; }
  // The number the text shows, clamped into the range (MinValue = MaxValue = 0: no range).
  int32_t Value() const;
  void SetValue(int32_t value);
  bool EditorEnabled() const { return editor_enabled_; }
  void SetEditorEnabled(bool value) { editor_enabled_ = value; }
  TSpinButton* Button() const { return button_; }

  void Dispatch(TMessage& message) override;

 protected:
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  bool AcceptChar(uint32_t ch) override;
  void Resize() override;
  int32_t Clamp(int32_t value) const;
  void Step(int32_t delta);

 private:
  void PlaceButton();
  TSpinButton* button_;
  int32_t min_value_ = 0, max_value_ = 0, increment_ = 1;
  bool editor_enabled_ = true;
};

// [SECTION] TScrollBar -----------------------------------------------------------------------

using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int32_t& pos)>;

// A scroll bar control. Like the platform's scroll-bar windows it tells its parent window of
// every scroll with WM_HSCROLL / WM_VSCROLL (LParam: its own window); the parent passes them
// back as CN_HSCROLL / CN_VSCROLL, where OnScroll and OnChange fire.
class TScrollBar : public TCustomControl {
  HOST_CLASS(TScrollBar)
  explicit TScrollBar(TComponent* owner);

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  int32_t Min() const { return min_; }
  void SetMin(int32_t value) { SetParams(position_, value, max_); }
  int32_t Max() const { return max_; }
  void SetMax(int32_t value) { SetParams(position_, min_, value); }
  int32_t Position() const { return position_; }
  void SetPosition(int32_t value) { SetParams(value, min_, max_); }
  // Checks min <= max (EInvalidOperation otherwise) and clamps the position into them.
  void SetParams(int32_t position, int32_t min, int32_t max);
  int32_t SmallChange() const { return small_change_; }
  void SetSmallChange(int32_t value) { small_change_ = value; }
  int32_t LargeChange() const { return large_change_; }
  void SetLargeChange(int32_t value) { large_change_ = value; }
  int32_t PageSize() const { return page_size_; }
  void SetPageSize(int32_t value);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  virtual void Change();
  virtual void Scroll(TScrollCode code, int32_t& pos);

 private:
  struct Parts {
    RECT arrow1, arrow2, track, thumb;
  };
  Parts Layout() const;
  // The position a thumb whose leading edge is at offset (along the track) stands for.
  int32_t PositionAt(int offset) const;
  // Tells the parent window, which passes it back (the platform control's way).
  void Notify(WORD code, int32_t pos);
  void HandleScroll(WORD code, int32_t thumb);
  int32_t MaxPosition() const;
  enum Part { kNone, kArrow1, kArrow2, kPage1, kPage2, kThumb };
  Part PartAt(int x, int y) const;
  void StopTimer();
  Part pressed_ = kNone;   // the part held (auto-repeating)
  Part tracking_ = kNone;  // the part the mouse went down on
  int drag_offset_ = 0;    // where in the thumb it was grabbed
  int32_t drag_pos_ = 0;
  UINT_PTR timer_ = 0;
  TScrollBarKind kind_ = sbHorizontal;
  int32_t min_ = 0, max_ = 100, position_ = 0;
  int32_t small_change_ = 1, large_change_ = 1, page_size_ = 0;
};

void RegisterEditControls();

}  // namespace host
