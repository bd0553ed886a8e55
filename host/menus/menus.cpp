#include "host/menus/menus.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/forms/forms.h"
#include "platform/win32/draw.h"
#include "platform/win32/gdi.h"
#include "platform/win32/text.h"

namespace host {

// ---- Short cuts ---------------------------------------------------------------------------

namespace {

struct KeyName {
  WORD key;
  const char* name;
};

constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},   {VK_ESCAPE, "Esc"},  {VK_RETURN, "Enter"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},     {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"}, {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

std::string KeyText(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key < VK_F1 + 12) return "F" + std::to_string(key - VK_F1 + 1);
  for (const KeyName& k : kKeyNames) {
    if (k.key == key) return k.name;
  }
  return "";
}

bool SameNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return i == a.size() && !b[i];
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
  if (key & 0xFF00) return 0;
  TShortCut sc = key;
  if (shift.Contains(ssShift)) sc |= scShift;
  if (shift.Contains(ssCtrl)) sc |= scCtrl;
  if (shift.Contains(ssAlt)) sc |= scAlt;
  return sc;
}

void ShortCutToKey(TShortCut shortcut, WORD& key, TShiftState& shift) {
  key = shortcut & 0xFF;
  shift = {};
  if (shortcut & scShift) shift.Include(ssShift);
  if (shortcut & scCtrl) shift.Include(ssCtrl);
  if (shortcut & scAlt) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortcut) {
  const std::string key = KeyText(shortcut & 0xFF);
  if (key.empty()) return "";
  std::string text;
  if (shortcut & scShift) text += "Shift+";
  if (shortcut & scCtrl) text += "Ctrl+";
  if (shortcut & scAlt) text += "Alt+";
  return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
  TShortCut mods = 0;
  std::string rest = Trim(text);
  // Modifiers end at a '+' that is not the last character ("Ctrl++" is not a key we name).
  for (;;) {
    const size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 >= rest.size()) break;
    const std::string mod = Trim(rest.substr(0, plus));
    if (SameNoCase(mod, "Shift")) {
      mods |= scShift;
    } else if (SameNoCase(mod, "Ctrl")) {
      mods |= scCtrl;
    } else if (SameNoCase(mod, "Alt")) {
      mods |= scAlt;
    } else {
      return 0;
    }
    rest = Trim(rest.substr(plus + 1));
  }
  if (rest.empty()) return 0;
  for (WORD key = 1; key < 256; ++key) {
    const std::string name = KeyText(key);
    if (!name.empty() && SameNoCase(rest, name.c_str())) return static_cast<TShortCut>(key | mods);
  }
  return 0;
}

// ---- The menu loop ------------------------------------------------------------------------

namespace {

constexpr int kBorder = 3;         // raised edge plus one row of menu colour
constexpr int kBarPadding = 6;     // each side of a bar item's text
constexpr int kShortCutGap = 16;   // between the longest caption and the short cuts
constexpr UINT kShowDelay = 400;   // hovering this long opens a sub-menu
constexpr UINT_PTR kHoverTimer = 1;

int CheckSize() { return GetSystemMetrics(SM_CXMENUCHECK); }
int CheckColumn() { return CheckSize() + 6; }
int ArrowColumn() { return CheckSize() + 2; }
int SeparatorHeight() { return GetSystemMetrics(SM_CYMENU) / 2; }

// The menu font, normal and bold (for default items); made once.
HFONT MenuFont(bool bold) {
  static HFONT fonts[2] = {nullptr, nullptr};
  HFONT& f = fonts[bold ? 1 : 0];
  if (!f) {
    NONCLIENTMETRICS ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    LOGFONT lf = ncm.lfMenuFont;
    if (bold) lf.lfWeight = FW_BOLD;
    f = CreateFontIndirect(&lf);
  }
  return f;
}

SIZE TextSize(HDC dc, const std::string& text, bool bold, UINT prefix = 0) {
  HGDIOBJ old = SelectObject(dc, MenuFont(bold));
  RECT r{0, 0, 0, 0};
  DrawText(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | prefix);
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  return SIZE{r.right - r.left, std::max<LONG>(r.bottom - r.top, tm.tmHeight)};
}

// Text in the menu font; disabled text is embossed (white under grey) unless it sits on the
// selection, where grey alone reads better.
void MenuText(HDC dc, const std::string& text, RECT r, UINT format, bool bold, bool enabled, bool selected) {
  HGDIOBJ old = SelectObject(dc, MenuFont(bold));
  SetBkMode(dc, TRANSPARENT);
  if (enabled) {
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawText(dc, text.c_str(), -1, &r, format);
  } else {
    if (!selected) {
      RECT shadow = r;
      OffsetRect(&shadow, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawText(dc, text.c_str(), -1, &shadow, format);
    }
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawText(dc, text.c_str(), -1, &r, format);
  }
  SelectObject(dc, old);
}

// Menu marks come from the platform as black-on-white masks; the black pixels are set in the
// colour the item needs.
void MarkIn(HDC dc, const RECT& r, UINT state, COLORREF color) {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old = SelectObject(mem, bitmap);
  RECT mr{0, 0, w, h};
  DrawFrameControl(mem, &mr, DFC_MENU, state);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (GetPixel(mem, x, y) == RGB(0, 0, 0)) SetPixelV(dc, r.left + x, r.top + y, color);
    }
  }
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
}

