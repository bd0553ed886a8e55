#include "host/stdctrls/stdctrls.h"

#include <algorithm>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "platform/win32/text.h"

namespace host {

namespace {

// A DC with a font selected, given back when it goes out of scope.
class FontDC {
 public:
  explicit FontDC(TFont* font) : dc_(GetDC(nullptr)) {
    if (!dc_) throw EOutOfResources("Out of system resources: no device context");
    old_ = SelectObject(dc_, font->Handle());
  }
  ~FontDC() {
    SelectObject(dc_, old_);
    ReleaseDC(nullptr, dc_);
  }
  FontDC(const FontDC&) = delete;
  FontDC& operator=(const FontDC&) = delete;
  HDC Handle() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

void FillColor(HDC dc, const RECT& r, TColor color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// Text in the control's font colour, or embossed (highlight one pixel down and right, then
// shadow) when the control is disabled.
void DrawControlText(HDC dc, const std::string& text, RECT r, UINT flags, TColor color, bool enabled) {
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  if (enabled) {
    const COLORREF old = SetTextColor(dc, ColorToRGB(color));
    DrawText(dc, text.c_str(), -1, &r, flags);
    SetTextColor(dc, old);
  } else {
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    const COLORREF old = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawText(dc, text.c_str(), -1, &shifted, flags);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawText(dc, text.c_str(), -1, &r, flags);
    SetTextColor(dc, old);
  }
  SetBkMode(dc, old_mode);
}

void ForEachButton(TWinControl* parent, const std::function<void(TButton*)>& proc) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (auto* button = dynamic_cast<TButton*>(c)) proc(button);
    if (auto* inner = dynamic_cast<TWinControl*>(c)) ForEachButton(inner, proc);
  }
}

}  // namespace

void Frame3D(HDC dc, RECT& rect, TColor top_color, TColor bottom_color, int width) {
  HBRUSH top = CreateSolidBrush(ColorToRGB(top_color));
  HBRUSH bottom = CreateSolidBrush(ColorToRGB(bottom_color));
  for (int i = 0; i < width && rect.right - rect.left > 0 && rect.bottom - rect.top > 0; ++i) {
    const RECT top_row{rect.left, rect.top, rect.right - 1, rect.top + 1};
    const RECT left_col{rect.left, rect.top, rect.left + 1, rect.bottom - 1};
    const RECT right_col{rect.right - 1, rect.top, rect.right, rect.bottom};
    const RECT bottom_row{rect.left, rect.bottom - 1, rect.right, rect.bottom};
    FillRect(dc, &top_row, top);
    FillRect(dc, &left_col, top);
    FillRect(dc, &right_col, bottom);
    FillRect(dc, &bottom_row, bottom);
    InflateRect(&rect, -1, -1);
  }
  DeleteObject(top);
  DeleteObject(bottom);
}

// ---- TButton ------------------------------------------------------------------------------

HOST_PUBLISHED(TButton, TWinControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Cancel, false);
  HOST_PROP(Caption);
  HOST_PROP(Default, false);
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  c.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(ShowHint, false);
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

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  control_style_ = {csSetCaption, csDoubleClicks, csCaptureMouse, csClickEvents, csOpaque};
  color_ = clBtnFace;
  parent_color_ = false;
  brush_->SetColor(color_);
  width_ = 75;
  height_ = 25;
  SetTabStop(true);
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  InvalidateFormButtons();
}

bool TButton::IsDefaultLook() const {
  TCustomForm* form = GetParentForm();
  TWinControl* focused = form ? form->FocusedControl() : nullptr;
  if (focused == this) return true;
  return default_ && dynamic_cast<TButton*>(focused) == nullptr;
}

bool TButton::CanClickNow() const { return Visible() && Enabled() && (!parent_ || Showing()); }

void TButton::InvalidateFormButtons() {
  if (TCustomForm* form = GetParentForm()) {
    ForEachButton(form, [](TButton* b) { b->Invalidate(); });
  } else {
    Invalidate();
  }
}

void TButton::Click() {
  if (modal_result_ != mrNone) {
    if (TCustomForm* form = GetParentForm()) form->SetModalResult(modal_result_);
  }
  TWinControl::Click();
}

