// Message dialogs and the application's message box: a dialog form with an icon drawn here,
// the wrapped text and a centred row of buttons.
#include <algorithm>
#include <vector>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "host/graphics/pen.h"
#include "host/stdctrls/stdctrls.h"
#include "platform/win32/text.h"

namespace host {

namespace {

enum class IconKind : uint8_t { kNone, kError, kWarning, kInformation, kQuestion };

// Layout of the dialog, in pixels at 96 dots per inch.
constexpr int kMarginX = 12;
constexpr int kMarginY = 13;
constexpr int kIconSize = 32;
constexpr int kIconTextGap = 15;
constexpr int kTextButtonGap = 16;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

// The four message icons, drawn with plain shapes so no image file is needed.
class TMessageIcon : public TGraphicControl {
  HOST_CLASS(TMessageIcon)
  explicit TMessageIcon(TComponent* owner) : TGraphicControl(owner) {
    width_ = kIconSize;
    height_ = kIconSize;
  }
  IconKind kind = IconKind::kNone;

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetStyle(bsSolid);
    switch (kind) {
      case IconKind::kError: PaintError(c); break;
      case IconKind::kWarning: PaintWarning(c); break;
      case IconKind::kInformation:
        PaintBubble(c);
        // The dot and the stem of an "i".
        c->Pen()->SetColor(clBlue);
        c->Brush()->SetColor(clBlue);
        c->Ellipse(14, 4, 19, 9);
        c->Rectangle(14, 11, 19, 21);
        c->Rectangle(12, 11, 14, 13);
        c->Rectangle(12, 19, 21, 21);
        break;
      case IconKind::kQuestion:
        PaintBubble(c);
        PaintQuestionMark(c);
        break;
      case IconKind::kNone: break;
    }
  }

 private:
  static void PaintError(TCanvas* c) {
    c->Pen()->SetColor(RGB(128, 0, 0));
    c->Brush()->SetColor(clRed);
    c->Ellipse(1, 1, 31, 31);
    // Two white bars crossing in the middle.
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetColor(clWhite);
    c->Polygon({POINT{9, 11}, POINT{11, 9}, POINT{22, 20}, POINT{20, 22}});
    c->Polygon({POINT{20, 9}, POINT{22, 11}, POINT{11, 22}, POINT{9, 20}});
  }
  static void PaintWarning(TCanvas* c) {
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clYellow);
    c->Polygon({POINT{15, 1}, POINT{16, 1}, POINT{30, 28}, POINT{30, 29}, POINT{1, 29}, POINT{1, 28}});
    c->Brush()->SetColor(clBlack);
    c->Polygon({POINT{14, 9}, POINT{17, 9}, POINT{16, 20}, POINT{15, 20}});
    c->Rectangle(14, 23, 18, 27);
  }
  static void PaintBubble(TCanvas* c) {
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clWhite);
    // The tail first, so the round part covers its upper edge.
    c->Polygon({POINT{7, 19}, POINT{5, 30}, POINT{15, 22}});
    c->Ellipse(1, 0, 31, 25);
    c->Pen()->SetColor(clWhite);
    c->Polygon({POINT{8, 19}, POINT{7, 27}, POINT{14, 21}});
  }
  static void PaintQuestionMark(TCanvas* c) {
    c->Pen()->SetColor(clBlue);
    c->Brush()->SetColor(clBlue);
    // The hook: an arc drawn as a thick ring segment, then the stem and the dot.
    c->Pen()->SetWidth(3);
    c->Arc(10, 3, 22, 13, 10, 9, 22, 9);
    c->Arc(10, 3, 22, 13, 22, 7, 16, 14);
    c->Pen()->SetWidth(1);
    c->Rectangle(15, 13, 18, 17);
    c->Ellipse(14, 18, 19, 23);
  }
};
HOST_DEFINE_CLASS(TMessageIcon, TGraphicControl)

