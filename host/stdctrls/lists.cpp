#include "host/stdctrls/lists.h"

#include <algorithm>

#include "host/classes/filer.h"
#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "platform/win32/draw.h"
#include "platform/win32/text.h"

namespace host {

namespace {

// Typed letters within this many milliseconds of each other make one search prefix.
constexpr DWORD kSearchTimeout = 1000;

int TextHeightOf(TFont* font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return std::max<int>(1, tm.tmHeight);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  if (prefix.size() > s.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(s[i]) != Lower(prefix[i])) return false;
  }
  return true;
}

// Adds a typed character to the search prefix (a pause starts a new one) and finds the item
// it begins: a single letter looks after the current item, so repeating it walks through the
// items with that letter; a longer prefix may stay on the current item.
int TypeAhead(const TStrings* items, int current, char key, std::string& search, DWORD& tick) {
  const DWORD now = GetTickCount();
  if (search.empty() || now - tick > kSearchTimeout) search.clear();
  tick = now;
  if (search.size() == 1 && Lower(search[0]) == Lower(key)) {
    // The same letter again: next item with it.
  } else {
    search.push_back(key);
  }
  const int count = items->Count();
  if (count == 0) return -1;
  const int start = search.size() == 1 ? current + 1 : std::max(current, 0);
  for (int n = 0; n < count; ++n) {
    const int i = ((start + n) % count + count) % count;
    if (StartsWithNoCase(items->Strings(i), search)) return i;
  }
  return -1;
}

// Sets the canvas up for an item in the given state.
void PrepareItemCanvas(TCanvas* canvas, TFont* font, TColor background, TOwnerDrawState state) {
  canvas->SetFont(font);
  canvas->Brush()->SetStyle(bsSolid);
  if (state.Contains(odSelected)) {
    canvas->Brush()->SetColor(clHighlight);
    canvas->Font()->SetColor(clHighlightText);
  } else {
    canvas->Brush()->SetColor(background);
    canvas->Font()->SetColor(state.Contains(odDisabled) ? clGrayText : font->Color());
  }
}

// The default item look: the rectangle filled, the text 2 px in, centred in a taller row.
void DefaultDrawItem(TCanvas* canvas, const TStrings* items, int index, const RECT& rect) {
  canvas->FillRect(rect);
  if (index < 0 || index >= items->Count()) return;
  const std::string text = items->Strings(index);
  const int th = canvas->TextHeight("Wg");
  const int y = rect.top + std::max(0, (rect.bottom - rect.top - th) / 2);
  canvas->TextRect(rect, rect.left + 2, y, text);
}

void CheckIndex(int index, int count) {
  if (index < -1 || index >= count) throw EListError(Format("List index out of bounds (%d)", {index}));
}

}  // namespace

// ---- TListItems -----------------------------------------------------------------------------

HOST_DEFINE_CLASS(TListItems, TStrings)

void TListItems::Check(int32_t index) const {
  if (index < 0 || index >= Count()) IndexError(index);
}

void TListItems::Notify(Change change, int index) {
  if (on_change_) on_change_(change, index);
}

std::string TListItems::Strings(int32_t index) const {
  Check(index);
  return items_[static_cast<size_t>(index)].text;
}

void TListItems::Put(int32_t index, const std::string& s) {
  Check(index);
  items_[static_cast<size_t>(index)].text = s;
  Notify(Change::Changed, index);
}

TObject* TListItems::Objects(int32_t index) const {
  Check(index);
  return items_[static_cast<size_t>(index)].object;
}

void TListItems::PutObject(int32_t index, TObject* object) {
  Check(index);
  items_[static_cast<size_t>(index)].object = object;
}

void TListItems::Insert(int32_t index, const std::string& s) {
  if (index < 0 || index > Count()) IndexError(index);
  items_.insert(items_.begin() + index, Item{s, nullptr, false, 0});
  Notify(Change::Inserted, index);
}

int32_t TListItems::Add(const std::string& s) {
  int32_t index = Count();
  if (sorted_) {
    // After the last item that does not sort after s: equal items keep their order.
    auto it = std::upper_bound(items_.begin(), items_.end(), s, [this](const std::string& v, const Item& item) {
      return CompareStrings(v, item.text) < 0;
    });
    index = static_cast<int32_t>(it - items_.begin());
  }
  Insert(index, s);
  return index;
}

void TListItems::Delete(int32_t index) {
  Check(index);
  items_.erase(items_.begin() + index);
  Notify(Change::Deleted, index);
}

void TListItems::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Notify(Change::Cleared, -1);
}

void TListItems::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  sorted_ = sorted;
  if (!sorted) return;
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
  Notify(Change::Reordered, -1);
}

bool TListItems::Selected(int32_t index) const {
  Check(index);
  return items_[static_cast<size_t>(index)].selected;
}

void TListItems::SetSelected(int32_t index, bool selected) {
  Check(index);
  items_[static_cast<size_t>(index)].selected = selected;
}

int32_t TListItems::SelCount() const {
  return static_cast<int32_t>(std::count_if(items_.begin(), items_.end(), [](const Item& i) { return i.selected; }));
}

int32_t TListItems::Height(int32_t index) const {
  Check(index);
  return items_[static_cast<size_t>(index)].height;
}

void TListItems::SetHeight(int32_t index, int32_t height) {
  Check(index);
  items_[static_cast<size_t>(index)].height = height;
}

void TListItems::SetUpdateState(bool updating) {
  if (!updating) Notify(Change::Updated, -1);
}

// ---- TCustomListBox -------------------------------------------------------------------------