void Mark(HDC dc, const RECT& r, UINT state, bool enabled, bool selected) {
  if (enabled) {
    MarkIn(dc, r, state, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    return;
  }
  if (!selected) {
    RECT shadow = r;
    OffsetRect(&shadow, 1, 1);
    MarkIn(dc, shadow, state, GetSysColor(COLOR_BTNHIGHLIGHT));
  }
  MarkIn(dc, r, state, GetSysColor(COLOR_BTNSHADOW));
}

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool Selectable(const TMenuItem* item) { return item->Visible() && !item->IsLine(); }

bool HasSubMenu(const TMenuItem* item) {
  for (int i = 0; i < item->Count(); ++i) {
    if (item->Items(i)->Visible()) return true;
  }
  return false;
}

// The top-level form around a control (embedded forms belong to the form they sit on).
TCustomForm* TopForm(TControl* control) {
  TCustomForm* form = control ? control->GetParentForm() : nullptr;
  while (form && form->Embedded() && form->Parent()) {
    TCustomForm* outer = form->Parent()->GetParentForm();
    if (!outer || outer == form) break;
    form = outer;
  }
  return form;
}

TMainMenu* BarOf(TCustomForm* form) {
  if (!form || form->Embedded()) return nullptr;
  return dynamic_cast<TMainMenu*>(form->Menu());
}

// ---- The menu bar -------------------------------------------------------------------------

struct BarEntry {
  TMenuItem* item;
  RECT rect;  // window coordinates
};

// The bar strip of a form in window coordinates: the rows right above the client area.
RECT BarRect(HWND hwnd) {
  RECT window;
  GetWindowRect(hwnd, &window);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  RECT client;
  GetClientRect(hwnd, &client);
  const int left = origin.x - window.left;
  const int top = origin.y - window.top;
  return {left, top - GetSystemMetrics(SM_CYMENU), left + client.right, top};
}

std::vector<BarEntry> BarLayout(TCustomForm* form, TMainMenu* menu) {
  std::vector<BarEntry> out;
  if (!form->HandleAllocated()) return out;
  const RECT bar = BarRect(form->Handle());
  HDC dc = GetDC(nullptr);
  int x = bar.left;
  TMenuItem* root = menu->Items();
  for (int i = 0; i < root->Count(); ++i) {
    TMenuItem* item = root->Items(i);
    if (!item->Visible()) continue;
    const SIZE s = TextSize(dc, item->Caption(), item->Default());
    const int w = s.cx + 2 * kBarPadding;
    out.push_back({item, {x, bar.top, x + w, bar.bottom - 1}});
    x += w;
  }
  ReleaseDC(nullptr, dc);
  return out;
}

class TMenuWindow;

class Tracker {
 public:
  bool Active() const { return active_; }
  TCustomForm* Form() const { return form_; }
  TMainMenu* Bar() const { return bar_; }
  TMenuItem* BarItem() const { return bar_item_; }
  bool BarOpen() const { return bar_open_; }

  void EnterBar(TCustomForm* form, TMainMenu* menu, TMenuItem* item, bool open, bool select_first);
  void OpenPopup(TPopupMenu* menu, int x, int y);
  void CloseAll();
  bool Key(TMessage& m);
  void ItemGone(const TComponent* c);
  void Refresh();
  LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool alt_pending = false;

 private:
  struct Level {
    TMenuWindow* window;
    TMenuItem* item;
  };
  void Start();
  HWND Window();
  void OpenBarItem(TMenuItem* item, bool select_first);
  void OpenLevel(TMenuItem* item, RECT anchor, bool below, bool select_first);
  void CloseLevelsFrom(size_t level);
  void PaintBar();
  void MouseMove(POINT p);
  void MouseDown(POINT p);
  void MouseUp(POINT p);
  void HoverTimer();
  void Choose(TMenuItem* item);
  void Activate(size_t level, bool select_first);
  void MoveSelection(int step);
  void MoveBar(int step);
  void Letter(char ch);
  int LevelAt(POINT p) const;
  TMenuItem* BarItemAt(POINT p) const;

  bool active_ = false;
  bool closing_ = false;
  HWND hwnd_ = nullptr;
  TCustomForm* form_ = nullptr;
  TMainMenu* bar_ = nullptr;
  TMenuItem* bar_item_ = nullptr;
  bool bar_open_ = false;
  TPopupMenu* popup_ = nullptr;
  std::vector<Level> levels_;
  int hover_level_ = -1;
};

Tracker& T() {
  static Tracker tracker;
  return tracker;
}

// ---- Drop-down and popup windows ----------------------------------------------------------

class TMenuWindow : public TCustomControl {
  HOST_CLASS(TMenuWindow)
  explicit TMenuWindow(TComponent* owner) : TCustomControl(owner) {
    visible_ = false;
    SetColor(clMenu);
  }

  void SetSource(TMenuItem* source) {
    source_ = source;
    Layout();
  }
  TMenuItem* Source() const { return source_; }
  TMenuItem* Selected() const { return selected_; }
  void Select(TMenuItem* item) {
    if (item == selected_) return;
    selected_ = item;
    if (HandleAllocated()) {
      InvalidateRect(handle_, nullptr, FALSE);
      UpdateWindow(handle_);
    }
  }
  // The visible item at a client point (separators included), or nullptr.
  TMenuItem* ItemAt(POINT client) const {
    for (const auto& [item, r] : rects_) {
      if (Inside(r, client)) return item;
    }
    return nullptr;
  }
  RECT ItemRect(const TMenuItem* item) const {
    for (const auto& [i, r] : rects_) {
      if (i == item) return r;
    }
    return {0, 0, 0, 0};
  }
  std::vector<TMenuItem*> Visible() const {
    std::vector<TMenuItem*> out;
    for (const auto& entry : rects_) out.push_back(entry.first);
    return out;
  }
  SIZE Size() const { return size_; }
  void ShowAt(int x, int y) {
    HandleNeeded();
    SetWindowPos(handle_, HWND_TOPMOST, x, y, size_.cx, size_.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateBounds();
    UpdateWindow(handle_);
  }
  void Relayout() {
    Layout();
    if (HandleAllocated()) {
      SetWindowPos(handle_, nullptr, 0, 0, size_.cx, size_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      UpdateBounds();
      InvalidateRect(handle_, nullptr, FALSE);
    }
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_MOUSEACTIVATE) {
      m.Result = MA_NOACTIVATE;
      return;
    }
    if (m.Msg == WM_ERASEBKGND) {
      m.Result = 1;
      return;
    }
    TCustomControl::Dispatch(m);
  }

 protected:
  void CreateParams(TCreateParams& p) override {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_CLIPSIBLINGS;
    p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    p.WndParent = nullptr;
    p.WindowClassStyle |= CS_SAVEBITS;
  }

  void Paint() override {
    HDC dc = Canvas()->Handle();
    RECT all{0, 0, size_.cx, size_.cy};
    FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
    DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
    for (const auto& [item, r] : rects_) PaintItem(dc, item, r);
  }

 private:
  void Layout() {
    rects_.clear();
    HDC dc = GetDC(nullptr);
    int text_w = 0, short_w = 0;
    int y = kBorder;
    const int item_h = std::max<int>(GetSystemMetrics(SM_CYMENU), TextSize(dc, "Ag", false).cy + 6);
    for (int i = 0; source_ && i < source_->Count(); ++i) {
      TMenuItem* item = source_->Items(i);
      if (!item->Visible()) continue;
      const int h = item->IsLine() ? SeparatorHeight() : item_h;
      rects_.emplace_back(item, RECT{kBorder, y, 0, y + h});
      y += h;
      if (item->IsLine()) continue;
      text_w = std::max<int>(text_w, TextSize(dc, item->Caption(), item->Default()).cx);
      if (item->ShortCut()) short_w = std::max<int>(short_w, TextSize(dc, ShortCutToText(item->ShortCut()), item->Default()).cx);
    }
    ReleaseDC(nullptr, dc);
    short_w_ = short_w;
    const int inner = CheckColumn() + text_w + (short_w ? kShortCutGap + short_w : 0) + ArrowColumn();
    size_ = SIZE{inner + 2 * kBorder, y + kBorder};
    for (auto& entry : rects_) entry.second.right = size_.cx - kBorder;
  }

  void PaintItem(HDC dc, TMenuItem* item, RECT r) {
    if (item->IsLine()) {
      RECT line{r.left, r.top + (r.bottom - r.top) / 2 - 1, r.right, r.top + (r.bottom - r.top) / 2 + 1};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
      return;
    }
    const bool selected = item == selected_;
    const bool enabled = item->Enabled();
    if (selected) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    const int cs = CheckSize();
    const int mid = (r.top + r.bottom - cs) / 2;
    if (item->Checked()) {
      const RECT check{r.left + 3, mid, r.left + 3 + cs, mid + cs};
      Mark(dc, check, item->RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK, enabled, selected);
    }
    RECT text{r.left + CheckColumn(), r.top, r.right - ArrowColumn(), r.bottom};
    MenuText(dc, item->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, item->Default(), enabled, selected);
    if (item->ShortCut()) {
      MenuText(dc, ShortCutToText(item->ShortCut()), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX,
               item->Default(), enabled, selected);
    }
    if (HasSubMenu(item)) {
      const RECT arrow{r.right - ArrowColumn(), mid, r.right - ArrowColumn() + cs, mid + cs};
      Mark(dc, arrow, DFCS_MENUARROW, enabled, selected);
    }
  }

  TMenuItem* source_ = nullptr;
  TMenuItem* selected_ = nullptr;
  std::vector<std::pair<TMenuItem*, RECT>> rects_;
  SIZE size_{0, 0};
  int short_w_ = 0;
};

HOST_DEFINE_CLASS(TMenuWindow, TCustomControl)

// ---- Tracker ------------------------------------------------------------------------------

LRESULT TrackerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    return T().WndProc(hwnd, msg, wp, lp);
  } catch (const std::exception& e) {
    HandleException(nullptr, e);
    return 0;
  }
}