// The dialog form: it focuses its default button when shown and turns the window's close
// box into the answer Esc gives (or keeps the dialog open when there is none).
class TMessageForm : public TForm {
  HOST_CLASS(TMessageForm)
  explicit TMessageForm(TComponent* owner) : TForm(owner) {}
  TButton* default_button = nullptr;
  TButton* cancel_button = nullptr;

 protected:
  void DoShow() override {
    if (default_button && default_button->CanFocus()) SetActiveControl(default_button);
    TForm::DoShow();
  }
  void Notification(TComponent* component, TOperation operation) override {
    TForm::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == default_button) default_button = nullptr;
    if (component == cancel_button) cancel_button = nullptr;
  }
};
HOST_DEFINE_CLASS(TMessageForm, TForm)

struct ButtonKind {
  TMsgDlgBtn button;
  const char* name;
  const char* caption;
  TModalResult result;
};

constexpr ButtonKind kButtons[] = {
    {mbYes, "Yes", "&Yes", mrYes},          {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},               {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},  {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore}, {mbAll, "All", "&All", mrAll},
    {mbHelp, "Help", "&Help", mrNone},
};

const ButtonKind& KindOf(TMsgDlgBtn b) {
  for (const ButtonKind& k : kButtons) {
    if (k.button == b) return k;
  }
  throw EInvalidOperation(Format("Unknown message dialog button %d", {static_cast<int>(b)}));
}

SIZE MeasureText(TFont* font, const std::string& text, int max_width) {
  HDC dc = GetDC(nullptr);
  if (!dc) throw EOutOfResources("Out of system resources: no device context");
  HGDIOBJ old = SelectObject(dc, font->Handle());
  RECT r{0, 0, max_width, 0};
  DrawText(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {r.right - r.left, r.bottom - r.top};
}

// Builds the dialog; buttons in the order given, the one at default_index (or the first)
// is the default, and Esc answers Cancel, else No, else OK when OK stands alone.
TMessageForm* BuildDialog(const std::string& msg, const std::string& caption, IconKind icon,
                          const std::vector<TMsgDlgBtn>& buttons, size_t default_index, int help_context) {
  if (buttons.empty()) throw EInvalidOperation("A message dialog needs at least one button");
  auto* form = New<TMessageForm>(Application());
  try {
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetCaption(caption);
    form->SetName("MessageDialog");

    const int screen_w = Screen()->Width();
    const int icon_w = icon == IconKind::kNone ? 0 : kIconSize + kIconTextGap;
    const int max_text = std::max(screen_w * 2 / 3 - 2 * kMarginX - icon_w, 100);
    const SIZE text = MeasureText(form->Font(), msg, max_text);
    const int row_w = static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const int client_w = std::max(icon_w + static_cast<int>(text.cx), row_w) + 2 * kMarginX;
    const int icon_h = icon == IconKind::kNone ? 0 : kIconSize;
    const int body_h = std::max(icon_h, static_cast<int>(text.cy));

    if (icon != IconKind::kNone) {
      auto* image = new TMessageIcon(form);
      image->SetName("Image");
      image->kind = icon;
      image->SetBounds(kMarginX, kMarginY, kIconSize, kIconSize);
      image->SetParent(form);
    }
    auto* label = new TLabel(form);
    label->SetName("Message");
    label->SetShowAccelChar(false);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetBounds(kMarginX + icon_w, kMarginY + (body_h - text.cy) / 2, text.cx, text.cy);
    label->SetCaption(msg);
    label->SetParent(form);

    const int buttons_top = kMarginY + body_h + kTextButtonGap;
    int x = (client_w - row_w) / 2;
    const size_t def = default_index < buttons.size() ? default_index : 0;
    TButton* escape = nullptr;
    TButton* no_button = nullptr;
    for (size_t i = 0; i < buttons.size(); ++i) {
      const ButtonKind& kind = KindOf(buttons[i]);
      auto* b = new TButton(form);
      b->SetName(kind.name);
      b->SetCaption(kind.caption);
      b->SetModalResult(kind.result);
      b->SetBounds(x, buttons_top, kButtonWidth, kButtonHeight);
      b->SetParent(form);
      if (kind.button == mbHelp) {
        b->OnClick = [help_context](TObject*) { Application()->HelpContext(help_context); };
      }
      if (i == def) {
        b->SetDefault(true);
        form->default_button = b;
      }
      if (kind.button == mbCancel) escape = b;
      if (kind.button == mbNo) no_button = b;
      x += kButtonWidth + kButtonGap;
    }
    if (!escape) escape = no_button;
    if (!escape && buttons.size() == 1 && buttons[0] == mbOK) escape = form->default_button;
    if (escape) escape->SetCancel(true);
    form->cancel_button = escape;
    form->OnCloseQuery = [form](TObject*, bool& can_close) {
      // The close box answers what Esc answers; without such a button the dialog stays.
      if (form->ModalResult() != mrCancel) return;
      // A closing application still takes every dialog down.
      if (form->cancel_button) {
        form->SetModalResult(form->cancel_button->ModalResult());
      } else if (!Application()->Terminated()) {
        can_close = false;
      }
    };
    form->SetClientWidth(client_w);
    form->SetClientHeight(buttons_top + kButtonHeight + kMarginY);
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

IconKind IconOfType(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return IconKind::kWarning;
    case mtError: return IconKind::kError;
    case mtInformation: return IconKind::kInformation;
    case mtConfirmation: return IconKind::kQuestion;
    case mtCustom: return IconKind::kNone;
  }
  throw EInvalidOperation(Format("Unknown message dialog type %d", {static_cast<int>(type)}));
}

std::string CaptionOfType(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return Application()->Title();
  }
}

std::vector<TMsgDlgBtn> ButtonList(TMsgDlgButtons buttons) {
  std::vector<TMsgDlgBtn> list;
  for (const ButtonKind& k : kButtons) {
    if (buttons.Contains(k.button)) list.push_back(k.button);
  }
  return list;
}

TModalResult RunDialog(TCustomForm* form) {
  TModalResult result = mrNone;
  try {
    result = form->ShowModal();
  } catch (...) {
    form->Free();
    throw;
  }
  form->Free();
  return result;
}

}  // namespace