HOST_DEFINE_CLASS(TCustomListBox, TCustomControl)

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomControl(owner),
      items_(std::make_unique<TListItems>([this](TListItems::Change c, int i) { ItemsChanged(c, i); })) {
  // Clicks are reported as selection changes, not as button releases.
  control_style_.Exclude(csClickEvents);
  control_style_.Include(csOpaque);
  parent_color_ = false;
  color_ = clWindow;
  brush_->SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::SetItems(TStrings* items) { items_->Assign(items); }

void TCustomListBox::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  if (border_style_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

int32_t TCustomListBox::ItemHeight() const {
  if (style_ != lbStandard) return item_height_;
  if (font_height_ < 0) font_height_ = TextHeightOf(Font());
  return font_height_;
}

void TCustomListBox::SetItemHeight(int32_t height) {
  if (height < 1) throw EInvalidOperation(Format("Item height must be at least 1 (%d)", {height}));
  if (height == item_height_) return;
  item_height_ = height;
  if (style_ != lbStandard) RemeasureAll();
}

int32_t TCustomListBox::ItemHeightOf(int32_t index) const {
  if (style_ == lbOwnerDrawVariable && index >= 0 && index < items_->Count()) {
    const int32_t h = items_->Height(index);
    if (h > 0) return h;
  }
  return ItemHeight();
}

void TCustomListBox::RemeasureAll() {
  if (style_ == lbOwnerDrawVariable) {
    for (int32_t i = 0; i < items_->Count(); ++i) {
      int32_t h = ItemHeight();
      MeasureItem(i, h);
      items_->SetHeight(i, std::max(1, h));
    }
  }
  SetTopIndex(top_index_);
  UpdateScrollBars();
  Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  RemeasureAll();
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (value == multi_select_) return;
  multi_select_ = value;
  for (int32_t i = 0; i < items_->Count(); ++i) items_->SetSelected(i, value && i == item_index_);
  anchor_ = item_index_;
  Invalidate();
}

bool TCustomListBox::Selected(int32_t index) const {
  if (index < 0 || index >= items_->Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
  return multi_select_ ? items_->Selected(index) : index == item_index_;
}

void TCustomListBox::SetSelected(int32_t index, bool selected) {
  if (index < 0 || index >= items_->Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
  if (multi_select_) {
    if (items_->Selected(index) == selected) return;
    items_->SetSelected(index, selected);
    PaintItem(index, ItemRect(index));
  } else if (selected) {
    SetItemIndex(index);
  } else if (index == item_index_) {
    SetItemIndex(-1);
  }
}

// Single selection has no count of its own, as the classic control reports.
int32_t TCustomListBox::SelCount() const { return multi_select_ ? items_->SelCount() : -1; }

void TCustomListBox::SetSorted(bool sorted) { items_->SetSorted(sorted); }

void TCustomListBox::SetItemIndex(int32_t index) {
  CheckIndex(index, items_->Count());
  if (multi_select_ && index >= 0) items_->SetSelected(index, true);
  if (index == item_index_) return;
  item_index_ = index;
  anchor_ = index;
  MakeVisible(index);
  Invalidate();
}

void TCustomListBox::SetColumns(int32_t columns) {
  if (columns < 0) throw EInvalidOperation(Format("Columns cannot be negative (%d)", {columns}));
  if (columns == columns_) return;
  columns_ = columns;
  if (HandleAllocated()) ShowScrollBar(handle_, columns > 0 ? SB_VERT : SB_HORZ, FALSE);
  top_index_ = 0;
  UpdateScrollBars();
  MakeVisible(item_index_);
  Invalidate();
}

void TCustomListBox::SetIntegralHeight(bool value) {
  if (value == integral_height_) return;
  integral_height_ = value;
  if (value) SetBounds(left_, top_, width_, height_);
}

void TCustomListBox::SetBorderStyle(TBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  RecreateWnd();
}

void TCustomListBox::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (integral_height_ && style_ != lbOwnerDrawVariable && columns_ == 0) {
    const int32_t border = border_style_ == bsSingle ? 4 : 0;
    const int32_t ih = ItemHeight();
    const int32_t rows = std::max(1, (height - border) / ih);
    height = rows * ih + border;
  }
  TCustomControl::SetBounds(left, top, width, height);
}

int32_t TCustomListBox::RowsPerColumn() const { return std::max(1, ClientHeight() / ItemHeight()); }

int32_t TCustomListBox::VisibleCount(int32_t top) const {
  if (columns_ > 0) return RowsPerColumn() * columns_;
  const int32_t ch = ClientHeight();
  int32_t y = 0, n = 0;
  for (int32_t i = std::max(0, top); i < items_->Count(); ++i) {
    y += ItemHeightOf(i);
    if (y > ch) break;
    ++n;
  }
  if (style_ != lbOwnerDrawVariable && top + n >= items_->Count()) n = std::max(n, ch / ItemHeight());
  return std::max(1, n);
}

int32_t TCustomListBox::MaxTopIndex() const {
  const int32_t count = items_->Count();
  if (count == 0) return 0;
  if (columns_ > 0) {
    const int32_t rows = RowsPerColumn();
    const int32_t total = (count + rows - 1) / rows;
    return std::max(0, total - columns_) * rows;
  }
  const int32_t ch = ClientHeight();
  int32_t y = 0, top = count;
  while (top > 0 && y + ItemHeightOf(top - 1) <= ch) y += ItemHeightOf(--top);
  return std::min(top, count - 1);
}

void TCustomListBox::SetTopIndex(int32_t index) {
  index = std::clamp(index, 0, MaxTopIndex());
  if (columns_ > 0) index -= index % RowsPerColumn();
  if (index == top_index_) return;
  top_index_ = index;
  UpdateScrollBars();
  Invalidate();
}

void TCustomListBox::MakeVisible(int32_t index) {
  if (index < 0 || index >= items_->Count()) return;
  if (columns_ > 0) {
    const int32_t rows = RowsPerColumn();
    const int32_t col = index / rows, top_col = top_index_ / rows;
    if (col < top_col) {
      SetTopIndex(col * rows);
    } else if (col >= top_col + columns_) {
      SetTopIndex((col - columns_ + 1) * rows);
    }
    return;
  }
  if (index < top_index_) {
    SetTopIndex(index);
    return;
  }
  if (ItemRect(index).bottom <= ClientHeight()) return;
  // The highest top that still shows the whole item at the bottom.
  int32_t y = ItemHeightOf(index), top = index;
  while (top > 0 && y + ItemHeightOf(top - 1) <= ClientHeight()) y += ItemHeightOf(--top);
  SetTopIndex(top);
}

RECT TCustomListBox::ItemRect(int32_t index) const {
  if (columns_ > 0) {
    const int32_t rows = RowsPerColumn();
    const int32_t width = std::max(1, ClientWidth() / columns_);
    const int32_t rel = index - top_index_;
    const int32_t col = rel >= 0 ? rel / rows : -((-rel + rows - 1) / rows);
    const int32_t row = rel - col * rows;
    const int32_t ih = ItemHeight();
    return {col * width, row * ih, (col + 1) * width, (row + 1) * ih};
  }
  int32_t y = 0;
  if (index >= top_index_) {
    for (int32_t i = top_index_; i < index; ++i) y += ItemHeightOf(i);
  } else {
    for (int32_t i = index; i < top_index_; ++i) y -= ItemHeightOf(i);
  }
  return {0, y, ClientWidth(), y + ItemHeightOf(index)};
}

int32_t TCustomListBox::ItemAtPos(POINT p, bool existing) const {
  const int32_t count = items_->Count();
  const int32_t past = existing ? -1 : count;
  if (p.y < 0 || p.x < 0 || p.x >= ClientWidth()) return past;
  if (columns_ > 0) {
    const int32_t rows = RowsPerColumn();
    const int32_t width = std::max(1, ClientWidth() / columns_);
    const int32_t row = p.y / ItemHeight();
    if (row >= rows) return past;
    const int32_t index = top_index_ + (p.x / width) * rows + row;
    return index < count ? index : past;
  }
  int32_t y = 0;
  for (int32_t i = top_index_; i < count; ++i) {
    y += ItemHeightOf(i);
    if (p.y < y) return i;
  }
  return past;
}

void TCustomListBox::UpdateScrollBars() {
  if (!HandleAllocated() || updating_scroll_ || items_->UpdateCount() > 0) return;
  updating_scroll_ = true;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const int32_t count = items_->Count();
  if (columns_ > 0) {
    const int32_t rows = RowsPerColumn();
    const int32_t total = (count + rows - 1) / rows;
    ShowScrollBar(handle_, SB_HORZ, total > columns_ ? TRUE : FALSE);
    si.nMax = std::max(0, total - 1);
    si.nPage = static_cast<UINT>(columns_);
    si.nPos = top_index_ / RowsPerColumn();
    SetScrollInfo(handle_, SB_HORZ, &si, TRUE);
  } else {
    const bool needed = MaxTopIndex() > 0;
    ShowScrollBar(handle_, SB_VERT, needed ? TRUE : FALSE);
    si.nMax = std::max(0, count - 1);
    si.nPage = static_cast<UINT>(VisibleCount(top_index_));
    si.nPos = top_index_;
    SetScrollInfo(handle_, SB_VERT, &si, TRUE);
  }
  updating_scroll_ = false;
}

void TCustomListBox::ItemsChanged(TListItems::Change change, int index) {
  using C = TListItems::Change;
  switch (change) {
    case C::Inserted:
      if (style_ == lbOwnerDrawVariable) {
        int32_t h = ItemHeight();
        MeasureItem(index, h);
        items_->SetHeight(index, std::max(1, h));
      }
      if (index <= item_index_) ++item_index_;
      if (index <= anchor_) ++anchor_;
      break;
    case C::Deleted:
      if (index == item_index_) {
        item_index_ = -1;
      } else if (index < item_index_) {
        --item_index_;
      }
      if (index <= anchor_) anchor_ = std::max(-1, anchor_ - 1);
      break;
    case C::Cleared:
      item_index_ = -1;
      anchor_ = -1;
      top_index_ = 0;
      break;
    case C::Changed:
      if (style_ == lbOwnerDrawVariable) {
        int32_t h = ItemHeight();
        MeasureItem(index, h);
        items_->SetHeight(index, std::max(1, h));
      }
      break;
    case C::Reordered:
      if (!multi_select_) item_index_ = -1;
      anchor_ = item_index_;
      break;
    case C::Updated: break;
  }
  if (items_->UpdateCount() > 0) return;
  const int32_t max_top = MaxTopIndex();
  if (top_index_ > max_top) top_index_ = max_top;
  UpdateScrollBars();
  Invalidate();
}

void TCustomListBox::DrawItem(int32_t index, RECT rect, TOwnerDrawState state) {
  if (style_ != lbStandard && OnDrawItem) {
    OnDrawItem(this, index, rect, state);
  } else {
    DefaultDrawItem(Canvas(), items_.get(), index, rect);
  }
}

void TCustomListBox::MeasureItem(int32_t index, int32_t& height) {
  if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TCustomListBox::SelectionChanged() { Click(); }

void TCustomListBox::PaintItem(int32_t index, RECT rect) {
  if (index < 0 || index >= items_->Count()) return;
  TOwnerDrawState state;
  if (Selected(index)) state.Include(odSelected);
  if (!Enabled()) state.Include(odDisabled).Include(odGrayed);
  const bool has_focus = !in_combo_ && HandleAllocated() && Focused();
  if (has_focus && index == std::max(item_index_, 0)) state.Include(odFocused);
  PrepareItemCanvas(Canvas(), Font(), Color(), state);
  DrawItem(index, rect, state);
  // After the item, as the classic control does: owner drawing never has to draw it.
  if (state.Contains(odFocused)) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Font()->SetColor(Font()->Color());
    Canvas()->DrawFocusRect(rect);
  }
}

void TCustomListBox::Paint() {
  TCanvas* canvas = Canvas();
  const RECT client = ClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  const int32_t count = items_->Count();
  for (int32_t i = top_index_; i < count; ++i) {
    const RECT r = ItemRect(i);
    if (columns_ > 0 ? r.left >= client.right : r.top >= client.bottom) break;
    PaintItem(i, r);
  }
  // An empty focused list still shows where the focus is.
  if (count == 0 && !in_combo_ && Focused()) {
    canvas->Brush()->SetColor(Color());
    canvas->Font()->SetColor(Font()->Color());
    canvas->DrawFocusRect({0, 0, columns_ > 0 ? client.right / columns_ : client.right, ItemHeight()});
  }
}

void TCustomListBox::SelectRange(int32_t from, int32_t to, bool clear_others) {
  if (from < 0) from = to;
  const int32_t lo = std::min(from, to), hi = std::max(from, to);
  for (int32_t i = 0; i < items_->Count(); ++i) {
    if (i >= lo && i <= hi) {
      items_->SetSelected(i, true);
    } else if (clear_others) {
      items_->SetSelected(i, false);
    }
  }
}

void TCustomListBox::MoveTo(int32_t index, TShiftState shift, bool by_mouse) {
  if (index < 0 || index >= items_->Count()) return;
  if (!multi_select_) {
    item_index_ = index;
    anchor_ = index;
  } else if (!extended_select_) {
    item_index_ = index;  // multiple selection: keys move the focus only, clicks toggle
  } else if (shift.Contains(ssShift)) {
    SelectRange(anchor_, index, !shift.Contains(ssCtrl));
    item_index_ = index;
  } else if (shift.Contains(ssCtrl) && !by_mouse) {
    item_index_ = index;
  } else {
    SelectRange(index, index, true);
    item_index_ = index;
    anchor_ = index;
  }
  MakeVisible(index);
  Invalidate();
}

void TCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!in_combo_ && !Focused() && CanFocus()) SetFocus();
  if (button == mbLeft) {
    const int32_t index = ItemAtPos({x, y}, true);
    if (index >= 0) {
      std::vector<bool> before;
      for (int32_t i = 0; i < items_->Count(); ++i) before.push_back(Selected(i));
      const int32_t old_index = item_index_;
      if (multi_select_ && !extended_select_) {
        items_->SetSelected(index, !items_->Selected(index));
        item_index_ = index;
        MakeVisible(index);
        Invalidate();
      } else if (multi_select_ && shift.Contains(ssCtrl) && !shift.Contains(ssShift)) {
        items_->SetSelected(index, !items_->Selected(index));
        item_index_ = index;
        anchor_ = index;
        Invalidate();
      } else {
        MoveTo(index, shift, true);
      }
      bool changed = old_index != item_index_;
      for (int32_t i = 0; i < items_->Count() && !changed; ++i) changed = before[static_cast<size_t>(i)] != Selected(i);
      if (changed) SelectionChanged();
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomListBox::MouseMove(TShiftState shift, int x, int y) {
  const bool dragging = control_state_.Contains(csLButtonDown) && HandleAllocated() && GetCapture() == handle_;
  if ((dragging || hover_select_) && items_->Count() > 0 && !(multi_select_ && !extended_select_)) {
    int32_t index;
    const RECT client = ClientRect();
    if (y < 0) {
      index = top_index_ - 1;  // dragging above scrolls up one item per move
    } else if (y >= client.bottom) {
      index = top_index_ + VisibleCount(top_index_);
    } else {
      index = ItemAtPos({std::clamp<int>(x, 0, client.right - 1), y}, false);
    }
    index = std::clamp(index, 0, items_->Count() - 1);
    if (index != item_index_ && (dragging || (y >= 0 && y < client.bottom && x >= 0 && x < client.right))) {
      MoveTo(index, dragging && multi_select_ ? TShiftState{ssShift} : TShiftState{}, true);
      if (dragging) SelectionChanged();
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

bool TCustomListBox::DoKeyDown(WORD& key, TShiftState shift) {
  if (TCustomControl::DoKeyDown(key, shift)) return true;
  const int32_t count = items_->Count();
  if (count == 0) return false;
  const int32_t caret = item_index_;
  const int32_t rows = columns_ > 0 ? RowsPerColumn() : 0;
  int32_t target;
  switch (key) {
    case VK_UP: target = caret - 1; break;
    case VK_DOWN: target = caret + 1; break;
    case VK_LEFT: target = columns_ > 0 ? caret - rows : caret - 1; break;
    case VK_RIGHT: target = columns_ > 0 ? caret + rows : caret + 1; break;
    case VK_PRIOR: target = caret - std::max(1, VisibleCount(top_index_) - 1); break;
    case VK_NEXT: target = caret + std::max(1, VisibleCount(top_index_) - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    default: return false;
  }
  if (caret < 0) target = key == VK_END ? count - 1 : 0;
  target = std::clamp(target, 0, count - 1);
  const int32_t old_index = item_index_;
  const int32_t old_count = multi_select_ ? items_->SelCount() : 0;
  MoveTo(target, shift, false);
  if (old_index != item_index_ && (!multi_select_ || extended_select_) &&
      (!multi_select_ || !shift.Contains(ssCtrl) || shift.Contains(ssShift) || old_count != items_->SelCount())) {
    SelectionChanged();
  }
  return true;
}

bool TCustomListBox::DoKeyPress(char& key) {
  if (TCustomControl::DoKeyPress(key)) return true;
  if (key == ' ' && multi_select_) {
    if (items_->Count() == 0) return true;
    const int32_t index = std::max(item_index_, 0);
    item_index_ = index;
    items_->SetSelected(index, !items_->Selected(index));
    anchor_ = index;
    Invalidate();
    SelectionChanged();
    return true;
  }
  if (static_cast<unsigned char>(key) < 32) return false;
  const int32_t found = TypeAhead(items_.get(), item_index_, key, search_, search_tick_);
  if (found >= 0 && found != item_index_) {
    MoveTo(found, {}, false);
    SelectionChanged();
  }
  return true;
}

void TCustomListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(m);
      if (top_index_ > MaxTopIndex()) top_index_ = MaxTopIndex();
      UpdateScrollBars();
      Invalidate();
      return;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      if ((m.Msg == WM_HSCROLL) != (columns_ > 0)) return;
      const int32_t unit = columns_ > 0 ? RowsPerColumn() : 1;
      const int32_t page = columns_ > 0 ? columns_ : std::max(1, VisibleCount(top_index_) - 1);
      const int32_t pos = top_index_ / unit;
      int32_t next = pos;
      switch (LOWORD(m.WParam)) {
        case SB_LINEUP: next = pos - 1; break;
        case SB_LINEDOWN: next = pos + 1; break;
        case SB_PAGEUP: next = pos - page; break;
        case SB_PAGEDOWN: next = pos + page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: next = static_cast<int16_t>(HIWORD(m.WParam)); break;
        case SB_TOP: next = 0; break;
        case SB_BOTTOM: next = items_->Count(); break;
        default: return;
      }
      SetTopIndex(next * unit);
      return;
    }
    case CM_FONTCHANGED:
      font_height_ = -1;
      TCustomControl::Dispatch(m);
      RemeasureAll();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    default: TCustomControl::Dispatch(m);
  }
}

HOST_PUBLISHED(TListBox, TCustomListBox) {
  HOST_PROP(Align, alNone);
  HOST_PROP(BorderStyle, bsSingle);
  HOST_COLOR_PROP(Color, clWindow);
  HOST_PROP(Columns, 0).Range(0, 1000);
  HOST_PROP(Enabled, true);
  HOST_PROP(ExtendedSelect, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(IntegralHeight, false);
  c.Property("ItemHeight", &TListBox::StoredItemHeight, &TListBox::SetItemHeight, 16).Range(1, 10000);
  HOST_OBJECT_PROP(Items);
  HOST_PROP(MultiSelect, false);
  HOST_PROP(ParentColor, false);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Sorted, false);
  HOST_PROP(Style, lbStandard);
  HOST_PROP(TabStop, true);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnDrawItem);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnKeyDown);
  HOST_EVENT(OnKeyPress);
  HOST_EVENT(OnKeyUp);
  HOST_EVENT(OnMeasureItem);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

// ---- THeader --------------------------------------------------------------------------------

HOST_PUBLISHED(THeader, TCustomControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(AllowResize, true);
  HOST_PROP(BorderStyle, bsSingle);
  HOST_COLOR_PROP(Color, clBtnFace);
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_OBJECT_PROP(Sections);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnSized);
  HOST_EVENT(OnSizing);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

THeader::THeader(TComponent* owner) : TCustomControl(owner), sections_(std::make_unique<TStringList>()) {
  control_style_.Include(csOpaque);
  parent_color_ = false;
  color_ = clBtnFace;
  brush_->SetColor(clBtnFace);
  sections_->OnChange = [this](TObject*) { Invalidate(); };
  SetBounds(0, 0, 250, 25);
}

THeader::~THeader() = default;

void THeader::SetSections(TStrings* sections) { sections_->Assign(sections); }

int32_t THeader::SectionWidth(int32_t index) const {
  if (index < 0 || index >= sections_->Count()) {
    throw EListError(Format("Header section index out of bounds (%d)", {index}));
  }
  return static_cast<size_t>(index) < widths_.size() ? widths_[static_cast<size_t>(index)] : kDefaultSectionWidth;
}

void THeader::SetSectionWidth(int32_t index, int32_t width) {
  if (index < 0 || index >= sections_->Count()) {
    throw EListError(Format("Header section index out of bounds (%d)", {index}));
  }
  width = std::max(0, width);
  if (widths_.size() <= static_cast<size_t>(index)) widths_.resize(static_cast<size_t>(index) + 1, kDefaultSectionWidth);
  if (widths_[static_cast<size_t>(index)] == width) return;
  widths_[static_cast<size_t>(index)] = width;
  Invalidate();
}

void THeader::SetBorderStyle(TBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  RecreateWnd();
}

void THeader::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  if (border_style_ == bsSingle) p.Style |= WS_BORDER;
}

// Widths may be read before the sections: they are kept apart and apply by position.
void THeader::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  bool has_data = false;
  for (int32_t i = 0; i < sections_->Count(); ++i) has_data = has_data || SectionWidth(i) != kDefaultSectionWidth;
  filer.DefineProperty(
      "SectionWidths",
      [this](TReader& reader) {
        std::vector<int32_t> widths;
        reader.ReadListBegin();
        while (!reader.EndOfList()) {
          const int64_t w = reader.ReadInteger();
          if (w < 0 || w > 100000) throw EReadError(Format("Invalid section width %d", {static_cast<int>(w)}));
          widths.push_back(static_cast<int32_t>(w));
        }
        reader.ReadListEnd();
        widths_ = std::move(widths);
        Invalidate();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int32_t i = 0; i < sections_->Count(); ++i) writer.WriteInteger(SectionWidth(i));
        writer.WriteListEnd();
      },
      has_data);
}

int32_t THeader::DividerAt(int x) const {
  int32_t found = -1, best = 3, right = 0;
  for (int32_t i = 0; i < sections_->Count(); ++i) {
    right += SectionWidth(i);
    const int32_t d = std::abs(x - right);
    if (d <= best) {  // the later of two touching dividers wins: a closed section can reopen
      best = d;
      found = i;
    }
  }
  return found;
}

void THeader::Paint() {
  TCanvas* canvas = Canvas();
  const RECT client = ClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  canvas->SetFont(Font());
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  HDC dc = canvas->Handle();
  int32_t x = 0;
  const int th = canvas->TextHeight("Wg");
  for (int32_t i = 0; i < sections_->Count() && x < client.right; ++i) {
    const int32_t w = SectionWidth(i);
    RECT r{x, 0, x + w, client.bottom};
    x += w;
    if (w <= 0) continue;
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE | BF_ADJUST);
    canvas->Brush()->SetStyle(bsClear);
    r.left += 2;
    r.right -= 2;
    canvas->TextRect(r, r.left + 2, r.top + std::max(0, static_cast<int>(r.bottom - r.top - th) / 2), sections_->Strings(i));
    canvas->Brush()->SetStyle(bsSolid);
  }
}

