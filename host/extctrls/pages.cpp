// [SECTION] index
//   Common published properties
//   TControlScrollBar, TScrollBox
//   TTabSet
//   TPage, TNotebook
//   TTabbedNotebook
#include "host/extctrls/pages.h"

#include <algorithm>

#include "host/classes/filer.h"
#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "host/graphics/pen.h"
#include "platform/win32/text.h"

namespace host {

// [SECTION] Common published properties ------------------------------------------------------

namespace {

template <class T>
void PublishCommon(ClassBuilder<T>& c, TColor color_default, bool parent_color_default) {
  c.Property("Align", &T::Align, &T::SetAlign, alNone);
  c.ColorProperty("Color", &T::Color, &T::SetColor, color_default).Stored([](const TObject* o) {
    return !static_cast<const T*>(o)->ParentColor();
  });
  c.Property("Enabled", &T::Enabled, &T::SetEnabled, true);
  c.Property("Font", &T::Font).Stored([](const TObject* o) { return !static_cast<const T*>(o)->ParentFont(); });
  c.Property("ParentColor", &T::ParentColor, &T::SetParentColor, parent_color_default);
  c.Property("ParentFont", &T::ParentFont, &T::SetParentFont, true);
  c.Property("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint, true);
  c.Property("ShowHint", &T::ShowHint, &T::SetShowHint, false).Stored([](const TObject* o) {
    return !static_cast<const T*>(o)->ParentShowHint();
  });
  c.Property("Visible", &T::Visible, &T::SetVisible, true);
  c.Property("PopupMenu", &T::PopupMenu, &T::SetPopupMenu);
  c.Event("OnClick", &T::OnClick);
  c.Event("OnDblClick", &T::OnDblClick);
  c.Event("OnMouseDown", &T::OnMouseDown);
  c.Event("OnMouseMove", &T::OnMouseMove);
  c.Event("OnMouseUp", &T::OnMouseUp);
  c.Event("OnResize", &T::OnResize);
  c.Event("OnEnter", &T::OnEnter);
  c.Event("OnExit", &T::OnExit);
  c.Event("OnKeyDown", &T::OnKeyDown);
  c.Event("OnKeyPress", &T::OnKeyPress);
  c.Event("OnKeyUp", &T::OnKeyUp);
}

// The height of a line of text in font, measured on the screen's DC (no window needed).
int FontLineHeight(TFont* font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

int TextWidthIn(TFont* font, const std::string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  SIZE size{};
  GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

// The control's form, when the active control lies inside container.
TCustomForm* FormFocusedInside(TControl* container) {
  TCustomForm* form = container->GetParentForm();
  if (!form || !form->ActiveControl()) return nullptr;
  auto* win = dynamic_cast<TWinControl*>(container);
  return win && win->ContainsControl(form->ActiveControl()) ? form : nullptr;
}

}  // namespace

// [SECTION] TControlScrollBar, TScrollBox -----------------------------------------------------

HOST_PUBLISHED(TControlScrollBar, TPersistent) {
  HOST_PROP(Increment, 8).Range(1, 32767);
  c.Property("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition, 0);
  c.Property("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange, 0)
      .Range(0, 1 << 30)
      .Stored([](const TObject* o) {
        auto* bar = static_cast<const TControlScrollBar*>(o);
        return bar->Range() != 0 && !bar->control_->AutoScroll();
      });
  HOST_PROP(Visible, true);
}

TControlScrollBar::TControlScrollBar(TScrollBox* control, TScrollBarKind kind) : control_(control), kind_(kind) {}

void TControlScrollBar::SetRange(int32_t range) {
  if (range < 0) throw EInvalidOperation(Format("Scroll range %d is negative", {range}));
  control_->auto_scroll_ = false;
  if (range == range_) return;
  range_ = range;
  control_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int32_t position) {
  if (control_->IsLoading()) {
    position_ = std::max(position, 0);
    return;
  }
  control_->ApplyPosition(this, position);
}

void TControlScrollBar::SetIncrement(int32_t increment) {
  if (increment < 1) throw EInvalidOperation(Format("Scroll increment %d is less than 1", {increment}));
  increment_ = increment;
}

void TControlScrollBar::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  control_->UpdateScrollBars();
}

HOST_PUBLISHED(TScrollBox, TCustomControl) {
  PublishCommon(c, clBtnFace, false);
  HOST_PROP(AutoScroll, true);
  HOST_PROP(BorderStyle, bsSingle);
  HOST_OBJECT_PROP(HorzScrollBar);
  HOST_OBJECT_PROP(VertScrollBar);
  c.Property("TabStop", &TScrollBox::TabStop, &TScrollBox::SetTabStop, false);
}

TScrollBox::TScrollBox(TComponent* owner)
    : TCustomControl(owner),
      horz_(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      vert_(std::make_unique<TControlScrollBar>(this, sbVertical)) {
  control_style_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  color_ = clBtnFace;
  parent_color_ = false;
  SetBounds(0, 0, 185, 41);
}

TScrollBox::~TScrollBox() = default;

void TScrollBox::SetAutoScroll(bool value) {
  if (value == auto_scroll_) return;
  auto_scroll_ = value;
  if (value) {
    UpdateScrollBars();
  } else {
    // Without automatic ranges the bars go until ranges are set by hand.
    horz_->range_ = 0;
    vert_->range_ = 0;
    UpdateScrollBars();
  }
}

void TScrollBox::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone && value != bsSingle) {
    throw EInvalidOperation(Format("Scroll box %s: border style must be bsNone or bsSingle", {Name()}));
  }
  if (value == border_style_) return;
  border_style_ = value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  if (border_style_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd() {
  horz_->shown_ = false;
  vert_->shown_ = false;
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollBox::Loaded() {
  TCustomControl::Loaded();
  // Positions read from the form apply to children placed in unscrolled coordinates.
  const int dx = horz_->position_, dy = vert_->position_;
  horz_->position_ = 0;
  vert_->position_ = 0;
  UpdateScrollBars();
  if (dx || dy) {
    ApplyPosition(horz_.get(), dx);
    ApplyPosition(vert_.get(), dy);
  }
}

void TScrollBox::AdjustClientRect(RECT& rect) {
  // Aligned children scroll with the others.
  OffsetRect(&rect, -horz_->position_, -vert_->position_);
}

void TScrollBox::CalcAutoRange() {
  int right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() && !c->IsDesigning()) continue;
    const TAlign a = c->Align();
    if (a == alNone || a == alLeft || a == alRight) right = std::max(right, c->Left() + c->Width() + horz_->position_);
    if (a == alNone || a == alTop || a == alBottom) bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_);
  }
  horz_->range_ = right;
  vert_->range_ = bottom;
}

int32_t TScrollBox::ClientExtent(TScrollBarKind kind) const {
  const RECT r = ClientRect();
  return kind == sbHorizontal ? r.right : r.bottom;
}

void TScrollBox::UpdateScrollBars() {
  if (updating_ || scrolling_ || IsLoading() || IsDestroying()) return;
  updating_ = true;
  bool toggled = false;
  try {
    if (auto_scroll_) CalcAutoRange();
    if (HandleAllocated()) {
      // The client area with neither bar, then which bars the content needs.
      RECT r;
      GetClientRect(handle_, &r);
      const int full_w = r.right + (vert_->shown_ ? GetSystemMetrics(SM_CXVSCROLL) : 0);
      const int full_h = r.bottom + (horz_->shown_ ? GetSystemMetrics(SM_CYHSCROLL) : 0);
      bool need_h = horz_->visible_ && horz_->range_ > full_w;
      bool need_v = vert_->visible_ && vert_->range_ > full_h;
      if (need_h && !need_v) need_v = vert_->visible_ && vert_->range_ > full_h - GetSystemMetrics(SM_CYHSCROLL);
      if (need_v && !need_h) need_h = horz_->visible_ && horz_->range_ > full_w - GetSystemMetrics(SM_CXVSCROLL);
      const int client_w = full_w - (need_v ? GetSystemMetrics(SM_CXVSCROLL) : 0);
      const int client_h = full_h - (need_h ? GetSystemMetrics(SM_CYHSCROLL) : 0);
      struct Item {
        TControlScrollBar* bar;
        int sb;
        bool need;
        int client;
      };
      for (const Item& it : {Item{horz_.get(), SB_HORZ, need_h, client_w}, Item{vert_.get(), SB_VERT, need_v, client_h}}) {
        const int max_pos = it.need ? std::max(0, it.bar->range_ - it.client) : 0;
        if (it.bar->position_ > max_pos) {
          const int delta = it.bar->position_ - max_pos;
          it.bar->position_ = max_pos;
          scrolling_ = true;
          try {
            if (it.bar->kind_ == sbHorizontal) {
              ScrollBy(delta, 0);
            } else {
              ScrollBy(0, delta);
            }
          } catch (...) {
            scrolling_ = false;
            throw;
          }
          scrolling_ = false;
        }
        if (it.need) {
          SCROLLINFO si{};
          si.cbSize = sizeof si;
          si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
          si.nMin = 0;
          si.nMax = it.bar->range_ - 1;
          si.nPage = static_cast<UINT>(std::max(it.client, 0));
          si.nPos = it.bar->position_;
          if (!it.bar->shown_) ShowScrollBar(handle_, it.sb, TRUE);
          SetScrollInfo(handle_, it.sb, &si, TRUE);
        } else if (it.bar->shown_) {
          ShowScrollBar(handle_, it.sb, FALSE);
        }
        if (it.bar->shown_ != it.need) toggled = true;
        it.bar->shown_ = it.need;
      }
    }
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
  // The client area changed size: aligned children follow.
  if (toggled) Realign();
}

void TScrollBox::ScrollBy(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  const bool was_scrolling = scrolling_;
  scrolling_ = true;
  try {
    if (HandleAllocated()) {
      const RECT client = ClientRect();
      ScrollWindow(handle_, dx, dy, &client, &client);
    }
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    scrolling_ = was_scrolling;
    EnableAlign();
  } catch (...) {
    scrolling_ = was_scrolling;
    throw;
  }
}

void TScrollBox::ApplyPosition(TControlScrollBar* bar, int32_t position) {
  const int max_pos = bar->shown_ ? std::max(0, bar->range_ - ClientExtent(bar->kind_)) : 0;
  position = std::clamp(position, 0, max_pos);
  if (position == bar->position_) return;
  const int delta = bar->position_ - position;
  bar->position_ = position;
  if (bar->kind_ == sbHorizontal) {
    ScrollBy(delta, 0);
  } else {
    ScrollBy(0, delta);
  }
  if (HandleAllocated() && bar->shown_) {
    SetScrollPos(handle_, bar->kind_ == sbHorizontal ? SB_HORZ : SB_VERT, position, TRUE);
  }
}

void TScrollBox::ScrollInView(TControl* control) {
  if (!control || !ContainsControl(control) || control == this) return;
  // The control's rectangle in this box's client coordinates.
  POINT origin = control->ClientToScreen({0, 0});
  origin = ScreenToClient(origin);
  const RECT r{origin.x, origin.y, origin.x + control->Width(), origin.y + control->Height()};
  auto fit = [&](TControlScrollBar* bar, int lo, int hi) {
    const int extent = ClientExtent(bar->kind_);
    int pos = bar->position_;
    if (hi > extent) pos += hi - extent;
    if (lo - (hi > extent ? hi - extent : 0) < 0) pos += lo - (hi > extent ? hi - extent : 0);
    ApplyPosition(bar, pos);
  };
  fit(horz_.get(), r.left, r.right);
  fit(vert_.get(), r.top, r.bottom);
}

void TScrollBox::ScrollMessage(TControlScrollBar* bar, WORD code) {
  const int page = std::max(1, ClientExtent(bar->kind_));
  const int sb = bar->kind_ == sbHorizontal ? SB_HORZ : SB_VERT;
  int pos = bar->position_;
  switch (code) {
    case SB_LINEUP: pos -= bar->increment_; break;
    case SB_LINEDOWN: pos += bar->increment_; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(handle_, sb, &si)) pos = si.nTrackPos;
      break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = bar->range_; break;
    default: return;
  }
  ApplyPosition(bar, pos);
}

void TScrollBox::Paint() {}

void TScrollBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
      ScrollMessage(horz_.get(), LOWORD(m.WParam));
      m.Result = 0;
      return;
    case WM_VSCROLL:
      ScrollMessage(vert_.get(), LOWORD(m.WParam));
      m.Result = 0;
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(m);
      if (!updating_) {
        Realign();
        UpdateScrollBars();
      }
      return;
    case CM_CHILDCHANGED:
      UpdateScrollBars();
      return;
    default: TCustomControl::Dispatch(m);
  }
}

// [SECTION] TTabSet ---------------------------------------------------------------------------

namespace {
constexpr int kTabTextGap = 4;      // between a tab's text and its slanted edges, at the bottom
constexpr int kScrollButtonW = 16;  // each arrow button
constexpr int kScrollButtonGap = 4; // between the last tab and the buttons
}  // namespace

HOST_PUBLISHED(TTabSet, TCustomControl) {
  PublishCommon(c, clBtnFace, true);
  HOST_PROP(AutoScroll, true);
  HOST_COLOR_PROP(BackgroundColor, clBtnFace);
  HOST_PROP(DitherBackground, true);
  HOST_PROP(StartMargin, 5).Range(0, 32767);
  HOST_PROP(EndMargin, 5).Range(0, 32767);
  HOST_COLOR_PROP(SelectedColor, clBtnFace);
  HOST_COLOR_PROP(UnselectedColor, clWindow);
  c.Property("Tabs", &TTabSet::Tabs);
  HOST_PROP(TabIndex, -1);
  c.Property("TabStop", &TTabSet::TabStop, &TTabSet::SetTabStop, true);
  HOST_EVENT(OnChange);
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {
  // The tab is chosen on the press; Click follows the change rather than the release.
  control_style_ = {csCaptureMouse, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 185, 21);
  SetTabStop(true);
  tabs_->OnChange = [this](TObject*) { TabsChanged(); };
}

TTabSet::~TTabSet() { tabs_->OnChange = nullptr; }

TStrings* TTabSet::Tabs() const { return tabs_.get(); }
void TTabSet::SetTabs(TStrings* tabs) { tabs_->Assign(tabs); }

void TTabSet::TabsChanged() {
  const int count = tabs_->Count();
  if (tab_index_ >= count) tab_index_ = count - 1;
  if (first_index_ >= count) first_index_ = std::max(0, count - 1);
  Invalidate();
}

bool TTabSet::CanChange(int32_t new_index) {
  bool allow = true;
  if (OnChange) OnChange(this, new_index, allow);
  return allow;
}

void TTabSet::SetTabIndex(int32_t index) {
  if (IsLoading()) {
    tab_index_ = index;
    return;
  }
  if (index < -1 || index >= tabs_->Count()) {
    throw EInvalidOperation(
        Format("Tab set %s: tab index %d is out of range (%d tabs)", {Name(), index, tabs_->Count()}));
  }
  if (index == tab_index_) return;
  if (!CanChange(index)) return;
  tab_index_ = index;
  if (index >= 0) MakeVisible(index);
  Invalidate();
  Click();
}

void TTabSet::Loaded() {
  TCustomControl::Loaded();
  if (tab_index_ < -1 || tab_index_ >= tabs_->Count()) tab_index_ = -1;
  if (first_index_ < 0 || first_index_ >= tabs_->Count()) first_index_ = 0;
}

void TTabSet::SetFirstIndex(int32_t index) {
  if (IsLoading()) {
    first_index_ = index;
    return;
  }
  if (index < 0 || (index > 0 && index >= tabs_->Count())) {
    throw EInvalidOperation(Format("Tab set %s: first index %d is out of range", {Name(), index}));
  }
  if (index == first_index_) return;
  first_index_ = index;
  Invalidate();
}

void TTabSet::SetStartMargin(int32_t value) {
  if (value == start_margin_) return;
  start_margin_ = value;
  Invalidate();
}

void TTabSet::SetEndMargin(int32_t value) {
  if (value == end_margin_) return;
  end_margin_ = value;
  Invalidate();
}

void TTabSet::SetAutoScroll(bool value) {
  if (value == auto_scroll_) return;
  auto_scroll_ = value;
  Invalidate();
}

void TTabSet::SetDitherBackground(bool value) {
  if (value == dither_) return;
  dither_ = value;
  Invalidate();
}

void TTabSet::SetBackgroundColor(TColor value) {
  if (value == background_color_) return;
  background_color_ = value;
  dither_bitmap_.reset();
  Invalidate();
}

void TTabSet::SetSelectedColor(TColor value) {
  if (value == selected_color_) return;
  selected_color_ = value;
  Invalidate();
}

void TTabSet::SetUnselectedColor(TColor value) {
  if (value == unselected_color_) return;
  unselected_color_ = value;
  Invalidate();
}

int32_t TTabSet::TabHeight() { return FontLineHeight(Font()) + 7; }

TTabSet::Layout TTabSet::ComputeLayout() {
  Layout layout;
  const int th = TabHeight();
  const int slant = th / 2;
  const int count = tabs_->Count();
  auto fill = [&](int right_limit) {
    layout.left.clear();
    layout.width.clear();
    int x = start_margin_;
    for (int i = first_index_; i < count; ++i) {
      const int w = TextWidthIn(Font(), tabs_->Strings(i)) + 2 * (slant + kTabTextGap);
      if (x + w > right_limit) return false;
      layout.left.push_back(x);
      layout.width.push_back(w);
      x += w - slant;
    }
    return true;
  };
  const int width = ClientWidth();
  const bool all_fit = fill(width - end_margin_);
  if (auto_scroll_ && (!all_fit || first_index_ > 0)) {
    layout.buttons = true;
    fill(width - end_margin_ - 2 * kScrollButtonW - kScrollButtonGap);
  }
  return layout;
}

int32_t TTabSet::VisibleTabs() { return static_cast<int32_t>(ComputeLayout().left.size()); }

bool TTabSet::ScrollButtonsShown() { return ComputeLayout().buttons; }

RECT TTabSet::ScrollButtonRect(bool right) {
  if (!ScrollButtonsShown()) return {0, 0, 0, 0};
  const int h = std::min(TabHeight() - 4, kScrollButtonW);
  const int x_right = ClientWidth() - end_margin_ - kScrollButtonW;
  const int x = right ? x_right : x_right - kScrollButtonW;
  return {x, 2, x + kScrollButtonW, 2 + h};
}

RECT TTabSet::ItemRect(int32_t index) {
  const Layout layout = ComputeLayout();
  const int i = index - first_index_;
  if (index < 0 || i < 0 || i >= static_cast<int>(layout.left.size())) return {0, 0, 0, 0};
  return {layout.left[i], 0, layout.left[i] + layout.width[i], TabHeight() + 1};
}

int32_t TTabSet::ItemAtPos(POINT p) {
  const Layout layout = ComputeLayout();
  const int th = TabHeight();
  if (p.y < 0 || p.y > th) return -1;
  const int slant = th / 2;
  // The selected tab lies in front; the others overlap left over right.
  auto inside = [&](int i) {
    const int x = layout.left[i], w = layout.width[i];
    const int inset = slant * p.y / th;
    return p.x >= x + inset && p.x < x + w - inset;
  };
  const int sel = tab_index_ - first_index_;
  if (sel >= 0 && sel < static_cast<int>(layout.left.size()) && inside(sel)) return tab_index_;
  for (int i = 0; i < static_cast<int>(layout.left.size()); ++i) {
    if (inside(i)) return first_index_ + i;
  }
  return -1;
}

void TTabSet::MakeVisible(int32_t index) {
  if (!auto_scroll_ || index < 0) return;
  if (index < first_index_) {
    first_index_ = index;
    return;
  }
  while (first_index_ < index && index >= first_index_ + VisibleTabs()) ++first_index_;
}

void TTabSet::PaintTab(int x, int w, int h, const std::string& text, bool selected) {
  TCanvas* cv = Canvas();
  const int slant = h / 2;
  const int right = x + w - 1;
  cv->Pen()->SetColor(clBlack);
  cv->Brush()->SetStyle(bsSolid);
  cv->Brush()->SetColor(selected ? selected_color_ : unselected_color_);
  cv->Polygon({POINT{x, 0}, POINT{x + slant, h}, POINT{right - slant, h}, POINT{right, 0}});
  // The shading inside the outline: light on the left of the front tab, shadow on the right
  // and along the bottom.
  if (selected) {
    cv->Pen()->SetColor(clBtnHighlight);
    cv->MoveTo(x + 1, 0);
    cv->LineTo(x + 1 + slant, h);
  }
  cv->Pen()->SetColor(clBtnShadow);
  cv->MoveTo(right - 1, 0);
  cv->LineTo(right - 1 - slant, h);
  cv->MoveTo(x + slant + 1, h - 1);
  cv->LineTo(right - slant, h - 1);
  if (selected) {
    // Joined to the area above: the line at the top stops at the tab's corners.
    cv->Pen()->SetColor(selected_color_);
    cv->MoveTo(x + 1, 0);
    cv->LineTo(right, 0);
    cv->SetPixels(x + 1, 0, clBtnHighlight);
  }
  HDC dc = cv->Handle();
  SetBkMode(dc, TRANSPARENT);
  cv->Font()->Assign(Font());
  if (!Enabled()) cv->Font()->SetColor(clGrayText);
  const int tw = cv->TextWidth(text);
  const int text_h = cv->TextHeight(text);
  const int tx = x + (w - tw) / 2;
  const int ty = (h - text_h) / 2 + 1;
  cv->TextOut(tx, ty, text);
  if (selected && Focused()) {
    cv->Brush()->SetColor(selected_color_);
    cv->DrawFocusRect({tx - 2, ty - 1, tx + tw + 2, ty + text_h + 1});
  }
}

void TTabSet::Paint() {
  TCanvas* cv = Canvas();
  const RECT client = ClientRect();
  if (dither_) {
    if (!dither_bitmap_) {
      dither_bitmap_ = std::make_unique<TBitmap>();
      dither_bitmap_->SetSize(8, 8);
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          dither_bitmap_->Canvas()->SetPixels(x, y, (x + y) % 2 ? clBtnHighlight : background_color_);
        }
      }
    }
    cv->Brush()->SetBitmap(dither_bitmap_.get());
    cv->FillRect(client);
    cv->Brush()->SetBitmap(nullptr);
  } else {
    cv->Brush()->SetColor(background_color_);
    cv->FillRect(client);
  }
  cv->Pen()->SetColor(clBlack);
  cv->MoveTo(0, 0);
  cv->LineTo(client.right, 0);