// The tracker owns an invisible window that holds the mouse capture while a menu is up, so
// every click lands here first; a click outside the menus closes them and goes no further.
HWND Tracker::Window() {
  if (hwnd_ && IsWindow(hwnd_)) return hwnd_;
  WNDCLASSEX wc{};
  if (!GetClassInfoEx(nullptr, "TMenuTracker", &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TrackerProc;
    wc.lpszClassName = "TMenuTracker";
    RegisterClassEx(&wc);
  }
  hwnd_ = CreateWindowEx(WS_EX_TOOLWINDOW, "TMenuTracker", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  return hwnd_;
}

void Tracker::Start() {
  active_ = true;
  alt_pending = false;
  SetCapture(Window());
}

void Tracker::EnterBar(TCustomForm* form, TMainMenu* menu, TMenuItem* item, bool open, bool select_first) {
  if (active_) CloseAll();
  if (!item) return;
  form_ = form;
  bar_ = menu;
  bar_item_ = item;
  Start();
  if (open) {
    OpenBarItem(item, select_first);
  } else {
    PaintBar();
  }
}

void Tracker::OpenBarItem(TMenuItem* item, bool select_first) {
  CloseLevelsFrom(0);
  bar_item_ = item;
  bar_open_ = true;
  PaintBar();
  if (!HasSubMenu(item) || !form_->HandleAllocated()) return;
  RECT window;
  GetWindowRect(form_->Handle(), &window);
  for (const auto& b : BarLayout(form_, bar_)) {
    if (b.item != item) continue;
    RECT anchor = b.rect;
    OffsetRect(&anchor, window.left, window.top);
    anchor.bottom = window.top + BarRect(form_->Handle()).bottom;
    OpenLevel(item, anchor, true, select_first);
  }
}

void Tracker::OpenPopup(TPopupMenu* menu, int x, int y) {
  if (active_) CloseAll();
  popup_ = menu;
  Start();
  auto* window = New<TMenuWindow>(nullptr);
  window->SetSource(menu->Items());
  if (window->Visible().empty()) {
    window->Free();
    CloseAll();
    return;
  }
  const SIZE s = window->Size();
  if (menu->Alignment() == paRight) x -= s.cx;
  if (menu->Alignment() == paCenter) x -= s.cx / 2;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  if (x + s.cx > sw) x = sw - s.cx;
  if (y + s.cy > sh) y = y - s.cy;
  window->ShowAt(std::max(0, x), std::max(0, y));
  levels_.push_back({window, menu->Items()});
}

// Opens the sub-items of item beside anchor (a screen rectangle): below it for the bar,
// to its right for a sub-menu, flipped where the screen ends.
void Tracker::OpenLevel(TMenuItem* item, RECT anchor, bool below, bool select_first) {
  auto* window = New<TMenuWindow>(nullptr);
  window->SetSource(item);
  const SIZE s = window->Size();
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  int x, y;
  if (below) {
    x = anchor.left;
    y = anchor.bottom;
    if (y + s.cy > sh) y = anchor.top - s.cy;
  } else {
    x = anchor.right - kBorder;
    y = anchor.top - kBorder;
    if (x + s.cx > sw) x = anchor.left - s.cx + kBorder;
    if (y + s.cy > sh) y = sh - s.cy;
  }
  x = std::max(0, std::min(x, sw - static_cast<int>(s.cx)));
  y = std::max(0, y);
  if (select_first) {
    for (TMenuItem* i : window->Visible()) {
      if (Selectable(i)) {
        window->Select(i);
        break;
      }
    }
  }
  window->ShowAt(x, y);
  levels_.push_back({window, item});
}

void Tracker::CloseLevelsFrom(size_t level) {
  while (levels_.size() > level) {
    TMenuWindow* w = levels_.back().window;
    levels_.pop_back();
    w->Free();
  }
  if (hover_level_ >= static_cast<int>(levels_.size())) hover_level_ = -1;
}

void Tracker::CloseAll() {
  if (!active_ || closing_) return;
  closing_ = true;
  if (hwnd_) KillTimer(hwnd_, kHoverTimer);
  hover_level_ = -1;
  CloseLevelsFrom(0);
  TCustomForm* form = form_;
  active_ = false;
  bar_open_ = false;
  bar_item_ = nullptr;
  popup_ = nullptr;
  form_ = nullptr;
  bar_ = nullptr;
  if (hwnd_ && GetCapture() == hwnd_) ReleaseCapture();
  closing_ = false;
  if (form && form->HandleAllocated()) SendMessage(form->Handle(), WM_NCPAINT, 1, 0);
}

void Tracker::PaintBar() {
  if (form_ && form_->HandleAllocated()) SendMessage(form_->Handle(), WM_NCPAINT, 1, 0);
}

void Tracker::Refresh() {
  if (!active_) return;
  for (const Level& l : levels_) l.window->Relayout();
  PaintBar();
}

void Tracker::ItemGone(const TComponent* c) {
  if (!active_) return;
  bool involved = c == bar_ || c == popup_ || c == form_ || c == bar_item_;
  for (const Level& l : levels_) {
    if (l.item == c || l.window->Selected() == c || l.window->Source() == c) involved = true;
    for (TMenuItem* i : l.window->Visible()) involved = involved || i == c;
  }
  if (involved) CloseAll();
}

int Tracker::LevelAt(POINT p) const {
  for (int i = static_cast<int>(levels_.size()) - 1; i >= 0; --i) {
    if (Inside(levels_[static_cast<size_t>(i)].window->BoundsRect(), p)) return i;
  }
  return -1;
}

TMenuItem* Tracker::BarItemAt(POINT p) const {
  if (!form_ || !bar_ || !form_->HandleAllocated()) return nullptr;
  RECT window;
  GetWindowRect(form_->Handle(), &window);
  for (const auto& b : BarLayout(form_, bar_)) {
    RECT r = b.rect;
    OffsetRect(&r, window.left, window.top);
    if (Inside(r, p)) return b.item;
  }
  return nullptr;
}

void Tracker::MouseMove(POINT p) {
  const int level = LevelAt(p);
  if (level >= 0) {
    TMenuWindow* w = levels_[static_cast<size_t>(level)].window;
    const POINT c = w->ScreenToClient(p);
    TMenuItem* item = w->ItemAt(c);
    if (item && !Selectable(item)) item = nullptr;
    // Pointing back at the item whose sub-menu is open keeps that sub-menu.
    const bool child_open = static_cast<size_t>(level) + 1 < levels_.size() &&
                            levels_[static_cast<size_t>(level) + 1].item == item;
    if (item == w->Selected() && (child_open || hover_level_ == level)) return;
    w->Select(item);
    if (child_open) {
      CloseLevelsFrom(static_cast<size_t>(level) + 2);
      KillTimer(Window(), kHoverTimer);
      hover_level_ = -1;
      return;
    }
    hover_level_ = level;
    SetTimer(Window(), kHoverTimer, kShowDelay, nullptr);
    return;
  }
  if (TMenuItem* item = BarItemAt(p); item && item != bar_item_) {
    if (bar_open_) {
      OpenBarItem(item, false);
    } else {
      bar_item_ = item;
      PaintBar();
    }
  }
}

void Tracker::HoverTimer() {
  KillTimer(Window(), kHoverTimer);
  const int level = hover_level_;
  hover_level_ = -1;
  if (level < 0 || static_cast<size_t>(level) >= levels_.size()) return;
  CloseLevelsFrom(static_cast<size_t>(level) + 1);
  TMenuItem* item = levels_[static_cast<size_t>(level)].window->Selected();
  if (item && item->Enabled() && HasSubMenu(item)) Activate(static_cast<size_t>(level), false);
}

void Tracker::MouseDown(POINT p) {
  if (LevelAt(p) >= 0) return;
  if (TMenuItem* item = BarItemAt(p)) {
    if (item == bar_item_ && bar_open_) {
      CloseAll();
    } else {
      OpenBarItem(item, false);
    }
    return;
  }
  CloseAll();
}

void Tracker::MouseUp(POINT p) {
  const int level = LevelAt(p);
  if (level < 0) {
    // A bar item without sub-items is a command of its own.
    TMenuItem* item = BarItemAt(p);
    if (item && item == bar_item_ && bar_open_ && !HasSubMenu(item) && item->Enabled()) Choose(item);
    return;
  }
  TMenuWindow* w = levels_[static_cast<size_t>(level)].window;
  TMenuItem* item = w->ItemAt(w->ScreenToClient(p));
  if (!item || !Selectable(item) || !item->Enabled()) return;
  w->Select(item);
  if (HasSubMenu(item)) {
    KillTimer(Window(), kHoverTimer);
    hover_level_ = -1;
    const bool open = static_cast<size_t>(level) + 1 < levels_.size() &&
                      levels_[static_cast<size_t>(level) + 1].item == item;
    if (!open) {
      CloseLevelsFrom(static_cast<size_t>(level) + 1);
      Activate(static_cast<size_t>(level), false);
    }
    return;
  }
  Choose(item);
}

// Opens the sub-menu of the selected item at level, or chooses the item.
void Tracker::Activate(size_t level, bool select_first) {
  TMenuWindow* w = levels_[level].window;
  TMenuItem* item = w->Selected();
  if (!item || !item->Enabled()) return;
  if (!HasSubMenu(item)) {
    Choose(item);
    return;
  }
  CloseLevelsFrom(level + 1);
  RECT anchor = w->ItemRect(item);
  const POINT origin = w->ClientToScreen({0, 0});
  OffsetRect(&anchor, origin.x, origin.y);
  anchor.left = w->Left();
  anchor.right = w->Left() + w->Width();
  OpenLevel(item, anchor, false, select_first);
}

// The menu goes first; the handler runs with nothing of it left on the screen.
void Tracker::Choose(TMenuItem* item) {
  CloseAll();
  item->Click();
}

void Tracker::MoveSelection(int step) {
  TMenuWindow* w = levels_.back().window;
  std::vector<TMenuItem*> items = w->Visible();
  items.erase(std::remove_if(items.begin(), items.end(), [](TMenuItem* i) { return !Selectable(i); }), items.end());
  if (items.empty()) return;
  const auto at = std::find(items.begin(), items.end(), w->Selected());
  const int n = static_cast<int>(items.size());
  int index = at == items.end() ? (step > 0 ? -1 : n) : static_cast<int>(at - items.begin());
  index = ((index + step) % n + n) % n;
  w->Select(items[static_cast<size_t>(index)]);
}

void Tracker::MoveBar(int step) {
  if (!bar_ || !form_) return;
  std::vector<BarEntry> items = BarLayout(form_, bar_);
  if (items.empty()) return;
  const int n = static_cast<int>(items.size());
  int index = 0;
  for (int i = 0; i < n; ++i) {
    if (items[static_cast<size_t>(i)].item == bar_item_) index = i;
  }
  TMenuItem* next = items[static_cast<size_t>(((index + step) % n + n) % n)].item;
  if (bar_open_) {
    OpenBarItem(next, true);
  } else {
    bar_item_ = next;
    PaintBar();
  }
}

void Tracker::Letter(char ch) {
  const WORD key = static_cast<WORD>(static_cast<unsigned char>(ch));
  if (levels_.empty()) {
    if (!bar_) return;
    for (TMenuItem* item : [&] {
           std::vector<TMenuItem*> v;
           for (const auto& b : BarLayout(form_, bar_)) v.push_back(b.item);
           return v;
         }()) {
      if (IsAccel(key, item->Caption())) {
        OpenBarItem(item, true);
        return;
      }
    }
    return;
  }
  TMenuWindow* w = levels_.back().window;
  std::vector<TMenuItem*> matches;
  for (TMenuItem* item : w->Visible()) {
    if (Selectable(item) && IsAccel(key, item->Caption())) matches.push_back(item);
  }
  if (matches.empty()) return;
  if (matches.size() == 1) {
    w->Select(matches[0]);
    Activate(levels_.size() - 1, true);
    return;
  }
  // Several items share the letter: each press moves to the next of them.
  auto at = std::find(matches.begin(), matches.end(), w->Selected());
  w->Select(at == matches.end() || at + 1 == matches.end() ? matches[0] : *(at + 1));
}

bool Tracker::Key(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const WORD vk = static_cast<WORD>(m.WParam);
      if (vk == VK_MENU) {
        if (!(m.LParam & (LPARAM{1} << 30))) alt_pending = true;
        return true;
      }
      alt_pending = false;
      switch (vk) {
        case VK_F10: CloseAll(); break;
        case VK_ESCAPE:
          if (levels_.size() > 1) {
            CloseLevelsFrom(levels_.size() - 1);
          } else if (bar_ && bar_open_) {
            CloseLevelsFrom(0);
            bar_open_ = false;
            PaintBar();
          } else {
            CloseAll();
          }
          break;
        case VK_UP:
        case VK_DOWN:
          if (levels_.empty()) {
            if (bar_item_ && HasSubMenu(bar_item_)) OpenBarItem(bar_item_, true);
          } else {
            MoveSelection(vk == VK_DOWN ? 1 : -1);
          }
          break;
        case VK_RIGHT:
          if (!levels_.empty()) {
            TMenuItem* sel = levels_.back().window->Selected();
            if (sel && sel->Enabled() && HasSubMenu(sel)) {
              Activate(levels_.size() - 1, true);
              break;
            }
          }
          MoveBar(1);
          break;
        case VK_LEFT:
          if (levels_.size() > 1) {
            CloseLevelsFrom(levels_.size() - 1);
          } else {
            MoveBar(-1);
          }
          break;
        case VK_RETURN:
          if (levels_.empty()) {
            if (!bar_item_) break;
            if (HasSubMenu(bar_item_)) {
              OpenBarItem(bar_item_, true);
            } else if (bar_item_->Enabled()) {
              Choose(bar_item_);
            }
          } else {
            Activate(levels_.size() - 1, true);
          }
          break;
        default: break;
      }
      return true;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (m.WParam == static_cast<WPARAM>(VK_MENU) && alt_pending) {
        alt_pending = false;
        CloseAll();
      }
      return true;
    case WM_CHAR:
    case WM_SYSCHAR:
      alt_pending = false;
      if (m.WParam >= 32 && m.WParam < 127) Letter(static_cast<char>(m.WParam));
      return true;
    default: return false;
  }
}

LRESULT Tracker::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      if (!active_) return 0;
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(hwnd, &p);
      if (msg == WM_MOUSEMOVE) {
        MouseMove(p);
      } else if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP) {
        MouseUp(p);
      } else {
        MouseDown(p);
      }
      return 0;
    }
    case WM_TIMER:
      if (wp == kHoverTimer) HoverTimer();
      return 0;
    case WM_CANCELMODE: CloseAll(); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd) CloseAll();
      return 0;
    default: return DefWindowProc(hwnd, msg, wp, lp);
  }
}

