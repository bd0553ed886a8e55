#include "host/stdctrls/buttons.h"

#include <algorithm>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/classes/strings.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "platform/win32/text.h"

namespace host {

namespace {

// Holds a font selected in a DC for the length of a paint.
class SelectedFont {
 public:
  SelectedFont(HDC dc, TFont* font) : dc_(dc), old_(SelectObject(dc, font->Handle())) {}
  ~SelectedFont() { SelectObject(dc_, old_); }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A caption with its "&" accelerator underlined; disabled text is embossed, a white copy one
// pixel down and right under the grey one.
void DrawCaptionText(HDC dc, const std::string& text, RECT r, UINT flags, TColor color, bool enabled) {
  SetBkMode(dc, TRANSPARENT);
  if (enabled) {
    SetTextColor(dc, ColorToRGB(color));
    DrawText(dc, text.c_str(), -1, &r, flags);
    return;
  }
  RECT shifted = r;
  OffsetRect(&shifted, 1, 1);
  SetTextColor(dc, ColorToRGB(clBtnHighlight));
  DrawText(dc, text.c_str(), -1, &shifted, flags);
  SetTextColor(dc, ColorToRGB(clBtnShadow));
  DrawText(dc, text.c_str(), -1, &r, flags);
}

// The size of a one-line caption in the font selected in dc.
SIZE CaptionExtent(HDC dc, const std::string& text) {
  RECT r{0, 0, 0, 0};
  DrawText(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

int FontLineHeight(TFont* font) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) throw EOutOfResources("Out of system resources: no device context to measure a font");
  HGDIOBJ old = SelectObject(dc, font->Handle());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return tm.tmHeight;
}

// The 50% checkerboard of face and highlight that a button stuck down shows.
void FillDither(HDC dc, const RECT& r) {
  const COLORREF face = ColorToRGB(clBtnFace);
  const COLORREF light = ColorToRGB(clBtnHighlight);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) SetPixelV(dc, x, y, ((x + y) & 1) ? face : light);
  }
}

}  // namespace

bool EnabledWithParents(const TControl* control) {
  for (const TControl* c = control; c; c = c->Parent()) {
    if (!c->Enabled()) return false;
  }
  return true;
}

// ---- TSpeedButton -------------------------------------------------------------------------

HOST_PUBLISHED(TSpeedButton, TGraphicControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(AllowAllUp, false);
  HOST_PROP(GroupIndex, 0);
  HOST_PROP(Down, false);
  HOST_PROP(Caption);
  HOST_PROP(Enabled, true);
  HOST_PROP(Flat, false);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(Glyph);
  HOST_PROP(Layout, blGlyphLeft);
  HOST_PROP(Margin, -1).Range(-1, std::numeric_limits<int32_t>::max());
  HOST_PROP(NumGlyphs, 1).Range(1, 4);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Spacing, 4).Range(-1, std::numeric_limits<int32_t>::max());
  HOST_PROP(Visible, true);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TButtonGlyph>()) {
  // Clicks come from our own MouseUp, after Down has changed.
  control_style_ = {csCaptureMouse, csDoubleClicks, csSetCaption};
  width_ = 23;
  height_ = 22;
  glyph_->OnChange = [this] { Invalidate(); };
}

TSpeedButton::~TSpeedButton() { glyph_->OnChange = nullptr; }

TBitmap* TSpeedButton::Glyph() const { return glyph_->Bitmap(); }

void TSpeedButton::SetGlyph(TBitmap* glyph) { glyph_->SetBitmap(glyph); }

int32_t TSpeedButton::NumGlyphs() const { return glyph_->NumGlyphs(); }

void TSpeedButton::SetNumGlyphs(int32_t value) {
  if (value < 1 || value > 4) {
    throw EInvalidOperation(Format("%s.NumGlyphs must be 1 to 4, not %d", {Name(), value}));
  }
  glyph_->SetNumGlyphs(value);
}