bool TButton::DoKeyDown(WORD& key, TShiftState shift) {
  if (TWinControl::DoKeyDown(key, shift)) return true;
  if (key == VK_SPACE && shift.ToBits() == 0) {
    if (!space_down_) {
      space_down_ = true;
      Invalidate();
    }
    return true;
  }
  return false;
}

bool TButton::DoKeyUp(WORD& key, TShiftState shift) {
  if (TWinControl::DoKeyUp(key, shift)) return true;
  if (key == VK_SPACE && space_down_) {
    space_down_ = false;
    Repaint();
    Click();
    return true;
  }
  return false;
}

bool TButton::DoKeyPress(char& key) {
  if (TWinControl::DoKeyPress(key)) return true;
  return key == ' ';  // the space works on key up; it is no accelerator
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled()) {
        if (!Focused() && CanFocus()) SetFocus();
        mouse_down_ = true;
        mouse_inside_ = true;
        Invalidate();
      }
      TWinControl::Dispatch(m);
      return;
    case WM_MOUSEMOVE:
      if (mouse_down_) {
        const int x = GET_X_LPARAM(m.LParam);
        const int y = GET_Y_LPARAM(m.LParam);
        const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
        if (inside != mouse_inside_) {
          mouse_inside_ = inside;
          Invalidate();
        }
      }
      TWinControl::Dispatch(m);
      return;
    case WM_LBUTTONUP:
      // Drawn up again before the click runs (it may open a modal form).
      if (mouse_down_) {
        mouse_down_ = false;
        Repaint();
      }
      TWinControl::Dispatch(m);
      return;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (mouse_down_) {
        mouse_down_ = false;
        control_state_.Exclude(csClicked);
        Invalidate();
      }
      TWinControl::Dispatch(m);
      return;
    case WM_SETFOCUS:
      TWinControl::Dispatch(m);
      Invalidate();
      return;
    case WM_KILLFOCUS:
      space_down_ = false;
      TWinControl::Dispatch(m);
      Invalidate();
      return;
    case CM_ENTER:
    case CM_EXIT:
      InvalidateFormButtons();
      TWinControl::Dispatch(m);
      return;
    case CM_FOCUSCHANGED: Invalidate(); return;
    case CM_DIALOGKEY: {
      if (!CanClickNow()) return;
      TCustomForm* form = GetParentForm();
      TWinControl* focused = form ? form->FocusedControl() : nullptr;
      const bool enter = m.WParam == VK_RETURN &&
                         (focused == this || (default_ && dynamic_cast<TButton*>(focused) == nullptr));
      const bool escape = m.WParam == VK_ESCAPE && cancel_;
      if ((enter || escape) && KeyboardStateToShiftState().ToBits() == 0) {
        Click();
        m.Result = 1;
      }
      return;
    }
    case CM_DIALOGCHAR:
      if (CanClickNow() && IsAccel(static_cast<WORD>(m.WParam), Caption())) {
        if (CanFocus()) SetFocus();
        Click();
        m.Result = 1;
      }
      return;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
      TWinControl::Dispatch(m);
      Invalidate();
      return;
    default: TWinControl::Dispatch(m);
  }
}

void TButton::PaintWindow(HDC dc) {
  const RECT face = DrawButtonFace(dc);
  const bool pushed = IsPushed();
  RECT text = face;
  if (pushed) OffsetRect(&text, 1, 1);
  HGDIOBJ old_font = SelectObject(dc, Font()->Handle());
  DrawControlText(dc, Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Font()->Color(), Enabled());
  SelectObject(dc, old_font);
  if (Focused()) {
    RECT focus = face;
    InflateRect(&focus, -1, -1);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
  }
}

RECT TButton::DrawButtonFace(HDC dc) {
  RECT r = ClientRect();
  const bool pushed = IsPushed();
  if (IsDefaultLook()) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (pushed && IsDefaultLook()) {
    // Pushed in: a plain shadow line round a flat face.
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT face = r;
    InflateRect(&face, -1, -1);
    FillColor(dc, face, Color());
  } else {
    RECT frame = r;
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    if (Color() != clBtnFace) {
      RECT face = r;
      InflateRect(&face, -2, -2);
      FillColor(dc, face, Color());
    }
  }
  RECT face = r;
  InflateRect(&face, -2, -2);
  return face;
}

