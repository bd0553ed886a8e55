// List controls: the list box (standard or owner-drawn, single, multiple or extended
// selection, one or more columns), the header with sizeable sections, and the combo box
// (edit or fixed field, drop-down list in a popup window, owner-drawn items).
//
// Descendants draw items by overriding DrawItem (the canvas is prepared: font, brush and
// font colours for the item's state, and the focus rectangle is drawn by the list after
// DrawItem returns) and size them by overriding MeasureItem (variable styles only).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/classes/strings.h"
#include "host/controls/controls.h"
#include "host/forms/forms.h"

namespace host {

HOST_ENUM(TListBoxStyle, uint8_t, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)
HOST_ENUM(TOwnerDrawStateFlag, uint8_t, odSelected, odGrayed, odDisabled, odChecked, odFocused)
using TOwnerDrawState = Set<TOwnerDrawStateFlag>;
HOST_ENUM(TComboBoxStyle, uint8_t, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)

using TDrawItemEvent = std::function<void(TWinControl* control, int index, RECT rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;
using TSectionEvent = std::function<void(TObject* sender, int section, int width)>;

// ---- Items ------------------------------------------------------------------------------------

// The items of a list or combo box: strings with objects, a selection flag and a measured
// height per item. Every change is reported to the control that owns the list.
class TListItems : public TStrings {
 public:
  HOST_CLASS(TListItems)
  // Reordered: the items were sorted; Updated: the outermost EndUpdate.
  enum class Change { Inserted, Deleted, Cleared, Changed, Reordered, Updated };
  using ChangeProc = std::function<void(Change change, int index)>;

  TListItems() = default;
  explicit TListItems(ChangeProc on_change) : on_change_(std::move(on_change)) {}

  int32_t Count() const override { return static_cast<int32_t>(items_.size()); }
  std::string Strings(int32_t index) const override;
  void Put(int32_t index, const std::string& s) override;
  TObject* Objects(int32_t index) const override;
  void PutObject(int32_t index, TObject* object) override;
  void Insert(int32_t index, const std::string& s) override;
  void Delete(int32_t index) override;
  void Clear() override;
  // Sorted lists put an added item at its place (ignoring case); Insert keeps its index.
  int32_t Add(const std::string& s) override;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);

  bool Selected(int32_t index) const;
  void SetSelected(int32_t index, bool selected);
  int32_t SelCount() const;
  // The measured height of an item (0 until measured).
  int32_t Height(int32_t index) const;
  void SetHeight(int32_t index, int32_t height);

 protected:
  void SetUpdateState(bool updating) override;

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
    bool selected = false;
    int32_t height = 0;
  };
  void Check(int32_t index) const;
  void Notify(Change change, int index);

  std::vector<Item> items_;
  bool sorted_ = false;
  ChangeProc on_change_;
};

// ---- List box ---------------------------------------------------------------------------------