void TSpeedButton::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TSpeedButton::SetMargin(int32_t value) {
  value = std::max(value, -1);
  if (value == margin_) return;
  margin_ = value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int32_t value) {
  value = std::max(value, -1);
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

std::vector<TSpeedButton*> TSpeedButton::GroupMembers() const {
  std::vector<TSpeedButton*> list;
  if (!parent_ || group_index_ == 0) return list;
  for (int i = 0; i < parent_->ControlCount(); ++i) {
    auto* b = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
    if (b && b != this && b->group_index_ == group_index_) list.push_back(b);
  }
  return list;
}

void TSpeedButton::SetGroupIndex(int32_t value) {
  if (value == group_index_) return;
  group_index_ = value;
  GroupChanged();
}

// A button joining a group takes the group's AllowAllUp and stays the only one down.
void TSpeedButton::GroupChanged() {
  if (group_index_ == 0) {
    if (down_) {
      down_ = false;
      Invalidate();
    }
    return;
  }
  for (TSpeedButton* b : GroupMembers()) {
    if (down_ && b->down_) {
      b->down_ = false;
      b->Invalidate();
    }
  }
}

void TSpeedButton::SetDown(bool value) {
  if (group_index_ == 0 && !IsLoading()) value = false;
  if (value == down_) return;
  if (down_ && !allow_all_up_ && !IsLoading()) return;  // one of the group stays down
  down_ = value;
  if (value) {
    for (TSpeedButton* b : GroupMembers()) {
      if (b->down_) {
        b->down_ = false;
        b->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  allow_all_up_ = value;
  for (TSpeedButton* b : GroupMembers()) b->allow_all_up_ = value;
}

void TSpeedButton::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  Invalidate();
}

TButtonState TSpeedButton::State() const {
  if (!EnabledWithParents(this)) return bsDisabled;
  if (pressed_) return bsDown;
  if (down_) return bsExclusive;
  return bsUp;
}

void TSpeedButton::SetPressed(bool value) {
  if (value == pressed_) return;
  pressed_ = value;
  Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && EnabledWithParents(this)) {
    tracking_ = true;
    SetPressed(true);
  }
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  if (tracking_) SetPressed(x >= 0 && y >= 0 && x < width_ && y < height_);
  TGraphicControl::MouseMove(shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && tracking_) {
    tracking_ = false;
    const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
    SetPressed(false);
    if (inside) {
      if (group_index_ != 0) SetDown(!down_);
      Click();
    }
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      mouse_in_ = true;
      if (flat_) Invalidate();
      return;
    case CM_MOUSELEAVE:
      mouse_in_ = false;
      if (flat_) Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      if (!enabled_) {
        tracking_ = false;
        pressed_ = false;
      }
      Invalidate();
      return;
    default: TGraphicControl::Dispatch(m);
  }
}

void TSpeedButton::Paint() {
  HDC dc = Canvas()->Handle();
  SelectedFont font(dc, Font());
  RECT r = ClientRect();
  const bool enabled = EnabledWithParents(this);
  const bool pushed = pressed_ && enabled;
  const bool stuck = down_ && !pushed;
  if (!flat_) {
    UINT state = DFCS_BUTTONPUSH;
    if (pushed) state |= DFCS_PUSHED;
    if (stuck) state |= DFCS_CHECKED;
    DrawFrameControl(dc, &r, DFC_BUTTON, state);
  } else if (pushed || stuck) {
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    if (stuck && !mouse_in_) {
      RECT inner = r;
      InflateRect(&inner, -1, -1);
      FillDither(dc, inner);
    }
  } else if (mouse_in_ && enabled) {
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  }
  POINT glyph_at{};
  RECT text{};
  glyph_->Place(dc, ClientRect(), Caption(), layout_, margin_, spacing_, glyph_at, text);
  const int shift = pushed || stuck ? 1 : 0;
  glyph_->Draw(dc, glyph_at.x + shift, glyph_at.y + shift, State());
  if (!Caption().empty()) {
    OffsetRect(&text, shift, shift);
    DrawCaptionText(dc, Caption(), text, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Font()->Color(), enabled);
  }
}

// ---- TCheckableControl ----------------------------------------------------------------------

HOST_DEFINE_CLASS(TCheckableControl, TCustomControl)

TCheckableControl::TCheckableControl(TComponent* owner) : TCustomControl(owner) {
  // Clicks come from Toggle; a quick second click is a click, not a double click.
  control_style_ = {csCaptureMouse, csSetCaption};
  SetTabStop(true);
}

void TCheckableControl::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

RECT TCheckableControl::BoxRect() const {
  const RECT client = ClientRect();
  const int top = (client.bottom - kBoxSize) / 2;
  const int left = alignment_ == taLeftJustify ? client.right - kBoxSize : 0;
  return {left, top, left + kBoxSize, top + kBoxSize};
}

void TCheckableControl::SetPressed(bool value) {
  if (value == pressed_) return;
  pressed_ = value;
  Invalidate();
}

void TCheckableControl::CancelPress() {
  tracking_ = false;
  space_down_ = false;
  SetPressed(false);
}

void TCheckableControl::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (!EnabledWithParents(this)) params.Style |= WS_DISABLED;
}

void TCheckableControl::SetEnabled(bool enabled) {
  TCustomControl::SetEnabled(enabled);
  // A disabled group box keeps the window disabled whatever our own state.
  if (handle_ && !EnabledWithParents(this)) EnableWindow(handle_, FALSE);
}

void TCheckableControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && EnabledWithParents(this)) {
    if (CanFocus() && !Focused()) SetFocus();
    tracking_ = true;
    SetPressed(true);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCheckableControl::MouseMove(TShiftState shift, int x, int y) {
  if (tracking_) {
    const RECT r = ClientRect();
    SetPressed(PtInRect(&r, POINT{x, y}) != 0);
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCheckableControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && tracking_) {
    tracking_ = false;
    const bool was_pressed = pressed_;
    SetPressed(false);
    if (was_pressed) Toggle();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

bool TCheckableControl::DoKeyDown(WORD& key, TShiftState shift) {
  if (TCustomControl::DoKeyDown(key, shift)) return true;
  if (key == VK_SPACE && !tracking_) {
    space_down_ = true;
    SetPressed(true);
    return true;
  }
  return false;
}

bool TCheckableControl::DoKeyUp(WORD& key, TShiftState shift) {
  if (TCustomControl::DoKeyUp(key, shift)) return true;
  if (key == VK_SPACE && space_down_) {
    space_down_ = false;
    SetPressed(false);
    Toggle();
    return true;
  }
  return false;
}

bool TCheckableControl::DoKeyPress(char& key) {
  if (TCustomControl::DoKeyPress(key)) return true;
  return key == ' ';  // Space works on key up; the character is no accelerator
}

void TCheckableControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
      TCustomControl::Dispatch(m);
      CancelPress();
      Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      if (!enabled_) CancelPress();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        Toggle();
        m.Result = 1;
        return;
      }
      TCustomControl::Dispatch(m);
      return;
    default: TCustomControl::Dispatch(m);
  }
}