// ---- TLabel -------------------------------------------------------------------------------

HOST_PUBLISHED(TLabel, TGraphicControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Alignment, taLeftJustify);
  HOST_PROP(AutoSize, true);
  HOST_PROP(Caption);
  c.ColorProperty("Color", &TLabel::Color, &TLabel::SetColor)
      .Stored([](const TObject* o) { return !static_cast<const TLabel*>(o)->ParentColor(); });
  HOST_PROP(Enabled, true);
  HOST_PROP(FocusControl);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(Layout, tlTop);
  HOST_PROP(ParentColor, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(ShowAccelChar, true);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Transparent, false);
  HOST_PROP(Visible, true);
  HOST_PROP(WordWrap, false);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  control_style_ = {csSetCaption, csDoubleClicks, csClickEvents, csCaptureMouse, csOpaque, csReplicatable};
  width_ = 65;
  height_ = 17;
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (value == auto_size_) return;
  auto_size_ = value;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
  if (value == word_wrap_) return;
  word_wrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  if (value == Transparent()) return;
  if (value) {
    control_style_.Exclude(csOpaque);
  } else {
    control_style_.Include(csOpaque);
  }
  // The parent repaints what shows through (or is now covered).
  InvalidateControl(Visible(), Visible());
}

void TLabel::SetShowAccelChar(bool value) {
  if (value == show_accel_char_) return;
  show_accel_char_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* control) {
  if (control == focus_control_) return;
  if (focus_control_) focus_control_->RemoveFreeNotification(this);
  focus_control_ = control;
  if (control) control->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focus_control_) focus_control_ = nullptr;
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  if (word_wrap_) flags |= DT_WORDBREAK;
  if (!show_accel_char_) flags |= DT_NOPREFIX;
  return flags;
}

void TLabel::AdjustBounds() {
  if (!auto_size_ || IsLoading()) return;
  // An empty label keeps the height of one line.
  std::string text = Caption();
  if (text.empty() || (show_accel_char_ && text == "&")) text += ' ';
  FontDC dc(Font());
  RECT r{0, 0, word_wrap_ ? std::max(width_, 1) : 0, 0};
  DrawText(dc.Handle(), text.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  // The side the text is aligned to stays where it is.
  int left = left_;
  if (!word_wrap_ && alignment_ == taRightJustify) left = left_ + width_ - w;
  if (!word_wrap_ && alignment_ == taCenter) left = left_ + (width_ - w) / 2;
  SetBounds(left, top_, w, h);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::Paint() {
  HDC dc = Canvas()->Handle();
  RECT r = ClientRect();
  if (!Transparent()) FillColor(dc, r, Color());
  const UINT flags = TextFlags();
  if (layout_ != tlTop) {
    RECT calc = r;
    std::string text = Caption().empty() ? std::string(" ") : Caption();
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    DrawText(dc, text.c_str(), -1, &calc, flags | DT_CALCRECT);
    SelectObject(dc, old);
    const int h = calc.bottom - calc.top;
    r.top += layout_ == tlBottom ? (r.bottom - r.top) - h : ((r.bottom - r.top) - h) / 2;
  }
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawControlText(dc, Caption(), r, flags, Font()->Color(), Enabled());
  SelectObject(dc, old);
}

void TLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (focus_control_ && Enabled() && show_accel_char_ && IsAccel(static_cast<WORD>(m.WParam), Caption()) &&
          focus_control_->CanFocus()) {
        focus_control_->SetFocus();
        m.Result = 1;
      }
      return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      return;
    default: TGraphicControl::Dispatch(m);
  }
}

// ---- TPanel -------------------------------------------------------------------------------