  const Layout layout = ComputeLayout();
  const int h = TabHeight();
  const int n = static_cast<int>(layout.left.size());
  // Right to left so that each tab lies over its right-hand neighbour; the selected one last.
  for (int i = n - 1; i >= 0; --i) {
    if (first_index_ + i == tab_index_) continue;
    PaintTab(layout.left[i], layout.width[i], h, tabs_->Strings(first_index_ + i), false);
  }
  const int sel = tab_index_ - first_index_;
  if (sel >= 0 && sel < n) PaintTab(layout.left[sel], layout.width[sel], h, tabs_->Strings(tab_index_), true);

  if (layout.buttons) {
    HDC dc = cv->Handle();
    RECT left = ScrollButtonRect(false);
    RECT right = ScrollButtonRect(true);
    const bool can_left = first_index_ > 0;
    const bool can_right = first_index_ + n < tabs_->Count();
    DrawFrameControl(dc, &left, DFC_SCROLL,
                     DFCS_SCROLLLEFT | (can_left ? 0 : DFCS_INACTIVE) | (pressed_button_ < 0 ? DFCS_PUSHED : 0));
    DrawFrameControl(dc, &right, DFC_SCROLL,
                     DFCS_SCROLLRIGHT | (can_right ? 0 : DFCS_INACTIVE) | (pressed_button_ > 0 ? DFCS_PUSHED : 0));
  }
}

void TTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (CanFocus() && !Focused() && GetParentForm()) SetFocus();
    const POINT p{x, y};
    const RECT lb = ScrollButtonRect(false), rb = ScrollButtonRect(true);
    if (PtInRect(&lb, p) || PtInRect(&rb, p)) {
      const bool right = PtInRect(&rb, p);
      if (right && first_index_ + VisibleTabs() < tabs_->Count()) {
        pressed_button_ = 1;
        ++first_index_;
      } else if (!right && first_index_ > 0) {
        pressed_button_ = -1;
        --first_index_;
      }
      Invalidate();
    } else {
      const int hit = ItemAtPos(p);
      if (hit >= 0 && hit != tab_index_) SetTabIndex(hit);
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TTabSet::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && pressed_button_ != 0) {
    pressed_button_ = 0;
    Invalidate();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

bool TTabSet::DoKeyDown(WORD& key, TShiftState shift) {
  if (TCustomControl::DoKeyDown(key, shift)) return true;
  if (key == VK_LEFT && tab_index_ > 0) {
    SetTabIndex(tab_index_ - 1);
    return true;
  }
  if (key == VK_RIGHT && tab_index_ < tabs_->Count() - 1) {
    SetTabIndex(tab_index_ + 1);
    return true;
  }
  return key == VK_LEFT || key == VK_RIGHT;
}

void TTabSet::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_ERASEBKGND: m.Result = 1; return;  // Paint covers everything
    case WM_SIZE:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case CM_WANTSPECIALKEY:
      m.Result = (m.WParam == VK_LEFT || m.WParam == VK_RIGHT) ? 1 : 0;
      return;
    default: TCustomControl::Dispatch(m);
  }
}