TCustomForm* CreateMessageDialog(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons) {
  return BuildDialog(msg, CaptionOfType(type), IconOfType(type), ButtonList(buttons), 0, 0);
}

TModalResult MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int help_context) {
  return RunDialog(BuildDialog(msg, CaptionOfType(type), IconOfType(type), ButtonList(buttons), 0, help_context));
}

void ShowMessage(const std::string& msg) { MessageDlg(msg, mtCustom, {mbOK}, 0); }

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  std::vector<TMsgDlgBtn> buttons;
  switch (flags & MB_TYPEMASK) {
    case MB_OK: buttons = {mbOK}; break;
    case MB_OKCANCEL: buttons = {mbOK, mbCancel}; break;
    case MB_ABORTRETRYIGNORE: buttons = {mbAbort, mbRetry, mbIgnore}; break;
    case MB_YESNOCANCEL: buttons = {mbYes, mbNo, mbCancel}; break;
    case MB_YESNO: buttons = {mbYes, mbNo}; break;
    case MB_RETRYCANCEL: buttons = {mbRetry, mbCancel}; break;
    default:
      throw EInvalidOperation(Format("MessageBox: unknown buttons in flags $%.8X", {static_cast<int>(flags)}));
  }
  IconKind icon = IconKind::kNone;
  switch (flags & MB_ICONMASK) {
    case 0: break;
    case MB_ICONHAND: icon = IconKind::kError; break;
    case MB_ICONQUESTION: icon = IconKind::kQuestion; break;
    case MB_ICONEXCLAMATION: icon = IconKind::kWarning; break;
    case MB_ICONASTERISK: icon = IconKind::kInformation; break;
    default:
      throw EInvalidOperation(Format("MessageBox: unknown icon in flags $%.8X", {static_cast<int>(flags)}));
  }
  const size_t default_index = (flags & MB_DEFMASK) >> 8;
  return RunDialog(BuildDialog(text, caption.empty() ? title_ : caption, icon, buttons, default_index, 0));
}

}  // namespace host