void TCheckableControl::Paint() {
  HDC dc = Canvas()->Handle();
  SelectedFont font(dc, Font());
  const RECT client = ClientRect();
  const bool enabled = EnabledWithParents(this);
  RECT box = BoxRect();
  UINT state = BoxState();
  if (pressed_) state |= DFCS_PUSHED;
  if (!enabled) state |= DFCS_INACTIVE;
  DrawFrameControl(dc, &box, DFC_BUTTON, state);

  const std::string caption = Caption();
  if (caption.empty()) return;
  const SIZE extent = CaptionExtent(dc, caption);
  RECT text;
  if (alignment_ == taLeftJustify) {
    text = {0, 0, client.right - kBoxSize - kTextGap, 0};
  } else {
    text = {kBoxSize + kTextGap, 0, client.right, 0};
  }
  text.top = (client.bottom - extent.cy) / 2;
  text.bottom = text.top + extent.cy;
  DrawCaptionText(dc, caption, text, DT_SINGLELINE | DT_LEFT | DT_TOP, Font()->Color(), enabled);
  if (Focused()) {
    RECT focus{text.left - 1, text.top - 1, std::min(text.left + extent.cx, text.right) + 1, text.bottom + 1};
    IntersectRect(&focus, &focus, &client);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
  }
}