// [SECTION] TPage, TNotebook ------------------------------------------------------------------

HOST_PUBLISHED(TPage, TCustomControl) {
  HOST_PROP(Caption);
  c.Property("Left", &TPage::Left, &TPage::SetLeft).Never();
  c.Property("Top", &TPage::Top, &TPage::SetTop).Never();
  c.Property("Width", &TPage::Width, &TPage::SetWidth).Never();
  c.Property("Height", &TPage::Height, &TPage::SetHeight).Never();
  c.Property("TabOrder", &TPage::TabOrder, &TPage::SetTabOrder).Never();  // the order of the pages says it
  c.Event("OnMouseDown", &TPage::OnMouseDown);
  c.Event("OnMouseMove", &TPage::OnMouseMove);
  c.Event("OnMouseUp", &TPage::OnMouseUp);
}

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
  control_style_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
  visible_ = false;
  align_ = alClient;
}

void TPage::ReadState(TReader& reader) {
  if (auto* notebook = dynamic_cast<TNotebook*>(reader.Parent())) notebook->AdoptPage(this);
  TCustomControl::ReadState(reader);
}

void TPage::Paint() {
  // A designer needs to see where the page is; at run time the background says it.
  if (!IsDesigning()) return;
  TCanvas* cv = Canvas();
  cv->Pen()->SetStyle(psDot);
  cv->Brush()->SetStyle(bsClear);
  const RECT r = ClientRect();
  cv->Rectangle(r);
}