// ---- Hooks into forms and controls --------------------------------------------------------

void PaintBarOf(TCustomForm* form, TMainMenu* menu) {
  HWND hwnd = form->Handle();
  if (!IsWindowVisible(hwnd)) return;
  HDC dc = GetWindowDC(hwnd);
  const RECT bar = BarRect(hwnd);
  RECT strip{bar.left, bar.top, bar.right, bar.bottom - 1};
  FillRect(dc, &strip, GetSysColorBrush(COLOR_MENU));
  RECT line{bar.left, bar.bottom - 1, bar.right, bar.bottom};
  FillRect(dc, &line, GetSysColorBrush(COLOR_3DFACE));
  Tracker& t = T();
  const bool ours = t.Active() && t.Form() == form;
  for (const auto& b : BarLayout(form, menu)) {
    RECT r = b.rect;
    RECT text = r;
    if (ours && b.item == t.BarItem()) {
      if (t.BarOpen()) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        OffsetRect(&text, 1, 1);
      } else {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
      }
    }
    MenuText(dc, b.item->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER, b.item->Default(),
             b.item->Enabled(), false);
  }
  ReleaseDC(hwnd, dc);
}

bool FormHook(TCustomForm* form, TMessage& m) {
  TMainMenu* menu = BarOf(form);
  if (!menu) return false;
  switch (m.Msg) {
    case WM_NCCALCSIZE: {
      form->DefaultHandler(m);
      if (auto* r = reinterpret_cast<RECT*>(m.LParam)) r->top = std::min<LONG>(r->top + GetSystemMetrics(SM_CYMENU), r->bottom);
      return true;
    }
    case WM_NCHITTEST: {
      const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      RECT bar = BarRect(form->Handle());
      RECT window;
      GetWindowRect(form->Handle(), &window);
      OffsetRect(&bar, window.left, window.top);
      if (Inside(bar, p)) {
        m.Result = HTMENU;
        return true;
      }
      return false;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE:
      form->DefaultHandler(m);
      PaintBarOf(form, menu);
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      if (m.WParam != static_cast<WPARAM>(HTMENU)) return false;
      const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      RECT window;
      GetWindowRect(form->Handle(), &window);
      for (const auto& b : BarLayout(form, menu)) {
        RECT r = b.rect;
        OffsetRect(&r, window.left, window.top);
        if (Inside(r, p)) T().EnterBar(form, menu, b.item, true, false);
      }
      return true;
    }
    case WM_NCDESTROY:
      if (T().Form() == form) T().CloseAll();
      return false;
    default: return false;
  }
}