// ---- TCheckBox ------------------------------------------------------------------------------

HOST_PUBLISHED(TCheckBox, TCheckableControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Alignment, taRightJustify);
  HOST_PROP(AllowGrayed, false);
  HOST_PROP(Caption);
  c.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false).Never();
  c.ColorProperty("Color", &TCheckBox::Color, &TCheckBox::SetColor)
      .Stored([](const TObject* o) { return !static_cast<const TCheckBox*>(o)->ParentColor(); });
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(ParentColor, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_PROP(ShowHint, false);
  HOST_PROP(State, cbUnchecked);
  HOST_PROP(TabStop, true);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnKeyDown);
  HOST_EVENT(OnKeyPress);
  HOST_EVENT(OnKeyUp);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

TCheckBox::TCheckBox(TComponent* owner) : TCheckableControl(owner) {
  width_ = 97;
  height_ = 17;
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == state_) return;
  state_ = value;
  Invalidate();
  if (!IsLoading()) Click();
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allow_grayed_ ? cbGrayed : cbChecked); break;
    case cbGrayed: SetState(cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
  }
}

UINT TCheckBox::BoxState() const {
  switch (state_) {
    case cbChecked: return DFCS_BUTTONCHECK | DFCS_CHECKED;
    case cbGrayed: return DFCS_BUTTON3STATE | DFCS_CHECKED;
    default: return DFCS_BUTTONCHECK;
  }
}

// ---- TRadioButton ---------------------------------------------------------------------------

HOST_PUBLISHED(TRadioButton, TCheckableControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Alignment, taRightJustify);
  HOST_PROP(Caption);
  HOST_PROP(Checked, false);
  c.ColorProperty("Color", &TRadioButton::Color, &TRadioButton::SetColor)
      .Stored([](const TObject* o) { return !static_cast<const TRadioButton*>(o)->ParentColor(); });
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(ParentColor, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_PROP(ShowHint, false);
  HOST_PROP(TabStop, false);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnKeyDown);
  HOST_EVENT(OnKeyPress);
  HOST_EVENT(OnKeyUp);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

TRadioButton::TRadioButton(TComponent* owner) : TCheckableControl(owner) {
  width_ = 113;
  height_ = 17;
  SetTabStop(false);
}

std::vector<TRadioButton*> TRadioButton::Siblings() const {
  std::vector<TRadioButton*> list;
  if (!parent_) return {const_cast<TRadioButton*>(this)};
  for (int i = 0; i < parent_->ControlCount(); ++i) {
    if (auto* r = dynamic_cast<TRadioButton*>(parent_->Controls(i))) list.push_back(r);
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const TRadioButton* a, const TRadioButton* b) { return a->TabOrder() < b->TabOrder(); });
  return list;
}

void TRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  SetTabStop(value);
  Invalidate();
  if (!value) return;
  for (TRadioButton* other : Siblings()) {
    if (other != this) other->SetChecked(false);
  }
  if (!IsLoading()) Click();
}

void TRadioButton::Toggle() { SetChecked(true); }

UINT TRadioButton::BoxState() const { return DFCS_BUTTONRADIO | (checked_ ? DFCS_CHECKED : 0); }

bool TRadioButton::DoKeyDown(WORD& key, TShiftState shift) {
  if (TCheckableControl::DoKeyDown(key, shift)) return true;
  if (key != VK_LEFT && key != VK_RIGHT && key != VK_UP && key != VK_DOWN) return false;
  const std::vector<TRadioButton*> list = Siblings();
  const int count = static_cast<int>(list.size());
  const int here = static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
  const int step = key == VK_RIGHT || key == VK_DOWN ? 1 : count - 1;
  for (int i = (here + step) % count; i != here; i = (i + step) % count) {
    TRadioButton* next = list[static_cast<size_t>(i)];
    if (!next->CanFocus()) continue;
    next->SetFocus();
    next->SetChecked(true);
    return true;
  }
  return true;  // alone in the group: the arrow stays here
}