// The pages of a notebook seen as a string list: each item is a page's caption, its object
// the page.
class TNotebookStrings : public TStrings {
 public:
  explicit TNotebookStrings(TNotebook* notebook) : notebook_(notebook) {}
  int32_t Count() const override { return notebook_->PageCount(); }
  std::string Strings(int32_t index) const override { return Check(index)->Caption(); }
  void Put(int32_t index, const std::string& s) override { Check(index)->SetCaption(s); }
  TObject* Objects(int32_t index) const override { return Check(index); }
  void PutObject(int32_t index, TObject*) override { Check(index); }
  void Insert(int32_t index, const std::string& s) override {
    if (index < 0 || index > Count()) IndexError(index);
    notebook_->InsertPage(index, s);
  }
  void Delete(int32_t index) override {
    Check(index);
    notebook_->DeletePage(index);
  }
  void Clear() override {
    while (Count() > 0) notebook_->DeletePage(Count() - 1);
  }

 private:
  TPage* Check(int32_t index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return notebook_->pages_[static_cast<size_t>(index)];
  }
  TNotebook* notebook_;
};

HOST_PUBLISHED(TNotebook, TCustomControl) {
  PublishCommon(c, clBtnFace, true);
  c.Property("ActivePage", &TNotebook::ActivePage, &TNotebook::SetActivePage);
  c.Property("PageIndex", &TNotebook::PageIndex, &TNotebook::SetPageIndex).Never();
  c.Property("Pages", &TNotebook::Pages).Never();
  HOST_EVENT(OnPageChanged);
}