TShiftState ModifierState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TMenuItem* FirstBarItem(TCustomForm* form, TMainMenu* menu) {
  const auto items = BarLayout(form, menu);
  return items.empty() ? nullptr : items.front().item;
}

bool KeyHook(TWinControl* control, TMessage& m) {
  Tracker& t = T();
  if (t.Active()) return t.Key(m);
  TCustomForm* form = TopForm(control);
  TMainMenu* bar = BarOf(form);
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const WORD vk = static_cast<WORD>(m.WParam);
      if (vk == VK_MENU) {
        if (!(m.LParam & (LPARAM{1} << 30))) t.alt_pending = true;
        return false;
      }
      t.alt_pending = false;
      // Short cuts: the popup menus of the control and its parents, then the form's menu.
      const TShortCut sc = ShortCut(vk, ModifierState());
      for (TControl* c = control; c; c = c->Parent()) {
        if (auto* popup = dynamic_cast<TPopupMenu*>(c->PopupMenu()); popup && popup->IsShortCut(vk, ModifierState())) {
          return true;
        }
      }
      if (bar && bar->FindShortCut(sc)) return bar->IsShortCut(vk, ModifierState());
      if (bar && vk == VK_F10 && ModifierState().Empty() && form->HandleAllocated()) {
        t.EnterBar(form, bar, FirstBarItem(form, bar), false, false);
        return true;
      }
      return false;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (m.WParam == static_cast<WPARAM>(VK_MENU) && t.alt_pending) {
        t.alt_pending = false;
        if (bar && form->HandleAllocated()) {
          t.EnterBar(form, bar, FirstBarItem(form, bar), false, false);
          return true;
        }
      }
      return false;
    case WM_SYSCHAR: {
      t.alt_pending = false;
      if (!bar || !form->HandleAllocated()) return false;
      // The controls' accelerators come first, then the bar's.
      if (form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return true;
      if (m.WParam < 256) {
        for (const auto& b : BarLayout(form, bar)) {
          if (IsAccel(static_cast<WORD>(m.WParam), b.item->Caption())) {
            t.EnterBar(form, bar, b.item, true, true);
            return true;
          }
        }
      }
      return false;
    }
    case WM_CHAR: t.alt_pending = false; return false;
    default: return false;
  }
}