// ---- TGroupBox ------------------------------------------------------------------------------

HOST_PUBLISHED(TGroupBox, TCustomControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Caption);
  c.ColorProperty("Color", &TGroupBox::Color, &TGroupBox::SetColor)
      .Stored([](const TObject* o) { return !static_cast<const TGroupBox*>(o)->ParentColor(); });
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(ParentColor, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_PROP(ShowHint, false);
  HOST_PROP(TabStop, false);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
  control_style_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  width_ = 185;
  height_ = 105;
}

int TGroupBox::CaptionHeight() const { return FontLineHeight(Font()); }

void TGroupBox::AdjustClientRect(RECT& rect) {
  TCustomControl::AdjustClientRect(rect);
  rect.top += CaptionHeight();
  InflateRect(&rect, -2, -2);  // the etched frame is two lines thick
}

void TGroupBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (!EnabledWithParents(this)) params.Style |= WS_DISABLED;
}

void TGroupBox::CreateHandle() {
  TCustomControl::CreateHandle();
  UpdateChildWindows();
}

void TGroupBox::UpdateChildWindows() {
  std::vector<TWinControl*> stack{this};
  while (!stack.empty()) {
    TWinControl* parent = stack.back();
    stack.pop_back();
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* child = parent->Controls(i);
      if (auto* win = dynamic_cast<TWinControl*>(child)) {
        if (win->HandleAllocated()) EnableWindow(win->Handle(), EnabledWithParents(win) ? TRUE : FALSE);
        stack.push_back(win);
      }
      child->Invalidate();
    }
  }
}

void TGroupBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      if (handle_ && !EnabledWithParents(this)) EnableWindow(handle_, FALSE);
      UpdateChildWindows();
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      Realign();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        // The box itself takes no focus: its first child does.
        if (TWinControl* first = FindNextControl(nullptr, true, true, false)) {
          first->SetFocus();
          m.Result = 1;
          return;
        }
      }
      TCustomControl::Dispatch(m);
      return;
    default: TCustomControl::Dispatch(m);
  }
}

void TGroupBox::Paint() {
  HDC dc = Canvas()->Handle();
  SelectedFont font(dc, Font());
  const int line = CaptionHeight();
  // The line runs through the middle of the caption.
  RECT frame{0, line / 2 - 1, width_, height_};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::string caption = Caption();
  if (caption.empty()) return;
  const SIZE extent = CaptionExtent(dc, caption);
  RECT text{kCaptionLeft, 0, std::min<int>(kCaptionLeft + extent.cx, width_), extent.cy};
  HBRUSH back = CreateSolidBrush(ColorToRGB(Color()));
  FillRect(dc, &text, back);
  DeleteObject(back);
  DrawCaptionText(dc, caption, text, DT_SINGLELINE | DT_LEFT | DT_TOP, Font()->Color(), EnabledWithParents(this));
}

// ---- TRadioGroup ----------------------------------------------------------------------------

HOST_PUBLISHED(TRadioGroup, TGroupBox) {
  HOST_PROP(Columns, 1).Range(1, 16);
  HOST_PROP(Items);
  HOST_PROP(ItemIndex, -1);
}

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TRadioGroup::~TRadioGroup() {
  items_->OnChange = nullptr;
  buttons_.clear();  // the buttons are children: the base class frees them
}

TStrings* TRadioGroup::Items() const { return items_.get(); }

void TRadioGroup::SetItems(TStrings* items) { items_->Assign(items); }

TRadioButton* TRadioGroup::Buttons(int32_t index) const {
  if (index < 0 || index >= ButtonCount()) {
    throw EListError(Format("%s: button index out of bounds (%d)", {Name(), index}));
  }
  return buttons_[static_cast<size_t>(index)];
}