TNotebook::TNotebook(TComponent* owner)
    : TCustomControl(owner), page_strings_(std::make_unique<TNotebookStrings>(this)) {
  control_style_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
  SetBounds(0, 0, 150, 150);
  InsertPage(0, "Default");
}

TNotebook::~TNotebook() = default;

TStrings* TNotebook::Pages() const { return page_strings_.get(); }

void TNotebook::SetPages(TStrings* pages) { page_strings_->Assign(pages); }

TPage* TNotebook::Page(int32_t index) const {
  if (index < 0 || index >= PageCount()) {
    throw EListError(Format("Notebook %s has no page %d (%d pages)", {Name(), index, PageCount()}));
  }
  return pages_[static_cast<size_t>(index)];
}

TPage* TNotebook::CreatePage() { return New<TPage>(this); }

void TNotebook::InsertPage(int32_t index, const std::string& caption) {
  TPage* page = CreatePage();
  page->SetCaption(caption);
  pages_.insert(pages_.begin() + index, page);
  page->SetParent(this);
  if (page_index_ < 0) {
    page_index_ = 0;
  } else if (index <= page_index_) {
    ++page_index_;
  }
  ShowActivePage();
}

void TNotebook::DeletePage(int32_t index) { pages_[static_cast<size_t>(index)]->Free(); }