bool PopupHook(TComponent* menu, TControl* control, POINT screen) {
  auto* popup = dynamic_cast<TPopupMenu*>(menu);
  if (!popup || !popup->AutoPopup()) return false;
  popup->SetPopupComponent(control);
  popup->Popup(screen.x, screen.y);
  return true;
}

}  // namespace

bool MenuActive() { return T().Active(); }
void CloseMenus() { T().CloseAll(); }

// ---- TMenuItem ----------------------------------------------------------------------------

HOST_PUBLISHED(TMenuItem, TComponent) {
  HOST_PROP(Caption);
  HOST_PROP(Checked, false);
  HOST_PROP(Default, false);
  HOST_PROP(Enabled, true);
  HOST_PROP(GroupIndex, 0);
  c.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  HOST_PROP(RadioItem, false);
  HOST_PROP(ShortCut, 0);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnClick);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  T().ItemGone(this);
  if (parent_) parent_->Remove(this);
  // Sub-items go with their item.
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    child->Free();
  }
}

void TMenuItem::Changed() {
  if (TMenu* menu = GetParentMenu()) menu->ItemChanged();
  T().Refresh();
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  for (TMenuItem* sibling : parent_->items_) {
    if (sibling != this && sibling->radio_item_ && sibling->group_index_ == group_index_) sibling->checked_ = false;
  }
}