class TCustomListBox : public TCustomControl {
  HOST_CLASS(TCustomListBox)
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items);
  // The focused item; in single selection also the selected one (-1: none).
  int32_t ItemIndex() const { return item_index_; }
  void SetItemIndex(int32_t index);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style);
  // The height of a row: the font's text height for lbStandard, the stored value otherwise
  // (lbOwnerDrawVariable uses it for items MeasureItem leaves alone).
  int32_t ItemHeight() const;
  void SetItemHeight(int32_t height);
  int32_t StoredItemHeight() const { return item_height_; }
  bool MultiSelect() const { return multi_select_; }
  void SetMultiSelect(bool value);
  // With MultiSelect: Shift extends from the anchor, Ctrl toggles (otherwise every click
  // toggles its item).
  bool ExtendedSelect() const { return extended_select_; }
  void SetExtendedSelect(bool value) { extended_select_ = value; }
  bool Selected(int32_t index) const;
  void SetSelected(int32_t index, bool selected);
  int32_t SelCount() const;
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool sorted);
  int32_t TopIndex() const { return top_index_; }
  void SetTopIndex(int32_t index);
  // 0: one column scrolled vertically; n: n columns side by side, scrolled horizontally.
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t columns);
  bool IntegralHeight() const { return integral_height_; }
  void SetIntegralHeight(bool value);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle style);

  // The item at a client point; past the items: -1 when existing, else Count.
  int32_t ItemAtPos(POINT p, bool existing) const;
  // The item's rectangle in client coordinates (it may lie outside the client area).
  RECT ItemRect(int32_t index) const;
  void Clear() { items_->Clear(); }

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& message) override;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;

 protected:
  // Draws one item in rect; the canvas holds the item's colours and the list's font. The
  // default gives owner-draw styles to OnDrawItem and otherwise fills rect and writes the
  // text 2 px from the left.
  virtual void DrawItem(int32_t index, RECT rect, TOwnerDrawState state);
  // The height of an item in lbOwnerDrawVariable; height comes in as ItemHeight.
  virtual void MeasureItem(int32_t index, int32_t& height);
  // The list changed its selection through the mouse or the keyboard (fires OnClick).
  virtual void SelectionChanged();
  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  bool DoKeyPress(char& key) override;

  // Paints one item with the state it has now, then its focus rectangle.
  void PaintItem(int32_t index, RECT rect);
  // Scrolls so the item is wholly visible.
  void MakeVisible(int32_t index);
  // Moves the focus to index (as a key or a drag would), selecting as shift says.
  void MoveTo(int32_t index, TShiftState shift, bool by_mouse);
  void ItemsChanged(TListItems::Change change, int index);
  void UpdateScrollBars();
  // How many items fit from top downwards (at least 1).
  int32_t VisibleCount(int32_t top) const;
  int32_t RowsPerColumn() const;
  int32_t ItemHeightOf(int32_t index) const;
  int32_t MaxTopIndex() const;
  void RemeasureAll();
  void SelectRange(int32_t from, int32_t to, bool clear_others);
  mutable int32_t font_height_ = -1;
  // The list of a combo box works without focus and shows its selection all the same.
  bool in_combo_ = false;
  bool hover_select_ = false;

 private:
  std::unique_ptr<TListItems> items_;
  int32_t item_index_ = -1;
  int32_t anchor_ = -1;
  int32_t top_index_ = 0;
  TListBoxStyle style_ = lbStandard;
  int32_t item_height_ = 16;
  bool multi_select_ = false;
  bool extended_select_ = true;
  int32_t columns_ = 0;
  bool integral_height_ = false;
  TBorderStyle border_style_ = bsSingle;
  std::string search_;
  DWORD search_tick_ = 0;
  bool updating_scroll_ = false;
};

class TListBox : public TCustomListBox {
  HOST_CLASS(TListBox)
  using TCustomListBox::TCustomListBox;
};

// ---- Header -----------------------------------------------------------------------------------

// Raised header buttons, one per section; the dividers can be dragged. Section widths are
// stored as SectionWidths = (w0 w1 ...) through DefineProperties when any differs from 50.
class THeader : public TCustomControl {
  HOST_CLASS(THeader)
  static constexpr int32_t kDefaultSectionWidth = 50;
  explicit THeader(TComponent* owner);
  ~THeader() override;

  TStrings* Sections() const { return sections_.get(); }
  void SetSections(TStrings* sections);
  int32_t SectionWidth(int32_t index) const;
  void SetSectionWidth(int32_t index, int32_t width);
  bool AllowResize() const { return allow_resize_; }
  void SetAllowResize(bool value) { allow_resize_ = value; }
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle style);
  // The section whose right edge is within 2 px of x, or -1.
  int32_t DividerAt(int x) const;

  TSectionEvent OnSizing;
  TSectionEvent OnSized;

  void DefineProperties(TFiler& filer) override;
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  std::unique_ptr<TStringList> sections_;
  std::vector<int32_t> widths_;
  bool allow_resize_ = true;
  TBorderStyle border_style_ = bsSingle;
  int32_t sizing_ = -1;      // the section being resized
  int32_t sizing_offset_ = 0;  // mouse x minus the divider's x when the drag began
};

// ---- Combo box --------------------------------------------------------------------------------

class TCustomComboBox;