void TNotebook::AdoptPage(TPage* page) {
  if (std::find(pages_.begin(), pages_.end(), page) == pages_.end()) pages_.push_back(page);
}

void TNotebook::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  auto it = std::find(pages_.begin(), pages_.end(), component);
  if (it == pages_.end()) return;
  const int index = static_cast<int>(it - pages_.begin());
  pages_.erase(it);
  if (IsDestroying()) return;
  if (index < page_index_ || page_index_ >= PageCount()) --page_index_;
  if (page_index_ < 0 && PageCount() > 0) page_index_ = 0;
  ShowActivePage();
}

std::string TNotebook::ActivePage() const {
  if (IsLoading() && !pending_active_.empty()) return pending_active_;
  return page_index_ >= 0 && page_index_ < PageCount() ? pages_[static_cast<size_t>(page_index_)]->Caption() : "";
}

void TNotebook::SetActivePage(const std::string& name) {
  if (IsLoading()) {
    pending_active_ = name;
    return;
  }
  for (int i = 0; i < PageCount(); ++i) {
    if (pages_[static_cast<size_t>(i)]->Caption() == name) {
      SetPageIndex(i);
      return;
    }
  }
  throw EInvalidOperation(Format("Notebook %s has no page '%s'", {Name(), name}));
}