void TMenuItem::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  if (value && radio_item_) TurnSiblingsOff();
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  if (value == radio_item_) return;
  radio_item_ = value;
  if (value && checked_) TurnSiblingsOff();
  Changed();
}

void TMenuItem::SetGroupIndex(uint8_t value) {
  if (value == group_index_) return;
  group_index_ = value;
  if (radio_item_ && checked_) TurnSiblingsOff();
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
  if (value == shortcut_) return;
  shortcut_ = value;
  Changed();
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EMenuError(Format("Menu index out of range (%d)", {index}));
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) throw EMenuError("Cannot insert a nil menu item");
  if (item->parent_) throw EMenuError("Menu inserted twice");
  if (index < 0 || index > Count()) throw EMenuError(Format("Menu index out of range (%d)", {index}));
  for (const TMenuItem* p = this; p; p = p->parent_) {
    if (p == item) throw EMenuError("A menu item cannot hold itself");
  }
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (item->radio_item_ && item->checked_) item->TurnSiblingsOff();
  Changed();
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = Items(index);
  T().ItemGone(item);
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  const int index = IndexOf(item);
  if (index < 0) throw EMenuError("Menu item not found");
  Delete(index);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

TMenuItem* TMenuItem::FindItemByShortCut(TShortCut shortcut) {
  for (TMenuItem* item : items_) {
    if (!item->visible_) continue;
    if (item->shortcut_ == shortcut && !item->IsLine()) return item;
    // Items below a disabled item cannot be reached.
    if (item->enabled_) {
      if (TMenuItem* found = item->FindItemByShortCut(shortcut)) return found;
    }
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (parent_) parent_->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(parent)) {
    menu->Items()->Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
    item->Add(this);
  } else if (parent) {
    throw EMenuError(std::string("A menu item belongs in a menu or a menu item, not in a ") + parent->ClassName());
  }
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TMenuItem* item : std::vector<TMenuItem*>(items_)) proc(item);
}