// The list of a combo box: a topmost popup for the drop-down styles, a child for csSimple.
class TComboListBox : public TCustomListBox {
  HOST_CLASS(TComboListBox)
  TComboListBox(TComponent* owner, TCustomComboBox* combo, bool popup);
  TCustomComboBox* Combo() const { return combo_; }
  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void DrawItem(int32_t index, RECT rect, TOwnerDrawState state) override;
  void MeasureItem(int32_t index, int32_t& height) override;
  void SelectionChanged() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  friend class TCustomComboBox;
  TCustomComboBox* combo_;
  bool popup_;
};

class TCustomComboBox : public TCustomControl {
  HOST_CLASS(TCustomComboBox)
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items);
  int32_t ItemIndex() const { return item_index_; }
  void SetItemIndex(int32_t index);
  // Rows of the list: the font's text height for the standard styles, the stored value for
  // the owner-draw ones. The field is as high as a row (text height + 2 when standard) and
  // the control 6 px more.
  int32_t ItemHeight() const;
  void SetItemHeight(int32_t height);
  int32_t StoredItemHeight() const { return item_height_; }
  int32_t DropDownCount() const { return drop_down_count_; }
  void SetDropDownCount(int32_t count);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool sorted);
  // 0: no limit.
  int32_t MaxLength() const { return max_length_; }
  void SetMaxLength(int32_t length);
  bool DroppedDown() const;
  void SetDroppedDown(bool value);
  // The edit field's selection (csDropDown and csSimple).
  int32_t SelStart() const { return sel_start_; }
  int32_t SelLength() const { return sel_length_; }
  void SetSelStart(int32_t start);
  void SetSelLength(int32_t length);
  void SelectAll();
  std::string SelText() const;
  // The list's window while shown (tests and descendants look at it).
  TComboListBox* ListBox() const { return list_; }
  RECT ButtonRect() const;
  RECT FieldRect() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& message) override;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;

 protected:
  friend class TComboListBox;
  // Draws one item, in the list or in the field of a list style (index -1: nothing chosen,
  // the default only fills rect). The canvas is prepared as for a list box (while the list
  // paints, the combo's canvas draws on the list); the default gives owner-draw styles to
  // OnDrawItem and otherwise fills rect and writes the text 2 px from the left.
  virtual void DrawItem(int32_t index, RECT rect, TOwnerDrawState state);
  virtual void MeasureItem(int32_t index, int32_t& height);
  virtual void Change();
  virtual void DropDown();
  virtual void CloseUp();
  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  bool DoKeyPress(char& key) override;
  bool WantsChars() const override { return HasEdit(); }
  void SetTextValue(const std::string& s) override;

  bool HasEdit() const { return style_ == csDropDown || style_ == csSimple; }
  bool IsOwnerDraw() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
  int32_t FieldHeight() const;
  void AdjustHeight();
  // Picks an item as the user did: the field shows it and OnChange fires when it differs.
  void SelectItem(int32_t index, bool notify);
  void CloseList(bool take_selection);
  void ItemsChanged(TListItems::Change change, int index);
  void LayoutSimpleList();
  void PaintEdit(const RECT& field);
  int32_t CharAt(int x) const;
  void UpdateCaret();
  void ReplaceSelection(const std::string& text);
  void EditChanged();

 private:
  std::unique_ptr<TListItems> items_;
  TComboListBox* list_ = nullptr;  // popup or csSimple child; owned by this control
  TComboBoxStyle style_ = csDropDown;
  int32_t item_index_ = -1;
  int32_t item_height_ = 16;
  int32_t drop_down_count_ = 8;
  int32_t max_length_ = 0;
  int32_t sel_start_ = 0;
  int32_t sel_length_ = 0;
  int32_t scroll_x_ = 0;  // the edit text's horizontal scroll in pixels
  bool button_down_ = false;     // the button is held with the mouse
  bool button_pushed_ = false;   // ... and the mouse is over it
  bool editing_drag_ = false;
  int32_t drag_anchor_ = 0;
  std::string search_;
  DWORD search_tick_ = 0;
  bool dropped_ = false;
  mutable int32_t font_height_ = -1;
};

class TComboBox : public TCustomComboBox {
  HOST_CLASS(TComboBox)
  using TCustomComboBox::TCustomComboBox;
};

void RegisterListControls();

}  // namespace host
