// Containers that show part of their content at a time: TScrollBox (children larger than the
// box, scrolled with standard scroll bars), TTabSet (a row of tabs hanging from a line, the
// classic bottom tabs), TNotebook (stacked pages, one visible) and TTabbedNotebook (a notebook
// with a raised tab strip on top).
//
// Stored forms hold the pages of a notebook as `object TPage ... end` blocks inside the
// notebook's block; the pages are owned by the notebook, the controls on them by the form.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/classes/strings.h"
#include "host/controls/controls.h"
#include "host/forms/forms.h"
#include "host/stdctrls/edits.h"  // TScrollBarKind, shared with the scroll bar control

namespace host {

class TBitmap;
class TScrollBox;

// ---- TScrollBox -----------------------------------------------------------------------------

// One of a scroll box's two bars. Range is the extent of the content in pixels (the bar shows
// when it exceeds the client size); Position is how far the content is scrolled.
class TControlScrollBar : public TPersistent {
  HOST_CLASS(TControlScrollBar)
  TControlScrollBar(TScrollBox* control, TScrollBarKind kind);

  TScrollBarKind Kind() const { return kind_; }
  int32_t Range() const { return range_; }
  // Setting a range by hand turns the box's AutoScroll off, as the range is no longer derived.
  void SetRange(int32_t range);
  int32_t Position() const { return position_; }
  // Clamped to 0..Range - client size; scrolls the children.
  void SetPosition(int32_t position);
  int32_t Increment() const { return increment_; }
  void SetIncrement(int32_t increment);
  // False keeps the bar hidden whatever the range.
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Whether the bar is on the screen now.
  bool IsScrollBarVisible() const { return shown_; }

 private:
  friend class TScrollBox;
  TScrollBox* control_;
  TScrollBarKind kind_;
  int32_t range_ = 0;
  int32_t position_ = 0;
  int32_t increment_ = 8;
  bool visible_ = true;
  bool shown_ = false;
};

// A windowed container whose children may extend beyond its client area.
//
// Overriding: descendants (split panes and the like) may
//  - override CalcAutoRange to derive the ranges from something else than the children's
//    extents (it runs whenever a child moves, appears or goes, and on resizing),
//  - override SetAutoScroll to refuse or extend it,
//  - set another Color in their constructor and publish Color again with that default; the
//    background is filled with Color by WM_ERASEBKGND, and Paint draws nothing of its own,
//    so overriding Paint paints over the background.
class TScrollBox : public TCustomControl {
  HOST_CLASS(TScrollBox)
  explicit TScrollBox(TComponent* owner);
  ~TScrollBox() override;

  bool AutoScroll() const { return auto_scroll_; }
  virtual void SetAutoScroll(bool value);
  TBorderStyle BorderStyle() const { return border_style_; }
  // bsNone or bsSingle (a sunken client edge); other styles raise EInvalidOperation.
  void SetBorderStyle(TBorderStyle value);
  TControlScrollBar* HorzScrollBar() const { return horz_.get(); }
  TControlScrollBar* VertScrollBar() const { return vert_.get(); }

  // Moves every child by (dx, dy) and scrolls the painted pixels with them.
  void ScrollBy(int dx, int dy);
  // Scrolls so that control (a child, or a child's child) is wholly visible when it can be.
  void ScrollInView(TControl* control);
  // Recomputes the ranges (AutoScroll) and shows or hides the bars.
  void UpdateScrollBars();

  void Dispatch(TMessage& message) override;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void AdjustClientRect(RECT& rect) override;
  // With AutoScroll: each range becomes the far edge of the furthest child (in unscrolled
  // coordinates); aligned children count only along the side they are not stretched on.
  virtual void CalcAutoRange();
  void Paint() override;

 private:
  friend class TControlScrollBar;
  void ScrollMessage(TControlScrollBar* bar, WORD code);
  void ApplyPosition(TControlScrollBar* bar, int32_t position);
  int32_t ClientExtent(TScrollBarKind kind) const;

  std::unique_ptr<TControlScrollBar> horz_;
  std::unique_ptr<TControlScrollBar> vert_;
  bool auto_scroll_ = true;
  TBorderStyle border_style_ = bsSingle;
  bool updating_ = false;
  bool scrolling_ = false;
};

// ---- TTabSet --------------------------------------------------------------------------------

// Asked before the selected tab changes; setting allow_change to false keeps the old tab.
using TTabChangeEvent = std::function<void(TObject* sender, int32_t new_tab, bool& allow_change)>;

// A row of tabs hanging from a line along the top edge, under the area they select: the
// selected tab joins that area, the others sit behind it. Tabs that do not fit are reached
// with two arrow buttons at the right end.
class TTabSet : public TCustomControl {
  HOST_CLASS(TTabSet)
  explicit TTabSet(TComponent* owner);
  ~TTabSet() override;