// ---- TMenu --------------------------------------------------------------------------------

HOST_DEFINE_CLASS(TMenu, TComponent)

namespace {
void InstallMenuHooks();
}  // namespace

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(New<TMenuItem>(nullptr)) {
  items_->menu_ = this;
  InstallMenuHooks();
}

TMenu::~TMenu() {
  T().ItemGone(this);
  items_->menu_ = nullptr;
  items_->Free();
}

TMenuItem* TMenu::FindShortCut(TShortCut shortcut) const {
  if (!shortcut) return nullptr;
  return items_->FindItemByShortCut(shortcut);
}

bool TMenu::IsShortCut(WORD key, TShiftState shift) {
  TMenuItem* item = FindShortCut(ShortCut(key, shift));
  if (!item || !item->Enabled()) return false;
  item->Click();
  return true;
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { items_->GetChildren(proc, root); }

// ---- TMainMenu ----------------------------------------------------------------------------

HOST_DEFINE_CLASS(TMainMenu, TMenu)

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() = default;

TCustomForm* TMainMenu::Form() const {
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    if (Screen()->Forms(i)->Menu() == this) return Screen()->Forms(i);
  }
  return nullptr;
}

void TMainMenu::ItemChanged() {
  if (IsDestroying()) return;
  TCustomForm* form = Form();
  if (form && form->HandleAllocated()) SendMessage(form->Handle(), WM_NCPAINT, 1, 0);
}

// ---- TPopupMenu ---------------------------------------------------------------------------

HOST_PUBLISHED(TPopupMenu, TMenu) {
  HOST_PROP(Alignment, paLeft);
  HOST_PROP(AutoPopup, true);
  HOST_EVENT(OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  T().OpenPopup(this, x, y);
}

void TPopupMenu::SetPopupComponent(TControl* control) {
  popup_component_ = control;
  if (control) control->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == popup_component_) popup_component_ = nullptr;
}

// ---- Registration -------------------------------------------------------------------------

namespace {
// The controls and forms reach menus through these hooks; the first menu made installs them,
// so a program that never registers the classes still gets working menus.
void InstallMenuHooks() {
  TMenuHooks& hooks = MenuHooks();
  hooks.popup_menu_class = TPopupMenu::StaticClass();
  hooks.main_menu_class = TMainMenu::StaticClass();
  hooks.popup = &PopupHook;
  hooks.key = &KeyHook;
  hooks.form = &FormHook;
}
}  // namespace

void RegisterMenus() {
  RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
  InstallMenuHooks();
}

}  // namespace host