HOST_PUBLISHED(TPanel, TCustomControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Alignment, taCenter);
  HOST_PROP(BevelInner, bvNone);
  HOST_PROP(BevelOuter, bvRaised);
  HOST_PROP(BevelWidth, 1).Range(1, 1000);
  HOST_PROP(BorderWidth, 0).Range(0, 1000);
  HOST_PROP(BorderStyle, bsNone);
  HOST_PROP(Caption);
  c.ColorProperty("Color", &TPanel::Color, &TPanel::SetColor, clBtnFace)
      .Stored([](const TObject* o) { return !static_cast<const TPanel*>(o)->ParentColor(); });
  HOST_PROP(Ctl3D, true);
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(ParentColor, false);
  HOST_PROP(ParentCtl3D, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
  HOST_EVENT(OnResize);
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  control_style_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                    csReplicatable};
  color_ = clBtnFace;
  parent_color_ = false;
  brush_->SetColor(color_);
  width_ = 185;
  height_ = 41;
}

void TPanel::Loaded() {
  TCustomControl::Loaded();
  Realign();
}

void TPanel::SetBevelInner(TPanelBevel value) {
  if (value == bevel_inner_) return;
  bevel_inner_ = value;
  Realign();
  Invalidate();
}

void TPanel::SetBevelOuter(TPanelBevel value) {
  if (value == bevel_outer_) return;
  bevel_outer_ = value;
  Realign();
  Invalidate();
}

void TPanel::SetBevelWidth(TBevelWidth value) {
  if (value < 1) throw EInvalidOperation(Format("%s: BevelWidth must be at least 1, not %d", {Name(), value}));
  if (value == bevel_width_) return;
  bevel_width_ = value;
  Realign();
  Invalidate();
}

void TPanel::SetBorderWidth(int32_t value) {
  if (value < 0) throw EInvalidOperation(Format("%s: BorderWidth cannot be negative (%d)", {Name(), value}));
  if (value == border_width_) return;
  border_width_ = value;
  Realign();
  Invalidate();
}

void TPanel::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone && value != bsSingle) {
    throw EInvalidOperation(Format("%s: a panel's BorderStyle is bsNone or bsSingle", {Name()}));
  }
  if (value == border_style_) return;
  border_style_ = value;
  RecreateWnd();
  Realign();
  Invalidate();
}

void TPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
  if (border_style_ == bsSingle) {
    if (Ctl3D()) {
      p.ExStyle |= WS_EX_CLIENTEDGE;
    } else {
      p.Style |= WS_BORDER;
    }
  }
}

RECT TPanel::ClientRect() const {
  if (HandleAllocated() || border_style_ == bsNone) return TCustomControl::ClientRect();
  // Before the window exists its frame is known from the style.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, Ctl3D() ? 0 : WS_BORDER, FALSE, Ctl3D() ? WS_EX_CLIENTEDGE : 0);
  return {0, 0, std::max(0, width_ - (frame.right - frame.left)), std::max(0, height_ - (frame.bottom - frame.top))};
}

void TPanel::AdjustClientRect(RECT& rect) {
  TCustomControl::AdjustClientRect(rect);
  int inset = border_width_;
  if (bevel_outer_ != bvNone) inset += bevel_width_;
  if (bevel_inner_ != bvNone) inset += bevel_width_;
  InflateRect(&rect, -inset, -inset);
}

void TPanel::Paint() {
  HDC dc = Canvas()->Handle();
  RECT r = ClientRect();
  auto bevel = [&](TPanelBevel kind) {
    if (kind == bvNone) return;
    const bool raised = kind == bvRaised;
    Frame3D(dc, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, bevel_width_);
  };
  bevel(bevel_outer_);
  Frame3D(dc, r, Color(), Color(), border_width_);
  bevel(bevel_inner_);
  FillColor(dc, r, Color());
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawControlText(dc, Caption(), r, flags, Font()->Color(), Enabled());
  SelectObject(dc, old);
}

void TPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_CTL3DCHANGED:
      TCustomControl::Dispatch(m);
      if (border_style_ == bsSingle) {
        RecreateWnd();
        Realign();
      }
      return;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    default: TCustomControl::Dispatch(m);
  }
}

void RegisterStdControls() {
  RegisterClasses({TButton::StaticClass(), TLabel::StaticClass(), TPanel::StaticClass()});
}

}  // namespace host