void THeader::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && allow_resize_) {
    const int32_t s = DividerAt(x);
    if (s >= 0) {
      int32_t right = 0;
      for (int32_t i = 0; i <= s; ++i) right += SectionWidth(i);
      sizing_ = s;
      sizing_offset_ = x - right;
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void THeader::MouseMove(TShiftState shift, int x, int y) {
  if (sizing_ >= 0 && sizing_ < sections_->Count()) {
    int32_t left = 0;
    for (int32_t i = 0; i < sizing_; ++i) left += SectionWidth(i);
    const int32_t w = std::max(0, x - sizing_offset_ - left);
    if (w != SectionWidth(sizing_)) {
      SetSectionWidth(sizing_, w);
      Update();
      if (OnSizing) OnSizing(this, sizing_, w);
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void THeader::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && sizing_ >= 0) {
    const int32_t s = sizing_;
    sizing_ = -1;
    if (s < sections_->Count() && OnSized) OnSized(this, s, SectionWidth(s));
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void THeader::Dispatch(TMessage& m) {
  if (m.Msg == WM_SETCURSOR && reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT &&
      allow_resize_) {
    POINT p;
    GetCursorPos(&p);
    if (sizing_ >= 0 || DividerAt(ScreenToClient(p).x) >= 0) {
      ::SetCursor(Screen()->Cursors(crHSplit));
      m.Result = 1;
      return;
    }
  }
  TCustomControl::Dispatch(m);
}

// ---- TComboListBox --------------------------------------------------------------------------

HOST_DEFINE_CLASS(TComboListBox, TCustomListBox)

TComboListBox::TComboListBox(TComponent* owner, TCustomComboBox* combo, bool popup)
    : TCustomListBox(owner), combo_(combo), popup_(popup) {
  in_combo_ = true;
  hover_select_ = popup;
  SetTabStop(false);
  if (popup) visible_ = false;
}

void TComboListBox::CreateParams(TCreateParams& p) {
  TCustomListBox::CreateParams(p);
  if (!popup_) return;
  p.Style = WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS;
  p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  p.WndParent = nullptr;
}

void TComboListBox::DrawItem(int32_t index, RECT rect, TOwnerDrawState state) {
  // The combo draws its own items: its canvas borrows this list's DC meanwhile.
  TCanvas* mine = Canvas();
  TCanvas* theirs = combo_->Canvas();
  if (auto* cc = dynamic_cast<TControlCanvas*>(theirs)) cc->FreeHandle();
  theirs->SetHandle(mine->Handle());
  theirs->SetFont(mine->Font());
  theirs->SetBrush(mine->Brush());
  try {
    combo_->DrawItem(index, rect, state);
  } catch (...) {
    theirs->SetHandle(nullptr);
    throw;
  }
  theirs->SetHandle(nullptr);
  mine->Refresh();
}

void TComboListBox::MeasureItem(int32_t index, int32_t& height) { combo_->MeasureItem(index, height); }

void TComboListBox::SelectionChanged() {
  if (!popup_) combo_->SelectItem(ItemIndex(), true);
}

void TComboListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!popup_) {
    if (combo_->CanFocus() && !combo_->Focused()) combo_->SetFocus();
    TCustomListBox::MouseDown(button, shift, x, y);
    return;
  }
  const RECT client = ClientRect();
  if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) {
    combo_->CloseList(false);  // a click elsewhere closes the list and is not passed on
    return;
  }
  const int32_t index = ItemAtPos({x, y}, true);
  if (index >= 0) SetItemIndex(index);
}

void TComboListBox::MouseMove(TShiftState shift, int x, int y) {
  TCustomListBox::MouseMove(shift, x, y);
  if (popup_ && combo_->button_down_) {
    // The drag that opened the list: the button looks pushed while the mouse is on it.
    const POINT p = combo_->ScreenToClient(ClientToScreen({x, y}));
    const RECT b = combo_->ButtonRect();
    const bool over = p.x >= b.left && p.x < b.right && p.y >= b.top && p.y < b.bottom;
    if (over != combo_->button_pushed_) {
      combo_->button_pushed_ = over;
      combo_->Invalidate();
    }
  }
}

void TComboListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomListBox::MouseUp(button, shift, x, y);
  if (!popup_ || button != mbLeft) return;
  if (combo_->button_down_) {
    combo_->button_down_ = false;
    combo_->button_pushed_ = false;
    combo_->Invalidate();
  }
  const RECT client = ClientRect();
  const int32_t index = ItemAtPos({x, y}, true);
  if (x >= 0 && y >= 0 && x < client.right && y < client.bottom && index >= 0) {
    SetItemIndex(index);
    combo_->CloseList(true);
  } else if (combo_->DroppedDown() && HandleAllocated()) {
    SetCapture(handle_);  // still open: keep watching for the click that closes it
  }
}

void TComboListBox::Dispatch(TMessage& m) {
  // The popup must not take the focus from the combo.
  if (popup_ && m.Msg == WM_MOUSEACTIVATE) {
    m.Result = MA_NOACTIVATE;
    return;
  }
  TCustomListBox::Dispatch(m);
}

// ---- TCustomComboBox ------------------------------------------------------------------------

HOST_DEFINE_CLASS(TCustomComboBox, TCustomControl)

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TCustomControl(owner),
      items_(std::make_unique<TListItems>([this](TListItems::Change c, int i) { ItemsChanged(c, i); })) {
  control_style_.Exclude(csClickEvents);
  control_style_.Include(csOpaque);
  parent_color_ = false;
  color_ = clWindow;
  brush_->SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() {
  if (list_ && !list_->Parent()) {
    if (GetCapture() && list_->HandleAllocated() && GetCapture() == list_->Handle()) ReleaseCapture();
    list_->Free();
  }
  list_ = nullptr;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  if (style_ != csSimple) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomComboBox::SetItems(TStrings* items) { items_->Assign(items); }

int32_t TCustomComboBox::ItemHeight() const {
  if (IsOwnerDraw()) return item_height_;
  if (font_height_ < 0) font_height_ = TextHeightOf(Font());
  return font_height_;
}

void TCustomComboBox::SetItemHeight(int32_t height) {
  if (height < 1) throw EInvalidOperation(Format("Item height must be at least 1 (%d)", {height}));
  if (height == item_height_) return;
  item_height_ = height;
  AdjustHeight();
}

int32_t TCustomComboBox::FieldHeight() const { return IsOwnerDraw() ? ItemHeight() : ItemHeight() + 2; }

void TCustomComboBox::AdjustHeight() {
  if (style_ != csSimple) SetBounds(left_, top_, width_, height_);
  LayoutSimpleList();
  Invalidate();
}

void TCustomComboBox::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (style_ != csSimple) height = FieldHeight() + 6;
  TCustomControl::SetBounds(left, top, width, height);
  LayoutSimpleList();
}

void TCustomComboBox::LayoutSimpleList() {
  if (style_ != csSimple || !list_) return;
  const int32_t top = FieldHeight() + 6;
  list_->SetBounds(0, top, width_, std::max(0, height_ - top));
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  SetDroppedDown(false);
  if (list_) {
    list_->Free();
    list_ = nullptr;
  }
  style_ = style;
  if (style == csSimple) {
    list_ = new TComboListBox(nullptr, this, false);
    list_->SetStyle(lbOwnerDrawFixed);
    list_->SetItemHeight(ItemHeight());
    list_->Items()->Assign(items_.get());
    list_->SetParent(this);
  }
  if (style != csDropDown && style != csSimple) SelectItem(item_index_, false);
  if (HandleAllocated()) RecreateWnd();
  // A simple combo gets room for a few rows of its list.
  const int32_t least = FieldHeight() + 6 + 2 * ItemHeight() + 4;
  if (style == csSimple && height_ < least) SetBounds(left_, top_, width_, FieldHeight() + 6 + 6 * ItemHeight() + 4);
  AdjustHeight();
}

void TCustomComboBox::SetItemIndex(int32_t index) {
  CheckIndex(index, items_->Count());
  SelectItem(index, false);
}

void TCustomComboBox::SetDropDownCount(int32_t count) {
  if (count < 1) throw EInvalidOperation(Format("DropDownCount must be at least 1 (%d)", {count}));
  drop_down_count_ = count;
}

void TCustomComboBox::SetSorted(bool sorted) { items_->SetSorted(sorted); }

void TCustomComboBox::SetMaxLength(int32_t length) {
  if (length < 0) throw EInvalidOperation(Format("MaxLength cannot be negative (%d)", {length}));
  max_length_ = length;
}

void TCustomComboBox::SetTextValue(const std::string& s) {
  std::string text = s;
  if (style_ == csDropDown || style_ == csSimple) {
    if (max_length_ > 0 && static_cast<int32_t>(text.size()) > max_length_) text.resize(static_cast<size_t>(max_length_));
    item_index_ = items_->IndexOf(text);
  } else {
    item_index_ = items_->IndexOf(text);
    text = item_index_ >= 0 ? items_->Strings(item_index_) : std::string();
  }
  TCustomControl::SetTextValue(text);
  sel_start_ = static_cast<int32_t>(text.size());
  sel_length_ = 0;
  scroll_x_ = 0;
  if (list_ && style_ == csSimple) list_->SetItemIndex(item_index_);
  UpdateCaret();
}

void TCustomComboBox::SelectItem(int32_t index, bool notify) {
  if (index < -1 || index >= items_->Count()) index = -1;
  const std::string text = index >= 0 ? items_->Strings(index) : (HasEdit() ? Text() : std::string());
  const bool changed = index != item_index_ || text != Text();
  item_index_ = index;
  TControl::SetTextValue(text);
  SelectAll();
  if (list_ && (style_ == csSimple || dropped_) && list_->ItemIndex() != index) list_->SetItemIndex(index);
  Invalidate();
  if (changed && notify) Change();
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::DrawItem(int32_t index, RECT rect, TOwnerDrawState state) {
  if (IsOwnerDraw() && OnDrawItem && index >= 0) {
    OnDrawItem(this, index, rect, state);
  } else {
    DefaultDrawItem(Canvas(), items_.get(), index, rect);
  }
}

void TCustomComboBox::MeasureItem(int32_t index, int32_t& height) {
  if (OnMeasureItem) OnMeasureItem(this, index, height);
}

bool TCustomComboBox::DroppedDown() const { return dropped_; }

void TCustomComboBox::SetDroppedDown(bool value) {
  if (value == dropped_) return;
  if (!value) {
    CloseList(false);
    return;
  }
  if (style_ == csSimple || !Showing()) return;
  DropDown();
  if (!list_) list_ = new TComboListBox(nullptr, this, true);
  list_->SetStyle(style_ == csOwnerDrawVariable ? lbOwnerDrawVariable : lbOwnerDrawFixed);
  list_->SetItemHeight(ItemHeight());
  list_->SetFont(Font());
  list_->Items()->Assign(items_.get());
  int32_t h = 0;
  const int32_t shown = std::min(items_->Count(), drop_down_count_);
  for (int32_t i = 0; i < shown; ++i) h += list_->ItemHeightOf(i);
  if (shown == 0) h = ItemHeight();
  h += 2;  // the border
  const POINT origin = parent_ ? parent_->ClientToScreen({left_, top_}) : POINT{left_, top_};
  int32_t y = origin.y + height_;
  if (y + h > GetSystemMetrics(SM_CYSCREEN) && origin.y - h >= 0) y = origin.y - h;
  list_->SetBounds(origin.x, y, width_, h);
  list_->SetItemIndex(item_index_);
  list_->MakeVisible(item_index_);
  dropped_ = true;
  list_->Show();
  SetWindowPos(list_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetCapture(list_->Handle());
  Invalidate();
}

void TCustomComboBox::CloseList(bool take_selection) {
  if (!dropped_ || !list_) return;
  dropped_ = false;
  button_down_ = false;
  button_pushed_ = false;
  const int32_t index = list_->ItemIndex();
  if (list_->HandleAllocated() && GetCapture() == list_->Handle()) ReleaseCapture();
  list_->Hide();
  if (take_selection && index >= 0) SelectItem(index, true);
  CloseUp();
  Invalidate();
}

void TCustomComboBox::ItemsChanged(TListItems::Change change, int index) {
  using C = TListItems::Change;
  switch (change) {
    case C::Inserted:
      if (index <= item_index_) ++item_index_;
      break;
    case C::Deleted:
      if (index == item_index_) {
        item_index_ = -1;
        if (!HasEdit()) TControl::SetTextValue("");
      } else if (index < item_index_) {
        --item_index_;
      }
      break;
    case C::Cleared:
      item_index_ = -1;
      TControl::SetTextValue("");
      sel_start_ = sel_length_ = 0;
      break;
    case C::Changed:
      if (index == item_index_) TControl::SetTextValue(items_->Strings(index));
      break;
    case C::Reordered: item_index_ = items_->IndexOf(Text()); break;
    case C::Updated: break;
  }
  if (items_->UpdateCount() > 0) return;
  if (list_ && (style_ == csSimple || dropped_)) {
    list_->Items()->Assign(items_.get());
    list_->SetItemIndex(item_index_);
  }
  Invalidate();
}

RECT TCustomComboBox::ButtonRect() const {
  const RECT c = ClientRect();
  if (style_ == csSimple) return {c.right, 0, c.right, 0};
  return {c.right - GetSystemMetrics(SM_CXVSCROLL), 0, c.right, c.bottom};
}

RECT TCustomComboBox::FieldRect() const {
  if (style_ == csSimple) return {3, 3, width_ - 3, FieldHeight() + 3};
  const RECT c = ClientRect();
  return {1, 1, ButtonRect().left - 1, c.bottom - 1};
}

void TCustomComboBox::Paint() {
  TCanvas* canvas = Canvas();
  const RECT client = ClientRect();
  const TColor back = Enabled() ? Color() : clBtnFace;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(back);
  if (style_ == csSimple) {
    RECT edge{0, 0, client.right, FieldHeight() + 6};
    canvas->FillRect(edge);
    DrawEdge(canvas->Handle(), &edge, EDGE_SUNKEN, BF_RECT);
  } else {
    canvas->FillRect(client);
    RECT b = ButtonRect();
    UINT state = DFCS_SCROLLCOMBOBOX;
    if (button_pushed_) state |= DFCS_PUSHED | DFCS_FLAT;
    if (!Enabled()) state |= DFCS_INACTIVE;
    DrawFrameControl(canvas->Handle(), &b, DFC_SCROLL, state);
  }
  const RECT field = FieldRect();
  if (HasEdit()) {
    PaintEdit(field);
    return;
  }
  TOwnerDrawState state;
  const bool focused = Focused() && !dropped_;
  if (focused) state.Include(odSelected).Include(odFocused);
  if (!Enabled()) state.Include(odDisabled).Include(odGrayed);
  PrepareItemCanvas(canvas, Font(), back, state);
  DrawItem(item_index_, field, state);
  if (focused) {
    canvas->Brush()->SetColor(back);
    canvas->Font()->SetColor(Font()->Color());
    canvas->DrawFocusRect(field);
  }
}

void TCustomComboBox::PaintEdit(const RECT& field) {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  const TColor back = Enabled() ? Color() : clBtnFace;
  canvas->Brush()->SetColor(back);
  canvas->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
  const std::string text = Text();
  const int th = canvas->TextHeight("Wg");
  const int x0 = field.left + 1 - scroll_x_;
  const int y = field.top + std::max(0, static_cast<int>(field.bottom - field.top - th) / 2);
  canvas->TextRect(field, x0, y, text);
  if (Focused() && sel_length_ > 0) {
    const size_t a = static_cast<size_t>(sel_start_);
    const size_t n = static_cast<size_t>(sel_length_);
    const int xa = x0 + canvas->TextWidth(text.substr(0, a));
    const int xb = xa + canvas->TextWidth(text.substr(a, n));
    RECT hr{std::max<int>(xa, field.left), y, std::min<int>(xb, field.right), std::min<int>(y + th, field.bottom)};
    if (hr.right > hr.left) {
      canvas->Brush()->SetColor(clHighlight);
      canvas->Font()->SetColor(clHighlightText);
      canvas->TextRect(hr, xa, y, text.substr(a, n));
    }
  }
}

int32_t TCustomComboBox::CharAt(int x) const {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  const std::string text = Text();
  const RECT field = FieldRect();
  const int rel = x - (field.left + 1 - scroll_x_);
  int prev = 0;
  for (size_t i = 1; i <= text.size(); ++i) {
    const int w = canvas->TextWidth(text.substr(0, i));
    if (rel < (prev + w) / 2) return static_cast<int32_t>(i - 1);
    prev = w;
  }
  return static_cast<int32_t>(text.size());
}

void TCustomComboBox::UpdateCaret() {
  if (!HasEdit() || !HandleAllocated() || !Focused()) return;
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  const std::string text = Text();
  const RECT field = FieldRect();
  const int32_t caret_at = sel_start_ + sel_length_;
  int x = canvas->TextWidth(text.substr(0, static_cast<size_t>(caret_at)));
  // Keeps the caret inside the field by scrolling the text.
  const int room = std::max<int>(1, field.right - field.left - 2);
  if (x - scroll_x_ > room) scroll_x_ = x - room;
  if (x - scroll_x_ < 0) scroll_x_ = x;
  const int th = canvas->TextHeight("Wg");
  SetCaretPos(field.left + 1 + x - scroll_x_, field.top + std::max(0, static_cast<int>(field.bottom - field.top - th) / 2));
  Invalidate();
}

void TCustomComboBox::SetSelStart(int32_t start) {
  sel_start_ = std::clamp<int32_t>(start, 0, static_cast<int32_t>(Text().size()));
  sel_length_ = 0;
  UpdateCaret();
  Invalidate();
}

void TCustomComboBox::SetSelLength(int32_t length) {
  sel_length_ = std::clamp<int32_t>(length, -sel_start_, static_cast<int32_t>(Text().size()) - sel_start_);
  UpdateCaret();
  Invalidate();
}

void TCustomComboBox::SelectAll() {
  sel_start_ = 0;
  sel_length_ = static_cast<int32_t>(Text().size());
  UpdateCaret();
  Invalidate();
}

std::string TCustomComboBox::SelText() const {
  const int32_t a = std::min(sel_start_, sel_start_ + sel_length_);
  return Text().substr(static_cast<size_t>(a), static_cast<size_t>(std::abs(sel_length_)));
}

void TCustomComboBox::ReplaceSelection(const std::string& insert) {
  std::string text = Text();
  const int32_t a = std::min(sel_start_, sel_start_ + sel_length_);
  const int32_t n = std::abs(sel_length_);
  std::string piece = insert;
  if (max_length_ > 0) {
    const int32_t room = max_length_ - (static_cast<int32_t>(text.size()) - n);
    if (room < static_cast<int32_t>(piece.size())) piece.resize(static_cast<size_t>(std::max(0, room)));
  }
  if (n == 0 && piece.empty() && !insert.empty()) return;  // full: the key is refused
  text.replace(static_cast<size_t>(a), static_cast<size_t>(n), piece);
  TControl::SetTextValue(text);
  sel_start_ = a + static_cast<int32_t>(piece.size());
  sel_length_ = 0;
  EditChanged();
}

void TCustomComboBox::EditChanged() {
  item_index_ = items_->IndexOf(Text());
  if (list_ && style_ == csSimple) {
    list_->SetItemIndex(item_index_);
    list_->MakeVisible(item_index_);
  }
  UpdateCaret();
  Invalidate();
  Change();
}

void TCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (CanFocus() && !Focused()) SetFocus();
  if (button == mbLeft) {
    const RECT b = ButtonRect();
    const bool on_button = x >= b.left && x < b.right && y >= b.top && y < b.bottom;
    if (dropped_) {
      CloseList(false);
    } else if (style_ != csSimple && (on_button || !HasEdit())) {
      button_down_ = true;
      button_pushed_ = on_button;
      SetDroppedDown(true);
    } else if (HasEdit()) {
      const int32_t at = CharAt(x);
      if (shift.Contains(ssShift)) {
        sel_length_ = at - sel_start_;
      } else {
        sel_start_ = at;
        sel_length_ = 0;
      }
      drag_anchor_ = sel_start_;
      editing_drag_ = true;
      UpdateCaret();
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomComboBox::MouseMove(TShiftState shift, int x, int y) {
  if (editing_drag_) {
    const int32_t at = CharAt(x);
    sel_start_ = drag_anchor_;
    sel_length_ = at - drag_anchor_;
    UpdateCaret();
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomComboBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  editing_drag_ = false;
  if (button_down_) {
    button_down_ = false;
    button_pushed_ = false;
    Invalidate();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

bool TCustomComboBox::DoKeyDown(WORD& key, TShiftState shift) {
  if (TCustomControl::DoKeyDown(key, shift)) return true;
  const bool alt = shift.Contains(ssAlt);
  if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
    if (style_ != csSimple) SetDroppedDown(!dropped_);
    return true;
  }
  if (dropped_ && (key == VK_ESCAPE || key == VK_RETURN)) {
    CloseList(key == VK_RETURN);
    return true;
  }
  const int32_t count = items_->Count();
  int32_t target = -2;
  const int32_t page = std::max(1, drop_down_count_ - 1);
  switch (key) {
    case VK_UP: target = item_index_ - 1; break;
    case VK_DOWN: target = item_index_ + 1; break;
    case VK_PRIOR: target = item_index_ - page; break;
    case VK_NEXT: target = item_index_ + page; break;
    case VK_HOME:
    case VK_END:
      if (HasEdit()) break;
      target = key == VK_HOME ? 0 : count - 1;
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (!HasEdit()) target = item_index_ + (key == VK_LEFT ? -1 : 1);
      break;
    default: break;
  }
  if (target != -2) {
    if (count > 0) {
      if (item_index_ < 0) target = 0;
      SelectItem(std::clamp(target, 0, count - 1), true);
      if (list_ && (dropped_ || style_ == csSimple)) list_->MakeVisible(item_index_);
    }
    return true;
  }
  if (!HasEdit()) return false;
  const int32_t len = static_cast<int32_t>(Text().size());
  const int32_t caret = sel_start_ + sel_length_;
  auto move = [&](int32_t to) {
    to = std::clamp<int32_t>(to, 0, len);
    if (shift.Contains(ssShift)) {
      sel_length_ = to - sel_start_;
    } else {
      sel_start_ = to;
      sel_length_ = 0;
    }
    UpdateCaret();
  };
  switch (key) {
    case VK_LEFT:
      move(!shift.Contains(ssShift) && sel_length_ != 0 ? std::min(sel_start_, caret) : caret - 1);
      return true;
    case VK_RIGHT:
      move(!shift.Contains(ssShift) && sel_length_ != 0 ? std::max(sel_start_, caret) : caret + 1);
      return true;
    case VK_HOME: move(0); return true;
    case VK_END: move(len); return true;
    case VK_DELETE:
      if (sel_length_ == 0) {
        if (caret >= len) return true;
        sel_length_ = 1;
      }
      ReplaceSelection("");
      return true;
    default: return false;
  }
}

bool TCustomComboBox::DoKeyPress(char& key) {
  if (TCustomControl::DoKeyPress(key)) return true;
  if (HasEdit()) {
    if (key == '\b') {
      if (sel_length_ == 0) {
        if (sel_start_ == 0) return true;
        --sel_start_;
        sel_length_ = 1;
      }
      ReplaceSelection("");
      return true;
    }
    if (static_cast<unsigned char>(key) < 32) return false;
    ReplaceSelection(std::string(1, key));
    return true;
  }
  if (static_cast<unsigned char>(key) < 32) return false;
  const int32_t found = TypeAhead(items_.get(), item_index_, key, search_, search_tick_);
  if (found >= 0) {
    SelectItem(found, true);
    if (list_ && dropped_) list_->MakeVisible(found);
  }
  return true;
}

void TCustomComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
      TCustomControl::Dispatch(m);
      if (HasEdit() && HandleAllocated()) {
        Canvas()->SetFont(Font());
        CreateCaret(handle_, nullptr, 1, Canvas()->TextHeight("Wg"));
        SelectAll();
        ShowCaret(handle_);
      }
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      CloseList(false);
      if (HasEdit()) DestroyCaret();
      Invalidate();
      return;
    case CM_FONTCHANGED:
      font_height_ = -1;
      TCustomControl::Dispatch(m);
      AdjustHeight();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      if (!Enabled()) CloseList(false);
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      if (!m.WParam) CloseList(false);
      TCustomControl::Dispatch(m);
      return;
    default: TCustomControl::Dispatch(m);
  }
}

HOST_PUBLISHED(TComboBox, TCustomComboBox) {
  HOST_PROP(Style, csDropDown);
  HOST_PROP(Align, alNone);
  HOST_COLOR_PROP(Color, clWindow);
  HOST_PROP(DropDownCount, 8).Range(1, 1000);
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  c.Property("ItemHeight", &TComboBox::StoredItemHeight, &TComboBox::SetItemHeight, 16).Range(1, 10000);
  HOST_OBJECT_PROP(Items);
  HOST_PROP(MaxLength, 0).Range(0, 1 << 30);
  HOST_PROP(ParentColor, false);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Sorted, false);
  HOST_PROP(TabStop, true);
  HOST_PROP(Text);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnChange);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnDrawItem);
  HOST_EVENT(OnDropDown);
  HOST_EVENT(OnCloseUp);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnKeyDown);
  HOST_EVENT(OnKeyPress);
  HOST_EVENT(OnKeyUp);
  HOST_EVENT(OnMeasureItem);
}

void RegisterListControls() {
  RegisterClasses({TListBox::StaticClass(), THeader::StaticClass(), TComboBox::StaticClass()});
}

}  // namespace host