  TStrings* Tabs() const;
  void SetTabs(TStrings* tabs);
  int32_t TabIndex() const { return tab_index_; }
  // -1 selects nothing. Asks OnChange first and fires OnClick after a change. A value outside
  // -1..Tabs->Count()-1 raises EInvalidOperation, except while the form is read (the tabs may
  // come later; Loaded drops a value still out of range).
  void SetTabIndex(int32_t index);
  // The first tab shown when the tabs do not all fit.
  int32_t FirstIndex() const { return first_index_; }
  void SetFirstIndex(int32_t index);
  int32_t StartMargin() const { return start_margin_; }
  void SetStartMargin(int32_t value);
  int32_t EndMargin() const { return end_margin_; }
  void SetEndMargin(int32_t value);
  bool AutoScroll() const { return auto_scroll_; }
  void SetAutoScroll(bool value);
  bool DitherBackground() const { return dither_; }
  void SetDitherBackground(bool value);
  TColor BackgroundColor() const { return background_color_; }
  void SetBackgroundColor(TColor value);
  TColor SelectedColor() const { return selected_color_; }
  void SetSelectedColor(TColor value);
  TColor UnselectedColor() const { return unselected_color_; }
  void SetUnselectedColor(TColor value);
  // From the font: the text height plus room for the edges.
  int32_t TabHeight();
  // How many tabs from FirstIndex fit; whether the arrow buttons show.
  int32_t VisibleTabs();
  bool ScrollButtonsShown();
  // The tab under a client point, or -1.
  int32_t ItemAtPos(POINT p);
  // The outline of a shown tab (top edge to bottom edge, slants included); empty otherwise.
  RECT ItemRect(int32_t index);
  // The arrow buttons (left, right) in client coordinates; empty when hidden.
  RECT ScrollButtonRect(bool right);

  TTabChangeEvent OnChange;

  void Dispatch(TMessage& message) override;
  void Loaded() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  virtual bool CanChange(int32_t new_index);

 private:
  struct Layout {
    std::vector<int> left;   // x of each shown tab's top-left corner, from FirstIndex
    std::vector<int> width;  // its width along the top line
    bool buttons = false;
  };
  Layout ComputeLayout();
  void TabsChanged();
  void MakeVisible(int32_t index);
  void PaintTab(int x, int w, int h, const std::string& text, bool selected);

  std::unique_ptr<TStringList> tabs_;
  std::unique_ptr<TBitmap> dither_bitmap_;
  int32_t tab_index_ = -1;
  int32_t first_index_ = 0;
  int32_t start_margin_ = 5;
  int32_t end_margin_ = 5;
  bool auto_scroll_ = true;
  bool dither_ = true;
  TColor background_color_ = clBtnFace;
  TColor selected_color_ = clBtnFace;
  TColor unselected_color_ = clWindow;
  int pressed_button_ = 0;  // -1 left arrow held, 1 right arrow held
};

// ---- TNotebook ------------------------------------------------------------------------------

class TNotebook;

// One page of a notebook: a container for that page's controls, named by its Caption.
class TPage : public TCustomControl {
  HOST_CLASS(TPage)
  explicit TPage(TComponent* owner);
  // Joins the notebook that is reading it.
  void ReadState(TReader& reader) override;

 protected:
  void Paint() override;
};

// Pages stacked on one another; only the active page shows. Pages->Add("Name") makes a page,
// Pages->Delete(i) frees it with its controls.
class TNotebook : public TCustomControl {
  HOST_CLASS(TNotebook)
  explicit TNotebook(TComponent* owner);
  ~TNotebook() override;

  TStrings* Pages() const;
  void SetPages(TStrings* pages);
  int32_t PageCount() const { return static_cast<int32_t>(pages_.size()); }
  TPage* Page(int32_t index) const;
  int32_t PageIndex() const { return page_index_; }
  // Raises EInvalidOperation outside 0..PageCount()-1 (-1 only when there are no pages),
  // except while the form is read; CanChange may refuse the change.
  void SetPageIndex(int32_t index);
  // The caption of the active page; setting a name no page has raises EInvalidOperation.
  std::string ActivePage() const;
  void SetActivePage(const std::string& name);

  TNotifyEvent OnPageChanged;

  void SetParent(TWinControl* parent) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  TComponent* GetChildOwner() override { return this; }
  void ReadState(TReader& reader) override;
  void Loaded() override;

 protected:
  friend class TPage;
  friend class TNotebookStrings;
  void Notification(TComponent* component, TOperation operation) override;
  // A new, empty page for InsertPage; TTabbedNotebook makes TTabPages.
  virtual TPage* CreatePage();
  virtual bool CanChange(int32_t new_index);
  virtual void PageChanged();
  void InsertPage(int32_t index, const std::string& caption);
  void DeletePage(int32_t index);
  void AdoptPage(TPage* page);
  void ShowActivePage();

  std::vector<TPage*> pages_;
  std::unique_ptr<TStrings> page_strings_;
  int32_t page_index_ = -1;
  std::string pending_active_;  // ActivePage read before the pages
  bool reading_pages_ = false;
};

// ---- TTabbedNotebook ----------------------------------------------------------------------

class TTabPage : public TPage {
  HOST_CLASS(TTabPage)
  explicit TTabPage(TComponent* owner) : TPage(owner) {}
};

// A notebook under a row of raised tabs, one per page; the pages sit in a raised frame.
// Clicking a tab or Ctrl+Tab (Ctrl+Shift+Tab backwards, from any control on the pages) turns
// the page, asking OnChange first.
class TTabbedNotebook : public TNotebook {
  HOST_CLASS(TTabbedNotebook)
  explicit TTabbedNotebook(TComponent* owner);
  ~TTabbedNotebook() override;

  TFont* TabFont() const { return tab_font_.get(); }
  void SetTabFont(TFont* font);
  // The tab row's height from TabFont.
  int32_t TabRowHeight();
  // A tab's rectangle (the selected one stands out by two pixels); empty for a bad index.
  RECT TabRect(int32_t index);
  int32_t TabAtPos(POINT p);

  TTabChangeEvent OnChange;

  void Dispatch(TMessage& message) override;

 protected:
  TPage* CreatePage() override;
  bool CanChange(int32_t new_index) override;
  void AdjustClientRect(RECT& rect) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;

 private:
  void TurnPage(bool forward);
  std::unique_ptr<TFont> tab_font_;
};

// Registers the classes of this unit for stored forms.
void RegisterPageControls();

}  // namespace host