void TRadioGroup::SetColumns(int32_t value) {
  if (value < 1 || value > 16) throw EInvalidOperation(Format("%s.Columns must be 1 to 16, not %d", {Name(), value}));
  if (value == columns_) return;
  columns_ = value;
  ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int32_t value) {
  if (IsLoading()) {
    item_index_ = value;  // the items may come later; Loaded applies it
    return;
  }
  value = std::clamp(value, -1, ButtonCount() - 1);
  if (value == item_index_) return;
  if (value < 0) {
    updating_ = true;
    buttons_[static_cast<size_t>(item_index_)]->SetChecked(false);
    updating_ = false;
    item_index_ = -1;
    UpdateTabStops();
    return;
  }
  buttons_[static_cast<size_t>(value)]->SetChecked(true);  // ButtonClicked takes it from here
}

void TRadioGroup::ItemsChanged() {
  if (IsLoading()) return;
  UpdateButtons();
}

void TRadioGroup::UpdateButtons() {
  updating_ = true;
  try {
    while (ButtonCount() > items_->Count()) {
      TRadioButton* last = buttons_.back();
      buttons_.pop_back();
      last->Free();
    }
    while (ButtonCount() < items_->Count()) {
      auto* b = new TRadioButton(this);
      b->OnClick = [this, b](TObject*) { ButtonClicked(b); };
      b->SetParent(this);
      buttons_.push_back(b);
    }
    for (int i = 0; i < ButtonCount(); ++i) {
      TRadioButton* b = buttons_[static_cast<size_t>(i)];
      b->SetCaption(items_->Strings(i));
      b->SetChecked(i == item_index_);
    }
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
  if (item_index_ >= ButtonCount()) item_index_ = -1;
  ArrangeButtons();
  UpdateTabStops();
}

void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const int count = ButtonCount();
  const int rows = (count + columns_ - 1) / columns_;
  const int line = CaptionHeight();
  const int column_width = std::max(0, (width_ - 10) / columns_);
  // The room under the caption, shared by the rows; what does not divide goes half above.
  const int room = std::max(0, height_ - line - 5);
  const int row_height = room / rows;
  const int top = line + 1 + (room % rows) / 2;
  for (int i = 0; i < count; ++i) {
    const int column = i / rows;
    const int row = i % rows;
    buttons_[static_cast<size_t>(i)]->SetBounds(8 + column * column_width, top + row * row_height, column_width,
                                                row_height);
  }
}

void TRadioGroup::UpdateTabStops() {
  for (int i = 0; i < ButtonCount(); ++i) {
    // With nothing selected the first button is where Tab comes in.
    buttons_[static_cast<size_t>(i)]->SetTabStop(i == item_index_ || (item_index_ < 0 && i == 0));
  }
}

void TRadioGroup::ButtonClicked(TRadioButton* button) {
  if (updating_ || !button->Checked()) return;
  const auto it = std::find(buttons_.begin(), buttons_.end(), button);
  if (it == buttons_.end()) return;
  item_index_ = static_cast<int32_t>(it - buttons_.begin());
  UpdateTabStops();
  Click();
}

void TRadioGroup::Loaded() {
  TGroupBox::Loaded();
  const int32_t wanted = item_index_;
  item_index_ = -1;
  UpdateButtons();
  updating_ = true;
  if (wanted >= 0 && wanted < ButtonCount()) {
    buttons_[static_cast<size_t>(wanted)]->SetChecked(true);
    item_index_ = wanted;
  }
  updating_ = false;
  UpdateTabStops();
}

void TRadioGroup::Notification(TComponent* component, TOperation operation) {
  TGroupBox::Notification(component, operation);
  if (operation == opRemove) {
    auto it = std::find(buttons_.begin(), buttons_.end(), component);
    if (it != buttons_.end()) buttons_.erase(it);
  }
}

void TRadioGroup::Resize() {
  ArrangeButtons();
  TGroupBox::Resize();
}

void TRadioGroup::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_FONTCHANGED:
      TGroupBox::Dispatch(m);
      ArrangeButtons();
      return;
    default: TGroupBox::Dispatch(m);
  }
}

// ---- Registration ---------------------------------------------------------------------------

void RegisterButtons() {
  RegisterClasses({TSpeedButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                   TGroupBox::StaticClass(), TRadioGroup::StaticClass()});
}

}  // namespace host