bool TNotebook::CanChange(int32_t) { return true; }

void TNotebook::PageChanged() {
  if (OnPageChanged) OnPageChanged(this);
}

void TNotebook::SetPageIndex(int32_t index) {
  if (IsLoading()) {
    page_index_ = index;
    pending_active_.clear();
    return;
  }
  if (index == page_index_) return;
  if (index < 0 || index >= PageCount()) {
    throw EInvalidOperation(Format("Notebook %s: page index %d is out of range (%d pages)", {Name(), index, PageCount()}));
  }
  if (!CanChange(index)) return;
  TPage* old = page_index_ >= 0 && page_index_ < PageCount() ? pages_[static_cast<size_t>(page_index_)] : nullptr;
  TCustomForm* form = old ? FormFocusedInside(old) : nullptr;
  page_index_ = index;
  ShowActivePage();
  if (form) {
    // Focus must not stay on a hidden page: the new page's first control takes it.
    TPage* now = pages_[static_cast<size_t>(index)];
    if (TWinControl* next = now->FindNextControl(nullptr, true, true, false)) {
      next->SetFocus();
    } else if (CanFocus()) {
      SetFocus();
    } else {
      form->DefocusControl(old, false);
    }
  }
  Invalidate();
  PageChanged();
}

void TNotebook::SetParent(TWinControl* parent) {
  TCustomControl::SetParent(parent);
  ShowActivePage();
}

void TNotebook::ShowActivePage() {
  // A parentless notebook would count as a top-level window: pages show once it has a parent.
  if (IsLoading() || !parent_) return;
  // The new page shows before the old one hides, so the background never shows between.
  if (page_index_ >= 0 && page_index_ < PageCount()) {
    TPage* page = pages_[static_cast<size_t>(page_index_)];
    page->SetVisible(true);
    page->BringToFront();
  }
  for (int i = 0; i < PageCount(); ++i) {
    if (i != page_index_) pages_[static_cast<size_t>(i)]->SetVisible(false);
  }
}

void TNotebook::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TPage* page : pages_) proc(page);
}

void TNotebook::ReadState(TReader& reader) {
  // The stored pages replace the ones the constructor made.
  while (!pages_.empty()) pages_.back()->Free();
  page_index_ = -1;
  TCustomControl::ReadState(reader);
}

void TNotebook::Loaded() {
  TCustomControl::Loaded();
  if (!pending_active_.empty()) {
    const std::string name = pending_active_;
    pending_active_.clear();
    page_index_ = -1;
    for (int i = 0; i < PageCount(); ++i) {
      if (pages_[static_cast<size_t>(i)]->Caption() == name) page_index_ = i;
    }
    if (page_index_ < 0) throw EInvalidOperation(Format("Notebook %s has no page '%s'", {Name(), name}));
  }
  if (page_index_ < 0 || page_index_ >= PageCount()) page_index_ = PageCount() > 0 ? 0 : -1;
  ShowActivePage();
  Realign();
}

// [SECTION] TTabbedNotebook -------------------------------------------------------------------

namespace {
constexpr int kTabPadding = 6;    // text to tab edge, each side
constexpr int kFrameInset = 4;    // the raised frame plus a margin, around the pages
constexpr int kSelectedRise = 2;  // how far the selected tab stands out
}  // namespace

HOST_DEFINE_CLASS(TTabPage, TPage)

HOST_PUBLISHED(TTabbedNotebook, TNotebook) {
  c.Property("TabFont", &TTabbedNotebook::TabFont);
  c.Property("TabStop", &TTabbedNotebook::TabStop, &TTabbedNotebook::SetTabStop, true);
  HOST_EVENT(OnChange);
}

TTabbedNotebook::TTabbedNotebook(TComponent* owner) : TNotebook(owner), tab_font_(std::make_unique<TFont>()) {
  // The page the base constructor made is a plain TPage; this notebook's pages are TTabPages.
  while (!pages_.empty()) pages_.back()->Free();
  page_index_ = -1;
  InsertPage(0, "Default");
  SetBounds(0, 0, 300, 250);
  SetTabStop(true);
  tab_font_->OnChange = [this](TObject*) {
    Realign();
    Invalidate();
  };
}

TTabbedNotebook::~TTabbedNotebook() { tab_font_->OnChange = nullptr; }

void TTabbedNotebook::SetTabFont(TFont* font) { tab_font_->Assign(font); }

TPage* TTabbedNotebook::CreatePage() { return New<TTabPage>(this); }

bool TTabbedNotebook::CanChange(int32_t new_index) {
  bool allow = true;
  if (OnChange) OnChange(this, new_index, allow);
  return allow;
}

int32_t TTabbedNotebook::TabRowHeight() { return FontLineHeight(tab_font_.get()) + 2 * kSelectedRise + 4; }

RECT TTabbedNotebook::TabRect(int32_t index) {
  if (index < 0 || index >= PageCount()) return {0, 0, 0, 0};
  const int row = TabRowHeight();
  int x = kSelectedRise;
  for (int i = 0; i < index; ++i) x += TextWidthIn(tab_font_.get(), pages_[static_cast<size_t>(i)]->Caption()) + 2 * kTabPadding;
  const int w = TextWidthIn(tab_font_.get(), pages_[static_cast<size_t>(index)]->Caption()) + 2 * kTabPadding;
  if (index == page_index_) return {x - kSelectedRise, 0, x + w + kSelectedRise, row + 1};
  return {x, kSelectedRise, x + w, row};
}

int32_t TTabbedNotebook::TabAtPos(POINT p) {
  if (page_index_ >= 0) {
    const RECT r = TabRect(page_index_);
    if (PtInRect(&r, p)) return page_index_;
  }
  for (int i = 0; i < PageCount(); ++i) {
    const RECT r = TabRect(i);
    if (PtInRect(&r, p)) return i;
  }
  return -1;
}

void TTabbedNotebook::AdjustClientRect(RECT& rect) {
  rect.top += TabRowHeight() + kFrameInset;
  InflateRect(&rect, -kFrameInset, 0);
  rect.bottom -= kFrameInset;
}

void TTabbedNotebook::Paint() {
  TCanvas* cv = Canvas();
  HDC dc = cv->Handle();
  const RECT client = ClientRect();
  const int row = TabRowHeight();
  cv->Brush()->SetColor(Color());
  cv->FillRect({0, 0, client.right, row});
  RECT frame{0, row, client.right, client.bottom};
  DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
  cv->Font()->Assign(tab_font_.get());
  SetBkMode(dc, TRANSPARENT);
  auto draw_tab = [&](int i) {
    RECT r = TabRect(i);
    const bool selected = i == page_index_;
    cv->Brush()->SetColor(clBtnFace);
    cv->FillRect(r);
    DrawEdge(dc, &r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
    // Rounded top corners: the corner pixels take the strip's colour, a highlight sits inside.
    cv->SetPixels(r.left, r.top, Color());
    cv->SetPixels(r.right - 1, r.top, Color());
    cv->SetPixels(r.left + 1, r.top + 1, clBtnHighlight);
    cv->SetPixels(r.right - 2, r.top + 1, cl3DDkShadow);
    if (selected) {
      // Joined to the page: the frame's top edge stops under the tab.
      cv->Brush()->SetColor(clBtnFace);
      cv->FillRect({r.left + 2, row, r.right - 2, row + 2});
    }
    const std::string text = pages_[static_cast<size_t>(i)]->Caption();
    const int tw = cv->TextWidth(text);
    const int th = cv->TextHeight(text);
    const int tx = r.left + (r.right - r.left - tw) / 2;
    const int ty = r.top + (row - r.top - th) / 2 + (selected ? 0 : 1);
    if (!Enabled()) cv->Font()->SetColor(clGrayText);
    cv->TextOut(tx, ty, text);
    if (selected && Focused()) cv->DrawFocusRect({tx - 2, ty, tx + tw + 2, ty + th});
  };
  for (int i = 0; i < PageCount(); ++i) {
    if (i != page_index_) draw_tab(i);
  }
  if (page_index_ >= 0 && page_index_ < PageCount()) draw_tab(page_index_);
}

void TTabbedNotebook::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    const int hit = TabAtPos({x, y});
    if (hit >= 0) {
      if (CanFocus() && !Focused() && GetParentForm()) SetFocus();
      if (hit != page_index_) SetPageIndex(hit);
    }
  }
  TNotebook::MouseDown(button, shift, x, y);
}

void TTabbedNotebook::TurnPage(bool forward) {
  const int n = PageCount();
  if (n < 2) return;
  const int from = std::max(page_index_, 0);
  SetPageIndex(forward ? (from + 1) % n : (from + n - 1) % n);
}

bool TTabbedNotebook::DoKeyDown(WORD& key, TShiftState shift) {
  if (TNotebook::DoKeyDown(key, shift)) return true;
  if (key == VK_LEFT || key == VK_RIGHT) {
    TurnPage(key == VK_RIGHT);
    return true;
  }
  return false;
}

void TTabbedNotebook::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_CHILDKEY:
      if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        TurnPage(GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
      }
      TNotebook::Dispatch(m);
      return;
    case CM_WANTSPECIALKEY:
      m.Result = (m.WParam == VK_LEFT || m.WParam == VK_RIGHT) ? 1 : 0;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TNotebook::Dispatch(m);
      Invalidate();
      return;
    case WM_SIZE:
      TNotebook::Dispatch(m);
      Invalidate();
      return;
    default: TNotebook::Dispatch(m);
  }
}

void RegisterPageControls() {
  RegisterClasses({TScrollBox::StaticClass(), TTabSet::StaticClass(), TPage::StaticClass(), TNotebook::StaticClass(),
                   TTabPage::StaticClass(), TTabbedNotebook::StaticClass()});
}

}  // namespace host
